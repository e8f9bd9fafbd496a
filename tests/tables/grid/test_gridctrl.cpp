// The grid control driven by keyboard and mouse events on the offscreen
// screen: selection, focus moves, notifications, sizing, clipboard text,
// virtual mode and the wheel.
#include "support/gridtest.h"

#include "platform/recordingui.h"

#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

using gridtest::RecordingOwner;
using Calls = std::vector<std::string>;

class GridCtrlTest : public ::testing::Test {
protected:
    CRecordingUi ui;
    UiScope scope{ui};
    RecordingOwner owner;
};

void wheel(CGridCtrl& grid, int delta)
{
    const QPoint p = gridtest::cellCentre(grid, 1, 1);
    QWheelEvent e(p, grid.viewport()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &e);
}

TEST_F(GridCtrlTest, SelectAllToggleAndCornerClick)
{
    auto grid = gridtest::makeGrid(&owner);
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange(6, 4, -1, -1));
    grid->ToggleSelectAll();
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange(1, 1, 5, 3));
    grid->ToggleSelectAll();
    EXPECT_EQ(grid->GetSelectedCellRange().maxRow, -1);

    gridtest::click(*grid, 0, 0); // nothing selected: selects all
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange(1, 1, 5, 3));
    gridtest::click(*grid, 0, 0); // a selection: only cleared
    EXPECT_EQ(grid->GetSelectedCellRange().maxRow, -1);
}

TEST_F(GridCtrlTest, ClickNotificationsInOrderAndReleasePosted)
{
    auto grid = gridtest::makeGrid(&owner);
    int released = 0;
    QObject::connect(grid.get(), &CGridCtrl::cellReleased, [&] {
        ++released;
        owner.calls.push_back("released");
    });
    gridtest::click(*grid, 2, 2);
    EXPECT_EQ(released, 0) << "posted, not sent";
    QApplication::processEvents();
    EXPECT_EQ(owner.calls, (Calls{"columnclick -1,2", "changing 2,2", "changed 2,2", "click 2,2", "released"}));
    EXPECT_EQ(grid->GetFocusCell(), CCellID(2, 2));
    EXPECT_TRUE(grid->IsCellSelected(2, 2));
}

TEST_F(GridCtrlTest, CtrlClickAddsAndRemoves)
{
    auto grid = gridtest::makeGrid(&owner);
    gridtest::click(*grid, 1, 1);
    gridtest::click(*grid, 3, 2, Qt::ControlModifier);
    EXPECT_TRUE(grid->IsCellSelected(1, 1));
    EXPECT_TRUE(grid->IsCellSelected(3, 2));
    gridtest::click(*grid, 1, 1, Qt::ControlModifier);
    EXPECT_FALSE(grid->IsCellSelected(1, 1));
    EXPECT_TRUE(grid->IsCellSelected(3, 2));
}

TEST_F(GridCtrlTest, DeleteKeyBracketsTheCutWithUndoCalls)
{
    auto grid = gridtest::makeGrid(&owner);
    grid->SetItemText(1, 1, "a");
    grid->SetItemText(1, 2, "b");
    QTest::keyClick(grid.get(), Qt::Key_Delete); // no focus cell: a posted command
    EXPECT_TRUE(owner.calls.empty());
    QApplication::processEvents();
    EXPECT_EQ(owner.calls, (Calls{"command 839"}));

    gridtest::click(*grid, 1, 1);
    gridtest::click(*grid, 1, 2, Qt::ShiftModifier);
    owner.calls.clear();
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    EXPECT_EQ(owner.calls, (Calls{"snapshot", "undo off", "begin 1,1", "end 1,1 ", "begin 1,2", "end 1,2 ",
                                  "undo on"}));
    EXPECT_EQ(grid->GetItemText(1, 1), "");
    EXPECT_EQ(grid->GetFocusCell(), CCellID(1, 2));
}

