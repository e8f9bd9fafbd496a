// The Excel import end to end: a worksheet file into the document's current
// table as one undo step, the tab named after file and sheet.
#include "tables/import/excelimportcommand.h"

#include "support/project_fixture.h"
#include "document/project/projectdoc.h"
#include "support/biff_builder.h"
#include "tables/import/excelfilemanager.h"

using namespace bifftest;

namespace {

struct FirstSheet : CExcelSheetChooser {
    std::optional<int> ChooseSheet(const std::vector<std::string>&) override { return 0; }
};

// An Excel 2.1 worksheet with two labels.
std::string worksheet()
{
    auto label = [](int row, int col, std::string_view text) {
        return fields({{2, uint32_t(row)}, {2, uint32_t(col)}, {1, 0}, {1, 0}, {1, 0}, {1, uint32_t(text.size())}}) +
               std::string(text);
    };
    Stream s;
    s.rec(0x0009, fields({{2, 2}, {2, 0x10}}))
        .rec(0x0004, label(0, 0, "imported"))
        .rec(0x0004, label(3, 1, "deep"))
        .rec(0x000A, "");
    return s.data();
}

using ExcelImportCommand = projtest::ProjectTest;

} // namespace

TEST_F(ExcelImportCommand, ExcelImportReplacesTheCurrentTableAsOneUndoStep)
{
    CVorteplanSoftLabelDoc doc;
    doc.SetCurrentTable(1);
    doc.GetTable(1)->SetCellText(0, 0, "old");
    doc.GetTable(1)->SetCellText(0, 5, "kept");
    writeFile(path("Parts.xls"), worksheet());
    writeFile(path("bad.xls"), "not a workbook");
    FirstSheet chooser;

    EXPECT_FALSE(ImportExcelIntoCurrentTable(doc, path("bad.xls"), chooser, '.'));
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "Can not open file " + path("bad.xls").toStdString());
    EXPECT_EQ(doc.GetTableSnapshot(1, 0), nullptr);
    EXPECT_FALSE(doc.IsModified());

    ASSERT_TRUE(ImportExcelIntoCurrentTable(doc, path("Parts.xls"), chooser, '.'));
    const CDataTableBase& t = *doc.GetTable(1);
    EXPECT_EQ(t.GetCellText(0, 0), "imported");
    EXPECT_EQ(t.GetCellText(0, 5), "kept"); // the sheet's cells land on the table
    EXPECT_EQ(t.GetCellText(3, 1), "deep");
    EXPECT_EQ(doc.GetTableName(1), "Parts.xls - ");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.GetTable(0)->GetRowCount() == 0);

    doc.UndoTable();
    EXPECT_EQ(doc.GetTable(1)->GetCellText(0, 0), "old");
    EXPECT_EQ(doc.GetTable(1)->GetRowCount(), 1);
}
