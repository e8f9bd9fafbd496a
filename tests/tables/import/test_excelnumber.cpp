#include "tables/import/excelnumber.h"

#include "platform/numberformat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

namespace {

std::string printfFixed(double v, int decimals)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string printfGeneral(double v, int precision)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*g", precision, v);
    return buf;
}

std::string fixed(double v, int decimals, char sep = '.')
{
    excel::NumberText buf;
    return std::string(excel::FormatFixedTo(buf, v, decimals, sep));
}

std::string general(double v, int precision, char sep = '.')
{
    excel::NumberText buf;
    return std::string(excel::FormatGeneralTo(buf, v, precision, sep));
}

// Values where rounding is delicate: exact halves, near halves, powers of
// ten and two at the edges of the exact path, subnormals, signed zeros.
std::vector<double> edgeValues()
{
    std::vector<double> v{0.0,     -0.0,    0.5,     1.5,     2.5,     -2.5,    0.125,   0.375,  2.675,
                          1.005,   0.045,   9.995,   9.9996,  99.5,    999.5,   0.00005, 0.0001, 0.00009999995,
                          1e-5,    123456.5, 1e15 + 0.5, 1e15 + 0.125, 4503599627370495.5, 9007199254740993.0,
                          1e17,    1e18,    1e19,    1.8446744073709552e19, 1e20, 1e22, 1e300, 5e-324,
                          2.2250738585072014e-308, std::numeric_limits<double>::max(), 0.1, 0.2, 0.3, 1.0 / 3,
                          2.0 / 3, 7400.0, 0.37 * 19999, 39998.5, 99999999.5, 12345678.9, 0.999999995};
    for (int k = -25; k <= 25; ++k) {
        v.push_back(std::pow(10.0, k));
        v.push_back(std::nextafter(std::pow(10.0, k), 0.0));
        v.push_back(std::nextafter(std::pow(10.0, k), 1e308));
        v.push_back(std::ldexp(1.0, 3 * k));
        v.push_back(5 * std::pow(10.0, k));
    }
    const size_t n = v.size();
    for (size_t i = 0; i < n; ++i)
        v.push_back(-v[i]);
    return v;
}

} // namespace

TEST(ExcelNumber, FixedMatchesPrintf)
{
    for (double v : edgeValues())
        for (int d = 0; d <= 25; ++d) {
            const std::string ref = printfFixed(v, d);
            EXPECT_EQ(fixed(v, d), ref.size() > 80 ? "" : ref) << v << " " << d;
        }

    std::mt19937_64 rng(11);
    for (int i = 0; i < 200000; ++i) {
        const double v = std::ldexp(double(int64_t(rng() >> 11)) - double(1LL << 52), int(rng() % 100) - 75);
        const int d = int(rng() % 24);
        EXPECT_EQ(fixed(v, d), printfFixed(v, d)) << v << " " << d;
    }
    // Money-like values with few decimals, as spreadsheets hold them.
    for (int i = -100000; i <= 100000; i += 7)
        for (int d : {0, 1, 2, 3})
            EXPECT_EQ(fixed(i / 1000.0, d), printfFixed(i / 1000.0, d)) << i << " " << d;
}

TEST(ExcelNumber, FixedSeparatorAndLimits)
{
    EXPECT_EQ(fixed(2.5, 2, ','), "2,50");
    EXPECT_EQ(fixed(-0.001, 2, ','), "-0,00");
    EXPECT_EQ(fixed(3.0, 0, ','), "3");
    EXPECT_EQ(fixed(1.5, 1, '7'), "1.5"); // a digit is no separator
    EXPECT_EQ(fixed(1e300, 2), "");       // more than 80 characters
    EXPECT_EQ(fixed(1.0, 100000), "");
    EXPECT_EQ(fixed(HUGE_VAL, 2), "inf");
    EXPECT_EQ(fixed(-HUGE_VAL, 2), "-inf");
}

