#pragma once
// Reading files whose names come from stored data (projects, table cells).
//
// Such a name can point anywhere: at a device that never ends (/dev/zero),
// at a FIFO or terminal whose opening or reading blocks, at a folder. Only
// a regular file (after following links) is read, and never more than the
// caller's limit: the type is checked before the file is opened, and the
// opened file is checked again, so a name swapped in between is refused too.
#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace files {

enum class FileError {
    None,
    Missing,        // no such file, or the name is empty
    NotRegularFile, // a folder, device, FIFO, socket...
    TooLarge,       // more bytes than the caller accepts
    Unreadable,     // no permission, or reading failed
};

// Why a read failed, in words (English, for logs and messages).
const char* FileErrorText(FileError error);

// The whole content of the regular file `path` when it holds at most
// `maxBytes` bytes; otherwise nothing, and `error` (when given) says why.
// Never blocks on a FIFO or device and never reads more than maxBytes + 1
// bytes.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes,
                                          FileError* error = nullptr);

// The first `count` bytes (fewer when the file is shorter) of the regular
// file `path`, with the same checks as ReadRegularFile.
std::optional<QByteArray> ReadRegularFileHead(const QString& path, qint64 count,
                                              FileError* error = nullptr);

// What identifies a file's content for caching: a change of size or
// modification time means the content may have changed.
struct FileState {
    qint64 size = 0;
    qint64 modifiedNs = 0; // modification time, nanoseconds since the epoch
    quint64 inode = 0;     // a file put in the name's place is another file
    bool operator==(const FileState&) const = default;
};

// A regular file opened for reading with the checks of ReadRegularFile (a
// name that is no regular file is refused before it is opened). The caller
// reads what it needs, where it needs it, never more than it asks for.
class OpenedFile {
public:
    static std::optional<OpenedFile> Open(const QString& path, FileError* error = nullptr);
    OpenedFile(OpenedFile&& other) noexcept;
    OpenedFile& operator=(OpenedFile&&) = delete;
    OpenedFile(const OpenedFile&) = delete;
    ~OpenedFile();

    const FileState& State() const { return m_state; }
    qint64 Size() const { return m_state.size; }
    // Reads up to `count` bytes at `offset`; the bytes read (fewer at the
    // end of the file), or -1 when reading failed.
    qint64 ReadAt(qint64 offset, char* into, qint64 count) const;
    // The bytes from `offset` to `offset + count` (fewer at the end of the
    // file); nothing when reading failed or count is negative.
    std::optional<QByteArray> Read(qint64 offset, qint64 count) const;

private:
    OpenedFile(int fd, FileState state) : m_fd(fd), m_state(state) {}
    int m_fd = -1;
    FileState m_state;
};

// The state of the regular file `path` (following links) without opening
// it; nothing, with `error` saying why, when it is missing or no regular
// file.
std::optional<FileState> StatRegularFile(const QString& path, FileError* error = nullptr);

// Writes `bytes` as the whole file `path`, atomically: into a new file
// beside it that then replaces the old one. Every step is checked with the
// system's own answer (each write, the sync to the disk, the close, the
// rename), so a full disk, a file size limit or an I/O error is noticed.
// When anything fails the new file is removed, any old file stays as it
// was, `error` (when given) says the system's reason in words, and the
// answer is false. A link is followed: the file it names is replaced. The
// new file keeps the old one's permissions; a file that may not be written
// is refused.
bool SaveFileAtomically(const QString& path, const QByteArray& bytes, std::string* error = nullptr);
bool SaveFileAtomically(const QString& path, std::string_view bytes, std::string* error = nullptr);

// Copies the regular file `source` over `target` through a new file beside
// the target that then replaces it, so a failed copy leaves any old target
// as it was. A source that is the target itself (after following links) is
// left alone and answers true. False, with `error` saying why, when the
// source is no regular file or the copy failed.
bool CopyFileAtomically(const QString& source, const QString& target, std::string* error = nullptr);

} // namespace files
