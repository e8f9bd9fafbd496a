// The project document: a new document, files chosen by extension, the
// refusals of ".label" and ".tpe", saving that fails, the question about
// modified stored label definitions, the lock, character sets and views.
#include "document/project/projectdoc.h"

#include "content/objects/shapes.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include "support/file_size_limit.h"
#include "support/project_fixture.h"

#include <cstring>

using projtest::ProjectTest;

namespace {

struct RecordingView : CDocView {
    explicit RecordingView(ViewKind k) : kind(k) {}
    ViewKind GetViewKind() const override { return kind; }
    void Invalidate() override { ++invalidated; }
    void EndInPlaceEdit() override { ++editsEnded; }
    bool GetGridFont(LOGFONTA& font) const override
    {
        font = gridFont;
        return kind == ViewKind::Table;
    }
    void SetGridFont(const LOGFONTA& font) override { gridFont = font; }
    ViewKind kind;
    int invalidated = 0;
    int editsEnded = 0;
    LOGFONTA gridFont{};
};

// A stored label definition as the catalogue loads it, modified.
std::unique_ptr<CLabelFileNew> loadedModifiedLabel(const std::string& name, const std::string& family)
{
    auto label = std::make_unique<CLabelFileNew>();
    label->SetDisplayName(name);
    label->SetFamilyName(family);
    label->SetLoaded(true);
    label->SetModified(true);
    return label;
}

// Undo steps the current template's label area and the current table hold.
int templateUndoSteps(const CVorteplanSoftLabelDoc& doc)
{
    return int(doc.GetCurrentTemplate().GetUndoHistory(0)->LeadingCount());
}
int tableUndoSteps(const CVorteplanSoftLabelDoc& doc)
{
    int n = 0;
    while (n < kTableSnapshotSlots && doc.GetTableSnapshot(doc.GetCurrentTableIndex(), n))
        ++n;
    return n;
}

} // namespace

TEST_F(ProjectTest, NewDocumentAndSettingsDefaults)
{
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetTemplateCount(), 3);
    EXPECT_EQ(doc.GetTableCount(), 3);
    EXPECT_EQ(doc.GetCurrentTemplateIndex(), 0);
    EXPECT_EQ(doc.GetCurrentTableIndex(), 0);
    for (int t = 0; t < kDocSlots; ++t) {
        ASSERT_NE(doc.GetTable(t), nullptr);
        EXPECT_EQ(doc.GetTable(t)->GetRowCount(), 0);
        EXPECT_TRUE(doc.IsTableUndoOn(t));
    }
    EXPECT_EQ(doc.GetTable(256), nullptr);
    EXPECT_STREQ(doc.GetDefaultFont().lfFaceName, "Arial");
    EXPECT_EQ(doc.GetDefaultFont().lfHeight, -13);
    EXPECT_EQ(doc.GetDefaultFont().lfWeight, 400);
    EXPECT_EQ(doc.GetDefaultFont().lfCharSet, 1);
    EXPECT_STREQ(doc.GetTableFont().lfFaceName, "System");
    EXPECT_EQ(doc.GetTableFont().lfHeight, -12);
    EXPECT_EQ(doc.GetTableFont().lfClipPrecision, 1);
    EXPECT_EQ(doc.GetDefaultQrEccLevel(), "M");
    EXPECT_EQ(doc.GetDefaultBarcodeType(), "");

    settings::WriteText(settings::kDefaultFont, settings::kFontFacename, "Courier New");
    settings::WriteInt(settings::kDefaultFont, settings::kFontItalic, 1);
    settings::WriteText(settings::kDefaultBarcode, settings::kBarcodeType, "Code 128");
    CVorteplanSoftLabelDoc changed;
    EXPECT_STREQ(changed.GetDefaultFont().lfFaceName, "Courier New");
    EXPECT_EQ(changed.GetDefaultFont().lfItalic, 1);
    EXPECT_EQ(changed.GetDefaultBarcodeType(), "Code 128");
}

