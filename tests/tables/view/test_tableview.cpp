// The table view over a document: typed and pasted cells with their undo
// steps, rows and columns, the selection, grid rows, image columns through
// a filter, and the page's close and destruction.
#include "support/tableview_fixture.h"
#include "support/templateedit_fixture.h"

#include "document/label/labelfile.h"
#include "platform/commandids.h"
#include "platform/queuedcall.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using tableviewtest::TableViewTest;

namespace {

QLineEdit* editorOf(CGridCtrl& grid)
{
    return qobject_cast<QLineEdit*>(grid.InPlaceEditor());
}

} // namespace

TEST_F(TableViewTest, TypedCellIsOneUndoStepAndUndoGoesSixteenDeep)
{
    focus(1, 1);
    QTest::keyClicks(grid().viewport(), "x");
    QApplication::processEvents();
    ASSERT_NE(editorOf(grid()), nullptr);
    QTest::keyClicks(editorOf(grid()), "yz");
    QTest::keyClick(editorOf(grid()), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(cell(0, 0), "xyz");
    EXPECT_EQ(undoDepthUsed(), 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(view->CommandState(cmd::kEditUndo).enabled);
    view->EndInPlaceEdit();
    view->RunCommand(cmd::kEditUndo);
    EXPECT_EQ(cell(0, 0), "");

    for (int i = 0; i < 20; ++i)
        view->EndLabelEdit(1, 1, "v" + std::to_string(i));
    EXPECT_EQ(undoDepthUsed(), kTableSnapshotSlots);
    for (int i = 0; i < kTableSnapshotSlots; ++i)
        view->Undo();
    EXPECT_EQ(cell(0, 0), "v3");
    EXPECT_FALSE(view->CommandState(cmd::kEditUndo).enabled);
}

TEST_F(TableViewTest, EndEditCutsToACellOnACharacterBoundary)
{
    view->EndLabelEdit(1, 1, std::string(300, 'a'));
    EXPECT_EQ(cell(0, 0).size(), 255u);
}

TEST_F(TableViewTest, PasteIsOneUndoStepAndWritesImageColumns)
{
    doc.ToggleImageColumn(2); // C
    m_ui.clipboardText = std::string("a\tb\r\nc\td\r\ne\tf");
    m_ui.clipboardFormats = {ClipboardFormat::Text};
    focus(2, 2); // B2
    const int before = undoDepthUsed();
    view->RunCommand(cmd::kEditPaste);
    QApplication::processEvents();
    EXPECT_EQ(cell(1, 1), "a");
    EXPECT_EQ(cell(1, 2), "b") << "names pasted into the image column";
    EXPECT_EQ(cell(3, 2), "f");
    EXPECT_EQ(undoDepthUsed(), before + 1);
    EXPECT_EQ(view->PostedLinkImageCount(), 0);
    view->Undo();
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(3, 2), "");
}

// Paste, Cut of a range and the grid's Delete key store many cells: each
// is one undo step and repaints the label views once, however many cells
// it stores (a repaint per cell froze the window for a large paste).
TEST_F(TableViewTest, BulkGridEditsAreOneUndoStepAndOneRepaint)
{
    struct Case {
        const char* name;
        bool filtered;             // column B hidden by an enabled filter
        std::function<void()> run; // the edit, from the focus on grid cell (1, 1)
        std::vector<std::string> rows0to2; // the full table's columns A..C of rows 0..2 after it
        int repaints;              // of the design view
    };
    const std::string pasted = "a\tb\r\nc\td\r\ne\tf";
    auto paste = [&] {
        m_ui.clipboardText = pasted;
        m_ui.clipboardFormats = {ClipboardFormat::Text};
        view->RunCommand(cmd::kEditPaste);
    };
    auto selectA1toB2 = [&] { grid().SetSelectedRange(CCellRange(1, 1, 2, 2)); };
    const std::vector<Case> cases = {
        {"paste", false, paste, {"a", "b", "C0", "c", "d", "C1", "e", "f", "C2"}, 1},
        {"paste into a filtered table", true, paste, {"a", "B0", "b", "c", "B1", "d", "e", "B2", "f"}, 1},
        {"cut of a range", false,
         [&] {
             selectA1toB2();
             view->RunCommand(cmd::kEditCut);
         },
         {"", "", "C0", "", "", "C1", "A2", "B2", "C2"}, 1},
        {"Delete key over a range", false,
         [&] {
             selectA1toB2();
             QTest::keyClick(&grid(), Qt::Key_Delete);
         },
         {"", "", "C0", "", "", "C1", "A2", "B2", "C2"}, 1},
    };
    edittest::CountingView design(ViewKind::Design);
    doc.AddView(&design);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (doc.GetFilter(doc.GetCurrentTableIndex()) && doc.IsTableFilterEnabled())
            doc.EnableTableFilter();
        table().RemoveAllRows();
        for (int r = 0; r < 3; ++r)
            for (int col = 0; col < 3; ++col)
                table().SetCellText(r, col, std::string(1, char('A' + col)) + std::to_string(r));
        if (c.filtered)
            filterHidingB();
        view->UpdateGridRows();
        focus(1, 1);
        doc.SetModifiedFlag(false);
        const int undoBefore = undoDepthUsed();
        design.invalidated = 0;
        c.run();
        QApplication::processEvents();
        std::vector<std::string> after;
        for (int r = 0; r < 3; ++r)
            for (int col = 0; col < 3; ++col)
                after.push_back(table().GetCellText(r, col));
        EXPECT_EQ(after, c.rows0to2);
        EXPECT_EQ(design.invalidated, c.repaints);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(undoDepthUsed(), std::min(undoBefore + 1, int(kTableSnapshotSlots)));
        view->Undo();
        for (int r = 0; r < 3; ++r)
            for (int col = 0; col < 3; ++col)
                EXPECT_EQ(table().GetCellText(r, col), std::string(1, char('A' + col)) + std::to_string(r));
        if (c.filtered) {
            EXPECT_EQ(cell(0, 0), "A0") << "the filtered copy is restored too";
            EXPECT_EQ(cell(2, 1), "C2");
        }
    }
    // Delete over empty cells stores nothing: no repaint, no change.
    table().RemoveAllRows();
    if (doc.IsTableFilterEnabled())
        doc.EnableTableFilter();
    focus(1, 1);
    selectA1toB2();
    doc.SetModifiedFlag(false);
    design.invalidated = 0;
    QTest::keyClick(&grid(), Qt::Key_Delete);
    EXPECT_EQ(design.invalidated, 0);
    EXPECT_FALSE(doc.IsModified());
    doc.RemoveView(&design);
}

