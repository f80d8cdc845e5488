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

// The document's start up to its first paragraph: the doctype, a head with the character set
// and a title naming the road, and a heading with the report and the road.
QString documentStart(const QString& report, const QString& road)
{
    const QString name = htmlText(report + QStringLiteral(" - ") + road);
    return QStringLiteral("<!DOCTYPE html>\n<html lang='en'>\n<head>\n<meta charset='utf-8'>\n"
                          "<title>") +
           name +
           QStringLiteral("</title>\n<style>table{border-collapse:collapse;margin-bottom:1em}"
                          "td{border:1px solid;padding:1px 4px}tr.n td{text-align:right}"
                          "tr.h td,td.k,tr.n td.k{text-align:center}</style>\n</head>\n<body>\n"
                          "<h1>") +
           htmlText(report) + QStringLiteral("</h1>\n<p>Road: ") + htmlText(road) +
           QStringLiteral("</p>\n");
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
    html += QLatin1String("<tr class='n'>");
    for (QString& cell : cells) {
        html += QLatin1String("<td>");
        html += cell;
        html += QLatin1String("</td>");
        cell = kEmptyCell;
    }
    html += QLatin1String("</tr>\n");
}

void WriteEarthworkReport(Database& db, std::int64_t road, int viewSections, const QLocale& locale,
                          const QString& path, const QString& method, VolumeFormula formula)
{
    const EarthworkContent content(db, road, viewSections, false);
    const VolumeSummary volumes = reportVolumes(content, formula);
    const std::int64_t length = roads::get(db, road).length;

    const QString title = QStringLiteral("Earthwork Report");
    QString html = documentStart(title, roads::name(db, road));
    html += QLatin1String("<p>Length=") + QString::number(length) + QLatin1String("M.</p>\n<p>");
    if (!method.isEmpty())
        html += QLatin1String("Quantity method: ") + htmlText(method) + QLatin1String(". ");
    html += htmlText(volumeFormulaLine(formula)) + QLatin1String(". ");
    html += QLatin1String("Levels and chainages in m, areas in m&#178;, volumes in m&#179;.</p>\n"
                          "<table><caption><b>Earthwork Report</b></caption>\n<tr class='h'>");
    html += QLatin1String("<td><b>Chain</b></td>");
    for (int c = 1; c < content.columns().size(); ++c)
        html += QLatin1String("<td><b>") + content.columns()[c] + QLatin1String("</b></td>");
    html += QLatin1String("</tr>\n");

    ReportFile out(path);
    const int columns = int(content.columns().size());
    for (std::int64_t r = 0; r < content.rowCount(); ++r) {
        html += QLatin1String("<tr class='n'><td>") + htmlText(content.chainageText(r)) +
                QLatin1String("</td>");
        for (int c = 1; c < columns; ++c)
            html +=
                QLatin1String("<td>") + cell3(content.value(r, c), locale) + QLatin1String("</td>");
        html += QLatin1String("</tr>\n");
        out.take(html);
    }

    html +=
        QLatin1String("</table>\n<table><caption><b>Summary (volumes in m&#179;)</b></caption>\n"
                      "<tr class='h'><td><b>Km</b></td><td><b>Chainage (m)</b></td>"
                      "<td><b>Filling</b></td><td><b>Cutting</b></td><td><b>Total</b></td>"
                      "</tr>\n");
    const auto rows = summaryRows(volumes, locale);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool all = i + 1 == rows.size();
        const QString b = all ? QStringLiteral("<b>") : QString();
        const QString eb = all ? QStringLiteral("</b>") : QString();
        bool isNumber = false;
        const std::int64_t km = rows[i][0].toLongLong(&isNumber);
        html += QLatin1String("<tr class='n'><td class='k'>") + b + rows[i][0] + eb +
                QLatin1String("</td><td class='k'>") +
                (isNumber ? kilometreRange(km) : kEmptyCell) + QLatin1String("</td>");
        for (int k = 1; k < 4; ++k)
            html += QLatin1String("<td>") + b + htmlText(rows[i][k]) + eb + QLatin1String("</td>");
        html += QLatin1String("</tr>\n");
    }
    html += QLatin1String("</table>\n");
    for (const LongGap& gap : volumes.gaps)
        html += QLatin1String("<p>") + htmlText(gapLine(gap)) + QLatin1String("</p>\n");
    html += QLatin1String("</body>\n</html>");
    out.finish(html);
}

void WriteLevelBookReport(Database& db, std::int64_t road, int viewSections, const QLocale& locale,
                          const QString& path)
{
    const LevelBookContent book(db, road, viewSections);

    QString html = documentStart(QStringLiteral("Level Book"), roads::name(db, road));
    html += QLatin1String("<p>Levels, sights and widths in m.</p>\n<table><caption><b>Level "
                          "Book</b><br>") +
            htmlText(benchMarkLine(book, locale)) + QStringLiteral("</caption>\n<tr class='h'>");
    ReportFile out(path);
    html += QLatin1String("<td><b>Chainage</b></td><td><b>BS</b></td><td><b>IS</b></td>"
                          "<td><b>FS</b></td><td><b>HI</b></td><td><b>RL</b></td>"
                          "<td><b>Top Width</b></td><td><b>Bottom Width</b></td></tr>\n");
    ReportCells cells = emptyReportCells();
    for (std::int64_t s = 0; s < book.sectionCount(); ++s) {
        for (int i = 0; i < book.linesPerSection(); ++i) {
            if (!book.lineHolds(s, i))
                continue;
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
    html += QLatin1String("</table>\n");
    for (const QString& line : arithmeticCheckLines(book, locale))
        html += QLatin1String("<p>") + htmlText(line) + QLatin1String("</p>\n");
    html += QLatin1String("</body>\n</html>");
    out.finish(html);
}

} // namespace tarmela
