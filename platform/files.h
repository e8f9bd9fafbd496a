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

} // namespace files
