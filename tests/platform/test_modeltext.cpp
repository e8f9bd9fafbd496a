// Texts at the Qt boundary: line ends, characters a code page lacks, and
// byte limits cut on a character boundary.
#include "platform/codepage.h"
#include "platform/modeltext.h"
#include "platform/pastetext.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ModelText, LineEndsBecomeCrLfInTheModelAndLfInEditors)
{
    EXPECT_EQ(modeltext::FromEditor(QStringLiteral("a\nb\r\nc\rd\n"), 1252), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(modeltext::FromEditor(QStringLiteral("\r\r\n"), 1252), "\r\n\r\n");
    EXPECT_EQ(modeltext::ToEditor("x\r\ny\r\n", 1252), QStringLiteral("x\ny\n"));
    EXPECT_EQ(modeltext::ToEditor("\xC4pfel", 1252), QStringLiteral(u"\u00C4pfel"));
    // A symbol-font text keeps its line breaks and comes back unchanged.
    const QString symbol = modeltext::ToEditor("\xB7\r\n\x41", codepage::kSymbol);
    EXPECT_EQ(symbol, QStringLiteral(u"\uF0B7\n\uF041"));
    EXPECT_EQ(modeltext::FromEditor(symbol, codepage::kSymbol), "\xB7\r\n\x41");
}

TEST(ModelText, CharactersThePageLacksAreRefusedOrQuestionMarks)
{
    EXPECT_TRUE(modeltext::CanEncode(QStringLiteral(u"\u20AC\u00E9"), 1252));
    EXPECT_FALSE(modeltext::CanEncode(QStringLiteral(u"\u0416"), 1252)); // Cyrillic Zhe
    EXPECT_TRUE(modeltext::CanEncode(QStringLiteral(u"\u0416"), 1251));
    EXPECT_EQ(modeltext::FromEditor(QStringLiteral(u"a\u0416b"), 1252), "a?b");
    EXPECT_EQ(modeltext::FromEditor(QStringLiteral(u"\u0416"), 1251), "\xC6");
}

TEST(ModelText, LimitsCutOnCharacterBoundaries)
{
    // Shift-JIS: "a" then two double-byte characters.
    const std::string sjis = "a\x82\xA0\x82\xA2";
    EXPECT_EQ(modeltext::CharacterBoundary(sjis, 2, 932), 1u);
    EXPECT_EQ(modeltext::CharacterBoundary(sjis, 3, 932), 3u);
    EXPECT_EQ(modeltext::CharacterBoundary(sjis, 4, 932), 3u);
    EXPECT_EQ(modeltext::CharacterBoundary(sjis, 9, 932), 5u);
    // Single-byte pages cut anywhere.
    EXPECT_EQ(modeltext::CharacterBoundary(sjis, 2, 1252), 2u);
    std::string s = sjis;
    modeltext::CutToLimit(s, 4, 932);
    EXPECT_EQ(s, "a\x82\xA0");
}

namespace {

struct Field {
    int line, column;
    std::string text;
    bool operator==(const Field&) const = default;
};

std::vector<Field> parse(std::string_view text, pastetext::Limits limits = {})
{
    std::vector<Field> fields;
    pastetext::Visit(text, limits, [&](int l, int c, const std::string& t) { fields.push_back({l, c, t}); });
    return fields;
}

} // namespace

TEST(PasteText, SplitsLinesAndTabsAndTrimsFields)
{
    const std::vector<Field> expected{{0, 0, "a"}, {0, 1, "b c"}, {1, 0, ""}, {1, 1, "d"}, {2, 0, "e"}};
    EXPECT_EQ(parse(" a \t b c\r\n\t d\r\ne"), expected);
    // A line feed at the very end opens no empty line; one before it does.
    EXPECT_EQ(parse("x\r\n").size(), 1u);
    EXPECT_EQ(parse("x\r\n\r\n"), (std::vector<Field>{{0, 0, "x"}, {1, 0, ""}}));
    // Empty text is one empty field, as before.
    EXPECT_EQ(parse(""), (std::vector<Field>{{0, 0, ""}}));
    // The text ends at its first NUL.
    EXPECT_EQ(parse(std::string_view("p\0q\tr", 5)), (std::vector<Field>{{0, 0, "p"}}));
}

TEST(PasteText, LimitsBoundFieldsLinesAndBytes)
{
    pastetext::Limits limits;
    limits.maxFields = 2;
    limits.maxLines = 2;
    limits.maxFieldBytes = 3;
    limits.codePage = 932;
    const pastetext::Extent extent = pastetext::Visit("abcdef\t1\t2\n\x82\xA0\x82\xA2\n3\n4", limits, [](int, int, const std::string&) {});
    EXPECT_EQ(extent.lines, 2);
    EXPECT_EQ(extent.maxFields, 2);
    EXPECT_EQ(parse("abcdef\t1\t2\n\x82\xA0\x82\xA2\n3", limits),
              (std::vector<Field>{{0, 0, "abc"}, {0, 1, "1"}, {1, 0, "\x82\xA0"}}));
}
