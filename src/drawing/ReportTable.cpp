#include "drawing/ReportTable.h"

#include <algorithm>
#include <tuple>

namespace tarmela
{

namespace
{

constexpr double kTextTop = 3;        // below the row's top
constexpr double kTextSides = 4;      // on either side: text stays within the cell width less 8
constexpr double kWrapPadding = 6;    // a wrapped cell's height beyond its lines
constexpr double kPageNumberSize = 8; // points
constexpr double kPageNumberGap = 8;  // between the page number and the first row

bool wraps(int style)
{
    return style == cellstyle::Measured || (style & cellstyle::WordBreak) != 0;
}

int alignment(int style)
{
    if (style == cellstyle::Measured)
        return cellstyle::Left;
    if (style & cellstyle::Right)
        return cellstyle::Right;
    return (style & cellstyle::Centre) ? cellstyle::Centre : cellstyle::Left;
}

} // namespace

PageModel PageModel::on(Paper paper, bool landscape)
{
    PageModel page;
    page.paper = paper;
    page.landscape = landscape;
    page.size = paper == Paper::A3 ? QSizeF(1122.24, 1587.84) : QSizeF(793.92, 1122.24);
    if (landscape)
        page.size.transpose();
    return page;
}

ReportDocument::ReportDocument(PageModel page, CharacterWidths widths)
    : m_page(page), m_widths(widths)
{
}

ReportDocument::LaidRow ReportDocument::layRow(const std::vector<double>& columns,
                                               const TableRow& row, double rowHeight,
                                               const std::vector<QString>& widest) const
{
    LaidRow laid;
    laid.height = rowHeight;
    double x = m_page.left;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const double width = m_page.printableWidth() * columns[c] / 100;
        if (c < row.size()) {
            const TableCell& cell = row[c];
            const double room = std::max(width - 2 * kTextSides, 1.0);
            PlacedText t;
            t.align = alignment(cell.style);
            t.bold = cell.bold;
            t.fontSize = cell.fontSize;
            if (wraps(cell.style)) {
                // Shrink only as far as the widest word needs, then break at word ends.
                double widestWord = 0;
                for (const QString& word : cell.text.simplified().split(QLatin1Char(' ')))
                    widestWord =
                        std::max(widestWord, m_widths.textWidth(word, cell.fontSize, cell.bold));
                if (widestWord > room)
                    t.fontSize = std::max(cell.fontSize * room / widestWord, kSmallestPrintedSize);
                t.lines = m_widths.wrap(cell.text, room, t.fontSize, cell.bold);
            } else {
                const QString text =
                    QString(cell.text).replace(QLatin1Char('\n'), QLatin1Char(' '));
                double w = m_widths.textWidth(text, cell.fontSize, cell.bold);
                if (c < widest.size() && !widest[c].isEmpty())
                    w = std::max(w, m_widths.textWidth(widest[c], cell.fontSize, cell.bold));
                if (w > room)
                    t.fontSize = std::max(cell.fontSize * room / w, kSmallestPrintedSize);
                t.lines << text;
            }
            t.lineHeight = m_widths.lineHeight(t.fontSize);
            t.box = QRectF(x + kTextSides, kTextTop, room, t.lineHeight * t.lines.size());
            // A wrapped cell makes its row as high as its lines; a single line in a large size
            // (a title) may not reach below its row either.
            laid.height = std::max(laid.height, wraps(cell.style)
                                                    ? t.lineHeight * t.lines.size() + kWrapPadding
                                                    : t.lineHeight + kTextTop);
            if (!cell.text.isEmpty())
                laid.texts.push_back(t);
            if (cell.borders & BorderLeft)
                laid.rules.emplace_back(x, 0, x, -1); // bottom set below, when the height is known
            if (cell.borders & BorderRight)
                laid.rules.emplace_back(x + width, 0, x + width, -1);
            if (cell.borders & BorderTop)
                laid.rules.emplace_back(x, 0, x + width, 0);
            if (cell.borders)
                laid.rules.emplace_back(x, -1, x + width, -1);
        }
        x += width;
    }
    for (QLineF& rule : laid.rules) {
        if (rule.y1() < 0)
            rule.setP1({rule.x1(), laid.height});
        if (rule.y2() < 0)
            rule.setP2({rule.x2(), laid.height});
    }
    return laid;
}

