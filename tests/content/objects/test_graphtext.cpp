// Text objects: records, drawing in the box at every rotation and
// alignment, auto size, vertical centring, overflow mark, clipboard text.
#include "content/objects/collection.h"
#include "content/objects/graphtext.h"
#include "content/tables/datatable.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using testsupport::inkBox;
using testsupport::whiteImage;
constexpr auto arial = testsupport::arialFont;

namespace {

std::unique_ptr<CGraphTextExt> fixedText(const std::string& text, int32_t w, int32_t h, int32_t fontHeight = -16)
{
    auto t = std::make_unique<CGraphTextExt>();
    t->SetSourceKind(kTextKindFixed);
    t->SetText(text);
    t->SetLogFont(arial(fontHeight));
    t->SetX(5000);
    t->SetY(5000);
    t->SetWidth(w);
    t->SetHeight(h);
    return t;
}

// Independent writer of a text record (keys 152 and 252), from the field list.
std::string textRecord(bool ext)
{
    RecordWriter w;
    for (int32_t v : {1000, 2000, 30000, 8000, 1000})
        w.i32(v);
    w.u32(0x00FFFFFF); // border
    w.u32(0x00EEDDCC); // fill
    w.u8(0);           // not transparent
    // Packed font: five int16, eight bytes, 32-byte face.
    for (int16_t v : {int16_t(-21), int16_t(0), int16_t(0), int16_t(0), int16_t(700)})
        w.i16(v);
    for (uint8_t b : {uint8_t(1), uint8_t(0), uint8_t(0), uint8_t(0), uint8_t(0), uint8_t(0), uint8_t(0), uint8_t(0)})
        w.u8(b);
    w.fixedString("Arial", 32);
    w.u32(0x000000FF); // text colour
    w.u8(3);           // right
    w.u8(0);           // no auto size
    w.i16(900);
    w.i16(271);        // fixed text, lines
    w.i16(50);
    w.i16(1);
    w.i16(0);
    w.i16(0);
    w.i16(272);
    w.i16(5);
    w.bytes("Hello");
    if (ext)
        w.i16(0);      // from the top
    return w.take();
}

} // namespace

TEST(GraphText, RecordsReadAndWriteByteForByte)
{
    for (bool ext : {false, true}) {
        const std::string bytes = textRecord(ext);
        std::unique_ptr<CGraphText> t = ext ? std::make_unique<CGraphTextExt>() : std::make_unique<CGraphText>();
        RecordReader r(bytes);
        ASSERT_TRUE(t->Load(r));
        EXPECT_TRUE(r.atEnd());
        EXPECT_EQ(t->GetRotation(), 900);
        EXPECT_TRUE(t->IsBold());
        EXPECT_TRUE(t->IsItalic());
        EXPECT_EQ(t->GetTextColor(), 0x000000FFu);
        EXPECT_FALSE(t->GetAutoSize());
        EXPECT_EQ(t->GetSourceKind(), kTextKindFixed);
        EXPECT_EQ(t->Font().lfHeight, -21);
        if (ext) {
            EXPECT_FALSE(t->IsCenteredVertically());
        }
        RecordWriter w;
        t->Save(w);
        EXPECT_EQ(w.data(), bytes);
        // Cut anywhere: reported, never a crash.
        for (size_t n = 0; n < bytes.size(); ++n) {
            const std::string cut = bytes.substr(0, n);
            RecordReader rc(cut);
            auto again = t->Clone();
            EXPECT_FALSE(again->Load(rc));
            EXPECT_NE(rc.status(), ReadStatus::Ok);
        }
    }
    // An unknown text-part key is damage, not a silent object without text.
    std::string bad = textRecord(true);
    bad[29 + 50 + 8] = 0x63;
    bad[29 + 50 + 9] = 0x00;
    CGraphTextExt t;
    RecordReader r(bad);
    EXPECT_FALSE(t.Load(r));
    EXPECT_EQ(r.status(), ReadStatus::Damaged);
}

TEST(GraphText, CollectionReadsTextObjectsByKey)
{
    CGraphCollection c;
    auto t = fixedText("abc", 10000, 5000);
    c.AddTail(std::move(t));
    RecordWriter w;
    c.Save(w);
    CGraphCollection back;
    RecordReader r(w.data());
    EXPECT_TRUE(back.Load(r));
    ASSERT_EQ(back.GetCount(), 1u);
    EXPECT_EQ(back.GetAt(0)->GetTypeKey(), kKeyTextExt);
    std::vector<std::string> lines;
    EXPECT_TRUE(back.GetAt(0)->GetSourceLines(lines));
    EXPECT_EQ(lines, std::vector<std::string>{"abc"});
}

