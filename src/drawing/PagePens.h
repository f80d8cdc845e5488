#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

class QPainter;

namespace tarmela
{

// Pens and text placement shared by the page painters. Widths and lengths are in the page's
// twips. A line of "normal" width is one screen pixel (15 twips) wide on every output; a thin
// line is one device pixel: on screen the two are the same.
enum class LineStyle { Solid, Dashed, Dotted, DashDot };

// The dash patterns keep the look of the screen on paper: a dash of 18 screen pixels and a gap
// of 6, dots of 3, whatever the width of the line.
QPen pagePen(const QColor& colour, double width, LineStyle style = LineStyle::Solid);

// "Arial" at a size in points, bold or not, sized in twips so that it scales with the page.
QFont pageFont(double points, bool bold);

// Text whose cell has its top left at (x, y), as text printed at a current position.
void textAt(QPainter& p, double x, double y, const QString& text);
// Text turned a quarter turn to read upwards, the top left of its unturned cell at (x, y): it
// runs up from y and its glyphs lie to the right of x.
void turnedTextAt(QPainter& p, double x, double y, const QString& text);
// Width of a text in the painter's current font, in twips.
double textWidth(QPainter& p, const QString& text);

} // namespace tarmela
