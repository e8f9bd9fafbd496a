#pragma once
// A straight line between two end points. It has no box: the first end
// point is the object's x, y; geometry answers the bounding box of the two.
#include "content/objects/graphobject.h"

#include <algorithm>

class CGraphLine : public CGraphObject {
public:
    CGraphLine() = default;
    CGraphLine(const CGraphLine&) = default;

    int32_t X1() const { return m_x; }
    int32_t Y1() const { return m_y; }
    int32_t X2() const { return m_x2; }
    int32_t Y2() const { return m_y2; }
    void SetEnds(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // Device end points at a resolution (no draw offsets).
    void DeviceEnds(Resolution res, POINT& start, POINT& end) const;

    int32_t GetX() const override { return GetLeft(); }
    int32_t GetY() const override { return GetTop(); }
    int32_t GetWidth() const override;
    int32_t GetHeight() const override;
    void SetX(int32_t v) override { SetLeft(v); }
    void SetY(int32_t v) override { SetTop(v); }
    void SetWidth(int32_t v) override;
    void SetHeight(int32_t v) override;
    bool SetCenter(int axis, int32_t v) override;
    int32_t GetCenter(int axis) const override;
    bool HasBorder() const override { return true; }
    void BeginCreate(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const override;
    std::unique_ptr<CGraphObject> Clone() const override;
    void GetCenterPoint(int32_t& x, int32_t& y) const override;
    int32_t GetLeft() const override { return std::min(m_x, m_x2); }
    int32_t GetTop() const override { return std::min(m_y, m_y2); }
    int32_t GetRight() const override { return std::max(m_x, m_x2); }
    int32_t GetBottom() const override { return std::max(m_y, m_y2); }
    void SetLeft(int32_t v) override;
    void SetTop(int32_t v) override;
    // Lines are not aligned or sized by their right or bottom edge.
    void SetRight(int32_t) override {}
    void SetBottom(int32_t) override {}
    int32_t GetExtentX() const override { return GetWidth(); }
    int32_t GetExtentY() const override { return GetHeight(); }
    bool PtInObject(CDC& dc, int zoom, int x, int y) const override;
    int HitTestHandle(CDC& dc, int zoom, int x, int y) const override;
    bool IsInsideRect(CDC& dc, int zoom, const RECT& rect) const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    void BeginMove(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const override;
    void EndMove(ObjectTracking& tracking, CDC& dc, int x, int y) override;
    void Offset(int32_t dx, int32_t dy) override;
    void Rotate90(int32_t cx, int32_t cy, int direction) override;
    bool IsOnHandle(CDC& dc, int zoom, int x, int y) const override;
    void BeginResize(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const override;
    void EndResize(ObjectTracking& tracking, CDC& dc) override;
    bool Draw(const DrawArgs& args) const override;
    // The device box of the two end points (with the offsets).
    RECT CalcDeviceRect(CDC& dc, int zoom, int offsetX, int offsetY) const override;
    std::unique_ptr<CMarker> CreateMarker(int x, int y, int penStyle) const override;
    int GetAspectPercent() const override { return 100; }
    void DrawHandles(CDC& dc, int zoom) const override;
    int16_t GetTypeKey() const override { return kKeyLine; }
    void SetBorderColor(COLORREF c) override { m_color = c; }
    COLORREF GetBorderColor() const override { return m_color; }

private:
    static int HandleAt(POINT start, POINT end, int x, int y);

    int32_t m_x2 = 0;
    int32_t m_y2 = 0;
    COLORREF m_color = 0;
};
