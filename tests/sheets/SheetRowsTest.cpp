#include "sheets/SheetRows.h"
#include "QueryRows.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "store/SheetQueries.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::sheets;
using tarmela::test::queryRows;

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
        c = rows.columnIndex("C");
    }
    QString column(const QString& name)
    {
        return queryRows(p.db(), "SELECT " + name + " FROM RL_1 ORDER BY ID");
    }
};
} // namespace

TEST_F(Sheet, LoadsTheStatementsColumnsAndRows)
{
    load({0, 20, 40});
    p.db().exec("UPDATE RL_1 SET C = 99.93, L1 = 100 WHERE ID = 2");
    rows.load(p.db(), reducedLevelStatement(1, ViewOrder{}, ReducedLevelGroups{}));
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(rows.columnName(rows.columnCount() - 1), "ID");
    EXPECT_EQ(rows.columnIndex("left slope"), rows.columnCount() - 3);
    EXPECT_EQ(rows.table(), "RL_1");
    EXPECT_EQ(QStringList({rows.text(1, c), rows.text(1, rows.columnIndex("L1")), rows.text(0, c)}),
              QStringList({"99.93", "100", ""}));
    EXPECT_TRUE(rows.isNull(0, c));
    EXPECT_EQ(rows.rowOfId(3), 2);
    EXPECT_EQ(rows.rowOfId(99), -1);
    EXPECT_FALSE(rows.editable(rows.columnIndex("ID")));
    EXPECT_TRUE(rows.editable(c));
}

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
    EXPECT_EQ(column("C, FL1"), ",;101.5,99.123;7,");

    rows.setText(1, c, "");
    rows.save(p.db());
    EXPECT_EQ(column("C"), ";;7");

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

TEST_F(Sheet, TextInANumberColumnIsRefusedAndChangesNothing)
{
    load({0, 20});
    rows.setText(0, c, "12");
    try {
        rows.setText(1, c, "12a");
        FAIL() << "text went into a number column";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Data);
        EXPECT_TRUE(e.message().contains("\"12a\" is not a number"));
        EXPECT_TRUE(e.message().contains("column C"));
    }
    EXPECT_EQ(rows.text(1, c), "");
    EXPECT_FALSE(rows.changed(1));
    EXPECT_TRUE(rows.changed(0)); // the other edit is kept
    EXPECT_TRUE(rows.refusal(c, "1e3").isEmpty());

    // Whole-number columns take whole numbers only; text columns any text.
    SheetRows roads;
    roads.load(p.db(), roadDetailsStatement());
    EXPECT_FALSE(roads.refusal(roads.columnIndex("Interval"), "2.5").isEmpty());
    EXPECT_TRUE(roads.refusal(roads.columnIndex("Interval"), "25").isEmpty());
    EXPECT_TRUE(roads.refusal(roads.columnIndex("From"), "any text").isEmpty());
    EXPECT_FALSE(roads.refusal(roads.columnIndex("Cut Factor"), "2.5").isEmpty());
    EXPECT_TRUE(roads.refusal(roads.columnIndex("Cut Factor"), "1.25").isEmpty());
}

TEST_F(Sheet, RemovesRowsByIdAndKeepsOtherEdits)
{
    load({0, 20, 40, 60});
    rows.setText(3, c, "88");
    rows.removeIds(p.db(), {2, 3});
    EXPECT_EQ(column("ID"), "1;4");
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.text(1, 0), "60");
    EXPECT_EQ(rows.text(1, c), "88");
    EXPECT_TRUE(rows.changed(1));
    EXPECT_FALSE(rows.changed(0));
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
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(QStringList({rows.text(0, 0), rows.text(0, 1), rows.text(0, 2)}),
              QStringList({"Pipe 900", "E", "120.5"}));
    EXPECT_EQ(rows.id(0), 1);
    for (int c = 0; c < rows.columnCount(); ++c)
        EXPECT_FALSE(rows.editable(c));
    EXPECT_THROW(rows.removeIds(p.db(), {1}), Error);
    EXPECT_EQ(test::rowCount(p.db(), "Culverts"), 1);

    EXPECT_EQ(tableOfStatement("Select * from Roads"), "Roads");
    EXPECT_EQ(tableOfStatement("Select L1, ID from ChDistance where RoadRef=3"), "ChDistance");
    EXPECT_EQ(tableOfStatement("Select a from Culverts, CulvertTypes where x"), "");
}
