#pragma once

#include "compute/ReportContent.h"

#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>

namespace tarmela
{

class Database;

// The reports are complete HTML documents in UTF-8 (every character outside ASCII written as
// a character reference) with a title naming the report and the road, and the road and the
// units at the top of the page.
//
// The road's RL sheet as an HTML table (chainage, the readings shown, FC and the two areas),
// followed by the filling and cutting per kilometre, each with the chainages it covers, by
// the program's volume rule over the stored areas; method, when given, is named above.
// viewSections (0..8) is the number of readings per side shown. Numbers take the digit
// grouping of locale. The file is replaced as a whole or not at all.
// Throws Error: a missing road or RL sheet, a row without a chainage, an unwritable file.
void WriteEarthworkReport(Database& db, std::int64_t road, int viewSections, const QLocale& locale,
                          const QString& path, const QString& method = {},
                          VolumeFormula formula = VolumeFormula::AverageEndArea);

// The road's level book laid out as a surveyor's book: per section a chainage line (BS, FS,
// HI), the centre line and one line per reading shown that holds a value, with reduced levels
// worked from the road's bench mark (an assumed 100 for a road never reduced), named above the
// table. Same file and error behaviour as above.
void WriteLevelBookReport(Database& db, std::int64_t road, int viewSections, const QLocale& locale,
                          const QString& path);

// The cells of one Level Book line: Chainage, BS, IS, FS, HI, RL, Top Width, Bottom Width.
// Each holds HTML that is ready to be written; an empty cell holds "&nbsp;".
using ReportCells = std::array<QString, 8>;
enum ReportCell {
    CellChainage,
    CellBS,
    CellIS,
    CellFS,
    CellHI,
    CellRL,
    CellTopWidth,
    CellBottomWidth
};
ReportCells emptyReportCells();

// Appends the cells to html as one right-aligned table row (class n) and empties them again.
void FlushReportRow(QString& html, ReportCells& cells);

// Text from the database made safe inside an HTML element; characters outside ASCII become
// character references, so the file reads the same whatever encoding a browser assumes.
QString htmlText(const QString& text);

} // namespace tarmela
