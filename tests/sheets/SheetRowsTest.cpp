#include "sheets/SheetRows.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "store/SheetQueries.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::sheets;
using tarmela::test::queryText;

namespace
{
// A project whose road 1 has an RL sheet at the given chainages, read into `rows`.
struct Sheet : ::testing::Test {
    test::TestProject p;
    SheetRows rows;
    int c = 0;
    void load(const QVector<double>& chainages)
    {
        p.roadWithRows(chainages);
        rows.load(p.db(), reducedLevelStatement(1, ViewOrder{}, ReducedLevelGroups{}));
        c = rows.columnIndex("c"); // names are found whatever their case
    }
    std::string column(const QString& name)
    {
        return queryText(p.db(), "SELECT " + name + " FROM RL_1 ORDER BY ID");
    }
};
} // namespace

TEST_F(Sheet, SavesOnlyChangedCellsOfChangedRowsKeyedById)
{
    load({0, 20, 40});
    rows.setText(1, c, " 101.5 ");
    rows.setText(2, c, "");  // already empty: no change
    rows.setText(0, 0, "0"); // same value: no change
    EXPECT_TRUE(rows.changed(1));
    EXPECT_FALSE(rows.changed(0) || rows.changed(2));
    // Others write meanwhile: row 3 (unchanged here) and FL1 of the edited row (as a
    // recomputation does). Neither is written over.
    p.db().exec("UPDATE RL_1 SET C = 7 WHERE ID = 3");
    p.db().exec("UPDATE RL_1 SET FL1 = 99.123 WHERE ID = 2");
    rows.save(p.db());
    EXPECT_FALSE(rows.hasChanges());
    EXPECT_EQ(column("C, FL1"), "null null | 101.5 99.123 | 7 null");

    rows.setText(1, c, "");
    rows.save(p.db());
    EXPECT_EQ(column("C"), "null | null | 7");

    // A row deleted elsewhere: the edit can't land, and the save says so.
    rows.setText(0, c, "7");
    p.db().exec("DELETE FROM RL_1 WHERE ID = 1");
    try {
        rows.save(p.db());
        FAIL() << "an edit of a vanished row was reported as saved";
    } catch (const SaveError& e) {
        EXPECT_EQ(e.row, 0);
        EXPECT_TRUE(e.message.contains("no longer in the database"));
    }
    EXPECT_TRUE(rows.hasChanges());
}

TEST_F(Sheet, RemovesRowsByIdAndKeepsOtherEdits)
{
    load({0, 20, 40, 60});
    rows.setText(3, c, "88");
    rows.removeIds(p.db(), {2, 3});
    EXPECT_EQ(column("ID"), "1 | 4");
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.text(1, 0), "60");
    EXPECT_EQ(rows.text(1, c), "88");
    EXPECT_TRUE(rows.changed(1));
    EXPECT_FALSE(rows.changed(0));
    EXPECT_EQ(rows.rowOfId(4), 1);
    EXPECT_EQ(rows.rowOfId(2), -1);
}

TEST(SheetRows, AJoinedSheetIsReadOnly)
{
    test::TestProject p;
    const auto road = roads::create(p.db());
    p.db().exec("INSERT INTO CulvertTypes (CulvertName, Type) VALUES ('Pipe 900', 'P')");
    p.db().exec("INSERT INTO Culverts (RoadRef, CTypeRef, Chainage, EPType) VALUES "
                "(1, 1, 120.5, 'E')");
    SheetRows rows;
    rows.load(p.db(), culvertsStatement(road));
    EXPECT_FALSE(rows.updatable());
    EXPECT_THROW(rows.removeIds(p.db(), {1}), Error);
    EXPECT_EQ(test::rowCount(p.db(), "Culverts"), 1);
}
