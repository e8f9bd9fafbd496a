// The selection store: any row number, bounding box, ranges and memory.
#include "tables/grid/gridselection.h"

#include <gtest/gtest.h>

TEST(GridSelection, RowsBeyondSixteenBitsStayApart)
{
    CGridSelection s;
    s.Set(70000, 1, true);
    EXPECT_TRUE(s.Contains(70000, 1));
    EXPECT_FALSE(s.Contains(70000 - 65536, 1));
    EXPECT_EQ(s.Bounds(), CCellRange(70000, 1, 70000, 1));
    s.Set(5, 100, true); // beyond one word of columns
    EXPECT_EQ(s.Bounds(), CCellRange(5, 1, 70000, 100));
    s.Set(70000, 1, false);
    EXPECT_EQ(s.Bounds(), CCellRange(5, 100, 5, 100));
    EXPECT_EQ(s.Count(), 1);
}

TEST(GridSelection, RangesCountsTruncationAndMemory)
{
    CGridSelection s;
    s.SetRange(CCellRange(1, 1, 100000, 26), true);
    EXPECT_EQ(s.Count(), 100000 * 26);
    EXPECT_LT(s.MemoryBytes(), size_t(1) << 20);
    s.SetRange(CCellRange(10, 0, 20, 63), false);
    EXPECT_EQ(s.Count(), 100000 * 26 - 11 * 26);
    EXPECT_FALSE(s.Contains(15, 3));
    EXPECT_TRUE(s.Contains(21, 3));
    s.Truncate(50, 5);
    EXPECT_EQ(s.Bounds(), CCellRange(1, 1, 49, 4));
    int visited = 0;
    s.ForEach([&](int r, int c) { visited += (r >= 1 && r < 50 && c >= 1 && c < 5); });
    EXPECT_EQ(visited, s.Count());
    s.Clear();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_FALSE(s.Bounds().IsValid());
}
