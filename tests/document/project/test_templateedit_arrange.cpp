// Template edits of selection and arrangement: position and size, stacking
// order, grouping, select all, centring, and area indices above 2.
#include "content/objects/group.h"
#include "document/label/labelfile.h"

#include "support/templateedit_fixture.h"

using edittest::EditTest;

TEST_F(EditTest, PositionOfTheSelectionUndoesAndRedoes)
{
    add<CGraphRect>(1000, 1000, 5000, 5000);
    add<CGraphRect>(9000, 1000, 5000, 5000, false);
    expectUndoableEdit([&] { doc->SetSelectionX(0, 3000); });
    EXPECT_EQ(area().GetAt(0)->GetX(), 3000);
    EXPECT_EQ(area().GetAt(1)->GetX(), 9000);
    EXPECT_EQ(doc->GetSelectionXText(0), "3 mm");

    // The same value, and nothing selected: nothing at all.
    expectNoEdit([&] { doc->SetSelectionX(0, 3000); });
    area().DeselectAll();
    expectNoEdit([&] { doc->SetSelectionWidth(0, 100); });
    EXPECT_EQ(doc->GetSelectionXText(0), "");
}

TEST_F(EditTest, StackingOrderMovesOnlyWhenItCan)
{
    add<CGraphRect>(0, 0, 1000, 1000, false);
    add<CGraphRect>(0, 0, 2000, 2000);
    // The last object is already on top.
    expectNoEdit([&] { doc->BringToFront(0); });
    expectNoEdit([&] { doc->BringForward(0); });
    expectUndoableEdit([&] { doc->SendToBack(0); });
    // Undo and redo bring clones back: look the objects up anew.
    EXPECT_EQ(area().GetAt(0)->GetWidth(), 2000);
    EXPECT_EQ(area().GetAt(1)->GetWidth(), 1000);
}

TEST_F(EditTest, CombineAndSplitSetTheFlagWithoutRepaint)
{
    add<CGraphRect>(0, 0, 1000, 1000);
    add<CGraphRect>(3000, 0, 1000, 1000, false);
    expectNoEdit([&] { doc->CombineSelection(0); }); // one selected
    area().SelectAll();
    expectUndoableEdit([&] { doc->CombineSelection(0); }, 0, "0 0 0");
    ASSERT_EQ(area().GetCount(), 1u);
    EXPECT_TRUE(area().GetAt(0)->IsGroup());
    EXPECT_TRUE(area().GetAt(0)->IsSelected());
    EXPECT_TRUE(doc->CanSplit(0));
    expectUndoableEdit([&] { doc->SplitSelection(0); }, 0, "0 0 0");
    EXPECT_EQ(area().GetCount(), 2u);
}

TEST_F(EditTest, SelectAllClearsAnyPartialSelection)
{
    add<CGraphRect>(0, 0, 1000, 1000, false);
    add<CGraphRect>(0, 0, 1000, 1000);
    add<CGraphRect>(0, 0, 1000, 1000, false);
    doc->SelectAll(0);
    EXPECT_EQ(doc->GetSelectedCount(0), 0);
    doc->SelectAll(0);
    EXPECT_EQ(doc->GetSelectedCount(0), 3);
    EXPECT_EQ(undoCount(), 0);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(EditTest, DeleteCopyAndPasteThroughTheClipboardCollection)
{
    add<CGraphRect>(1000, 2000, 3000, 4000);
    CGraphCollection clipboard;
    EXPECT_TRUE(doc->CopySelection(0, clipboard));
    EXPECT_EQ(clipboard.GetCount(), 1u);
    expectUndoableEdit([&] { EXPECT_TRUE(doc->DeleteSelection(0)); });
    EXPECT_FALSE(doc->DeleteSelection(0)); // nothing left to delete
    expectUndoableEdit([&] { EXPECT_TRUE(doc->PasteObjects(0, clipboard)); });
    CGraphCollection empty;
    expectNoEdit([&] { EXPECT_FALSE(doc->PasteObjects(0, empty)); });
}

TEST_F(EditTest, PastedTextTakesNoSnapshot)
{
    doc->SetModifiedFlag(false);
    repaints();
    EXPECT_TRUE(doc->PasteTextObject(0, "Hello"));
    ASSERT_EQ(area().GetCount(), 1u);
    EXPECT_TRUE(area().GetAt(0)->IsSelected());
    EXPECT_EQ(undoCount(), 0);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(repaints(), "1 1 0");
}

TEST_F(EditTest, CentringUsesTheLabelOrTheModuleBands)
{
    add<CGraphRect>(0, 0, 10000, 4000);
    expectNoEdit([&] { doc->CenterSelectionHorizontal(0); }); // no label width to centre on
    auto label = std::make_unique<CLabelFileNewArticleNo>();
    label->SetWidth(0, 50000, false);
    tpl().SetLabel(std::move(label));
    expectUndoableEdit([&] { doc->CenterSelectionHorizontal(0); });
    EXPECT_EQ(area().GetAt(0)->GetX(), 20000);
    // Vertical centring belongs to the design view outside module marking.
    expectNoEdit([&] { doc->CenterSelectionVertical(0); });

    tpl().SetLabel(nullptr);
    ASSERT_TRUE(tpl().ToggleModuleMarking());
    area().GetAt(0)->SetX(0);
    const int32_t strip = tpl().GetLabel()->GetStripWidth();
    expectUndoableEdit([&] { doc->CenterSelectionVertical(0); });
    EXPECT_EQ(area().GetAt(0)->GetY(), strip / 2 - 2000);
}

TEST_F(EditTest, AreasAboveTwoDoNothing)
{
    add<CGraphRect>(0, 0, 1000, 1000);
    const LOGFONTA font = doc->GetDefaultFont();
    expectNoEdit([&] {
        doc->SetSelectionX(3, 500);
        doc->DeleteSelection(3);
        doc->ToggleBold(3);
        doc->SetBarcodeModule(3, 300);
        EXPECT_FALSE(doc->PasteTextObject(3, "x"));
        EXPECT_FALSE(doc->Undo(3));
        EXPECT_FALSE(doc->Redo(3));
    });
    EXPECT_EQ(doc->GetDefaultFont().lfWeight, font.lfWeight);
    EXPECT_FALSE(settings::HasValue(settings::kDefaultFont, settings::kFontWeight));
    EXPECT_EQ(doc->GetDesignWidth(3), 210000);
    EXPECT_EQ(doc->GetSelectedCount(3), 0);
    EXPECT_EQ(doc->GetFirstSelected(3), nullptr);
}
