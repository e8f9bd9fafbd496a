#include "document/modulemarking/modulemarkingrow.h"

#include "platform/uiservices.h"
#include "platform/units.h"

#include <algorithm>

using namespace modulemarking;

namespace modulemarking {

COLORREF SystemHighlightColor()
{
    return Ui().SystemColor(SystemColour::Highlight);
}

bool UnsignedLessEqual(int64_t a, int64_t b)
{
    if ((a < 0) != (b < 0))
        return b < 0;
    return a <= b;
}

} // namespace modulemarking

namespace {

int clampSlot(int n)
{
    return std::clamp(n, 0, kModuleSlots - 1);
}

} // namespace

// ---------------------------------------------------------------------------
// CModuleMarkingItem

int32_t CModuleMarkingItem::Length() const
{
    return units::clamp32(int64_t(m_width) * m_multiplier);
}

int32_t CModuleMarkingItem::JoinEntry(int i) const
{
    if (i < 0 || i >= JoinCount())
        return -1;
    return m_joins[size_t(i)];
}

bool CModuleMarkingItem::PushJoin(int32_t multiplier)
{
    if (JoinCount() >= kMaxJoinHistory)
        return false;
    m_joins.push_back(multiplier);
    return true;
}

int32_t CModuleMarkingItem::PopJoin()
{
    if (m_joins.empty())
        return -1;
    const int32_t v = m_joins.back();
    m_joins.pop_back();
    return v;
}

void CModuleMarkingItem::TakeModule(const CModuleMarkingItem& from)
{
    if (&from == this)
        return;
    m_width = from.m_width;
    m_multiplier = from.m_multiplier;
    m_skip = from.m_skip;
    m_joins = from.m_joins;
}

void CModuleMarkingItem::ClearModule()
{
    m_width = 0;
    m_multiplier = 0;
    m_skip = false;
    m_joins.clear();
}

// ---------------------------------------------------------------------------
// CModuleMarkingRow: values and lengths

CModuleMarkingRow::CModuleMarkingRow()
{
    m_items[0].m_width = kDefaultModuleWidth;
    m_items[0].m_multiplier = 1;
}

bool CModuleMarkingRow::SetCurrentIndex(int n)
{
    if (n < 0 || n >= m_count)
        return false;
    m_current = n;
    return true;
}

bool CModuleMarkingRow::SetModuleCount(int count)
{
    if (count < 1 || count > kModuleSlots)
        return false;
    for (int i = count; i < kModuleSlots; ++i)
        m_items[size_t(i)].ClearModule();
    m_count = count;
    m_current = std::clamp(m_current, 0, m_count - 1);
    return true;
}

bool CModuleMarkingRow::SetModulesToAdd(int32_t k)
{
    if (k < 1)
        return false;
    m_modulesToAdd = k;
    return true;
}

void CModuleMarkingRow::SetPresetWidth(int32_t w)
{
    m_presetWidth = w;
    m_presetWidthSet = true;
}

void CModuleMarkingRow::ClearPresetFlags()
{
    m_presetWidthSet = false;
    m_presetMultiplierSet = false;
}

CModuleMarkingItem& CModuleMarkingRow::Module(int n)
{
    return m_items[size_t(clampSlot(n))];
}

const CModuleMarkingItem& CModuleMarkingRow::Module(int n) const
{
    return m_items[size_t(clampSlot(n))];
}

void CModuleMarkingRow::SetAllGaps(int32_t gap)
{
    for (auto& item : m_items)
        item.m_gap = gap;
}

int32_t CModuleMarkingRow::GetModuleLength(int n) const
{
    if (n < 0 || n >= kModuleSlots || n >= m_count)
        return -1;
    return m_items[size_t(n)].Length();
}

int64_t CModuleMarkingRow::ModulesLengthExcept(int except) const
{
    int64_t sum = 0;
    for (int i = 0; i < m_count; ++i)
        if (i != except)
            sum += m_items[size_t(i)].Length();
    return sum;
}

// A full row of 100 modules has its real length too: answering 0 for it
// would make the right margin of a fixed-length strip the whole material.
int64_t CModuleMarkingRow::TotalLength64() const
{
    return int64_t(m_leftMargin) + m_rightMargin + ModulesLengthExcept(-1)
        + int64_t(m_count - 1) * GetGap();
}

int32_t CModuleMarkingRow::GetTotalLength() const
{
    return units::clamp32(TotalLength64());
}

