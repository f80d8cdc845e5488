#pragma once

// The outputs a road can be exported as, one entry each: the batch export (exportRoad), the
// Export Output dialog and the batch tool's export command all take them from here. A new
// output is a new entry in exportOutputs() and nothing else.

#include "compute/Volumes.h"
#include "drawing/CrossSectionLayout.h"
#include "drawing/CrossSectionPainter.h"
#include "drawing/LongSectionPainter.h"
#include "drawing/SectionSources.h"
#include "export/DxfDrawings.h"
#include "store/Schema.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace tarmela
{

class Database;

// What the user has set for the outputs, as their writers take it (settings/ExportSettingsFor.h
// fills it in). What an entry fixes for itself, such as which report it prints, its write
// function holds.
struct ExportSettings {
    int viewSections = kReadingsPerSide; // readings a side in the reports
    QString method;                      // the quantity method the reports name
    VolumeFormula volumeFormula = VolumeFormula::AverageEndArea; // the reports' volumes
    QLocale locale;
    QString widthsFile; // the program folder's Fonts/ARFONT8.fl, for the printed reports
    DxfOptions drawing;
    LongSectionOptions longSection;
    LongSectionStyle longSectionStyle;
    int sectionsPerPage = 6; // the cross-section pages: sections on a page, paper, margins
    Paper paper = Paper::A4;
    PageMargins margins;
    CrossSectionStyle crossSectionStyle;
};

enum class OutputKind {
    HtmlReport, // a report as one HTML page
    PdfPages,   // pages as they print, in a PDF file
    DxfDrawing, // a drawing for CAD programs
};

// Whether an output of this kind that fails ends the batch: a failed report or page file
// does; a drawing that fails leaves the others to run.
bool endsBatchOnFailure(OutputKind kind);

struct ExportOutput {
    const char* id;       // names it to the program: "level-book", "level-book-pdf", ...
    const char* label;    // as the export list and the messages name it: "Level Book (Html)"
    const char* fileName; // inside the road's folder: "Level Book.htm"
    OutputKind kind;
    // The batch tool's option that chooses it; an output of PDF pages is chosen with --pdf
    // besides, so that pages and the HTML or DXF form of the same thing share the option.
    const char* cliFlag;
    bool inExportDialog; // offered by the Export Output dialog
    // Writes the whole output to target, replacing it only once complete, and returns its
    // non-fatal messages (a sheet without rows). Throws Error.
    QStringList (*write)(Database& db, std::int64_t road, const ExportSettings& s,
                         const QString& target);
    // Written by an export that names no output (a form of an output that only its own option
    // asks for is not).
    bool whenNoneNamed = true;
};

// Every output, in the order a batch writes them.
const std::vector<ExportOutput>& exportOutputs();

// The output with this id; nullptr when there is none.
const ExportOutput* findExportOutput(const QString& id);

} // namespace tarmela
