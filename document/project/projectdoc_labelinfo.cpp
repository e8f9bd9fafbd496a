// Label information, the printer stored with the label definition, header
// and footer, the template's engraving options and the steps around a print
// run started from the design view.
#include "content/objects/collection.h"
#include "document/catalogue/labelmanager.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "document/project/templateedit.h"
#include "platform/printersettings.h"
#include "platform/uiservices.h"

using namespace templateedit;

namespace {

constexpr int kHeaderPart = 1;
constexpr int kFooterPart = 2;

CLabelFileNew* editableLabelFile(CVorteplanSoftLabelDoc& doc)
{
    return dynamic_cast<CLabelFileNew*>(EditableLabel(doc));
}

// Companion file names keep one byte of their field for the terminator.
bool companionNameFits(const std::string& name)
{
    if (name.size() < kLabelCompanionFileField)
        return true;
    ShowUserMessage("The file name \"" + name + "\" is too long. A label definition holds file names of at most " +
                        std::to_string(kLabelCompanionFileField - 1) + " characters.",
                    {}, MessageIcon::Warning);
    return false;
}

} // namespace

CLabelFileNew* CVorteplanSoftLabelDoc::GetLabelFile() const
{
    return dynamic_cast<CLabelFileNew*>(GetCurrentTemplate().GetLabel());
}

bool CVorteplanSoftLabelDoc::IsLabelDefined() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    return label && label->IsDefined();
}

// --- header and footer ----------------------------------------------------------------------

void CVorteplanSoftLabelDoc::ToggleLabelPart(int part)
{
    CLabelFileNew* label = editableLabelFile(*this);
    if (!label || (part != kHeaderPart && part != kFooterPart))
        return;
    label->TogglePart(part);
    SetModifiedFlag(true);
    InvalidateDesignViews();
    if (part == kFooterPart)
        InvalidatePreviewViews();
}

bool CVorteplanSoftLabelDoc::HasLabelPart(int part) const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    if (!label)
        return false;
    return part == kHeaderPart ? label->HasHeader() : part == kFooterPart && label->HasFooter();
}

// --- stored printer -----------------------------------------------------------------------------

void CVorteplanSoftLabelDoc::ToggleStorePrinter()
{
    if (CLabel* label = EditableLabel(*this)) {
        label->ToggleStorePrinter();
        SetModifiedFlag(true);
    }
}

void CVorteplanSoftLabelDoc::ToggleStorePrinterSettings()
{
    if (CLabel* label = EditableLabel(*this)) {
        label->ToggleStorePrinterSettings();
        SetModifiedFlag(true);
    }
}

bool CVorteplanSoftLabelDoc::SetLabelPrinter(const std::string& device, const std::string& driver,
                                             const std::string& port, const CPrinterSettings* settings)
{
    CLabelFileNew* label = editableLabelFile(*this);
    if (!label)
        return false;
    std::string error;
    if (!label->SetPrinterNames(device, driver, port, &error)) {
        ShowUserMessage(error, {}, MessageIcon::Warning);
        return false;
    }
    SetTemplatePrinter(device, driver, port);
    if (settings && label->IsStorePrinterSettings())
        label->SetPrinterSettings(*settings);
    SetModifiedFlag(true);
    return true;
}

void CVorteplanSoftLabelDoc::GetTemplatePrinter(std::string& device, std::string& driver, std::string& port) const
{
    const CTemplate& t = GetCurrentTemplate();
    device = t.GetPrinterDevice();
    driver = t.GetPrinterDriver();
    port = t.GetPrinterPort();
}

bool CVorteplanSoftLabelDoc::SetTemplatePrinter(const std::string& device, const std::string& driver,
                                                const std::string& port)
{
    for (const std::string* name : {&device, &driver, &port}) {
        if (name->size() >= kPrinterNameField) {
            ShowUserMessage("The printer name \"" + *name + "\" is too long. A template holds printer names of at most " +
                                std::to_string(kPrinterNameField - 1) + " characters.",
                            {}, MessageIcon::Warning);
            return false;
        }
    }
    GetCurrentTemplate().SetPrinterNames(device, driver, port);
    SetModifiedFlag(true);
    return true;
}

