#include "content/objects/group.h"

#include "platform/units.h"

#include <algorithm>

using units::clamp32;

std::unique_ptr<CGraphObject> CGraphGroup::Clone() const
{
    return std::make_unique<CGraphGroup>(*this);
}

bool CGraphGroup::ChildBounds(int64_t& left, int64_t& top, int64_t& right, int64_t& bottom) const
{
    if (m_objects.empty())
        return false;
    left = top = INT64_MAX;
    right = bottom = INT64_MIN;
    for (const auto& o : m_objects) {
        int64_t l, t, r, b;
        // A nested group answers all four edges in one walk: asking it edge
        // by edge would walk its children four times per level.
        const auto* group = dynamic_cast<const CGraphGroup*>(o.get());
        if (!group || !group->ChildBounds(l, t, r, b)) {
            l = o->GetLeft();
            t = o->GetTop();
            r = o->GetRight();
            b = o->GetBottom();
        }
        left = std::min(left, l);
        top = std::min(top, t);
        right = std::max(right, r);
        bottom = std::max(bottom, b);
    }
    return true;
}

void CGraphGroup::RefreshBox()
{
    int64_t l, t, r, b;
    if (!ChildBounds(l, t, r, b))
        return;
    m_x = clamp32(l);
    m_y = clamp32(t);
    m_width = clamp32(r - l);
    m_height = clamp32(b - t);
}

int32_t CGraphGroup::GetLeft() const
{
    int64_t l, t, r, b;
    return ChildBounds(l, t, r, b) ? clamp32(l) : m_x;
}

int32_t CGraphGroup::GetTop() const
{
    int64_t l, t, r, b;
    return ChildBounds(l, t, r, b) ? clamp32(t) : m_y;
}

int32_t CGraphGroup::GetRight() const
{
    int64_t l, t, r, b;
    return ChildBounds(l, t, r, b) ? clamp32(r) : CGraph2Dim::GetRight();
}

int32_t CGraphGroup::GetBottom() const
{
    int64_t l, t, r, b;
    return ChildBounds(l, t, r, b) ? clamp32(b) : CGraph2Dim::GetBottom();
}

int32_t CGraphGroup::GetExtentX() const
{
    int64_t l, t, r, b;
    return ChildBounds(l, t, r, b) ? clamp32(r - l) : m_width;
}

int32_t CGraphGroup::GetExtentY() const
{
    int64_t l, t, r, b;
    return ChildBounds(l, t, r, b) ? clamp32(b - t) : m_height;
}

void CGraphGroup::SetLeft(int32_t v)
{
    Offset(clamp32(int64_t(v) - GetLeft()), 0);
}

void CGraphGroup::SetTop(int32_t v)
{
    Offset(0, clamp32(int64_t(v) - GetTop()));
}

void CGraphGroup::SetRight(int32_t v)
{
    Offset(clamp32(int64_t(v) - GetRight()), 0);
}

void CGraphGroup::SetBottom(int32_t v)
{
    Offset(0, clamp32(int64_t(v) - GetBottom()));
}

int32_t CGraphGroup::GetCenter(int axis) const
{
    int64_t l, t, r, b;
    if (!ChildBounds(l, t, r, b))
        return CGraph2Dim::GetCenter(axis);
    if (axis == 1)
        return clamp32(l + (r - l) / 2);
    if (axis == 2)
        return clamp32(t + (b - t) / 2);
    return 0;
}

bool CGraphGroup::SetCenter(int axis, int32_t v)
{
    if (axis != 1 && axis != 2)
        return false;
    if (m_objects.empty())
        return CGraph2Dim::SetCenter(axis, v);
    const int32_t delta = clamp32(int64_t(v) - GetCenter(axis));
    if (axis == 1)
        Offset(delta, 0);
    else
        Offset(0, delta);
    return true;
}

void CGraphGroup::GetCenterPoint(int32_t& x, int32_t& y) const
{
    x = GetCenter(1);
    y = GetCenter(2);
}

bool CGraphGroup::UsesColumn(int index) const
{
    return std::any_of(m_objects.begin(), m_objects.end(), [&](const auto& o) { return o->UsesColumn(index); });
}

bool CGraphGroup::GetSourceColumnText(std::string& out) const
{
    for (const auto& o : m_objects)
        if (o->GetSourceColumnText(out))
            return true;
    return false;
}

bool CGraphGroup::HasTableSource() const
{
    return std::any_of(m_objects.begin(), m_objects.end(), [](const auto& o) { return o->HasTableSource(); });
}

bool CGraphGroup::HasImageTableSource() const
{
    return std::any_of(m_objects.begin(), m_objects.end(), [](const auto& o) { return o->HasImageTableSource(); });
}

int CGraphGroup::HitTestHandle(CDC& dc, int zoom, int x, int y) const
{
    return CGraph2Dim::HitTestHandle(dc, zoom, x, y);
}

void CGraphGroup::OffsetChildren(int32_t dx, int32_t dy)
{
    if (dx == 0 && dy == 0)
        return;
    for (const auto& o : m_objects)
        o->Offset(dx, dy);
}

void CGraphGroup::Offset(int32_t dx, int32_t dy)
{
    CGraphObject::Offset(dx, dy);
    OffsetChildren(dx, dy);
}

void CGraphGroup::EndMove(ObjectTracking& tracking, CDC& dc, int x, int y)
{
    RefreshBox();
    const int32_t oldX = m_x, oldY = m_y;
    CGraph2Dim::EndMove(tracking, dc, x, y);
    OffsetChildren(clamp32(int64_t(m_x) - oldX), clamp32(int64_t(m_y) - oldY));
}

void CGraphGroup::Rotate90(int32_t cx, int32_t cy, int direction)
{
    if (direction != 1 && direction != -1)
        return;
    CGraph2Dim::Rotate90(cx, cy, direction);
    for (const auto& o : m_objects)
        o->Rotate90(cx, cy, direction);
    RefreshBox();
}

bool CGraphGroup::Draw(const DrawArgs& args) const
{
    return CGraphCollection::Draw(args);
}

bool CGraphGroup::Load(RecordReader& reader)
{
    RecordDepthGuard depth(reader);
    if (!depth.entered())
        return false;
    if (!CGraphObject::Load(reader))
        return false;
    const int16_t key = reader.i16();
    if (!reader.ok())
        return false;
    if (key != kKeyCollection) {
        // A group without children. It is saved with an empty children's
        // record, so it takes the nesting level of one here as well: what
        // loads must load again after saving.
        RecordDepthGuard children(reader);
        return children.entered();
    }
    return CGraphCollection::Load(reader);
}

void CGraphGroup::Save(RecordWriter& writer) const
{
    writer.i32(m_x);
    writer.i32(m_y);
    writer.i16(kKeyCollection);
    CGraphCollection::Save(writer);
}

void CGraphGroup::MoveChildrenTo(CGraphCollection& target) const
{
    if (&target == this)
        return;
    for (const auto& o : m_objects) {
        auto clone = o->Clone();
        clone->SetSelected(true);
        target.AddTail(std::move(clone));
    }
}
