// Geometry, hit testing, tracking and rotation of the boxed object base.
#include "content/objects/graphobject.h"
#include "platform/units.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using testsupport::countDifferentPixels;
using testsupport::whiteImage;

namespace {

// The smallest concrete boxed object.
class Box : public CGraph2Dim {
public:
    Box(int32_t x, int32_t y, int32_t w, int32_t h)
    {
        m_x = x;
        m_y = y;
        m_width = w;
        m_height = h;
    }
    std::unique_ptr<CGraphObject> Clone() const override { return std::make_unique<Box>(*this); }
    bool Draw(const DrawArgs&) const override { return true; }
    int16_t GetTypeKey() const override { return 0; }
};

// Micrometres of n pixels at 96 dpi and zoom 100 (25400 / 96 per pixel).
int32_t um(int px) { return int32_t((int64_t(px) * 25400 + 48) / 96); }

struct Fixture : ::testing::Test {
    QImage img = whiteImage(200, 200);
    CDC dc{&img, 96, 96};
};

} // namespace

TEST_F(Fixture, DeviceBoxUsesRoundedResolutionAndOffsets)
{
    Box b(1000, 2000, 10000, 5000);
    // 1000 um = 4 px, 2000 um = 8 px, 11000 um = 42 px (41.57 + 0.5 rounding), 7000 um = 26 px.
    EXPECT_EQ(b.CalcDeviceRect(dc, 100, 7, 9), (RECT{7 + 4, 9 + 8, 7 + 42, 9 + 26}));
    EXPECT_EQ(CGraphObject::ComputeResolution(dc, 100).x, 96);
    EXPECT_EQ(CGraphObject::ComputeResolution(dc, 33).x, 32);
}

TEST_F(Fixture, PointTestExcludesTheLeftEdgeOnly)
{
    Box b(um(10), um(10), um(20), um(20));
        const RECT r = b.CalcDeviceRect(dc, 100, 0, 0);
    EXPECT_FALSE(b.PtInObject(dc, 100, r.left, r.top + 5));
    EXPECT_TRUE(b.PtInObject(dc, 100, r.left + 1, r.top + 5));
    EXPECT_TRUE(b.PtInObject(dc, 100, r.right, r.top));
    EXPECT_TRUE(b.PtInObject(dc, 100, r.right, r.bottom));
    EXPECT_FALSE(b.PtInObject(dc, 100, r.right + 1, r.bottom));
    EXPECT_FALSE(b.PtInObject(dc, 100, r.right, r.top - 1));

    EXPECT_TRUE(b.IsInsideRect(dc, 100, r));
    EXPECT_FALSE(b.IsInsideRect(dc, 100, RECT{r.left + 1, r.top, r.right, r.bottom}));
}

TEST_F(Fixture, HandlesHitWithinThreePixelsAndEarlierCodesWin)
{
    Box b(um(20), um(20), um(40), um(30));
        const RECT r = b.CalcDeviceRect(dc, 100, 0, 0);
    EXPECT_EQ(b.HitTestHandle(dc, 100, r.left + 3, r.top - 3), kHandleTopLeft);
    EXPECT_EQ(b.HitTestHandle(dc, 100, r.left + 4, r.top), kHandleNone);
    EXPECT_EQ(b.HitTestHandle(dc, 100, r.right, r.bottom + 3), kHandleBottomRight);
    EXPECT_EQ(b.HitTestHandle(dc, 100, r.right, r.bottom + 4), kHandleNone);
    EXPECT_EQ(b.HitTestHandle(dc, 100, (r.left + r.right) / 2, r.bottom), kHandleBottom);
    EXPECT_EQ(b.HitTestHandle(dc, 100, r.left, (r.top + r.bottom) / 2 - 2), kHandleLeft);

    // A 2 x 2 pixel box: every handle is in reach; the order decides.
    Box tiny(um(50), um(50), um(2), um(2));
        const RECT t = tiny.CalcDeviceRect(dc, 100, 0, 0);
    EXPECT_EQ(tiny.HitTestHandle(dc, 100, t.right, t.bottom), kHandleTopLeft);
    EXPECT_EQ(tiny.HitTestHandle(dc, 100, t.right + 3, t.top), kHandleTopRight);

    // IsOnHandle needs the selection; HitTestHandle does not.
    EXPECT_FALSE(b.IsOnHandle(dc, 100, r.left, r.top));
    b.SetSelected(true);
    EXPECT_TRUE(b.IsOnHandle(dc, 100, r.left, r.top));
}

