// Row filter, its block, and the column and row maps.
#include "content/tables/datatable.h"
#include "content/tables/datatablefilter.h"
#include "content/tables/drawcontext.h"
#include "platform/record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

CDataTableBase tableOf(const std::vector<std::vector<std::string>>& rows)
{
    CDataTableBase t;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            t.SetCellText(int(r), int(c), rows[r][c]);
    return t;
}

std::vector<int32_t> entries(const CDataTableRowMap& m, int count)
{
    std::vector<int32_t> out;
    for (int i = 0; i < count; ++i)
        out.push_back(m.GetAt(i));
    return out;
}

} // namespace

TEST(DataTableFilter, FreshFilterPassesEveryRow)
{
    CDataTableFilter f;
    EXPECT_FALSE(f.IsActive());
    for (int c = 0; c < 256; ++c)
        ASSERT_TRUE(f.IsColumnUsed(c));
    EXPECT_FALSE(f.IsColumnUsed(256));
    EXPECT_FALSE(f.IsColumnUsed(-1));
    EXPECT_EQ(f.GetItem(256), nullptr);
    const CDataTableBase t = tableOf({{"a", "b"}, {}, {"c"}});
    for (int r = -1; r < 5; ++r)
        EXPECT_TRUE(f.RowPasses(&t, r)) << r;
    EXPECT_FALSE(f.RowPasses(nullptr, 0));
    // Selectors without texts change nothing.
    for (int i = 0; i < 3; ++i) {
        f.GetItem(0)->m_include[i] = 1;
        f.GetItem(1)->m_exclude[i] = 1;
    }
    EXPECT_TRUE(f.RowPasses(&t, 0));
}

TEST(DataTableFilter, IncludeAndExcludeTexts)
{
    CDataTableFilter f;
    f.SetIncludeText("AB", 0);
    f.GetItem(1)->m_include[0] = 1;
    const CDataTableBase t = tableOf({{"AB", "x"}, {"", "xABx"}, {"17", "AB"}, {"ab", "aB"}});
    EXPECT_FALSE(f.RowPasses(&t, 0)); // AB only in column A
    EXPECT_TRUE(f.RowPasses(&t, 1));
    EXPECT_TRUE(f.RowPasses(&t, 2));
    EXPECT_FALSE(f.RowPasses(&t, 3)); // case-sensitive

    f.SetExcludeText("7", 0);
    f.GetItem(0)->m_exclude[0] = 1;
    EXPECT_FALSE(f.RowPasses(&t, 2)); // exclusion wins over an include hit
    EXPECT_TRUE(f.RowPasses(&t, 1));

    // Any of several include texts in any selected column lets a row pass.
    f.SetIncludeText("ab", 2);
    f.GetItem(0)->m_include[2] = 1;
    EXPECT_TRUE(f.RowPasses(&t, 3));
    // An exclude text selected only for another column does not hit.
    f.SetExcludeText("a", 1);
    f.GetItem(1)->m_exclude[1] = 1;
    EXPECT_FALSE(f.RowPasses(&t, 3)); // column B holds "aB"
    f.GetItem(1)->m_exclude[1] = 0;
    f.GetItem(2)->m_exclude[1] = 1;
    EXPECT_TRUE(f.RowPasses(&t, 3));
}

TEST(DataTableFilter, MissingCellsAndEmptyIncludeTexts)
{
    const CDataTableBase t = tableOf({{"only A"}, {"A", "hit"}});
    CDataTableFilter f;
    f.SetIncludeText("hit", 0);
    f.GetItem(1)->m_include[0] = 1;
    // A row without the searched cell has nothing to find there.
    EXPECT_FALSE(f.RowPasses(&t, 0));
    EXPECT_TRUE(f.RowPasses(&t, 1));
    EXPECT_FALSE(f.RowPasses(&t, 5)); // a missing row, too

    // An empty include text selected beside a non-empty one lets nothing
    // through on its own.
    f.GetItem(0)->m_include[1] = 1;
    EXPECT_FALSE(f.RowPasses(&t, 0));
    // Only empty include texts selected: every row passes.
    CDataTableFilter g;
    g.GetItem(0)->m_include[1] = 1;
    EXPECT_TRUE(g.RowPasses(&t, 0));

    // Rows with cells beyond the 256 items are read safely.
    CDataTableBase wide;
    for (int c = 0; c < CDataTableBase::kMaxColumns; ++c)
        wide.SetCellText(0, c, "zz");
    wide.InsertColumn(0);
    ASSERT_GT(wide.GetCellCount(0), CDataTableFilter::kItemCount);
    CDataTableFilter h;
    h.SetExcludeText("zz", 2);
    h.GetItem(255)->m_exclude[2] = 1;
    EXPECT_FALSE(h.RowPasses(&wide, 0));
}

