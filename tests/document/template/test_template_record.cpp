// The template record: written byte for byte as laid down, every accepted
// magic read, and damaged or cut-short records refused without harm.
#include "document/template/template.h"

#include "content/objects/shapes.h"
#include "document/template/template_bytes.h"

#include <gtest/gtest.h>

using tplbytes::Record;

namespace {

// The embedded definition of a new template (type key and body).
std::string defaultLabelBytes()
{
    CLabelFileNewArticleNo label;
    RecordWriter w;
    label.WriteTagged(w);
    return w.take();
}

Record defaultRecord()
{
    Record r;
    r.label = defaultLabelBytes();
    return r;
}

std::string written(CTemplate& t, bool inProject)
{
    RecordWriter w;
    EXPECT_TRUE(t.Write(w, inProject));
    return w.take();
}

bool readInto(CTemplate& t, const std::string& bytes, ReadStatus* status = nullptr)
{
    RecordReader r(bytes);
    const bool ok = t.Read(r);
    if (status)
        *status = r.status();
    return ok;
}

// Scrambles a password as the record stores it.
std::string scrambled(const std::string& text)
{
    std::string s = text;
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = char(uint8_t(s[i]) ^ uint8_t(i));
    return s;
}

} // namespace

TEST(TemplateRecordWrite, TemplateFileFlagsAndBytes)
{
    CTemplate t;
    Record expected = defaultRecord();
    EXPECT_EQ(written(t, false), tplbytes::encode(expected)); // 0x715F
    ASSERT_NE(t.GetLabel(), nullptr);
    EXPECT_EQ(t.GetLabel()->GetTypeKey(), kKeyLabelFileNewArticleNo);

    t.SetPageBreakOnNewSet(false);
    t.SetSets(7);              // not stored in a template file
    t.SetPrintLabelBorders(true); // nor this
    t.SetPassword("Secret");
    t.SetLocked(true);
    t.SetZoom(1, 150);
    expected.flags = 0x615F;
    expected.locked = 1;
    expected.scrambledPassword = scrambled("Secret");
    expected.zoom = {-1, 150, -1};
    EXPECT_EQ(written(t, false), tplbytes::encode(expected));
}

TEST(TemplateRecordWrite, ProjectFlagsWithPrinterNamesSetsAndBorders)
{
    CTemplate t;
    t.SetPrinterNames("Zebra", "", "");
    t.SetSets(3);
    Record expected = defaultRecord();
    expected.flags = 0x1DF | 0x400 | 0x1000 | 0x6000;
    expected.device = "Zebra";
    expected.sets = 3;
    EXPECT_EQ(written(t, true), tplbytes::encode(expected));

    t.SetPrintLabelBorders(true);
    t.SetBorderColor(0x0000FF);
    t.SetBorderWidth(250);
    expected.flags |= 0x800;
    expected.borders = 1;
    expected.borderColor = 0x0000FF;
    expected.borderWidth = 250;
    EXPECT_EQ(written(t, true), tplbytes::encode(expected));

    // Read back into a project it keeps everything; as a template file it
    // drops sets and borders.
    CTemplate again;
    ASSERT_TRUE(readInto(again, written(t, true)));
    EXPECT_EQ(again.GetSets(), 3);
    EXPECT_TRUE(again.IsPrintLabelBorders());
    EXPECT_EQ(again.GetPrinterDevice(), "Zebra");
    CTemplate fromFile;
    ASSERT_TRUE(readInto(fromFile, written(t, false)));
    EXPECT_EQ(fromFile.GetSets(), 1);
    EXPECT_FALSE(fromFile.IsPrintLabelBorders());
}

