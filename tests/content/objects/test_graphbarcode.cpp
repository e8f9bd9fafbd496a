// Barcode objects: defaults, symbology changes, property texts, records,
// the cut check that stops printing, and symbols that scan.
#include "content/barcodes/barcode_render.h"
#include "content/objects/collection.h"
#include "content/objects/graphbarcode.h"
#include "content/tables/datatable.h"
#include "platform/recordingui.h"
#include "platform/numberformat.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using testsupport::whiteImage;

namespace {

std::unique_ptr<CGraphBarcode> barcode(const std::string& symbology, const std::string& fixedText, int32_t w,
                                       int32_t h)
{
    auto b = std::make_unique<CGraphBarcode>();
    b->SetSymbologyName(symbology);
    if (!fixedText.empty()) {
        b->SetSourceKind(kTextKindFixed);
        b->SetText(fixedText);
    }
    LOGFONTA lf;
    lf.lfHeight = -12;
    SetFaceName(lf, "Arial");
    b->SetLogFont(lf);
    b->SetX(3000);
    b->SetY(3000);
    b->SetWidth(w);
    b->SetHeight(h);
    return b;
}

} // namespace

TEST(GraphBarcode, NewObjectsAndSymbologyChanges)
{
    CGraphBarcode b;
    std::string name;
    b.GetSymbologyName(name);
    EXPECT_EQ(name, "Code 39");
    EXPECT_EQ(b.GetSourceKind(), kTextKindTable);
    EXPECT_EQ(b.TextPart()->GetText(DrawContext{.labelNumber = 0, .placeholder = true}, kBarcodeTextBufferSize), "[A]");
    EXPECT_EQ(b.GetModule(), 300);
    EXPECT_EQ(b.GetBarHeight(), 10000);

    // Code 39 -> Code 128 keeps module and bar height.
    b.SetModule(400);
    b.SetBarHeight(12000);
    b.SetSymbologyName("code 128");
    b.GetSymbologyName(name);
    EXPECT_EQ(name, "Code 128");
    EXPECT_EQ(b.GetModule(), 400);
    EXPECT_EQ(b.GetBarHeight(), 12000);
    // An unknown name changes nothing.
    b.SetSymbologyName("Code 93");
    b.GetSymbologyName(name);
    EXPECT_EQ(name, "Code 128");

    // EAN 13 -> Code 39 takes Code 39's defaults; EAN 13 -> EAN 8 keeps all.
    CGraphBarcode e;
    e.SetSymbologyName("EAN 13");
    EXPECT_TRUE(e.IsEAN());
    e.SetModule(150); // percent for the EAN family
    EXPECT_EQ(e.GetModule(), 495);
    e.SetHeightPercent(70);
    CGraphBarcode e8(e);
    e8.SetSymbologyName("EAN 8");
    EXPECT_EQ(e8.GetModule(), 495);
    EXPECT_EQ(e8.GetHeightPercent(), 70);
    e.SetSymbologyName("Code 39");
    EXPECT_EQ(e.GetModule(), 300);
    EXPECT_EQ(e.GetBarHeight(), 10000);
}

TEST(GraphBarcode, PropertyTexts)
{
    SetCurrentNumberLocale(NumberLocale{','});
    CGraphBarcode b;
    std::string text;
    EXPECT_TRUE(b.GetModuleText(text));
    EXPECT_EQ(text, "0,3 mm");
    EXPECT_TRUE(b.GetRatioText(text));
    EXPECT_EQ(text, "2,5:1");
    b.SetRatioText("2,8");
    b.GetRatioText(text);
    EXPECT_EQ(text, "2,8:1");
    b.SetRatioText("3,5"); // outside 2..3
    b.GetRatioText(text);
    EXPECT_EQ(text, "2,8:1");
    b.SetGapCorrectionText("3");
    b.GetGapCorrectionText(text);
    EXPECT_EQ(text, "1");
    EXPECT_FALSE(b.GetQrVersionText(text));
    SetCurrentNumberLocale(NumberLocale{'.'});

    CGraphBarcode e;
    e.SetSymbologyName("EAN 13");
    EXPECT_TRUE(e.GetModulePercentText(text));
    EXPECT_EQ(text, "100 %");
    EXPECT_FALSE(e.GetModuleText(text));
    e.SetModulePercent(79); // below 80 %: nothing
    EXPECT_EQ(e.GetModule(), 330);
    e.SetModulePercent(200);
    EXPECT_EQ(e.GetModule(), 660);
    e.SetHeightPercent(49);
    EXPECT_EQ(e.GetHeightPercent(), 100);

    CGraphBarcode q;
    q.SetSymbologyName(std::string("QR Code") + '\xAE');
    EXPECT_TRUE(q.Is2D());
    q.SetQrVersionText("7");
    q.SetQrEccLevelText("H");
    q.SetQrMarginText("1001");
    q.GetQrVersionText(text);
    EXPECT_EQ(text, "7");
    q.GetQrEccLevelText(text);
    EXPECT_EQ(text, "H");
    // A QR code switched to a fixed text starts empty (it is edited in the
    // QR dialog, not in place).
    q.SetSourceKind(kTextKindFixed);
    EXPECT_EQ(q.TextPart()->GetText(DrawContext{.labelNumber = 1}, kBarcodeTextBufferSize), "");
}

