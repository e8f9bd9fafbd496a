// The back buffer of the interactive views: XOR feedback drawn twice leaves
// the buffer as it was, only the touched rectangle reaches the screen, and
// the scene is not repainted during a gesture.
#include "shell/backbufferview.h"
#include "shell/feedbackdc.h"
#include "support/widgettest.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPalette>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

// A scene of coloured stripes, counting how often it is drawn.
class StripesView : public CBackBufferView {
public:
    int scenePaints = 0;
    int colourChanges = 0;

protected:
    void PaintScene(CDC& dc) override
    {
        ++scenePaints;
        const QImage& buffer = BackBuffer();
        for (int x = 0; x < buffer.width(); x += 8)
            dc.FillSolidRect(RECT{x, 0, x + 8, buffer.height()}, (x / 8) % 2 ? RGB(200, 30, 30) : RGB(240, 240, 250));
    }
    void SystemColoursChanged() override { ++colourChanges; }
};

// Collects the regions the viewport is asked to paint.
class PaintSpy : public QObject {
public:
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// Runs the event loop until `done` holds (or a generous bound passes).
template <class Condition>
bool settle(Condition done)
{
    return QTest::qWaitFor(done);
}

} // namespace

TEST(BackBufferView, XorFeedbackTwiceRestoresTheBufferAndFlushesOnlyItsRectangle)
{
    StripesView view;
    view.resize(200, 150);
    ASSERT_TRUE(widgettest::ShowAndWait(&view));
    ASSERT_TRUE(widgettest::WaitForPaint(view.viewport()));
    EXPECT_EQ(view.LogPixelsX(), 96);
    PaintSpy spy;
    view.viewport()->installEventFilter(&spy);
    const QImage before = widgettest::BackBufferCopy(view);
    const int paintsBefore = view.scenePaints;

    {
        CFeedbackDC feedback(view);
        feedback.XorOutline(RECT{10, 20, 60, 50});
        EXPECT_EQ(feedback.Dirty(), QRect(10, 20, 50, 30));
    }
    settle([&] { return spy.painted == QRegion(10, 20, 50, 30); });
    EXPECT_NE(view.BackBuffer(), before);
    EXPECT_EQ(spy.painted, QRegion(10, 20, 50, 30));
    // The outline is inverted on the stripes.
    EXPECT_EQ(view.BackBuffer().pixel(10, 20) & 0xFFFFFF, ~before.pixel(10, 20) & 0xFFFFFF);

    spy.painted = QRegion();
    {
        CFeedbackDC feedback(view);
        feedback.XorOutline(RECT{10, 20, 60, 50});
    }
    settle([&] { return spy.painted == QRegion(10, 20, 50, 30); });
    EXPECT_EQ(view.BackBuffer(), before); // byte-identical
    EXPECT_EQ(spy.painted, QRegion(10, 20, 50, 30));

    // A 2-pixel divider line and inverted handles come and go the same way.
    {
        CFeedbackDC feedback(view);
        feedback.Invert(RECT{100, 0, 102, 150});
        feedback.Invert(RECT{3, 3, 10, 10});
        feedback.XorLine(POINT{0, 140}, POINT{199, 100}, 3);
    }
    {
        CFeedbackDC feedback(view);
        feedback.XorLine(POINT{0, 140}, POINT{199, 100}, 3);
        feedback.Invert(RECT{3, 3, 10, 10});
        feedback.Invert(RECT{100, 0, 102, 150});
    }
    EXPECT_EQ(view.BackBuffer(), before);
    EXPECT_EQ(view.scenePaints, paintsBefore); // no scene repaint during the gesture

    // What is on screen is the buffer.
    ASSERT_TRUE(widgettest::WaitForPaint(view.viewport()));
    EXPECT_EQ(view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32), view.BackBuffer());
}

TEST(BackBufferView, ScrollingResizingAndPaletteChangesRedrawTheScene)
{
    StripesView view;
    view.resize(120, 100);
    view.SetContentSize(QSize(1000, 800));
    ASSERT_TRUE(widgettest::ShowAndWait(&view));
    ASSERT_TRUE(widgettest::WaitForPaint(view.viewport()));
    int paints = view.scenePaints;
    view.horizontalScrollBar()->setValue(40);
    EXPECT_EQ(view.ScrollPosition(), QPoint(40, 0));
    EXPECT_GT(view.scenePaints, paints);

    paints = view.scenePaints;
    view.resize(160, 110);
    settle([&] { return view.scenePaints > paints; });
    EXPECT_GT(view.scenePaints, paints);
    EXPECT_EQ(view.BackBuffer().size(), view.viewport()->size());

    paints = view.scenePaints;
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, Qt::black);
    view.setPalette(palette);
    EXPECT_EQ(view.colourChanges, 1);
    EXPECT_GT(view.scenePaints, paints);
}

TEST(BackBufferView, AHiddenViewDrawsItsSceneOnlyWhenShown)
{
    // Views of template tabs not shown must not all redraw on every change.
    StripesView view;
    view.resize(200, 100);
    view.RedrawScene();
    view.RedrawScene();
    EXPECT_EQ(view.scenePaints, 0);
    view.show();
    settle([&] { return view.scenePaints >= 1; });
    EXPECT_GE(view.scenePaints, 1);
    const int shown = view.scenePaints;
    view.hide();
    view.RedrawScene();
    EXPECT_EQ(view.scenePaints, shown);
    view.show();
    settle([&] { return view.scenePaints > shown; });
    EXPECT_GT(view.scenePaints, shown);
}
