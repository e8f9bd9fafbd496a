// Table files (".tbf" in both layouts, ".tbl") and filter files: bytes as
// an independent builder lays them down, the version rule, the old cell
// stream, damaged and truncated files, and the document's open and save.
#include "document/project/projectdoc.h"
#include "document/project/tablefile.h"

#include "project_bytes.h"
#include "support/project_fixture.h"

using projbytes::Bytes;
using projtest::ProjectTest;

namespace {

// A table block with image columns.
std::string tableWithFlags(const std::vector<std::vector<std::string>>& rows, const std::vector<int>& imageColumns)
{
    std::string b = projbytes::table(rows);
    for (int c : imageColumns)
        b[size_t(16 + c)] = 1;
    return b;
}

// Old ".TBF": version, filter, "TEXT", image columns, rows, filtered rows.
std::string oldTbf(int32_t version, const std::vector<std::vector<std::string>>& rows,
                   const std::vector<std::vector<std::string>>& filteredRows, uint32_t firstImage = 0,
                   int32_t imageCount = 0)
{
    Bytes b;
    b.raw(".TBF");
    b.i32(version);
    b.i32(7);
    b.i32(8);
    b.raw(projbytes::filter("a"));
    b.raw("TEXT");
    b.u32(firstImage);
    b.i32(imageCount);
    b.i32(int32_t(rows.size()));
    for (const auto& row : rows) {
        b.u32(uint32_t(row.size()));
        for (const std::string& cell : row) {
            b.i32(int32_t(cell.size()));
            b.raw(cell);
        }
    }
    const int32_t f = filteredRows.empty() ? 0 : int32_t(filteredRows[0].size());
    b.i32(f);
    for (int32_t k = 0; k < f; ++k) {
        b.u8(1);
        b.i32(k);
    }
    b.i32(int32_t(filteredRows.size()));
    for (const auto& row : filteredRows)
        for (const std::string& cell : row) {
            b.i32(int32_t(cell.size()));
            b.raw(cell);
        }
    return b.s;
}

// The filter that projbytes::filter("a") describes.
CDataTableFilter filterA()
{
    CDataTableFilter f;
    f.SetActive(1);
    f.SetIncludeText("a", 0);
    f.GetItem(0)->m_include[0] = 1;
    f.GetItem(1)->m_used = 0;
    return f;
}

std::string tblFile(uint16_t signature, int16_t columns, const std::string& headerRest, const std::string& stream)
{
    Bytes b;
    b.i16(int16_t(signature));
    b.i16(columns);
    b.raw(std::string(size_t(std::max<int>(columns, 0)) * 4, '\x01'));
    b.raw(headerRest);
    b.raw(stream);
    return b.s;
}

// The int16 2.
const std::string kTwo("\x02\x00", 2);

class TableFileTest : public ProjectTest {
protected:
    CVorteplanSoftLabelDoc doc;
    CDataTableBase& table() { return *doc.GetTable(0); }
};

} // namespace

TEST(TableFileBytes, TbfAndFilterFilesAreByteExact)
{
    CDataTableBase t;
    t.SetCellText(0, 0, "a1");
    t.SetCellText(0, 1, "b1");
    t.SetCellText(1, 2, "c");
    t.SetColumnFlag(2, 1);
    EXPECT_EQ(tablefile::WriteTbf(t, nullptr, nullptr),
              "LBAT" + std::string(4, '\0') + tableWithFlags({{"a1", "b1"}, {"", "", "c"}}, {2}));

    CDataTableFilter f = filterA();
    CDataTableBase filtered;
    filtered.SetCellText(0, 0, "a1");
    EXPECT_EQ(tablefile::WriteTbf(t, &f, &filtered),
              "LBAT" + std::string(4, '\0') + tableWithFlags({{"a1", "b1"}, {"", "", "c"}}, {2}) +
                  "\x44\x33\x22\x11" + projbytes::filter("a") + projbytes::table({{"a1"}}));
    EXPECT_EQ(tablefile::WriteFilterFile(f), "FILT" + std::string(4, '\0') + projbytes::filter("a"));

    const std::optional<CDataTableFilter> back = tablefile::ReadFilterFile(std::string("FILT\x05\0\0\0", 8) + projbytes::filter("a"));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, f);
    EXPECT_FALSE(tablefile::ReadFilterFile("FILx" + std::string(4, '\0') + projbytes::filter("a")));
}

