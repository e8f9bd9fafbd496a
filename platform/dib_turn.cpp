// Turning a packed DIB by 90 degrees, and drawing an image into a device
// context.
#include "platform/dib.h"
#include "platform/dib_decode.h"

#include "platform/dc.h"
#include "platform/qtrect.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace dib {

namespace {

using namespace detail;

uint32_t rd32(const char* p)
{
    return uint32_t(uint8_t(p[0])) | (uint32_t(uint8_t(p[1])) << 8) | (uint32_t(uint8_t(p[2])) << 16) |
           (uint32_t(uint8_t(p[3])) << 24);
}

// Writes the rows of a width x height bitmap turned by 90 degrees into the
// rows of a 24-bit packed DIB (height x width, bottom row first), each row
// into the column it becomes. Single rows are gathered a few at a time, so
// that each output row takes a run of pixels at once rather than one pixel
// per source row; equal rows are written in one go. Alpha is ignored, as in
// the decoded image. Finish() writes what is gathered.
class RotateSink : public RowSink {
public:
    RotateSink(int width, int height, bool clockwise, char* rows)
        : m_width(width), m_height(height), m_clockwise(clockwise), m_rows(rows),
          m_stride(((size_t(height) * 24 + 31) / 32) * 4), m_gathered(size_t(width) * kGather)
    {
    }
    void Row(int y, const QRgb* line) override
    {
        if (y < 0 || y >= m_height)
            return;
        // Rows come one after another, upwards or downwards.
        if (m_count > 0 && (m_count == kGather || std::abs(y - m_lastY) != 1 ||
                            (m_count > 1 && y - m_lastY != m_step)))
            Finish();
        if (m_count == 1)
            m_step = y - m_lastY;
        if (m_count == 0)
            m_firstY = y;
        std::copy(line, line + m_width, m_gathered.begin() + ptrdiff_t(m_count) * m_width);
        m_lastY = y;
        ++m_count;
    }
    void Rows(int y, int count, const QRgb* line) override
    {
        if (count == 1) {
            Row(y, line);
            return;
        }
        Finish();
        // Rows y down to y - count + 1, cut to the bitmap.
        const int high = std::min(y, m_height - 1);
        const int low = std::max(y - count + 1, 0);
        if (high < low)
            return;
        const size_t n = size_t(high - low + 1);
        for (int x = 0; x < m_width; ++x) {
            char* p = pixel(x, high, low);
            put(p, line[x]);
            // The other rows: the written pixels copied on, doubling.
            for (size_t done = 1; done < n;) {
                const size_t more = std::min(done, n - done);
                std::memcpy(p + 3 * done, p, 3 * more);
                done += more;
            }
        }
    }
    void Finish()
    {
        if (m_count == 0)
            return;
        const int high = std::max(m_firstY, m_lastY), low = std::min(m_firstY, m_lastY);
        // Along an output row the columns grow; row y sits at column
        // height - 1 - y clockwise, at column y the other way.
        const bool fromFirst = (m_firstY == low) != m_clockwise;
        for (int x = 0; x < m_width; ++x) {
            char* p = pixel(x, high, low);
            for (int i = 0; i < m_count; ++i, p += 3)
                put(p, m_gathered[size_t(fromFirst ? i : m_count - 1 - i) * size_t(m_width) + size_t(x)]);
        }
        m_count = 0;
    }

private:
    static constexpr int kGather = 32;
    // Where source pixel x of rows low..high starts in the output: clockwise
    // the left column becomes the top row and row y the column
    // height - 1 - y; the other way the right column becomes the top row and
    // row y the column y.
    char* pixel(int x, int high, int low) const
    {
        const size_t stored = size_t(m_clockwise ? m_width - 1 - x : x);
        return m_rows + stored * m_stride + 3 * size_t(m_clockwise ? m_height - 1 - high : low);
    }
    static void put(char* p, QRgb c)
    {
        p[0] = char(qBlue(c));
        p[1] = char(qGreen(c));
        p[2] = char(qRed(c));
    }
    int m_width;
    int m_height;
    bool m_clockwise;
    char* m_rows;
    size_t m_stride;
    std::vector<QRgb> m_gathered; // up to kGather rows, in the order they came
    int m_count = 0;
    int m_firstY = 0;
    int m_lastY = 0;
    int m_step = 0;
};

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

int64_t Packed24Bytes(int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0)
        return 0;
    return int64_t(kInfoHeaderSize) + (width * 24 + 31) / 32 * 4 * height;
}

bool WorthMakingWhole(int64_t width, int64_t height, int64_t storedBytes)
{
    const int64_t pixels = width * height;
    if (width <= 0 || height <= 0 || pixels > kMaxRotatedPixels)
        return false;
    return pixels <= 1'000'000 || Packed24Bytes(width, height) <= kMaxRotatedGrowth * storedBytes;
}

int64_t RotatedBytes(std::string_view packed)
{
    const DibLayout l = ParsePacked(packed);
    return l.valid ? Packed24Bytes(l.height, l.width) : 0;
}

bool CanRotatePacked(std::string_view packed)
{
    const DibLayout l = ParsePacked(packed);
    return l.valid && WorthMakingWhole(l.height, l.width, int64_t(packed.size()));
}

