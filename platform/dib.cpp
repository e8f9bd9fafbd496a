#include "platform/dib.h"
#include "platform/dib_decode.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

} // namespace

namespace detail {

namespace {

// Scales a bit-field value to 0..255 by repeating its bits (5 bits abcde
// give abcdeabc), as other programs read such bitmaps.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(uint32_t m) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::bit_width(m >> shift);
        }
    }
    uint32_t operator()(uint32_t px) const
    {
        if (!bits)
            return 0;
        const uint32_t v = (px & mask) >> shift;
        uint32_t out = 0;
        for (int at = 8 - bits; at > -bits; at -= bits)
            out |= at >= 0 ? v << at : v >> -at;
        return out & 0xFF;
    }
};

// Converts one uncompressed row.
class RowConverter {
public:
    RowConverter(const DibLayout& l, const std::array<QRgb, 256>& colours)
        : m_l(l), m_colours(colours), m_red(l.masks[0]), m_green(l.masks[1]), m_blue(l.masks[2]),
          m_alpha(l.alphaMask)
    {
    }
    void operator()(const uint8_t* row, QRgb* out) const
    {
        const int w = m_l.width;
        switch (m_l.bitCount) {
        case 1:
            for (int x = 0; x < w; ++x)
                out[x] = m_colours[(row[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                out[x] = m_colours[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                out[x] = m_colours[row[x]];
            break;
        case 16:
            for (int x = 0; x < w; ++x)
                out[x] = masked(uint32_t(row[2 * x]) | (uint32_t(row[2 * x + 1]) << 8));
            break;
        case 24:
            for (int x = 0; x < w; ++x, row += 3)
                out[x] = 0xFF000000u | (uint32_t(row[2]) << 16) | (uint32_t(row[1]) << 8) | row[0];
            break;
        default:
            for (int x = 0; x < w; ++x) {
                const uint8_t* q = row + 4 * size_t(x);
                out[x] = masked(uint32_t(q[0]) | (uint32_t(q[1]) << 8) | (uint32_t(q[2]) << 16) |
                                (uint32_t(q[3]) << 24));
            }
            break;
        }
    }

private:
    QRgb masked(uint32_t v) const
    {
        const int a = m_l.alphaMask ? int(m_alpha(v)) : 255;
        return qRgba(int(m_red(v)), int(m_green(v)), int(m_blue(v)), a);
    }
    const DibLayout& m_l;
    const std::array<QRgb, 256>& m_colours;
    Channel m_red, m_green, m_blue, m_alpha;
};

// Reads a byte range of a source in pieces.
class ByteReader {
public:
    ByteReader(const ByteSource& source, qint64 at, qint64 length)
        : m_source(source), m_pos(at), m_end(at + length), m_data(source.Data())
    {
    }
    bool Byte(uint8_t& v)
    {
        if (m_data) {
            if (m_pos >= m_end)
                return false;
            v = uint8_t(m_data[m_pos++]);
            return true;
        }
        if (m_next == m_buffered && !refill())
            return false;
        v = uint8_t(m_buffer[m_next++]);
        return true;
    }
    // Reads `count` bytes into `into`; false when they are not all there.
    bool Bytes(char* into, size_t count)
    {
        if (m_data) {
            if (m_end - m_pos < qint64(count))
                return false;
            std::memcpy(into, m_data + m_pos, count);
            m_pos += qint64(count);
            return true;
        }
        for (size_t i = 0; i < count; ++i) {
            if (m_next == m_buffered && !refill())
                return false;
            const size_t n = std::min(count - i, m_buffered - m_next);
            std::memcpy(into + i, m_buffer.data() + m_next, n);
            m_next += n;
            i += n - 1;
        }
        return true;
    }

private:
    bool refill()
    {
        const qint64 want = std::min<qint64>(m_end - m_pos, 1 << 16);
        if (want <= 0)
            return false;
        m_buffer.resize(size_t(want));
        const qint64 got = m_source.ReadAt(m_pos, m_buffer.data(), want);
        if (got <= 0)
            return false;
        m_pos += got;
        m_next = 0;
        m_buffered = size_t(got);
        return true;
    }
    const ByteSource& m_source;
    qint64 m_pos;
    qint64 m_end;
    const char* m_data;
    std::string m_buffer;
    size_t m_next = 0;
    size_t m_buffered = 0;
};

// Run-length data, bottom row first. Every run is bounded by the row, and
// the rows by the height; what the data leaves out keeps colour 0.
void decodeRunLength(const DibLayout& l, const std::array<QRgb, 256>& colours, ByteReader& in, RowSink& sink)
{
    const bool four = l.compression == BI_RLE4;
    const int w = l.width;
    const int h = l.height;
    // A sink that reads no further than where the rows stop differing is
    // handed a line only as long as the runs reach, so that a few runs
    // declaring a very wide bitmap cost what they hold.
    const bool whole = sink.ReadsWholeLines();
    std::vector<QRgb> line(size_t(whole ? w : std::min(w, 256)), colours[0]);
    int row = 0; // counted from the bottom
    int x = 0;
    int dirty = 0; // the line holds colour 0 from here on
    auto put = [&](uint32_t index) {
        if (x < w) {
            if (size_t(x) >= line.size())
                line.resize(std::min(std::max(line.size() * 2, size_t(x) + 1), size_t(w)), colours[0]);
            line[size_t(x)] = colours[index & 0xFF];
            dirty = std::max(dirty, x + 1);
        }
        ++x;
    };
    auto nextRow = [&] {
        // line[dirty] is read as the colour of the rest.
        if (size_t(dirty) >= line.size() && dirty < w)
            line.resize(size_t(dirty) + 1, colours[0]);
        sink.RowsSameFrom(h - 1 - row, 1, line.data(), dirty);
        std::fill(line.begin(), line.begin() + dirty, colours[0]);
        dirty = 0;
        ++row;
    };
    // Rows left out (delta, early end) are all colour 0: handed over in
    // one go, so a few bytes declaring a huge bitmap cost little.
    auto blankRows = [&](int n) {
        n = std::min(n, h - row);
        if (n <= 0)
            return;
        sink.RowsSameFrom(h - 1 - row, n, line.data(), 0);
        row += n;
    };
    bool ended = false;
    while (!ended && row < h) {
        uint8_t count = 0, value = 0;
        if (!in.Byte(count) || !in.Byte(value))
            break;
        if (count > 0) {
            // An encoded run: one index, or two alternating ones for RLE4,
            // cut at the end of the row.
            const int n = std::min<int>(count, w - x);
            if (n > 0) {
                if (size_t(x + n) > line.size())
                    line.resize(std::min(std::max(line.size() * 2, size_t(x + n)), size_t(w)), colours[0]);
                const QRgb first = colours[four ? value >> 4 : value];
                const QRgb second = colours[four ? value & 0x0F : value];
                QRgb* at = line.data() + x;
                for (int i = 0; i < n; i += 2)
                    at[i] = first;
                for (int i = 1; i < n; i += 2)
                    at[i] = second;
                dirty = std::max(dirty, x + n);
            }
            x = std::min(x + int(count), w);
            continue;
        }
        switch (value) {
        case 0: // end of line
            nextRow();
            x = 0;
            break;
        case 1: // end of bitmap
            ended = true;
            break;
        case 2: { // delta: right and up (further from the bottom)
            uint8_t dx = 0, dy = 0;
            if (!in.Byte(dx) || !in.Byte(dy)) {
                ended = true;
                break;
            }
            x = std::min(x + int(dx), w);
            if (dy > 0 && row < h) {
                nextRow();
                blankRows(int(dy) - 1);
            }
            break;
        }
        default: { // absolute: `value` indices, padded to an even byte count
            const int bytes = four ? (value + 1) / 2 : value;
            int done = 0;
            for (int b = 0; b < bytes && !ended; ++b) {
                uint8_t v = 0;
                if (!in.Byte(v)) {
                    ended = true;
                    break;
                }
                if (four) {
                    put(v >> 4);
                    if (++done < value)
                        put(v & 0x0F);
                    ++done;
                } else {
                    put(v);
                }
            }
            x = std::min(x, w);
            uint8_t pad = 0;
            if (!ended && (bytes & 1) && !in.Byte(pad))
                ended = true;
            break;
        }
        }
    }
    // Rows the data left out.
    if (row < h) {
        nextRow();
        blankRows(h - row);
    }
}

// A colour with alpha composited onto white, opaque.
QRgb overWhite(QRgb c)
{
    const unsigned a = unsigned(qAlpha(c));
    auto over = [a](unsigned v) { return int((v * a + 255u * (255u - a) + 127u) / 255u); };
    return qRgb(over(unsigned(qRed(c))), over(unsigned(qGreen(c))), over(unsigned(qBlue(c))));
}

} // namespace

qint64 MemorySource::ReadAt(qint64 offset, char* into, qint64 count) const
{
    if (offset < 0 || count < 0)
        return -1;
    if (offset >= qint64(m_bytes.size()))
        return 0;
    const qint64 n = std::min<qint64>(count, qint64(m_bytes.size()) - offset);
    std::memcpy(into, m_bytes.data() + offset, size_t(n));
    return n;
}

void RowSink::Rows(int y, int count, const QRgb* line)
{
    for (int i = 0; i < count; ++i)
        Row(y - i, line);
}

void RowSink::RowsSameFrom(int y, int count, const QRgb* line, int /*sameFrom*/)
{
    if (count == 1)
        Row(y, line);
    else
        Rows(y, count, line);
}

namespace {

// Copies the first of `count` equal rows, `stride` bytes apart, to the
// others, doubling the copied block each time.
void repeatFirstRow(char* first, size_t stride, size_t rowBytes, int count)
{
    if (count <= 1)
        return;
    size_t done = 1;
    const size_t total = size_t(count);
    if (stride == rowBytes) {
        while (done < total) {
            const size_t n = std::min(done, total - done);
            std::memcpy(first + done * stride, first, n * stride);
            done += n;
        }
        return;
    }
    for (; done < total; ++done)
        std::memcpy(first + done * stride, first, rowBytes);
}

} // namespace

void ImageSink::Row(int y, const QRgb* line)
{
    QRgb* out = reinterpret_cast<QRgb*>(m_image.scanLine(y));
    for (int x = 0, w = m_image.width(); x < w; ++x)
        out[x] = line[x] | 0xFF000000u;
}

void ImageSink::Rows(int y, int count, const QRgb* line)
{
    count = std::min(count, y + 1);
    if (count <= 0 || y >= m_image.height())
        return;
    const int top = y - count + 1;
    Row(top, line);
    repeatFirstRow(reinterpret_cast<char*>(m_image.scanLine(top)), size_t(m_image.bytesPerLine()),
                   size_t(m_image.width()) * sizeof(QRgb), count);
}

Packed24Sink::Packed24Sink(int width, int height, int32_t dpmX, int32_t dpmY)
    : m_width(width), m_height(height), m_stride(((size_t(width) * 24 + 31) / 32) * 4)
{
    if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxPixels)
        return;
    m_out.reserve(kInfoHeaderSize + m_stride * size_t(height));
    wr32(m_out, kInfoHeaderSize);
    wr32(m_out, uint32_t(width));
    wr32(m_out, uint32_t(height));
    wr16(m_out, 1);
    wr16(m_out, 24);
    wr32(m_out, BI_RGB);
    wr32(m_out, uint32_t(m_stride * size_t(height)));
    wr32(m_out, uint32_t(dpmX > 0 ? dpmX : 3780));
    wr32(m_out, uint32_t(dpmY > 0 ? dpmY : 3780));
    wr32(m_out, 0);
    wr32(m_out, 0);
    m_out.resize(kInfoHeaderSize + m_stride * size_t(height), '\0');
}

void Packed24Sink::Row(int y, const QRgb* line)
{
    if (m_out.empty() || y < 0 || y >= m_height)
        return;
    char* row = m_out.data() + kInfoHeaderSize + size_t(m_height - 1 - y) * m_stride;
    for (int x = 0; x < m_width; ++x, row += 3) {
        const QRgb c = line[x] >= 0xFF000000u ? line[x] : overWhite(line[x]);
        row[0] = char(c & 0xFF);
        row[1] = char((c >> 8) & 0xFF);
        row[2] = char((c >> 16) & 0xFF);
    }
}

void Packed24Sink::Rows(int y, int count, const QRgb* line)
{
    count = std::min(count, y + 1);
    if (m_out.empty() || count <= 0 || y >= m_height)
        return;
    // Stored bottom row first: row y comes first in memory.
    Row(y, line);
    repeatFirstRow(m_out.data() + kInfoHeaderSize + size_t(m_height - 1 - y) * m_stride, m_stride, m_stride,
                   count);
}

ReduceSink::ReduceSink(int width, int height, int outWidth, int outHeight, RowSink& out)
    : m_width(width), m_height(height), m_outWidth(outWidth), m_outHeight(outHeight), m_out(out),
      m_firstColumn(size_t(outWidth) + 1), m_sums(size_t(outWidth) * 3, 0), m_line(size_t(outWidth))
{
    // Source column x is summed into output column x * outWidth / width:
    // column c starts at the first x with x * outWidth >= c * width. Nothing
    // here costs per source column, so a very wide bitmap of a few runs
    // costs what its runs hold.
    for (int c = 0; c <= outWidth; ++c)
        m_firstColumn[size_t(c)] = int((int64_t(c) * width + outWidth - 1) / outWidth);
}

ReduceSink::~ReduceSink() = default;

void ReduceSink::Row(int y, const QRgb* line)
{
    add(int(int64_t(y) * m_outHeight / m_height), line, 1, m_width);
}

void ReduceSink::Rows(int y, int count, const QRgb* line)
{
    RowsSameFrom(y, count, line, m_width);
}

void ReduceSink::RowsSameFrom(int y, int count, const QRgb* line, int sameFrom)
{
    // One sum per output row the stretch covers.
    while (count > 0 && y >= 0) {
        const int target = int(int64_t(y) * m_outHeight / m_height);
        // The first source row of that output row.
        const int64_t first = (int64_t(target) * m_height + m_outHeight - 1) / m_outHeight;
        const int n = int(std::min<int64_t>(count, int64_t(y) - first + 1));
        add(target, line, std::max(n, 1), sameFrom);
        y -= std::max(n, 1);
        count -= std::max(n, 1);
    }
}

void ReduceSink::add(int target, const QRgb* line, int times, int sameFrom)
{
    if (target != m_currentRow) {
        flush();
        m_currentRow = target;
    }
    const uint64_t k = uint64_t(times);
    const int same = std::clamp(sameFrom, 0, m_width);
    // Column by column, each over its source pixels.
    const int* first = m_firstColumn.data();
    uint64_t* s = m_sums.data();
    for (int x = 0; x < same; s += 3, ++first) {
        for (const int end = std::min(first[1], same); x < end; ++x) {
            const QRgb c = line[x] >= 0xFF000000u ? line[x] : overWhite(line[x]);
            s[0] += k * ((c >> 16) & 0xFF);
            s[1] += k * ((c >> 8) & 0xFF);
            s[2] += k * (c & 0xFF);
        }
    }
    if (same < m_width) {
        // One colour from `same` on: each output column takes it as often as
        // it has source columns there.
        const QRgb c = qAlpha(line[same]) == 255 ? line[same] : overWhite(line[same]);
        for (int column = int(int64_t(same) * m_outWidth / m_width); column < m_outWidth; ++column) {
            const int from = std::max(m_firstColumn[size_t(column)], same);
            const uint64_t n = k * uint64_t(m_firstColumn[size_t(column) + 1] - from);
            uint64_t* s = &m_sums[size_t(column) * 3];
            s[0] += n * unsigned(qRed(c));
            s[1] += n * unsigned(qGreen(c));
            s[2] += n * unsigned(qBlue(c));
        }
    }
    m_rowsSummed += times;
}

void ReduceSink::flush()
{
    if (m_currentRow < 0 || m_rowsSummed == 0)
        return;
    for (int x = 0; x < m_outWidth; ++x) {
        const uint64_t n = uint64_t(m_firstColumn[size_t(x) + 1] - m_firstColumn[size_t(x)]) * uint64_t(m_rowsSummed);
        const uint64_t* s = &m_sums[size_t(x) * 3];
        m_line[size_t(x)] = n ? qRgb(int((s[0] + n / 2) / n), int((s[1] + n / 2) / n), int((s[2] + n / 2) / n))
                              : qRgb(255, 255, 255);
    }
    m_out.Row(m_currentRow, m_line.data());
    std::fill(m_sums.begin(), m_sums.end(), 0);
    m_rowsSummed = 0;
}

void ReduceSink::Finish()
{
    flush();
    m_currentRow = -1;
}

std::array<QRgb, 256> Colours(const DibLayout& l, const char* table, size_t tableBytes)
{
    std::array<QRgb, 256> colours;
    const size_t entries = std::min<size_t>(l.paletteEntries, tableBytes / l.paletteEntrySize);
    auto entry = [&](size_t i) {
        const char* e = table + i * l.paletteEntrySize;
        return qRgb(uint8_t(e[2]), uint8_t(e[1]), uint8_t(e[0]));
    };
    const QRgb first = entries ? entry(0) : qRgb(0, 0, 0);
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = i < entries ? entry(i) : first;
    return colours;
}

bool ParseHeader(std::string_view block, DibLayout& l, bool tableMayBeShort)
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
    // The limit holds whichever way the rows are stored.
    if (width * height > kMaxPixels)
        return false;
    l.width = int32_t(width);
    l.height = int32_t(height);

    if (l.Embedded()) {
        // A JPEG or PNG file as the bits: no colour table, no rows.
        if (l.headerSize < kInfoHeaderSize)
            return false;
        l.paletteOffset = l.bitsOffset = l.headerSize;
        l.bitsSize = rd32(p + 20);
        return true;
    }
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
    } else if (l.compression == BI_RLE8 || l.compression == BI_RLE4) {
        // Run-length bitmaps are stored bottom-up only.
        if (l.bitCount != (l.compression == BI_RLE8 ? 8 : 4) || l.topDown)
            return false;
    } else {
        return false;
    }
    l.paletteOffset = tableOffset;
    if (l.bitCount <= 8)
        l.paletteEntries = clrUsed ? clrUsed : (1u << l.bitCount);
    else
        l.paletteEntries = clrUsed;
    if (tableOffset > block.size())
        return false;
    uint64_t tableBytes = uint64_t(l.paletteEntries) * l.paletteEntrySize;
    if (tableOffset + tableBytes > block.size()) {
        if (!tableMayBeShort)
            return false;
        l.paletteEntries = uint32_t((block.size() - tableOffset) / l.paletteEntrySize);
        tableBytes = uint64_t(l.paletteEntries) * l.paletteEntrySize;
    }
    l.bitsOffset = size_t(tableOffset + tableBytes);
    const uint64_t stride = ((uint64_t(l.width) * l.bitCount + 31) / 32) * 4;
    l.stride = size_t(stride);
    l.bitsSize = size_t(stride * uint64_t(l.height));
    return true;
}

