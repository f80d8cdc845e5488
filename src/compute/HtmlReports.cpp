#include "compute/HtmlReports.h"

#include "compute/ReportContent.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/OutputFile.h"
#include "store/Roads.h"
#include "store/RowReader.h"

#include <QVariant>
#include <algorithm>
#include <cmath>

namespace tarmela
{

namespace
{

const QString kEmptyCell = QStringLiteral("&nbsp;");

// The document goes to the file in parts (OutputFile replaces the target only when complete),
// so a long road's report need not be held in memory twice.
class ReportFile
{
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

// A number cell: 3 decimals, or an empty cell.
QString cell3(double value, const QLocale& locale)
{
    return isEmptyValue(value) ? kEmptyCell : htmlText(fmt3(value, locale));
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
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        default:
            if (c < 0x80)
                out += QLatin1Char(char(c));
            else
                out += QStringLiteral("&#%1;").arg(c);
        }
    }
    return out;
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

void WriteEarthworkReport(Database& db, std::int64_t road, int viewSections, const QLocale& locale,
                          const QString& path)
{
    const EarthworkContent content(db, road, viewSections, false);
    const VolumeSummary volumes = reportVolumes(content);

    QString html = QStringLiteral("<html><body><table border='1' cellspacing='0'><caption><b>"
                                  "Earthwork Report</b></caption><tr align='center'>");
    html += QLatin1String("<td><b>Chain</b></td>");
    for (int c = 1; c < content.columns().size(); ++c)
        html += QLatin1String("<td><b>") + content.columns()[c] + QLatin1String("</b></td>");
    html += QLatin1String("</tr>");

    ReportFile out(path);
    const int columns = int(content.columns().size());
    for (std::int64_t r = 0; r < content.rowCount(); ++r) {
        html += QLatin1String("<tr align='right'><td>") + htmlText(content.chainageText(r)) +
                QLatin1String("</td>");
        for (int c = 1; c < columns; ++c)
            html +=
                QLatin1String("<td>") + cell3(content.value(r, c), locale) + QLatin1String("</td>");
        html += QLatin1String("</tr>");
        out.take(html);
    }

    html += QLatin1String("</tbody></table><table border='1' cellspacing='0'><caption><b>"
                          "Summary</b></caption>"
                          "<tr align='center'><td><b>Km</b></td> <td><b>Filling</b></td> "
                          "<td><b>Cutting</b></td> <td><b>Total</b></td> </tr>");
    const auto rows = summaryRows(volumes, locale);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool all = i + 1 == rows.size();
        const QString b = all ? QStringLiteral("<b>") : QString();
        const QString eb = all ? QStringLiteral("</b>") : QString();
        html +=
            QLatin1String("<tr><td align='center'>") + b + rows[i][0] + eb + QLatin1String("</td>");
        for (int k = 1; k < 4; ++k)
            html += QLatin1String("<td align='right'>") + b + htmlText(rows[i][k]) + eb +
                    QLatin1String("</td>");
        html += QLatin1String("</tr>");
    }
    html += QLatin1String("</table>");
    for (const LongGap& gap : volumes.gaps)
        html += QLatin1String("<p>") + htmlText(gapLine(gap)) + QLatin1String("</p>");
    html += QLatin1String("</body></html>");
    out.finish(html);
}

void WriteLevelBookReport(Database& db, std::int64_t road, int viewSections, const QLocale& locale,
                          const QString& path)
{
    const LevelBookContent book(db, road, viewSections);

    QString html = QStringLiteral("<html><body><table border='1' cellspacing='0'><caption><b>"
                                  "Level Book</b><br>") +
                   htmlText(benchMarkLine(book, locale)) +
                   QStringLiteral("</caption><tr align='center'>");
    ReportFile out(path);
    html += QLatin1String("<td><b>Chainage</b></td><td><b>BS</b></td><td><b>IS</b></td>"
                          "<td><b>FS</b></td><td><b>HI</b></td><td><b>RL</b></td>"
                          "<td><b>Top Width</b></td><td><b>Bottom Width</b></td></tr>");
    ReportCells cells = emptyReportCells();
    for (std::int64_t s = 0; s < book.sectionCount(); ++s) {
        for (int i = 0; i < book.linesPerSection(); ++i) {
            const LevelBookLine l = book.line(s, i);
            cells[CellChainage] = htmlText(l.label);
            cells[CellBS] = cell3(l.bs, locale);
            cells[CellIS] = cell3(l.is, locale);
            cells[CellFS] = cell3(l.fs, locale);
            cells[CellHI] = cell3(l.hi, locale);
            cells[CellRL] = cell3(l.rl, locale);
            cells[CellTopWidth] = cell3(l.topWidth, locale);
            cells[CellBottomWidth] = cell3(l.bottomWidth, locale);
            FlushReportRow(html, cells);
        }
        out.take(html);
    }
    html += QLatin1String("</table></body></html>");
    out.finish(html);
}

} // namespace tarmela
