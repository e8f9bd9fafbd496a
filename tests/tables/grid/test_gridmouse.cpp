// Sizing feedback, divider double clicks, right clicks, auto-scrolling,
// the counts and pasting from the clipboard.
#include "support/gridtest.h"

#include "platform/recordingui.h"

#include <QLineEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

using gridtest::RecordingOwner;

class GridMouseTest : public ::testing::Test {
protected:
    void send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, p, grid->viewport()->mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &e);
    }
    QPoint divider(int col) const
    {
        RECT r;
        grid->GetCellRect(0, col, r);
        return QPoint(r.right + 1, 10);
    }

    CRecordingUi ui;
    UiScope scope{ui};
    RecordingOwner owner;
    std::unique_ptr<CGridCtrl> grid = gridtest::makeGrid(&owner, 30, 4);
};

TEST_F(GridMouseTest, SizingLineIsInvertedAndGoesAway)
{
    const QPoint at = divider(1);
    const QImage before = grid->viewport()->grab().toImage();
    send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    const QPoint to(at.x() + 25, 40);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    const QImage during = grid->viewport()->grab().toImage();
    for (int y : {5, 50, 150}) {
        EXPECT_EQ(during.pixel(to.x(), y) & 0xFFFFFF, ~before.pixel(to.x(), y) & 0xFFFFFF) << y;
        EXPECT_EQ(during.pixel(to.x() + 1, y) & 0xFFFFFF, ~before.pixel(to.x() + 1, y) & 0xFFFFFF) << y;
        EXPECT_EQ(during.pixel(to.x() + 2, y), before.pixel(to.x() + 2, y)) << "two pixels wide";
    }
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(grid->GetColumnWidth(1), 85);
    const QImage after = grid->viewport()->grab().toImage();
    EXPECT_EQ(after.pixel(to.x() - 5, 150), before.pixel(to.x() - 5, 150));
}

TEST_F(GridMouseTest, DoubleClickOnADividerAutoSizesTheColumn)
{
    grid->SetItemText(3, 2, "a text wider than sixty pixels");
    const QPoint at = divider(2);
    send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    const int width = grid->GetColumnWidth(2);
    EXPECT_EQ(width, grid->GetCell(3, 2)->GetCellExtent(nullptr).cx);
    EXPECT_GT(width, 60);
    EXPECT_EQ(owner.only({"dblclick"}), (std::vector<std::string>{"dblclick 0,3"}));
}

TEST_F(GridMouseTest, RightClickMovesTheFocusOnly)
{
    gridtest::click(*grid, 1, 1);
    owner.calls.clear();
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier, gridtest::cellCentre(*grid, 3, 0));
    EXPECT_EQ(grid->GetFocusCell(), CCellID(3, 1)) << "raised past the fixed column";
    EXPECT_TRUE(grid->IsCellSelected(1, 1));
    EXPECT_FALSE(grid->IsCellSelected(3, 1));
    grid->SetColumnCount(2);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(390, 10));
    EXPECT_EQ(owner.only({"rclick"}), (std::vector<std::string>{"rclick 3,0", "rclick -1,-1"}));
}

TEST_F(GridMouseTest, HoldingTheButtonBelowTheGridScrollsAndExtends)
{
    const QPoint start = gridtest::cellCentre(*grid, 1, 1);
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(start.x(), grid->viewport()->height() + 20), Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->verticalScrollBar()->value() > 0; }));
    send(QEvent::MouseButtonRelease, QPoint(start.x(), grid->viewport()->height() + 20), Qt::LeftButton,
         Qt::NoButton);
    const CCellRange sel = grid->GetSelectedCellRange();
    EXPECT_EQ(sel.minRow, 1);
    EXPECT_GT(sel.maxRow, grid->GetVisibleNonFixedCellRange().minRow);
    EXPECT_EQ(sel.minCol, 1);
    EXPECT_EQ(sel.maxCol, 1);
}

