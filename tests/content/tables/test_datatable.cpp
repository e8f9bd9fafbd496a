// The data table: cells, rows, columns with their flags, the table block
// and the sort.
#include "content/tables/datatable.h"
#include "platform/numberformat.h"
#include "platform/record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <ostream>
#include <set>

namespace {

// Texts of one column, top to bottom.
std::vector<std::string> column(const CDataTableBase& t, int c)
{
    std::vector<std::string> out;
    for (int r = 0; r < t.GetRowCount(); ++r)
        out.push_back(t.GetCellText(r, c));
    return out;
}

CDataTableBase tableOf(const std::vector<std::vector<std::string>>& rows)
{
    CDataTableBase t;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            t.SetCellText(int(r), int(c), rows[r][c]);
    return t;
}

std::string saved(const CDataTableBase& t)
{
    RecordWriter w;
    t.Save(w);
    return w.take();
}

} // namespace

// Readable failure output.
void PrintTo(const CDataTableBase& t, std::ostream* os)
{
    *os << "{";
    for (int r = 0; r < t.GetRowCount(); ++r) {
        *os << (r ? ", [" : "[");
        for (int c = 0; c < t.GetCellCount(r); ++c)
            *os << (c ? ", \"" : "\"") << t.GetCellText(r, c) << '"';
        *os << "]";
    }
    *os << "}";
}

TEST(DataTable, CellsAndRowsAppearWhereSet)
{
    CDataTableBase t;
    t.SetCellText(3, 2, "x");
    ASSERT_EQ(t.GetRowCount(), 4);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(t.GetCellCount(r), 0);
    EXPECT_EQ(t.GetCellCount(3), 3);
    EXPECT_EQ(t.GetCellText(3, 0), "");
    EXPECT_EQ(t.GetCellText(3, 2), "x");
    // Reads outside give the empty text or 0.
    EXPECT_EQ(t.GetCellText(3, 3), "");
    EXPECT_EQ(t.GetCellText(9, 0), "");
    EXPECT_EQ(t.GetCellText(-1, -1), "");
    EXPECT_EQ(t.GetCellCount(-1), 0);
    EXPECT_EQ(t.GetRow(4), nullptr);

    // A null text clears; texts stop at a NUL and after 255 bytes.
    t.SetCellText(3, 2, static_cast<const char*>(nullptr));
    EXPECT_EQ(t.GetCellText(3, 2), "");
    t.SetCellText(0, 0, std::string_view("ab\0cd", 5));
    EXPECT_EQ(t.GetCellText(0, 0), "ab");
    t.SetCellText(0, 1, std::string(300, 'q'));
    EXPECT_EQ(t.GetCellText(0, 1), std::string(255, 'q'));

    // Refused coordinates change nothing.
    const CDataTableBase before = t;
    t.SetCellText(-1, 0, "n");
    t.SetCellText(0, -1, "n");
    t.SetCellText(0, CDataTableBase::kMaxColumns, "n");
    t.SetCellText(CDataTableBase::kMaxRows, 0, "n");
    EXPECT_EQ(t, before);
    t.SetCellText(0, CDataTableBase::kMaxColumns - 1, "last");
    EXPECT_EQ(t.GetCellCount(0), CDataTableBase::kMaxColumns);
}

TEST(DataTable, TextsOfEveryLengthAndReservedRoom)
{
    // Every length a cell keeps, copied over longer and shorter texts.
    CDataTableBase t;
    std::string all;
    for (int i = 0; i < 300; ++i)
        all += char('A' + i % 50);
    for (int n = 0; n <= 260; ++n) {
        t.SetCellText(0, 0, std::string_view(all).substr(0, size_t(n)));
        EXPECT_EQ(t.GetCellText(0, 0), all.substr(0, size_t(std::min(n, 255)))) << n;
        t.SetCellText(0, 0, std::string_view(all).substr(size_t(260 - n), size_t(n)));
        EXPECT_EQ(t.GetCellText(0, 0), all.substr(size_t(260 - n), size_t(std::min(n, 255)))) << n;
    }

    // Room made up front changes neither the contents nor equality, also
    // for absurd sizes.
    CDataTableBase reserved, plain;
    reserved.Reserve(1000, 5);
    reserved.SetCellText(2, 1, "b");
    plain.SetCellText(2, 1, "b");
    EXPECT_EQ(reserved, plain);
    EXPECT_EQ(reserved.GetRowCount(), 3);
    EXPECT_EQ(reserved.GetCellCount(2), 2);
    EXPECT_EQ(reserved.GetCellCount(0), 0);
    reserved.Reserve(-5, 1 << 30);
    reserved.SetCellText(4, 7, "c");
    plain.SetCellText(4, 7, "c");
    EXPECT_EQ(reserved, plain);
    EXPECT_EQ(reserved.GetCellCount(4), 8);
}

