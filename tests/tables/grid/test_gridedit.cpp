// In-place editing started and ended from the keyboard and the mouse, the
// title tip, sorting, row reorder and drag and drop.
#include "support/gridtest.h"

#include "platform/recordingui.h"
#include "tables/grid/titletip.h"

#include <QDropEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using gridtest::RecordingOwner;

class GridEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = gridtest::makeGrid(&owner);
        grid->SetItemText(1, 1, "abc");
        gridtest::click(*grid, 1, 1);
        QApplication::processEvents();
        owner.calls.clear();
    }
    QLineEdit* editor() const { return qobject_cast<QLineEdit*>(grid->InPlaceEditor()); }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = editor() ? static_cast<QWidget*>(editor()) : grid.get();
        QTest::keyClick(target, Qt::Key(k), mods);
        QApplication::processEvents();
    }

    CRecordingUi ui;
    UiScope scope{ui};
    RecordingOwner owner;
    std::unique_ptr<CGridCtrl> grid;
};

TEST_F(GridEditTest, F2AndTypingOpenTheEditor)
{
    key(Qt::Key_F2);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), "abc");
    EXPECT_EQ(editor()->cursorPosition(), 3);
    EXPECT_FALSE(editor()->hasSelectedText());
    key(Qt::Key_Escape);
    EXPECT_EQ(editor(), nullptr);

    QTest::keyClick(grid.get(), Qt::Key_X);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), "x");
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(1, 1), "x");
    EXPECT_EQ(grid->GetFocusCell(), CCellID(2, 1)) << "Enter moves down";
    ASSERT_NE(editor(), nullptr) << "and opens the next cell";
    key(Qt::Key_Escape);
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"begin 1,1", "begin 1,1", "end 1,1 x", "changing 2,1",
                                                     "changed 2,1", "begin 2,1"}));
}

TEST_F(GridEditTest, TypedCharactersThatLookLikeKeyCodesAreTyped)
{
    QTest::keyClicks(grid.get(), "%");
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), "%");
    QTest::keyClicks(editor(), " (");
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(1, 1), "% (");
}

TEST_F(GridEditTest, ClickInTheFocusCellEditsWithArrowsMovingTheCaret)
{
    gridtest::click(*grid, 1, 1);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->cursorPosition(), 3);
    key(Qt::Key_Left);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->cursorPosition(), 2);
    key(Qt::Key_Right);
    EXPECT_EQ(editor()->cursorPosition(), 3);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(grid->GetFocusCell(), CCellID(1, 2));
    ASSERT_NE(editor(), nullptr);
    EXPECT_TRUE(editor()->hasSelectedText() || editor()->text().isEmpty());
}

TEST_F(GridEditTest, EscapeStoresNothingTabMovesRight)
{
    key(Qt::Key_F2);
    QTest::keyClicks(editor(), "zz");
    key(Qt::Key_Escape);
    EXPECT_EQ(grid->GetItemText(1, 1), "abc");
    EXPECT_TRUE(owner.only({"end"}).empty());

    key(Qt::Key_F2);
    QTest::keyClicks(editor(), "d");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->GetItemText(1, 1), "abcd");
    EXPECT_EQ(grid->GetFocusCell(), CCellID(1, 2));
    EXPECT_NE(editor(), nullptr);
}

TEST_F(GridEditTest, AccentedCharactersAreStoredInTheCodePage)
{
    QTest::sendKeyEvent(QTest::Click, grid.get(), Qt::Key_unknown, QStringLiteral("\u00e9"), Qt::NoModifier);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("\u00e9"));
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(1, 1), "\xE9");
    key(Qt::Key_Escape); // closes the editor Enter opened below

    grid->SetFocusCell(1, 2);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("\u00e9t\u00e9"));
    QApplication::sendEvent(grid.get(), &commit);
    ASSERT_NE(editor(), nullptr);
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(1, 2), "\xE9t\xE9");
    key(Qt::Key_Escape);

    // A character the code page lacks is refused.
    grid->SetFocusCell(3, 1);
    QTest::sendKeyEvent(QTest::Click, grid.get(), Qt::Key_unknown, QStringLiteral("\u4e2d"), Qt::NoModifier);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(ui.beeps, 1);
}

