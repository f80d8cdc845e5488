#include "store/Roads.h"
#include "store/Schema.h"
#include "store/Transaction.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using statements::Sheet;
using Roads = ProjectTest;

TEST_F(Roads, DeletingARoadOrCulvertTypeRemovesEverythingItOwnsAndNothingElse)
{
    db.exec("INSERT INTO sqlite_sequence (name, seq) VALUES ('Roads', 104)");
    const std::int64_t keep = roads::create(db);
    ASSERT_EQ(keep, 105);
    const std::int64_t gone = roads::create(db);
    db.exec("INSERT INTO CulvertTypes (CulvertName) VALUES ('Pipe'), ('Slab')");
    db.exec(QStringLiteral("INSERT INTO Culverts (RoadRef, CTypeRef, Chainage, EPType) VALUES "
                           "(%1, 1, 20, 'E'), (105, 1, 40, 'P'), (%1, 2, 80, 'P'), "
                           "(105, 2, 60, 'E')")
                .arg(gone));
    // A culvert type takes its culverts on every road along.
    roads::removeCulvertTypes(db, {1});
    EXPECT_EQ(rowCount(db, "CulvertTypes"), 1);
    EXPECT_EQ(queryText(db, "SELECT ID, CTypeRef FROM Culverts"), "3 2 | 4 2");

    roads::remove(db, keep);
    // What goes with the road is gone, and the other road keeps all of its own.
    EXPECT_EQ(queryText(db, "SELECT (SELECT COUNT(*) FROM ChDistance WHERE RoadRef = 105), "
                            "(SELECT COUNT(*) FROM Culverts WHERE RoadRef = 105), "
                            "(SELECT COUNT(*) FROM Culverts), (SELECT COUNT(*) FROM Roads)"),
              "0 0 1 1");
    EXPECT_FALSE(db.tableExists("RL_105") || db.tableExists("LB_105"));
    EXPECT_TRUE(db.tableExists(schema::rlTable(gone)));
    roads::removeCulverts(db, {3});
    EXPECT_EQ(rowCount(db, "Culverts"), 0);

    // A road whose sheet was already lost can still be deleted.
    db.exec("DROP TABLE " + schema::rlTable(gone));
    roads::remove(db, gone);
    EXPECT_EQ(rowCount(db, "Roads"), 0);
    EXPECT_FALSE(db.tableExists(schema::lbTable(gone)));
}

TEST_F(Roads, AppendSectionFollowsTheHighestChainageAndTransactionsNest)
{
    const std::int64_t road = roads::create(db);
    EXPECT_EQ(roads::appendSection(db, Sheet::ReducedLevel, road, 20), 0);
    db.exec("INSERT INTO RL_1 (ID, Chainage) VALUES (24, 480)");
    EXPECT_EQ(roads::appendSection(db, Sheet::ReducedLevel, road, 20), 25);
    // A fractional chainage plus the interval goes to a whole number, halves to even.
    db.exec("INSERT INTO LB_1 (ID, Chainage) VALUES (3, 10.5)");
    EXPECT_EQ(roads::appendSection(db, Sheet::LevelBook, road, 2), 4);
    EXPECT_EQ(queryText(db, "SELECT Chainage FROM LB_1 WHERE ID = 4"), "12");
    // Long roads: chainages past 32.767 km.
    db.exec("INSERT INTO RL_1 (ID, Chainage) VALUES (40000, 45000)");
    EXPECT_EQ(roads::appendSection(db, Sheet::ReducedLevel, road, 20), 40001);
    EXPECT_EQ(queryText(db, "SELECT ID, Chainage FROM RL_1 ORDER BY ID"),
              "0 0 | 24 480 | 25 500 | 40000 45000 | 40001 45020");

    // A transaction rolls back unless committed, and nests.
    {
        Transaction outer(db);
        db.exec("INSERT INTO CulvertTypes (CulvertName) VALUES ('A')");
        {
            Transaction inner(db);
            db.exec("INSERT INTO CulvertTypes (CulvertName) VALUES ('B')");
        } // inner rolled back
        outer.commit();
    }
    EXPECT_EQ(rowCount(db, "CulvertTypes"), 1);
    EXPECT_TRUE(thrown([&] {
        Transaction tx(db);
        db.exec("INSERT INTO CulvertTypes (CulvertName) VALUES ('C')");
        db.exec("INSERT INTO NoSuchTable VALUES (1)");
        tx.commit();
    }));
    EXPECT_EQ(rowCount(db, "CulvertTypes"), 1);
}
