#pragma once
// The rulers beside the design canvas: a scale in centimetres and
// millimetres or in inches and sixteenths, scrolled and zoomed with the
// canvas, and an inverted marker line that follows the mouse.
//
// The ruler keeps its picture in an image: painting renders the scale into
// it when something changed and copies it to the screen; the marker line is
// drawn into the same image by inversion (R2_NOTXORPEN), so drawing it
// twice removes it and moving it touches no other pixel.
#include "platform/dc.h"

#include <QImage>
#include <QWidget>

#include <string_view>

class CRulerWnd : public QWidget {
    Q_OBJECT
public:
    // Thickness of either ruler in pixels.
    static constexpr int kThickness = 23;
    static constexpr COLORREF kBackground = RGB(240, 240, 240);
    static constexpr COLORREF kMarkerColour = RGB(192, 192, 192);
    static constexpr int kMinorTickLength = 8;
    static constexpr int kMajorTickLength = 16;
    // Highest number drawn on the scale.
    static constexpr int kLastMajorMark = 199;

    enum Unit { Metric = 0, Inch = 1 };

    explicit CRulerWnd(QWidget* parent = nullptr);

    // Moves the marker line: removes it where it is, then draws it at
    // `position` (pixels along the ruler).
    void SetMarkerPosition(int position);
    int GetMarkerPosition() const { return m_markerPosition; }
    bool IsMarkerDrawn() const { return m_markerDrawn; }

    // Canvas scroll position along the ruler (pixels), zoom (percent) and
    // unit; each change repaints the ruler.
    void SetScrollOffset(int offset);
    int GetScrollOffset() const { return m_scrollOffset; }
    void SetZoom(int percent);
    int GetZoom() const { return m_zoom; }
    void SetUnit(int unit);
    int GetUnit() const { return m_unit; }

    // Draws the whole ruler (background, scale and marker) on `dc`, whose
    // size is the widget's.
    void Render(CDC& dc);

    // Drawing primitives; the direction classes place them.
    virtual void DrawTick(CDC& dc, int position, int length) = 0;
    virtual void DrawMarkerLine(CDC& dc) = 0;
    // Logical pixels per inch of `dc` in x, at the zoom.
    int GetPixelsPerInch(const CDC& dc) const;
    // The ruler's thickness.
    virtual int GetExtent() const = 0;
    void DrawMinorTick(CDC& dc, int position) { DrawTick(dc, position, kMinorTickLength); }
    virtual void DrawMajorTick(CDC& dc, int position, std::string_view text) = 0;
    // Draws the marker line by inversion and toggles the marker-drawn flag.
    void DrawMarker(CDC& dc);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void invalidate();
    // False once a position lies beyond both the width and the height.
    bool withinRuler(int64_t position) const;

    int m_markerPosition = 0;
    bool m_markerDrawn = false;
    int m_scrollOffset = 0;
    int m_zoom = 100;
    int m_unit = Metric;

    QImage m_image;      // what the screen shows
    bool m_stale = true; // m_image must be rendered again
};