TEST(TableFileBytes, OldTbfVersionRuleAndAppendedRows)
{
    for (int32_t version : {2303, 2305, -1, 2304, 2306}) {
        tablefile::TableContents slot;
        slot.table.SetCellText(0, 0, "present");
        const bool ok = tablefile::ReadTbf(oldTbf(version, {{"r0a", "r0b"}, {"", "r1b"}}, {{"f0"}, {"f1"}}, 3, 2), slot);
        EXPECT_EQ(ok, version != 2304 && version != 2306) << version;
        if (!ok)
            continue;
        EXPECT_EQ(slot.table.GetRowCount(), 3);
        EXPECT_EQ(slot.table.GetCellText(1, 1), "r0b");
        EXPECT_EQ(slot.table.GetCellText(2, 1), "r1b");
        EXPECT_TRUE(slot.table.GetColumnFlag(3) && slot.table.GetColumnFlag(4));
        EXPECT_FALSE(slot.table.GetColumnFlag(2) || slot.table.GetColumnFlag(5));
        ASSERT_TRUE(slot.filter && slot.filtered);
        EXPECT_EQ(*slot.filter, filterA());
        // The filtered copy starts as a copy of the table as it was.
        EXPECT_EQ(slot.filtered->GetCellText(0, 0), "present");
        EXPECT_EQ(slot.filtered->GetCellText(2, 0), "f1");
    }
}

TEST(TableFileBytes, OldTbfBoundsCountsAndLengths)
{
    // Image columns far past 255, and a cell longer than 255 bytes.
    tablefile::TableContents slot;
    ASSERT_TRUE(tablefile::ReadTbf(oldTbf(2305, {{std::string(300, 'x')}}, {}, 250, 0x7FFFFFFF), slot));
    EXPECT_EQ(slot.table.GetCellText(0, 0), std::string(255, 'x'));
    EXPECT_TRUE(slot.table.GetColumnFlag(255));

    // Counts no file of that size could hold.
    std::string bytes = oldTbf(2305, {}, {});
    const size_t rowCountAt = bytes.size() - 12;
    for (int32_t bad : {-1, 0x7FFFFFFF}) {
        std::string b = bytes;
        std::memcpy(&b[rowCountAt], &bad, 4);
        tablefile::TableContents s;
        EXPECT_FALSE(tablefile::ReadTbf(b, s));
    }
    // Zero filtered columns with an enormous filtered row count.
    std::string b = bytes;
    const int32_t many = 0x7FFFFFF0;
    std::memcpy(&b[b.size() - 4], &many, 4);
    tablefile::TableContents s;
    EXPECT_FALSE(tablefile::ReadTbf(b, s));
}

TEST(TableFileBytes, EveryTruncationIsRefused)
{
    const std::string files[] = {
        oldTbf(2305, {{"a", "b"}, {"c"}}, {{"x", "y"}}, 1, 1),
        "LBAT" + std::string(4, '\0') + projbytes::table({{"a"}}) + "\x44\x33\x22\x11" + projbytes::filter("q") +
            projbytes::table({{"a"}}),
    };
    for (const std::string& file : files) {
        const size_t tableEnd = 8 + projbytes::table({{"a"}}).size();
        for (size_t n = 0; n < file.size(); ++n) {
            tablefile::TableContents slot;
            // Only the new layout cut right after its table block is whole.
            const bool whole = file[0] == 'L' && n >= tableEnd && n < tableEnd + 4;
            EXPECT_EQ(tablefile::ReadTbf(std::string_view(file).substr(0, n), slot), whole) << n;
        }
        tablefile::TableContents slot;
        EXPECT_TRUE(tablefile::ReadTbf(file, slot));
    }
}

