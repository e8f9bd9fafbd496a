#include "shell/printdriver.h"

#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "platform/dc.h"
#include "platform/uiservices.h"
#include "document/print/sheetlayout.h"
#include "platform/files.h"
#include "platform/units.h"
#include "shell/filedialogfolders.h"
#include "shell/labelprintdialog.h"
#include "shell/printoptionspage.h"
#include "shell/printprogressdialog.h"
#include "shell/qtprintersetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>

namespace {

constexpr const char* kPrinterNotStarted = "The printer could not be started.";
constexpr const char* kPrinterNotFinished = "The printed output could not be finished.";
// The kind under which the folder of the last PDF printed to is remembered.
constexpr const char* kPrintedPdfKind = "printed pdf";

// What the print dialog's file output proposes: the project's name with
// ".pdf", in the folder the last PDF went to while that folder exists, else
// beside the project, else (an untitled project) in the documents folder.
QString proposedPdfFile(const CVorteplanSoftLabelDoc& doc)
{
    const QString path = doc.GetPathName();
    QString folder = CFileDialogFolders::LastFolder(kPrintedPdfKind);
    if (folder.isEmpty())
        folder = path.isEmpty() ? CFileDialogFolders::DocumentsFolder() : QFileInfo(path).absolutePath();
    QString name = path.isEmpty() ? QFile::decodeName(doc.GetTitle().c_str()) : QFileInfo(path).completeBaseName();
    if (name.isEmpty())
        name = QFile::decodeName(doc.GetDocumentType().name.c_str());
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

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

bool showDialog(QPrinter& printer, const CPrintDriver::Job& job, CPrintInfo& info, const QString& pdfFile)
{
    CLabelPrintDialog dialog(&printer, job.parent);
    // The toolkit's dialog proposes a file of its own ("print.pdf" in the
    // home folder, or the last file written); its file box takes ours.
    if (auto* fileBox = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
        fileBox->setText(pdfFile);
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
    if (dialog.result() == QDialog::Accepted && printer.outputFormat() == QPrinter::PdfFormat)
        CFileDialogFolders::RememberFolder(kPrintedPdfKind, printer.outputFileName());
    return true;
}

// Whether a PDF file ends as a writer that wrote all of it leaves it: with
// "%%EOF" after the offset of its cross-reference table, which is found
// at that offset. A file cut short, or with a part lost in between, fails.
bool pdfWrittenWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    const qint64 tailStart = std::max<qint64>(0, size - 1024);
    QByteArray tail;
    if (file.seek(tailStart))
        tail = file.read(size - tailStart);
    const qsizetype mark = tail.lastIndexOf("startxref");
    const qsizetype end = tail.lastIndexOf("%%EOF");
    bool whole = false;
    if (mark >= 0 && end > mark && tail.mid(end + 5).trimmed().isEmpty()) {
        bool number = false;
        const qint64 xref = tail.mid(mark + 9, end - mark - 9).trimmed().toLongLong(&number);
        whole = number && xref >= 0 && xref < size && file.seek(xref) && file.read(4) == "xref";
    }
    return whole;
}

// Output to a PDF file. A file has no paper of its own: its pages take the
// label's paper and orientation, as the preview shows them, without
// margins. The run goes into a new file beside the chosen one, which takes
// the chosen file's place only when the run is whole: an abandoned or
// failed run leaves any old file as it was. The printer gets its own paper
// and file name back afterwards.
class FileOutput {
public:
    FileOutput(QPrinter& printer, const CLabel* label)
        : m_printer(printer), m_layout(printer.pageLayout()), m_target(printer.outputFileName())
    {
        const SheetSize paper = CSheetLayout::PaperSizeOf(label);
        const bool landscape = label && label->GetOrientation() == kLandscape;
        // The paper upright; the orientation turns it.
        const QSizeF upright(units::UmToMm(landscape ? paper.height : paper.width),
                             units::UmToMm(landscape ? paper.width : paper.height));
        const QPageLayout layout(QPageSize(upright, QPageSize::Millimeter),
                                 landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
        if (layout.isValid())
            m_printer.setPageLayout(layout);
    }
    ~FileOutput()
    {
        m_printer.setOutputFileName(m_target);
        m_printer.setPageLayout(m_layout);
    }
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    // The new file the printer writes into; false when there is none.
    bool Open()
    {
        if (m_target.isEmpty())
            return false;
        const QFileInfo target(m_target);
        // A name ending in ".pdf", as the toolkit writes PDF to those; a
        // short one for a name near the longest a folder takes.
        const QString base = target.completeBaseName().size() < 200 ? target.completeBaseName() : QString("print");
        m_written.setFileTemplate(target.dir().filePath(QStringLiteral(".") + base + QStringLiteral(".XXXXXX.pdf")));
        if (!m_written.open())
            return false;
        m_written.close();
        m_printer.setOutputFileName(m_written.fileName());
        return true;
    }
    // The whole run in the chosen file's place, once the file is known to
    // be whole: the toolkit's PDF writer says nothing of a write that
    // failed (a full disk), so its file is checked by its own end.
    bool Commit(std::string& why)
    {
        if (!pdfWrittenWhole(m_written.fileName())) {
            why = "the disk did not take the whole output";
            return false;
        }
        return files::CopyFileAtomically(m_written.fileName(), m_target, &why);
    }
    const QString& Target() const { return m_target; }

private:
    QPrinter& m_printer;
    const QPageLayout m_layout;
    const QString m_target;
    QTemporaryFile m_written; // removed when the output ends
};

// How one pass over the pages of the run ended.
enum class PassEnd {
    Whole,   // the run ended by itself
    Stopped, // asked to stop after a page
    Aborted, // a label could not be drawn
    Failed,  // the next page could not be started
};

// One pass of the run over its pages on `dc`. After every page `pageDone`
// is told the labels of the pass and whether more pages follow; false
// stops the pass there. `newPage` starts the next page.
PassEnd runPass(CVorteplanSoftLabelDoc& doc, CPrintInfo& info, CDC& dc,
                const std::function<bool(int labels, bool more)>& pageDone, const std::function<bool()>& newPage)
{
    for (int page = 1;; ++page) {
        info.currentPage = page;
        doc.PrintPage(dc, info);
        const PrintRunState& run = doc.GetPrintRunState();
        if (run.aborted)
            return PassEnd::Aborted;
        const bool more = info.continuePrinting && info.maxPage != CPrintInfo::kEndAfterPage;
        if (!pageDone(run.labelsPrinted, more))
            return more ? PassEnd::Stopped : PassEnd::Whole;
        if (!more)
            return PassEnd::Whole;
        if (!newPage())
            return PassEnd::Failed;
    }
}

// A device context that draws nowhere, at the printer's resolution: the
// run goes through it once before anything is sent to a printer queue.
class ProofDevice {
public:
    ProofDevice(int dpiX, int dpiY, const QRect& area) : m_image(1, 1, QImage::Format_RGB32)
    {
        m_painter.begin(&m_image);
        m_dc = std::make_unique<CDC>(&m_painter, dpiX, dpiY, area.width(), area.height());
    }
    ~ProofDevice()
    {
        m_dc.reset();
        m_painter.end();
    }
    ProofDevice(const ProofDevice&) = delete;
    ProofDevice& operator=(const ProofDevice&) = delete;
    CDC& Dc() { return *m_dc; }

private:
    QImage m_image;
    QPainter m_painter;
    std::unique_ptr<CDC> m_dc;
};

} // namespace

CPrintDriver::Result CPrintDriver::PrintDocument(CVorteplanSoftLabelDoc& doc, QPrinter& printer, const Job& job)
{
    Result result;
    if (!job.checked && !doc.CheckBeforePrint())
        return result;

    CPrintInfo chosen;
    CQtPrinterSetup setup(printer);
    doc.PreparePrinting(chosen, &setup);
    if (job.showDialog) {
        if (!showDialog(printer, job, chosen, proposedPdfFile(doc))) {
            result.outcome = Outcome::Cancelled;
            return result;
        }
    } else if (job.adjust) {
        job.adjust(chosen);
    }

    // A file is written beside the chosen one and put in its place when
    // whole; a printer queue prints what it is sent, so the run is drawn
    // once on a stand-in first and sent only when every label could be.
    std::optional<FileOutput> file;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        file.emplace(printer, doc.GetCurrentTemplate().GetLabel());
        if (!file->Open()) {
            ShowUserMessage(kPrinterNotStarted, {}, MessageIcon::Error);
            result.outcome = Outcome::Failed;
            return result;
        }
    }
    const int dpiX = printer.logicalDpiX();
    const int dpiY = printer.logicalDpiY();
    const POINT offset = printingOffset(printer);
    const QRect area = printer.pageRect(QPrinter::DevicePixel).toRect();
    // Every pass starts from the dialog's choices (a begun run changes
    // them). Beginning on the stand-in first means that a run with nothing
    // to print leaves no document behind.
    CPrintInfo info;
    ProofDevice proof(dpiX, dpiY, area);
    auto begin = [&] {
        info = chosen;
        return doc.BeginPrinting(proof.Dc(), info, job.selection, offset);
    };
    if (!begin())
        return result;

    std::unique_ptr<CPrintProgressDialog> progress;
    if (job.showProgress) {
        progress = std::make_unique<CPrintProgressDialog>(job.parent);
        progress->show();
        QCoreApplication::processEvents();
    }
    auto cancelled = [&] {
        if (!progress)
            return false;
        QCoreApplication::processEvents();
        return progress->IsCancelled();
    };

    if (!file) {
        const PassEnd proved =
            runPass(doc, info, proof.Dc(), [&](int, bool) { return !cancelled(); }, [] { return true; });
        // A cancel on the last page ends the pass as whole: nothing is
        // sent all the same.
        if (proved == PassEnd::Aborted || proved == PassEnd::Stopped || (progress && progress->IsCancelled())) {
            result.outcome = proved == PassEnd::Aborted ? Outcome::Aborted : Outcome::Cancelled;
            return result;
        }
        if (!begin())
            return result;
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowUserMessage(kPrinterNotStarted, {}, MessageIcon::Error);
        result.outcome = Outcome::Failed;
        return result;
    }
    CDC dc(&painter, dpiX, dpiY, area.width(), area.height());

    // A file has no copies of its own: the run is repeated for each.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    bool stop = false;
    auto pageDone = [&](int labels, bool more) {
        ++result.pages;
        // Copies print the same labels again.
        result.labels = std::max(result.labels, labels);
        if (progress) {
            progress->SetProgress(result.pages, labels);
            stop = cancelled() || stop;
        }
        if (job.pageDone && !job.pageDone(result.pages, labels))
            stop = true;
        return !stop || !more;
    };
    PassEnd end = PassEnd::Whole;
    for (int copy = 1; copy <= copies && end == PassEnd::Whole; ++copy) {
        if (copy > 1) {
            if (stop) {
                end = PassEnd::Stopped;
                break;
            }
            if (!begin() || !printer.newPage()) {
                end = PassEnd::Failed;
                break;
            }
        }
        end = runPass(doc, info, dc, pageDone, [&] { return printer.newPage(); });
    }
    if (end == PassEnd::Aborted) {
        // A file's run is dropped with its new file. A queue's run was
        // proved on the stand-in, which draws as the printer does; were a
        // label to fail on the printer alone, what was drawn would still go.
        printer.abort();
        painter.end();
        result.outcome = Outcome::Aborted;
        return result;
    }
    // The output is finished (a PDF file written) only here: a failure is
    // no printed run.
    if (!painter.end() || end == PassEnd::Failed) {
        ShowUserMessage(kPrinterNotFinished, {}, MessageIcon::Error);
        result.outcome = Outcome::Failed;
        return result;
    }
    if (std::string why; file && !file->Commit(why)) {
        ShowUserMessage("Can not save file " + QFile::encodeName(file->Target()).toStdString() + ": " + why, {},
                        MessageIcon::Error);
        result.outcome = Outcome::Failed;
        return result;
    }
    result.outcome = end == PassEnd::Stopped ? Outcome::Stopped : Outcome::Printed;
    // The labels of a run that ended, or was stopped between pages, are on
    // paper; cancelled, refused, failed and abandoned runs printed nothing.
    if (job.saveAfterPrint)
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
