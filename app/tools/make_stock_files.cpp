// Writes the program's shipped files with its own writers:
//
//   vsl_make_stock_files --labels <folder>     the stock label definitions
//   vsl_make_stock_files --example <file.proj> the example project
//
// The sheets are common office label stock on A4 and US Letter paper, laid
// out from their published dimensions (label size, labels across and down,
// top and side margins, pitch).
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/objects/shapes.h"
#include "content/tables/datatable.h"
#include "document/label/labelfile.h"
#include "document/modulemarking/modulemarkingjob.h"
#include "document/template/template.h"
#include "document/project/projectdoc.h"
#include "platform/units.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kPaperLetter = 1;

struct Sheet {
    const char* file;   // file name without ".label"
    const char* family;
    int paper;          // DMPAPER code
    double widthMm, heightMm;
    int columns, rows;
    double leftMm, topMm;
    double columnPitchMm, rowPitchMm;
};

constexpr double kInch = 25.4;

const Sheet kSheets[] = {
    {"A4 - 70 x 37 mm (3 x 8)", "Sheets A4", kPaperA4, 70, 37, 3, 8, 0, 0.5, 70, 37},
    {"A4 - 70 x 42.3 mm (3 x 7)", "Sheets A4", kPaperA4, 70, 42.3, 3, 7, 0, 0.45, 70, 42.3},
    {"A4 - 38.1 x 21.2 mm (5 x 13)", "Sheets A4", kPaperA4, 38.1, 21.2, 5, 13, 4.75, 10.7, 40.6, 21.2},
    {"A4 - 99.1 x 38.1 mm (2 x 7)", "Sheets A4", kPaperA4, 99.1, 38.1, 2, 7, 4.65, 15.15, 101.6, 38.1},
    {"A4 - 99.1 x 67.7 mm (2 x 4)", "Sheets A4", kPaperA4, 99.1, 67.7, 2, 4, 4.65, 13.1, 101.6, 67.7},
    {"A4 - 105 x 148 mm (2 x 2)", "Sheets A4", kPaperA4, 105, 148.5, 2, 2, 0, 0, 105, 148.5},
    {"A4 - 210 x 297 mm (1 x 1)", "Sheets A4", kPaperA4, 210, 297, 1, 1, 0, 0, 210, 297},
    {"Letter - 2.625 x 1 in (3 x 10)", "Sheets Letter", kPaperLetter, 2.625 * kInch, 1 * kInch, 3, 10,
     0.1875 * kInch, 0.5 * kInch, 2.75 * kInch, 1 * kInch},
    {"Letter - 4 x 2 in (2 x 5)", "Sheets Letter", kPaperLetter, 4 * kInch, 2 * kInch, 2, 5, 0.15625 * kInch,
     0.5 * kInch, 4.1875 * kInch, 2 * kInch},
    {"Letter - 4 x 3.33 in (2 x 3)", "Sheets Letter", kPaperLetter, 4 * kInch, 3.3333 * kInch, 2, 3,
     0.15625 * kInch, 0.5 * kInch, 4.1875 * kInch, 3.3333 * kInch},
    {"Letter - 1.75 x 0.5 in (4 x 20)", "Sheets Letter", kPaperLetter, 1.75 * kInch, 0.5 * kInch, 4, 20,
     0.28125 * kInch, 0.5 * kInch, 2.0625 * kInch, 0.5 * kInch},
};

int32_t um(double mm)
{
    return int32_t(mm * 1000.0 + 0.5);
}

// The paper and label positions of a stock sheet. `mark` as SetWidth has it.
void applySheet(CLabelFileNew& label, const Sheet& sheet, bool mark)
{
    label.SetPaperCode(sheet.paper);
    if (sheet.paper == kPaperLetter) {
        label.SetPaperWidth(2159, false);
        label.SetPaperLength(2794, false);
    }
    label.SetFamilyName(sheet.family);
    label.SetWidth(0, um(sheet.widthMm), mark);
    label.SetHeight(0, um(sheet.heightMm));
    label.SetColumns(sheet.columns);
    label.SetRows(sheet.rows);
    label.SetLeft(0, um(sheet.leftMm));
    label.SetTop(0, um(sheet.topMm));
    label.SetColumnPitch(um(sheet.columnPitchMm));
    label.SetRowPitch(um(sheet.rowPitchMm));
}

