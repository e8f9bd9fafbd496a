// Template edit operations: selection, moving and resizing, inserting,
// clipboard, structure, alignment, stacking order, duplication, position,
// size, colours and shape properties.
#include "content/images/graphimage.h"
#include "content/objects/graphtext.h"
#include "content/objects/group.h"
#include "document/project/projectdoc.h"
#include "document/project/templateedit.h"

#include <algorithm>

using namespace templateedit;

namespace {

constexpr int kAxisX = 1;
constexpr int kAxisY = 2;
constexpr int32_t kDefaultDesignExtent = 210000;
constexpr int32_t kPastedTextSize = 5000;

// Centres the selected objects of area 0 along `axis` within the start band
// and within each module of the current marking row; true when any moved.
bool centreInModules(CTemplate& t, CGraphCollection& c, int axis)
{
    const CModuleMarkingRow& row = t.GetJob().GetCurrentRow();
    const int32_t strip = t.GetLabel()->GetStripWidth();
    auto centre = [&](int32_t from, int32_t to) {
        const int32_t value = axis == kAxisX ? int32_t((int64_t(from) + to) / 2) : strip / 2;
        return c.CenterObjectsInBand(from, to, strip, axis, value);
    };
    bool moved = centre(0, row.GetLeftMargin());
    for (int n = 0; n < row.GetModuleCount(); ++n) {
        const int32_t pos = row.GetModulePosition(n);
        const int32_t length = row.GetModuleLength(n);
        if (pos >= 0 && length >= 0)
            moved = centre(pos, int32_t(std::min<int64_t>(int64_t(pos) + length, INT32_MAX))) || moved;
    }
    return moved;
}

bool isModuleMarking(const CTemplate& t)
{
    return t.GetLabel() && t.GetLabel()->IsModuleMarking();
}

// A stacking-order step tried on a copy first, so that a step that would
// move nothing leaves no snapshot behind.
template <class Step>
void restack(CVorteplanSoftLabelDoc& doc, int area, Step step)
{
    CGraphCollection* c = Editable(doc, area);
    if (!c || !c->HasSelection() || c->GetCount() < 2)
        return;
    if (!step(*c->CloneCollection()))
        return;
    Commit(doc, area, [&] { step(*c); });
}

template <class Get, class Set, class Value>
void setSelected(CVorteplanSoftLabelDoc& doc, int area, Get get, Set set, Value v)
{
    CGraphCollection* c = Editable(doc, area);
    if (!c || !c->HasSelection() || get(*c) == v)
        return;
    Commit(doc, area, [&] { set(*c, v); });
}

} // namespace

// --- moving and resizing ------------------------------------------------------------------

void CVorteplanSoftLabelDoc::BeginMoveSelection(int area, CTracking& gesture, CDC& dc, int zoom, int x, int y)
{
    if (CGraphCollection* c = GetCurrentTemplate().GetArea(area))
        c->BeginMoveSelected(gesture, dc, zoom, x, y);
}

void CVorteplanSoftLabelDoc::TrackMoveSelection(int area, CTracking& gesture, CDC& dc, int x, int y)
{
    if (CGraphCollection* c = GetCurrentTemplate().GetArea(area))
        c->TrackMoveSelected(gesture, dc, x, y);
}

void CVorteplanSoftLabelDoc::EndMoveSelection(int area, CTracking& gesture, CDC& dc, int x, int y)
{
    CGraphCollection* c = GetCurrentTemplate().GetArea(area);
    if (!c)
        return;
    if (!Editable(*this, area)) {
        c->CancelTrackingSelected(gesture, dc);
        return;
    }
    Commit(*this, area, [&] { c->EndMoveSelected(gesture, dc, x, y); });
}

void CVorteplanSoftLabelDoc::EndResizeSelection(int area, CTracking& gesture, CDC& dc)
{
    CGraphCollection* c = GetCurrentTemplate().GetArea(area);
    if (!c)
        return;
    if (!Editable(*this, area)) {
        c->CancelTrackingSelected(gesture, dc);
        return;
    }
    Commit(*this, area, [&] { c->EndResizeSelected(gesture, dc); });
}

CGraphObject* CVorteplanSoftLabelDoc::GetObjectWithHandleAt(int area, CDC& dc, int zoom, int x, int y) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? c->ObjectWithHandleAt(dc, zoom, x, y) : nullptr;
}

CGraphObject* CVorteplanSoftLabelDoc::GetObjectAt(int area, CDC& dc, int zoom, int x, int y) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? c->ObjectAt(dc, zoom, x, y) : nullptr;
}

CGraphObject* CVorteplanSoftLabelDoc::GetSelectedObjectAt(int area, CDC& dc, int zoom, int x, int y) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? c->SelectedObjectAt(dc, zoom, x, y) : nullptr;
}

