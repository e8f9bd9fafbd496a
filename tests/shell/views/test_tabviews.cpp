// The main view with its template and table tabs: the tabs of a new
// project, the add tabs and their limits, removing tabs without adding
// any, the layout each template keeps, queued re-activation, and the
// template page's close.
#include "platform/commandids.h"
#include "shell/tableviewcommandtarget.h"
#include "shell/views/mainview.h"
#include "shell/views/tablepage.h"
#include "shell/views/tabletabview.h"
#include "shell/views/templatetabview.h"
#include "shell/views/templateview.h"
#include "tables/tableviewhost.h"
#include "tables/view/vorteplansofttableview.h"

#include "support/quiet_tablehost.h"
#include "support/widgettest.h"
#include "shell/frame/commandrouter.h"
#include "views_test_support.h"

#include <QPointer>
#include <QSplitter>
#include <QTabBar>

namespace {

QStringList texts(const CTabView& view)
{
    QStringList out;
    for (int i = 0; i < view.GetTabCount(); ++i)
        out << view.GetTabText(i);
    return out;
}

void clickTab(CTabView& view, int index)
{
    QTest::mouseClick(view.TabBar(), Qt::LeftButton, {}, view.TabBar()->tabRect(index).center());
}

class TabViewTest : public viewtest::ViewTest {
protected:
    void build()
    {
        CProjectViewContext context;
        context.document = doc.get();
        context.router = &router;
        context.tableHost = tableHost;
        context.activate = [this](CCmdTarget* view) { active = view; };
        context.deactivate = [this](CCmdTarget* view) {
            if (active == view)
                active = nullptr;
        };
        main = std::make_unique<CVorteplanSoftMainView>(context);
        main->resize(1000, 700);
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

    CCommandRouter router;
    CTableViewHost* tableHost = nullptr;
    CCmdTarget* active = nullptr;
    std::unique_ptr<CVorteplanSoftMainView> main;
};

TEST_F(TabViewTest, ANewProjectShowsThreeTemplatesAndThreeTables)
{
    build();
    EXPECT_EQ(texts(templates()), (QStringList{"Template 1", "Template 2", "Template 3", "+"}));
    EXPECT_EQ(texts(tables()), (QStringList{"Table 1", "Table 2", "Table 3", "+"}));
    EXPECT_EQ(templates().GetActiveTab(), 0);
    EXPECT_EQ(tables().GetActiveTab(), 0);
    // The tab rows take their room.
    EXPECT_EQ(templates().TabBar()->height(), templates().TabBar()->sizeHint().height());
    // The document keeps the texts: they are saved with the project.
    EXPECT_EQ(doc->GetTemplateName(2), "Template 3");
    EXPECT_EQ(doc->GetTableName(0), "Table 1");
    // Side by side, each half of the window.
    EXPECT_EQ(main->Splitter()->orientation(), Qt::Horizontal);
    const QList<int> sizes = main->Splitter()->sizes();
    ASSERT_EQ(sizes.size(), 2);
    EXPECT_EQ(sizes[0], sizes[1]);
    EXPECT_GE(sizes[0] + sizes[1] + main->Splitter()->handleWidth(), 1000);
}

TEST_F(TabViewTest, ChoosingTabsSetsTheCurrentTemplateAndTable)
{
    build();
    viewtest::CountingView design(ViewKind::Design), preview(ViewKind::Preview), table(ViewKind::Table);
    doc->AddView(&design);
    doc->AddView(&preview);
    doc->AddView(&table);
    clickTab(templates(), 2);
    EXPECT_EQ(doc->GetCurrentTemplateIndex(), 2);
    clickTab(tables(), 1);
    EXPECT_EQ(doc->GetCurrentTableIndex(), 1);
    EXPECT_EQ(design.invalidated, 2);
    EXPECT_EQ(preview.invalidated, 2);
    EXPECT_EQ(table.invalidated, 1);
    EXPECT_FALSE(doc->IsModified());
    doc->RemoveView(&design);
    doc->RemoveView(&preview);
    doc->RemoveView(&table);
}

TEST_F(TabViewTest, PlusAddsATableUpToTheLimit)
{
    build();
    clickTab(tables(), 3);
    EXPECT_EQ(texts(tables()), (QStringList{"Table 1", "Table 2", "Table 3", "Table 4", "+"}));
    EXPECT_EQ(tables().GetActiveTab(), 3);
    EXPECT_EQ(doc->GetTableCount(), 4);
    EXPECT_EQ(doc->GetCurrentTableIndex(), 3);
    EXPECT_TRUE(doc->IsModified());

    main.reset();
    doc->SetTableCount(255);
    build();
    ASSERT_EQ(tables().GetTabCount(), 256);
    clickTab(tables(), 255);
    EXPECT_EQ(doc->GetTableCount(), 255);
    EXPECT_EQ(tables().GetTabCount(), 256);
    EXPECT_EQ(tables().GetActiveTab(), 0);
}

TEST_F(TabViewTest, PlusAddsATemplateOrAtTheLimitShowsTheLastOne)
{
    build();
    clickTab(templates(), 3);
    EXPECT_EQ(texts(templates()), (QStringList{"Template 1", "Template 2", "Template 3", "Template 4", "+"}));
    EXPECT_EQ(templates().GetActiveTab(), 3);
    EXPECT_EQ(doc->GetTemplateCount(), 4);
    EXPECT_EQ(doc->GetCurrentTemplateIndex(), 3);

    main.reset();
    doc->SetTemplateCount(255);
    build();
    clickTab(templates(), 255);
    EXPECT_EQ(doc->GetTemplateCount(), 255);
    EXPECT_EQ(templates().GetTabCount(), 256);
    EXPECT_EQ(templates().GetActiveTab(), 254);
    EXPECT_EQ(doc->GetCurrentTemplateIndex(), 254);
}

TEST_F(TabViewTest, RemovingATemplateNeverAddsOne)
{
    for (int removed = 0; removed < 3; ++removed) {
        SCOPED_TRACE(removed);
        build();
        clickTab(templates(), removed);
        doc->SetTemplateCount(2);
        templates().TabRemoved(TabKind::Template, removed);
        EXPECT_EQ(doc->GetTemplateCount(), 2);
        EXPECT_EQ(templates().GetTabCount(), 3);
        EXPECT_EQ(templates().GetTabText(2), "+");
        EXPECT_EQ(templates().GetActiveTab(), std::min(removed, 1));
        EXPECT_EQ(doc->GetCurrentTemplateIndex(), std::min(removed, 1));
        main.reset();
        doc->SetTemplateCount(3);
    }
}

TEST_F(TabViewTest, ARemovedTableViewGoesLaterAndNoTableIsAdded)
{
    build();
    clickTab(tables(), 2);
    const QPointer<QWidget> page = tables().PeekPage(2);
    ASSERT_TRUE(page);
    doc->SetTableCount(2);
    tables().TabRemoved(TabKind::Table, 2);
    EXPECT_TRUE(page); // not inside the handler that removed it
    EXPECT_EQ(texts(tables()), (QStringList{"Table 1", "Table 2", "+"}));
    EXPECT_EQ(tables().GetActiveTab(), 1);
    EXPECT_EQ(doc->GetTableCount(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(page);
}

TEST_F(TabViewTest, ReactivationIsQueued)
{
    build();
    clickTab(tables(), 1);
    doc->SetCurrentTable(0);
    tables().PostReactivate();
    EXPECT_EQ(doc->GetCurrentTableIndex(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(doc->GetCurrentTableIndex(), 1);
}

TEST_F(TabViewTest, EveryTemplateKeepsItsOwnLayout)
{
    build();
    clickTab(templates(), 1);
    // 1122 from the design view: stacked, remembered for template 2.
    CCmdTarget designView;
    CVorteplanSoftMainView::RegisterStackedCommand(designView, main.get(), true);
    ASSERT_TRUE(designView.OnCmdMsg(cmd::kShowStacked));
    EXPECT_TRUE(main->IsStackedLayout());
    EXPECT_EQ(main->Splitter()->orientation(), Qt::Vertical);
    EXPECT_EQ(doc->GetStackedLayout(1), 1);
    CCmdUI ui(cmd::kShowStacked);
    ASSERT_TRUE(designView.OnUpdateCmdUI(ui));
    EXPECT_EQ(ui.GetChecked(), std::optional<bool>(true));

    clickTab(templates(), 0);
    EXPECT_FALSE(main->IsStackedLayout());
    clickTab(templates(), 1);
    EXPECT_TRUE(main->IsStackedLayout());

    // The table view's 1122 switches the layout but remembers nothing.
    CCmdTarget tableView;
    CVorteplanSoftMainView::RegisterStackedCommand(tableView, main.get(), false);
    ASSERT_TRUE(tableView.OnCmdMsg(cmd::kShowStacked));
    EXPECT_FALSE(main->IsStackedLayout());
    EXPECT_EQ(doc->GetStackedLayout(1), 1);

    // Choosing the current template's tab again repaints nothing but
    // brings its layout back.
    viewtest::CountingView design(ViewKind::Design), preview(ViewKind::Preview);
    doc->AddView(&design);
    doc->AddView(&preview);
    clickTab(templates(), 1);
    EXPECT_TRUE(main->IsStackedLayout());
    EXPECT_EQ(design.invalidated + preview.invalidated, 0);
    doc->RemoveView(&design);
    doc->RemoveView(&preview);
}

TEST_F(TabViewTest, TablePagesHoldTableViewsThatBecomeTheActiveView)
{
    QuietTableHost host;
    tableHost = &host;
    build();
    auto* page = qobject_cast<CTablePage*>(tables().GetPage(0));
    ASSERT_NE(page, nullptr);
    ASSERT_NE(page->GetTableView(), nullptr);
    page->GetTableView()->setFocus();
    EXPECT_EQ(active, page->GetCommandTarget());
    // The table view's "Show windows stacked" remembers nothing.
    ASSERT_TRUE(page->GetCommandTarget()->OnCmdMsg(cmd::kShowStacked));
    EXPECT_TRUE(main->IsStackedLayout());
    EXPECT_EQ(doc->GetStackedLayout(0), 0);
    // Its page goes with its table; the view of the table that takes its
    // tab becomes the active view, as choosing a table tab makes it.
    const QPointer<CTablePage> gone(page);
    doc->SetTableCount(2);
    tables().TabRemoved(TabKind::Table, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(gone);
    auto* next = qobject_cast<CTablePage*>(tables().PeekPage(0));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(active, next->GetCommandTarget());
    clickTab(tables(), 1);
    EXPECT_EQ(active, qobject_cast<CTablePage*>(tables().PeekPage(1))->GetCommandTarget());
}

TEST_F(TabViewTest, ClosingATemplatePageAsksToDeleteTheTemplate)
{
    int deletes = 0;
    CCmdTarget app;
    app.OnCommand(cmd::kDeleteTemplate, [&] { ++deletes; });
    router.SetApplicationTarget(&app);
    build();
    CVorteplanSoftTemplateView* page = templates().GetTemplateView(0);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->close());
    EXPECT_EQ(deletes, 1);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(templates().GetTabCount(), 4);
    router.SetApplicationTarget(nullptr);
}

} // namespace

TEST_F(TabViewTest, LongTabNamesAreCutOnceWhenSet)
{
    // The most templates and tables a project holds, each named with the
    // longest name a project stores.
    doc->SetTemplateCount(255);
    doc->SetTableCount(255);
    const auto longName = [](int k) { return std::string(65535, char('a' + k % 26)); };
    for (int k = 0; k < 255; ++k) {
        doc->SetTemplateName(k, longName(k));
        doc->SetTableName(k, longName(k + 1));
    }
    build();
    for (CTabView* view : {static_cast<CTabView*>(&templates()), static_cast<CTabView*>(&tables())}) {
        ASSERT_EQ(view->GetTabCount(), 256);
        // Each text measured once, not again as later tabs came.
        EXPECT_EQ(view->MeasuredTexts(), 255);
        EXPECT_EQ(view->GetTabText(254).size(), 65535);
        const QString shown = view->TabBar()->tabText(254);
        EXPECT_LE(shown.size(), 2 * CTabView::kMaxShownChars);
        EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
        EXPECT_EQ(view->TabBar()->tabText(255), "+");
    }
    // A new name is measured once more; the same name not at all.
    doc->SetTemplateName(3, "short");
    doc->SetTemplateName(4, longName(4));
    templates().TabLabelsChanged(TabKind::Template);
    EXPECT_EQ(templates().MeasuredTexts(), 255);
    EXPECT_EQ(templates().TabBar()->tabText(3), "short");
    doc->SetTemplateName(3, longName(9));
    templates().TabLabelsChanged(TabKind::Template);
    EXPECT_EQ(templates().MeasuredTexts(), 256);
    EXPECT_EQ(templates().GetTabText(3).size(), 65535);
}
