// The sheet painter on raster devices: where header, footer and labels land
// for a printer's two resolutions, printing offset and compensation and for
// a window; the printed label outline and corners; and how a walk over the
// positions ends with or without cut lines.
#include "document/print/sheetpainter.h"

#include "content/objects/shapes.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "support/test_support.h"

#include "support/project_fixture.h"

#include <map>

using projtest::ProjectTest;

namespace {

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);

// Where and at what zoom an area was drawn.
struct Placed {
    int x;
    int y;
    int zoom;
    bool operator==(const Placed&) const = default;
};

// A rectangle that notes where it is drawn, and draws nothing.
class NotingRect : public CGraphRect {
public:
    explicit NotingRect(std::vector<Placed>* log) : m_log(log) {}
    bool Draw(const DrawArgs& args) const override
    {
        m_log->push_back({args.offsetX, args.offsetY, args.zoom});
        return true;
    }

private:
    std::vector<Placed>* m_log;
};

class SheetPainterTest : public ProjectTest {
protected:
    CTemplate& tpl() { return doc.GetCurrentTemplate(); }
    void note(int area, std::vector<Placed>* log)
    {
        auto o = std::make_unique<NotingRect>(log);
        o->SetWidth(1000);
        o->SetHeight(1000);
        tpl().GetArea(area)->AddTail(std::move(o));
    }

    CVorteplanSoftLabelDoc doc;
};

// The x of every pixel of row y that is not white.
std::vector<int> markedInRow(const QImage& img, int y)
{
    std::vector<int> xs;
    for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) != kWhite)
            xs.push_back(x);
    return xs;
}

std::vector<int> span(int from, int to)
{
    std::vector<int> v;
    for (int x = from; x <= to; ++x)
        v.push_back(x);
    return v;
}

} // namespace

TEST_F(SheetPainterTest, HeaderFooterAndLabelsLandWhereTheMappingPutsThem)
{
    // Header at (1, 0.5) in, footer at (0.5, 2) in, the first label at
    // (0.2, 0.4) in.
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, 5000, false);
    label->SetHeight(0, 5000);
    label->SetLeft(0, 5080);
    label->SetTop(0, 10160);
    label->SetWidth(1, 20000, false);
    label->SetHeight(1, 5000);
    label->SetLeft(1, 25400);
    label->SetTop(1, 12700);
    label->SetWidth(2, 20000, false);
    label->SetHeight(2, 5000);
    label->SetLeft(2, 12700);
    label->SetTop(2, 50800);
    ASSERT_TRUE(label->HasHeader() && label->HasFooter());
    tpl().SetLabel(std::move(label));
    std::map<int, std::vector<Placed>> placed;
    for (int area = 0; area <= 2; ++area)
        note(area, &placed[area]);

    struct Case {
        const char* name;
        SheetMapping mapping;
        Placed header, footer, label;
    };
    const Case cases[] = {
        // A printer of 100 x 50 dpi whose printable area starts 7 and 3
        // pixels into the paper, without and with a compensation of
        // (0.1, 0.2) in, which moves everything printed.
        {"printer", SheetMapping::Printer(100, 50, POINT{7, 3}), {93, 22, 100}, {43, 97, 100}, {13, 17, 100}},
        {"compensated", SheetMapping::Printer(100, 50, POINT{7, 3}, SheetPoint{2540, 5080}), {103, 32, 100},
         {53, 107, 100}, {23, 27, 100}},
        // A window at 50 pixels per inch from (4, 8), objects at 52 %.
        {"screen", SheetMapping::Screen(50, 52, POINT{4, 8}), {54, 33, 52}, {29, 108, 52}, {14, 28, 52}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto& [area, log] : placed)
            log.clear();
        const CSheetLayout layout(*tpl().GetLabel(), SheetOrder::Across);
        CSheetPainter painter(doc, layout, c.mapping, {});
        QImage img = testsupport::whiteImage(200, 200);
        CDC dc(&img, c.mapping.resolutionX, c.mapping.resolutionY);
        ASSERT_TRUE(painter.PaintHeaderFooter(dc, 1));
        ASSERT_TRUE(painter.PaintLabel(dc, SheetPosition{0, 0, 0}, 1));
        EXPECT_EQ(placed[1], std::vector<Placed>{c.header});
        EXPECT_EQ(placed[2], std::vector<Placed>{c.footer});
        EXPECT_EQ(placed[0], std::vector<Placed>{c.label});
    }
}