TEST_F(Fixture, HandlesInvertedTwiceVanish)
{
    const QImage before = img.copy();
    Box b(um(20), um(20), um(40), um(30));
    b.SetSelected(true);
    b.DrawHandlesIfSelected(dc, 100);
    EXPECT_EQ(countDifferentPixels(before, img), 8 * 49);
    b.DrawHandlesIfSelected(dc, 100);
    EXPECT_EQ(countDifferentPixels(before, img), 0);
    b.SetSelected(false);
    b.DrawHandlesIfSelected(dc, 100);
    EXPECT_EQ(countDifferentPixels(before, img), 0);
}

TEST_F(Fixture, MoveAddsTheConvertedDistance)
{
    const QImage before = img.copy();
    Box b(10000, 10000, 20000, 10000);
    ObjectTracking t;
    b.BeginMove(t, dc, 100, 50, 50);
    ASSERT_NE(t.marker, nullptr);
    EXPECT_EQ(t.marker->PenStyle(), PS_DOT);
    b.TrackMove(t, dc, 60, 55);
    b.TrackMove(t, dc, 70, 40);
    b.EndMove(t, dc, 70, 40);
    EXPECT_EQ(t.marker, nullptr);
    EXPECT_EQ(countDifferentPixels(before, img), 0); // the outline is gone
    EXPECT_EQ(b.GetX(), 10000 + (20 * 25400 + 48) / 96);
    EXPECT_EQ(b.GetY(), 10000 + (-10 * 25400 + 48) / 96);

    Box c(10000, 10000, 20000, 10000);
    ObjectTracking u;
    c.BeginMove(u, dc, 100, 50, 50);
    c.TrackMove(u, dc, 90, 90);
    c.CancelTracking(u, dc);
    EXPECT_EQ(c.GetX(), 10000);
    EXPECT_EQ(countDifferentPixels(before, img), 0);
}

TEST_F(Fixture, TrackingWithoutAnOutlineIsHarmless)
{
    Box b(1000, 1000, 1000, 1000);
    ObjectTracking t;
    b.TrackMove(t, dc, 10, 10);
    b.TrackResize(t, dc, 10, 10, MK_SHIFT | MK_CONTROL);
    b.EndMove(t, dc, 10, 10);
    b.EndResize(t, dc);
    b.CancelTracking(t, dc);
    EXPECT_EQ(b.GetX(), 1000);
    EXPECT_EQ(b.GetWidth(), 1000);
    EXPECT_EQ(b.GetTrackingSize(t), 0);
}

TEST_F(Fixture, ResizeModesFollowTheHandle)
{
    Box b(um(20), um(20), um(40), um(20));
        const RECT r = b.CalcDeviceRect(dc, 100, 0, 0);
    const int mx = (r.left + r.right) / 2;

    // Right middle: width only, the anchor is the top-left corner.
    ObjectTracking tb;
    b.BeginResize(tb, dc, 100, r.right, (r.top + r.bottom) / 2);
    EXPECT_EQ(tb.resizeMode, CGraph2Dim::kResizeWidth);
    EXPECT_EQ(tb.anchor, (POINT{r.left, r.top}));
    b.TrackResize(tb, dc, r.right + 10, r.bottom + 30, 0);
    b.EndResize(tb, dc);
    EXPECT_EQ(b.GetHeight(), units::PxToUm(r.bottom - r.top, 96));
    EXPECT_EQ(b.GetWidth(), units::PxToUm(r.right + 10 - r.left, 96));

    // Top middle: height only, anchored at the bottom-left corner.
    Box c(um(20), um(20), um(40), um(20));
    ObjectTracking tc;
    c.BeginResize(tc, dc, 100, mx, r.top);
    EXPECT_EQ(tc.resizeMode, CGraph2Dim::kResizeHeight);
    EXPECT_EQ(tc.anchor, (POINT{r.left, r.bottom}));
    c.TrackResize(tc, dc, r.left - 50, r.top - 10, 0);
    c.EndResize(tc, dc);
    EXPECT_EQ(c.GetX(), units::PxToUm(r.left, 96));
    EXPECT_EQ(c.GetY(), units::PxToUm(r.top - 10, 96));
    EXPECT_EQ(c.GetWidth(), units::PxToUm(r.right - r.left, 96));

    // Dragging the top-left corner past the anchor normalises the box.
    Box d(um(20), um(20), um(40), um(20));
    ObjectTracking td;
    d.BeginResize(td, dc, 100, r.left, r.top);
    d.TrackResize(td, dc, r.right + 20, r.bottom + 10, 0);
    d.EndResize(td, dc);
    EXPECT_EQ(d.GetX(), units::PxToUm(r.right, 96));
    EXPECT_EQ(d.GetWidth(), units::PxToUm(20, 96));
    EXPECT_EQ(d.GetHeight(), units::PxToUm(10, 96));
}

