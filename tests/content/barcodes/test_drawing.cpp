// Drawing of the symbologies through the device context: bar placement at
// every rotation, clipping, the human-readable text, and the QR code's
// sizes, centring and cache.
#include "barcode_render.h"
#include "content/barcodes/qrcode.h"
#include "platform/units.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace bctest;
using testsupport::countPixels;
using testsupport::whiteImage;

namespace {

// A host that records the human-readable line instead of drawing it.
struct RecordingHost : BarcodeHost {
    mutable std::vector<std::string> lines;
    mutable std::vector<POINT> refs;
    mutable std::vector<std::pair<int, int>> offsets;
    void DrawTextLine(CDC&, POINT ref, int along, int across, std::string_view text) const override
    {
        lines.emplace_back(text);
        refs.push_back(ref);
        offsets.emplace_back(along, across);
    }
};

constexpr unsigned kBlack = 0x000000;

} // namespace

TEST(DrawBar, PlacesBarsAtEveryRotationAndClips)
{
    struct Case {
        int rotation;
        RECT expected;
    };
    // Origin (50, 50), offset 5, width 3, height 10.
    const Case cases[] = {
        {0, {55, 50, 58, 60}},
        {900, {50, 42, 60, 45}},
        {1800, {42, 40, 45, 50}},
        {2700, {40, 55, 50, 58}},
    };
    for (const Case& c : cases) {
        QImage img = whiteImage(100, 100);
        CDC dc(&img);
        CBarcode::DrawBar(dc, RGB(0, 0, 0), c.rotation, 5, RECT{0, 0, 100, 100}, 50, 50, 3, 10);
        EXPECT_EQ(countPixels(img, kBlack), 30) << c.rotation;
        EXPECT_EQ(qGray(img.pixel(c.expected.left, c.expected.top)), 0) << c.rotation;
        EXPECT_EQ(qGray(img.pixel(c.expected.right - 1, c.expected.bottom - 1)), 0) << c.rotation;
    }
    QImage img = whiteImage(100, 100);
    CDC dc(&img);
    CBarcode::DrawBar(dc, RGB(0, 0, 0), 0, 5, RECT{0, 0, 57, 55}, 50, 50, 3, 10);
    EXPECT_EQ(countPixels(img, kBlack), 2 * 5);
    CBarcode::DrawBar(dc, RGB(0, 0, 0), 450, 5, RECT{0, 0, 100, 100}, 10, 10, 3, 10);
    CBarcode::DrawBar(dc, RGB(0, 0, 0), 0, 5, RECT{0, 0, 100, 100}, 10, 10, -3, 10);
    EXPECT_EQ(countPixels(img, kBlack), 2 * 5);
}

TEST(Drawing, EveryRotationDrawsTheSameSymbol)
{
    std::vector<std::pair<std::unique_ptr<CBarcode>, std::string>> symbols;
    symbols.emplace_back(std::make_unique<CBarcodeCode39>(), "AB-12");
    symbols.emplace_back(std::make_unique<CBarcodeCode2of5Int>(), "12345");
    symbols.emplace_back(std::make_unique<CBarcodeCode128>(), "Label 0042");
    symbols.emplace_back(std::make_unique<CBarcodeEAN13>(), "590123412345");
    symbols.emplace_back(std::make_unique<CBarcodeUPCA>(), "03600029145");
    symbols.emplace_back(std::make_unique<CBarcodeEAN8>(), "9638507");
    symbols.emplace_back(std::make_unique<CBarcodeQRCode>(), "rotate me");
    for (auto& [b, text] : symbols) {
        b->SetShowText(false);
        b->SetModule(200);
        b->SetBarHeight(3000);
        const QImage upright = Render(*b, text, 0, 60, 5);
        EXPECT_GT(countPixels(upright, kBlack), 100) << b->GetName();
        for (int rotation : {900, 1800, 2700}) {
            const QImage turned = Unrotate(Render(*b, text, rotation, 60, 5), rotation);
            EXPECT_EQ(testsupport::countDifferentPixels(turned, upright), 0) << b->GetName() << " " << rotation;
        }
    }
}

