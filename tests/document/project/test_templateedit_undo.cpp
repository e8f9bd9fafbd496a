// Area undo and redo (32 deep, with the module-marking job snapshots
// beside them), locked templates, and the label-definition operations.
#include "document/label/labelfile.h"

#include "support/templateedit_fixture.h"

using edittest::EditTest;

TEST_F(EditTest, ThirtyThirdEditDropsTheOldestSnapshot)
{
    add<CGraphRect>(0, 0, 1000, 1000);
    const std::string original = bytes();
    doc->SetSelectionX(0, 1);
    const std::string afterFirst = bytes();
    for (int x = 2; x <= 33; ++x)
        doc->SetSelectionX(0, x);
    EXPECT_EQ(undoCount(), 32);
    EXPECT_EQ(tpl().GetMarkerUndo().LeadingCount(), 32u);
    for (int i = 0; i < 32; ++i)
        ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(bytes(), afterFirst);
    EXPECT_NE(bytes(), original);
    EXPECT_EQ(redoCount(), 32);
    EXPECT_EQ(tpl().GetMarkerRedo().LeadingCount(), 32u);
    EXPECT_FALSE(doc->CanUndo(0));
}

TEST_F(EditTest, EmptyHistoriesChangeNothing)
{
    add<CGraphRect>(0, 0, 1000, 1000);
    for (bool modified : {false, true}) {
        doc->SetModifiedFlag(modified);
        expectNoEdit([&] {
            EXPECT_FALSE(doc->Undo(0));
            EXPECT_FALSE(doc->Redo(0));
        });
        EXPECT_EQ(doc->IsModified(), modified);
    }
}

TEST_F(EditTest, NewEditAfterUndoClearsRedoButRedoDoesNot)
{
    add<CGraphRect>(0, 0, 1000, 1000);
    doc->SetSelectionX(0, 1000);
    doc->SetSelectionX(0, 2000);
    doc->SetSelectionX(0, 3000);
    ASSERT_TRUE(doc->Undo(0));
    ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(redoCount(), 2);
    ASSERT_TRUE(doc->Redo(0));
    EXPECT_EQ(area().GetAt(0)->GetX(), 2000);
    EXPECT_TRUE(doc->CanRedo(0));
    doc->SetSelectionY(0, 500);
    EXPECT_FALSE(doc->CanRedo(0));
    EXPECT_EQ(tpl().GetMarkerRedo().LeadingCount(), 0u);
}

TEST_F(EditTest, SnapshotsStayAsTheyWereWhenTheAreaChanges)
{
    add<CGraphRect>(0, 0, 1000, 1000);
    const std::string original = bytes();
    doc->SetSelectionX(0, 1000);
    const std::string moved = bytes();
    doc->SetSelectionX(0, 2000);
    ASSERT_TRUE(doc->Undo(0));
    // The area now edited behind the document's back (as a view drags it).
    area().GetAt(0)->SetY(7777);
    ASSERT_TRUE(doc->Redo(0));
    EXPECT_EQ(area().GetAt(0)->GetX(), 2000);
    ASSERT_TRUE(doc->Undo(0));
    area().GetAt(0)->SetY(8888);
    ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(bytes(), original);
    ASSERT_TRUE(doc->Redo(0));
    EXPECT_NE(bytes(), moved); // the redo snapshot holds the y set before the undo
    EXPECT_EQ(area().GetAt(0)->GetY(), 8888);
}

TEST_F(EditTest, UndoRestoresTheModuleMarkingJobWithTheArea)
{
    add<CGraphRect>(0, 0, 1000, 1000);
    tpl().GetJob().SetMaterialLength(100000);
    doc->SetSelectionX(0, 500);
    tpl().GetJob().SetMaterialLength(150000);
    ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(tpl().GetJob().GetMaterialLength(), 100000);
    ASSERT_TRUE(doc->Redo(0));
    EXPECT_EQ(tpl().GetJob().GetMaterialLength(), 150000);
}

