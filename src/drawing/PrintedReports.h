#pragma once

#include "compute/Volumes.h"
#include "drawing/ReportTable.h"

#include <QLocale>
#include <cstdint>
#include <memory>

namespace tarmela
{

class Database;

// The two printed reports, by the numbers the report window is opened with.
enum class ReportKind { EarthworkReport = 1, LevelBook = 2 };

QString reportTitle(ReportKind kind); // "Earthwork Report", "Level Book"

// The road's report laid out with the given character widths: on A4 upright, but the
// Earthwork Report on A4 on its side or on A3 on its side when its columns would need type
// smaller than kSmallestPrintedSize. The data are read
// once, here; the pages are made from that reading whenever they are drawn. Throws Error:
// a missing road or sheet, a row without a chainage, text in a number column, a failed read,
// chainages beyond what the kilometre summary can list.
//
// Level Book: the title, the road and the column headings open every page; per section the
// chainage line (with its Remarks in the last column), the centre line and one line per
// reading that holds a value (a line with nothing in it is left out). Earthwork Report: the
// title, the road with its Length, the quantity method (method, when given) and the units,
// and the columns' names open every page; one row per section; then on a page of its own the
// summary by kilometre, each kilometre with the chainages it covers.
std::unique_ptr<ReportDocument> buildReport(ReportKind kind, Database& db, std::int64_t road,
                                            int viewSections, const QLocale& locale,
                                            const CharacterWidths& widths,
                                            const QString& method = {},
                                            VolumeFormula formula = VolumeFormula::AverageEndArea);

} // namespace tarmela