TEST(TemplateRecordRead, AcceptedMagicsAndOldestForm)
{
    for (uint32_t magic : {0x1557779Au, 0x15577790u, 0x15577799u}) {
        Record r = defaultRecord();
        r.magic = magic;
        r.flags = 0x615F;
        r.repeat = 4;
        CTemplate t;
        EXPECT_TRUE(readInto(t, tplbytes::encode(r))) << std::hex << magic;
        EXPECT_EQ(t.GetRepeat(), 4);
        EXPECT_FALSE(t.IsPageBreakOnNewSet());
    }
    for (uint32_t magic : {0x1557779Bu, 0x1557778Fu, 0u}) {
        Record r = defaultRecord();
        r.magic = magic;
        CTemplate t;
        ReadStatus status;
        EXPECT_FALSE(readInto(t, tplbytes::encode(r), &status));
        EXPECT_EQ(status, ReadStatus::Damaged);
    }

    // The oldest form: no flags word, area 0 only, no guide table.
    Record old = defaultRecord();
    old.magic = 0x00590412;
    old.hasFlags = false;
    old.locked = 1;
    old.scrambledPassword = scrambled("ab");
    CTemplate t;
    t.SetSortVertical(true);
    t.SetRepeat(9);
    t.GetGuideTable(0)->columns[0][0] = 4;
    t.GetArea(1)->AddTail(std::make_unique<CGraphRect>());
    ASSERT_TRUE(readInto(t, tplbytes::encode(old)));
    EXPECT_FALSE(t.IsSortVertical());
    EXPECT_EQ(t.GetRepeat(), 1);
    EXPECT_EQ(t.GetSets(), 1);
    EXPECT_EQ(t.GetArea(1)->GetCount(), 1u); // not in the record
    EXPECT_TRUE(t.IsLocked());
    EXPECT_EQ(t.GetPassword(), "ab");
    for (int a = 0; a < 3; ++a)
        EXPECT_EQ(*t.GetGuideTable(a), TemplateGuideTable()) << a;
}

TEST(TemplateRecordRead, GuideTableIdsDefaultToNoneAndStayInRange)
{
    Record r = defaultRecord();
    r.flags = 0x715F & ~0x100u; // no guide-table block
    CTemplate t;
    t.GetGuideTable(2)->columns[9][2] = 7;
    ASSERT_TRUE(readInto(t, tplbytes::encode(r)));
    EXPECT_EQ(t.GetGuideTable(2)->columns[9][2], -1);
    EXPECT_EQ(t.GetGuideTable(0)->columns[0][0], -1);

    r.flags = 0x715F;
    r.guide[1].ids[0] = 0;
    r.guide[1].ids[1] = 25;
    r.guide[1].ids[2] = 26; // no such column
    r.guide[1].delimiters[0] = "; ";
    ASSERT_TRUE(readInto(t, tplbytes::encode(r)));
    const TemplateGuideTable& g = *t.GetGuideTable(1);
    EXPECT_EQ(g.columns[0][0], 0);
    EXPECT_EQ(g.columns[0][1], 25);
    EXPECT_EQ(g.columns[0][2], -1);
    EXPECT_EQ(g.delimiters[0], "; ");
}

TEST(TemplateRecordRead, LabelDefinitionKeys)
{
    // 136: read as an article-number definition with an empty list.
    CLabelFileNew plain;
    plain.SetFamilyName("Wire");
    RecordWriter w;
    plain.WriteTagged(w);
    Record r = defaultRecord();
    r.label = w.take();
    CTemplate t;
    ASSERT_TRUE(readInto(t, tplbytes::encode(r)));
    ASSERT_NE(t.GetLabel(), nullptr);
    EXPECT_EQ(t.GetLabel()->GetTypeKey(), kKeyLabelFileNewArticleNo);
    EXPECT_EQ(t.GetLabel()->GetArticleNumberCount(), 0);
    EXPECT_EQ(t.GetLabel()->GetFamilyName(), "Wire");

    // 137 and keys out of the family fail.
    for (int16_t key : {int16_t(137), int16_t(141), int16_t(-1)}) {
        Record bad = defaultRecord();
        bad.label[0] = char(key & 0xFF);
        bad.label[1] = char((key >> 8) & 0xFF);
        ReadStatus status;
        EXPECT_FALSE(readInto(t, tplbytes::encode(bad), &status)) << key;
        EXPECT_EQ(status, ReadStatus::Damaged);
    }
}

TEST(TemplateRecordRead, GuideLinesAndAreaKeys)
{
    Record r = defaultRecord();
    r.horizontalOn = 1;
    r.verticalOn = 1;
    r.horizontalStored = 3;
    r.verticalStored = 1;
    CTemplate t;
    ASSERT_TRUE(readInto(t, tplbytes::encode(r)));
    EXPECT_EQ(t.GetHelpLines().GetHorizontalCount(), 2);
    EXPECT_EQ(t.GetHelpLines().GetVerticalCount(), 0);
    EXPECT_EQ(written(t, false), tplbytes::encode(r));

    Record badHelp = defaultRecord();
    badHelp.helpKey = 142;
    ReadStatus status;
    EXPECT_FALSE(readInto(t, tplbytes::encode(badHelp), &status));
    EXPECT_EQ(status, ReadStatus::Damaged);
    Record badArea = defaultRecord();
    badArea.areaKey = 185;
    EXPECT_FALSE(readInto(t, tplbytes::encode(badArea), &status));
    EXPECT_EQ(status, ReadStatus::Damaged);
}