int32_t CModuleMarkingRow::GetMarkerCount() const
{
    int64_t sum = 0;
    for (int i = 0; i < m_count; ++i)
        sum += m_items[size_t(i)].m_multiplier;
    return units::clamp32(sum);
}

int32_t CModuleMarkingRow::GetModulePosition(int n) const
{
    if (n < 0 || n >= kModuleSlots || n >= m_count)
        return -1;
    int64_t pos = m_leftMargin;
    for (int i = 0; i < n; ++i)
        pos += int64_t(m_items[size_t(i)].Length()) + GetGap();
    return units::clamp32(pos);
}

// ---------------------------------------------------------------------------
// Editing

// A module moves with its join history (and its width and multiplier as
// they are): a history left with the slot would let a later split take off
// the multiplier of some other module. New modules start unskipped and
// without history rather than with what their slot held before, and take
// the default size when no positive width or multiplier is at hand.
void CModuleMarkingRow::MoveModule(int from, int to)
{
    m_items[size_t(to)].TakeModule(m_items[size_t(from)]);
}

void CModuleMarkingRow::PlaceNewModule(int slot, int32_t width, int32_t multiplier)
{
    CModuleMarkingItem& item = m_items[size_t(slot)];
    item.ClearModule();
    item.m_width = width > 0 ? width : kDefaultModuleWidth;
    item.m_multiplier = multiplier > 0 ? multiplier : 1;
}

bool CModuleMarkingRow::AddModules(bool usePreset)
{
    const int c = m_current;
    const int64_t k = m_modulesToAdd;
    if (k < 1 || c + k >= kModuleSlots || m_count + k > kModuleSlots)
        return false;
    const int32_t w = m_presetWidthSet ? m_presetWidth : m_items[size_t(c)].m_width;
    const int32_t m = ((usePreset && m_presetMultiplierSet) || c >= m_count)
        ? m_presetMultiplier
        : m_items[size_t(c)].m_multiplier;
    const int step = int(k);
    for (int i = m_count - 1; i > c; --i)
        MoveModule(i, i + step);
    for (int i = 1; i <= step; ++i)
        PlaceNewModule(c + i, w, m);
    m_current = c + step;
    ClearPresetFlags();
    m_count += step;
    return true;
}

bool CModuleMarkingRow::InsertModules(bool usePreset)
{
    const int c = m_current;
    const int64_t k = m_modulesToAdd;
    if (k < 1 || c + k >= kModuleSlots || m_count + k > kModuleSlots)
        return false;
    const int32_t w = (usePreset && m_presetWidthSet) ? m_presetWidth : m_items[size_t(c)].m_width;
    const int32_t m = ((usePreset && m_presetMultiplierSet) || c >= m_count)
        ? m_presetMultiplier
        : m_items[size_t(c)].m_multiplier;
    const int step = int(k);
    for (int i = m_count - 1; i >= c; --i)
        MoveModule(i, i + step);
    for (int i = 0; i < step; ++i)
        PlaceNewModule(c + i, w, m);
    ClearPresetFlags();
    m_count += step;
    return true;
}

bool CModuleMarkingRow::DeleteCurrent()
{
    if (m_count < 2)
        return false;
    for (int i = m_current + 1; i < m_count; ++i)
        MoveModule(i, i - 1);
    m_items[size_t(m_count - 1)].ClearModule();
    --m_count;
    if (m_current >= m_count)
        --m_current;
    return true;
}

bool CModuleMarkingRow::CanJoinNext() const
{
    const int c = m_current;
    if (c >= kModuleSlots || c + 1 >= m_count)
        return false;
    const CModuleMarkingItem& cur = m_items[size_t(c)];
    const CModuleMarkingItem& next = m_items[size_t(c + 1)];
    return cur.m_width == next.m_width && cur.m_skip == next.m_skip;
}

bool CModuleMarkingRow::JoinWithNext()
{
    const int c = m_current;
    if (c >= kModuleSlots || c + 1 >= m_count)
        return false;
    CModuleMarkingItem& cur = m_items[size_t(c)];
    const int32_t nextWidth = m_items[size_t(c + 1)].m_width;
    const int32_t nextMultiplier = m_items[size_t(c + 1)].m_multiplier;
    if (cur.m_width != nextWidth)
        return false;
    cur.PushJoin(nextMultiplier);
    for (int i = c + 2; i < m_count; ++i)
        MoveModule(i, i - 1);
    m_items[size_t(m_count - 1)].ClearModule();
    --m_count;
    const int64_t sum = int64_t(cur.m_multiplier) + nextMultiplier;
    if (sum > 0 && sum <= INT32_MAX)
        cur.m_multiplier = int32_t(sum);
    return true;
}