TEST_F(Fixture, KeepProportionsAndZeroWidthFollowTheDiagonal)
{
    Box b(um(20), um(20), um(40), um(20)); // aspect 50
        const RECT r = b.CalcDeviceRect(dc, 100, 0, 0);
    ObjectTracking tb;
    b.BeginResize(tb, dc, 100, r.right, r.bottom);
    b.TrackResize(tb, dc, r.left + 80, r.bottom + 77, MK_SHIFT);
    b.EndResize(tb, dc);
    EXPECT_EQ(b.GetHeight(), units::PxToUm(40, 96));

    Box z(um(20), um(20), 0, um(20));
    EXPECT_EQ(z.GetAspectPercent(), 100);
        const RECT zr = z.CalcDeviceRect(dc, 100, 0, 0);
    ObjectTracking tz;
    z.BeginResize(tz, dc, 100, zr.right, zr.bottom);
    z.TrackResize(tz, dc, zr.left + 30, zr.top - 99, MK_SHIFT); // above the anchor
    z.EndResize(tz, dc);
    EXPECT_EQ(z.GetWidth(), units::PxToUm(30, 96));
    EXPECT_EQ(z.GetHeight(), units::PxToUm(30, 96));
    EXPECT_EQ(z.GetY(), units::PxToUm(zr.top - 30, 96));
}

TEST_F(Fixture, CreateUsesTruncatedResolutionAndCtrlGrowsAboutTheStart)
{
    Box b(0, 0, 0, 0);
    ObjectTracking t;
    b.BeginCreate(t, dc, 33, 50, 50); // 31.68 dpi truncated to 31
    EXPECT_EQ(t.res.x, 31);
    ASSERT_NE(t.marker, nullptr);
    EXPECT_EQ(t.marker->PenStyle(), PS_SOLID);
    b.TrackResize(t, dc, 60, 56, MK_CONTROL);
    b.EndResize(t, dc);
    EXPECT_EQ(b.GetX(), units::PxToUm(40, 31));
    EXPECT_EQ(b.GetY(), units::PxToUm(44, 31));
    EXPECT_EQ(b.GetWidth(), units::PxToUm(20, 31));
    EXPECT_EQ(b.GetHeight(), units::PxToUm(12, 31));
}

