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
    return s;
}

} // namespace tarmela
