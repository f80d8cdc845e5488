#pragma once

#include "drawing/CharacterWidths.h"
#include "drawing/ReportPage.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tarmela
{

// One row of a table's header block, with columns of its own.
struct HeaderSection {
    std::vector<double> columns; // percent of the printable width
    TableRow cells;
};

// One table of a report: its columns in percent of the printable width, its row height, the
// header block printed at the top of each of its pages, and its rows, which it makes on
// request so that a report of a million rows need not hold them.
class ReportTable
{
public:
    virtual ~ReportTable() = default;
    std::vector<double> columns;
    double rowHeight = 20;
    std::vector<HeaderSection> header;
    // Per column, a text as wide as the widest it is expected to hold (may be left out): a
    // single-line cell of that column is drawn no larger than fits that text, so a column of
    // numbers keeps one size down the pages, and smaller only where a text is wider still.
    std::vector<QString> widest;

    virtual std::int64_t rowCount() const = 0;
    virtual TableRow row(std::int64_t index) const = 0;
    // False when the row has no cell that wraps, so it is one row height high without being
    // made; true when it must be made and measured.
    virtual bool mayWrap(std::int64_t) const { return true; }
    // The columns of one row: the table's, unless a row (a note under a table) has its own.
    virtual const std::vector<double>& columnsOf(std::int64_t) const { return columns; }
};

// A report laid out on pages. Each table starts on a new page; a row goes to the next page
// when it would pass the bottom margin, and the table's header block opens every page. The
// page breaks are worked out once, from the rows' heights; each page is then made when asked
// for, as plain data that one painter draws on any device.
//
// Cell text sits 3 units below the row's top, 4 units in from the cell's sides. A cell that
// wraps (a word-break style or the measured style) breaks at word ends and makes its row as
// high as its lines plus 6; a single line taller than the row (a large title) makes it as
// high as the line plus 3. A text too wide for its cell is drawn smaller until it fits, so no
// text reaches into a neighbour, but never below kSmallestPrintedSize: a report whose columns
// would need smaller type is laid out on wider paper instead (see PrintedReports). Every page
// says "Page n of N" at the right of its top margin.
class ReportDocument
{
public:
    ReportDocument(PageModel page, CharacterWidths widths);
    // Adds a table after the others; its pages are counted at once.
    void addTable(std::unique_ptr<ReportTable> table);

    const PageModel& pageModel() const { return m_page; }
    std::int64_t pageCount() const { return std::int64_t(m_starts.size()); }
    ReportPage page(std::int64_t index) const;

private:
    struct Start {
        int table;
        std::int64_t row;
    };
    struct LaidRow {
        std::vector<PlacedText> texts;
        std::vector<QLineF> rules; // from the row's top at 0
        double height = 0;
    };
    LaidRow layRow(const std::vector<double>& columns, const TableRow& row, double rowHeight,
                   const std::vector<QString>& widest = {}) const;
    double rowHeight(const ReportTable& table, std::int64_t row) const;
    static void place(const LaidRow& row, double y, std::vector<PlacedText>& texts,
                      std::vector<QLineF>& rules);

    PageModel m_page;
    CharacterWidths m_widths;
    std::vector<std::unique_ptr<ReportTable>> m_tables;
    std::vector<LaidRow> m_headers; // the header block of each table, laid out once
    std::vector<Start> m_starts;    // the first row of every page
};

} // namespace tarmela