TEST(DataTable, UsedRowsAndEmptyRows)
{
    CDataTableBase t = tableOf({{"a"}, {""}, {"b"}, {""}, {""}});
    EXPECT_EQ(t.GetRowCount(), 5);
    EXPECT_EQ(t.GetUsedRowCount(), 3);
    CDataTableBase empty = tableOf({{""}, {"", ""}});
    empty.SetCellText(4, 0, "");
    EXPECT_EQ(empty.GetUsedRowCount(), 0);
    EXPECT_TRUE(empty.GetRow(2)->IsEmpty()); // no cells
    EXPECT_EQ(CDataTableBase().GetUsedRowCount(), 0);
}

TEST(DataTable, RowInsertionAndDeletion)
{
    CDataTableBase t = tableOf({{"a"}, {"b"}, {"c"}});
    t.InsertRow(1);
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"a", "", "b", "c"}));
    EXPECT_EQ(t.GetCellCount(1), 0);
    t.InsertRow(4); // not an existing row
    t.InsertRow(-1);
    EXPECT_EQ(t.GetRowCount(), 4);
    t.DeleteRow(0);
    t.DeleteRow(7);
    t.DeleteRow(-2);
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"", "b", "c"}));
    t.InsertRows(2, 2);
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"", "b", "", "", "c"}));
    t.InsertRows(5, 3); // not an existing row
    t.InsertRows(0, 0);
    t.InsertRows(0, -4);
    EXPECT_EQ(t.GetRowCount(), 5);
    // Never beyond the rows a table holds (and its file can store).
    t.InsertRows(1, CDataTableBase::kMaxRows);
    EXPECT_EQ(t.GetRowCount(), CDataTableBase::kMaxRows);
    EXPECT_EQ(t.GetCellText(CDataTableBase::kMaxRows - 1, 0), "c");
    t.InsertRows(0, 1);
    EXPECT_EQ(t.GetRowCount(), CDataTableBase::kMaxRows);
    t.RemoveAllRows();
    EXPECT_EQ(t.GetRowCount(), 0);
}

