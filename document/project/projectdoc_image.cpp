// Template edit operations on image objects: choosing the picture file and
// going back to the picture's natural size.
#include "content/images/graphimage.h"
#include "document/project/projectdoc.h"
#include "document/project/templateedit.h"
#include "platform/codepage.h"
#include "platform/uiservices.h"

#include <QStandardPaths>

using namespace templateedit;

void CVorteplanSoftLabelDoc::ImportImage(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasImageSelected())
        return;
    FileDialogRequest request;
    request.filter = CGraphImage::kFileFilter;
    request.defaultExtension = CGraphImage::kDefaultExtension;
    request.folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const std::optional<QString> chosen = Ui().AskOpenFileName(request);
    if (!chosen)
        return;
    const std::string path = codepage::FromUnicode(*chosen, codepage::kAnsi);
    // A name the image record cannot hold would change nothing.
    if (path.size() >= CGraphImage::kStoredNameSize) {
        ShowUserMessage("The file name is too long to be stored (at most 127 characters):\n" + path, {},
                        MessageIcon::Warning);
        return;
    }
    Commit(*this, area, [&] { c->SetImageFile(path); });
}

void CVorteplanSoftLabelDoc::ResetImageSize(int area)
{
    CGraphCollection* c = Editable(*this, area);
    if (c && c->HasImageSelected())
        Commit(*this, area, [&] { c->ResetSelectedToNaturalSize(); });
}

bool CVorteplanSoftLabelDoc::CanImportImage(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->HasImageSelected();
}

bool CVorteplanSoftLabelDoc::CanResetImage(int area) const
{
    return CanImportImage(area);
}