TEST_F(GridMouseTest, CountsKeepStateBitsAndTheSelectionInBounds)
{
    EXPECT_TRUE(grid->GetItemState(0, 2) & GVIS_FIXEDROW);
    grid->SetFixedRowCount(2);
    EXPECT_TRUE(grid->GetItemState(1, 2) & GVIS_FIXEDROW);
    EXPECT_TRUE(grid->GetItemState(1, 0) & GVIS_FIXEDCOL);
    grid->SetFixedRowCount(1);
    EXPECT_EQ(grid->GetItemState(1, 2) & (GVIS_FIXED | GVIS_FIXEDROW), 0u);
    EXPECT_EQ(grid->GetItemState(1, 0) & (GVIS_FIXED | GVIS_FIXEDCOL), GVIS_FIXED | GVIS_FIXEDCOL);

    grid->SetSelectedRange(CCellRange(20, 1, 25, 3));
    grid->SetFocusCell(25, 3);
    grid->SetRowCount(22);
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange(20, 1, 21, 3));
    EXPECT_EQ(grid->GetFocusCell(), CCellID());
    EXPECT_EQ(grid->GetRowHeight(22), -1);

    CGridCtrl virtualGrid(&owner);
    virtualGrid.SetVirtualMode(true);
    virtualGrid.SetRowCount(5);
    virtualGrid.Reorder(4, 1); // shown: 0 1 4 2 3
    virtualGrid.ShiftRowOrder(2, 1); // a new data row 2: every data row is shown once
    EXPECT_EQ(virtualGrid.RowOrder(), (std::vector<int>{0, 1, 2, 5, 3, 4}));
    virtualGrid.ShiftRowOrder(5, -1); // data row 5 removed wherever it is shown
    EXPECT_EQ(virtualGrid.RowOrder(), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(GridMouseTest, PasteGoesToTheFocusCellOrToAnOpenEditor)
{
    ui.clipboardText = "one\ttwo";
    gridtest::click(*grid, 2, 1);
    QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->GetItemText(2, 1), "one");
    EXPECT_EQ(grid->GetItemText(2, 2), "two");

    grid->SetItemText(5, 1, "ab");
    grid->ResetSelectedRange();
    grid->SetFocusCell(5, 1);
    QTest::keyClick(grid.get(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(grid->InPlaceEditor());
    ASSERT_NE(editor, nullptr);
    grid->OnEditPaste();
    EXPECT_EQ(grid->GetItemText(5, 1), "ab") << "not pasted into the cells";
    EXPECT_EQ(grid->GetItemText(5, 2), "");
    grid->EndEditing();
    EXPECT_EQ(grid->InPlaceEditor(), nullptr);
}

} // namespace

TEST_F(GridMouseTest, DragsOverHeadersSelectEveryColumnOrRowPassedEitherWay)
{
    grid->SetFixedRowSelection(true);
    grid->SetFixedColumnSelection(true);
    const auto drag = [&](QPoint from, QPoint to) {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        return grid->GetSelectedCellRange();
    };
    const int lastRow = grid->GetRowCount() - 1;
    struct Case {
        int fromRow, fromCol, toRow, toCol;
        CCellRange expected;
    };
    for (const Case& c : {
             // Column headers, left to right and right to left.
             Case{0, 1, 0, 3, CCellRange(1, 1, lastRow, 3)},
             Case{0, 3, 0, 1, CCellRange(1, 1, lastRow, 3)},
             Case{0, 3, 0, 2, CCellRange(1, 2, lastRow, 3)},
             // Row numbers, downward and upward.
             Case{2, 0, 5, 0, CCellRange(2, 1, 5, 3)},
             Case{5, 0, 2, 0, CCellRange(2, 1, 5, 3)},
             // Cells, towards the top left.
             Case{4, 3, 2, 1, CCellRange(2, 1, 4, 3)},
         }) {
        const CCellRange sel = drag(gridtest::cellCentre(*grid, c.fromRow, c.fromCol),
                                    gridtest::cellCentre(*grid, c.toRow, c.toCol));
        EXPECT_EQ(sel.minRow, c.expected.minRow) << c.fromRow << "," << c.fromCol << " -> " << c.toRow << "," << c.toCol;
        EXPECT_EQ(sel.minCol, c.expected.minCol) << c.fromRow << "," << c.fromCol << " -> " << c.toRow << "," << c.toCol;
        EXPECT_EQ(sel.maxRow, c.expected.maxRow) << c.fromRow << "," << c.fromCol << " -> " << c.toRow << "," << c.toCol;
        EXPECT_EQ(sel.maxCol, c.expected.maxCol) << c.fromRow << "," << c.fromCol << " -> " << c.toRow << "," << c.toCol;
    }
}
