// The same label drawn by the design view at 50, 100 and 400 %, by the
// preview and into a PDF at the printer's resolution, rendered at 300 dpi:
// every object (texts, each barcode
// symbology, an image, shapes and a group, at each quarter turn) covers the
// same place on every device, within a device pixel of each; the preview
// draws the bars of every barcode; and a QR code bound to rows of
// different lengths is drawn at the size reported for each row.
#include "content/images/graphimage.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/group.h"
#include "content/objects/shapes.h"
#include "shell/design/designview.h"
#include "shell/printdriver.h"
#include "shell/views/labelpreview.h"
#include "platform/units.h"

#include "support/print_sheet.h"
#include "support/widgettest.h"
#include "views_test_support.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include <functional>
#include <optional>

namespace {

constexpr int32_t kCell = 42000;   // one object per 42 mm cell, 4 x 4 cells
constexpr int32_t kMargin = 4000;  // the cells start 4 mm into the label
constexpr int32_t kLabelSide = 2 * kMargin + 4 * kCell;
constexpr int32_t kLong = 36000;   // object box before it turns
constexpr int32_t kShort = 30000;
constexpr int kKinds = 16;

const char* const kKindNames[kKinds] = {"text",    "multi-line text", "Code 39", "2/5 Interleaved",
                                        "EAN 13",  "UPCA",            "EAN 8",   "Code 128",
                                        "EAN 128", "QR Code",         "image",   "rectangle",
                                        "ellipse", "rounded",         "triangle", "group"};

LOGFONTA arial(int points)
{
    LOGFONTA lf{};
    lf.lfHeight = -points * 96 / 72;
    lf.lfWeight = 400;
    SetFaceName(lf, "DejaVu Sans");
    return lf;
}

std::unique_ptr<CGraphTextExt> fixedText(const std::string& text)
{
    auto t = std::make_unique<CGraphTextExt>();
    t->SetSourceType(kTextKindFixed);
    t->SetText(text);
    t->SetLogFont(arial(14));
    t->SetAutoSize(true);
    return t;
}

std::unique_ptr<CGraphObject> makeKind(int kind, const std::string& imageFile)
{
    if (kind == 0)
        return fixedText("Wire 12");
    if (kind == 1)
        return fixedText("Cable 3\r\nX1:7");
    if (kind >= 2 && kind <= 9) {
        static const char* const symbologies[] = {"Code 39", "2/5 Interleaved", "EAN 13", "UPCA",
                                                  "EAN 8",   "Code 128",        "EAN 128"};
        auto b = std::make_unique<CGraphBarcode>();
        b->SetSourceType(kTextKindFixed);
        b->SetLogFont(arial(8));
        if (kind == 9) {
            b->SetSymbologyName(std::string("QR Code") + '\xAE');
            b->SetText("QR 17");
            b->SetModule(700);
        } else {
            b->SetSymbologyName(symbologies[kind - 2]);
            b->SetText(kind == 3 ? "123456" : kind >= 4 && kind <= 6 ? "4006381333931" : "C17");
            if (b->IsEAN())
                b->SetModulePercent(80);
            else
                b->SetModule(300);
            b->SetBarHeight(12000);
        }
        return b;
    }
    switch (kind) {
    case 10: {
        auto image = std::make_unique<CGraphImageExtExt>();
        image->SetImageFile(imageFile);
        image->SetStretch(true);
        return image;
    }
    case 11: return std::make_unique<CGraphRect>();
    case 12: return std::make_unique<CGraphEllipse>();
    case 13: return std::make_unique<CGraphRectRounded>();
    case 14: {
        auto t = std::make_unique<CGraphTriangleExt>();
        t->SetWarningSign(false);
        return t;
    }
    default: {
        auto g = std::make_unique<CGraphGroup>();
        auto r = std::make_unique<CGraphRect>();
        r->SetX(0);
        r->SetY(0);
        r->SetWidth(kLong);
        r->SetHeight(kShort / 3);
        g->AddTail(std::move(r));
        auto t = fixedText("G4");
        t->SetY(kShort / 3);
        t->SetWidth(kLong);
        t->SetHeight(kShort - kShort / 3);
        g->AddTail(std::move(t));
        return g;
    }
    }
}

// Where cell `i` starts on the label (um).
POINT cellOrigin(int i)
{
    return {kMargin + (i % 4) * kCell, kMargin + (i / 4) * kCell};
}

// The label's objects: every kind, turned `quarters` times counter-clockwise
// about the middle of its cell.
void buildArea(CGraphCollection& area, int quarters, const std::string& imageFile)
{
    area.RemoveAll();
    for (int i = 0; i < kKinds; ++i) {
        std::unique_ptr<CGraphObject> o = makeKind(i, imageFile);
        const POINT c = cellOrigin(i);
        const int32_t x = c.x + (kCell - kLong) / 2, y = c.y + (kCell - kShort) / 2;
        if (o->IsGroup()) {
            o->Offset(x, y);
        } else {
            o->SetX(x);
            o->SetY(y);
            o->SetWidth(kLong);
            o->SetHeight(kShort);
        }
        for (int q = 0; q < quarters; ++q)
            o->Rotate90(c.x + kCell / 2, c.y + kCell / 2, 1);
        area.AddTail(std::move(o));
    }
}

// The box of the dark pixels (the ink) of `image` inside `region`, in um
// relative to `origin` (device pixels of the label's corner) at `ppi`.
struct InkBox {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool empty = true;
};

InkBox inkBox(const QImage& image, QRect region, QPointF origin, double ppi)
{
    int l = INT32_MAX, t = INT32_MAX, r = -1, b = -1;
    region = region.intersected(image.rect());
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
    InkBox box;
    if (r < 0)
        return box;
    const double um = 25400.0 / ppi;
    box = {(l - origin.x()) * um, (t - origin.y()) * um, (r + 1 - origin.x()) * um, (b + 1 - origin.y()) * um, false};
    return box;
}

struct Raster;
int barEdges(const Raster& r, int i, int quarters);

// One device's drawing of the label: its pixels, where the label's corner
// lies and the pixels per inch of the objects on it.
struct Raster {
    std::string name;
    QImage image;
    QPointF origin;
    double ppi = 96;
};

// The cell's region on a raster, a little wider than the cell.
QRect cellRegion(const Raster& r, int i)
{
    const POINT c = cellOrigin(i);
    const double px = r.ppi / 25400.0;
    const int pad = 1000;
    return QRect(QPoint(int(r.origin.x() + (c.x + pad) * px), int(r.origin.y() + (c.y + pad) * px)),
                 QPoint(int(r.origin.x() + (c.x + kCell - pad) * px), int(r.origin.y() + (c.y + kCell - pad) * px)));
}

// Light-dark changes along a line through the middle of the symbol's
// bars (a third of the way across the box, turned with it).
int barEdges(const Raster& r, int i, int quarters)
{
    const QRect cell = cellRegion(r, i);
    const bool sideways = quarters % 2 == 1;
    const QPoint mid = cell.center();
    const int across = int(kShort / 2 / 25400.0 * r.ppi * 0.4);
    int edges = 0;
    bool dark = false;
    const int n = sideways ? cell.height() : cell.width();
    for (int k = 0; k < n; ++k) {
        int x, y;
        if (sideways) {
            x = quarters == 1 ? mid.x() - across : mid.x() + across;
            y = cell.top() + k;
        } else {
            x = cell.left() + k;
            y = quarters == 0 ? mid.y() - across : mid.y() + across;
        }
        if (!r.image.rect().contains(x, y))
            continue;
        const bool d = qGray(r.image.pixel(x, y)) < 160;
        edges += d != dark;
        dark = d;
    }
    return edges;
}

class AgreementFixture : public viewtest::ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        m_image = m_dir.filePath("dark.png").toStdString();
        QImage dark(40, 30, QImage::Format_RGB32);
        dark.fill(qRgb(20, 20, 120));
        ASSERT_TRUE(dark.save(QString::fromStdString(m_image), "PNG"));

