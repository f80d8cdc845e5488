// Project files that are damaged, foreign or not files at all, run through the real batch tool.
#include "CliProcess.h"
#include "CliSupport.h"
#include "store/Migrations.h"
#include "store/RowReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// Overwrites the first 100 bytes of `count` leaf pages in the middle of each table, as a
// failing disk or a stray write would: reads reach good rows first, then the damage.
void damageTables(const QString& project, const QStringList& tables, int count)
{
    std::vector<qint64> pages;
    {
        auto db = Database::open(project);
        for (const QString& table : tables) {
            RowReader leaves(*db, "SELECT pageno FROM dbstat WHERE name = ? AND pagetype = 'leaf' "
                                  "ORDER BY path");
            leaves.bind(0, table);
            std::vector<qint64> all;
            while (leaves.next())
                all.push_back(leaves.integer(0));
            ASSERT_GT(all.size(), size_t(3 * count)) << table.toStdString();
            for (int k = 0; k < count; ++k)
                pages.push_back(all[all.size() / 3 + k * all.size() / (3 * count)]);
        }
    }
    QFile f(project);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    for (const qint64 page : pages) {
        ASSERT_TRUE(f.seek((page - 1) * 4096));
        f.write(QByteArray(100, char(0xA5)));
    }
}

// Another program's database: the tables, each with an ID and a note.
void anotherProgramsDatabase(const QString& path, const QStringList& tables)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", path);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const QString& table : tables)
            QSqlQuery(db).exec("CREATE TABLE " + table + " (ID INTEGER PRIMARY KEY, Note TEXT)");
    }
    QSqlDatabase::removeDatabase(path);
}

} // namespace

TEST(DamagedProject, NoCommandTakesADamagedTableForAShorterOne)
{
    CliRun setup;
    ASSERT_EQ(setup({"sample", "--sections", "3000"}), 0) << setup.err.toStdString();
    damageTables(setup.project, {"RL_1", "LB_1"}, 4);

    const QString out = setup.dir.filePath("out");
    const QString roadFolder = out + "/Ranipur to Kalaghat";
    // Each reading command, and the earlier output it must leave as it was.
    const struct {
        QStringList args;
        QString earlier;
    } cases[] = {
        {{"export-csv", "1", "rl", out + "/rl.csv"}, out + "/rl.csv"},
        {{"export-csv", "1", "lb", out + "/lb.csv"}, out + "/lb.csv"},
        {{"export", "1", "--dir", out, "--level-book"}, roadFolder + "/Level Book.htm"},
        {{"export", "1", "--dir", out, "--earthwork"}, roadFolder + "/Earthwork Report.htm"},
        {{"export", "1", "--dir", out, "--lsection"}, roadFolder + "/LSection.dxf"},
        {{"export", "1", "--dir", out, "--xsection"}, roadFolder + "/XSection.dxf"},
        {{"recompute", "1"}, {}},
        {{"reduce", "1", "--benchmark", "100"}, {}},
    };
    markRoadFolder(roadFolder, setup.project);
    const QByteArray before = readFile(setup.project);
    for (const auto& c : cases) {
        const std::string what = c.args.join(' ').toStdString();
        if (!c.earlier.isEmpty())
            writeFile(c.earlier, "earlier");
        const CliResult r =
            runCli(setup.dir.path(), QStringList{"--project", setup.project} + c.args);
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_TRUE(r.err.contains("database disk image is malformed"))
            << what << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << what << r.err.toStdString();
        EXPECT_EQ(r.out, "") << what;
        if (!c.earlier.isEmpty()) {
            EXPECT_EQ(readFile(c.earlier), "earlier") << what;
            EXPECT_EQ(leftovers(QFileInfo(c.earlier).absolutePath()), QStringList()) << what;
        }
    }
    // A failed command wrote nothing into the damaged file either.
    EXPECT_EQ(readFile(setup.project), before);
}

// A project opens only from a project or an empty file; a command that fails on one creates,
// changes and removes no file.
TEST(ProjectFile, OnlyAProjectOrAnEmptyFileIsOpenedAndAFailedCommandChangesNoFile)
{
    QTemporaryDir dir;
    // The project's table names, another program's columns. (A database without them, a file
    // that is no database: DesktopProjects.AFileThatCannotBeOpenedIsRefusedAndTheProjectStaysOpen.)
    const QString lookalike = dir.filePath("lookalike.sqlite");
    anotherProgramsDatabase(
        lookalike, {"Roads", "ChDistance", "CulvertTypes", "Culverts", "RLTemplate", "LBTemplate"});
    writeFile(dir.filePath("empty.sqlite"), "");
    QDir().mkpath(dir.filePath("folder.sqlite"));
    QFile::link(dir.filePath("nowhere/gone.sqlite"), dir.filePath("dangling.sqlite"));
    const QString newer = dir.filePath("newer.sqlite");
    const int version = schema::currentVersion();
    Database::open(newer)->exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1));

    const struct {
        QString file;
        QStringList args;
        QString message; // the one line on standard error, with the status 2; none for 0
    } cases[] = {
        {lookalike,
         {"new-road", "--from", "A", "--to", "B"},
         "The file " + lookalike + " is not a Tarmela project: its table Roads has no column From"},
        {dir.filePath("folder.sqlite"),
         {"roads"},
         "Cannot open the project " + dir.filePath("folder.sqlite") + ": it is not a file"},
        {dir.filePath("dangling.sqlite"),
         {"roads"},
         "Cannot open the project " + dir.filePath("dangling.sqlite") + ": it is a link to " +
             dir.filePath("nowhere/gone.sqlite") + ", which is not there"},
        {newer,
         {"recompute", "1"},
         QStringLiteral("The project %1 was written by a newer version of Tarmela (project version "
                        "%2; this program reads up to version %3)")
             .arg(newer)
             .arg(version + 1)
             .arg(version)},
        {"/dev/null/project.sqlite",
         {"roads"},
         "Cannot create the folder /dev/null: Not a directory"},
        {dir.filePath("missing.sqlite"), {"recompute", "1"}, "There is no road with ID 1"},
        {dir.filePath("new/deeper/missing.sqlite"),
         {"delete-road", "3"},
         "There is no road with ID 3"},
        {dir.filePath("empty.sqlite"),
         {"reduce", "1", "--benchmark", "100"},
         "There is no road with ID 1"},
        {dir.filePath("empty.sqlite"), {"roads"}, ""},
        {dir.filePath("new/project.sqlite"), {"roads"}, ""},
    };
    for (const auto& c : cases) {
        const std::string what = c.file.toStdString();
        const std::string before = folderState(dir.path());
        const CliResult r = runCli(dir.path(), QStringList{"--project", c.file} + c.args);
        EXPECT_EQ(r.status, c.message.isEmpty() ? 0 : 2) << what;
        EXPECT_EQ(r.err, c.message.isEmpty() ? QString() : "tarmela-cli: " + c.message + "\n")
            << what;
        if (!c.message.isEmpty())
            EXPECT_EQ(folderState(dir.path()), before) << what;
        else
            EXPECT_EQ(r.out.section('\n', 0, 0),
                      "ID\tFrom\tTo\tLength\tInterval\tFormation Camber\tCarriage Camber");
    }
}