TEST(GraphBarcode, RatioTextsAtTheEndsOfTheRange)
{
    // Whole ratios read back without a decimal part; both ends are allowed.
    for (const char* symbology : {"Code 39", "2/5 Interleaved"}) {
        CGraphBarcode b;
        b.SetSymbologyName(symbology);
        std::string text;
        const std::pair<const char*, const char*> cases[] = {
            {"2", "2:1"}, {"3", "3:1"}, {"2.3", "2.3:1"}, {"1.9", "2.3:1"}, {"3.1", "2.3:1"}, {"x", "2.3:1"}, {"2.0", "2:1"},
        };
        for (const auto& [in, out] : cases) {
            b.SetRatioText(in);
            ASSERT_TRUE(b.GetRatioText(text));
            EXPECT_EQ(text, out) << symbology << " after \"" << in << "\"";
        }
    }
    CGraphBarcode c;
    c.SetSymbologyName("Code 128");
    std::string text;
    EXPECT_FALSE(c.GetRatioText(text));
}

TEST(GraphBarcode, RecordsRoundTripThroughTheCollection)
{
    CGraphCollection c;
    c.AddTail(barcode("EAN 13", "590123412345", 40000, 20000));
    c.AddTail(barcode(std::string("QR Code") + '\xAE', "hello", 15000, 15000));
    c.AddTail(barcode("Code 128", "", 50000, 15000));
    RecordWriter w;
    c.Save(w);
    CGraphCollection back;
    RecordReader r(w.data());
    ASSERT_TRUE(back.Load(r));
    ASSERT_EQ(back.GetCount(), 3u);
    std::string name;
    back.GetAt(1)->GetSymbologyName(name);
    EXPECT_EQ(name, std::string("QR Code") + '\xAE');
    RecordWriter again;
    back.Save(again);
    EXPECT_EQ(again.data(), w.data());
    for (size_t n = 0; n < w.data().size(); n += 3) {
        const std::string cut = w.data().substr(0, n);
        RecordReader rc(cut);
        CGraphCollection partial;
        EXPECT_FALSE(partial.Load(rc));
    }
}

TEST(GraphBarcode, CutQrCodeStopsPrintingLinearPrintsClipped)
{
    CRecordingUi ui;
    UiScope installed(ui);
    // A 10 mm object whose QR symbol needs more.
    auto q = barcode(std::string("QR Code") + '\xAE', std::string(120, 'Q'), 10000, 10000);
    q->SetModule(500);
    QImage page = whiteImage(400, 400);
    CDC dc(&page, 300, 300);
    DrawArgs a;
    a.dc = &dc;
    a.flags = kDrawPrinting;
    a.labelNumber = 7;
    a.cutResX = 300;
    a.cutResY = 300;
    EXPECT_FALSE(q->Draw(a));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Utskrift avbruten");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(ui.messages[0].text,
              "Streckkod klippt p\xE5 etikett nummer 7 med text \"" + std::string(120, 'Q') + "\"");
    // Negative resolutions switch the check off.
    a.cutResX = -1;
    EXPECT_TRUE(q->Draw(a));

    // A linear code of the same size prints clipped, and the design view
    // marks it.
    auto lin = barcode("Code 128", std::string(40, '7') + "X", 10000, 10000);
    a.cutResX = 300;
    EXPECT_TRUE(lin->Draw(a));
    EXPECT_EQ(ui.messages.size(), 1u);
    a.flags = kDrawDesign;
    lin->Draw(a);
    EXPECT_TRUE(lin->IsCut(std::string(40, '7') + "X", a.cutResX, a.cutResY));
}

