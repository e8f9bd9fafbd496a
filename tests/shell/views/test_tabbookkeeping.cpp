// The tab rows follow the document's own commands: a template or table
// added by command gets its tab and becomes the chosen one, and a deleted
// one takes its tab with it, the next template bringing its own layout.
#include "shell/views/mainview.h"
#include "shell/views/tabletabview.h"
#include "shell/views/templatetabview.h"

#include "support/widgettest.h"
#include "platform/recordingui.h"
#include "shell/frame/commandrouter.h"
#include "views_test_support.h"

namespace {

QStringList texts(const CTabView& view)
{
    QStringList out;
    for (int i = 0; i < view.GetTabCount(); ++i)
        out << view.GetTabText(i);
    return out;
}

class TabBookkeepingTest : public viewtest::ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        CProjectViewContext context;
        context.document = doc.get();
        context.router = &router;
        main = std::make_unique<CVorteplanSoftMainView>(context);
        main->resize(900, 600);
        ASSERT_TRUE(widgettest::ShowAndWait(main.get()));
    }
    void TearDown() override
    {
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ViewTest::TearDown();
    }
    CTemplateTabView& templates() { return *main->TemplateTabs(); }
    CTableTabView& tables() { return *main->TableTabs(); }

    CRecordingUi ui;
    UiScope scope{ui};
    CCommandRouter router;
    std::unique_ptr<CVorteplanSoftMainView> main;
};

TEST_F(TabBookkeepingTest, AddedAndDeletedTemplatesKeepTheTabsInStep)
{
    ASSERT_TRUE(doc->AddTemplate());
    EXPECT_EQ(texts(templates()), (QStringList{"Template 1", "Template 2", "Template 3", "Template 4", "+"}));
    EXPECT_EQ(templates().GetActiveTab(), 3);

    // Template 3 was last shown stacked, template 2 side by side.
    doc->SetStackedLayout(2, 1);
    doc->SetCurrentTemplate(1);
    templates().SetActiveTab(1);
    ASSERT_FALSE(main->IsStackedLayout());
    ui.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(doc->DeleteTemplate());
    EXPECT_EQ(texts(templates()), (QStringList{"Template 1", "Template 3", "Template 4", "+"}));
    EXPECT_EQ(templates().GetActiveTab(), 1);
    EXPECT_EQ(doc->GetCurrentTemplateIndex(), 1);
    EXPECT_TRUE(main->IsStackedLayout());

    // Deleting the last one chooses the one before it.
    doc->SetCurrentTemplate(2);
    templates().SetActiveTab(2);
    ui.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(doc->DeleteTemplate());
    EXPECT_EQ(texts(templates()), (QStringList{"Template 1", "Template 3", "+"}));
    EXPECT_EQ(templates().GetActiveTab(), 1);
    EXPECT_EQ(doc->GetCurrentTemplateIndex(), 1);
}

TEST_F(TabBookkeepingTest, DeletedTablesTakeTheirTabs)
{
    ASSERT_TRUE(doc->AddTable());
    EXPECT_EQ(texts(tables()), (QStringList{"Table 1", "Table 2", "Table 3", "Table 4", "+"}));
    EXPECT_EQ(tables().GetActiveTab(), 3);
    ui.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(doc->DeleteTable());
    EXPECT_EQ(texts(tables()), (QStringList{"Table 1", "Table 2", "Table 3", "+"}));
    EXPECT_EQ(tables().GetActiveTab(), 2);
    EXPECT_EQ(doc->GetCurrentTableIndex(), 2);
}

} // namespace