TEST(Drawing, TextThatCannotBeEncodedDrawsNothing)
{
    CBarcodeCode128 c128;
    BarcodeDrawResult r;
    QImage img = Render(c128, "Gr\xFC\xDF" "e", 0, 40, 5, &r);
    EXPECT_EQ(r, BarcodeDrawResult::kNotEncodable);
    EXPECT_EQ(countPixels(img, kBlack), 0);
    img = Render(c128, "", 0, 40, 5, &r);
    EXPECT_EQ(r, BarcodeDrawResult::kEmpty);

    // Resolution 0 and a device with no pixels never divide or draw.
    QImage tiny = whiteImage(10, 10);
    CDC dc(&tiny, 0, 0);
    BarcodeHost host = MakeHost(0, RECT{0, 0, 10, 10});
    host.context.labelNumber = 1;
    CBarcodeQRCode qr;
    CBarcodeEAN8 ean8;
    for (CBarcode* b : std::initializer_list<CBarcode*>{&c128, &qr, &ean8}) {
        b->Draw(host, dc, 0, 0, 0, 0, "123456");
        EXPECT_EQ(b->GetWidth("123456", 0), 0);
    }
    EXPECT_EQ(qr.GetHeight(host, "123456", 0), 0);
    EXPECT_EQ(countPixels(tiny, kBlack), 0);
}

TEST(HumanReadable, LineTextPlaceAndLength)
{
    QImage img = whiteImage(400, 200);
    CDC dc(&img, 254, 254);
    RecordingHost host;
    host.deviceRect = RECT{0, 0, 400, 200};
    const auto draw = [&](CBarcode& b, int label, int y, std::string_view text) {
        host.context.labelNumber = label;
        b.Draw(host, dc, 254, 254, 0, y, text);
    };

    CBarcodeCode39 c39; // n = 3 px, bar height 100 px at 254 dpi
    draw(c39, 0, 0, "AB");
    c39.SetCheckDigit(true);
    c39.SetShowCheckDigit(true);
    draw(c39, 3, 0, "123");
    c39.SetQuietZones(false);
    host.rotation = 900;
    draw(c39, 3, 199, "1");
    ASSERT_EQ(host.lines.size(), 3u);
    EXPECT_EQ(host.lines[0], "{Code39} AB");
    EXPECT_EQ(host.lines[1], "1236");
    EXPECT_EQ(host.offsets[0], std::make_pair(30, 100));
    EXPECT_EQ(host.refs[0].x, 30);
    EXPECT_EQ(host.refs[0].y, 100);
    EXPECT_EQ(host.offsets[2], std::make_pair(0, 100));
    EXPECT_EQ(host.refs[2].x, 100);
    EXPECT_EQ(host.refs[2].y, 199);

    host.rotation = 0;
    host.lines.clear();
    CBarcodeCode2of5Int itf;
    itf.SetCheckDigit(true);
    draw(itf, 0, 0, "12");
    draw(itf, 1, 0, "1234567");
    CBarcodeEAN128 e128;
    draw(e128, 0, 0, "01");
    CBarcodeCode128 c128;
    draw(c128, 1, 0, std::string(150, 'x'));
    c128.SetShowText(false);
    draw(c128, 1, 0, "hidden");
    ASSERT_EQ(host.lines.size(), 4u);
    EXPECT_EQ(host.lines[0], "2/5 int 12");
    EXPECT_EQ(host.lines[1], "12345670");
    EXPECT_EQ(host.lines[2], "EAN 128 01");
    EXPECT_EQ(host.lines[3], std::string(100, 'x'));
}

TEST(HumanReadable, EanDigitsOnlyWhenTheyFitTheBox)
{
    CBarcodeEAN13 ean;
    ean.SetModule(300); // 3 px
    QImage big = Render(ean, "590123412345", 0, 270, 0);
    ean.SetShowText(false);
    QImage bars = Render(ean, "590123412345", 0, 270, 0);
    EXPECT_GT(testsupport::countDifferentPixels(big, bars), 50);
    // A box that ends just below the bars leaves no room for the digits.
    ean.SetShowText(true);
    const int shortBars = units::UmToPx(ean.GetNominalBarHeight(), kRes);
    QImage cut = Render(ean, "590123412345", 0, shortBars + 5, 0);
    ean.SetShowText(false);
    QImage cutBars = Render(ean, "590123412345", 0, shortBars + 5, 0);
    EXPECT_EQ(testsupport::countDifferentPixels(cut, cutBars), 0);

    QImage img = whiteImage(50, 50);
    CDC dc(&img);
    LOGFONTA f;
    f.lfHeight = -20;
    dc.SelectFont(f);
    EXPECT_FALSE(CBarcode::DrawHumanReadableChar(dc, 0, 45, 0, RECT{0, 0, 50, 50}, 0, 0, '8', false));
    EXPECT_TRUE(CBarcode::DrawHumanReadableChar(dc, 0, 10, 0, RECT{0, 0, 50, 50}, 0, 0, '8', false));
    int inked = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            inked += qGray(img.pixel(x, y)) < 160;
    EXPECT_GT(inked, 10);
    EXPECT_EQ(qGray(img.pixel(49, 49)), 255);
}

