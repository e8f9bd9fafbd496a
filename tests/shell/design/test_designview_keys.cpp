// Keyboard moves, zoom, first paint, in-place text editing and module
// marking of the design canvas.
#include "content/barcodes/barcode.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/textparts/text.h"
#include "platform/commandids.h"
#include "shell/frame/commandrouter.h"
#include "shell/frame/ribbonbar.h"

#include "canvas_fixture.h"

#include <QScrollBar>

namespace {

using canvastest::kInch;

class CanvasKeysTest : public canvastest::CanvasTest {};

TEST_F(CanvasKeysTest, KeyboardMoveShowsOutlinesAndCommitsOneUndoStep)
{
    CGraphRect* r = add(kInch, kInch, kInch, kInch / 2, true);
    const int undoBefore = undoCount();
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseKeyboardMove);
    EXPECT_EQ(view->GetNudgePoint().x, 130);
    EXPECT_EQ(r->GetX(), kInch);
    EXPECT_EQ(undoCount(), undoBefore);

    key(Qt::Key_Return);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);
    EXPECT_EQ(area().GetAt(0)->GetX(), kInch + 7938); // 30 px
    EXPECT_EQ(undoCount(), undoBefore + 1);
    ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(area().GetAt(0)->GetX(), kInch);

    // Any mouse movement commits too; without a selection arrows do nothing.
    key(Qt::Key_Down);
    moveTo({5, 5}, Qt::NoModifier, Qt::NoButton);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);
    EXPECT_EQ(area().GetAt(0)->GetY(), kInch + 265); // 1 px
    area().DeselectAll();
    key(Qt::Key_Left);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);
    // Enter outside a keyboard move changes nothing.
    const int undoNow = undoCount();
    key(Qt::Key_Return);
    EXPECT_EQ(undoCount(), undoNow);
}

TEST_F(CanvasKeysTest, AltDeleteBeepsAndDeleteRunsTheDeleteCommand)
{
    int deletes = 0;
    view->OnCommand(cmd::kDelete, [&] { ++deletes; });
    key(Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(deletes, 0);
    key(Qt::Key_Delete);
    EXPECT_EQ(deletes, 1);
}

TEST_F(CanvasKeysTest, ZoomBoxTakesOnly26To3199AndScrollSizesGrow)
{
    // A 2 m continuous label.
    doc->GetCurrentTemplate().GetLabel()->SetWidth(0, 2000000, false);
    EXPECT_FALSE(view->OnZoomText("25"));
    EXPECT_FALSE(view->OnZoomText("3200"));
    EXPECT_FALSE(view->OnZoomText("abc"));
    EXPECT_EQ(view->GetZoom(), 100);
    std::vector<int> zooms;
    QObject::connect(view.get(), &Vorteplan_SoftLabelDesignView::zoomed, [&](int z) { zooms.push_back(z); });

    int previous = 0;
    for (const char* text : {"26", "100 %", "800", "3199"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(view->OnZoomText(text));
        const int width = view->ContentSize().width();
        EXPECT_GT(width, previous);
        previous = width;
    }
    EXPECT_EQ(zooms, (std::vector<int>{26, 100, 800, 3199}));
    EXPECT_EQ(view->GetZoom(), 3199);
    // The template keeps only zooms it can store.
    EXPECT_EQ(doc->GetCurrentTemplate().GetZoom(0), 800);

    // 64-bit intermediates: the largest extent at the largest zoom stays positive.
    EXPECT_EQ(Vorteplan_SoftLabelDesignView::ScrollExtent(INT32_MAX, 3199, 96), 259642609);
    EXPECT_EQ(Vorteplan_SoftLabelDesignView::ScrollExtent(int64_t(1) << 40, 3199, 96), 1 << 30);
    EXPECT_EQ(Vorteplan_SoftLabelDesignView::ScrollExtent(250000, 100, 96), 944);
}

TEST_F(CanvasKeysTest, FirstPaintTakesTheStoredZoomFrom25)
{
    // A zoom of 24 cannot be stored (nor read): the view stays at 100 %.
    doc->GetCurrentTemplate().SetZoom(0, 24);
    makeView({});
    ASSERT_TRUE(widgettest::WaitForPaint(vp()));
    EXPECT_EQ(view->GetZoom(), 100);

    for (int stored : {25, 200}) {
        SCOPED_TRACE(stored);
        doc->GetCurrentTemplate().SetZoom(0, stored);
        makeView({});
        ASSERT_TRUE(widgettest::WaitForPaint(vp()));
        EXPECT_EQ(view->GetZoom(), stored);
        // The scroll sizes follow the first paint.
        const int width = Vorteplan_SoftLabelDesignView::ScrollExtent(doc->GetDesignWidth(0), stored, 96);
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->ContentSize().width() == width; }));
    }
}

