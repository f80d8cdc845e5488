#include "store/Numbers.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace tarmela;

TEST(Numbers, NearestEvenTakesHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(nearestEven(2.5), 2);
    EXPECT_EQ(nearestEven(3.5), 4);
    EXPECT_EQ(nearestEven(-0.5), 0);
    EXPECT_EQ(nearestEven(-1.5), -2);
    EXPECT_EQ(nearestEven(95.5), 96);
    EXPECT_EQ(nearestEven(94.5), 94);
    EXPECT_EQ(nearestEven(2.4999), 2);
    EXPECT_EQ(nearestEven(3e9), 3000000000LL); // beyond 32 bits
}

TEST(Numbers, D3WritesThreeDecimalsWithAPoint)
{
    QLocale::setDefault(QLocale(QLocale::German)); // the text must not follow the locale
    EXPECT_EQ(d3Text(99.85125), "99.851");
    EXPECT_EQ(d3Text(99.93), "99.930");
    EXPECT_EQ(d3Text(1234567.0004), "1234567.000");
    EXPECT_EQ(d3Text(-0.0001), "0.000");
    EXPECT_EQ(d3Text(-2.3456), "-2.346");
    EXPECT_DOUBLE_EQ(d3(100 - 0.035 * 2), 99.93);
    QLocale::setDefault(QLocale::c());
}

TEST(Numbers, LeadingNumberReadsWhatAUserTyped)
{
    EXPECT_DOUBLE_EQ(leadingNumber("1.5cm"), 1.5);
    EXPECT_DOUBLE_EQ(leadingNumber("  -2e1x"), -20);
    EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(""), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(leadingNumber("95.5"), 95.5);
    EXPECT_DOUBLE_EQ(leadingNumber("12e"), 12);     // a dangling exponent is not part of it
    EXPECT_DOUBLE_EQ(leadingNumber("1,5"), 1);      // a comma ends the number
    EXPECT_DOUBLE_EQ(leadingNumber("-"), 0);
    EXPECT_TRUE(isNumeric(" 12.5 "));
    EXPECT_FALSE(isNumeric("12.5m"));
    EXPECT_FALSE(isNumeric(""));
}

TEST(Numbers, PlainDecimalHasNoExponentNoGrouping)
{
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(plainDecimal(20), "20");
    EXPECT_EQ(plainDecimal(2.5), "2.5");
    EXPECT_EQ(plainDecimal(-0.001), "-0.001");
    EXPECT_EQ(plainDecimal(1e7), "10000000");
    EXPECT_EQ(plainDecimal(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(plainDecimal(1234567.25), "1234567.25");
    QLocale::setDefault(QLocale::c());
}
