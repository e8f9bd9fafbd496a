// The table store of the project document: the visible table with and
// without an enabled filter, writes in step, rows and columns through the
// maps, sorting, image columns, filter fields and the table undo.
#include "document/project/projectdoc.h"

#include "support/project_fixture.h"

using projtest::ProjectTest;

namespace {

class TableStoreTest : public ProjectTest {
protected:
    // Rows "<letter><n>" in A, B "b<n>", C "c<n>"; rows whose A holds an
    // 'x' fail the filter, whose column B is hidden.
    void fillTable(const std::vector<std::string>& columnA)
    {
        CDataTableBase& t = *doc.GetTable(0);
        for (size_t i = 0; i < columnA.size(); ++i) {
            t.SetCellText(int(i), 0, columnA[i]);
            t.SetCellText(int(i), 1, "b" + std::to_string(i));
            t.SetCellText(int(i), 2, "c" + std::to_string(i));
        }
    }
    void addFilter()
    {
        auto filter = std::make_unique<CDataTableFilter>();
        filter->SetExcludeText("x", 0);
        filter->GetItem(0)->m_exclude[0] = 1;
        filter->GetItem(1)->m_used = 0;
        doc.SetFilter(0, std::move(filter), nullptr);
    }
    const CDataTableBase& full() { return *doc.GetTable(0); }
    const CDataTableBase& filtered() { return *doc.GetFilteredTable(0); }

    CVorteplanSoftLabelDoc doc;
};

} // namespace

TEST_F(TableStoreTest, DisabledFilterLeavesTheFullTableVisible)
{
    fillTable({"a0", "x1", "a2"});
    addFilter();
    EXPECT_EQ(doc.GetTableRowCount(), 3);
    doc.SetTableCellText("new", 1, 2);
    EXPECT_EQ(full().GetCellText(1, 2), "new");
    EXPECT_EQ(filtered().GetRowCount(), 0);
    EXPECT_EQ(doc.GetSourceColumnIndex(1), 1);
}

TEST_F(TableStoreTest, EnablingBuildsTheFilteredCopyAndMaps)
{
    fillTable({"  a0", "x1", "a2", "x3", "-a4"});
    addFilter();
    doc.GetFilter(0)->GetItem(0)->m_trim = 1;
    doc.GetFilter(0)->SetStripChar("-", 0);
    doc.GetFilter(0)->GetItem(0)->m_strip[0] = 1;
    doc.EnableTableFilter();
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(doc.GetTableRowCount(), 3);
    EXPECT_EQ(doc.GetTableCellText(0, 0), "a0");
    EXPECT_EQ(doc.GetTableCellText(0, 1), "c0"); // B is hidden: C comes next
    EXPECT_EQ(doc.GetTableCellText(2, 0), "a4");
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(0), 0);
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(1), 2);
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(2), 3);
    EXPECT_EQ(doc.GetRowMap(0)->GetAt(1), 2);
    EXPECT_EQ(doc.GetRowMap(0)->GetAt(3), -1);
    EXPECT_EQ(doc.GetSourceColumnIndex(1), 2);
    EXPECT_TRUE(doc.IsFilterInStep(0));

    // In step: a write reaches the full table through both maps.
    doc.SetTableCellText("C2", 1, 1);
    EXPECT_EQ(full().GetCellText(2, 2), "C2");
    // Typed below the copy's rows: the row, and the empty rows in front of
    // it, become rows of the full table.
    doc.SetTableCellText("own", 5, 0);
    EXPECT_EQ(filtered().GetCellText(5, 0), "own");
    ASSERT_EQ(full().GetRowCount(), 8);
    EXPECT_EQ(full().GetCellText(7, 0), "own");
    EXPECT_EQ(full().GetCellCount(5), 0);
    EXPECT_EQ(doc.GetRowMap(0)->GetAt(3), 5);
    // A column of the copy that shows no full column keeps nothing.
    doc.SetTableCellText("lost", 0, 25);
    EXPECT_EQ(filtered().GetCellText(0, 25), "");
    EXPECT_EQ(full().GetCellCount(0), 3);

    doc.EnableTableFilter();
    EXPECT_EQ(doc.GetTableRowCount(), 8);
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(1), 1);
}

