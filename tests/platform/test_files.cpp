// Reading files named by stored data: only regular files, bounded, and
// never blocking on a FIFO or device.
#include "platform/files.h"
#include "support/fifo_guard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
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

// While it lives, no file of this process may grow beyond `bytes`: a
// write past that ends short (EFBIG), as on a full disk. The signal that
// would end the process is ignored meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        if (::getrlimit(RLIMIT_FSIZE, &m_old) != 0)
            return;
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active)
            ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_active = false;
};

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
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.bin"});
}

TEST(Files, AShortWriteLeavesTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("doc.bin");
    const QString source = dir.filePath("big.bin");
    writeFile(path, "old");
    const QByteArray big(1 << 20, 'n');
    writeFile(source, big);
    std::string error;
    {
        // The disk takes the first 64 KiB only.
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(files::SaveFileAtomically(path, big, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(files::CopyFileAtomically(source, path, &error));
    }
    EXPECT_EQ(contentOf(path), QByteArray("old"));
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{"big.bin", "doc.bin"}));
    // With room again the save goes through.
    EXPECT_TRUE(files::SaveFileAtomically(path, big, &error));
    EXPECT_EQ(contentOf(path), big);
}
