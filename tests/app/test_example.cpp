// The example project that scripts/run.sh opens: it shows the job at once
// (objects bound to table data on a stock sheet, a terminal strip), its
// design view takes commands before any click, and its labels print to a
// PDF whose every barcode scans to its row.
#include "story_steps.h"

#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/recordingui.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/printdriver.h"

#include <QFileInfo>
#include <QPrinter>

namespace story {
namespace {

constexpr int kCableRows = 12;
constexpr int kDpi = 300;

int px(int64_t um, int dpi)
{
    return int((um * dpi + 12700) / 25400);
}

class ExampleTest : public StorySteps {
protected:
    void SetUp() override
    {
        StorySteps::SetUp();
        ASSERT_NO_FATAL_FAILURE(start(ui, {example}, QSize()));
        ASSERT_EQ(app->MainFrame()->GetChildren().size(), 1u);
        doc = &activeChild()->Document();
    }

    // Prints every row of the current template and table to `pdf`,
    // pinned to the file whatever printers the machine has.
    void printToPdf(const QString& pdf)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(kDpi);
        CPrintDriver::Job job;
        job.showDialog = false;
        job.showProgress = false;
        const CPrintDriver::Result result = CPrintDriver::PrintDocument(*doc, printer, job);
        ASSERT_EQ(result.outcome, CPrintDriver::Outcome::Printed) << (ui.messages.empty() ? std::string() : ui.messages.back().text);
        ASSERT_GT(QFileInfo(pdf).size(), 0);
    }

    const QString example = QStringLiteral(VSL_EXAMPLE_PROJECT);
    CRecordingUi ui;
    CVorteplanSoftLabelDoc* doc = nullptr;
};

TEST_F(ExampleTest, OpensOnBoundLabelsWithTheDesignViewActive)
{
    EXPECT_EQ(QFileInfo(doc->GetPathName()).canonicalFilePath(), QFileInfo(example).canonicalFilePath());
    ASSERT_EQ(doc->GetTemplateCount(), 2);
    EXPECT_EQ(doc->GetTemplateName(0), "Cable labels");
    EXPECT_EQ(doc->GetTemplateName(1), "Terminal strip X1");
    ASSERT_EQ(doc->GetTableCount(), 2);
    EXPECT_EQ(doc->GetCurrentTemplateIndex(), 0);
    EXPECT_EQ(doc->GetCurrentTableIndex(), 0);
    EXPECT_EQ(doc->GetUsedTableRowCount(), kCableRows);
    EXPECT_EQ(doc->GetLabelsPerSheet(), 24);
    // Text, two-line text, Code 128 and QR code over a frame, bound to columns.
    const CTemplate& cables = doc->GetCurrentTemplate();
    EXPECT_EQ(cables.GetArea(0)->GetCount(), 5u);

    // The commands of the design view answer at once: Insert and Data
    // source are enabled without a click into the canvas.
    for (int id : {cmd::kInsertText, cmd::kInsertBarcode, cmd::kInsertImage, cmd::kEditSelectAll})
        EXPECT_TRUE(enabled(id)) << id;

    // The terminal strip: ten modules, each with a marker text of column A.
    doc->SetCurrentTemplate(1);
    EXPECT_TRUE(doc->IsModuleMarking());
    EXPECT_EQ(doc->GetModuleCount(), 10);
    EXPECT_EQ(doc->GetCurrentTemplate().GetArea(0)->GetCount(), 10u);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

TEST_F(ExampleTest, EveryCableLabelPrintsWithBarcodesThatScan)
{
    if (!HaveTools())
        GTEST_SKIP() << "poppler-utils or zbar-tools missing: the printed PDF is not read back";
    const QString pdf = path(QStringLiteral("example.pdf"));
    ASSERT_NO_FATAL_FAILURE(printToPdf(pdf));
    const QString prefix = path(QStringLiteral("page"));
    RunTool(QStringLiteral("pdftoppm"), {"-r", QString::number(kDpi), "-aa", "no", "-aaVector", "no", "-png", "-f",
                                         "1", "-l", "1", "-singlefile", pdf, prefix});
    const QImage page(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    const QString text = RunTool(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
    for (int n = 0; n < kCableRows; ++n) {
        const QRect cell(px(int64_t(n % 3) * kLabelWidth, kDpi), px(int64_t(n / 3) * kLabelHeight + kSheetTop, kDpi),
                         px(kLabelWidth, kDpi), px(kLabelHeight, kDpi));
        const QString png = path(QStringLiteral("label.png"));
        ASSERT_TRUE(page.copy(cell).save(png));
        QStringList found = RunTool(QStringLiteral("zbarimg"), {"-q", png}).split('\n', Qt::SkipEmptyParts);
        found.sort();
        const QString name = QString::fromStdString(doc->GetTableCellText(n, 0));
        const QString article = QString::fromStdString(doc->GetTableCellText(n, 2));
        EXPECT_EQ(found, (QStringList{QStringLiteral("CODE-128:") + article, QStringLiteral("QR-Code:") + name}))
            << "label " << n;
        EXPECT_TRUE(text.contains(name)) << name.toStdString();
    }
}

TEST_F(ExampleTest, TheTerminalStripPrintsItsMarkers)
{
    if (!HaveTools())
        GTEST_SKIP() << "poppler-utils missing: the printed PDF is not read back";
    doc->SetCurrentTemplate(1);
    doc->SetCurrentTable(1);
    const QString pdf = path(QStringLiteral("strip.pdf"));
    ASSERT_NO_FATAL_FAILURE(printToPdf(pdf));
    const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, "-"});
    for (const char* marker : {"L1", "L2", "L3", "PE", "14"})
        EXPECT_TRUE(text.contains(QLatin1String(marker))) << marker << ": " << text.toStdString();
}

} // namespace
} // namespace story
