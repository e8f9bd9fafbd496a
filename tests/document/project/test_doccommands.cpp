// The document's own commands: templates and tables added up to their
// limit and deleted with everything that belongs to their slot, counters
// saved after printing, the guide table helpers, the paper choice on a
// printer, the first status pane and importing label definition files.
#include "document/project/projectdoc.h"

#include "content/objects/graphtext.h"
#include "content/objects/shapes.h"
#include "content/textparts/text.h"
#include "document/label/labelfile.h"
#include "platform/numberformat.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include "support/file_size_limit.h"
#include "support/project_fixture.h"

using projtest::ProjectTest;
using projtest::TabLog;

namespace {

class DocCommandsTest : public ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        ASSERT_TRUE(doc.OnNewDocument());
        doc.AddTabObserver(&tabs);
        for (int k = 0; k < doc.GetTemplateCount(); ++k)
            doc.SetTemplateName(k, "Template " + std::to_string(k + 1));
        for (int k = 0; k < doc.GetTableCount(); ++k)
            doc.SetTableName(k, "Table " + std::to_string(k + 1));
    }
    void TearDown() override
    {
        doc.RemoveTabObserver(&tabs);
        ProjectTest::TearDown();
    }
    // `n` rectangles in area 0 of template `slot`.
    void mark(int slot, int n)
    {
        for (int i = 0; i < n; ++i)
            doc.GetTemplate(slot).GetArea(0)->AddTail(std::make_unique<CGraphRect>());
    }
    size_t objects(int slot) { return doc.GetTemplate(slot).GetArea(0)->Objects().size(); }
    CGraphText* addCounter(int32_t start)
    {
        auto text = std::make_unique<CGraphText>();
        text->SetWidth(2000);
        text->SetHeight(2000);
        text->SetSourceKind(kTextKindCounter);
        text->SetCounterStartText(std::to_string(start));
        CGraphText* raw = text.get();
        doc.GetCurrentTemplate().GetArea(0)->AddTail(std::move(text));
        return raw;
    }
    static std::string start(const CGraphObject& o)
    {
        std::string s;
        o.GetCounterStartText(s);
        return s;
    }

    CVorteplanSoftLabelDoc doc;
    TabLog tabs;
};

TEST_F(DocCommandsTest, TemplatesAndTablesAreAddedWithUniqueLabelsUpToTheLimit)
{
    doc.SetTemplateCount(4);
    doc.SetTemplateName(3, "Template 5"); // renamed by the user
    ASSERT_TRUE(doc.AddTemplate());
    EXPECT_EQ(doc.GetTemplateCount(), 5);
    EXPECT_EQ(doc.GetTemplateName(4), "Template 6");
    EXPECT_EQ(doc.GetCurrentTemplateIndex(), 4);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(tabs.events, (std::vector<std::string>{"T+4:Template 6", "T*4"}));

    ASSERT_TRUE(doc.AddTableTab());
    EXPECT_EQ(doc.GetTableCount(), 4);
    EXPECT_EQ(doc.GetCurrentTableIndex(), 3);
    EXPECT_EQ(doc.GetTableName(3), "Table 4");

    // At 255 templates nothing is added; the add tab gives way to the last.
    doc.SetTemplateCount(255);
    tabs.events.clear();
    EXPECT_FALSE(doc.AddTemplate());
    EXPECT_TRUE(tabs.events.empty());
    EXPECT_FALSE(doc.AddTemplateTab());
    EXPECT_EQ(tabs.events, std::vector<std::string>{"T*254"});
    EXPECT_EQ(doc.GetTemplateCount(), 255);
    doc.SetTableCount(255);
    EXPECT_FALSE(doc.AddTable());
    EXPECT_EQ(doc.GetTableCount(), 255);
}

