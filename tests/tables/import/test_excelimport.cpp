#include "excel_import_support.h"
#include "support/biff_builder.h"
#include "platform/recordingui.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace bifftest;
using namespace excelimporttest;
using Status = ExcelImportResult::Status;

namespace {

std::string cell(int row, int col, int xf) { return fields({{2, uint32_t(row)}, {2, uint32_t(col)}, {2, uint32_t(xf)}}); }
std::string number(int row, int col, int xf, double v)
{
    std::string b = cell(row, col, xf);
    putDouble(b, v);
    return b;
}
std::string rk(int row, int col, int xf, uint32_t value) { return cell(row, col, xf) + fields({{4, value}}); }
// RK of a double that fits in the upper 32 bits.
uint32_t rkDouble(double d)
{
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return uint32_t(bits >> 32);
}
std::string label5(int row, int col, std::string_view text)
{
    return cell(row, col, 0) + fields({{2, uint32_t(text.size())}}) + std::string(text);
}
std::string formula(int row, int col, int xf, const std::string& result8)
{
    return cell(row, col, xf) + result8 + fields({{2, 0}, {4, 0}, {2, 0}});
}
std::string stringResult() { return fields({{1, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 0}, {2, 0xFFFF}}); }

// Excel 2.1 cell: row, column, three attribute bytes (XF in the first).
std::string cell2(int row, int col, int xf)
{
    return fields({{2, uint32_t(row)}, {2, uint32_t(col)}, {1, uint32_t(xf)}, {1, 0}, {1, 0}});
}

} // namespace

TEST(ExcelImport, ReadsExcel21Worksheet)
{
    Stream s;
    s.rec(0x0009, fields({{2, 2}, {2, 0x10}}))
        .rec(0x001E, fields({{1, 7}}) + "General")
        .rec(0x001E, fields({{1, 5}}) + "0.000")
        .rec(0x0043, fields({{1, 0}, {1, 0}, {1, 0}}))
        .rec(0x0043, fields({{1, 0}, {1, 0}, {1, 0x41}})) // format 1, high bits ignored
        .rec(0x0002, cell2(0, 0, 1) + fields({{2, 7}}))
        .rec(0x0002, cell2(0, 1, 0) + fields({{2, 65535}}));
    std::string n = cell2(1, 0, 0);
    putDouble(n, 1.0 / 3);
    s.rec(0x0003, n);
    std::string f = cell2(1, 1, 1);
    putDouble(f, 2.5);
    s.rec(0x0006, f + fields({{1, 0}, {1, 0}}))
        .rec(0x0004, cell2(2, 0, 0) + fields({{1, 3}}) + "abc")
        .rec(0x0004, cell2(2, 26, 0) + fields({{1, 1}}) + "Z")
        .rec(0x0004, cell2(40000, 2, 0) + fields({{1, 4}}) + "deep")
        .rec(0x000A, "")
        .rec(0x0004, cell2(3, 0, 0) + fields({{1, 5}}) + "after");
    ScriptedChooser chooser;
    const ExcelImportResult r = importData(s.data(), chooser, "t.xls", ',');
    ASSERT_EQ(r.status, Status::Ok);
    const CDataTableBase& t = r.table;
    EXPECT_EQ(t.GetCellText(0, 0), "7,000");
    EXPECT_EQ(t.GetCellText(0, 1), "65535");
    EXPECT_EQ(t.GetCellText(1, 0), "0,33333333");
    EXPECT_EQ(t.GetCellText(1, 1), "2,500");
    EXPECT_EQ(t.GetCellText(2, 0), "abc");
    EXPECT_EQ(t.GetCellCount(2), 1); // column 27 is beyond Z
    EXPECT_EQ(t.GetCellText(40000, 2), "deep");
    EXPECT_EQ(t.GetRowCount(), 40001); // nothing after EOF
    EXPECT_TRUE(chooser.asked.empty());
    EXPECT_EQ(r.tabName, "t.xls - ");
}

