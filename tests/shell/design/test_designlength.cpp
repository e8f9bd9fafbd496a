// Lengths and percentages as the ribbon boxes of the design canvas read and
// show them.
#include "platform/numberformat.h"
#include "shell/design/designlength.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

using designlength::FormatLength;
using designlength::kMetric;
using designlength::kUS;
using designlength::ParseLength;
using designlength::ParsePercent;

class NumberLocaleScope {
public:
    explicit NumberLocaleScope(const char* name) : m_previous(CurrentNumberLocale())
    {
        SetCurrentNumberLocale(NumberLocaleFrom(QLocale(QString::fromLatin1(name))));
    }
    ~NumberLocaleScope() { SetCurrentNumberLocale(m_previous); }

private:
    NumberLocale m_previous;
};

TEST(DesignLength, UnitsBareNumbersAndRefusals)
{
    NumberLocaleScope en("en_US");
    EXPECT_EQ(ParseLength("12.5", kMetric), 12500);
    EXPECT_EQ(ParseLength("12.5", kUS), 317500);
    EXPECT_EQ(ParseLength("1 in", kMetric), 25400);
    EXPECT_EQ(ParseLength("2 CM", kMetric), 20000);
    EXPECT_EQ(ParseLength("3mm", kUS), 3000);
    EXPECT_EQ(ParseLength("  -1.5 mm trailing", kMetric), -1500);
    EXPECT_EQ(ParseLength("3 ft", kMetric), std::nullopt);
    EXPECT_EQ(ParseLength("5 %", kMetric), std::nullopt);
    EXPECT_EQ(ParseLength("mm", kMetric), std::nullopt);
    EXPECT_EQ(ParseLength("", kMetric), std::nullopt);
    EXPECT_EQ(ParseLength("12", 2), std::nullopt);
    EXPECT_EQ(ParseLength("1e300 mm", kMetric), std::nullopt);
    EXPECT_EQ(ParseLength("3000 mm", kMetric), 3000000);
    EXPECT_EQ(ParseLength("2147483.647 mm", kMetric), INT32_MAX);
    EXPECT_EQ(ParseLength("2147483.648 mm", kMetric), std::nullopt);
    EXPECT_EQ(ParseLength("inf mm", kMetric), std::nullopt);
    EXPECT_EQ(ParseLength("nan", kMetric), std::nullopt);

    EXPECT_EQ(ParsePercent("5 %"), 5);
    EXPECT_EQ(ParsePercent("80%"), 80);
    EXPECT_EQ(ParsePercent("99.6 %"), 100);
    EXPECT_EQ(ParsePercent("5"), std::nullopt);
    EXPECT_EQ(ParsePercent("5 mm"), std::nullopt);
    EXPECT_EQ(ParsePercent("1e12 %"), std::nullopt);
}

// Every length typed with three decimals comes back to the micrometre.
TEST(DesignLength, EveryThreeDecimalMillimetreValueIsExact)
{
    NumberLocaleScope en("en_US");
    EXPECT_EQ(ParseLength("0.251 mm", kMetric), 251);
    int wrong = 0;
    char text[32];
    for (int um = 0; um <= 600000; ++um) {
        std::snprintf(text, sizeof text, "%d.%03d mm", um / 1000, um % 1000);
        if (ParseLength(text, kMetric) != um)
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(DesignLength, LocaleSeparatorInAndOut)
{
    {
        NumberLocaleScope de("de_DE");
        EXPECT_EQ(ParseLength("12,5", kMetric), 12500);
        EXPECT_EQ(FormatLength(12500, kMetric), "12,5 mm");
        EXPECT_EQ(FormatLength(12700, kUS), "0,5 in");
    }
    NumberLocaleScope en("en_US");
    EXPECT_EQ(FormatLength(12500, kMetric), "12.5 mm");
    EXPECT_EQ(FormatLength(1234567, kMetric), "1234.57 mm");
    EXPECT_EQ(FormatLength(10000, kUS), "0.3937 in");
    EXPECT_EQ(FormatLength(-25400, kUS), "-1 in");
}

} // namespace
