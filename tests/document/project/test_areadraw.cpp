// Area drawing of the project document onto raster images: the hint
// without a label definition, objects filled from the visible table,
// module-marking bands, and the printed label border at 300 and 600 dpi.
#include "document/project/projectdoc.h"

#include "content/objects/shapes.h"
#include "support/test_support.h"

#include "marking_strip.h"
#include "support/project_fixture.h"

using projtest::ProjectTest;

namespace {

// What one object was drawn with.
struct Drawn {
    int labelNumber;
    std::string columnA; // the text of table column A for that label
    std::string columnC;
    bool operator==(const Drawn&) const = default;
};

// A rectangle that logs every drawing.
class LoggingRect : public CGraphRect {
public:
    explicit LoggingRect(std::vector<Drawn>* log) : m_log(log) {}
    bool Draw(const DrawArgs& args) const override
    {
        m_log->push_back({args.labelNumber, args.CellText(0), args.CellText(2)});
        return CGraphRect::Draw(args);
    }

private:
    std::vector<Drawn>* m_log;
};

class AreaDrawTest : public ProjectTest {
protected:
    // An object across x = left..left + 6 mm.
    void addObject(int32_t left, std::vector<Drawn>* log)
    {
        auto o = std::make_unique<LoggingRect>(log);
        o->SetX(left);
        o->SetY(1000);
        o->SetWidth(6000);
        o->SetHeight(3000);
        doc.GetCurrentTemplate().GetArea(0)->AddTail(std::move(o));
    }
    void fillTable(int rows)
    {
        for (int r = 0; r < rows; ++r) {
            doc.GetTable(0)->SetCellText(r, 0, "A" + std::to_string(r));
            doc.GetTable(0)->SetCellText(r, 1, "B" + std::to_string(r));
            doc.GetTable(0)->SetCellText(r, 2, "C" + std::to_string(r));
        }
    }
    // A module-marking label: three modules of 10 mm from x = 0.
    void moduleMarking() { ASSERT_TRUE(projtest::threeMarksOf10mm(doc.GetCurrentTemplate())); }

    CVorteplanSoftLabelDoc doc;
};

// The x of every pixel of row y that is not white.
std::vector<int> markedInRow(const QImage& img, int y)
{
    std::vector<int> xs;
    for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) != qRgb(255, 255, 255))
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

int countDark(const QImage& img, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += qGray(img.pixel(x, y)) < 128;
    return n;
}

struct OddRows : CRowSelection {
    bool IsRowSelected(int row) const override { return row % 2 == 1; }
};

} // namespace

TEST_F(AreaDrawTest, WithoutALabelDefinitionOnlyTheHintIsDrawn)
{
    ASSERT_EQ(doc.GetCurrentTemplate().GetLabel(), nullptr);
    QImage img = testsupport::whiteImage(700, 150);
    CDC dc(&img);
    doc.DrawLabelBackground(100, dc, 0);
    EXPECT_GT(countDark(img, 20, 20, 600, 100), 50);
    EXPECT_EQ(countDark(img, 0, 0, 700, 20), 0);
    EXPECT_EQ(countDark(img, 0, 100, 700, 150), 0);
    EXPECT_EQ(dc.GetBkMode(), OPAQUE); // the state is given back
}

TEST_F(AreaDrawTest, ObjectsTakeTheVisibleTablesRow)
{
    std::vector<Drawn> log;
    addObject(1000, &log);
    fillTable(4);
    auto filter = std::make_unique<CDataTableFilter>();
    filter->SetExcludeText("A0", 0);
    filter->GetItem(0)->m_exclude[0] = 1;
    filter->GetItem(1)->m_used = 0;
    doc.SetFilter(0, std::move(filter), nullptr);

    QImage img = testsupport::whiteImage(100, 60);
    CDC dc(&img);
    AreaDrawRequest request;
    request.labelNumber = 2;
    ASSERT_TRUE(doc.DrawArea(0, dc, request));
    doc.EnableTableFilter();
    ASSERT_TRUE(doc.DrawArea(0, dc, request));
    EXPECT_TRUE(doc.DrawArea(3, dc, request)); // no such area: nothing
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], (Drawn{2, "A1", "C1"}));
    EXPECT_EQ(log[1], (Drawn{2, "A2", "C2"})); // filtered row 1 is full row 2
    // The rectangle itself is on the image (1 mm at 96 dpi: x = 4).
    EXPECT_LT(qGray(img.pixel(4, 10)), 128);
}

