// Text parts: values per kind, placeholders, records and bounded reading.
#include "content/tables/datatable.h"
#include "content/tables/datatablefilter.h"
#include "content/textparts/text.h"
#include "platform/clock.h"
#include "platform/recordingui.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

std::string textOf(const CText& part, int label, const CDataTableBase* table = nullptr,
                   const CDataTableMap* map = nullptr, int flags = 0, bool placeholder = false)
{
    return part.GetText(DrawContext{label, flags, table, map, placeholder}, kTextBufferSize);
}

std::string saved(const CText& part)
{
    RecordWriter w;
    SaveTextPart(part, w);
    return w.take();
}

std::unique_ptr<CText> reload(const std::string& bytes, ReadStatus* status = nullptr)
{
    RecordReader r(bytes);
    auto part = LoadTextPart(r);
    if (status)
        *status = r.status();
    return part;
}

} // namespace

TEST(TextParts, CounterFormatsPadsAndAdvances)
{
    CTextAutoIncrement c;
    c.SetStartText("7");
    c.SetLeadingZeros(true);
    c.SetMinDigitsText("4");
    c.SetPrefix("A-");
    EXPECT_EQ(textOf(c, 1), "A-0007");
    EXPECT_EQ(textOf(c, 3), "A-0009");
    EXPECT_EQ(textOf(c, 0), "A-0007");
    EXPECT_EQ(textOf(c, -5), "A-0007");
    c.Advance(10);
    EXPECT_EQ(textOf(c, 1), "A-0017");
    c.SetLeadingZeros(false);
    EXPECT_EQ(textOf(c, 1), "A-17");
    EXPECT_EQ(textOf(c, 1, nullptr, nullptr, 0, true), "{+1}");

    // Negative numbers keep the sign in front of the zeros.
    c.SetStartText("-7");
    c.SetLeadingZeros(true);
    EXPECT_EQ(textOf(c, 1), "A--007");
    // The number wraps like a 32-bit integer, and padding never overflows.
    c.SetStartText("2147483647");
    EXPECT_EQ(textOf(c, 2), "A--2147483648");
    c.SetMinDigitsText("2000000000");
    EXPECT_EQ(textOf(c, 1).size(), kTextBufferSize - 1);
    c.SetMinDigitsText("-3"); // refused
    std::string digits;
    c.GetMinDigitsText(digits);
    EXPECT_EQ(digits, "2000000000");
    c.SetStartText("x12"); // does not convert: unchanged
    c.GetStartText(digits);
    EXPECT_EQ(digits, "2147483647");
}

TEST(TextParts, TableColumnsWithSeparatorsAndBlankFields)
{
    CDataTableBase table;
    table.SetCellText(0, 0, "x");
    table.SetCellText(0, 2, "z");
    table.SetCellText(1, 1, "only b");
    CTextTableExt t;
    t.SetColumnLetters("ABC");
    EXPECT_EQ(textOf(t, 1, &table), "x z");
    t.SetSeparateBlankFields(true);
    EXPECT_EQ(textOf(t, 1, &table), "x  z");
    t.SetSeparateBlankFields(false);
    EXPECT_EQ(textOf(t, 2, &table), "only b");
    EXPECT_EQ(textOf(t, 3, &table), "");   // beyond the rows
    EXPECT_EQ(textOf(t, 0, &table), "");   // no row
    EXPECT_EQ(textOf(t, 1, nullptr), "");  // no table

    t.SetSeparatorText("Line break");
    std::string name;
    t.GetSeparatorText(name);
    EXPECT_EQ(name, "Line break");
    EXPECT_EQ(textOf(t, 1, &table, nullptr, kDrawLabelNumbers, true), "[A\r\n  B\r\n  C:1]");
    t.SetSeparatorText("a very long separator");
    EXPECT_EQ(t.Separator(), "a very lon");

    // A column hidden by the filter is not in the map: empty text.
    CDataTableMap map;
    map.Clear();
    map.FindOrAdd(2); // filtered column 0 shows full column C
    CDataTableBase filtered;
    filtered.SetCellText(0, 0, "z");
    CTextTable single;
    single.SetColumn(0, 2);
    EXPECT_EQ(textOf(single, 1, &filtered, &map), "z");
    single.SetColumn(0, 0);
    EXPECT_EQ(textOf(single, 1, &filtered, &map), "");
    EXPECT_EQ(textOf(single, 1, nullptr, nullptr, 0, true), "[A]");
    single.SetColumn(0, -1);
    EXPECT_EQ(textOf(single, 1, nullptr, nullptr, 0, true), "[@]");
}