// --- inserting, selection, clipboard --------------------------------------------------------

bool CVorteplanSoftLabelDoc::AddObjectToArea(int area, std::unique_ptr<CGraphObject> object)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !object || c->GetCount() >= CGraphCollection::kMaxObjects)
        return false;
    Commit(*this, area, [&] { c->AddTail(std::move(object)); });
    return true;
}

void CVorteplanSoftLabelDoc::DeselectAll(int area)
{
    if (CGraphCollection* c = GetCurrentTemplate().GetArea(area))
        c->DeselectAll();
}

void CVorteplanSoftLabelDoc::SelectAll(int area)
{
    CGraphCollection* c = GetCurrentTemplate().GetArea(area);
    if (!c)
        return;
    if (c->HasSelection())
        c->DeselectAll();
    else
        c->SelectAll();
}

bool CVorteplanSoftLabelDoc::CopySelection(int area, CGraphCollection& clipboard) const
{
    const CGraphCollection* c = Area(*this, area);
    if (!c || !c->HasSelection())
        return false;
    c->CopySelectedTo(&clipboard);
    return true;
}

bool CVorteplanSoftLabelDoc::DeleteSelection(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasSelection())
        return false;
    Commit(*this, area, [&] { c->DeleteSelected(); });
    return true;
}

bool CVorteplanSoftLabelDoc::PasteObjects(int area, const CGraphCollection& clipboard)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || clipboard.IsEmpty() || c == &clipboard ||
        c->GetCount() + clipboard.GetCount() > CGraphCollection::kMaxObjects)
        return false;
    Commit(*this, area, [&] {
        c->DeselectAll();
        c->PasteFrom(clipboard);
    });
    return true;
}

bool CVorteplanSoftLabelDoc::PasteTextObject(int area, const std::string& text)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || c->GetCount() >= CGraphCollection::kMaxObjects)
        return false;
    auto object = std::make_unique<CGraphTextExt>();
    object->SetWidth(kPastedTextSize);
    object->SetHeight(kPastedTextSize);
    object->InitFromClipboardText(GetDefaultFont(), text);
    object->SetSelected(true);
    c->AddTail(std::move(object));
    TemplateEdited();
    return true;
}

bool CVorteplanSoftLabelDoc::PasteImageObject(int area, int format, std::string_view block)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || c->GetCount() >= CGraphCollection::kMaxObjects)
        return false;
    auto object = std::make_unique<CGraphImageExtExt>();
    object->InitFromClipboard(format, block);
    object->SetSelected(true);
    c->AddTail(std::move(object));
    TemplateEdited();
    return true;
}

// --- structure ------------------------------------------------------------------------------

void CVorteplanSoftLabelDoc::RotateSelectionLeft(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection())
        Commit(*this, area, [&] { c->RotateSelected(1); });
}

void CVorteplanSoftLabelDoc::RotateSelectionRight(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection())
        Commit(*this, area, [&] { c->RotateSelected(-1); });
}

void CVorteplanSoftLabelDoc::CombineSelection(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || c->GetSelectedCount() < 2)
        return;
    SaveUndoState(area, true);
    auto group = std::make_unique<CGraphGroup>();
    c->MoveSelectedToGroup(*group);
    group->RefreshBox();
    group->SetSelected(true);
    c->AddTail(std::move(group));
    SetModifiedFlag(true);
}

void CVorteplanSoftLabelDoc::SplitSelection(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasGroupSelected())
        return;
    SaveUndoState(area, true);
    c->UngroupSelected();
    SetModifiedFlag(true);
}

// --- alignment and spacing ------------------------------------------------------------------

void CVorteplanSoftLabelDoc::CenterSelectionHorizontal(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasSelection())
        return;
    CTemplate& t = GetCurrentTemplate();
    const CLabel* label = t.GetLabel();
    const bool single = c->GetSelectedCount() == 1;
    // A single object is centred on the area, which needs its width.
    if (single && !label)
        return;
    SaveUndoState(area, true);
    bool moved;
    if (area == 0 && isModuleMarking(t))
        moved = centreInModules(t, *c, kAxisX);
    else if (single)
        moved = c->SetSelectedCenter(label->GetWidth(area) / 2, kAxisX);
    else
        moved = c->SetSelectedCenter(c->GetSelectedMeanCenter(kAxisX), kAxisX);
    if (moved)
        TemplateEdited();
}

void CVorteplanSoftLabelDoc::CenterSelectionVertical(int area)
{
    CGraphCollection* c = Editable(*this, area);
    CTemplate& t = GetCurrentTemplate();
    if (!c || area != 0 || !c->HasSelection() || !isModuleMarking(t))
        return;
    SaveUndoState(area, true);
    if (centreInModules(t, *c, kAxisY))
        TemplateEdited();
}

