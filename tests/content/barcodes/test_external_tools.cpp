// Symbols checked by tools written elsewhere: zbarimg must read back what
// was encoded, and the module patterns must equal zint's for the same data.
// Each test is skipped when its tool is not installed.
#include "barcode_render.h"
#include "content/barcodes/qrcode.h"
#include "support/zbar.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <map>

using namespace bctest;

namespace {

struct Case {
    const char* name;
    std::function<std::unique_ptr<CBarcode>()> make;
    std::string text;
    std::string expected; // what a reader must return
    std::string zbarOptions;
};

std::unique_ptr<CBarcode> WithCheck(std::unique_ptr<CBarcode> b)
{
    b->SetCheckDigit(true);
    return b;
}

std::string Decode(const QImage& img, const std::string& options, const std::string& tag)
{
    static int counter = 0;
    const std::string path = TempDir() + "/" + tag + "_" + std::to_string(++counter) + ".png";
    EXPECT_TRUE(img.save(QString::fromStdString(path)));
    std::string out;
    RunCommand("zbarimg -q --raw " + options + " '" + path + "' 2>/dev/null", &out);
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

std::vector<Case> LinearCases()
{
    auto code39 = [] { return std::unique_ptr<CBarcode>(new CBarcodeCode39); };
    auto itf = [] { return std::unique_ptr<CBarcode>(new CBarcodeCode2of5Int); };
    auto c128 = [] { return std::unique_ptr<CBarcode>(new CBarcodeCode128); };
    auto e128 = [] { return std::unique_ptr<CBarcode>(new CBarcodeEAN128); };
    auto ean13 = [] { return std::unique_ptr<CBarcode>(new CBarcodeEAN13); };
    auto upca = [] { return std::unique_ptr<CBarcode>(new CBarcodeUPCA); };
    auto ean8 = [] { return std::unique_ptr<CBarcode>(new CBarcodeEAN8); };
    return {
        {"code39", code39, "CODE 39-X", "CODE 39-X", ""},
        {"code39sym", code39, "$/+%.", "$/+%.", ""},
        {"code39check", [] { return WithCheck(std::make_unique<CBarcodeCode39>()); }, "123", "1236", ""},
        {"itf", itf, "123456", "123456", ""},
        {"itfshort", itf, "123", "0123", "-Si25.min-length=4"},
        {"itfcheck", [] { return WithCheck(std::make_unique<CBarcodeCode2of5Int>()); }, "1234567", "12345670", ""},
        {"c128", c128, "Hello, World!", "Hello, World!", ""},
        {"c128digits", c128, "AB12345678", "AB12345678", ""},
        {"c128c", c128, "1234", "1234", ""},
        {"c128high", c128, "x`{|}~", "x`{|}~", ""},
        {"c128ctl", c128, "A\tb", "A\tb", ""},
        {"ean128", e128, "0101234567890128", "0101234567890128", ""},
        {"ean128fnc1", e128, "10AB12\xB6" "21XY", "10AB12\x1D" "21XY", ""},
        {"ean13", ean13, "400638133393", "4006381333931", ""},
        {"ean13short", ean13, "123", "0000000001236", ""},
        {"upca", upca, "03600029145", "036000291452", "-Supca.enable"},
        // A printed UPC number carries its check digit; a wrong one is replaced.
        {"upca12", upca, "036000291452", "036000291452", "-Supca.enable"},
        {"upca12wrong", upca, "036000291459", "036000291452", "-Supca.enable"},
        {"upca13", upca, "0360002914521", "036000291452", "-Supca.enable"},
        {"ean8", ean8, "9638507", "96385074", ""},
    };
}

} // namespace

TEST(ZbarDecode, EverySymbologyAtEveryRotationAndScale)
{
    if (!testsupport::HaveZbar())
        GTEST_SKIP() << "zbarimg not installed";
    // Every image is written first; zbarimg reads those of one set of
    // options in one run.
    struct Image {
        QString path;
        const Case* c;
        int ppm;
        int rotation;
    };
    const std::vector<Case> cases = LinearCases();
    std::map<std::string, std::vector<Image>> byOptions;
    int counter = 0;
    for (const Case& c : cases) {
        for (int ppm = 2; ppm <= 4; ++ppm) {
            for (int rotation : {0, 900, 1800, 2700}) {
                auto b = c.make();
                b->SetModule(100 * ppm);
                b->SetBarHeight(8000);
                b->SetGapCorrection(0);
                BarcodeDrawResult r;
                const QImage img = Render(*b, c.text, rotation, 200, 30, &r);
                ASSERT_EQ(r, BarcodeDrawResult::kDrawn) << c.name;
                const QString path = QString::fromStdString(TempDir() + "/" + c.name + "_" +
                                                            std::to_string(++counter) + ".png");
                ASSERT_TRUE(img.save(path));
                byOptions[c.zbarOptions].push_back({path, &c, ppm, rotation});
            }
        }
    }
    for (const auto& [options, images] : byOptions) {
        std::vector<QString> paths;
        for (const Image& i : images)
            paths.push_back(i.path);
        const QStringList args = options.empty() ? QStringList() : QStringList{QString::fromStdString(options)};
        const std::vector<std::vector<testsupport::ZbarSymbol>> read = testsupport::ZbarRead(paths, args);
        for (size_t k = 0; k < images.size(); ++k) {
            const Image& i = images[k];
            std::vector<std::string> found;
            for (const testsupport::ZbarSymbol& s : read[k])
                found.push_back(s.data);
            EXPECT_EQ(found, std::vector<std::string>{i.c->expected})
                << i.c->name << " at " << i.ppm << " px/module, rotation " << i.rotation;
        }
    }
}

namespace {

struct ZintCase {
    std::function<std::unique_ptr<CBarcode>()> make;
    std::string text;
    std::string zintArgs; // symbology and options
    std::string zintText = {}; // the data as zint reads it, when it differs
};

std::string ShellQuote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

std::string ZintDump(const ZintCase& c)
{
    std::string out;
    RunCommand("zint --dump " + c.zintArgs + " -d " + ShellQuote(c.zintText.empty() ? c.text : c.zintText) + " 2>/dev/null", &out);
    const size_t nl = out.find('\n');
    return nl == std::string::npos ? out : out.substr(0, nl);
}

template <class T>
std::function<std::unique_ptr<CBarcode>()> Make(bool check = false, int ratio = 0)
{
    return [=] {
        auto b = std::make_unique<T>();
        if (check)
            b->SetCheckDigit(true);
        if (ratio)
            b->SetRatio(ratio);
        return std::unique_ptr<CBarcode>(std::move(b));
    };
}

} // namespace

TEST(ZintPattern, ModulePatternsEqualZintDump)
{
    if (!HaveProgram("zint"))
        GTEST_SKIP() << "zint not installed";
    std::string allDigitPairs;
    for (int i = 0; i < 100; ++i)
        allDigitPairs += std::to_string(i / 10) + std::to_string(i % 10);
    std::string printable;
    for (int c = 32; c < 127; ++c)
        printable += char(c);
    const std::vector<ZintCase> cases = {
        {Make<CBarcodeCode39>(false, 20), "0123456789", "-b 8"},
        {Make<CBarcodeCode39>(false, 20), "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "-b 8"},
        {Make<CBarcodeCode39>(false, 20), "-. $/+%", "-b 8"},
        {Make<CBarcodeCode39>(true, 20), "CODE39 CHECK", "-b 8 --vers=1"},
        {Make<CBarcodeCode2of5Int>(false, 30), "0123456789", "-b 3"},
        {Make<CBarcodeCode2of5Int>(false, 25), "98765", "-b 3"},
        {Make<CBarcodeCode2of5Int>(true, 30), "1234567", "-b 3 --vers=1"},
        {Make<CBarcodeCode128>(), allDigitPairs.substr(0, 100), "-b 20"},
        {Make<CBarcodeCode128>(), allDigitPairs.substr(100), "-b 20"},
        {Make<CBarcodeCode128>(), printable.substr(0, 48), "-b 20"},
        {Make<CBarcodeCode128>(), printable.substr(48), "-b 20"},
        {Make<CBarcodeCode128>(), "AB12345678", "-b 20"},
        {Make<CBarcodeCode128>(), "1234", "-b 20"},
        {Make<CBarcodeCode128>(), "AB\tCD\r\n", "-b 20 --esc", "AB\\tCD\\r\\n"},
        {Make<CBarcodeCode128>(), "x\ty", "-b 20 --esc", "x\\ty"},
        {Make<CBarcodeCode128>(), "Code 128", "-b 20"},
        {Make<CBarcodeEAN13>(), "400638133393", "-b 13"},
        {Make<CBarcodeEAN13>(), "000000000123", "-b 13"},
        {Make<CBarcodeEAN13>(), "978020137962", "-b 13"},
        {Make<CBarcodeEAN13>(), "590123412345", "-b 13"},
        {Make<CBarcodeEAN8>(), "9638507", "-b 13"},
        {Make<CBarcodeEAN8>(), "5512345", "-b 13"},
        {Make<CBarcodeUPCA>(), "03600029145", "-b 34"},
        {Make<CBarcodeUPCA>(), "12345678901", "-b 34"},
        {Make<CBarcodeUPCA>(), "036000291452", "-b 34"},
    };
    for (const ZintCase& c : cases) {
        auto b = c.make();
        b->SetModule(100); // one pixel per module
        b->SetBarHeight(2000);
        b->SetGapCorrection(0);
        if (auto* m = dynamic_cast<CBarcodeModular*>(b.get()))
            m->SetQuietZones(false);
        for (int rotation : {0, 900, 1800, 2700}) {
            const QImage img = Unrotate(Render(*b, c.text, rotation, 40, 4), rotation);
            EXPECT_EQ(DumpHex(DarkRow(img, 4 + 5)), ZintDump(c))
                << b->GetName() << " \"" << c.text << "\" rotation " << rotation;
        }
    }
}

TEST(ZbarDecode, QrCodesOfSeveralVersionsLevelsAndTexts)
{
    if (!HaveProgram("zbarimg"))
        GTEST_SKIP() << "zbarimg not installed";
    const std::string long300(300, 'Q');
    const std::vector<std::string> texts = {
        "Hello, QR",
        "Str\xF6m 25\xB0" "C \x96 \xC5\xC4\xD6 \x80 \xE9t\xE9",  // cp1252 bytes
        "0123456789012345678901234567890123456789",
        long300 + "\xE5\xE4\xF6",
    };
    struct Setting {
        int version;
        char level;
    };
    const Setting settings[] = {{1, 'L'}, {2, 'M'}, {5, 'Q'}, {10, 'H'}, {3, 'H'}};
    int n = 0;
    for (const std::string& text : texts) {
        for (const Setting& s : settings) {
            const int rotation = (n++ % 4) * 900;
            CBarcodeQRCode qr;
            qr.SetModule(300);
            qr.SetQRVersion(s.version);
            qr.SetQRLevel(s.level);
            BarcodeDrawResult r;
            const QImage img = Render(qr, text, rotation, qr.GetWidth(text, kRes) / 100, 10, &r);
            ASSERT_EQ(r, BarcodeDrawResult::kDrawn);
            EXPECT_GE(qr.GetSymbolVersion(text), s.version);
            EXPECT_EQ(Decode(img, "-Sbinary", "qr"), text)
                << "version " << s.version << " level " << s.level << " rotation " << rotation;
        }
    }
}
