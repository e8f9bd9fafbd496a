// Rulers rendered to images: tick positions and lengths follow the scale
// formulas at several zooms in both units, numbers sit beside their marks,
// and the inverted marker line leaves no trace when drawn twice.
#include "shell/rulerhorwnd.h"
#include "shell/rulerverwnd.h"

#include <QImage>
#include <gtest/gtest.h>

#include <map>

namespace {

constexpr int kDpi = 96;
constexpr int kLength = 700; // along the ruler
constexpr unsigned kBlack = 0x000000;
constexpr unsigned kBackground = 0xF0F0F0;

unsigned rgbAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFFu;
}

// Expected tick length at each position along the ruler, from the scale
// definition: majors 16, metric minors 8, inch sixteenths 12 / 9 / 6.
std::map<int, int> expectedTicks(int zoom, int unit, int offset)
{
    const int64_t s = int64_t(kDpi) * zoom / 100;
    std::map<int, int> ticks;
    auto put = [&](int64_t pos, int length) {
        if (pos >= 0 && pos < kLength)
            ticks[int(pos)] = std::max(ticks[int(pos)], length);
    };
    for (int64_t n = 0; n < 40; ++n) {
        if (unit == CRulerWnd::Metric) {
            if (zoom < 50 && n % 2)
                continue;
            put(n * s * 10000 / 25400 - offset, 16);
            for (int64_t k = 0; k < 10; k += zoom >= 200 ? 1 : 2)
                put(s * (10 * n + k) * 1000 / 25400 - offset, 8);
        } else {
            put(n * s - offset, 16);
            for (int64_t i = 0; i < 16; ++i)
                if (i % 2 == 0 || zoom >= 100)
                    put(s * (16 * n + i) / 16 - offset, i == 8 ? 12 : (i % 8 == 4) ? 9 : 6);
        }
    }
    return ticks;
}

QImage render(CRulerWnd& ruler)
{
    QImage image(ruler.width(), ruler.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image, kDpi, kDpi);
    ruler.Render(dc);
    return image;
}

// Black pixels going inwards from the inner edge at `pos` (a line from the
// edge excludes its end pixel, so a tick of length L shows L - 1 pixels).
int measuredTick(const QImage& image, bool horizontal, int pos)
{
    int count = 0;
    for (int d = 1; d <= 22; ++d) {
        const unsigned c = horizontal ? rgbAt(image, pos, 23 - d) : rgbAt(image, 23 - d, pos);
        if (c != kBlack)
            break;
        ++count;
    }
    return count;
}

void expectScale(int zoom, int unit, int offset, bool horizontal)
{
    SCOPED_TRACE(testing::Message() << "zoom " << zoom << " unit " << unit << " offset " << offset
                                    << (horizontal ? " horizontal" : " vertical"));
    CRulerHorWnd hor;
    CRulerVerWnd ver;
    CRulerWnd& ruler = horizontal ? static_cast<CRulerWnd&>(hor) : ver;
    if (horizontal)
        hor.resize(kLength, CRulerWnd::kThickness);
    else
        ver.resize(CRulerWnd::kThickness, kLength);
    ruler.SetZoom(zoom);
    ruler.SetUnit(unit);
    ruler.SetScrollOffset(offset);
    ruler.SetMarkerPosition(-5); // off the ruler
    const QImage image = render(ruler);

    const std::map<int, int> expected = expectedTicks(zoom, unit, offset);
    int mismatches = 0;
    for (int pos = 0; pos < kLength; ++pos) {
        const auto it = expected.find(pos);
        const int want = it == expected.end() ? 0 : it->second - 1;
        const int got = measuredTick(image, horizontal, pos);
        if (got != want && ++mismatches < 5)
            ADD_FAILURE() << "tick at " << pos << ": " << got << " pixels, expected " << want;
    }
    EXPECT_EQ(mismatches, 0);
}

// Whether anything but background lies in the number's place beside a major mark.
bool numberBeside(const QImage& image, int pos)
{
    for (int x = pos + 2; x < pos + 8; ++x)
        for (int y = 1; y < 14; ++y)
            if (rgbAt(image, x, y) != kBackground)
                return true;
    return false;
}

} // namespace

TEST(RulerWnd, TicksFollowTheScaleAtEachZoomAndUnit)
{
    for (int zoom : {49, 50, 99, 100, 199, 200})
        for (int unit : {CRulerWnd::Metric, CRulerWnd::Inch})
            expectScale(zoom, unit, 0, true);
    expectScale(100, CRulerWnd::Metric, 37, true);
    expectScale(200, CRulerWnd::Inch, 150, true);
    expectScale(100, CRulerWnd::Metric, 0, false);
    expectScale(50, CRulerWnd::Inch, 11, false);
}