        auto label = std::make_unique<CLabelFileNew>();
        label->SetWidth(0, kLabelSide, false);
        label->SetHeight(0, kLabelSide);
        label->SetRows(1);
        label->SetColumns(1);
        label->SetColumnPitch(kLabelSide);
        label->SetRowPitch(kLabelSide);
        label->SetLeft(0, 20000);
        label->SetTop(0, 20000);
        label->SetBlockCount(1);
        CTemplate& tpl = doc->GetCurrentTemplate();
        tpl.SetLabel(std::move(label));
        tpl.SetFieldContours(false);
    }

    Raster designView(int zoom)
    {
        Vorteplan_SoftLabelDesignView view(doc.get());
        const int side = int(int64_t(kLabelSide) * 96 * zoom / 100 / 25400) + 40;
        view.resize(side, side);
        EXPECT_TRUE(widgettest::ShowAndWait(&view));
        view.SetZoom(zoom);
        view.RedrawScene();
        const int ppi = (96 * zoom + 50) / 100;
        return Raster{"design " + std::to_string(zoom) + " %", view.BackBuffer().copy(), {0, 0}, double(ppi)};
    }

    Raster preview()
    {
        CLabelPreview view(doc.get());
        view.resize(900, 1200);
        EXPECT_TRUE(widgettest::ShowAndWait(&view));
        view.Invalidate();
        const int scale = view.GetScale();
        const QPointF corner(preview::ToPixels(20000, scale) + preview::kLabelLeft,
                             preview::ToPixels(20000, scale) + preview::kLabelTop);
        return Raster{"preview", view.BackBuffer().copy(), corner, double(scale)};
    }

    // The label drawn as printing draws it for `labelNumber`, into a PDF at
    // the resolution of the application's printer (which the views lay
    // barcodes out at), read back with pdftoppm at 300 dpi.
    std::optional<Raster> pdf(int labelNumber = 1)
    {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (tool.isEmpty())
            return std::nullopt;
        const QString file = m_dir.filePath("label.pdf");
        const int dpi = CPrintDriver::ApplicationPrinter().logicalDpiX();
        {
            auto printer = printtest::PdfPrinter(file, dpi);
            QPainter painter(printer.get());
            CDC dc(&painter, dpi, dpi, printer->width(), printer->height());
            AreaDrawRequest request;
            request.zoom = 100;
            request.originX = units::UmToPx(20000, dpi);
            request.originY = units::UmToPx(20000, dpi);
            request.flags = kDrawPrinting;
            request.resolutionX = dpi;
            request.resolutionY = dpi;
            request.labelNumber = labelNumber;
            EXPECT_TRUE(doc->DrawArea(0, dc, request));
        }
        QProcess p;
        p.start(tool, {"-r", "300", "-aa", "no", "-aaVector", "no", "-png", "-f", "1", "-l", "1", "-singlefile", file,
                       m_dir.filePath("label")});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return std::nullopt;
        QImage page(m_dir.filePath("label.png"));
        if (page.isNull())
            return std::nullopt;
        const double corner = units::UmToPx(20000, dpi) * 300.0 / dpi;
        return Raster{"PDF 300 dpi", page.convertToFormat(QImage::Format_RGB32), {corner, corner}, 300.0};
    }

    std::string m_image;
    QTemporaryDir m_dir;
};