TEST(DataTable, ColumnsShiftCellsAndFlags)
{
    CDataTableBase t = tableOf({{"a", "b", "c"}, {"d"}});
    t.SetColumnFlag(0, 1);
    t.SetColumnFlag(1, 1);
    t.SetColumnFlag(254, 7);
    t.SetColumnFlag(255, 9);
    t.SetColumnFlag(30, 1); // beyond Z: not an image column
    EXPECT_EQ(t.GetImageColumnCount(), 2);

    // Inserting before B: the new column is no image column, the old B moves
    // to C with its flag, flag 255 drops out.
    t.InsertColumn(1);
    EXPECT_EQ(t.GetColumnFlag(0), 1);
    EXPECT_EQ(t.GetColumnFlag(1), 0);
    EXPECT_EQ(t.GetColumnFlag(2), 1);
    EXPECT_EQ(t.GetColumnFlag(31), 1);
    EXPECT_EQ(t.GetColumnFlag(255), 7);
    EXPECT_EQ(column(t, 1), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(t.GetCellCount(0), 4);
    EXPECT_EQ(t.GetCellCount(1), 1); // had no cell 1
    EXPECT_EQ(t.GetCellText(0, 2), "b");

    // Deleting column 0 of flags 1,0,1: 0,1,... ; flag 255 stays.
    t.DeleteColumn(0);
    EXPECT_EQ(t.GetColumnFlag(0), 0);
    EXPECT_EQ(t.GetColumnFlag(1), 1);
    EXPECT_EQ(t.GetColumnFlag(254), 7);
    EXPECT_EQ(t.GetColumnFlag(255), 7);
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(t.GetCellCount(1), 0);

    // Columns beyond Z and negative ones are refused.
    const CDataTableBase before = t;
    t.InsertColumn(26);
    t.DeleteColumn(26);
    t.InsertColumn(-1);
    t.DeleteColumn(-1);
    EXPECT_EQ(t, before);

    CDataTableBase flags;
    flags.SetColumnFlag(0, 1);
    flags.SetColumnFlag(1, 1);
    flags.DeleteColumn(0);
    EXPECT_EQ(flags.GetColumnFlag(0), 1);
    EXPECT_EQ(flags.GetColumnFlag(1), 0);
    EXPECT_EQ(flags.GetColumnFlag(-1), 0);
    EXPECT_EQ(flags.GetColumnFlag(256), 0);
}

// ---------------------------------------------------------------- table block

TEST(DataTableBlock, LayoutAndRoundTrip)
{
    CDataTableBase t;
    t.SetCellText(0, 0, "");
    t.SetCellText(0, 3, std::string(255, 'x'));
    t.SetCellText(1, 1, "\xE5\xE4\xF6"); // code-page bytes stay bytes
    t.SetCellText(4, 0, ""); // rows 2 and 3 without cells, row 4 one empty cell
    t.InsertRow(4); // an empty row without cells before it
    t.SetColumnFlag(2, 1);
    t.SetColumnFlag(255, 3);
    const std::string bytes = saved(t);
    EXPECT_EQ(bytes.substr(0, 4), "TABL");
    RecordReader head(bytes);
    head.u32();
    EXPECT_EQ(head.i32(), 1);
    EXPECT_EQ(head.i32(), 0);
    EXPECT_EQ(head.i32(), 256);
    EXPECT_EQ(bytes[16 + 2], 1);
    EXPECT_EQ(bytes[16 + 255], 3);

    CDataTableBase back;
    RecordReader r(bytes);
    EXPECT_TRUE(back.Load(r));
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(back, t);

    // Trailing rows without cells come back too.
    CDataTableBase trailing = tableOf({{"a"}});
    trailing.SetCellText(2, 0, "b");
    trailing.DeleteColumn(0);
    ASSERT_EQ(trailing.GetRowCount(), 3);
    CDataTableBase trailingBack;
    const std::string trailingBytes = saved(trailing);
    RecordReader r2(trailingBytes);
    EXPECT_TRUE(trailingBack.Load(r2));
    EXPECT_EQ(trailingBack.GetRowCount(), 3);
    EXPECT_EQ(trailingBack, trailing);
}

namespace {

// A table block written field by field.
struct BlockBuilder {
    RecordWriter w;
    explicit BlockBuilder(uint32_t magic = CDataTableBase::kMagic, int32_t version = 1, int32_t flagCount = 256)
    {
        w.u32(magic);
        w.i32(version);
        w.i32(0);
        w.i32(flagCount);
        for (int i = 0; i < 256; ++i)
            w.u8(i == 5 ? 1 : 0);
    }
};

} // namespace

TEST(DataTableBlock, RefusedBlocksLeaveTheTable)
{
    CDataTableBase original = tableOf({{"keep"}});
    original.SetColumnFlag(1, 1);
    for (auto [magic, version, flags] : {std::tuple<uint32_t, int32_t, int32_t>{0x4C424155, 1, 256},
                                         {CDataTableBase::kMagic, 2, 256},
                                         {CDataTableBase::kMagic, 1, 255}}) {
        BlockBuilder b(magic, version, flags);
        b.w.i32(1);
        b.w.i32(1);
        b.w.i32(1);
        b.w.bytes("z");
        CDataTableBase t = original;
        RecordReader r(b.w.data());
        EXPECT_FALSE(t.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Damaged);
        EXPECT_EQ(t, original);
    }
    // Versions 0 and below are read.
    for (int32_t version : {0, -3}) {
        BlockBuilder b(CDataTableBase::kMagic, version);
        b.w.i32(1);
        b.w.i32(1);
        b.w.i32(1);
        b.w.bytes("z");
        CDataTableBase t;
        RecordReader r(b.w.data());
        EXPECT_TRUE(t.Load(r));
        EXPECT_EQ(t.GetCellText(0, 0), "z");
        EXPECT_EQ(t.GetColumnFlag(5), 1);
    }
    // Negative counts and lengths are damaged; what was read stays.
    for (int which = 0; which < 3; ++which) {
        BlockBuilder b;
        b.w.i32(which == 0 ? -1 : 2);
        b.w.i32(1);
        b.w.i32(1);
        b.w.bytes("a");
        b.w.i32(which == 1 ? -1 : 1);
        b.w.i32(which == 2 ? -5 : 1);
        b.w.bytes("b");
        CDataTableBase t;
        RecordReader r(b.w.data());
        EXPECT_FALSE(t.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Damaged);
        EXPECT_EQ(t.GetRowCount(), which); // row 1 exists once its cell count was read
        EXPECT_EQ(t.GetCellText(0, 0), which == 0 ? "" : "a");
    }
}

TEST(DataTableBlock, LongCellsAndWideRowsAreBounded)
{
    // Cells of 255 and 256 bytes and a 1000-byte one keep 255; the block
    // is read to its end.
    BlockBuilder b;
    b.w.i32(1);
    b.w.i32(300);
    for (size_t len : {255u, 256u, 1000u, 0u}) {
        b.w.i32(int32_t(len));
        b.w.bytes(std::string(len, 'k'));
    }
    for (int c = 4; c < 300; ++c) {
        b.w.i32(1);
        b.w.bytes(std::string(1, char('A' + c % 26)));
    }
    b.w.u32(0x11223344); // what follows the block in a file
    CDataTableBase t;
    RecordReader r(b.w.data());
    EXPECT_TRUE(t.Load(r));
    EXPECT_EQ(t.GetCellText(0, 0), std::string(255, 'k'));
    EXPECT_EQ(t.GetCellText(0, 1), std::string(255, 'k'));
    EXPECT_EQ(t.GetCellText(0, 2), std::string(255, 'k'));
    EXPECT_EQ(t.GetCellText(0, 3), "");
    EXPECT_EQ(t.GetCellCount(0), CDataTableBase::kMaxColumns);
    EXPECT_EQ(r.u32(), 0x11223344u);

    // Huge counts and lengths with little data behind them: truncated, no
    // huge allocation.
    for (int which = 0; which < 3; ++which) {
        BlockBuilder h;
        h.w.i32(which == 0 ? CDataTableBase::kMaxRows : 1);
        h.w.i32(which == 1 ? 0x7FFFFFFF : 1);
        h.w.i32(which == 2 ? 0x7FFFFFFF : 1);
        h.w.bytes("abc");
        CDataTableBase ht;
        RecordReader hr(h.w.data());
        EXPECT_FALSE(ht.Load(hr));
        EXPECT_EQ(hr.status(), ReadStatus::Truncated);
    }
    BlockBuilder tooMany;
    tooMany.w.i32(CDataTableBase::kMaxRows + 1);
    CDataTableBase tm;
    RecordReader tr(tooMany.w.data());
    EXPECT_FALSE(tm.Load(tr));
    EXPECT_EQ(tr.status(), ReadStatus::Damaged);
}

TEST(DataTableBlock, TruncationAtEveryOffset)
{
    CDataTableBase t = tableOf({{"alpha", "", "gamma"}, {}, {"", std::string(255, 'z')}, {"x"}});
    t.SetCellText(5, 1, "");
    t.SetColumnFlag(7, 1);
    const std::string bytes = saved(t);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        CDataTableBase part;
        RecordReader r(bytes.data(), cut);
        ASSERT_FALSE(part.Load(r)) << cut;
        ASSERT_EQ(r.status(), ReadStatus::Truncated) << cut;
        // What was read is a beginning of the table: whole cells only.
        ASSERT_LE(part.GetRowCount(), t.GetRowCount());
        for (int row = 0; row < part.GetRowCount(); ++row) {
            ASSERT_LE(part.GetCellCount(row), t.GetCellCount(row));
            for (int c = 0; c < part.GetCellCount(row); ++c)
                ASSERT_EQ(part.GetCellText(row, c), t.GetCellText(row, c)) << cut;
        }
        if (cut < 16 + 256) {
            EXPECT_EQ(part.GetColumnFlag(7), 0);
        }
    }
}

