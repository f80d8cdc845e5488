#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <array>

namespace tarmela
{

// The report font (Liberation Sans, which has Arial's widths) at a size in points, as the
// report pages measure and draw it: no hinting and no kerning, so a text is as wide as the
// sum of its characters' advances on every device.
QFont reportFont(double points, bool bold = false);

// The widths file Fonts/ARFONT8.fl beside the program: the line height of wrapped text, then
// the advance widths of the characters 32..126, all in page units (96 to the inch) for the
// report font at 8 points. The report pages measure text with it, scaled to the cell's size.
// A character outside the file's range, and bold text, are measured with the font itself.
class CharacterWidths
{
public:
    static constexpr int kFirst = 32;
    static constexpr int kLast = 126;
    static constexpr double kFilePoints = 8;

    // Reads the file. Throws Error(Io) when it is missing or unreadable, Error(Data) when it
    // does not hold a line height and 95 widths.
    static CharacterWidths load(const QString& path);
    // The file in the program's folder.
    static QString pathIn(const QString& programFolder);

    double lineHeight(double points) const { return m_lineHeight * points / kFilePoints; }
    double width(QChar c, double points) const;
    double textWidth(const QString& text, double points, bool bold = false) const;

    // The text broken into lines no wider than `width` where that can be done at word ends:
    // a new line starts where the next word would pass the width, and at a line break in
    // the text. A word wider than the width stands on a line of its own.
    QStringList wrap(const QString& text, double width, double points, bool bold = false) const;

private:
    double m_lineHeight = 0;
    std::array<double, kLast - kFirst + 1> m_widths{};
};

} // namespace tarmela