TEST(GraphBarcode, DesignViewAndPreviewMarkASymbolThatDoesNotCarryItsText)
{
    CDataTableBase table;
    table.SetCellText(0, 0, "ABC-12");
    table.SetCellText(1, 0, "ArticleNo");
    struct Case {
        const char* symbology;
        int row;
        int flags;
        bool placeholder;
        bool marked;
    };
    const Case cases[] = {
        {"Code 39", 0, kDrawPreview, false, false},
        {"Code 39", 1, kDrawPreview, false, true},
        {"Code 39", 1, kDrawDesign, false, true},
        {"Code 39", 1, kDrawDesign, true, false}, // the placeholder [A] is no text of a label
        {"EAN 13", 1, kDrawDesign, false, true},
        {"EAN 13", 0, kDrawPreview, false, true},
        {"Code 128", 1, kDrawPreview, false, false},
    };
    for (const Case& c : cases) {
        auto b = barcode(c.symbology, "", 80000, 30000);
        b->SetSourceColumnText("A");
        const auto draw = [&](int flags) {
            QImage img = whiteImage(1000, 400);
            CDC dc(&img, 300, 300);
            DrawArgs a;
            a.dc = &dc;
            a.flags = flags;
            a.labelNumber = c.row + 1;
            a.table = &table;
            a.placeholder = c.placeholder;
            a.cutResX = 300;
            a.cutResY = 300;
            b->Draw(a);
            return img;
        };
        // Printing draws the same symbol and never a mark.
        const int mark = testsupport::countDifferentPixels(draw(c.flags), draw(kDrawPrinting));
        EXPECT_EQ(mark > 0, c.marked) << c.symbology << " row " << c.row + 1 << " flags " << c.flags;
    }
}

TEST(GraphBarcode, DrawnObjectsScanWithTheirTableText)
{
    if (!bctest::HaveProgram("zbarimg"))
        GTEST_SKIP() << "zbarimg is not installed";
    CDataTableBase table;
    table.SetCellText(0, 0, "WIRE-0042");
    table.SetCellText(1, 0, "4006381333931");
    struct Case {
        const char* symbology;
        int row;
        int16_t rotation;
    };
    const Case cases[] = {{"Code 128", 0, 0}, {"Code 39", 0, 900}, {"EAN 13", 1, 1800},
                          {"QR Code\xAE", 0, 2700}};
    for (const Case& c : cases) {
        auto b = barcode(c.symbology, "", 60000, 60000);
        b->SetRotation(c.rotation);
        b->SetAlignment(2);
        QImage img = whiteImage(900, 900);
        CDC dc(&img, 300, 300);
        DrawArgs a;
        a.dc = &dc;
        a.flags = kDrawPrinting;
        a.labelNumber = c.row + 1;
        a.table = &table;
        ASSERT_TRUE(b->Draw(a));
        const std::string path = bctest::TempDir() + "/object.png";
        ASSERT_TRUE(img.save(QString::fromStdString(path)));
        std::string out;
        bctest::RunCommand("zbarimg -q --raw " + path, &out);
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
            out.pop_back();
        EXPECT_EQ(out, table.GetCellText(c.row, 0)) << c.symbology << " at " << c.rotation;
    }
}

TEST(GraphBarcode, EditContentOpensTheQrTextDialog)
{
    CRecordingUi ui;
    UiScope installed(ui);
    // Linear codes are edited in place: no dialog.
    EXPECT_FALSE(barcode("Code 128", "123", 20000, 10000)->EditContent());
    EXPECT_TRUE(ui.qrDialogTexts.empty());

    auto q = barcode(std::string("QR Code") + '\xAE', "first", 20000, 20000);
    ui.qrTexts = {std::nullopt, std::string("line 1\r\nline \xE4")};
    EXPECT_FALSE(q->EditContent()); // cancelled
    ASSERT_TRUE(q->EditContent());
    EXPECT_EQ(ui.qrDialogTexts, (std::vector<std::string>{"first", "first"}));
    EXPECT_FALSE(q->EditContent()); // no scripted answer: cancelled
    EXPECT_EQ(ui.qrDialogTexts.back(), "line 1\r\nline \xE4");
}
