#include "content/images/presentation.h"

#include "content/images/imageholder.h"
#include "platform/dib.h"
#include "platform/wmf.h"

#include <algorithm>
#include <cctype>

namespace {

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

int16_t rd16(std::string_view d, size_t at)
{
    return int16_t(uint16_t(uint8_t(d[at]) | (uint8_t(d[at + 1]) << 8)));
}

} // namespace

QImage DeviceBitmapToImage(std::string_view data)
{
    if (data.size() < 10)
        return QImage();
    const int width = rd16(data, 2);
    const int height = rd16(data, 4);
    const int rowBytes = rd16(data, 6);
    const int planes = uint8_t(data[8]);
    const int bpp = uint8_t(data[9]);
    if (width <= 0 || height <= 0 || planes != 1 || (bpp != 1 && bpp != 24 && bpp != 32))
        return QImage();
    if (int64_t(rowBytes) * 8 < int64_t(width) * bpp || int64_t(width) * height > dib::kMaxPixels)
        return QImage();
    if (uint64_t(rowBytes) * uint64_t(height) > data.size() - 10)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = reinterpret_cast<const uint8_t*>(data.data()) + 10 + size_t(y) * size_t(rowBytes);
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bpp == 1) {
                const bool set = (row[x >> 3] >> (7 - (x & 7))) & 1;
                out[x] = set ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            } else {
                const uint8_t* p = row + size_t(x) * size_t(bpp / 8);
                out[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
    return image;
}

bool DrawOle1Presentation(CDC& dc, const RECT& box, std::string_view className, std::string_view data)
{
    if (sameName(className, "METAFILEPICT")) {
        if (!wmf::HasStandardHeader(data))
            return false;
        DrawMetafileIntoBox(dc, data, 0, 0, box, kImageStretch);
        return true;
    }
    if (sameName(className, "DIB")) {
        if (!dib::ParsePacked(data).valid)
            return false;
        // Decoded no larger than it is drawn, and no more of it than the
        // device shows: a large picture would cost its whole size on every
        // label.
        const dib::DibSize full = dib::HeaderSize(data);
        CDecodedBitmap decoded;
        decoded.Draw(
            dc, QSize(full.width, full.height),
            [data](QRect part, QSize size) { return dib::PackedPartToImage(data, part, size); }, box,
            ImageSourceWindow{}, kImageStretch);
        return true;
    }
    QImage picture;
    if (sameName(className, "BITMAP"))
        picture = DeviceBitmapToImage(data);
    if (picture.isNull())
        return false;
    DrawBitmapIntoBox(dc, picture, box, ImageSourceWindow{}, kImageStretch);
    return true;
}
