#include "store/Numbers.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace tarmela;

TEST(Numbers, NearestEvenTakesHalvesToTheEvenNeighbourAndTextsIgnoreTheLocale)
{
    const std::pair<double, long long> cases[] = {{2.5, 2},    {3.5, 4},           {-0.5, 0},
                                                  {-1.5, -2},  {95.5, 96},         {94.5, 94},
                                                  {2.4999, 2}, {3e9, 3000000000LL}};
    for (const auto& [v, n] : cases)
        EXPECT_EQ(nearestEven(v), n) << v;

    // Texts for SQL and files ignore the locale.
    QLocale::setDefault(QLocale(QLocale::German));
    const std::pair<double, const char*> thousandths[] = {
        {99.85125, "99.851"}, {99.93, "99.930"},   {1234567.0004, "1234567.000"},
        {-0.0001, "0.000"},   {-2.3456, "-2.346"},
    };
    for (const auto& [v, text] : thousandths)
        EXPECT_EQ(d3Text(v), text) << v;
    EXPECT_DOUBLE_EQ(d3(100 - 0.035 * 2), 99.93);
    // No exponent, no grouping, and the shortest text that reads back as the same value.
    const std::pair<double, const char*> plain[] = {{20, "20"},
                                                    {-0.001, "-0.001"},
                                                    {1e7, "10000000"},
                                                    {0.1 + 0.2, "0.30000000000000004"},
                                                    {1234567.25, "1234567.25"}};
    for (const auto& [v, text] : plain)
        EXPECT_EQ(plainDecimal(v), text) << v;
    QLocale::setDefault(QLocale::c());
}

TEST(Numbers, ThousandthsAreTheNumbersOfTheirTextsAndLeadingNumbersWhatWasTyped)
{
    // Levels, areas and values on either side of a half thousandth, where the product by 1000
    // may round the other way than the exact value.
    std::vector<double> values{0.0005, -0.0005, 1.0005,    2.0015, 99.8505, 1234567.0005,
                               4.35e9, -7.1235, 0.1 + 0.2, 1e-9,   5e15};
    for (int i = 0; i < 20000; ++i) {
        const double v = 90 + i * 0.0012345678;
        values.insert(values.end(), {v, std::nextafter(v, 0.0), std::nextafter(v, 1e9)});
    }
    for (double v : values) {
        EXPECT_EQ(d3(v), d3Text(v).toDouble()) << plainDecimal(v).toStdString();
        EXPECT_FALSE(std::signbit(d3(v)) && d3(v) == 0) << v; // never a minus zero
    }

    // The leading number reads what a user typed.
    const std::pair<const char*, double> cases[] = {
        {"1.5cm", 1.5}, {"  -2e1x", -20}, {"abc", 0},  {"", 0},
        {".5", 0.5},    {"95.5", 95.5},   {"12e", 12}, // a dangling exponent is not part of it
        {"1,5", 1},                                    // a comma ends the number
        {"-", 0}};
    for (const auto& [text, v] : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(text), v) << text;
    EXPECT_TRUE(isNumeric(" 12.5 "));
    EXPECT_FALSE(isNumeric("12.5m"));
    EXPECT_FALSE(isNumeric(""));
}
