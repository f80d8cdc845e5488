#include "compute/ReportContent.h"

#include "compute/HeightOfInstrument.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/RowReader.h"
#include "store/Schema.h"
#include "store/SheetTable.h"

#include <QVariant>
#include <algorithm>

namespace tarmela
{

namespace
{

// The Level Book works from an assumed height of instrument, not from the bench mark: it
// shows the book's own arithmetic, which the reduction to the RL sheet then repeats.
constexpr double kAssumedHI = 100;

// The summary lists every kilometre up to the last section (or the road's Length). Beyond
// this the figures cannot describe a road, and listing them would only exhaust the machine.
constexpr double kMostKilometres = 100000;

void checkViewSections(int viewSections)
{
    if (viewSections < 0 || viewSections > kReadingsPerSide)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("The number of readings per side must be from 0 to %1, not %2")
                        .arg(kReadingsPerSide)
                        .arg(viewSections));
}

void requireRoad(Database& db, std::int64_t road)
{
    if (!roads::exists(db, road))
        throw Error(ErrorKind::Data, QStringLiteral("There is no road with ID %1").arg(road));
}

void requireTable(Database& db, const QString& table, const QString& sheet, std::int64_t road)
{
    if (!db.tableExists(table))
        throw Error(ErrorKind::TableMissing,
                    QStringLiteral("Road %1 has no %2 (table %3); generate its sheets first")
                        .arg(road)
                        .arg(sheet, table));
    const std::int64_t missing = sheettable::rowsWithoutChainage(db, table);
    if (missing > 0)
        throw Error(ErrorKind::NullValue,
                    QStringLiteral("The %1 of road %2 has %3 row(s) without a chainage; give "
                                   "every row a chainage before writing the report")
                        .arg(sheet)
                        .arg(road)
                        .arg(missing));
}

// A value of a number column, NaN when empty. Older project files may hold text in such a
// column: a number written as text is read as that number, any other text is refused.
double numberIn(const RowReader& row, int at, const QString& column, const QString& sheet)
{
    if (row.isNull(at))
        return kEmptyValue;
    if (row.isText(at)) {
        const QString text = row.text(at);
        if (!isNumeric(text))
            throw Error(ErrorKind::Data,
                        QStringLiteral("The %1 holds \"%2\" in the column %3, which is not a "
                                       "number")
                            .arg(sheet, text, column));
        return text.trimmed().toDouble();
    }
    return row.number(at);
}

// A chainage as it is stored: a number in its plain form, anything else as its text.
QString plainText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
        return plainDecimal(value.toDouble());
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(value.toLongLong());
    default:
        return value.toString();
    }
}

QString fixed(double value, int decimals, const QLocale& locale)
{
    // A small negative value that rounds to nothing is shown as zero, not as "-0.000".
    if (value < 0) {
        const QString zero = locale.toString(0.0, 'f', decimals);
        if (locale.toString(-value, 'f', decimals) == zero)
            return zero;
    }
    return locale.toString(value, 'f', decimals);
}

} // namespace