void CVorteplanSoftLabelDoc::AlignSelectionLeft(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection())
        Commit(*this, area, [&] { c->SetSelectedLeft(c->GetSelectedMinLeft()); });
}

void CVorteplanSoftLabelDoc::AlignSelectionTop(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection())
        Commit(*this, area, [&] { c->SetSelectedTop(c->GetSelectedMinTop()); });
}

void CVorteplanSoftLabelDoc::AlignSelectionRight(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection())
        Commit(*this, area, [&] { c->SetSelectedRight(c->GetSelectedMaxRight()); });
}

void CVorteplanSoftLabelDoc::AlignSelectionBottom(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection())
        Commit(*this, area, [&] { c->SetSelectedBottom(c->GetSelectedMaxBottom()); });
}

void CVorteplanSoftLabelDoc::SpaceEvenlyHorizontal(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->GetSelectedCount() >= 3)
        Commit(*this, area, [&] { c->SpaceSelectedEvenlyHorizontal(); });
}

void CVorteplanSoftLabelDoc::SpaceEvenlyVertical(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->GetSelectedCount() >= 3)
        Commit(*this, area, [&] { c->SpaceSelectedEvenlyVertical(); });
}

// --- stacking order -------------------------------------------------------------------------

void CVorteplanSoftLabelDoc::BringToFront(int area)
{
    restack(*this, area, [](CGraphCollection& c) { return c.BringToFront(); });
}

void CVorteplanSoftLabelDoc::SendToBack(int area)
{
    restack(*this, area, [](CGraphCollection& c) { return c.SendToBack(); });
}

void CVorteplanSoftLabelDoc::BringForward(int area)
{
    restack(*this, area, [](CGraphCollection& c) { return c.BringForward(); });
}

void CVorteplanSoftLabelDoc::SendBackward(int area)
{
    restack(*this, area, [](CGraphCollection& c) { return c.SendBackward(); });
}

// --- duplication ----------------------------------------------------------------------------

void CVorteplanSoftLabelDoc::DuplicateBelow(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection() && c->GetCount() + c->GetSelectedCount() <= CGraphCollection::kMaxObjects)
        Commit(*this, area, [&] { c->DuplicateSelectionBelow(); });
}

void CVorteplanSoftLabelDoc::DuplicateRight(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection() && c->GetCount() + c->GetSelectedCount() <= CGraphCollection::kMaxObjects)
        Commit(*this, area, [&] { c->DuplicateSelectionRight(); });
}

void CVorteplanSoftLabelDoc::DuplicateAbove(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection() && c->GetCount() + c->GetSelectedCount() <= CGraphCollection::kMaxObjects)
        Commit(*this, area, [&] { c->DuplicateSelectionAbove(); });
}

void CVorteplanSoftLabelDoc::DuplicateLeft(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasSelection() && c->GetCount() + c->GetSelectedCount() <= CGraphCollection::kMaxObjects)
        Commit(*this, area, [&] { c->DuplicateSelectionLeft(); });
}

// --- position, size, colours, shapes ----------------------------------------------------------

void CVorteplanSoftLabelDoc::SetSelectionX(int area, int32_t um)
{
    setSelected(*this, area, [](const CGraphCollection& c) { return c.GetSelectedX(); },
                [](CGraphCollection& c, int32_t v) { c.SetSelectedX(v); }, um);
}

void CVorteplanSoftLabelDoc::SetSelectionY(int area, int32_t um)
{
    setSelected(*this, area, [](const CGraphCollection& c) { return c.GetSelectedY(); },
                [](CGraphCollection& c, int32_t v) { c.SetSelectedY(v); }, um);
}

void CVorteplanSoftLabelDoc::SetSelectionWidth(int area, int32_t um)
{
    setSelected(*this, area, [](const CGraphCollection& c) { return c.GetSelectedWidth(); },
                [](CGraphCollection& c, int32_t v) { c.SetSelectedWidth(v); }, um);
}

void CVorteplanSoftLabelDoc::SetSelectionHeight(int area, int32_t um)
{
    setSelected(*this, area, [](const CGraphCollection& c) { return c.GetSelectedHeight(); },
                [](CGraphCollection& c, int32_t v) { c.SetSelectedHeight(v); }, um);
}

void CVorteplanSoftLabelDoc::SetTextColor(int area, COLORREF color)
{
    setSelected(*this, area, [](const CGraphCollection& c) { return c.GetSelectedTextColor(); },
                [](CGraphCollection& c, COLORREF v) { c.SetSelectedTextColor(v); }, color);
}

