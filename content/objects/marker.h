#pragma once
// Tracking outlines: the thin rubber-band shapes shown while an object is
// created, moved or resized, or a selection rectangle is dragged. They draw
// with R2_NOTXORPEN, so drawing an outline a second time removes it.
#include "platform/dc.h"

#include <cstdint>

class CMarker {
public:
    CMarker(int x, int y, int penStyle);
    virtual ~CMarker() = default;

    // Box of the outline; the rectangle family gives it normalised, the
    // line gives its two corners as they are (anchor first).
    virtual void GetRect(int& left, int& top, int& right, int& bottom) const = 0;
    // Removes the outline from the screen when it is showing.
    virtual void Erase(CDC& dc);
    // Rectangle family: the smaller of width and height; line: its length.
    virtual int GetSize() const = 0;
    // Draws the outline once (showing or removing it).
    virtual void Draw(CDC& dc);

    // Moves corner 2 to (x, y). With `symmetric` (Ctrl held) corner 1 is
    // mirrored about the centre fixed at the first step, so the outline grows
    // symmetrically; its coordinates are never negative.
    void TrackTo(CDC& dc, int x, int y, bool symmetric = false);
    void BeginTrackMove(int x, int y);
    void TrackMove(CDC& dc, int x, int y);

    bool IsVisible() const { return m_visible; }
    POINT Corner1() const { return m_p1; }
    POINT Corner2() const { return m_p2; }
    POINT Centre() const { return m_centre; }
    int PenStyle() const { return m_pen.style; }

protected:
    // The shape itself, drawn with the outline's pen and raster mode set.
    virtual void DrawShape(CDC& dc) = 0;

    int m_savedRop = R2_COPYPEN;
    bool m_visible = false;
    POINT m_p1;
    POINT m_p2;
    POINT m_moveOrigin;
    POINT m_moveStart1;
    POINT m_moveStart2;
    POINT m_centre;
    CPen m_pen;
    CPen m_savedPen;
};

class CMarkerRect : public CMarker {
public:
    using CMarker::CMarker;
    void GetRect(int& left, int& top, int& right, int& bottom) const override;
    int GetSize() const override;

protected:
    void DrawShape(CDC& dc) override;
};

class CMarkerEllipse : public CMarkerRect {
public:
    using CMarkerRect::CMarkerRect;

protected:
    void DrawShape(CDC& dc) override;
};

class CMarkerTriangle : public CMarkerRect {
public:
    CMarkerTriangle(int x, int y, int penStyle, int16_t rotation)
        : CMarkerRect(x, y, penStyle), m_rotation(rotation) {}
    int16_t Rotation() const { return m_rotation; }

protected:
    void DrawShape(CDC& dc) override;

private:
    int16_t m_rotation;
};

class CMarkerLine : public CMarker {
public:
    using CMarker::CMarker;
    void GetRect(int& left, int& top, int& right, int& bottom) const override;
    int GetSize() const override;

protected:
    void DrawShape(CDC& dc) override;
};