TEST(TableFileBytes, TblHeaderAndCellStream)
{
    auto cells = [](const std::string& stream) {
        std::vector<std::string> out;
        tablefile::ReadTblStream(stream, [&](int64_t row, int column, std::string_view text) {
            out.push_back(std::to_string(row) + ":" + std::to_string(column) + "=" + std::string(text));
        });
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(cells("A\x10" "B\r\nC\r"), (V{"0:0=A", "0:1=B", "1:0=C"}));
    EXPECT_EQ(cells("\x10\x10X\r"), (V{"0:2=X"}));
    EXPECT_EQ(cells("A\x1A" "B\x10" "C"), (V{"0:0=A", "0:0=B"})); // the last cell has no end
    EXPECT_EQ(cells(std::string(300, 'z') + "\r"), (V{"0:0=" + std::string(255, 'z')}));

    Bytes names;
    for (int c = 0; c < 5; ++c) {
        names.i16(2);
        names.raw("N" + std::to_string(c));
    }
    const auto header = tablefile::ReadTblHeader(tblFile(0x7E52, 5, names.s + std::string(10, '\0') + kTwo, "s"));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->imageColumns, 2);
    EXPECT_EQ(header->streamStart, size_t(4 + 20 + 20 + 10 + 2));

    for (uint16_t good : {0x0101, 0x0505, 0x0515, 0x7F00, 0x7EFF})
        EXPECT_TRUE(tablefile::IsTblSignature(good)) << good;
    for (uint16_t bad : {0x0102, 0x0000, 0x7D01, 0x0151})
        EXPECT_FALSE(tablefile::IsTblSignature(bad)) << bad;
    EXPECT_FALSE(tablefile::ReadTblHeader(tblFile(0x0101, 0, "", "")));
    EXPECT_FALSE(tablefile::ReadTblHeader(tblFile(0x0101, 27, "", "")));
    EXPECT_FALSE(tablefile::ReadTblHeader(tblFile(0x0101, 3, "", "").substr(0, 10))); // header cut short
    EXPECT_FALSE(tablefile::ReadTblHeader(tblFile(0x7F10, 1, "\x29\x00", "")));        // name of 41 bytes
}

