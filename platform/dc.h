#pragma once
// CDC: a device context with GDI semantics over Qt.
//
// Two kinds of target:
//  - raster: a QImage back buffer (design view, tests). Every primitive is
//    turned into an exact set of pixels and combined with the pixels below
//    through the binary raster operation (SetROP2), so drawing an outline
//    twice with R2_NOTXORPEN restores the image, and InvertRect works.
//  - painter: any QPainter (printer, preview). Primitives go to QPainter;
//    raster operations other than R2_COPYPEN are mapped to Qt's raster
//    composition modes where the paint engine has them.
//
// Rules kept from GDI: Rectangle, Ellipse and RoundRect exclude the right
// and bottom edges of their box; LineTo excludes its end pixel; a pen of
// width 0 or 1 is a one-pixel cosmetic pen that honours dot and dash styles;
// a wider pen is geometric, centred on the outline, with the pen's end caps
// and joins (round unless chosen), and always solid: GDI draws a pen of
// CreatePen's kind wider than one pixel solid whatever its dash style.
// Brushes are solid, hatched (8-pixel hatches in the brush colour over the
// background colour when the background mode is OPAQUE) or patterns tiled
// from the device origin. The clip is a rectangle or, after a region was
// selected or a rectangle excluded, a region. Coordinates are device pixels
// (MM_TEXT).
#include "platform/windef.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRegion>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class QPainter;
namespace dcinternal {
struct Edge;
}

struct CPen {
    CPen(int s = PS_SOLID, int w = 0, COLORREF c = 0, int cap = PS_ENDCAP_ROUND, int j = PS_JOIN_ROUND)
        : style(s), width(w), color(c), endCap(cap), join(j)
    {
    }
    int style = PS_SOLID;
    int width = 0; // device pixels; 0 or 1 = cosmetic
    COLORREF color = 0;
    int endCap = PS_ENDCAP_ROUND; // geometric pens only
    int join = PS_JOIN_ROUND;
    static CPen Null() { return CPen{PS_NULL, 0, 0}; }
    bool IsNull() const { return style == PS_NULL; }
    bool IsCosmetic() const { return width <= 1; }
    friend bool operator==(const CPen&, const CPen&) = default;
};

struct CBrush {
    CBrush(int s = BS_SOLID, COLORREF c = RGB(255, 255, 255), int h = HS_HORIZONTAL) : style(s), color(c), hatch(h) {}
    int style = BS_SOLID; // BS_SOLID, BS_NULL, BS_HATCHED or BS_PATTERN
    COLORREF color = RGB(255, 255, 255);
    int hatch = HS_HORIZONTAL;
    // BS_PATTERN: the tile (Format_RGB32). A monochrome pattern keeps black
    // for its 0 bits, drawn in the text colour, and white for its 1 bits,
    // drawn in the background colour.
    std::shared_ptr<const QImage> pattern;
    bool monochrome = false;
    static CBrush Solid(COLORREF c) { return CBrush{BS_SOLID, c}; }
    static CBrush Hollow() { return CBrush{BS_NULL, 0}; }
    // Larger tiles than any pattern brush a picture uses are refused (the
    // brush is hollow).
    static constexpr int kMaxPatternSide = 4096;
    static CBrush Hatched(int hatch, COLORREF c) { return CBrush{BS_HATCHED, c, hatch}; }
    // An empty or oversized tile gives a hollow brush.
    static CBrush Pattern(const QImage& tile, bool monochrome);
    bool IsNull() const { return style == BS_NULL; }
    bool IsSolid() const { return style == BS_SOLID; }
    friend bool operator==(const CBrush&, const CBrush&) = default;
};

