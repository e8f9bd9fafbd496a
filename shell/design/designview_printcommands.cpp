// The printer stored with the label definition and printing from the design
// canvas.
#include "shell/design/designview.h"

#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/commandids.h"
#include "platform/queuedcall.h"
#include "shell/printdriver.h"
#include "shell/printerdirectory.h"
#include "tables/view/vorteplansofttableview.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

void selectStored(QPrinter& printer, const std::string& device, const CPrinterSettings* stored)
{
    std::optional<PrinterDevModeAndNames> names = Printers().GetPrinterDevModeAndNames(device);
    if (!names)
        return;
    // Settings kept with the definition take the queue's place; a block
    // written on Windows does not decode and leaves the queue's own.
    if (stored)
        names->settings = *stored;
    Printers().SelectPrinter(printer, *names);
}

} // namespace

void Vorteplan_SoftLabelDesignView::registerPrintCommands()
{
    CVorteplanSoftLabelDoc* doc = m_pDocument;
    if (!doc)
        return;
    const auto withLabel = [this, doc](CCmdUI& ui) {
        ui.Enable(IsEditable() && doc->GetCurrentTemplate().GetLabel() != nullptr);
    };
    OnCommand(cmd::kStorePrinter, [doc] { doc->ToggleStorePrinter(); }, [withLabel, doc](CCmdUI& ui) {
        withLabel(ui);
        const CLabel* label = doc->GetCurrentTemplate().GetLabel();
        ui.SetCheck(label && label->IsStorePrinter());
    });
    OnCommand(cmd::kStorePrinterSettings, [doc] { doc->ToggleStorePrinterSettings(); }, [withLabel, doc](CCmdUI& ui) {
        withLabel(ui);
        const CLabelFileNew* label = doc->GetLabelFile();
        ui.SetCheck(label && label->IsStorePrinterSettings());
    });
    OnCommand(cmd::kLabelPrinterSetup, [this] { OnPrinterSetup(); }, [this, doc](CCmdUI& ui) {
        const CLabelFileNew* label = doc->GetLabelFile();
        ui.Enable(IsEditable() && label && label->IsStorePrinter());
    });
    OnCommand(cmd::kFilePrint, [this] { OnFilePrint(); });
}

QPrinter& Vorteplan_SoftLabelDesignView::printer() const
{
    return m_pPrinter ? *m_pPrinter : CPrintDriver::ApplicationPrinter();
}

bool Vorteplan_SoftLabelDesignView::runPrintDialog(QPrintDialog& dialog)
{
    return m_runPrintDialog ? m_runPrintDialog(dialog) : dialog.exec() == QDialog::Accepted;
}

void Vorteplan_SoftLabelDesignView::OnPrinterSetup()
{
    CLabelFileNew* label = m_pDocument ? m_pDocument->GetLabelFile() : nullptr;
    if (!IsEditable() || !label || !label->IsStorePrinter())
        return;
    // The set-up works on a printer of its own unless a test gave one.
    std::unique_ptr<QPrinter> own;
    if (!m_pPrinter)
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& target = m_pPrinter ? *m_pPrinter : *own;
    if (!label->GetPrinterDevice().empty())
        selectStored(target, label->GetPrinterDevice(), label->GetPrinterSettings());

    QPrintDialog dialog(&target, this);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    if (!runPrintDialog(dialog))
        return;
    const std::string queue = codepage::FromUnicode(target.printerName());
    if (queue.empty())
        return;
    std::optional<CPrinterSettings> settings;
    if (label->IsStorePrinterSettings())
        settings = EncodeLinuxPrinterSettings(CPrinterDirectory::CaptureSetup(target));
    m_pDocument->SetLabelPrinter(queue, CPrinterDirectory::kDriverName, queue, settings ? &*settings : nullptr);
}

void Vorteplan_SoftLabelDesignView::postPrintToTableView()
{
    for (CDocView* view : m_pDocument->GetViews()) {
        if (auto* table = dynamic_cast<CVorteplanSoftTableView*>(view)) {
            PostCall(table, [table] { table->RunCommand(cmd::kFilePrint); });
            return;
        }
    }
}

void Vorteplan_SoftLabelDesignView::OnFilePrint()
{
    if (!m_pDocument)
        return;
    // Labels filled from the table print from the table view, which knows
    // the selected rows; its print runs the checks (asking once about a
    // barcode that cannot encode its text).
    if (m_pDocument->UsesTableData()) {
        postPrintToTableView();
        return;
    }
    if (!m_pDocument->CheckBeforePrint())
        return;
    QPrinter& target = printer();
    std::string device, driver, port;
    m_pDocument->GetTemplatePrinter(device, driver, port);
    if (!device.empty() && !driver.empty() && !port.empty())
        selectStored(target, device, nullptr);

    const QString noted = target.printerName();
    CPrintDriver::Job job;
    job.parent = this;
    job.checked = true;
    if (m_runPrintDialog)
        job.runDialog = m_runPrintDialog;
    const CPrintDriver::Result result = CPrintDriver::PrintDocument(*m_pDocument, target, job);
    // A printer chosen in the dialog is remembered with the template.
    const QString chosen = target.printerName();
    if (result.outcome != CPrintDriver::Outcome::Cancelled && !chosen.isEmpty() && chosen != noted) {
        const std::string queue = codepage::FromUnicode(chosen);
        m_pDocument->SetTemplatePrinter(queue, CPrinterDirectory::kDriverName, queue);
    }
    // An abandoned run left nothing on paper: its counters stay.
    if (result.outcome == CPrintDriver::Outcome::Printed || result.outcome == CPrintDriver::Outcome::Stopped)
        m_pDocument->SaveAfterPrint(result.labels);
}