TEST_F(TableViewTest, DeleteTakesOnlyTheSelectedRowHeadersCutTheWholeRange)
{
    fillColumn(6);
    clickCell(2, 0);
    clickCell(4, 0, Qt::ControlModifier);
    EXPECT_EQ(view->CountSelectedRows(), 2);
    EXPECT_EQ(host.pane, "2 rows selected");
    EXPECT_EQ(view->CommandState(cmd::kStatusPane2).text, QString("2 rows selected"));
    view->RunCommand(cmd::kDelete);
    EXPECT_EQ(doc.GetTableRowCount(), 4);
    EXPECT_EQ(cell(0, 0), "r0");
    EXPECT_EQ(cell(1, 0), "r2");
    EXPECT_EQ(cell(2, 0), "r4");
    EXPECT_EQ(host.pane, "");

    clickCell(1, 0);
    clickCell(3, 0, Qt::ControlModifier);
    view->RunCommand(cmd::kEditCut);
    EXPECT_EQ(doc.GetTableRowCount(), 1) << "cut deletes rows 1 to 3, selected or not";
    EXPECT_EQ(cell(0, 0), "r5");
}

TEST_F(TableViewTest, GridRowsFollowTableAndFocus)
{
    fillColumn(5);
    const int rowHeight = grid().GetRowHeight(0);
    view->ResizeGridRows(20 * rowHeight);
    EXPECT_EQ(grid().GetRowCount(), 24);
    view->ItemChanged(30, 1);
    view->ResizeGridRows(20 * rowHeight);
    EXPECT_EQ(grid().GetRowCount(), 41);
    EXPECT_EQ(doc.GetCurrentTableRow(), 29);
    grid().SetRowHeight(0, 0);
    view->ResizeGridRows(400); // a header row of height 0 divides by 1
    EXPECT_GE(grid().GetRowCount(), 41);
}