TEST_F(TableFileTest, TbfRoundTripsTableFilterAndFilteredCopy)
{
    table().SetCellText(0, 0, "a0");
    table().SetCellText(1, 0, "b1");
    table().SetColumnFlag(4, 1);
    doc.SetupTableFilter();
    doc.GetFilter(0)->SetIncludeText("a", 0);
    doc.GetFilter(0)->GetItem(0)->m_include[0] = 1;
    doc.EnableTableFilter();
    ASSERT_TRUE(doc.SaveByExtension(path("t.TBF")));
    EXPECT_FALSE(doc.IsModified());

    CVorteplanSoftLabelDoc other;
    ASSERT_TRUE(other.ReadTbfFile(path("t.TBF")));
    EXPECT_EQ(*other.GetTable(0), table());
    EXPECT_EQ(*other.GetFilter(0), *doc.GetFilter(0));
    EXPECT_EQ(*other.GetFilteredTable(0), *doc.GetFilteredTable(0));
    EXPECT_TRUE(other.IsTableFilterEnabled());
    EXPECT_EQ(other.GetTableCellText(0, 0), "a0");
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(TableFileTest, RefusedTbfChangesNothingAndSaysSo)
{
    table().SetCellText(0, 0, "keep");
    doc.SetupTableFilter();
    const CDataTableBase tableBefore = table();
    const CDataTableFilter filterBefore = *doc.GetFilter(0);
    for (const std::string& bytes : {oldTbf(2304, {{"x"}}, {}), oldTbf(2305, {{"x"}}, {}).substr(0, 200),
                                     std::string("XXXX")}) {
        m_ui.messages.clear();
        writeFile(path("bad.tbf"), bytes);
        EXPECT_FALSE(doc.ReadTbfFile(path("bad.tbf")));
        ASSERT_EQ(m_ui.messages.size(), 1u);
        EXPECT_EQ(m_ui.messages[0].text, "Corrupt file or wrong file version");
        EXPECT_EQ(m_ui.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(table(), tableBefore);
        EXPECT_EQ(*doc.GetFilter(0), filterBefore);
    }
    EXPECT_FALSE(doc.OnOpenDocument(path("bad.tbf")));
}

TEST_F(TableFileTest, TblImportAppendsRowsAndMarksImageColumns)
{
    table().SetCellText(0, 0, "first");
    writeFile(path("old.tbl"), tblFile(0x7E02, 5, kTwo, "A\x10" "B\r\nC\r"));
    EXPECT_TRUE(CVorteplanSoftLabelDoc::IsTableFile(path("old.tbl")));
    ASSERT_TRUE(doc.ImportTableFile(path("old.tbl")));
    EXPECT_EQ(table().GetCellText(1, 0), "A");
    EXPECT_EQ(table().GetCellText(1, 1), "B");
    EXPECT_EQ(table().GetCellText(2, 0), "C");
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(doc.IsImageColumn(c), c == 3 || c == 4) << c;

    // A file that fails the test changes nothing, and says so; so does one
    // that cannot be read.
    writeFile(path("bad.tbl"), tblFile(0x0102, 2, "", "Z\r"));
    EXPECT_FALSE(CVorteplanSoftLabelDoc::IsTableFile(path("bad.tbl")));
    EXPECT_FALSE(CVorteplanSoftLabelDoc::IsTableFile(path("old.tbf")));
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_FALSE(doc.ImportTableFile(path("bad.tbl")));
    EXPECT_FALSE(doc.OnOpenDocument(path("bad.tbl")));
    EXPECT_FALSE(doc.ImportTableFile(path("none.tbl")));
    EXPECT_EQ(table().GetRowCount(), 3);
    ASSERT_EQ(m_ui.messages.size(), 3u);
    EXPECT_EQ(m_ui.messages[0].text, "Corrupt file or wrong file version");
    EXPECT_EQ(m_ui.messages[1].text, "Corrupt file or wrong file version");
    EXPECT_EQ(m_ui.messages[2].text, "Can not open file " + path("none.tbl").toStdString());
    EXPECT_EQ(m_ui.messages[2].icon, MessageIcon::Error);

    // Opened as a document: kept without a path, so Save asks for one.
    CVorteplanSoftLabelDoc opened;
    ASSERT_TRUE(opened.Open(path("old.tbl")));
    EXPECT_TRUE(opened.GetPathName().isEmpty());
    EXPECT_EQ(opened.GetTableCellText(0, 0), "A");
}

TEST_F(TableFileTest, FilterFilesAndSetup)
{
    table().SetCellText(0, 0, "a");
    table().SetCellText(1, 0, "b");
    EXPECT_FALSE(doc.StoreTableFilter(path("f.filter")));
    doc.SetupTableFilter();
    EXPECT_EQ(*doc.GetFilteredTable(0), table());
    doc.GetFilter(0)->SetIncludeText("b", 0);
    doc.GetFilter(0)->GetItem(0)->m_include[0] = 1;
    doc.GetFilter(0)->SetActive(1);
    ASSERT_TRUE(doc.StoreTableFilter(path("f.filter")));
    EXPECT_EQ(readFile(path("f.filter")).substr(0, 8), "FILT" + std::string(4, '\0'));

    CVorteplanSoftLabelDoc other;
    other.GetTable(0)->SetCellText(0, 0, "b");
    writeFile(path("bad.filter"), "FILX");
    EXPECT_FALSE(other.ReadTableFilterFile(path("bad.filter")));
    EXPECT_EQ(other.GetFilter(0), nullptr);
    ASSERT_TRUE(other.ReadTableFilterFile(path("f.filter")));
    EXPECT_EQ(*other.GetFilter(0), *doc.GetFilter(0));
    other.ReapplyTableFilter();
    EXPECT_EQ(other.GetTableRowCount(), 1);
    EXPECT_EQ(other.GetTableCellText(0, 0), "b");
}

TEST_F(TableFileTest, FailedSaveTellsTheUser)
{
    doc.SetModifiedFlag(true);
    EXPECT_FALSE(doc.SaveByExtension(path("missing/t.tbf")));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text.rfind("Can not save file ", 0), 0u);
}