// --- label information ------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::SetLabelFamilyName(const std::string& name, CLabelManager* catalogue)
{
    CLabel* label = EditableLabel(*this);
    if (!label || label->GetFamilyName() == name)
        return false;
    label->SetFamilyName(name);
    SetModifiedFlag(true);
    if (catalogue) {
        catalogue->AddFamily(name);
        catalogue->SortFamilies();
    }
    return true;
}

bool CVorteplanSoftLabelDoc::SetLabelImageFile(const std::string& name)
{
    CLabelFileNew* label = editableLabelFile(*this);
    if (!label || !companionNameFits(name))
        return false;
    label->SetPictureFile(name);
    SetModifiedFlag(true);
    return true;
}

bool CVorteplanSoftLabelDoc::SetLabelInfoFile(const std::string& name)
{
    CLabelFileNew* label = editableLabelFile(*this);
    if (!label || !companionNameFits(name))
        return false;
    label->SetInfoFile(name);
    SetModifiedFlag(true);
    return true;
}

void CVorteplanSoftLabelDoc::ClearLabelFiles()
{
    if (CLabelFileNew* label = editableLabelFile(*this)) {
        label->SetPictureFile({});
        label->SetInfoFile({});
        SetModifiedFlag(true);
    }
}

bool CVorteplanSoftLabelDoc::HasLabelFiles() const
{
    const CLabelFileNew* label = GetLabelFile();
    return label && (!label->GetPictureFile().empty() || !label->GetInfoFile().empty());
}

// --- engraving options ----------------------------------------------------------------------

void CVorteplanSoftLabelDoc::ToggleDrawLabelBorders()
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked())
        return;
    t.SetPrintLabelBorders(!t.IsPrintLabelBorders());
    SetModifiedFlag(true);
}

void CVorteplanSoftLabelDoc::TogglePauseBetweenPages()
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked())
        return;
    t.SetBorderOption(!t.GetBorderOption());
    SetModifiedFlag(true);
}

void CVorteplanSoftLabelDoc::SetTemplateBorderColor(COLORREF color)
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked() || t.GetBorderColor() == int32_t(color))
        return;
    t.SetBorderColor(int32_t(color));
    SetModifiedFlag(true);
}

void CVorteplanSoftLabelDoc::SetTemplateBorderWidth(int32_t um)
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked() || um < 0)
        return;
    t.SetBorderWidth(um);
    SetModifiedFlag(true);
}

bool CVorteplanSoftLabelDoc::ImportTemplateFile(const std::string& path)
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked())
        return false;
    // A file that is not read whole changes nothing (the user is told).
    if (!t.LoadFile(path))
        return false;
    TemplateEdited();
    return true;
}

void CVorteplanSoftLabelDoc::ToggleMarkerBorders()
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked() || !IsModuleMarking())
        return;
    SaveUndoState(0, true);
    CModuleMarkingJob& job = t.GetJob();
    job.SetMarkerBorders(!job.HasMarkerBorders());
    // The job is saved with the project: the change must not go unsaved.
    SetModifiedFlag(true);
    InvalidatePreviewViews();
}

// --- after printing ----------------------------------------------------------------------------

void CVorteplanSoftLabelDoc::SaveAfterPrint(int labelsPrinted)
{
    if (labelsPrinted <= 0)
        return;
    CTemplate& t = GetCurrentTemplate();
    bool counters = false;
    for (int a = 0; a < kTemplateAreas; ++a)
        counters = counters || t.GetArea(a)->IsCounter();
    if (!counters)
        return;
    for (int a = 0; a < kTemplateAreas; ++a)
        t.GetArea(a)->AdvanceCounter(labelsPrinted);
    // The advance is a change of the project: a project without a file,
    // or whose save failed (the user has been told), keeps it as an unsaved
    // change; a successful save clears the flag.
    SetModifiedFlag(true);
    if (!GetPathName().isEmpty())
        SaveByExtension(GetPathName());
    InvalidateDesignViews();
    InvalidatePreviewViews();
}
