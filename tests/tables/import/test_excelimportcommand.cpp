// The Excel import end to end: a worksheet file into the document's current
// table as one undo step, the tab named after file and sheet.
#include "tables/import/excelimportcommand.h"

#include "support/project_fixture.h"
#include "document/project/projectdoc.h"
#include "platform/compoundfile.h"
#include "support/biff_builder.h"
#include "tables/import/excelfilemanager.h"

#include <QFile>

using namespace bifftest;

namespace {

struct FirstSheet : CExcelSheetChooser {
    int answer = 0;
    std::optional<int> ChooseSheet(const std::vector<std::string>&) override { return answer; }
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

// A workbook of the test data (written by python3-xlwt) whose stream ends
// at a record boundary inside the sheet that begins with its n-th BOF
// record (the globals are the first), `fraction` of the way from that BOF
// to the sheet's EOF.
std::string cutWorkbook(const char* name, int bofNumber, double fraction)
{
    QFile f(QStringLiteral(VSL_SOURCE_DIR "/tests/tables/import/data/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    CCompoundFile compound;
    std::string stream;
    if (!compound.Open(std::string_view(bytes.constData(), size_t(bytes.size())))
        || !compound.ReadStream(QStringLiteral("Workbook"), stream))
        return {};
    std::vector<size_t> starts;
    for (size_t at = 0; at + 4 <= stream.size();) {
        starts.push_back(at);
        at += 4 + (uint8_t(stream[at + 2]) | uint8_t(stream[at + 3]) << 8);
    }
    size_t bof = 0;
    for (int seen = 0; bof < starts.size(); ++bof)
        if (stream.compare(starts[bof], 2, "\x09\x08") == 0 && ++seen == bofNumber)
            break;
    size_t eof = bof;
    while (eof < starts.size() && stream.compare(starts[eof], 2, std::string("\x0A\0", 2)) != 0)
        ++eof;
    if (eof == starts.size())
        return {};
    const size_t cut = bof + 1 + size_t(double(eof - bof - 1) * fraction);
    return compoundFile({{u"Workbook", stream.substr(0, starts[cut])}});
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

TEST_F(ExcelImportCommand, CutWorkbookLeavesTheTableAsItWas)
{
    CVorteplanSoftLabelDoc doc;
    doc.SetCurrentTable(1);
    doc.GetTable(1)->SetCellText(0, 0, "old");
    FirstSheet chooser;
    struct Cut {
        const char* file;
        int bof;
        double fraction;
        int answer;
    };
    // A single-sheet workbook cut halfway and right before its EOF, and the
    // second sheet of a workbook cut halfway.
    for (const Cut& cut : {Cut{"xlwt_numbers.xls", 2, 0.5, 0}, Cut{"xlwt_numbers.xls", 2, 1.0, 0},
                           Cut{"xlwt_biff8.xls", 3, 0.5, 1}}) {
        SCOPED_TRACE(cut.file);
        const std::string bytes = cutWorkbook(cut.file, cut.bof, cut.fraction);
        ASSERT_FALSE(bytes.empty());
        writeFile(path("cut.xls"), bytes);
        chooser.answer = cut.answer;
        m_ui.messages.clear();
        EXPECT_FALSE(ImportExcelIntoCurrentTable(doc, path("cut.xls"), chooser, '.'));
        ASSERT_EQ(m_ui.messages.size(), 1u);
        EXPECT_EQ(m_ui.messages[0].text, "Can not open file " + path("cut.xls").toStdString());
        EXPECT_EQ(m_ui.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(doc.GetTable(1)->GetCellText(0, 0), "old");
        EXPECT_EQ(doc.GetTable(1)->GetRowCount(), 1);
        EXPECT_EQ(doc.GetTableSnapshot(1, 0), nullptr);
        EXPECT_FALSE(doc.IsModified());
    }

    // The sheets before the cut are whole.
    writeFile(path("cut.xls"), cutWorkbook("xlwt_biff8.xls", 3, 0.5));
    chooser.answer = 0;
    m_ui.messages.clear();
    ASSERT_TRUE(ImportExcelIntoCurrentTable(doc, path("cut.xls"), chooser, '.'));
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(doc.GetTable(1)->GetCellText(39, 0), "39");
}
