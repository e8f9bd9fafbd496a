// Double-buffered painting: what is drawn reaches the window, also after
// the buffer has grown, with the device context's selections kept.
#include "shell/bufferdc.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

class PaintedWidget : public QWidget {
public:
    std::function<void(CBufferDC&)> paint;

protected:
    void paintEvent(QPaintEvent*) override
    {
        CBufferDC buffer(this);
        paint(buffer);
    }
};

unsigned rgbAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFFu;
}

} // namespace

TEST(BufferDC, DrawingReachesTheWindowAndSurvivesGrowing)
{
    PaintedWidget widget;
    widget.resize(40, 30);
    RECT sizeSeen{};
    RECT grownTo{};
    widget.paint = [&](CBufferDC& buffer) {
        sizeSeen = buffer.BufferRect();
        CDC& dc = buffer.Dc();
        dc.FillSolidRect(RECT{0, 0, 40, 30}, RGB(255, 255, 0));
        dc.SelectPen(CPen{PS_SOLID, 1, RGB(0, 0, 0)});
        dc.SetROP2(R2_NOTXORPEN);
        dc.MoveTo(5, 5);

        buffer.EnsureBufferSize(RECT{0, 0, 20, 10}); // smaller: nothing changes
        EXPECT_EQ(buffer.BufferRect(), sizeSeen);
        buffer.EnsureBufferSize(RECT{0, 0, 100, 60});
        grownTo = buffer.BufferRect();
        // The line continues from where it was, in the same pen and mode
        // (black NOTXOR over yellow gives blue).
        buffer.Dc().LineTo(5, 25);
        buffer.Dc().FillSolidRect(RECT{80, 50, 90, 55}, RGB(255, 0, 0));
        EXPECT_EQ(buffer.Buffer().pixel(85, 52) & 0xFFFFFFu, 0xFF0000u);
    };
    const QImage shown = widget.grab().toImage();
    EXPECT_EQ(sizeSeen, (RECT{0, 0, 40, 30}));
    EXPECT_EQ(grownTo, (RECT{0, 0, 100, 60}));
    ASSERT_EQ(shown.size(), QSize(40, 30));
    EXPECT_EQ(rgbAt(shown, 20, 20), 0xFFFF00u);
    EXPECT_EQ(rgbAt(shown, 5, 10), 0x0000FFu);
    EXPECT_EQ(rgbAt(shown, 5, 25), 0xFFFF00u); // the end pixel stays out
}

TEST(BufferDC, AWildRectangleIsBounded)
{
    PaintedWidget widget;
    widget.resize(10, 10);
    RECT grown{};
    widget.paint = [&](CBufferDC& buffer) {
        buffer.EnsureBufferSize(RECT{0, 0, INT32_MAX, INT32_MAX});
        grown = buffer.BufferRect();
    };
    (void)widget.grab();
    EXPECT_LE(grown.right, 4096);
    EXPECT_LE(grown.bottom, 4096);
}
