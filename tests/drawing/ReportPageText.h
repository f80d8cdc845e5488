#pragma once

#include "drawing/CharacterWidths.h"
#include "drawing/ReportPage.h"

#include <QString>
#include <map>
#include <vector>

namespace tarmela::test
{

// The widths file the program ships with.
inline CharacterWidths shippedWidths()
{
    return CharacterWidths::load(qEnvironmentVariable("TARMELA_SOURCE_DIR") +
                                 "/data/Fonts/ARFONT8.fl");
}

// A page's texts line by line as a reader sees them: rows by their top, cells left to right,
// a cell's lines joined with "/".
inline std::vector<QStringList> pageRows(const ReportPage& page)
{
    std::map<int, std::map<double, QString>> rows;
    for (const PlacedText& t : page.texts)
        rows[qRound(t.box.top())][t.box.left()] = t.lines.join('/');
    std::vector<QStringList> out;
    for (const auto& [top, cells] : rows) {
        QStringList texts;
        for (const auto& [left, text] : cells)
            texts << text;
        out.push_back(texts);
    }
    return out;
}

} // namespace tarmela::test
