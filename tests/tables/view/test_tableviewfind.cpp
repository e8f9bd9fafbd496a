// Find and replace in the table, the find dialog, and the sequence and
// repeat fills with their bounds.
#include "platform/commandids.h"
#include "support/tableview_fixture.h"
#include "support/templateedit_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// Fills with Insert push the old rows down, in a filtered table too (the
// full table takes the new rows where the filtered copy shows them), and
// repaint the label views at most once each for the moved rows, the cells
// and the new current row, however many rows they insert.
TEST_F(TableViewTest, SequenceWithInsertKeepsEveryOldRow)
{
    struct Case {
        const char* name;
        std::vector<std::string> columnA; // of the full table before the fill
        bool filterK;                     // a filter that shows rows with K in column A
        std::function<void()> run;
        std::vector<std::string> fullA, fullB; // the full table after it
        CCellID focusAfter;
    };
    auto sequence = [&](const char* at, int64_t stop, int64_t copies) {
        return [this, at, stop, copies] {
            tablefill::SequenceRequest r;
            r.cell = at;
            r.start = 1;
            r.stop = stop;
            r.copies = copies;
            r.insert = true;
            view->RunSequence(r);
        };
    };
    const std::vector<Case> cases = {
        {"sequence, 3 copies",
         {"old0", "old1", "old2", "old3"},
         false,
         sequence("A1", 2, 3),
         {"1", "1", "1", "2", "2", "2", "old0", "old1", "old2", "old3"},
         {},
         CCellID(7, 1)},
        {"sequence into a filtered table",
         {"K1", "X2", "K3", "K4"},
         true,
         sequence("B2", 2, 1),
         {"K1", "", "", "X2", "K3", "K4"},
         {"", "1", "2", "", "", ""},
         CCellID(4, 2)},
        {"repeat, 4 copies",
         {"old0", "old1", "old2"},
         false,
         [this] {
             tablefill::RepeatRequest r;
             r.column = "b";
             r.row = 2;
             r.copies = 4;
             r.insert = true;
             r.text = "T";
             view->RunRepeat(r);
         },
         {"old0", "old1", "", "", "", "old2"},
         {"", "T", "T", "T", "T", ""},
         CCellID(5, 2)},
    };
    edittest::CountingView design(ViewKind::Design), preview(ViewKind::Preview);
    doc.AddView(&design);
    doc.AddView(&preview);
    const int slot = doc.GetCurrentTableIndex();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (doc.IsTableFilterEnabled())
            doc.EnableTableFilter();
        table().RemoveAllRows();
        for (size_t i = 0; i < c.columnA.size(); ++i)
            table().SetCellText(int(i), 0, c.columnA[i]);
        if (c.filterK) {
            auto filter = std::make_unique<CDataTableFilter>();
            filter->GetItem(0)->m_include[0] = 1;
            filter->SetIncludeText("K", 0);
            doc.SetFilter(slot, std::move(filter), std::make_unique<CDataTableBase>());
            doc.EnableTableFilter();
            ASSERT_TRUE(doc.IsTableFilterEnabled());
        }
        view->UpdateGridRows();
        focus(1, 1);
        design.invalidated = preview.invalidated = 0;
        c.run();
        ASSERT_EQ(table().GetRowCount(), int(c.fullA.size()));
        for (size_t i = 0; i < c.fullA.size(); ++i) {
            EXPECT_EQ(table().GetCellText(int(i), 0), c.fullA[i]) << i;
            EXPECT_EQ(table().GetCellText(int(i), 1), c.fullB.empty() ? "" : c.fullB[i]) << i;
        }
        EXPECT_EQ(grid().GetFocusCell(), c.focusAfter);
        EXPECT_LE(design.invalidated, 3);
        EXPECT_LE(preview.invalidated, 3);
        EXPECT_TRUE(doc.IsModified());
    }
    doc.RemoveView(&design);
    doc.RemoveView(&preview);
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
