// The print driver on PDF output, checked with poppler and zbar: label
// positions on the raster, symbols that scan to their rows (a run allowed
// to print a barcode that cannot carry its row too), texts that
// stay text, a stopped run that leaves a whole document, a failed drawing
// that leaves no output, the pages of a PDF on the label's paper, the print
// dialog with the options page and only the run's own choices, the
// progress window and the print verbs.
#include "shell/printdriver.h"

#include "content/textparts/text.h"
#include "document/label/paper.h"
#include "document/modulemarking/modulemarkingjob.h"
#include "document/template/template.h"
#include "platform/recordingui.h"
#include "platform/settings.h"
#include "shell/printoptionspage.h"
#include "shell/printprogressdialog.h"
#include "shell/printverbs.h"

#include "support/file_size_limit.h"
#include "support/print_sheet.h"
#include "support/test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSet>
#include <QTabWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <vector>

using namespace printtest;

namespace {

bool haveTools()
{
    for (const char* t : {"pdftoppm", "pdftotext", "pdfinfo", "zbarimg"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(t)).isEmpty())
            return false;
    return true;
}

QString runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// More than the QR code of a label holds in its 15 mm at any resolution.
const std::string kTooLongForTheQr(400, 'Q');

int px(int64_t um, int dpi)
{
    return int((um * dpi + 12700) / 25400);
}

bool dark(const QImage& img, int x, int y)
{
    return qGray(img.pixel(x, y)) < 128;
}

class PrintDriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        settings::SetStoreFolder(m_dir.filePath("config"));
    }
    void TearDown() override { settings::SetStoreFolder({}); }

    QString file(const QString& name) const { return m_dir.filePath(name); }

    CPrintDriver::Result print(QPrinter& printer, const std::function<bool(int, int)>& pageDone = {})
    {
        CPrintDriver::Job job;
        job.showDialog = false;
        job.showProgress = false;
        job.pageDone = pageDone;
        return CPrintDriver::PrintDocument(doc, printer, job);
    }

    QImage rasterPage(const QString& pdf, int page, int dpi)
    {
        const QString prefix = file("page");
        runTool("pdftoppm", {"-r", QString::number(dpi), "-aa", "no", "-aaVector", "no", "-png", "-f",
                             QString::number(page), "-l", QString::number(page), "-singlefile", pdf, prefix});
        return QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
    }

    // The size of every page in millimetres, as pdfinfo reads it.
    std::vector<QSizeF> pageSizes(const QString& pdf)
    {
        std::vector<QSizeF> sizes;
        const QString info = runTool("pdfinfo", {"-f", "1", "-l", "9999", pdf});
        for (const QString& line : info.split('\n')) {
            // "Page    1 size: 170.079 x 70.8661 pts"
            if (!line.startsWith("Page") || !line.contains(" size:"))
                continue;
            const QStringList words = line.mid(line.indexOf(" size:") + 6).split(' ', Qt::SkipEmptyParts);
            if (words.size() >= 3)
                sizes.emplace_back(words[0].toDouble() * 25.4 / 72.0, words[2].toDouble() * 25.4 / 72.0);
        }
        return sizes;
    }

    // How often each label's row (its text of column A) is in the PDF.
    std::map<int, int> rowsPrinted(const QString& pdf, int rows)
    {
        const QString text = runTool("pdftotext", {pdf, "-"});
        std::map<int, int> printed;
        for (int r = 0; r < rows; ++r)
            if (const int n = int(text.count(QString::fromStdString(cellA(r))))) printed[r + 1] = n;
        return printed;
    }

    int pageCount(const QString& pdf)
    {
        const QString info = runTool("pdfinfo", {pdf});
        for (const QString& line : info.split('\n'))
            if (line.startsWith("Pages:"))
                return line.mid(6).trimmed().toInt();
        return -1;
    }

    QTemporaryDir m_dir;
    CRecordingUi m_ui;
    UiScope m_scope{m_ui};
    CVorteplanSoftLabelDoc doc;
};

} // namespace

