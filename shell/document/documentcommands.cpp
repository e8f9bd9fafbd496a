#include "shell/document/documentcommands.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/commandids.h"
#include "platform/uiservices.h"
#include "shell/design/designview.h"
#include "shell/printdriver.h"
#include "shell/printerdirectory.h"
#include "tables/view/vorteplansofttableview.h"

#include <QDir>
#include <QFile>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

std::string localName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString folderOf(const std::function<QString()>& folder)
{
    return folder ? folder() : QString();
}

CLabelFileNew* storedLabel(CVorteplanSoftLabelDoc& doc)
{
    return dynamic_cast<CLabelFileNew*>(doc.GetCurrentTemplate().GetLabel());
}

bool locked(const CVorteplanSoftLabelDoc& doc)
{
    return doc.GetCurrentTemplate().IsLocked();
}

void selectLabel(CVorteplanSoftLabelDoc& doc, const DocumentCommandLinks& links)
{
    const std::optional<QString> chosen = links.selectLabel(doc);
    if (!chosen || !doc.LoadLabelDefinition(localName(*chosen)))
        return;
    const CGraphCollection* area = doc.GetCurrentTemplate().GetArea(0);
    if (!area || !area->IsEmpty())
        return;
    // A new label: the marker texts, or the guide that fills it.
    if (doc.IsModuleMarking())
        doc.CreateMarkerTexts(-1);
    else if (links.postCommand)
        links.postCommand(cmd::kGuide);
}

void exportTemplate(CVorteplanSoftLabelDoc& doc)
{
    FileDialogRequest request;
    request.filter = "Template files (*.tpe)|*.tpe||";
    request.defaultExtension = "tpe";
    request.confirmOverwrite = true;
    const std::optional<QString> path = Ui().AskSaveFileName(request);
    if (path)
        doc.GetCurrentTemplate().SaveFile(localName(*path)); // failures are shown
}

} // namespace

void CDocumentCommands::Register(CCmdTarget& target, CVorteplanSoftLabelDoc& doc, DocumentCommandLinks links)
{
    CVorteplanSoftLabelDoc* d = &doc;
    const auto always = [](CCmdUI& ui) { ui.Enable(true); };

    target.OnCommand(
        cmd::kSelectLabel,
        [d, links] {
            if (links.selectLabel)
                selectLabel(*d, links);
        },
        [d, links](CCmdUI& ui) { ui.Enable(links.selectLabel && !locked(*d) && !d->IsExternalTemplateShown()); });
    target.OnCommand(
        cmd::kGuide,
        [d, links] {
            if (links.runGuide && FirstDesignViewArea(*d) == 0)
                links.runGuide(*d);
        },
        [d, links](CCmdUI& ui) {
            ui.Enable(links.runGuide && FirstDesignViewArea(*d) == 0 && !locked(*d) && d->HasLoadedLabel() &&
                      !d->IsExternalTemplateShown());
        });

    const auto labelSavable = [d](CCmdUI& ui) {
        ui.Enable(d->HasStoredLabel() && !locked(*d) && !d->IsExternalTemplateShown());
    };
    target.OnCommand(
        cmd::kSaveLabel,
        [d, links] {
            if (CLabelFileNew* label = storedLabel(*d))
                label->Save(localName(folderOf(links.labelsFolder)));
        },
        labelSavable);
    target.OnCommand(
        cmd::kSaveLabelAs,
        [d, links] {
            if (CLabelFileNew* label = storedLabel(*d))
                label->SaveAs(localName(folderOf(links.labelsFolder)));
        },
        labelSavable);

    target.OnCommand(cmd::kSendTo, [d] { SendTo(*d); }, always);
    target.OnCommand(
        cmd::kReverseOrder, [d] { d->ToggleReverseOrder(); }, [d](CCmdUI& ui) { ui.SetCheck(d->IsReverseOrder()); });
    target.OnCommand(
        cmd::kFilePrintSetup,
        [d, links] {
            const std::optional<PrinterTriple> printer =
                links.printerSetup ? links.printerSetup() : RunPrinterSetup(links.parent);
            if (printer)
                d->StoreTemplatePrinter(printer->device, printer->driver, printer->port);
        },
        always);

    target.OnCommand(cmd::kAddTemplate, [d] { d->AddTemplate(); }, always);
    target.OnCommand(cmd::kAddTable, [d] { d->AddTable(); }, always);
    target.OnCommand(
        cmd::kDeleteTemplate, [d] { d->DeleteTemplate(); }, [d](CCmdUI& ui) { ui.Enable(d->GetTemplateCount() > 1); });
    target.OnCommand(
        cmd::kDeleteTable, [d] { d->DeleteTable(); }, [d](CCmdUI& ui) { ui.Enable(d->GetTableCount() > 1); });
    target.OnCommand(
        cmd::kExportTemplate, [d] { exportTemplate(*d); }, [d](CCmdUI& ui) { ui.Enable(d->HasLoadedLabel()); });
    target.OnCommand(
        cmd::kImportLabelFiles,
        [d, links] {
            d->ImportLabelFiles(folderOf(links.labelsFolder), folderOf(links.imagesFolder),
                                folderOf(links.infoFolder));
        },
        always);

    target.OnCommand(
        cmd::kApplyMarkingRow, [d] { d->ApplyMarkingRowToLabel(); },
        [d](CCmdUI& ui) {
            const CLabel* label = d->GetCurrentTemplate().GetLabel();
            ui.SetCheck(label && label->IsModuleMarking());
        });
    target.OnCommand(
        cmd::kUsePreset, [d] { d->ToggleUsePreset(); },
        [d](CCmdUI& ui) {
            ui.Enable(d->IsModuleMarking());
            ui.SetCheck(d->IsUsePreset());
        });
    target.OnCommandRange(cmd::kUnusedFirst, cmd::kUnusedLast, [](int) {}, [](CCmdUI& ui) { ui.Enable(false); });

    target.OnUpdate(cmd::kStatusPane1, [d, links](CCmdUI& ui) {
        const std::string text = d->GetLabelPaneText();
        ui.SetText(!text.empty() ? codepage::ToUnicode(text)
                                 : (links.defaultPaneText ? links.defaultPaneText() : QString()));
    });
    target.OnUpdate(cmd::kStatusPane2, [d](CCmdUI& ui) { ui.SetText(SelectionPaneText(*d)); });
}