TEST(TemplateRecordRead, PasswordAndZoomStayInBounds)
{
    // The first character is stored as it is; later ones XORed with their
    // index.
    CTemplate t;
    t.SetPassword("PPPP");
    const std::string bytes = written(t, false);
    const std::string expected = std::string("\x04\x00", 2) + "PQRS";
    EXPECT_NE(bytes.find(expected), std::string::npos);
    CTemplate back;
    ASSERT_TRUE(readInto(back, bytes));
    EXPECT_EQ(back.GetPassword(), "PPPP");

    // A longer stored password keeps 32 characters and the fields after it
    // still read.
    Record r = defaultRecord();
    r.scrambledPassword = scrambled(std::string(40, 'x'));
    r.zoom = {24, 25, 801}; // the design view shows 25..800 %
    ASSERT_TRUE(readInto(back, tplbytes::encode(r)));
    EXPECT_EQ(back.GetPassword(), std::string(32, 'x'));
    EXPECT_EQ(back.GetZoom(0), -1);
    EXPECT_EQ(back.GetZoom(1), 25);
    EXPECT_EQ(back.GetZoom(2), -1);

    // A length beyond the data, or a negative one, is damage.
    for (int16_t length : {int16_t(30000), int16_t(-2)}) {
        Record bad = defaultRecord();
        bad.scrambledPassword = "ab";
        bad.passwordLength = length;
        ReadStatus status;
        EXPECT_FALSE(readInto(back, tplbytes::encode(bad), &status)) << length;
        EXPECT_EQ(status, ReadStatus::Damaged);
    }
}

TEST(TemplateRecordRead, EveryTruncationFailsCleanly)
{
    CTemplate t;
    t.GetArea(0)->AddTail(std::make_unique<CGraphRect>());
    t.GetArea(2)->AddTail(std::make_unique<CGraphRect>());
    t.SetPrinterNames("a", "b", "c");
    t.SetPassword("pw");
    t.GetJob().GetCurrentRow().AddModules(false);
    const std::string bytes = written(t, true);
    CTemplate full;
    ASSERT_TRUE(readInto(full, bytes));
    EXPECT_EQ(written(full, true), bytes);
    for (size_t n = 0; n < bytes.size(); ++n) {
        CTemplate cut;
        ReadStatus status;
        ASSERT_FALSE(readInto(cut, bytes.substr(0, n), &status)) << n;
        EXPECT_NE(status, ReadStatus::Ok) << n;
    }
}

TEST(TemplateRecordRead, ACutRecordNeverSetsAFieldFromAFailedRead)
{
    // A project record with every optional block. Each setting of the
    // template read into is either the reader's starting value, the one
    // it had, or the record's: never the zero of a read that failed.
    CTemplate t;
    t.SetRepeat(3);
    t.SetSets(4);
    t.SetPrintLabelBorders(true);
    t.SetBorderColor(0x123456);
    t.SetBorderWidth(700);
    t.SetPrinterNames("a", "b", "c");
    t.SetZoom(0, 50);
    const std::string bytes = written(t, true);
    for (size_t n = 0; n < bytes.size(); ++n) {
        CTemplate cut;
        cut.SetRepeat(7);
        cut.SetSets(9);
        cut.SetBorderColor(0x654321);
        cut.SetBorderWidth(900);
        cut.SetPrinterNames("x", "y", "z");
        cut.SetZoom(0, 200);
        ASSERT_FALSE(readInto(cut, bytes.substr(0, n))) << n;
        EXPECT_NE(cut.GetRepeat(), 0) << n;
        EXPECT_NE(cut.GetSets(), 0) << n;
        EXPECT_NE(cut.GetReservedOption(0), 0) << n;
        EXPECT_NE(cut.GetReservedOption(1), 0) << n;
        EXPECT_TRUE(cut.IsFieldContours()) << n;
        EXPECT_NE(cut.GetBorderColor(), 0) << n;
        EXPECT_NE(cut.GetBorderWidth(), 0) << n;
        EXPECT_FALSE(cut.GetPrinterPort().empty()) << n;
        EXPECT_NE(cut.GetZoom(0), -1) << n;
        // A definition is taken only when read whole.
        if (cut.GetLabel()) {
            RecordWriter w;
            cut.GetLabel()->WriteTagged(w);
            EXPECT_EQ(w.data(), defaultLabelBytes()) << n;
        }
    }
}
