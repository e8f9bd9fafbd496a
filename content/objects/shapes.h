#pragma once
// The plain boxed drawing objects: rectangle, ellipse, rounded rectangle,
// triangle (first form, drawn as a rectangle) and triangle with rounded
// corners that can be shown as a warning sign.
#include "content/objects/graphobject.h"

class CGraphRect : public CGraph2Dim {
public:
    CGraphRect() = default;
    CGraphRect(const CGraphRect&) = default;

    bool HasBorder() const override { return true; }
    bool HasFill() const override { return true; }
    bool HasTransparency() const override { return true; }
    void SetBorderColor(COLORREF c) override { m_borderColor = c; }
    COLORREF GetBorderColor() const override { return m_borderColor; }
    // Setting the fill colour also switches the fill on.
    void SetFillColor(COLORREF c) override;
    COLORREF GetFillColor() const override { return m_fillColor; }
    bool GetTransparent() const override { return m_transparent; }
    void SetTransparent(bool on) override { m_transparent = on; }

    std::unique_ptr<CGraphObject> Clone() const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    bool Draw(const DrawArgs& args) const override;
    int16_t GetTypeKey() const override { return kKeyRect; }

protected:
    // Pen width in device pixels at the working resolution (0 draws one
    // pixel wide).
    int PenPixels(Resolution res) const;
    // Fill (unless transparent) and outline of the device box as a
    // rectangle whose right and bottom edges are drawn.
    void DrawRectangle(CDC& dc, const RECT& box, Resolution res) const;

    COLORREF m_fillColor = 0;
    COLORREF m_borderColor = 0;
    bool m_transparent = true;
};

class CGraphEllipse : public CGraphRect {
public:
    CGraphEllipse() = default;
    CGraphEllipse(const CGraphEllipse&) = default;

    std::unique_ptr<CGraphObject> Clone() const override;
    bool Draw(const DrawArgs& args) const override;
    std::unique_ptr<CMarker> CreateMarker(int x, int y, int penStyle) const override;
    int16_t GetTypeKey() const override { return kKeyEllipse; }
};

class CGraphRectRounded : public CGraphRect {
public:
    CGraphRectRounded() = default;
    CGraphRectRounded(const CGraphRectRounded&) = default;

    int32_t GetCornerRadius() const override { return m_cornerRadius; }
    void SetCornerRadius(int32_t v) override { m_cornerRadius = v; }

    std::unique_ptr<CGraphObject> Clone() const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    bool Draw(const DrawArgs& args) const override;
    int16_t GetTypeKey() const override { return kKeyRectRounded; }

protected:
    int32_t m_cornerRadius = 2500;
};

// Triangle, first form: stored with its rotation, drawn as a rectangle.
class CGraphTriangle : public CGraphRect {
public:
    CGraphTriangle() = default;
    CGraphTriangle(const CGraphTriangle&) = default;

    // Where the apex points: 0 up, 900 left, 1800 down, 2700 right.
    int16_t GetRotation() const { return m_rotation; }
    void SetRotation(int16_t v) { m_rotation = v; }

    std::unique_ptr<CGraphObject> Clone() const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    void Rotate90(int32_t cx, int32_t cy, int direction) override;
    std::unique_ptr<CMarker> CreateMarker(int x, int y, int penStyle) const override;
    int16_t GetTypeKey() const override { return kKeyTriangle; }

protected:
    int16_t m_rotation = 0;
};

// Triangle with rounded corners; as a warning sign its pen width, corner
// radius and height follow its width.
class CGraphTriangleExt : public CGraphTriangle {
public:
    // A new triangle is a yellow, filled warning sign.
    CGraphTriangleExt();
    CGraphTriangleExt(const CGraphTriangleExt&) = default;

    int32_t GetCornerRadius() const override;
    void SetCornerRadius(int32_t v) override { m_cornerRadius = v; }
    bool GetWarningSign() const override { return m_warningSign; }
    bool HasWarningSign() const override { return true; }
    // Switching the sign on also sets its proportions and its height to
    // 87 % of its width.
    void SetWarningSign(bool on) override;
    int GetAspectPercent() const override;
    void TrackResize(ObjectTracking& tracking, CDC& dc, int x, int y, int flags) const override;
    // A warning sign's pen width and corner radius follow its width.
    int32_t GetPenWidth() const override;
    // A resized warning sign takes the proportions of its new width.
    void EndResize(ObjectTracking& tracking, CDC& dc) override;

    // Pen width and corner radius of a warning sign of the current width.
    void WarningSignProportions(int32_t& penWidth, int32_t& cornerRadius) const;
    void ApplyWarningSignProportions();

    std::unique_ptr<CGraphObject> Clone() const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    bool Draw(const DrawArgs& args) const override;
    int16_t GetTypeKey() const override { return kKeyTriangleExt; }

protected:
    int32_t m_cornerRadius = 2500;
    bool m_warningSign = true;
};
