// A command that fails leaves the project and the folders as they were, and an export writes
// only inside the folder it is given, whatever links stand in its way.
#include "CliProcess.h"
#include "CliSupport.h"
#include "store/RowReader.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <functional>

using namespace tarmela;
using namespace tarmela::test;

TEST_F(CliFlatRoad, AnExportNeitherFollowsLinksNorTakesOverAFolder)
{
    const QString out = cli.dir.filePath("out"), road = out + "/Ana to Bel";
    const QString elsewhere = cli.dir.filePath("elsewhere");
    QDir().mkpath(elsewhere);
    writeFile(elsewhere + "/keep.htm", "someone else's");
    const struct {
        const char* what;
        std::function<void()> arrange;
        int status;
        const char* message;
    } cases[] = {
        {"the road's folder is a link",
         [&] {
             QDir().mkpath(out);
             QFile::link(elsewhere, road);
         },
         2, "is a link"},
        {"an output is a link",
         [&] {
             markRoadFolder(road, cli.project);
             QFile::link(elsewhere + "/keep.htm", road + "/Level Book.htm");
         },
         2, "is a link"},
    };
    for (const auto& c : cases) {
        QDir(out).removeRecursively();
        c.arrange();
        const std::string before = folderState(cli.dir.path());
        const std::string elsewhereBefore = folderState(elsewhere);
        EXPECT_EQ(cli({"export", "1", "--dir", out, "--level-book"}), c.status) << c.what;
        EXPECT_TRUE(cli.err.contains(c.message)) << c.what << cli.err.toStdString();
        EXPECT_EQ(folderState(elsewhere), elsewhereBefore) << c.what;
        EXPECT_EQ(folderState(cli.dir.path()), before) << c.what;
    }

    // A folder of that name holding other files, and no road's mark, is left to its owner.
    QDir(out).removeRecursively();
    QDir().mkpath(road);
    writeFile(road + "/Level Book.htm", "mine");
    ASSERT_TRUE(cli.ok({"export", "1", "--dir", out, "--level-book"}));
    EXPECT_EQ(readFile(road + "/Level Book.htm"), "mine");
    EXPECT_EQ(cli.out, road + " (road 1)/Level Book.htm\n");
    EXPECT_TRUE(cli.err.contains("note: ")) << cli.err.toStdString();
}

TEST(ProjectFile, AFailedCommandCreatesAndChangesNoProjectFile)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("empty.sqlite"), "");
    QFile::link(dir.filePath("nowhere/gone.sqlite"), dir.filePath("dangling.sqlite"));
    const QString lookalike = dir.filePath("lookalike.sqlite");
    {
        // The project's table names, another program's columns.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "lookalike");
        db.setDatabaseName(lookalike);
        ASSERT_TRUE(db.open());
        for (const char* table :
             {"Roads", "ChDistance", "CulvertTypes", "Culverts", "RLTemplate", "LBTemplate"})
            QSqlQuery(db).exec(QString("CREATE TABLE %1 (ID INTEGER, Note TEXT)").arg(table));
        db.close();
    }
    QSqlDatabase::removeDatabase("lookalike");
    const struct {
        QString project;
        QStringList args;
        int status;
        const char* message;
    } cases[] = {
        {dir.filePath("missing.sqlite"), {"recompute", "1"}, 2, "no road with ID 1"},
        {dir.filePath("new/deeper/missing.sqlite"), {"delete-road", "3"}, 2, "no road"},
        {dir.filePath("empty.sqlite"), {"reduce", "1", "--benchmark", "100"}, 2, "no road"},
        {dir.filePath("dangling.sqlite"), {"roads"}, 2, "which is not there"},
        {lookalike, {"new-road", "--from", "A", "--to", "B"}, 2, "has no column From"},
    };
    for (const auto& c : cases) {
        const std::string what = c.project.toStdString();
        const std::string before = folderState(dir.path());
        const CliResult r = runCli(dir.path(), QStringList{"--project", c.project} + c.args);
        EXPECT_EQ(r.status, c.status) << what;
        EXPECT_TRUE(r.err.contains(c.message)) << what << r.err.toStdString();
        EXPECT_EQ(folderState(dir.path()), before) << what;
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
    const QString start = cli.project;
    for (const QStringList& writer : writers) {
        const QString race = start + ".race";
        QFile::remove(race);
        ASSERT_TRUE(QFile::copy(start, race));
        cli.project = race;
        auto holder = cli.open();
        holder->exec("DELETE FROM ChDistance");
        const std::string rows = queryText(*holder, "SELECT * FROM RL_1 ORDER BY ID");
        holder->exec("BEGIN IMMEDIATE");
        CliProcess w(cli.dir.path(), QStringList{"--project", race} + writer);
        QThread::msleep(300); // whether or not it is waiting by now, the outcome is the same
        holder->exec("DELETE FROM Roads");
        holder->exec("COMMIT");
        EXPECT_EQ(w.finish(), 2) << w.err.toStdString();
        EXPECT_TRUE(w.err.contains("There is no road with ID 1")) << w.err.toStdString();
        EXPECT_EQ(holder->scalar("SELECT COUNT(*) FROM ChDistance").toInt(), 0);
        EXPECT_EQ(queryText(*holder, "SELECT * FROM RL_1 ORDER BY ID"), rows)
            << writer.front().toStdString();
    }
}
