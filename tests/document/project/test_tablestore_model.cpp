// Random sequences of table edits against a plain model of "a filtered view
// over a full table": the filtered rows remember the full row they came
// from, and every edit keeps full table, filtered table and row map in
// agreement with the model after each step.
#include "document/project/projectdoc.h"

#include "support/project_fixture.h"

#include <algorithm>
#include <deque>
#include <random>

using projtest::ProjectTest;

namespace {

using Row = std::vector<std::string>;
using Table = std::vector<Row>;

// The filter of these tests: rows whose column A contains "x" are left
// out, column B is not shown.
constexpr int kHiddenColumn = 1;

void setCell(Table& t, int row, int column, const std::string& text)
{
    if (int(t.size()) <= row)
        t.resize(size_t(row) + 1);
    Row& r = t[size_t(row)];
    if (int(r.size()) <= column)
        r.resize(size_t(column) + 1);
    r[size_t(column)] = text;
}

std::string cell(const Table& t, int row, int column)
{
    if (row < 0 || row >= int(t.size()) || column < 0 || column >= int(t[size_t(row)].size()))
        return {};
    return t[size_t(row)][size_t(column)];
}

struct Model {
    Table full;
    Table filtered;
    std::vector<int> origin; // full row of each filtered row, -1 none (may run past the rows)
    bool enabled = false;
    bool inStep = false;

    struct Snapshot {
        Table full, filtered;
        std::vector<int> origin;
        bool tied; // taken while the filtered view was on and in step
    };
    std::deque<Snapshot> undo;

    int originAt(int n) const { return n >= 0 && n < int(origin.size()) ? origin[size_t(n)] : -1; }
    static int shownColumn(int c) { return c < kHiddenColumn ? c : c + 1; }

    void apply()
    {
        filtered.clear();
        origin.clear();
        for (size_t i = 0; i < full.size(); ++i) {
            if (full[i].size() > 0 && full[i][0].find('x') != std::string::npos)
                continue;
            origin.push_back(int(i));
            int c = 0;
            for (size_t k = 0; k < full[i].size(); ++k)
                if (int(k) != kHiddenColumn)
                    setCell(filtered, int(origin.size()) - 1, c++, full[i][k]);
        }
        inStep = true;
    }
    void toggle()
    {
        enabled = !enabled;
        if (enabled)
            apply();
    }
    // A filtered row without a full row gets one at the end of the full
    // table, holding what the row shows.
    int tie(int row)
    {
        if (originAt(row) >= 0 && originAt(row) < int(full.size()))
            return originAt(row);
        full.push_back(Row{});
        const Row& shown = filtered[size_t(row)];
        for (size_t c = 0; c < shown.size(); ++c)
            if (!shown[c].empty())
                setCell(full, int(full.size()) - 1, shownColumn(int(c)), shown[c]);
        if (int(origin.size()) <= row)
            origin.resize(size_t(row) + 1, -1);
        origin[size_t(row)] = int(full.size()) - 1;
        return origin[size_t(row)];
    }
    void write(int row, int column, const std::string& text)
    {
        if (!enabled)
            return setCell(full, row, column, text);
        const int before = int(filtered.size());
        setCell(filtered, row, column, text);
        if (!inStep)
            return;
        for (int r = before; r < row; ++r)
            tie(r);
        setCell(full, tie(row), shownColumn(column), text);
    }
    // Where a row inserted before filtered row n goes in the full table.
    int insertPosition(int n) const
    {
        if (n <= 0)
            return 0;
        int i = 0;
        while (i < n && originAt(i) != -1)
            ++i;
        return (i == 0 ? 0 : originAt(i - 1) + 1) + (n - i);
    }
    void insert(int n)
    {
        if (!enabled) {
            if (n < int(full.size()))
                full.insert(full.begin() + n, Row{});
            return;
        }
        const int p = insertPosition(n);
        const bool fullInserted = p < int(full.size());
        if (fullInserted) {
            full.insert(full.begin() + p, Row{});
            for (int& e : origin)
                if (e >= p)
                    ++e;
        }
        if (n < int(filtered.size())) {
            filtered.insert(filtered.begin() + n, Row{});
            if (int(origin.size()) < n)
                origin.resize(size_t(n), -1);
            origin.insert(origin.begin() + n, fullInserted ? p : -1);
        }
    }
    void remove(int n)
    {
        if (!enabled) {
            if (n < int(full.size()))
                full.erase(full.begin() + n);
            return;
        }
        if (n >= int(filtered.size()))
            return;
        const int o = originAt(n);
        filtered.erase(filtered.begin() + n);
        if (n < int(origin.size()))
            origin.erase(origin.begin() + n);
        if (o >= 0 && o < int(full.size())) {
            full.erase(full.begin() + o);
            for (int& e : origin)
                if (e > o)
                    --e;
        }
    }
    void sort(int column, bool descending)
    {
        Table& t = enabled ? filtered : full;
        std::vector<int> order(t.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const std::string ka = cell(t, a, column), kb = cell(t, b, column);
            return descending ? ka > kb : ka < kb;
        });
        Table sorted;
        std::vector<int> moved;
        for (int i : order) {
            sorted.push_back(t[size_t(i)]);
            moved.push_back(originAt(i));
        }
        t = sorted;
        if (enabled) {
            if (origin.size() < moved.size())
                origin.resize(moved.size(), -1);
            std::copy(moved.begin(), moved.end(), origin.begin());
        }
    }
    void save()
    {
        undo.push_front({full, filtered, origin, enabled && inStep});
        if (undo.size() > 16)
            undo.pop_back();
    }
    void restore()
    {
        if (undo.empty())
            return;
        full = undo.front().full;
        filtered = undo.front().filtered;
        origin = undo.front().origin;
        const bool tied = undo.front().tied;
        undo.pop_front();
        // A copy saved with the filter off is built anew from the full table.
        if (enabled && !tied)
            apply();
    }
};

