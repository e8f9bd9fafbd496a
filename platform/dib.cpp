#include "platform/dib.h"

#include "platform/dc.h"
#include "platform/files.h"
#include "platform/qtrect.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

namespace dib {

namespace {

uint16_t rd16(const char* p)
{
    return uint16_t(uint8_t(p[0]) | (uint8_t(p[1]) << 8));
}

uint32_t rd32(const char* p)
{
    return uint32_t(uint8_t(p[0])) | (uint32_t(uint8_t(p[1])) << 8) |
           (uint32_t(uint8_t(p[2])) << 16) | (uint32_t(uint8_t(p[3])) << 24);
}

void wr16(std::string& s, uint16_t v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char(v >> 8));
}

void wr32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s.push_back(char((v >> (8 * i)) & 0xFF));
}

// Reads the header block and fills everything but the placement of the
// bits; `headerBlockSize` is the bytes available for header and colour
// table (and, in the packed form, the bits after them).
bool parseHeader(std::string_view block, DibLayout& l)
{
    if (block.size() < 4)
        return false;
    const char* p = block.data();
    l.headerSize = rd32(p);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t clrUsed = 0;
    if (l.headerSize == kCoreHeaderSize) {
        if (block.size() < kCoreHeaderSize)
            return false;
        width = rd16(p + 4);
        height = rd16(p + 6);
        if (rd16(p + 8) != 1)
            return false;
        l.bitCount = rd16(p + 10);
        l.compression = BI_RGB;
        l.paletteEntrySize = 3;
    } else if (l.headerSize >= kInfoHeaderSize && l.headerSize <= 124) {
        if (block.size() < l.headerSize)
            return false;
        width = int32_t(rd32(p + 4));
        height = int32_t(rd32(p + 8));
        if (rd16(p + 12) != 1)
            return false;
        l.bitCount = rd16(p + 14);
        l.compression = rd32(p + 16);
        clrUsed = rd32(p + 32);
        l.paletteEntrySize = 4;
    } else {
        return false;
    }
    if (width <= 0 || height == 0)
        return false;
    l.topDown = height < 0;
    if (height < 0)
        height = -height;
    if (width * height > kMaxPixels)
        return false;
    l.width = int32_t(width);
    l.height = int32_t(height);

    switch (l.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    size_t tableOffset = l.headerSize;
    if (l.compression == BI_BITFIELDS) {
        if (l.bitCount != 16 && l.bitCount != 32)
            return false;
        const char* m = nullptr;
        if (l.headerSize >= 52) {
            m = p + 40;
        } else {
            if (block.size() < size_t(l.headerSize) + 12)
                return false;
            m = p + l.headerSize;
            tableOffset += 12;
        }
        for (int i = 0; i < 3; ++i)
            l.masks[i] = rd32(m + 4 * i);
        if (!l.masks[0] && !l.masks[1] && !l.masks[2])
            return false;
    } else if (l.compression == BI_RGB) {
        if (l.bitCount == 16) {
            l.masks[0] = 0x7C00; l.masks[1] = 0x03E0; l.masks[2] = 0x001F;
        } else if (l.bitCount == 32) {
            l.masks[0] = 0xFF0000; l.masks[1] = 0xFF00; l.masks[2] = 0xFF;
        }
    } else {
        return false; // run-length and embedded JPEG/PNG bitmaps are not drawn
    }
    l.paletteOffset = tableOffset;
    if (l.bitCount <= 8)
        l.paletteEntries = clrUsed ? clrUsed : (1u << l.bitCount);
    else
        l.paletteEntries = clrUsed;
    const uint64_t tableBytes = uint64_t(l.paletteEntries) * l.paletteEntrySize;
    if (tableOffset + tableBytes > block.size())
        return false;
    l.bitsOffset = size_t(tableOffset + tableBytes);
    const uint64_t stride = ((uint64_t(l.width) * l.bitCount + 31) / 32) * 4;
    l.stride = size_t(stride);
    l.bitsSize = size_t(stride * uint64_t(l.height));
    return true;
}

// Scales a bit-field value to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Channel(uint32_t m) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    uint32_t operator()(uint32_t px) const
    {
        if (!max)
            return 0;
        return uint32_t((uint64_t((px & mask) >> shift) * 255 + max / 2) / max) & 0xFF;
    }
};