TEST(DataTableFilter, CleaningCells)
{
    CDataTableFilter f;
    f.SetStripChar("0", 0);
    f.SetStripChar("#x", 1);
    CDataTableFilterItem item;
    item.m_trim = 1;
    item.m_strip[0] = 1;
    std::string text = "  007";
    f.CleanCellText(&item, text);
    EXPECT_EQ(text, "07");
    // Only the first selector that is set is tried.
    f.SetStripChar("#", 0);
    f.SetStripChar("0", 1);
    item.m_strip[1] = 1;
    text = "  007";
    f.CleanCellText(&item, text);
    EXPECT_EQ(text, "007");
    // Tabs are no blanks; a selector whose character is unset strips nothing.
    item.m_strip[0] = 0;
    item.m_strip[1] = 0;
    item.m_strip[2] = 1;
    text = " \t x";
    f.CleanCellText(&item, text);
    EXPECT_EQ(text, "\t x");
    text = "   ";
    f.CleanCellText(&item, text);
    EXPECT_EQ(text, "");
    f.CleanCellText(nullptr, text);

    // The buffer form.
    char buf[256] = "  0A";
    item.m_strip[2] = 0;
    item.m_strip[1] = 1;
    f.CleanCellText(&item, buf, sizeof buf);
    EXPECT_STREQ(buf, "A");
    char full[4] = {'0', '0', '0', '0'}; // no NUL: cleaned within its size
    f.CleanCellText(&item, full, sizeof full);
    EXPECT_EQ(std::string(full, 3), "000");
    EXPECT_EQ(full[3], '\0');
}

TEST(DataTableFilter, TextsAndItemsAccessors)
{
    CDataTableFilter f;
    f.SetIncludeText("0123456789ABC", 1);
    EXPECT_EQ(f.GetIncludeText(1), "0123456789");
    f.SetExcludeText(std::string_view("ab\0c", 4), 2);
    EXPECT_EQ(f.GetExcludeText(2), "ab");
    f.SetStripChar("#", 3);
    EXPECT_EQ(f.GetStripChar(3), "");

    f.GetItem(3)->m_trim = 1;
    f.GetItem(255)->m_trim = 2;
    f.InsertItem(3);
    EXPECT_EQ(f.GetItem(3)->m_trim, 0);
    EXPECT_EQ(f.GetItem(3)->m_used, 1);
    EXPECT_EQ(f.GetItem(4)->m_trim, 1);
    EXPECT_EQ(f.GetItem(255)->m_trim, 0); // old 255 dropped out, 254 moved up
    f.GetItem(255)->m_trim = 5;
    f.RemoveItem(3);
    EXPECT_EQ(f.GetItem(3)->m_trim, 1);
    EXPECT_EQ(f.GetItem(254)->m_trim, 5);
    EXPECT_EQ(f.GetItem(255)->m_trim, 0);
    const CDataTableFilter before = f;
    f.InsertItem(256);
    f.RemoveItem(-1);
    EXPECT_EQ(f, before);
}

// ---------------------------------------------------------------- filter block

namespace {

CDataTableFilter sampleFilter()
{
    CDataTableFilter f;
    f.SetActive(1);
    f.SetStripChar("0", 0);
    f.SetStripChar("#", 2);
    const char* texts[] = {"in0", "ten chars!", "in2", "ex0", "", "ex2"};
    for (int i = 0; i < 3; ++i) {
        f.SetIncludeText(texts[i], i);
        f.SetExcludeText(texts[3 + i], i);
    }
    for (int c = 0; c < 26; ++c) {
        CDataTableFilterItem* it = f.GetItem(c);
        it->m_used = uint8_t(c % 3 != 0);
        it->m_trim = uint8_t(c % 2);
        it->m_strip[c % 3] = 1;
        it->m_include[(c + 1) % 3] = uint8_t(c);
        it->m_exclude[(c + 2) % 3] = 1;
    }
    return f;
}

} // namespace

