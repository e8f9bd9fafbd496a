// The label-information and engraving commands of the design canvas:
// marking and printer types, family, article numbers, companion files, and
// the template's border and pause options.
#include "shell/design/designview.h"

#include "document/catalogue/labelmanager.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/commandids.h"
#include "platform/uiservices.h"
#include "shell/application/datafolders.h"
#include "shell/design/designcommandtext.h"
#include "shell/design/designlength.h"
#include "shell/frame/ribbonbar.h"
#include "shell/labelarticlenodlg.h"

#include <QFileInfo>

#include <array>

namespace {

struct TypeBit {
    int id;
    uint32_t bit;
};
constexpr std::array<TypeBit, 7> kMarkingTypes{{
    {cmd::kMarkingWire, 1},
    {cmd::kMarkingCable, 2},
    {cmd::kMarkingComponent, 4},
    {cmd::kMarkingTerminalBlock, 8},
    {cmd::kMarkingPlc, 16},
    {cmd::kMarkingOther, 32},
    {cmd::kMarkingModule, 64},
}};
constexpr std::array<TypeBit, 4> kPrinterTypes{{
    {cmd::kPrinterLaser, 1},
    {cmd::kPrinterThermo, 4},
    {cmd::kPrinterThermalTransfer, 8},
    {cmd::kPrinterOther, 0x80000000u},
}};

// The catalogue's non-empty family names, each once, in its sorted order.
QStringList familyNames(const CLabelManager& catalogue)
{
    QStringList names;
    for (int i = 0; i < catalogue.GetFamilyCount(); ++i) {
        const std::string name = catalogue.GetFamilyName(i);
        if (!name.empty())
            names << codepage::ToUnicode(name);
    }
    names.removeDuplicates();
    return names;
}

} // namespace

void Vorteplan_SoftLabelDesignView::registerLabelInfoCommands()
{
    CVorteplanSoftLabelDoc* doc = m_pDocument;
    if (!doc)
        return;
    const auto unlocked = [this](CCmdUI& ui) { ui.Enable(IsEditable()); };
    // A definition of the newest file format on an unlocked template.
    const auto newestFormat = [this, doc] { return IsEditable() && doc->GetLabelFile() != nullptr; };

    for (const TypeBit& t : kMarkingTypes) {
        OnCommand(t.id, [doc, t] { doc->ToggleMarkingType(t.bit); }, [this, doc, t](CCmdUI& ui) {
            const CLabel* label = doc->GetCurrentTemplate().GetLabel();
            ui.Enable(IsEditable());
            ui.SetCheck(label && (label->GetMarkingTypes() & t.bit) != 0);
        });
    }
    for (const TypeBit& t : kPrinterTypes) {
        OnCommand(t.id, [doc, t] { doc->TogglePrinterType(t.bit); }, [this, doc, t](CCmdUI& ui) {
            const CLabel* label = doc->GetCurrentTemplate().GetLabel();
            ui.Enable(IsEditable());
            ui.SetCheck(label && (label->GetPrinterTypes() & t.bit) != 0);
        });
    }

    OnCommand(cmd::kFamilyBox, [this, doc] {
        const CLabel* label = doc->GetCurrentTemplate().GetLabel();
        const std::string text = ribbonText(cmd::kFamilyBox);
        if (!label || label->GetFamilyName() == text || !doc->SetLabelFamilyName(text, m_pCatalogue))
            return;
        if (m_pCatalogue && m_links.ribbon) {
            // The list is filled anew, so that no family shows twice.
            m_links.ribbon->SetComboItems(cmd::kFamilyBox, familyNames(*m_pCatalogue));
            m_links.ribbon->SetEditText(cmd::kFamilyBox, codepage::ToUnicode(text));
        }
    }, [this, doc, newestFormat](CCmdUI& ui) {
        ui.Enable(newestFormat());
        const CLabel* label = doc->GetCurrentTemplate().GetLabel();
        refreshText(ui, label ? label->GetFamilyName() : std::string());
    });

    OnCommand(cmd::kArticleNumbers, [this, doc] {
        const CLabel* label = doc->GetCurrentTemplate().GetLabel();
        if (!IsEditable() || !dynamic_cast<const CLabelFileNewArticleNo*>(label))
            return;
        std::unique_ptr<CLabel> copy = label->Clone();
        CLabelArticleNoDlg dialog(*copy, this);
        if (dialog.exec() == QDialog::Accepted) {
            doc->ReplaceProduct(*copy);
            doc->SetModifiedFlag(true);
        }
    }, unlocked);

    const auto companionFile = [this, doc](bool image) {
        const CLabelFileNew* label = doc->GetLabelFile();
        if (!IsEditable() || !label)
            return;
        FileDialogRequest request;
        request.filter = image ? "Image files |*.jpg;*.jpeg;*.bmp;*.png;*.wmf||" : "PDF files (*.pdf)|*.pdf|";
        request.defaultExtension = image ? "jpg" : "pdf";
        request.folder = datafolders::SubFolder(datafolders::UserDataFolder(),
                                                image ? datafolders::kLabelImages : datafolders::kLabelInfo);
        request.initialName = codepage::ToUnicode(image ? label->GetPictureFile() : label->GetInfoFile());
        const std::optional<QString> path = Ui().AskOpenFileName(request);
        if (!path)
            return;
        const std::string name = codepage::FromUnicode(QFileInfo(*path).fileName());
        if (image)
            doc->SetLabelImageFile(name);
        else
            doc->SetLabelInfoFile(name);
    };
    OnCommand(cmd::kLabelImageFile, [companionFile] { companionFile(true); },
              [newestFormat](CCmdUI& ui) { ui.Enable(newestFormat()); });
    OnCommand(cmd::kLabelInfoFile, [companionFile] { companionFile(false); },
              [newestFormat](CCmdUI& ui) { ui.Enable(newestFormat()); });
    OnCommand(cmd::kDeleteLabelFiles, [this, doc] {
        if (IsEditable() && designcmd::AskYesNo("Remove image file and info file filenames for this label?"))
            doc->ClearLabelFiles();
    }, [this, doc](CCmdUI& ui) { ui.Enable(IsEditable() && doc->HasLabelFiles()); });

    // --- engraving and print options of the template
    OnCommand(cmd::kDrawLabelBorders, [doc] { doc->ToggleDrawLabelBorders(); }, [this, doc](CCmdUI& ui) {
        ui.Enable(IsEditable());
        ui.SetCheck(doc->GetCurrentTemplate().IsPrintLabelBorders());
    });
    OnCommand(cmd::kPauseBetweenPages, [doc] { doc->TogglePauseBetweenPages(); }, [this, doc](CCmdUI& ui) {
        ui.Enable(IsEditable());
        ui.SetCheck(doc->GetCurrentTemplate().GetBorderOption());
    });
    OnCommand(cmd::kEngraveBorderColour, [this, doc] {
        const QColor colour = m_links.ribbon ? m_links.ribbon->GetColour(cmd::kEngraveBorderColour) : QColor();
        if (colour.isValid())
            doc->SetTemplateBorderColor(RGB(unsigned(colour.red()), unsigned(colour.green()), unsigned(colour.blue())));
    }, unlocked);
    OnCommand(cmd::kEngraveLineWidthBox, [this, doc] {
        onLengthBox(cmd::kEngraveLineWidthBox, [doc](int32_t um) { doc->SetTemplateBorderWidth(um); });
    }, [this, doc](CCmdUI& ui) {
        ui.Enable(IsEditable());
        refreshText(ui, designlength::FormatLength(doc->GetCurrentTemplate().GetBorderWidth(), designlength::kMetric));
    });
}