bool DecodeRows(const DibLayout& l, const std::array<QRgb, 256>& colours, const ByteSource& source,
                qint64 bitsAt, qint64 bitsLength, RowSink& sink)
{
    if (bitsAt < 0 || bitsLength < 0 || bitsAt > source.Size())
        return false;
    if (l.Embedded())
        return false; // a JPEG or PNG file has no rows to decode here
    bitsLength = std::min(bitsLength, source.Size() - bitsAt);
    ByteReader in(source, bitsAt, bitsLength);
    if (l.RunLength()) {
        decodeRunLength(l, colours, in, sink);
        return true;
    }
    // Uncompressed rows must all be there (the last one without its
    // padding).
    const size_t rowBytes = (size_t(l.width) * l.bitCount + 7) / 8;
    if (uint64_t(l.stride) * uint64_t(l.height - 1) + rowBytes > uint64_t(bitsLength))
        return false;
    const RowConverter convert(l, colours);
    std::vector<QRgb> line(size_t(l.width));
    std::string row(l.stride, '\0');
    const char* data = source.Data();
    for (int r = 0; r < l.height; ++r) {
        const uint8_t* bytes = nullptr;
        if (data) {
            bytes = reinterpret_cast<const uint8_t*>(data + bitsAt + qint64(r) * qint64(l.stride));
        } else {
            const size_t want = r == l.height - 1 ? rowBytes : l.stride;
            if (!in.Bytes(row.data(), want))
                return false;
            bytes = reinterpret_cast<const uint8_t*>(row.data());
        }
        convert(bytes, line.data());
        sink.Row(l.topDown ? r : l.height - 1 - r, line.data());
    }
    return true;
}

} // namespace detail

