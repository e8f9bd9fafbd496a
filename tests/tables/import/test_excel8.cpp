// Excel 97 workbooks built record by record: texts in both encodings, runs
// and phonetic data, continuations, shared strings, formats and damage.
#include "excel_import_support.h"
#include "platform/recordingui.h"
#include "support/biff_builder.h"

#include <functional>

#include <gtest/gtest.h>

using namespace bifftest;
using namespace excelimporttest;
using Status = ExcelImportResult::Status;

namespace {

std::string cell(int row, int col, int xf) { return fields({{2, uint32_t(row)}, {2, uint32_t(col)}, {2, uint32_t(xf)}}); }
std::string labelSst(int row, int col, uint32_t index) { return cell(row, col, 0) + fields({{4, index}}); }

// A workbook of the given sheets (name, hidden, UTF-16 name) whose cells
// come from `cells`; `globals` adds records (SST) to the globals.
std::string book(const std::function<void(Stream&)>& globals,
                 const std::vector<std::pair<std::u16string, bool>>& sheets,
                 const std::function<void(Stream&, int)>& cells)
{
    Stream s;
    s.rec(0x0809, fields({{2, 0x600}, {2, 5}}))
        .rec(0x041E, fields({{2, 164}}) + text8("0.000"))
        .rec(0x00E0, fields({{2, 0}, {2, 0}}))
        .rec(0x00E0, fields({{2, 0}, {2, 2}}))
        .rec(0x00E0, fields({{2, 0}, {2, 164}}));
    globals(s);
    std::vector<size_t> pos;
    for (const auto& [name, hidden] : sheets) {
        pos.push_back(s.size() + 4);
        std::string body = fields({{4, 0}, {1, hidden ? 1u : 0u}, {1, 0}});
        body += text16(name).substr(1); // one-byte count
        body[6] = char(name.size());
        s.rec(0x0085, body);
    }
    s.rec(0x000A, "");
    for (size_t i = 0; i < sheets.size(); ++i) {
        s.patch32(pos[i], uint32_t(s.size()));
        s.rec(0x0809, fields({{2, 0x600}, {2, 0x10}}));
        cells(s, int(i));
        s.rec(0x000A, "");
    }
    return compoundFile({{u"Workbook", s.data()}});
}

ExcelImportResult import(const std::string& data, ScriptedChooser& chooser)
{
    return importData(data, chooser, "w.xls");
}

} // namespace

