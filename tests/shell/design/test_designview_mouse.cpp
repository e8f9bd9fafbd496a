// The mouse state machine of the design canvas on a real viewport: drawing
// new objects, click and drag, releases outside, Shift clicks, the rubber
// band and the hover cursors.
#include "content/objects/line.h"

#include "canvas_fixture.h"

#include <QScrollBar>
#include <QWheelEvent>

namespace {

using canvastest::kInch;

class CanvasMouseTest : public canvastest::CanvasTest {};

TEST_F(CanvasMouseTest, NewObjectsNeedSeventeenPixelsAtEveryZoom)
{
    for (int zoom : {50, 100, 400}) {
        SCOPED_TRACE(zoom);
        view->SetZoom(zoom);
        area().RemoveAll();
        const int undoBefore = undoCount();

        ASSERT_TRUE(view->SetPendingObject(std::make_unique<CGraphRect>()));
        EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseCreate);
        widgettest::DragSteps(vp(), {{40, 40}, {60, 50}, {80, 56}}); // 40 x 16
        EXPECT_EQ(area().GetCount(), 0u);
        EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);
        EXPECT_EQ(undoCount(), undoBefore);

        ASSERT_TRUE(view->SetPendingObject(std::make_unique<CGraphRect>()));
        widgettest::DragSteps(vp(), {{40, 40}, {60, 50}, {80, 57}}); // 40 x 17
        ASSERT_EQ(area().GetCount(), 1u);
        EXPECT_TRUE(area().GetAt(0)->IsSelected());
        EXPECT_EQ(undoCount(), undoBefore + 1);
        EXPECT_TRUE(doc->IsModified());
    }

    // A line is measured by its length.
    view->SetZoom(100);
    area().RemoveAll();
    ASSERT_TRUE(view->SetPendingObject(std::make_unique<CGraphLine>()));
    widgettest::DragSteps(vp(), {{40, 40}, {56, 40}});
    EXPECT_EQ(area().GetCount(), 0u);
    ASSERT_TRUE(view->SetPendingObject(std::make_unique<CGraphLine>()));
    widgettest::DragSteps(vp(), {{40, 40}, {57, 40}});
    EXPECT_EQ(area().GetCount(), 1u);

    // Insert is taken only while idle; Escape gives it up.
    ASSERT_TRUE(view->SetPendingObject(std::make_unique<CGraphRect>()));
    EXPECT_FALSE(view->SetPendingObject(std::make_unique<CGraphRect>()));
    view->CancelCreate();
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);
}

TEST_F(CanvasMouseTest, QuickClickSelectsAndHeldDragMovesWithOneUndoStep)
{
    CGraphRect* r = add(kInch, kInch, kInch, kInch / 2); // 96..192 x 96..144 px
    press({120, 110});
    release({120, 110});
    EXPECT_TRUE(r->IsSelected());
    EXPECT_EQ(r->GetX(), kInch);
    // The drag delay of the click is over: it cannot fire late.
    const QTimer* drag = widgettest::ChildTimer(view.get(), "dragTimer");
    ASSERT_NE(drag, nullptr);
    EXPECT_FALSE(drag->isActive());
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);

    const int undoBefore = undoCount();
    press({120, 110});
    ASSERT_TRUE(widgettest::WaitForTimer(view.get(), "dragTimer"));
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseMove);
    moveTo({130, 110});
    moveTo({140, 110});
    release({140, 110});
    EXPECT_EQ(r->GetX(), kInch + 5292);
    EXPECT_EQ(r->GetY(), kInch);
    EXPECT_EQ(undoCount(), undoBefore + 1);
    ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(area().GetAt(0)->GetX(), kInch);
}

TEST_F(CanvasMouseTest, ReleaseOutsideCancelsAMoveButCommitsAResize)
{
    CGraphRect* r = add(kInch, kInch, kInch, kInch / 2, true);
    press({120, 110});
    ASSERT_TRUE(widgettest::WaitForTimer(view.get(), "dragTimer"));
    moveTo({200, 200});
    release({-5, 100});
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(r->GetX(), kInch);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);
    EXPECT_FALSE(view->IsButtonDown());

    // The bottom-right handle, dragged 20 px right and released below the view.
    press({192, 144});
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseResize);
    moveTo({212, 144});
    release({212, vp()->height() + 10});
    EXPECT_EQ(ui.beeps, 2);
    CGraphObject* resized = area().GetAt(0);
    EXPECT_EQ(resized->GetX(), kInch);
    EXPECT_GT(resized->GetWidth(), kInch);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);
}

TEST_F(CanvasMouseTest, ShiftClicksToggleAndTheBandSelectsWhatLiesInside)
{
    CGraphRect* a = add(kInch, kInch, kInch / 2, kInch / 2);         // 96..144
    CGraphRect* b = add(2 * kInch, kInch, kInch / 2, kInch / 2);     // 192..240
    CGraphRect* c = add(3 * kInch, kInch, 2 * kInch, kInch / 2);     // 288..480

    click({100, 100}, Qt::ShiftModifier);
    click({200, 100}, Qt::ShiftModifier);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    click({100, 100}, Qt::ShiftModifier);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    area().DeselectAll();
    view->RedrawScene();

    // Shift on an empty place starts no band.
    press({20, 20}, Qt::ShiftModifier);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);
    release({20, 20}, Qt::ShiftModifier);

    // A band released with Shift selects nothing; the buffer is as before.
    const QImage before = widgettest::BackBufferCopy(*view);
    press({80, 80});
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseRubberBand);
    moveTo({200, 150});
    moveTo({260, 160});
    release({260, 160}, Qt::ShiftModifier);
    EXPECT_FALSE(a->IsSelected() || b->IsSelected() || c->IsSelected());
    EXPECT_TRUE(widgettest::BackBufferCopy(*view) == before);

    // Without Shift only the objects wholly inside are selected.
    widgettest::DragSteps(vp(), {{80, 80}, {200, 150}, {260, 160}});
    EXPECT_TRUE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
}