// ---------------------------------------------------------------- sort

TEST(DataTableSort, NumbersAndTextsPairwise)
{
    CDataTableBase t = tableOf({{"10"}, {"9"}, {"b"}, {"a"}});
    t.SortRows(0, false, '.');
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"9", "10", "a", "b"}));
    t.SortRows(0, true, '.');
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"b", "a", "10", "9"}));

    CDataTableBase cases = tableOf({{"abc"}, {"Abc"}});
    cases.SortRows(0, false, '.');
    EXPECT_EQ(column(cases, 0), (std::vector<std::string>{"Abc", "abc"}));

    // Bytes above 0x7F sort after ASCII (unsigned).
    CDataTableBase bytes = tableOf({{"\xE5"}, {"z"}});
    bytes.SortRows(0, false, '.');
    EXPECT_EQ(column(bytes, 0), (std::vector<std::string>{"z", "\xE5"}));
}

TEST(DataTableSort, StableWholeRowsAndDecimalSeparator)
{
    // Equal keys (2, 2.0, 2abc read as 2) keep their order; whole rows move;
    // a missing cell sorts as the empty text.
    CDataTableBase t = tableOf({{"first", "2"}, {"x", "1,5"}, {"second", "2.0"}, {"third", "2abc"}, {"none"}});
    t.SortRows(1, false, '.');
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"none", "x", "first", "second", "third"}));
    EXPECT_EQ(t.GetCellText(1, 1), "1,5"); // read as 1 with '.'

    CDataTableBase comma = tableOf({{"2"}, {"1,5"}, {"1,25"}, {"1.75"}});
    comma.SortRows(0, false, ',');
    EXPECT_EQ(column(comma, 0), (std::vector<std::string>{"1.75", "1,25", "1,5", "2"}));

    // The two-argument form uses the user's separator.
    const NumberLocale saved = CurrentNumberLocale();
    SetCurrentNumberLocale(NumberLocale{','});
    CDataTableBase user = tableOf({{"1,5"}, {"1,25"}});
    user.SortRows(0, false);
    EXPECT_EQ(column(user, 0), (std::vector<std::string>{"1,25", "1,5"}));
    SetCurrentNumberLocale(saved);

    // Descending keeps equal rows in their order too.
    CDataTableBase desc = tableOf({{"1", "a"}, {"3", "b"}, {"1", "c"}, {"3", "d"}});
    desc.SortRows(0, true, '.');
    EXPECT_EQ(column(desc, 1), (std::vector<std::string>{"b", "d", "a", "c"}));

    // A column nobody has, or a negative one.
    const CDataTableBase before = desc;
    desc.SortRows(26, false, '.');
    EXPECT_EQ(desc, before);
    desc.SortRows(-1, false, '.');
    EXPECT_EQ(desc, before);
}

