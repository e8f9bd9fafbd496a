// Area drawing of the project document onto raster images: the hint
// without a label definition, objects filled from the visible table,
// and module-marking bands.
#include "document/project/projectdoc.h"

#include "content/objects/shapes.h"
#include "support/test_support.h"

#include "support/marking_strip.h"
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
