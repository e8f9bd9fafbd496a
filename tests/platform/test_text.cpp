// Code pages, fonts and text output of the device context.
#include "platform/codepage.h"
#include "platform/dc.h"
#include "platform/font.h"
#include "support/test_support.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <gtest/gtest.h>

using testsupport::inkBox;
using testsupport::whiteImage;
constexpr auto arial = testsupport::arialFont;

TEST(CodePage, Windows1252RoundTripsEveryByte)
{
    const std::string bytes = "caf\xE9 \x80 \x81\x8D\x9F";
    const QString u = codepage::ToUnicode(bytes, 1252);
    EXPECT_EQ(u, QString::fromUtf8("café € \u0081\u008DŸ"));
    EXPECT_EQ(codepage::FromUnicode(u, 1252), bytes);
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    EXPECT_EQ(codepage::FromUnicode(codepage::ToUnicode(all, 1252), 1252), all);
    EXPECT_EQ(codepage::FromUnicode(QString::fromUtf8("Ω"), 1252), "?");
}

TEST(CodePage, SymbolPageRoundTripsEveryByte)
{
    EXPECT_EQ(codepage::ForCharset(SYMBOL_CHARSET), codepage::kSymbol);
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    const QString u = codepage::ToUnicode(all, codepage::kSymbol);
    ASSERT_EQ(u.size(), 256);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(u[b].unicode(), 0xF000 + b) << b;
    EXPECT_EQ(codepage::FromUnicode(u, codepage::kSymbol), all);
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, char(b));
        EXPECT_EQ(codepage::FromUnicode(codepage::ToUnicode(one, codepage::kSymbol), codepage::kSymbol), one) << b;
    }
}

TEST(CodePage, FollowsTheCharacterSet)
{
    EXPECT_EQ(codepage::ForCharset(ANSI_CHARSET), 1252);
    EXPECT_EQ(codepage::ForCharset(DEFAULT_CHARSET), 1252);
    EXPECT_EQ(codepage::ForCharset(204), 1251);
    EXPECT_EQ(codepage::ForCharset(238), 1250);
    EXPECT_EQ(codepage::ToUnicode("\xC4", 1251), QString::fromUtf8("Д"));
    EXPECT_EQ(codepage::ToUnicode("\xB3", 1250), QString::fromUtf8("ł"));
    // Double-byte page, and an invalid sequence does not derail the rest.
    EXPECT_EQ(codepage::ToUnicode("\x93\xfa\x96\x7b", 932), QString::fromUtf8("日本"));
    EXPECT_EQ(codepage::FromUnicode(QString::fromUtf8("日本"), 932), "\x93\xfa\x96\x7b");
    EXPECT_EQ(codepage::ToUnicode("a\x81", 932).left(1), QStringLiteral("a"));
    EXPECT_EQ(codepage::ToUnicode(std::string_view("\x22", 1), codepage::kSymbol), QString(QChar(0xF022)));
}

TEST(CodePage, PagesWithCombiningMarksMapEveryLetter)
{
    // Hebrew letters and Vietnamese base letters may take a following mark;
    // taken one byte at a time they are still the page's own characters.
    EXPECT_EQ(codepage::ToUnicode("\xE0\xE1\xF9", 1255), QString::fromUtf8("אבש"));
    EXPECT_EQ(codepage::ToUnicode("A\xC3\xE0", 1258), QString::fromUtf8("AĂà"));
    EXPECT_EQ(codepage::FromUnicode(QString::fromUtf8("אב"), 1255), "\xE0\xE1");
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    for (int cp : {1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258, 874, 437})
        EXPECT_EQ(codepage::FromUnicode(codepage::ToUnicode(all, cp), cp), all) << cp;
}

TEST(CodePage, EveryDoubleByteCharacterSetConvertsWholeCharacters)
{
    // Each East Asian character set of a font: two bytes make one
    // character, both ways, with plain ASCII around it.
    struct Case {
        uint8_t charset;
        int codePage;
        const char* bytes;
        const char* utf8;
    };
    for (const Case& c : {Case{128, 932, "\x93\xfa\x96\x7b", "日本"}, Case{129, 949, "\xc7\xd1\xb1\xb9", "한국"},
                          Case{130, 1361, "\xd0\x65\x8a\x82", "한국"}, Case{134, 936, "\xd6\xd0\xce\xc4", "中文"},
                          Case{136, 950, "\xa4\xa4\xa4\xe5", "中文"}}) {
        const int cp = codepage::ForCharset(c.charset);
        EXPECT_EQ(cp, c.codePage) << int(c.charset);
        const std::string bytes = std::string("A") + c.bytes + "z";
        const QString text = QStringLiteral("A") + QString::fromUtf8(c.utf8) + QStringLiteral("z");
        EXPECT_EQ(codepage::ToUnicode(bytes, cp), text) << cp;
        EXPECT_EQ(codepage::FromUnicode(text, cp), bytes) << cp;
    }
}

