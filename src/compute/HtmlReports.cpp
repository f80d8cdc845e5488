#include "compute/HtmlReports.h"

#include "compute/Volumes.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/OutputFile.h"
#include "store/RowReader.h"
#include "store/Schema.h"

#include <QVariant>
#include <algorithm>
#include <cmath>

namespace tarmela {

namespace {

const QString kEmptyCell = QStringLiteral("&nbsp;");

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

void requireTable(Database& db, const QString& table, const QString& sheet, std::int64_t road)
{
    if (!db.tableExists(table))
        throw Error(ErrorKind::TableMissing,
                    QStringLiteral("Road %1 has no %2 (table %3); generate its sheets first")
                        .arg(road)
                        .arg(sheet, table));
    const QVariant missing =
        db.scalar(QStringLiteral("Select COUNT(*) from %1 where Chainage IS NULL").arg(table));
    if (missing.toLongLong() > 0)
        throw Error(ErrorKind::NullValue,
                    QStringLiteral("The %1 of road %2 has %3 row(s) without a chainage; give "
                                   "every row a chainage before writing the report")
                        .arg(sheet)
                        .arg(road)
                        .arg(missing.toLongLong()));
}

// A value of a number column. Older project files may hold text in such a column: a number
// written as text is read as that number, any other text is refused.
double numberIn(const QVariant& value, const QString& column, const QString& sheet)
{
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (!isNumeric(text))
            throw Error(ErrorKind::Data,
                        QStringLiteral("The %1 holds \"%2\" in the column %3, which is not a "
                                       "number")
                            .arg(sheet, text, column));
        return text.trimmed().toDouble();
    }
    return value.toDouble();
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
    QString text = locale.toString(value, 'f', decimals);
    // A small negative value that rounds to nothing is shown as zero, not as "-0.000".
    if (value < 0) {
        const QString zero = locale.toString(0.0, 'f', decimals);
        if (locale.toString(-value, 'f', decimals) == zero)
            return zero;
    }
    return text;
}

// The document goes to the file in parts (OutputFile replaces the target only when complete),
// so a long road's report need not be held in memory twice.
class ReportFile {
public:
    explicit ReportFile(const QString& path) : m_file(path) {}
    // Takes the text (ASCII only: every cell went through htmlText) and empties it.
    void take(QString& html)
    {
        m_buffer += html.toLatin1();
        html.clear();
        if (m_buffer.size() >= (1 << 20)) {
            m_file.put(m_buffer);
            m_buffer.clear();
        }
    }
    void finish(QString& html)
    {
        html += QLatin1Char('\n');
        take(html);
        m_file.put(m_buffer);
        m_file.commit();
    }

private:
    OutputFile m_file;
    QByteArray m_buffer;
};

// The road's Length taken up to the next whole number; an empty Length gives 0.
double roadLength(Database& db, std::int64_t road)
{
    RowReader q(db, QStringLiteral("Select Length from Roads where ID=%1").arg(road));
    if (!q.next())
        throw Error(ErrorKind::Data, QStringLiteral("There is no road with ID %1").arg(road));
    if (q.isNull(0))
        return 0;
    return std::ceil(numberIn(q.value(0), QStringLiteral("Length"), QStringLiteral("road list")));
}

} // namespace

QString htmlText(const QString& text)
{
    const bool plain = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x80 && c != QLatin1Char('<') && c != QLatin1Char('>') &&
               c != QLatin1Char('&') && c != QLatin1Char('"') && c != QLatin1Char('\'');
    });
    if (plain)
        return text;
    QString out;
    out.reserve(text.size());
    const QVector<uint> points = text.toUcs4();
    for (const uint c : points) {
        switch (c) {
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '&': out += QLatin1String("&amp;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\'': out += QLatin1String("&#39;"); break;
        default:
            if (c < 0x80)
                out += QLatin1Char(char(c));
            else
                out += QStringLiteral("&#%1;").arg(c);
        }
    }
    return out;
}

QString fmt3(double value, const QLocale& locale) { return fixed(value, 3, locale); }
QString fmt2(double value, const QLocale& locale) { return fixed(value, 2, locale); }

QString fmt2Grouped(double value, const QLocale& locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::NumberOptions(
                                                          QLocale::OmitGroupSeparator));
    return fixed(value, 2, grouped);
}

ReportCells emptyReportCells()
{
    ReportCells cells;
    cells.fill(kEmptyCell);
    return cells;
}

