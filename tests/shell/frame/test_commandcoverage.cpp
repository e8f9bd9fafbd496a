// Every command a control sends has a handler, and every handler is sent by
// some control: checked on the real main frame with a project open, over
// the ribbon, the accelerators, the context menus the views show on a right
// click, the document menu and the status panes. The table of command ids
// says which handlers only the program itself reaches.
#include "shell/application/startup_fixture.h"

#include "platform/commandids.h"
#include "platform/numberformat.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/frame/ribbontable.h"
#include "shell/tableviewcommandtarget.h"
#include "shell/views/labelview.h"
#include "shell/views/tablepage.h"
#include "tables/view/vorteplansofttableview.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

#include <map>
#include <set>

namespace {

// "kName (id)", or "unnamed (id)" for an id the table does not name.
std::string describe(int id)
{
    const cmd::CommandRow* row = cmd::Find(id);
    return (row ? "k" + std::string(row->name) + " " : std::string("unnamed ")) + "(" + std::to_string(id) + ")";
}

class CommandCoverageTest : public StartupTest {
protected:
    std::unique_ptr<CVorteplanSoftLabelApp> app;
    CChildFrame* child = nullptr;

    void SetUp() override
    {
        StartupTest::SetUp();
        app = start();
        ASSERT_TRUE(app && app->MainFrame());
        app->MainFrame()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
        child = app->NewDocument();
        ASSERT_NE(child, nullptr);
        // Ten recent documents: the whole list shows.
        QStringList recent;
        for (int i = 0; i < cmd::kFileMruCount; ++i)
            recent << root.filePath(QStringLiteral("p%1.proj").arg(i));
        app->MainFrame()->Ribbon()->SetRecentFiles(recent);
    }
    void TearDown() override
    {
        app.reset();
        StartupTest::TearDown();
    }

    // Every control's command id, with where it is.
    std::map<int, std::string> controls() const
    {
        std::map<int, std::string> out;
        CMainFrame* frame = app->MainFrame();
        for (int id : frame->Ribbon()->CommandIds())
            out.emplace(id, "the ribbon");
        for (QAction* action : frame->AcceleratorActions())
            out.emplace(action->data().toInt(), "accelerator " + action->shortcut().toString().toStdString());
        for (const auto& [id, view] : contextMenuIds())
            out.emplace(id, "the context menu of " + view);
        QMenu* documentMenu = frame->DocumentMenuButton()->menu();
        emit documentMenu->aboutToShow();
        for (QAction* action : documentMenu->actions())
            if (action->data().toInt() != 0)
                out.emplace(action->data().toInt(), "the document menu");
        for (int pane : {cmd::kStatusPane1, cmd::kStatusPane2})
            if (frame->StatusPane(pane))
                out.emplace(pane, "the status bar");
        return out;
    }

    // The entries of the context menu each view of the project shows on a
    // right click (the menu is opened and closed again).
    std::multimap<int, std::string> contextMenuIds() const
    {
        std::multimap<int, std::string> out;
        std::vector<QWidget*> views;
        for (QWidget* widget : child->findChildren<QWidget*>())
            if (dynamic_cast<CCmdTarget*>(widget) || qobject_cast<CVorteplanSoftTableView*>(widget) ||
                qobject_cast<CVorteplanSoftLabelView*>(widget))
                views.push_back(widget);
        for (QWidget* view : views) {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1), view->mapToGlobal(QPoint(1, 1)));
            QCoreApplication::sendEvent(view, &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                continue;
            std::vector<QMenu*> menus{menu};
            for (QMenu* sub : menu->findChildren<QMenu*>())
                menus.push_back(sub);
            for (QMenu* m : menus)
                for (QAction* action : m->actions())
                    if (action->data().toInt() != 0)
                        out.emplace(action->data().toInt(), view->metaObject()->className());
            menu->close();
        }
        return out;
    }

    // Every link of the command route the open project has: its views, its
    // document, the frame and the application.
    std::vector<CCmdTarget*> targets() const
    {
        std::vector<CCmdTarget*> out{app.get(), app->MainFrame(), &child->DocumentTarget()};
        for (QWidget* widget : child->findChildren<QWidget*>())
            if (auto* target = dynamic_cast<CCmdTarget*>(widget))
                out.push_back(target);
        for (CTablePage* page : child->findChildren<CTablePage*>())
            out.push_back(page->GetCommandTarget());
        return out;
    }

    std::set<int> handled() const
    {
        std::set<int> out;
        for (CCmdTarget* target : targets())
            for (int id : target->CommandIds())
                out.insert(id);
        return out;
    }
};

TEST_F(CommandCoverageTest, EveryControlHasAHandlerAndEveryHandlerAControl)
{
    const std::map<int, std::string> shown = controls();
    const std::set<int> claimed = handled();
    // The open project brings its views along: the design canvas, the
    // preview and the table view are on the route.
    ASSERT_GT(targets().size(), 5u);
    ASSERT_GT(shown.size(), 250u);
    std::set<std::string> viewsWithMenus;
    for (const auto& [id, view] : contextMenuIds())
        viewsWithMenus.insert(view);
    EXPECT_EQ(viewsWithMenus, (std::set<std::string>{"CLabelPreview", "CVorteplanSoftLabelView",
                                                     "CVorteplanSoftTableView", "Vorteplan_SoftLabelDesignView"}));

    for (const auto& [id, where] : shown) {
        EXPECT_NE(cmd::Find(id), nullptr) << "id " << id << " in " << where << " is not in the table of command ids";
        EXPECT_TRUE(claimed.count(id)) << describe(id) << " in " << where << " has no handler";
    }
    for (int id : claimed) {
        const cmd::CommandRow* row = cmd::Find(id);
        ASSERT_NE(row, nullptr) << "the handler of " << id << " is not in the table of command ids";
        if (row->reach != cmd::Reach::Control)
            continue;
        EXPECT_TRUE(shown.count(id)) << "no control sends " << describe(id);
    }
    // The table says who reaches each command, and says it right.
    for (const cmd::CommandRow& row : cmd::kCommandRows) {
        switch (row.reach) {
        case cmd::Reach::Control:
            EXPECT_TRUE(shown.count(row.id)) << describe(row.id) << " is not on any control";
            break;
        case cmd::Reach::Internal:
            EXPECT_TRUE(claimed.count(row.id)) << describe(row.id) << " is internal and has no handler";
            EXPECT_FALSE(shown.count(row.id)) << describe(row.id) << " is internal and on a control";
            break;
        case cmd::Reach::Unshown:
            EXPECT_FALSE(claimed.count(row.id) || shown.count(row.id)) << describe(row.id) << " is in use";
            break;
        }
    }
}