namespace {

// The comparison as a user sorting a column sees it: for each pair, by value
// when both texts begin with a number, else by bytes.
bool pairBefore(const std::string& a, const std::string& b, bool descending, char sep)
{
    const auto va = numfmt::ParseLeadingNumber(a, sep);
    const auto vb = numfmt::ParseLeadingNumber(b, sep);
    if (va && vb)
        return descending ? *va > *vb : *va < *vb;
    const int c = a.compare(b);
    return descending ? c > 0 : c < 0;
}

// Exchanging out-of-order neighbours until a pass changes nothing.
std::vector<int> neighbourExchangeOrder(const std::vector<std::string>& keys, bool descending, char sep)
{
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    bool changed = true;
    while (changed) {
        changed = false;
        for (size_t i = 0; i + 1 < order.size(); ++i) {
            if (pairBefore(keys[size_t(order[i + 1])], keys[size_t(order[i])], descending, sep)) {
                std::swap(order[i], order[i + 1]);
                changed = true;
            }
        }
    }
    return order;
}

// True when the pairwise comparison is a strict weak ordering on the keys.
bool consistent(const std::vector<std::string>& keys, bool descending, char sep)
{
    const std::set<std::string> distinct(keys.begin(), keys.end());
    const std::vector<std::string> k(distinct.begin(), distinct.end());
    auto lt = [&](size_t a, size_t b) { return pairBefore(k[a], k[b], descending, sep); };
    for (size_t a = 0; a < k.size(); ++a) {
        if (lt(a, a))
            return false;
        for (size_t b = 0; b < k.size(); ++b)
            for (size_t c = 0; c < k.size(); ++c) {
                if (lt(a, b) && lt(b, c) && !lt(a, c))
                    return false;
                const bool eqAB = !lt(a, b) && !lt(b, a);
                const bool eqBC = !lt(b, c) && !lt(c, b);
                const bool eqAC = !lt(a, c) && !lt(c, a);
                if (eqAB && eqBC && !eqAC)
                    return false;
            }
    }
    return true;
}

} // namespace