bool writeLabels(const QString& folder)
{
    QDir().mkpath(folder);
    for (const Sheet& sheet : kSheets) {
        CLabelFileNew label;
        applySheet(label, sheet, false);
        const QString path = QDir(folder).filePath(QString::fromLatin1(sheet.file) + QStringLiteral(".label"));
        LabelFileResult result;
        if (!label.SaveToFile(QFile::encodeName(path).toStdString(), &result)) {
            std::fprintf(stderr, "%s\n", result.message.c_str());
            return false;
        }
    }
    return true;
}

// The example project: what the program is for, the moment it opens.
// Template 1 labels cables on an A4 sheet of 3 x 8: the cable's name in
// bold, where it runs in small type, a Code 128 of its article number and
// a QR code of its name, all from table 1. Template 2 marks the terminal
// strip X1: ten modules of 6.2 mm, each with a marker text from table 2.

template <class T>
T* place(CGraphCollection& area, int32_t x, int32_t y, int32_t w, int32_t h)
{
    auto object = std::make_unique<T>();
    object->SetX(x);
    object->SetY(y);
    object->SetWidth(w);
    object->SetHeight(h);
    T* raw = object.get();
    area.AddTail(std::move(object));
    return raw;
}

LOGFONTA exampleFont(int points, bool bold)
{
    LOGFONTA font{};
    font.lfHeight = CGraphText::HeightFromPoints(points);
    font.lfWeight = bold ? 700 : 400;
    SetFaceName(font, "Arial");
    return font;
}

void fillTable(CDataTableBase& table, const std::vector<std::vector<const char*>>& rows)
{
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            table.SetCellText(int(r), int(c), rows[r][c]);
}

void buildCableSheet(CVorteplanSoftLabelDoc& doc)
{
    const Sheet& sheet = kSheets[0]; // A4, 70 x 37 mm, 3 x 8
    auto label = std::make_unique<CLabelFileNewArticleNo>();
    applySheet(*label, sheet, true);
    CTemplate& tpl = doc.GetCurrentTemplate();
    tpl.SetLabel(std::move(label));

    CGraphCollection& area = *tpl.GetArea(0);
    place<CGraphRect>(area, 1500, 1500, 67000, 34000)->SetPenWidth(0);
    auto* name = place<CGraphText>(area, 4000, 3000, 40000, 7000);
    name->SetSourceColumnText("A");
    name->SetLogFont(exampleFont(14, true));
    auto* route = place<CGraphText>(area, 4000, 11000, 44000, 6000);
    route->SetSourceColumnText("B");
    route->SetLogFont(exampleFont(7, false));
    auto* article = place<CGraphBarcode>(area, 3000, 19500, 45000, 14500);
    article->SetSymbologyName("Code 128");
    article->SetSourceColumnText("C");
    article->SetModule(250);
    article->SetShowText(true);
    article->SetLogFont(exampleFont(7, false));
    auto* qr = place<CGraphBarcode>(area, 50000, 4000, 16000, 16000);
    qr->SetSymbologyName(std::string("QR Code") + '\xAE');
    qr->SetSourceColumnText("A");
    qr->SetModule(500);
    qr->SetQrEccLevelText("M");

    doc.SetTableName(0, "Cables");
    fillTable(*doc.GetTable(0), {
        {"-W101", "3G1.5 mm2, -X1:1..3 to -M1 pump", "W101-3G15"},
        {"-W102", "3G1.5 mm2, -X1:4..6 to -M2 fan", "W102-3G15"},
        {"-W103", "5G2.5 mm2, -Q1 to -M3 conveyor", "W103-5G25"},
        {"-W104", "2x0.75 mm2, -X2:1..2 to -B1 sensor", "W104-2X075"},
        {"-W105", "2x0.75 mm2, -X2:3..4 to -B2 sensor", "W105-2X075"},
        {"-W106", "4x0.5 mm2 shielded, -A1 to -S1 panel", "W106-4X05S"},
        {"-W107", "3G2.5 mm2, -F1 to -E1 heater", "W107-3G25"},
        {"-W108", "7G1.0 mm2, -X3 to -Y1 valve block", "W108-7G10"},
        {"-W109", "2x1.0 mm2, -X2:5..6 to -H1 lamp", "W109-2X10"},
        {"-W110", "CAT6 S/FTP, -A1:X1 to -A10 remote I/O", "W110-CAT6"},
        {"-W111", "3G1.5 mm2, -X1:7..9 to -M4 pump", "W111-3G15"},
        {"-W112", "5G1.5 mm2, -Q2 to -M5 mixer", "W112-5G15"},
    });
}

