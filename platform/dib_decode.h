#pragma once
// Row-by-row decoding of device-independent bitmaps, shared by the DIB
// conversions (dib.cpp) and the picture files (dib_files.cpp). The rows are
// read from a byte source, memory or an opened file, never all at once, and
// handed to a row sink top row first or bottom row first, as stored.
#include "platform/dib.h"

#include <QImage>
#include <QtGlobal>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dib::detail {

// Where the bytes of a bitmap come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 Size() const = 0;
    // Reads up to `count` bytes at `offset` into `into`; the count read,
    // -1 on a read error.
    virtual qint64 ReadAt(qint64 offset, char* into, qint64 count) const = 0;
    // All bytes at once when they are in memory, else null.
    virtual const char* Data() const { return nullptr; }
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    qint64 Size() const override { return qint64(m_bytes.size()); }
    qint64 ReadAt(qint64 offset, char* into, qint64 count) const override;
    const char* Data() const override { return m_bytes.data(); }

private:
    std::string_view m_bytes;
};

// Receives the decoded rows: y counts from the top; every row from 0 to
// height - 1 comes exactly once, in increasing or decreasing order.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void Row(int y, const QRgb* line) = 0;
    // The same line for `count` rows: y, y - 1, ... y - count + 1. Sinks
    // override it to take a long stretch of equal rows in bulk.
    virtual void Rows(int y, int count, const QRgb* line);
    // Rows as above whose pixels from `sameFrom` on all have the colour of
    // the pixel there (what a run-length row leaves out). Sinks that sum
    // the pixels override it to take that stretch in one go.
    virtual void RowsSameFrom(int y, int count, const QRgb* line, int sameFrom);
    // False for a sink whose RowsSameFrom reads no pixel after
    // line[sameFrom]: it may be handed a line that ends there.
    virtual bool ReadsWholeLines() const { return true; }
};

// Rows into a 32-bit image (alpha ignored).
class ImageSink : public RowSink {
public:
    explicit ImageSink(QImage& image) : m_image(image) {}
    void Row(int y, const QRgb* line) override;
    void Rows(int y, int count, const QRgb* line) override;

private:
    QImage& m_image;
};

// Rows into a 24-bit packed DIB, alpha composited onto white.
class Packed24Sink : public RowSink {
public:
    // Empty output when the bitmap is above kMaxPixels.
    Packed24Sink(int width, int height, int32_t dpmX, int32_t dpmY);
    void Row(int y, const QRgb* line) override;
    void Rows(int y, int count, const QRgb* line) override;
    std::string Take() { return std::move(m_out); }

private:
    int m_width;
    int m_height;
    size_t m_stride;
    std::string m_out;
};

// Averages the rows of a width x height bitmap down to the output size of
// `out` (box filter, alpha composited onto white first).
class ReduceSink : public RowSink {
public:
    ReduceSink(int width, int height, int outWidth, int outHeight, RowSink& out);
    ~ReduceSink() override;
    void Row(int y, const QRgb* line) override;
    void Rows(int y, int count, const QRgb* line) override;
    void RowsSameFrom(int y, int count, const QRgb* line, int sameFrom) override;
    bool ReadsWholeLines() const override { return false; }
    // Hands over the last output row.
    void Finish();

private:
    void flush();
    void add(int target, const QRgb* line, int times, int sameFrom);
    int m_width;
    int m_height;
    int m_outWidth;
    int m_outHeight;
    RowSink& m_out;
    std::vector<int> m_firstColumn;  // output column -> its first source column (and the width)
    std::vector<uint64_t> m_sums;    // r, g, b per output column
    std::vector<QRgb> m_line;
    int m_currentRow = -1; // output row being summed
    int m_rowsSummed = 0;
};

// The colour of every 8-bit index: entries beyond the colour table take
// the colour of entry 0 (black without a table).
std::array<QRgb, 256> Colours(const DibLayout& l, const char* table, size_t tableBytes);

// Checks a header block (header, masks, colour table and, in the packed
// form, the bits after them). With `tableMayBeShort` the colour table is
// cut to the entries the block holds (files, whose bits start where their
// header says); otherwise a table that does not fit makes the header
// invalid.
bool ParseHeader(std::string_view block, DibLayout& l, bool tableMayBeShort);

// A packed DIB decoded whole, whatever its size within kMaxPixels (what
// PackedToImage refuses included): for the bitmaps the program itself made
// of a picture file, and for turning, which has checked its own limits.
QImage WholeImage(std::string_view packed);

// Decodes the rows stored at `bitsAt` of `source` (`bitsLength` bytes
// there; uncompressed rows must all be there, run-length data may end
// early). False on a read error or rows missing.
bool DecodeRows(const DibLayout& l, const std::array<QRgb, 256>& colours, const ByteSource& source,
                qint64 bitsAt, qint64 bitsLength, RowSink& sink);

} // namespace dib::detail
