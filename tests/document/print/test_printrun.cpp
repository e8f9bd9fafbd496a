// The print run of the project document on a raster device: the checks,
// the row ranges, first label, repeat, sets, order, header and footer, the
// label position formula, compensation per printer, stored printer
// settings, the options page's rules and lengths as typed, troublesome
// picture files.
#include "document/project/projectdoc.h"

#include "content/images/graphimage.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/group.h"
#include "content/objects/graphtext.h"
#include "content/objects/shapes.h"
#include "content/textparts/text.h"
#include "document/label/labelfile.h"
#include "platform/dib.h"
#include "platform/numberformat.h"
#include "platform/settings.h"
#include "support/test_support.h"
#include "support/marking_strip.h"
#include "support/picture_inputs.h"

#include <cstring>
#include <functional>
#include <set>

#include "support/project_fixture.h"

using projtest::ProjectTest;

namespace {

// One drawing of a label: its label number and where it was drawn.
struct Placed {
    int page;
    int label;
    int x;
    int y;
};

// A rectangle that logs where and for which label it is drawn.
class LoggingRect : public CGraphRect {
public:
    LoggingRect(std::vector<Placed>* log, const int* page) : m_log(log), m_page(page) {}
    bool Draw(const DrawArgs& args) const override
    {
        m_log->push_back({*m_page, args.labelNumber, args.offsetX, args.offsetY});
        return true;
    }

private:
    std::vector<Placed>* m_log;
    const int* m_page;
};

class RowSet : public CRowSelection {
public:
    explicit RowSet(std::set<int> rows) : m_rows(std::move(rows)) {}
    bool IsRowSelected(int row) const override { return m_rows.count(row) != 0; }

private:
    std::set<int> m_rows;
};

class FakePrinter : public CPrinterSetupAccess {
public:
    std::string name = "Office";
    bool paperOk = true;
    std::vector<LinuxPrinterSetup> applied;
    int orientation = 0;
    std::string DeviceName() const override { return name; }
    bool HasSettings() const override { return true; }
    void ApplySetup(const LinuxPrinterSetup& s) override { applied.push_back(s); }
    bool SupportsPaper(int, int32_t, int32_t) const override { return paperOk; }
    void SetOrientation(int o) override { orientation = o; }
};

class PrintRunTest : public ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        auto label = std::make_unique<CLabelFileNewArticleNo>();
        label->SetWidth(0, 50000, true);
        label->SetHeight(0, 20000);
        label->SetColumnPitch(60000);
        label->SetRowPitch(25000);
        label->SetColumns(3);
        label->SetRows(4);
        label->SetLeft(0, 10000);
        label->SetTop(0, 5000);
        m_label = label.get();
        tpl().SetLabel(std::move(label));
        addLogger(0);
    }
    CTemplate& tpl() { return doc.GetCurrentTemplate(); }
    void addLogger(int area, int32_t x = 0, int32_t y = 0)
    {
        auto o = std::make_unique<LoggingRect>(area == 0 ? &log : &headerLog, &page);
        o->SetX(x);
        o->SetY(y);
        o->SetWidth(1000);
        o->SetHeight(1000);
        tpl().GetArea(area)->AddTail(std::move(o));
    }
    // A table of `rows` rows and a text object that shows column A.
    void useTable(int rows)
    {
        for (int r = 0; r < rows; ++r)
            doc.GetTable(0)->SetCellText(r, 0, "R" + std::to_string(r + 1));
        auto t = std::make_unique<CGraphText>();
        t->SetX(0);
        t->SetY(0);
        t->SetWidth(5000);
        t->SetHeight(5000);
        tpl().GetArea(0)->AddTail(std::move(t));
        ASSERT_TRUE(doc.UsesTableData());
    }
    // Check, prepare, begin and pages until the run ends, as the driver does.
    bool run(const std::function<void(CPrintInfo&)>& adjust = {}, const CRowSelection* selection = nullptr,
             POINT offset = {}, QImage* target = nullptr, int dpi = 300)
    {
        if (!doc.CheckBeforePrint())
            return false;
        CPrintInfo info;
        FakePrinter printer;
        doc.PreparePrinting(info, &printer);
        if (adjust)
            adjust(info);
        QImage img(1, 1, QImage::Format_RGB32);
        CDC dc(target ? target : &img, dpi, dpi);
        if (!doc.BeginPrinting(dc, info, selection, offset))
            return false;
        for (page = 1; page < 100; ++page) {
            doc.PrintPage(dc, info);
            if (!info.continuePrinting || info.maxPage == CPrintInfo::kEndAfterPage)
                break;
        }
        return true;
    }
    std::vector<int> labels(int onPage = 0) const
    {
        std::vector<int> out;
        for (const Placed& p : log)
            if (onPage == 0 || p.page == onPage)
                out.push_back(p.label);
        return out;
    }
    static std::vector<int> seq(int from, int to)
    {
        std::vector<int> v;
        for (int i = from; from <= to ? i <= to : i >= to; i += from <= to ? 1 : -1)
            v.push_back(i);
        return v;
    }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        for (const UserMessage& m : m_ui.messages)
            out.push_back(m.text);
        return out;
    }

    CVorteplanSoftLabelDoc doc;
    CLabelFileNewArticleNo* m_label = nullptr;
    std::vector<Placed> log;
    std::vector<Placed> headerLog;
    int page = 1;
};