TEST(GraphText, InkStaysInTheBoxForEveryAlignmentAndRotation)
{
    for (int dpi : {96, 300}) {
        for (int16_t rotation : {int16_t(0), int16_t(900), int16_t(1800), int16_t(2700)}) {
            for (int align : {1, 2, 3}) {
                const bool sideways = rotation == 900 || rotation == 2700;
                auto t = fixedText("Label 12", sideways ? 6000 : 30000, sideways ? 30000 : 6000);
                t->SetRotation(rotation);
                t->SetAlignment(align);
                t->SetAutoSize(false);
                QImage img = whiteImage(dpi * 2, dpi * 2);
                CDC dc(&img, dpi, dpi);
                DrawArgs a;
                a.dc = &dc;
                a.flags = kDrawPrinting;
                ASSERT_TRUE(t->Draw(a));
                const RECT box = t->CalcDeviceRect(dc, 100, 0, 0);
                const RECT ink = inkBox(img);
                ASSERT_LT(ink.left, ink.right) << dpi << " " << rotation << " " << align;
                EXPECT_GE(ink.left, box.left) << dpi << " " << rotation << " " << align;
                EXPECT_GE(ink.top, box.top);
                EXPECT_LE(ink.right, box.right + 1);
                EXPECT_LE(ink.bottom, box.bottom + 1);
                // Alignment along the reading direction: the ink hugs the start,
                // the middle or the end of the box.
                const int64_t boxStart = sideways ? box.top : box.left;
                const int64_t boxEnd = sideways ? box.bottom : box.right;
                const int64_t inkStart = sideways ? ink.top : ink.left;
                const int64_t inkEnd = sideways ? ink.bottom : ink.right;
                const int64_t slack = (boxEnd - boxStart) - (inkEnd - inkStart);
                const bool reversed = rotation == 900 || rotation == 1800;
                const int64_t lead = reversed ? boxEnd - inkEnd : inkStart - boxStart;
                const int tolerance = dpi / 24 + 2;
                if (align == 1)
                    EXPECT_LE(lead, tolerance) << dpi << " " << rotation;
                else if (align == 3)
                    EXPECT_GE(lead, slack - tolerance) << dpi << " " << rotation;
                else
                    EXPECT_NEAR(double(lead), slack / 2.0, tolerance) << dpi << " " << rotation;
            }
        }
    }
}

TEST(GraphText, AutoSizeReducesButNeverToNothing)
{
    auto t = fixedText(std::string(60, 'W'), 10000, 5000, -40);
    QImage img = whiteImage(200, 200);
    CDC dc(&img);
    DrawArgs a;
    a.dc = &dc;
    a.frame = true;
    a.flags = kDrawDesign;
    t->Draw(a);
    const Resolution res = CGraphObject::ComputeResolution(dc, 100);
    const RECT box = t->CalcDeviceRect(dc, 100, 0, 0);
    int64_t need = 0, height = 0;
    bool reduced = false;
    const LOGFONTA fitted = t->FittedFont(dc, box, res, SplitTextLines(std::string(60, 'W')), need, height, reduced);
    EXPECT_TRUE(reduced);
    EXPECT_LT(fitted.lfHeight, 0);
    EXPECT_GT(fitted.lfHeight, -40);
    // The in-place editor takes the font the design view draws with.
    LOGFONTA design;
    t->GetDesignLogFont(dc, 100, design);
    EXPECT_EQ(design.lfHeight, fitted.lfHeight);
    EXPECT_LE(inkBox(img, RECT{box.left + 1, box.top + 1, box.right - 12, box.bottom}).right, box.right);

    // A box far too small for any text still keeps a font of height 1.
    auto tiny = fixedText(std::string(500, 'W'), 300, 300, -40);
    tiny->Draw(a);
    tiny->GetDesignLogFont(dc, 100, design);
    EXPECT_EQ(design.lfHeight, -1);
    // A print run changes nothing the design view shows.
    QImage big = whiteImage(400, 400);
    CDC printer(&big, 300, 300);
    a.dc = &printer;
    a.flags = kDrawPrinting;
    tiny->Draw(a);
    LOGFONTA after;
    tiny->GetDesignLogFont(dc, 100, after);
    EXPECT_EQ(after, design);
}