bool CModuleMarkingRow::SplitCurrent()
{
    const int c = m_current;
    if (c >= kModuleSlots || m_count + 1 >= kModuleSlots)
        return false;
    CModuleMarkingItem& cur = m_items[size_t(c)];
    if (cur.m_multiplier < 2 || cur.JoinCount() == 0)
        return false;
    // The part taken off must leave a positive multiplier behind, or the
    // split would invent markers.
    const int32_t part = cur.JoinEntry(cur.JoinCount() - 1);
    if (part <= 0 || part >= cur.m_multiplier)
        return false;
    for (int i = m_count - 1; i > c; --i)
        MoveModule(i, i + 1);
    cur.PopJoin();
    CModuleMarkingItem& added = m_items[size_t(c + 1)];
    added.ClearModule();
    added.m_width = cur.m_width;
    added.m_multiplier = part;
    added.m_skip = cur.m_skip;
    ++m_count;
    cur.m_multiplier -= part;
    return true;
}

bool CModuleMarkingRow::ApplyPresets()
{
    if (!m_presetWidthSet && !m_presetMultiplierSet)
        return false;
    CModuleMarkingItem& cur = m_items[size_t(m_current)];
    if (m_presetWidthSet) {
        if (m_presetWidth > 0)
            cur.m_width = m_presetWidth;
        m_presetWidthSet = false;
    }
    if (m_presetMultiplierSet) {
        if (m_presetMultiplier > 0)
            cur.m_multiplier = m_presetMultiplier;
        m_presetMultiplierSet = false;
    }
    return true;
}

CModuleMarkingRow CModuleMarkingRow::CopyWithoutPresets() const
{
    CModuleMarkingRow copy = *this;
    copy.ClearPresetFlags();
    copy.m_presetWidth = 0;
    return copy;
}

// ---------------------------------------------------------------------------
// Device work

int64_t CModuleMarkingRow::CellStart(int n) const
{
    int64_t s = m_leftMargin;
    for (int i = 0; i < n && i < m_count; ++i)
        s += int64_t(m_items[size_t(i)].Length()) + m_items[size_t(i)].m_gap;
    return s;
}

RECT CModuleMarkingRow::CellRect(int n, int32_t sx, int32_t sy, int32_t stripWidth) const
{
    const int64_t s = CellStart(n);
    const int64_t e = s + m_items[size_t(n)].Length();
    RECT r;
    r.left = units::clampAdd(units::UmToPx(units::clamp32(s), sx), 2);
    r.top = 2;
    r.right = units::clampAdd(units::UmToPx(units::clamp32(e), sx), -1);
    r.bottom = units::clampAdd(units::UmToPx(stripWidth, sy), -1);
    return r;
}

bool CModuleMarkingRow::HitTest(const CDC& dc, int zoom, int32_t stripWidth, POINT pt)
{
    const int32_t sx = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSX));
    const int32_t sy = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSY));
    for (int i = 0; i < m_count; ++i) {
        const RECT r = CellRect(i, sx, sy, stripWidth);
        if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom) {
            m_current = i;
            return true;
        }
    }
    return false;
}