int px(int64_t um, int dpi)
{
    return int((um * dpi + 12700) / 25400);
}

} // namespace

TEST_F(PrintRunTest, ChecksRefuseWithTheirMessages)
{
    // Objects outside the label.
    tpl().GetArea(0)->Objects().front()->SetX(49500);
    EXPECT_FALSE(run());
    tpl().GetArea(0)->Objects().front()->SetX(0);
    // An empty table behind table data.
    auto t = std::make_unique<CGraphText>();
    t->SetWidth(2000);
    t->SetHeight(2000);
    tpl().GetArea(0)->AddTail(std::move(t));
    EXPECT_FALSE(run());
    // A sheet without positions.
    m_label->SetRows(0);
    EXPECT_FALSE(run());
    m_label->SetRows(4);
    m_label->SetBlockCount(0);
    EXPECT_FALSE(run());
    // No label definition at all.
    tpl().SetLabel(nullptr);
    EXPECT_FALSE(run());
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "The template contains objects not located within the label area.",
                              "The template contains object(s) with table data source but the table is empty",
                              messages()[2], messages()[2], "The template does not contain a label definition."}));
    EXPECT_NE(messages()[2].find("no label positions"), std::string::npos);
    EXPECT_TRUE(log.empty());
}

TEST_F(PrintRunTest, AutoIncrementingObjectsNeedASavedProject)
{
    auto t = std::make_unique<CGraphText>();
    t->SetWidth(2000);
    t->SetHeight(2000);
    t->SetSourceKind(kTextKindCounter);
    tpl().GetArea(0)->AddTail(std::move(t));
    EXPECT_FALSE(doc.CheckBeforePrint());
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "The project contains auto incrementing objects and must be saved before printing."});
    doc.SetPathName(path("saved.proj"));
    EXPECT_TRUE(doc.CheckBeforePrint());
}

TEST_F(PrintRunTest, ABarcodeThatCannotCarryTheTextOfARowAsksFirstAndNoPrintsNothing)
{
    // Rows 1 and 2 hold a text every symbology carries, row 3 the case's.
    struct Case {
        std::string symbology;
        std::string text;
        bool encodable;
    };
    const std::string qr = std::string("QR Code") + '\xAE';
    const Case cases[] = {
        {"Code 39", "AB-12 $/+%.", true},
        {"Code 39", "ArticleNo", false}, // lowercase letters are drawn as spaces
        {"Code 39", "\xC4" "B", false},
        {"Code 39", std::string(200, 'A'), true},
        {"Code 39", std::string(201, 'A'), false}, // cut at 200
        {"2/5 Interleaved", "12345", true},
        {"2/5 Interleaved", "ABCD", false}, // drawn as 0000
        {"2/5 Interleaved", "12 45", false},
        {"2/5 Interleaved", std::string(201, '7'), false},
        {"EAN 13", "123", true},
        {"EAN 13", "4006381333931", true},  // with its own check digit
        {"EAN 13", "4006381333932", false}, // a wrong check digit is replaced
        {"EAN 13", "40063813339310", false},
        {"EAN 13", "EAN", false},
        {"UPCA", "036000291452", true},
        {"UPCA", "036000291453", false},
        {"UPCA", "0360002914521", false},
        {"EAN 8", "96385074", true},
        {"EAN 8", "9638-507", false},
        {"Code 128", "Label 0042\t~", true},
        {"Code 128", "K\xE4" "bel", false}, // drawn as nothing
        {"Code 128", std::string(198, 'A'), true},
        {"Code 128", std::string(199, 'A'), false},
        {"Code 128", "10AB\xB6" "21", false},
        {"EAN 128", "10AB\xB6" "21", true}, // its FNC1 character
        {qr, "Gr\xFC\xDF" "e\x01 any byte", true},
    };
    for (const Case& c : cases) {
        const std::string where = c.symbology + " \"" + c.text.substr(0, 20) + "\"";
        CGraphCollection& area = *tpl().GetArea(0);
        area.RemoveAll();
        addLogger(0);
        auto b = std::make_unique<CGraphBarcode>();
        b->SetSymbologyName(c.symbology);
        b->SetSourceColumnText("A");
        b->SetWidth(45000);
        b->SetHeight(18000);
        area.AddTail(std::move(b));
        for (int r = 0; r < 2; ++r)
            doc.GetTable(0)->SetCellText(r, 0, "12");
        doc.GetTable(0)->SetCellText(2, 0, c.text);
        m_ui.questions.clear();
        log.clear();
        ASSERT_EQ(run(), c.encodable) << where;
        if (c.encodable) {
            EXPECT_TRUE(m_ui.questions.empty()) << where;
            EXPECT_EQ(labels(), seq(1, 3)) << where;
            continue;
        }
        ASSERT_EQ(m_ui.questions.size(), 1u) << where;
        const CRecordingUi::Question& q = m_ui.questions[0];
        EXPECT_EQ(q.message.text, "Row 3: the barcode cannot encode \"" + c.text + "\". Print anyway?");
        EXPECT_EQ(q.buttons, MessageButtons::YesNo);
        EXPECT_EQ(q.defaultAnswer, MessageAnswer::No);
        EXPECT_TRUE(log.empty()) << where;
    }
    EXPECT_TRUE(messages().empty());

    // Yes prints every row. A fixed text in a group is the same on every
    // label: row 1 names it.
    static_cast<CGraphBarcode*>(tpl().GetArea(0)->GetAt(1))->SetSymbologyName("Code 39");
    doc.GetTable(0)->SetCellText(2, 0, "ArticleNo");
    m_ui.questions.clear();
    log.clear();
    m_ui.answers.push_back(MessageAnswer::Yes);
    ASSERT_TRUE(run());
    EXPECT_EQ(m_ui.questions.size(), 1u);
    EXPECT_EQ(labels(), seq(1, 3));
    auto fixed = std::make_unique<CGraphBarcode>();
    fixed->SetSourceKind(kTextKindFixed);
    fixed->SetText("lower");
    fixed->SetWidth(45000);
    fixed->SetHeight(18000);
    auto group = std::make_unique<CGraphGroup>();
    group->AddTail(std::move(fixed));
    tpl().GetArea(0)->AddTail(std::move(group));
    EXPECT_FALSE(doc.CheckBeforePrint());
    ASSERT_EQ(m_ui.questions.size(), 2u);
    EXPECT_EQ(m_ui.questions[1].message.text, "Row 1: the barcode cannot encode \"lower\". Print anyway?");
}