TEST_F(TableStoreTest, SortingTheFilteredCopyCarriesTheRowMapAlong)
{
    fillTable({"c", "x", "a", "b"});
    addFilter();
    doc.EnableTableFilter();
    // Another table with a filter in step.
    doc.SetCurrentTable(1);
    doc.SetFilter(1, std::make_unique<CDataTableFilter>(), nullptr);
    doc.GetTable(1)->SetCellText(0, 0, "t1");
    doc.EnableTableFilter();
    doc.SetCurrentTable(0);

    EXPECT_FALSE(doc.SortTable(27, false));
    EXPECT_FALSE(doc.SortTable(-1, false));
    EXPECT_TRUE(doc.IsFilterInStep(0));
    ASSERT_TRUE(doc.SortTable(0, false));
    EXPECT_EQ(doc.GetTableCellText(0, 0), "a");
    EXPECT_TRUE(doc.IsFilterInStep(0));
    // The row map moved with the rows.
    EXPECT_EQ(doc.GetRowMap(0)->GetAt(0), 2);
    EXPECT_EQ(doc.GetRowMap(0)->GetAt(2), 0);

    doc.SetTableCellText("changed", 0, 0);
    EXPECT_EQ(full().GetCellText(2, 0), "changed");
    doc.SetCurrentTable(1);
    doc.SetTableCellText("in step", 0, 0);
    EXPECT_EQ(doc.GetTable(1)->GetCellText(0, 0), "in step");
    doc.SetCurrentTable(0);

    // Deleting a sorted row deletes the full row it came from.
    doc.DeleteTableRows(0); // "changed", full row 2
    ASSERT_EQ(full().GetRowCount(), 3);
    EXPECT_EQ(full().GetCellText(2, 0), "b");
    EXPECT_EQ(doc.GetRowMap(0)->GetAt(0), 2); // "b", was 3
    EXPECT_EQ(doc.GetRowMap(0)->GetAt(1), 0); // "c"

    // Sorting with the filter disabled keeps the in-step state.
    doc.ApplyTableFilter();
    doc.EnableTableFilter();
    ASSERT_TRUE(doc.SortTable(0, true));
    EXPECT_EQ(full().GetCellText(0, 0), "x");
    EXPECT_TRUE(doc.IsFilterInStep(0));
}

