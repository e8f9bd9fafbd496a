// The operations of a collection on its selected objects: selection,
// tracking, alignment and spacing, stacking order, structure, duplication,
// band operations and the property getters and setters behind the ribbon.
#include "content/objects/collection.h"
#include "content/objects/group.h"

#include "platform/units.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

using units::clamp32;

namespace {

// Longest text the ribbon buffers of the property getters hold.
constexpr size_t kPropertyTextLimit = 99;

void limitText(std::string& text)
{
    if (text.size() > kPropertyTextLimit)
        text.resize(kPropertyTextLimit);
}

// Offset of pasted copies in a collection that already holds objects: 5 mm.
constexpr int32_t kPasteOffset = 5000;

} // namespace

// --- helpers over the selection ---------------------------------------------

namespace {

template <class Objects, class Fn>
void forSelected(const Objects& objects, Fn fn)
{
    for (const auto& o : objects)
        if (o->IsSelected())
            fn(*o);
}

template <class Objects, class Pred>
CGraphObject* firstSelected(const Objects& objects, Pred pred)
{
    for (const auto& o : objects)
        if (o->IsSelected() && pred(*o))
            return o.get();
    return nullptr;
}

template <class Objects, class Pred>
bool anySelected(const Objects& objects, Pred pred)
{
    return firstSelected(objects, pred) != nullptr;
}

// The first selected object whose text getter answers true fills `out`.
template <class Objects, class Getter>
bool firstSelectedText(const Objects& objects, std::string& out, Getter get)
{
    for (const auto& o : objects) {
        if (!o->IsSelected())
            continue;
        std::string text;
        if (get(*o, text)) {
            out = std::move(text);
            limitText(out);
            return true;
        }
    }
    return false;
}

} // namespace

bool CGraphCollection::HasSelection() const
{
    return GetFirstSelected() != nullptr;
}

size_t CGraphCollection::GetSelectedCount() const
{
    return size_t(std::count_if(m_objects.begin(), m_objects.end(), [](const auto& o) { return o->IsSelected(); }));
}

CGraphObject* CGraphCollection::GetFirstSelected() const
{
    return firstSelected(m_objects, [](const CGraphObject&) { return true; });
}

void CGraphCollection::SelectAll()
{
    for (const auto& o : m_objects)
        o->SetSelected(true);
}

void CGraphCollection::DeselectAll()
{
    for (const auto& o : m_objects)
        o->SetSelected(false);
}

bool CGraphCollection::SelectInRect(CDC& dc, int zoom, const RECT& rect)
{
    bool any = false;
    for (const auto& o : m_objects)
        if (o->IsInsideRect(dc, zoom, rect)) {
            o->SetSelected(true);
            any = true;
        }
    return any;
}

// --- tracking -----------------------------------------------------------------

namespace {

// Calls f(object, share) for every selected object that takes part in the
// gesture; objects without a share (selected after it began) sit it out.
template <class Objects, class F>
void forTracked(const Objects& objects, CTracking& gesture, F&& f)
{
    for (const auto& o : objects)
        if (o->IsSelected())
            if (ObjectTracking* t = gesture.Find(*o))
                f(*o, *t);
}

// Ends the gesture: the outlines of objects that took part but are no
// longer selected are erased, and every share is forgotten.
template <class Objects>
void dropRest(const Objects& objects, CTracking& gesture, CDC& dc)
{
    for (const auto& o : objects)
        if (ObjectTracking* t = gesture.Find(*o))
            o->CancelTracking(*t, dc);
    gesture.Clear();
}

} // namespace

void CGraphCollection::BeginMoveSelected(CTracking& gesture, CDC& dc, int zoom, int x, int y) const
{
    gesture.Clear(); // what a gesture that never ended left
    for (const auto& o : m_objects)
        if (o->IsSelected())
            o->BeginMove(gesture.For(*o), dc, zoom, x, y);
}

void CGraphCollection::TrackMoveSelected(CTracking& gesture, CDC& dc, int x, int y) const
{
    forTracked(m_objects, gesture, [&](CGraphObject& o, ObjectTracking& t) { o.TrackMove(t, dc, x, y); });
}

void CGraphCollection::EndMoveSelected(CTracking& gesture, CDC& dc, int x, int y)
{
    forTracked(m_objects, gesture, [&](CGraphObject& o, ObjectTracking& t) { o.EndMove(t, dc, x, y); });
    dropRest(m_objects, gesture, dc);
    int32_t m = 0, n = 0;
    forSelected(m_objects, [&](CGraphObject& o) {
        m = std::min(m, o.GetLeft());
        n = std::min(n, o.GetTop());
    });
    if (m < 0 || n < 0) {
        const int32_t dx = clamp32(-int64_t(m));
        const int32_t dy = clamp32(-int64_t(n));
        forSelected(m_objects, [&](CGraphObject& o) { o.Offset(dx, dy); });
    }
}