void FlushReportRow(QString& html, ReportCells& cells)
{
    html += QLatin1String("<tr align='right'>");
    for (QString& cell : cells) {
        html += QLatin1String("<td>");
        html += cell;
        html += QLatin1String("</td>");
        cell = kEmptyCell;
    }
    html += QLatin1String("</tr>");
}

void WriteEarthworkReport(Database& db, std::int64_t road, int viewSections,
                          const QLocale& locale, const QString& path)
{
    checkViewSections(viewSections);
    const QString table = schema::rlTable(road);
    const QString sheet = QStringLiteral("RL sheet");
    const double length = roadLength(db, road);
    requireTable(db, table, sheet, road);

    QString html = QStringLiteral("<html><body><table border='1' cellspacing='0'><caption><b>"
                                  "Earthwork Report</b></caption><tr align='center'>");
    QStringList columns{QStringLiteral("Chainage")};
    html += QLatin1String("<td><b>Chain</b></td>");
    for (int k = viewSections; k >= 1; --k) {
        columns << QStringLiteral("L%1").arg(k);
        html += QStringLiteral("<td><b>L%1</b></td>").arg(k);
    }
    columns << QStringLiteral("C");
    html += QLatin1String("<td><b>C</b></td>");
    for (int k = 1; k <= viewSections; ++k) {
        columns << QStringLiteral("R%1").arg(k);
        html += QStringLiteral("<td><b>R%1</b></td>").arg(k);
    }
    columns << QStringLiteral("FC") << QStringLiteral("[Fill Area]")
            << QStringLiteral("[Cut Area]");
    html += QLatin1String("<td><b>FC</b></td><td><b>Fill Area</b></td><td><b>Cut Area</b></td>"
                          "</tr>");

    RowReader q(db, QStringLiteral("Select %1 from %2 order by Chainage")
                        .arg(columns.join(QStringLiteral(", ")), table));
    ReportFile out(path);
    const int fillColumn = int(columns.size()) - 2;
    const int cutColumn = int(columns.size()) - 1;
    std::vector<SectionAreas> sections;
    while (q.next()) {
        html += QLatin1String("<tr align='right'>");
        SectionAreas areas;
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant value = q.value(c);
            html += QLatin1String("<td>");
            if (value.isNull()) {
                html += kEmptyCell;
            } else if (c == 0) {
                html += htmlText(plainText(value));
                areas.chainage = numberIn(value, columns[c], sheet);
            } else {
                const double number = numberIn(value, columns[c], sheet);
                html += htmlText(fmt3(number, locale));
                if (c == fillColumn)
                    areas.fill = number;
                else if (c == cutColumn)
                    areas.cut = number;
            }
            html += QLatin1String("</td>");
        }
        html += QLatin1String("</tr>");
        sections.push_back(areas);
        out.take(html);
    }

    html += QLatin1String("</tbody></table><table border='1' cellspacing='0'><caption><b>"
                          "Summary</b></caption>"
                          "<tr align='center'><td><b>Km</b></td> <td><b>Filling</b></td> "
                          "<td><b>Cutting</b></td> <td><b>Total</b></td> </tr>");

    const double lastChainage = sections.empty() ? 0 : sections.back().chainage;
    const double furthest = std::max(lastChainage, length);
    if (!std::isfinite(lastChainage) || furthest / 1000 > kMostKilometres)
        throw Error(ErrorKind::Overflow,
                    QStringLiteral("The chainages or the Length of road %1 reach beyond %2 km; "
                                   "the summary cannot list so many kilometres")
                        .arg(road)
                        .arg(kMostKilometres, 0, 'f', 0));
    const VolumeSummary volumes =
        kilometreVolumes(sections, std::int64_t(std::max(length, 0.0)));
    for (const KilometreVolumes& km : volumes.kilometres) {
        html += QStringLiteral("<tr><td align='center'>%1</td>").arg(km.number);
        html += QLatin1String("<td align='right'>") + htmlText(fmt2(km.filling, locale)) +
                QLatin1String("</td>");
        html += QLatin1String("<td align='right'>") + htmlText(fmt2(km.cutting, locale)) +
                QLatin1String("</td>");
        html += QLatin1String("<td align='right'>") +
                htmlText(fmt2(km.filling + km.cutting, locale)) + QLatin1String("</td></tr>");
    }
    html += QLatin1String("<tr><td align='center'><b>ALL</b></td>");
    for (const double total : {volumes.totalFill, volumes.totalCut, volumes.total()})
        html += QLatin1String("<td align='right'><b>") + htmlText(fmt2Grouped(total, locale)) +
                QLatin1String("</b></td>");
    html += QLatin1String("</tr></table></body></html>");
    out.finish(html);
}

