#include "sheets/SheetGenerator.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <QSqlQuery>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace tarmela;
using namespace tarmela::test;

namespace {

std::vector<std::pair<long long, double>> rows(Database& db, const QString& table)
{
    std::vector<std::pair<long long, double>> out;
    QSqlQuery q = db.query("SELECT ID, Chainage FROM " + table + " ORDER BY Chainage, ID");
    while (q.next())
        out.emplace_back(q.value(0).toLongLong(), q.value(1).toDouble());
    return out;
}

} // namespace

TEST(SheetGenerator, RowsRunFromStartToEndWithTheLastExactlyAtTheEnd)
{
    TestProject p;
    Database& db = p.db();
    const std::int64_t road = roads::create(db);

    EXPECT_EQ(generateSheets(db, road, 0, 1000, 20, true, false), 51);
    auto r = rows(db, "RL_1");
    ASSERT_EQ(r.size(), 51u);
    for (size_t k = 0; k < r.size(); ++k) {
        EXPECT_EQ(r[k].first, static_cast<long long>(k + 1));
        EXPECT_EQ(r[k].second, 20.0 * double(k));
    }

    EXPECT_EQ(generateSheets(db, road, 0, 1050, 100, true, true), 12);
    for (const QString table : {"RL_1", "LB_1"}) {
        r = rows(db, table);
        ASSERT_EQ(r.size(), 12u) << table.toStdString();
        EXPECT_EQ(r[10], std::make_pair(11LL, 1000.0));
        EXPECT_EQ(r[11], std::make_pair(12LL, 1050.0));
    }

    // An end not above the start gives the single row (1, end).
    for (double start : {500.0, 600.0}) {
        EXPECT_EQ(generateSheets(db, road, start, 500, 20, true, false), 1);
        r = rows(db, "RL_1");
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0], std::make_pair(1LL, 500.0));
    }
}

TEST(SheetGenerator, ChainagesAreWholeMetresWithoutATwiceGivenEnd)
{
    TestProject p;
    Database& db = p.db();
    const std::int64_t road = roads::create(db);

    // Halves go to the even neighbour: 10.5 -> 10, 100.5 -> 100.
    generateSheets(db, road, 10.5, 100.5, 30, true, false);
    auto r = rows(db, "RL_1");
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].second, 10.0);
    EXPECT_EQ(r[2].second, 70.0);
    EXPECT_EQ(r[3].second, 100.0);

    // 1000.4 ends at 1000, which is a step from 0: it must appear once, not twice.
    EXPECT_EQ(generateSheets(db, road, 0, 1000.4, 20, true, false), 51);
    r = rows(db, "RL_1");
    ASSERT_EQ(r.size(), 51u);
    EXPECT_EQ(r.back(), std::make_pair(51LL, 1000.0));
    EXPECT_EQ(r[49].second, 980.0);
}

TEST(SheetGenerator, OnlyTheChosenSheetIsRebuilt)
{
    TestProject p;
    Database& db = p.db();
    const std::int64_t road = p.roadWithRows({0, 20, 40});
    db.exec("UPDATE RL_1 SET C = 101.5 WHERE ID = 2");

    EXPECT_EQ(generateSheets(db, road, 0, 100, 20, false, true), 6);
    EXPECT_EQ(rowCount(db, "RL_1"), 3);
    EXPECT_EQ(db.scalar("SELECT C FROM RL_1 WHERE ID = 2").toDouble(), 101.5);
    EXPECT_EQ(rowCount(db, "LB_1"), 6);

    // Regenerating discards the old rows and their levels.
    generateSheets(db, road, 0, 40, 20, true, false);
    EXPECT_EQ(rowCount(db, "RL_1"), 3);
    EXPECT_TRUE(db.scalar("SELECT C FROM RL_1 WHERE ID = 2").isNull());
}

TEST(SheetGenerator, BadInputIsRefusedAndChangesNothing)
{
    TestProject p;
    Database& db = p.db();
    const std::int64_t road = p.roadWithRows({0, 20, 40});

    for (int interval : {0, -20}) {
        try {
            generateSheets(db, road, 0, 1000, interval, true, true);
            FAIL() << "an interval of " << interval << " was accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), ErrorKind::Usage);
            EXPECT_TRUE(e.message().contains("interval")) << e.message().toStdString();
        }
    }
    EXPECT_THROW(generateSheets(db, road, 0, 1000, 20, false, false), Error);
    EXPECT_THROW(generateSheets(db, road, 0, 1e12, 1, true, false), Error);
    EXPECT_THROW(generateSheets(db, road, 0, 1e300, 20, true, false), Error);
    EXPECT_THROW(generateSheets(db, road, -1e300, 0, 20, true, false), Error);
    EXPECT_THROW(generateSheets(db, 99, 0, 1000, 20, true, false), Error);
    EXPECT_EQ(rowCount(db, "RL_1"), 3);
    EXPECT_EQ(rowCount(db, "LB_1"), 0);
}

TEST(SheetGenerator, AFailureLeavesBothSheetsAsTheyWere)
{
    TestProject p;
    Database& db = p.db();
    const std::int64_t road = p.roadWithRows({0, 20, 40});
    db.exec("INSERT INTO LB_1 (ID, Chainage, C) VALUES (1, 0, 1.25)");
    // The level book's rebuilt chainage index can't take its name: the level book step fails
    // after the RL sheet has already been rebuilt.
    db.exec("DROP INDEX LB_1_Chainage");
    db.exec("CREATE INDEX LB_1_Chainage ON Culverts (Chainage)");

    try {
        generateSheets(db, road, 0, 1000, 20, true, true);
        FAIL() << "the generation reported success";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains("already exists")) << e.message().toStdString();
    }
    EXPECT_EQ(rowCount(db, "RL_1"), 3);
    EXPECT_EQ(rowCount(db, "LB_1"), 1);
    EXPECT_EQ(db.scalar("SELECT C FROM LB_1").toDouble(), 1.25);
}

TEST(SheetGenerator, SheetsLongerThan32767RowsAreNumberedOn)
{
    TestProject p;
    Database& db = p.db();
    const std::int64_t road = roads::create(db);
    EXPECT_EQ(generateSheets(db, road, 0, 40000, 1, true, false), 40001);
    EXPECT_EQ(db.scalar("SELECT MAX(ID) FROM RL_1").toLongLong(), 40001);
    EXPECT_EQ(db.scalar("SELECT Chainage FROM RL_1 WHERE ID = 32769").toDouble(), 32768.0);
}