QImage convert(const DibLayout& l, const char* palette, const char* bits)
{
    QImage image(l.width, l.height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    auto paletteColour = [&](uint32_t index) -> QRgb {
        if (index >= l.paletteEntries)
            return qRgb(0, 0, 0);
        const char* e = palette + size_t(index) * l.paletteEntrySize;
        return qRgb(uint8_t(e[2]), uint8_t(e[1]), uint8_t(e[0]));
    };
    const Channel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
    for (int y = 0; y < l.height; ++y) {
        const int srcRow = l.topDown ? y : l.height - 1 - y;
        const uint8_t* row = reinterpret_cast<const uint8_t*>(bits) + size_t(srcRow) * l.stride;
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < l.width; ++x) {
            switch (l.bitCount) {
            case 1: out[x] = paletteColour((row[x >> 3] >> (7 - (x & 7))) & 1); break;
            case 4: out[x] = paletteColour((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F); break;
            case 8: out[x] = paletteColour(row[x]); break;
            case 16: {
                const uint32_t v = uint32_t(row[2 * x]) | (uint32_t(row[2 * x + 1]) << 8);
                out[x] = qRgb(int(red(v)), int(green(v)), int(blue(v)));
                break;
            }
            case 24:
                out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default: {
                const uint8_t* q = row + 4 * size_t(x);
                const uint32_t v = uint32_t(q[0]) | (uint32_t(q[1]) << 8) | (uint32_t(q[2]) << 16) |
                                   (uint32_t(q[3]) << 24);
                out[x] = qRgb(int(red(v)), int(green(v)), int(blue(v)));
                break;
            }
            }
        }
    }
    return image;
}

// Resolution fields of a header (0 for a core header or a short block).
void resolution(std::string_view header, uint32_t& x, uint32_t& y)
{
    x = y = 0;
    if (header.size() >= kInfoHeaderSize && rd32(header.data()) >= kInfoHeaderSize) {
        x = rd32(header.data() + 24);
        y = rd32(header.data() + 28);
    }
}

} // namespace

DibSize HeaderSize(std::string_view header)
{
    DibSize s;
    if (header.size() < 4)
        return s;
    const uint32_t size = rd32(header.data());
    if (size == kCoreHeaderSize && header.size() >= kCoreHeaderSize) {
        s.width = rd16(header.data() + 4);
        s.height = rd16(header.data() + 6);
    } else if (size >= kInfoHeaderSize && header.size() >= kInfoHeaderSize) {
        const int64_t w = int32_t(rd32(header.data() + 4));
        const int64_t h = int32_t(rd32(header.data() + 8));
        s.width = int32_t(std::min<int64_t>(w < 0 ? -w : w, INT32_MAX));
        s.height = int32_t(std::min<int64_t>(h < 0 ? -h : h, INT32_MAX));
    }
    return s;
}

DibLayout ParsePacked(std::string_view packed)
{
    DibLayout l;
    if (!parseHeader(packed, l))
        return DibLayout{};
    if (uint64_t(l.bitsOffset) + l.bitsSize > packed.size())
        return DibLayout{};
    l.valid = true;
    return l;
}

DibLayout ParseSplit(std::string_view header, size_t bitsSize)
{
    DibLayout l;
    if (!parseHeader(header, l))
        return DibLayout{};
    if (l.bitsSize > bitsSize)
        return DibLayout{};
    l.bitsOffset = 0;
    l.valid = true;
    return l;
}