namespace {

// Text ink of the red human-readable digits: red over white or over the
// black bars, anti-aliased or not.
bool IsTextInk(QRgb p)
{
    return qRed(p) - qGreen(p) > 60;
}

// Draws an EAN symbol with black bars and red digits at a resolution that
// may differ in x and y, turned back to rotation 0. Answers the columns
// of the guard bars in the upright image.
QImage RenderEanAt(CBarcodeEAN& b, const std::string& text, int rotation, int resX, int resY,
                   std::vector<bool>& guardColumns)
{
    const bool turned = rotation == 900 || rotation == 2700;
    const int resAlong = turned ? resY : resX, resAcross = turned ? resX : resY;
    const int along = int(int64_t(b.GetWidth(text, resAlong)) * resAlong / 25400) + 4;
    const int across = resAcross * 14 / 10;
    QImage img = whiteImage(turned ? across : along, turned ? along : across);
    CDC dc(&img, resX, resY);
    const RECT box{0, 0, img.width(), img.height()};
    BarcodeHost host = MakeHost(rotation, box);
    host.deviceFont.lfHeight = -((12 * resAcross + 48) / 96); // 9 points
    host.textColor = RGB(255, 0, 0);
    POINT o{0, 0};
    if (rotation == 900)
        o = {0, box.bottom};
    else if (rotation == 1800)
        o = {box.right, box.bottom};
    else if (rotation == 2700)
        o = {box.right, 0};
    host.barColor = RGB(0, 0, 0);
    EXPECT_EQ(b.Draw(host, dc, resX, resY, o.x, o.y, text), BarcodeDrawResult::kDrawn);
    guardColumns.assign(size_t(along), false);
    const barcodes::LinearLayout layout = *b.Layout(text, resAlong, resAcross);
    for (const barcodes::BarRun& bar : layout.bars)
        if (bar.longBar)
            for (int64_t x = bar.offset; x < bar.offset + bar.width && x < along; ++x)
                guardColumns[size_t(x)] = true;
    return Unrotate(img, rotation);
}

} // namespace

TEST(HumanReadable, EanDigitsClearOfTheGuardBarsAtUnequalResolutions)
{
    CBarcodeEAN13 ean13;
    CBarcodeEAN8 ean8;
    const std::pair<CBarcodeEAN*, std::string> symbols[] = {{&ean13, "590123412345"}, {&ean8, "9638507"}};
    for (const auto& [b, text] : symbols) {
        for (const auto& [resX, resY] : {std::pair{300, 600}, std::pair{600, 300}, std::pair{300, 300}}) {
            for (int rotation : {0, 900}) {
                std::vector<bool> guards;
                const QImage img = RenderEanAt(*b, text, rotation, resX, resY, guards);
                const std::string where = b->GetName() + " at " + std::to_string(resX) + " x " +
                                          std::to_string(resY) + ", rotation " + std::to_string(rotation);
                ASSERT_EQ(size_t(img.width()), guards.size()) << where;
                int ink = 0, onGuards = 0;
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x)
                        if (IsTextInk(img.pixel(x, y))) {
                            ++ink;
                            onGuards += guards[size_t(x)];
                        }
                EXPECT_GT(ink, 300) << where; // the digits are drawn
                EXPECT_EQ(onGuards, 0) << where;
            }
        }
    }
}

TEST(QrCode, SizesOfTheSymbol)
{
    CBarcodeQRCode qr; // module 150 um, margin 4
    EXPECT_EQ(qr.GetWidth("A", 300), 4910);
    BarcodeHost host;
    EXPECT_EQ(qr.GetHeight(host, "A", 300), 4901);
    qr.SetQRMargin(0);
    EXPECT_EQ(qr.GetWidth("A", 300), 21 * 2 * 25400 / 300);
    // A text too long for any version: nothing drawn, sizes of the requested version.
    qr.SetQRLevel('H');
    qr.SetQRVersion(3);
    BarcodeDrawResult r;
    const std::string huge(4000, '\xE9');
    const QImage img = Render(qr, huge, 0, 60, 2, &r);
    EXPECT_EQ(r, BarcodeDrawResult::kNotEncodable);
    EXPECT_EQ(countPixels(img, kBlack), 0);
    EXPECT_EQ(qr.GetSymbolVersion(huge), 3);
    EXPECT_EQ(qr.GetWidth(huge, 254), (17 + 12) * 2 * 100); // 150 um is 2 px at 254 dpi
    // Settings read from a damaged file never overflow.
    qr.SetQRMargin(2000000000);
    qr.SetModule(2000000000);
    EXPECT_GE(qr.GetWidth("A", 600), 0);
    EXPECT_GE(qr.GetHeight(host, "A", 600), 0);
}