TEST_F(SheetPainterTest, PrintedOutlineAndCornersAtEachResolution)
{
    // Labels of 10 x 5 mm, 0.1 in from the paper's edges, set apart.
    auto label = std::make_unique<CLabelExtExt>();
    label->SetWidth(0, 10000, false);
    label->SetHeight(0, 5000);
    label->SetColumnPitch(20000);
    label->SetRowPitch(10000);
    label->SetLeft(0, 2540);
    label->SetTop(0, 2540);
    CLabel* raw = label.get();
    tpl().SetLabel(std::move(label));
    tpl().SetPrintLabelBorders(true);
    tpl().SetBorderColor(RGB(255, 0, 0));

    struct Case {
        int dpiX, dpiY;
        int left, top, width, height; // the outline, less the printing offset (10, 5)
        std::vector<int> cornerRow;   // marked pixels of the top row of the corners at (20, 20)
        int thick;                    // pixels across a border of 0.5 mm
    };
    std::vector<int> corners300 = span(39, 42), corners600 = span(60, 66);
    corners300.insert(corners300.end(), {115, 116, 117, 118});
    corners600.insert(corners600.end(), {209, 210, 211, 212, 213, 214, 215});
    const Case cases[] = {
        {300, 300, 20, 25, 118, 59, corners300, 6},
        {600, 600, 50, 55, 236, 118, corners600, 12},
        // The width across, the height and the pen down.
        {600, 300, 50, 25, 236, 59, {}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dpiX) + " x " + std::to_string(c.dpiY));
        tpl().SetBorderWidth(0);
        raw->SetShape(0, kShapeRectangle);
        const CSheetLayout layout(*raw, SheetOrder::Across);
        CSheetPainter painter(doc, layout, SheetMapping::Printer(c.dpiX, c.dpiY, POINT{10, 5}), {});
        QImage img = testsupport::whiteImage(300, 200);
        CDC dc(&img, c.dpiX, c.dpiY);
        ASSERT_TRUE(painter.PaintLabel(dc, SheetPosition{0, 0, 0}, 1));
        // Right and bottom edges included, no fill.
        EXPECT_EQ(img.pixel(c.left, c.top), kRed);
        EXPECT_EQ(img.pixel(c.left + c.width, c.top + c.height), kRed);
        EXPECT_EQ(img.pixel(c.left + c.width + 1, c.top + c.height), kWhite);
        EXPECT_EQ(img.pixel(c.left - 1, c.top), kWhite);
        EXPECT_EQ(img.pixel(c.left + 1, c.top + 1), kWhite);

        if (!c.cornerRow.empty()) {
            // Corners of a rounded label with radius 2 mm: only the arcs,
            // on the top and bottom rows the pixels next to the corners.
            QImage corners = testsupport::whiteImage(300, 200);
            CDC cornerDc(&corners, c.dpiX, c.dpiY);
            raw->SetShape(0, kShapeRounded);
            raw->SetRadius(2000);
            painter.DrawPrintedLabelCorners(cornerDc, POINT{20, 20});
            EXPECT_EQ(markedInRow(corners, 20), c.cornerRow);
            EXPECT_EQ(markedInRow(corners, 20 + c.height - 1), c.cornerRow);
            EXPECT_TRUE(markedInRow(corners, 20 + c.height / 2).empty()); // no straight edges
            // A corner radius of any size read from a file draws without
            // overflow.
            for (const int32_t radius : {INT32_MAX, INT32_MIN}) {
                raw->SetRadius(radius);
                painter.DrawPrintedLabelCorners(cornerDc, POINT{INT32_MAX - 5, INT32_MIN + 5});
            }
        }

        tpl().SetBorderWidth(500);
        raw->SetShape(0, kShapeRectangle);
        QImage thick = testsupport::whiteImage(300, 200);
        CDC thickDc(&thick, c.dpiX, c.dpiY);
        painter.DrawPrintedLabelOutline(thickDc, POINT{50, 50});
        int across = 0;
        for (int x = 30; x < 70; ++x)
            across += thick.pixel(x, 70) == kRed;
        EXPECT_EQ(across, c.thick);
    }
}

TEST_F(SheetPainterTest, AWalkEndsWhereItsVisitSaysWithCutLinesOnlyAfterPaintedLabels)
{
    // 2 x 2 touching labels of 1 x 0.5 in at 100 dpi, red cut lines.
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, 25400, false);
    label->SetHeight(0, 12700);
    label->SetColumnPitch(25400);
    label->SetRowPitch(12700);
    label->SetColumns(2);
    label->SetRows(2);
    label->SetLeft(0, 0);
    label->SetTop(0, 0);
    tpl().SetLabel(std::move(label));
    tpl().SetPrintLabelBorders(true);
    tpl().SetBorderColor(RGB(255, 0, 0));
    const CSheetLayout layout(*tpl().GetLabel(), SheetOrder::Across);

    using Step = CSheetPainter::Step;
    using End = CSheetPainter::WalkEnd;
    struct Case {
        const char* name;
        int64_t firstIndex;
        Step second; // what the second visit says
        End end;
        std::vector<int> visited; // fill-order places
        bool bottomEdge;          // a cut line under the second row
        bool anyLine;
    };
    const Case cases[] = {
        {"all", 0, Step::Next, End::Done, {0, 1, 2, 3}, true, true},
        {"from the second", 1, Step::Next, End::Done, {1, 2, 3}, true, true},
        {"last", 0, Step::Last, End::Stopped, {0, 1}, false, true},
        {"failed", 0, Step::Failed, End::Failed, {0, 1}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheetPainter painter(doc, layout, SheetMapping::Printer(100, 100, POINT{}), {});
        QImage img = testsupport::whiteImage(300, 200);
        CDC dc(&img, 100, 100);
        std::vector<int> visited;
        CSheetPainter::Walk walk;
        walk.firstIndex = c.firstIndex;
        const End end = painter.PaintLabels(dc, walk, [&](const SheetPosition& p) {
            visited.push_back(int(layout.IndexOf(p)));
            return visited.size() == 2 ? c.second : Step::Next;
        });
        EXPECT_EQ(end, c.end);
        EXPECT_EQ(visited, c.visited);
        EXPECT_EQ(img.pixel(50, 100) == kRed, c.bottomEdge);
        EXPECT_EQ(testsupport::countPixels(img, 0xFF0000) > 0, c.anyLine);
    }
}