double ReportDocument::rowHeight(const ReportTable& table, std::int64_t row) const
{
    if (!table.mayWrap(row))
        return table.rowHeight;
    return layRow(table.columnsOf(row), table.row(row), table.rowHeight, table.widest).height;
}

void ReportDocument::place(const LaidRow& row, double y, std::vector<PlacedText>& texts,
                           std::vector<QLineF>& rules)
{
    for (PlacedText t : row.texts) {
        t.box.translate(0, y);
        texts.push_back(std::move(t));
    }
    for (const QLineF& rule : row.rules)
        rules.push_back(rule.translated(0, y));
}

void ReportDocument::addTable(std::unique_ptr<ReportTable> table)
{
    LaidRow header;
    for (const HeaderSection& section : table->header) {
        const LaidRow laid = layRow(section.columns, section.cells, table->rowHeight);
        place(laid, header.height, header.texts, header.rules);
        header.height += laid.height;
    }
    const int index = int(m_tables.size());
    const double first = m_page.top + header.height;
    m_starts.push_back({index, 0});
    double y = first;
    bool rowsOnPage = false;
    for (std::int64_t r = 0; r < table->rowCount(); ++r) {
        const double h = rowHeight(*table, r);
        // A row taller than a whole page still gets a page of its own rather than none.
        if (rowsOnPage && y + h > m_page.lastY()) {
            m_starts.push_back({index, r});
            y = first;
        }
        y += h;
        rowsOnPage = true;
    }
    m_headers.push_back(std::move(header));
    m_tables.push_back(std::move(table));
}

ReportPage ReportDocument::page(std::int64_t index) const
{
    ReportPage page;
    page.size = m_page.size;
    if (index < 0 || index >= pageCount())
        return page;
    const Start start = m_starts[index];
    const bool last = index + 1 == pageCount() || m_starts[index + 1].table != start.table;
    const ReportTable& table = *m_tables[start.table];
    const std::int64_t end = last ? table.rowCount() : m_starts[index + 1].row;

    // "Page n of N" in the top margin, clear of the header block.
    PlacedText number;
    number.fontSize = kPageNumberSize;
    number.lineHeight = m_widths.lineHeight(kPageNumberSize);
    number.align = cellstyle::Right;
    number.box = QRectF(m_page.left, m_page.top - kPageNumberGap - number.lineHeight,
                        m_page.printableWidth(), number.lineHeight);
    number.lines << QStringLiteral("Page %1 of %2").arg(index + 1).arg(pageCount());
    page.texts.push_back(number);

    place(m_headers[start.table], m_page.top, page.texts, page.rules);
    double y = m_page.top + m_headers[start.table].height;
    for (std::int64_t r = start.row; r < end; ++r) {
        const LaidRow laid =
            layRow(table.columnsOf(r), table.row(r), table.rowHeight, table.widest);
        place(laid, y, page.texts, page.rules);
        y += laid.height;
    }

    // Neighbouring cells share an edge and a row's bottom is the next row's top: rule each
    // line once.
    auto key = [](const QLineF& l) { return std::make_tuple(l.x1(), l.y1(), l.x2(), l.y2()); };
    std::sort(page.rules.begin(), page.rules.end(),
              [&](const QLineF& a, const QLineF& b) { return key(a) < key(b); });
    page.rules.erase(std::unique(page.rules.begin(), page.rules.end()), page.rules.end());
    return page;
}

} // namespace tarmela