TEST(CodePage, MultiByteReplacesWhatThePageLacksAndKeepsTheRest)
{
    EXPECT_EQ(codepage::FromUnicode(QString::fromUtf8("aébc"), 932), "a?bc");
    EXPECT_EQ(codepage::FromUnicode(QString::fromUtf8("日😀本"), 932), "\x93\xfa?\x96\x7b");
}

TEST(Font, ArialResolvesToLiberationSansWithWindowsHeights)
{
    QImage img = whiteImage(10, 10);
    const QFont f = gdifont::ToQFont(arial(-20), &img);
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(f.pixelSize(), 20);
    const TEXTMETRICA tm = gdifont::Metrics(arial(-20), &img);
    EXPECT_GT(tm.tmHeight, 20);       // the cell is taller than the characters
    EXPECT_LE(tm.tmHeight, 24);
    // A positive height is the cell height.
    const TEXTMETRICA cell = gdifont::Metrics(arial(tm.tmHeight), &img);
    EXPECT_NEAR(cell.tmHeight, tm.tmHeight, 1);

    LOGFONTA bold = arial(-12);
    bold.lfWeight = FW_BOLD;
    bold.lfItalic = 1;
    const QFont bf = gdifont::ToQFont(bold);
    EXPECT_EQ(bf.weight(), QFont::Bold);
    EXPECT_TRUE(bf.italic());
    const LOGFONTA back = gdifont::FromQFont(bf, 96);
    EXPECT_EQ(back.lfHeight, -12);
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    EXPECT_STREQ(back.lfFaceName, "Arial");
}

TEST(TextOut, AlignmentPlacesTheReferencePoint)
{
    for (unsigned align : {TA_LEFT, TA_CENTER, TA_RIGHT}) {
        QImage img = whiteImage(300, 100);
        CDC dc(&img);
        dc.SelectFont(arial(-30));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(align | TA_TOP);
        const SIZE ext = dc.GetTextExtent("HHHH");
        dc.TextOut(150, 20, "HHHH");
        const RECT ink = inkBox(img);
        const int expectLeft = align == TA_LEFT ? 150 : align == TA_CENTER ? 150 - ext.cx / 2 : 150 - ext.cx;
        EXPECT_NEAR(ink.left, expectLeft, 4) << align;
        EXPECT_NEAR(ink.right, expectLeft + ext.cx, 4) << align;
        // Capitals start a little below the top of the cell and end on the baseline.
        TEXTMETRICA tm;
        dc.GetTextMetrics(tm);
        EXPECT_GE(ink.top, 20);
        EXPECT_NEAR(ink.bottom, 20 + tm.tmAscent, 2);
    }
}

TEST(TextOut, EscapementTurnsAboutTheReferencePoint)
{
    QImage img = whiteImage(200, 200);
    CDC dc(&img);
    LOGFONTA lf = arial(-20);
    lf.lfEscapement = 900; // reads upwards
    dc.SelectFont(lf);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(100, 150, "HHHHH");
    const RECT ink = inkBox(img);
    EXPECT_GT(ink.Height(), ink.Width() * 2);
    EXPECT_LE(ink.bottom, 151);
    EXPECT_GE(ink.left, 100);    // the top of the cell faces left, so glyphs lie right of x
    EXPECT_LE(ink.right, 100 + 22);
}

TEST(TextOut, ClippedAndOpaque)
{
    QImage img = whiteImage(200, 60);
    CDC dc(&img);
    dc.SelectFont(arial(-30));
    dc.SetBkMode(TRANSPARENT);
    const RECT clip{0, 0, 40, 60};
    dc.ExtTextOut(10, 10, ETO_CLIPPED, &clip, "WWWWWW");
    EXPECT_LE(inkBox(img).right, 40);

    QImage img2 = whiteImage(100, 60);
    CDC dc2(&img2);
    dc2.SelectFont(arial(-20));
    dc2.SetBkMode(OPAQUE);
    dc2.SetBkColor(RGB(255, 0, 0));
    dc2.TextOut(5, 5, "ab");
    EXPECT_EQ(img2.pixel(6, 6) & 0xFFFFFF, 0xFF0000u); // cell background
}