QImage PackedToImage(std::string_view packed)
{
    const DibLayout l = ParsePacked(packed);
    if (!l.valid)
        return QImage();
    return convert(l, packed.data() + l.paletteOffset, packed.data() + l.bitsOffset);
}

QImage SplitToImage(std::string_view header, std::string_view bits)
{
    const DibLayout l = ParseSplit(header, bits.size());
    if (!l.valid)
        return QImage();
    return convert(l, header.data() + l.paletteOffset, bits.data());
}

std::string ImageToPacked24(const QImage& image)
{
    if (image.isNull() || int64_t(image.width()) * image.height() > kMaxPixels)
        return {};
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    const int w = src.width();
    const int h = src.height();
    const size_t stride = ((size_t(w) * 24 + 31) / 32) * 4;
    std::string out;
    out.reserve(kInfoHeaderSize + stride * size_t(h));
    wr32(out, kInfoHeaderSize);
    wr32(out, uint32_t(w));
    wr32(out, uint32_t(h));
    wr16(out, 1);
    wr16(out, 24);
    wr32(out, BI_RGB);
    wr32(out, uint32_t(stride * size_t(h)));
    const int dpmX = src.dotsPerMeterX() > 0 ? src.dotsPerMeterX() : 3780;
    const int dpmY = src.dotsPerMeterY() > 0 ? src.dotsPerMeterY() : 3780;
    wr32(out, uint32_t(dpmX));
    wr32(out, uint32_t(dpmY));
    wr32(out, 0);
    wr32(out, 0);
    std::string row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const unsigned a = unsigned(qAlpha(in[x]));
            auto over = [a](unsigned c) { return char((c * a + 255u * (255u - a) + 127u) / 255u); };
            row[3 * size_t(x)] = over(unsigned(qBlue(in[x])));
            row[3 * size_t(x) + 1] = over(unsigned(qGreen(in[x])));
            row[3 * size_t(x) + 2] = over(unsigned(qRed(in[x])));
        }
        out.append(row);
    }
    return out;
}

bool RotatePacked90(std::string& packed, bool clockwise)
{
    const QImage src = PackedToImage(packed);
    if (src.isNull())
        return false;
    uint32_t resX = 0, resY = 0;
    resolution(packed, resX, resY);
    const int w = src.width();
    const int h = src.height();
    QImage dst(h, w, QImage::Format_RGB32);
    if (dst.isNull())
        return false;
    for (int y = 0; y < h; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            // Clockwise: the left column becomes the top row.
            const int nx = clockwise ? h - 1 - y : y;
            const int ny = clockwise ? x : w - 1 - x;
            reinterpret_cast<QRgb*>(dst.scanLine(ny))[nx] = in[x];
        }
    }
    std::string out = ImageToPacked24(dst);
    if (out.empty())
        return false;
    if (resX && resY) {
        std::memcpy(out.data() + 24, packed.data() + 28, 4);
        std::memcpy(out.data() + 28, packed.data() + 24, 4);
    }
    packed = std::move(out);
    return true;
}

std::string PackedToBmpFile(std::string_view packed)
{
    const DibLayout l = ParsePacked(packed);
    if (!l.valid)
        return {};
    std::string out;
    out.reserve(14 + packed.size());
    out.append("BM");
    wr32(out, uint32_t(14 + packed.size()));
    wr32(out, 0);
    wr32(out, uint32_t(14 + l.bitsOffset));
    out.append(packed);
    return out;
}

bool ReadPictureInfo(const QByteArray& file, FileInfo& info)
{
    info = FileInfo{};
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format().toLower();
    if (format.isEmpty())
        return false;
    if (format == "jpeg" || format == "jpg")
        info.format = "JPEG";
    else
        info.format = format.toUpper().toStdString();
    const QSize size = reader.size();
    if (size.isValid()) {
        info.width = size.width();
        info.height = size.height();
    }
    return true;
}

