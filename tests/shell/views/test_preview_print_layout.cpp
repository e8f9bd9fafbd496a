// The preview and the print run lay out the same sheet: at a preview scale
// equal to the printer's resolution every label, and the header, is drawn
// at the same place with the same label number (the preview's window
// offsets aside), in either fill order and over vertical blocks; and the
// marker borders of a module-marking strip fall on the same pixel columns.
// On a printer of unequal resolutions with a printing offset, labels,
// header, footer, label borders and cut lines still land on the paper
// where the preview shows them. A small sheet printed at equal resolutions
// without a printing offset, and its preview, keep the pixels of the
// references in tests/data/sheet.
#include "shell/views/labelpreview.h"

#include "content/objects/shapes.h"
#include "support/test_support.h"
#include "support/widgettest.h"
#include "views_test_support.h"

#include <QDir>

#include <tuple>

namespace {

using viewtest::SheetLabel;

struct Drawn {
    int label;
    int x;
    int y;
    bool operator==(const Drawn&) const = default;
};

// A rectangle that notes for which label and where it is drawn.
class NotingRect : public CGraphRect {
public:
    explicit NotingRect(std::vector<Drawn>* log) : m_log(log) {}
    bool Draw(const DrawArgs& args) const override
    {
        m_log->push_back({args.labelNumber, args.offsetX, args.offsetY});
        return true;
    }

private:
    std::vector<Drawn>* m_log;
};

// A small sheet on paper of its own, 100 x 80 mm: two rows of three labels
// of 28 x 20 mm, touching with rounded corners or set apart, a header and a
// footer, each area with a rectangle and an ellipse.
std::unique_ptr<CLabelFileNew> SmallSheet(bool touching)
{
    auto label = std::make_unique<CLabelFileNew>();
    label->SetPaperName("User defined");
    label->SetPaperWidth(1000, false);
    label->SetPaperLength(800, false);
    label->SetWidth(0, 28000, false);
    label->SetHeight(0, 20000);
    label->SetColumnPitch(touching ? 28000 : 30000);
    label->SetRowPitch(touching ? 20000 : 23000);
    label->SetColumns(3);
    label->SetRows(2);
    label->SetLeft(0, 6000);
    label->SetTop(0, 16000);
    if (touching) {
        label->SetShape(0, kShapeRounded);
        label->SetRadius(3000);
    }
    label->SetWidth(1, 80000, false);
    label->SetHeight(1, 5000);
    label->SetLeft(1, 10000);
    label->SetTop(1, 8000);
    label->SetWidth(2, 80000, false);
    label->SetHeight(2, 6000);
    label->SetLeft(2, 10000);
    label->SetTop(2, 64000);
    return label;
}

void AddShapes(CGraphCollection& area, int32_t width, int32_t height)
{
    auto rect = std::make_unique<CGraphRect>();
    rect->SetX(500);
    rect->SetY(500);
    rect->SetWidth(width - 1000);
    rect->SetHeight(height - 1000);
    area.AddTail(std::move(rect));
    auto ellipse = std::make_unique<CGraphEllipse>();
    ellipse->SetX(width / 4);
    ellipse->SetY(height / 4);
    ellipse->SetWidth(width / 2);
    ellipse->SetHeight(height / 2);
    area.AddTail(std::move(ellipse));
}

class PreviewAndPrintTest : public viewtest::ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        preview = std::make_unique<CLabelPreview>(doc.get());
        preview->setFrameShape(QFrame::NoFrame);
        preview->resize(800, 600);
        ASSERT_TRUE(widgettest::ShowAndWait(preview.get()));
    }
    void TearDown() override
    {
        preview.reset();
        ViewTest::TearDown();
    }
    CTemplate& tpl() { return doc->GetCurrentTemplate(); }
    void note(int area, std::vector<Drawn>* log)
    {
        auto o = std::make_unique<NotingRect>(log);
        o->SetWidth(1000);
        o->SetHeight(1000);
        tpl().GetArea(area)->AddTail(std::move(o));
    }
    // A whole run at `dpi` into `page` (a raster of that resolution).
    void print(int dpi, QImage* page) { print(dpi, dpi, POINT{0, 0}, page); }
    void print(int dpiX, int dpiY, POINT printingOffset, QImage* page)
    {
        ASSERT_TRUE(doc->CheckBeforePrint());
        CPrintInfo info;
        doc->PreparePrinting(info, nullptr);
        info.options.sortVertical = tpl().IsSortVertical() ? 1 : 0;
        CDC dc(page, dpiX, dpiY);
        ASSERT_TRUE(doc->BeginPrinting(dc, info, nullptr, printingOffset));
        for (int n = 0; n < 10; ++n) {
            doc->PrintPage(dc, info);
            if (!info.continuePrinting || info.maxPage == CPrintInfo::kEndAfterPage)
                break;
        }
    }
    static std::vector<Drawn> shifted(std::vector<Drawn> v, int dx, int dy)
    {
        for (Drawn& d : v) {
            d.x -= dx;
            d.y -= dy;
        }
        return v;
    }

    // The small sheet, with its shapes when asked, and red label borders
    // of one pixel; the preview sized to show it at 300 pixels per inch.
    void useSmallSheet(bool touching, bool shapes = true)
    {
        tpl().SetLabel(SmallSheet(touching));
        if (shapes) {
            AddShapes(*tpl().GetArea(0), 28000, 20000);
            AddShapes(*tpl().GetArea(1), 80000, 5000);
            AddShapes(*tpl().GetArea(2), 80000, 6000);
        }
        tpl().SetPrintLabelBorders(true);
        tpl().SetBorderWidth(100);
        tpl().SetBorderColor(RGB(255, 0, 0));
        preview->resize(1200, 953);
        preview->Invalidate();
    }

    std::unique_ptr<CLabelPreview> preview;
};