TEST_F(CanvasMouseTest, TheBandStaysInsideTheViewport)
{
    press({80, 80});
    moveTo({vp()->width() + 300, -200});
    release({vp()->width() + 300, -200});
    EXPECT_EQ(ui.beeps, 0);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseIdle);
}

TEST_F(CanvasMouseTest, HoverCursorsFollowTheHandles)
{
    add(kInch, kInch, kInch, kInch / 2, true); // 96..192 x 96..144, handles clockwise
    const struct {
        QPoint at;
        Qt::CursorShape shape;
    } cases[] = {
        {{96, 96}, Qt::SizeFDiagCursor},  {{144, 96}, Qt::SizeVerCursor},   {{192, 96}, Qt::SizeBDiagCursor},
        {{192, 120}, Qt::SizeHorCursor},  {{192, 144}, Qt::SizeFDiagCursor}, {{144, 144}, Qt::SizeVerCursor},
        {{96, 144}, Qt::SizeBDiagCursor}, {{96, 120}, Qt::SizeHorCursor},   {{130, 110}, Qt::SizeAllCursor},
        {{400, 300}, Qt::ArrowCursor},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at.x() * 1000 + c.at.y());
        moveTo(c.at, Qt::NoModifier, Qt::NoButton);
        EXPECT_EQ(vp()->cursor().shape(), c.shape);
    }
}

TEST_F(CanvasMouseTest, ScrolledPointsAreViewPixels)
{
    view->SetZoom(400);
    ASSERT_GT(view->horizontalScrollBar()->maximum(), 100);
    view->horizontalScrollBar()->setValue(100);
    CGraphRect* r = add(kInch, kInch, kInch, kInch); // 384..768 px at 400 %
    click({300, 400}); // view x 400
    EXPECT_TRUE(r->IsSelected());
    click({250, 400}); // view x 350: outside
    EXPECT_FALSE(r->IsSelected());
}

TEST_F(CanvasMouseTest, TheWheelScrollsTheSystemsLinesOfATenthOfATenthOfTheExtent)
{
    // A 100 x 400 mm label: the design extent is 125 x 500 mm. At 96 dpi
    // that is 472 x 1889 pixels at 100 % (a page 47 x 188, a line 4 x 18)
    // and 1889 x 7559 at 400 % (a page 188 x 755, a line 18 x 75).
    doc->GetCurrentTemplate().GetLabel()->SetHeight(0, 400000);
    struct Row {
        int zoom;
        int wheelLines;
        std::vector<QPoint> angles; // one wheel event each
        QPoint moved;
    };
    const Row rows[] = {
        {100, 3, {{0, -120}}, {0, 54}},
        {400, 3, {{0, -120}}, {0, 225}},
        {400, 4, {{0, -120}}, {0, 300}},
        {400, 3, {{-120, 0}}, {54, 0}},
        {400, 3, {{0, -60}, {0, -60}}, {0, 225}}, // parts of a notch add up
        // A notch of one line (18 pixels), 0.9 pixels more down (left over),
        // then 1.05 pixels back up: turning back drops what was left over
        // of the way down, so the way up still moves a whole pixel.
        {100, 1, {{0, -120}, {0, -6}, {0, 7}}, {0, 17}},
        {400, 20, {{0, -120}}, {0, 755}},         // at most a page
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.zoom << " % " << row.wheelLines << " lines");
        ui.metrics[SystemMetricId::WheelScrollLines] = row.wheelLines;
        view->SetZoom(row.zoom);
        view->horizontalScrollBar()->setValue(0);
        view->verticalScrollBar()->setValue(0);
        for (const QPoint& angle : row.angles) {
            QWheelEvent wheel(QPointF(200, 200), vp()->mapToGlobal(QPointF(200, 200)), QPoint(), angle,
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(vp(), &wheel);
        }
        EXPECT_EQ(view->ScrollPosition().x(), row.moved.x());
        EXPECT_EQ(view->ScrollPosition().y(), row.moved.y());
    }

    // A click on a bar's arrow scrolls a line, in its trough a page.
    view->verticalScrollBar()->setValue(0);
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view->ScrollPosition().y(), 75);
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(view->ScrollPosition().y(), 830);
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(view->ScrollPosition().y(), 75);
}

TEST_F(CanvasMouseTest, LockedTemplateIgnoresPresses)
{
    CGraphRect* r = add(kInch, kInch, kInch, kInch / 2);
    doc->GetCurrentTemplate().SetLocked(true);
    click({120, 110});
    EXPECT_FALSE(r->IsSelected());
    EXPECT_FALSE(view->IsButtonDown());
}

} // namespace
