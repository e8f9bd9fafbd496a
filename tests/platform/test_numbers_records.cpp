// Integer arithmetic helpers, unit conversions and bounded records.
#include "platform/muldiv.h"
#include "platform/record.h"
#include "platform/units.h"

#include <gtest/gtest.h>

#include <limits>

TEST(MulDiv, RoundsHalfAwayFromZeroAndGuardsDivision)
{
    EXPECT_EQ(MulDiv(10, 3, 4), 8);    // 7.5 -> 8
    EXPECT_EQ(MulDiv(-10, 3, 4), -8);  // -7.5 -> -8
    EXPECT_EQ(MulDiv(10, -3, -4), 8);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);     // 2.33 -> 2
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    // The product needs 64 bits.
    EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);
    // A result outside 32 bits is an error.
    EXPECT_EQ(MulDiv(std::numeric_limits<int32_t>::max(), 4, 1), -1);
    EXPECT_EQ(MulDiv(std::numeric_limits<int32_t>::min(), 1, 1), std::numeric_limits<int32_t>::min());
}

TEST(Units, ConversionsAndResolution)
{
    EXPECT_EQ(units::ZoomedPpi(100, 96), 96);
    EXPECT_EQ(units::ZoomedPpi(75, 96), 72);
    EXPECT_EQ(units::ZoomedPpi(33, 96), 32);          // 31.68 rounded
    EXPECT_EQ(units::ZoomedPpiTruncated(33, 96), 31); // truncated
    // 1 mm at 96 dpi is 4 pixels.
    EXPECT_EQ(units::UmToPx(1000, 96), 4);
    EXPECT_EQ(units::PxToUm(4, 96), 1058);
    EXPECT_EQ(units::PxToUm(10, 0), 0);
    // Huge coordinates at the largest zoom and printer resolution do not
    // overflow: 2 km at 3199 % of 600 dpi.
    const int32_t ppi = units::ZoomedPpi(3199, 600);
    EXPECT_EQ(units::UmToPx(2000000000, ppi), int32_t((int64_t(2000000000) * ppi + 12700) / 25400));
    EXPECT_EQ(units::UmToPx(std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()),
              std::numeric_limits<int32_t>::max());
    EXPECT_EQ(units::PxToUm(std::numeric_limits<int32_t>::max(), 1), std::numeric_limits<int32_t>::max());
}