TEST_F(AreaDrawTest, ModuleMarkingBandsTakeOneRowPerModuleNotSkipped)
{
    moduleMarking();
    doc.GetCurrentTemplate().GetJob().GetCurrentRow().Module(1).m_skip = true;
    fillTable(6);
    std::vector<Drawn> first, skipped, third, beyond, left;
    addObject(2000, &first);   // centre 5 mm: module 0
    addObject(12000, &skipped); // centre 15 mm: module 1, skipped
    addObject(22000, &third);  // centre 25 mm: module 2
    addObject(40000, &beyond); // centre 43 mm: the end band
    addObject(-9000, &left);   // centre -6 mm: left of the strip

    QImage img = testsupport::whiteImage(200, 60);
    CDC dc(&img);
    AreaDrawRequest request;
    request.labelNumber = 3;
    ASSERT_TRUE(doc.DrawArea(0, dc, request));
    EXPECT_EQ(first, (std::vector<Drawn>{{3, "A2", "C2"}}));
    EXPECT_EQ(skipped, (std::vector<Drawn>{{-1, "", ""}}));
    EXPECT_EQ(third, (std::vector<Drawn>{{4, "A3", "C3"}}));
    EXPECT_EQ(beyond, (std::vector<Drawn>{{-1, "", ""}}));
    EXPECT_EQ(left, (std::vector<Drawn>{{3, "A2", "C2"}}));

    // Printing only the selected rows: rows 2 and 3 -> only row 3 (label 4).
    for (auto* v : {&first, &skipped, &third, &beyond, &left})
        v->clear();
    OddRows odd;
    request.selection = &odd;
    ASSERT_TRUE(doc.DrawArea(0, dc, request));
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(third.size(), 1u);
    // Or a range of label numbers.
    for (auto* v : {&first, &skipped, &third, &beyond, &left})
        v->clear();
    request.selection = nullptr;
    request.rangeOnly = true;
    request.rangeFirst = 1;
    request.rangeLast = 3;
    ASSERT_TRUE(doc.DrawArea(0, dc, request));
    EXPECT_EQ(first.size(), 1u);
    EXPECT_TRUE(third.empty());

    // On material of fixed length the end band stops at the material's end.
    for (auto* v : {&first, &skipped, &third, &beyond, &left})
        v->clear();
    request.rangeOnly = false;
    CModuleMarkingJob& job = doc.GetCurrentTemplate().GetJob();
    job.ToggleFixedLength();
    job.SetMaterialLength(35000);
    ASSERT_TRUE(doc.DrawArea(0, dc, request));
    EXPECT_EQ(beyond, (std::vector<Drawn>{{3, "A2", "C2"}})); // past the material: last pass
}

TEST_F(AreaDrawTest, ModuleMarkingBackgroundAndCurrentModule)
{
    moduleMarking();
    QImage img = testsupport::whiteImage(200, 80);
    CDC dc(&img);
    doc.DrawCurrentMarker(dc, 100, true, false); // no fill asked for
    EXPECT_EQ(countDark(img, 0, 0, 200, 80), 0);
    doc.DrawLabelBackground(100, dc, 0);
    // Module boundary at 10 mm: x = (96 * 10000 + 12700) / 25400 = 38.
    EXPECT_NE(img.pixel(38, 20) & 0xFFFFFF, 0xFFFFFFu);
    QImage marked = testsupport::whiteImage(200, 80);
    CDC markedDc(&marked);
    doc.DrawCurrentMarker(markedDc, 100, false, true);
    EXPECT_EQ(marked.pixel(10, 10) & 0xFFFFFF, 0xA0A0A0u);
}

