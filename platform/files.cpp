#include "platform/files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <limits>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

std::optional<QByteArray> fail(FileError* out, FileError error)
{
    if (out)
        *out = error;
    return std::nullopt;
}

FileError fromErrno(int e)
{
    return (e == ENOENT || e == ENOTDIR || e == ELOOP || e == ENAMETOOLONG) ? FileError::Missing
                                                                             : FileError::Unreadable;
}

// Closes the descriptor when leaving the scope.
struct FdScope {
    int fd;
    ~FdScope()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

const char* FileErrorText(FileError error)
{
    switch (error) {
    case FileError::None: return "no error";
    case FileError::Missing: return "the file does not exist";
    case FileError::NotRegularFile: return "the name does not refer to a regular file";
    case FileError::TooLarge: return "the file is too large";
    case FileError::Unreadable: return "the file cannot be read";
    }
    return "unknown error";
}

namespace {

// Reads the regular file `path`: the whole of it when `headOnly` is false
// (a file over maxBytes fails), else its first maxBytes bytes at most.
std::optional<QByteArray> readRegular(const QString& path, qint64 maxBytes, bool headOnly, FileError* error)
{
    if (error)
        *error = FileError::None;
    if (path.isEmpty() || maxBytes < 0)
        return fail(error, FileError::Missing);
    maxBytes = std::min<qint64>(maxBytes, std::numeric_limits<qsizetype>::max() - 1);
    const QByteArray name = QFile::encodeName(path);
    if (name.contains('\0'))
        return fail(error, FileError::Missing);

    // The type first (following links): opening a FIFO for reading would
    // wait for a writer, and opening some devices has side effects.
    struct stat before {};
    if (::stat(name.constData(), &before) != 0)
        return fail(error, fromErrno(errno));
    if (!S_ISREG(before.st_mode))
        return fail(error, FileError::NotRegularFile);
    if (!headOnly && before.st_size > maxBytes)
        return fail(error, FileError::TooLarge);

    // Non-blocking, so that a FIFO put in its place in the meantime cannot
    // block the open; the opened file must be the one that was checked.
    FdScope file{::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0)
        return fail(error, fromErrno(errno));
    struct stat opened {};
    if (::fstat(file.fd, &opened) != 0)
        return fail(error, FileError::Unreadable);
    if (!S_ISREG(opened.st_mode) || opened.st_dev != before.st_dev || opened.st_ino != before.st_ino)
        return fail(error, FileError::NotRegularFile);
    if (!headOnly && opened.st_size > maxBytes)
        return fail(error, FileError::TooLarge);

    // The file may grow while it is read: read at most one byte more than
    // allowed, which tells a file over the limit.
    const qint64 limit = headOnly ? maxBytes : maxBytes + 1;
    QByteArray bytes;
    bytes.resize(qsizetype(std::min<qint64>(qint64(opened.st_size) + 1, limit)));
    qint64 done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done >= limit)
                break;
            bytes.resize(qsizetype(std::min<qint64>(limit, done + std::max<qint64>(done, 4096))));
        }
        const ssize_t n = ::read(file.fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(error, FileError::Unreadable);
        }
        if (n == 0)
            break;
        done += n;
    }
    if (done > maxBytes)
        return fail(error, FileError::TooLarge);
    bytes.resize(qsizetype(done));
    return bytes;
}

} // namespace

namespace {

FileState stateOf(const struct stat& st)
{
    return FileState{qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     quint64(st.st_ino)};
}

std::optional<FileState> statFail(FileError* out, FileError error)
{
    if (out)
        *out = error;
    return std::nullopt;
}

} // namespace

std::optional<FileState> StatRegularFile(const QString& path, FileError* error)
{
    if (error)
        *error = FileError::None;
    const QByteArray name = QFile::encodeName(path);
    if (path.isEmpty() || name.contains('\0'))
        return statFail(error, FileError::Missing);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return statFail(error, fromErrno(errno));
    if (!S_ISREG(st.st_mode))
        return statFail(error, FileError::NotRegularFile);
    return stateOf(st);
}