bool CDocumentCommands::SendTo(CVorteplanSoftLabelDoc& doc)
{
    const QString path = doc.GetPathName();
    if (path.isEmpty()) {
        ShowUserMessage("The file has to be saved before it can be sent.", {}, MessageIcon::Error);
        return false;
    }
    QString attachment = path;
    if (doc.IsModified()) {
        // The changes go along in a copy; the project file and the
        // document's state stay as they are. The mail program reads the copy
        // after this returns, so it is left for the system to clean up.
        QTemporaryDir folder(QDir(QDir::tempPath()).filePath(QStringLiteral("vorteplan-send-XXXXXX")));
        if (!folder.isValid()) {
            ShowUserMessage("Can not save a copy of the project to send it.", {}, MessageIcon::Error);
            return false;
        }
        folder.setAutoRemove(false);
        attachment = folder.filePath(QFileInfo(path).fileName());
        std::string error;
        if (!doc.WriteProjectFile(attachment, &error)) {
            ShowUserMessage("Can not save a copy of the project to send it: " + error, {}, MessageIcon::Error);
            QDir(folder.path()).removeRecursively();
            return false;
        }
    }
    if (!Ui().SendMail(attachment)) {
        ShowUserMessage("The mail program could not be started (xdg-email).", {}, MessageIcon::Error);
        return false;
    }
    return true;
}

int CDocumentCommands::FirstDesignViewArea(const CVorteplanSoftLabelDoc& doc)
{
    for (CDocView* view : doc.GetViews())
        if (view->GetViewKind() == ViewKind::Design) {
            const auto* design = dynamic_cast<const Vorteplan_SoftLabelDesignView*>(view);
            return design ? design->GetArea() : -1;
        }
    return -1;
}

QString CDocumentCommands::SelectionPaneText(const CVorteplanSoftLabelDoc& doc)
{
    for (CDocView* view : doc.GetViews())
        if (view->GetViewKind() == ViewKind::Table) {
            const auto* table = dynamic_cast<const CVorteplanSoftTableView*>(view);
            return table ? table->SelectionPaneText() : QString();
        }
    return {};
}

PrinterTriple CDocumentCommands::PrinterTripleOf(const QPrinter& printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        return {};
    const std::string queue = codepage::FromUnicode(printer.printerName());
    return PrinterTriple{queue, CPrinterDirectory::kDriverName, queue};
}

std::optional<PrinterTriple> CDocumentCommands::RunPrinterSetup(QWidget* parent)
{
    // The application's printer: later print runs start from the choice.
    QPrinter& printer = CPrintDriver::ApplicationPrinter();
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const PrinterTriple chosen = PrinterTripleOf(printer);
    if (chosen.device.empty())
        return std::nullopt;
    return chosen;
}