TEST_F(CommandCoverageTest, NextAndPreviousPaneMoveTheFocusBetweenTemplateAndTable)
{
    auto* splitter = child->findChild<QSplitter*>();
    ASSERT_NE(splitter, nullptr);
    ASSERT_EQ(splitter->count(), 2);
    app->MainFrame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->MainFrame()));
    const auto paneOfFocus = [&]() -> int {
        for (int i = 0; i < splitter->count(); ++i)
            if (splitter->widget(i)->isAncestorOf(QApplication::focusWidget()))
                return i;
        return -1;
    };
    ASSERT_TRUE(app->Router().Route(cmd::kNextPane));
    const int first = paneOfFocus();
    ASSERT_GE(first, 0);
    ASSERT_TRUE(app->Router().Route(cmd::kNextPane));
    EXPECT_EQ(paneOfFocus(), 1 - first);
    ASSERT_TRUE(app->Router().Route(cmd::kPrevPane));
    EXPECT_EQ(paneOfFocus(), first);
    // The view that has the focus is the active view of the route.
    EXPECT_NE(child->GetActiveView(), nullptr);
}

TEST(CommandIds, RangesAndUnknownIds)
{
    EXPECT_EQ(cmd::Find(cmd::kFileMruFirst + 4), cmd::Find(cmd::kFileMruFirst));
    EXPECT_EQ(cmd::Find(cmd::kFileMruLast)->id, cmd::kFileMruLast);
    EXPECT_EQ(cmd::Find(cmd::kFileMruLast + 1), nullptr);
    EXPECT_EQ(cmd::Find(0), nullptr);
    EXPECT_STREQ(cmd::Find(839)->name, "Delete");
    EXPECT_EQ(cmd::kLookLast - cmd::kLookFirst, 8);
}

// What the ribbon table holds beyond its ids.
TEST(RibbonTable, ElevenCategoriesInTabOrderWithModuleMarkingSixth)
{
    const QStringList names = RibbonCategoryNames();
    EXPECT_EQ(names, (QStringList{"Home", "Label", "Page", "Label info", "Table", "Module marking", "Draw",
                                  "Fine tune layout", "Edit", "Format", "Options"}));
    EXPECT_EQ(names.value(kModuleMarkingCategory), "Module marking");
}

TEST(RibbonTable, ListsAreFilledAndLengthsUseTheUsersSeparator)
{
    const NumberLocale saved = CurrentNumberLocale();
    SetCurrentNumberLocale(NumberLocale{','});
    std::map<int, QStringList> lists;
    for (const RibbonEntry& e : BuildRibbonTable())
        if (e.kind == RibbonKind::Combo || e.kind == RibbonKind::Colour)
            lists[e.id] = e.items;
    SetCurrentNumberLocale(saved);

    EXPECT_EQ(lists[cmd::kColumnBox].size(), 52);
    EXPECT_EQ(lists[cmd::kColumnBox].value(25), "Z");
    EXPECT_EQ(lists[cmd::kColumnBox].value(26), "Image 1");
    EXPECT_EQ(lists[cmd::kBarcodeModuleBox].mid(0, 6),
              (QStringList{"0,2 mm", "0,3 mm", "0,4 mm", "0,6 mm", "0,8 mm", "1 mm"}));
    EXPECT_EQ(lists[cmd::kLineWidthBox].value(1), "0,125 mm");
    EXPECT_EQ(lists[cmd::kEngraveLineWidthBox].value(0), "0 mm");
    EXPECT_EQ(lists[cmd::kBarcodeRatioBox], (QStringList{"2:1", "2,5:1", "3:1"}));
    EXPECT_EQ(lists[cmd::kPaperSizeBox].front(), "Letter");
    EXPECT_EQ(lists[cmd::kPaperSizeBox].back(), "User defined");
    EXPECT_EQ(lists[cmd::kQrVersionBox].size(), 40);
    EXPECT_EQ(lists[cmd::kCharSetBox].size(), 19);
    EXPECT_EQ(lists[cmd::kEngraveBorderColour].size(), 9);
    EXPECT_TRUE(lists[cmd::kFamilyBox].isEmpty()); // filled at start-up
}

TEST(RibbonTable, ShiftDeleteDeletesAndCtrlBFinds)
{
    std::map<QString, int> keys;
    for (const Accelerator& a : AcceleratorTable())
        keys[a.keys.toString(QKeySequence::PortableText)] = a.id;
    EXPECT_EQ(keys["Shift+Del"], cmd::kDelete); // not Cut
    EXPECT_EQ(keys["Ctrl+X"], cmd::kEditCut);
    EXPECT_EQ(keys["Ctrl+B"], cmd::kFind);
}

} // namespace