TEST(GraphObject, RotationTurnsAboutTheCentreAndReturns)
{
    Box b(1000, 2000, 3001, 1501); // odd sizes
    b.Rotate90(b.GetCenter(1), b.GetCenter(2), 1);
    EXPECT_EQ(b.GetWidth(), 1501);
    EXPECT_EQ(b.GetHeight(), 3001);
    b.Rotate90(b.GetCenter(1), b.GetCenter(2), -1);
    EXPECT_EQ(b.GetX(), 1000);
    EXPECT_EQ(b.GetY(), 2000);
    EXPECT_EQ(b.GetWidth(), 3001);
    EXPECT_EQ(b.GetHeight(), 1501);

    // About a foreign point: four turns come home, the centre turns exactly.
    Box c(10000, 4000, 6000, 2000);
    c.Rotate90(0, 0, 1);
    EXPECT_EQ(c.GetCenter(1), 5000);   // (10000+3000, 4000+1000) -> (5000, -13000)
    EXPECT_EQ(c.GetCenter(2), -13000);
    for (int i = 0; i < 3; ++i)
        c.Rotate90(0, 0, 1);
    EXPECT_EQ(c.GetX(), 10000);
    EXPECT_EQ(c.GetY(), 4000);

    for (int dir : {0, 2, -2}) {
        Box d(1, 2, 3, 4);
        d.Rotate90(100, 100, dir);
        EXPECT_EQ(d.GetX(), 1);
        EXPECT_EQ(d.GetY(), 2);
        EXPECT_EQ(d.GetWidth(), 3);
    }
}

TEST(GraphObject, GeometryAccessorsAndCentres)
{
    Box b(100, 200, 31, 41);
    EXPECT_EQ(b.GetRight(), 131);
    EXPECT_EQ(b.GetBottom(), 241);
    EXPECT_EQ(b.GetCenter(1), 115);
    EXPECT_EQ(b.GetCenter(2), 220);
    EXPECT_EQ(b.GetCenter(3), 0);
    EXPECT_FALSE(b.SetCenter(0, 5));
    EXPECT_TRUE(b.SetCenter(1, 1000));
    EXPECT_EQ(b.GetX(), 985);
    b.SetRight(500);
    EXPECT_EQ(b.GetX(), 469);
    b.SetBottom(0);
    EXPECT_EQ(b.GetY(), -41);
    EXPECT_TRUE(b.SetWidthChecked(7));
    EXPECT_EQ(b.GetWidth(), 7);
    EXPECT_EQ(b.GetAspectPercent(), 41 * 100 / 7);
}

TEST(GraphObject, HorizontalScalingOfABand)
{
    Box b(3000, 0, 2000, 100);
    b.ScaleHorizontally(1000, 5000, 4000); // band doubles
    EXPECT_EQ(b.GetX(), 5000);
    EXPECT_EQ(b.GetWidth(), 4000);
    Box c(1001, 0, 3, 100);
    c.ScaleHorizontally(1000, 1002, 1); // factor 1.5: 1.5 and 4.5 round away from zero
    EXPECT_EQ(c.GetX(), 1002);
    EXPECT_EQ(c.GetWidth(), 5);
    Box d(3000, 0, 2000, 100);
    d.ScaleHorizontally(4000, 4000, 500); // empty band: nothing
    EXPECT_EQ(d.GetX(), 3000);
    EXPECT_EQ(d.GetWidth(), 2000);
}

TEST(GraphObject, RecordOfTheBaseAndCopies)
{
    Box b(-5, 70000, 1, 1);
    b.SetSelected(true);
    RecordWriter w;
    b.Save(w);
    EXPECT_EQ(w.data(), std::string("\xFB\xFF\xFF\xFF\x70\x11\x01\x00", 8));
    Box loaded(0, 0, 0, 0);
    loaded.SetSelected(true);
    RecordReader r(w.data());
    EXPECT_TRUE(loaded.Load(r));
    EXPECT_EQ(loaded.GetX(), -5);
    EXPECT_EQ(loaded.GetY(), 70000);
    EXPECT_FALSE(loaded.IsSelected());
    const std::string cut = w.data().substr(0, 6);
    RecordReader shortRead(cut);
    EXPECT_FALSE(loaded.Load(shortRead));
}

TEST(GraphObject, ConversionsDoNotOverflowAtExtremes)
{
    QImage img = whiteImage(10, 10);
    CDC dc(&img, 1200, 1200);
    Box b(2000000000, -2000000000, 2000000000, 100);
    const RECT r = b.CalcDeviceRect(dc, 3199, 0, 0);
    EXPECT_GT(r.left, 0);
    EXPECT_LT(r.top, 0);
    EXPECT_GE(r.right, r.left);
    b.Offset(2000000000, -2000000000);
    EXPECT_EQ(b.GetX(), INT32_MAX);
    EXPECT_EQ(b.GetY(), INT32_MIN);
}