TEST_F(PrintDriverTest, LabelEdgesLandOnTheFormulaPixelsWithAndWithoutMargins)
{
    if (!haveTools())
        GTEST_SKIP() << "poppler-utils or zbar-tools missing";
    BuildSheet(doc, 30);
    constexpr int dpi = 300;
    for (auto [ml, mt] : {std::pair{0.0, 0.0}, std::pair{5.0, 7.0}}) {
        const QString pdf = file("positions.pdf");
        auto printer = PdfPrinter(pdf, dpi, ml, mt);
        const CPrintDriver::Result r = print(*printer);
        ASSERT_EQ(r.outcome, CPrintDriver::Outcome::Printed);
        EXPECT_EQ(r.pages, 2);
        EXPECT_EQ(r.labels, 30);
        const QImage page = rasterPage(pdf, 1, dpi);
        ASSERT_EQ(page.width(), px(210000, dpi));
        for (int n = 0; n < 24; ++n) {
            const int r0 = n / 3, c = n % 3;
            // On paper the label lies where the formula puts it: the
            // printing offset is taken off and the printer adds it back.
            const int x = px(int64_t(c) * kLabelWidth, dpi);
            const int y = px(int64_t(r0) * kLabelHeight + kTopMargin, dpi);
            const int left = x + px(kRectInset, dpi);
            const int top = y + px(kRectInset, dpi);
            const int midY = y + px(kLabelHeight / 2, dpi);
            const int gapX = x + px(46500, dpi); // between the barcode and the QR code
            EXPECT_FALSE(dark(page, left - 1, midY)) << n;
            EXPECT_TRUE(dark(page, left, midY)) << n << " margins " << ml;
            EXPECT_FALSE(dark(page, gapX, top - 1)) << n;
            EXPECT_TRUE(dark(page, gapX, top)) << n << " margins " << ml;
        }
    }
}