TEST_F(TableViewTest, SelectedRowWalkersAndPrintSelection)
{
    fillColumn(5);
    EXPECT_EQ(view->FindFirstSelectedRow(), -1);
    clickCell(1, 0);
    EXPECT_EQ(view->FindFirstSelectedRow(), 1);
    EXPECT_EQ(view->FindLastSelectedRow(), 1);
    EXPECT_EQ(view->SelectionPaneText(), "One row selected");
    clickCell(3, 0, Qt::ControlModifier);
    EXPECT_EQ(view->FindNextSelectedRow(1), 3);
    EXPECT_EQ(view->FindPreviousSelectedRow(3), 1);
    EXPECT_EQ(view->FindNextSelectedRow(3), -1);
    EXPECT_FALSE(view->PreselectPrintSelection()) << "the template prints no table data";
}

TEST_F(TableViewTest, HeadersNameImageColumnsAndFilterGaps)
{
    doc.ToggleImageColumn(3); // D
    std::string text;
    view->GetDispInfo(0, 4, text);
    EXPECT_EQ(text, "Image 1");
    view->GetDispInfo(0, 2, text);
    EXPECT_EQ(text, "B");
    view->GetDispInfo(7, 0, text);
    EXPECT_EQ(text, "7");
    filterHidingB();
    view->GetDispInfo(0, 2, text);
    EXPECT_EQ(text, "C") << "the letter of the source column";
    view->GetDispInfo(0, 3, text);
    EXPECT_EQ(text, "Image 1");
    // The last grid column shows no table column: it opens no editor.
    view->GetDispInfo(0, 26, text);
    EXPECT_EQ(text, "");
    focus(1, 26);
    QTest::keyClick(grid().viewport(), Qt::Key_F2);
    EXPECT_EQ(editorOf(grid()), nullptr);
    focus(1, 25);
    QTest::keyClick(grid().viewport(), Qt::Key_F2);
    EXPECT_NE(editorOf(grid()), nullptr);
    view->EndInPlaceEdit();
}

TEST_F(TableViewTest, ImageColumnsThroughTheFilterMapping)
{
    doc.ToggleImageColumn(2); // C, shown in grid column 2 once B is hidden
    table().SetCellText(0, 0, "a");
    table().SetCellText(0, 2, "pic.png");
    filterHidingB();
    view->UpdateGridRows();
    // Begin-edit on the grid column showing C asks for images instead.
    focus(1, 2);
    EXPECT_EQ(view->BeginLabelEdit(1, 2), -1);
    QApplication::processEvents();
    EXPECT_EQ(host.count("link Image files |*.jpg;*.jpeg;*.bmp;*.png;*.wmf||"), 1);
    // Grid column 3 shows D, a text column: the editor opens.
    focus(1, 3);
    QTest::keyClick(grid().viewport(), Qt::Key_F2);
    EXPECT_NE(editorOf(grid()), nullptr);
    view->EndInPlaceEdit();

    // Image column check and toggle follow the mapping too.
    focus(1, 2);
    EXPECT_EQ(view->ImageColumnCheck(), 1);
    focus(1, 1);
    EXPECT_EQ(view->ImageColumnCheck(), 0);

    // Image cells: the first image column is C, shown as filtered column 1.
    focus(1, 1);
    EXPECT_EQ(view->GetImageCell(0), "pic.png");
    view->SetImageCell(0, 0, "new.png");
    EXPECT_EQ(doc.GetFilteredTable(doc.GetCurrentTableIndex())->GetCellText(0, 1), "new.png");
    EXPECT_EQ(doc.GetFilteredTable(doc.GetCurrentTableIndex())->GetCellText(0, 0), "a");
    EXPECT_TRUE(view->AreImageCellsFilled());
    view->ClearImageCell(0);
    EXPECT_FALSE(view->AreImageCellsFilled());

    // An image column hidden by the filter receives nothing.
    doc.ToggleImageColumn(2);
    doc.ToggleImageColumn(1); // B, hidden
    view->SetImageCell(0, 0, "lost.png");
    view->FillImageColumn(0, {"x.png", "y.png"});
    for (int c = 0; c < 3; ++c)
        EXPECT_NE(doc.GetTableCellText(0, c), "lost.png");
    EXPECT_EQ(doc.GetTableCellText(1, 0), "");
}

