#pragma once

#include "drawing/PageUnits.h"

#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

namespace tarmela
{

// The printed reports' page, in units of 96 to the inch: A4 upright by default, with the
// reports' margins, row height and base font size.
struct PageModel {
    Paper paper = Paper::A4;
    bool landscape = false;
    QSizeF size{793.92, 1122.24};
    double left = 75;
    double right = 50;
    double top = 75; // also where the first row starts
    double bottom = 25;
    double rowHeight = 20;
    double baseFontSize = 9; // points
    double printableWidth() const { return size.width() - left - right; }
    double lastY() const { return size.height() - bottom; }
    // The same margins on another paper or orientation.
    static PageModel on(Paper paper, bool landscape);
};

// No text of a printed report is drawn smaller than this: below it a page cannot be read
// at arm's length.
constexpr double kSmallestPrintedSize = 6; // points

// Cell style codes: alignment and line breaking as the reports write them, and one code of
// their own for a cell whose text wraps and whose row grows to hold it.
namespace cellstyle
{
constexpr int Left = 0;
constexpr int Centre = 1;
constexpr int Right = 2;
constexpr int WordBreak = 16;
constexpr int SingleLine = 32;
constexpr int Measured = 999; // wraps at word ends, left aligned
} // namespace cellstyle

// Which edges of a cell are ruled; every ruled cell also gets a rule under its row.
enum CellBorder { BorderLeft = 1, BorderTop = 2, BorderRight = 4, BorderAll = 7 };

struct TableCell {
    QString text;
    int style = cellstyle::Left;
    double fontSize = 9; // points
    bool bold = false;
    int borders = BorderAll;
};
using TableRow = std::vector<TableCell>; // from the first column on

// A text as drawn: already broken into lines and fitted to its box, so that drawing needs no
// measuring and every device shows the same lines.
struct PlacedText {
    QRectF box; // the first line's top left and the width it is aligned in
    QStringList lines;
    int align = cellstyle::Left; // Left, Centre or Right
    double fontSize = 9;         // points; may be below the cell's when it had to shrink
    bool bold = false;
    double lineHeight = 12; // distance between the lines' tops
};

// One page of a report: what is written where, and the rules, in page units.
struct ReportPage {
    QSizeF size;
    std::vector<PlacedText> texts;
    std::vector<QLineF> rules;
};

} // namespace tarmela