bool ReadFileInfo(const QString& path, FileInfo& info)
{
    info = FileInfo{};
    const std::optional<QByteArray> file = files::ReadRegularFile(path, kMaxFileBytes);
    return file && ReadPictureInfo(*file, info);
}

QSize ReducedSize(QSize full, QSize drawnSize)
{
    if (!full.isValid() || full.isEmpty() || !drawnSize.isValid() || drawnSize.isEmpty())
        return full;
    if (drawnSize.width() >= full.width() || drawnSize.height() >= full.height())
        return full;
    // The larger of the two scale factors, so that both directions are
    // covered; rounded up.
    const int64_t fw = full.width(), fh = full.height();
    const int64_t dw = drawnSize.width(), dh = drawnSize.height();
    int64_t w, h;
    if (dw * fh >= dh * fw) {
        w = dw;
        h = (fh * dw + fw - 1) / fw;
    } else {
        h = dh;
        w = (fw * dh + fh - 1) / fh;
    }
    return QSize(int(std::clamp<int64_t>(w, 1, fw)), int(std::clamp<int64_t>(h, 1, fh)));
}

std::string DecodeAsPacked24(const QByteArray& file, const std::string& format, QSize drawnSize)
{
    QByteArray qtFormat;
    if (format == "JPEG")
        qtFormat = "jpeg";
    else if (format == "BMP")
        qtFormat = "bmp";
    else if (format == "PNG")
        qtFormat = "png";
    else
        return {};
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormat);
    reader.setDecideFormatFromContent(false);
    QImageReader::setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    if (size.isValid() && int64_t(size.width()) * size.height() > kMaxPixels)
        return {};
    if (size.isValid()) {
        const QSize reduced = ReducedSize(size, drawnSize);
        if (reduced != size)
            reader.setScaledSize(reduced);
    }
    const QImage image = reader.read();
    return ImageToPacked24(image);
}

std::string ReadFileAsPacked24(const QString& path, const std::string& format)
{
    const std::optional<QByteArray> file = files::ReadRegularFile(path, kMaxFileBytes);
    if (!file)
        return {};
    return DecodeAsPacked24(*file, format);
}

void DrawImage(CDC& dc, const QImage& image, const QRect& source, const RECT& dest)
{
    if (image.isNull() || dest.right == dest.left || dest.bottom == dest.top || source.width() <= 0 ||
        source.height() <= 0)
        return;
    const QRect inside = source & image.rect();
    if (inside.isEmpty())
        return;
    const double sx = double(int64_t(dest.right) - dest.left) / source.width();
    const double sy = double(int64_t(dest.bottom) - dest.top) / source.height();
    QRectF target(dest.left + (inside.left() - source.left()) * sx,
                  dest.top + (inside.top() - source.top()) * sy, inside.width() * sx,
                  inside.height() * sy);
    const bool mirrorX = target.width() < 0;
    const bool mirrorY = target.height() < 0;
    QImage part;
    QRectF from(inside);
    if (mirrorX || mirrorY) {
        part = image.copy(inside).mirrored(mirrorX, mirrorY);
        from = QRectF(part.rect());
        target = target.normalized();
    }
    const QImage& drawn = (mirrorX || mirrorY) ? part : image;

    QPainter own;
    QPainter* p = dc.Painter();
    if (dc.IsRaster()) {
        if (!own.begin(dc.Image()))
            return;
        own.translate(dc.GetViewportOrg().x, dc.GetViewportOrg().y);
        p = &own;
    }
    if (!p)
        return;
    p->save();
    if (const auto clip = dc.GetClipRect())
        p->setClipRect(ToQRect(*clip), Qt::IntersectClip);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Shrinking averages the pixels (halftone); enlarging repeats them.
    p->setRenderHint(QPainter::SmoothPixmapTransform,
                     target.width() < from.width() || target.height() < from.height());
    p->drawImage(target, drawn, from);
    p->restore();
}

} // namespace dib