// The red pixels of `image`.
std::vector<QPoint> redPixels(const QImage& image)
{
    std::vector<QPoint> red;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) == 0xFF0000u)
                red.push_back(QPoint(x, y));
    return red;
}

// Whether `image` has a red pixel within `dx` and `dy` of (x, y).
bool redNear(const QImage& image, int x, int y, int dx, int dy)
{
    for (int j = y - dy; j <= y + dy; ++j)
        for (int i = x - dx; i <= x + dx; ++i)
            if (image.valid(i, j) && (image.pixel(i, j) & 0xFFFFFFu) == 0xFF0000u)
                return true;
    return false;
}

// Compares `image` with the reference `name` in tests/data/sheet, or writes
// it into the folder VSL_SHEET_REFERENCES_OUT names.
void ExpectReference(const QImage& image, const QString& name)
{
    const QString out = qEnvironmentVariable("VSL_SHEET_REFERENCES_OUT");
    if (!out.isEmpty()) {
        ASSERT_TRUE(QDir().mkpath(out));
        ASSERT_TRUE(image.convertToFormat(QImage::Format_RGB32).save(QDir(out).filePath(name)));
        return;
    }
    const QImage reference(testsupport::dataPath("sheet/" + name));
    ASSERT_FALSE(reference.isNull()) << name.toStdString();
    EXPECT_EQ(testsupport::countDifferentPixels(image, reference.convertToFormat(QImage::Format_RGB32)), 0)
        << name.toStdString();
}

} // namespace