void CVorteplanSoftLabelDoc::SetBorderColor(int area, COLORREF color)
{
    setSelected(*this, area, [](const CGraphCollection& c) { return c.GetSelectedBorderColor(); },
                [](CGraphCollection& c, COLORREF v) { c.SetSelectedBorderColor(v); }, color);
}

void CVorteplanSoftLabelDoc::SetFillColor(int area, COLORREF color)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !AnySelected(*c, [](const CGraphObject& o) { return o.HasFill(); }))
        return;
    // Setting the fill also clears transparency: equal only when both hold.
    if (c->GetSelectedFillColor() == color && !c->GetSelectedTransparent())
        return;
    Commit(*this, area, [&] { c->SetSelectedFillColor(color); });
}

void CVorteplanSoftLabelDoc::ToggleTransparent(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasSelectedTransparency())
        return;
    const bool on = !c->GetFirstSelected()->GetTransparent();
    Commit(*this, area, [&] { c->SetSelectedTransparent(on); });
}

void CVorteplanSoftLabelDoc::SetBorderLineWidth(int area, int32_t um)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !AnySelected(*c, [](const CGraphObject& o) { return o.HasBorder(); }) ||
        c->GetSelectedLineWidth() == um)
        return;
    Commit(*this, area, [&] { c->SetSelectedLineWidth(um); });
}

void CVorteplanSoftLabelDoc::SetCornerRadius(int area, int32_t um)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || c->GetSelectedCornerRadius() == -1 || c->GetSelectedCornerRadius() == um)
        return;
    Commit(*this, area, [&] { c->SetSelectedCornerRadius(um); });
}

void CVorteplanSoftLabelDoc::ToggleWarningSign(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasSelectedWarningSignOption())
        return;
    const bool on = !c->GetSelectedWarningSign();
    Commit(*this, area, [&] { c->SetSelectedWarningSign(on); });
}

// --- queries --------------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::HasSelection(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->HasSelection();
}

int CVorteplanSoftLabelDoc::GetSelectedCount(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? int(c->GetSelectedCount()) : 0;
}

CGraphObject* CVorteplanSoftLabelDoc::GetFirstSelected(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? c->GetFirstSelected() : nullptr;
}

bool CVorteplanSoftLabelDoc::CanSplit(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->HasGroupSelected();
}

bool CVorteplanSoftLabelDoc::CanRotate(int area) const
{
    return HasSelection(area) && !GetCurrentTemplate().IsLocked();
}

bool CVorteplanSoftLabelDoc::CanCutCopy(int area) const
{
    return HasSelection(area);
}

bool CVorteplanSoftLabelDoc::CanAlignSelection(int area) const
{
    return GetSelectedCount(area) >= 2;
}

bool CVorteplanSoftLabelDoc::CanSpaceEvenly(int area) const
{
    return GetSelectedCount(area) >= 3;
}

bool CVorteplanSoftLabelDoc::CanPaste(int area) const
{
    return Area(*this, area) && !GetCurrentTemplate().IsLocked();
}

bool CVorteplanSoftLabelDoc::CanSelectAll(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && !c->IsEmpty();
}

bool CVorteplanSoftLabelDoc::CanSetColors(int area) const
{
    return HasSelection(area);
}

namespace {

std::string mmOrEmpty(int32_t um)
{
    return um == -1 ? std::string() : FormatMm(um);
}

} // namespace

std::string CVorteplanSoftLabelDoc::GetSelectionXText(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? mmOrEmpty(c->GetSelectedX()) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetSelectionYText(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? mmOrEmpty(c->GetSelectedY()) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetSelectionWidthText(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? mmOrEmpty(c->GetSelectedWidth()) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetSelectionHeightText(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? mmOrEmpty(c->GetSelectedHeight()) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetBorderLineWidthText(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? FormatMm(c->GetSelectedLineWidth()) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetCornerRadiusText(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? mmOrEmpty(c->GetSelectedCornerRadius()) : std::string();
}

int32_t CVorteplanSoftLabelDoc::GetDesignWidth(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    const CLabel* label = GetCurrentTemplate().GetLabel();
    if (!c || !label)
        return kDefaultDesignExtent;
    const int64_t extent = std::max<int64_t>(c->GetMaxRight(), label->GetWidth(area));
    return int32_t(std::min<int64_t>(extent * 125 / 100, INT32_MAX));
}

int32_t CVorteplanSoftLabelDoc::GetDesignHeight(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    const CLabel* label = GetCurrentTemplate().GetLabel();
    if (!c || !label)
        return kDefaultDesignExtent;
    const int64_t extent = std::max<int64_t>(c->GetMaxBottom(), label->GetHeight(area));
    return int32_t(std::min<int64_t>(extent * 125 / 100, INT32_MAX));
}
