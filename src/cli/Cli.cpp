#include "cli/Cli.h"

#include "cli/Args.h"
#include "store/Database.h"
#include "store/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace tarmela::cli
{

namespace
{

std::vector<Command> allCommands()
{
    std::vector<Command> all;
    for (auto family : {roadCommands, surveyCommands, earthworkCommands, gradeCommands,
                        massHaulCommands, exportCommands}) {
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

// Results that cannot be printed are lost (the new road's ID, the volumes): the command is
// then reported as failed, naming the reason, rather than as a success.
int printed(QTextStream& out, QTextStream& err, int status)
{
    out.flush();
    if (out.status() == QTextStream::Ok)
        return status;
    const QString why = out.device() ? out.device()->errorString() : QString();
    err << "tarmela-cli: Cannot write standard output"
        << (why.isEmpty() ? QString() : QStringLiteral(": ") + why) << "\n";
    err.flush();
    return 2;
}

// A project file the command line named and that was not there (or was empty) before: a
// command that fails leaves it as it was, so that a mistyped name creates nothing.
class NewProject
{
public:
    explicit NewProject(const QString& path) : m_path(path)
    {
        const QFileInfo info(path);
        m_new = !info.exists() && !info.isSymLink();
        m_empty = info.isFile() && info.size() == 0;
        if (m_new)
            for (QString p = info.absolutePath(); !QFileInfo::exists(p);) {
                m_folders.prepend(p);
                const QString up = QFileInfo(p).path();
                if (up == p)
                    break;
                p = up;
            }
    }
    // Called once the project is closed.
    void undo() const
    {
        if (!m_new && !m_empty)
            return;
        for (const char* suffix : {"-wal", "-shm", "-journal"})
            QFile::remove(m_path + QLatin1String(suffix));
        if (m_empty)
            QFile(m_path).resize(0);
        else
            QFile::remove(m_path);
        for (auto f = m_folders.crbegin(); f != m_folders.crend(); ++f)
            QDir().rmdir(*f);
    }

private:
    QString m_path;
    bool m_new = false;
    bool m_empty = false;
    QStringList m_folders; // outermost first
};

int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
               const QString& programFolder, const SettingsStore& settingsStore,
               std::unique_ptr<Database>& db, std::optional<NewProject>& fresh)
{
    const std::vector<Command> commands = allCommands();
    QString output;
    QTextStream buffered(&output);
    try {
        Args args(arguments);
        // Only as the first word: "-h" later on is a value ("new-road --from -h ...").
        const QString first = arguments.value(0);
        if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
            printUsage(out, commands);
            return printed(out, err, 0);
        }
        const QString project =
            args.option(QStringLiteral("--project"))
                .value_or(QDir(programFolder).filePath(QStringLiteral("Data/Roads Info.sqlite")));
        Settings settings = settingsStore.load();
        QStringList assigned;
        for (const QString& assignment : args.options(QStringLiteral("--set"))) {
            const int eq = assignment.indexOf('=');
            const QString key = assignment.left(eq);
            if (eq < 1 || !Settings::keys().contains(key))
                throw Error(ErrorKind::Usage,
                            QStringLiteral("--set needs Key=Value with a known key, not \"%1\"")
                                .arg(excerpt(assignment)));
            if (assigned.contains(key))
                throw Error(ErrorKind::Usage, QStringLiteral("--set %1 is given twice").arg(key));
            assigned << key;
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
                        if (!db) {
                            fresh.emplace(project);
                            db = Database::open(project);
                        }
                        return *db;
                    },
                    programFolder, &err};
        const int status = command->run(ctx, args);
        buffered.flush();
        out << output;
        return printed(out, err, status);
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

} // namespace

int run(const QStringList& arguments, QTextStream& out, QTextStream& err,
        const QString& programFolder, const SettingsStore& settingsStore)
{
    std::unique_ptr<Database> db;
    std::optional<NewProject> fresh;
    const int status = runCommand(arguments, out, err, programFolder, settingsStore, db, fresh);
    db.reset();
    if (status != 0 && fresh)
        fresh->undo();
    return status;
}

} // namespace tarmela::cli
