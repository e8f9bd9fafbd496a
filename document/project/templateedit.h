#pragma once
// The shared steps of the template edit operations of the project document
// (projectdoc_*.cpp); not for use outside them.
#include "document/project/projectdoc.h"

#include <cstdint>
#include <string>

namespace templateedit {

// The area collection of the current template an edit may change: null for
// an area above 2 and for a locked template.
CGraphCollection* Editable(CVorteplanSoftLabelDoc& doc, int area);
// The area for queries: null only for an area above 2.
const CGraphCollection* Area(const CVorteplanSoftLabelDoc& doc, int area);
// The label definition of the current template when it may be changed:
// null without one or when the template is locked.
CLabel* EditableLabel(CVorteplanSoftLabelDoc& doc);

// The uniform edit after its tests: snapshot of the area (redo cleared),
// the change, modified flag, design and preview repaint.
template <class Change>
void Commit(CVorteplanSoftLabelDoc& doc, int area, Change&& change)
{
    doc.SaveUndoState(area, true);
    change();
    doc.TemplateEdited();
}

// Whether any selected object answers the predicate.
template <class Pred>
bool AnySelected(const CGraphCollection& c, Pred&& pred)
{
    for (const auto& o : c.Objects())
        if (o->IsSelected() && pred(*o))
            return true;
    return false;
}

// Calls `fn` on every selected object.
template <class Fn>
void ForSelected(CGraphCollection& c, Fn&& fn)
{
    for (const auto& o : c.Objects())
        if (o->IsSelected())
            fn(*o);
}

// A length as the ribbon shows it: "%g mm".
std::string FormatMm(int32_t um);

} // namespace templateedit