TEST(ExcelNumber, GeneralMatchesPrintf)
{
    for (double v : edgeValues())
        for (int p = 0; p <= 20; ++p) {
            EXPECT_EQ(general(v, p), printfGeneral(v, p == 0 ? 1 : p)) << v << " " << p;
            EXPECT_EQ(general(v, p, ','), numfmt::FormatGeneral(v, p, ',')) << v << " " << p;
        }

    std::mt19937_64 rng(12);
    for (int i = 0; i < 200000; ++i) {
        const double v = std::ldexp(double(int64_t(rng() >> 11)) - double(1LL << 52), int(rng() % 100) - 75);
        const int p = 1 + int(rng() % 18);
        EXPECT_EQ(general(v, p), printfGeneral(v, p)) << v << " " << p;
    }
    for (int i = -100000; i <= 100000; i += 7)
        for (int p : {6, 8})
            EXPECT_EQ(general(i / 100.0, p), printfGeneral(i / 100.0, p)) << i << " " << p;

    EXPECT_EQ(general(std::nan(""), 8), "nan");
    EXPECT_EQ(general(-HUGE_VAL, 8), "-inf");
    EXPECT_EQ(general(1.0 / 3, 40), numfmt::FormatGeneral(1.0 / 3, 40, '.'));
}

TEST(ExcelNumber, CellFormats)
{
    excel::NumberText buf;
    EXPECT_EQ(excel::FormatNumberTo(buf, 2.345, "0.00", 8, ','), "2,35");
    EXPECT_EQ(excel::FormatNumberTo(buf, 2.345, "0.0#", 8, '.'), "2.3");
    EXPECT_EQ(excel::FormatNumberTo(buf, 2.345, "0.", 8, '.'), "2.345");
    EXPECT_EQ(excel::FormatNumberTo(buf, 1e300, "0.00", 8, '.'), "1e+300");
    EXPECT_EQ(excel::FormatNumber(1234567.5, "General", 6, '.'), "1.23457e+06");
}

TEST(ExcelNumber, WholeNumbersKeepTheirDigits)
{
    // Below 10^15 every digit, whatever the fallback pattern; from there on
    // and for fractions the pattern as before.
    for (int precision : {6, 8}) {
        EXPECT_EQ(excel::FormatNumber(3710301.0, "General", precision, ','), "3710301");
        EXPECT_EQ(excel::FormatNumber(-3710301.0, "", precision, ','), "-3710301");
        EXPECT_EQ(excel::FormatNumber(123456789012.0, "", precision, '.'), "123456789012");
        EXPECT_EQ(excel::FormatNumber(7391234567890.0, "", precision, '.'), "7391234567890");
        EXPECT_EQ(excel::FormatNumber(999999999999999.0, "", precision, '.'), "999999999999999");
        EXPECT_EQ(excel::FormatNumber(-999999999999999.0, "", precision, '.'), "-999999999999999");
        EXPECT_EQ(excel::FormatNumber(1e15, "", precision, '.'), "1e+15");
        EXPECT_EQ(excel::FormatNumber(-1e15, "", precision, '.'), "-1e+15");
        EXPECT_EQ(excel::FormatNumber(0.0, "", precision, '.'), "0");
        EXPECT_EQ(excel::FormatNumber(-0.0, "", precision, '.'), "-0");
        EXPECT_EQ(excel::FormatNumber(0.5, "", precision, ','), "0,5");
        EXPECT_EQ(excel::FormatNumber(1.25, "", precision, '.'), "1.25");
        EXPECT_EQ(excel::FormatNumber(1e-7, "", precision, '.'), "1e-07");
        EXPECT_EQ(excel::FormatNumber(999999999999999.5, "", precision, '.'), precision == 6 ? "1e+15" : "1e+15");
        EXPECT_EQ(excel::FormatNumber(std::nan(""), "", precision, '.'), "nan");
        EXPECT_EQ(excel::FormatNumber(HUGE_VAL, "", precision, '.'), "inf");
        // A "0.00"-style format keeps its decimals.
        EXPECT_EQ(excel::FormatNumber(3710301.0, "0.00", precision, ','), "3710301,00");
        EXPECT_EQ(excel::FormatNumber(7391234567890.0, "0.000", precision, '.'), "7391234567890.000");
    }
    // Every whole number below the limit reads back as itself.
    std::mt19937_64 rng(13);
    for (int i = 0; i < 100000; ++i) {
        const double v = double(int64_t(rng() % 1999999999999999) - 999999999999999) / double(int64_t(1) << (rng() % 40));
        const std::string text = excel::FormatNumber(std::trunc(v), "", 8, '.');
        EXPECT_EQ(text, printfFixed(std::trunc(v), 0)) << v;
    }
}