class CDC {
public:
    // Raster target. The image must outlive the device context; it is used
    // in Format_RGB32 (converted once when it has another format).
    CDC(QImage* image, int logPixelsX = 96, int logPixelsY = 96);
    // Painter target; `deviceWidth`/`deviceHeight` answer HORZRES/VERTRES.
    CDC(QPainter* painter, int logPixelsX, int logPixelsY, int deviceWidth = 0, int deviceHeight = 0);
    ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    bool IsRaster() const { return m_image != nullptr; }
    QImage* Image() const { return m_image; }
    QPainter* Painter() const { return m_painter; }

    int GetDeviceCaps(int index) const;

    // Raster targets: the image pixel that logical point (0, 0) lands on
    // (the MM_TEXT viewport origin, (0, 0) by default). A scrolled view sets
    // it to minus its scroll position and then draws in content pixels.
    // Painter targets carry their own transform and ignore it.
    POINT SetViewportOrg(int x, int y);
    POINT GetViewportOrg() const { return m_org; }

    // Objects and modes; each setter answers the previous value.
    CPen SelectPen(const CPen& pen);
    CBrush SelectBrush(const CBrush& brush);
    const CPen& GetPen() const { return m_state.pen; }
    const CBrush& GetBrush() const { return m_state.brush; }
    int SetROP2(int rop);
    int GetROP2() const { return m_state.rop; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_state.bkMode; }
    COLORREF SetBkColor(COLORREF c);
    COLORREF GetBkColor() const { return m_state.bkColor; }
    COLORREF SetTextColor(COLORREF c);
    COLORREF GetTextColor() const { return m_state.textColor; }
    // Fill rule of Polygon: ALTERNATE (even-odd, the default) or WINDING.
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const { return m_state.polyFillMode; }

    // Clipping: an optional rectangle (right and bottom excluded), or a
    // region. GetClipRect answers the clip's bounding rectangle.
    void IntersectClipRect(const RECT& r);
    void SelectClipRect(const RECT* r); // null removes the clip
    std::optional<RECT> GetClipRect() const { return m_state.clip; }
    // The device pixels drawing can reach: the image's cut by the clip, for
    // a painter target the clip alone (none when nothing is clipped).
    std::optional<RECT> GetVisibleRect() const
    {
        return m_image ? std::optional<RECT>(visibleBounds()) : m_state.clip;
    }
    void ExcludeClipRect(const RECT& r);
    void SelectClipRegion(const QRegion* region); // null removes the clip
    void OffsetClipRgn(int dx, int dy);
    // The clip as a region; none when nothing is clipped.
    std::optional<QRegion> GetClipRegion() const;
    // Limits a painter to the clip.
    void ClipPainter(QPainter& p) const;

    int SaveDC();             // answers the new save level, from 1
    bool RestoreDC(int level); // level > 0: that level; -1: the last saved

