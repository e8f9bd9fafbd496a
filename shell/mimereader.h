#pragma once
// Reads what other programs offer on the clipboard or in a drop, as the
// model wants it. Everything here is untrusted input: texts are cut to
// kMaxClipboardTextBytes, pictures are measured before they are decoded and
// refused above kMaxClipboardImagePixels, metafiles are cut off at
// kMaxClipboardMetafileBytes.
#include "platform/uiservices.h"

#include <QImage>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

class QMimeData;

class CMimeReader {
public:
    // The format name of the program's own objects marker.
    static const char* const kObjectsFormat;

    // Formats in the offer's own order, each once.
    static std::vector<ClipboardFormat> Formats(const QStringList& mimeTypes);
    static std::vector<ClipboardFormat> Formats(const QMimeData* mime);

    // text/plain as `codePage` bytes with CR LF line ends.
    static std::optional<std::string> Text(const QMimeData* mime, int codePage);

    enum class ImageResult { None, Read, TooLarge, Unreadable };
    // The first picture that decodes, as a 24-bit image.
    static ImageResult Image(const QMimeData* mime, QImage& image);

    // WMF bytes offered as image/x-wmf or image/wmf.
    static std::optional<std::string> Metafile(const QMimeData* mime);

    // Local files of a text/uri-list (other URLs are left out).
    static QStringList LocalFiles(const QMimeData* mime);
};
