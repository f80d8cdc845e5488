#pragma once

#include "settings/Settings.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <vector>

namespace tarmela
{
class Database;
struct EarthworkInputs;
struct EarthworkResult;
} // namespace tarmela

namespace tarmela::cli
{

class Args;

// What a command works with.
struct Context {
    QTextStream& out;
    Settings settings;                   // the stored settings with this run's --set overrides
    std::function<Database&()> database; // opened (and created) on first use
    QString programFolder;
    QTextStream* err = nullptr; // unbuffered: failures a command reports without ending
};

// A command runs on its own arguments, writes its results to ctx.out and throws Error on
// failure; the runner turns that into a message on standard error and the exit status.
// A command that reports its own partial failure returns a non-zero status instead.
struct Command {
    QString name;
    QString usage; // one line: "roads", "new-road --from TEXT --to TEXT [...]"
    std::function<int(Context&, Args&)> run;
};

// The road ID the next positional word gives (1 or more; Error(Usage) otherwise).
std::int64_t roadArgument(Args& args);
// The road named by the next positional word; Error(Data) when there is none.
std::int64_t requireRoad(Database& db, Args& args);
void requireRoad(Database& db, std::int64_t road);

// Command families, each in its own file.
std::vector<Command> roadCommands();
std::vector<Command> surveyCommands();
std::vector<Command> earthworkCommands();
std::vector<Command> exportCommands();
std::vector<Command> gradeCommands();
std::vector<Command> massHaulCommands();

// The road's recomputation inputs: the settings with the road's own cambers.
EarthworkInputs earthworkInputs(Context& ctx, std::int64_t road);
// What recompute prints for a result; a run that stopped on a section is an error.
int printEarthwork(Context& ctx, const EarthworkInputs& in, const EarthworkResult& result,
                   bool asJson);

// Runs one command line (without the program name). Exit status: 0 success, 1 usage error,
// 2 data or database error.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err,
        const QString& programFolder, const SettingsStore& settingsStore);

} // namespace tarmela::cli