TEST_F(TableStoreTest, RowsInsertedAndDeletedThroughTheRowMap)
{
    fillTable({"a0", "x1", "a2", "x3", "a4"});
    addFilter();
    doc.EnableTableFilter(); // filtered rows 0, 1, 2 from full rows 0, 2, 4

    doc.InsertTableRow(1); // after full row 0
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(full().GetRowCount(), 6);
    EXPECT_EQ(full().GetCellCount(1), 0);
    EXPECT_EQ(doc.GetTableRowCount(), 4);
    const std::vector<int> expected{0, 1, 3, 5, -1};
    for (size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(doc.GetRowMap(0)->GetAt(int(k)), expected[k]) << k;
    doc.SetTableCellText("n", 1, 0);
    EXPECT_EQ(full().GetCellText(1, 0), "n");

    doc.SetModifiedFlag(false);
    doc.DeleteTableRows(0); // full row 0
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(full().GetRowCount(), 5);
    EXPECT_EQ(full().GetCellText(0, 0), "n");
    // Later entries follow their full rows down, so writes still land right.
    EXPECT_EQ(doc.GetRowMap(0)->GetAt(1), 2);
    EXPECT_EQ(doc.GetRowMap(0)->GetAt(2), 4);
    doc.SetTableCellText("A4", 2, 0);
    EXPECT_EQ(full().GetCellText(4, 0), "A4");

    // A row of the filtered copy's own deletes nothing in the full table.
    doc.SetTableCellText("own", 3, 0);
    doc.DeleteTableRows(3);
    EXPECT_EQ(full().GetRowCount(), 5);
    EXPECT_EQ(doc.GetTableRowCount(), 3);
    doc.DeleteTableRows(7);
    doc.DeleteTableRows(-1);
    EXPECT_EQ(full().GetRowCount(), 5);
}

TEST_F(TableStoreTest, ColumnsKeepFilterItemsAndMapAligned)
{
    fillTable({"a0", "a1"});
    addFilter(); // B hidden
    EXPECT_FALSE(doc.InsertTableColumn(-1));
    EXPECT_FALSE(doc.DeleteTableColumn(-1));
    ASSERT_TRUE(doc.InsertTableColumn(0)); // filter disabled: full column 0
    EXPECT_EQ(full().GetCellText(0, 1), "a0");
    EXPECT_EQ(doc.GetFilter(0)->GetItem(2)->m_used, 0);
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(5), 5);

    doc.EnableTableFilter(); // shown: A (new), B (a), D (c)
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(2), 3);
    // View column 2 shows full column D: the column goes in before D.
    ASSERT_TRUE(doc.InsertTableColumn(2));
    EXPECT_EQ(full().GetCellText(0, 4), "c0");
    EXPECT_EQ(full().GetCellCount(0), 5);
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(2), 3);
    EXPECT_EQ(doc.GetTableMap(0)->GetAt(3), 4);
    EXPECT_EQ(doc.GetTableCellText(0, 3), "c0");
    ASSERT_TRUE(doc.DeleteTableColumn(1)); // full column B ("a")
    EXPECT_EQ(full().GetCellText(1, 0), "");
    EXPECT_EQ(full().GetCellText(1, 1), "b1");
    EXPECT_EQ(doc.GetTableCellText(1, 2), "c1");
    EXPECT_EQ(doc.GetFilter(0)->GetItem(1)->m_used, 0);
}

TEST_F(TableStoreTest, CellTextsAreCutOnCharacterBoundaries)
{
    doc.GetTable(0)->SetCellText(0, 0, "abcdef");
    char buffer[4];
    doc.GetTableCellText(0, 0, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "abc");
    doc.GetTableCellText(0, 0, nullptr, 4);
    doc.GetTableCellText(0, 0, buffer, 0);

    // Shift-JIS: "a" then two two-byte characters.
    doc.SetTableCharSet(128);
    doc.GetTable(0)->SetCellText(0, 1, "a\x82\xa0\x82\xa2");
    doc.GetTableCellText(0, 1, buffer, sizeof(buffer)); // room for 3 bytes
    EXPECT_STREQ(buffer, "a\x82\xa0");
    char two[3];
    doc.GetTableCellText(0, 1, two, sizeof(two));
    EXPECT_STREQ(two, "a");
}