TEST(Units, RoundingAtTheHalfPixelAndHalfMicrometre)
{
    // 254 ppi: 100 um a pixel. Exact halves round up; the division
    // truncates, so below zero a half goes towards zero as well.
    EXPECT_EQ(units::UmToPx(49, 254), 0);
    EXPECT_EQ(units::UmToPx(50, 254), 1);
    EXPECT_EQ(units::UmToPx(149, 254), 1);
    EXPECT_EQ(units::UmToPx(150, 254), 2);
    EXPECT_EQ(units::UmToPx(-50, 254), 0);
    EXPECT_EQ(units::UmToPx(-150, 254), -1);
    EXPECT_EQ(units::UmToPx(-151, 254), -1);
    EXPECT_EQ(units::UmToPx(-250, 254), -2);
    // 96 ppi: half a pixel is 132.29 um.
    EXPECT_EQ(units::UmToPx(132, 96), 0);
    EXPECT_EQ(units::UmToPx(133, 96), 1);
    // A doubled length keeps its 33rd bit; half pixels of a pen width.
    EXPECT_EQ(units::UmToPxWide(2 * int64_t(std::numeric_limits<int32_t>::max()), 254),
              int32_t((2 * int64_t(std::numeric_limits<int32_t>::max()) * 254 + 12700) / 25400));
    EXPECT_EQ(units::UmToPxWide(int64_t(1) << 50, 600), units::UmToPxWide((int64_t(1) << 32) - 1, 600));
    EXPECT_EQ(units::UmToPxWide(int64_t(1) << 40, std::numeric_limits<int32_t>::max()), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(units::UmToHalfPx(149, 254), 0);
    EXPECT_EQ(units::UmToHalfPx(150, 254), 1);

    // 50800 ppi: half a micrometre a pixel.
    EXPECT_EQ(units::PxToUm(1, 50800), 1);
    EXPECT_EQ(units::PxToUm(-1, 50800), 0);
    EXPECT_EQ(units::PxToUmTruncated(1, 50800), 0);
    EXPECT_EQ(units::PxToUmTruncated(3, 50800), 1);
    EXPECT_EQ(units::PxToUm(1, 96), 265);          // 264.58
    EXPECT_EQ(units::PxToUmTruncated(1, 96), 264);
    EXPECT_EQ(units::PxToUmTruncated(12, 72), 4233); // 12 pt
    EXPECT_EQ(units::PxToUmTruncated(5, 0), 0);
    EXPECT_EQ(units::PxToUm(std::numeric_limits<int64_t>::max(), 1), std::numeric_limits<int32_t>::max());

    EXPECT_EQ(units::RoundHalfUp(0.5), 1);
    EXPECT_EQ(units::RoundHalfUp(0.4999), 0);
    EXPECT_EQ(units::RoundHalfUp(-0.5), 0);
    EXPECT_EQ(units::RoundHalfUp(-1.5), -1);
    EXPECT_EQ(units::RoundHalfUp(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(units::RoundHalfUp(1e300), int64_t(4e18));
    EXPECT_EQ(units::clamp16(40000), 32767);
    EXPECT_EQ(units::clamp16(-40000), -32768);
    EXPECT_EQ(units::clampAdd(std::numeric_limits<int32_t>::max(), 1), std::numeric_limits<int32_t>::max());
}

TEST(Record, RoundTripOfEveryFieldKind)
{
    RecordWriter w;
    w.i8(-5);
    w.u8(250);
    w.i16(-12345);
    w.u16(54321);
    w.i32(-123456789);
    w.u32(4000000000u);
    w.i64(-1234567890123LL);
    w.f64(2.5);
    w.fixedString("Arial", 8);
    w.fixedString("far too long for it", 4);
    const std::string bytes = w.take();
    ASSERT_EQ(bytes.size(), 1 + 1 + 2 + 2 + 4 + 4 + 8 + 8 + 8 + 4u);
    // Little-endian layout.
    EXPECT_EQ(uint8_t(bytes[2]), 0xC7);
    EXPECT_EQ(uint8_t(bytes[3]), 0xCF);

    RecordReader r(bytes);
    EXPECT_EQ(r.i8(), -5);
    EXPECT_EQ(r.u8(), 250);
    EXPECT_EQ(r.i16(), -12345);
    EXPECT_EQ(r.u16(), 54321);
    EXPECT_EQ(r.i32(), -123456789);
    EXPECT_EQ(r.u32(), 4000000000u);
    EXPECT_EQ(r.i64(), -1234567890123LL);
    EXPECT_EQ(r.f64(), 2.5);
    EXPECT_EQ(r.fixedString(8), "Arial");
    EXPECT_EQ(r.fixedString(4), "far");
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.atEnd());
}

TEST(Record, TruncationIsReportedAndSticky)
{
    const char data[] = {1, 0, 0};
    RecordReader r(data, sizeof data);
    EXPECT_EQ(r.i16(), 1);
    EXPECT_EQ(r.i32(), 0); // only one byte left
    EXPECT_EQ(r.status(), ReadStatus::Truncated);
    EXPECT_EQ(r.u8(), 0);  // stays failed even though nothing is left to misread
    r.setDamaged();
    EXPECT_EQ(r.status(), ReadStatus::Truncated);
}

TEST(Record, FieldsWithoutTerminatorAreCutNeverOverrun)
{
    const char data[] = {'A', 'B', 'C', 'D', 'E', 'F'};
    RecordReader r(data, sizeof data);
    EXPECT_EQ(r.fixedString(4), "ABCD");
    char field[2];
    r.fixedField(field, 2);
    EXPECT_STREQ(field, "E");
    EXPECT_TRUE(r.ok());
}

TEST(Record, CountsAreBoundedByTheBytesLeft)
{
    const char data[16] = {};
    RecordReader r(data, sizeof data);
    EXPECT_TRUE(r.requireItems(4, 4));
    EXPECT_FALSE(r.requireItems(5, 4));
    EXPECT_EQ(r.status(), ReadStatus::Truncated);

    RecordReader r2(data, sizeof data);
    EXPECT_FALSE(r2.requireItems(uint64_t(1) << 62, 8));
    RecordReader r3(data, sizeof data);
    EXPECT_EQ(r3.bytes(100).size(), 16u);
    EXPECT_EQ(r3.status(), ReadStatus::Truncated);
}

TEST(Record, NestingDepthIsLimited)
{
    RecordReader r("", 0);
    int entered = 0;
    while (r.enter())
        ++entered;
    EXPECT_EQ(entered, RecordReader::kMaxDepth);
    EXPECT_EQ(r.status(), ReadStatus::Damaged);
}