LevelBookContent::LevelBookContent(Database& db, std::int64_t road, int viewSections)
    : m_viewSections(viewSections), m_stride(FirstReading + 2 * viewSections)
{
    checkViewSections(viewSections);
    const QString table = schema::lbTable(road);
    const QString sheet = QStringLiteral("level book");
    requireRoad(db, road);
    requireTable(db, table, sheet, road);

    RowReader q = sheettable::rows(db, statements::Sheet::LevelBook, road);
    auto column = [&](const QString& name) {
        const int i = q.columnIndex(name);
        if (i < 0)
            throw Error(
                ErrorKind::Data,
                QStringLiteral("The level book of road %1 has no column %2").arg(road).arg(name));
        return i;
    };
    const int chainageAt = column(QStringLiteral("Chainage"));
    const int remarksAt = column(QStringLiteral("Remarks"));
    QStringList names{QStringLiteral("BS"), QStringLiteral("FS"), QStringLiteral("C"),
                      QStringLiteral("TopWidth"), QStringLiteral("BottomWidth")};
    for (const QChar side : {QLatin1Char('L'), QLatin1Char('R')})
        for (int i = 1; i <= viewSections; ++i)
            names << side + QString::number(i);
    std::vector<int> at;
    for (const QString& name : names)
        at.push_back(column(name));

    // Every reading, shown or not, tells whether anything was surveyed at a row.
    std::vector<int> readingsAt;
    for (const QChar side : {QLatin1Char('L'), QLatin1Char('R')})
        for (int i = 1; i <= kReadingsPerSide; ++i)
            readingsAt.push_back(column(side + QString::number(i)));

    const std::optional<double> benchMark = roads::get(db, road).benchmark;
    m_benchMarkAssumed = !benchMark;
    m_benchMark = benchMark.value_or(kAssumedHI);
    double hi = m_benchMark;
    LevelBookChecker checker(m_benchMark);
    std::vector<double> row(m_stride);
    while (q.next()) {
        for (int v = 0; v < int(at.size()); ++v)
            row[v < HiBefore ? v : v + 1] = numberIn(q, at[v], names[v], sheet);
        bool surveyed = !isEmptyValue(row[BS]) || !isEmptyValue(row[FS]) || !isEmptyValue(row[C]);
        for (int i : readingsAt)
            surveyed = surveyed || !q.isNull(i);
        m_surveyed.push_back(surveyed);
        row[HiBefore] = hi;
        hi = instrumentStep(hi, row[BS], row[FS], row[C]).hiAfter;
        checker.add(q.value(chainageAt).toDouble(), row[BS], row[FS], row[C]);
        m_values.insert(m_values.end(), row.begin(), row.end());
        m_chainages.push_back(plainText(q.value(chainageAt)));
        m_remarks.push_back(q.text(remarksAt));
    }
    q.reset();
    const Road details = roads::get(db, road);
    if (details.closingBenchmark) {
        try {
            checker.close(*details.closingBenchmark, details.closingDistributed);
        } catch (const Error&) {
            // The book was changed since it was closed: its last row no longer reads onto the
            // bench mark, and the check shows the arithmetic alone.
        }
    }
    m_check = checker.check();
}

QStringList arithmeticCheckLines(const LevelBookContent& book, const QLocale& locale)
{
    const LevelBookCheck& c = book.check();
    const double fromHI = c.lastHI - c.benchMark;
    const bool checks = fmt3(c.rise(), locale) == fmt3(fromHI, locale);
    QStringList lines{
        QStringLiteral("Arithmetic check: \u03a3BS %1, \u03a3FS %2")
            .arg(fmt3(c.sumBS, locale), fmt3(c.sumFS, locale)),
        QStringLiteral("\u03a3BS \u2212 \u03a3FS = %1; last HI \u2212 bench mark = %2: %3")
            .arg(fmt3(c.rise(), locale), fmt3(fromHI, locale),
                 checks ? QStringLiteral("the arithmetic checks")
                        : QStringLiteral("the arithmetic does not check"))};
    if (c.closingBenchMark)
        lines << closingErrorLine(c) << correctionLine(c);
    return lines;
}

QString benchMarkLine(const LevelBookContent& book, const QLocale& locale)
{
    const QString level = fmt3(book.benchMark(), locale);
    return book.benchMarkAssumed() ? QStringLiteral("Bench mark %1 (assumed)").arg(level)
                                   : QStringLiteral("Bench mark %1").arg(level);
}

LevelBookLine LevelBookContent::line(std::int64_t section, int index) const
{
    LevelBookLine l;
    // The book's arithmetic is the reduction's: the chainage line shows the height the
    // sights give, the lines after it the levels seen from there.
    const InstrumentStep step = instrumentStep(value(section, HiBefore), value(section, BS),
                                               value(section, FS), value(section, C));
    if (index == 0) {
        l.label = m_chainages[section];
        l.bs = value(section, BS);
        l.fs = value(section, FS);
        l.hi = step.hiAfter;
        l.topWidth = value(section, TopWidth);
        l.bottomWidth = value(section, BottomWidth);
        l.remarks = m_remarks[section];
    } else if (index == 1) {
        l.label = QStringLiteral("C");
        l.is = value(section, C);
        if (m_surveyed[section])
            l.rl = step.centre;
    } else {
        const int reading = index - 2;
        const bool left = reading < m_viewSections;
        const int number = (left ? reading : reading - m_viewSections) + 1;
        l.label = QLatin1Char(left ? 'L' : 'R') + QString::number(number);
        l.is = value(section, FirstReading + reading);
        if (!isEmptyValue(l.is))
            l.rl = step.levelOf(l.is);
    }
    return l;
}

