// Undo and redo of the template areas, and the shared steps of the edit
// operations.
#include "document/project/projectdoc.h"
#include "document/project/templateedit.h"
#include "platform/numberformat.h"

namespace templateedit {

CGraphCollection* Editable(CVorteplanSoftLabelDoc& doc, int area)
{
    CTemplate& t = doc.GetCurrentTemplate();
    return t.IsLocked() ? nullptr : t.GetArea(area);
}

const CGraphCollection* Area(const CVorteplanSoftLabelDoc& doc, int area)
{
    return doc.GetCurrentTemplate().GetArea(area);
}

CLabel* EditableLabel(CVorteplanSoftLabelDoc& doc)
{
    CTemplate& t = doc.GetCurrentTemplate();
    return t.IsLocked() ? nullptr : t.GetLabel();
}

std::string FormatMm(int32_t um)
{
    return numfmt::FormatGeneral(um / 1000.0, 6, CurrentNumberLocale().decimalSeparator) + " mm";
}

} // namespace templateedit

void CVorteplanSoftLabelDoc::SaveUndoState(int area, bool clearRedo)
{
    GetCurrentTemplate().SaveUndoState(area, clearRedo);
}

namespace {

// After the area and job came back from a history: a module-marking
// definition follows the restored row again.
void afterRestore(CVorteplanSoftLabelDoc& doc)
{
    CTemplate& t = doc.GetCurrentTemplate();
    if (t.GetLabel() && t.GetLabel()->IsModuleMarking())
        t.ApplyJobRowToLabel();
    doc.TemplateEdited();
}

} // namespace

bool CVorteplanSoftLabelDoc::Undo(int area)
{
    if (!CanUndo(area))
        return false;
    CTemplate& t = GetCurrentTemplate();
    t.GetRedoHistory(area)->Push(t.GetArea(area)->CloneCollection());
    t.GetMarkerRedo().Push(t.GetJob().Clone());
    // The snapshot leaves the history as it becomes the area, so later edits
    // of the area can never reach a snapshot.
    t.ReplaceArea(area, t.GetUndoHistory(area)->Pop());
    const std::unique_ptr<CModuleMarkingJob> job = t.GetMarkerUndo().Pop();
    t.GetJob().CopyFrom(*job);
    afterRestore(*this);
    return true;
}

bool CVorteplanSoftLabelDoc::Redo(int area)
{
    if (!CanRedo(area))
        return false;
    CTemplate& t = GetCurrentTemplate();
    t.SaveUndoState(area, false);
    t.ReplaceArea(area, t.GetRedoHistory(area)->Pop());
    if (const std::unique_ptr<CModuleMarkingJob> job = t.GetMarkerRedo().Pop())
        t.GetJob().CopyFrom(*job);
    afterRestore(*this);
    return true;
}

bool CVorteplanSoftLabelDoc::CanUndo(int area) const
{
    const CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked() || !t.GetArea(area))
        return false;
    return !t.GetUndoHistory(area)->IsEmpty() && !t.GetMarkerUndo().IsEmpty();
}

bool CVorteplanSoftLabelDoc::CanRedo(int area) const
{
    const CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked() || !t.GetArea(area))
        return false;
    return !t.GetRedoHistory(area)->IsEmpty();
}