TEST(ExcelImport, ReadsExcel3And4Worksheets)
{
    // Formats: 0 "General", 1 "0.0"; XF n has format n.
    auto sheet = [](uint16_t bof, uint16_t format, std::string before, uint16_t xf) {
        Stream s;
        s.rec(bof, fields({{2, 0}, {2, 0x10}}))
            .rec(format, before + fields({{1, 7}}) + "General")
            .rec(format, before + fields({{1, 3}}) + "0.0")
            .rec(xf, fields({{1, 0}, {1, 0}}))
            .rec(xf, fields({{1, 0}, {1, 1}}))
            .rec(0x0203, number(0, 0, 1, 1.25))
            .rec(0x027E, rk(0, 1, 1, (123456789u << 2) | 2))
            .rec(0x027E, rk(0, 2, 0, (123456789u << 2) | 2))
            .rec(0x00BD, fields({{2, 1}, {2, 0}, {2, 1}, {4, (5u << 2) | 3}, {2, 1}, {4, rkDouble(1.5)}, {2, 1}}))
            .rec(0x0204, label5(2, 0, std::string(300, 'q')))
            .rec(0x0206, formula(3, 0, 1, [] { std::string d; putDouble(d, 4.75); return d; }()))
            .rec(0x0206, formula(3, 1, 0, stringResult()))
            .rec(0x0207, fields({{2, 4}}) + "text")
            .rec(0x000A, "");
        return s.data();
    };
    ScriptedChooser chooser;
    const ExcelImportResult b3 = importData(sheet(0x0209, 0x001E, "", 0x0243), chooser);
    ASSERT_EQ(b3.status, Status::Ok);
    EXPECT_EQ(b3.table.GetCellText(0, 0), "1.2"); // rounded half to even: 1.25 is exact
    EXPECT_EQ(b3.table.GetCellText(0, 1), "123456789.0");
    EXPECT_EQ(b3.table.GetCellText(0, 2), "123456789"); // whole: every digit
    EXPECT_EQ(b3.table.GetCellText(1, 0), "0.05");          // MULRK: "%g", no format
    EXPECT_EQ(b3.table.GetCellText(1, 1), "1.5");
    EXPECT_EQ(b3.table.GetCellText(2, 0), std::string(255, 'q')); // cut to the cell, not to 44 bytes
    EXPECT_EQ(b3.table.GetCellText(3, 0), "4.8");
    EXPECT_EQ(b3.table.GetCellText(3, 1), "text");

    const ExcelImportResult b4 =
        importData(sheet(0x0409, 0x041E, fields({{2, 0}}), 0x0443), chooser);
    ASSERT_EQ(b4.status, Status::Ok);
    EXPECT_EQ(b4.table.GetCellText(0, 1), "123456789.0");
    EXPECT_EQ(b4.table.GetCellText(0, 2), "123456789"); // not "%g" of Excel 4
    EXPECT_EQ(b4.table.GetCellText(2, 0), std::string(255, 'q'));
}

TEST(ExcelImport, Excel4WorkbookOnlyWhenTheNameEndsInW)
{
    Stream s;
    s.rec(0x0409, fields({{2, 0}, {2, 0x100}}))
        .rec(0x0085, fields({{1, 5}}) + "First")
        .rec(0x0085, fields({{1, 6}}) + "Second")
        .rec(0x000A, "")
        .rec(0x0409, fields({{2, 0}, {2, 0x10}}))
        .rec(0x0204, label5(0, 0, "one"))
        .rec(0x000A, "")
        .rec(0x0409, fields({{2, 0}, {2, 0x10}}))
        .rec(0x0204, label5(0, 0, "two"))
        .rec(0x000A, "");
    ScriptedChooser chooser;
    chooser.answer = 1;
    const ExcelImportResult book = importData(s.data(), chooser, "book.XLW");
    ASSERT_EQ(book.status, Status::Ok);
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0], (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(book.table.GetCellText(0, 0), "two");
    EXPECT_EQ(book.sheetName, "Second");
    EXPECT_EQ(book.tabName, "book.XLW - Second");

    // As a worksheet, the EOF of the globals ends the sheet at once.
    const ExcelImportResult sheet = importData(s.data(), chooser, "book.xls");
    ASSERT_EQ(sheet.status, Status::Ok);
    EXPECT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(sheet.table.GetRowCount(), 0);
}

namespace {

// Excel 5 workbook: globals with formats, XFs and three sheets, the middle
// one hidden. XF 1 has the built-in format 2, XF 2 the custom format 164.
std::string excel5Book()
{
    Stream s;
    s.rec(0x0809, fields({{2, 0x500}, {2, 5}}))
        .rec(0x041E, fields({{2, 164}, {1, 6}}) + "0.000%")
        .rec(0x00E0, fields({{2, 0}, {2, 0}}))
        .rec(0x00E0, fields({{2, 0}, {2, 2}}))
        .rec(0x00E0, fields({{2, 0}, {2, 164}}));
    std::vector<size_t> posFields;
    for (auto [name, hidden] : {std::pair{"Alpha", 0}, {"Hidden", 1}, {"Gamma", 0}}) {
        posFields.push_back(s.size() + 4);
        s.rec(0x0085, fields({{4, 0}, {1, uint32_t(hidden)}, {1, 0}, {1, uint32_t(strlen(name))}}) + name);
    }
    s.rec(0x000A, "");
    for (int sheet = 0; sheet < 3; ++sheet) {
        s.patch32(posFields[size_t(sheet)], uint32_t(s.size()));
        s.rec(0x0809, fields({{2, 0x500}, {2, 0x10}}))
            .rec(0x027E, rk(0, 0, 1, rkDouble(1.5)))
            .rec(0x0203, number(0, 1, 1, 1.5))
            .rec(0x027E, rk(0, 2, 2, rkDouble(0.125)))
            .rec(0x00BD, fields({{2, 1}, {2, 0}, {2, 1}, {4, 10 << 2 | 2}, {2, 0}, {4, 10 << 2 | 2}, {2, 1}}))
            .rec(0x0204, label5(2, 0, "sheet " + std::to_string(sheet)))
            .rec(0x0204, label5(50000, 0, "low"))
            .rec(0x000A, "");
    }
    return s.data();
}

} // namespace

