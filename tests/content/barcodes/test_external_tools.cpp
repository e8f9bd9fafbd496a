// Symbols checked by tools written elsewhere: zbarimg must read back what
// was encoded, and the module patterns must equal zint's for the same data.
// Each test is skipped when its tool is not installed.
#include "barcode_render.h"
#include "content/barcodes/qrcode.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>

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
        {"ean13", ean13, "400638133393", "4006381333931", ""},
        {"ean13short", ean13, "123", "0000000001236", ""},
        {"upca", upca, "03600029145", "036000291452", "-Supca.enable"},
        {"ean8", ean8, "9638507", "96385074", ""},
    };
}

} // namespace

TEST(ZbarDecode, EverySymbologyAtEveryRotationAndScale)
{
    if (!HaveProgram("zbarimg"))
        GTEST_SKIP() << "zbarimg not installed";
    for (const Case& c : LinearCases()) {
        for (int ppm = 2; ppm <= 4; ++ppm) {
            for (int rotation : {0, 900, 1800, 2700}) {
                auto b = c.make();
                b->SetModule(100 * ppm);
                b->SetBarHeight(8000);
                b->SetGapCorrection(0);
                BarcodeDrawResult r;
                const QImage img = Render(*b, c.text, rotation, 200, 30, &r);
                ASSERT_EQ(r, BarcodeDrawResult::kDrawn) << c.name;
                EXPECT_EQ(Decode(img, c.zbarOptions, c.name), c.expected)
                    << c.name << " at " << ppm << " px/module, rotation " << rotation;
            }
        }
    }
}
