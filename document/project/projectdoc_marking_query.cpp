// Module-marking operations of the current template that do not reshape the
// strip: the mode switch, the marker texts, navigation, presets, totals and
// the queries of the design view, preview, guide and print run.
#include "content/objects/graphtext.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "document/project/projectdoc_marking.h"
#include "document/project/templateedit.h"
#include "platform/units.h"

#include <algorithm>

using namespace templateedit;
using namespace marking;

namespace {

constexpr int32_t kStripWidth = 13800;
// The marker text keeps this fraction of the strip width free on each side.
constexpr int32_t kTextMarginDivisor = 20;

bool isModuleMarking(const CTemplate& t)
{
    return t.GetLabel() && t.GetLabel()->IsModuleMarking();
}

const CModuleMarkingRow& currentRow(const CVorteplanSoftLabelDoc& doc)
{
    return doc.GetCurrentTemplate().GetJob().GetCurrentRow();
}

} // namespace

bool CVorteplanSoftLabelDoc::IsModuleMarking() const
{
    return isModuleMarking(GetCurrentTemplate());
}

void CVorteplanSoftLabelDoc::ToggleModuleMarking()
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked())
        return;
    const bool hadLabel = t.GetLabel() != nullptr;
    if (!t.ToggleModuleMarking() || !t.ApplyJobRowToLabel())
        return;
    if (!hadLabel)
        CreateMarkerTexts(-1);
    if (hadLabel) {
        for (int a = 0; a < kTemplateAreas; ++a) {
            SaveUndoState(a, true);
            t.GetArea(a)->RemoveAll();
        }
        CLabel& label = *t.GetLabel();
        label.SetPaperCode(kPaperUser);
        label.SetOrientation(kLandscape);
        label.SetColumns(1);
        label.SetRows(1);
        label.SetModified(true);
        label.SetTop(0, 0);
        label.SetStripWidth(kStripWidth);
        label.SetLeft(0, 0);
        label.SetShape(0, kShapeRectangle);
    }
    if (t.GetJob().GetFirstRow().GetModuleCount() == 1)
        CreateMarkerTexts(-1);
    TemplateEdited();
}

int32_t CVorteplanSoftLabelDoc::GetStripWidth() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    return label ? label->GetStripWidth() : 0;
}

bool CVorteplanSoftLabelDoc::SetStripWidth(int32_t width)
{
    CLabel* label = EditableLabel(*this);
    return label && label->SetStripWidth(width);
}

int32_t CVorteplanSoftLabelDoc::GetMaterialLength() const
{
    const CModuleMarkingJob& job = GetCurrentTemplate().GetJob();
    return job.IsFreeLength() ? job.GetCurrentRow().GetTotalLength() : job.GetMaterialLength();
}

int32_t CVorteplanSoftLabelDoc::GetCurrentMultiplier() const
{
    const CModuleMarkingJob& job = GetCurrentTemplate().GetJob();
    const CModuleMarkingRow& row = job.GetFirstRow();
    if (job.IsUsePreset() && row.HasPresetMultiplier())
        return row.GetPresetMultiplier();
    const int c = row.GetCurrentIndex();
    if (c >= 0 && c < row.GetModuleCount())
        return row.Module(c).m_multiplier;
    return row.GetPresetMultiplier();
}

void CVorteplanSoftLabelDoc::SetModulesToAdd(int32_t n)
{
    if (!GetCurrentTemplate().IsLocked())
        GetCurrentTemplate().GetJob().GetCurrentRow().SetModulesToAdd(n);
}

int32_t CVorteplanSoftLabelDoc::GetModulesToAdd() const
{
    return currentRow(*this).GetModulesToAdd();
}

bool CVorteplanSoftLabelDoc::CanUpdateMarker() const
{
    const CModuleMarkingJob& job = GetCurrentTemplate().GetJob();
    const CModuleMarkingRow& row = job.GetFirstRow();
    return job.IsUsePreset() && (row.HasPresetWidth() || row.HasPresetMultiplier());
}

