// export
#include "cli/Args.h"
#include "cli/Cli.h"
#include "export/BatchExport.h"
#include "settings/ExportSettingsFor.h"
#include "store/Database.h"
#include "store/Error.h"

#include <QDir>
#include <QLocale>
#include <algorithm>

namespace tarmela::cli
{

std::vector<Command> exportCommands()
{
    return {
        {QStringLiteral("export"),
         QStringLiteral("export ID --dir DIR [--pdf] [--level-book] [--earthwork] [--lsection] "
                        "[--xsection]"),
         [](Context& ctx, Args& args) {
             const auto dir = args.option(QStringLiteral("--dir"));
             std::vector<ExportOutput> selected;
             const std::pair<const char*, ExportOutput> choices[] = {
                 {"--level-book", ExportOutput::LevelBook},
                 {"--earthwork", ExportOutput::EarthworkReport},
                 {"--lsection", ExportOutput::LongSection},
                 {"--xsection", ExportOutput::CrossSections}};
             // --pdf writes the named outputs as pages: the printed reports and the sections.
             const bool pdf = args.flag(QStringLiteral("--pdf"));
             const std::pair<ExportOutput, ExportOutput> pdfOf[] = {
                 {ExportOutput::LevelBook, ExportOutput::LevelBookPdf},
                 {ExportOutput::EarthworkReport, ExportOutput::EarthworkReportPdf},
                 {ExportOutput::LongSection, ExportOutput::LongSectionPdf},
                 {ExportOutput::CrossSections, ExportOutput::CrossSectionsPdf}};
             for (const auto& [name, output] : choices)
                 if (args.flag(QString::fromLatin1(name)))
                     selected.push_back(output);
             if (!dir || dir->trimmed().isEmpty())
                 throw Error(ErrorKind::Usage, QStringLiteral("export needs --dir DIR"));
             // Nothing named: every output (with --pdf, every PDF).
             if (selected.empty())
                 for (const auto& choice : choices)
                     selected.push_back(choice.second);
             if (pdf) {
                 std::vector<ExportOutput> pages;
                 for (const auto& [output, pageOutput] : pdfOf)
                     if (std::find(selected.begin(), selected.end(), output) != selected.end())
                         pages.push_back(pageOutput);
                 if (pages.empty())
                     throw Error(
                         ErrorKind::Usage,
                         QStringLiteral("--pdf writes the printed reports and the sections: "
                                        "name one of them"));
                 selected = pages;
             }
             Database& db = ctx.database();
             const std::int64_t road = requireRoad(db, args);
             args.finish();

             const ExportSettings s = exportSettingsFor(ctx.settings, ctx.programFolder);

             const ExportResult result = exportRoad(db, road, *dir, selected, s);
             auto complain = [&](const QString& text) {
                 if (ctx.err) {
                     *ctx.err << "tarmela-cli: " << text << "\n";
                     ctx.err->flush();
                 }
             };
             if (!result.note.isEmpty())
                 complain(QStringLiteral("note: ") + result.note);
             bool failed = false;
             for (const ExportOutcome& o : result.outcomes) {
                 if (o.ok) {
                     ctx.out << QDir::toNativeSeparators(o.path) << "\n";
                 } else {
                     failed = true;
                     complain(exportLabel(o.output) + QStringLiteral(": ") + o.message);
                 }
             }
             if (result.outcomes.empty() && !result.error.isEmpty()) {
                 failed = true;
                 complain(result.error);
             }
             for (const QString& w : result.warnings)
                 complain(QStringLiteral("warning: ") + w);
             return failed ? 2 : 0;
         }},
    };
}

} // namespace tarmela::cli