TEST_F(ProjectTest, AReopenedProjectKeepsTheTableFontOfANewOne)
{
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.SetTableCharSet(238);
    const QString file = path("font.proj");
    ASSERT_TRUE(doc.WriteProjectFile(file));
    CVorteplanSoftLabelDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(file));
    const LOGFONTA& a = doc.GetTableFont();
    const LOGFONTA& b = reopened.GetTableFont();
    EXPECT_STREQ(b.lfFaceName, a.lfFaceName);
    EXPECT_EQ(b.lfHeight, a.lfHeight);
    EXPECT_EQ(b.lfWeight, a.lfWeight);
    EXPECT_EQ(b.lfCharSet, 238); // the file's character set
}

TEST_F(ProjectTest, ExtensionsInAnyCaseAndUnknownOnes)
{
    CVorteplanSoftLabelDoc source;
    ASSERT_TRUE(source.OnNewDocument());
    ASSERT_TRUE(source.SaveByExtension(path("Mixed.PrOj")));
    CVorteplanSoftLabelDoc doc;
    EXPECT_TRUE(doc.Open(path("Mixed.PrOj")));
    EXPECT_EQ(doc.GetTitle(), "Mixed");

    EXPECT_TRUE(m_ui.messages.empty());

    // Files no reader takes are refused, and the user is told why.
    writeFile(path("data.txt"), "x");
    CVorteplanSoftLabelDoc unknown;
    EXPECT_FALSE(unknown.Open(path("data.txt")));
    EXPECT_FALSE(unknown.SaveByExtension(path("out.txt")));
    // A ".tbl" file whose header fails the table-file test is refused.
    writeFile(path("table.TBL"), std::string(64, '\0'));
    EXPECT_FALSE(unknown.Open(path("table.TBL")));
    EXPECT_FALSE(unknown.Open(QStringLiteral("/dev/zero")));
    EXPECT_FALSE(unknown.Open(path("missing")));
    const std::vector<std::string> expected = {
        path("data.txt").toStdString() + " is not a project file.",
        "Can not save file " + path("out.txt").toStdString() +
            ": the program saves projects (*.proj), table files (*.tbf), template files (*.tpe) and label files "
            "(*.label).",
        "Corrupt file or wrong file version",
        "Can not open file /dev/zero",
        "Can not open file " + path("missing").toStdString(),
    };
    ASSERT_EQ(m_ui.messages.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(m_ui.messages[i].text, expected[i]);
        EXPECT_EQ(m_ui.messages[i].icon, MessageIcon::Error);
    }
    EXPECT_TRUE(unknown.GetPathName().isEmpty());
    EXPECT_TRUE(unknown.SaveByExtension(path("table.tbf")));
}

TEST_F(ProjectTest, LabelAndTemplateFileRefusals)
{
    struct Case {
        std::function<void(CVorteplanSoftLabelDoc&)> setUp;
        const char* file;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[](CVorteplanSoftLabelDoc& d) { d.GetTemplate(0).GetArea(2)->AddTail(std::make_unique<CGraphRect>()); },
         "a.label", "Document containing template objects can not be saved as a product file (*.label)."},
        {[](CVorteplanSoftLabelDoc& d) { d.SetFilter(0, std::make_unique<CDataTableFilter>(), nullptr); },
         "b.label", "Document containing table data can not be saved as a product file (*.label)."},
        {[](CVorteplanSoftLabelDoc&) {}, "c.LABEL",
         "Document not containing a product can not be saved as a product file (*.label)."},
        {[](CVorteplanSoftLabelDoc&) {}, "d.tpe",
         "Document not containing a product can not be saved as a template file (*.tpe)."},
    };
    for (const Case& c : cases) {
        CRecordingUi ui;
        UiScope scope(ui);
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        c.setUp(doc);
        doc.SetModifiedFlag(true);
        EXPECT_FALSE(doc.SaveByExtension(path(c.file))) << c.file;
        ASSERT_EQ(ui.messages.size(), 1u) << c.file;
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_FALSE(QFile::exists(path(c.file)));
    }

    // With a definition both are written, and neither clears the flag:
    // the rest of the project is still unsaved.
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.GetTemplate(0).SetLabel(std::make_unique<CLabelFileNew>());
    doc.SetModifiedFlag(true);
    EXPECT_TRUE(doc.SaveByExtension(path("ok.label")));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.SaveByExtension(path("ok.tpe")));
    EXPECT_TRUE(doc.IsModified());
}