TEST_F(PrintDriverTest, EverySymbolScansToItsRowAndTextsStayText)
{
    if (!haveTools())
        GTEST_SKIP() << "poppler-utils or zbar-tools missing";
    BuildSheet(doc, 24);
    // Row 5's article number holds a letter no Code 128 set has: the user
    // is asked, and prints all the same.
    const std::string odd = "K\xE4" "bel";
    doc.GetTable(0)->SetCellText(4, 2, odd);
    m_ui.answers.push_back(MessageAnswer::Yes);
    constexpr int dpi = 300;
    const QString pdf = file("symbols.pdf");
    auto printer = PdfPrinter(pdf, dpi);
    ASSERT_EQ(print(*printer).outcome, CPrintDriver::Outcome::Printed);
    ASSERT_EQ(m_ui.questions.size(), 1u);
    EXPECT_EQ(m_ui.questions[0].message.text, "Row 5: the barcode cannot encode \"" + odd + "\". Print anyway?");
    const QImage page = rasterPage(pdf, 1, dpi);
    for (int n = 0; n < 24; ++n) {
        const QRect cell(px(int64_t(n % 3) * kLabelWidth, dpi), px(int64_t(n / 3) * kLabelHeight + kTopMargin, dpi),
                         px(kLabelWidth, dpi), px(kLabelHeight, dpi));
        const QString png = file("label.png");
        ASSERT_TRUE(page.copy(cell).save(png));
        QStringList found = runTool("zbarimg", {"-q", png}).split('\n', Qt::SkipEmptyParts);
        found.sort();
        // Row 5's Code 128 is not drawn: only its QR code scans.
        QStringList expected{QString::fromStdString("QR-Code:" + cellA(n))};
        if (n != 4)
            expected.prepend(QString::fromStdString("CODE-128:" + cellC(n)));
        EXPECT_EQ(found, expected) << n;
    }
    const QString text = runTool("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
    for (int n = 0; n < 24; ++n) {
        EXPECT_TRUE(text.contains(QString::fromStdString(cellA(n)))) << n;
        EXPECT_TRUE(text.contains(QString("Cable %1").arg(n + 1))) << n;
    }
}

TEST_F(PrintDriverTest, StoppedAfterPageTwoLeavesAValidTwoPageDocument)
{
    if (!haveTools())
        GTEST_SKIP() << "poppler-utils missing";
    BuildSheet(doc, 100);
    const QString pdf = file("stopped.pdf");
    auto printer = PdfPrinter(pdf, 150);
    std::vector<int> seen;
    const CPrintDriver::Result r = print(*printer, [&](int page, int labels) {
        seen.push_back(labels);
        return page < 2;
    });
    EXPECT_EQ(r.outcome, CPrintDriver::Outcome::Stopped);
    EXPECT_EQ(r.pages, 2);
    EXPECT_EQ(seen, (std::vector<int>{24, 48}));
    EXPECT_EQ(pageCount(pdf), 2);
}

TEST_F(PrintDriverTest, ARunThatIsNotWholeLeavesNoOutput)
{
    // A QR code that cannot hold a long text in its 15 mm, on the first
    // label or on a label of the second page; or a disk that fills up
    // while the file is written, which the toolkit's PDF writer does not
    // report.
    struct Case {
        const char* what;
        int badRow;      // 1-based; 0: every label draws
        bool oldFile;    // a file of that name is there before
        rlim_t diskFull; // bytes a file may take; 0: no limit
    };
    const std::vector<Case> cases = {
        {"the first label", 1, false, 0},
        {"label 30 of page 2", 30, false, 0},
        {"label 30, over an old file", 30, true, 0},
        {"a full disk", 0, false, 4096},
        {"a full disk, over an old file", 0, true, 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CVorteplanSoftLabelDoc run;
        BuildSheet(run, 40);
        if (c.badRow > 0)
            run.GetTable(0)->SetCellText(c.badRow - 1, 0, kTooLongForTheQr);
        const QString pdf = file(QString("unfinished%1%2%3.pdf").arg(c.badRow).arg(c.oldFile).arg(c.diskFull));
        if (c.oldFile) {
            QFile old(pdf);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        m_ui.messages.clear();
        auto printer = PdfPrinter(pdf, 150);
        CPrintDriver::Job job;
        job.showDialog = false;
        job.showProgress = false;
        CPrintDriver::Result r;
        {
            std::optional<testsupport::FileSizeLimit> full;
            if (c.diskFull) {
                full.emplace(c.diskFull);
                ASSERT_TRUE(full->active());
            }
            r = CPrintDriver::PrintDocument(run, *printer, job);
        }
        ASSERT_EQ(m_ui.messages.size(), 1u);
        if (c.badRow > 0) {
            EXPECT_EQ(r.outcome, CPrintDriver::Outcome::Aborted);
            EXPECT_EQ(m_ui.messages[0].caption, "Utskrift avbruten");
            // The label as the user counts it, and its text (as the table
            // cell holds it).
            const std::string named =
                "Streckkod klippt p\xE5 etikett nummer " + std::to_string(c.badRow) + " med text \"QQQ";
            EXPECT_EQ(m_ui.messages[0].text.substr(0, named.size()), named);
        } else {
            EXPECT_EQ(r.outcome, CPrintDriver::Outcome::Failed);
            EXPECT_EQ(m_ui.messages[0].text, "Can not save file " + QFile::encodeName(pdf).toStdString() +
                                                 ": the disk did not take the whole output");
        }
        if (c.oldFile) {
            QFile old(pdf);
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
            EXPECT_EQ(old.readAll(), "old");
        } else {
            EXPECT_FALSE(QFile::exists(pdf));
        }
        // Nothing else is left in the folder either.
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), c.oldFile ? 1 : 0)
            << QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).join(',').toStdString();
        if (c.oldFile)
            QFile::remove(pdf);
    }
}

// Under scripts/with-cups-queue.sh only: a printer queue gets no job from
// a run that could not draw a label (and the script checks the queue once
// more when the tests are done).
TEST_F(PrintDriverTest, AFailedDrawingSendsNoJobToAQueue)
{
    const QString queue = qEnvironmentVariable("VSL_TEST_PRINT_QUEUE");
    if (queue.isEmpty())
        GTEST_SKIP() << "no printer queue of the test's own (scripts/with-cups-queue.sh)";
    BuildSheet(doc, 40);
    doc.GetTable(0)->SetCellText(29, 0, kTooLongForTheQr);
    QPrinter printer(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
    ASSERT_EQ(printer.outputFormat(), QPrinter::NativeFormat);
    CPrintDriver::Job job;
    job.showDialog = false;
    job.showProgress = false;
    EXPECT_EQ(CPrintDriver::PrintDocument(doc, printer, job).outcome, CPrintDriver::Outcome::Aborted);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].caption, "Utskrift avbruten");
    EXPECT_EQ(runTool("lpstat", {"-W", "all", "-o", queue}).trimmed().toStdString(), "");
}

TEST_F(PrintDriverTest, RefusedRunsPrintNothing)
{
    auto printer = PdfPrinter(file("refused.pdf"), 150);
    EXPECT_EQ(print(*printer).outcome, CPrintDriver::Outcome::Refused);
    EXPECT_FALSE(QFile::exists(file("refused.pdf")));
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "The template does not contain a label definition.");

}