TEST_F(PrintRunTest, TheBarcodeCheckCoversThePrintedHeaderAndFooterAndEveryNumberOfACounter)
{
    // No table: a sheet of twelve labels. A header and a footer of 100 x
    // 10 mm, each printed when it is on; the barcode lies in `area`.
    struct Case {
        const char* what;
        int area;
        bool header;
        bool footer;
        bool counter; // EAN 8 counting from 9999998, else Code 39 "lower"
        std::string asks; // empty: printed without a question
    };
    const std::string lower = "Row 1: the barcode cannot encode \"lower\". Print anyway?";
    // Label 3 counts to eight digits, the last not their check digit.
    const std::string eight = "Row 3: the barcode cannot encode \"10000000\". Print anyway?";
    const Case cases[] = {
        {"a header printed", 1, true, false, false, lower},
        {"a header not printed", 1, false, true, false, ""},
        {"a footer printed", 2, false, true, false, lower},
        {"a footer not printed", 2, true, false, false, ""},
        {"a counter on the label", 0, false, false, true, eight},
    };
    doc.SetPathName(path("saved.proj"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int part = 1; part <= 2; ++part) {
            tpl().GetArea(part)->RemoveAll();
            m_label->SetWidth(part, 100000, true);
            m_label->SetHeight(part, 10000); // turns the part on
            if (!(part == 1 ? c.header : c.footer))
                m_label->TogglePart(part);
        }
        tpl().GetArea(0)->RemoveAll();
        addLogger(0);
        auto b = std::make_unique<CGraphBarcode>();
        if (c.counter) {
            b->SetSymbologyName("EAN 8");
            b->SetSourceKind(kTextKindCounter);
            b->SetCounterStartText("9999998");
        } else {
            b->SetSymbologyName("Code 39");
            b->SetSourceKind(kTextKindFixed);
            b->SetText("lower");
        }
        b->SetX(2000);
        b->SetWidth(45000);
        b->SetHeight(8000);
        tpl().GetArea(c.area)->AddTail(std::move(b));
        m_ui.questions.clear();
        log.clear();
        const bool printed = run();
        std::vector<std::string> asked;
        for (const CRecordingUi::Question& q : m_ui.questions)
            asked.push_back(q.message.text);
        // No, the default answer, prints nothing.
        EXPECT_EQ(asked, c.asks.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.asks});
        EXPECT_EQ(labels(), c.asks.empty() ? seq(1, 12) : std::vector<int>{});
        EXPECT_EQ(printed, c.asks.empty());
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(PrintRunTest, FirstLabelLeavesPositionsEmptyOnTheFirstPageOnly)
{
    useTable(20);
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.firstLabel = 5; }));
    // 3 x 4 = 12 positions: page 1 holds rows 1..8 from position 5 on.
    EXPECT_EQ(labels(1), seq(1, 8));
    EXPECT_EQ(labels(2), seq(9, 20));
    EXPECT_EQ(labels(3), std::vector<int>{});
    // Position 5 is row 1 (0-based), column 1.
    const int x = px(1 * 60000 + 10000, 300);
    const int y = px(1 * 25000 + 5000, 300);
    EXPECT_EQ(log.front().x, x);
    EXPECT_EQ(log.front().y, y);
    // A first label beyond the sheet is taken as its last position.
    log.clear();
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.firstLabel = 40; }));
    EXPECT_EQ(labels(1), std::vector<int>{1});
    EXPECT_EQ(labels(2), seq(2, 13));
}

TEST_F(PrintRunTest, PositionsFollowTheFormulaWithCompensationOffsetAndBlocks)
{
    useTable(24);
    m_label->SetBlockCount(2);
    m_label->SetBlockSpace(3000);
    const POINT offset{17, 23};
    ASSERT_TRUE(run(
        [](CPrintInfo& i) {
            i.options.leftCompensation = 1500;
            i.options.topCompensation = -700;
        },
        nullptr, offset));
    ASSERT_EQ(log.size(), 24u);
    for (int n = 0; n < 24; ++n) {
        const int b = n / 12, r = (n % 12) / 3, c = n % 3;
        const int64_t xUm = int64_t(c) * 60000 + 10000 + 1500;
        const int64_t yUm = int64_t(r) * 25000 + int64_t(b) * (4 * 25000 + 3000 + 5000) - 700 + 5000;
        EXPECT_EQ(log[size_t(n)].x, px(xUm, 300) - offset.x) << n;
        EXPECT_EQ(log[size_t(n)].y, px(yUm, 300) - offset.y) << n;
        EXPECT_EQ(log[size_t(n)].page, 1);
    }
}