TEST_F(GridCtrlTest, KeysPassOverHiddenRowsAndColumnsAndTabWraps)
{
    auto grid = gridtest::makeGrid(&owner, 6, 5);
    grid->SetRowHeight(2, 0);
    grid->SetColumnWidth(2, 0);
    gridtest::click(*grid, 1, 1);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->GetFocusCell(), CCellID(3, 1));
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->GetFocusCell(), CCellID(3, 3));
    QTest::keyClick(grid.get(), Qt::Key_Left);
    EXPECT_EQ(grid->GetFocusCell(), CCellID(3, 1));
    QTest::keyClick(grid.get(), Qt::Key_Left); // not into the fixed column
    EXPECT_EQ(grid->GetFocusCell(), CCellID(3, 1));
    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_EQ(grid->GetFocusCell(), CCellID(1, 1));

    grid->SetFocusCell(1, 4);
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    EXPECT_EQ(grid->GetFocusCell(), CCellID(3, 1)) << "next visible row, first column";
    QTest::keyClick(grid.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetFocusCell(), CCellID(1, 4));
    EXPECT_TRUE(grid->IsCellSelected(1, 4));
    EXPECT_FALSE(grid->IsCellSelected(3, 1));
}

TEST_F(GridCtrlTest, DividerDraggedPastTheLeftEdgeHidesTheColumn)
{
    auto grid = gridtest::makeGrid(&owner);
    RECT header;
    ASSERT_TRUE(grid->GetCellRect(0, 2, header));
    const QPoint divider(header.right + 1, 10); // between columns 2 and 3
    QTest::mouseMove(grid->viewport(), divider);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, divider);
    EXPECT_EQ(grid->MouseMode(), CGridCtrl::MOUSE_SIZING_COL);
    QMouseEvent move(QEvent::MouseMove, QPointF(header.left - 30, 10), grid->viewport()->mapToGlobal(QPointF(0, 0)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(header.left - 30, 10));
    EXPECT_EQ(grid->GetColumnWidth(2), 0);
    EXPECT_EQ(grid->GetColumnWidth(1), 60);
    EXPECT_EQ(grid->MouseMode(), CGridCtrl::MOUSE_NOTHING);
}

TEST_F(GridCtrlTest, CopyAndPasteText)
{
    auto grid = gridtest::makeGrid(&owner);
    grid->SetItemText(1, 1, "a");
    grid->SetItemText(1, 2, "b");
    grid->SetItemText(2, 1, "c");
    grid->SetItemText(2, 2, "d");
    grid->SetFocusCell(1, 1);
    grid->SetSelectedRange(CCellRange(1, 1, 2, 2));
    QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(ui.clipboardWrites.size(), 1u);
    EXPECT_EQ(ui.clipboardWrites[0].bytes, "a\tb\r\nc\td");

    ASSERT_TRUE(grid->PasteTextToGrid(CCellID(2, 2), "x\t y \r\nz"));
    EXPECT_EQ(grid->GetItemText(2, 2), "x");
    EXPECT_EQ(grid->GetItemText(2, 3), "y");
    EXPECT_EQ(grid->GetItemText(3, 2), "z");
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange(2, 2, 3, 3));
    EXPECT_TRUE(grid->RedrawCell(2, 2)) << "the grid draws its cells again after a paste";
}

TEST_F(GridCtrlTest, PasteAtTheLastRowGrowsTheRowCount)
{
    auto grid = gridtest::makeGrid(&owner, 20, 3);
    ASSERT_TRUE(grid->PasteTextToGrid(CCellID(19, 1), "1\n2\n3\n"));
    EXPECT_EQ(grid->GetRowCount(), 31) << "ten beyond the last row reached";
    EXPECT_EQ(grid->GetItemText(21, 1), "3");
    grid->SetItemState(5, 1, GVIS_READONLY);
    EXPECT_FALSE(grid->PasteTextToGrid(CCellID(5, 1), "no"));
}

