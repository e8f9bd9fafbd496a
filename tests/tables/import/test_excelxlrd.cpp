// Every cell of workbooks written by other programs (python3-xlwt and
// gnumeric) against what python3-xlrd reads from them: data/make_workbooks.sh
// writes the workbooks and, with data/xlrd_dump.py, xlrd's reading of each
// (<workbook>.xlrd.txt).
#include "platform/codepage.h"
#include "support/test_support.h"
#include "tables/import/excelfilemanager.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

struct ScriptedChooser : CExcelSheetChooser {
    int answer = 0;
    std::optional<int> ChooseSheet(const std::vector<std::string>&) override { return answer; }
};

struct Expected {
    std::string sheetName;
    std::map<std::pair<int, int>, std::string> texts;
    std::map<std::pair<int, int>, std::set<std::string>> numbers;
};

std::string fromHex(const QByteArray& hex)
{
    return hex == "-" ? std::string() : codepage::FromUnicode(QString::fromUtf8(QByteArray::fromHex(hex)));
}

// The sheets as xlrd read them (see data/xlrd_dump.py for the lines).
std::vector<Expected> readXlrdDump(const QString& file)
{
    QFile dump(file);
    EXPECT_TRUE(dump.open(QIODevice::ReadOnly)) << file.toStdString();
    std::vector<Expected> sheets;
    for (const QByteArray& line : dump.readAll().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 3 && f[0] == "S") {
            sheets.push_back({fromHex(f[2]), {}, {}});
        } else if (f.size() == 4 && !sheets.empty()) {
            const std::pair<int, int> at{f[1].toInt(), f[2].toInt()};
            if (f[0] == "T") {
                std::string t = fromHex(f[3]);
                sheets.back().texts[at] = t.substr(0, 255);
            } else {
                std::set<std::string> accepted;
                for (const QByteArray& a : f[3].split('|'))
                    accepted.insert(a.toStdString());
                sheets.back().numbers[at] = accepted;
            }
        }
    }
    return sheets;
}

} // namespace

TEST(ExcelImportAgainstXlrd, EveryCellOfOtherWritersWorkbooks)
{
    for (const char* name : {"xlwt_biff8", "gnumeric_biff8", "gnumeric_biff5", "xlwt_one_visible"}) {
        SCOPED_TRACE(name);
        const QString base = QStringLiteral(VSL_SOURCE_DIR "/tests/tables/import/data/") + QLatin1String(name);
        const QString file = base + QStringLiteral(".xls");
        const std::vector<Expected> sheets = readXlrdDump(base + QStringLiteral(".xlrd.txt"));
        ASSERT_FALSE(sheets.empty());
        for (size_t s = 0; s < sheets.size(); ++s) {
            SCOPED_TRACE(sheets[s].sheetName);
            ScriptedChooser chooser;
            chooser.answer = int(s);
            CExcelFileManager manager(chooser, '.');
            const ExcelImportResult r = manager.Import(file, CDataTableBase());
            ASSERT_EQ(r.status, ExcelImportResult::Status::Ok);
            EXPECT_EQ(r.sheetName, sheets.size() > 1 ? sheets[s].sheetName : std::string());

            size_t expectedCells = 0;
            for (const auto& [at, text] : sheets[s].texts) {
                if (at.second >= CDataTableBase::kColumnCount)
                    continue;
                ++expectedCells;
                EXPECT_EQ(r.table.GetCellText(at.first, at.second), text) << at.first << "," << at.second;
            }
            for (const auto& [at, accepted] : sheets[s].numbers) {
                if (at.second >= CDataTableBase::kColumnCount)
                    continue;
                ++expectedCells;
                const std::string got = r.table.GetCellText(at.first, at.second);
                EXPECT_TRUE(accepted.count(got)) << at.first << "," << at.second << ": " << got;
            }
            size_t cells = 0;
            for (int row = 0; row < r.table.GetRowCount(); ++row)
                for (int col = 0; col < r.table.GetCellCount(row); ++col)
                    cells += r.table.GetCellText(row, col).empty() ? 0 : 1;
            EXPECT_EQ(cells, expectedCells);
            EXPECT_GT(cells, 0u);
        }
    }
}
