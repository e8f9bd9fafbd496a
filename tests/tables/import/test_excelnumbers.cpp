// Number cells of every Excel generation built record by record: whole
// numbers keep all their digits in every kind of number record, fractions
// print as before, and a sheet whose stream ends before its EOF record is
// refused.
#include "excel_import_support.h"
#include "support/excel_numbers_book.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace bifftest;
using namespace excelnumbers;
using namespace excelimporttest;
using Status = ExcelImportResult::Status;

namespace {

// Start positions of the records of a stream.
std::vector<size_t> recordStarts(const std::string& stream)
{
    std::vector<size_t> starts;
    for (size_t at = 0; at + 4 <= stream.size();) {
        starts.push_back(at);
        at += 4 + (uint8_t(stream[at + 2]) | uint8_t(stream[at + 3]) << 8);
    }
    return starts;
}

} // namespace

TEST(ExcelNumbers, WholeNumbersKeepTheirDigitsInEveryRecord)
{
    for (Biff v : kAll) {
        SCOPED_TRACE(nameOf(v));
        for (char separator : {'.', ','}) {
            ScriptedChooser chooser;
            const ExcelImportResult r = importData(fileOf(v, numbersStream(v)), chooser, "n.xls", separator);
            ASSERT_EQ(r.status, Status::Ok);
            const CDataTableBase& t = r.table;
            auto local = [separator](std::string text) {
                for (char& c : text)
                    if (c == '.')
                        c = separator;
                return text;
            };
            for (size_t i = 0; i < std::size(kDoubles); ++i) {
                EXPECT_EQ(t.GetCellText(0, int(i)), local(kDoubles[i].text)) << "NUMBER " << kDoubles[i].value;
                EXPECT_EQ(t.GetCellText(1, int(i)), local(kDoubles[i].text)) << "FORMULA " << kDoubles[i].value;
            }
            for (size_t i = 0; i < std::size(kRk); ++i) {
                EXPECT_EQ(t.GetCellText(2, int(i)), local(kRk[i].text)) << "RK " << i;
                EXPECT_EQ(t.GetCellText(3, int(i)), local(kRk[i].text)) << "MULRK " << i;
            }
            // A "0.00" format prints its decimals wherever the record's
            // format rule finds it: NUMBER always; RK not in Excel 2.1
            // (built-in formats only), MULRK only from Excel 5.0 on.
            const bool rkFormatted = v != Biff::V2;
            const bool mulRkFormatted = v == Biff::V5 || v == Biff::V8;
            EXPECT_EQ(t.GetCellText(4, 0), local("3710301.00"));
            EXPECT_EQ(t.GetCellText(4, 1), local("7391234567890.00"));
            EXPECT_EQ(t.GetCellText(4, 2), local("0.00"));
            EXPECT_EQ(t.GetCellText(4, 3), local(rkFormatted ? "3710301.00" : "3710301"));
            EXPECT_EQ(t.GetCellText(4, 4), local(mulRkFormatted ? "824633720832.00" : "824633720832"));
        }
    }
}

TEST(ExcelNumbers, SheetCutBeforeItsEofIsRefused)
{
    for (Biff v : kAll) {
        SCOPED_TRACE(nameOf(v));
        const std::string whole = numbersStream(v);
        const bool book = v == Biff::V5 || v == Biff::V8;
        const std::vector<size_t> starts = recordStarts(whole);
        // The records of the (first) number sheet: from its BOF on.
        size_t sheetBof = 0;
        if (book)
            for (size_t i = 0, bofs = 0; i < starts.size(); ++i)
                if (whole.substr(starts[i], 2) == "\x09\x08" && ++bofs == 2) {
                    sheetBof = i;
                    break;
                }
        size_t sheetEof = sheetBof;
        while (whole.substr(starts[sheetEof], 2) != std::string("\x0A\x00", 2))
            ++sheetEof;

        ScriptedChooser chooser;
        for (size_t cut = sheetBof + 1; cut <= sheetEof; ++cut) {
            SCOPED_TRACE(cut);
            const ExcelImportResult r = importData(fileOf(v, whole.substr(0, starts[cut])), chooser);
            EXPECT_EQ(r.status, Status::Failed);
            EXPECT_EQ(r.table.GetRowCount(), 0);
        }
        if (!book)
            continue;
        // A workbook cut in its last sheet: the sheets before it are whole.
        const std::string cutTail = fileOf(v, whole.substr(0, whole.size() - 4));
        chooser.answer = 0;
        const ExcelImportResult first = importData(cutTail, chooser);
        ASSERT_EQ(first.status, Status::Ok);
        EXPECT_EQ(first.table.GetCellText(0, 2), "7391234567890");
        chooser.answer = 1;
        EXPECT_EQ(importData(cutTail, chooser).status, Status::Failed);
        EXPECT_EQ(importData(fileOf(v, whole), chooser).table.GetCellText(0, 0), "tail");
    }
}