TEST_F(DocCommandsTest, DeletingATemplateMovesTheLaterOnesWithTheirLayoutAndJob)
{
    doc.SetTemplateCount(4);
    doc.SetTemplateName(3, "Template 4");
    for (int k = 0; k < 4; ++k)
        mark(k, k + 1);
    doc.SetStackedLayout(2, 1); // template 3 stacked, template 4 side by side
    doc.SetStackedLayout(3, 0);
    doc.GetTemplate(2).GetJob().SetUsePreset(false);
    doc.GetTemplate(3).SetZoom(0, 200);
    doc.SetCurrentTemplate(1);
    doc.SetModifiedFlag(false);

    // No keeps everything.
    m_ui.answers = {MessageAnswer::No};
    EXPECT_FALSE(doc.DeleteTemplate());
    EXPECT_EQ(doc.GetTemplateCount(), 4);
    EXPECT_EQ(objects(1), 2u);

    m_ui.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(doc.DeleteTemplate());
    ASSERT_EQ(m_ui.questions.size(), 2u);
    EXPECT_EQ(m_ui.questions[1].message.text, "Delete active template. Are you sure?");
    EXPECT_EQ(doc.GetTemplateCount(), 3);
    EXPECT_EQ(doc.GetCurrentTemplateIndex(), 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(tabs.events, std::vector<std::string>{"T-1"});
    EXPECT_EQ((std::vector<size_t>{objects(0), objects(1), objects(2), objects(3)}),
              (std::vector<size_t>{1, 3, 4, 0}));
    EXPECT_EQ(doc.GetStackedLayout(1), 1);
    EXPECT_EQ(doc.GetStackedLayout(2), 0);
    EXPECT_FALSE(doc.GetTemplate(1).GetJob().IsUsePreset());
    EXPECT_TRUE(doc.GetTemplate(2).GetJob().IsUsePreset());
    EXPECT_EQ(doc.GetTemplate(2).GetZoom(0), 200);
    EXPECT_EQ(doc.GetTemplateName(1), "Template 3");
    EXPECT_EQ(doc.GetTemplateName(2), "Template 4");
    EXPECT_EQ(doc.GetTemplateName(3), "");

    // The last of three: two left, the one before becomes current.
    doc.SetCurrentTemplate(2);
    m_ui.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(doc.DeleteTemplate());
    EXPECT_EQ(doc.GetTemplateCount(), 2);
    EXPECT_EQ(doc.GetCurrentTemplateIndex(), 1);

    // One template is never deleted and nobody is asked.
    doc.SetTemplateCount(1);
    doc.SetCurrentTemplate(0);
    const size_t asked = m_ui.questions.size();
    EXPECT_FALSE(doc.DeleteTemplate());
    EXPECT_EQ(m_ui.questions.size(), asked);
}

TEST_F(DocCommandsTest, DeletingATableMovesTheLaterSlotsAndLeavesTheLastEmpty)
{
    for (int k = 0; k < 3; ++k)
        doc.GetTable(k)->SetCellText(0, 0, "T" + std::to_string(k));
    doc.GetTable(255)->SetCellText(0, 0, "last");
    doc.SetupTableFilter(); // table 1 below gets one
    doc.SetCurrentTable(1);
    doc.SetupTableFilter();
    m_ui.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(doc.DeleteTable());
    EXPECT_EQ(m_ui.questions.back().message.text, "Delete active table. Are you sure?");
    EXPECT_EQ(doc.GetTableCount(), 2);
    EXPECT_EQ(doc.GetTable(0)->GetCellText(0, 0), "T0");
    EXPECT_EQ(doc.GetTable(1)->GetCellText(0, 0), "T2");
    EXPECT_EQ(doc.GetFilter(1), nullptr);
    EXPECT_EQ(doc.GetTable(254)->GetCellText(0, 0), "last");
    EXPECT_EQ(doc.GetTable(255)->GetRowCount(), 0);
    EXPECT_EQ(doc.GetTableName(1), "Table 3");
    EXPECT_EQ(tabs.events, std::vector<std::string>{"D-1"});

    // The last one: the one before becomes current; one table stays.
    m_ui.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(doc.DeleteTable());
    EXPECT_EQ(doc.GetCurrentTableIndex(), 0);
    EXPECT_FALSE(doc.DeleteTable());
    EXPECT_EQ(doc.GetTableCount(), 1);
}

TEST_F(DocCommandsTest, CountersAdvanceAfterPrintingAndAreSavedWhenThereIsAFile)
{
    CGraphText* counter = addCounter(10);
    doc.SetModifiedFlag(false);

    // Nothing printed: nothing advances.
    doc.SaveAfterPrint(0);
    EXPECT_EQ(start(*counter), "10");

    // Never saved: the advance stays in the modified document.
    doc.SaveAfterPrint(24);
    EXPECT_EQ(start(*counter), "34");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(QDir(path({})).entryList({"*.proj"}, QDir::Files).isEmpty());
    EXPECT_TRUE(m_ui.messages.empty());

    // Saved: the file holds the advanced counter.
    const QString file = path("counted.proj");
    doc.SetPathName(file);
    doc.SaveAfterPrint(24);
    EXPECT_FALSE(doc.IsModified());
    CVorteplanSoftLabelDoc reread;
    ASSERT_TRUE(reread.Open(file));
    EXPECT_EQ(start(*reread.GetCurrentTemplate().GetArea(0)->Objects().front()), "58");

    // Without counters nothing is saved.
    CVorteplanSoftLabelDoc plain;
    plain.SetPathName(path("plain.proj"));
    plain.SaveAfterPrint(24);
    EXPECT_FALSE(QFile::exists(path("plain.proj")));
}

TEST_F(DocCommandsTest, AFailedSaveAfterPrintIsShownAndLeavesTheFileAsItWas)
{
    addCounter(1);
    // A disk that is full: the new file cannot grow, even for the
    // superuser.
    const QString file = path("full.proj");
    ASSERT_TRUE(doc.WriteProjectFile(file));
    const std::string before = readFile(file);
    ASSERT_FALSE(before.empty());
    doc.SetPathName(file);
    {
        testsupport::FileSizeLimit full(0);
        ASSERT_TRUE(full.active());
        doc.SaveAfterPrint(24);
    }
    EXPECT_EQ(readFile(file), before);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(doc.IsModified());

    // A read-only file, where permissions count.
    if (::geteuid() != 0) {
        const QString ro = path("readonly.proj");
        ASSERT_TRUE(doc.WriteProjectFile(ro));
        const std::string roBefore = readFile(ro);
        QFile::setPermissions(ro, QFile::ReadOwner);
        doc.SetPathName(ro);
        doc.SaveAfterPrint(5);
        EXPECT_EQ(readFile(ro), roBefore);
        EXPECT_EQ(m_ui.messages.size(), 2u);
    }
}

TEST_F(DocCommandsTest, GuideTableHelpers)
{
    TemplateGuideTable& guide = *doc.GetCurrentTemplate().GetGuideTable(0);
    guide.delimiters[2] = "-/-";
    EXPECT_EQ(doc.GetGuideDelimiter(2, 0), "-/-");
    EXPECT_EQ(doc.GetGuideDelimiter(10, 0), "");
    EXPECT_EQ(doc.GetGuideDelimiter(2, 3), "");

    doc.AddGuideColumn(2, 4);
    doc.AddGuideColumn(2, 7);
    EXPECT_EQ(guide.columns[2], (std::array<int32_t, 3>{7, 4, -1}));
    EXPECT_TRUE(doc.IsGuideColumnUsed(0, 4, 2));
    EXPECT_FALSE(doc.IsGuideColumnUsed(0, 5, 2));
    EXPECT_TRUE(doc.IsGuideColumnUsed(0, 5, 10)); // outside: used
    EXPECT_TRUE(doc.IsGuideColumnUsed(3, 5, 2));
    doc.AddGuideColumn(2, 1);
    doc.AddGuideColumn(2, 2); // the oldest entry drops out
    EXPECT_EQ(guide.columns[2], (std::array<int32_t, 3>{2, 1, 7}));
    doc.RemoveGuideColumn(1, 2);
    EXPECT_EQ(guide.columns[2], (std::array<int32_t, 3>{2, 7, -1}));
    doc.RemoveGuideColumn(9, 2); // not there
    EXPECT_EQ(guide.columns[2], (std::array<int32_t, 3>{2, 7, -1}));
}

TEST_F(DocCommandsTest, PaperOnPrinterAndPaperNames)
{
    LinuxPrinterSetup setup;
    EXPECT_TRUE(doc.SelectPaperOnPrinter(setup, 9, {1, 9}));
    EXPECT_EQ(setup.paperCode, 9);
    EXPECT_EQ(setup.paperLength, 0);
    EXPECT_FALSE(doc.SelectPaperOnPrinter(setup, 11, {1, 9}));

    // A custom size: the definition's paper in 0.1 mm; 256 falls back to 257.
    auto label = std::make_unique<CLabelFileNew>();
    label->SetPaperCode(256);
    CLabel* raw = label.get();
    doc.GetCurrentTemplate().SetLabel(std::move(label));
    ASSERT_TRUE(doc.SelectPaperOnPrinter(setup, 256, {9, 257}));
    EXPECT_EQ(setup.paperCode, 257);
    EXPECT_EQ(setup.paperLength, raw->GetPaperLength());
    EXPECT_EQ(setup.paperWidth, raw->GetPaperWidth());
    doc.GetCurrentTemplate().SetLabel(nullptr);
    LinuxPrinterSetup none;
    ASSERT_TRUE(doc.SelectPaperOnPrinter(none, 0, {0}));
    EXPECT_EQ(none.paperLength, 2970);
    EXPECT_EQ(none.paperWidth, 2100);
    LinuxPrinterSetup unsized;
    ASSERT_TRUE(doc.SelectPaperOnPrinter(unsized, 0x7FFF, {0x7FFF}));
    EXPECT_EQ(unsized.paperLength, 0);
    // Only the first 200 codes the printer names count.
    std::vector<int> many(200, 1);
    many.push_back(9);
    EXPECT_FALSE(doc.SelectPaperOnPrinter(setup, 9, many));

    EXPECT_EQ(CVorteplanSoftLabelDoc::GetPaperSizeName(256), "User defined");
    EXPECT_EQ(CVorteplanSoftLabelDoc::GetPaperSizeName(9), "A4");
    EXPECT_EQ(CVorteplanSoftLabelDoc::GetPaperSizeName(0), "0");
    EXPECT_EQ(CVorteplanSoftLabelDoc::GetPaperSizeName(60), "60");
}

TEST_F(DocCommandsTest, LabelPaneNamesTheExternalTemplateOrTheStoredLabel)
{
    EXPECT_EQ(doc.GetLabelPaneText(), "");
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, 70000, false);
    label->SetHeight(0, 36500);
    label->SetDisplayName("Cable 70");
    doc.GetCurrentTemplate().SetLabel(std::move(label));
    EXPECT_EQ(doc.GetLabelPaneText(), "Label: Cable 70   ( 70 mm x 36.5 mm )");
    SetCurrentNumberLocale({','});
    EXPECT_EQ(doc.GetLabelPaneText(), "Label: Cable 70   ( 70 mm x 36,5 mm )");
    SetCurrentNumberLocale({'.'});
    doc.SetExternalTemplate("/srv/templates/x.tpe");
    EXPECT_EQ(doc.GetLabelPaneText(), "External template: x.tpe");
    doc.SetExternalTemplate({});
    // A definition that is not a stored one has no name to show.
    doc.GetCurrentTemplate().SetLabel(std::make_unique<CLabel>());
    EXPECT_EQ(doc.GetLabelPaneText(), "");
}

