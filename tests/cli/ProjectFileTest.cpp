// Project files that are damaged, foreign or not files at all, run through the real batch tool.
#include "CliProcess.h"
#include "CliSupport.h"
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

TEST(ProjectFile, OnlyAProjectOrAnEmptyFileIsOpened)
{
    QTemporaryDir dir;
    const QString foreign = dir.filePath("foreign.sqlite");
    {
        // Someone else's database.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(foreign);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE Notes (ID INTEGER PRIMARY KEY, Text TEXT)");
        QSqlQuery(db).exec("INSERT INTO Notes (Text) VALUES ('keep me')");
        db.close();
    }
    QSqlDatabase::removeDatabase("foreign");
    writeFile(dir.filePath("notes.txt"), "ID,From,To\n1,a,b\n");
    writeFile(dir.filePath("empty.sqlite"), "");
    QDir().mkpath(dir.filePath("folder.sqlite"));

    const struct {
        QString file;
        int status;
        QString message; // the start of the one line on standard error
    } cases[] = {
        {foreign, 2,
         "tarmela-cli: The file " + foreign + " is not a Tarmela project: it has no table Roads"},
        {dir.filePath("notes.txt"), 2,
         "tarmela-cli: Cannot open the project " + dir.filePath("notes.txt") +
             ": file is not a database"},
        {dir.filePath("folder.sqlite"), 2,
         "tarmela-cli: Cannot open the project " + dir.filePath("folder.sqlite") +
             ": it is not a file"},
        {"/dev/null/project.sqlite", 2,
         "tarmela-cli: Cannot create the folder /dev/null: Not a directory"},
        {dir.filePath("empty.sqlite"), 0, ""},
        {dir.filePath("new/project.sqlite"), 0, ""},
    };
    for (const auto& c : cases) {
        const QByteArray before = readFile(c.file);
        const CliResult r = runCli(dir.path(), {"--project", c.file, "roads"});
        EXPECT_EQ(r.status, c.status) << c.file.toStdString();
        EXPECT_EQ(r.err, c.message.isEmpty() ? QString() : c.message + "\n")
            << c.file.toStdString();
        if (c.status != 0) {
            EXPECT_EQ(readFile(c.file), before) << c.file.toStdString();
            EXPECT_FALSE(QFileInfo::exists(c.file + "-wal")) << c.file.toStdString();
        } else {
            EXPECT_EQ(r.out.section('\n', 0, 0),
                      "ID\tFrom\tTo\tLength\tInterval\tFormation Camber\t"
                      "Carriage Camber");
        }
    }
}
