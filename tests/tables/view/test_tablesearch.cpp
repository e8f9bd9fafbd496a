// Case folding in the table's code page, matching and replacing the first
// occurrence, and the bounds of the column fills.
#include "tables/view/tablefill.h"
#include "tables/view/tablesearch.h"

#include <gtest/gtest.h>

using namespace tablesearch;

TEST(TableSearch, FoldsLettersOfTheCodePage)
{
    const CaseFolder cp1252(1252);
    EXPECT_EQ(cp1252.Fold("abc\xE9\xFF"), "ABC\xC9\x9F") << "e acute and y diaeresis fold in cp1252";
    const CaseFolder cyrillic(1251);
    EXPECT_EQ(cyrillic.Fold("\xE0\xE1"), "\xC0\xC1");
    // Shift-JIS: the trail byte 'a' of a two-byte character stays.
    const CaseFolder sjis(932);
    EXPECT_EQ(sjis.Fold("\x82\x61" "a"), "\x82\x61" "A");
}

TEST(TableSearch, WholeWordAndSubstringMatches)
{
    const CaseFolder f(1252);
    EXPECT_TRUE(Matches("ABC", "abc", false, true, f));
    EXPECT_FALSE(Matches("ABC", "abc", true, true, f));
    EXPECT_FALSE(Matches("abc def", "abc", false, true, f));
    EXPECT_TRUE(Matches("xxABCxx", "abc", false, false, f));
    EXPECT_FALSE(Matches("xxABCxx", "abc", true, false, f));
    EXPECT_TRUE(Matches("\xC9t\xE9", "\xE9T\xC9", false, true, f));
}

TEST(TableSearch, ReplacesOnlyTheFirstOccurrenceAndKeepsTheCellsCase)
{
    const CaseFolder f(1252);
    EXPECT_EQ(ReplaceFirstOccurrence("a-a-a", "a", "b", false, f), "b-a-a");
    EXPECT_EQ(ReplaceFirstOccurrence("Xy ABC Xy", "abc", "_", false, f), "Xy _ Xy");
    EXPECT_EQ(ReplaceFirstOccurrence("none", "abc", "_", false, f), "none");
    // Longer than a cell: cut to 255 bytes, never inside a two-byte character.
    const std::string cell(200, 'a');
    EXPECT_EQ(ReplaceFirstOccurrence(cell, "a", std::string(100, 'b'), true, f).size(), 255u);
    const CaseFolder sjis(932);
    std::string wide;
    for (int i = 0; i < 100; ++i)
        wide += "\x82\xA0";
    const std::string out = ReplaceFirstOccurrence(std::string(60, 'y') + "x", "x", wide, true, sjis);
    EXPECT_EQ(out.size(), 254u) << "the two-byte character across byte 255 is left out";
}

TEST(TableFill, ParsesTheCellAsTheDialogGivesIt)
{
    ASSERT_TRUE(tablefill::ParseCell("b2"));
    EXPECT_EQ(tablefill::ParseCell("b2")->column, 1);
    EXPECT_EQ(tablefill::ParseCell("b2")->row, 2);
    EXPECT_EQ(tablefill::ParseCell("Z 17")->row, 17);
    EXPECT_FALSE(tablefill::ParseCell("2b"));
    EXPECT_FALSE(tablefill::ParseCell("A0"));
    EXPECT_FALSE(tablefill::ParseCell("A-3"));
    EXPECT_FALSE(tablefill::ParseCell("B"));
    EXPECT_FALSE(tablefill::ParseCell(""));
}

TEST(TableFill, CountsValuesWithoutOverflowAndBoundsTheRows)
{
    EXPECT_EQ(tablefill::SequenceValueCount(2147483640, 2147483647, 5, false), 2);
    EXPECT_EQ(tablefill::SequenceValueCount(5, 1, 1, true), 5);
    EXPECT_EQ(tablefill::SequenceValueCount(1, 5, 1, true), 0);
    EXPECT_EQ(tablefill::SequenceValueCount(1, 5, 0, false), 0);
    EXPECT_EQ(tablefill::SequenceValueCount(-2147483648LL, 2147483647LL, 1, false), 4294967296LL);

    EXPECT_TRUE(tablefill::FitsRowLimit(0, 1000, 1000, 1));
    EXPECT_FALSE(tablefill::FitsRowLimit(1, 1000, 1000, 1));
    EXPECT_FALSE(tablefill::FitsRowLimit(0, 2, 2000000000, 2000000000));
    EXPECT_FALSE(tablefill::FitsRowLimit(0, 4294967296LL, 2000000000, 1));
    EXPECT_TRUE(tablefill::FitsRowLimit(10, 0, 2000000000, 2000000000));
}