TEST(ExcelImport8, TextsInEitherEncodingAcrossContinuations)
{
    const auto globals = [](Stream& s) {
        std::string sst = fields({{4, 10}, {4, 10}});
        sst += text8("plain");
        sst += text16(u"Grüße €Ω");
        sst += fields({{2, 4}, {1, 0x08}, {2, 2}}) + "rich" + std::string(8, '\x01');
        sst += fields({{2, 3}, {1, 0x04}, {4, 6}}) + "abc" + std::string(6, '\x02');
        sst += fields({{2, 2}, {1, 0x0D}, {2, 1}, {4, 2}}) + std::string("\xE9\0\0\x22", 4) + "rrrrpp";
        sst += text8(std::string(300, 'x'));
        sst += fields({{2, 6}, {1, 0}}) + "abc"; // continued in UTF-16
        s.rec(0x00FC, sst);
        s.rec(0x003C, fields({{1, 1}, {2, 0xE9}, {2, 'f'}, {2, 'g'}}) + text8("next"));
        // The phonetic block of this one continues too, without an option byte.
        s.rec(0x003C, fields({{2, 2}, {1, 0x04}, {4, 10}}) + "ph" + std::string(4, '\x03'));
        s.rec(0x003C, std::string(6, '\x03'));
        // An empty continuation inside a text's characters is passed over.
        s.rec(0x003C, fields({{2, 4}, {1, 0}}) + "ab");
        s.rec(0x003C, "");
        s.rec(0x003C, fields({{1, 0}}) + "cd");
    };
    const auto cells = [](Stream& s, int sheet) {
        for (int i = 0; i < 9; ++i)
            s.rec(0x00FD, labelSst(i, sheet, uint32_t(i)));
        s.rec(0x00FD, labelSst(9, 0, 99))
            .rec(0x00FD, labelSst(14, 0, 9))
            .rec(0x00FD, labelSst(40000, 1, 0))
            .rec(0x00FD, labelSst(10, 26, 0))
            .rec(0x0862, "")
            .rec(0x0204, cell(11, 0, 0) + text16(u"é"));
        std::string num = cell(12, 0, 2);
        putDouble(num, 2.0 / 3);
        s.rec(0x0203, num);
        s.rec(0x027E, cell(12, 1, 1) + fields({{4, 0x3FF80000}})); // 1.5
        s.rec(0x0006, cell(13, 0, 0) + fields({{1, 0}, {1, 0}, {4, 0}, {2, 0xFFFF}, {2, 0}, {4, 0}}))
            .rec(0x0207, text16(u"Ω!"))
            .rec(0x0006, cell(13, 1, 0) + fields({{1, 1}, {1, 0}, {1, 1}, {1, 0}, {2, 0}, {2, 0xFFFF}, {2, 0}, {4, 0}}))
            .rec(0x0207, text8("stray"));
    };
    ScriptedChooser chooser;
    chooser.answer = 1;
    const ExcelImportResult r = import(book(globals, {{u"Eins", false}, {u"Zwei", true}, {u"Blatt €Ω", false}}, cells), chooser);
    ASSERT_EQ(r.status, Status::Ok);
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0], (std::vector<std::string>{"Eins", "Blatt \x80?"}));
    EXPECT_EQ(r.sheetName, "Blatt \x80?");
    const CDataTableBase& t = r.table;
    EXPECT_EQ(t.GetCellText(0, 2), "plain");
    EXPECT_EQ(t.GetCellText(1, 2), "Gr\xFC\xDF" "e \x80?");
    EXPECT_EQ(t.GetCellText(2, 2), "rich");
    EXPECT_EQ(t.GetCellText(3, 2), "abc");
    EXPECT_EQ(t.GetCellText(4, 2), "\xE9?");
    EXPECT_EQ(t.GetCellText(5, 2), std::string(255, 'x'));
    EXPECT_EQ(t.GetCellText(6, 2), "abc\xE9" "fg");
    EXPECT_EQ(t.GetCellText(7, 2), "next");
    EXPECT_EQ(t.GetCellText(8, 2), "ph");
    EXPECT_EQ(t.GetCellCount(9), 0);
    EXPECT_EQ(t.GetCellText(40000, 1), "plain");
    EXPECT_EQ(t.GetCellCount(10), 0);
    EXPECT_EQ(t.GetCellText(11, 0), "\xE9");
    EXPECT_EQ(t.GetCellText(12, 0), "0.667");
    EXPECT_EQ(t.GetCellText(12, 1), "1.50");
    EXPECT_EQ(t.GetCellText(13, 0), "?!");
    EXPECT_EQ(t.GetCellText(13, 1), ""); // a truth value gives nothing
    EXPECT_EQ(t.GetCellText(14, 0), "abcd");
}

TEST(ExcelImport8, SharedStringTablesOfAnySize)
{
    // 7000 strings in an SST and as many CONTINUE records as needed.
    const auto globals = [](Stream& s) {
        std::vector<std::string> bodies{fields({{4, 7000}, {4, 7000}})};
        for (int i = 0; i < 7000; ++i) {
            const std::string t = text8("s" + std::to_string(i));
            if (bodies.back().size() + t.size() > 8224)
                bodies.emplace_back();
            bodies.back() += t;
        }
        for (size_t i = 0; i < bodies.size(); ++i)
            s.rec(i ? 0x003C : 0x00FC, bodies[i]);
    };
    const auto cells = [](Stream& s, int) {
        s.rec(0x00FD, labelSst(0, 0, 6999)).rec(0x00FD, labelSst(1, 0, 6144));
    };
    ScriptedChooser chooser;
    const ExcelImportResult r = import(book(globals, {{u"One", false}, {u"Two", true}}, cells), chooser);
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_TRUE(chooser.asked.empty()); // one visible sheet: no question
    EXPECT_EQ(r.table.GetCellText(0, 0), "s6999");
    EXPECT_EQ(r.table.GetCellText(1, 0), "s6144");
    EXPECT_EQ(r.tabName, "w.xls - ");
}