TEST_F(DocCommandsTest, SwitchesOfThePrintOptionsAndModuleMarking)
{
    EXPECT_FALSE(doc.IsReverseOrder());
    doc.ToggleReverseOrder();
    EXPECT_TRUE(doc.IsReverseOrder());
    CPrintInfo info;
    doc.PreparePrinting(info, nullptr);
    EXPECT_EQ(info.options.reverse, 1);

    const bool preset = doc.IsUsePreset();
    doc.SetModifiedFlag(false);
    doc.ToggleUsePreset();
    EXPECT_NE(doc.IsUsePreset(), preset);
    EXPECT_TRUE(doc.IsModified());

    // The marking row needs a definition: one is made for it.
    ASSERT_EQ(doc.GetCurrentTemplate().GetLabel(), nullptr);
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(doc.ApplyMarkingRowToLabel());
    EXPECT_NE(doc.GetCurrentTemplate().GetLabel(), nullptr);
    EXPECT_TRUE(doc.IsModified());

    // The printer Print Setup chose is stored once.
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(doc.StoreTemplatePrinter("Office", "HP", "CUPS"));
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(doc.StoreTemplatePrinter("Office", "HP", "CUPS"));
    EXPECT_FALSE(doc.IsModified());
}

class ImportTest : public DocCommandsTest {
protected:
    void SetUp() override
    {
        DocCommandsTest::SetUp();
        QDir().mkpath(path("src"));
        CLabelFileNew label;
        label.SetWidth(0, 40000, false);
        label.SetHeight(0, 20000);
        labelBytes = label.FileImage();
        writeFile(path("src/a.label"), labelBytes);
        writeFile(path("src/b.JPG"), "jpeg bytes");
        writeFile(path("src/c.jpeg"), "not taken");
        writeFile(path("src/d.pdf"), "pdf bytes");
        writeFile(path("src/e.txt"), "skipped");
    }
    int import() { return doc.ImportLabelFiles(path("labels"), path("images"), path("info")); }
    std::string labelBytes;
};