void CGraphCollection::CancelTrackingSelected(CTracking& gesture, CDC& dc) const
{
    // Every outline of the gesture goes, also of objects no longer selected.
    dropRest(m_objects, gesture, dc);
}

void CGraphCollection::BeginResizeSelected(CTracking& gesture, CDC& dc, int zoom, int x, int y) const
{
    gesture.Clear(); // what a gesture that never ended left
    for (const auto& o : m_objects)
        if (o->IsSelected())
            o->BeginResize(gesture.For(*o), dc, zoom, x, y);
}

void CGraphCollection::TrackResizeSelected(CTracking& gesture, CDC& dc, int x, int y, int flags) const
{
    forTracked(m_objects, gesture, [&](CGraphObject& o, ObjectTracking& t) { o.TrackResize(t, dc, x, y, flags); });
}

void CGraphCollection::EndResizeSelected(CTracking& gesture, CDC& dc)
{
    forTracked(m_objects, gesture, [&](CGraphObject& o, ObjectTracking& t) { o.EndResize(t, dc); });
    dropRest(m_objects, gesture, dc);
}

// --- alignment and centring ---------------------------------------------------

int32_t CGraphCollection::GetSelectedMinLeft() const
{
    int32_t v = kNoSelectionMinEdge;
    forSelected(m_objects, [&](const CGraphObject& o) { v = std::min(v, o.GetLeft()); });
    return v;
}

int32_t CGraphCollection::GetSelectedMinTop() const
{
    int32_t v = kNoSelectionMinEdge;
    forSelected(m_objects, [&](const CGraphObject& o) { v = std::min(v, o.GetTop()); });
    return v;
}

int32_t CGraphCollection::GetSelectedMaxRight() const
{
    int32_t v = 0;
    forSelected(m_objects, [&](const CGraphObject& o) { v = std::max(v, o.GetRight()); });
    return v;
}

int32_t CGraphCollection::GetSelectedMaxBottom() const
{
    int32_t v = 0;
    forSelected(m_objects, [&](const CGraphObject& o) { v = std::max(v, o.GetBottom()); });
    return v;
}

void CGraphCollection::SetSelectedLeft(int32_t v)
{
    forSelected(m_objects, [&](CGraphObject& o) { o.SetLeft(v); });
}

void CGraphCollection::SetSelectedTop(int32_t v)
{
    forSelected(m_objects, [&](CGraphObject& o) { o.SetTop(v); });
}

void CGraphCollection::SetSelectedRight(int32_t v)
{
    forSelected(m_objects, [&](CGraphObject& o) { o.SetRight(v); });
}

void CGraphCollection::SetSelectedBottom(int32_t v)
{
    forSelected(m_objects, [&](CGraphObject& o) { o.SetBottom(v); });
}

bool CGraphCollection::SetSelectedCenter(int32_t value, int axis)
{
    bool any = false;
    forSelected(m_objects, [&](CGraphObject& o) { any = o.SetCenter(axis, value) || any; });
    return any;
}

int32_t CGraphCollection::GetSelectedMeanCenter(int axis) const
{
    int64_t sum = 0;
    int64_t count = 0;
    forSelected(m_objects, [&](const CGraphObject& o) {
        sum += o.GetCenter(axis);
        ++count;
    });
    return count ? clamp32(sum / count) : 0;
}

namespace {

void centreOf(const CGraphObject& o, int64_t& cx, int64_t& cy)
{
    cx = (int64_t(o.GetLeft()) + o.GetRight()) / 2;
    cy = (int64_t(o.GetTop()) + o.GetBottom()) / 2;
}

} // namespace

bool CGraphCollection::CenterObjectsInBand(int32_t xMin, int32_t xMax, int32_t yMax, int axis, int32_t value)
{
    bool any = false;
    forSelected(m_objects, [&](CGraphObject& o) {
        int64_t cx, cy;
        centreOf(o, cx, cy);
        if (xMin <= cx && cx <= xMax && 0 <= cy && cy <= yMax)
            any = o.SetCenter(axis, value) || any;
    });
    return any;
}

bool CGraphCollection::HasSelectedCenterInRange(int32_t xMax, int32_t yMax) const
{
    return anySelected(m_objects, [&](const CGraphObject& o) {
        int64_t cx, cy;
        centreOf(o, cx, cy);
        return 0 <= cx && cx <= xMax && 0 <= cy && cy <= yMax;
    });
}

