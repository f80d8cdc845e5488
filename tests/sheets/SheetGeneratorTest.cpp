#include "sheets/SheetGenerator.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

TEST(SheetGenerator, RowsRunFromStartToEndInWholeMetresWithTheLastExactlyAtTheEnd)
{
    TestProject p;
    Database& db = p.db();
    const std::int64_t road = roads::create(db);

    EXPECT_EQ(generateSheets(db, road, 0, 1000, 20, true, false), 51);
    // IDs from 1, each row a step on from the one before.
    EXPECT_EQ(queryText(db, "SELECT COUNT(*), MIN(ID), MAX(ID), SUM(Chainage = (ID - 1) * 20) "
                            "FROM RL_1"),
              "51 1 51 51");

    EXPECT_EQ(generateSheets(db, road, 0, 1050, 100, true, true), 12);
    for (const QString table : {"RL_1", "LB_1"}) {
        EXPECT_EQ(rowCount(db, table), 12);
        EXPECT_EQ(queryText(db, "SELECT ID, Chainage FROM " + table + " WHERE ID > 10"),
                  "11 1000 | 12 1050");
    }

    // An end at the start gives the single row (1, end); a start before the chainages the
    // sheets take, or a step that never reaches the end, is refused and the sheet keeps its rows.
    EXPECT_EQ(generateSheets(db, road, 500, 500, 20, true, false), 1);
    EXPECT_EQ(queryText(db, "SELECT ID, Chainage FROM RL_1"), "1 500");
    EXPECT_THROW(generateSheets(db, road, -1e7 - 1, 0, 20, true, false), Error);
    for (int interval : {0, -20})
        EXPECT_THROW(generateSheets(db, road, 0, 1000, interval, true, true), Error) << interval;
    EXPECT_EQ(queryText(db, "SELECT ID, Chainage FROM RL_1"), "1 500");

    // Halves go to the even neighbour: 10.5 -> 10, 100.5 -> 100.
    generateSheets(db, road, 10.5, 100.5, 30, true, false);
    EXPECT_EQ(queryText(db, "SELECT Chainage FROM RL_1 ORDER BY ID"), "10 | 40 | 70 | 100");
    // 1000.4 ends at 1000, which is a step from 0: it must appear once, not twice.
    EXPECT_EQ(generateSheets(db, road, 0, 1000.4, 20, true, false), 51);
    EXPECT_EQ(queryText(db, "SELECT ID, Chainage FROM RL_1 WHERE ID >= 50"), "50 980 | 51 1000");

    // Sheets longer than 32767 rows are numbered on.
    EXPECT_EQ(generateSheets(db, road, 0, 40000, 1, true, false), 40001);
    EXPECT_EQ(
        queryText(db, "SELECT MAX(ID), (SELECT Chainage FROM RL_1 WHERE ID = 32769) FROM RL_1"),
        "40001 32768");
}