TEST_F(CanvasKeysTest, InPlaceEditorWritesCrLfTextBack)
{
    auto* text = add<CGraphText>(kInch, kInch, 2 * kInch, kInch / 2, true);
    text->SetSourceKind(kTextKindFixed);
    text->SetText("x");
    const int undoBefore = undoCount();
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, {120, 110});
    CInPlaceEdit* edit = view->GetInPlaceEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->toPlainText(), "x");
    EXPECT_EQ(undoCount(), undoBefore + 1);
    edit->selectAll();
    QTest::keyClicks(edit, "AB");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, "C");
    click({500, 400});
    EXPECT_EQ(view->GetInPlaceEdit(), nullptr);
    EXPECT_EQ(text->TextPart()->GetText(DrawContext{}, 100), "AB\r\nC");
}

TEST_F(CanvasKeysTest, TableTextsOpenNoEditorAndQrCodesTheirDialog)
{
    auto* table = add<CGraphText>(kInch, kInch, 2 * kInch, kInch / 2, true);
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, {120, 110});
    EXPECT_EQ(view->GetInPlaceEdit(), nullptr);
    area().RemoveObject(table);

    auto* qr = add<CGraphBarcode>(kInch, kInch, kInch, kInch, true);
    qr->SetSymbology(CreateBarcode(kKeyQRCode));
    qr->SetSourceKind(kTextKindFixed);
    qr->SetText("hello");
    ui.qrTexts.push_back(std::string("changed"));
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, {120, 110});
    EXPECT_EQ(view->GetInPlaceEdit(), nullptr);
    EXPECT_EQ(ui.qrDialogTexts, (std::vector<std::string>{"hello"}));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(CanvasKeysTest, ModuleMarkingClicksAndKeysFollowTheRibbon)
{
    CCommandRouter router;
    router.SetActiveViewProvider([this] { return static_cast<CCmdTarget*>(view.get()); });
    CRibbonBar ribbon(router);
    makeView({&ribbon, nullptr});
    doc->ToggleModuleMarking();
    ASSERT_TRUE(doc->IsModuleMarking());
    // Marker edits replace the job's rows: ask for the row each time.
    auto row = [this]() -> CModuleMarkingRow& { return doc->GetCurrentTemplate().GetJob().GetCurrentRow(); };
    row().SetModuleCount(4);
    for (int i = 0; i < 4; ++i)
        row().Module(i).m_width = 10000, row().Module(i).m_multiplier = 1;
    row().SetCurrentIndex(0);
    CGraphRect* r = add(0, 0, 100000, 50000);

    ribbon.SetActiveCategory(5);
    EXPECT_TRUE(view->IsModuleSelection());
    EXPECT_TRUE(router.Update(cmd::kSelectModules).GetChecked().value_or(false));

    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    key(Qt::Key_Left);
    EXPECT_EQ(row().GetCurrentIndex(), 1);
    key(Qt::Key_End);
    EXPECT_EQ(row().GetCurrentIndex(), 3);
    key(Qt::Key_Home);
    EXPECT_EQ(row().GetCurrentIndex(), 0);
    key(Qt::Key_Delete);
    EXPECT_EQ(row().GetModuleCount(), 3);

    // A click on the third module (x 25 mm) selects it, not the object.
    const int x = (25000 * 96 + 12700) / 25400;
    click({x, 20});
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    EXPECT_FALSE(r->IsSelected());

    ASSERT_TRUE(router.Route(cmd::kSelectObjects)); // "Objects"
    EXPECT_FALSE(view->IsModuleSelection());
    click({x, 20});
    EXPECT_TRUE(r->IsSelected());
    ribbon.SetActiveCategory(0);
    EXPECT_FALSE(view->IsModuleSelection());
}

} // namespace