namespace {

// One axis of the geometry, so that both spacing directions share one body.
struct Axis {
    int32_t (CGraphObject::*low)() const;
    int32_t (CGraphObject::*high)() const;
    int32_t (CGraphObject::*extent)() const;
    void (CGraphObject::*setLow)(int32_t);
};

const Axis kHorizontal{&CGraphObject::GetLeft, &CGraphObject::GetRight, &CGraphObject::GetExtentX,
                       &CGraphObject::SetLeft};
const Axis kVertical{&CGraphObject::GetTop, &CGraphObject::GetBottom, &CGraphObject::GetExtentY,
                     &CGraphObject::SetTop};

void spaceEvenly(const std::vector<std::unique_ptr<CGraphObject>>& objects, const Axis& a)
{
    std::vector<CGraphObject*> selected;
    for (const auto& o : objects)
        if (o->IsSelected())
            selected.push_back(o.get());
    if (selected.size() < 3)
        return;

    CGraphObject* first = selected.front(); // smallest low edge, earliest on a tie
    CGraphObject* last = selected.front();  // largest high edge, earliest on a tie
    for (CGraphObject* o : selected) {
        if ((o->*a.low)() < (first->*a.low)())
            first = o;
        if ((o->*a.high)() > (last->*a.high)())
            last = o;
    }

    std::vector<CGraphObject*> inner;
    for (CGraphObject* o : selected)
        if (o != first && o != last)
            inner.push_back(o);
    std::stable_sort(inner.begin(), inner.end(),
                     [&](CGraphObject* l, CGraphObject* r) { return (l->*a.low)() < (r->*a.low)(); });

    int64_t sum = 0;
    for (CGraphObject* o : inner)
        sum += (o->*a.extent)();

    // When one object spans the whole selection the others are spread
    // inside it, from its low edge; otherwise between the two outer ones.
    int64_t freeSpace;
    int64_t p;
    if (first == last) {
        freeSpace = int64_t((first->*a.extent)()) - sum;
        p = (first->*a.low)();
    } else {
        freeSpace = int64_t((last->*a.high)()) - (first->*a.low)() - (last->*a.extent)() - (first->*a.extent)() - sum;
        p = (first->*a.high)();
    }
    // Objects wider than the room give a negative gap: they overlap each
    // other and the outer ones by the same amount.
    const int64_t gap = freeSpace / int64_t(inner.size() + 1);
    for (CGraphObject* o : inner) {
        (o->*a.setLow)(clamp32(p + gap));
        p = p + gap + (o->*a.extent)();
    }
}

} // namespace

void CGraphCollection::SpaceSelectedEvenlyHorizontal()
{
    spaceEvenly(m_objects, kHorizontal);
}

void CGraphCollection::SpaceSelectedEvenlyVertical()
{
    spaceEvenly(m_objects, kVertical);
}

// --- stacking order -------------------------------------------------------------

namespace {

template <class Vec>
auto firstSelectedIt(Vec& v)
{
    return std::find_if(v.begin(), v.end(), [](const auto& o) { return o->IsSelected(); });
}

} // namespace

bool CGraphCollection::BringToFront()
{
    auto it = firstSelectedIt(m_objects);
    if (it == m_objects.end() || std::next(it) == m_objects.end())
        return false;
    std::rotate(it, std::next(it), m_objects.end());
    return true;
}

bool CGraphCollection::SendToBack()
{
    auto it = firstSelectedIt(m_objects);
    if (it == m_objects.end() || it == m_objects.begin())
        return false;
    std::rotate(m_objects.begin(), it, std::next(it));
    return true;
}

bool CGraphCollection::BringForward()
{
    auto it = firstSelectedIt(m_objects);
    if (it == m_objects.end() || std::next(it) == m_objects.end())
        return false;
    std::iter_swap(it, std::next(it));
    return true;
}

bool CGraphCollection::SendBackward()
{
    auto it = firstSelectedIt(m_objects);
    if (it == m_objects.end() || it == m_objects.begin())
        return false;
    std::iter_swap(it, std::prev(it));
    return true;
}

// --- structure and clipboard ------------------------------------------------------

void CGraphCollection::DeleteSelected()
{
    std::erase_if(m_objects, [](const auto& o) { return o->IsSelected(); });
}

void CGraphCollection::CopySelectedTo(CGraphCollection* target) const
{
    if (!target || target == this)
        return;
    forSelected(m_objects, [&](const CGraphObject& o) { target->AddTail(o.Clone()); });
}

void CGraphCollection::PasteFrom(const CGraphCollection& source)
{
    const bool shift = !m_objects.empty();
    // Clone first: pasting a collection into itself must not see its own copies.
    std::vector<std::unique_ptr<CGraphObject>> clones;
    clones.reserve(source.m_objects.size());
    for (const auto& o : source.m_objects) {
        auto clone = o->Clone();
        if (shift)
            clone->Offset(kPasteOffset, kPasteOffset);
        clone->SetSelected(true);
        clones.push_back(std::move(clone));
    }
    for (auto& clone : clones)
        AddTail(std::move(clone));
}

