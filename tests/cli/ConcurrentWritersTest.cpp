// Two batch-tool programs writing one project at once end as if one had run after the other.
#include "CliProcess.h"
#include "CliSupport.h"
#include "support/TestProject.h"

#include <QFile>
#include <QThread>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// The exit statuses of the programs a and b, and the road's two sheets, whole.
std::string outcome(const QString& project, int a, int b)
{
    auto db = Database::open(project);
    return std::to_string(a) + " " + std::to_string(b) + " | " +
           queryText(*db, "SELECT * FROM RL_1 ORDER BY ID") + " # " +
           queryText(*db, "SELECT * FROM LB_1 ORDER BY ID");
}

QString copyOf(const QString& start, const char* suffix)
{
    const QString copy = start + suffix;
    QFile::remove(copy);
    EXPECT_TRUE(QFile::copy(start, copy));
    return copy;
}

} // namespace

TEST(ConcurrentWriters, EndAsOneAfterTheOther)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"sample", "--sections", "1000"}));
    const QString start = cli.project;
    // New formation centre levels for every third section, and sections beyond the road.
    QByteArray csv = "Chainage,FC\n";
    for (int i = 0; i < 1100; i += 3)
        csv += QByteArray::number(i * 20) + "," + QByteArray::number(104 + i % 7 * 0.25) + "\n";
    const QString fc = cli.dir.filePath("fc.csv");
    writeFile(fc, csv);
    const QStringList recompute{"recompute", "1"};
    const QStringList import{"import", "1", "rl", fc};
    // Sections 10 m off the survey's, so that no row keeps its ID and chainage.
    const QStringList generate{"generate", "1",    "--start", "10",     "--end",
                               "19990",    "--rl", "--lb",    "--force"};
    const std::pair<QStringList, QStringList> races[] = {
        {recompute, generate}, {import, generate}, {recompute, import}};

    for (const auto& [a, b] : races) {
        const std::string what = (a.front() + " with " + b.front()).toStdString();
        // a then b, and b then a.
        std::string serial[2];
        for (const int order : {0, 1}) {
            cli.project = copyOf(start, ".serial");
            const int first = cli(order ? b : a), second = cli(order ? a : b);
            serial[order] =
                order ? outcome(cli.project, second, first) : outcome(cli.project, first, second);
        }
        // Each program gets the chance to be started first.
        for (const bool swap : {false, true}) {
            const QString race = copyOf(start, ".race");
            // Both programs start while a third holds the write lock, and meet when it lets go.
            auto holder = Database::open(race);
            holder->exec("BEGIN IMMEDIATE");
            CliProcess first(cli.dir.path(), QStringList{"--project", race} + (swap ? b : a));
            CliProcess second(cli.dir.path(), QStringList{"--project", race} + (swap ? a : b));
            QThread::msleep(600);
            holder->exec("COMMIT");
            holder.reset();
            const int one = first.finish(), other = second.finish();
            auto state = [&] {
                return swap ? outcome(race, other, one) : outcome(race, one, other);
            };
            const std::string raced = state();
            EXPECT_TRUE(raced == serial[0] || raced == serial[1])
                << what << ": " << first.err.toStdString() << second.err.toStdString();
            // Where the recomputation came last, it left nothing for another to change.
            if ((raced == serial[0] ? b : a) == recompute) {
                cli.project = race;
                cli(recompute);
                EXPECT_EQ(state(), raced) << what;
            }
        }
    }
}

// A command that changes a road takes the write lock before it looks for the road: a road
// deleted while it waits is not found, and nothing is written for it, whichever goes first.
TEST(ConcurrentWriters, WritersRacingARoadsDeletionWriteNothingForIt)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"sample", "--sections", "5"}));
    const QString csv = cli.dir.filePath("fc.csv");
    writeFile(csv, "Chainage,FC\n0,104\n");
    const QStringList writers[] = {
        {"cross-distances", "1", "L1=2"},
        {"reduce", "1", "--benchmark", "100"},
        {"import", "1", "rl", csv},
        {"recompute", "1"},
        {"formation", "1", "--at", "0", "--fc", "104"},
        {"grade", "1", "--pvi", "0:104", "--pvi", "80:105"},
    };
    for (const QStringList& writer : writers) {
        const QString race = copyOf(cli.project, ".race");
        auto holder = Database::open(race);
        holder->exec("DELETE FROM ChDistance");
        const std::string rows = queryText(*holder, "SELECT * FROM RL_1 ORDER BY ID");
        holder->exec("BEGIN IMMEDIATE");
        CliProcess w(cli.dir.path(), QStringList{"--project", race} + writer);
        QThread::msleep(300); // whether or not it is waiting by now, the outcome is the same
        holder->exec("DELETE FROM Roads");
        holder->exec("COMMIT");
        EXPECT_EQ(w.finish(), 2) << writer.front().toStdString();
        EXPECT_EQ(w.err, "tarmela-cli: There is no road with ID 1\n");
        EXPECT_EQ(holder->scalar("SELECT COUNT(*) FROM ChDistance").toInt(), 0);
        EXPECT_EQ(queryText(*holder, "SELECT * FROM RL_1 ORDER BY ID"), rows)
            << writer.front().toStdString();
    }
}