TEST_F(TableStoreTest, ImageColumnsAndFilterFields)
{
    doc.ToggleImageColumn(2);
    EXPECT_TRUE(doc.IsImageColumn(2));
    doc.ToggleImageColumn(5);
    EXPECT_EQ(doc.GetImageColumnNumber(5), 2);
    EXPECT_EQ(doc.GetImageColumnNumber(4), -1);
    EXPECT_EQ(doc.GetImageColumnNumber(300), -1);
    EXPECT_EQ(doc.GetImageColumnCount(), 2);
    doc.SetModifiedFlag(false);
    doc.ToggleImageColumn(2);
    doc.ToggleImageColumn(2);
    EXPECT_TRUE(doc.IsImageColumn(2));
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    doc.ToggleImageColumn(256);
    EXPECT_TRUE(doc.IsModified());

    EXPECT_EQ(doc.GetFilterFieldText(5), "");
    EXPECT_FALSE(doc.ToggleFilterColumnFlag(0, 0)); // no filter
    addFilter();
    doc.SetFilterFieldText(2, "#");
    doc.SetFilterFieldText(7, "inc");
    doc.SetFilterFieldText(10, "exc");
    doc.SetFilterFieldText(11, "none");
    EXPECT_EQ(doc.GetFilterFieldText(2), "#");
    EXPECT_EQ(doc.GetFilter(0)->GetIncludeText(2), "inc");
    EXPECT_EQ(doc.GetFilterFieldText(10), "exc");
    EXPECT_EQ(doc.GetFilterFieldText(1), "");
    EXPECT_FALSE(doc.GetFilterColumnFlag(0, 1));
    EXPECT_TRUE(doc.ToggleFilterColumnFlag(9, 4));
    EXPECT_EQ(doc.GetFilter(0)->GetItem(4)->m_exclude[1], 1);
    EXPECT_TRUE(doc.GetFilterColumnFlag(9, 4));
    EXPECT_FALSE(doc.ToggleFilterColumnFlag(11, 4));
    EXPECT_FALSE(doc.ToggleFilterColumnFlag(1, 256));
}

TEST_F(TableStoreTest, UndoKeepsSixteenSnapshotsAndHonoursTheSwitch)
{
    EXPECT_EQ(doc.GetTableUndoDepth(), 16);
    doc.UndoTable(); // nothing to undo
    EXPECT_EQ(full().GetRowCount(), 0);

    addFilter();
    for (int i = 0; i < 17; ++i) {
        doc.SaveTableUndoState();
        doc.SetTableCellText(std::to_string(i), 0, 0);
    }
    EXPECT_NE(doc.GetTableSnapshot(0, 15), nullptr);
    EXPECT_NE(doc.GetRowMapSnapshot(0, 15), nullptr);
    for (int i = 16; i >= 1; --i) {
        doc.UndoTable();
        EXPECT_EQ(full().GetCellText(0, 0), std::to_string(i - 1)) << i;
    }
    doc.UndoTable(); // the 17th snapshot was dropped
    EXPECT_EQ(full().GetCellText(0, 0), "0");

    doc.SetTableUndo(0, false);
    doc.SaveTableUndoState();
    doc.SetTableCellText("kept", 0, 0);
    doc.UndoTable();
    EXPECT_EQ(full().GetCellText(0, 0), "kept");
}

TEST_F(TableStoreTest, ReplacingTheCurrentTableIsOneUndoStep)
{
    fillTable({"a0", "x1"});
    addFilter();
    doc.EnableTableFilter();
    CDataTableBase imported;
    imported.SetCellText(0, 0, "imp");
    imported.SetCellText(1, 0, "x");
    doc.ReplaceCurrentTable(imported, "book.xls - Sheet1");
    EXPECT_EQ(doc.GetTableName(0), "book.xls - Sheet1");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(full(), imported);
    EXPECT_EQ(doc.GetTableRowCount(), 1); // the filter runs over the new rows
    EXPECT_EQ(doc.GetTableCellText(0, 0), "imp");
    doc.UndoTable();
    EXPECT_EQ(full().GetCellText(0, 0), "a0");
    EXPECT_EQ(filtered().GetCellText(0, 1), "c0");
}

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The table of the filtered-edit cases: column A holds K1, X2, K3, column B
// b1, b2, b3; only rows whose A holds a K pass, and column B is hidden, so
// filtered column 1 is full column C.
std::unique_ptr<CVorteplanSoftLabelDoc> filteredDocument()
{
    auto doc = std::make_unique<CVorteplanSoftLabelDoc>();
    EXPECT_TRUE(doc->OnNewDocument());
    const Rows rows{{"K1", "b1"}, {"X2", "b2"}, {"K3", "b3"}};
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            doc->GetTable(0)->SetCellText(int(r), int(c), rows[r][c]);
    auto filter = std::make_unique<CDataTableFilter>();
    filter->SetIncludeText("K", 0);
    filter->GetItem(0)->m_include[0] = 1;
    filter->GetItem(1)->m_used = 0;
    doc->SetFilter(0, std::move(filter), nullptr);
    doc->EnableTableFilter();
    return doc;
}