TEST(ExcelImport8, ShortOrDamagedSharedStrings)
{
    const auto cells = [](Stream& s, int) { s.rec(0x00FD, labelSst(0, 0, 0)).rec(0x00FD, labelSst(1, 0, 1)); };
    ScriptedChooser chooser;
    // Fewer strings than counted: the table ends, the rest reads on.
    const auto fewer = [](Stream& s) { s.rec(0x00FC, fields({{4, 5}, {4, 5}}) + text8("only")); };
    const ExcelImportResult r = import(book(fewer, {{u"S", false}}, cells), chooser);
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_EQ(r.table.GetCellText(0, 0), "only");
    EXPECT_EQ(r.table.GetCellCount(1), 0);

    // A text that runs past its record without a continuation.
    const auto cut = [](Stream& s) { s.rec(0x00FC, fields({{4, 1}, {4, 1}, {2, 10}, {1, 0}}) + "abc"); };
    EXPECT_EQ(import(book(cut, {{u"S", false}}, cells), chooser).status, Status::Failed);
    // Half a UTF-16 character at the end of a record.
    const auto half = [](Stream& s) {
        s.rec(0x00FC, fields({{4, 1}, {4, 1}, {2, 2}, {1, 1}, {2, 'a'}}) + "b");
        s.rec(0x003C, fields({{1, 1}, {2, 'c'}}));
    };
    EXPECT_EQ(import(book(half, {{u"S", false}}, cells), chooser).status, Status::Failed);
    // Run data claimed beyond the data.
    const auto runs = [](Stream& s) {
        s.rec(0x00FC, fields({{4, 1}, {4, 1}, {2, 1}, {1, 0x0C}, {2, 0xFFFF}, {4, 0xFFFFFFFF}}) + "a");
    };
    EXPECT_EQ(import(book(runs, {{u"S", false}}, cells), chooser).status, Status::Failed);
}

TEST(ExcelImport8, OversizedSheetRecordsBeepAndReadOn)
{
    CRecordingUi ui;
    UiScope scope(ui);
    const auto cells = [](Stream& s, int) {
        s.rec(0x00EF, std::string(8224, '\0'))
            .rec(0x00EF, std::string(8225, '\0'))
            .rec(0x0204, cell(0, 0, 0) + text8("after"));
    };
    ScriptedChooser chooser;
    const ExcelImportResult r = import(book([](Stream&) {}, {{u"S", false}}, cells), chooser);
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(r.table.GetCellText(0, 0), "after");
}

TEST(ExcelImport8, DimensionsOnlyMakeRoom)
{
    // The same cells with true, absurd, too small and cut-off DIMENSIONS
    // records give the same table.
    const auto globals = [](Stream& s) { s.rec(0x00FC, fields({{4, 1}, {4, 1}}) + text8("t")); };
    const auto withDimensions = [&](const std::string& dims) {
        return book(globals, {{u"S", false}}, [&](Stream& s, int) {
            if (!dims.empty())
                s.rec(0x0200, dims);
            s.rec(0x00FD, labelSst(0, 0, 0)).rec(0x00FD, labelSst(2, 30, 0)).rec(0x00FD, labelSst(3, 4, 0));
            std::string num = cell(5, 1, 2);
            putDouble(num, 2.5);
            s.rec(0x0203, num);
        });
    };
    ScriptedChooser chooser;
    const ExcelImportResult plain = import(withDimensions(""), chooser);
    ASSERT_EQ(plain.status, Status::Ok);
    EXPECT_EQ(plain.table.GetRowCount(), 6);
    EXPECT_EQ(plain.table.GetCellCount(2), 0); // column 30 is no column
    EXPECT_EQ(plain.table.GetCellText(3, 4), "t");
    EXPECT_EQ(plain.table.GetCellText(5, 1), "2.500");
    for (const std::string& dims : {fields({{4, 0}, {4, 6}, {2, 0}, {2, 31}, {2, 0}}),
                                    fields({{4, 0}, {4, 0xFFFFFFFF}, {2, 0}, {2, 0xFFFF}, {2, 0}}),
                                    fields({{4, 0}, {4, 1}, {2, 0}, {2, 1}, {2, 0}}), std::string("\x01\x02", 2)}) {
        const ExcelImportResult r = import(withDimensions(dims), chooser);
        ASSERT_EQ(r.status, Status::Ok);
        EXPECT_EQ(r.table, plain.table);
    }
}
