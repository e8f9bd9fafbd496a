// A Code 128 of 0.3 mm modules drawn on the canvas as a user makes it
// (inserted by drawing its box, turned into a Code 128, modules set, bound
// to a table column) spans on the screen at 50, 100 and 400 % the length it
// has printed to PDF (the print driver on the view's printer, a PDF at
// 1200 dpi as the program writes one) and rendered at the same scale by
// pdftoppm, within a pixel; before the project is saved and after it is
// opened again.
#include "content/objects/graphbarcode.h"
#include "shell/printdriver.h"
#include "canvas_fixture.h"

#include "support/print_sheet.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

using namespace canvastest;

// The columns from the first dark pixel to the last in rows y0..y1 and
// columns x0..x1 - 1 (dark: gray below 128); 0 when there is none.
int darkSpan(const QImage& image, int y0, int y1, int x0, int x1)
{
    int lo = INT32_MAX, hi = -1;
    for (int y = std::max(y0, 0); y <= y1 && y < image.height(); ++y)
        for (int x = std::max(x0, 0); x < x1 && x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
    return hi < lo ? 0 : hi - lo + 1;
}

class BarcodeWidthTest : public CanvasTest {
protected:
    // The bars on the canvas: a band of the object's box above its
    // human-readable line.
    int screenSpan(const CGraphObject& o)
    {
        QImage probe(1, 1, QImage::Format_RGB32);
        CDC dc(&probe, view->LogPixelsX(), view->LogPixelsY());
        const RECT box = o.CalcDeviceRect(dc, view->GetZoom(), 0, 0);
        const int h = box.bottom - box.top;
        return darkSpan(view->BackBuffer(), box.top + h / 4, box.top + h / 2, box.left + 1, box.right);
    }
    // The bars of the first label on page 1 of `pdf` rendered at `ppi`:
    // a band just below the top of the first bars.
    int paperSpan(const QString& pdf, int ppi)
    {
        QProcess p;
        p.start(QStandardPaths::findExecutable(QStringLiteral("pdftoppm")),
                {"-r", QString::number(ppi), "-aa", "no", "-aaVector", "no", "-png", "-f", "1", "-l", "1",
                 "-singlefile", pdf, m_dir.filePath("page")});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return -1;
        const QImage page = QImage(m_dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
        const int half = page.width() / 2;
        for (int y = 0; y < page.height(); ++y)
            if (darkSpan(page, y, y, 0, half) > 0)
                return darkSpan(page, y + 1, y + 1 + ppi / 25, 0, half);
        return 0;
    }
};

TEST_F(BarcodeWidthTest, Code128OnScreenSpansItsPrintedLengthAtEveryZoomBeforeAndAfterSaving)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is missing";
    CDataTableBase& table = *doc->GetTable(0);
    table.SetCellText(0, 2, "C000001");
    view->SetZoom(50);
    auto barcode = std::make_unique<CGraphBarcode>();
    barcode->SetLogFont(doc->GetDefaultFont());
    ASSERT_TRUE(view->SetPendingObject(std::move(barcode)));
    // A box of about 42 x 16 mm at 50 %.
    press({20, 20});
    moveTo({60, 40});
    moveTo({20 + 79, 20 + 30});
    release({20 + 79, 20 + 30});
    ASSERT_EQ(area().GetCount(), 1u);
    doc->SetBarcodeType(0, "Code 128");
    doc->SetBarcodeModule(0, 300);
    doc->SetDataSource(0, kTextKindTable);
    doc->SelectColumns(0, "C");
    doc->DeselectAll(0);
    view->SetShowFieldCodes(false);
    auto* made = dynamic_cast<CGraphBarcode*>(area().GetAt(0));
    ASSERT_TRUE(made);
    ASSERT_LT(made->Symbology().GetWidth("C000001", 1200), made->GetWidth()); // nothing is clipped

    const QString pdf = m_dir.filePath("printed.pdf");
    const std::unique_ptr<QPrinter> printer = printtest::PdfPrinter(pdf, 1200);
    const auto check = [&](const char* when) {
        view->SetPrinter(printer.get());
        CPrintDriver::Job job;
        job.showDialog = false;
        job.showProgress = false;
        ASSERT_EQ(CPrintDriver::PrintDocument(*doc, *printer, job).outcome, CPrintDriver::Outcome::Printed);
        view->resize(1400, 800);
        for (int zoom : {50, 100, 400}) {
            view->SetZoom(zoom);
            view->RedrawScene();
            const int ppi = (view->LogPixelsX() * zoom + 50) / 100;
            const int paper = paperSpan(pdf, ppi);
            ASSERT_GT(paper, ppi / 2) << when << " at " << zoom << " %";
            EXPECT_NEAR(screenSpan(*area().GetAt(0)), paper, 1) << when << " at " << zoom << " %";
        }
    };
    check("before saving");
    const QString path = m_dir.filePath("barcode.proj");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    view.reset();
    doc = std::make_unique<CVorteplanSoftLabelDoc>();
    ASSERT_TRUE(doc->OnOpenDocument(path));
    makeView({});
    view->SetShowFieldCodes(false);
    check("after opening again");
}

} // namespace