bool CVorteplanSoftLabelDoc::CanDeleteMarker() const
{
    return currentRow(*this).GetModuleCount() > 1 && IsModuleMarking();
}

bool CVorteplanSoftLabelDoc::CanJoinMarker() const
{
    return GetCurrentTemplate().GetJob().CanJoinNext() && IsModuleMarking();
}

bool CVorteplanSoftLabelDoc::CanSplitMarker() const
{
    const CModuleMarkingRow& row = currentRow(*this);
    const CModuleMarkingItem& m = row.Module(row.GetCurrentIndex());
    return m.m_multiplier > 1 && m.JoinCount() > 0 && IsModuleMarking();
}

int32_t CVorteplanSoftLabelDoc::GetModuleGap() const
{
    return GetCurrentTemplate().GetJob().GetFirstRow().GetGap();
}

int32_t CVorteplanSoftLabelDoc::GetMarkingLeftMargin() const
{
    return currentRow(*this).GetLeftMargin();
}

// --- navigation ---------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::GotoMarker(int n)
{
    CModuleMarkingRow& row = GetCurrentTemplate().GetJob().GetCurrentRow();
    if (n == row.GetCurrentIndex())
        return false;
    return row.SetCurrentIndex(n);
}

bool CVorteplanSoftLabelDoc::GotoFirstMarker()
{
    return GotoMarker(0);
}

bool CVorteplanSoftLabelDoc::GotoPreviousMarker()
{
    return GotoMarker(GetCurrentMarkerNumber() - 1);
}

bool CVorteplanSoftLabelDoc::GotoNextMarker()
{
    return GotoMarker(GetCurrentMarkerNumber() + 1);
}

bool CVorteplanSoftLabelDoc::GotoLastMarker()
{
    return GotoMarker(currentRow(*this).GetModuleCount() - 1);
}

int CVorteplanSoftLabelDoc::GetCurrentMarkerNumber() const
{
    return currentRow(*this).GetCurrentIndex();
}

bool CVorteplanSoftLabelDoc::CanGotoNextMarker() const
{
    const CModuleMarkingRow& row = currentRow(*this);
    return row.GetCurrentIndex() + 1 < row.GetModuleCount() && IsModuleMarking();
}

bool CVorteplanSoftLabelDoc::CanGotoPreviousMarker() const
{
    return currentRow(*this).GetCurrentIndex() != 0 && IsModuleMarking();
}

// --- totals and lookups ---------------------------------------------------------------------

int32_t CVorteplanSoftLabelDoc::GetMarkerLength(int n) const
{
    return currentRow(*this).GetModuleLength(n);
}

int32_t CVorteplanSoftLabelDoc::GetMarkerPosition(int n) const
{
    return currentRow(*this).GetModulePosition(n);
}

int CVorteplanSoftLabelDoc::GetModuleCount() const
{
    return GetCurrentTemplate().GetJob().GetFirstRow().GetModuleCount();
}

int CVorteplanSoftLabelDoc::GetCurrentRowModuleCount() const
{
    return IsModuleMarking() ? currentRow(*this).GetModuleCount() : 1;
}

int CVorteplanSoftLabelDoc::LocateMarker(int n) const
{
    return GetCurrentTemplate().GetJob().LocateMarker(n);
}

bool CVorteplanSoftLabelDoc::HitTestMarkers(const CDC& dc, int zoom, POINT point)
{
    CTemplate& t = GetCurrentTemplate();
    if (!t.GetLabel())
        return false;
    return t.GetJob().GetCurrentRow().HitTest(dc, zoom, t.GetLabel()->GetHeight(0), point);
}

void CVorteplanSoftLabelDoc::DrawMarkerSelection(CDC& dc, int scale, POINT corner, int module) const
{
    GetCurrentTemplate().GetJob().GetFirstRow().DrawSelection(dc, scale, corner, module, GetStripWidth());
}

// --- marker texts -----------------------------------------------------------------------------