TEST(RulerWnd, SpotValuesOfTheScale)
{
    CRulerHorWnd ruler;
    ruler.resize(kLength, CRulerWnd::kThickness);
    ruler.SetMarkerPosition(-5);
    QImage image = render(ruler);
    // Zoom 100 at 96 dpi: 1 cm at 37 px, 1.2 cm at 45 px, 1 inch at 96 px.
    EXPECT_EQ(measuredTick(image, true, 37), 15);
    EXPECT_EQ(measuredTick(image, true, 45), 7);
    EXPECT_EQ(measuredTick(image, true, 41), 0); // 1.1 cm: odd millimetres stay blank
    EXPECT_TRUE(numberBeside(image, 37));
    EXPECT_EQ(rgbAt(image, 37, 7), kBackground); // the major tick ends at its length

    ruler.SetUnit(CRulerWnd::Inch);
    image = render(ruler);
    EXPECT_EQ(measuredTick(image, true, 96), 15);
    EXPECT_EQ(measuredTick(image, true, 144), 11); // half inch
    EXPECT_EQ(measuredTick(image, true, 120), 8);  // quarter
    EXPECT_EQ(measuredTick(image, true, 102), 5);  // sixteenth
}

TEST(RulerWnd, AtZoom49OnlyEvenCentimetresAreNumbered)
{
    CRulerHorWnd ruler;
    ruler.resize(kLength, CRulerWnd::kThickness);
    ruler.SetMarkerPosition(-5);
    ruler.SetZoom(50); // 48 px per inch: 1 cm at 18 px, 2 cm at 37 px
    QImage image = render(ruler);
    EXPECT_TRUE(numberBeside(image, 18));
    EXPECT_TRUE(numberBeside(image, 37));

    ruler.SetZoom(49); // 47 px per inch: 1 cm at 18 px, 2 cm at 37 px
    image = render(ruler);
    EXPECT_FALSE(numberBeside(image, 18));
    EXPECT_EQ(measuredTick(image, true, 18), 0);
    EXPECT_TRUE(numberBeside(image, 37));
}

TEST(RulerWnd, TheMarkerDrawnTwiceLeavesTheImageAsItWas)
{
    for (bool horizontal : {true, false}) {
        CRulerHorWnd hor;
        CRulerVerWnd ver;
        CRulerWnd& ruler = horizontal ? static_cast<CRulerWnd&>(hor) : ver;
        ruler.resize(horizontal ? 300 : 23, horizontal ? 23 : 300);
        ruler.SetMarkerPosition(37); // over a major tick
        QImage image = render(ruler);
        EXPECT_TRUE(ruler.IsMarkerDrawn());
        // Inverted grey: background 240 becomes 207, a black tick 63; the
        // edge pixel at 0 is left alone.
        const auto at = [&](int along, int across) {
            return horizontal ? rgbAt(image, along, across) : rgbAt(image, across, along);
        };
        EXPECT_EQ(at(37, 22), 0x3F3F3Fu);
        EXPECT_EQ(at(37, 3), 0xCFCFCFu);
        EXPECT_EQ(at(37, 0), kBackground);

        const QImage before = image;
        CDC dc(&image, kDpi, kDpi);
        ruler.DrawMarker(dc);
        EXPECT_FALSE(ruler.IsMarkerDrawn());
        EXPECT_NE(image, before);
        EXPECT_EQ(at(37, 3), kBackground);
        ruler.DrawMarker(dc);
        EXPECT_EQ(image, before);
    }
}

TEST(RulerWnd, MovingTheMarkerLeavesExactlyOneLineAlsoAfterARepaint)
{
    CRulerHorWnd ruler;
    ruler.resize(300, CRulerWnd::kThickness);
    ruler.SetMarkerPosition(100);
    (void)ruler.grab(); // first paint
    ruler.SetMarkerPosition(150);
    ruler.SetMarkerPosition(151);

    CRulerHorWnd reference;
    reference.resize(300, CRulerWnd::kThickness);
    reference.SetMarkerPosition(151);
    QImage expected(300, CRulerWnd::kThickness, QImage::Format_RGB32);
    CDC dc(&expected, ruler.logicalDpiX(), ruler.logicalDpiY());
    reference.Render(dc);

    EXPECT_EQ(ruler.grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    ruler.SetZoom(200); // repainted from scratch
    ruler.SetZoom(100);
    EXPECT_EQ(ruler.grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    EXPECT_TRUE(ruler.IsMarkerDrawn());
}
