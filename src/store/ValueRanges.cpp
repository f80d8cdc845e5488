#include "store/ValueRanges.h"

#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Schema.h"

#include <QLocale>
#include <cmath>

namespace tarmela
{

namespace
{

enum class Table { Other, ReducedLevel, LevelBook, CrossDistances, Roads, Culverts };

Table tableKind(const QString& table)
{
    if (schema::isRlTable(table))
        return Table::ReducedLevel;
    if (schema::isLbTable(table))
        return Table::LevelBook;
    if (table.compare(QLatin1String("ChDistance"), Qt::CaseInsensitive) == 0)
        return Table::CrossDistances;
    if (table.compare(QLatin1String("Roads"), Qt::CaseInsensitive) == 0)
        return Table::Roads;
    if (table.compare(QLatin1String("Culverts"), Qt::CaseInsensitive) == 0)
        return Table::Culverts;
    return Table::Other;
}

// L1..L8, C, R1..R8: the readings across a section.
bool isReadingColumn(const QString& c)
{
    if (c.size() == 1)
        return c[0].toUpper() == QLatin1Char('C');
    return c.size() == 2 &&
           (c[0].toUpper() == QLatin1Char('L') || c[0].toUpper() == QLatin1Char('R')) &&
           c[1] >= QLatin1Char('1') && c[1] <= QLatin1Char(char('0' + kReadingsPerSide));
}

bool is(const QString& column, const char* name)
{
    return column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

QString number(double v)
{
    return QLocale::c().toString(v, 'g', 12);
}

} // namespace

const ValueRange* rangeOfColumn(const QString& table, const QString& column)
{
    switch (tableKind(table)) {
    case Table::ReducedLevel:
        if (is(column, "Chainage"))
            return &ranges::kChainage;
        if (isReadingColumn(column) || is(column, "FL2") || is(column, "FL1") || is(column, "FC") ||
            is(column, "FR1") || is(column, "FR2"))
            return &ranges::kLevel;
        if (is(column, "Width") || is(column, "TopWidth") || is(column, "BottomWidth"))
            return &ranges::kWidth;
        if (is(column, "Crust"))
            return &ranges::kCrust;
        if (is(column, "Left Slope") || is(column, "Right Slope"))
            return &ranges::kSlope;
        if (is(column, "Fill Area") || is(column, "Cut Area"))
            return &ranges::kArea;
        return nullptr;
    case Table::LevelBook:
        if (is(column, "Chainage"))
            return &ranges::kChainage;
        if (isReadingColumn(column) || is(column, "BS") || is(column, "FS"))
            return &ranges::kStaffReading;
        if (is(column, "TopWidth") || is(column, "BottomWidth"))
            return &ranges::kWidth;
        return nullptr;
    case Table::CrossDistances:
        return isReadingColumn(column) && !is(column, "C") ? &ranges::kCrossDistance : nullptr;
    case Table::Roads:
        if (is(column, "Length"))
            return &ranges::kLength;
        if (is(column, "Interval"))
            return &ranges::kInterval;
        if (is(column, "Formation Camber") || is(column, "Carriage Camber"))
            return &ranges::kCamber;
        if (is(column, "Cut Factor"))
            return &ranges::kCutFactor;
        return nullptr;
    case Table::Culverts:
        return is(column, "Chainage") ? &ranges::kChainage : nullptr;
    case Table::Other:
        break;
    }
    return nullptr;
}

bool inRange(const ValueRange& range, double value)
{
    return std::isfinite(value) && value >= range.low && value <= range.high;
}

void requireInRange(const ValueRange& range, double value, const QString& what)
{
    if (!inRange(range, value))
        throw Error(
            ErrorKind::Usage,
            QStringLiteral("The %1 can't be %2: %3").arg(what, number(value), rangeRule(range)));
}

QString rangeRule(const ValueRange& range)
{
    const QString unit =
        *range.unit ? QStringLiteral(" ") + QString::fromUtf8(range.unit) : QString();
    return QStringLiteral("%1 lie between %2 and %3%4")
        .arg(QString::fromUtf8(range.what), number(range.low), number(range.high), unit);
}

QString readValue(const QString& text, const ValueRange& range, const QString& field, double& value)
{
    if (!isNumeric(text))
        return QStringLiteral("%1 must be a number, not \"%2\".").arg(field, text.trimmed());
    const double v = text.trimmed().toDouble();
    if (!inRange(range, v))
        return QStringLiteral("%1 can't be %2: %3.").arg(field, text.trimmed(), rangeRule(range));
    value = v;
    return {};
}

} // namespace tarmela
