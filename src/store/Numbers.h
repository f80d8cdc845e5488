#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

namespace tarmela
{

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
// Every conversion of a float to a whole number in the program goes through here.
std::int64_t nearestEven(double value);

// The value taken to the nearest 0.001, as the program writes levels and areas.
double d3(double value);
// The same value as the text that is written into a column: exactly three decimals,
// a point as separator, no grouping ("99.930").
QString d3Text(double value);

// The leading decimal number of a text, read the way a user types it: leading blanks are
// skipped, then an optional sign, digits with at most one point and an optional exponent.
// Anything after the number is ignored; text that does not start with a number gives 0.
// "1.5cm" -> 1.5, "abc" -> 0, "" -> 0, " -2e1x" -> -20.
double leadingNumber(const QString& text);
// Whether the whole text (blanks around it allowed) is a number.
bool isNumeric(const QString& text);

// A number in plain decimal form for SQL text and data files: no exponent, no grouping,
// a point as separator whatever the locale, the shortest digits that read back the same.
// 20 -> "20", 2.5 -> "2.5", -0.001 -> "-0.001".
QString plainDecimal(double value);

// The locale with thousands always grouped, for the totals the program shows ("3,650.00").
QLocale groupedLocale(const QLocale& locale);

} // namespace tarmela