TEST(QrCode, DarkModulesAreDrawnAsSquares)
{
    CBarcodeQRCode qr;
    qr.SetModule(300); // 3 px
    qr.SetCentred(false);
    const QRcode* symbol = qr.Encode("modules");
    ASSERT_TRUE(symbol);
    int dark = 0;
    for (int i = 0; i < symbol->width * symbol->width; ++i)
        dark += symbol->data[i] & 1;
    const QImage img = Render(qr, "modules", 0, qr.GetWidth("modules", kRes) / 100, 0);
    EXPECT_EQ(countPixels(img, kBlack), dark * 9);
    // The first finder pattern starts after the margin.
    EXPECT_EQ(qGray(img.pixel(12, 12)), 0);
    EXPECT_EQ(qGray(img.pixel(11, 11)), 255);
}

TEST(QrCode, CentredAcrossTheReadingDirection)
{
    CBarcodeQRCode qr;
    qr.SetModule(100); // 1 px
    qr.SetQRMargin(0);
    const int side = qr.GetWidth("c", kRes) / 100; // 21
    BarcodeDrawResult r;
    QImage img = Render(qr, "c", 0, side + 40, 0, &r);
    ASSERT_EQ(r, BarcodeDrawResult::kDrawn);
    EXPECT_EQ(qGray(img.pixel(0, 20)), 0); // finder corner moved down by 20
    EXPECT_EQ(qGray(img.pixel(0, 19)), 255);
    qr.SetCentring(false);
    img = Render(qr, "c", 0, side + 40, 0);
    EXPECT_EQ(qGray(img.pixel(0, 0)), 0);
    // Turned: centred along x.
    qr.SetCentred(true);
    img = Render(qr, "c", 900, side + 40, 0);
    EXPECT_EQ(qGray(img.pixel(20, side - 1)), 0);
    EXPECT_EQ(qGray(img.pixel(19, side - 1)), 255);
}

TEST(QrCode, OneEncodingPerUnchangedText)
{
    CBarcodeQRCode qr;
    Render(qr, "same", 0, 60, 0);
    Render(qr, "same", 900, 60, 0);
    qr.GetWidth("same", 300);
    EXPECT_EQ(qr.EncodeCount(), 1);
    qr.SetQRMargin(1);
    qr.SetCentred(false);
    Render(qr, "same", 0, 60, 0);
    EXPECT_EQ(qr.EncodeCount(), 1);
    qr.SetQRLevel('M');
    Render(qr, "same", 0, 60, 0);
    EXPECT_EQ(qr.EncodeCount(), 2);
    Render(qr, "other", 0, 60, 0);
    EXPECT_EQ(qr.EncodeCount(), 3);
    qr.SetQRVersion(2);
    qr.GetWidth("other", 300);
    EXPECT_EQ(qr.EncodeCount(), 4);
    // A clone starts with an empty cache.
    auto copy = qr.Clone();
    auto* qrCopy = static_cast<CBarcodeQRCode*>(copy.get());
    EXPECT_EQ(qrCopy->EncodeCount(), 0);
    Render(*qrCopy, "other", 0, 60, 0);
    EXPECT_EQ(qrCopy->EncodeCount(), 1);
}

TEST(QrCode, CarriesAnyByteAsLongAsTheLibraryTakesTheTextWhole)
{
    struct Case {
        char level;
        bool caseSensitive;
        std::string text;
        bool encodable;
    };
    const Case cases[] = {
        {'L', true, "Gr\xFC\xDF" "e \x01\x7F\xFF", true},
        {'L', true, std::string(2953, 'q'), true}, // the bytes of version 40
        {'L', true, std::string(2954, 'q'), false},
        {'H', true, std::string(1274, 'q'), false},
        {'L', true, std::string(4000, '7'), true}, // digits take less room
        {'L', true, std::string("a\0b", 3), false}, // the library stops at NUL
        {'L', false, "ABC-12", true},
        {'L', false, "abc", false}, // turned to uppercase by the library
    };
    for (const Case& c : cases) {
        CBarcodeQRCode qr;
        qr.SetQRLevel(c.level);
        qr.SetCaseSensitive(c.caseSensitive);
        EXPECT_EQ(qr.CanEncode(c.text), c.encodable) << c.level << " " << c.text.substr(0, 12) << " " << c.text.size();
    }
}