std::unique_ptr<CVorteplanSoftLabelDoc> reopened(CVorteplanSoftLabelDoc& doc, const QString& file)
{
    EXPECT_TRUE(doc.SaveByExtension(file));
    auto back = std::make_unique<CVorteplanSoftLabelDoc>();
    EXPECT_TRUE(back->Open(file));
    return back;
}

::testing::AssertionResult holds(const CDataTableBase& table, const Rows& expected)
{
    if (table.GetRowCount() != int(expected.size()))
        return ::testing::AssertionFailure() << table.GetRowCount() << " rows instead of " << expected.size();
    for (size_t r = 0; r < expected.size(); ++r)
        for (size_t c = 0; c < 4; ++c) {
            const std::string want = c < expected[r].size() ? expected[r][c] : std::string();
            if (table.GetCellText(int(r), int(c)) != want)
                return ::testing::AssertionFailure() << "cell " << r << "," << c << " is \""
                                                     << table.GetCellText(int(r), int(c)) << "\" instead of \""
                                                     << want << "\"";
        }
    return ::testing::AssertionSuccess();
}

struct FilteredEdit {
    const char* name;
    // Brings the filtered document of filteredDocument() (with files in
    // `dir`) to where the user types.
    std::unique_ptr<CVorteplanSoftLabelDoc> (*route)(std::unique_ptr<CVorteplanSoftLabelDoc>, const QTemporaryDir& dir);
    int row, column; // the filtered cell typed into
    const char* text;
    Rows full;       // the full table afterwards
    Rows refiltered; // the filtered view after the filter is turned off and on
};

std::unique_ptr<CVorteplanSoftLabelDoc> viaProject(std::unique_ptr<CVorteplanSoftLabelDoc> doc, const QTemporaryDir& dir)
{
    return reopened(*doc, dir.filePath("route.proj"));
}

} // namespace

