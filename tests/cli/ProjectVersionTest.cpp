// Project files of earlier releases open and keep every value; a file of a newer release is
// refused and left as it was.
#include "CliProcess.h"
#include "CliSupport.h"
#include "store/Migrations.h"
#include "store/RowReader.h"

#include <QFile>
#include <QFileInfo>
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

// Every row of every table, read through SQLite alone (no upgrade on the way), of the columns
// the old file has; a value as SQLite prints it, so a changed type shows.
QString tablesOf(const QString& path, const QMap<QString, QStringList>& columns)
{
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    QString text;
    for (auto t = columns.begin(); t != columns.end(); ++t) {
        QStringList quoted;
        for (const QString& c : t.value())
            quoted << "quote(" + quoteName(c) + ")";
        const QString sql =
            "SELECT " + quoted.join(", ") + " FROM " + quoteName(t.key()) + " ORDER BY rowid";
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK)
            << sql.toStdString();
        text += t.key() + ":\n";
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                text +=
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))) +
                    ' ';
            text += '\n';
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return text;
}

QMap<QString, QStringList> columnsOf(const QString& path)
{
    auto db = Database::open(path);
    QMap<QString, QStringList> columns;
    RowReader tables(*db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                          "LIKE 'sqlite%'");
    while (tables.next())
        columns[tables.text(0)] = db->columnNames(tables.text(0));
    return columns;
}

} // namespace

TEST(ProjectVersion, AFileOfTheReleaseBeforeIsUpgradedInPlaceAndGivesTheSameResults)
{
    CliRun cli;
    ASSERT_TRUE(QFile::copy(kOldProject, cli.project));
    QFile::setPermissions(cli.project, QFile::ReadOwner | QFile::WriteOwner);
    QMap<QString, QStringList> oldColumns;
    // The old file's tables and columns, read without the program (which would upgrade it).
    {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(cli.project.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, "PRAGMA user_version", -1, &st, nullptr);
        ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int(st, 0), 0);
        sqlite3_finalize(st);
        sqlite3_prepare_v2(raw,
                           "SELECT m.name, p.name FROM sqlite_master m, pragma_table_info(m.name) "
                           "p WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite%' ORDER BY "
                           "m.name, p.cid",
                           -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            oldColumns[QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)))]
                << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        sqlite3_finalize(st);
        sqlite3_close(raw);
    }
    ASSERT_TRUE(oldColumns.contains("RL_1") && oldColumns.contains("LB_2"));
    const QString before = tablesOf(cli.project, oldColumns);

    // Any command upgrades the file; recomputing a road the old release recomputed prints
    // what it printed and changes no value.
    for (int road : {1, 2}) {
        ASSERT_EQ(cli({"recompute", QString::number(road), "--json"}), 0) << cli.err.toStdString();
        // The old release had no list of long gaps; these roads have none.
        EXPECT_EQ(QString(cli.out).replace(QStringLiteral(", \"gaps\": []}"), QStringLiteral("}")),
                  QString::fromUtf8(readFile(oldRecompute(road))))
            << road;
    }
    EXPECT_EQ(tablesOf(cli.project, oldColumns), before);

    const auto upgraded = columnsOf(cli.project);
    EXPECT_TRUE(upgraded["Roads"].contains("Benchmark"));
    auto db = cli.open();
    EXPECT_EQ(schema::fileVersion(*db), schema::currentVersion());
    EXPECT_EQ(queryText(*db, "SELECT count(*) FROM Roads WHERE Benchmark IS NULL"), "2");
    EXPECT_EQ(queryText(*db, "SELECT count(*) FROM Roads WHERE [Cut Factor] = 1"), "2");
}

TEST(ProjectVersion, ANewProjectIsMadeAtTheCurrentVersionLikeAnUpgradedOne)
{
    CliRun made, upgraded;
    ASSERT_EQ(made({"roads"}), 0);
    ASSERT_TRUE(QFile::copy(kOldProject, upgraded.project));
    QFile::setPermissions(upgraded.project, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(upgraded({"roads"}), 0);
    // The same tables with the same columns and types, however the file came to be (the roads'
    // own sheets aside).
    const QString schemaSql =
        "SELECT name, sql FROM sqlite_master WHERE tbl_name NOT GLOB '*_[0-9]*' ORDER BY name";
    EXPECT_EQ(queryText(*made.open(), schemaSql), queryText(*upgraded.open(), schemaSql));
    EXPECT_EQ(schema::fileVersion(*made.open()), schema::currentVersion());
}

TEST(ProjectVersion, AFileOfANewerReleaseIsRefusedAndLeftAsItWas)
{
    CliRun cli;
    ASSERT_TRUE(QFile::copy(kOldProject, cli.project));
    QFile::setPermissions(cli.project, QFile::ReadOwner | QFile::WriteOwner);
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(cli.project.toUtf8().constData(), &raw), SQLITE_OK);
        const QString set =
            QStringLiteral("PRAGMA user_version = %1").arg(schema::currentVersion() + 1);
        ASSERT_EQ(sqlite3_exec(raw, set.toUtf8().constData(), nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(raw);
    }
    const QByteArray bytes = readFile(cli.project);
    for (const QStringList& command : {QStringList{"roads"}, QStringList{"recompute", "1"}}) {
        const CliResult r = runCli(cli.dir.path(), QStringList{"--project", cli.project} + command);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, QStringLiteral("tarmela-cli: The project %1 was written by a newer "
                                        "version of Tarmela (project version %2; this program "
                                        "reads up to version %3)\n")
                             .arg(cli.project)
                             .arg(schema::currentVersion() + 1)
                             .arg(schema::currentVersion()));
        EXPECT_EQ(readFile(cli.project), bytes);
        EXPECT_FALSE(QFileInfo::exists(cli.project + "-wal"));
    }
}