TEST_F(PrintRunTest, RepeatFromACountOrAColumn)
{
    useTable(4);
    doc.GetTable(0)->SetCellText(0, 3, "3");
    doc.GetTable(0)->SetCellText(2, 3, "0");
    doc.GetTable(0)->SetCellText(3, 3, "-4");
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.repeat = -4; }));
    // Row 1 three times; row 2 (empty), row 3 (0) and row 4 (negative) once.
    EXPECT_EQ(labels(), (std::vector<int>{1, 1, 1, 2, 3, 4}));
    EXPECT_EQ(tpl().GetRepeat(), -4);
    log.clear();
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.repeat = 2; }));
    EXPECT_EQ(labels(), (std::vector<int>{1, 1, 2, 2, 3, 3, 4, 4}));
    log.clear();
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.repeat = -3; })); // column C empty everywhere
    EXPECT_EQ(labels(), seq(1, 4));
}

TEST_F(PrintRunTest, SetsInOneFlowOrEachOnANewPage)
{
    useTable(3);
    ASSERT_TRUE(run([](CPrintInfo& i) {
        i.options.sets = 2;
        i.options.pageBreakOnNewSet = 0;
    }));
    EXPECT_EQ(labels(1), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_TRUE(labels(2).empty());
    EXPECT_TRUE(doc.IsModified());
    log.clear();
    ASSERT_TRUE(run([](CPrintInfo& i) {
        i.options.sets = 2;
        i.options.pageBreakOnNewSet = 1;
    }));
    EXPECT_EQ(labels(1), seq(1, 3));
    EXPECT_EQ(labels(2), seq(1, 3));
    EXPECT_TRUE(labels(3).empty());
    // The second set starts at the first position of its page.
    EXPECT_EQ(log[3].x, log[0].x);
    EXPECT_EQ(log[3].y, log[0].y);
}

TEST_F(PrintRunTest, ReverseOrderAndLabelRanges)
{
    useTable(5);
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.reverse = 1; }));
    EXPECT_EQ(labels(), seq(5, 1));
    for (auto [from, to] : {std::pair{2, 4}, std::pair{4, 2}}) {
        log.clear();
        ASSERT_TRUE(run([from = from, to = to](CPrintInfo& i) {
            i.options.reverse = 1;
            i.range = PrintRange::Labels;
            i.fromPage = from;
            i.toPage = to;
        }));
        EXPECT_EQ(labels(), seq(4, 2)) << from << ".." << to;
    }
    log.clear();
    // The dialog offers the last run's order again.
    ASSERT_TRUE(run([](CPrintInfo& i) {
        EXPECT_EQ(i.options.reverse, 1);
        i.options.reverse = 0;
        i.range = PrintRange::Labels;
        i.fromPage = 2;
        i.toPage = 4;
    }));
    EXPECT_EQ(labels(), seq(2, 4));
}

TEST_F(PrintRunTest, SortVerticalFillsColumnsFirst)
{
    useTable(6);
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.sortVertical = 1; }));
    ASSERT_EQ(log.size(), 6u);
    // Rows 1..4 down column 0, then 5 and 6 at the top of column 1.
    for (int n = 0; n < 6; ++n) {
        EXPECT_EQ(log[size_t(n)].x, px(int64_t(n / 4) * 60000 + 10000, 300)) << n;
        EXPECT_EQ(log[size_t(n)].y, px(int64_t(n % 4) * 25000 + 5000, 300)) << n;
    }
    EXPECT_TRUE(tpl().IsSortVertical());
}

TEST_F(PrintRunTest, SelectionPrintsTheSelectedRowsOrSaysThereAreNone)
{
    useTable(6);
    const RowSet picked({1, 4}); // rows 2 and 5
    auto selection = [](CPrintInfo& i) { i.range = PrintRange::Selection; };
    ASSERT_TRUE(run(selection, &picked));
    EXPECT_EQ(labels(), (std::vector<int>{2, 5}));
    log.clear();
    ASSERT_TRUE(run(
        [](CPrintInfo& i) {
            i.range = PrintRange::Selection;
            i.options.reverse = 1;
        },
        &picked));
    EXPECT_EQ(labels(), (std::vector<int>{5, 2}));
    log.clear();
    const RowSet none({});
    EXPECT_FALSE(run(selection, &none));
    EXPECT_FALSE(run(selection, nullptr));
    EXPECT_TRUE(log.empty());
    ASSERT_EQ(m_ui.messages.size(), 2u);
    EXPECT_NE(m_ui.messages[0].text.find("No table rows are selected"), std::string::npos);
}

