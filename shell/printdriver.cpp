#include "shell/printdriver.h"

#include "document/project/projectdoc.h"
#include "platform/dc.h"
#include "platform/uiservices.h"
#include "shell/printoptionspage.h"
#include "shell/printprogressdialog.h"
#include "shell/qtprintersetup.h"

#include <QCoreApplication>
#include <QImage>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <cmath>
#include <memory>

namespace {

constexpr const char* kPrinterNotStarted = "The printer could not be started.";
constexpr const char* kPrinterNotFinished = "The printed output could not be finished.";

// The unprintable margin of the printer: where the painter's origin lies on
// the paper, in device pixels.
POINT printingOffset(QPrinter& printer)
{
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    return POINT{int(std::lround(page.left() - paper.left())), int(std::lround(page.top() - paper.top()))};
}

// The dialog's choices back into the print information.
void readDialog(QPrinter& printer, CPrintOptionsPage& page, CPrintInfo& info)
{
    switch (printer.printRange()) {
    case QPrinter::PageRange:
        info.range = PrintRange::Labels;
        info.fromPage = printer.fromPage();
        info.toPage = printer.toPage();
        break;
    case QPrinter::Selection:
        info.range = PrintRange::Selection;
        break;
    default:
        info.range = PrintRange::All;
        break;
    }
    info.options = page.GetOptions();
    info.deviceName = CQtPrinterSetup(printer).DeviceName();
}

bool showDialog(QPrinter& printer, const CPrintDriver::Job& job, CPrintInfo& info)
{
    QPrintDialog dialog(&printer, job.parent);
    auto* page = new CPrintOptionsPage;
    page->SetOptions(info.options);
    dialog.setOptionTabs({page});
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintPageRange |
                                                       QAbstractPrintDialog::PrintToFile |
                                                       QAbstractPrintDialog::PrintShowPageSize;
    if (job.selection)
        options |= QAbstractPrintDialog::PrintSelection;
    dialog.setOptions(options);
    const int maxPage = std::max(info.maxPage, info.minPage);
    dialog.setMinMax(info.minPage, maxPage);
    printer.setFromTo(info.minPage, maxPage);
    const bool ok = job.runDialog ? job.runDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!ok)
        return false;
    readDialog(printer, *page, info);
    return true;
}

} // namespace

CPrintDriver::Result CPrintDriver::PrintDocument(CVorteplanSoftLabelDoc& doc, QPrinter& printer, const Job& job)
{
    Result result;
    if (!job.checked && !doc.CheckBeforePrint())
        return result;

    CPrintInfo info;
    CQtPrinterSetup setup(printer);
    doc.PreparePrinting(info, &setup);
    if (job.showDialog) {
        if (!showDialog(printer, job, info)) {
            result.outcome = Outcome::Cancelled;
            return result;
        }
    } else if (job.adjust) {
        job.adjust(info);
    }

    // The job begins on a stand-in of the printer's resolution, so that a
    // run with nothing to print leaves no document behind.
    const int dpiX = printer.logicalDpiX();
    const int dpiY = printer.logicalDpiY();
    {
        QImage probe(1, 1, QImage::Format_RGB32);
        CDC probeDc(&probe, dpiX, dpiY);
        if (!doc.BeginPrinting(probeDc, info, job.selection, printingOffset(printer)))
            return result;
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowUserMessage(kPrinterNotStarted, {}, MessageIcon::Error);
        result.outcome = Outcome::Failed;
        return result;
    }
    const QRect area = printer.pageRect(QPrinter::DevicePixel).toRect();
    CDC dc(&painter, dpiX, dpiY, area.width(), area.height());

    std::unique_ptr<CPrintProgressDialog> progress;
    if (job.showProgress) {
        progress = std::make_unique<CPrintProgressDialog>(job.parent);
        progress->show();
        QCoreApplication::processEvents();
    }

    result.outcome = Outcome::Printed;
    for (int page = 1;; ++page) {
        info.currentPage = page;
        doc.PrintPage(dc, info);
        const PrintRunState& run = doc.GetPrintRunState();
        if (run.aborted) {
            printer.abort();
            painter.end();
            result.outcome = Outcome::Aborted;
            result.labels = run.labelsPrinted;
            return result;
        }
        result.pages = page;
        result.labels = run.labelsPrinted;
        bool more = info.continuePrinting && info.maxPage != CPrintInfo::kEndAfterPage;
        if (progress) {
            progress->SetProgress(page, run.labelsPrinted);
            QCoreApplication::processEvents();
            if (progress->IsCancelled()) {
                result.outcome = more ? Outcome::Stopped : result.outcome;
                more = false;
            }
        }
        if (job.pageDone && !job.pageDone(page, run.labelsPrinted)) {
            result.outcome = more ? Outcome::Stopped : result.outcome;
            more = false;
        }
        if (!more)
            break;
        if (!printer.newPage()) {
            painter.end();
            result.outcome = Outcome::Failed;
            return result;
        }
    }
    // The output is finished (a PDF file written) only here: a failure is
    // no printed run.
    if (!painter.end()) {
        ShowUserMessage(kPrinterNotFinished, {}, MessageIcon::Error);
        result.outcome = Outcome::Failed;
    }
    // The labels of a run that ended, or was stopped between pages, are on
    // paper; cancelled, refused, failed and abandoned runs printed nothing.
    if (job.saveAfterPrint && (result.outcome == Outcome::Printed || result.outcome == Outcome::Stopped))
        doc.SaveAfterPrint(result.labels);
    return result;
}

CPrintDriver::Result CPrintDriver::PrintDocument(CVorteplanSoftLabelDoc& doc, QPrinter& printer, bool showDialog,
                                                 QWidget* parent, const CRowSelection* selection)
{
    Job job;
    job.parent = parent;
    job.showDialog = showDialog;
    job.selection = selection;
    return PrintDocument(doc, printer, job);
}

QPrinter& CPrintDriver::ApplicationPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

CPrintDriver::Result CPrintDriver::Print(CVorteplanSoftLabelDoc& doc, QWidget* parent, const CRowSelection* selection)
{
    Job job;
    job.parent = parent;
    job.selection = selection;
    job.saveAfterPrint = true;
    return PrintDocument(doc, ApplicationPrinter(), job);
}

CPrintDriver::Result CPrintDriver::PrintSetup(CVorteplanSoftLabelDoc& doc, QWidget* parent,
                                              const CRowSelection* selection)
{
    QPageSetupDialog setupDialog(&ApplicationPrinter(), parent);
    if (setupDialog.exec() != QDialog::Accepted) {
        Result r;
        r.outcome = Outcome::Cancelled;
        return r;
    }
    return Print(doc, parent, selection);
}