TEST_F(GridEditTest, TitleTipForClippedTextOnly)
{
    const auto hover = [&](int row, int col) {
        const QPoint p = gridtest::cellCentre(*grid, row, col);
        QMouseEvent move(QEvent::MouseMove, p, grid->viewport()->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
    };
    auto* tipTimer = grid->findChild<QTimer*>(QStringLiteral("titleTipTimer"));
    ASSERT_NE(tipTimer, nullptr);
    QSignalSpy offered(tipTimer, &QTimer::timeout);
    grid->SetItemText(2, 2, "short");
    hover(2, 2);
    ASSERT_TRUE(offered.wait()); // the tip was offered for the short text
    EXPECT_FALSE(grid->TitleTip()->isVisible());

    const std::string wide = "a text far wider than its column";
    grid->SetItemText(3, 2, wide);
    hover(3, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->TitleTip()->isVisible(); }));
    const QFontMetrics fm(grid->TitleTip()->font());
    EXPECT_EQ(grid->TitleTip()->width(), fm.horizontalAdvance(QString::fromLatin1((" " + wide + " ").c_str())));
    EXPECT_EQ(grid->TitleTip()->height(), grid->GetRowHeight(3));

    // A click on the tip goes to the cell below it, the release too: the
    // grid offers tips again.
    QTest::mouseClick(grid->TitleTip(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_FALSE(grid->TitleTip()->isVisible());
    EXPECT_EQ(grid->GetFocusCell(), CCellID(3, 2));
    EXPECT_TRUE(grid->IsCellSelected(3, 2));
    grid->SetItemText(4, 2, wide);
    hover(4, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid->TitleTip()->isVisible(); }));
}

TEST_F(GridEditTest, SortKeepsEqualKeysAndReorderMovesARow)
{
    grid->SetItemText(1, 1, "b");
    grid->SetItemText(2, 1, "a");
    grid->SetItemText(3, 1, "c");
    grid->SetItemText(4, 1, "");
    grid->SetItemText(5, 1, "");
    grid->SetItemText(4, 2, "first");
    grid->SetItemText(5, 2, "second");
    ASSERT_TRUE(grid->SortItems(1, true, 0, 1, 3));
    EXPECT_EQ(grid->GetItemText(1, 1) + grid->GetItemText(2, 1) + grid->GetItemText(3, 1), "abc");
    ASSERT_TRUE(grid->SortItems(1, false, 0, 4, 5));
    EXPECT_EQ(grid->GetItemText(4, 2), "first");
    EXPECT_EQ(grid->GetItemText(5, 2), "second");
    EXPECT_FALSE(grid->SortItems(9, true));

    CGridCtrl virtualGrid(&owner);
    virtualGrid.SetVirtualMode(true);
    virtualGrid.SetRowCount(10);
    virtualGrid.Reorder(5, 2);
    EXPECT_EQ(virtualGrid.RowOrder(), (std::vector<int>{0, 1, 2, 5, 3, 4, 6, 7, 8, 9}));
    virtualGrid.Reorder(2, 5);
    EXPECT_EQ(virtualGrid.RowOrder(), (std::vector<int>{0, 1, 5, 3, 4, 2, 6, 7, 8, 9}));
    virtualGrid.SetFixedRowCount(1);
    virtualGrid.SetVirtualCompare([](int a, int b) { return a % 2 < b % 2; });
    virtualGrid.SetColumnCount(2);
    ASSERT_TRUE(virtualGrid.SortItems(1, true));
    EXPECT_EQ(virtualGrid.RowOrder(), (std::vector<int>{0, 4, 2, 6, 8, 1, 5, 3, 7, 9}));
}