TEST(DataTableFilterBlock, RoundTripAndLayout)
{
    const CDataTableFilter f = sampleFilter();
    RecordWriter w;
    f.Save(w);
    const std::string bytes = w.take();
    EXPECT_EQ(bytes.size(), 12u + 3 + 1 + 6 * 11 + 4 + 26 * (4 + 2 + 9));
    RecordReader head(bytes);
    EXPECT_EQ(head.i32(), 1);
    head.skip(8);
    EXPECT_EQ(head.fixedString(3), "0");
    EXPECT_EQ(head.u8(), 1);
    EXPECT_EQ(head.fixedString(11), "in0");
    EXPECT_EQ(head.fixedString(11), "ex0");
    head.skip(44);
    EXPECT_EQ(head.i32(), 26);

    CDataTableFilter back;
    RecordReader r(bytes);
    EXPECT_TRUE(back.Load(r));
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(back, f);

    // Items beyond Z are not stored; loading leaves them as they were.
    CDataTableFilter wide = f;
    wide.GetItem(30)->m_used = 0;
    RecordWriter w2;
    wide.Save(w2);
    EXPECT_EQ(w2.data(), bytes);
    CDataTableFilter target;
    target.GetItem(30)->m_trim = 1;
    RecordReader r2(bytes);
    EXPECT_TRUE(target.Load(r2));
    EXPECT_EQ(target.GetItem(30)->m_trim, 1);
    EXPECT_EQ(*target.GetItem(5), *f.GetItem(5));
}

TEST(DataTableFilterBlock, VersionZeroBlockAndOldItems)
{
    RecordWriter w;
    w.i32(0);
    w.i32(11);
    w.i32(22);
    w.bytes("#\0\0", 3);
    w.u8(1);
    w.fixedString("inc", 11);
    w.fixedString("exc", 11);
    w.i32(2);
    // An old item: one include and one exclude selector.
    w.i32(0);
    w.u8(0);
    w.u8(1);
    w.bytes("\1\0\0", 3);
    w.u8(1);
    w.u8(1);
    // A new item.
    w.i32(1);
    w.u8(1);
    w.u8(0);
    w.bytes("\0\0\1", 3);
    w.bytes("\0\1\1", 3);
    w.bytes("\1\0\1", 3);
    CDataTableFilter f = sampleFilter();
    RecordReader r(w.data());
    ASSERT_TRUE(f.Load(r));
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(f.GetReserved1(), 11);
    EXPECT_EQ(f.GetReserved2(), 22);
    EXPECT_EQ(f.GetStripChar(0), "#");
    EXPECT_EQ(f.GetStripChar(2), "");
    EXPECT_EQ(f.GetIncludeText(0), "inc");
    EXPECT_EQ(f.GetExcludeText(0), "exc");
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(f.GetIncludeText(i), "");
        EXPECT_EQ(f.GetExcludeText(i), "");
    }
    const CDataTableFilterItem* old = f.GetItem(0);
    EXPECT_EQ(old->m_used, 0);
    EXPECT_EQ(old->m_trim, 1);
    EXPECT_EQ(old->m_include[0], 1);
    EXPECT_EQ(old->m_include[1], 0);
    EXPECT_EQ(old->m_exclude[0], 1);
    EXPECT_EQ(old->m_exclude[2], 0);
    EXPECT_EQ(f.GetItem(1)->m_exclude[2], 1);
    EXPECT_EQ(*f.GetItem(2), *sampleFilter().GetItem(2)); // not in the block
}

TEST(DataTableFilterBlock, DamagedAndTruncatedBlocks)
{
    for (int32_t count : {-1, 257, 0x7FFFFFFF}) {
        RecordWriter w;
        w.i32(1);
        w.bytes(std::string(8 + 4 + 66, '\0'));
        w.i32(count);
        w.bytes(std::string(400, '\1'));
        CDataTableFilter f;
        RecordReader r(w.data());
        EXPECT_FALSE(f.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Damaged);
        EXPECT_EQ(*f.GetItem(0), CDataTableFilterItem());
    }
    RecordWriter w;
    sampleFilter().Save(w);
    const std::string bytes = w.take();
    const size_t headerSize = 12 + 4 + 66 + 4;
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        CDataTableFilter f;
        RecordReader r(bytes.data(), cut);
        ASSERT_FALSE(f.Load(r));
        ASSERT_EQ(r.status(), ReadStatus::Truncated);
        if (cut < headerSize) {
            ASSERT_EQ(f, CDataTableFilter()) << cut; // nothing taken
            continue;
        }
        // Whole items read are taken, the rest stay fresh.
        const size_t whole = (cut - headerSize) / 15;
        for (int c = 0; c < 26; ++c)
            ASSERT_EQ(*f.GetItem(c), size_t(c) < whole ? *sampleFilter().GetItem(c) : CDataTableFilterItem())
                << cut << " " << c;
    }
}

// ---------------------------------------------------------------- maps

