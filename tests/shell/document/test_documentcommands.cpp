// The document's commands on the route: their enabled and checked states,
// Send to with and without unsaved changes, Print Setup, Select label
// followed by the guide, Export template, Save label, the status panes, and
// a print run whose counters end up in the project file.
#include "shell/document/documentcommands.h"

#include "content/objects/graphtext.h"
#include "content/textparts/text.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/recordingui.h"
#include "platform/settings.h"
#include "shell/printdriver.h"

#include "support/print_sheet.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using D = CDocumentCommands;

class DocumentCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        settings::SetStoreFolder(m_dir.filePath("config"));
        ASSERT_TRUE(doc.OnNewDocument());
        links.labelsFolder = [this] { return m_dir.filePath("labels"); };
        links.postCommand = [this](int id) { posted.push_back(id); };
        links.defaultPaneText = [] { return QStringLiteral("Vorteplan Software"); };
    }
    void TearDown() override { settings::SetStoreFolder({}); }
    void reg() { D::Register(target, doc, links); }
    bool enabled(int id)
    {
        CCmdUI ui(id);
        EXPECT_TRUE(target.OnUpdateCmdUI(ui)) << id;
        return ui.IsEnabled();
    }
    bool checked(int id)
    {
        CCmdUI ui(id);
        target.OnUpdateCmdUI(ui);
        return ui.GetChecked().value_or(false);
    }
    QString paneText(int id)
    {
        CCmdUI ui(id);
        target.OnUpdateCmdUI(ui);
        return ui.GetText().value_or(QStringLiteral("<none>"));
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    static std::string read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }
    // A stored, loaded definition of 70 x 37 mm named "Cable 70".
    void useStoredLabel()
    {
        auto label = std::make_unique<CLabelFileNew>();
        label->SetWidth(0, 70000, false);
        label->SetHeight(0, 37000);
        label->SetDisplayName("Cable 70");
        label->SetLoaded(true);
        doc.GetCurrentTemplate().SetLabel(std::move(label));
    }

    QTemporaryDir m_dir;
    CRecordingUi m_ui;
    UiScope m_scope{m_ui};
    CVorteplanSoftLabelDoc doc;
    CCmdTarget target;
    DocumentCommandLinks links;
    std::vector<int> posted;
};

TEST_F(DocumentCommandsTest, StatesFollowTheDocument)
{
    reg();
    doc.SetTableCount(1);
    EXPECT_FALSE(enabled(cmd::kDeleteTable));
    doc.SetTableCount(3);
    EXPECT_TRUE(enabled(cmd::kDeleteTable));
    doc.SetTemplateCount(1);
    EXPECT_FALSE(enabled(cmd::kDeleteTemplate));
    EXPECT_FALSE(enabled(cmd::kUnusedFirst));
    EXPECT_FALSE(enabled(cmd::kUnusedLast));
    EXPECT_TRUE(target.OnCmdMsg(cmd::kUnusedFirst)); // claimed, does nothing

    // Without the dialogs, Select label and Guide stay off.
    EXPECT_FALSE(enabled(cmd::kSelectLabel));
    EXPECT_FALSE(enabled(cmd::kGuide));
    links.selectLabel = [](CVorteplanSoftLabelDoc&) { return std::optional<QString>(); };
    reg();
    EXPECT_TRUE(enabled(cmd::kSelectLabel));
    doc.SetExternalTemplate("/tmp/x.tpe");
    EXPECT_FALSE(enabled(cmd::kSelectLabel));
    doc.SetExternalTemplate({});
    doc.GetCurrentTemplate().SetLocked(true);
    EXPECT_FALSE(enabled(cmd::kSelectLabel));
    doc.GetCurrentTemplate().SetLocked(false);

    EXPECT_FALSE(enabled(cmd::kSaveLabel));
    EXPECT_FALSE(enabled(cmd::kExportTemplate));
    useStoredLabel();
    EXPECT_TRUE(enabled(cmd::kSaveLabel));
    EXPECT_TRUE(enabled(cmd::kSaveLabelAs));
    EXPECT_TRUE(enabled(cmd::kExportTemplate));

    EXPECT_FALSE(enabled(cmd::kUsePreset));
    EXPECT_FALSE(checked(cmd::kReverseOrder));
    ASSERT_TRUE(target.OnCmdMsg(cmd::kReverseOrder));
    EXPECT_TRUE(checked(cmd::kReverseOrder));
}