TEST(TextParts, ColumnLetters)
{
    CTextTableExt t;
    t.SetColumnLetters("ABC");
    t.SetColumnLetters("C");
    int c0, c1, c2;
    t.GetColumn(0, c0);
    t.GetColumn(1, c1);
    t.GetColumn(2, c2);
    EXPECT_EQ(c0, 2);
    EXPECT_EQ(c1, -1);
    EXPECT_EQ(c2, -1);
    t.SetColumnLetters("ABC");
    t.SetColumnLetters("A?");
    t.GetColumn(1, c1);
    t.GetColumn(2, c2);
    EXPECT_EQ(c1, -1);
    EXPECT_EQ(c2, -1);
    std::string letters;
    t.GetColumnLetters(letters);
    EXPECT_EQ(letters, "A");
    EXPECT_TRUE(t.UsesColumn(0));
    EXPECT_FALSE(t.UsesColumn(-1));
}

TEST(TextParts, DatesTimesAndPlaceholders)
{
    ScopedClock clock({2024, 2, 29}, {13, 5, 9});
    CTextDateExt d;
    EXPECT_EQ(textOf(d, 1), "2024-02-29");
    d.SetDateOffsetText("1");
    EXPECT_EQ(textOf(d, 1), "2024-03-01");
    d.SetDateFormatName("week NUMBER");
    EXPECT_EQ(textOf(d, 1), "09");
    d.SetDateOffset(0);
    d.SetDateFormat(1);
    EXPECT_EQ(textOf(d, 1), "24");
    d.SetDateFormat(2);
    EXPECT_EQ(textOf(d, 1), "02");
    std::string name;
    d.GetDateFormatName(name);
    EXPECT_EQ(name, "Month (MM)");
    d.SetDateFormatName("nonsense");
    d.GetDateFormatName(name);
    EXPECT_EQ(name, "Month (MM)");
    EXPECT_EQ(textOf(d, 1, nullptr, nullptr, 0, true), "{Date}");
    d.SetDateOffset(100000); // kept within the stored field
    int offset;
    d.GetDateOffset(offset);
    EXPECT_EQ(offset, 32767);

    CTextTime t;
    EXPECT_EQ(textOf(t, 1), "13:05:09");
    EXPECT_EQ(textOf(t, 1, nullptr, nullptr, 0, true), "{time}");
    CTextDate old;
    EXPECT_EQ(textOf(old, 1, nullptr, nullptr, 0, true), "{date}");
    EXPECT_EQ(textOf(old, 1), "2024-02-29");
}

TEST(TextParts, FixedTextsAndLines)
{
    CTextFixedExt f;
    EXPECT_TRUE(f.IsDefault());
    EXPECT_EQ(textOf(f, 1), "Enter text here");
    std::string appended;
    EXPECT_FALSE(f.AppendTextTo(appended));
    f.SetText("one\r\ntwo\r\nthree");
    EXPECT_EQ(f.Lines().size(), 3u);
    EXPECT_EQ(textOf(f, 1, nullptr, nullptr, 0, true), "one\r\ntwo\r\nthree");
    f.SetFromText("single");
    EXPECT_FALSE(f.IsDefault());
    EXPECT_TRUE(f.AppendTextTo(appended));
    EXPECT_EQ(appended, "single");
    // At most 1024 characters reach the caller, whatever its buffer.
    f.SetText(std::string(3000, 'x'));
    EXPECT_EQ(f.GetText(DrawContext{.labelNumber = 1}, kBarcodeTextBufferSize).size(), 1024u);

    CTextFixed old;
    old.SetText(std::string(300, 'y'));
    EXPECT_EQ(old.Text().size(), 200u);
    EXPECT_EQ(old.GetText(DrawContext{.labelNumber = 1}, 10), "yyyyyyyyy");
}

TEST(TextParts, RecordSizesAndRoundTrips)
{
    CTextAutoIncrement c;
    c.SetPrefix("P");
    c.SetSuffix("S");
    c.SetStartText("42");
    EXPECT_EQ(saved(c).size(), 2u + 55u);
    CTextTableExt t;
    t.SetColumnLetters("BD");
    t.SetSeparatorText("--");
    EXPECT_EQ(saved(t).size(), 2u + 6 + 2 + 2 + 4 + 2);
    CTextDateExt d;
    d.SetDateFormat(4);
    EXPECT_EQ(saved(d).size(), 2u + 10);
    CTextFixed f;
    f.SetText("abc");
    EXPECT_EQ(saved(f), std::string("\xAB\x00\x03\x00" "abc\x00", 8));
    CTextFixedExt fx;
    fx.SetText("a\r\nbc");
    EXPECT_EQ(saved(fx), std::string("\x0F\x01" "\x32\x00\x02\x00\x00\x00\x00\x00"
                                     "\x10\x01\x01\x00" "a" "\x10\x01\x02\x00" "bc", 21));
    CTextTime tm;
    CTextTable tt;
    CTextDate dd;
    for (const CText* p : std::initializer_list<const CText*>{&c, &t, &d, &f, &fx, &tm, &tt, &dd}) {
        const std::string bytes = saved(*p);
        ReadStatus st;
        auto back = reload(bytes, &st);
        ASSERT_TRUE(back) << p->GetTypeKey();
        EXPECT_EQ(st, ReadStatus::Ok);
        EXPECT_EQ(back->GetTypeKey(), p->GetTypeKey());
        EXPECT_EQ(saved(*back), bytes);
        // Every cut of the record is reported, never a crash.
        for (size_t n = 0; n < bytes.size(); ++n) {
            const std::string cut = bytes.substr(0, n);
            RecordReader r(cut);
            LoadTextPart(r);
            EXPECT_NE(r.status(), ReadStatus::Ok) << p->GetTypeKey() << " cut at " << n;
        }
    }
}

