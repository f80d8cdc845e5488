#pragma once

#include "compute/QuantityMethods.h"
#include "export/BatchExport.h"
#include "settings/SectionStyles.h"
#include "settings/Settings.h"

#include <QDir>
#include <QLocale>

namespace tarmela
{

// What an export takes from the user's settings; both programs export through this.
inline ExportSettings exportSettingsFor(const Settings& settings, const QString& programFolder)
{
    ExportSettings s;
    s.viewSections = settings.ViewSections;
    s.locale = QLocale();
    const QuantityMethod* method = findQuantityMethod(settings.QuantityCalcMethod);
    s.method = method ? QString::fromUtf8(method->caption) : QString();
    s.volumeFormula = VolumeFormula(settings.VolumeFormula);
    s.widthsFile = QDir(programFolder).filePath(QStringLiteral("Fonts/ARFONT8.fl"));
    s.drawing.viewSections = settings.ViewSections;
    s.drawing.sectionsPerPage = settings.SectionsPerPage;
    s.drawing.lsectionGrid = settings.LSectionGrid;
    s.drawing.fixedDatum = settings.FixedDatum;
    s.drawing.fixedDatumValue = settings.FixedDatumValue;
    s.drawing.templateFolder = QDir(programFolder).filePath(QStringLiteral("Data"));
    s.longSection = longSectionOptions(settings);
    s.longSectionStyle = longSectionStyle(settings);
    s.longSectionStyle.locale = s.locale;
    s.sectionsPerPage = settings.SectionsPerPage;
    s.paper = crossSectionPaper(settings);
    s.margins = crossSectionMargins(settings);
    s.crossSectionStyle = crossSectionStyle(settings);
    s.crossSectionStyle.locale = s.locale;
    return s;
}

} // namespace tarmela