std::optional<OpenedFile> OpenedFile::Open(const QString& path, FileError* error)
{
    if (error)
        *error = FileError::None;
    const QByteArray name = QFile::encodeName(path);
    if (path.isEmpty() || name.contains('\0')) {
        if (error)
            *error = FileError::Missing;
        return std::nullopt;
    }
    auto failed = [&](FileError e) -> std::optional<OpenedFile> {
        if (error)
            *error = e;
        return std::nullopt;
    };
    struct stat before {};
    if (::stat(name.constData(), &before) != 0)
        return failed(fromErrno(errno));
    if (!S_ISREG(before.st_mode))
        return failed(FileError::NotRegularFile);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failed(fromErrno(errno));
    FdScope scope{fd};
    struct stat opened {};
    if (::fstat(fd, &opened) != 0)
        return failed(FileError::Unreadable);
    if (!S_ISREG(opened.st_mode) || opened.st_dev != before.st_dev || opened.st_ino != before.st_ino)
        return failed(FileError::NotRegularFile);
    scope.fd = -1;
    return OpenedFile(fd, stateOf(opened));
}

OpenedFile::OpenedFile(OpenedFile&& other) noexcept : m_fd(other.m_fd), m_state(other.m_state)
{
    other.m_fd = -1;
}

OpenedFile::~OpenedFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 OpenedFile::ReadAt(qint64 offset, char* into, qint64 count) const
{
    if (offset < 0 || count < 0)
        return -1;
    qint64 done = 0;
    while (done < count) {
        const ssize_t n = ::pread(m_fd, into + done, size_t(count - done), off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

std::optional<QByteArray> OpenedFile::Read(qint64 offset, qint64 count) const
{
    if (offset < 0 || count < 0)
        return std::nullopt;
    // Never more than the file holds, whatever the caller asks for.
    count = std::min<qint64>(count, std::max<qint64>(m_state.size - offset, 0));
    count = std::min<qint64>(count, std::numeric_limits<qsizetype>::max() - 1);
    QByteArray bytes;
    bytes.resize(qsizetype(count));
    const qint64 n = ReadAt(offset, bytes.data(), count);
    if (n < 0)
        return std::nullopt;
    bytes.resize(qsizetype(n));
    return bytes;
}

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, FileError* error)
{
    return readRegular(path, maxBytes, false, error);
}

std::optional<QByteArray> ReadRegularFileHead(const QString& path, qint64 count, FileError* error)
{
    return readRegular(path, count, true, error);
}

bool SaveFileAtomically(const QString& path, std::string_view bytes, std::string* error)
{
    QSaveFile file(path);
    QString why;
    if (!file.open(QIODevice::WriteOnly)) {
        why = file.errorString();
    } else if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        why = file.errorString();
        file.cancelWriting();
        file.commit(); // removes the new file
    } else if (file.commit()) { // renames the new file over the old one
        return true;
    } else {
        why = file.errorString();
    }
    if (error)
        *error = why.toLocal8Bit().toStdString();
    return false;
}

bool SaveFileAtomically(const QString& path, const QByteArray& bytes, std::string* error)
{
    return SaveFileAtomically(path, std::string_view(bytes.constData(), size_t(bytes.size())), error);
}

bool CopyFileAtomically(const QString& source, const QString& target, std::string* error)
{
    const auto refuse = [error](const QString& why) {
        if (error)
            *error = why.toLocal8Bit().toStdString();
        return false;
    };
    const QFileInfo from(source);
    if (!from.exists())
        return refuse(QStringLiteral("%1 does not exist").arg(source));
    if (!from.isFile())
        return refuse(QStringLiteral("%1 is not a regular file").arg(source));
    const QFileInfo to(target);
    // Copying a file onto itself would empty it.
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    // Opened without blocking and checked again, so a name swapped for a
    // FIFO or device in between is refused too.
    const int fd = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    FdScope scope{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return refuse(QStringLiteral("%1 is not a regular file").arg(source));
    QFile in;
    if (!in.open(fd, QIODevice::ReadOnly))
        return refuse(in.errorString());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return refuse(out.errorString());
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0) {
            out.cancelWriting();
            out.commit();
            return refuse(in.errorString());
        }
        if (n == 0)
            break;
        if (out.write(buffer.constData(), n) != n) {
            const QString why = out.errorString();
            out.cancelWriting();
            out.commit();
            return refuse(why);
        }
    }
    if (!out.commit())
        return refuse(out.errorString());
    return true;
}

} // namespace files
