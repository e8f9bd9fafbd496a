// The print driver on PDF output, checked with poppler and zbar: label
// positions on the raster, symbols that scan to their rows (a run allowed
// to print a barcode that cannot carry its row too), texts that
// stay text, a stopped run that leaves a whole document, a failed drawing
// that abandons it, the scripted print dialog with the options page, the
// progress window and the print verbs.
#include "shell/printdriver.h"

#include "content/textparts/text.h"
#include "platform/recordingui.h"
#include "platform/settings.h"
#include "shell/printoptionspage.h"
#include "shell/printprogressdialog.h"
#include "shell/printverbs.h"

#include "support/print_sheet.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPrintDialog>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

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

TEST_F(PrintDriverTest, AFailedDrawingAbandonsTheDocument)
{
    BuildSheet(doc, 3);
    auto* q = place<CGraphBarcode>(*doc.GetCurrentTemplate().GetArea(0), 50000, 20000, 5000, 5000);
    q->SetSymbologyName(std::string("QR Code") + '\xAE');
    q->SetSourceKind(1);
    q->SetText(std::string(200, 'Q'));
    auto printer = PdfPrinter(file("aborted.pdf"), 150);
    const CPrintDriver::Result r = print(*printer);
    EXPECT_EQ(r.outcome, CPrintDriver::Outcome::Aborted);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].caption, "Utskrift avbruten");
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

TEST_F(PrintDriverTest, TheDialogsLabelRangeIsPrinted)
{
    BuildSheet(doc, 100);
    auto printer = PdfPrinter(file("range.pdf"), 150);
    CPrintDriver::Job job;
    job.showProgress = false;
    job.runDialog = [](QPrintDialog& dialog) {
        // The user's choice: labels 3 to 7.
        dialog.printer()->setPrintRange(QPrinter::PageRange);
        dialog.printer()->setFromTo(3, 7);
        return true;
    };
    const CPrintDriver::Result r = CPrintDriver::PrintDocument(doc, *printer, job);
    ASSERT_EQ(r.outcome, CPrintDriver::Outcome::Printed);
    EXPECT_EQ(r.labels, 5);
    EXPECT_EQ(doc.GetPrintRunState().rangeStart, 3);
    EXPECT_EQ(doc.GetPrintRunState().rangeEnd, 7);

    // Everything when the dialog says so.
    job.runDialog = [](QPrintDialog& dialog) {
        dialog.printer()->setPrintRange(QPrinter::AllPages);
        return true;
    };
    EXPECT_EQ(CPrintDriver::PrintDocument(doc, *printer, job).labels, 100);
}