bool CGraphCollection::CopyToClipboard()
{
    for (const auto& o : m_objects)
        if (o->IsSelected() && o->CopyToClipboard())
            return true;
    return false;
}

void CGraphCollection::RotateSelected(int direction)
{
    if (direction != 1 && direction != -1)
        return;
    int64_t sx = 0, sy = 0, count = 0;
    forSelected(m_objects, [&](const CGraphObject& o) {
        int32_t x, y;
        o.GetCenterPoint(x, y);
        sx += x;
        sy += y;
        ++count;
    });
    if (count == 0)
        return;
    const int32_t cx = clamp32(sx / count);
    const int32_t cy = clamp32(sy / count);
    forSelected(m_objects, [&](CGraphObject& o) { o.Rotate90(cx, cy, direction); });
}

bool CGraphCollection::HasGroupSelected() const
{
    return anySelected(m_objects, [](const CGraphObject& o) { return o.IsGroup(); });
}

void CGraphCollection::UngroupSelected()
{
    std::vector<const CGraphObject*> groups;
    forSelected(m_objects, [&](const CGraphObject& o) {
        if (o.IsGroup())
            groups.push_back(&o);
    });
    for (const CGraphObject* g : groups) {
        const auto* group = dynamic_cast<const CGraphGroup*>(g);
        if (!group)
            continue;
        group->MoveChildrenTo(*this);
        RemoveObject(g); // deletes the group and the children it held
    }
}

void CGraphCollection::MoveSelectedToGroup(CGraphCollection& group)
{
    if (&group == this)
        return;
    std::vector<std::unique_ptr<CGraphObject>> kept;
    kept.reserve(m_objects.size());
    for (auto& o : m_objects) {
        if (o->IsSelected()) {
            o->SetSelected(false);
            group.AddTail(std::move(o));
        } else {
            kept.push_back(std::move(o));
        }
    }
    m_objects = std::move(kept);
}

namespace {

enum class Direction { Below, Right, Above, Left };

} // namespace

static void duplicateSelection(CGraphCollection& c, std::vector<std::unique_ptr<CGraphObject>>& objects,
                               Direction direction)
{
    int32_t top = CGraphCollection::kNoSelectionMinEdge, left = CGraphCollection::kNoSelectionMinEdge;
    int32_t bottom = 0, right = 0;
    for (const auto& o : objects)
        if (o->IsSelected()) {
            top = std::min(top, o->GetTop());
            left = std::min(left, o->GetLeft());
            bottom = std::max(bottom, o->GetBottom());
            right = std::max(right, o->GetRight());
        }

    int64_t dx = 0, dy = 0;
    switch (direction) {
    case Direction::Below: dy = int64_t(bottom) - top; break;
    case Direction::Above: dy = int64_t(top) - bottom; break;
    case Direction::Right: dx = int64_t(right) - left; break;
    case Direction::Left: dx = int64_t(left) - right; break;
    }

    int firstFree = 0;
    for (int i = 0; i < 26; ++i)
        if (!c.IsColumnUsedByAny(i)) {
            firstFree = i;
            break;
        }

    std::vector<std::unique_ptr<CGraphObject>> clones;
    for (const auto& o : objects) {
        if (!o->IsSelected())
            continue;
        o->SetSelected(false);
        auto clone = o->Clone();
        clone->SetSelected(true);
        clone->Offset(clamp32(dx), clamp32(dy));
        // Columns run A..Z: a copy that would be bound past Z keeps the link
        // of its original.
        const int column = firstFree + int(clones.size());
        if (column < 26)
            clone->SetSourceColumnText(std::string(1, char('A' + column)));
        clones.push_back(std::move(clone));
    }
    if (clones.empty())
        return;
    for (auto& clone : clones)
        objects.push_back(std::move(clone));

    // Copies above or left of the area origin push the whole content back in.
    if (direction == Direction::Above) {
        const int32_t minTop = c.GetMinTop();
        if (minTop < 0)
            for (const auto& o : objects)
                o->Offset(0, clamp32(-int64_t(minTop)));
    } else if (direction == Direction::Left) {
        const int32_t minLeft = c.GetMinLeft();
        if (minLeft < 0)
            for (const auto& o : objects)
                o->Offset(clamp32(-int64_t(minLeft)), 0);
    }
}

void CGraphCollection::DuplicateSelectionBelow() { duplicateSelection(*this, m_objects, Direction::Below); }
void CGraphCollection::DuplicateSelectionRight() { duplicateSelection(*this, m_objects, Direction::Right); }
void CGraphCollection::DuplicateSelectionAbove() { duplicateSelection(*this, m_objects, Direction::Above); }
void CGraphCollection::DuplicateSelectionLeft() { duplicateSelection(*this, m_objects, Direction::Left); }

bool CGraphCollection::HasImageSelected() const
{
    return anySelected(m_objects, [](const CGraphObject& o) { return o.IsImage(); });
}