    // Lines and figures.
    POINT MoveTo(int x, int y);
    POINT GetCurrentPosition() const { return m_state.pos; }
    bool LineTo(int x, int y);
    bool Polyline(const POINT* pts, int count);
    bool Polygon(const POINT* pts, int count);
    // Several polygons filled together with the fill mode (a hole is a
    // polygon inside another), each outlined.
    bool PolyPolygon(const POINT* pts, const int* counts, int polygons);
    // The same from device coordinates that a scaled mapping left between
    // pixels, kept to a sixteenth of a pixel as GDI keeps them: the inside
    // is sampled against the exact corners, so a polygon a pixel or two
    // wide keeps its pixels wherever it lies, and the outline runs through
    // the nearest pixels.
    bool Polygon(const QPointF* pts, int count);
    bool PolyPolygon(const QPointF* pts, const int* counts, int polygons);
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const RECT& r) { return Rectangle(r.left, r.top, r.right, r.bottom); }
    bool Ellipse(int left, int top, int right, int bottom);
    bool RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    // Elliptic arc in the box, counter-clockwise from the radial through the
    // start point to the radial through the end point; start == end draws
    // the whole ellipse.
    bool Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

    void FillSolidRect(const RECT& r, COLORREF color);
    // On a painter target, the solid rectangles filled between
    // BeginFillBatch and EndFillBatch go out as one filled path for each run
    // of the same colour and clip (a barcode's bars, a QR code's modules),
    // not one rectangle each. Any other drawing ends the run first, so the
    // order of what is drawn stays. Raster targets fill at once. Calls nest.
    void BeginFillBatch() { ++m_fillBatchDepth; }
    void EndFillBatch();
    void InvertRect(const RECT& r);
    // Regions: filled with a brush through the binary raster operation,
    // framed (a border of the given thickness inside the region) or inverted.
    void FillRegion(const QRegion& region, const CBrush& brush);
    void FrameRegion(const QRegion& region, const CBrush& brush, int width, int height);
    void InvertRegion(const QRegion& region);
    // Bit-block transfers with a ternary raster operation (SRCCOPY, SRCAND,
    // SRCPAINT, ...; the pattern is the selected brush). `dest` excludes its
    // right and bottom edges; a reversed rectangle mirrors the source. The
    // part of `source` outside the image is not drawn. Shrinking averages
    // the source pixels.
    void PatBlt(const RECT& dest, uint32_t rop);
    void StretchBlt(const RECT& dest, const QImage& image, const QRect& source, uint32_t rop);
    // A one-pixel 3-D edge along the sides of `r` (BF_ flags) in the system's
    // button colours: BDR_SUNKEN* shadow top-left and highlight bottom-right,
    // BDR_RAISED* the other way round. Answers false for an empty rectangle.
    bool DrawEdge(const RECT& r, unsigned edge, unsigned sides);

    COLORREF GetPixel(int x, int y) const; // CLR_INVALID (0xFFFFFFFF) outside
    void SetPixel(int x, int y, COLORREF color);
    // Fills with the brush, from (x, y), the pixels up to the border of
    // `color` (FLOODFILLBORDER) or those of `color` (FLOODFILLSURFACE) that
    // touch it side by side. Bitmap targets only: a painter's pixels cannot
    // be read (answers false).
    bool ExtFloodFill(int x, int y, COLORREF color, unsigned type);

    // Text. Strings are bytes in the code page of the selected font's
    // character set. The font's escapement turns text about its reference
    // point (counter-clockwise, tenths of a degree); the text alignment
    // places the reference point (TA_TOP: the top of the character cell).
    LOGFONTA SelectFont(const LOGFONTA& font);
    const LOGFONTA& GetFont() const { return m_state.font; }
    unsigned SetTextAlign(unsigned align);
    unsigned GetTextAlign() const { return m_state.textAlign; }
    bool GetTextMetrics(TEXTMETRICA& tm) const;
    // Width and height (tmHeight) of a one-line text in device pixels.
    SIZE GetTextExtent(std::string_view text) const;
    bool TextOut(int x, int y, std::string_view text);
    // options: ETO_CLIPPED clips to `rect`, ETO_OPAQUE fills `rect` with the
    // background colour first, ETO_RTLREADING lays the text out right to left.
    // `dx`, when given, holds the advance of each character in device
    // pixels (one per byte of `text`).
    bool ExtTextOut(int x, int y, unsigned options, const RECT* rect, std::string_view text,
                    const int* dx = nullptr);
    // Extra pixels after every character of TextOut and ExtTextOut.
    int SetTextCharacterExtra(int extra);
    // Formatted text in a rectangle (DT_ flags); answers the text height.
    // With DT_CALCRECT only measures, widening or heightening `rect`.
    // DT_END_ELLIPSIS shortens a line wider than the rectangle to end in an
    // ellipsis.
    int DrawText(std::string_view text, RECT& rect, unsigned format);
    // The same for a Unicode text (symbols that no code page holds).
    int DrawUnicodeText(const QString& text, RECT& rect, unsigned format);
    // The Qt font for the selected LOGFONT on this device.
    QFont CurrentQFont() const;