TEST_F(PrintDriverTest, ScriptedDialogTakesTheOptionsPage)
{
    BuildSheet(doc, 4);
    auto printer = PdfPrinter(file("dialog.pdf"), 150);
    CPrintDriver::Job job;
    job.showProgress = false;
    job.runDialog = [this](QPrintDialog& dialog) {
        auto* page = dialog.findChild<CPrintOptionsPage*>();
        if (!page || !PrintToFile(dialog, file("dialog.pdf")))
            return false;
        // The program's page has a tab of its own name beside the toolkit's.
        QStringList tabs;
        for (const QTabWidget* pages : dialog.findChildren<QTabWidget*>())
            for (int i = 0; i < pages->count(); ++i)
                tabs << pages->tabText(i);
        EXPECT_TRUE(tabs.contains(QStringLiteral("Label printing"))) << tabs.join(',').toStdString();
        EXPECT_EQ(tabs.size(), QSet<QString>(tabs.begin(), tabs.end()).size()) << tabs.join(',').toStdString();
        EXPECT_EQ(page->SetsEdit()->text(), "1");
        EXPECT_EQ(page->TopEdit()->text(), "0 mm");
        page->RepeatEdit()->setText("2");
        page->ReverseBox()->setChecked(true);
        page->SetsUp()->click();
        page->PageBreakBox()->setChecked(false);
        dialog.accept();
        return true;
    };
    const CPrintDriver::Result r = CPrintDriver::PrintDocument(doc, *printer, job);
    ASSERT_EQ(r.outcome, CPrintDriver::Outcome::Printed);
    EXPECT_GT(QFileInfo(file("dialog.pdf")).size(), 0);
    EXPECT_EQ(r.labels, 4 * 2 * 2); // repeated twice, two sets
    EXPECT_EQ(doc.GetCurrentTemplate().GetRepeat(), 2);
    EXPECT_EQ(doc.GetCurrentTemplate().GetSets(), 2);
    EXPECT_TRUE(doc.GetPrintRunState().reverse);

    job.runDialog = [](QPrintDialog&) { return false; };
    EXPECT_EQ(CPrintDriver::PrintDocument(doc, *printer, job).outcome, CPrintDriver::Outcome::Cancelled);
}

TEST_F(PrintDriverTest, PrintToFileProposesTheProjectsNameInTheLastFolderAPdfWentTo)
{
    // The documents folder of a home of the test's own.
    testsupport::EnvScope home("HOME", QFile::encodeName(file("home")));
    testsupport::EnvScope xdg("XDG_CONFIG_HOME", QFile::encodeName(file("home/.config")));
    for (const char* folder : {"home/Documents", "jobs", "out"})
        ASSERT_TRUE(QDir().mkpath(file(folder)));
    BuildSheet(doc, 2);
    auto printer = PdfPrinter(file("unused.pdf"), 150);
    CPrintDriver::Job job;
    job.showProgress = false;

    enum class Before { Nothing, PrintIntoOut, RemoveOut };
    struct Case {
        const char* what;
        Before before;
        QString project; // empty: the untitled "Project3"
        QString proposed;
    };
    const QString saved = file("jobs/Cable labels.v2.proj");
    const std::vector<Case> cases = {
        {"saved, no PDF yet: beside the project", Before::Nothing, saved, file("jobs/Cable labels.v2.pdf")},
        {"untitled, no PDF yet: the documents", Before::Nothing, {}, file("home/Documents/Project3.pdf")},
        {"saved, after a PDF", Before::PrintIntoOut, saved, file("out/Cable labels.v2.pdf")},
        {"untitled, after a PDF", Before::Nothing, {}, file("out/Project3.pdf")},
        {"saved, that folder gone", Before::RemoveOut, saved, file("jobs/Cable labels.v2.pdf")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.before == Before::PrintIntoOut) {
            job.runDialog = [this](QPrintDialog& dialog) {
                if (!PrintToFile(dialog, file("out/first.pdf")))
                    return false;
                dialog.accept();
                return true;
            };
            ASSERT_EQ(CPrintDriver::PrintDocument(doc, *printer, job).outcome, CPrintDriver::Outcome::Printed);
            ASSERT_TRUE(QFile::exists(file("out/first.pdf")));
        } else if (c.before == Before::RemoveOut) {
            ASSERT_TRUE(QDir(file("out")).removeRecursively());
        }
        if (c.project.isEmpty()) {
            doc.ClearPathName();
            doc.SetTitle("Project3");
        } else {
            doc.SetPathName(c.project);
        }
        QString proposed;
        job.runDialog = [&proposed](QPrintDialog& dialog) {
            dialog.show();
            if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
                proposed = name->text();
            return false;
        };
        EXPECT_EQ(CPrintDriver::PrintDocument(doc, *printer, job).outcome, CPrintDriver::Outcome::Cancelled);
        EXPECT_EQ(proposed.toStdString(), c.proposed.toStdString());
    }
}