TEST_F(PrintRunTest, AModuleMarkingRunPrintsEachRowOfItsRangeOnceEitherWay)
{
    // Strips of three marks 10 mm wide over twelve rows: strips begin at
    // rows 1, 4, 7 and 10. A logger in each mark shows the row it is drawn
    // for (the fixture's own logger lies in the first mark); one past the
    // marks is printed on every strip, whatever its rows. Every row of the
    // range is printed once, strip by strip, marks left to right, and no
    // strip without a row of the range; the run ends on the first page.
    ASSERT_TRUE(projtest::threeMarksOf10mm(tpl()));
    addLogger(0, 14000);
    addLogger(0, 24000);
    std::vector<Placed> stripEnds;
    auto stripEnd = std::make_unique<LoggingRect>(&stripEnds, &page);
    stripEnd->SetX(34000);
    stripEnd->SetWidth(1000);
    stripEnd->SetHeight(1000);
    tpl().GetArea(0)->AddTail(std::move(stripEnd));
    useTable(12);
    ASSERT_EQ(doc.MarksPerStrip(), 3);
    struct Case {
        const char* what;
        std::set<int> selected; // 0-based rows; empty: all rows
        std::vector<int> forward;
        std::vector<int> reverse;
        size_t strips;
    };
    const Case cases[] = {
        {"all rows, a whole number of strips", {}, seq(1, 12), {10, 11, 12, 7, 8, 9, 4, 5, 6, 1, 2, 3}, 4},
        {"rows 4 to 8", {3, 4, 5, 6, 7}, {4, 5, 6, 7, 8}, {7, 8, 4, 5, 6}, 2},
        {"rows 4 to 7, the last starting a strip", {3, 4, 5, 6}, {4, 5, 6, 7}, {7, 4, 5, 6}, 2},
        {"rows 5 to 8, the first inside a strip", {4, 5, 6, 7}, {5, 6, 7, 8}, {7, 8, 5, 6}, 2},
        {"rows 3 to 4, the first ending a strip", {2, 3}, {3, 4}, {4, 3}, 2},
        {"row 12 alone", {11}, {12}, {12}, 1},
    };
    for (const Case& c : cases) {
        for (const bool reverse : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (reverse ? ", reverse" : ""));
            log.clear();
            stripEnds.clear();
            const RowSet picked(c.selected);
            ASSERT_TRUE(run(
                [&](CPrintInfo& i) {
                    if (!c.selected.empty())
                        i.range = PrintRange::Selection;
                    i.options.reverse = reverse ? 1 : 0;
                },
                c.selected.empty() ? nullptr : &picked));
            EXPECT_EQ(labels(), reverse ? c.reverse : c.forward);
            EXPECT_EQ(stripEnds.size(), c.strips);
            EXPECT_EQ(page, 1);
        }
    }
}

TEST_F(PrintRunTest, HeaderAndFooterOncePerPageOnlyWhenEnabled)
{
    useTable(13);
    m_label->SetHeight(1, 10000);
    m_label->SetWidth(1, 100000, true);
    m_label->TogglePart(1); // disabled again
    ASSERT_FALSE(m_label->HasHeader());
    addLogger(1);
    ASSERT_TRUE(run());
    EXPECT_TRUE(headerLog.empty());
    m_label->TogglePart(1);
    ASSERT_TRUE(m_label->HasHeader());
    log.clear();
    ASSERT_TRUE(run());
    ASSERT_EQ(headerLog.size(), 2u); // two pages
    EXPECT_EQ(headerLog[0].page, 1);
    EXPECT_EQ(headerLog[1].page, 2);
    EXPECT_EQ(headerLog[1].label, 13); // the current row when the page begins
}

TEST_F(PrintRunTest, WithoutTableDataOneSheetOfLabelNumbers)
{
    ASSERT_TRUE(run());
    EXPECT_EQ(labels(1), seq(1, 12));
    EXPECT_TRUE(labels(2).empty());
    log.clear();
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.reverse = 1; }));
    EXPECT_EQ(labels(), seq(12, 1));
}

TEST_F(PrintRunTest, CompensationIsKeptPerPrinter)
{
    CPrintInfo info;
    FakePrinter printer;
    doc.PreparePrinting(info, &printer);
    EXPECT_EQ(info.options.leftCompensation, 0);
    EXPECT_EQ(info.maxPage, 12);
    info.options.leftCompensation = 1200;
    info.options.topCompensation = -300;
    QImage img(1, 1, QImage::Format_RGB32);
    CDC dc(&img, 600, 600);
    ASSERT_TRUE(doc.BeginPrinting(dc, info, nullptr, {}));
    EXPECT_EQ(settings::GetInt("Printer = Office", "Left compensation"), 1200);
    EXPECT_EQ(settings::GetInt("Printer = Office", "Top compensation"), -300);
    EXPECT_EQ(doc.GetPrintRunState().dpiX, 600);
    EXPECT_EQ(info.maxPage, CPrintInfo::kOpenEnd);

    CPrintInfo again;
    doc.PreparePrinting(again, &printer);
    EXPECT_EQ(again.options.leftCompensation, 1200);
    EXPECT_EQ(again.options.topCompensation, -300);
    printer.name = "Other";
    doc.PreparePrinting(again, &printer);
    EXPECT_EQ(again.options.leftCompensation, 0);
}

