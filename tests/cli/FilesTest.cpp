// Project files that are damaged, foreign, of another release or not files at all, written by
// two programs at once, and files written onto a full disk.
#include "CliProcess.h"
#include "CliSupport.h"
#include "store/Migrations.h"
#include "store/RowReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

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
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QString sql;
    for (const QString& table : tables)
        sql += "CREATE TABLE " + table + " (ID INTEGER PRIMARY KEY, Note TEXT);";
    EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// A project written by the release before the file carried a version: the sample road
// (recomputed, with culverts and cross distances) and a road whose level book was reduced from
// 102.105; beside it what that release's `recompute --json` printed for each road.
const QString kOldRelease = TARMELA_TEST_SOURCE_DIR "/tests/data/version0/";

// Runs SQL on the file through SQLite alone (no upgrade on the way): each row's values as
// SQLite prints them, separated by blanks, one row a line, so a changed type shows.
QString raw(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    QString text;
    auto row = [](void* out, int count, char** values, char**) {
        for (int i = 0; i < count; ++i)
            *static_cast<QString*>(out) += QString::fromUtf8(values[i]) + ' ';
        *static_cast<QString*>(out) += '\n';
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), row, &text, nullptr), SQLITE_OK)
        << sql.toStdString();
    sqlite3_close(db);
    return text;
}

// Every row of every table, of the columns the old file has.
QString tablesOf(const QString& path, const QMap<QString, QStringList>& columns)
{
    QString text;
    for (auto t = columns.begin(); t != columns.end(); ++t) {
        QStringList quoted;
        for (const QString& c : t.value())
            quoted << "quote(" + quoteName(c) + ")";
        text += t.key() + ":\n" +
                raw(path, "SELECT " + quoted.join(", ") + " FROM " + quoteName(t.key()) +
                              " ORDER BY rowid");
    }
    return text;
}

// A small file system of its own (a tmpfs), mounted for the life of the object. Mounting needs
// root (as in CI); elsewhere the tests that need one are skipped.
struct SmallDisk {
    QTemporaryDir dir;
    bool mounted = false;
    explicit SmallDisk(const char* size)
    {
        if (::geteuid() != 0)
            return;
        mounted = QProcess::execute("mount", {"-t", "tmpfs", "-o", QString("size=") + size, "tmpfs",
                                              dir.path()}) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            QProcess::execute("umount", {"-l", dir.path()});
    }
    QString path(const QString& name) const { return dir.filePath(name); }
};

#define SKIP_WITHOUT(disk)                                                                         \
    if (!(disk).mounted)                                                                           \
    GTEST_SKIP() << "mounting a small tmpfs needs root; the full-disk cases were not run"

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
    // Another program's database, and one with the project's table names but other columns. (A
    // file that is no database:
    // DesktopProjects.AFileThatCannotBeOpenedIsRefusedAndTheProjectStaysOpen.)
    const QString foreign = dir.filePath("foreign.sqlite"),
                  lookalike = dir.filePath("lookalike.sqlite");
    anotherProgramsDatabase(foreign, {"Notes"});
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
        {foreign,
         {"roads"},
         "The file " + foreign + " is not a Tarmela project: it has no table Roads"},
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
            // The roads are listed, from a project written into the file.
            EXPECT_TRUE(r.out.startsWith("ID\t") && QFileInfo(c.file).size() > 0) << what;
    }
}

