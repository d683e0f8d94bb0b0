#include "coords/NumberText.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace coords;

TEST(NumberText, GeneralFormBothSeparators)
{
    struct Row
    {
        double v;
        const char* point;
        const char* comma;
    };
    const Row rows[] = {
        {0, "0", "0"},
        {-0.0, "0", "0"},
        {48, "48", "48"},
        {-2.05, "-2.05", "-2,05"},
        {13.25, "13.25", "13,25"},
        {0.5, "0.5", "0,5"},
        {1.0 / 3, "0.333333333333333", "0,333333333333333"},
        {55.810038532372044, "55.810038532372", "55,810038532372"},
        {600000, "600000", "600000"},
        {5412345.5, "5412345.5", "5412345,5"},
        // Never an exponent.
        {5e-13, "0.0000000000005", "0,0000000000005"},
        {-5.115907697472721e-13, "-0.000000000000511590769747272", "-0,000000000000511590769747272"},
        {1e-5, "0.00001", "0,00001"},
        {1e15, "1000000000000000", "1000000000000000"},
        {123456789012345678.0, "123456789012346000", "123456789012346000"},
        // 15 significant digits, the last one rounded.
        {0.1 + 0.2, "0.3", "0,3"},
        {2.675, "2.675", "2,675"},
        {9.9999999999999999, "10", "10"},
        {59.99999999999999, "60", "60"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(generalText(r.v, QLatin1Char('.')), QString::fromUtf8(r.point)) << r.v;
        EXPECT_EQ(generalText(r.v, QLatin1Char(',')), QString::fromUtf8(r.comma)) << r.v;
    }
    EXPECT_EQ(generalText(std::nan(""), QLatin1Char('.')), "");
    EXPECT_EQ(generalText(std::numeric_limits<double>::infinity(), QLatin1Char('.')), "");
}

TEST(NumberText, FixedPatternsRoundHalvesAwayFromZero)
{
    struct Row
    {
        double v;
        int decimals;
        const char* expected;
    };
    const Row rows[] = {
        {54.27459, 4, "54.2746"},
        {-7.58040012, 5, "-7.58040"},
        {0, 5, "0.00000"},
        {48.5, 0, "49"},
        {-48.5, 0, "-49"},
        {47.4999, 0, "47"},
        {0.125, 2, "0.13"},
        {2.675, 2, "2.68"},
        {0.0006, 2, "0.00"},
        {0.006, 2, "0.01"},
        {0.005, 2, "0.01"},
        {0.004, 2, "0.00"},
        {99.99999, 4, "100.0000"},
        {-0.00001, 4, "0.0000"},
        {999999.99999, 4, "1000000.0000"},
        {13.2, 9, "13.200000000"},
        {1e-12, 9, "0.000000000"},
        {23.76, 9, "23.760000000"},
        {0.9, 0, "1"},
        {0.4, 0, "0"},
        {600000, 0, "600000"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(fixedText(r.v, r.decimals, QLatin1Char('.')), QString::fromUtf8(r.expected))
            << r.v << " / " << r.decimals;
        QString comma = QString::fromUtf8(r.expected);
        comma.replace(QLatin1Char('.'), QLatin1Char(','));
        EXPECT_EQ(fixedText(r.v, r.decimals, QLatin1Char(',')), comma) << r.v;
        EXPECT_EQ(roundDecimals(r.v, r.decimals), QString::fromUtf8(r.expected).toDouble()) << r.v;
    }
}

TEST(NumberText, CutAfterDecimals)
{
    struct Row
    {
        double v;
        int decimals;
        double expected;
    };
    const Row rows[] = {
        {0.856666666666667, 8, 0.85666666}, {0.29, 8, 0.29}, // 0.29 is 0.28999999999999998 in binary
        {0.999999999, 8, 0.99999999},       {-1.23456789, 4, -1.2345}, {5.5, 0, 5}, {0.000000001, 8, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(truncateDecimals(r.v, r.decimals), r.expected) << r.v;
}

TEST(NumberText, ReadingNumbers)
{
    struct Row
    {
        const char* text;
        QChar sep;
        NumberReading::State state;
        double value;
    };
    const QChar p = QLatin1Char('.');
    const QChar v = QLatin1Char(',');
    const Row rows[] = {
        {"48", p, NumberReading::Number, 48},
        {" 24.5 ", p, NumberReading::Number, 24.5},
        {"24,5", v, NumberReading::Number, 24.5},
        {"24,5", p, NumberReading::NotANumber, 0},
        {"24.5", v, NumberReading::NotANumber, 0},
        {"-2.05", p, NumberReading::Number, -2.05},
        {"+7", p, NumberReading::Number, 7},
        {".5", p, NumberReading::Number, 0.5},
        {"5.", p, NumberReading::Number, 5},
        {"1E3", p, NumberReading::Number, 1000},
        {"2.5e-2", p, NumberReading::Number, 0.025},
        {"1e", p, NumberReading::NotANumber, 0},
        {"", p, NumberReading::NotANumber, 0},
        {"   ", p, NumberReading::NotANumber, 0},
        {"-", p, NumberReading::NotANumber, 0},
        {".", p, NumberReading::NotANumber, 0},
        {"1.2.3", p, NumberReading::NotANumber, 0},
        {"12a", p, NumberReading::NotANumber, 0},
        {"nan", p, NumberReading::NotANumber, 0},
        {"inf", p, NumberReading::NotANumber, 0},
        {"-Infinity", p, NumberReading::NotANumber, 0},
        {"NaN", v, NumberReading::NotANumber, 0},
        {"1e999", p, NumberReading::OutOfRange, 0},
        {"BAD", p, NumberReading::NotANumber, 0},
        {"4 8", p, NumberReading::NotANumber, 0},
    };
    for (const Row& r : rows) {
        const NumberReading l = readNumber(QString::fromUtf8(r.text), r.sep);
        EXPECT_EQ(l.state, r.state) << r.text;
        if (r.state == NumberReading::Number) {
            EXPECT_EQ(l.value, r.value) << r.text;
        }
    }
    EXPECT_EQ(readNumberAnySeparator(u"600000,5").value, 600000.5);
    EXPECT_EQ(readNumberAnySeparator(u"600000.5").value, 600000.5);
    EXPECT_FALSE(readNumberAnySeparator(u"1,000.5").ok());
}

TEST(NumberText, SeparatorScope)
{
    setDecimalSeparator(QLatin1Char('.'));
    {
        ScopedDecimalSeparator comma(QLatin1Char(','));
        EXPECT_EQ(decimalSeparator(), QLatin1Char(','));
        EXPECT_EQ(generalText(0.5), "0,5");
        EXPECT_EQ(withSeparator(QStringLiteral("1.5,2"), decimalSeparator()), "1,5,2");
    }
    EXPECT_EQ(decimalSeparator(), QLatin1Char('.'));
    EXPECT_EQ(generalText(0.5), "0.5");
}
