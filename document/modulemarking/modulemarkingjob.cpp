#include "document/modulemarking/modulemarkingjob.h"

#include "platform/units.h"

#include <algorithm>

using namespace modulemarking;

CModuleMarkingJob::CModuleMarkingJob()
    : m_rows(1)
{
}

CModuleMarkingRow& CModuleMarkingJob::GetRow(int i)
{
    return m_rows[size_t(std::clamp(i, 0, GetRowCount() - 1))];
}

const CModuleMarkingRow& CModuleMarkingJob::GetRow(int i) const
{
    return m_rows[size_t(std::clamp(i, 0, GetRowCount() - 1))];
}

int32_t CModuleMarkingJob::GetModuleLength(int n) const
{
    return GetCurrentRow().GetModuleLength(n);
}

bool CModuleMarkingJob::CanJoinNext() const
{
    return GetCurrentRow().CanJoinNext();
}

int32_t CModuleMarkingJob::GetCurrentModuleWidth() const
{
    const CModuleMarkingRow& row = GetCurrentRow();
    const int c = row.GetCurrentIndex();
    if (c >= kModuleSlots)
        return -1;
    if (m_usePreset && row.HasPresetWidth())
        return row.GetPresetWidth();
    return row.Module(c).m_width;
}

bool CModuleMarkingJob::SetCurrentModuleWidth(int32_t w)
{
    if (w < kMinModuleWidth || w > kMaxModuleWidth)
        return true;
    CModuleMarkingRow& row = GetCurrentRow();
    if (m_usePreset) {
        row.SetPresetWidth(w);
        return false;
    }
    row.Module(row.GetCurrentIndex()).m_width = w;
    return true;
}

int32_t CModuleMarkingJob::GetRightMargin() const
{
    const CModuleMarkingRow& row = GetCurrentRow();
    if (m_freeLength)
        return row.GetRightMargin();
    return units::clamp32(int64_t(m_materialLength) - row.TotalLength64() + GetFirstRow().GetRightMargin());
}

void CModuleMarkingJob::ToggleFixedLength()
{
    if (m_freeLength) {
        const int64_t total = GetCurrentRow().TotalLength64();
        if (!UnsignedLessEqual(total, m_materialLength))
            m_materialLength = units::clamp32(total);
    }
    m_freeLength = !m_freeLength;
}

bool CModuleMarkingJob::FitsMaterial() const
{
    if (m_freeLength)
        return true;
    const CModuleMarkingRow& row = GetFirstRow();
    const int c = row.GetCurrentIndex();
    const bool valid = c >= 0 && c < row.GetModuleCount() && c < kModuleSlots;
    int32_t w;
    if (c >= kModuleSlots)
        w = -1;
    else if (m_usePreset && row.HasPresetWidth())
        w = row.GetPresetWidth();
    else
        w = row.Module(c).m_width;
    const int32_t m = ((m_usePreset && row.HasPresetMultiplier()) || !valid)
        ? row.GetPresetMultiplier()
        : row.Module(c).m_multiplier;
    const int64_t added = int64_t(row.GetModulesToAdd()) * units::clamp32(int64_t(m) * w);
    const int64_t needed = row.TotalLength64() + added - row.GetRightMargin();
    return UnsignedLessEqual(needed, m_materialLength);
}

bool CModuleMarkingJob::HasRoomForModules(int32_t multiplier) const
{
    if (m_freeLength || m_usePreset)
        return true;
    const CModuleMarkingRow& row = GetFirstRow();
    const int c = row.GetCurrentIndex();
    const int64_t r = int64_t(m_materialLength) - row.GetLeftMargin() - row.ModulesLengthExcept(c)
        - int64_t(multiplier) * row.Module(c).m_width;
    return r > 0;
}

int CModuleMarkingJob::GetRowOfMarker(int n) const
{
    if (n < 0)
        return 0;
    int64_t sum = 0;
    for (int i = 0; i < GetRowCount(); ++i) {
        const int count = m_rows[size_t(i)].GetModuleCount();
        if (n < sum + count)
            return i;
        sum += count;
    }
    // Past the stored rows every further row holds one default module.
    return units::clamp32(int64_t(GetRowCount()) + (int64_t(n) - sum));
}

int CModuleMarkingJob::LocateMarker(int n) const
{
    const int64_t perStrip = std::max(1, GetFirstRow().GetModuleCount());
    const int64_t marker = std::max(1, n);
    return units::clamp32((marker - 1) / perStrip * perStrip + 1);
}

// ---------------------------------------------------------------------------
// Stream

namespace {
constexpr size_t kSmallestRowBytes = 32 + 17; // a row of one module
} // namespace

bool CModuleMarkingJob::Read(RecordReader& in)
{
    if (!in.require(kHeaderBytes))
        return false;
    const uint32_t flags = in.u32();
    const bool freeLength = in.u8() != 0;
    const int32_t materialLength = in.i32();
    const int32_t presetWidth = in.i32();
    const int32_t presetMultiplier = in.i32();
    const uint32_t rowCount = in.u32();
    if (!in.ok() || !in.requireItems(rowCount, kSmallestRowBytes))
        return false;

    std::vector<CModuleMarkingRow> rows = m_rows;
    for (uint32_t i = 0; i < rowCount; ++i) {
        CModuleMarkingRow row;
        if (!CModuleMarkingRow::Read(in, row))
            return false;
        if (i < rows.size())
            rows[i] = std::move(row);
    }

    m_markerBorders = (flags & 1u) != 0;
    m_freeLength = freeLength;
    m_materialLength = materialLength;
    m_presetModuleWidth = presetWidth;
    m_presetMultiplier = presetMultiplier;
    m_rows = std::move(rows);
    return true;
}

void CModuleMarkingJob::Write(RecordWriter& out) const
{
    out.u32(m_markerBorders ? 1u : 0u);
    out.u8(m_freeLength ? 1 : 0);
    out.i32(m_materialLength);
    out.i32(m_presetModuleWidth);
    out.i32(m_presetMultiplier);
    out.u32(1);
    GetFirstRow().Write(out);
}

// ---------------------------------------------------------------------------
// Copies

std::unique_ptr<CModuleMarkingJob> CModuleMarkingJob::Clone() const
{
    auto copy = std::make_unique<CModuleMarkingJob>();
    copy->CopyFrom(*this);
    return copy;
}

void CModuleMarkingJob::CopyFrom(const CModuleMarkingJob& source)
{
    if (&source == this)
        return;
    m_currentRow = 0;
    m_freeLength = source.m_freeLength;
    m_materialLength = source.m_materialLength;
    m_markerBorders = source.m_markerBorders;
    m_usePreset = source.m_usePreset;
    m_presetModuleWidth = source.m_presetModuleWidth;
    m_presetMultiplier = source.m_presetMultiplier;
    m_rows.clear();
    m_rows.push_back(source.GetFirstRow().CopyWithoutPresets());
}
