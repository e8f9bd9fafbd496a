// Writes the program's shipped files with its own writers:
//
//   vsl_make_stock_files --labels <folder>     the stock label definitions
//   vsl_make_stock_files --example <file.proj> the example project
//
// The sheets are common office label stock on A4 and US Letter paper, laid
// out from their published dimensions (label size, labels across and down,
// top and side margins, pitch).
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/units.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <string>

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

bool writeLabels(const QString& folder)
{
    QDir().mkpath(folder);
    for (const Sheet& sheet : kSheets) {
        CLabelFileNew label;
        label.SetPaperCode(sheet.paper);
        if (sheet.paper == kPaperLetter) {
            label.SetPaperWidth(2159, false);
            label.SetPaperLength(2794, false);
        }
        label.SetFamilyName(sheet.family);
        label.SetWidth(0, um(sheet.widthMm), false);
        label.SetHeight(0, um(sheet.heightMm));
        label.SetColumns(sheet.columns);
        label.SetRows(sheet.rows);
        label.SetLeft(0, um(sheet.leftMm));
        label.SetTop(0, um(sheet.topMm));
        label.SetColumnPitch(um(sheet.columnPitchMm));
        label.SetRowPitch(um(sheet.rowPitchMm));
        const QString path = QDir(folder).filePath(QString::fromLatin1(sheet.file) + QStringLiteral(".label"));
        LabelFileResult result;
        if (!label.SaveToFile(QFile::encodeName(path).toStdString(), &result)) {
            std::fprintf(stderr, "%s\n", result.message.c_str());
            return false;
        }
    }
    return true;
}

bool writeExample(const QString& path)
{
    CVorteplanSoftLabelDoc doc;
    if (!doc.OnNewDocument())
        return false;
    CDataTableBase* table = doc.GetTable(0);
    if (!table)
        return false;
    const char* rows[][3] = {{"-X1", "1", "L1"}, {"-X1", "2", "L2"}, {"-X1", "3", "L3"},
                             {"-X1", "4", "N"},  {"-X1", "5", "PE"}, {"-X2", "1", "24V"},
                             {"-X2", "2", "0V"}, {"-K1", "A1", "K1:A1"}};
    int r = 0;
    for (const auto& row : rows) {
        for (int c = 0; c < 3; ++c)
            table->SetCellText(r, c, row[c]);
        ++r;
    }
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
