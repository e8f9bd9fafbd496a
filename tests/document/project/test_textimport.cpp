// Text file import: delimited and fixed-width lines, quotes, line ends of
// every kind, Ctrl-Z, character sets, the settings and a CSV file written
// by another program.
#include "document/project/projectdoc.h"
#include "document/project/textimport.h"

#include "platform/settings.h"
#include "support/project_fixture.h"

#include <QDir>

using projtest::ProjectTest;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The cells a reader yields, as rows (missing cells empty).
Rows cellsOf(const std::function<void(const textimport::CellSink&)>& read)
{
    Rows rows;
    read([&](int64_t row, int column, std::string& text) {
        if (rows.size() <= size_t(row))
            rows.resize(size_t(row) + 1);
        auto& r = rows[size_t(row)];
        if (r.size() <= size_t(column))
            r.resize(size_t(column) + 1);
        r[size_t(column)] = text;
    });
    return rows;
}

Rows delimited(std::string_view bytes, char delimiter = ';')
{
    return cellsOf([&](const textimport::CellSink& sink) { textimport::ReadDelimited(bytes, delimiter, 1252, sink); });
}

Rows fixed(std::string_view bytes, std::vector<uint32_t> widths)
{
    textimport::Widths w;
    w.fill(textimport::kNoWidth);
    std::copy(widths.begin(), widths.end(), w.begin());
    return cellsOf([&](const textimport::CellSink& sink) { textimport::ReadFixedWidth(bytes, w, 1252, sink); });
}

class TextImportTest : public ProjectTest {
protected:
    Rows tableRows()
    {
        Rows rows;
        for (int r = 0; r < doc.GetTableRowCount(); ++r) {
            rows.emplace_back();
            for (int c = 0; c < doc.GetVisibleTable().GetCellCount(r); ++c)
                rows.back().push_back(doc.GetTableCellText(r, c));
        }
        return rows;
    }
    CVorteplanSoftLabelDoc doc;
};

} // namespace

TEST(TextImportReader, DelimitedFieldsAndQuotes)
{
    EXPECT_EQ(delimited("a;b;;c"), (Rows{{"a", "b", "c"}}));
    EXPECT_EQ(delimited(";a;b"), (Rows{{"a", "b"}}));
    EXPECT_EQ(delimited("\"x;y\";z"), (Rows{{"x;y", "z"}}));
    EXPECT_EQ(delimited("\"say \"\"hi\"\"\";2"), (Rows{{"say \"hi\"", "2"}}));
    EXPECT_EQ(delimited("\"end\""), (Rows{{"end"}}));
    // A line end inside quotes ends the line; the quotes carry on.
    EXPECT_EQ(delimited("\"a\r\nb;c\";d"), (Rows{{"a"}, {"b;c", "d"}}));
    // Tab and other control bytes are no text.
    EXPECT_EQ(delimited("a\tb\x01;c"), (Rows{{"ab", "c"}}));
    EXPECT_EQ(delimited("a\tb;c", '\t'), (Rows{{"a", "b;c"}}));
    EXPECT_EQ(delimited(std::string(300, 'q')), (Rows{{std::string(255, 'q')}}));
    EXPECT_EQ(delimited("a;b\x1A;c\r\nd"), (Rows{{"a", "b"}}));
}

TEST(TextImportReader, EveryLineEndEndsOneLine)
{
    const Rows expected{{"a", "b"}, {}, {"c"}};
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        const std::string text = std::string("a;b") + eol + eol + "c" + eol;
        EXPECT_EQ(delimited(text), expected) << eol;
        EXPECT_EQ(fixed(text, {2}), (Rows{{"a;", "b"}, {}, {"c"}})) << eol;
    }
    EXPECT_EQ(delimited("a\n\rb"), (Rows{{"a"}, {}, {"b"}}));
}