class DrawingAgreementTest : public AgreementFixture, public ::testing::WithParamInterface<int> {};

// One rotation (quarter turns) per test, so that each test stays short.
TEST_P(DrawingAgreementTest, EveryObjectCoversTheSamePlaceOnEveryDevice)
{
    {
        const int quarters = GetParam();
        buildArea(*doc->GetCurrentTemplate().GetArea(0), quarters, m_image);
        std::vector<Raster> rasters;
        for (int zoom : {50, 100, 400})
            rasters.push_back(designView(zoom));
        rasters.push_back(preview());
        if (auto printed = pdf())
            rasters.push_back(*printed);
        else
            ADD_FAILURE() << "pdftoppm (poppler-utils) could not rasterise the PDF";
        for (const Raster& r : rasters)
            ASSERT_GT(r.ppi, 0) << r.name;
        const Raster& paper = rasters.back();
        for (int i = 0; i < kKinds; ++i) {
            const InkBox want = inkBox(paper.image, cellRegion(paper, i), paper.origin, paper.ppi);
            ASSERT_FALSE(want.empty) << kKindNames[i] << " at " << quarters * 90 << " degrees on paper";
            if (i >= 2 && i <= 9) {
                EXPECT_GE(barEdges(rasters[3], i, quarters), 10) << kKindNames[i] << " at " << quarters * 90
                                                                 << " degrees has no bars in the preview";
            }
            for (const Raster& r : rasters) {
                const InkBox got = inkBox(r.image, cellRegion(r, i), r.origin, r.ppi);
                ASSERT_FALSE(got.empty) << kKindNames[i] << " at " << quarters * 90 << " degrees, " << r.name;
                // The bars (and a QR code's modules) along the symbol: one
                // pixel of each device. Edges of glyphs and of pen strokes
                // are rasterised by the font engine and the pen, whose
                // sizes round to whole pixels at small scales: two and a
                // half pixels of the screen.
                const double exact = 25400.0 / r.ppi + 25400.0 / paper.ppi;
                const double stroke = 2.5 * 25400.0 / r.ppi + 25400.0 / paper.ppi;
                const bool linear = i >= 2 && i <= 8;
                const bool sideways = quarters % 2 == 1;
                const double horizontal = i == 9 || (linear && !sideways) ? exact : stroke;
                const double vertical = i == 9 || (linear && sideways) ? exact : stroke;
                const std::string where = std::string(kKindNames[i]) + " at " + std::to_string(quarters * 90) +
                                          " degrees, " + r.name;
                EXPECT_NEAR(got.left, want.left, horizontal) << where;
                EXPECT_NEAR(got.right, want.right, horizontal) << where;
                EXPECT_NEAR(got.top, want.top, vertical) << where;
                EXPECT_NEAR(got.bottom, want.bottom, vertical) << where;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rotations, DrawingAgreementTest, ::testing::Range(0, 4));

} // namespace

namespace {

class QrRowsAgreement : public AgreementFixture {};

// A QR code bound to rows of different lengths: on every device each
// row's symbol is drawn at the size the object reports for that row, also
// when the rows are drawn one after another (the preview's sheet).
TEST_F(QrRowsAgreement, EachRowIsDrawnAtTheSizeReportedForIt)
{
    const std::vector<std::string> rows = {"Q1", std::string(30, 'q'), std::string(70, 'w'), std::string(12, 'e')};
    for (size_t r = 0; r < rows.size(); ++r)
        doc->GetTable(0)->SetCellText(int(r), 0, rows[r]);
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, kCell, false);
    label->SetHeight(0, kCell);
    label->SetRows(1);
    label->SetColumns(int(rows.size()));
    label->SetColumnPitch(kCell);
    label->SetRowPitch(kCell);
    label->SetLeft(0, 20000);
    label->SetTop(0, 20000);
    label->SetBlockCount(1);
    doc->GetCurrentTemplate().SetLabel(std::move(label));
    auto qr = std::make_unique<CGraphBarcode>();
    qr->SetSymbologyName(std::string("QR Code") + '\xAE');
    qr->SetSourceColumnText("A");
    qr->SetModule(500);
    qr->SetQrMarginText("0");
    qr->SetCenterVertical(false);
    qr->SetX(kMargin);
    qr->SetY(kMargin);
    qr->SetWidth(kLong);
    qr->SetHeight(kLong);
    const CGraphBarcode& object = *qr;
    doc->GetCurrentTemplate().GetArea(0)->AddTail(std::move(qr));

    // The symbol's ink on a raster where the label of `row` starts at
    // `corner`, against the side reported at the resolution the symbol is
    // laid out at (the printer's).
    const auto check = [&](const Raster& r, QPointF corner, size_t row) {
        // Inside the label's outline.
        const double px = r.ppi / 25400.0;
        const int pad = 1000;
        const QRect region(QPoint(int(corner.x() + pad * px), int(corner.y() + pad * px)),
                           QPoint(int(corner.x() + (kCell - pad) * px), int(corner.y() + (kCell - pad) * px)));
        const InkBox ink = inkBox(r.image, region, corner, r.ppi);
        ASSERT_FALSE(ink.empty) << r.name << " row " << row + 1;
        DrawContext context;
        context.labelNumber = int(row + 1);
        context.table = doc->GetTable(0);
        const std::string text = object.SymbolText(context);
        ASSERT_EQ(text, rows[row]);
        BarcodeHost host;
        const int dpi = CPrintDriver::ApplicationPrinter().logicalDpiX();
        const double tolerance = 25400.0 / r.ppi + 25400.0 / 300;
        // The height first: nothing encodes the row's text before it.
        EXPECT_NEAR(ink.bottom - ink.top, object.Symbology().GetHeight(host, text, dpi), tolerance)
            << r.name << " row " << row + 1;
        EXPECT_NEAR(ink.right - ink.left, object.Symbology().GetWidth(text, dpi), tolerance)
            << r.name << " row " << row + 1;
    };

    const Raster sheet = preview();
    for (size_t row = 0; row < rows.size(); ++row) {
        const double px = sheet.ppi / 25400.0;
        check(sheet, sheet.origin + QPointF(double(row) * kCell * px, 0), row);
    }
    for (size_t row = 0; row < rows.size(); ++row) {
        doc->SetCurrentTableRow(int(row));
        check(designView(100), {0, 0}, row);
        if (auto printed = pdf(int(row + 1)))
            check(*printed, printed->origin, row);
        else
            ADD_FAILURE() << "pdftoppm (poppler-utils) could not rasterise the PDF";
    }
}

} // namespace