// The fast sort gives exactly the order of exchanging neighbours wherever
// the pairwise comparison is consistent, and always keeps every row.
TEST(DataTableSort, SameOrderAsNeighbourExchange)
{
    const std::vector<std::string> pool = {
        "", "0", "1", "2", "9", "10", "10.5", "10,5", "-3", "-10", " 7", "  12", "+4", "1e2", "5e",
        "12abc", "007", "7.0", "a", "b", "B", "abc", "Abc", "-", "-a", "+", ".", "z9", " ", "\xE9t\xE9",
        "3,25", ",5", ".5", "x", "100", "99"};
    std::mt19937 rng(12345);
    int checked = 0;
    int inconsistent = 0;
    for (int round = 0; round < 800; ++round) {
        // A random choice of values for this table, then rows drawn from them.
        std::vector<std::string> values;
        const size_t choices = 2 + rng() % 7;
        for (size_t i = 0; i < choices; ++i)
            values.push_back(pool[rng() % pool.size()]);
        const int rows = 1 + int(rng() % 60);
        const bool descending = rng() % 2;
        const char sep = rng() % 2 ? '.' : ',';
        const int sortColumn = int(rng() % 2);
        CDataTableBase t;
        std::vector<std::string> keys;
        for (int r = 0; r < rows; ++r) {
            const std::string& v = values[rng() % values.size()];
            t.SetCellText(r, 2, std::to_string(r)); // identifies the row
            if (v.empty() && rng() % 2) {
                if (sortColumn == 1)
                    t.SetCellText(r, 0, "-"); // cell 1 missing only
            } else {
                t.SetCellText(r, sortColumn, v);
            }
            keys.push_back(t.GetCellText(r, sortColumn));
        }
        t.SortRows(sortColumn, descending, sep);
        ASSERT_EQ(t.GetRowCount(), rows);
        std::vector<int> got;
        for (int r = 0; r < rows; ++r)
            got.push_back(std::stoi(t.GetCellText(r, 2)));
        if (!consistent(keys, descending, sep)) {
            ++inconsistent;
            std::vector<int> sortedGot = got;
            std::sort(sortedGot.begin(), sortedGot.end());
            for (int r = 0; r < rows; ++r)
                ASSERT_EQ(sortedGot[size_t(r)], r); // a permutation of the rows
            continue;
        }
        ++checked;
        ASSERT_EQ(got, neighbourExchangeOrder(keys, descending, sep)) << "round " << round;
    }
    EXPECT_GT(checked, 450);
    EXPECT_GT(inconsistent, 10);
}

TEST(DataTableSort, LargeNumericColumnMatchesStableSort)
{
    std::mt19937 rng(99);
    CDataTableBase t;
    std::vector<std::pair<double, int>> expected;
    for (int r = 0; r < 5000; ++r) {
        const int v = int(rng() % 700) - 350;
        const std::string text = std::to_string(v / 10) + "," + std::to_string(std::abs(v % 10));
        t.SetCellText(r, 0, (v < 0 && v / 10 == 0 ? "-" : "") + text);
        t.SetCellText(r, 1, std::to_string(r));
        expected.push_back({*numfmt::ParseLeadingNumber(t.GetCellText(r, 0), ','), r});
    }
    t.SortRows(0, false, ',');
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (int r = 0; r < 5000; ++r)
        ASSERT_EQ(t.GetCellText(r, 1), std::to_string(expected[size_t(r)].second));
}
