// The project file: the bytes of a new project, the checks of the reader,
// the archive string encoding, tables with and without filters, and files
// cut short anywhere.
#include "document/project/projectdoc.h"
#include "document/project/projectfile.h"

#include "content/objects/shapes.h"
#include "document/label/label.h"
#include "project_bytes.h"
#include "support/project_fixture.h"

#include <algorithm>
#include <map>

using projbytes::Project;
using projtest::ProjectTest;

namespace {

std::string written(CVorteplanSoftLabelDoc& doc)
{
    RecordWriter w;
    EXPECT_TRUE(doc.WriteProject(w));
    return w.take();
}

ProjectReadStatus readBytes(CVorteplanSoftLabelDoc& doc, const std::string& bytes)
{
    RecordReader r(bytes);
    return doc.ReadProject(r);
}

Project projectWithTemplates(int n)
{
    Project p;
    p.templates.assign(size_t(n), projtest::newTemplateRecord());
    return p;
}

} // namespace

TEST_F(ProjectTest, NewDocumentFileByteForByte)
{
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    Project expected = projectWithTemplates(3);
    const std::string bytes = written(doc);
    EXPECT_EQ(bytes, projbytes::encode(expected));
    // The fixed head: magic, 11, 2, flags 5, 256 names (00 01) of length 0.
    EXPECT_EQ(bytes.substr(16, 12), std::string("\x0B\0\0\0\x02\0\0\0\x05\0\0\0", 12));
    EXPECT_EQ(bytes.substr(28, 2), std::string("\x00\x01", 2));
}

TEST_F(ProjectTest, VersionAndRevisionChecks)
{
    struct Case {
        int32_t version, revision;
        ProjectReadStatus status;
    };
    for (Case c : {Case{12, 2, ProjectReadStatus::Incompatible}, Case{11, 3, ProjectReadStatus::Incompatible},
                   Case{10, 2, ProjectReadStatus::Ok}, Case{11, 2, ProjectReadStatus::Ok}}) {
        Project p = projectWithTemplates(3);
        p.version = c.version;
        p.revision = c.revision;
        CVorteplanSoftLabelDoc doc;
        EXPECT_EQ(readBytes(doc, projbytes::encode(p)), c.status) << c.version << "." << c.revision;
    }
    Project p = projectWithTemplates(3);
    p.version = 12;
    writeFile(path("new.proj"), projbytes::encode(p));
    CVorteplanSoftLabelDoc doc;
    EXPECT_FALSE(doc.Open(path("new.proj")));
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "Incompatible file version");
    EXPECT_EQ(m_ui.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(doc.GetPathName().isEmpty());
}

TEST_F(ProjectTest, ShortAndForeignFiles)
{
    // 20 bytes beginning with the magic.
    writeFile(path("short.proj"), projbytes::magic() + std::string("\x0B\0\0\0", 4));
    CVorteplanSoftLabelDoc doc;
    EXPECT_TRUE(doc.Open(path("short.proj")));
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "Corrupt project file");
    EXPECT_TRUE(doc.GetPathName().isEmpty());
    EXPECT_EQ(doc.GetTitle(), "short");
    EXPECT_TRUE(doc.IsModified());

    // Not a project file: refused, nothing read.
    writeFile(path("other.proj"), std::string(40, 'x'));
    CVorteplanSoftLabelDoc other;
    EXPECT_FALSE(other.Open(path("other.proj")));
    EXPECT_EQ(m_ui.messages.size(), 2u);
    EXPECT_TRUE(other.GetPathName().isEmpty());

    CVorteplanSoftLabelDoc missing;
    EXPECT_FALSE(missing.Open(path("missing.proj")));
    EXPECT_EQ(m_ui.messages.back().text, "Can not open file " + path("missing.proj").toStdString());
}

TEST_F(ProjectTest, CountsOutsideTheirRangeAreCorrupt)
{
    for (int n : {0, 256}) {
        Project p = projectWithTemplates(3);
        std::string bytes = projbytes::encode(p);
        // The template count follows the 28-byte head and 2 + 256 name bytes.
        bytes[28 + 258] = char(n & 0xFF);
        bytes[28 + 259] = char(n >> 8);
        CVorteplanSoftLabelDoc doc;
        EXPECT_EQ(readBytes(doc, bytes), ProjectReadStatus::Corrupt) << n;
    }
    for (size_t m : {size_t(0), size_t(257)}) {
        Project p = projectWithTemplates(1);
        p.tables.assign(m, projbytes::tableRecord(projbytes::table()));
        CVorteplanSoftLabelDoc doc;
        EXPECT_EQ(readBytes(doc, projbytes::encode(p)), ProjectReadStatus::Corrupt) << m;
    }
}

