// The project file: the bytes of a new project, the checks of the reader,
// the archive string encoding, tables with and without filters, and files
// cut short anywhere.
#include "document/project/projectdoc.h"
#include "document/project/projectfile.h"

#include "content/objects/shapes.h"
#include "project_bytes.h"
#include "support/project_fixture.h"

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

    // Written back as read.
    EXPECT_EQ(written(doc), bytes);
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

// Every cut of a project file, opened as a user opens it. Each opening
// starts a document of 256 template and table slots, so the cut points are
// dealt to kTruncationShards tests that run side by side; each writes its
// file once and cuts it shorter from the end.
constexpr int kTruncationShards = 16;

class ProjectTruncationTest : public ProjectTest, public ::testing::WithParamInterface<int> {};

TEST_P(ProjectTruncationTest, EveryTruncationFailsCleanlyAndKeepsNoPath)
{
    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.SetTemplateCount(1);
    doc.SetTableCount(2);
    doc.GetTable(1)->SetCellText(1, 1, "x");
    doc.SetFilter(1, std::make_unique<CDataTableFilter>(), nullptr);
    const std::string whole = written(doc);
    // The template record has its own truncation test: inside it every
    // 31st offset is enough here.
    const size_t recordStart = 28 + 258 + 4;
    const size_t recordEnd = recordStart + projtest::newTemplateRecord().size();
    std::vector<size_t> cuts;
    for (size_t n = 0, k = 0; n < whole.size(); n += (n > recordStart && n < recordEnd) ? 31 : 1, ++k)
        if (int(k % kTruncationShards) == GetParam())
            cuts.push_back(n);
    ASSERT_FALSE(cuts.empty());

    const QString file = path(QStringLiteral("cut%1.proj").arg(GetParam()));
    writeFile(file, whole.substr(0, cuts.back()));
    for (auto n = cuts.rbegin(); n != cuts.rend(); ++n) {
        ASSERT_TRUE(QFile::resize(file, qint64(*n))) << *n;
        CRecordingUi ui;
        UiScope scope(ui);
        CVorteplanSoftLabelDoc cut;
        const bool opened = cut.Open(file);
        ASSERT_EQ(ui.messages.size(), 1u) << *n;
        EXPECT_EQ(ui.messages[0].text, "Corrupt project file") << *n;
        EXPECT_TRUE(cut.GetPathName().isEmpty()) << *n;
        EXPECT_EQ(opened, true) << *n;
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
