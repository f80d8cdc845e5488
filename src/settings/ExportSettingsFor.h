#pragma once

#include "export/BatchExport.h"
#include "settings/Settings.h"

#include <QDir>
#include <QLocale>

namespace tarmela {

// What an export takes from the user's settings; both programs export through this.
inline ExportSettings exportSettingsFor(const Settings& settings, const QString& programFolder)
{
    ExportSettings s;
    s.viewSections = settings.ViewSections;
    s.sectionsPerPage = settings.SectionsPerPage;
    s.lsectionGrid = settings.LSectionGrid;
    s.fixedDatum = settings.FixedDatum;
    s.fixedDatumValue = settings.FixedDatumValue;
    s.locale = QLocale();
    s.templateFolder = QDir(programFolder).filePath(QStringLiteral("Data"));
    s.widthsFile = QDir(programFolder).filePath(QStringLiteral("Fonts/ARFONT8.fl"));
    s.culvertFolder = QDir(programFolder).filePath(QStringLiteral("Culverts"));
    s.colorLFormation = settings.ColorLFormation;
    s.colorCentre = settings.ColorCentre;
    s.colorLeft = settings.ColorLeft;
    s.colorRight = settings.ColorRight;
    s.colorXFormation = settings.ColorXFormation;
    s.colorExisting = settings.ColorExisting;
    s.pageLeft = settings.PageLeft;
    s.pageRight = settings.PageRight;
    s.pageTop = settings.PageTop;
    s.pageBottom = settings.PageBottom;
    s.pageSize = settings.PageSize;
    return s;
}

} // namespace tarmela
