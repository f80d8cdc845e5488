#include "export/BatchExport.h"

#include "compute/HtmlReports.h"
#include "export/DxfDrawings.h"
#include "store/Error.h"
#include "store/Roads.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tarmela {

namespace {

// Characters that cannot stand in a file name on one of the systems the program runs on,
// the folder separators among them.
bool unfitForName(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f ||
           QStringLiteral("<>:\"/\\|?*").contains(c);
}

bool makeFolder(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists()) {
        error = QStringLiteral("Cannot create the folder %1: a file of that name is in the way")
                    .arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (!QDir().mkpath(path)) {
        error = QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

} // namespace

QString exportFolderName(const QString& from, const QString& to)
{
    QString name = from + QStringLiteral(" to ") + to;
    for (QChar& c : name)
        if (unfitForName(c))
            c = QLatin1Char('_');
    // Windows drops blanks and dots at the end of a name; leading blanks only confuse.
    name = name.trimmed();
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("_");
    return name;
}

QString exportFileName(ExportOutput output)
{
    switch (output) {
    case ExportOutput::LevelBook: return QStringLiteral("Level Book.htm");
    case ExportOutput::EarthworkReport: return QStringLiteral("Earthwork Report.htm");
    case ExportOutput::LongSection: return QStringLiteral("LSection.dxf");
    case ExportOutput::CrossSections: return QStringLiteral("XSection.dxf");
    }
    return {};
}

QString exportLabel(ExportOutput output)
{
    switch (output) {
    case ExportOutput::LevelBook: return QStringLiteral("Level Book (Html)");
    case ExportOutput::EarthworkReport: return QStringLiteral("Earthwork Report (Html)");
    case ExportOutput::LongSection: return QStringLiteral("Longitudinal Section (DXF)");
    case ExportOutput::CrossSections: return QStringLiteral("Cross Section (DXF)");
    }
    return {};
}

ExportResult exportRoad(Database& db, std::int64_t road, const QString& baseFolder,
                        const std::vector<ExportOutput>& selected, const ExportSettings& s)
{
    if (baseFolder.trimmed().isEmpty())
        throw Error(ErrorKind::Usage, QStringLiteral("Choose the folder to export to"));
    const Road details = roads::get(db, road);

    ExportResult result;
    // cleanPath drops a trailing separator, so the road's folder follows a single one.
    const QString base = QDir::cleanPath(QDir::fromNativeSeparators(baseFolder));
    result.folder = QDir(base).filePath(exportFolderName(details.from, details.to));
    if (!makeFolder(base, result.error) || !makeFolder(result.folder, result.error))
        return result;

    DxfOptions drawing;
    drawing.viewSections = s.viewSections;
    drawing.sectionsPerPage = s.sectionsPerPage;
    drawing.lsectionGrid = s.lsectionGrid;
    drawing.fixedDatum = s.fixedDatum;
    drawing.fixedDatumValue = s.fixedDatumValue;
    drawing.templateFolder = s.templateFolder;

    for (const ExportOutput output :
         {ExportOutput::LevelBook, ExportOutput::EarthworkReport, ExportOutput::LongSection,
          ExportOutput::CrossSections}) {
        if (std::find(selected.begin(), selected.end(), output) == selected.end())
            continue;
        ExportOutcome outcome{output, QDir(result.folder).filePath(exportFileName(output)),
                              false, {}};
        const bool report =
            output == ExportOutput::LevelBook || output == ExportOutput::EarthworkReport;
        try {
            switch (output) {
            case ExportOutput::LevelBook:
                WriteLevelBookReport(db, road, s.viewSections, s.locale, outcome.path);
                break;
            case ExportOutput::EarthworkReport:
                WriteEarthworkReport(db, road, s.viewSections, s.locale, outcome.path);
                break;
            case ExportOutput::LongSection:
                result.warnings << ExportLongSectionDxf(db, road, drawing, outcome.path);
                break;
            case ExportOutput::CrossSections:
                ExportCrossSectionsDxf(db, road, drawing, outcome.path);
                break;
            }
            outcome.ok = true;
        } catch (const Error& e) {
            outcome.message = e.message();
        }
        result.outcomes.push_back(outcome);
        // A drawing that fails leaves the others to run; a report that fails ends the batch.
        if (!outcome.ok && report) {
            result.error = outcome.message;
            break;
        }
    }
    return result;
}

} // namespace tarmela