// Save As writes a ".tbf", ".tpe" or ".label" file as a copy of one part
// of the project: the document keeps its name, its unsaved changes and
// its undo states, and Save still saves the project. Only the project
// file is the document; so is the table file a document was opened from,
// as long as that table is all the document holds: no other table has
// data and no template changed.
TEST_F(ProjectTest, SaveAsAPartOfTheProjectIsACopy)
{
    enum class Start {
        ModifiedProject,
        SavedProject,
        NewDocument,
        OpenedTableFile, // and its table edited
        TableFileOtherTable, // ... and another table filled
        TableFileObjectAdded, // ... and an object drawn
        TableFileLabelChosen, // ... and a label definition chosen
        TableFileSavedAsProject, // ... and saved as a project
        TableFileTabRenamed, // ... and a template's tab renamed
    };
    struct Case {
        Start start;
        const char* file;
        bool takesName; // the document is now that file
    };
    const Case cases[] = {
        {Start::ModifiedProject, "part.tbf", false},  {Start::ModifiedProject, "part.tpe", false},
        {Start::ModifiedProject, "part.label", false}, {Start::ModifiedProject, "other.proj", true},
        {Start::SavedProject, "part.tbf", false},      {Start::SavedProject, "part.tpe", false},
        {Start::SavedProject, "part.label", false},    {Start::NewDocument, "part.tbf", false},
        {Start::NewDocument, "part.tpe", false},       {Start::NewDocument, "part.label", false},
        {Start::OpenedTableFile, "again.tbf", true},  {Start::TableFileLabelChosen, "part.tpe", false},
        {Start::TableFileOtherTable, "again.tbf", false}, {Start::TableFileObjectAdded, "again.tbf", false},
        {Start::TableFileLabelChosen, "again.tbf", false}, {Start::TableFileSavedAsProject, "again.tbf", false},
        {Start::TableFileTabRenamed, "again.tbf", false},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << row << ": " << c.file);
        const QString folder = QString("row%1").arg(row++);
        ASSERT_TRUE(QDir(path({})).mkpath(folder));
        const QString project = path(folder + "/work.proj");
        const QString target = path(folder + "/" + c.file);
        CRecordingUi ui;
        UiScope scope(ui);
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        doc.SetTitle("Project1");
        doc.GetTemplate(0).SetLabel(std::make_unique<CLabelFileNew>());
        if (c.start >= Start::OpenedTableFile) {
            doc.SetTableCellText("X1:1", 0, 0);
            ASSERT_TRUE(doc.SaveByExtension(path(folder + "/source.tbf")));
            CVorteplanSoftLabelDoc opened;
            ASSERT_TRUE(opened.Open(path(folder + "/source.tbf")));
            ASSERT_TRUE(opened.GetPathName().isEmpty());
            // The table file's table edited, as the table view does.
            opened.SaveTableUndoState();
            opened.SetTableCellText("X1:2", 0, 0);
            opened.SetModifiedFlag(true);
            switch (c.start) {
            case Start::TableFileOtherTable:
                opened.SetCurrentTable(2);
                opened.SetTableCellText("W1", 0, 0);
                opened.SetCurrentTable(0);
                break;
            case Start::TableFileObjectAdded:
                ASSERT_TRUE(opened.AddObjectToArea(0, std::make_unique<CGraphRect>()));
                break;
            case Start::TableFileLabelChosen:
                opened.NewLabelDefinition();
                break;
            case Start::TableFileSavedAsProject:
                ui.fileNames.push_back(project);
                ASSERT_TRUE(opened.SaveAsPublic());
                break;
            case Start::TableFileTabRenamed:
                opened.SetTemplateName(0, "Wires");
                break;
            default:
                break;
            }
            const bool modified = opened.IsModified();
            const int undoSteps = tableUndoSteps(opened);
            ui.fileNames.push_back(target);
            ASSERT_TRUE(opened.SaveAsPublic());
            if (target.endsWith(".tbf")) {
                CVorteplanSoftLabelDoc written;
                ASSERT_TRUE(written.Open(target));
                EXPECT_EQ(written.GetTableCellText(0, 0), "X1:2");
            }
            const bool asProject = c.start == Start::TableFileSavedAsProject;
            EXPECT_EQ(opened.GetPathName(), c.takesName ? target : asProject ? project : QString());
            EXPECT_EQ(opened.GetTitle(), c.takesName ? "again" : asProject ? "work" : "source");
            EXPECT_EQ(opened.IsModified(), !c.takesName && modified);
            EXPECT_EQ(tableUndoSteps(opened), c.takesName ? 0 : undoSteps);
            if (!c.takesName) { // closing asks, and Yes asks for a project name
                ui.answers = {MessageAnswer::Yes};
                ui.fileNames = {std::nullopt};
                EXPECT_EQ(opened.SaveModified(), !modified);
                EXPECT_EQ(ui.questions.size(), modified ? 1u : 0u);
                if (modified) {
                    EXPECT_EQ(ui.fileDialogs.back().request.initialName, QString("source.proj"));
                }
                continue;
            }
            // Save writes that table file again...
            QFile::remove(target);
            const size_t dialogs = ui.fileDialogs.size();
            ASSERT_TRUE(opened.SavePublic());
            EXPECT_TRUE(QFile::exists(target));
            EXPECT_EQ(ui.fileDialogs.size(), dialogs);
            // ... until the document holds more than it: then Save asks for
            // a project name, and the table file is not taken for the
            // document, neither by Save nor by Yes on closing.
            opened.SetCurrentTable(1);
            opened.SetTableCellText("W1", 0, 0);
            opened.SetModifiedFlag(true);
            const std::string tableFile = readFile(target);
            ui.fileNames = {std::nullopt};
            EXPECT_FALSE(opened.SavePublic());
            EXPECT_EQ(ui.fileDialogs.size(), dialogs + 1);
            EXPECT_EQ(ui.fileDialogs.back().request.initialName, QString("again.proj"));
            ui.answers = {MessageAnswer::Yes};
            ui.fileNames = {target};
            EXPECT_FALSE(opened.SaveModified());
            EXPECT_TRUE(opened.IsModified());
            EXPECT_EQ(opened.GetPathName(), target);
            EXPECT_NE(readFile(target), tableFile); // the second table's, a copy
            continue;
        }
        if (c.start != Start::NewDocument) {
            ui.fileNames.push_back(project);
            ASSERT_TRUE(doc.SaveAsPublic());
        }
        if (c.start != Start::SavedProject) { // edits a ".label" file takes
            doc.SaveUndoState(0, true);
            doc.SaveTableUndoState();
            doc.SetTableName(1, "Cables");
            doc.SetModifiedFlag(true);
        }
        const bool modified = doc.IsModified();
        const std::string projectBytes = readFile(project);

        ui.fileNames.push_back(target);
        ASSERT_TRUE(doc.SaveAsPublic());
        EXPECT_TRUE(QFile::exists(target));
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(readFile(project), projectBytes);
        if (c.takesName) {
            EXPECT_EQ(doc.GetPathName(), target);
            EXPECT_EQ(doc.GetTitle(), "other");
            EXPECT_FALSE(doc.IsModified());
            EXPECT_EQ(templateUndoSteps(doc), 0);
            EXPECT_EQ(tableUndoSteps(doc), 0);
            continue;
        }
        const bool hasPath = c.start != Start::NewDocument;
        EXPECT_EQ(doc.GetPathName(), hasPath ? project : QString());
        EXPECT_EQ(doc.GetTitle(), hasPath ? "work" : "Project1");
        EXPECT_EQ(doc.IsModified(), modified);
        EXPECT_EQ(templateUndoSteps(doc), modified ? 1 : 0);
        EXPECT_EQ(tableUndoSteps(doc), modified ? 1 : 0);

        // Save saves the project: under its own name, or through the
        // dialog when it has none yet.
        const size_t dialogs = ui.fileDialogs.size();
        if (!hasPath)
            ui.fileNames.push_back(project);
        ASSERT_TRUE(doc.SavePublic());
        EXPECT_EQ(ui.fileDialogs.size(), dialogs + (hasPath ? 0 : 1));
        EXPECT_EQ(doc.GetPathName(), project);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(tableUndoSteps(doc), 0);
        CVorteplanSoftLabelDoc reopened;
        ASSERT_TRUE(reopened.Open(project));
        EXPECT_EQ(reopened.GetTableName(1), modified ? "Cables" : doc.GetTableName(1));
    }
}