void CVorteplanSoftLabelDoc::CreateMarkerTexts(int n)
{
    CTemplate& t = GetCurrentTemplate();
    const CLabel* label = t.GetLabel();
    CGraphCollection* area = Editable(*this, 0);
    if (!label || !area)
        return;
    const CModuleMarkingJob& job = t.GetJob();
    const CModuleMarkingRow& row = job.GetCurrentRow();
    const bool marking = label->IsModuleMarking();

    // The band about to be filled is emptied first: the whole strip, or the
    // band of module n.
    Bands bands(*area);
    if (n == -1)
        bands.Delete(0, job.IsFreeLength() ? row.TotalLength64() : job.GetMaterialLength());
    else if (n >= 0 && n < row.GetModuleCount())
        bands.Delete(Position(row, n), Position(row, n) + Length(row, n));

    const int64_t h = label->GetHeight(0);
    const int64_t margin = h / kTextMarginDivisor;
    const TemplateGuideTable* guide = t.GetGuideTable(0);
    for (int i = 0; i < (marking ? row.GetModuleCount() : 1); ++i) {
        if ((marking && row.Module(i).m_skip) || (n != -1 && n != i))
            continue;
        const int64_t w = marking ? Length(row, i) : label->GetWidth(0);
        auto text = std::make_unique<CGraphTextExt>();
        text->SetCenterVertical(true);
        text->SetX(units::clamp32(margin + (marking ? Position(row, i) : 0)));
        text->SetY(units::clamp32(margin));
        text->SetWidth(units::clamp32(w - 2 * margin));
        text->SetHeight(units::clamp32(h - 2 * margin));
        text->SetLogFont(GetDefaultFont());
        text->SetSourceType(kTextKindTable);
        // The marker layout names table column A in its first text row.
        text->SetSourceColumnText("A");
        text->SetSeparatorName(guide->delimiters[0]);
        area->AddTail(std::move(text));
    }
    TemplateEdited();
}

// --- queries of the design view and the print run -------------------------------------------

bool CVorteplanSoftLabelDoc::CanUseTableSource(bool ignoreMarking) const
{
    const CTemplate& t = GetCurrentTemplate();
    if (!isModuleMarking(t) || ignoreMarking)
        return true;
    const CModuleMarkingRow& row = t.GetJob().GetCurrentRow();
    const CGraphCollection& area = *t.GetArea(0);
    int64_t s = row.GetLeftMargin();
    for (int i = 0; i < row.GetModuleCount(); ++i) {
        const int64_t e = s + Length(row, i);
        if (!row.Module(i).m_skip && area.HasTableSourceInBand(units::clamp32(s), units::clamp32(e)))
            return true;
        s = e;
    }
    return false;
}

bool CVorteplanSoftLabelDoc::IsInSkippedMarker(int32_t from, int32_t to) const
{
    const CModuleMarkingRow& row = currentRow(*this);
    int64_t s = row.GetLeftMargin();
    for (int i = 0; i < row.GetModuleCount(); ++i) {
        const int64_t e = s + Length(row, i);
        if (s <= from && e >= to && row.Module(i).m_skip)
            return true;
        s = e;
    }
    return false;
}

bool CVorteplanSoftLabelDoc::CanCenterSelection() const
{
    const CGraphCollection* area = GetCurrentTemplate().GetArea(0);
    return area && area->HasSelectedCenterInRange(GetMaterialLength(), GetStripWidth());
}

void CVorteplanSoftLabelDoc::ApplyToFirstArea()
{
    CGraphCollection* area = Editable(*this, 0);
    if (!area || !area->HasSelectedTableFlagOption())
        return;
    SaveUndoState(0, true);
    area->ToggleSelectedTableFlag();
}

void CVorteplanSoftLabelDoc::SetZoomRate(int area, int32_t percent)
{
    if (area >= 0 && area < kTemplateAreas && percent >= kTemplateMinZoom && percent <= kTemplateMaxZoom)
        GetCurrentTemplate().SetZoom(area, percent);
}

int32_t CVorteplanSoftLabelDoc::GetAreaZoom(int area) const
{
    return GetCurrentTemplate().GetZoom(area);
}