TEST_F(DocumentCommandsTest, SendToMailsTheFileOrASavedCopyOfTheChanges)
{
    reg();
    target.OnCmdMsg(cmd::kSendTo);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "The file has to be saved before it can be sent.");
    EXPECT_EQ(m_ui.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(m_ui.mails.empty());

    const QString project = file("job.proj");
    ASSERT_TRUE(doc.WriteProjectFile(project));
    doc.SetPathName(project);
    doc.SetModifiedFlag(false);
    target.OnCmdMsg(cmd::kSendTo);
    ASSERT_EQ(m_ui.mails.size(), 1u);
    EXPECT_EQ(m_ui.mails[0], project);

    // Unsaved changes go in a copy; the file and the document stay as they are.
    const std::string before = read(project);
    doc.AddTemplate();
    target.OnCmdMsg(cmd::kSendTo);
    ASSERT_EQ(m_ui.mails.size(), 2u);
    const QString copy = m_ui.mails[1];
    EXPECT_NE(copy, project);
    EXPECT_TRUE(copy.endsWith("/job.proj"));
    EXPECT_EQ(read(project), before);
    EXPECT_TRUE(doc.IsModified());
    CVorteplanSoftLabelDoc sent;
    ASSERT_TRUE(sent.Open(copy));
    EXPECT_EQ(sent.GetTemplateCount(), 4);
    QFile::remove(copy);

    m_ui.desktopWorks = false;
    doc.SetModifiedFlag(false);
    target.OnCmdMsg(cmd::kSendTo);
    EXPECT_NE(m_ui.messages.back().text.find("mail program"), std::string::npos);
}

TEST_F(DocumentCommandsTest, PrintSetupStoresTheChosenPrinterInTheTemplate)
{
    std::optional<PrinterTriple> chosen;
    links.printerSetup = [&] { return chosen; };
    reg();
    target.OnCmdMsg(cmd::kFilePrintSetup); // cancelled
    EXPECT_FALSE(doc.IsModified());
    chosen = PrinterTriple{"Office", "HP LaserJet", "CUPS"};
    target.OnCmdMsg(cmd::kFilePrintSetup);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetCurrentTemplate().GetPrinterDevice(), "Office");
    EXPECT_EQ(doc.GetCurrentTemplate().GetPrinterDriver(), "HP LaserJet");

    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    const PrinterTriple none = D::PrinterTripleOf(pdf);
    EXPECT_TRUE(none.device.empty() && none.driver.empty() && none.port.empty());
}

