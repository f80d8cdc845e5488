#pragma once

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

// The outputs of a road, in the order they are written.
enum class ExportOutput {
    LevelBook,
    EarthworkReport,
    LongSection,
    CrossSections,
    LevelBookPdf,       // the printed Level Book's pages, A4 upright
    EarthworkReportPdf, // the printed Earthwork Report's pages, A4 upright
    LongSectionPdf,     // the pages of the longitudinal section view, A3 on its side
    CrossSectionsPdf,   // the pages of the cross section view, paper and margins of the page setup
};

// Each output's options, as its writer takes them.
struct ExportSettings {
    int viewSections = kReadingsPerSide; // readings a side in the reports
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

struct ExportOutcome {
    ExportOutput output;
    QString path;
    bool ok = false;
    QString message;
};

struct ExportResult {
    QString folder;                      // base folder + the road's folder
    std::vector<ExportOutcome> outcomes; // one per output attempted, in list order
    QStringList warnings;                // e.g. "There are no records to display ..."
    QString note;  // set when "From to To" held another road's outputs and a new folder was used
    QString error; // an error that ended the batch; empty when none
};

// The name of a road's export folder, "From to To", made safe to stand as one folder name
// inside the base folder: separators and characters no file name may hold become "_", and
// a name of dots or blanks alone cannot climb out of the base folder.
QString exportFolderName(const QString& from, const QString& to);

// The file name of an output inside the road's folder ("Level Book.htm", ...) and its label
// as the export list shows it ("Level Book (Html)", ...).
QString exportFileName(ExportOutput output);
QString exportLabel(ExportOutput output);

// Writes the selected outputs of the road into baseFolder/exportFolderName(From, To), in the
// order of ExportOutput whatever the order of selected, creating both folders. That folder is
// marked as the road's; where it already holds another road's outputs (roads "a/b" and "a_b"
// both give "a_b to c"), the road's ID is added to the name: "a_b to c (road 7)". A drawing that
// fails is recorded and the rest still run; a failed report ends the batch there (its outcome
// is recorded and error set). A folder that cannot be created sets error. An export that
// fails into folders it created removes them again (its outcomes then say so). A link in
// place of the road's folder or of an output is refused, never followed, and a folder that
// holds other files but no owner file counts as another's. Every output is read from one
// state of the project (ReadTransaction). Throws Error only when the road does not exist or
// no base folder is given.
ExportResult exportRoad(Database& db, std::int64_t road, const QString& baseFolder,
                        const std::vector<ExportOutput>& selected, const ExportSettings& s);

} // namespace tarmela
