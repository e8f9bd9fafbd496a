#include "shell/mimereader.h"

#include "platform/dib.h"
#include "platform/modeltext.h"

#include <QBuffer>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

const char* const CMimeReader::kObjectsFormat = "VPW4_OBJECTS_NEW";

namespace {

const char* const kQtImage = "application/x-qt-image";

bool isMetafileType(const QString& type)
{
    return type == QLatin1String("image/x-wmf") || type == QLatin1String("image/wmf");
}

bool isPictureType(const QString& type)
{
    return (type.startsWith(QLatin1String("image/")) && !isMetafileType(type)) || type == QLatin1String(kQtImage);
}

bool tooLarge(QSize size)
{
    return int64_t(size.width()) * int64_t(size.height()) > kMaxClipboardImagePixels;
}

} // namespace

std::vector<ClipboardFormat> CMimeReader::Formats(const QStringList& mimeTypes)
{
    std::vector<ClipboardFormat> formats;
    auto add = [&formats](ClipboardFormat f) {
        if (std::find(formats.begin(), formats.end(), f) == formats.end())
            formats.push_back(f);
    };
    for (const QString& type : mimeTypes) {
        if (type == QLatin1String("text/plain") || type.startsWith(QLatin1String("text/plain;")))
            add(ClipboardFormat::Text);
        else if (isMetafileType(type))
            add(ClipboardFormat::Metafile);
        else if (isPictureType(type))
            add(ClipboardFormat::Image);
        else if (type == QLatin1String(kObjectsFormat))
            add(ClipboardFormat::Objects);
    }
    return formats;
}

std::vector<ClipboardFormat> CMimeReader::Formats(const QMimeData* mime)
{
    return mime ? Formats(mime->formats()) : std::vector<ClipboardFormat>{};
}

std::optional<std::string> CMimeReader::Text(const QMimeData* mime, int codePage)
{
    if (!mime || !mime->hasText())
        return std::nullopt;
    QString text = mime->text();
    // Each character gives at least one byte, so a text this long is cut
    // before it is converted.
    if (size_t(text.size()) > kMaxClipboardTextBytes)
        text.truncate(qsizetype(kMaxClipboardTextBytes));
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    std::string bytes = modeltext::FromEditor(text, codePage);
    modeltext::CutToLimit(bytes, kMaxClipboardTextBytes, codePage);
    // A CR LF cut in two leaves a lone CR at the end.
    if (!bytes.empty() && bytes.back() == '\r')
        bytes.pop_back();
    return bytes;
}

CMimeReader::ImageResult CMimeReader::Image(const QMimeData* mime, QImage& image)
{
    if (!mime)
        return ImageResult::None;
    ImageResult result = ImageResult::None;
    // Encoded pictures: measured from their header before anything is
    // decoded.
    for (const QString& type : mime->formats()) {
        if (!isPictureType(type) || type == QLatin1String(kQtImage))
            continue;
        QByteArray bytes = mime->data(type);
        // BMP, PNG and JPEG go through the program's own checked readers,
        // as picture files do.
        dib::FileInfo info;
        if (dib::ReadPictureInfo(bytes, info) &&
            (info.format == "BMP" || info.format == "PNG" || info.format == "JPEG")) {
            // Decoded whole, a picture is held to the limits of the
            // program's whole decodes; for a BMP file those include runs
            // declaring far more pixels than their bytes are worth.
            const int64_t pixels = int64_t(info.width) * info.height;
            const bool worth = pixels == 0 || (info.format == "BMP"
                                                   ? dib::WorthMakingWhole(info.width, info.height, bytes.size())
                                                   : pixels <= dib::kMaxRotatedPixels);
            if (tooLarge(QSize(info.width, info.height)) || !worth) {
                result = ImageResult::TooLarge;
                continue;
            }
            const QImage decoded = dib::PackedToImage(dib::DecodeAsPacked24(bytes, info.format));
            if (decoded.isNull()) {
                result = ImageResult::Unreadable;
                continue;
            }
            image = decoded.convertToFormat(QImage::Format_RGB888);
            return ImageResult::Read;
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(false);
        const QSize size = reader.size();
        if (!size.isValid()) {
            result = ImageResult::Unreadable;
            continue;
        }
        if (tooLarge(size)) {
            result = ImageResult::TooLarge;
            continue;
        }
        QImage decoded;
        if (!reader.read(&decoded) || decoded.isNull()) {
            result = ImageResult::Unreadable;
            continue;
        }
        image = decoded.convertToFormat(QImage::Format_RGB888);
        return ImageResult::Read;
    }
    // A picture this program put there itself is already decoded.
    if (mime->hasFormat(QLatin1String(kQtImage)) && result == ImageResult::None) {
        const QVariant data = mime->imageData();
        if (data.typeId() != QMetaType::QImage)
            return ImageResult::Unreadable;
        const QImage held = qvariant_cast<QImage>(data);
        if (held.isNull())
            return ImageResult::Unreadable;
        if (tooLarge(held.size()))
            return ImageResult::TooLarge;
        image = held.convertToFormat(QImage::Format_RGB888);
        return ImageResult::Read;
    }
    return result;
}

std::optional<std::string> CMimeReader::Metafile(const QMimeData* mime)
{
    if (!mime)
        return std::nullopt;
    for (const QString& type : mime->formats()) {
        if (!isMetafileType(type))
            continue;
        const QByteArray bytes = mime->data(type);
        const size_t size = std::min(size_t(bytes.size()), kMaxClipboardMetafileBytes);
        return std::string(bytes.constData(), size);
    }
    return std::nullopt;
}

QStringList CMimeReader::LocalFiles(const QMimeData* mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}
