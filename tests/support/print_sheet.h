#pragma once
// A project for print tests and benchmarks: an A4 sheet of 3 x 8 labels of
// 70 x 37 mm, each with a rectangle, a bold text of column A, a small
// two-line text of column B, a Code 128 of column C and a QR code of column
// A. And the print dialog told to write a PDF file whatever printer queues
// the machine has.
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/objects/shapes.h"
#include "content/tables/datatable.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

#include <cstdio>
#include <memory>
#include <string>

namespace printtest {

constexpr int32_t kLabelWidth = 70000;
constexpr int32_t kLabelHeight = 37000;
constexpr int32_t kTopMargin = 500;
constexpr int32_t kRectInset = 1000;

inline std::string cellA(int row)
{
    char b[16];
    std::snprintf(b, sizeof b, "W%05d", row + 1);
    return b;
}
inline std::string cellC(int row)
{
    char b[16];
    std::snprintf(b, sizeof b, "C%06d", row + 1);
    return b;
}

template <class T>
T* place(CGraphCollection& area, int32_t x, int32_t y, int32_t w, int32_t h)
{
    auto o = std::make_unique<T>();
    o->SetX(x);
    o->SetY(y);
    o->SetWidth(w);
    o->SetHeight(h);
    T* raw = o.get();
    area.AddTail(std::move(o));
    return raw;
}

inline LOGFONTA font(int points, bool bold)
{
    LOGFONTA lf{};
    lf.lfHeight = CGraphText::HeightFromPoints(points);
    lf.lfWeight = bold ? 700 : 400;
    SetFaceName(lf, "Arial");
    return lf;
}

inline void BuildSheet(CVorteplanSoftLabelDoc& doc, int rows)
{
    auto label = std::make_unique<CLabelFileNewArticleNo>();
    label->SetWidth(0, kLabelWidth, true);
    label->SetHeight(0, kLabelHeight);
    label->SetColumnPitch(kLabelWidth);
    label->SetRowPitch(kLabelHeight);
    label->SetColumns(3);
    label->SetRows(8);
    label->SetLeft(0, 0);
    label->SetTop(0, kTopMargin);
    CTemplate& tpl = doc.GetCurrentTemplate();
    tpl.SetLabel(std::move(label));

    CDataTableBase& table = *doc.GetTable(0);
    for (int r = 0; r < rows; ++r) {
        table.SetCellText(r, 0, cellA(r));
        table.SetCellText(r, 1, "Cable " + std::to_string(r + 1) + "\r\nTerminal X" + std::to_string(r % 9 + 1));
        table.SetCellText(r, 2, cellC(r));
    }

    CGraphCollection& area = *tpl.GetArea(0);
    // A hairline frame: its left and top edges are the label's position.
    place<CGraphRect>(area, kRectInset, kRectInset, kLabelWidth - 2 * kRectInset, kLabelHeight - 2 * kRectInset)
        ->SetPenWidth(0);
    auto* a = place<CGraphText>(area, 3000, 2500, 40000, 6000);
    a->SetSourceColumnText("A");
    a->SetLogFont(font(11, true));
    auto* b = place<CGraphText>(area, 3000, 9000, 40000, 7000);
    b->SetSourceColumnText("B");
    b->SetLogFont(font(6, false));
    auto* c = place<CGraphBarcode>(area, 3000, 17500, 40000, 16500);
    c->SetSymbologyName("Code 128");
    c->SetSourceColumnText("C");
    c->SetShowText(true);
    c->SetLogFont(font(8, false));
    auto* q = place<CGraphBarcode>(area, 50000, 3000, 15000, 15000);
    q->SetSymbologyName(std::string("QR Code") + '\xAE');
    q->SetSourceColumnText("A");
    q->SetQrEccLevelText("M");
}

// A PDF printer of A4 paper at `dpi`, with the given margins (mm).
inline std::unique_ptr<QPrinter> PdfPrinter(const QString& file, int dpi, qreal marginLeft = 0, qreal marginTop = 0)
{
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(file);
    p->setResolution(dpi);
    p->setPageSize(QPageSize(QPageSize::A4));
    p->setPageMargins(QMarginsF(marginLeft, marginTop, 0, 0), QPageLayout::Millimeter);
    return p;
}

// Chooses "Print to File (PDF)" and `file` in a print dialog, as a user
// would, so that accepting it writes the file even where the machine has a
// printer queue (the dialog preselects the default queue). The dialog is
// shown when it is not yet (its file entry is added when it shows). The
// names are those of Qt's own print dialog widgets. Answers false when the
// dialog offers no file output.
inline bool PrintToFile(QPrintDialog& dialog, const QString& file)
{
    if (!dialog.isVisible())
        dialog.show();
    auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (!printers || !name || !dialog.testOption(QAbstractPrintDialog::PrintToFile) || printers->count() == 0)
        return false;
    printers->setCurrentIndex(printers->count() - 1); // the file entry comes last
    name->setText(file);
    return name->isEnabled();
}

// The default printer queue the dialog would print to (empty when none),
// read before PrintToFile changes the choice.
inline QString ChosenQueue(QPrintDialog& dialog)
{
    if (!dialog.isVisible())
        dialog.show();
    auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
    if (!printers || printers->currentIndex() == printers->count() - 1)
        return {};
    return printers->currentText();
}

} // namespace printtest
