// Solid fills batched on a painter target: one drawing of many rectangles
// per colour, stacked rectangles of the same columns merged, other drawing
// flushing what is pending first, so the order stays, and fills under a clip
// region kept out of its holes.
#include "platform/dc.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Logs what reaches the paint engine.
class LoggingEngine : public QPaintEngine {
public:
    LoggingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    std::vector<std::string> log;
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawRects(const QRect* rects, int n) override { record(n, [&](int i) { return QRectF(rects[i]); }); }
    void drawRects(const QRectF* rects, int n) override { record(n, [&](int i) { return rects[i]; }); }
    void drawPath(const QPainterPath&) override { log.push_back("path"); }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { log.push_back("polygon"); }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return QPaintEngine::User; }

private:
    template <class F>
    void record(int n, F at)
    {
        std::string s = "rects";
        for (int i = 0; i < n; ++i) {
            const QRect r = at(i).toRect();
            s += " " + std::to_string(r.left()) + "," + std::to_string(r.top()) + "," + std::to_string(r.width()) +
                 "x" + std::to_string(r.height());
        }
        log.push_back(s);
    }
};

class LoggingDevice : public QPaintDevice {
public:
    mutable LoggingEngine engine;
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: case PdmHeight: return 1000;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 300;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 0;
        }
    }
};

} // namespace

TEST(DcFillBatch, RectanglesOfAColourGoOutTogetherMergedDownTheColumns)
{
    LoggingDevice device;
    QPainter painter(&device);
    CDC dc(&painter, 300, 300, 1000, 1000);
    {
        CDCFillBatch batch(dc);
        dc.FillSolidRect(RECT{10, 10, 20, 12}, 0);
        dc.FillSolidRect(RECT{40, 10, 44, 12}, 0);
        dc.FillSolidRect(RECT{10, 12, 20, 14}, 0); // below the first: one taller rectangle
        dc.FillSolidRect(RECT{10, 30, 20, 31}, 0); // further down: apart
        dc.FillSolidRect(RECT{0, 0, 5, 5}, RGB(255, 0, 0));
        dc.SelectPen(CPen{PS_SOLID, 1, 0});
        dc.MoveTo(0, 50); // drawing a line sends the red fill first
        dc.LineTo(9, 50);
        dc.FillSolidRect(RECT{1, 1, 2, 2}, 0);
    }
    const std::vector<std::string> expected{"rects 10,10,10x4 10,30,10x1 40,10,4x2", "rects 0,0,5x5", "path",
                                            "rects 1,1,1x1"};
    EXPECT_EQ(device.engine.log, expected);

    // Outside a batch every rectangle goes out at once.
    device.engine.log.clear();
    dc.FillSolidRect(RECT{10, 10, 20, 12}, 0);
    dc.FillSolidRect(RECT{10, 12, 20, 14}, 0);
    EXPECT_EQ(device.engine.log, (std::vector<std::string>{"rects 10,10,10x2", "rects 10,12,10x2"}));

    // A fill under a clip region is not batched: what the batch holds goes
    // out before it, and the region's hole stays unpainted (two corner
    // squares of a 10 x 10 picture).
    auto fillUnderRegion = [](CDC& target) {
        CDCFillBatch batch(target);
        target.FillSolidRect(RECT{0, 0, 5, 5}, 0);
        const QRegion region = QRegion(0, 0, 3, 3).united(QRegion(6, 6, 3, 3));
        target.SelectClipRegion(&region);
        target.FillSolidRect(RECT{1, 1, 9, 9}, RGB(255, 0, 0));
        target.SelectClipRegion(nullptr);
    };
    device.engine.log.clear();
    fillUnderRegion(dc);
    ASSERT_FALSE(device.engine.log.empty());
    EXPECT_EQ(device.engine.log.front(), "rects 0,0,5x5");
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter imagePainter(&image);
        CDC imageDc(&imagePainter, 96, 96, 10, 10);
        fillUnderRegion(imageDc);
    }
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(7, 7), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(4, 4), qRgb(0, 0, 0));     // the black fill below, in the hole
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255)); // neither fill
    EXPECT_EQ(image.pixel(2, 7), qRgb(255, 255, 255));
}
