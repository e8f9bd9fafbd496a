// Area drawing of the project document: the design view, the preview and
// the print run draw a label through these, so it looks the same on the
// screen and on paper.
#include "document/project/projectdoc.h"

#include "platform/units.h"

#include <algorithm>
#include <limits>

namespace {

constexpr const char* kNoLabelHint = "Design: Select a standard label or create a new one";

// The end band of a module-marking strip reaches this far (um) on material
// of free length.
constexpr int32_t kStripEnd = 1000000;

} // namespace

void CVorteplanSoftLabelDoc::DrawLabelBackground(int zoom, CDC& dc, int part)
{
    const CTemplate& tpl = GetCurrentTemplate();
    const CLabel* label = tpl.GetLabel();
    if (!label) {
        CDCStateScope state(dc);
        dc.SetBkMode(TRANSPARENT);
        RECT r{20, 20, 600, 100};
        dc.DrawText(kNoLabelHint, r, DT_LEFT | DT_TOP | DT_WORDBREAK);
        return;
    }
    label->DrawPart(part, dc, zoom, 0, 0);
    if (label->IsModuleMarking())
        tpl.GetJob().GetCurrentRow().DrawGuides(dc, zoom, label->GetStripWidth());
}

void CVorteplanSoftLabelDoc::DrawCurrentMarker(CDC& dc, int zoom, bool focused, bool selectModules)
{
    const CTemplate& tpl = GetCurrentTemplate();
    const CLabel* label = tpl.GetLabel();
    if (!label || !label->IsModuleMarking())
        return;
    tpl.GetJob().GetCurrentRow().DrawCurrentModule(dc, zoom, label->GetStripWidth(), focused, selectModules);
}

bool CVorteplanSoftLabelDoc::DrawArea(int area, CDC& dc, const AreaDrawRequest& request)
{
    CTemplate& tpl = GetCurrentTemplate();
    CGraphCollection* objects = tpl.GetArea(area);
    if (!objects)
        return true;
    TableSlot& s = currentSlot();
    DrawArgs args;
    args.dc = &dc;
    args.zoom = request.zoom;
    args.offsetX = request.originX;
    args.offsetY = request.originY;
    args.frame = request.borders && tpl.IsFieldContours();
    args.cutResX = request.resolutionX;
    args.cutResY = request.resolutionY;
    args.labelNumber = request.labelNumber;
    args.flags = request.flags;
    args.table = IsTableFilterEnabled() ? s.filtered.get() : s.table.get();
    args.columnMap = &s.map;
    args.placeholder = request.placeholder;

    const CLabel* label = tpl.GetLabel();
    if (label && label->IsModuleMarking())
        return drawModuleMarkingArea(*objects, tpl, args, request);
    return objects->Draw(args);
}

// The area is cut into bands along the strip: the start margin, one band
// per module and the rest of the strip. An object belongs to the band that
// holds the middle of its width and is drawn with that band's table row.
// Objects that lie in no band (left of the strip, or beyond the last band
// drawn) are drawn once more at the end with the first row.
bool CVorteplanSoftLabelDoc::drawModuleMarkingArea(CGraphCollection& area, const CTemplate& tpl,
                                                   const DrawArgs& base, const AreaDrawRequest& request)
{
    const CModuleMarkingJob& job = tpl.GetJob();
    const CModuleMarkingRow& row = job.GetCurrentRow();
    DrawArgs args = base;
    auto band = [&](int64_t from, int64_t to, int labelNumber) {
        args.labelNumber = labelNumber;
        return area.DrawBand(units::clamp32(from), units::clamp32(to), args);
    };

    int64_t end = row.GetLeftMargin();
    if (!band(0, end, -1))
        return false;

    int label = request.labelNumber;
    for (int i = 0; i < row.GetModuleCount(); ++i) {
        const int64_t start = row.GetModulePosition(i);
        end = start + row.GetModuleLength(i);
        if (row.Module(i).m_skip) {
            if (!band(start, end, -1))
                return false;
            continue;
        }
        const int number = label;
        if (label > 0)
            ++label;
        bool wanted = true;
        if (number > 0 && request.selection && !request.selection->IsRowSelected(number - 1))
            wanted = false;
        if (number > 0 && request.rangeOnly && (number < request.rangeFirst || number > request.rangeLast))
            wanted = false;
        if (wanted && !band(start, end, number))
            return false;
    }

    const int64_t limit = job.IsFreeLength() ? kStripEnd : job.GetMaterialLength();
    int64_t covered = end;
    if (limit - end > 0) {
        if (!band(end, limit, -1))
            return false;
        covered = limit;
    }

    args.labelNumber = request.labelNumber;
    if (!area.DrawBand(std::numeric_limits<int32_t>::min(), 0, args))
        return false;
    return area.DrawBand(units::clamp32(covered), std::numeric_limits<int32_t>::max(), args);
}

void CVorteplanSoftLabelDoc::DrawAreaObjects(int area, CDC& dc, int zoom)
{
    if (CGraphCollection* objects = GetCurrentTemplate().GetArea(area))
        for (const auto& object : objects->Objects())
            object->DrawHandlesIfSelected(dc, zoom);
}
