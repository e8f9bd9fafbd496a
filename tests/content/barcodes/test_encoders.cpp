// Encoders of the linear symbologies: check characters, code-set choice,
// buffers, and widths that follow what is drawn.
#include "content/barcodes/barcode.h"
#include "content/barcodes/encoders.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>

using namespace barcodes;

namespace {

std::vector<int> Cw(std::string_view text, bool ean128 = false)
{
    auto cw = Code128Codewords(text, ean128);
    return cw ? *cw : std::vector<int>{};
}

// The codewords between start and check, with the check verified on the way.
std::vector<int> Data(std::string_view text, bool ean128 = false)
{
    std::vector<int> cw = Cw(text, ean128);
    if (cw.size() < 3)
        return {};
    int sum = cw[0];
    for (size_t i = 1; i + 2 < cw.size(); ++i)
        sum += int(i) * cw[i];
    EXPECT_EQ(cw[cw.size() - 2], sum % 103) << text;
    EXPECT_EQ(cw.back(), kCode128Stop);
    return std::vector<int>(cw.begin() + 1, cw.end() - 2);
}

} // namespace

TEST(Code128, CodeSetChoice)
{
    EXPECT_EQ(Cw("1234"), (std::vector<int>{105, 12, 34, (105 + 12 + 2 * 34) % 103, 106}));
    EXPECT_EQ(Cw("AB12345678")[0], kCode128StartB);
    EXPECT_EQ(Data("AB12345678"), (std::vector<int>{33, 34, 99, 12, 34, 56, 78}));
    EXPECT_EQ(Data("A123"), (std::vector<int>{33, 17, 18, 19}));
    // An odd digit run stays in B for one digit, then switches.
    EXPECT_EQ(Data("A12345"), (std::vector<int>{33, 17, 99, 23, 45}));
    // A tab followed by a lowercase letter in set B: Shift and its set A value.
    EXPECT_EQ(Data("a\tb"), (std::vector<int>{65, 98, 73, 66}));
    // Control characters first: start A.
    EXPECT_EQ(Cw("\tAB")[0], kCode128StartA);
    EXPECT_EQ(Data("\tAB"), (std::vector<int>{73, 33, 34}));
    // Leaving set C for the last odd digit.
    EXPECT_EQ(Data("12345"), (std::vector<int>{12, 34, 100, 21}));
    // Set A with a lowercase letter before a control character: Shift.
    EXPECT_EQ(Data("\tb\tC"), (std::vector<int>{73, 98, 66, 73, 35}));
}

TEST(Code128, CharactersOf96To127TakeSetBInEveryRule)
{
    // Start: a ` before any control character gives set B.
    EXPECT_EQ(Cw("`\t")[0], kCode128StartB);
    // In set A: ~ switches to B.
    EXPECT_EQ(Data("\tX~"), (std::vector<int>{73, 56, 100, 94}));
    // In set C: { switches to B, not to A.
    EXPECT_EQ(Data("1234{\t"), (std::vector<int>{12, 34, 100, 91, 101, 73}));
    // In set B: a control character followed by | is shifted.
    EXPECT_EQ(Data("a\t|"), (std::vector<int>{65, 98, 73, 92}));
    // DEL has a pattern in set B.
    EXPECT_EQ(Data("\x7F"), (std::vector<int>{95}));
    for (int c = 1; c < 128; ++c) {
        const std::string text = std::string("\t") + char(c) + "a" + char(c) + "12";
        const auto cw = Code128Codewords(text, false);
        ASSERT_TRUE(cw.has_value()) << c;
        for (int v : *cw)
            EXPECT_FALSE(Code128Pattern(v).empty()) << c;
    }
}

TEST(Code128, TextThatCannotBeEncodedGivesNoCodewords)
{
    EXPECT_FALSE(Code128Codewords("", false));
    EXPECT_FALSE(Code128Codewords("caf\xE9", false));
    EXPECT_FALSE(Code128Codewords("12\xB6" "34", false)); // FNC1 character only in EAN 128
    // The EAN 128 FNC1 character.
    EXPECT_EQ(Data("10AB\xB6" "21", true), (std::vector<int>{102, 17, 16, 33, 34, 102, 18, 17}));
    // 201 codewords at most.
    EXPECT_TRUE(Code128Codewords(std::string(198, 'A'), false));
    EXPECT_FALSE(Code128Codewords(std::string(199, 'A'), false));
    EXPECT_TRUE(Code128Codewords(std::string(396, '7'), false));
    EXPECT_FALSE(Code128Codewords(std::string(398, '7'), false));
}

