// Printer names, companion files and the step after a print run.
#include "content/objects/graphtext.h"
#include "document/project/projectdoc.h"
#include "platform/printersettings.h"

#include "support/project_fixture.h"

namespace {

using projtest::ProjectTest;

class LabelInfoTest : public ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        auto label = std::make_unique<CLabelFileNew>();
        label->SetWidth(0, 50000, false);
        label->SetHeight(0, 20000);
        doc.GetCurrentTemplate().SetLabel(std::move(label));
    }
    CLabelFileNew& label() { return *doc.GetLabelFile(); }

    CRecordingUi ui;
    UiScope scope{ui};
    CVorteplanSoftLabelDoc doc;
};

TEST_F(LabelInfoTest, PrinterNamesAboveEightyBytesAreRefusedWithAMessage)
{
    const std::string longName(81, 'q');
    EXPECT_FALSE(doc.SetLabelPrinter(longName, "CUPS", longName, nullptr));
    EXPECT_FALSE(doc.SetTemplatePrinter("q", "CUPS", longName));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(label().GetPrinterDevice(), "");
    EXPECT_EQ(doc.GetCurrentTemplate().GetPrinterDevice(), "");

    // Settings are kept only while the definition stores them.
    const CPrinterSettings settings = EncodeLinuxPrinterSettings(LinuxPrinterSetup{.queueName = "q"});
    const std::string name(80, 'q');
    ASSERT_TRUE(doc.SetLabelPrinter(name, "CUPS", name, &settings));
    EXPECT_EQ(label().GetPrinterSettings(), nullptr);
    EXPECT_EQ(doc.GetCurrentTemplate().GetPrinterDevice(), name);
    doc.ToggleStorePrinterSettings();
    ASSERT_TRUE(doc.SetLabelPrinter(name, "CUPS", name, &settings));
    ASSERT_NE(label().GetPrinterSettings(), nullptr);
    EXPECT_EQ(*label().GetPrinterSettings(), settings);
}

TEST_F(LabelInfoTest, CompanionNamesOfAtMost255Bytes)
{
    EXPECT_TRUE(doc.SetLabelImageFile(std::string(255, 'a')));
    EXPECT_FALSE(doc.SetLabelImageFile(std::string(256, 'b')));
    EXPECT_EQ(label().GetPictureFile(), std::string(255, 'a'));
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(LabelInfoTest, CountersAdvanceAndTheProjectIsSavedOnlyAfterPrintedLabels)
{
    auto counter = std::make_unique<CGraphText>();
    counter->SetSourceKind(kTextKindCounter);
    CGraphText* raw = counter.get();
    doc.GetCurrentTemplate().GetArea(0)->AddTail(std::move(counter));
    std::string start;
    ASSERT_TRUE(raw->GetCounterStartText(start));
    const QString file = path("p.proj");
    doc.SetPathName(file);

    doc.SaveAfterPrint(0);
    std::string now;
    raw->GetCounterStartText(now);
    EXPECT_EQ(now, start);
    EXPECT_FALSE(QFile::exists(file));

    doc.SaveAfterPrint(3);
    raw->GetCounterStartText(now);
    EXPECT_EQ(now, std::to_string(std::stoi(start) + 3));
    EXPECT_TRUE(QFile::exists(file));
}

} // namespace
