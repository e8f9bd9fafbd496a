#include "document/template/helplines.h"

#include "document/label/label.h"
#include "platform/units.h"

#include <algorithm>

void CHelpLines::SetHorizontalCount(int n)
{
    m_horizontalCount = std::clamp(n, -1, kMaxCount);
}

void CHelpLines::SetVerticalCount(int n)
{
    m_verticalCount = std::clamp(n, -1, kMaxCount);
}

bool CHelpLines::Load(RecordReader& r)
{
    // Field by field: a record cut short keeps the fields read whole.
    StoreIfRead(r, m_horizontalOn, r.boolean8());
    StoreIfRead(r, m_verticalOn, r.boolean8());
    StoreIfRead(r, m_horizontalCount, int32_t(r.i16()) - 1);
    StoreIfRead(r, m_verticalCount, int32_t(r.i16()) - 1);
    return r.ok();
}

void CHelpLines::Save(RecordWriter& w) const
{
    w.boolean8(m_horizontalOn);
    w.boolean8(m_verticalOn);
    w.i16(int16_t(m_horizontalCount + 1));
    w.i16(int16_t(m_verticalCount + 1));
}

namespace {

// Position of line i of n across a length of `um` at `ppi`.
int32_t linePosition(int32_t um, int n, int i, int32_t ppi)
{
    const int64_t step = int64_t(um) / (int64_t(n) + 1);
    return units::clamp32((int64_t(i) * step * ppi + 12700) / 25400);
}

} // namespace

void CHelpLines::Draw(CDC& dc, int part, int zoom, const CLabel* label) const
{
    if (!label)
        return;
    const CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_DOT, 1, RGB(0, 0, 0)});
    dc.SetROP2(R2_XORPEN);
    dc.SetBkMode(OPAQUE);
    const int32_t dx = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSX));
    const int32_t dy = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSY));
    const int32_t width = label->GetWidth(part);
    const int32_t height = label->GetHeight(part);
    if (m_horizontalOn && m_horizontalCount > 0) {
        const int32_t w = units::UmToPx(width, dx);
        for (int i = 1; i <= m_horizontalCount; ++i) {
            const int32_t y = linePosition(height, m_horizontalCount, i, dy);
            dc.MoveTo(0, y);
            dc.LineTo(w - 1, y);
            dc.MoveTo(1, y);
            dc.LineTo(w, y);
        }
    }
    if (m_verticalOn && m_verticalCount > 0) {
        const int32_t h = units::UmToPx(height, dy);
        for (int i = 1; i <= m_verticalCount; ++i) {
            const int32_t x = linePosition(width, m_verticalCount, i, dx);
            dc.MoveTo(x, 0);
            dc.LineTo(x, h - 1);
            dc.MoveTo(x, 1);
            dc.LineTo(x, h);
        }
    }
}