TEST(DrawText, CentresInTheRectangleAndMeasures)
{
    QImage img = whiteImage(200, 100);
    CDC dc(&img);
    dc.SelectFont(arial(-20));
    dc.SetBkMode(TRANSPARENT);
    RECT r{0, 0, 200, 100};
    dc.DrawText("HH", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT ink = inkBox(img);
    EXPECT_NEAR((ink.left + ink.right) / 2, 100, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 50, 4);

    RECT calc{10, 10, 10, 10};
    const int h = dc.DrawText("one\r\ntwo lines", calc, DT_CALCRECT);
    TEXTMETRICA tm;
    dc.GetTextMetrics(tm);
    EXPECT_EQ(h, 2 * tm.tmHeight);
    EXPECT_EQ(calc.bottom, 10 + 2 * tm.tmHeight);
    EXPECT_EQ(calc.right - calc.left, dc.GetTextExtent("two lines").cx);
}

TEST(DrawText, HugeFontsAndManyLinesStayWithin32Bits)
{
    QImage img = whiteImage(50, 50);
    CDC dc(&img);
    dc.SelectFont(arial(-16384));
    dc.SetBkMode(TRANSPARENT);
    const std::string lines(150000, '\n');
    RECT calc{0, 0, 0, 0};
    const int h = dc.DrawText(lines, calc, DT_CALCRECT);
    EXPECT_EQ(h, INT32_MAX);
    EXPECT_EQ(calc.bottom, INT32_MAX);
    RECT low{0, INT32_MIN, 50, INT32_MIN + 10};
    dc.DrawText("x", low, DT_SINGLELINE | DT_BOTTOM);
    RECT box{0, 0, 50, 50};
    dc.DrawText(lines, box, DT_LEFT);
}

TEST(Font, HugeHeightsKeepPositiveMetrics)
{
    // The engine's fixed-point metrics overflow past some 20000 pixels: the
    // character height stops before that, and the cell never turns negative.
    const TEXTMETRICA limit = gdifont::Metrics(arial(-16384));
    EXPECT_GT(limit.tmHeight, 16384);
    for (int32_t h : {-20000, -40000, -100000, INT32_MIN, 40000, INT32_MAX}) {
        const TEXTMETRICA tm = gdifont::Metrics(arial(h));
        EXPECT_GT(tm.tmHeight, 0) << h;
        EXPECT_LE(tm.tmHeight, limit.tmHeight) << h;
        EXPECT_GE(tm.tmHeight, 16000) << h;
    }
}

TEST(GdiFont, HeightZeroIsTheApplicationsDefaultSize)
{
    LOGFONTA lf{};
    EXPECT_EQ(gdifont::ToQFont(lf).pixelSize(), QFontInfo(QGuiApplication::font()).pixelSize());
}

TEST(TextOut, RightToLeftTextWithAdvancesIsDrawnAsAWhole)
{
    // Hebrew alef, bet, gimel (code page 1255) with the advances a metafile
    // gives: drawn as the line is drawn without them, in its visual order,
    // not character by character in stored order.
    LOGFONTA font = arial(-40);
    font.lfCharSet = HEBREW_CHARSET;
    const std::string text = "\xE0\xE1\xE2";
    auto draw = [&](const int* dx) {
        QImage img = whiteImage(300, 80);
        CDC dc(&img);
        dc.SelectFont(font);
        dc.ExtTextOut(20, 10, 0, nullptr, text, dx);
        return img;
    };
    const QImage plain = draw(nullptr);
    ASSERT_GT(testsupport::countPixels(plain, 0), 0);
    const RECT box = inkBox(plain);
    const int advance = (box.right - box.left) / 3;
    const int dx[] = {advance, advance, advance};
    const QImage spaced = draw(dx);
    const RECT spacedBox = inkBox(spaced);
    EXPECT_EQ(spacedBox.left, box.left);
    EXPECT_EQ(spacedBox.right, box.right);
    EXPECT_EQ(testsupport::countDifferentPixels(plain, spaced), 0);
}