::testing::AssertionResult sameTable(const CDataTableBase& actual, const Table& expected)
{
    if (actual.GetRowCount() != int(expected.size()))
        return ::testing::AssertionFailure()
               << "rows " << actual.GetRowCount() << " instead of " << expected.size();
    for (size_t r = 0; r < expected.size(); ++r) {
        if (actual.GetCellCount(int(r)) != int(expected[r].size()))
            return ::testing::AssertionFailure() << "cells of row " << r;
        for (size_t c = 0; c < expected[r].size(); ++c)
            if (actual.GetCellText(int(r), int(c)) != expected[r][c])
                return ::testing::AssertionFailure() << "cell " << r << "," << c;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult sameRowMap(const CDataTableRowMap& actual, const Model& model)
{
    const int n = std::max(actual.GetSize(), int(model.origin.size()));
    for (int k = 0; k < n; ++k)
        if (actual.GetAt(k) != model.originAt(k))
            return ::testing::AssertionFailure()
                   << "entry " << k << " is " << actual.GetAt(k) << " instead of " << model.originAt(k);
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(ProjectTest, TableEditsAgreeWithAPlainModelOfTheFilteredView)
{
    const std::vector<std::string> texts{"", "a", "b", "x", "ax", "ba", "c"};
    std::mt19937 rng(20261209);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

    for (int sequence = 0; sequence < 200; ++sequence) {
        CVorteplanSoftLabelDoc doc;
        Model model;
        // A row map starts as the identity.
        for (int k = 0; k < CDataTableRowMap::kStep; ++k)
            model.origin.push_back(k);
        const int rows = pick(0, 12);
        for (int r = 0; r < rows; ++r)
            for (int c = 0, cells = pick(1, 4); c < cells; ++c) {
                const std::string& t = texts[size_t(pick(0, int(texts.size()) - 1))];
                doc.GetTable(0)->SetCellText(r, c, t);
                setCell(model.full, r, c, t);
            }
        auto filter = std::make_unique<CDataTableFilter>();
        filter->SetExcludeText("x", 0);
        filter->GetItem(0)->m_exclude[0] = 1;
        filter->GetItem(kHiddenColumn)->m_used = 0;
        doc.SetFilter(0, std::move(filter), nullptr);

        std::vector<std::string> log;
        for (int step = 0; step < 40; ++step) {
            const int visibleRows = doc.GetTableRowCount();
            std::string what;
            switch (pick(0, 11)) {
            case 0:
            case 1:
            case 2: {
                const int r = pick(0, visibleRows + 1), c = pick(0, 4);
                const std::string& t = texts[size_t(pick(0, int(texts.size()) - 1))];
                what = "write " + std::to_string(r) + "," + std::to_string(c) + "=" + t;
                doc.SetTableCellText(t, r, c);
                model.write(r, c, t);
                break;
            }
            case 3: {
                const int n = pick(0, visibleRows);
                what = "insert " + std::to_string(n);
                doc.InsertTableRow(n);
                model.insert(n);
                break;
            }
            case 9: {
                const int n = pick(0, visibleRows), count = pick(1, 3);
                what = "insert " + std::to_string(count) + " at " + std::to_string(n);
                doc.InsertTableRows(n, count);
                for (int i = 0; i < count; ++i)
                    model.insert(n);
                break;
            }
            case 10: {
                // A sequence or repeat with Insert: each text in `copies`
                // rows of their own before the rows from n on.
                const int n = pick(0, visibleRows), c = pick(0, 4), copies = pick(1, 2);
                std::vector<std::string> fill(size_t(pick(1, 3)));
                for (std::string& t : fill)
                    t = texts[size_t(pick(0, int(texts.size()) - 1))];
                what = "fill " + std::to_string(fill.size()) + "x" + std::to_string(copies) + " at " +
                       std::to_string(n) + "," + std::to_string(c);
                doc.FillTableColumn(fill, n, c, copies, true);
                int write = n;
                for (const std::string& t : fill) {
                    for (int k = 0; k < copies; ++k)
                        model.insert(write);
                    for (int k = 0; k < copies; ++k)
                        model.write(write++, c, t);
                }
                break;
            }
            case 4: {
                const int n = pick(0, visibleRows);
                what = "delete " + std::to_string(n);
                doc.DeleteTableRows(n);
                model.remove(n);
                break;
            }
            case 5: {
                const int c = pick(0, 3);
                const bool descending = pick(0, 1) == 1;
                what = "sort " + std::to_string(c) + (descending ? " down" : " up");
                ASSERT_TRUE(doc.SortTable(c, descending));
                model.sort(c, descending);
                break;
            }
            case 6:
                what = "toggle filter";
                doc.EnableTableFilter();
                model.toggle();
                break;
            case 7:
            case 8:
                what = "snapshot";
                doc.SaveTableUndoState();
                model.save();
                break;
            default:
                what = "undo";
                doc.UndoTable();
                model.restore();
                break;
            }
            log.push_back(what);
            std::string trace = "sequence " + std::to_string(sequence) + ":";
            for (const std::string& l : log)
                trace += " " + l + ";";
            ASSERT_TRUE(sameTable(*doc.GetTable(0), model.full)) << "full table, " << trace;
            ASSERT_TRUE(sameTable(*doc.GetFilteredTable(0), model.filtered)) << "filtered table, " << trace;
            ASSERT_TRUE(sameRowMap(*doc.GetRowMap(0), model)) << trace;
            ASSERT_EQ(doc.IsFilterInStep(0), model.inStep) << trace;
            ASSERT_EQ(doc.GetTableRowCount(), int(model.enabled ? model.filtered.size() : model.full.size()))
                << trace;
        }
    }
}