namespace {

using namespace detail;

// Passes on the rows and columns of `part` alone, moved to its origin.
class CropSink : public RowSink {
public:
    CropSink(QRect part, RowSink& out) : m_part(part), m_out(out) {}
    void Row(int y, const QRgb* line) override
    {
        if (y >= m_part.top() && y <= m_part.bottom())
            m_out.Row(y - m_part.top(), line + m_part.left());
    }
    void Rows(int y, int count, const QRgb* line) override
    {
        // Rows y down to y - count + 1, cut to the part.
        const int high = std::min(y, m_part.bottom());
        const int low = int(std::max<int64_t>(int64_t(y) - count + 1, m_part.top()));
        if (high >= low)
            m_out.Rows(high - m_part.top(), high - low + 1, line + m_part.left());
    }
    void RowsSameFrom(int y, int count, const QRgb* line, int sameFrom) override
    {
        const int high = std::min(y, m_part.bottom());
        const int low = int(std::max<int64_t>(int64_t(y) - count + 1, m_part.top()));
        if (high < low)
            return;
        // A part that begins where the line is all one colour takes that
        // colour from line[sameFrom]: a line may end there.
        if (sameFrom <= m_part.left())
            m_out.RowsSameFrom(high - m_part.top(), high - low + 1, line + sameFrom, 0);
        else
            m_out.RowsSameFrom(high - m_part.top(), high - low + 1, line + m_part.left(),
                               std::min(sameFrom - m_part.left(), m_part.width()));
    }
    bool ReadsWholeLines() const override { return m_out.ReadsWholeLines(); }

private:
    QRect m_part;
    RowSink& m_out;
};

// The JPEG or PNG file of an embedded bitmap, checked and decoded; it must
// be as large as the header says.
QImage decodeEmbedded(const DibLayout& l, std::string_view bits)
{
    const QByteArray file(bits.data(), qsizetype(bits.size()));
    const std::string format = l.compression == BI_PNG ? "PNG" : "JPEG";
    FileInfo info;
    if (!CheckPictureFile(file, format, &info) || info.width != l.width || info.height != l.height)
        return QImage();
    return WholeImage(DecodeAsPacked24(file, format));
}

QImage convert(const DibLayout& l, std::string_view table, std::string_view bits)
{
    if (l.Embedded())
        return decodeEmbedded(l, bits);
    QImage image(l.width, l.height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    ImageSink sink(image);
    const MemorySource source(bits);
    if (!DecodeRows(l, Colours(l, table.data(), table.size()), source, 0, qint64(bits.size()), sink))
        return QImage();
    return image;
}

// The part `part` of a bitmap reduced to `size` (see PackedPartToImage).
QImage partToImage(const DibLayout& l, std::string_view table, std::string_view bits, QRect part, QSize size)
{
    part &= QRect(0, 0, l.width, l.height);
    if (part.isEmpty())
        return QImage();
    const QSize reduced(std::clamp(size.width(), 1, part.width()), std::clamp(size.height(), 1, part.height()));
    if (l.Embedded()) {
        const QImage whole = decodeEmbedded(l, bits);
        return whole.isNull() ? whole
                              : whole.copy(part).scaled(reduced, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QImage image(reduced, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    ImageSink out(image);
    ReduceSink reduce(part.width(), part.height(), reduced.width(), reduced.height(), out);
    CropSink crop(part, reduce);
    const MemorySource source(bits);
    if (!DecodeRows(l, Colours(l, table.data(), table.size()), source, 0, qint64(bits.size()), crop))
        return QImage();
    reduce.Finish();
    return image;
}

} // namespace

QImage detail::WholeImage(std::string_view packed)
{
    const DibLayout l = ParsePacked(packed);
    if (!l.valid)
        return QImage();
    return convert(l, packed.substr(l.paletteOffset, l.bitsOffset - l.paletteOffset),
                   packed.substr(l.bitsOffset, l.bitsSize));
}

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
    if (!ParseHeader(packed, l, false))
        return DibLayout{};
    if (l.RunLength() || (l.Embedded() && l.bitsSize == 0))
        l.bitsSize = packed.size() - l.bitsOffset; // the runs end where they end
    if (uint64_t(l.bitsOffset) + l.bitsSize > packed.size())
        return DibLayout{};
    l.valid = true;
    return l;
}

DibLayout ParseSplit(std::string_view header, size_t bitsSize)
{
    DibLayout l;
    if (!ParseHeader(header, l, false))
        return DibLayout{};
    if (l.RunLength() || (l.Embedded() && l.bitsSize == 0))
        l.bitsSize = bitsSize;
    if (l.bitsSize > bitsSize)
        return DibLayout{};
    l.bitsOffset = 0;
    l.valid = true;
    return l;
}

QImage PackedToImage(std::string_view packed)
{
    if (!CanDecodePacked(packed))
        return QImage();
    return WholeImage(packed);
}

QImage PackedToImage(std::string_view packed, QSize drawnSize)
{
    const DibSize full = HeaderSize(packed);
    const QSize size(full.width, full.height);
    const QSize reduced = ReducedSize(size, drawnSize);
    if (reduced == size)
        return PackedToImage(packed);
    return PackedPartToImage(packed, QRect(QPoint(0, 0), size), reduced);
}

QImage PackedPartToImage(std::string_view packed, QRect part, QSize size)
{
    const DibLayout l = ParsePacked(packed);
    if (!l.valid)
        return QImage();
    return partToImage(l, packed.substr(l.paletteOffset, l.bitsOffset - l.paletteOffset),
                       packed.substr(l.bitsOffset, l.bitsSize), part, size);
}

QImage SplitToImage(std::string_view header, std::string_view bits)
{
    const DibLayout l = ParseSplit(header, bits.size());
    if (!l.valid || !WorthMakingWhole(l.width, l.height, int64_t(header.size() + bits.size())))
        return QImage();
    return convert(l, header.substr(l.paletteOffset), bits.substr(0, l.bitsSize));
}

QImage SplitPartToImage(std::string_view header, std::string_view bits, QRect part, QSize size)
{
    const DibLayout l = ParseSplit(header, bits.size());
    if (!l.valid)
        return QImage();
    return partToImage(l, header.substr(l.paletteOffset), bits.substr(0, l.bitsSize), part, size);
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
            const QRgb c = qAlpha(in[x]) == 255 ? in[x] : overWhite(in[x]);
            row[3 * size_t(x)] = char(qBlue(c));
            row[3 * size_t(x) + 1] = char(qGreen(c));
            row[3 * size_t(x) + 2] = char(qRed(c));
        }
        out.append(row);
    }
    return out;
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

} // namespace dib
