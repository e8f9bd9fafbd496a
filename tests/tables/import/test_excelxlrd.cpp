// Every cell of workbooks written by other programs (python3-xlwt and
// gnumeric, see data/make_workbooks.sh and data/make_numbers.py) and of the
// number sheets built record by record against what python3-xlrd reads
// from them. xlrd's reading of the workbooks is committed beside them
// (<workbook>.xlrd.txt, written by data/xlrd_dump.py from the same scripts);
// the number sheets are read by xlrd as the test runs, skipped when no
// python3 with xlrd is installed.
#include "support/excel_numbers_book.h"
#include "platform/codepage.h"
#include "support/test_support.h"
#include "tables/import/excelfilemanager.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

struct ScriptedChooser : CExcelSheetChooser {
    int answer = 0;
    std::optional<int> ChooseSheet(const std::vector<std::string>&) override { return answer; }
};

QString pythonWithXlrd()
{
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess p;
        p.start(python, {QStringLiteral("-c"), QStringLiteral("import xlrd")});
        if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return python;
    }
    return {};
}

struct Expected {
    std::string sheetName;
    std::map<std::pair<int, int>, std::string> texts;
    std::map<std::pair<int, int>, std::set<std::string>> numbers;
};

std::string fromHex(const QByteArray& hex)
{
    return hex == "-" ? std::string() : codepage::FromUnicode(QString::fromUtf8(QByteArray::fromHex(hex)));
}

// The sheets in the lines of data/xlrd_dump.py.
std::vector<Expected> parseXlrdDump(const QByteArray& dump)
{
    std::vector<Expected> sheets;
    for (const QByteArray& line : dump.split('\n')) {
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

std::vector<Expected> readWithXlrd(const QString& python, const QString& file)
{
    QProcess p;
    p.start(python, {QStringLiteral(VSL_SOURCE_DIR "/tests/tables/import/data/xlrd_dump.py"), file});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return parseXlrdDump(p.readAllStandardOutput());
}

std::vector<Expected> readXlrdDump(const QString& file)
{
    QFile dump(file);
    EXPECT_TRUE(dump.open(QIODevice::ReadOnly)) << file.toStdString();
    return parseXlrdDump(dump.readAll());
}

// Every visible sheet of `file` imported and compared cell by cell.
void compareWithXlrd(const std::vector<Expected>& sheets, const QString& file)
{
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

} // namespace

TEST(ExcelImportAgainstXlrd, EveryCellOfOtherWritersWorkbooks)
{
    for (const char* name : {"xlwt_biff8", "gnumeric_biff8", "gnumeric_biff5", "xlwt_one_visible", "xlwt_numbers"}) {
        SCOPED_TRACE(name);
        const QString base = QStringLiteral(VSL_SOURCE_DIR "/tests/tables/import/data/") + QLatin1String(name);
        compareWithXlrd(readXlrdDump(base + QStringLiteral(".xlrd.txt")), base + QStringLiteral(".xls"));
    }
}

TEST(ExcelImportAgainstXlrd, NumberRecordsOfEveryGeneration)
{
    // The FORMULA results, RK doubles and MULRK records xlwt does not write.
    const QString python = pythonWithXlrd();
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with xlrd is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (excelnumbers::Biff v : excelnumbers::kAll) {
        SCOPED_TRACE(excelnumbers::nameOf(v));
        const QString file = dir.filePath(QStringLiteral("numbers.xls"));
        const std::string bytes = excelnumbers::fileOf(v, excelnumbers::numbersStream(v));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), qint64(bytes.size()));
        f.close();
        compareWithXlrd(readWithXlrd(python, file), file);
    }
}