TEST(GraphText, VerticalCentringAndOverflowMark)
{
    // Three lines in a box about three times their height: centred, the ink
    // starts lower than at the top.
    auto centred = fixedText("A\r\nB\r\nC", 20000, 30000, -20);
    centred->SetAutoSize(false);
    auto top = fixedText("A\r\nB\r\nC", 20000, 30000, -20);
    top->SetAutoSize(false);
    top->SetCenterVertical(false);
    QImage a1 = whiteImage(200, 200), a2 = whiteImage(200, 200);
    CDC d1(&a1), d2(&a2);
    DrawArgs a;
    a.flags = kDrawPrinting;
    a.dc = &d1;
    centred->Draw(a);
    a.dc = &d2;
    top->Draw(a);
    TEXTMETRICA tm;
    const RECT box = centred->CalcDeviceRect(d1, 100, 0, 0);
    int64_t need = 0, height = 0;
    bool reduced = false;
    d1.SelectFont(centred->FittedFont(d1, box, CGraphObject::ComputeResolution(d1, 100), SplitTextLines("A\r\nB\r\nC"),
                                      need, height, reduced));
    d1.GetTextMetrics(tm);
    const int32_t across = box.bottom - box.top;
    EXPECT_NEAR(inkBox(a1).top - inkBox(a2).top, (across - 3 * tm.tmHeight) / 2, 1);

    // Overflow with auto size off: a mark in the design view and the
    // preview, never on paper.
    auto overflowing = fixedText(std::string(40, 'M'), 8000, 4000, -20);
    overflowing->SetAutoSize(false);
    QImage paper = whiteImage(100, 100);
    CDC paperDc(&paper);
    a.dc = &paperDc;
    a.flags = kDrawPrinting;
    overflowing->Draw(a);
    for (int flags : {kDrawDesign, kDrawPreview, kDrawPrinting}) {
        QImage img = whiteImage(100, 100);
        CDC dc(&img);
        a.dc = &dc;
        a.flags = flags;
        overflowing->Draw(a);
        EXPECT_EQ(testsupport::countDifferentPixels(paper, img) > 0, flags != kDrawPrinting) << flags;
    }
}

TEST(GraphText, TableDataPlaceholdersAndBackground)
{
    CDataTableBase table;
    table.SetCellText(0, 0, "R1");
    CGraphTextExt t;
    t.SetLogFont(arial(-16));
    t.SetWidth(20000);
    t.SetHeight(6000);
    t.SetTransparent(false);
    t.SetFillColor(RGB(0, 0, 255));
    QImage img = whiteImage(120, 60);
    CDC dc(&img);
    DrawArgs a;
    a.dc = &dc;
    a.table = &table;
    a.labelNumber = 1;
    t.Draw(a);
    // The box is filled inside its top-left edges.
    const RECT box = t.CalcDeviceRect(dc, 100, 0, 0);
    EXPECT_EQ(img.pixel(box.left + 1, box.top + 1) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(img.pixel(box.left, box.top) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(t.TextPart()->GetText(DrawContext{.labelNumber = 1, .table = &table}, kTextBufferSize), "R1");
    EXPECT_EQ(t.TextPart()->GetText(DrawContext{.labelNumber = 1, .table = &table, .placeholder = true}, kTextBufferSize), "[A]");
}

TEST(GraphText, RotationPropertiesAndFontSizes)
{
    auto t = fixedText("x", 4000, 2000);
    t->Rotate90(t->GetCenter(1), t->GetCenter(2), 1);
    EXPECT_EQ(t->GetRotation(), 900);
    for (int i = 0; i < 3; ++i)
        t->Rotate90(t->GetCenter(1), t->GetCenter(2), 1);
    EXPECT_EQ(t->GetRotation(), 0);
    EXPECT_EQ(t->GetX(), 5000);
    EXPECT_EQ(t->GetWidth(), 4000);
    t->Rotate90(0, 0, -1);
    EXPECT_EQ(t->GetRotation(), 2700);
    t->Rotate90(0, 0, 3);
    EXPECT_EQ(t->GetRotation(), 2700);

    EXPECT_EQ(CGraphText::PointsFromHeight(-16), 12);
    EXPECT_EQ(CGraphText::HeightFromPoints(12), -16);
    t->SetAlignment(7);
    int align;
    t->GetAlignment(align);
    EXPECT_EQ(align, 2);

    // Changing the source kind replaces the part; the same kind keeps it.
    CText* before = t->TextPart();
    t->SetSourceKind(kTextKindFixed);
    EXPECT_EQ(t->TextPart(), before);
    t->SetSourceKind(kTextKindCounter);
    EXPECT_TRUE(t->IsCounter());
    t->SetSourceKind(9);
    EXPECT_TRUE(t->IsCounter());
    t->SetCounterPrefix("N");
    std::string prefix;
    EXPECT_TRUE(t->GetCounterPrefix(prefix));
    EXPECT_EQ(prefix, "N");
}

TEST(GraphText, ClipboardTextIsMeasuredAt96Dpi)
{
    CGraphTextExt t;
    t.InitFromClipboardText(arial(-16), "first line\r\nsecond");
    QImage screen(1, 1, QImage::Format_RGB32);
    CDC dc(&screen, 96, 96);
    dc.SelectFont(arial(-16));
    TEXTMETRICA tm;
    dc.GetTextMetrics(tm);
    EXPECT_EQ(t.GetWidth(), dc.GetTextExtent("first line").cx * 25400 / 96 + 1);
    EXPECT_EQ(t.GetHeight(), 2 * tm.tmHeight * 25400 / 96 + 1);
    EXPECT_TRUE(t.GetTransparent());
    EXPECT_TRUE(t.IsFixedText());
    int align;
    t.GetAlignment(align);
    EXPECT_EQ(align, 1);
    std::vector<std::string> lines;
    t.GetSourceLines(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"first line", "second"}));
}
