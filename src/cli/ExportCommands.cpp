// export
#include "cli/Args.h"
#include "cli/Cli.h"
#include "export/BatchExport.h"
#include "settings/ExportSettingsFor.h"
#include "store/Database.h"
#include "store/Error.h"

#include <QDir>
#include <QLocale>

namespace tarmela::cli
{

namespace
{

// The options that choose outputs, each once, in the order of exportOutputs().
QStringList outputFlags()
{
    QStringList flags;
    for (const ExportOutput& o : exportOutputs())
        if (!flags.contains(QLatin1String(o.cliFlag)))
            flags << QString::fromLatin1(o.cliFlag);
    return flags;
}

QString usage()
{
    QString text = QStringLiteral("export ID --dir DIR [--pdf]");
    for (const QString& flag : outputFlags())
        text += QStringLiteral(" [") + flag + QStringLiteral("]");
    return text;
}

} // namespace

std::vector<Command> exportCommands()
{
    return {
        {QStringLiteral("export"), usage(),
         [](Context& ctx, Args& args) {
             const auto dir = args.option(QStringLiteral("--dir"));
             // --pdf writes the named outputs as pages: the printed reports and the sections.
             const bool pdf = args.flag(QStringLiteral("--pdf"));
             QStringList named;
             for (const QString& flag : outputFlags())
                 if (args.flag(flag))
                     named << flag;
             if (!dir || dir->trimmed().isEmpty())
                 throw Error(ErrorKind::Usage, QStringLiteral("export needs --dir DIR"));
             // Nothing named: every output (with --pdf, every PDF) but those only asked for by
             // name.
             QStringList selected;
             for (const ExportOutput& o : exportOutputs())
                 if ((o.kind == OutputKind::PdfPages) == pdf &&
                     (named.isEmpty() ? o.whenNoneNamed : named.contains(QLatin1String(o.cliFlag))))
                     selected << QString::fromLatin1(o.id);
             if (selected.isEmpty())
                 throw Error(ErrorKind::Usage,
                             QStringLiteral("%1 names no output %2 --pdf")
                                 .arg(named.join(QLatin1Char(' ')),
                                      pdf ? QStringLiteral("with") : QStringLiteral("without")));
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
                     complain(QString::fromUtf8(o.output->label) + QStringLiteral(": ") +
                              o.message);
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