TEST_F(PreviewAndPrintTest, PrintAndPreviewPutEverythingOnTheSamePaperPlace)
{
    struct Case {
        const char* name;
        int dpiX, dpiY;
        POINT offset; // where the printer's device starts on the paper
        bool touching;
    };
    const Case cases[] = {
        {"600 x 300 dpi, offset, touching", 600, 300, {50, 80}, true},
        {"600 x 300 dpi, offset, apart", 600, 300, {50, 80}, false},
        {"300 dpi, touching", 300, 300, {0, 0}, true},
        {"300 dpi, apart", 300, 300, {0, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // No shapes: their wide pens would cover borders of the labels
        // around them.
        useSmallSheet(c.touching, false);
        std::vector<Drawn> labels, header, footer;
        note(0, &labels);
        note(1, &header);
        note(2, &footer);
        preview->Invalidate();
        ASSERT_EQ(preview->GetScale(), 300);
        const QImage shown = preview->BackBuffer().copy();
        const std::vector<std::vector<Drawn>> shownAreas{labels, header, footer};
        labels.clear();
        header.clear();
        footer.clear();
        QImage page = testsupport::whiteImage(2400, 1000);
        print(c.dpiX, c.dpiY, c.offset, &page);
        const std::vector<std::vector<Drawn>> printedAreas{labels, header, footer};

        // Places on the paper in pixels at 300 per inch: the preview's less
        // its window offsets, the printer's scaled from its resolutions.
        auto fromPrinter = [&](double x, double y) {
            return QPointF((x + c.offset.x) * 300 / c.dpiX, (y + c.offset.y) * 300 / c.dpiY);
        };
        auto fromPreview = [](double x, double y) {
            return QPointF(x - preview::kPageLeft, y - preview::kPageTop);
        };
        for (size_t area = 0; area < 3; ++area) {
            SCOPED_TRACE(area);
            const std::vector<Drawn>& printed = printedAreas[area];
            const std::vector<Drawn>& previewed = shownAreas[area];
            ASSERT_EQ(printed.size(), area == 0 ? 6u : 1u);
            ASSERT_EQ(previewed.size(), printed.size());
            for (size_t i = 0; i < printed.size(); ++i) {
                EXPECT_EQ(printed[i].label, previewed[i].label);
                const QPointF d = fromPrinter(printed[i].x, printed[i].y) - fromPreview(previewed[i].x, previewed[i].y);
                EXPECT_LE(std::abs(d.x()), 1.0) << i;
                EXPECT_LE(std::abs(d.y()), 1.0) << i;
            }
        }
        // Borders and cut lines: every red pixel of either has one of the
        // other within a pixel at 300 per inch.
        const std::vector<QPoint> printedRed = redPixels(page);
        const std::vector<QPoint> shownRed = redPixels(shown);
        ASSERT_GT(printedRed.size(), 1000u);
        ASSERT_GT(shownRed.size(), 1000u);
        int strays = 0;
        for (const QPoint& p : printedRed) {
            const QPointF at = fromPrinter(p.x(), p.y());
            strays += !redNear(shown, int(at.x()) + preview::kPageLeft, int(at.y()) + preview::kPageTop, 1, 1);
        }
        for (const QPoint& p : shownRed) {
            const QPointF at = fromPreview(p.x(), p.y());
            const int x = int(at.x() * c.dpiX / 300) - c.offset.x;
            const int y = int(at.y() * c.dpiY / 300) - c.offset.y;
            strays += !redNear(page, x, y, c.dpiX / 300, c.dpiY / 300);
        }
        EXPECT_EQ(strays, 0);
        for (int area = 0; area < 3; ++area)
            tpl().GetArea(area)->RemoveAll();
    }
}

TEST_F(PreviewAndPrintTest, EqualResolutionsWithoutOffsetKeepTheirPixels)
{
    for (const bool touching : {true, false}) {
        SCOPED_TRACE(touching ? "touching" : "apart");
        useSmallSheet(touching);
        ASSERT_EQ(preview->GetScale(), 300);
        // 100 x 80 mm at 300 dpi.
        QImage page = testsupport::whiteImage(1181, 945);
        print(300, &page);
        ExpectReference(page, touching ? "print_touching.png" : "print_apart.png");
        // The preview as it shows the labels: no header, footer or borders.
        CLabelFileNew& label = static_cast<CLabelFileNew&>(*tpl().GetLabel());
        label.TogglePart(1);
        label.TogglePart(2);
        tpl().SetPrintLabelBorders(false);
        preview->Invalidate();
        ExpectReference(preview->BackBuffer(), touching ? "preview_touching.png" : "preview_apart.png");
    }
}

TEST_F(PreviewAndPrintTest, TheSameLabelsAtTheSameOriginsInBothOrdersAndBlocks)
{
    auto label = SheetLabel(3, 2);
    label->SetBlockCount(2);
    label->SetBlockSpace(5000);
    label->SetWidth(1, 150000, true);
    label->SetHeight(1, 8000);
    label->SetLeft(1, 30000);
    label->SetTop(1, 6000);
    tpl().SetLabel(std::move(label));
    std::vector<Drawn> labels, header;
    note(0, &labels);
    note(1, &header);

    for (const bool down : {false, true}) {
        tpl().SetSortVertical(down);
        labels.clear();
        header.clear();
        preview->Invalidate();
        ASSERT_EQ(preview->GetScale(), 50);
        const std::vector<Drawn> shown = shifted(labels, preview::kPageLeft, preview::kPageTop);
        const std::vector<Drawn> shownHeader = shifted(header, preview::kPageLeft, preview::kPageTop);
        ASSERT_EQ(shown.size(), 12u) << down;

        labels.clear();
        header.clear();
        QImage page(420, 600, QImage::Format_RGB32);
        print(50, &page);
        // Both in the fill order: numbers 1 .. 12 at the same places.
        EXPECT_EQ(labels, shown) << down;
        EXPECT_EQ(header.size(), 1u);
        EXPECT_EQ(header, shownHeader) << down;
        // The two blocks lie one under the other.
        EXPECT_GT(shown[6].y, shown[5].y);
        EXPECT_EQ(shown[6].x, shown[0].x);
    }
}

TEST_F(PreviewAndPrintTest, MarkerBordersOnTheSameColumns)
{
    tpl().SetLabel(SheetLabel(3, 1));
    ASSERT_TRUE(tpl().ToggleModuleMarking());
    CModuleMarkingRow& strip = tpl().GetJob().GetCurrentRow();
    strip.SetModuleCount(3);
    for (int i = 0; i < 3; ++i) {
        strip.Module(i).m_width = 15000 + 5000 * i;
        strip.Module(i).m_multiplier = 1;
    }
    strip.SetAllGaps(2000);
    ASSERT_TRUE(tpl().GetJob().HasMarkerBorders());
    const CLabel& label = *tpl().GetLabel();
    doc->SetCurrentTableRow(-1); // no module selected in the preview
    preview->Invalidate();
    ASSERT_EQ(preview->GetScale(), 50);
    QImage page(420, 600, QImage::Format_RGB32);
    page.fill(Qt::white);
    print(50, &page);

    // Black columns across the middle of the first strip, from its left edge
    // to the end of its last module.
    const int left = preview::ToPixels(label.GetLeft(0), 50);
    const int middle = preview::ToPixels(label.GetTop(0) + label.GetStripWidth() / 2, 50);
    const int end = left + preview::ToPixels(15000 + 20000 + 25000 + 3 * 2000, 50) + 2;
    std::vector<int> printed, shown;
    for (int x = left + 1; x < end; ++x) {
        if ((page.pixel(x, middle) & 0xFFFFFFu) == 0)
            printed.push_back(x);
        if ((preview->BackBuffer().pixel(x + preview::kPageLeft, middle + preview::kPageTop) & 0xFFFFFFu) == 0)
            shown.push_back(x);
    }
    // After every module, the last one too: the modules are set apart.
    EXPECT_EQ(printed.size(), 3u);
    EXPECT_EQ(shown, printed);
}