TEST(QrCode, EmptyTextAndBadSettingsNeverCrash)
{
    CBarcodeQRCode qr;
    BarcodeDrawResult r;
    Render(qr, "", 0, 60, 0, &r);
    EXPECT_NE(r, BarcodeDrawResult::kNotEncodable);
    Render(qr, " ", 0, 60, 0, &r);
    EXPECT_EQ(r, BarcodeDrawResult::kDrawn);
    RecordWriter w;
    qr.Save(w);
    std::string bytes = w.take();
    bytes[16] = char(0x7F); // version 127
    RecordReader rd(bytes);
    ASSERT_TRUE(qr.Load(rd));
    Render(qr, "x", 0, 60, 0, &r);
    EXPECT_EQ(r, BarcodeDrawResult::kNotEncodable);
}

TEST(QrCode, LiveInstancesAreCounted)
{
    const int before = CBarcodeQRCode::LiveInstances();
    {
        CBarcodeQRCode a;
        auto b = a.Clone();
        auto c = CreateBarcode(kKeyQRCode);
        EXPECT_EQ(CBarcodeQRCode::LiveInstances(), before + 3);
        a.Encode("cache");
    }
    EXPECT_EQ(CBarcodeQRCode::LiveInstances(), before);
    CBarcodeQRCode again; // the library works after its caches were released
    EXPECT_TRUE(again.Encode("again"));
}

// A screen draws the symbol as laid out at the host's layout resolution:
// every bar edge where that layout puts it, scaled and rounded to the
// screen's pixels, so the symbol keeps its width at any scale; a bar of less
// than a pixel keeps one pixel.
TEST(Drawing, LaidOutAtTheLayoutResolutionAndScaledToTheDevice)
{
    CBarcodeCode128 b;
    b.SetShowText(false);
    b.SetQuietZones(false);
    b.SetModule(300);
    b.SetBarHeight(5000);
    const std::string text = "C000001";
    const auto layout = b.Layout(text, 300, 300);
    ASSERT_TRUE(layout && !layout->bars.empty());
    for (int screen : {24, 48, 96, 384}) {
        QImage img = whiteImage(1200, 40);
        CDC dc(&img, screen, screen);
        BarcodeHost host = MakeHost(0, RECT{0, 0, 1199, 39});
        host.layoutResX = host.layoutResY = 300;
        ASSERT_EQ(b.Draw(host, dc, screen, screen, 0, 0, text), BarcodeDrawResult::kDrawn);
        const std::string row = DarkRow(img, 2);
        const int64_t first = ScalePixels(layout->bars.front().offset, 300, screen);
        const barcodes::BarRun& lastBar = layout->bars.back();
        const int64_t last = std::max(ScalePixels(lastBar.offset + lastBar.width, 300, screen),
                                      ScalePixels(lastBar.offset, 300, screen) + 1);
        EXPECT_EQ(int64_t(row.size()), last - first) << screen;
        // The width on the screen is the width at 300 dpi, within a pixel.
        const double paperUm = (lastBar.offset + lastBar.width - layout->bars.front().offset) * 25400.0 / 300;
        EXPECT_NEAR(row.size() * 25400.0 / screen, paperUm, 25400.0 / screen) << screen;
        if (screen >= 96) {
            EXPECT_GT(std::count(row.begin(), row.end(), '0'), 10) << "bars and spaces at " << screen;
        }
    }
    // Without a layout resolution the device's own is used, as printing does.
    QImage img = whiteImage(1200, 40);
    CDC dc(&img, 300, 300);
    BarcodeHost host = MakeHost(0, RECT{0, 0, 1199, 39});
    ASSERT_EQ(b.Draw(host, dc, 300, 300, 0, 0, text), BarcodeDrawResult::kDrawn);
    EXPECT_EQ(int64_t(DarkRow(img, 10).size()),
              layout->bars.back().offset + layout->bars.back().width - layout->bars.front().offset);
}