TEST(TextParts, ReadingIsBoundedAndUnknownKeysAreDamage)
{
    CRecordingUi ui;
    UiScope installed(ui);
    // Unknown key.
    ReadStatus st;
    EXPECT_FALSE(reload(std::string("\x63\x00", 2), &st));
    EXPECT_EQ(st, ReadStatus::Damaged);
    // ... is reported with the key and an empty caption.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "key = 99");
    EXPECT_EQ(ui.messages[0].caption, "");
    ui.messages.clear();
    // A fixed text claiming 1000 bytes keeps 200 and stays in step.
    std::string rec("\xAB\x00\xE8\x03", 4);
    rec += std::string(1000, 'q') + std::string(1, '\0') + "tail";
    RecordReader r(rec);
    auto part = LoadTextPart(r);
    ASSERT_TRUE(part);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(static_cast<CTextFixed&>(*part).Text().size(), 200u);
    EXPECT_EQ(r.bytes(4), "tail");
    // Lines: empty lines dropped, a wrong marker is reported and reading goes on.
    std::string lines("\x0F\x01" "\x33\x00\x03\x00\x00\x00\x00\x00", 10);
    lines += std::string("\x10\x01\x01\x00" "a" "\x10\x01\x00\x00" "\x10\x01\x01\x00" "c", 15);
    auto fx = reload(lines, &st);
    ASSERT_TRUE(fx);
    EXPECT_EQ(st, ReadStatus::Ok);
    EXPECT_EQ(static_cast<CTextFixedExt&>(*fx).Lines(), (std::vector<std::string>{"a", "c"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "key = 51");
    EXPECT_EQ(ui.messages[0].caption, "collectionKey");
    // A line count far beyond the data is refused before anything is made.
    std::string huge("\x0F\x01" "\x32\x00\xFF\x7F\x00\x00\x00\x00", 10);
    reload(huge, &st);
    EXPECT_EQ(st, ReadStatus::Truncated);
    // Negative lengths are damage.
    reload(std::string("\xAB\x00\xFF\xFF", 4), &st);
    EXPECT_EQ(st, ReadStatus::Damaged);
    // A separator longer than its field is cut, the rest still read in step.
    std::string sep("\x13\x01\x00\x00\xFF\xFF\xFF\xFF\x0C\x00" "ABCDEFGHIJKL" "\x01\x00\x00\x00\x00\x00", 28);
    auto tx = reload(sep, &st);
    ASSERT_TRUE(tx);
    EXPECT_EQ(st, ReadStatus::Ok);
    EXPECT_EQ(static_cast<CTextTableExt&>(*tx).Separator(), "ABCDEFGHIJ");
    EXPECT_TRUE(tx->GetSeparateBlankFields());
}

TEST(TextParts, FactoriesByKind)
{
    EXPECT_EQ(CreateTextPartByKind(0)->GetTypeKey(), kKeyTextTableExt);
    EXPECT_EQ(CreateTextPartByKind(1)->GetTypeKey(), kKeyTextFixedExt);
    EXPECT_EQ(CreateTextPartByKind(2)->GetTypeKey(), kKeyTextDateExt);
    EXPECT_EQ(CreateTextPartByKind(3)->GetTypeKey(), kKeyTextTime);
    EXPECT_EQ(CreateTextPartByKind(4)->GetTypeKey(), kKeyTextAutoIncrement);
    EXPECT_FALSE(CreateTextPartByKind(5));
    EXPECT_FALSE(CreateTextPartByKey(161));
    // Defaults of a new table part: column A, one space, blank fields off.
    auto t = CreateTextPartByKind(0);
    std::string letters;
    t->GetColumnLetters(letters);
    EXPECT_EQ(letters, "A");
    EXPECT_TRUE(t->GetTableFlag());
}