TEST_F(PrintDriverTest, OptionsPageShowsAndReadsBackItsRecord)
{
    CPrintOptionsPage page;
    PrintOptionsRecord o;
    o.topCompensation = 1500;
    o.leftCompensation = -250;
    o.repeat = -4;
    o.firstLabel = 3;
    o.sets = 2;
    o.pageBreakOnNewSet = 1;
    page.SetOptions(o);
    EXPECT_EQ(page.TopEdit()->text(), "1.5 mm");
    EXPECT_EQ(page.LeftEdit()->text(), "-0.25 mm");
    EXPECT_EQ(page.RepeatEdit()->text(), "D");
    EXPECT_TRUE(page.PageBreakBox()->isChecked());
    page.FirstLabelUp()->click();
    EXPECT_EQ(page.FirstLabelEdit()->text(), "4");
    page.SetsDown()->click();
    page.SetsDown()->click();
    EXPECT_EQ(page.SetsEdit()->text(), "1");
    page.TopEdit()->setText("2 in");
    page.LeftEdit()->setText("rubbish");
    const PrintOptionsRecord back = page.GetOptions();
    EXPECT_EQ(back.topCompensation, 50800);
    EXPECT_EQ(back.leftCompensation, 0); // nothing read yet on this page
    EXPECT_EQ(back.repeat, -4);
    EXPECT_EQ(back.firstLabel, 4);
    EXPECT_EQ(back.sets, 1);
}

TEST_F(PrintDriverTest, ProgressWindowCountsAndCancels)
{
    CPrintProgressDialog progress;
    progress.SetProgress(3, 72);
    EXPECT_EQ(progress.PageText(), "Page 3");
    EXPECT_EQ(progress.LabelText(), "Labels printed: 72");
    EXPECT_FALSE(progress.IsCancelled());
    progress.CancelButton()->click();
    EXPECT_TRUE(progress.IsCancelled());
}

TEST_F(PrintDriverTest, PrintVerbsOpenAndPrintAProject)
{
    BuildSheet(doc, 5);
    const QString project = file("job.proj");
    ASSERT_TRUE(doc.WriteProjectFile(project));
    auto printer = PdfPrinter(file("verb.pdf"), 150);
    EXPECT_TRUE(PrintProjectFile(project, *printer));
    EXPECT_TRUE(QFile::exists(file("verb.pdf")));
    EXPECT_FALSE(PrintVerbPrintTo(project, "no-such-queue-here"));
    ASSERT_FALSE(m_ui.messages.empty());
    EXPECT_EQ(m_ui.messages.back().text, "The printer 'no-such-queue-here' is not available.");
}

TEST_F(PrintDriverTest, ARunStoppedBetweenPagesAdvancesAndSavesItsCounters)
{
    BuildSheet(doc, 100);
    auto* counter = place<CGraphText>(*doc.GetCurrentTemplate().GetArea(0), 50000, 20000, 15000, 5000);
    counter->SetSourceKind(kTextKindCounter);
    counter->SetCounterStartText("100");
    const QString project = file("counted.proj");
    ASSERT_TRUE(doc.SaveByExtension(project));
    doc.SetPathName(project);

    auto printer = PdfPrinter(file("counted.pdf"), 150);
    CPrintDriver::Job job;
    job.showDialog = false;
    job.showProgress = false;
    job.saveAfterPrint = true;
    job.pageDone = [](int page, int) { return page < 1; }; // stopped after the first page
    const CPrintDriver::Result r = CPrintDriver::PrintDocument(doc, *printer, job);
    ASSERT_EQ(r.outcome, CPrintDriver::Outcome::Stopped);
    EXPECT_EQ(r.labels, 24);
    std::string start;
    counter->GetCounterStartText(start);
    EXPECT_EQ(start, "124");
    EXPECT_FALSE(doc.IsModified());
    CVorteplanSoftLabelDoc saved;
    ASSERT_TRUE(saved.Open(project));
    std::string savedStart;
    saved.GetCurrentTemplate().GetArea(0)->Objects().back()->GetCounterStartText(savedStart);
    EXPECT_EQ(savedStart, "124");
}

