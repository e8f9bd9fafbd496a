// The stored printer and printing from the design canvas.
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "platform/commandids.h"
#include "shell/printerdirectory.h"
#include "tables/tableviewhost.h"
#include "tables/view/vorteplansofttableview.h"

#include "canvas_fixture.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

using canvastest::CommandTest;

constexpr const char* kQueue = "labelqueue";

// One fake CUPS queue; records what is looked up and selected.
class FakePrinters : public CPrinterDirectory {
public:
    std::optional<PrinterDevModeAndNames> GetPrinterDevModeAndNames(const std::string& name) const override
    {
        lookups.push_back(name);
        if (name != kQueue)
            return std::nullopt;
        LinuxPrinterSetup setup;
        setup.queueName = name;
        return PrinterDevModeAndNames{EncodeLinuxPrinterSettings(setup), name, kDriverName, name};
    }
    void SelectPrinter(QPrinter&, const PrinterDevModeAndNames& names) const override
    {
        selected.push_back(names.device);
    }
    mutable std::vector<std::string> lookups;
    mutable std::vector<std::string> selected;
};

class PrintHost : public CTableViewHost {
public:
    int prints = 0;
    std::string CharSetBoxText() const override { return "English"; }
    void ShowCharSetBoxText(const std::string&) override {}
    void ShowContextMenu(QWidget*, QPoint) override {}
    void Print(QWidget*) override { ++prints; }
    bool LinkImages(QWidget*, const std::string&) override { return false; }
    void DeleteTable() override {}
    void ToggleStackedWindows() override {}
    bool IsStackedWindows() const override { return false; }
    void SetSelectionPaneText(const QString&) override {}
};

class PrintCommandTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        previous = SetPrinters(&printers);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath("out.pdf"));
        view->SetPrinter(&printer);
        view->SetPrintDialogRunner([this](QPrintDialog& dialog) {
            ++dialogs;
            if (auto* box = dialog.findChild<QDialogButtonBox*>())
                if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
                    okText = ok->text();
            return false;
        });
    }
    void TearDown() override
    {
        SetPrinters(previous);
        CommandTest::TearDown();
    }

    FakePrinters printers;
    CPrinterDirectory* previous = nullptr;
    QPrinter printer{QPrinter::HighResolution};
    int dialogs = 0;
    QString okText;
};

TEST_F(PrintCommandTest, TableBoundLabelsPrintFromTheTableView)
{
    doc->GetTable(0)->SetCellText(0, 0, "R1");
    auto text = std::make_unique<CGraphText>();
    text->SetWidth(5000);
    text->SetHeight(5000);
    area().AddTail(std::move(text));
    PrintHost host;
    CVorteplanSoftTableView table(doc.get(), &host);

    ASSERT_TRUE(router.Route(cmd::kFilePrint));
    EXPECT_EQ(host.prints, 0); // posted, not sent
    QCoreApplication::processEvents();
    EXPECT_EQ(host.prints, 1);
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(printers.lookups.empty());
}

TEST_F(PrintCommandTest, ABarcodeThatCannotCarryItsTextIsAskedAboutOnceBeforeTheDialog)
{
    auto barcode = std::make_unique<CGraphBarcode>();
    barcode->SetSourceKind(kTextKindFixed);
    barcode->SetText("lower");
    barcode->SetWidth(40000);
    barcode->SetHeight(15000);
    area().AddTail(std::move(barcode));
    ui.answers.push_back(MessageAnswer::Yes);
    router.Route(cmd::kFilePrint);
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(dialogs, 1);
    // No, the default, opens no dialog.
    router.Route(cmd::kFilePrint);
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(dialogs, 1);
}

TEST_F(PrintCommandTest, StoredQueueIsPreselectedAndWindowsNamesAreNot)
{
    CTemplate& t = doc->GetCurrentTemplate();
    t.SetPrinterNames(kQueue, "CUPS", kQueue);
    router.Route(cmd::kFilePrint);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(printers.selected, std::vector<std::string>{kQueue});

    t.SetPrinterNames("HP LaserJet 4", "winspool", "Ne01:");
    router.Route(cmd::kFilePrint);
    t.SetPrinterNames(kQueue, "", "");
    router.Route(cmd::kFilePrint);
    EXPECT_EQ(dialogs, 3);
    EXPECT_EQ(printers.lookups, (std::vector<std::string>{kQueue, "HP LaserJet 4"}));
    EXPECT_EQ(printers.selected.size(), 1u);
    // A cancelled dialog stores nothing.
    EXPECT_EQ(t.GetPrinterDevice(), kQueue);
    EXPECT_EQ(t.GetPrinterDriver(), "");
}

TEST_F(PrintCommandTest, PrinterSetupStartsOnTheStoredQueue)
{
    EXPECT_FALSE(enabled(cmd::kLabelPrinterSetup));
    router.Route(cmd::kStorePrinter);
    EXPECT_TRUE(label().IsStorePrinter());
    EXPECT_TRUE(checked(cmd::kStorePrinter));
    ASSERT_TRUE(enabled(cmd::kLabelPrinterSetup));
    ASSERT_TRUE(label().SetPrinterNames(kQueue, "CUPS", kQueue));
    router.Route(cmd::kLabelPrinterSetup);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(okText, "OK");
    EXPECT_EQ(printers.selected, std::vector<std::string>{kQueue});
    // Storing the printer stores its settings too, until switched off.
    EXPECT_TRUE(checked(cmd::kStorePrinterSettings));
    router.Route(cmd::kStorePrinterSettings);
    EXPECT_FALSE(label().IsStorePrinterSettings());
    EXPECT_FALSE(checked(cmd::kStorePrinterSettings));

    doc->LockTemplate("pw");
    EXPECT_FALSE(enabled(cmd::kLabelPrinterSetup));
    EXPECT_FALSE(enabled(cmd::kStorePrinter));
}

TEST(PrinterDirectoryTest, UnknownQueuesAreNotFoundAndSetupsAreCaptured)
{
    EXPECT_FALSE(Printers().GetPrinterDevModeAndNames("no-such-queue-for-tests").has_value());
    EXPECT_FALSE(Printers().GetPrinterDevModeAndNames("").has_value());

    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageSize(QPageSize(QPageSize::A5));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setCopyCount(3);
    const LinuxPrinterSetup s = CPrinterDirectory::CaptureSetup(pdf);
    EXPECT_EQ(s.orientation, 2);
    EXPECT_EQ(s.pageSizeId, int32_t(QPageSize::A5));
    EXPECT_EQ(s.pageWidthUm, 148000);
    EXPECT_EQ(s.pageHeightUm, 210000);
    EXPECT_EQ(s.paperCode, 11); // DMPAPER_A5
    EXPECT_EQ(s.copies, 3);
    EXPECT_EQ(DecodeLinuxPrinterSettings(EncodeLinuxPrinterSettings(s)), s);
}

} // namespace