TEST(ExcelImport, Excel5WorkbookFormatsAndSheets)
{
    ScriptedChooser chooser;
    chooser.answer = 1;
    const ExcelImportResult plain = importData(excel5Book(), chooser);
    ASSERT_EQ(plain.status, Status::Ok);
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0], (std::vector<std::string>{"Alpha", "Gamma"}));
    const CDataTableBase& t = plain.table;
    EXPECT_EQ(t.GetCellText(2, 0), "sheet 2");
    EXPECT_EQ(t.GetCellText(0, 0), "1.50"); // RK: built-in format 2
    EXPECT_EQ(t.GetCellText(0, 1), "1.5");  // NUMBER: only FORMAT entries
    EXPECT_EQ(t.GetCellText(0, 2), "0.125");  // three decimals, percent not applied
    EXPECT_EQ(t.GetCellText(1, 0), "10.00");
    EXPECT_EQ(t.GetCellText(1, 1), "10");
    EXPECT_EQ(t.GetCellText(50000, 0), "low");

    // The same stream as "Book" of a compound file.
    chooser.answer = 0;
    const ExcelImportResult book = importData(compoundFile({{u"BOOK", excel5Book()}}), chooser);
    ASSERT_EQ(book.status, Status::Ok);
    EXPECT_EQ(book.table.GetCellText(2, 0), "sheet 0");
    EXPECT_EQ(book.tabName, "t.xls - Alpha");
}

TEST(ExcelImport, ReadsIntoACopyOfTheCurrentTable)
{
    CDataTableBase current;
    current.SetCellText(0, 5, "kept");
    current.SetCellText(2, 0, "replaced");
    ScriptedChooser chooser;
    CExcelFileManager manager(chooser, '.');
    const ExcelImportResult r = manager.ImportData(excel5Book(), "t.xls", current);
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_EQ(r.table.GetCellText(0, 5), "kept");
    EXPECT_EQ(r.table.GetCellText(2, 0), "sheet 0");
    EXPECT_EQ(current.GetCellText(2, 0), "replaced");
}

TEST(ExcelImport, FailuresAndCancel)
{
    CRecordingUi ui;
    UiScope scope(ui);
    ScriptedChooser chooser;
    chooser.answer = std::nullopt;
    EXPECT_EQ(importData(excel5Book(), chooser).status, Status::Cancelled);

    chooser.answer = 0;
    std::string wrongVersion = excel5Book();
    wrongVersion[1] = 0x06;
    EXPECT_EQ(importData(wrongVersion, chooser).status, Status::Failed);
    EXPECT_EQ(importData("\x08\x08xxxx", chooser).status, Status::Failed);
    EXPECT_EQ(importData(compoundFile({{u"Other", excel5Book()}}), chooser).status, Status::Failed);

    // A record cut off by the end of the data.
    const std::string whole = excel5Book();
    chooser.answer = 1;
    EXPECT_EQ(importData(whole.substr(0, whole.size() - 6), chooser).status, Status::Failed);
    chooser.answer = 0;
    // A sheet position beyond the stream.
    std::string badPos = whole;
    badPos[whole.find("Alpha") - 4] = '\x7F';
    EXPECT_EQ(importData(badPos, chooser).status, Status::Failed);
    // A chooser answer that is no sheet.
    chooser.answer = 5;
    EXPECT_EQ(importData(whole, chooser).status, Status::Failed);
    EXPECT_TRUE(ui.messages.empty()); // ImportData shows nothing

    // Import shows the failure; a read-only file imports.
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.xls"), good = dir.filePath("good.xls");
    for (auto [path, bytes] : {std::pair{bad, wrongVersion}, {good, whole}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
        f.close();
        f.setPermissions(QFile::ReadOwner);
    }
    chooser.answer = 0;
    CExcelFileManager manager(chooser, '.');
    EXPECT_EQ(manager.Import(bad, CDataTableBase()).status, Status::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Can not open file " + bad.toStdString());
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(manager.Import(good, CDataTableBase()).status, Status::Ok);
    EXPECT_EQ(manager.Import(dir.filePath("missing.xls"), CDataTableBase()).status, Status::Failed);
    EXPECT_EQ(ui.messages.size(), 2u);
}