TEST_F(ProjectTest, FiveTemplatesAndFourTablesWithTheirNames)
{
    Project p = projectWithTemplates(5);
    p.tables.assign(4, projbytes::tableRecord(projbytes::table({{"a", "b"}})));
    for (int k = 0; k < 5; ++k)
        p.templateNames[size_t(k)] = "Design " + std::to_string(k);
    for (int k = 0; k < 4; ++k)
        p.tableNames[size_t(k)] = "Data " + std::to_string(k);
    p.stacked[4] = 1;
    writeFile(path("five.proj"), projbytes::encode(p));

    CVorteplanSoftLabelDoc doc;
    projtest::TabLog tabs;
    doc.AddTabObserver(&tabs);
    ASSERT_TRUE(doc.Open(path("five.proj")));
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(doc.GetPathName(), path("five.proj"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTemplateCount(), 5);
    EXPECT_EQ(doc.GetTableCount(), 4);
    EXPECT_EQ(doc.GetCurrentTableIndex(), 0);
    EXPECT_EQ(doc.GetTemplateName(4), "Design 4");
    EXPECT_EQ(doc.GetTableName(3), "Data 3");
    EXPECT_EQ(doc.GetTable(3)->GetCellText(0, 1), "b");
    EXPECT_EQ(doc.GetStackedLayout(4), 1);
    EXPECT_EQ(tabs.events, (std::vector<std::string>{"T+3:", "T*3", "T+4:", "T*4", "T*0", "D+3:Table"}));

    // Saved again: 5 templates and 4 tables, names kept.
    const std::string again = written(doc);
    CVorteplanSoftLabelDoc back;
    ASSERT_EQ(readBytes(back, again), ProjectReadStatus::Ok);
    EXPECT_EQ(back.GetTemplateCount(), 5);
    EXPECT_EQ(back.GetTableCount(), 4);
    EXPECT_EQ(back.GetTableName(3), "Data 3");
}

TEST_F(ProjectTest, FewerThanThreeTabsRemoveTheSurplus)
{
    Project p = projectWithTemplates(1);
    p.tables.resize(2);
    p.templateNames[1] = "gone"; // no tab 1: not kept when written
    CVorteplanSoftLabelDoc doc;
    projtest::TabLog tabs;
    doc.AddTabObserver(&tabs);
    ASSERT_EQ(readBytes(doc, projbytes::encode(p)), ProjectReadStatus::Ok);
    EXPECT_EQ(tabs.events, (std::vector<std::string>{"T-2", "T-1", "T*0", "D-2"}));
    EXPECT_EQ(doc.GetTemplateCount(), 1);
    EXPECT_EQ(doc.GetTableCount(), 2);
    const std::string bytes = written(doc);
    EXPECT_EQ(bytes.substr(28, 258), projbytes::stringArray(std::vector<std::string>(256)));
}

TEST_F(ProjectTest, TableRecordsWithAndWithoutFilter)
{
    Project p = projectWithTemplates(1);
    const std::string filtered = projbytes::table({{"x1", "", "c"}});
    p.tables = {projbytes::tableRecord(projbytes::table({{"x1", "b", "c"}, {"y", "b", "c"}}),
                                       projbytes::filter("x"), filtered),
                projbytes::tableRecord(projbytes::table({{"plain"}}))};
    const std::string bytes = projbytes::encode(p);
    CVorteplanSoftLabelDoc doc;
    ASSERT_EQ(readBytes(doc, bytes), ProjectReadStatus::Ok);

    ASSERT_NE(doc.GetFilter(0), nullptr);
    EXPECT_TRUE(doc.GetFilter(0)->IsActive());
    EXPECT_EQ(doc.GetFilter(0)->GetIncludeText(0), "x");
    ASSERT_NE(doc.GetFilteredTable(0), nullptr);
    EXPECT_EQ(doc.GetFilteredTable(0)->GetCellText(0, 0), "x1");
    // The enabled filter hides column B: the column map lists A, C, D...
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(0), 0);
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(1), 2);
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(25), -1);

    EXPECT_EQ(doc.GetFilter(1), nullptr);
    EXPECT_EQ(doc.GetFilteredTable(1), nullptr);
    EXPECT_EQ(doc.GetTableMap(1)->GetAt(200), 200);
    EXPECT_EQ(doc.GetTable(1)->GetCellText(0, 0), "plain");

    // The filtered row shows D = c, which no full row holds (B is hidden,
    // so the copy's third column is D): the row is kept in the full table,
    // and the rest is written back as read.
    p.tables[0] = projbytes::tableRecord(
        projbytes::table({{"x1", "b", "c"}, {"y", "b", "c"}, {"x1", "", "", "c"}}), projbytes::filter("x"), filtered);
    EXPECT_TRUE(written(doc) == projbytes::encode(p));
}