// A project file of the release before the file carried a version opens and keeps every value.
TEST(ProjectVersion, AFileOfTheReleaseBeforeIsUpgradedInPlaceAndGivesTheSameResults)
{
    CliRun cli, made;
    // A copy of the old project, writable, as the project of the run.
    ASSERT_TRUE(QFile::copy(kOldRelease + "project.sqlite", cli.project));
    QFile::setPermissions(cli.project, QFile::ReadOwner | QFile::WriteOwner);
    // The old file's tables and columns, read without the program (which would upgrade it).
    QMap<QString, QStringList> oldColumns;
    for (const QString& line :
         raw(cli.project,
             "SELECT m.name || '|' || p.name FROM sqlite_master m, pragma_table_info(m.name) "
             "p WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite%' ORDER BY "
             "m.name, p.cid")
             .split('\n', Qt::SkipEmptyParts))
        oldColumns[line.section('|', 0, 0)] << line.section('|', 1).chopped(1);
    ASSERT_TRUE(oldColumns.contains("RL_1") && oldColumns.contains("LB_2"));
    const QString before = tablesOf(cli.project, oldColumns);

    // Any command upgrades the file; recomputing a road the old release recomputed prints
    // what it printed and changes no value.
    for (int road : {1, 2}) {
        ASSERT_TRUE(cli.ok({"recompute", QString::number(road), "--json"}));
        // The old release had no list of long gaps; these roads have none.
        EXPECT_EQ(QString(cli.out).replace(QStringLiteral(", \"gaps\": []}"), QStringLiteral("}")),
                  QString::fromUtf8(readFile(kOldRelease + QString("recompute-%1.json").arg(road))))
            << road;
    }
    EXPECT_EQ(tablesOf(cli.project, oldColumns), before);

    auto db = cli.open();
    EXPECT_EQ(schema::fileVersion(*db), schema::currentVersion());
    EXPECT_EQ(
        queryText(*db, "SELECT count(*) FROM Roads WHERE Benchmark IS NULL AND [Cut Factor] = 1"),
        "2");
    // A new project has the same tables with the same columns and types (the roads' own
    // sheets aside).
    ASSERT_EQ(made({"roads"}), 0);
    const QString schemaSql =
        "SELECT name, sql FROM sqlite_master WHERE tbl_name NOT GLOB '*_[0-9]*' ORDER BY name";
    EXPECT_EQ(queryText(*made.open(), schemaSql), queryText(*db, schemaSql));
    EXPECT_EQ(schema::fileVersion(*made.open()), schema::currentVersion());
}

// Two batch-tool programs writing one project at once end as if one had run after the other.
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

// Writing onto a full disk or a device: the command fails naming the file and the system's
// reason, and an earlier file stays as it was.
TEST(FullDisk, OutputsFailWithTheReasonAndLeaveTheEarlierFile)
{
    SmallDisk disk("64k");
    SKIP_WITHOUT(disk);
    CliRun cli;
    ASSERT_TRUE(cli.ok({"sample", "--sections", "600"}));
    const QString folder = disk.path("Ranipur to Kalaghat");
    const struct {
        QStringList args;
        QString file;
        QString label; // what the export names before the message
    } cases[] = {
        {{"export-csv", "1", "rl", disk.path("rl.csv")}, disk.path("rl.csv"), ""},
        {{"export", "1", "--dir", disk.path(""), "--level-book"},
         folder + "/Level Book.htm",
         "Level Book (Html): "},
        {{"export", "1", "--dir", disk.path(""), "--xsection"},
         folder + "/XSection.dxf",
         "Cross Section (DXF): "},
        {{"export", "1", "--dir", disk.path(""), "--pdf", "--level-book"},
         folder + "/Level Book.pdf",
         "Level Book (PDF): "},
    };
    markRoadFolder(folder, cli.project);
    for (const auto& c : cases) {
        writeFile(c.file, "earlier");
        const CliResult r = runCli(cli.dir.path(), QStringList{"--project", cli.project} + c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "tarmela-cli: " + c.label + "Cannot write " + c.file +
                             ": No space left on device\n");
        EXPECT_EQ(readFile(c.file), "earlier");
        EXPECT_EQ(leftovers(QFileInfo(c.file).absolutePath()), QStringList());
    }
}

TEST(FullDisk, AFullProjectDiskGivesOneLineAndKeepsTheProject)
{
    SmallDisk disk("400k");
    SKIP_WITHOUT(disk);
    const QString project = disk.path("project.sqlite");
    ASSERT_EQ(runCli(disk.path(""), {"--project", project, "new-road", "--from", "A", "--to", "B"})
                  .status,
              0);
    for (const QStringList& args :
         {QStringList{"sample", "--sections", "5000"},
          QStringList{"generate", "1", "--start", "0", "--end", "1000000", "--rl", "--lb"}}) {
        const CliResult r = runCli(disk.path(""), QStringList{"--project", project} + args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err, "tarmela-cli: database or disk is full\n");
    }
    const CliResult roads = runCli(disk.path(""), {"--project", project, "roads"});
    EXPECT_EQ(roads.out.count('\n'), 2) << roads.err.toStdString(); // the heading and road A
}

TEST(FullDisk, ADeviceIsWrittenDirectlyAndNeverReplaced)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B"}));
    ASSERT_TRUE(cli.ok({"generate", "1", "--start", "0", "--end", "100", "--rl"}));
    const struct {
        const char* device;
        int status;
        QString err;
    } cases[] = {
        {"/dev/full", 2, "tarmela-cli: Cannot write /dev/full: No space left on device\n"},
        {"/dev/null", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli({"export-csv", "1", "rl", c.device}), c.status) << c.device;
        EXPECT_EQ(cli.err, c.err);
        struct stat st = {};
        ASSERT_EQ(::stat(c.device, &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << c.device << " was replaced";
    }
}