bool CGraphCollection::ResetSelectedToNaturalSize()
{
    bool any = false;
    forSelected(m_objects, [&](CGraphObject& o) { any = o.ResetToNaturalSize() || any; });
    return any;
}

bool CGraphCollection::HasImageFile() const
{
    return anySelected(m_objects, [](const CGraphObject& o) { return o.HasImageFile(); });
}

bool CGraphCollection::SetImageFile(const std::string& path)
{
    bool any = false;
    forSelected(m_objects, [&](CGraphObject& o) { any = o.SetImageFile(path) || any; });
    return any;
}

bool CGraphCollection::HasTableSource() const
{
    return anySelected(m_objects, [](const CGraphObject& o) { return o.HasTableSource(); });
}

bool CGraphCollection::HasImageTableSource() const
{
    return anySelected(m_objects, [](const CGraphObject& o) { return o.HasImageTableSource(); });
}

// --- band operations ------------------------------------------------------------

namespace {

bool inBand(const CGraphObject& o, int32_t from, int32_t to)
{
    return o.GetLeft() >= from && o.GetRight() <= to;
}

} // namespace

void CGraphCollection::OffsetObjectsInBand(int32_t from, int32_t to, int32_t delta)
{
    for (const auto& o : m_objects)
        if (inBand(*o, from, to))
            o->SetLeft(clamp32(int64_t(o->GetLeft()) + delta));
}

void CGraphCollection::DeleteObjectsInBand(int32_t from, int32_t to)
{
    std::erase_if(m_objects, [&](const auto& o) { return inBand(*o, from, to); });
}

bool CGraphCollection::HasTableSourceInBand(int32_t from, int32_t to) const
{
    return anySelected(m_objects, [&](const CGraphObject& o) {
        return inBand(o, from, to) && (o.HasTableSource() || o.HasImageTableSource());
    });
}

bool CGraphCollection::IsColumnUsedByAny(int index) const
{
    return std::any_of(m_objects.begin(), m_objects.end(), [&](const auto& o) { return o->UsesColumn(index); });
}

// --- properties -------------------------------------------------------------------

#define VSL_FIRST_OR(pred, expr, fallback)                                                              \
    do {                                                                                                \
        const CGraphObject* found_ = firstSelected(m_objects, [&]([[maybe_unused]] const CGraphObject& o) { return pred; }); \
        return found_ ? found_->expr : (fallback);                                                      \
    } while (0)

#define VSL_SET_ALL(expr) forSelected(m_objects, [&](CGraphObject& o) { o.expr; })
#define VSL_ANY(expr) return anySelected(m_objects, [&](const CGraphObject& o) { return o.expr; })
#define VSL_TEXT(getter) return firstSelectedText(m_objects, out, [](const CGraphObject& o, std::string& t) { return o.getter(t); })

int32_t CGraphCollection::GetSelectedX() const { VSL_FIRST_OR(true, GetX(), -1); }
int32_t CGraphCollection::GetSelectedY() const { VSL_FIRST_OR(true, GetY(), -1); }
int32_t CGraphCollection::GetSelectedWidth() const { VSL_FIRST_OR(true, GetWidth(), -1); }
int32_t CGraphCollection::GetSelectedHeight() const { VSL_FIRST_OR(true, GetHeight(), -1); }
void CGraphCollection::SetSelectedX(int32_t v) { VSL_SET_ALL(SetX(v)); }
void CGraphCollection::SetSelectedY(int32_t v) { VSL_SET_ALL(SetY(v)); }
void CGraphCollection::SetSelectedWidth(int32_t v) { VSL_SET_ALL(SetWidth(v)); }
void CGraphCollection::SetSelectedHeight(int32_t v) { VSL_SET_ALL(SetHeight(v)); }

int32_t CGraphCollection::GetSelectedLineWidth() const { VSL_FIRST_OR(o.HasBorder(), GetPenWidth(), 1000); }
void CGraphCollection::SetSelectedLineWidth(int32_t v) { VSL_SET_ALL(SetPenWidth(v)); }
int32_t CGraphCollection::GetSelectedCornerRadius() const { VSL_FIRST_OR(o.GetCornerRadius() != -1, GetCornerRadius(), -1); }
void CGraphCollection::SetSelectedCornerRadius(int32_t v) { VSL_SET_ALL(SetCornerRadius(v)); }

void CGraphCollection::GetSelectedTextAlignment(int& out) const
{
    const CGraphObject* o = firstSelected(m_objects, [](const CGraphObject& x) { return x.HasAlignment(); });
    int v = 0;
    if (o && o->GetAlignment(v))
        out = v - 1;
}

void CGraphCollection::SetSelectedTextAlignment(int v)
{
    forSelected(m_objects, [&](CGraphObject& o) {
        if (o.HasAlignment())
            o.SetAlignment(v);
    });
}