TEST_F(ProjectTest, ArchiveStringsInEveryLengthForm)
{
    const std::string longName(300, 'n');
    const std::string hugeName(0x10000, 'h');
    for (const std::string& text : {std::string("abc"), std::string(254, 's'), std::string(255, 'e'), longName,
                                    std::string(0xFFFD, 'w'), std::string(0xFFFE, 'z'), hugeName}) {
        RecordWriter w;
        projectfile::WriteArchiveString(w, text);
        EXPECT_EQ(w.data(), projbytes::archiveString(text)) << text.size();
        RecordReader r(w.data());
        std::string back;
        EXPECT_TRUE(projectfile::ReadArchiveString(r, back));
        EXPECT_EQ(back, text);
        EXPECT_TRUE(r.atEnd());
    }
    // 0xFFFF strings: the count escape with a 32-bit count.
    std::vector<std::string> many(0xFFFF, "");
    RecordWriter w;
    projectfile::WriteArchiveStringArray(w, many);
    EXPECT_EQ(w.data().substr(0, 6), std::string("\xFF\xFF\xFF\xFF\0\0", 6));
    RecordReader r(w.data());
    std::vector<std::string> back;
    EXPECT_TRUE(projectfile::ReadArchiveStringArray(r, back, 256));
    EXPECT_EQ(back.size(), 256u);
    EXPECT_TRUE(r.atEnd());

    // A wide string and lengths or counts beyond the bytes are refused.
    for (const std::string& bad : {std::string("\xFF\xFE\xFF\x01\x00", 5), std::string("\x05" "abc"),
                                   std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F" "a", 8)}) {
        RecordReader br(bad);
        std::string s;
        EXPECT_FALSE(projectfile::ReadArchiveString(br, s));
    }
    const std::string manyCount("\xFF\xFF\xFF\xFF\xFF\x7F\x00", 7);
    RecordReader cr(manyCount);
    EXPECT_FALSE(projectfile::ReadArchiveStringArray(cr, back, 256));

    // A 300-character tab name goes through the project.
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.SetTemplateName(1, longName);
    CVorteplanSoftLabelDoc read;
    ASSERT_EQ(readBytes(read, written(doc)), ProjectReadStatus::Ok);
    EXPECT_EQ(read.GetTemplateName(1), longName);
}

TEST_F(ProjectTest, FullProjectRoundTripsByteForByte)
{
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.SetTemplateCount(4);
    doc.SetTableCount(5);
    for (int k = 0; k < 4; ++k) {
        doc.SetTemplateName(k, "T" + std::to_string(k));
        doc.GetTemplate(k).GetArea(k % 3)->AddTail(std::make_unique<CGraphRect>());
    }
    for (int t = 0; t < 5; ++t) {
        doc.SetTableName(t, "Table " + std::to_string(t));
        for (int row = 0; row < 20; ++row)
            doc.GetTable(t)->SetCellText(row, t, "cell " + std::to_string(row));
    }
    auto filter = std::make_unique<CDataTableFilter>();
    filter->SetActive(1);
    filter->SetExcludeText("cell 1", 0);
    doc.SetFilter(2, std::move(filter), std::make_unique<CDataTableBase>(*doc.GetTable(2)));
    doc.SetStackedLayout(3, 1);
    doc.SetModifiedFlag(true);

    ASSERT_TRUE(doc.SaveByExtension(path("full.proj")));
    EXPECT_FALSE(doc.IsModified());
    const std::string first = readFile(path("full.proj"));
    CVorteplanSoftLabelDoc back;
    ASSERT_TRUE(back.Open(path("full.proj")));
    EXPECT_EQ(back.GetTemplate(3).GetArea(0)->GetCount(), 1u);
    ASSERT_TRUE(back.SaveByExtension(path("again.PROJ")));
    EXPECT_EQ(readFile(path("again.PROJ")), first);
    EXPECT_TRUE(m_ui.messages.empty());
}

namespace {

// A project laid down by the byte builder, with where each thing it holds
// ends in the file: objects in the areas of two templates (one beyond the
// three tabs of a new project), border settings, the table character set,
// table cells, a filter and the cells of its filtered copy, and the stacked
// layouts: the one-byte field of older files and the block that follows it.
struct DamagedProject {
    struct Object {
        int tmpl, area;
        std::string record; // type key and body
        size_t end;
    };
    struct Cell {
        bool filtered;
        int table, row, column;
        std::string text;
        size_t end;
    };
    std::string bytes;
    std::vector<size_t> templateStarts;
    std::vector<std::string> templateNames;
    size_t namesEnd = 0;
    std::vector<Object> objects;
    std::vector<Cell> cells;
    size_t bordersEnd = 0, colourEnd = 0, widthEnd = 0, filterEnd = 0;
    size_t charSetEnd = 0, stackedFirstEnd = 0;
    uint8_t newCharSet = 0; // a new project's
};

std::string rectRecord(int32_t x, int32_t y)
{
    CGraphRect rect;
    rect.SetX(x);
    rect.SetY(y);
    RecordWriter w;
    w.i16(rect.GetTypeKey());
    rect.Save(w);
    return w.take();
}

std::string collectionRecord(const std::vector<std::string>& objects)
{
    tplbytes::Bytes b;
    b.i16(int16_t(objects.size()));
    b.i16(10);
    b.i16(5);
    for (const std::string& o : objects)
        b.raw(o);
    return b.s;
}

DamagedProject damagedProject()
{
    DamagedProject d;
    Project p;
    constexpr int kTemplates = 4;
    const int objectCounts[kTemplates][3] = {{3, 1, 1}, {0, 0, 0}, {0, 0, 0}, {2, 0, 0}};
    std::vector<std::array<std::vector<std::string>, 3>> objects(kTemplates);
    int32_t x = 0;
    for (int t = 0; t < kTemplates; ++t) {
        tplbytes::Record r;
        // The oldest definition is the shortest: the cuts go through it too.
        CLabel label;
        RecordWriter w;
        label.WriteTagged(w);
        r.label = w.take();
        if (t == 0) {
            r.flags |= 0x400 | 0x800; // sets and borders, as inside a project
            r.borders = 1;
            r.borderColor = 0x123456;
            r.borderWidth = 700;
        }
        for (int a = 0; a < 3; ++a) {
            for (int i = 0; i < objectCounts[t][a]; ++i, x += 1000)
                objects[size_t(t)][size_t(a)].push_back(rectRecord(x, 2 * x + 1));
            r.areas[size_t(a)] = collectionRecord(objects[size_t(t)][size_t(a)]);
        }
        p.templates.push_back(tplbytes::encode(r));
    }
    d.templateNames = {"first", "second", "third", "fourth"};
    std::copy(d.templateNames.begin(), d.templateNames.end(), p.templateNames.begin());
    const std::string filterBlock = projbytes::filter("x");
    p.tables = {projbytes::tableRecord(projbytes::table({{"cell A1", "cell B1"}, {"cell A2", "cell B2"}})),
                projbytes::tableRecord(projbytes::table({{"x1 full", "y1 full"}}), filterBlock,
                                       projbytes::table({{"x1 kept", "y1 kept"}}))};
    p.flags = 7; // the character set, the one-byte stacked field and the block
    p.charSet = 238;
    p.stackedFirst = 1;
    p.stacked[0] = 1;
    p.stacked[3] = 1;
    d.bytes = projbytes::encode(p);
    CVorteplanSoftLabelDoc fresh;
    EXPECT_TRUE(fresh.OnNewDocument());
    d.newCharSet = fresh.GetTableFont().lfCharSet;

    // The first record follows the 28-byte head, the names and the count.
    d.namesEnd = 28 + projbytes::stringArray(p.templateNames).size();
    size_t at = d.namesEnd + 4;
    for (const std::string& record : p.templates) {
        d.templateStarts.push_back(at);
        at += record.size();
    }
    d.charSetEnd = at + 1;
    d.stackedFirstEnd = d.bytes.size() - p.stacked.size();
    // Magic, flags, sort vertical, repeat and sets come before the border fields.
    const size_t borders = d.templateStarts[0] + 4 + 4 + 1 + 2 + 4;
    d.bordersEnd = borders + 1;
    d.colourEnd = borders + 5;
    d.widthEnd = borders + 9;
    for (int t = 0; t < kTemplates; ++t)
        for (int a = 0; a < 3; ++a) {
            const auto& list = objects[size_t(t)][size_t(a)];
            if (list.empty())
                continue;
            size_t end = d.bytes.find(collectionRecord(list), d.templateStarts[size_t(t)]);
            EXPECT_NE(end, std::string::npos);
            end += 6; // count and the two reserved words
            for (const std::string& o : list)
                d.objects.push_back({t, a, o, end += o.size()});
        }
    const auto cell = [&](bool filtered, int table, int row, int column, const std::string& text) {
        const size_t pos = d.bytes.find(text);
        EXPECT_NE(pos, std::string::npos) << text;
        d.cells.push_back({filtered, table, row, column, text, pos + text.size()});
    };
    cell(false, 0, 0, 0, "cell A1");
    cell(false, 0, 0, 1, "cell B1");
    cell(false, 0, 1, 0, "cell A2");
    cell(false, 0, 1, 1, "cell B2");
    cell(false, 1, 0, 0, "x1 full");
    cell(false, 1, 0, 1, "y1 full");
    cell(true, 1, 0, 0, "x1 kept");
    cell(true, 1, 0, 1, "y1 kept");
    d.filterEnd = d.bytes.find(filterBlock) + filterBlock.size();
    return d;
}

std::string savedObject(const CGraphObject& o)
{
    RecordWriter w;
    w.i16(o.GetTypeKey());
    o.Save(w);
    return w.take();
}

// What a project cut after `n` bytes keeps: everything stored whole before
// the cut, nothing of what the cut went through.
void expectKeptUpTo(CVorteplanSoftLabelDoc& doc, const DamagedProject& d, size_t n)
{
    // A template is there once its record began (its magic read); before
    // the template count was read the new document's three stay.
    int templates = 3;
    if (n >= d.templateStarts[0]) {
        templates = 0;
        for (size_t start : d.templateStarts)
            templates += n >= start + 4 ? 1 : 0;
        templates = std::max(templates, 1);
    }
    EXPECT_EQ(doc.GetTemplateCount(), templates) << n;
    // The names are one block: there when read whole.
    for (size_t k = 0; k < d.templateNames.size(); ++k)
        EXPECT_EQ(doc.GetTemplateName(int(k)), n >= d.namesEnd ? d.templateNames[k] : "") << n;

    std::map<std::pair<int, int>, size_t> kept;
    for (const DamagedProject::Object& o : d.objects) {
        if (n < o.end)
            continue;
        const size_t i = kept[{o.tmpl, o.area}]++;
        const CGraphCollection& area = *doc.GetTemplate(o.tmpl).GetArea(o.area);
        ASSERT_LT(i, area.GetCount()) << n << ": template " << o.tmpl << " area " << o.area;
        EXPECT_EQ(savedObject(*area.GetAt(i)), o.record) << n;
    }
    for (int t = 0; t < int(d.templateStarts.size()); ++t)
        for (int a = 0; a < 3; ++a)
            EXPECT_EQ(doc.GetTemplate(t).GetArea(a)->GetCount(), (kept[{t, a}])) << n << ": " << t << "/" << a;

    const CTemplate& first = doc.GetTemplate(0);
    EXPECT_EQ(first.IsPrintLabelBorders(), n >= d.bordersEnd) << n;
    EXPECT_EQ(first.GetBorderColor(), n >= d.colourEnd ? 0x123456 : 0) << n;
    EXPECT_EQ(first.GetBorderWidth(), n >= d.widthEnd ? 700 : 0) << n;
    // The character set and the stacked layouts are taken when read whole;
    // the stacked block is one field.
    EXPECT_EQ(doc.GetTableFont().lfCharSet, n >= d.charSetEnd ? 238 : d.newCharSet) << n;
    EXPECT_EQ(doc.GetStackedLayout(0), n >= d.stackedFirstEnd ? 1 : 0) << n;
    EXPECT_EQ(doc.GetStackedLayout(3), n >= d.bytes.size() ? 1 : 0) << n;

    // A filter read whole is there, and the column map follows it: its
    // column B is hidden.
    EXPECT_EQ(doc.GetFilter(1) != nullptr, n >= d.filterEnd) << n;
    EXPECT_EQ(doc.GetTableMap(1)->GetAt(1), n >= d.filterEnd ? 2 : 1) << n;
    for (const DamagedProject::Cell& c : d.cells) {
        const CDataTableBase* table = c.filtered ? doc.GetFilteredTable(c.table) : doc.GetTable(c.table);
        const std::string text = table ? table->GetCellText(c.row, c.column) : std::string();
        EXPECT_EQ(text, n >= c.end ? c.text : std::string()) << n << ": " << c.text;
    }
}

} // namespace

// Every cut of a project file, opened as a user opens it: one message, the
// document kept without the file's name (a Save asks for one) and marked
// modified, and holding everything stored whole before the cut. Each
// opening starts a document of 256 template and table slots, so the cuts
// are dealt to kTruncationShards tests that run side by side; each writes
// its file once and cuts it shorter from the end.
constexpr int kTruncationShards = 16;

class ProjectTruncationTest : public ProjectTest, public ::testing::WithParamInterface<int> {};

TEST_P(ProjectTruncationTest, EveryCutKeepsWhatWasStoredWholeBeforeIt)
{
    const DamagedProject d = damagedProject();
    if (GetParam() == 0) {
        // The whole file: everything, no message.
        CVorteplanSoftLabelDoc doc;
        ASSERT_EQ(readBytes(doc, d.bytes), ProjectReadStatus::Ok);
        expectKeptUpTo(doc, d, d.bytes.size());
        EXPECT_EQ(doc.GetTableCount(), 2);
    }
    std::vector<size_t> cuts;
    for (size_t n = 0; n < d.bytes.size(); ++n)
        if (int(n % kTruncationShards) == GetParam())
            cuts.push_back(n);
    const QString file = path(QStringLiteral("cut%1.proj").arg(GetParam()));
    writeFile(file, d.bytes.substr(0, cuts.back()));
    for (auto n = cuts.rbegin(); n != cuts.rend(); ++n) {
        ASSERT_TRUE(QFile::resize(file, qint64(*n))) << *n;
        CRecordingUi ui;
        UiScope scope(ui);
        CVorteplanSoftLabelDoc cut;
        EXPECT_TRUE(cut.Open(file)) << *n;
        ASSERT_EQ(ui.messages.size(), 1u) << *n;
        EXPECT_EQ(ui.messages[0].text, "Corrupt project file") << *n;
        EXPECT_TRUE(cut.GetPathName().isEmpty()) << *n;
        EXPECT_TRUE(cut.IsModified()) << *n;
        expectKeptUpTo(cut, d, *n);
    }
}

TEST_F(ProjectTest, TheLargestProjectTheWriterAllowsReadsBack)
{
    // 255 templates and 256 tables: the most a project holds; whatever the
    // writer stores the reader must take.
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.SetTemplateCount(kMaxProjectTemplates);
    doc.SetTableCount(kDocSlots);
    doc.SetTemplateName(kMaxProjectTemplates - 1, "last template");
    doc.SetTableName(kDocSlots - 1, "last table");
    doc.GetTable(kDocSlots - 1)->SetCellText(0, 0, "end");
    const std::string bytes = written(doc);
    CVorteplanSoftLabelDoc back;
    ASSERT_EQ(readBytes(back, bytes), ProjectReadStatus::Ok);
    EXPECT_EQ(back.GetTemplateCount(), kMaxProjectTemplates);
    EXPECT_EQ(back.GetTableCount(), kDocSlots);
    EXPECT_EQ(back.GetTemplateName(kMaxProjectTemplates - 1), "last template");
    EXPECT_EQ(back.GetTableName(kDocSlots - 1), "last table");
    EXPECT_EQ(back.GetTable(kDocSlots - 1)->GetCellText(0, 0), "end");
    EXPECT_EQ(written(back), bytes);

    // One more template is refused by both.
    doc.SetTemplateCount(kMaxProjectTemplates + 1);
    RecordWriter w;
    EXPECT_FALSE(doc.WriteProject(w));
}

TEST_F(ProjectTest, SavingKeepsTheCurrentTable)
{
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    // The middle one of three: the writer walks every table.
    doc.SetCurrentTable(1);
    ASSERT_TRUE(doc.SaveByExtension(path("current.proj")));
    EXPECT_EQ(doc.GetCurrentTableIndex(), 1);
    // Later edits still reach the table the user is on.
    doc.SetTableCellText("after save", 0, 0);
    EXPECT_EQ(doc.GetTable(1)->GetCellText(0, 0), "after save");
    EXPECT_EQ(doc.GetTable(2)->GetRowCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Shards, ProjectTruncationTest, ::testing::Range(0, kTruncationShards));