TEST_F(AreaDrawTest, PrintedLabelOutlineAndCornersAt300And600Dpi)
{
    auto label = std::make_unique<CLabelExtExt>();
    label->SetWidth(0, 10000, false);
    label->SetHeight(0, 5000);
    CLabel* raw = label.get();
    doc.GetCurrentTemplate().SetLabel(std::move(label));
    doc.GetCurrentTemplate().SetBorderColor(RGB(255, 0, 0));

    for (int dpi : {300, 600}) {
        SCOPED_TRACE(dpi);
        const int w = (10000 * dpi + 12700) / 25400; // 118 / 236
        const int h = (5000 * dpi + 12700) / 25400;  // 59 / 118
        QImage img = testsupport::whiteImage(300, 200);
        CDC dc(&img, dpi, dpi);
        raw->SetShape(0, 0);
        doc.DrawPrintedLabelOutline(POINT{30, 25}, dc, POINT{10, 5});
        const QRgb red = qRgb(255, 0, 0);
        // From the position less the printing offset; right and bottom included.
        EXPECT_EQ(img.pixel(20, 20), red);
        EXPECT_EQ(img.pixel(20 + w, 20 + h), red);
        EXPECT_EQ(img.pixel(20 + w + 1, 20 + h), qRgb(255, 255, 255));
        EXPECT_EQ(img.pixel(19, 20), qRgb(255, 255, 255));
        EXPECT_EQ(img.pixel(21, 21), qRgb(255, 255, 255)); // no fill

        // Corners of a rounded label with radius 2 mm: arcs only.
        QImage corners = testsupport::whiteImage(300, 200);
        CDC cornerDc(&corners, dpi, dpi);
        raw->SetShape(0, 1);
        raw->SetRadius(2000);
        const int r = (2000 * dpi + 12700) / 25400; // 24 / 47
        doc.DrawPrintedLabelCorners(POINT{20, 20}, cornerDc, POINT{0, 0});
        // Only the arcs: on the top and bottom rows the pixels next to the
        // corners, nothing along the middle.
        std::vector<int> expected;
        if (dpi == 300)
            expected = span(39, 42), expected.insert(expected.end(), {115, 116, 117, 118});
        else
            expected = span(60, 66), expected.insert(expected.end(), {209, 210, 211, 212, 213, 214, 215});
        EXPECT_EQ(markedInRow(corners, 20), expected);
        EXPECT_EQ(markedInRow(corners, 20 + h - 1), expected);
        EXPECT_EQ(countDark(corners, 18, 20 + r + 2, 23, 20 + h - r - 2), 0);

        // A corner radius of any size read from a file draws without overflow.
        for (const int32_t radius : {INT32_MAX, INT32_MIN}) {
            raw->SetRadius(radius);
            doc.DrawPrintedLabelCorners(POINT{INT32_MAX - 5, INT32_MIN + 5}, cornerDc, POINT{-5, 5});
        }
    }

    // A border of 0.5 mm at 300 dpi is 6 pixels wide.
    doc.GetCurrentTemplate().SetBorderWidth(500);
    raw->SetShape(0, 0);
    QImage img = testsupport::whiteImage(300, 200);
    CDC dc(&img, 300, 300);
    doc.DrawPrintedLabelOutline(POINT{50, 50}, dc, POINT{0, 0});
    int thick = 0;
    for (int x = 40; x < 60; ++x)
        thick += img.pixel(x, 80) == qRgb(255, 0, 0);
    EXPECT_EQ(thick, 6);
}

TEST_F(AreaDrawTest, HeaderAreaIsDrawnAtItsOffsets)
{
    auto label = std::make_unique<CLabelFileNew>();
    label->TogglePart(1);
    label->SetLeft(1, 25400);
    label->SetTop(1, 12700);
    doc.GetCurrentTemplate().SetLabel(std::move(label));
    auto rect = std::make_unique<CGraphRect>();
    rect->SetX(0);
    rect->SetY(0);
    rect->SetWidth(2540);
    rect->SetHeight(2540);
    doc.GetCurrentTemplate().GetArea(1)->AddTail(std::move(rect));
    QImage img = testsupport::whiteImage(200, 100);
    CDC dc(&img, 100, 100);
    AreaDrawRequest info;
    info.zoom = 50; // the header is always drawn at 100 %
    ASSERT_TRUE(doc.DrawHeaderFooterArea(100, 1, dc, info));
    // 1 inch and half an inch at 100 dpi, the box 10 pixels wide at 100 %.
    EXPECT_LT(qGray(img.pixel(100, 55)), 128);
    EXPECT_LT(qGray(img.pixel(110, 55)), 128);
    EXPECT_EQ(img.pixel(105, 55), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(95, 55), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(105, 45), qRgb(255, 255, 255));
}