TEST_F(PrintRunTest, StoredSettingsApplyOnlyToTheirOwnPrinter)
{
    LinuxPrinterSetup setup;
    setup.queueName = "Office";
    setup.orientation = 2;
    setup.pageSizeId = 0;
    m_label->SetPrinterSettings(EncodeLinuxPrinterSettings(setup));
    FakePrinter printer;
    CPrintInfo info;
    doc.PreparePrinting(info, &printer);
    ASSERT_EQ(printer.applied.size(), 1u);
    EXPECT_EQ(printer.applied[0], setup);

    printer.applied.clear();
    printer.name = "Elsewhere";
    doc.PreparePrinting(info, &printer);
    EXPECT_TRUE(printer.applied.empty());

    // A Windows block is kept and never applied.
    std::string devmode(220, '\0');
    std::memcpy(devmode.data(), "Office", 6);
    m_label->SetPrinterSettings(CPrinterSettings({6, 1, kPlatformIdWin32NT}, 220, 0, devmode));
    printer.name = "Office";
    doc.PreparePrinting(info, &printer);
    EXPECT_TRUE(printer.applied.empty());
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(PrintRunTest, PaperThePrinterLacksIsNamedAndOrientationSet)
{
    ASSERT_TRUE(m_label->SetPaperName("A5"));
    m_label->SetOrientation(kLandscape);
    FakePrinter printer;
    printer.paperOk = false;
    CPrintInfo info;
    doc.PreparePrinting(info, &printer);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text.rfind("The selected printer 'Office' does not support the papersize 'A5'.\n", 0),
              0u);
    EXPECT_NE(m_ui.messages[0].text.find("to fit 'Office'."), std::string::npos);
    EXPECT_EQ(printer.orientation, kLandscape);
}

TEST_F(PrintRunTest, CutLinesFollowThePrintedPositionsOfTouchingLabels)
{
    // 2 x 2 labels of 100 x 50 pixels at 100 dpi that touch; three rows.
    m_label->SetWidth(0, 25400, true);
    m_label->SetHeight(0, 12700);
    m_label->SetColumnPitch(25400);
    m_label->SetRowPitch(12700);
    m_label->SetColumns(2);
    m_label->SetRows(2);
    m_label->SetLeft(0, 0);
    m_label->SetTop(0, 0);
    tpl().GetArea(0)->Objects().front()->SetX(0);
    tpl().SetPrintLabelBorders(true);
    useTable(3);
    QImage img;
    // With a compensation of 0.2 in across and 0.1 in down, and without
    // one: the cut lines move with the labels they frame.
    for (const POINT shift : {POINT{20, 10}, POINT{0, 0}}) {
        SCOPED_TRACE(std::to_string(shift.x) + ", " + std::to_string(shift.y));
        img = testsupport::whiteImage(300, 200);
        ASSERT_TRUE(run(
            [&](CPrintInfo& i) {
                i.options.leftCompensation = int32_t(shift.x) * 254;
                i.options.topCompensation = int32_t(shift.y) * 254;
            },
            nullptr, {}, &img, 100));
        auto ink = [&](int x, int y) { return img.pixel(x + shift.x, y + shift.y) != qRgb(255, 255, 255); };
        for (int x : {5, 95, 105, 195}) {
            EXPECT_TRUE(ink(x, 0)) << x;  // top of the first row
            EXPECT_TRUE(ink(x, 50)) << x; // between the rows
            EXPECT_FALSE(ink(x, 1)) << x;
        }
        EXPECT_TRUE(ink(50, 100));   // under the third label ...
        EXPECT_FALSE(ink(150, 100)); // ... and not under the empty position
        for (int y : {5, 45, 55, 95}) {
            EXPECT_TRUE(ink(0, y)) << y;
            EXPECT_TRUE(ink(100, y)) << y;
            EXPECT_FALSE(ink(1, y)) << y;
        }
        EXPECT_TRUE(ink(200, 25));
        EXPECT_FALSE(ink(200, 75)); // right of the empty position
        EXPECT_FALSE(ink(250, 25));
        // The text of the first label starts at its top-left corner.
        EXPECT_EQ(log.front().x, shift.x);
        EXPECT_EQ(log.front().y, shift.y);
        log.clear();
    }
    auto ink = [&](int x, int y) { return img.pixel(x, y) != qRgb(255, 255, 255); };

    // Labels set apart get outlines of their own and no cut lines.
    m_label->SetColumnPitch(30000);
    m_label->SetRowPitch(15000);
    img = testsupport::whiteImage(300, 200);
    ASSERT_TRUE(run({}, nullptr, {}, &img, 100));
    EXPECT_TRUE(ink(118, 25));   // left edge of the second label
    EXPECT_FALSE(ink(110, 25));  // the gap between
    EXPECT_TRUE(ink(50, 59));    // top edge of the third label
    EXPECT_FALSE(ink(150, 59));  // no fourth label
}

TEST_F(PrintRunTest, ModuleMarkingStepsByStripsAndDrawsMarkerBorders)
{
    ASSERT_TRUE(projtest::threeMarksOf10mm(tpl()));
    useTable(6);
    QImage img = testsupport::whiteImage(400, 300);
    ASSERT_TRUE(run({}, nullptr, {}, &img, 100));
    // One strip per three rows.
    EXPECT_EQ(labels(), (std::vector<int>{1, 4}));
    auto ink = [&](int x, int y) { return img.pixel(x, y) != qRgb(255, 255, 255); };
    // The first strip at (39, 20): lines after modules 1 and 2, not after 3.
    const int x0 = px(10000, 100), y0 = px(5000, 100);
    EXPECT_TRUE(ink(x0 + px(10000, 100), y0 + 10));
    EXPECT_TRUE(ink(x0 + px(20000, 100), y0 + 10));
    EXPECT_FALSE(ink(x0 + px(30000, 100), y0 + 10));
    EXPECT_FALSE(ink(x0 + px(5000, 100), y0 + 10));
}

