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

// The road's two sheets, whole.
std::string sheets(const QString& project)
{
    auto db = Database::open(project);
    return queryText(*db, "SELECT * FROM RL_1 ORDER BY ID") + " # " +
           queryText(*db, "SELECT * FROM LB_1 ORDER BY ID");
}

struct Outcome {
    int first = -1, second = -1; // exit statuses
    std::string sheets;
};

Outcome serially(CliRun& cli, const QString& start, const QStringList& a, const QStringList& b)
{
    cli.project = start + ".serial";
    QFile::remove(cli.project);
    EXPECT_TRUE(QFile::copy(start, cli.project));
    Outcome o;
    o.first = cli(a);
    o.second = cli(b);
    o.sheets = sheets(cli.project);
    return o;
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
        const Outcome ab = serially(cli, start, a, b);
        const Outcome ba = serially(cli, start, b, a);
        // Each program gets the chance to be started first.
        for (const bool swap : {false, true}) {
            const QStringList& one = swap ? b : a;
            const QStringList& other = swap ? a : b;
            const std::string what = (one.front() + " with " + other.front()).toStdString();
            const QString race = start + ".race";
            QFile::remove(race);
            ASSERT_TRUE(QFile::copy(start, race));

            // Both programs start while a third holds the write lock, and meet when it lets go.
            auto holder = Database::open(race);
            holder->exec("BEGIN IMMEDIATE");
            const QStringList project{"--project", race};
            CliProcess first(cli.dir.path(), project + one);
            CliProcess second(cli.dir.path(), project + other);
            QThread::msleep(600);
            holder->exec("COMMIT");
            holder.reset();
            Outcome raced;
            raced.first = swap ? second.finish() : first.finish();
            raced.second = swap ? first.finish() : second.finish();
            raced.sheets = sheets(race);

            const bool asAb =
                raced.sheets == ab.sheets && raced.first == ab.first && raced.second == ab.second;
            const bool asBa =
                raced.sheets == ba.sheets && raced.first == ba.second && raced.second == ba.first;
            EXPECT_TRUE(asAb || asBa)
                << what << ": " << first.err.toStdString() << second.err.toStdString();
            // Where the recomputation came last, it left nothing for another to change.
            if ((asAb && b == recompute) || (asBa && a == recompute)) {
                cli.project = race;
                cli(recompute);
                EXPECT_EQ(sheets(race), raced.sheets) << what;
            }
        }
    }
}
