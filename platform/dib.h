#pragma once
// Device-independent bitmaps (DIBs) and picture files.
//
// A packed DIB is one block: the bitmap information header, the colour
// table (or the three bit-field masks) and the pixel rows. Every reader here
// checks the header against the bytes that are really there; a bitmap that
// does not add up is reported invalid and never drawn.
//
// Bitmaps compressed run-length (RLE8, RLE4) are decoded here, bounded by
// their bytes: what a run that ends early leaves out stays colour index 0,
// as do indices beyond the colour table. Bitmaps whose bits are a JPEG or
// PNG file are checked as such files are and decoded by the toolkit; the
// picture must have the header's size.
//
// Picture files (JPEG, BMP, PNG) become 24-bit packed DIBs: a 40-byte
// header, bottom-up BGR rows padded to four bytes, alpha composited onto
// white. BMP files are decoded by this program's own reader; PNG and JPEG
// files are checked (size, and the structure of the file) before the
// toolkit decodes them (dib_files.cpp).
#include "platform/windef.h"

#include <QImage>
#include <QByteArray>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CDC;

namespace dib {

constexpr uint32_t kCoreHeaderSize = 12;   // BITMAPCOREHEADER
constexpr uint32_t kInfoHeaderSize = 40;   // BITMAPINFOHEADER
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_JPEG = 4; // the bits are a JPEG file
constexpr uint32_t BI_PNG = 5;  // the bits are a PNG file
// Largest bitmap the program decodes or draws (64 megapixels).
constexpr int64_t kMaxPixels = int64_t(1) << 26;

// What a bitmap header says, checked against the data.
struct DibLayout {
    bool valid = false;
    uint32_t headerSize = 0;
    int32_t width = 0;         // pixels, > 0 when valid
    int32_t height = 0;        // pixels, always positive
    bool topDown = false;      // rows stored from the top (negative height)
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t masks[3] = {0, 0, 0}; // red, green, blue for 16 and 32 bits
    uint32_t alphaMask = 0;    // bit fields of a v3 to v5 header; used for files only
    size_t paletteOffset = 0;  // offset of the colour table in the header block
    uint32_t paletteEntries = 0;
    uint32_t paletteEntrySize = 4; // 3 for core headers
    size_t bitsOffset = 0;     // offset of the rows (packed form only)
    size_t stride = 0;         // bytes per row
    size_t bitsSize = 0;       // stride x height; the compressed bytes for RLE, JPEG, PNG
    bool RunLength() const { return compression == BI_RLE8 || compression == BI_RLE4; }
    bool Embedded() const { return compression == BI_JPEG || compression == BI_PNG; }
};

// Width and height a header reports (height made positive), without
// checking the rest; 0, 0 when the block is too short for a header.
struct DibSize {
    int32_t width = 0;
    int32_t height = 0;
};
DibSize HeaderSize(std::string_view header);

// Checks a packed DIB (header, colour table, rows in one block).
DibLayout ParsePacked(std::string_view packed);
// Checks a DIB stored as header (with its colour table) and separate bits.
DibLayout ParseSplit(std::string_view header, size_t bitsSize);

// The bitmap as a 32-bit image; a null image when it is invalid or above
// the limits of a whole decode (CanDecodePacked).
QImage PackedToImage(std::string_view packed);
// The same, reduced (averaged) to the smallest size that covers drawnSize
// in both directions, keeping its proportions (see ReducedSize); the whole
// bitmap (as PackedToImage decodes it) when drawnSize is not valid or not
// smaller.
QImage PackedToImage(std::string_view packed, QSize drawnSize);
// The part `part` of the bitmap (in its pixels, the top row 0) reduced
// (averaged) in each direction on its own to `size`, never enlarged; a
// null image when the part lies beside the bitmap.
QImage PackedPartToImage(std::string_view packed, QRect part, QSize size);
// The same for a bitmap stored as header (with its colour table) and bits.
QImage SplitToImage(std::string_view header, std::string_view bits);
QImage SplitPartToImage(std::string_view header, std::string_view bits, QRect part, QSize size);

// An image as a 24-bit packed DIB (alpha composited onto white); empty for
// a null image or one above kMaxPixels.
std::string ImageToPacked24(const QImage& image);

// Largest bitmap turned or decoded whole (32 megapixels: 96 MB of 24-bit
// rows).
constexpr int64_t kMaxRotatedPixels = 32'000'000;
// Above a megapixel, a bitmap is turned or decoded whole only when its
// 24-bit rows are at most this many times the bytes it is stored in: a few
// bytes of runs declaring millions of pixels are not blown up.
constexpr int64_t kMaxRotatedGrowth = 64;

// The bytes of a 24-bit packed DIB of width x height pixels (header and
// rows), and whether a bitmap of that size stored in `storedBytes` is made
// whole by the limits above.
int64_t Packed24Bytes(int64_t width, int64_t height);
bool WorthMakingWhole(int64_t width, int64_t height, int64_t storedBytes);

// The bytes of the 24-bit bitmap RotatePacked90 would make of `packed`
// (0 when it is no valid bitmap), and whether it turns it (above).
int64_t RotatedBytes(std::string_view packed);
bool CanRotatePacked(std::string_view packed);

// The bytes of the picture a whole decode makes of `packed`, as a 24-bit
// bitmap (0 when it is no valid bitmap), and whether PackedToImage decodes
// it whole (the limits above); the same for header and bits apart.
int64_t DecodedBytes(std::string_view packed);
bool CanDecodePacked(std::string_view packed);
bool CanDecodeSplit(std::string_view header, std::string_view bits);

// Turns a packed DIB by 90 degrees, clockwise or not, in place; the result
// is a 24-bit packed DIB with the resolutions exchanged (without them, the
// resolution of a new toolkit image). The rows are decoded one by one, each
// written straight into the column it becomes; a bitmap whose bits are a
// JPEG or PNG file is decoded whole by the toolkit first. False (and the
// block unchanged) when it is invalid or CanRotatePacked says no.
bool RotatePacked90(std::string& packed, bool clockwise);

// A BMP file (14-byte file header and the packed DIB), for the clipboard.
std::string PackedToBmpFile(std::string_view packed);

// Largest picture file read (a 64-megapixel BMP of 32 bits fits).
constexpr qint64 kMaxFileBytes = kMaxPixels * 4 + (1 << 20);

// Format and size of a picture file, decided by its content (the first
// bytes do: a BMP, PNG or JPEG header). A size of 0 x 0 when the header
// does not say.
struct FileInfo {
    std::string format; // "JPEG", "BMP", "PNG", or another upper-case name
    int width = 0;
    int height = 0;
};
bool ReadFileInfo(const QString& path, FileInfo& info);
// The same for a file's content already read (or its first bytes).
bool ReadPictureInfo(const QByteArray& file, FileInfo& info);

// Checks a whole PNG or JPEG file before it is decoded: its size within
// kMaxPixels, and the structure (PNG: the header chunk first, every chunk
// length within the bytes left; JPEG: every segment within the file and a
// frame header before the scan). Fills `info` when given.
bool CheckPictureFile(const QByteArray& file, const std::string& format, FileInfo* info = nullptr);

// Decodes a BMP file (any header version, 1 to 32 bits, bit fields,
// top-down, RLE8 and RLE4) into a 24-bit packed DIB, reduced as
// DecodeAsPacked24 says; empty when it is damaged or above kMaxPixels.
std::string DecodeBmpFile(std::string_view file, QSize drawnSize = {});

// Decodes a picture file of the given format ("JPEG", "BMP" or "PNG") into
// a 24-bit packed DIB; empty when it cannot be read. The file is read only
// when it is a regular file of at most kMaxFileBytes (files.h).
std::string ReadFileAsPacked24(const QString& path, const std::string& format);

// The same for a file's content already read. With a valid `drawnSize`
// smaller than the picture, the picture is decoded reduced (keeping its
// proportions) to the smallest size that covers drawnSize in both
// directions, never enlarged.
std::string DecodeAsPacked24(const QByteArray& file, const std::string& format, QSize drawnSize = {});

// The size a picture of `full` pixels is decoded at to be drawn at
// `drawnSize` (see DecodeAsPacked24): `full` itself when drawnSize is not
// valid or not smaller.
QSize ReducedSize(QSize full, QSize drawnSize);

// A picture file loaded for drawing: the packed DIB (possibly reduced) and
// the file's own size in pixels.
struct LoadedPicture {
    std::string packed;
    int width = 0;
    int height = 0;
};

// Loads the picture file `path` (JPEG, BMP or PNG by its content) as
// DecodeAsPacked24 does. A file that cannot be loaded (missing, no regular
// file, too large, damaged, another format) is remembered with its size
// and modification time: asking again for the same unchanged file answers
// false at once, without opening it. The pictures loaded lately (up to
// 64 MB of them, none above 16 MB) are remembered the same way and handed
// out again for the same size asked for. Files are checked by their size
// and header before they are read; a BMP file is read row by row, never
// whole.
bool LoadPictureFile(const QString& path, QSize drawnSize, LoadedPicture& out);

// What LoadPictureFile did, counted since the program started: files
// opened, bytes read from them, and pictures decoded (whether or not the
// decoding succeeded).
struct PictureFileCounts {
    uint64_t opened = 0;
    uint64_t bytesRead = 0;
    uint64_t decoded = 0;
};
PictureFileCounts CountPictureFileWork();
// Forgets the files remembered, failed or loaded.
void ForgetPictureFiles();

// The part of `source` (in the pixels of a picture of `size`, fractional,
// reaching any distance beyond it) that lies inside the picture and, when
// the source is stretched onto `dest` (right and bottom excluded, reversed
// where it mirrors), lands on the device pixels `shown` or a pixel beside
// them; all that lies inside without `shown`. Empty when nothing does.
QRectF ShownSource(QSize size, const QRectF& source, const RECT& dest, const std::optional<RECT>& shown);

// Draws part of an image into a device rectangle, smoothly stretched (the
// halftone stretching of the device). `dest` excludes its right and bottom
// edges; a reversed rectangle mirrors the picture. A source part that lies
// partly outside the image draws only what lies inside, in proportion, and
// only what lands on the pixels the device shows is drawn. The source may
// be fractional and reach any distance beyond the image.
void DrawImage(CDC& dc, const QImage& image, const QRectF& source, const RECT& dest);

} // namespace dib