TEST(DataTableMap, IdentityFindOrAddAndFull)
{
    CDataTableMap m;
    EXPECT_EQ(m.GetAt(0), 0);
    EXPECT_EQ(m.GetAt(255), 255);
    EXPECT_EQ(m.GetAt(256), -1);
    EXPECT_EQ(m.GetAt(-1), -1);
    EXPECT_EQ(m.FindOrAdd(7), 7);
    m.Clear();
    EXPECT_EQ(m.FindOrAdd(3), 0);
    EXPECT_EQ(m.FindOrAdd(5), 1);
    EXPECT_EQ(m.FindOrAdd(3), 0);
    EXPECT_EQ(m.GetAt(1), 5);
    EXPECT_EQ(m.GetAt(2), -1);
    // No free entry: the answer is no index and nothing is stored.
    CDataTableMap identity;
    EXPECT_EQ(identity.FindOrAdd(300), CDataTableMap::kFull);
    EXPECT_EQ(identity, CDataTableMap());
}

TEST(DataTableMap, ColumnLookupForDrawing)
{
    CDataTableMap m;
    m.Clear();
    m.FindOrAdd(3);
    m.FindOrAdd(1);
    EXPECT_EQ(m.IndexOf(1), 1);
    EXPECT_EQ(m.IndexOf(2), -1);
    EXPECT_EQ(m.IndexOf(300), -1);

    // The view shows full columns D and B; row 1 is label 2.
    CDataTableBase view;
    view.SetCellText(1, 0, "d1");
    view.SetCellText(1, 1, "b1");
    DrawContext c{.labelNumber = 2, .table = &view, .columnMap = &m};
    EXPECT_EQ(c.TableColumn(3), 0);
    EXPECT_EQ(c.CellText(1), "b1");
    EXPECT_EQ(c.CellText(0), "");  // not shown
    EXPECT_EQ(c.TableColumn(-1), -1); // not a free entry
    c.columnMap = nullptr;         // the table's own order
    EXPECT_EQ(c.CellText(1), "b1");
    EXPECT_EQ(c.TableColumn(3), 3);
    for (int label : {0, -1, INT32_MIN}) {
        c.labelNumber = label;
        EXPECT_EQ(c.CellText(0), "");
    }
    c.labelNumber = 2;
    c.table = nullptr;
    EXPECT_EQ(c.CellText(0), "");
}

TEST(DataTableRowMap, MapRowCountAndInsertAt)
{
    CDataTableRowMap m;
    EXPECT_EQ(m.GetSize(), 256);
    EXPECT_EQ(m.GetAt(255), 255);
    m.Clear();
    m.SetAt(0, 0);
    m.SetAt(1, 5);
    m.SetAt(2, 7);
    EXPECT_EQ(m.MapRowCount(2), 6);
    EXPECT_EQ(m.MapRowCount(0), 0);
    EXPECT_EQ(m.MapRowCount(-4), 0);
    EXPECT_EQ(m.MapRowCount(3), 8);
    EXPECT_EQ(m.MapRowCount(5), 10); // 7 + 1 + two unmapped rows
    EXPECT_EQ(m.MapRowCount(1000), 8 + 997);

    // A row inserted before filtered row 1 goes to full row 1; the rows
    // after it move down one.
    CDataTableRowMap ins = m;
    ins.InsertAt(1);
    EXPECT_EQ(entries(ins, 5), (std::vector<int32_t>{0, 1, 6, 8, -1}));
    // Before an unmapped filtered row: nothing to shift, nothing to map.
    CDataTableRowMap tail = m;
    tail.InsertAt(3);
    EXPECT_EQ(entries(tail, 5), (std::vector<int32_t>{0, 5, 7, -1, -1}));

    CDataTableRowMap single;
    single.Clear();
    single.SetAt(0, 0);
    EXPECT_EQ(single.MapRowCount(2), 2);
    EXPECT_EQ(CDataTableRowMap().MapRowCount(256), 256);
    EXPECT_EQ(CDataTableRowMap().MapRowCount(300), 300);

    // A full map grows rather than losing its last entry.
    CDataTableRowMap full;
    full.InsertAt(0);
    EXPECT_EQ(full.GetSize(), 512);
    EXPECT_EQ(full.GetAt(0), 0);
    EXPECT_EQ(full.GetAt(1), 1);
    EXPECT_EQ(full.GetAt(256), 256);
    EXPECT_EQ(full.GetAt(257), -1);
}