TEST_F(TableViewTest, RefusedImageCellsOfACutAskForImagesOnce)
{
    doc.ToggleImageColumn(0);
    fillColumn(1000, "p");
    grid().SetSelectedRange(CCellRange(1, 1, 1000, 2));
    view->Cut();
    EXPECT_EQ(view->PostedLinkImageCount(), 1000);
    QApplication::processEvents();
    EXPECT_EQ(host.count("link"), 1);
    EXPECT_EQ(cell(999, 0), "p999") << "image cells are left as they are";
}

TEST_F(TableViewTest, ImageColumnOfWholeColumnsTogglesTheLastOne)
{
    clickCell(0, 2);
    clickCell(0, 5, Qt::ShiftModifier);
    ASSERT_TRUE(view->IsWholeColumnSelection());
    view->RunCommand(cmd::kImageColumn);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(doc.IsImageColumn(c), c == 4) << c;
}

TEST_F(TableViewTest, ClosingThePageAsksToDeleteTheTableAndDestructionWaits)
{
    QCloseEvent close;
    QApplication::sendEvent(view.get(), &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(host.count("delete table"), 1);
    EXPECT_TRUE(view->isVisible());

    // The table goes while the view's own command runs.
    auto* raw = view.release();
    QPointer<QWidget> guard(raw);
    raw->DestroyLater();
    raw->RunCommand(cmd::kInsertRow);
    EXPECT_TRUE(guard);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard);
}

TEST_F(TableViewTest, NavigationAndPages)
{
    fillColumn(3);
    focus(1, 1);
    view->RunCommand(cmd::kLastRow);
    EXPECT_EQ(grid().GetFocusCell(), CCellID(3, 1));
    EXPECT_EQ(doc.GetCurrentTableRow(), 2);
    view->RunCommand(cmd::kNextRow);
    EXPECT_EQ(grid().GetFocusCell(), CCellID(3, 1)) << "no step past the last row";
    view->GoToNextRow();
    EXPECT_EQ(grid().GetFocusCell(), CCellID(4, 1)) << "the link-image dialog steps onto empty rows";
    EXPECT_EQ(view->CurrentRow(), 4);
    view->RunCommand(cmd::kFirstRow);
    EXPECT_EQ(grid().GetFocusCell(), CCellID(1, 1));
    view->GoToNextPage(); // no label definition: 0 labels per sheet
    EXPECT_EQ(grid().GetFocusCell(), CCellID(1, 1));
}

TEST_F(TableViewTest, TypedCharactersOnTheViewBeepAndTheMenuGoesThroughTheHost)
{
    QTest::keyClick(view.get(), Qt::Key_A);
    EXPECT_EQ(m_ui.beeps, 1);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), view->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view.get(), &menu);
    EXPECT_EQ(host.count("menu"), 1);
}

TEST_F(TableViewTest, CharacterSetBoxSetsTheTableFont)
{
    host.charSetBox = "Greek";
    view->RunCommand(cmd::kCharSetBox);
    EXPECT_EQ(doc.GetTableFont().lfCharSet, doc.GetCharSetFromName("Greek"));
    EXPECT_EQ(grid().CodePage(), 1253);
    EXPECT_EQ(view->CommandState(cmd::kCharSetBox).text, QString("Greek"));
}

TEST_F(TableViewTest, PagesStepByTheLabelsOfASheet)
{
    auto label = std::make_unique<CLabelFileNewArticleNo>();
    label->SetColumns(2);
    label->SetRows(4);
    doc.GetCurrentTemplate().SetLabel(std::move(label));
    ASSERT_EQ(doc.GetLabelsPerSheet(), 8);
    fillColumn(3);
    focus(1, 2);
    view->RunCommand(cmd::kNextPage);
    EXPECT_EQ(grid().GetFocusCell(), CCellID(3, 2)) << "at most the last row";
    fillColumn(12);
    focus(5, 2);
    view->RunCommand(cmd::kPreviousPage);
    EXPECT_EQ(grid().GetFocusCell(), CCellID(1, 2));
    view->RunCommand(cmd::kNextPage);
    EXPECT_EQ(grid().GetFocusCell(), CCellID(9, 2));
}
