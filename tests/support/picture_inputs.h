#pragma once
// Picture files that once froze drawing, built in a test's folder: large
// ones are sparse files (a header and a hole), never committed.
//  - a top-down 8000 x 8000 BMP of 24 bits (192 MB, within the pixel limit);
//  - a top-down BMP of 8193 x 8193 pixels, just above the limit;
//  - a PNG whose text chunk declares 2 GB;
//  - a run-length (RLE8) BMP whose data ends after its first run;
//  - a 256 MB file of zeros named as a PNG.
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QString>

#include <string>
#include <vector>

namespace testsupport {

struct PictureInput {
    const char* name;
    bool drawn; // a picture comes out (else the missing-picture drawing)
};

inline const std::vector<PictureInput>& pictureInputs()
{
    static const std::vector<PictureInput> inputs{
        {"topdown8000.bmp", true}, {"above_limit.bmp", false}, {"text2gb.png", false},
        {"rle_cut.bmp", true},     {"zeros256mb.png", false},
    };
    return inputs;
}

namespace detail {

inline void le(std::string& s, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        s.push_back(char((v >> (8 * i)) & 0xFF));
}

inline std::string bmpHead(int32_t w, int32_t h, uint16_t bpp, uint32_t compression, uint32_t colours,
                           uint32_t fileSize)
{
    std::string s = "BM";
    le(s, fileSize, 4);
    le(s, 0, 4);
    le(s, 14 + 40 + 4 * colours, 4);
    le(s, 40, 4);
    le(s, uint32_t(w), 4);
    le(s, uint32_t(h), 4);
    le(s, 1, 2);
    le(s, bpp, 2);
    le(s, compression, 4);
    for (int i = 0; i < 3; ++i)
        le(s, 0, 4);
    le(s, colours, 4);
    le(s, 0, 4);
    return s;
}

// Writes `head` and makes the file `size` bytes long (a hole after it).
inline bool writeSparse(const QString& path, const std::string& head, qint64 size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (f.write(head.data(), qint64(head.size())) != qint64(head.size()))
        return false;
    return f.resize(std::max<qint64>(size, qint64(head.size())));
}

} // namespace detail

// Builds the input `name` (one of pictureInputs()) at `path`.
inline bool makePictureInput(const std::string& name, const QString& path)
{
    using namespace detail;
    if (name == "topdown8000.bmp") {
        const qint64 size = 54 + qint64(8000) * 3 * 8000;
        return writeSparse(path, bmpHead(8000, -8000, 24, 0, 0, uint32_t(size)), size);
    }
    if (name == "above_limit.bmp") {
        const qint64 stride = (8193 + 3) / 4 * 4;
        const qint64 size = 54 + 1024 + stride * 8193;
        std::string head = bmpHead(8193, -8193, 8, 0, 256, uint32_t(size));
        head.append(1024, '\x40');
        return writeSparse(path, head, size);
    }
    if (name == "text2gb.png") {
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(0xFFFF0000u);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        img.save(&buffer, "PNG");
        // A text chunk declaring 2 GB right after the header chunk.
        std::string chunk;
        for (int shift = 24; shift >= 0; shift -= 8)
            chunk.push_back(char((0x7FFFFFF0u >> shift) & 0xFF));
        chunk += "tEXtComment";
        chunk.append(4096, 'x');
        std::string file = png.left(33).toStdString() + chunk + png.mid(33).toStdString();
        return writeSparse(path, file, qint64(file.size()));
    }
    if (name == "rle_cut.bmp") {
        // 64 x 64, two colours; the data ends after one run of 10 red.
        std::string head = bmpHead(64, 64, 8, 1, 2, 0);
        le(head, 0x0000FF00, 4); // index 0: green
        le(head, 0x00FF0000, 4); // index 1: red
        head.push_back(char(10));
        head.push_back(char(1));
        return writeSparse(path, head, qint64(head.size()));
    }
    if (name == "zeros256mb.png")
        return writeSparse(path, std::string(), qint64(256) * 1024 * 1024);
    return false;
}

} // namespace testsupport
