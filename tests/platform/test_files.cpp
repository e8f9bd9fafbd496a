// Reading files named by stored data: only regular files, bounded, and
// never blocking on a FIFO or device.
#include "platform/files.h"
#include "support/fifo_guard.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

files::FileError errorOf(const QString& path, qint64 maxBytes)
{
    files::FileError error = files::FileError::None;
    EXPECT_FALSE(files::ReadRegularFile(path, maxBytes, &error).has_value()) << path.toStdString();
    return error;
}

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Files, ReadsRegularFilesAndLinksToThemUpToTheLimit)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("ten.bin");
    writeFile(path, "0123456789");

    files::FileError error = files::FileError::Missing;
    auto bytes = files::ReadRegularFile(path, 10, &error);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, QByteArray("0123456789"));
    EXPECT_EQ(error, files::FileError::None);

    // A link is followed to the file it names.
    const QString link = dir.filePath("link.bin");
    ASSERT_EQ(::symlink(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
    bytes = files::ReadRegularFile(link, 100);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 10);

    // The head of a file: at most the bytes asked for, fewer from a short
    // file, and no more than a file holds.
    bytes = files::ReadRegularFileHead(path, 4);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, QByteArray("0123"));
    bytes = files::ReadRegularFileHead(path, 64);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 10);

    // One byte over the limit is refused; an empty file reads as empty.
    EXPECT_EQ(errorOf(path, 9), files::FileError::TooLarge);
    writeFile(dir.filePath("empty"), {});
    bytes = files::ReadRegularFile(dir.filePath("empty"), 0);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->isEmpty());

    EXPECT_EQ(errorOf(dir.filePath("missing"), 100), files::FileError::Missing);
    EXPECT_EQ(errorOf(QString(), 100), files::FileError::Missing);
    const QString dangling = dir.filePath("dangling");
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(dangling).constData()), 0);
    EXPECT_EQ(errorOf(dangling, 100), files::FileError::Missing);
    EXPECT_STREQ(files::FileErrorText(files::FileError::TooLarge), "the file is too large");
}

TEST(Files, RefusesDevicesFifosAndFoldersAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString linkToZero = dir.filePath("zero");
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(linkToZero).constData()), 0);

    testsupport::FifoGuard guard({fifo});
    EXPECT_EQ(errorOf(fifo, 1 << 20), files::FileError::NotRegularFile);
    EXPECT_EQ(errorOf("/dev/zero", 1 << 20), files::FileError::NotRegularFile);
    EXPECT_FALSE(files::ReadRegularFileHead("/dev/zero", 4).has_value());
    EXPECT_EQ(errorOf(linkToZero, 1 << 20), files::FileError::NotRegularFile);
    EXPECT_EQ(errorOf(dir.path(), 1 << 20), files::FileError::NotRegularFile);
    // Whatever standard input is here (terminal, pipe, /dev/null), it is no
    // regular file and is not read.
    struct stat in {};
    if (::fstat(0, &in) == 0 && !S_ISREG(in.st_mode)) {
        EXPECT_EQ(errorOf("/dev/stdin", 1 << 20), files::FileError::NotRegularFile);
    }
    EXPECT_FALSE(guard.ReaderSeen());
}

TEST(Files, AtomicSaveReplacesWholeOrLeavesTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("doc.bin");
    writeFile(path, "old");
    std::string error;
    EXPECT_TRUE(files::SaveFileAtomically(path, std::string_view("new content"), &error));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("new content"));
    f.close();

    // A folder in the way: the save fails, says why and leaves nothing.
    const QString blocked = dir.filePath("sub");
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    EXPECT_FALSE(files::SaveFileAtomically(blocked, QByteArray("x"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(files::SaveFileAtomically(dir.filePath("missing/doc.bin"), QByteArray("x"), &error));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"doc.bin"});

    // The new file keeps the old one's permissions; through a link the
    // file it names is replaced and the link stays.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const QString link = dir.filePath("link.bin");
    ASSERT_EQ(::symlink("doc.bin", QFile::encodeName(link).constData()), 0);
    EXPECT_TRUE(files::SaveFileAtomically(link, QByteArray("through the link"), &error)) << error;
    EXPECT_EQ(contentOf(path), QByteArray("through the link"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A name of the longest length a folder takes is made and replaced
    // like any other, and nothing is left beside it.
    QTemporaryDir longDir;
    ASSERT_TRUE(longDir.isValid());
    const QString longest = longDir.filePath(QString(NAME_MAX - 5, QLatin1Char('p')) + ".proj");
    EXPECT_TRUE(files::SaveFileAtomically(longest, QByteArray("first"), &error)) << error;
    EXPECT_TRUE(files::SaveFileAtomically(longest, QByteArray("second"), &error)) << error;
    EXPECT_EQ(contentOf(longest), QByteArray("second"));
    EXPECT_EQ(QDir(longDir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A disk that fills up part-way: a write, the final flush of a small file
// or a copy ends short. Each leaves the old file byte for byte, no new file
// beside it, and says the system's reason.
TEST(Files, AShortWriteLeavesTheOldFile)
{
    struct Case {
        const char* name;
        qsizetype size;  // bytes to write
        rlim_t limit;    // what the disk takes
        bool copy;       // CopyFileAtomically rather than SaveFileAtomically
    };
    const Case cases[] = {
        {"large save", 1 << 20, 64 * 1024, false},
        {"small save, nothing fits", 3000, 0, false},
        {"small save, part fits", 3000, 1000, false},
        {"large copy", 1 << 20, 64 * 1024, true},
        {"small copy, part fits", 3000, 1000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath("doc.bin");
        const QString source = dir.filePath("big.bin");
        writeFile(path, "old");
        const QByteArray bytes(c.size, 'n');
        writeFile(source, bytes);
        std::string error;
        {
            testsupport::FileSizeLimit limit(c.limit);
            ASSERT_TRUE(limit.active());
            EXPECT_FALSE(c.copy ? files::CopyFileAtomically(source, path, &error)
                                : files::SaveFileAtomically(path, bytes, &error));
        }
        EXPECT_EQ(error, std::strerror(EFBIG));
        EXPECT_EQ(contentOf(path), QByteArray("old"));
        QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        left.sort();
        EXPECT_EQ(left, (QStringList{"big.bin", "doc.bin"}));
        // With room again the save goes through.
        EXPECT_TRUE(c.copy ? files::CopyFileAtomically(source, path, &error)
                           : files::SaveFileAtomically(path, bytes, &error));
        EXPECT_EQ(contentOf(path), bytes);
    }
}