TEST(Code128, PatternTable)
{
    std::set<std::vector<uint8_t>> seen;
    for (int v = 0; v <= kCode128Stop; ++v) {
        const std::vector<uint8_t> p = Code128Pattern(v);
        ASSERT_EQ(p.size(), v == kCode128Stop ? 7u : 6u);
        EXPECT_EQ(std::accumulate(p.begin(), p.end(), 0), v == kCode128Stop ? 13 : 11) << v;
        EXPECT_TRUE(seen.insert(p).second) << v;
    }
    EXPECT_TRUE(Code128Pattern(255).empty());
    EXPECT_TRUE(Code128Pattern(-1).empty());
}

TEST(Code39, CheckCharacterAndReplacement)
{
    EXPECT_EQ(Code39CheckChar("123"), '6');
    EXPECT_EQ(Code39Value('%'), 42);
    EXPECT_EQ(Code39Value('a'), -1);
    // An invalid character counts as the space it is drawn as.
    EXPECT_EQ(Code39CheckChar("a1"), Code39CheckChar(" 1"));
    EXPECT_EQ(Code39CheckChar("a1"), '$');
    EXPECT_EQ(Code39Symbols("ab\xE9Z", true), "*   Z" + std::string(1, Code39CheckChar("   Z")) + "*");
    // The text is cut at 200 characters, check character included.
    const std::string longText(300, 'A');
    EXPECT_EQ(Code39Symbols(longText, true).size(), 203u);
    EXPECT_EQ(Code39Symbols(longText, true)[201], Code39CheckChar(longText.substr(0, 200)));
}

TEST(Itf, DigitsAndCheckDigit)
{
    EXPECT_EQ(ItfDigits("123", false), "0123");
    EXPECT_EQ(ItfDigits("1234567", true), "12345670");
    EXPECT_EQ(ItfDigits("12A4", false), "1204");
    EXPECT_EQ(Mod10CheckDigit("400638133393"), 1);
    EXPECT_EQ(ItfDigits(std::string(300, '5'), false).size(), 200u);
}

TEST(Itf, CheckDigitIsADigitForEveryInput)
{
    // Weighted sums that are multiples of 10 must give 0, not 10, or the
    // digit would index past the pattern table. Every text of up to two
    // bytes (any byte value) and every digit string of three.
    auto expected = [](const std::string& d) {
        int sum = 0;
        for (size_t i = 0; i < d.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(d[d.size() - 1 - i]);
            sum += (c >= '0' && c <= '9' ? c - '0' : 0) * (i % 2 == 0 ? 3 : 1);
        }
        return sum % 10 == 0 ? 0 : 10 - sum % 10;
    };
    std::vector<std::string> texts = {"", "0", "00000000000000000000"};
    for (int a = 0; a < 256; ++a) {
        texts.emplace_back(1, char(a));
        for (int b = 0; b < 256; ++b)
            texts.push_back(std::string{char(a), char(b)});
    }
    for (int v = 0; v < 1000; ++v)
        texts.push_back(std::to_string(v + 1000).substr(1));
    for (const std::string& t : texts) {
        const int check = Mod10CheckDigit(t);
        ASSERT_GE(check, 0);
        ASSERT_LE(check, 9);
        ASSERT_EQ(check, expected(t));
        const std::string digits = ItfDigits(t, true);
        for (char c : digits)
            ASSERT_TRUE(c >= '0' && c <= '9');
    }
    // Drawn with the check digit on, at both ends of the sum's range.
    for (const char* t : {"0", "5", "19", "\xFF"}) {
        CBarcodeCode2of5Int itf;
        itf.SetCheckDigit(true);
        LinearLayout layout = *itf.Layout(t, 254, 254);
        EXPECT_FALSE(layout.bars.empty()) << t;
    }
}