TEST_F(GridCtrlTest, VirtualCellsAreSingleLineWhateverTheOwnerSays)
{
    auto grid = gridtest::makeGrid(&owner, 1, 1, false);
    grid->SetVirtualMode(true);
    grid->SetRowCount(5);
    grid->SetColumnCount(3);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    owner.askedFormat = DT_CENTER | DT_WORDBREAK;
    owner.texts[{2, 1}] = "two";
    const CGridCellBase* cell = grid->GetCell(2, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->GetText(), "two");
    EXPECT_EQ(cell->GetFormat(), DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    EXPECT_FALSE(grid->SetItemText(2, 1, "x"));

    // Another grid's requests do not overwrite this grid's cell.
    RecordingOwner other;
    other.texts[{2, 1}] = "other";
    auto second = gridtest::makeGrid(&other, 1, 1, false);
    second->SetVirtualMode(true);
    second->SetRowCount(5);
    second->SetColumnCount(3);
    const CGridCellBase* mine = grid->GetCell(2, 1);
    second->GetCell(2, 1);
    EXPECT_EQ(mine->GetText(), "two");
}

TEST_F(GridCtrlTest, VirtualGridSelectsRowsPastSixteenBitsAndCopiesThemAll)
{
    auto grid = gridtest::makeGrid(&owner, 1, 1);
    grid->SetVirtualMode(true);
    grid->SetEditable(true);
    grid->SetFixedRowSelection(true);
    grid->SetFixedColumnSelection(true);
    grid->SetRowCount(100001);
    grid->SetColumnCount(3);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->EnsureVisible(70000, 1);
    gridtest::click(*grid, 70000, 0);
    EXPECT_TRUE(grid->IsCellSelected(70000, 1));
    EXPECT_TRUE(grid->IsCellSelected(70000, 2));
    EXPECT_FALSE(grid->IsCellSelected(70000 - 65536, 1));
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange(70000, 1, 70000, 2));

    owner.texts[{5, 1}] = "five";
    gridtest::click(*grid, 70000, 1); // the keys need a focus cell
    QTest::keyClick(grid.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(ui.clipboardWrites.size(), 1u);
    const std::string& text = ui.clipboardWrites[0].bytes;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 99999);
    EXPECT_NE(text.find("\r\nfive\t\r\n"), std::string::npos);
}

TEST_F(GridCtrlTest, WheelKeepsPartsOfANotchAndScrollsPages)
{
    auto grid = gridtest::makeGrid(&owner, 100, 3);
    grid->SetWheelScrollLines(3);
    QScrollBar* bar = grid->verticalScrollBar();
    for (int i = 0; i < 8; ++i)
        wheel(*grid, -15);
    EXPECT_EQ(bar->value(), 60) << "three rows of 20";
    wheel(*grid, 120);
    EXPECT_EQ(bar->value(), 0);

    grid->SetWheelScrollLines(-1);
    wheel(*grid, -120);
    EXPECT_EQ(bar->value(), grid->viewport()->height() - 20);
}

TEST_F(GridCtrlTest, PaletteChangeRecoloursDefaultCells)
{
    auto grid = gridtest::makeGrid(&owner);
    EXPECT_EQ(grid->GetDefaultCell(false, false)->GetBackClr(), RGB(255, 255, 255));
    grid->GetDefaultCell(true, false)->SetTextClr(RGB(1, 2, 3)); // a colour of its own
    ui.colours[SystemColour::Window] = RGB(30, 30, 30);
    ui.colours[SystemColour::WindowText] = RGB(220, 220, 220);
    QEvent change(QEvent::PaletteChange);
    QApplication::sendEvent(grid.get(), &change);
    EXPECT_EQ(grid->GetDefaultCell(false, false)->GetBackClr(), RGB(30, 30, 30));
    EXPECT_EQ(grid->GetDefaultCell(false, false)->GetTextClr(), RGB(220, 220, 220));
    EXPECT_EQ(grid->GetDefaultCell(true, false)->GetTextClr(), RGB(1, 2, 3));
    const QImage image = gridtest::render(*grid);
    const QPoint p = gridtest::cellCentre(*grid, 2, 2);
    EXPECT_EQ(image.pixel(p) & 0xFFFFFF, 0x1E1E1Eu);
}

} // namespace

TEST_F(GridCtrlTest, ANewFontResizesTheRowsOfTheOldFontsHeightOnly)
{
    auto grid = std::make_unique<CGridCtrl>(&owner);
    LOGFONTA small{};
    small.lfHeight = -12;
    grid->SetGridFont(small);
    grid->SetRowCount(40);
    grid->SetColumnCount(3);
    const int smallRow = grid->GetRowHeight(30);
    ASSERT_GT(smallRow, 0);
    grid->SetRowHeight(5, 77); // sized by the user
    LOGFONTA large = small;
    large.lfHeight = -30;
    grid->SetGridFont(large);
    EXPECT_GT(grid->GetRowHeight(1), smallRow);
    EXPECT_EQ(grid->GetRowHeight(1), grid->GetRowHeight(39));
    EXPECT_EQ(grid->GetRowHeight(5), 77);
    grid->SetRowCount(60); // later rows alike
    EXPECT_EQ(grid->GetRowHeight(59), grid->GetRowHeight(1));
}