TEST_F(EditTest, LockedTemplateRefusesEveryChange)
{
    add<CGraphTextExt>(0, 0, 5000, 5000);
    add<CGraphRect>(0, 0, 5000, 5000);
    doc->SetSelectionX(0, 100); // one undo entry before the lock
    tpl().SetLabel(std::make_unique<CLabelFileNewArticleNo>());
    tpl().SetLocked(true);
    area().SelectAll();
    RecordWriter labelBefore;
    tpl().GetLabel()->Write(labelBefore, true);
    doc->SetModifiedFlag(false);
    CGraphCollection clipboard;
    clipboard.AddTail(std::make_unique<CGraphRect>());
    QImage image(1, 1, QImage::Format_RGB32);
    CDC dc(&image, 96, 96);
    expectNoEdit([&] {
        doc->SetSelectionX(0, 3000);
        EXPECT_FALSE(doc->DeleteSelection(0));
        doc->RotateSelectionLeft(0);
        doc->DuplicateBelow(0);
        doc->CombineSelection(0);
        doc->SetTypeface(0, "Arial");
        doc->SetBarcodeModule(0, 500);
        CTracking gesture;
        doc->EndMoveSelection(0, gesture, dc, 10, 10);
        EXPECT_FALSE(doc->AddObjectToArea(0, std::make_unique<CGraphRect>()));
        EXPECT_FALSE(doc->PasteObjects(0, clipboard));
        EXPECT_FALSE(doc->PasteTextObject(0, "x"));
        EXPECT_FALSE(doc->PasteImageObject(0, 8, {}));
        EXPECT_FALSE(doc->Undo(0));
        doc->SetRowCount(4);
        doc->SetAreaWidth(0, 40000);
        doc->SetPaperWidth(100000);
        EXPECT_FALSE(doc->DeleteLabelDefinition());
    });
    RecordWriter labelAfter;
    tpl().GetLabel()->Write(labelAfter, true);
    EXPECT_EQ(labelAfter.take(), labelBefore.take());
    EXPECT_FALSE(doc->CanUndo(0));
    EXPECT_FALSE(doc->CanPaste(0));
    // The default font is no part of the template.
    EXPECT_EQ(settings::GetText(settings::kDefaultFont, settings::kFontFacename), "Arial");
}

TEST_F(EditTest, LabelDefinitionSettingsRepaintAsTheyShould)
{
    doc->SetRowCount(3); // no definition yet: nothing
    EXPECT_FALSE(doc->IsModified());
    doc->SetAreaWidth(0, 40000); // makes an article-number definition
    ASSERT_NE(tpl().GetLabel(), nullptr);
    EXPECT_EQ(doc->GetAreaWidthText(0), "40 mm");
    EXPECT_EQ(repaints(), "1 1 0");

    doc->SetModifiedFlag(false);
    doc->SetRowCount(0);
    EXPECT_FALSE(doc->IsModified());
    doc->SetRowCount(3);
    EXPECT_EQ(doc->GetRowCountText(), "3");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(repaints(), "0 1 0");

    // Paper sizes are kept in tenths of a millimetre, rounded, and mark the
    // document so the change is not lost on closing.
    doc->SetModifiedFlag(false);
    doc->SetPaperWidth(100049);
    EXPECT_EQ(doc->GetCurrentTemplate().GetLabel()->GetPaperWidth(), 1000);
    doc->SetPaperHeight(100050);
    EXPECT_EQ(doc->GetCurrentTemplate().GetLabel()->GetPaperLength(), 1001);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(repaints(), "0 0 0");
    EXPECT_EQ(undoCount(), 0);

    EXPECT_TRUE(doc->DeleteLabelDefinition());
    EXPECT_FALSE(doc->DeleteLabelDefinition());
    EXPECT_EQ(doc->GetDesignWidth(0), 210000);
}
