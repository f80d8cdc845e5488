// Project files of earlier releases open and keep every value. (A file of a newer release:
// ProjectFile.OnlyAProjectOrAnEmptyFileIsOpenedAndAFailedCommandChangesNoFile.)
#include "CliSupport.h"
#include "store/Migrations.h"

#include <QFile>
#include <sqlite3.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// A project written by the release before the file carried a version: the sample road
// (recomputed, with culverts and cross distances) and a road whose level book was reduced from
// 102.105; beside it what that release's `recompute --json` printed for each road.
const QString kOldProject = TARMELA_TEST_SOURCE_DIR "/tests/data/version0/project.sqlite";
QString oldRecompute(int road)
{
    return QStringLiteral(TARMELA_TEST_SOURCE_DIR "/tests/data/version0/recompute-%1.json")
        .arg(road);
}

// Runs SQL on the file through SQLite alone (no upgrade on the way): each row's values as
// SQLite prints them, separated by blanks, one row a line, so a changed type shows.
QString raw(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK)
        << sql.toStdString();
    QString text;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            text +=
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))) + ' ';
        text += '\n';
    }
    sqlite3_finalize(st);
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

} // namespace

TEST(ProjectVersion, AFileOfTheReleaseBeforeIsUpgradedInPlaceAndGivesTheSameResults)
{
    CliRun cli, made;
    // A copy of the old project, writable, as the project of the run.
    ASSERT_TRUE(QFile::copy(kOldProject, cli.project));
    QFile::setPermissions(cli.project, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(raw(cli.project, "PRAGMA user_version"), "0 \n");
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
                  QString::fromUtf8(readFile(oldRecompute(road))))
            << road;
    }
    EXPECT_EQ(tablesOf(cli.project, oldColumns), before);

    auto db = cli.open();
    EXPECT_EQ(schema::fileVersion(*db), schema::currentVersion());
    EXPECT_EQ(queryText(*db, "SELECT count(*) FROM Roads WHERE Benchmark IS NULL"), "2");
    EXPECT_EQ(queryText(*db, "SELECT count(*) FROM Roads WHERE [Cut Factor] = 1"), "2");
    // A new project has the same tables with the same columns and types (the roads' own
    // sheets aside).
    ASSERT_EQ(made({"roads"}), 0);
    const QString schemaSql =
        "SELECT name, sql FROM sqlite_master WHERE tbl_name NOT GLOB '*_[0-9]*' ORDER BY name";
    EXPECT_EQ(queryText(*made.open(), schemaSql), queryText(*db, schemaSql));
    EXPECT_EQ(schema::fileVersion(*made.open()), schema::currentVersion());
}
