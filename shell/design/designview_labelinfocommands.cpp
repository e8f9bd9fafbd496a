// The label-information and engraving commands of the design canvas:
// marking and printer types, family, article numbers, companion files, and
// the template's border and pause options.
#include "shell/design/designview.h"

#include "document/catalogue/labelmanager.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "shell/application/datafolders.h"
#include "shell/design/designcommandtext.h"
#include "shell/design/designlength.h"
#include "shell/frame/commandids.h"
#include "shell/frame/ribbonbar.h"
#include "shell/labelarticlenodlg.h"

#include <QFileInfo>

#include <array>

namespace {

enum : int {
    kArticleNumbers = 1083,
    kImageFile = 836,
    kInfoFile = 837,
    kDeleteFiles = 935,
    kDrawBorders = 862,
    kPauseBetweenPages = 863,
    kBorderColour = 864,
    kBorderWidth = 865,
};

struct TypeBit {
    int id;
    uint32_t bit;
};
constexpr std::array<TypeBit, 7> kMarkingTypes{{
    {824, 1}, {825, 2}, {826, 4}, {827, 8}, {828, 16}, {829, 32}, {1151, 64},
}};
constexpr std::array<TypeBit, 4> kPrinterTypes{{{830, 1}, {832, 4}, {833, 8}, {835, 0x80000000u}}};

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

    OnCommand(cmd::kFamilyCombo, [this, doc] {
        const CLabel* label = doc->GetCurrentTemplate().GetLabel();
        const std::string text = ribbonText(cmd::kFamilyCombo);
        if (!label || label->GetFamilyName() == text || !doc->SetLabelFamilyName(text, m_pCatalogue))
            return;
        if (m_pCatalogue && m_links.ribbon) {
            // The list is filled anew, so that no family shows twice.
            m_links.ribbon->SetComboItems(cmd::kFamilyCombo, familyNames(*m_pCatalogue));
            m_links.ribbon->SetEditText(cmd::kFamilyCombo, codepage::ToUnicode(text));
        }
    }, [this, doc, newestFormat](CCmdUI& ui) {
        ui.Enable(newestFormat());
        const CLabel* label = doc->GetCurrentTemplate().GetLabel();
        refreshText(ui, label ? label->GetFamilyName() : std::string());
    });

    OnCommand(kArticleNumbers, [this, doc] {
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
    OnCommand(kImageFile, [companionFile] { companionFile(true); },
              [newestFormat](CCmdUI& ui) { ui.Enable(newestFormat()); });
    OnCommand(kInfoFile, [companionFile] { companionFile(false); },
              [newestFormat](CCmdUI& ui) { ui.Enable(newestFormat()); });
    OnCommand(kDeleteFiles, [this, doc] {
        if (IsEditable() && designcmd::AskYesNo("Remove image file and info file filenames for this label?"))
            doc->ClearLabelFiles();
    }, [this, doc](CCmdUI& ui) { ui.Enable(IsEditable() && doc->HasLabelFiles()); });

    // --- engraving and print options of the template
    OnCommand(kDrawBorders, [doc] { doc->ToggleDrawLabelBorders(); }, [this, doc](CCmdUI& ui) {
        ui.Enable(IsEditable());
        ui.SetCheck(doc->GetCurrentTemplate().IsPrintLabelBorders());
    });
    OnCommand(kPauseBetweenPages, [doc] { doc->TogglePauseBetweenPages(); }, [this, doc](CCmdUI& ui) {
        ui.Enable(IsEditable());
        ui.SetCheck(doc->GetCurrentTemplate().GetBorderOption());
    });
    OnCommand(kBorderColour, [this, doc] {
        const QColor colour = m_links.ribbon ? m_links.ribbon->GetColour(kBorderColour) : QColor();
        if (colour.isValid())
            doc->SetTemplateBorderColor(RGB(unsigned(colour.red()), unsigned(colour.green()), unsigned(colour.blue())));
    }, unlocked);
    OnCommand(kBorderWidth, [this, doc] {
        onLengthBox(kBorderWidth, [doc](int32_t um) { doc->SetTemplateBorderWidth(um); });
    }, [this, doc](CCmdUI& ui) {
        ui.Enable(IsEditable());
        refreshText(ui, designlength::FormatLength(doc->GetCurrentTemplate().GetBorderWidth(), designlength::kMetric));
    });
}
