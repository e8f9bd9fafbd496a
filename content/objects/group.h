#pragma once
// A group: objects the user handles as one. Its children are its object
// list; its position and size are those of the box around them, so moving,
// aligning or centring the group moves the children with it.
#include "content/objects/collection.h"

class CGraphGroup : public CGraphCollection {
public:
    CGraphGroup() = default;
    // A deep copy: box, pen, selected flag and a clone of every child.
    CGraphGroup(const CGraphGroup& other) = default;

    bool IsGroup() const override { return true; }
    int16_t GetTypeKey() const override { return kKeyGroup; }
    std::unique_ptr<CGraphObject> Clone() const override;

    // Sets the group's own box to the box around its children; an empty
    // group keeps the box it has.
    void RefreshBox();

    // Geometry of the children's box (the group's own box when it is empty);
    // the setters move the children.
    int32_t GetX() const override { return GetLeft(); }
    int32_t GetY() const override { return GetTop(); }
    int32_t GetWidth() const override { return GetExtentX(); }
    int32_t GetHeight() const override { return GetExtentY(); }
    void SetX(int32_t v) override { SetLeft(v); }
    void SetY(int32_t v) override { SetTop(v); }
    int32_t GetLeft() const override;
    int32_t GetTop() const override;
    int32_t GetRight() const override;
    int32_t GetBottom() const override;
    void SetLeft(int32_t v) override;
    void SetTop(int32_t v) override;
    void SetRight(int32_t v) override;
    void SetBottom(int32_t v) override;
    int32_t GetExtentX() const override;
    int32_t GetExtentY() const override;
    int32_t GetCenter(int axis) const override;
    // Moves the children so that the middle of their box along the axis
    // (1 horizontal, 2 vertical) lands on v; false for any other axis.
    bool SetCenter(int axis, int32_t v) override;
    void GetCenterPoint(int32_t& x, int32_t& y) const override;

    // The group's table links are those of its children.
    bool UsesColumn(int index) const override;
    bool GetSourceColumnText(std::string& out) const override;
    bool HasTableSource() const override;
    bool HasImageTableSource() const override;

    // Handles are those of the group's own box.
    int HitTestHandle(CDC& dc, int zoom, int x, int y) const override;

    void Offset(int32_t dx, int32_t dy) override;
    void EndMove(ObjectTracking& tracking, CDC& dc, int x, int y) override;
    // Turns its box and every child a quarter about (cx, cy).
    void Rotate90(int32_t cx, int32_t cy, int direction) override;
    bool Draw(const DrawArgs& args) const override;

    // Reads x, y and, when the int16 that follows is the collection key,
    // the children's collection record; any other value leaves the group
    // empty.
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;

    // Appends a selected clone of every child, in order, to `target`.
    void MoveChildrenTo(CGraphCollection& target) const;

private:
    // The true extremes of the children (no floor at 0); false when empty.
    bool ChildBounds(int64_t& left, int64_t& top, int64_t& right, int64_t& bottom) const;
    void OffsetChildren(int32_t dx, int32_t dy);
};