namespace {

// Where the placement rule puts position `index` of the fill order of a
// sheet of `rows` x `columns` in blocks (across: row by row; down: column by
// column), at `dpi` without compensation or printing offset.
struct RulePlace {
    int x;
    int y;
};
RulePlace rulePlace(const CLabel& l, int64_t index, bool down, int dpi)
{
    const int64_t perBlock = int64_t(l.GetRows()) * l.GetColumns();
    const int64_t b = index / perBlock, within = index % perBlock;
    const int64_t r = down ? within % l.GetRows() : within / l.GetColumns();
    const int64_t c = down ? within / l.GetRows() : within % l.GetColumns();
    const int64_t blockHeight = int64_t(l.GetRows()) * l.GetRowPitch() + l.GetBlockSpace() + l.GetTop(0);
    return {px(c * l.GetColumnPitch() + l.GetLeft(0), dpi), px(r * l.GetRowPitch() + b * blockHeight + l.GetTop(0), dpi)};
}

} // namespace

TEST_F(PrintRunTest, ReverseFromAFirstLabelDownTheColumnsOfTwoBlocks)
{
    useTable(30);
    m_label->SetBlockCount(2);
    m_label->SetBlockSpace(3000);
    ASSERT_TRUE(run([](CPrintInfo& i) {
        i.options.reverse = 1;
        i.options.sortVertical = 1;
        i.options.firstLabel = 7;
    }));
    // 24 positions a sheet; page 1 from position 7 on: rows 30 .. 13; page
    // 2 from its first position: rows 12 .. 1.
    EXPECT_EQ(labels(1), seq(30, 13));
    EXPECT_EQ(labels(2), seq(12, 1));
    ASSERT_EQ(log.size(), 30u);
    for (size_t n = 0; n < log.size(); ++n) {
        const int64_t index = n < 18 ? int64_t(n) + 6 : int64_t(n) - 18;
        const RulePlace at = rulePlace(*m_label, index, true, 300);
        EXPECT_EQ(log[n].x, at.x) << n;
        EXPECT_EQ(log[n].y, at.y) << n;
    }
}

TEST_F(PrintRunTest, SetsFlowOnFromAFirstLabelNearTheEndOfTheSheet)
{
    useTable(5);
    ASSERT_TRUE(run([](CPrintInfo& i) {
        i.options.sets = 2;
        i.options.firstLabel = 11;
        i.options.pageBreakOnNewSet = 0;
    }));
    EXPECT_EQ(labels(1), (std::vector<int>{1, 2}));
    EXPECT_EQ(labels(2), (std::vector<int>{3, 4, 5, 1, 2, 3, 4, 5}));
    for (size_t n = 0; n < log.size(); ++n) {
        const RulePlace at = rulePlace(*m_label, n < 2 ? int64_t(n) + 10 : int64_t(n) - 2, false, 300);
        EXPECT_EQ(log[n].x, at.x) << n;
        EXPECT_EQ(log[n].y, at.y) << n;
    }
    // With a page break the second set starts a page of its own, at its
    // first position: the first label is not taken again.
    log.clear();
    ASSERT_TRUE(run([](CPrintInfo& i) {
        i.options.sets = 2;
        i.options.firstLabel = 11;
        i.options.pageBreakOnNewSet = 1;
    }));
    EXPECT_EQ(labels(1), (std::vector<int>{1, 2}));
    EXPECT_EQ(labels(2), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(labels(3), seq(1, 5));
    EXPECT_EQ(log[5].x, rulePlace(*m_label, 0, false, 300).x);
    EXPECT_EQ(log[5].y, rulePlace(*m_label, 0, false, 300).y);
}

TEST_F(PrintRunTest, FarPositionsOfHugeSheetsPrintWithoutOverflowOrWaiting)
{
    // A first label past the end of a sheet of two thousand million columns
    // 2 km apart: the label goes to the last position at once, far beyond
    // any paper, and the next row starts the next page.
    useTable(2);
    m_label->SetColumns(INT32_MAX);
    m_label->SetRows(1);
    m_label->SetColumnPitch(INT32_MAX);
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.firstLabel = INT32_MAX; }));
    EXPECT_EQ(labels(1), std::vector<int>{1});
    EXPECT_EQ(labels(2), std::vector<int>{2});
    ASSERT_EQ(log.size(), 2u);
    EXPECT_GT(log[0].x, 10000000);
    EXPECT_EQ(log[1].x, px(10000, 300));

    // Blocks, rows and pitches as large as a file may hold.
    log.clear();
    m_label->SetColumns(1);
    m_label->SetRows(INT32_MAX);
    m_label->SetRowPitch(INT32_MAX);
    m_label->SetBlockCount(32767);
    m_label->SetBlockSpace(INT32_MAX);
    ASSERT_TRUE(run([](CPrintInfo& i) { i.options.firstLabel = INT32_MAX; }));
    EXPECT_EQ(labels(), (std::vector<int>{1, 2}));
    EXPECT_GT(log[0].y, 10000000);
    EXPECT_GE(log[1].y, log[0].y);
}

