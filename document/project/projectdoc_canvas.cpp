// What the design canvas asks of the document beyond the template edits.
#include "content/objects/collection.h"
#include "document/project/projectdoc.h"
#include "document/project/templateedit.h"

bool CVorteplanSoftLabelDoc::SetInPlaceText(int area, const std::string& text)
{
    CGraphCollection* c = templateedit::Editable(*this, area);
    if (!c || c->GetSelectedCount() != 1)
        return false;
    c->GetFirstSelected()->SetText(text);
    SetModifiedFlag();
    InvalidateDesignViews();
    InvalidatePreviewViews();
    return true;
}
