#include "export/ExportOutputs.h"

#include "compute/HtmlReports.h"
#include "drawing/MassHaulDiagram.h"
#include "drawing/PagePdf.h"
#include "drawing/PrintedReports.h"
#include "drawing/ReportPdf.h"
#include "export/MassHaulDxf.h"

namespace tarmela
{

namespace
{

template <ReportKind kind>
QStringList writeReportPages(Database& db, std::int64_t road, const ExportSettings& s,
                             const QString& target)
{
    const auto pages = buildReport(kind, db, road, s.viewSections, s.locale,
                                   CharacterWidths::load(s.widthsFile), s.method, s.volumeFormula);
    writeReportPdf(*pages, reportTitle(kind), target);
    return {};
}

} // namespace

bool endsBatchOnFailure(OutputKind kind)
{
    return kind != OutputKind::DxfDrawing;
}

const std::vector<ExportOutput>& exportOutputs()
{
    using K = OutputKind;
    static const std::vector<ExportOutput> outputs{
        {"level-book", "Level Book (Html)", "Level Book.htm", K::HtmlReport, "--level-book", true,
         [](Database& db, std::int64_t road, const ExportSettings& s, const QString& target) {
             WriteLevelBookReport(db, road, s.viewSections, s.locale, target);
             return QStringList();
         }},
        {"earthwork-report", "Earthwork Report (Html)", "Earthwork Report.htm", K::HtmlReport,
         "--earthwork", true,
         [](Database& db, std::int64_t road, const ExportSettings& s, const QString& target) {
             WriteEarthworkReport(db, road, s.viewSections, s.locale, target, s.method,
                                  s.volumeFormula);
             return QStringList();
         }},
        {"lsection", "Longitudinal Section (DXF)", "LSection.dxf", K::DxfDrawing, "--lsection",
         true,
         [](Database& db, std::int64_t road, const ExportSettings& s, const QString& target) {
             return ExportLongSectionDxf(db, road, s.drawing, target);
         }},
        {"xsection", "Cross Section (DXF)", "XSection.dxf", K::DxfDrawing, "--xsection", true,
         [](Database& db, std::int64_t road, const ExportSettings& s, const QString& target) {
             ExportCrossSectionsDxf(db, road, s.drawing, target);
             return QStringList();
         }},
        {"mass-haul", "Mass Haul (DXF)", "MassHaul.dxf", K::DxfDrawing, "--mass-haul", true,
         [](Database& db, std::int64_t road, const ExportSettings& s, const QString& target) {
             return ExportMassHaulDxf(db, road, s.drawing.templateFolder, target);
         }},
        // The cross sections in world units for CAD, only when asked for by name.
        {"xsection-world", "Cross Sections in World Units (DXF)", "XSection World.dxf",
         K::DxfDrawing, "--dxf-world", false,
         [](Database& db, std::int64_t road, const ExportSettings& s, const QString& target) {
             ExportCrossSectionsWorldDxf(db, road, s.drawing, target);
             return QStringList();
         },
         false},
        // The printed reports as they print: A4 upright, or the Earthwork Report on wider paper
        // when its columns need it.
        {"level-book-pdf", "Level Book (PDF)", "Level Book.pdf", K::PdfPages, "--level-book", false,
         writeReportPages<ReportKind::LevelBook>},
        {"earthwork-report-pdf", "Earthwork Report (PDF)", "Earthwork Report.pdf", K::PdfPages,
         "--earthwork", false, writeReportPages<ReportKind::EarthworkReport>},
        // The pages of the longitudinal section view as printed, on the page setup's paper on
        // its side.
        {"lsection-pdf", "Longitudinal Section (PDF)", "LSection.pdf", K::PdfPages, "--lsection",
         false,
         [](Database& db, std::int64_t road, const ExportSettings& s, const QString& target) {
             writeLongSectionPdf(db, road, s.longSection, s.longSectionStyle, s.paper, target);
             return QStringList();
         }},
        // The pages of the cross section view, with the paper and margins of its page setup.
        {"xsection-pdf", "Cross Section (PDF)", "XSection.pdf", K::PdfPages, "--xsection", false,
         [](Database& db, std::int64_t road, const ExportSettings& s, const QString& target) {
             writeCrossSectionPdf(db, road, s.sectionsPerPage, s.paper, s.margins,
                                  s.crossSectionStyle, target);
             return QStringList();
         }},
        // The diagram's sheets, A3 on its side, followed by the table per section.
        {"mass-haul-pdf", "Mass Haul (PDF)", "Mass Haul.pdf", K::PdfPages, "--mass-haul", true,
         [](Database& db, std::int64_t road, const ExportSettings& s, const QString& target) {
             return writeMassHaulPdf(db, road, s.locale, target);
         }},
    };
    return outputs;
}

const ExportOutput* findExportOutput(const QString& id)
{
    for (const ExportOutput& o : exportOutputs())
        if (id == QLatin1String(o.id))
            return &o;
    return nullptr;
}

} // namespace tarmela