TEST_F(ProjectTest, FailedSaveKeepsTheOldFileAndIsReported)
{
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    writeFile(path("keep.proj"), "old bytes");
    doc.SetModifiedFlag(true);
    doc.SetTemplateCount(0); // nothing a project file can hold
    EXPECT_FALSE(doc.SaveByExtension(path("keep.proj")));
    EXPECT_EQ(readFile(path("keep.proj")), "old bytes");
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_NE(m_ui.messages[0].text.find("Can not save file"), std::string::npos);

    // A folder that does not exist: nothing is written anywhere.
    doc.SetTemplateCount(3);
    EXPECT_FALSE(doc.SaveByExtension(path("no/such/folder/p.proj")));
    EXPECT_EQ(m_ui.messages.size(), 2u);
    EXPECT_TRUE(QDir(path("no")).isEmpty() || !QDir(path("no")).exists());
}

// A disk that fills up while a file is written, for every file the
// program writes: the old file stays byte for byte, no new file is left
// beside it, the user is told the system's reason, and the project keeps
// its name, its unsaved changes and its undo states.
TEST_F(ProjectTest, ASaveThatRunsOutOfSpaceKeepsTheOldFileAndSaysWhy)
{
    enum class Writer { Save, SaveAsProject, SaveAsTable, SaveAsTemplate, SaveAsLabel, StoredLabel, Filter, Import };
    struct Case {
        Writer writer;
        const char* file; // the file that is to be replaced
    };
    const Case cases[] = {
        {Writer::Save, "work.proj"},          {Writer::SaveAsProject, "other.proj"},
        {Writer::SaveAsTable, "part.tbf"},    {Writer::SaveAsTemplate, "part.tpe"},
        {Writer::SaveAsLabel, "part.label"},  {Writer::StoredLabel, "stored.label"},
        {Writer::Filter, "rows.filter"},      {Writer::Import, "labels/imported.label"},
    };
    const std::string reason = std::strerror(EFBIG);
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << row << ": " << c.file);
        const QString folder = QString("full%1").arg(row++);
        ASSERT_TRUE(QDir(path({})).mkpath(folder + "/labels"));
        ASSERT_TRUE(QDir(path({})).mkpath(folder + "/source"));
        const QString project = path(folder + "/work.proj");
        const QString target = path(folder + "/" + c.file);
        CRecordingUi ui;
        UiScope scope(ui);
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        auto stored = std::make_unique<CLabelFileNew>();
        CLabelFileNew* label = stored.get();
        doc.GetTemplate(0).SetLabel(std::move(stored));
        ui.fileNames.push_back(project);
        ASSERT_TRUE(doc.SaveAsPublic());
        // Edits a ".label" file takes too.
        doc.SaveUndoState(0, true);
        doc.SaveTableUndoState();
        doc.SetTableName(1, "Cables");
        doc.SetModifiedFlag(true);
        label->SetFilePath(QFile::encodeName(path(folder + "/stored.label")).toStdString());
        label->SetLoaded(true);
        label->SetModified(true);
        if (c.writer == Writer::Filter)
            doc.SetupTableFilter();
        const QString source = path(folder + "/source/imported.label");
        writeFile(source, std::string(2000, 'L'));
        const std::string old = c.writer == Writer::Save ? readFile(project) : std::string("old bytes");
        if (c.writer != Writer::Save)
            writeFile(target, old);
        const QStringList filesBefore = QDir(path(folder)).entryList(QDir::Files | QDir::Hidden);

        std::string error;
        const auto write = [&] {
            switch (c.writer) {
            case Writer::Save: return doc.SavePublic();
            case Writer::SaveAsProject:
            case Writer::SaveAsTable:
            case Writer::SaveAsTemplate:
            case Writer::SaveAsLabel: ui.fileNames.push_back(target); return doc.SaveAsPublic();
            case Writer::StoredLabel: // Yes for the label, Cancel for the project
                ui.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
                doc.SaveModified();
                return !label->IsModified();
            case Writer::Filter: return doc.StoreTableFilter(target, &error);
            case Writer::Import:
                ui.fileNameLists.push_back({source});
                ui.answers = {MessageAnswer::Yes, MessageAnswer::No}; // replace; not used now
                return doc.ImportLabelFiles(path(folder + "/labels"), path(folder), path(folder)) == 1;
            }
            return false;
        };
        {
            testsupport::FileSizeLimit limit(64); // each file is larger
            ASSERT_TRUE(limit.active());
            EXPECT_FALSE(write());
        }
        EXPECT_TRUE(readFile(target) == old) << "size now " << readFile(target).size();
        EXPECT_EQ(QDir(path(folder)).entryList(QDir::Files | QDir::Hidden), filesBefore);
        EXPECT_EQ(QDir(path(folder + "/labels")).entryList(QDir::Files | QDir::Hidden),
                  c.writer == Writer::Import ? QStringList{"imported.label"} : QStringList{});
        if (c.writer == Writer::Filter) { // the table view shows it
            EXPECT_EQ(error, reason);
        } else {
            EXPECT_EQ(ui.messages.size(), 1u);
        }
        if (c.writer != Writer::Filter && !ui.messages.empty()) {
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
            EXPECT_NE(ui.messages[0].text.find(QFileInfo(target).fileName().toStdString()), std::string::npos)
                << ui.messages[0].text;
            EXPECT_TRUE(ui.messages[0].text.ends_with(": " + reason)) << ui.messages[0].text;
        }
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(label->IsModified());
        EXPECT_EQ(doc.GetPathName(), project);
        EXPECT_EQ(doc.GetTitle(), "work");
        EXPECT_EQ(templateUndoSteps(doc), 1);
        EXPECT_EQ(tableUndoSteps(doc), 1);

        // With room again the same write goes through.
        ui.messages.clear();
        EXPECT_TRUE(write());
        EXPECT_FALSE(readFile(target) == old);
        EXPECT_GT(readFile(target).size(), 64u);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(ProjectTest, RecoveredDocumentAsksForANameOnSave)
{
    CVorteplanSoftLabelDoc source;
    ASSERT_TRUE(source.OnNewDocument());
    ASSERT_TRUE(source.SaveByExtension(path("whole.proj")));
    const std::string whole = readFile(path("whole.proj"));
    writeFile(path("cut file.proj"), whole.substr(0, whole.size() - 10));

    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.Open(path("cut file.proj")));
    EXPECT_TRUE(doc.GetPathName().isEmpty());
    m_ui.fileNames.push_back(std::nullopt); // the user cancels
    EXPECT_FALSE(doc.SavePublic());
    ASSERT_EQ(m_ui.fileDialogs.size(), 1u);
    EXPECT_EQ(m_ui.fileDialogs[0].request.initialName, QString("cut.proj"));
    EXPECT_EQ(m_ui.fileDialogs[0].request.defaultExtension, "proj");
    EXPECT_EQ(readFile(path("cut file.proj")), whole.substr(0, whole.size() - 10));

    m_ui.fileNames.push_back(path("saved.proj"));
    EXPECT_TRUE(doc.SavePublic());
    EXPECT_EQ(doc.GetPathName(), path("saved.proj"));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ProjectTest, CancelAboutAStoredLabelInTemplateSevenStopsClosing)
{
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.GetTemplate(2).SetLabel(loadedModifiedLabel("Sheet40", "Wires"));
    doc.GetTemplate(7).SetLabel(loadedModifiedLabel("Strip9", "Terminals"));
    doc.GetTemplate(9).SetLabel(loadedModifiedLabel("Late", "Other"));
    auto unmodified = loadedModifiedLabel("Clean", "Other");
    unmodified->SetModified(false);
    doc.GetTemplate(1).SetLabel(std::move(unmodified));
    doc.SetModifiedFlag(true);
    doc.SetTitle("Project1");

    m_ui.answers = {MessageAnswer::No, MessageAnswer::Cancel};
    EXPECT_FALSE(doc.SaveModified());
    ASSERT_EQ(m_ui.questions.size(), 2u);
    EXPECT_EQ(m_ui.questions[0].message.text,
              "The standard label Sheet40 in the family Wires is modified. Do you want to save it?");
    EXPECT_EQ(m_ui.questions[1].message.text,
              "The standard label Strip9 in the family Terminals is modified. Do you want to save it?");
    EXPECT_EQ(m_ui.questions[1].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(m_ui.questions[1].message.icon, MessageIcon::Question);

    // Yes to a label whose save does not happen (its Save dialog is
    // cancelled): closing stops there and the label keeps its changes.
    m_ui.questions.clear();
    m_ui.answers = {MessageAnswer::Yes};
    m_ui.fileNames = {std::nullopt};
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(m_ui.questions.size(), 1u);
    EXPECT_TRUE(doc.GetTemplate(2).GetLabel()->IsModified());

    // No to every label, then No to the document: closing goes on.
    m_ui.questions.clear();
    m_ui.answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
    EXPECT_TRUE(doc.SaveModified());
    ASSERT_EQ(m_ui.questions.size(), 4u);
    EXPECT_EQ(m_ui.questions[3].message.text, "Save changes to Project1?");
}

TEST_F(ProjectTest, LockViewsAndRefresh)
{
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    RecordingView design(ViewKind::Design), preview(ViewKind::Preview), table(ViewKind::Table);
    doc.AddView(&design);
    doc.AddView(&preview);
    doc.AddView(&table);

    doc.GetTemplate(0).GetArea(1)->AddTail(std::make_unique<CGraphRect>());
    doc.GetTemplate(0).GetArea(1)->SelectAll();
    doc.LockTemplate(std::string(40, 'p'));
    EXPECT_TRUE(doc.GetCurrentTemplate().IsLocked());
    EXPECT_EQ(doc.GetLockPassword(), std::string(32, 'p'));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.GetTemplate(0).GetArea(1)->HasSelection());
    EXPECT_EQ(design.invalidated, 1);
    EXPECT_EQ(preview.invalidated, 0);

    doc.SetModifiedFlag(false);
    doc.UnlockTemplate();
    EXPECT_FALSE(doc.GetCurrentTemplate().IsLocked());
    EXPECT_EQ(doc.GetLockPassword(), "");
    EXPECT_FALSE(doc.IsModified());

    doc.TableDataEdited();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(design.invalidated, 2);
    EXPECT_EQ(preview.invalidated, 1);
    EXPECT_EQ(table.invalidated, 1);

    // Saving ends in-place edits first; the table character set goes to
    // every grid.
    EXPECT_TRUE(doc.OnSaveDocument(path("views.proj")));
    EXPECT_EQ(table.editsEnded, 1);
    EXPECT_EQ(design.editsEnded, 0);
    table.gridFont.lfHeight = -20;
    doc.SetTableCharSet(186);
    EXPECT_EQ(table.gridFont.lfCharSet, 186);
    EXPECT_EQ(doc.GetTableFont().lfHeight, -20);
    doc.RemoveView(&design);
    doc.RemoveView(&preview);
    doc.RemoveView(&table);
}

TEST_F(ProjectTest, CharacterSetNamesAndCodes)
{
    CVorteplanSoftLabelDoc doc;
    EXPECT_EQ(doc.GetCharSetFromName("300"), 0);
    EXPECT_EQ(doc.GetCharSetFromName("186"), 186);
    EXPECT_EQ(doc.GetCharSetFromName("Baltic"), 186);
    EXPECT_EQ(doc.GetCharSetFromName("Eastern European"), 238);
    EXPECT_EQ(doc.GetCharSetFromName("-5"), 0);
    EXPECT_EQ(doc.GetCharSetFromName("baltic"), 0);
    EXPECT_EQ(doc.GetCharSetFromName("99999999999999999999"), 0);
    EXPECT_EQ(doc.GetCharSetName(186), "Baltic");
    EXPECT_EQ(doc.GetCharSetName(99), "99");
    EXPECT_EQ(doc.GetCharSetName(1), "Default");
    EXPECT_EQ(CVorteplanSoftLabelDoc::CharSetNameAt(15), "Eastern European");
    EXPECT_EQ(CVorteplanSoftLabelDoc::CharSetCodeAt(16), 204);
    EXPECT_EQ(CVorteplanSoftLabelDoc::CharSetNameAt(19), "");
}