TEST_F(ProjectTest, FilteredEditsReachTheFullTable)
{
    const std::vector<FilteredEdit> cases{
        {"after a reopen", viaProject, 0, 1, "EDIT",
         {{"K1", "b1", "EDIT"}, {"X2", "b2"}, {"K3", "b3"}}, {{"K1", "EDIT"}, {"K3"}}},
        {"after a table-file read",
         [](std::unique_ptr<CVorteplanSoftLabelDoc> doc, const QTemporaryDir& dir) {
             EXPECT_TRUE(doc->SaveTableFile(dir.filePath("route.tbf")));
             auto back = std::make_unique<CVorteplanSoftLabelDoc>();
             EXPECT_TRUE(back->OnNewDocument());
             EXPECT_TRUE(back->ReadTbfFile(dir.filePath("route.tbf")));
             return back;
         },
         1, 1, "EDIT", {{"K1", "b1"}, {"X2", "b2"}, {"K3", "b3", "EDIT"}}, {{"K1"}, {"K3", "EDIT"}}},
        {"after a sort",
         [](std::unique_ptr<CVorteplanSoftLabelDoc> doc, const QTemporaryDir&) {
             EXPECT_TRUE(doc->SortTable(0, true)); // K3, K1
             return doc;
         },
         0, 1, "EDIT", {{"K1", "b1"}, {"X2", "b2"}, {"K3", "b3", "EDIT"}}, {{"K1"}, {"K3", "EDIT"}}},
        {"after an insert",
         [](std::unique_ptr<CVorteplanSoftLabelDoc> doc, const QTemporaryDir& dir) {
             doc = viaProject(std::move(doc), dir);
             doc->InsertTableRow(1); // in front of K3: after K1 in the full table
             return doc;
         },
         1, 0, "K5", {{"K1", "b1"}, {"K5"}, {"X2", "b2"}, {"K3", "b3"}}, {{"K1"}, {"K5"}, {"K3"}}},
        {"after a delete",
         [](std::unique_ptr<CVorteplanSoftLabelDoc> doc, const QTemporaryDir& dir) {
             doc = viaProject(std::move(doc), dir);
             doc->DeleteTableRows(1); // K3
             return doc;
         },
         0, 1, "EDIT", {{"K1", "b1", "EDIT"}, {"X2", "b2"}}, {{"K1", "EDIT"}}},
        {"after a reopen of a row edited out of the filter",
         [](std::unique_ptr<CVorteplanSoftLabelDoc> doc, const QTemporaryDir& dir) {
             doc->SetTableCellText("Y1", 0, 0);
             return viaProject(std::move(doc), dir);
         },
         0, 1, "EDIT", {{"Y1", "b1", "EDIT"}, {"X2", "b2"}, {"K3", "b3"}}, {{"K3"}}},
        {"below the filtered rows",
         [](std::unique_ptr<CVorteplanSoftLabelDoc> doc, const QTemporaryDir&) { return doc; }, 2, 0, "K4",
         {{"K1", "b1"}, {"X2", "b2"}, {"K3", "b3"}, {"K4"}}, {{"K1"}, {"K3"}, {"K4"}}},
        // A file whose filtered copy holds a text its full table lacks: the
        // row is kept as a row of the full table.
        {"after a reopen of an older file",
         [](std::unique_ptr<CVorteplanSoftLabelDoc> doc, const QTemporaryDir& dir) {
             doc->GetFilteredTable(0)->SetCellText(0, 1, "OLD");
             doc = viaProject(std::move(doc), dir);
             EXPECT_EQ(doc->GetTableCellText(0, 1), "OLD");
             return doc;
         },
         1, 1, "EDIT", {{"K1", "b1"}, {"X2", "b2"}, {"K3", "b3", "EDIT"}, {"K1", "", "OLD"}},
         {{"K1"}, {"K3", "EDIT"}, {"K1", "OLD"}}},
    };
    for (const FilteredEdit& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        std::unique_ptr<CVorteplanSoftLabelDoc> doc = c.route(filteredDocument(), dir);
        ASSERT_TRUE(doc->IsTableFilterEnabled());
        const CDataTableBase fullBefore = *doc->GetTable(0);
        const CDataTableBase filteredBefore = *doc->GetFilteredTable(0);

        // Typed as the table view stores it: one undo snapshot, one write.
        doc->SaveTableUndoState();
        doc->SetTableCellText(c.text, c.row, c.column);
        EXPECT_EQ(doc->GetTableCellText(c.row, c.column), c.text);
        EXPECT_TRUE(holds(*doc->GetTable(0), c.full));
        doc->UndoTable();
        EXPECT_EQ(*doc->GetTable(0), fullBefore);
        EXPECT_EQ(*doc->GetFilteredTable(0), filteredBefore);

        doc->SaveTableUndoState();
        doc->SetTableCellText(c.text, c.row, c.column);
        doc->EnableTableFilter();
        EXPECT_TRUE(holds(*doc->GetTable(0), c.full)) << "filter off";
        doc->EnableTableFilter();
        EXPECT_TRUE(holds(*doc->GetFilteredTable(0), c.refiltered)) << "filter on again";

        std::unique_ptr<CVorteplanSoftLabelDoc> back = reopened(*doc, dir.filePath("saved.proj"));
        EXPECT_TRUE(holds(*back->GetTable(0), c.full)) << "reopened";
        EXPECT_TRUE(holds(*back->GetFilteredTable(0), c.refiltered)) << "reopened";
        EXPECT_TRUE(m_ui.messages.empty());
    }
}
