// A Code 128 of 0.3 mm modules drawn on the canvas as a user makes it
// (inserted by drawing its box, turned into a Code 128, modules set, bound
// to a table column) shows the width it has on paper at every zoom, before
// the project is saved and after it is opened again.
#include "content/barcodes/barcode.h"
#include "content/objects/graphbarcode.h"
#include "canvas_fixture.h"

namespace {

using namespace canvastest;

class BarcodeWidthTest : public CanvasTest {
protected:
    // The dark pixels' horizontal extent in the middle band of the object's
    // box on the canvas, in um.
    double drawnWidth(const CGraphObject& o)
    {
        const int ppi = (view->LogPixelsX() * view->GetZoom() + 50) / 100;
        QImage probe(1, 1, QImage::Format_RGB32);
        CDC dc(&probe, view->LogPixelsX(), view->LogPixelsY());
        const RECT box = o.CalcDeviceRect(dc, view->GetZoom(), 0, 0);
        const QImage& image = view->BackBuffer();
        int lo = INT32_MAX, hi = -1;
        const int y0 = box.top + (box.bottom - box.top) / 4, y1 = box.top + (box.bottom - box.top) / 2;
        for (int y = y0; y <= y1; ++y)
            for (int x = box.left + 1; x < box.right; ++x)
                if (qGray(image.pixel(x, y)) < 100) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        return hi < lo ? 0.0 : (hi - lo + 1) * 25400.0 / ppi;
    }
};

TEST_F(BarcodeWidthTest, Code128ShowsItsPaperWidthAtEveryZoomBeforeAndAfterSaving)
{
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

    // On paper (300 dpi): the symbol's width as the cut test measures it.
    auto* made = dynamic_cast<CGraphBarcode*>(area().GetAt(0));
    ASSERT_TRUE(made);
    const double symbol = made->Symbology().GetWidth("C000001", 300);
    ASSERT_LT(symbol, made->GetWidth()); // it fits its box: nothing is clipped
    // The bars: the symbol without its quiet zones of 10 modules (4 pixels
    // each at 300 dpi).
    const double paper = symbol - 2 * 10 * 4 * 25400.0 / 300;
    ASSERT_GT(paper, 20000);

    const auto check = [&](const char* when) {
        view->resize(1400, 800);
        for (int zoom : {50, 100, 400}) {
            view->SetZoom(zoom);
            view->RedrawScene();
            const CGraphObject& o = *area().GetAt(0);
            const double pixel = 25400.0 / ((view->LogPixelsX() * zoom + 50) / 100);
            EXPECT_NEAR(drawnWidth(o), paper, pixel + 25400.0 / 300) << when << " at " << zoom << " %";
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