int64_t DecodedBytes(std::string_view packed)
{
    const DibLayout l = ParsePacked(packed);
    return l.valid ? Packed24Bytes(l.width, l.height) : 0;
}

bool CanDecodePacked(std::string_view packed)
{
    const DibLayout l = ParsePacked(packed);
    return l.valid && WorthMakingWhole(l.width, l.height, int64_t(packed.size()));
}

bool CanDecodeSplit(std::string_view header, std::string_view bits)
{
    const DibLayout l = ParseSplit(header, bits.size());
    return l.valid && WorthMakingWhole(l.width, l.height, int64_t(header.size() + bits.size()));
}

bool RotatePacked90(std::string& packed, bool clockwise)
{
    if (!CanRotatePacked(packed))
        return false;
    const DibLayout l = ParsePacked(packed);
    uint32_t resX = 0, resY = 0;
    resolution(packed, resX, resY);
    // Without resolutions the turned picture gets those of a new image, as
    // pictures made by the toolkit do.
    const QImage fresh(1, 1, QImage::Format_RGB32);
    const int32_t dpm = fresh.dotsPerMeterX() > 0 ? fresh.dotsPerMeterX() : 3780;
    Packed24Sink blank(l.height, l.width, dpm, dpm);
    std::string out = blank.Take();
    if (out.empty())
        return false;
    if (resX && resY) {
        std::memcpy(out.data() + 24, packed.data() + 28, 4);
        std::memcpy(out.data() + 28, packed.data() + 24, 4);
    }
    RotateSink turn(l.width, l.height, clockwise, out.data() + kInfoHeaderSize);
    if (l.Embedded()) {
        const QImage whole = WholeImage(packed);
        if (whole.isNull())
            return false;
        for (int y = 0; y < whole.height(); ++y)
            turn.Row(y, reinterpret_cast<const QRgb*>(whole.constScanLine(y)));
        turn.Finish();
    } else {
        const std::string_view table = std::string_view(packed).substr(l.paletteOffset, l.bitsOffset - l.paletteOffset);
        const MemorySource source(std::string_view(packed).substr(l.bitsOffset, l.bitsSize));
        if (!DecodeRows(l, Colours(l, table.data(), table.size()), source, 0, qint64(l.bitsSize), turn))
            return false;
        turn.Finish();
    }
    packed = std::move(out);
    return true;
}

QRectF ShownSource(QSize size, const QRectF& source, const RECT& dest, const std::optional<RECT>& shown)
{
    if (!(source.width() > 0) || !(source.height() > 0))
        return QRectF();
    const QRectF inside = source & QRectF(QPointF(0, 0), QSizeF(size));
    if (inside.isEmpty() || !shown)
        return inside;
    // Device pixels per source pixel, negative where the picture mirrors.
    const double sx = double(int64_t(dest.right) - dest.left) / source.width();
    const double sy = double(int64_t(dest.bottom) - dest.top) / source.height();
    const auto cut = [](double& s0, double& s1, double from, double origin, double scale, int lo, int hi) {
        const double a = origin + (s0 - from) * scale, b = origin + (s1 - from) * scale;
        const double v0 = std::max(std::min(a, b), double(lo) - 1), v1 = std::min(std::max(a, b), double(hi) + 1);
        if (!(v0 < v1))
            return false;
        const double u0 = from + (v0 - origin) / scale, u1 = from + (v1 - origin) / scale;
        s0 = std::max(s0, std::min(u0, u1));
        s1 = std::min(s1, std::max(u0, u1));
        return s0 < s1;
    };
    double x0 = inside.left(), x1 = inside.right(), y0 = inside.top(), y1 = inside.bottom();
    if (sx == 0 || sy == 0 || !cut(x0, x1, source.left(), dest.left, sx, shown->left, shown->right) ||
        !cut(y0, y1, source.top(), dest.top, sy, shown->top, shown->bottom))
        return QRectF();
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

void DrawImage(CDC& dc, const QImage& image, const QRectF& source, const RECT& dest)
{
    if (image.isNull() || dest.right == dest.left || dest.bottom == dest.top)
        return;
    // Only the source that lands on what the device shows, with a device
    // pixel more on each side for the smoothing at its edges.
    const QRectF inside = ShownSource(image.size(), source, dest, dc.GetVisibleRect());
    if (inside.isEmpty())
        return;
    const double sx = double(int64_t(dest.right) - dest.left) / source.width();
    const double sy = double(int64_t(dest.bottom) - dest.top) / source.height();
    QRectF target(dest.left + (inside.left() - source.left()) * sx, dest.top + (inside.top() - source.top()) * sy,
                  inside.width() * sx, inside.height() * sy);
    const bool mirrorX = target.width() < 0;
    const bool mirrorY = target.height() < 0;
    QImage part;
    QRectF from(inside);
    if (mirrorX || mirrorY) {
        // The whole pixels under the source, mirrored; the source inside them
        // mirrored too.
        const QRect whole = inside.toAlignedRect() & image.rect();
        part = image.copy(whole).mirrored(mirrorX, mirrorY);
        from = inside.translated(-whole.topLeft());
        if (mirrorX)
            from.moveLeft(whole.width() - from.right());
        if (mirrorY)
            from.moveTop(whole.height() - from.bottom());
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