namespace {

// A module-marking strip of eight modules of 8 mm, as wide as a new strip
// is (13.8 mm), built as a user builds it, on a card as long as the strip;
// the terminals of column A.
void BuildStrip(CVorteplanSoftLabelDoc& doc, int rows)
{
    doc.ToggleModuleMarking();
    doc.GetCurrentTemplate().GetJob().SetUsePreset(false);
    doc.SetModuleLength(8000);
    doc.SetModulesToAdd(7);
    ASSERT_TRUE(doc.AppendMarker());
    ASSERT_EQ(doc.GetCurrentRowModuleCount(), 8);
    doc.SetPaperHeight(64000);
    doc.SetAreaWidth(0, 64000);
    doc.SetHorizontalPitch(64000);
    doc.SetColumnCount(1);
    doc.SetRowCount(1);
    for (int r = 0; r < rows; ++r)
        doc.GetTable(0)->SetCellText(r, 0, "X" + std::to_string(r + 1));
}

} // namespace

TEST_F(PrintDriverTest, APdfTakesTheLabelsPaperAsThePreviewShowsIt)
{
    if (!haveTools())
        GTEST_SKIP() << "poppler-utils missing";
    struct Case {
        const char* what;
        std::function<void(CVorteplanSoftLabelDoc&)> build;
        QSizeF page; // mm, as the page lies
        int pages;
        QString name = "paper.pdf";
    };
    // 30 labels of 70 x 37 mm on `rows` rows of 3 columns.
    auto sheet = [](const char* paper, int orientation, int rows) {
        return [paper, orientation, rows](CVorteplanSoftLabelDoc& d) {
            BuildSheet(d, 30);
            CLabel& label = *d.GetCurrentTemplate().GetLabel();
            ASSERT_TRUE(label.SetPaperName(paper));
            label.SetOrientation(orientation);
            label.SetWidth(0, kLabelWidth, true);
            label.SetHeight(0, kLabelHeight);
            label.SetColumnPitch(kLabelWidth);
            label.SetRowPitch(kLabelHeight);
            label.SetColumns(3);
            label.SetRows(rows);
        };
    };
    const std::vector<Case> cases = {
        {"an A4 sheet", sheet("A4", kPortrait, 8), {210, 297}, 2},
        {"an A4 sheet, to a file of the longest name a folder takes", sheet("A4", kPortrait, 8), {210, 297}, 2,
         QString(251, QLatin1Char('p')) + ".pdf"},
        {"an A5 sheet lying", sheet("A5", kLandscape, 3), {210, 148}, 4},
        {"continuous stock, user defined 60 x 25 mm",
         [](CVorteplanSoftLabelDoc& d) {
             BuildSheet(d, 3);
             CLabel& label = *d.GetCurrentTemplate().GetLabel();
             label.SetPaperCode(kPaperUser);
             label.SetPaperWidth(600, false);
             label.SetPaperLength(250, false);
             // One label of 58 x 23 mm a millimetre in from the paper's edges.
             label.SetRows(1);
             label.SetColumns(1);
             label.SetLeft(0, 1000);
             label.SetTop(0, 1000);
             label.SetWidth(0, 58000, true);
             label.SetColumnPitch(58000);
             label.SetHeight(0, 23000);
             label.SetRowPitch(23000);
             CGraphCollection& area = *d.GetCurrentTemplate().GetArea(0);
             area.RemoveAll();
             place<CGraphText>(area, 1000, 1000, 50000, 8000)->SetSourceColumnText("A");
         },
         {60, 25}, 3},
        {"a module-marking strip", [](CVorteplanSoftLabelDoc& d) { BuildStrip(d, 20); }, {64, 13.8}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CVorteplanSoftLabelDoc run;
        c.build(run);
        // The printer's own paper: A4 with margins.
        const QString pdf = file(c.name);
        auto printer = PdfPrinter(pdf, 150, 5, 7);
        const QPageLayout own = printer->pageLayout();
        CPrintDriver::Job job;
        job.showDialog = false;
        job.showProgress = false;
        const CPrintDriver::Result r = CPrintDriver::PrintDocument(run, *printer, job);
        ASSERT_EQ(r.outcome, CPrintDriver::Outcome::Printed)
            << (m_ui.messages.empty() ? "" : m_ui.messages.back().text);
        const std::vector<QSizeF> sizes = pageSizes(pdf);
        ASSERT_EQ(int(sizes.size()), c.pages);
        // PDF pages are whole points (0.35 mm).
        for (const QSizeF& size : sizes) {
            EXPECT_NEAR(size.width(), c.page.width(), 0.4);
            EXPECT_NEAR(size.height(), c.page.height(), 0.4);
        }
        // The printer keeps its paper and margins for the next run.
        EXPECT_TRUE(printer->pageLayout().pageSize().isEquivalentTo(own.pageSize()));
        EXPECT_EQ(printer->pageLayout().margins(QPageLayout::Millimeter), own.margins(QPageLayout::Millimeter));
        EXPECT_EQ(printer->outputFileName(), pdf);
    }
}

TEST_F(PrintDriverTest, TheDialogsChoicesAreTheLabelsPrinted)
{
    if (!haveTools())
        GTEST_SKIP() << "poppler-utils missing";
    BuildSheet(doc, 30);
    struct RowSet : CRowSelection {
        bool IsRowSelected(int row) const override { return row == 4 || row == 9 || row == 25; }
    } selected;
    struct Case {
        const char* what;
        std::function<void(QPrintDialog&)> choose;
        std::map<int, int> printed; // row: how often
        int pages;
    };
    auto rows = [](int from, int to, int times) {
        std::map<int, int> m;
        for (int r = from; r <= to; ++r)
            m[r] = times;
        return m;
    };
    auto radio = [](QPrintDialog& d, const char* name) { d.findChild<QRadioButton*>(QLatin1String(name))->click(); };
    auto spin = [](QPrintDialog& d, const char* name, int value) {
        auto* box = d.findChild<QSpinBox*>(QLatin1String(name));
        box->selectAll();
        QTest::keyClicks(box, QString::number(value));
        QTest::keyClick(box, Qt::Key_Tab);
    };
    const std::vector<Case> cases = {
        {"all", [&](QPrintDialog& d) { radio(d, "printAll"); }, rows(1, 30, 1), 2},
        {"labels 3 to 7",
         [&](QPrintDialog& d) {
             radio(d, "printRange");
             spin(d, "from", 3);
             spin(d, "to", 7);
         },
         rows(3, 7, 1), 1},
        {"the selected rows", [&](QPrintDialog& d) { radio(d, "printSelection"); }, {{5, 1}, {10, 1}, {26, 1}}, 1},
        {"two copies", [&](QPrintDialog& d) { spin(d, "copies", 2); }, rows(1, 30, 2), 4},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString pdf = file(QString("choice%1.pdf").arg(++n));
        auto printer = PdfPrinter(file("unused.pdf"), 150);
        CPrintDriver::Job job;
        job.showProgress = false;
        job.selection = &selected;
        QStringList offered;
        job.runDialog = [&](QPrintDialog& dialog) {
            if (!PrintToFile(dialog, pdf))
                return false;
            // The options below the printer, where Qt keeps its own.
            auto* buttons = dialog.findChild<QDialogButtonBox*>();
            for (QAbstractButton* b : buttons->buttons())
                if (b->text().contains("Options"))
                    b->click();
            // Only the run's choices are offered.
            for (const char* name : {"pagesRadioButton", "pagesLineEdit", "pageSetCombo", "reverse", "collate",
                                     "printAll", "printRange", "printSelection", "copies"})
                if (auto* w = dialog.findChild<QWidget*>(QLatin1String(name)); w && w->isVisibleTo(&dialog))
                    offered << name;
            c.choose(dialog);
            buttons->button(QDialogButtonBox::Ok)->click();
            return dialog.result() == QDialog::Accepted;
        };
        const CPrintDriver::Result r = CPrintDriver::PrintDocument(doc, *printer, job);
        ASSERT_EQ(r.outcome, CPrintDriver::Outcome::Printed);
        EXPECT_EQ(offered.join(',').toStdString(), "printAll,printRange,printSelection,copies");
        EXPECT_EQ(rowsPrinted(pdf, 30), c.printed);
        EXPECT_EQ(pageCount(pdf), c.pages);
    }
}
