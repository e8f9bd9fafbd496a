// Parsing and formatting numbers with an explicit decimal separator.
#include "platform/numberformat.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>

using numfmt::FormatGeneral;
using numfmt::ParseLeadingNumber;

TEST(NumberFormat, LeadingNumberLikeFormattedInput)
{
    size_t used = 0;
    EXPECT_EQ(ParseLeadingNumber("12abc", '.', &used), 12.0);
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(ParseLeadingNumber(" \t-7.25 mm", '.', &used), -7.25);
    EXPECT_EQ(used, 7u);
    EXPECT_EQ(ParseLeadingNumber("+.5", '.'), 0.5);
    EXPECT_EQ(ParseLeadingNumber("5.", '.', &used), 5.0);
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(ParseLeadingNumber("1.e3", '.'), 1000.0);
    // An exponent without digits is left unread.
    EXPECT_EQ(ParseLeadingNumber("5e+x", '.', &used), 5.0);
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(ParseLeadingNumber("1E-2", '.'), 0.01);
    // No number.
    for (const char* s : {"", " ", ".", "-", "+.", "-.e1", "e5", "abc", ",5"})
        EXPECT_FALSE(ParseLeadingNumber(s, '.')) << s;
    // Infinity, NaN and hexadecimal forms are no numbers (only their leading 0).
    EXPECT_FALSE(ParseLeadingNumber("inf", '.'));
    EXPECT_FALSE(ParseLeadingNumber("nan", '.'));
    EXPECT_EQ(ParseLeadingNumber("0x10", '.', &used), 0.0);
    EXPECT_EQ(used, 1u);
    // Out of range.
    EXPECT_EQ(ParseLeadingNumber("1e999", '.'), HUGE_VAL);
    EXPECT_EQ(ParseLeadingNumber("-1e999", '.'), -HUGE_VAL);
    EXPECT_EQ(ParseLeadingNumber("1e-999", '.'), 0.0);
    EXPECT_EQ(ParseLeadingNumber("0.0001e-99999999999999999999", '.'), 0.0);
    EXPECT_EQ(ParseLeadingNumber("123e99999999999999999999", '.'), HUGE_VAL);
    EXPECT_EQ(ParseLeadingNumber(std::string(400, '0') + "1e-300", '.'), 1e-300);
}

TEST(NumberFormat, DecimalSeparatorIsTheOneGiven)
{
    size_t used = 0;
    EXPECT_EQ(ParseLeadingNumber("1,5", ',', &used), 1.5);
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(ParseLeadingNumber(",25", ','), 0.25);
    // With a comma separator a point ends the number.
    EXPECT_EQ(ParseLeadingNumber("1.5", ',', &used), 1.0);
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(ParseLeadingNumber("1,5", '.'), 1.0);
    // A separator that would be ambiguous counts as the point.
    EXPECT_EQ(numfmt::EffectiveSeparator('5'), '.');
    EXPECT_EQ(numfmt::EffectiveSeparator('-'), '.');
    EXPECT_EQ(numfmt::EffectiveSeparator('\0'), '.');
    EXPECT_EQ(ParseLeadingNumber("1.5", 'e'), 1.5);

    EXPECT_EQ(NumberLocaleFrom(QLocale(QLocale::Swedish, QLocale::Sweden)).decimalSeparator, ',');
    EXPECT_EQ(NumberLocaleFrom(QLocale::c()).decimalSeparator, '.');
    const NumberLocale saved = CurrentNumberLocale();
    SetCurrentNumberLocale(NumberLocale{','});
    EXPECT_EQ(CurrentNumberLocale().decimalSeparator, ',');
    SetCurrentNumberLocale(NumberLocale{'7'});
    EXPECT_EQ(CurrentNumberLocale().decimalSeparator, '.');
    SetCurrentNumberLocale(saved);
}