private:
    struct State {
        CPen pen;
        CBrush brush;
        int rop = R2_COPYPEN;
        int bkMode = OPAQUE;
        int polyFillMode = ALTERNATE;
        COLORREF bkColor = RGB(255, 255, 255);
        COLORREF textColor = 0;
        POINT pos;
        std::optional<RECT> clip;
        std::optional<QRegion> clipRegion; // when set, `clip` is its bounding rectangle
        int charExtra = 0;
        int styleCounter = 0; // position in the pen's dash pattern
        LOGFONTA font;
        unsigned textAlign = TA_LEFT | TA_TOP;
    };

    // A set of device pixels with their colours, collected before being
    // combined with the target, so each pixel is touched once per call.
    class Coverage;

    RECT visibleBounds() const; // image rectangle intersected with the clip
    void applyCoverage(const Coverage& cov);
    void cosmeticSegment(Coverage& cov, int x1, int y1, int x2, int y2, bool includeEnd);
    void styledRing(Coverage& cov, std::vector<std::pair<double, POINT>>& ring);
    void rasterFill(Coverage& cov, const QPainterPath& path, const CBrush& brush);
    void fillEdges(Coverage& cov, std::vector<dcinternal::Edge>& edges, bool winding, const CBrush& brush);
    // `exact`, when given, holds the corners' unrounded places, `pts` the
    // nearest pixels.
    bool polyPolygon(const POINT* pts, const QPointF* exact, const int* counts, int polygons);
    bool cosmeticPolygons(const POINT* pts, const QPointF* exact, const int* counts, int polygons);
    // The colour a brush gives a device pixel; none for a hatch's gaps in
    // the TRANSPARENT background mode.
    std::optional<COLORREF> brushColor(const CBrush& brush, int x, int y) const;
    QBrush painterBrush(const CBrush& brush) const;
    void setClipRegion(const QRegion& region);
    template <class F> void forVisibleRects(const RECT& r, F f) const;
    void rasterStroke(Coverage& cov, const QPainterPath& path);
    bool figure(const QPainterPath& fillPath, const QPainterPath& strokePath,
                const std::vector<std::vector<POINT>>* cosmeticOutline, bool closedOutline);
    void painterFigure(const QPainterPath* fillPath, const QPainterPath* strokePath);
    void preparePainter();
    void flushFills();
    const QPaintDevice* device() const;
    bool drawTextLine(double x, double y, unsigned align, const QString& text, const RECT* clip,
                      const RECT* opaqueRect, bool rtl, const std::vector<double>* advances = nullptr);

    QImage* m_image = nullptr;
    QPainter* m_painter = nullptr;
    int m_logPixelsX;
    int m_logPixelsY;
    int m_width;
    int m_height;
    POINT m_org{0, 0};
    State m_state;
    std::vector<State> m_saved;
    int m_fillBatchDepth = 0;
    struct PendingFill {
        COLORREF color = 0;
        std::optional<RECT> clip;
        std::vector<RECT> rects;
    };
    std::optional<PendingFill> m_pendingFill;
};

// Batches solid fills for the length of a scope (see CDC::BeginFillBatch).
class CDCFillBatch {
public:
    explicit CDCFillBatch(CDC& dc) : m_dc(dc) { dc.BeginFillBatch(); }
    ~CDCFillBatch() { m_dc.EndFillBatch(); }
    CDCFillBatch(const CDCFillBatch&) = delete;
    CDCFillBatch& operator=(const CDCFillBatch&) = delete;

private:
    CDC& m_dc;
};

// Saves the device context's state and restores it when leaving the scope.
class CDCStateScope {
public:
    explicit CDCStateScope(CDC& dc) : m_dc(dc), m_level(dc.SaveDC()) {}
    ~CDCStateScope() { m_dc.RestoreDC(m_level); }
    CDCStateScope(const CDCStateScope&) = delete;
    CDCStateScope& operator=(const CDCStateScope&) = delete;

private:
    CDC& m_dc;
    int m_level;
};