TEST_F(DocumentCommandsTest, SelectLabelLoadsTheFileAndTheGuideFollowsOnAnEmptyLabel)
{
    CLabelFileNew label;
    label.SetWidth(0, 50000, false);
    label.SetHeight(0, 25000);
    const QString labelFile = file("chosen.label");
    {
        QFile f(labelFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const std::string bytes = label.FileImage();
        f.write(bytes.data(), qint64(bytes.size()));
    }
    links.selectLabel = [&](CVorteplanSoftLabelDoc&) { return std::optional<QString>(labelFile); };
    reg();
    target.OnCmdMsg(cmd::kSelectLabel);
    ASSERT_NE(doc.GetCurrentTemplate().GetLabel(), nullptr);
    EXPECT_EQ(doc.GetCurrentTemplate().GetLabel()->GetWidth(0), 50000);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(posted, std::vector<int>{cmd::kGuide});

    // With objects on the label the guide is not started.
    doc.GetCurrentTemplate().GetArea(0)->AddTail(std::make_unique<CGraphText>());
    target.OnCmdMsg(cmd::kSelectLabel);
    EXPECT_EQ(posted.size(), 1u);
}

TEST_F(DocumentCommandsTest, ExportTemplateAndSaveLabelWriteTheirFiles)
{
    useStoredLabel();
    reg();
    doc.SetModifiedFlag(true);
    m_ui.fileNames = {file("export.tpe"), file("saved.label")};
    target.OnCmdMsg(cmd::kExportTemplate);
    ASSERT_EQ(m_ui.fileDialogs.size(), 1u);
    EXPECT_EQ(m_ui.fileDialogs[0].request.filter, "Template files (*.tpe)|*.tpe||");
    EXPECT_EQ(m_ui.fileDialogs[0].request.defaultExtension, "tpe");
    EXPECT_TRUE(QFile::exists(file("export.tpe")));
    EXPECT_TRUE(doc.IsModified()); // untouched

    target.OnCmdMsg(cmd::kSaveLabelAs);
    EXPECT_TRUE(QFile::exists(file("saved.label")));
}

TEST_F(DocumentCommandsTest, StatusPanesShowTheLabelOrTheProgramAndTheTableSelection)
{
    reg();
    EXPECT_EQ(paneText(cmd::kStatusPane1), "Vorteplan Software");
    useStoredLabel();
    EXPECT_EQ(paneText(cmd::kStatusPane1), "Label: Cable 70   ( 70 mm x 37 mm )");
    // No table view: an empty selection pane.
    EXPECT_EQ(paneText(cmd::kStatusPane2), "");
}

TEST_F(DocumentCommandsTest, APrintRunAdvancesCountersAndSavesTheProject)
{
    using namespace printtest;
    auto label = std::make_unique<CLabelFileNewArticleNo>();
    label->SetWidth(0, kLabelWidth, true);
    label->SetHeight(0, kLabelHeight);
    label->SetColumnPitch(kLabelWidth);
    label->SetRowPitch(kLabelHeight);
    label->SetColumns(3);
    label->SetRows(8);
    doc.GetCurrentTemplate().SetLabel(std::move(label));
    CGraphText* counter = place<CGraphText>(*doc.GetCurrentTemplate().GetArea(0), 1000, 1000, 20000, 8000);
    counter->SetSourceKind(kTextKindCounter);
    counter->SetCounterStartText("100");
    const QString project = file("counters.proj");
    ASSERT_TRUE(doc.WriteProjectFile(project));
    doc.SetPathName(project);

    auto printer = PdfPrinter(file("run.pdf"), 150);
    CPrintDriver::Job job;
    job.showDialog = false;
    job.showProgress = false;
    job.saveAfterPrint = true;
    const CPrintDriver::Result r = CPrintDriver::PrintDocument(doc, *printer, job);
    ASSERT_EQ(r.outcome, CPrintDriver::Outcome::Printed);
    EXPECT_EQ(r.labels, 24);
    std::string start;
    counter->GetCounterStartText(start);
    EXPECT_EQ(start, "124");
    EXPECT_FALSE(doc.IsModified());
    CVorteplanSoftLabelDoc saved;
    ASSERT_TRUE(saved.Open(project));
    saved.GetCurrentTemplate().GetArea(0)->Objects().front()->GetCounterStartText(start);
    EXPECT_EQ(start, "124");

    // A cancelled dialog printed nothing: no advance.
    job.showDialog = true;
    job.runDialog = [](QPrintDialog&) { return false; };
    EXPECT_EQ(CPrintDriver::PrintDocument(doc, *printer, job).outcome, CPrintDriver::Outcome::Cancelled);
    counter->GetCounterStartText(start);
    EXPECT_EQ(start, "124");
}

} // namespace
