#include "platform/files.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <limits>
#include <vector>

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

namespace {

std::string systemReason(int e)
{
    return std::strerror(e);
}

// A new file beside the target that replaces it on Commit. Every step is
// checked with the system's own answer: a write that ends short (a full
// disk, a file size limit), an I/O error reported by the sync or the close,
// a rename that fails. Until Commit succeeds the target is untouched; the
// new file is removed whenever the whole is not written.
class ReplacingFile {
public:
    ~ReplacingFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_tempName.isEmpty())
            ::unlink(m_tempName.constData());
    }

    bool Open(const QString& path)
    {
        if (path.isEmpty() || QFile::encodeName(path).contains('\0'))
            return failWith(ENOENT);
        // A link is followed: the file it names is replaced (or made), the
        // link stays.
        QFileInfo info(path);
        for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
            info.setFile(info.symLinkTarget());
        const QByteArray name = QFile::encodeName(info.filePath());
        struct stat st {};
        const bool exists = ::stat(name.constData(), &st) == 0;
        if (exists && S_ISDIR(st.st_mode))
            return failWith(EISDIR);
        // A file its owner made read-only stays as it is, as when it would
        // be written in place.
        if (exists && ::access(name.constData(), W_OK) != 0)
            return failWith(errno);
        m_finalName = name;
        // The new file is named after the target; where that name is too
        // long for the folder, a short hidden one in the same folder.
        const QByteArray folder = name.left(name.lastIndexOf('/') + 1);
        bool fits = true;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray tag = QByteArray::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 36);
            const QByteArray temp = fits ? name + '.' + tag : folder + ".~" + tag;
            m_fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
            if (m_fd >= 0) {
                m_tempName = temp;
                break;
            }
            if (errno == ENAMETOOLONG && fits)
                fits = false;
            else if (errno != EEXIST)
                return failWith(errno);
        }
        if (m_fd < 0)
            return failWith(EEXIST);
        // The new file keeps the old one's permissions.
        if (exists && ::fchmod(m_fd, st.st_mode & 07777) != 0)
            return failWith(errno);
        return true;
    }

    bool Write(const char* data, size_t size)
    {
        while (size > 0) {
            const ssize_t n = ::write(m_fd, data, size);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return failWith(errno);
            }
            if (n == 0)
                return failWith(ENOSPC);
            data += n;
            size -= size_t(n);
        }
        return true;
    }

    bool Commit()
    {
        // The bytes on the disk before the name points at them: a failure
        // of the device shows here, while the old file is still in place.
        if (::fsync(m_fd) != 0 && errno != EINVAL)
            return failWith(errno);
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR)
            return failWith(errno);
        if (::rename(m_tempName.constData(), m_finalName.constData()) != 0)
            return failWith(errno);
        m_tempName.clear();
        // The new name itself on the disk; the file is already replaced,
        // so a failure here changes nothing for the caller.
        const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(m_finalName)).absolutePath());
        const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            ::fsync(dirFd);
            ::close(dirFd);
        }
        return true;
    }

    const std::string& Error() const { return m_error; }

private:
    bool failWith(int e)
    {
        m_error = systemReason(e);
        return false;
    }

    int m_fd = -1;
    QByteArray m_finalName;
    QByteArray m_tempName; // the new file while it exists
    std::string m_error;
};

bool failed(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

bool SaveFileAtomically(const QString& path, std::string_view bytes, std::string* error)
{
    ReplacingFile file;
    if (!file.Open(path) || !file.Write(bytes.data(), bytes.size()) || !file.Commit())
        return failed(error, file.Error());
    return true;
}

bool SaveFileAtomically(const QString& path, const QByteArray& bytes, std::string* error)
{
    return SaveFileAtomically(path, std::string_view(bytes.constData(), size_t(bytes.size())), error);
}

bool CopyFileAtomically(const QString& source, const QString& target, std::string* error)
{
    const auto refuse = [error](const QString& why) { return failed(error, why.toLocal8Bit().toStdString()); };
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
        return failed(error, systemReason(errno));
    FdScope scope{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return refuse(QStringLiteral("%1 is not a regular file").arg(source));
    ReplacingFile out;
    if (!out.Open(target))
        return failed(error, out.Error());
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failed(error, systemReason(errno));
        }
        if (n == 0)
            break;
        if (!out.Write(buffer.data(), size_t(n)))
            return failed(error, out.Error());
    }
    if (!out.Commit())
        return failed(error, out.Error());
    return true;
}

} // namespace files
