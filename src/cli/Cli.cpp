#include "cli/Cli.h"

#include "cli/Args.h"
#include "store/Database.h"
#include "store/Error.h"

#include <QDir>

namespace tarmela::cli
{

namespace
{

std::vector<Command> allCommands()
{
    std::vector<Command> all;
    for (auto family :
         {roadCommands, surveyCommands, earthworkCommands, gradeCommands, exportCommands}) {
        auto cmds = family();
        all.insert(all.end(), cmds.begin(), cmds.end());
    }
    return all;
}

void printUsage(QTextStream& s, const std::vector<Command>& commands)
{
    s << "usage: tarmela-cli [--project FILE] [--set Key=Value ...] COMMAND [ARGS]\n\ncommands:\n";
    for (const Command& c : commands)
        s << "  " << c.usage << "\n";
}

} // namespace

int run(const QStringList& arguments, QTextStream& out, QTextStream& err,
        const QString& programFolder, const SettingsStore& settingsStore)
{
    const std::vector<Command> commands = allCommands();
    std::unique_ptr<Database> db;
    QString output;
    QTextStream buffered(&output);
    try {
        Args args(arguments);
        // Only as the first word: "-h" later on is a value ("new-road --from -h ...").
        const QString first = arguments.value(0);
        if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
            printUsage(out, commands);
            return 0;
        }
        const QString project =
            args.option(QStringLiteral("--project"))
                .value_or(QDir(programFolder).filePath(QStringLiteral("Data/Roads Info.sqlite")));
        Settings settings = settingsStore.load();
        for (const QString& assignment : args.options(QStringLiteral("--set"))) {
            const int eq = assignment.indexOf('=');
            const QString key = assignment.left(eq);
            if (eq < 1 || !Settings::keys().contains(key))
                throw Error(ErrorKind::Usage,
                            QStringLiteral("--set needs Key=Value with a known key, not \"%1\"")
                                .arg(excerpt(assignment)));
            if (!settings.setText(key, assignment.mid(eq + 1)))
                throw Error(ErrorKind::Usage, QStringLiteral("\"%1\" is not a valid value for %2")
                                                  .arg(excerpt(assignment.mid(eq + 1)), key));
        }
        if (!settings.ordersValid())
            throw Error(ErrorKind::Usage, QStringLiteral("LeftOrder and RightOrder must differ"));

        const auto name = args.optionalPositional();
        if (!name) {
            printUsage(err, commands);
            return 1;
        }
        const Command* command = nullptr;
        for (const Command& c : commands)
            if (c.name == *name)
                command = &c;
        if (!command)
            throw Error(ErrorKind::Usage,
                        QStringLiteral("unknown command: %1").arg(excerpt(*name)));

        // Results are printed only when the command succeeds as a whole.
        Context ctx{buffered, settings,
                    [&]() -> Database& {
                        if (!db)
                            db = Database::open(project);
                        return *db;
                    },
                    programFolder, &err};
        const int status = command->run(ctx, args);
        buffered.flush();
        out << output;
        out.flush();
        return status;
    } catch (const Error& e) {
        err << "tarmela-cli: " << oneLine(e.message()) << "\n";
        err.flush();
        return e.kind() == ErrorKind::Usage ? 1 : 2;
    } catch (const std::exception& e) {
        err << "tarmela-cli: " << oneLine(QString::fromLocal8Bit(e.what())) << "\n";
        err.flush();
        return 2;
    }
}

} // namespace tarmela::cli