TEST_F(PrintRunTest, ContinuousStockPrintsItsRowsPageByPage)
{
    auto roll = std::make_unique<CLabelExt>();
    roll->SetRowPitch(12000);
    roll->SetColumnPitch(30000);
    roll->SetWidth(0, 30000, true);
    roll->SetHeight(0, 12000);
    roll->SetRows(7);
    roll->SetColumns(1);
    roll->SetTop(0, 1500);
    const CLabel& label = *roll;
    tpl().SetLabel(std::move(roll));
    useTable(10);
    ASSERT_TRUE(run());
    EXPECT_EQ(labels(1), seq(1, 7));
    EXPECT_EQ(labels(2), seq(8, 10));
    for (size_t n = 0; n < log.size(); ++n) {
        const RulePlace at = rulePlace(label, int64_t(n % 7), false, 300);
        EXPECT_EQ(log[n].x, at.x) << n;
        EXPECT_EQ(log[n].y, at.y) << n;
    }
}

TEST(PrintLength, ParsesUnitsWithTheUsersSeparatorToTheNearestMicrometre)
{
    SetCurrentNumberLocale({','});
    EXPECT_EQ(ParsePrintLength("12,5 mm"), 12500);
    EXPECT_EQ(ParsePrintLength("2,3mm"), 2300); // single precision gave 2299
    SetCurrentNumberLocale({'.'});
    EXPECT_EQ(ParsePrintLength("1 in"), 25400);
    EXPECT_EQ(ParsePrintLength("1.5 CM"), 15000);
    EXPECT_EQ(ParsePrintLength("-0.25 mm"), -250);
    EXPECT_EQ(ParsePrintLength("0.0004 mm"), 0);
    for (const char* bad : {"12 ft", "12", "mm", "", "1e40 mm", "100000 in", "12 mmx"})
        EXPECT_EQ(ParsePrintLength(bad), std::nullopt) << bad;
    int32_t um = 7;
    EXPECT_FALSE(CVorteplanSoftLabelDoc::ParseLength("5 pt", um));
    EXPECT_EQ(um, 7);
    EXPECT_EQ(FormatPrintLength(12500), "12.5 mm");
}

// A print run of labels whose pictures are troublesome files: each file is
// worked on once for the whole run, whether it is the object's own file or
// named by every table row, and what cannot be read prints as a missing
// picture.
TEST_F(PrintRunTest, EachTroublesomePictureFileIsWorkedOnOncePerRun)
{
    dib::ForgetPictureFiles();
    tpl().GetArea(0)->RemoveAll();
    auto addImage = [this](int32_t x, int mode) {
        auto o = std::make_unique<CGraphImageExtExt>();
        o->SetX(x);
        o->SetY(1000);
        o->SetWidth(15000);
        o->SetHeight(15000);
        o->SetImageSourceMode(mode);
        CGraphImageExtExt* raw = o.get();
        tpl().GetArea(0)->AddTail(std::move(o));
        return raw;
    };
    auto print = [this](QImage& page) { return run({}, nullptr, {}, &page, 300); };
    // The page as a label with a missing picture prints it.
    const std::string absent = path("absent.png").toStdString();
    ASSERT_TRUE(addImage(2000, CGraphImageExt::kSourceFile)->SetImageFile(absent));
    QImage missing = testsupport::whiteImage(800, 800);
    ASSERT_TRUE(print(missing));
    tpl().GetArea(0)->RemoveAll();

    for (const testsupport::PictureInput& input : testsupport::pictureInputs()) {
        SCOPED_TRACE(input.name);
        const QString file = path(input.name);
        ASSERT_TRUE(testsupport::makePictureInput(input.name, file));
        const bool huge = std::string(input.name) == "topdown8000.bmp";
        CGraphCollection* area = tpl().GetArea(0);
        area->RemoveAll();
        // The 192 MB picture only per row, where it is decoded reduced.
        if (!huge) {
            ASSERT_TRUE(addImage(2000, CGraphImageExt::kSourceFile)->SetImageFile(file.toStdString()));
        }
        addImage(30000, CGraphImageExt::kSourceTable);
        CDataTableBase* table = doc.GetTable(0);
        table->SetColumnFlag(0, 1);
        for (int row = 0; row < 24; ++row)
            table->SetCellText(row, 0, file.toStdString());
        ASSERT_TRUE(doc.UsesTableData());

        const dib::PictureFileCounts before = dib::CountPictureFileWork();
        QImage page = testsupport::whiteImage(800, 800);
        ASSERT_TRUE(print(page));
        const dib::PictureFileCounts after = dib::CountPictureFileWork();
        // Two objects name the file: a good file is read by each, a failed
        // one once for both.
        const uint64_t readers = huge ? 1 : 2;
        EXPECT_LE(after.opened - before.opened, input.drawn ? readers : 1u);
        EXPECT_LE(after.decoded - before.decoded, input.drawn ? readers : 1u);
        if (!input.drawn)
            EXPECT_EQ(testsupport::countDifferentPixels(page, missing), 0);
        else
            EXPECT_GT(testsupport::countDifferentPixels(page, missing), 0);
        area->RemoveAll();
        QFile::remove(file);
    }
}