void CGraphCollection::GetSelectedFaceName(std::string& out) const
{
    const CGraphObject* o = firstSelected(m_objects, [](const CGraphObject& x) { return x.IsText(); });
    LOGFONTA font{};
    if (o && o->GetLogFont(font)) {
        out.assign(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
        limitText(out);
    }
}

void CGraphCollection::SetSelectedFaceName(const std::string& name) { VSL_SET_ALL(SetFaceName(name)); }

int CGraphCollection::GetSelectedFontSize() const
{
    const CGraphObject* o = firstSelected(m_objects, [](const CGraphObject& x) { return x.IsText(); });
    LOGFONTA font{};
    if (!o || !o->GetLogFont(font))
        return -1;
    const int64_t h = font.lfHeight;
    return h < 0 ? int(clamp32((48 - 72 * h) / 96)) : int(h);
}

void CGraphCollection::SetSelectedFontSize(int points)
{
    const int32_t height = clamp32(int64_t(points) * -96 / 72);
    forSelected(m_objects, [&](CGraphObject& o) {
        LOGFONTA font{};
        if (o.IsText() && o.GetLogFont(font)) {
            font.lfHeight = height;
            o.SetLogFont(font);
        }
    });
}

bool CGraphCollection::IsSelectedBold() const { VSL_FIRST_OR(o.IsText(), IsBold(), false); }
bool CGraphCollection::IsSelectedItalic() const { VSL_FIRST_OR(o.IsText(), IsItalic(), false); }
bool CGraphCollection::IsSelectedUnderline() const { VSL_FIRST_OR(o.IsText(), IsUnderline(), false); }

void CGraphCollection::SetSelectedBold(bool on)
{
    forSelected(m_objects, [&](CGraphObject& o) {
        if (o.IsText())
            o.SetBold(on);
    });
}

void CGraphCollection::SetSelectedItalic(bool on)
{
    forSelected(m_objects, [&](CGraphObject& o) {
        if (o.IsText())
            o.SetItalic(on);
    });
}

void CGraphCollection::SetSelectedUnderline(bool on)
{
    forSelected(m_objects, [&](CGraphObject& o) {
        if (o.IsText())
            o.SetUnderline(on);
    });
}

int CGraphCollection::GetSelectedTextSourceType() const { VSL_FIRST_OR(o.GetSourceType() != -1, GetSourceType(), -1); }
void CGraphCollection::SetSelectedTextSourceType(int v) { VSL_SET_ALL(SetSourceType(v)); }
COLORREF CGraphCollection::GetSelectedTextColor() const { VSL_FIRST_OR(o.HasTextColor(), GetTextColor(), COLORREF(0)); }
void CGraphCollection::SetSelectedTextColor(COLORREF c) { VSL_SET_ALL(SetTextColor(c)); }
COLORREF CGraphCollection::GetSelectedBorderColor() const { VSL_FIRST_OR(true, GetBorderColor(), COLORREF(0)); }
void CGraphCollection::SetSelectedBorderColor(COLORREF c) { VSL_SET_ALL(SetBorderColor(c)); }
COLORREF CGraphCollection::GetSelectedFillColor() const { VSL_FIRST_OR(o.HasFill(), GetFillColor(), COLORREF(0)); }
void CGraphCollection::SetSelectedFillColor(COLORREF c) { VSL_SET_ALL(SetFillColor(c)); }
bool CGraphCollection::GetSelectedTransparent() const { VSL_ANY(GetTransparent()); }
void CGraphCollection::SetSelectedTransparent(bool on) { VSL_SET_ALL(SetTransparent(on)); }
bool CGraphCollection::HasSelectedTransparency() const { VSL_ANY(HasTransparency()); }
bool CGraphCollection::GetSelectedSourceColumnText(std::string& out) const { VSL_TEXT(GetSourceColumnText); }
void CGraphCollection::SetSelectedSourceColumn(const std::string& text) { VSL_SET_ALL(SetSourceColumnText(text)); }
bool CGraphCollection::GetSelectedAutoSize() const { VSL_FIRST_OR(o.HasAutoSize(), GetAutoSize(), false); }
void CGraphCollection::SetSelectedAutoSize(bool on) { VSL_SET_ALL(SetAutoSize(on)); }
bool CGraphCollection::HasSelectedAutoSize() const { VSL_ANY(HasAutoSize()); }
bool CGraphCollection::GetSelectedCenterVertical() const { VSL_FIRST_OR(o.HasCenterVertical(), IsCenteredVertically(), false); }
void CGraphCollection::SetSelectedCenterVertical(bool on) { VSL_SET_ALL(SetCenterVertical(on)); }
bool CGraphCollection::HasSelectedCenterVertical() const { VSL_ANY(HasCenterVertical()); }
bool CGraphCollection::GetSelectedWarningSign() const { VSL_FIRST_OR(o.HasWarningSign(), GetWarningSign(), false); }
void CGraphCollection::SetSelectedWarningSign(bool on) { VSL_SET_ALL(SetWarningSign(on)); }
bool CGraphCollection::HasSelectedWarningSignOption() const { VSL_ANY(HasWarningSign()); }
bool CGraphCollection::GetSelectedTableFlag() const { VSL_FIRST_OR(o.HasTableFlag(), GetTableFlag(), false); }

void CGraphCollection::ToggleSelectedTableFlag()
{
    const bool on = !GetSelectedTableFlag();
    VSL_SET_ALL(SetTableFlag(on));
}

bool CGraphCollection::HasSelectedTableFlagOption() const { VSL_ANY(HasTableFlag()); }

bool CGraphCollection::GetSelectedFontChecked(LOGFONTA& out) const
{
    for (const auto& o : m_objects)
        if (o->IsSelected() && o->GetFontChecked(out))
            return true;
    return false;
}

void CGraphCollection::SetSelectedFontRaw(const LOGFONTA& font) { VSL_SET_ALL(SetFontRaw(font)); }
int CGraphCollection::GetSelectedCharSet() const { VSL_FIRST_OR(o.HasCharSet(), GetCharSet(), 1); }
void CGraphCollection::SetSelectedCharSet(int v) { VSL_SET_ALL(SetCharSet(v)); }

bool CGraphCollection::GetSelectedCounterPrefix(std::string& out) const { VSL_TEXT(GetCounterPrefix); }
void CGraphCollection::SetSelectedCounterPrefix(const std::string& text) { VSL_SET_ALL(SetCounterPrefix(text)); }
bool CGraphCollection::GetSelectedCounterStartText(std::string& out) const { VSL_TEXT(GetCounterStartText); }
void CGraphCollection::SetSelectedCounterStartText(const std::string& text) { VSL_SET_ALL(SetCounterStartText(text)); }
bool CGraphCollection::GetSelectedCounterSuffix(std::string& out) const { VSL_TEXT(GetCounterSuffix); }
void CGraphCollection::SetSelectedCounterSuffix(const std::string& text) { VSL_SET_ALL(SetCounterSuffix(text)); }
bool CGraphCollection::GetSelectedCounterLeadingZeros() const { VSL_FIRST_OR(o.HasCounterOptions(), GetCounterLeadingZeros(), false); }
bool CGraphCollection::HasSelectedCounterOptions() const { VSL_ANY(HasCounterOptions()); }
void CGraphCollection::SetSelectedCounterLeadingZeros(bool on) { VSL_SET_ALL(SetCounterLeadingZeros(on)); }
bool CGraphCollection::GetSelectedCounterWidthText(std::string& out) const { VSL_TEXT(GetCounterWidthText); }
void CGraphCollection::SetSelectedCounterWidthText(const std::string& text) { VSL_SET_ALL(SetCounterWidthText(text)); }
bool CGraphCollection::GetSelectedSeparatorName(std::string& out) const { VSL_TEXT(GetSeparatorName); }
void CGraphCollection::SetSelectedSeparatorName(const std::string& name) { VSL_SET_ALL(SetSeparatorName(name)); }
bool CGraphCollection::GetSelectedAlwaysSeparate() const { VSL_ANY(GetAlwaysSeparate()); }
bool CGraphCollection::HasSelectedSeparatorOptions() const { VSL_ANY(HasSeparatorOptions()); }
void CGraphCollection::SetSelectedAlwaysSeparate(bool on) { VSL_SET_ALL(SetAlwaysSeparate(on)); }
bool CGraphCollection::GetSelectedDateComponentName(std::string& out) const { VSL_TEXT(GetDateComponentName); }
void CGraphCollection::SetSelectedDateComponentName(const std::string& name) { VSL_SET_ALL(SetDateComponentName(name)); }
bool CGraphCollection::HasSelectedDateComponent() const { VSL_ANY(HasDateComponent()); }
bool CGraphCollection::HasSelectedDateOffset() const { VSL_ANY(HasDateOffset()); }
bool CGraphCollection::GetSelectedDateOffsetText(std::string& out) const { VSL_TEXT(GetDateOffsetText); }
void CGraphCollection::SetSelectedDateOffsetText(const std::string& text) { VSL_SET_ALL(SetDateOffsetText(text)); }

// --- barcode properties ---------------------------------------------------------

bool CGraphCollection::HasSelectedBarcode() const
{
    std::string name;
    VSL_ANY(GetSymbologyName(name));
}

void CGraphCollection::SetSelectedSymbology(const std::string& name) { VSL_SET_ALL(SetSymbologyName(name)); }

int32_t CGraphCollection::GetSelectedBarcodeModule() const
{
    std::string text;
    VSL_FIRST_OR(o.GetModuleText(text), GetModule(), -1);
}

bool CGraphCollection::GetSelectedBarcodeModuleText(std::string& out) const
{
    return firstSelectedText(m_objects, out, [](const CGraphObject& o, std::string& t) {
        return o.GetModuleText(t) || o.GetModulePercentText(t);
    });
}

void CGraphCollection::SetSelectedBarcodeModule(int32_t v) { VSL_SET_ALL(SetModule(v)); }
void CGraphCollection::SetSelectedEanModule(int32_t v)
{
    forSelected(m_objects, [&](CGraphObject& o) {
        if (o.IsEAN())
            o.SetModule(v);
    });
}

int32_t CGraphCollection::GetSelectedBarcodeHeight() const
{
    std::string text;
    VSL_FIRST_OR(o.GetBarHeightText(text), GetBarHeight(), -1);
}

bool CGraphCollection::GetSelectedBarcodeHeightText(std::string& out) const
{
    return firstSelectedText(m_objects, out, [](const CGraphObject& o, std::string& t) {
        return o.GetBarHeightText(t) || o.GetHeightPercentText(t);
    });
}

void CGraphCollection::SetSelectedBarcodeHeight(int32_t v) { VSL_SET_ALL(SetBarHeight(v)); }

void CGraphCollection::SetSelectedQrHeight(int32_t v)
{
    forSelected(m_objects, [&](CGraphObject& o) {
        std::string version;
        if (o.GetQrVersionText(version))
            o.SetBarHeight(v);
    });
}

bool CGraphCollection::GetSelectedBarcodeRatioText(std::string& out) const { VSL_TEXT(GetRatioText); }
void CGraphCollection::SetSelectedBarcodeRatio(const std::string& text) { VSL_SET_ALL(SetRatioText(text)); }
bool CGraphCollection::GetSelectedBarcodeGapCorrectionText(std::string& out) const { VSL_TEXT(GetGapCorrectionText); }
void CGraphCollection::SetSelectedBarcodeGapCorrection(const std::string& text) { VSL_SET_ALL(SetGapCorrectionText(text)); }
bool CGraphCollection::GetSelectedQrVersionText(std::string& out) const { VSL_TEXT(GetQrVersionText); }
void CGraphCollection::SetSelectedQrVersion(const std::string& text) { VSL_SET_ALL(SetQrVersionText(text)); }
bool CGraphCollection::GetSelectedQrEccLevelText(std::string& out) const { VSL_TEXT(GetQrEccLevelText); }
void CGraphCollection::SetSelectedQrEccLevel(const std::string& text) { VSL_SET_ALL(SetQrEccLevelText(text)); }
bool CGraphCollection::GetSelectedQrEncodingName(std::string& out) const { VSL_TEXT(GetQrEncodingName); }
void CGraphCollection::SetSelectedQrEncodingName(const std::string& name) { VSL_SET_ALL(SetQrEncodingName(name)); }
bool CGraphCollection::GetSelectedQrMarginText(std::string& out) const { VSL_TEXT(GetQrMarginText); }
void CGraphCollection::SetSelectedQrMargin(const std::string& text) { VSL_SET_ALL(SetQrMarginText(text)); }
bool CGraphCollection::HasSelectedBarcodeCheckDigitOption() const { VSL_ANY(HasCheckDigitOption()); }
bool CGraphCollection::GetSelectedBarcodeCheckDigit() const { VSL_ANY(GetCheckDigit()); }
void CGraphCollection::SetSelectedBarcodeCheckDigit(bool on) { VSL_SET_ALL(SetCheckDigit(on)); }
bool CGraphCollection::HasSelectedBarcodeTextOption() const { VSL_ANY(HasShowTextOption()); }
bool CGraphCollection::GetSelectedBarcodeShowText() const { VSL_ANY(GetShowText()); }
void CGraphCollection::SetSelectedBarcodeShowText(bool on) { VSL_SET_ALL(SetShowText(on)); }
bool CGraphCollection::HasSelectedBarcodeCheckDigitTextOption() const { VSL_ANY(HasShowCheckDigitOption()); }
bool CGraphCollection::GetSelectedBarcodeShowCheckDigit() const { VSL_ANY(GetShowCheckDigit()); }
void CGraphCollection::SetSelectedBarcodeShowCheckDigit(bool on) { VSL_SET_ALL(SetShowCheckDigit(on)); }

int CGraphCollection::GetSelectedModuleChoiceKinds() const
{
    int kinds = 0;
    forSelected(m_objects, [&](const CGraphObject& o) { kinds |= o.GetModuleChoiceKinds(); });
    return kinds;
}

int CGraphCollection::GetSelectedHeightChoiceKinds() const
{
    int kinds = 0;
    forSelected(m_objects, [&](const CGraphObject& o) { kinds |= o.GetHeightChoiceKinds(); });
    return kinds;
}