void WriteLevelBookReport(Database& db, std::int64_t road, int viewSections,
                          const QLocale& locale, const QString& path)
{
    checkViewSections(viewSections);
    const QString table = schema::lbTable(road);
    const QString sheet = QStringLiteral("level book");
    roadLength(db, road); // the road must exist
    requireTable(db, table, sheet, road);

    QString html = QStringLiteral("<html><body><table border='1' cellspacing='0'><caption><b>"
                                  "Level Book</b></caption><tr align='center'>");
    RowReader q(db, QStringLiteral("Select * from %1 order by Chainage").arg(table));
    ReportFile out(path);
    html += QLatin1String("<td><b>Chainage</b></td><td><b>BS</b></td><td><b>IS</b></td>"
                          "<td><b>FS</b></td><td><b>HI</b></td><td><b>RL</b></td>"
                          "<td><b>Top Width</b></td><td><b>Bottom Width</b></td></tr>");
    ReportCells cells = emptyReportCells();

    auto column = [&](const QString& name) {
        const int i = q.columnIndex(name);
        if (i < 0)
            throw Error(ErrorKind::Data,
                        QStringLiteral("The level book of road %1 has no column %2")
                            .arg(road)
                            .arg(name));
        return i;
    };
    const int chainageAt = column(QStringLiteral("Chainage"));
    const int bsAt = column(QStringLiteral("BS"));
    const int fsAt = column(QStringLiteral("FS"));
    const int cAt = column(QStringLiteral("C"));
    const int topAt = column(QStringLiteral("TopWidth"));
    const int bottomAt = column(QStringLiteral("BottomWidth"));
    std::vector<std::pair<QString, int>> readings;
    for (const QChar side : {QLatin1Char('L'), QLatin1Char('R')})
        for (int i = 1; i <= viewSections; ++i) {
            const QString name = side + QString::number(i);
            readings.emplace_back(name, column(name));
        }

    auto number = [&](int at, const char* name) {
        return numberIn(q.value(at), QString::fromLatin1(name), sheet);
    };

    double hi = kAssumedHI;
    while (q.next()) {
        // The chainage line: sights taken here and the height of instrument they give.
        cells[CellChainage] = htmlText(plainText(q.value(chainageAt)));
        double bs = 0, fs = 0, c = 0;
        if (!q.value(bsAt).isNull()) {
            bs = number(bsAt, "BS");
            cells[CellBS] = htmlText(fmt3(bs, locale));
        }
        if (!q.value(fsAt).isNull()) {
            fs = number(fsAt, "FS");
            cells[CellFS] = htmlText(fmt3(fs, locale));
        }
        cells[CellHI] = htmlText(fmt3(hi + bs - fs, locale));
        if (!q.value(topAt).isNull())
            cells[CellTopWidth] = htmlText(fmt3(number(topAt, "TopWidth"), locale));
        if (!q.value(bottomAt).isNull())
            cells[CellBottomWidth] = htmlText(fmt3(number(bottomAt, "BottomWidth"), locale));
        FlushReportRow(html, cells);

        // The centre line. Without a C reading a change point's level is taken from the
        // fore sight on the height of instrument it closes.
        cells[CellChainage] = QStringLiteral("C");
        if (!q.value(cAt).isNull()) {
            c = number(cAt, "C");
            cells[CellIS] = htmlText(fmt3(c, locale));
        }
        if (c == 0)
            cells[CellRL] = htmlText(fmt3(hi - fs, locale));
        if (bs > 0)
            hi += bs;
        if (fs > 0)
            hi -= fs;
        if (c != 0)
            cells[CellRL] = htmlText(fmt3(hi - c, locale));
        FlushReportRow(html, cells);

        for (const auto& [name, at] : readings) {
            cells[CellChainage] = name;
            if (!q.value(at).isNull()) {
                const double reading = numberIn(q.value(at), name, sheet);
                cells[CellIS] = htmlText(fmt3(reading, locale));
                cells[CellRL] = htmlText(fmt3(hi - reading, locale));
            }
            FlushReportRow(html, cells);
        }
        out.take(html);
    }
    html += QLatin1String("</table></body></html>");
    out.finish(html);
}

} // namespace tarmela