TEST(DataTableRowMap, AddRowGrowsAndSkipsKnownRows)
{
    CDataTableRowMap m;
    m.AddRow(300);
    EXPECT_EQ(m.GetSize(), 512);
    EXPECT_EQ(m.GetAt(256), 300);
    for (int i = 257; i < 512; ++i)
        ASSERT_EQ(m.GetAt(i), -1);
    m.AddRow(300);
    EXPECT_EQ(m.GetAt(257), -1);
    m.AddRow(-1);
    m.AddRow(-7);
    EXPECT_EQ(m.GetAt(257), -1);
    m.Grow(-1);
    m.Grow(CDataTableRowMap::maxSize());
    EXPECT_EQ(m.GetSize(), 512);
    m.AddRow(CDataTableRowMap::maxSize()); // beyond the limit: no room made
    EXPECT_EQ(m.GetAt(257), CDataTableRowMap::maxSize());
    EXPECT_EQ(m.GetSize(), 512);
}

// AddRow, SetAt, RemoveAt and InsertAt against a plain model of the map,
// so the shortcuts AddRow takes never change its answers. 60 rounds of one
// random sequence, dealt to four tests that run side by side: every round
// draws 1 + 3 x 300 numbers, so a shard skips the draws of the rounds before
// its own.
constexpr int kRowMapRounds = 60;
constexpr int kRowMapShards = 4;

class DataTableRowMapModel : public ::testing::TestWithParam<int> {};

TEST_P(DataTableRowMapModel, AgreesWithPlainModel)
{
    constexpr int kSteps = 300;
    const int first = GetParam() * kRowMapRounds / kRowMapShards;
    const int last = (GetParam() + 1) * kRowMapRounds / kRowMapShards;
    std::mt19937 rng(5);
    rng.discard(uint64_t(first) * (1 + 3 * kSteps));
    for (int round = first; round < last; ++round) {
        CDataTableRowMap m;
        std::vector<int32_t> model(256);
        for (int i = 0; i < 256; ++i)
            model[size_t(i)] = i;
        if (rng() % 2) {
            m.Clear();
            std::fill(model.begin(), model.end(), -1);
        }
        for (int step = 0; step < kSteps; ++step) {
            const int op = int(rng() % 10);
            const int k = int(rng() % (model.size() + 10));
            const int32_t v = int32_t(rng() % 700) - 1;
            if (op < 6) {
                m.AddRow(v);
                if (v >= 0) {
                    while (size_t(v) >= model.size())
                        model.resize(model.size() + 256, -1);
                    if (std::find(model.begin(), model.end(), v) == model.end()) {
                        auto f = std::find(model.begin(), model.end(), -1);
                        if (f != model.end())
                            *f = v;
                    }
                }
            } else if (op == 6) {
                m.SetAt(k, v);
                if (size_t(k) < model.size())
                    model[size_t(k)] = v;
            } else if (op == 7) {
                m.RemoveAt(k);
                if (size_t(k) < model.size()) {
                    model.erase(model.begin() + k);
                    model.push_back(-1);
                }
            } else if (op == 8) {
                const int n = k % 40;
                m.InsertAt(n);
                while (size_t(n) >= model.size())
                    model.resize(model.size() + 256, -1);
                if (model.back() != -1)
                    model.resize(model.size() + 256, -1);
                const bool mapped = model[size_t(n)] != -1;
                int i = 0;
                while (i < n && model[size_t(i)] != -1)
                    ++i;
                const int32_t at = i == n ? (n ? model[size_t(n - 1)] + 1 : 0) : (i ? model[size_t(i - 1)] + 1 : 0) + (n - i);
                for (size_t j = model.size() - 1; j-- > size_t(n);)
                    if (model[j] != -1)
                        model[j + 1] = model[j] + 1;
                if (mapped)
                    model[size_t(n)] = at;
            } else {
                m.Clear();
                std::fill(model.begin(), model.end(), -1);
            }
            ASSERT_EQ(entries(m, int(model.size()) + 3),
                      [&] { auto e = model; e.insert(e.end(), 3, -1); return e; }())
                << "round " << round << " step " << step << " op " << op;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, DataTableRowMapModel, ::testing::Range(0, kRowMapShards));

TEST(DataTableRowMap, FilteringManyRowsIsLinear)
{
    // Adding rows in rising order, as building a filtered table does, must
    // not search the whole map each time: 200,000 rows in well under a
    // second even unoptimised.
    CDataTableRowMap m;
    m.Clear();
    for (int i = 0; i < 200000; ++i)
        m.AddRow(i * 2);
    EXPECT_EQ(m.GetAt(199999), 399998);
    EXPECT_EQ(m.MapRowCount(200000), 399999);
}
