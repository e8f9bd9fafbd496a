// Find and replace in the table, the find dialog, and the sequence and
// repeat fills with their bounds.
#include "platform/commandids.h"
#include "support/tableview_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using tableviewtest::TableViewTest;
using Kind = CVorteplanSoftTableView::FindKind;

TEST_F(TableViewTest, FindStartsAfterTheFocusRowReplaceAtIt)
{
    fillColumn(4, "abc");
    focus(4, 1);
    EXPECT_FALSE(view->FindReplaceInTable("abc", false, false, true, Kind::Find, ""));
    EXPECT_EQ(grid().GetFocusCell(), CCellID(4, 1)) << "down from the last row ends at once";
    focus(2, 1);
    EXPECT_TRUE(view->FindReplaceInTable("ABC", false, false, true, Kind::Find, ""));
    EXPECT_EQ(grid().GetFocusCell(), CCellID(3, 1));
    EXPECT_EQ(doc.GetCurrentTableRow(), 2);
    EXPECT_TRUE(view->FindReplaceInTable("abc", false, false, false, Kind::Find, ""));
    EXPECT_EQ(grid().GetFocusCell(), CCellID(2, 1));
    EXPECT_TRUE(view->FindReplaceInTable("abc", false, false, true, Kind::Replace, "X"));
    EXPECT_EQ(cell(1, 0), "X1") << "Replace tests the focus row first";
}

TEST_F(TableViewTest, NotFoundMessageOnlyUntilTheFirstHit)
{
    fillColumn(3, "abc");
    focus(1, 1);
    view->OnFindReplaceRequest(FR_FINDNEXT | FR_DOWN, "zzz", "");
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "Cannot find the text you're searching for.");
    view->OnFindReplaceRequest(FR_FINDNEXT | FR_DOWN, "abc", "");
    view->OnFindReplaceRequest(FR_FINDNEXT | FR_DOWN, "abc", "");
    view->OnFindReplaceRequest(FR_FINDNEXT | FR_DOWN, "abc", "");
    EXPECT_EQ(m_ui.messages.size(), 1u) << "running off the end after a hit is silent";
    view->OnFindReplaceRequest(FR_FINDNEXT | FR_DOWN | FR_MATCHCASE, "abc", "");
    EXPECT_EQ(m_ui.messages.size(), 2u) << "a changed option starts afresh";
}

TEST_F(TableViewTest, ReplaceAllIsOneUndoStepAndReplacesTheFirstOccurrence)
{
    for (int i = 0; i < 1000; ++i)
        table().SetCellText(i, 0, "a-a");
    view->UpdateGridRows();
    focus(1, 1);
    const int before = [&] {
        int n = 0;
        while (n < kTableSnapshotSlots && doc.GetTableSnapshot(doc.GetCurrentTableIndex(), n))
            ++n;
        return n;
    }();
    EXPECT_TRUE(view->FindReplaceInTable("a", false, false, true, Kind::ReplaceAll, "b"));
    EXPECT_EQ(cell(0, 0), "b-a");
    EXPECT_EQ(cell(999, 0), "b-a");
    EXPECT_EQ(undoDepthUsed(), before + 1);
    view->Undo();
    EXPECT_EQ(cell(0, 0), "a-a");
    EXPECT_EQ(cell(999, 0), "a-a");
}

TEST_F(TableViewTest, OneFindDialogAtATime)
{
    fillColumn(3, "abc");
    focus(1, 1);
    view->RunCommand(cmd::kFind);
    CFindReplaceDialog* dialog = view->FindDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->IsReplaceKind());
    EXPECT_FALSE(dialog->FindNextButton()->isEnabled());
    view->RunCommand(cmd::kReplace);
    EXPECT_EQ(view->FindDialog(), dialog) << "Replace only shows the open dialog";
    dialog->FindEdit()->setText(QStringLiteral("ABC"));
    dialog->WholeWordBox()->setChecked(true);
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(grid().GetFocusCell(), CCellID(1, 1)) << "whole word: no cell is just ABC";
    dialog->WholeWordBox()->setChecked(false);
    QTest::mouseClick(dialog->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(grid().GetFocusCell(), CCellID(2, 1));
    QPointer<CFindReplaceDialog> guard(dialog);
    dialog->reject();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(view->FindDialog(), nullptr);
    EXPECT_FALSE(guard);
    view->RunCommand(cmd::kReplace);
    ASSERT_NE(view->FindDialog(), nullptr);
    EXPECT_TRUE(view->FindDialog()->IsReplaceKind());
}

TEST_F(TableViewTest, SequenceWithInsertKeepsEveryOldRow)
{
    fillColumn(4, "old");
    focus(1, 1);
    tablefill::SequenceRequest r;
    r.cell = "A1";
    r.start = 1;
    r.stop = 2;
    r.copies = 3;
    r.insert = true;
    view->RunSequence(r);
    const char* expected[] = {"1", "1", "1", "2", "2", "2", "old0", "old1", "old2", "old3"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(cell(i, 0), expected[i]) << i;
    EXPECT_EQ(grid().GetFocusCell(), CCellID(7, 1));
}

TEST_F(TableViewTest, SequenceNearTheTopOfTheRangeEndsAndHugeFillsAreRefused)
{
    focus(2, 2);
    tablefill::SequenceRequest r;
    r.cell = "b2";
    r.start = 2147483640;
    r.stop = 2147483647;
    r.step = 5;
    view->RunSequence(r);
    EXPECT_EQ(cell(1, 1), "2147483640");
    EXPECT_EQ(cell(2, 1), "2147483645");
    EXPECT_EQ(doc.GetTableRowCount(), 3);

    const int undoBefore = undoDepthUsed();
    r.copies = 2000000000;
    view->RunSequence(r);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, tablefill::LimitMessage());
    EXPECT_EQ(doc.GetTableRowCount(), 3);
    EXPECT_EQ(undoDepthUsed(), undoBefore);

    r.copies = 1;
    r.cell = "2b";
    view->RunSequence(r);
    EXPECT_EQ(undoDepthUsed(), undoBefore + 1) << "a cell that does not parse still leaves its snapshot";
}

TEST_F(TableViewTest, RepeatInsertsCopiesMinusOneAndRowZeroEnds)
{
    fillColumn(6, "old");
    focus(4, 1);
    tablefill::RepeatRequest r;
    r.column = "a";
    r.row = 4;
    r.copies = 3;
    r.insert = true;
    r.text = "T";
    view->RunRepeat(r);
    const char* expected[] = {"old0", "old1", "old2", "T", "T", "T", "old4", "old5"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(cell(i, 0), expected[i]) << i;
    EXPECT_EQ(grid().GetFocusCell(), CCellID(6, 1));

    r.row = 0;
    view->RunRepeat(r);
    EXPECT_EQ(doc.GetTableRowCount(), 8);
    r.row = 1;
    r.copies = 2000000000;
    view->RunRepeat(r);
    EXPECT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(doc.GetTableRowCount(), 8);
}