bool LevelBookContent::lineHolds(std::int64_t section, int line) const
{
    if (line == 0)
        return true;
    if (line == 1)
        return m_surveyed[section] || !isEmptyValue(value(section, C));
    return !isEmptyValue(value(section, FirstReading + line - 2));
}

EarthworkContent::EarthworkContent(Database& db, std::int64_t road, int viewSections,
                                   bool allFormationLevels)
{
    checkViewSections(viewSections);
    const QString table = schema::rlTable(road);
    const QString sheet = QStringLiteral("RL sheet");
    requireRoad(db, road);
    requireTable(db, table, sheet, road);

    m_columns << QStringLiteral("Chainage");
    for (int k = viewSections; k >= 1; --k)
        m_columns << QStringLiteral("L%1").arg(k);
    m_columns << QStringLiteral("C");
    for (int k = 1; k <= viewSections; ++k)
        m_columns << QStringLiteral("R%1").arg(k);
    if (allFormationLevels)
        m_columns << QStringLiteral("FL2") << QStringLiteral("FL1") << QStringLiteral("FC")
                  << QStringLiteral("FR1") << QStringLiteral("FR2");
    else
        m_columns << QStringLiteral("FC");
    m_columns << QStringLiteral("Fill Area") << QStringLiteral("Cut Area");

    RowReader q = sheettable::rows(db, statements::Sheet::ReducedLevel, road, m_columns);
    const int count = int(m_columns.size());
    while (q.next()) {
        for (int c = 0; c < count; ++c)
            m_values.push_back(numberIn(q, c, m_columns[c], sheet));
        m_chainages.push_back(plainText(q.value(0)));
    }
}

std::vector<SectionAreas> EarthworkContent::sections() const
{
    const int fill = int(m_columns.size()) - 2, cut = fill + 1;
    std::vector<SectionAreas> out;
    out.reserve(m_chainages.size());
    auto or0 = [](double v) { return isEmptyValue(v) ? 0.0 : v; };
    for (std::int64_t r = 0; r < rowCount(); ++r)
        out.push_back({value(r, 0), or0(value(r, fill)), or0(value(r, cut))});
    return out;
}

QString volumeFormulaLine(VolumeFormula formula)
{
    return QStringLiteral("Volumes by ") + QString::fromLatin1(volumeFormulaName(formula));
}

VolumeSummary reportVolumes(const EarthworkContent& content, VolumeFormula formula)
{
    const std::vector<SectionAreas> sections = content.sections();
    const double furthest = sections.empty() ? 0 : sections.back().chainage;
    if (!std::isfinite(furthest) || std::fabs(furthest) / 1000 > kMostKilometres)
        throw Error(ErrorKind::Overflow,
                    QStringLiteral("The chainages of the road reach beyond %1 km; "
                                   "the summary cannot list so many kilometres")
                        .arg(kMostKilometres, 0, 'f', 0));
    return roadVolumes(sections, formula);
}

std::vector<std::array<QString, 4>> summaryRows(const VolumeSummary& volumes, const QLocale& locale)
{
    std::vector<std::array<QString, 4>> rows;
    for (const KilometreVolumes& km : volumes.kilometres)
        rows.push_back({QString::number(km.number), fmt2(km.filling, locale),
                        fmt2(km.cutting, locale), fmt2(km.filling + km.cutting, locale)});
    rows.push_back({QStringLiteral("ALL"), fmt2Grouped(volumes.totalFill, locale),
                    fmt2Grouped(volumes.totalCut, locale), fmt2Grouped(volumes.total(), locale)});
    return rows;
}

QString gapLine(const LongGap& gap)
{
    return QStringLiteral("Gap of %1 m between %2 and %3 counted as %4 m")
        .arg(plainDecimal(gap.to - gap.from), plainDecimal(gap.from), plainDecimal(gap.to),
             plainDecimal(kLongGapCounts));
}

QString kilometreRange(std::int64_t number)
{
    return QStringLiteral("%1 to %2").arg((number - 1) * 1000).arg(number * 1000);
}

QString fmt3(double value, const QLocale& locale)
{
    return fixed(value, 3, locale);
}
QString fmt2(double value, const QLocale& locale)
{
    return fixed(value, 2, locale);
}

QString fmt2Grouped(double value, const QLocale& locale)
{
    return fixed(value, 2, groupedLocale(locale));
}

} // namespace tarmela
