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

// Writes `bytes` as the whole file `path`, atomically: into a new file
// beside it that then replaces the old one. When anything fails the new
// file is removed, any old file stays as it was, `error` (when given) says
// why in words, and the answer is false.
bool SaveFileAtomically(const QString& path, const QByteArray& bytes, std::string* error = nullptr);
bool SaveFileAtomically(const QString& path, std::string_view bytes, std::string* error = nullptr);

// Copies the regular file `source` over `target` through a new file beside
// the target that then replaces it, so a failed copy leaves any old target
// as it was. A source that is the target itself (after following links) is
// left alone and answers true. False, with `error` saying why, when the
// source is no regular file or the copy failed.
bool CopyFileAtomically(const QString& source, const QString& target, std::string* error = nullptr);

} // namespace files