void buildTerminalStrip(CVorteplanSoftLabelDoc& doc)
{
    constexpr int slot = 1;
    doc.SetCurrentTemplate(slot);
    doc.SetTemplateName(slot, "Terminal strip X1");
    doc.ToggleModuleMarking();
    CTemplate& tpl = doc.GetCurrentTemplate();
    CModuleMarkingJob& job = tpl.GetJob();
    job.SetUsePreset(false);
    CModuleMarkingRow& row = job.GetCurrentRow();
    constexpr int kModules = 10;
    row.SetModuleCount(kModules);
    for (int i = 0; i < kModules; ++i) {
        row.Module(i).m_width = 6200;
        row.Module(i).m_multiplier = 1;
    }
    row.SetAllGaps(0);
    row.SetCurrentIndex(0);
    tpl.GetArea(0)->RemoveAll();
    doc.CreateMarkerTexts(-1);
    doc.ApplyMarkingRowToLabel();
    // One strip on a continuous marker card as long as the row.
    const int32_t length = row.GetTotalLength();
    // The definition lies landscape: the paper's length runs along the strip.
    doc.SetPaperHeight(length);
    doc.SetAreaWidth(0, length);
    doc.SetHorizontalPitch(length);
    doc.SetColumnCount(1);
    doc.SetRowCount(1);
    tpl.FreeHistory();

    constexpr int table = 1;
    doc.SetCurrentTable(table);
    doc.SetTableName(table, "Terminals X1");
    std::vector<std::vector<const char*>> rows;
    static const char* const kTerminals[] = {"L1", "L2", "L3", "N",  "PE", "1",  "2",  "3",  "4",  "5",
                                             "6",  "7",  "8",  "9",  "10", "11", "12", "13", "14", "PE"};
    for (const char* terminal : kTerminals)
        rows.push_back({terminal});
    fillTable(*doc.GetTable(table), rows);
}

bool writeExample(const QString& path)
{
    CVorteplanSoftLabelDoc doc;
    if (!doc.OnNewDocument() || !doc.GetTable(0))
        return false;
    doc.SetTemplateName(0, "Cable labels");
    buildCableSheet(doc);
    buildTerminalStrip(doc);
    // Two templates and two tables; a new project has more empty ones.
    doc.SetTemplateCount(2);
    doc.SetTableCount(2);
    doc.SetCurrentTemplate(0);
    doc.SetCurrentTable(0);
    std::string error;
    if (!doc.WriteProjectFile(path, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--labels") == 0)
        return writeLabels(QFile::decodeName(argv[2])) ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "--example") == 0)
        return writeExample(QFile::decodeName(argv[2])) ? 0 : 1;
    std::fprintf(stderr, "usage: %s --labels <folder> | --example <file.proj>\n", argv[0]);
    return 2;
}