TEST_F(ImportTest, FilesGoToTheirFoldersAndOneLabelIsOfferedForUse)
{
    m_ui.fileNameLists = {{path("src/a.label"), path("src/b.JPG"), path("src/c.jpeg"), path("src/d.pdf"),
                           path("src/e.txt")}};
    m_ui.answers = {MessageAnswer::Yes};
    EXPECT_EQ(import(), 3);
    ASSERT_EQ(m_ui.fileDialogs.size(), 1u);
    EXPECT_EQ(m_ui.fileDialogs[0].request.filter,
              "Label files (*.label)|*.label|Image files |*.jpg;*.jpeg;*.bmp;*.png;*.wmf|PDF files |*.pdf||");
    EXPECT_EQ(m_ui.fileDialogs[0].request.defaultExtension, "label");
    EXPECT_EQ(readFile(path("labels/a.label")), labelBytes);
    EXPECT_EQ(readFile(path("images/b.JPG")), "jpeg bytes");
    EXPECT_EQ(readFile(path("info/d.pdf")), "pdf bytes");
    EXPECT_FALSE(QFile::exists(path("images/c.jpeg")));
    ASSERT_EQ(m_ui.questions.size(), 1u);
    EXPECT_NE(m_ui.questions[0].message.text.find("a was imported"), std::string::npos);
    ASSERT_NE(doc.GetCurrentTemplate().GetLabel(), nullptr);
    EXPECT_EQ(doc.GetCurrentTemplate().GetLabel()->GetWidth(0), 40000);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ImportTest, ExistingFilesAreReplacedOnlyOnYesAndNeverCopiedOntoThemselves)
{
    QDir().mkpath(path("labels"));
    writeFile(path("labels/a.label"), "old");
    // No keeps the old file; then no label was imported, so no offer.
    m_ui.fileNameLists = {{path("src/a.label")}};
    m_ui.answers = {MessageAnswer::No};
    EXPECT_EQ(import(), 0);
    EXPECT_EQ(readFile(path("labels/a.label")), "old");
    EXPECT_EQ(m_ui.questions.size(), 1u);
    EXPECT_EQ(m_ui.questions[0].message.icon, MessageIcon::Warning);
    // Yes replaces it.
    m_ui.fileNameLists = {{path("src/a.label")}};
    m_ui.answers = {MessageAnswer::Yes, MessageAnswer::No};
    EXPECT_EQ(import(), 1);
    EXPECT_EQ(readFile(path("labels/a.label")), labelBytes);
    // The labels folder's own file stays byte for byte; there is nothing
    // to replace, so only the offer to use it is made.
    m_ui.fileNameLists = {{path("labels/a.label")}};
    m_ui.answers = {MessageAnswer::No};
    const size_t asked = m_ui.questions.size();
    EXPECT_EQ(import(), 1);
    EXPECT_EQ(readFile(path("labels/a.label")), labelBytes);
    EXPECT_EQ(m_ui.questions.size(), asked + 1);
    // Cancel does nothing.
    EXPECT_EQ(import(), 0);
}

TEST_F(ImportTest, AtMostAHundredFilesAreTaken)
{
    std::vector<QString> names;
    for (int i = 0; i < 101; ++i) {
        names.push_back(path(QStringLiteral("src/f%1.pdf").arg(i)));
        writeFile(names.back(), "pdf");
    }
    m_ui.fileNameLists = {names};
    EXPECT_EQ(import(), 100);
    EXPECT_FALSE(QFile::exists(path("info/f100.pdf")));
}

} // namespace