void CModuleMarkingRow::DrawGuides(CDC& dc, int zoom, int32_t stripWidth) const
{
    const int32_t sx = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSX));
    const int32_t sy = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSY));
    const int h = units::UmToPx(stripWidth, sy);
    const CPen dotted{PS_DOT, 1, kGuideColor};
    const CPen solid{PS_SOLID, 1, kGuideColor};
    const CPen oldPen = dc.SelectPen(dotted);
    const CBrush oldBrush = dc.SelectBrush(CBrush::Solid(kGuideColor));

    auto vertical = [&](int64_t um) {
        const int x = units::UmToPx(units::clamp32(um), sx);
        dc.MoveTo(x, 0);
        dc.LineTo(x, h);
    };

    if (m_leftMargin != 0)
        vertical(m_leftMargin);

    dc.SelectPen(solid);
    int64_t b = m_leftMargin;
    for (int i = 0; i + 1 < m_count; ++i) {
        const CModuleMarkingItem& item = m_items[size_t(i)];
        b += item.Length();
        const int x1 = units::UmToPx(units::clamp32(b), sx);
        const int x2 = units::UmToPx(units::clamp32(b + item.m_gap), sx);
        if (x1 == x2) {
            dc.MoveTo(x1, 0);
            dc.LineTo(x1, h);
        } else {
            dc.FillSolidRect(RECT{x1, 0, x2, h}.Normalized(), kGuideColor);
        }
        b += item.m_gap;
    }

    if (m_rightMargin != 0) {
        b += m_items[size_t(m_count - 1)].Length();
        dc.SelectPen(dotted);
        vertical(b);
    }
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void CModuleMarkingRow::DrawCurrentModule(CDC& dc, int zoom, int32_t stripWidth, bool active, bool fill,
                                          COLORREF highlight) const
{
    if (!fill || m_current >= m_count)
        return;
    const int32_t sx = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSX));
    const int32_t sy = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSY));
    const RECT r = CellRect(m_current, sx, sy, stripWidth);
    if (!r.IsEmpty())
        dc.FillSolidRect(r, active ? highlight : kInactiveCellColor);
}

void CModuleMarkingRow::DrawSelection(CDC& dc, int scale, POINT corner, int n, int32_t stripWidth) const
{
    if (n < 0 || n >= m_count)
        return;
    const int64_t s = CellStart(n);
    const int64_t e = s + m_items[size_t(n)].Length();
    // Measured from the strip's corner, so that the cell stays on its
    // module whatever the margins, column and scroll position.
    RECT r;
    r.left = units::clampAdd(units::UmToPx(units::clamp32(s), scale), int64_t(corner.x) + 6);
    r.top = units::clamp32(int64_t(corner.y) + 2);
    r.right = units::clampAdd(units::UmToPx(units::clamp32(e), scale), int64_t(corner.x) + 3);
    r.bottom = units::clampAdd(units::UmToPx(stripWidth, scale), int64_t(corner.y) - 1);
    if (!r.IsEmpty())
        dc.FillSolidRect(r, kSelectionCellColor);
}

// ---------------------------------------------------------------------------
// Stream

namespace {
constexpr size_t kRowHeaderBytes = 32;
constexpr size_t kModuleBytes = 17;
} // namespace

bool CModuleMarkingRow::Read(RecordReader& in, CModuleMarkingRow& row)
{
    if (!in.require(kRowHeaderBytes))
        return false;
    CModuleMarkingRow r;
    in.u32(); // reserved
    r.m_presetMultiplier = in.i32();
    const int32_t current = in.i32();
    const int32_t count = in.i32();
    r.m_modulesToAdd = in.i32();
    r.m_leftMargin = in.i32();
    r.m_rightMargin = in.i32();
    r.m_defaultWidth = in.i32();
    if (!in.ok())
        return false;
    if (count < 1 || count > kModuleSlots) {
        in.setDamaged();
        return false;
    }
    if (!in.requireItems(uint64_t(count), kModuleBytes))
        return false;
    for (int i = 0; i < count; ++i) {
        CModuleMarkingItem& item = r.m_items[size_t(i)];
        in.u32(); // reserved
        item.m_width = in.i32();
        item.m_multiplier = in.i32();
        item.m_skip = in.u8() != 0;
        item.m_gap = in.i32();
    }
    if (!in.ok())
        return false;
    // Unused slots carry the row's gap, so modules added later get it.
    for (int i = count; i < kModuleSlots; ++i)
        r.m_items[size_t(i)].m_gap = r.m_items[0].m_gap;
    r.m_count = count;
    r.m_current = std::clamp<int32_t>(current, 0, count - 1);
    row = std::move(r);
    return true;
}

void CModuleMarkingRow::Write(RecordWriter& out) const
{
    out.u32(0);
    out.i32(m_presetMultiplier);
    out.i32(m_current);
    out.i32(m_count);
    out.i32(m_modulesToAdd);
    out.i32(m_leftMargin);
    out.i32(m_rightMargin);
    out.i32(m_defaultWidth);
    for (int i = 0; i < m_count; ++i) {
        const CModuleMarkingItem& item = m_items[size_t(i)];
        out.u32(0);
        out.i32(item.m_width);
        out.i32(item.m_multiplier);
        out.u8(item.m_skip ? 1 : 0);
        out.i32(item.m_gap);
    }
}