TEST(TextImportReader, FixedWidths)
{
    EXPECT_EQ(fixed("ABCDEFGH", {3, 2}), (Rows{{"ABC", "DE", "FGH"}}));
    EXPECT_EQ(fixed("AB CD EF", {3, 3}), (Rows{{"AB", "CD", "EF"}}));
    EXPECT_EQ(fixed("  x   \r\n", {3, 3}), (Rows{{"  x", " "}}));
    EXPECT_EQ(fixed("ab\tc\x1A" "def", {2}), (Rows{{"ab", "c"}}));
    // All 26 columns one byte wide: the rest of the line has nowhere to go.
    EXPECT_EQ(fixed(std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ+extra\nN"), std::vector<uint32_t>(26, 1)),
              (Rows{{"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                     "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"},
                    {"N"}}));
}

TEST(TextImportReader, CharacterSets)
{
    std::string storage;
    // UTF-8 with and without the mark; characters cp1252 lacks become '?'.
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        const std::string utf8 = mark + "Gr\xC3\xB6\xC3\x9F" "e;\xE2\x82\xAC;\xE4\xB8\xAD\xF0\x9F\x98\x80";
        EXPECT_EQ(textimport::PrepareAnsi(utf8, 1252, storage), "Gr\xF6\xDF" "e;\x80;??");
    }
    // Not UTF-8: taken as it is.
    EXPECT_EQ(textimport::PrepareAnsi("Gr\xF6\xDF" "e", 1252, storage), "Gr\xF6\xDF" "e");
    EXPECT_EQ(textimport::PrepareAnsi("\xC0\xAF", 1252, storage), "\xC0\xAF"); // overlong
    // OEM (code page 850): 0x94 is o with diaeresis, 0xE1 sharp s.
    EXPECT_EQ(textimport::OemToCodePage("\x94\xE1 x", 1252), "\xF6\xDF x");
    EXPECT_EQ(textimport::OemToCodePage("\x94", 1251), "?");
}

TEST_F(TextImportTest, RowsGoAfterThoseThereAndThroughTheFilter)
{
    for (int r = 0; r < 10; ++r)
        doc.GetTable(0)->SetCellText(r, 0, "old");
    writeFile(path("in.txt"), "a;b\nc");
    ASSERT_TRUE(doc.ReadDelimitedTextFile(path("in.txt"), ';', 0));
    EXPECT_EQ(doc.GetTableCellText(10, 1), "b");
    EXPECT_EQ(doc.GetTableCellText(11, 0), "c");

    // With an enabled filter the rows land in the filtered table.
    doc.SetupTableFilter();
    doc.EnableTableFilter();
    const int before = doc.GetFilteredTable(0)->GetRowCount();
    textimport::Widths widths;
    widths.fill(textimport::kNoWidth);
    widths[0] = 2;
    ASSERT_TRUE(doc.ReadFixedWidthTextFile(path("in.txt"), widths, 0));
    EXPECT_EQ(doc.GetFilteredTable(0)->GetCellText(before, 0), "a;");
    EXPECT_EQ(doc.GetFilteredTable(0)->GetCellText(before, 1), "b");
    EXPECT_FALSE(doc.ReadDelimitedTextFile(path("missing.txt"), ';', 0));
    EXPECT_FALSE(doc.ReadDelimitedTextFile(m_dir.path(), ';', 0));
}

TEST_F(TextImportTest, CellsKeep255BytesOfTheTableCodePage)
{
    // 200 euro signs are 600 bytes of UTF-8 and 200 bytes of cp1252.
    std::string euros;
    for (int i = 0; i < 200; ++i)
        euros += "\xE2\x82\xAC";
    writeFile(path("euro.txt"), euros + ";x\n");
    ASSERT_TRUE(doc.ReadDelimitedTextFile(path("euro.txt"), ';', 0));
    EXPECT_EQ(doc.GetTableCellText(0, 0), std::string(200, '\x80'));
    // The same bytes as OEM: each cell converted from code page 850.
    writeFile(path("oem.txt"), "\x94;\x81\xE1");
    ASSERT_TRUE(doc.ReadDelimitedTextFile(path("oem.txt"), ';', 1));
    EXPECT_EQ(doc.GetTableCellText(1, 0), "\xF6");
    EXPECT_EQ(doc.GetTableCellText(1, 1), "\xFC\xDF");
    // Not UTF-8 under ANSI: byte for byte.
    ASSERT_TRUE(doc.ReadDelimitedTextFile(path("oem.txt"), ';', 0));
    EXPECT_EQ(doc.GetTableCellText(2, 1), "\x81\xE1");

    // A Shift-JIS table: a cell is cut before a character that does not fit.
    doc.SetTableCharSet(128);
    std::string kana;
    for (int i = 0; i < 200; ++i)
        kana += "\xE3\x81\x82"; // HIRAGANA A, two bytes in Shift-JIS
    writeFile(path("kana.txt"), kana);
    ASSERT_TRUE(doc.ReadDelimitedTextFile(path("kana.txt"), ';', 0));
    std::string expected;
    for (int i = 0; i < 127; ++i)
        expected += "\x82\xA0";
    EXPECT_EQ(doc.GetTableCellText(3, 0), expected);
}

TEST_F(TextImportTest, CsvWrittenByGnumeric)
{
    // data/make_csv.sh made this file with gnumeric's ssconvert.
    const QString csv = QDir(VSL_SOURCE_DIR).filePath("tests/document/project/data/gnumeric_export.csv");
    ASSERT_TRUE(doc.ReadDelimitedTextFile(csv, ',', 0));
    // Consecutive delimiters count as one: an empty field moves the rest left.
    EXPECT_EQ(tableRows(), (Rows{{"Wire", "From", "To", "Note"},
                                 {"W1", "X1:1", "K1:A1", "says \"hi\""},
                                 {"W2", "X1:2", "K1:A2", "a,b"},
                                 {"W3", "Q1:13", "Gr\xF6\xDF" "e 2,5 mm\xB2"},
                                 {"W4", "X2:1", "  padded  "},
                                 {"42", "2.5"}}));
}

TEST_F(TextImportTest, OptionsFromSettings)
{
    textimport::Options o = textimport::Options::FromSettings();
    EXPECT_FALSE(o.fixedWidth);
    EXPECT_EQ(o.delimiter, ';');
    EXPECT_EQ(o.widths[0], 10u);
    EXPECT_EQ(o.widths[3], textimport::kNoWidth);
    EXPECT_EQ(o.charSet, 0);

    settings::WriteInt(settings::kTextImport, settings::kImportFormat, 1);
    settings::WriteInt(settings::kTextImport, settings::kImportDelimiter, -89); // 0xA7, the section sign
    settings::WriteInt(settings::kTextImport, settings::FixedLengthKey(0), 256);
    settings::WriteInt(settings::kTextImport, settings::FixedLengthKey(25), 0);
    settings::WriteInt(settings::kTextImport, settings::kImportCharSet, 1);
    o = textimport::Options::FromSettings();
    EXPECT_TRUE(o.fixedWidth);
    EXPECT_EQ(o.delimiter, '\xA7');
    EXPECT_EQ(o.widths[0], textimport::kNoWidth);
    EXPECT_EQ(o.widths[25], 0u);
    EXPECT_EQ(o.charSet, 1);
}