TEST_F(GridEditTest, DropsPasteTextAndDragsCopyOrMove)
{
    grid->SetDragAndDrop(true);
    const auto drop = [&](int row, int col, Qt::KeyboardModifiers mods) {
        QMimeData data;
        data.setText(QStringLiteral("p\tq"));
        const QPointF p = gridtest::cellCentre(*grid, row, col);
        QDragEnterEvent enter(p.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, mods);
        QApplication::sendEvent(grid->viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        EXPECT_TRUE(grid->GetItemState(row, col) & GVIS_DROPHILITED);
        QDropEvent dropEvent(p, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, mods);
        QApplication::sendEvent(grid->viewport(), &dropEvent);
        EXPECT_FALSE(grid->GetItemState(row, col) & GVIS_DROPHILITED);
        return dropEvent.dropAction();
    };
    EXPECT_EQ(drop(2, 1, Qt::ControlModifier), Qt::CopyAction);
    EXPECT_EQ(grid->GetItemText(2, 1), "p");
    EXPECT_EQ(grid->GetItemText(2, 2), "q");
    EXPECT_EQ(drop(4, 2, Qt::NoModifier), Qt::MoveAction);
    EXPECT_EQ(grid->GetItemText(4, 3), "q");

    // Dragging the selected cell out: a move empties it, a copy keeps it.
    const QPoint from = gridtest::cellCentre(*grid, 1, 1);
    const auto dragOut = [&] {
        grid->SetSelectedRange(CCellRange(1, 1, 1, 1));
        grid->SetFocusCell(1, 2);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, from + QPoint(5, 0), grid->viewport()->mapToGlobal(from), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    };
    ui.dropEffects = {DropEffect::Copy};
    dragOut();
    ASSERT_EQ(ui.drags.size(), 1u);
    EXPECT_EQ(ui.drags[0].bytes, "abc");
    EXPECT_EQ(grid->GetItemText(1, 1), "abc");
    ui.dropEffects = {DropEffect::Move};
    dragOut();
    EXPECT_EQ(grid->GetItemText(1, 1), "");
    EXPECT_EQ(owner.only({"begindrag"}).size(), 2u);
}

} // namespace

// While the tip is up it leaves with the mouse, however far the mouse jumps,
// and with anything else the user does elsewhere: a key, a click, another
// tab, another window.
TEST(GridTitleTip, LeavesWithTheMouseAndWithAnyOtherMove)
{
    struct Moment {
        const char* what;
        std::function<void(QTabWidget& tabs, QWidget& far, QWidget& tip)> act;
        bool scrolls = false; // the grid below scrolls
    };
    const std::vector<Moment> moments = {
        {"a jump far outside the grid", [](QTabWidget&, QWidget& far, QWidget&) { QTest::mouseMove(&far, QPoint(40, 30)); }},
        {"a jump onto the tab row",
         [](QTabWidget& tabs, QWidget&, QWidget&) {
             QTest::mouseMove(tabs.tabBar(), tabs.tabBar()->tabRect(1).center());
         }},
        {"a switch to the other tab", [](QTabWidget& tabs, QWidget&, QWidget&) { tabs.setCurrentIndex(1); }},
        {"another window taking the focus",
         [](QTabWidget&, QWidget& far, QWidget&) {
             far.activateWindow();
             QApplication::setActiveWindow(&far);
         }},
        {"a press on another window", [](QTabWidget&, QWidget& far, QWidget&) { QTest::mousePress(&far, Qt::LeftButton); }},
        {"a key", [](QTabWidget& tabs, QWidget&, QWidget&) { QTest::keyClick(&tabs, Qt::Key_Shift); }},
        {"the wheel turned over the tip",
         [](QTabWidget&, QWidget&, QWidget& tip) {
             const QPoint p(4, 4);
             QWheelEvent e(p, tip.mapToGlobal(p), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                           Qt::NoScrollPhase, false);
             QApplication::sendEvent(&tip, &e);
         },
         true},
    };
    CRecordingUi ui;
    UiScope scope{ui};
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.what);
        RecordingOwner owner;
        QTabWidget tabs;
        auto grid = gridtest::makeGrid(&owner, 40, 4, false);
        tabs.addTab(grid.get(), QStringLiteral("Table 1"));
        tabs.addTab(new QWidget, QStringLiteral("Table 2"));
        tabs.setGeometry(0, 0, 400, 300);
        QWidget far;
        far.setGeometry(900, 600, 100, 80);
        far.show();
        tabs.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
        QApplication::setActiveWindow(&tabs);
        grid->setFocus();
        grid->SetItemText(3, 2, "a text far wider than its column");

        // In from another cell: a move to where the mouse already is is no move.
        QTest::mouseMove(grid->viewport(), gridtest::cellCentre(*grid, 1, 1));
        QTest::mouseMove(grid->viewport(), gridtest::cellCentre(*grid, 3, 2));
        ASSERT_TRUE(QTest::qWaitFor([&] { return grid->TitleTip()->isVisible(); }));
        m.act(tabs, far, *grid->TitleTip());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !grid->TitleTip()->isVisible(); }, 1000));
        EXPECT_EQ(grid->verticalScrollBar()->value() > 0, m.scrolls);
        tabs.removeTab(0);
        grid->setParent(nullptr);
    }
}
