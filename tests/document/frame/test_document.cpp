// The document frame: path and title, the save protocol with its dialogs
// and questions, documents made by the template, views and tab observers.
#include "document/frame/document.h"

#include "platform/recordingui.h"

#include <gtest/gtest.h>

namespace {

class TestDocument : public CDocument {
public:
    bool OnOpenDocument(const QString& path) override
    {
        opened.push_back(path);
        if (path.endsWith(".partial"))
            KeepWithoutPath("partial");
        return !path.endsWith(".bad");
    }
    bool OnSaveDocument(const QString& path) override
    {
        saved.push_back(path);
        if (saveResult)
            SetModifiedFlag(false);
        return saveResult;
    }
    void DeleteContents() override { ++deleted; }
    const DocumentTypeInfo& GetDocumentType() const override
    {
        static const DocumentTypeInfo info{"Project", "Projects (*.proj)|*.proj||", ".proj"};
        return info;
    }
    std::vector<QString> opened, saved;
    bool saveResult = true;
    int deleted = 0;
};

class TestTemplate : public CDocTemplate {
public:
    std::unique_ptr<CDocument> CreateDocument() const override { return std::make_unique<TestDocument>(); }
};

struct CountingView : CDocView {
    explicit CountingView(ViewKind k) : kind(k) {}
    ViewKind GetViewKind() const override { return kind; }
    void Invalidate() override { ++count; }
    ViewKind kind;
    int count = 0;
};

} // namespace

TEST(DocumentFrame, DefaultSaveNameAndSaveDialogs)
{
    CRecordingUi ui;
    UiScope scope(ui);
    TestDocument doc;
    for (const char* title : {"Plan A", "Plan#A", "Plan%A", "Plan;A", "Plan/A", "Plan\\A", "Plan"}) {
        doc.SetTitle(title);
        EXPECT_EQ(doc.DefaultSaveName(), "Plan.proj") << title;
    }

    // Save without a path is Save As: the dialog proposes the default name.
    ui.fileNames = {QString("/tmp/x/chosen.proj")};
    doc.SetModifiedFlag(true);
    EXPECT_TRUE(doc.DoFileSave());
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].kind, CRecordingUi::DialogKind::Save);
    EXPECT_EQ(ui.fileDialogs[0].request.initialName, QString("Plan.proj"));
    EXPECT_EQ(ui.fileDialogs[0].request.title, "Save As");
    EXPECT_EQ(doc.GetPathName(), QString("/tmp/x/chosen.proj"));
    EXPECT_EQ(doc.GetTitle(), "chosen");

    // With a path: no dialog.
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(doc.saved.back(), QString("/tmp/x/chosen.proj"));

    // A copy keeps the document's path; a cancelled dialog saves nothing.
    ui.fileNames = {QString("/tmp/x/copy.proj"), std::nullopt};
    EXPECT_TRUE(doc.DoSave(std::nullopt, false));
    EXPECT_EQ(ui.fileDialogs.back().request.title, "Save Copy As");
    EXPECT_EQ(ui.fileDialogs.back().request.initialName, QString("/tmp/x/chosen.proj"));
    EXPECT_EQ(doc.GetPathName(), QString("/tmp/x/chosen.proj"));
    const size_t saves = doc.saved.size();
    EXPECT_FALSE(doc.DoSave(std::nullopt, true));
    EXPECT_EQ(doc.saved.size(), saves);

    // A failed save keeps the old path.
    doc.saveResult = false;
    ui.fileNames = {QString("/tmp/x/other.proj")};
    EXPECT_FALSE(doc.DoSave(std::nullopt, true));
    EXPECT_EQ(doc.GetPathName(), QString("/tmp/x/chosen.proj"));
}

TEST(DocumentFrame, SaveChangesQuestion)
{
    CRecordingUi ui;
    UiScope scope(ui);
    TestDocument doc;
    doc.SetTitle("Project1");
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(ui.questions.empty());

    doc.SetModifiedFlag(true);
    ui.answers = {MessageAnswer::Cancel, MessageAnswer::No};
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_TRUE(doc.SaveModified());
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].message.text, "Save changes to Project1?");
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(doc.saved.empty());

    // Yes saves; a save that fails or is cancelled stops closing.
    doc.SetPathName("/tmp/p.proj");
    ui.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    EXPECT_TRUE(doc.Close());
    EXPECT_EQ(ui.questions.back().message.text, "Save changes to /tmp/p.proj?");
    EXPECT_EQ(doc.saved.size(), 1u);
    EXPECT_EQ(doc.deleted, 1);
    doc.SetModifiedFlag(true);
    doc.saveResult = false;
    EXPECT_FALSE(doc.Close());
    EXPECT_EQ(doc.deleted, 1);
}

TEST(DocumentFrame, TemplateMakesNewAndOpenedDocuments)
{
    CRecordingUi ui;
    UiScope scope(ui);
    TestTemplate tmpl;
    auto first = tmpl.NewDocument();
    auto second = tmpl.NewDocument();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->GetTitle(), "Project1");
    EXPECT_EQ(second->GetTitle(), "Project2");
    EXPECT_FALSE(first->IsModified());

    EXPECT_EQ(tmpl.OpenDocument(), nullptr); // dialog cancelled
    EXPECT_EQ(ui.fileDialogs.back().kind, CRecordingUi::DialogKind::Open);
    ui.fileNames = {QString("/tmp/a.proj")};
    auto opened = tmpl.OpenDocument();
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->GetPathName(), QString("/tmp/a.proj"));
    EXPECT_EQ(tmpl.OpenDocument("/tmp/b.bad"), nullptr);

    // A document that keeps no path is modified and titled as it asked.
    auto partial = tmpl.OpenDocument("/tmp/c.partial");
    ASSERT_TRUE(partial);
    EXPECT_TRUE(partial->GetPathName().isEmpty());
    EXPECT_EQ(partial->GetTitle(), "partial");
    EXPECT_TRUE(partial->IsModified());
}

TEST(DocumentFrame, ViewsAreInvalidatedByKind)
{
    TestDocument doc;
    CountingView design(ViewKind::Design), table(ViewKind::Table), table2(ViewKind::Table);
    doc.AddView(&design);
    doc.AddView(&table);
    doc.AddView(&table); // once only
    doc.AddView(&table2);
    doc.InvalidateViews(ViewKind::Table);
    EXPECT_EQ(design.count, 0);
    EXPECT_EQ(table.count, 1);
    EXPECT_EQ(table2.count, 1);
    doc.RemoveView(&table);
    doc.InvalidateViews(ViewKind::Table);
    EXPECT_EQ(table.count, 1);
    EXPECT_EQ(doc.GetViews().size(), 2u);
}