// Random texts read the same as the C library reads them in the C locale
// (the alphabet has no letters that start infinity, NaN or hex forms), and
// with ',' as the separator after swapping ',' and '.'.
TEST(NumberFormat, AgreesWithCLibraryInCLocale)
{
    const std::string savedLocale = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "C"));
    std::mt19937 rng(7);
    const std::string alphabet = " \t+-.,0123456789eEab";
    for (int round = 0; round < 20000; ++round) {
        std::string s;
        const int len = int(rng() % 12);
        for (int i = 0; i < len; ++i)
            s.push_back(alphabet[rng() % alphabet.size()]);
        double expected = 0;
        int n = 0;
        const int converted = std::sscanf(s.c_str(), "%lf%n", &expected, &n);
        size_t used = 0;
        const auto got = ParseLeadingNumber(s, '.', &used);
        ASSERT_EQ(got.has_value(), converted == 1) << '"' << s << '"';
        std::string swapped = s;
        for (char& c : swapped)
            c = c == '.' ? ',' : c == ',' ? '.' : c;
        size_t usedSwapped = 0;
        const auto gotSwapped = ParseLeadingNumber(swapped, ',', &usedSwapped);
        ASSERT_EQ(gotSwapped.has_value(), converted == 1) << '"' << swapped << '"';
        if (converted == 1) {
            EXPECT_EQ(*got, expected) << '"' << s << '"';
            EXPECT_EQ(*gotSwapped, expected) << '"' << swapped << '"';
            // The C library also swallows an 'e' that no exponent follows.
            if (used >= s.size() || (s[used] != 'e' && s[used] != 'E')) {
                EXPECT_EQ(used, size_t(n)) << '"' << s << '"';
                EXPECT_EQ(usedSwapped, size_t(n));
            }
        }
    }
    std::setlocale(LC_NUMERIC, savedLocale.c_str());
}

TEST(NumberFormat, GeneralFormatWithSeparator)
{
    EXPECT_EQ(FormatGeneral(2.5, 6, ','), "2,5");
    EXPECT_EQ(FormatGeneral(2.5, 6, '.'), "2.5");
    EXPECT_EQ(FormatGeneral(1e-7, 6, ','), "1e-07");
    EXPECT_EQ(FormatGeneral(1e8, 6, ','), "1e+08");
    EXPECT_EQ(FormatGeneral(100000, 6, ','), "100000");
    EXPECT_EQ(FormatGeneral(3.14159265, 5, ','), "3,1416");
    EXPECT_EQ(FormatGeneral(-0.5, 0, ','), "-0,5");
    EXPECT_EQ(FormatGeneral(HUGE_VAL, 6, ','), "inf");
    EXPECT_EQ(FormatGeneral(-HUGE_VAL, 6, ','), "-inf");
    EXPECT_EQ(FormatGeneral(std::nan(""), 6, ','), "nan");

    // Same digits as "%.*g" in the C locale, and it reads back.
    std::mt19937_64 rng(3);
    for (int i = 0; i < 2000; ++i) {
        const double v = std::ldexp(double(int64_t(rng() >> 11)) - double(1LL << 52), int(rng() % 80) - 60);
        const int precision = 1 + int(rng() % 17);
        char ref[64];
        std::snprintf(ref, sizeof ref, "%.*g", precision, v);
        EXPECT_EQ(FormatGeneral(v, precision, '.'), ref);
        if (precision == 17) {
            EXPECT_EQ(ParseLeadingNumber(FormatGeneral(v, 17, ','), ','), v);
        }
    }
}

TEST(NumberFormat, WholeNumbersAsScanfReadsThem)
{
    // Against sscanf's %d where it is defined, and the int32 edges.
    for (const char* text : {"12", "  -7x", "+3", "\t\n42 mm", "0", "-0", "2147483647", "-2147483648", "007"}) {
        int expected = 0;
        ASSERT_EQ(std::sscanf(text, "%d", &expected), 1) << text;
        EXPECT_EQ(numfmt::ScanInt(text), expected) << text;
    }
    for (const char* text : {"", " ", "-", "+x", "x12", "2147483648", "-2147483649", "99999999999999999999"})
        EXPECT_FALSE(numfmt::ScanInt(text).has_value()) << text;
}