TEST(Ean, DigitsParityAndHeights)
{
    EXPECT_EQ(EanDigits("123", 13), "0000000001236");
    EXPECT_EQ(EanDigits("40063813339399", 13), "4006381333931");
    EXPECT_EQ(EanDigits("9638507", 8), "96385074");
    EXPECT_EQ(EanDigits("x1", 8), "00000017");
    // UPC-A: 11 digits gain their check digit; a supplied twelfth digit is
    // the check digit and is computed afresh, not shifted into the number.
    EXPECT_EQ(UpcaDigits("03600029145"), "0036000291452");
    EXPECT_EQ(UpcaDigits("036000291452"), "0036000291452");
    EXPECT_EQ(UpcaDigits("036000291459"), "0036000291452");
    EXPECT_EQ(UpcaDigits("123"), EanDigits("123", 13));
    EXPECT_EQ(UpcaDigits(""), "0000000000000");
    for (int p = 1; p <= 6; ++p)
        EXPECT_EQ(EanParity(p, 0), 0);
    EXPECT_EQ(EanParity(3, 1), 1);
    EXPECT_EQ(EanPattern(0, 0), 0x0D);
    EXPECT_EQ(EanPattern(0, 2), 0x72);
    EXPECT_EQ(EanPattern(0, 1), 0x27);

    CBarcodeEAN13 ean;
    EXPECT_EQ(ean.GetModule(), 330);
    EXPECT_EQ(ean.GetBarHeight(), 22850);
    ean.SetTruncation(20);
    EXPECT_EQ(ean.GetNominalBarHeight(), 18288);
    BarcodeHost host;
    host.font.lfHeight = -72;
    EXPECT_EQ(ean.GetHeight(host, "123", 300), 18288 + 25400);
}

TEST(Widths, FollowWhatIsDrawn)
{
    // The last bar's end plus the space after it that the formula counts.
    auto end = [](const LinearLayout& l) {
        int64_t e = 0;
        for (const BarRun& b : l.bars)
            e = std::max(e, b.offset + b.width);
        return e;
    };
    for (int g = -1; g <= 2; ++g) {
        for (bool quiet : {false, true}) {
            LayoutMetrics m{3, 8, g, quiet};
            const int64_t q = quiet ? 10 * m.n : 0;
            const LinearLayout c39 = LayoutCode39("AB1", true, m);
            EXPECT_EQ(c39.width, end(c39) + q);
            const LinearLayout itf = LayoutItf("12345", false, m);
            EXPECT_EQ(itf.width, end(itf) + q);
            const LinearLayout c128 = LayoutCode128(*Code128Codewords("Hi 2024", false), m);
            EXPECT_EQ(c128.width, end(c128) + q) << "stop character counted";
            const LinearLayout ean8 = LayoutEan(EanKind::EAN8, "1234567", m);
            EXPECT_EQ(ean8.width, end(ean8) + 11 * m.n) << "EAN 8 draws 21 gaps";
            const LinearLayout ean13 = LayoutEan(EanKind::EAN13, "1234567", m);
            EXPECT_EQ(ean13.width, end(ean13) + (quiet ? 7 * m.n : 0));
            const LinearLayout upca = LayoutEan(EanKind::UPCA, "1234567", m);
            EXPECT_EQ(upca.width, end(upca) + 11 * m.n);
        }
    }
}

TEST(Widths, MicrometresPerSymbology)
{
    // Code 128 "1234": start, 12, 34, check, stop; n = 3 px at 254 dpi, g = 1.
    CBarcodeCode128 c128;
    EXPECT_EQ(c128.GetWidth("1234", 254), int32_t(((3 + 33) * 5 + 6 + 60) * 100));
    // Code 39 truncates, Code 128 and EAN round to nearest.
    CBarcodeCode39 c39; // 300 um at 300 dpi: n = 4 px, w = MulDiv(4, 25, 10) = 10
    const int n = 4, w = 10, g = 1;
    EXPECT_EQ(c39.GetWidth("A", 300), int32_t(int64_t(3 * (3 * w + 5 * g + 7 * n) - g - n + 20 * n) * 25400 / 300));
    CBarcodeEAN8 ean8; // n = 4 at 300 dpi
    EXPECT_EQ(ean8.GetWidth("1", 300), int32_t(((89 * 4 + 21) * 25400 + 150) / 300));
    CBarcodeUPCA upca;
    EXPECT_EQ(upca.GetWidth("1", 300), int32_t(((117 * 4 + 29) * 25400 + 150) / 300));
    CBarcodeCode2of5Int itf; // "123" -> 0123: two pairs
    EXPECT_EQ(itf.GetWidth("123", 300), int32_t(int64_t(w + 6 * n + 3 * g + 2 * (5 * g + 4 * w + 6 * n) + 20 * n) * 25400 / 300));
    // Resolution 0 or below, an empty or unencodable text: width 0.
    EXPECT_EQ(c128.GetWidth("1234", 0), 0);
    EXPECT_EQ(c39.GetWidth("A", -5), 0);
    EXPECT_EQ(c128.GetWidth("", 300), 0);
    EXPECT_EQ(c128.GetWidth("\xE9", 300), 0);
}
