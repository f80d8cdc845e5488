#include "sheets/SheetRows.h"
#include "sheets/SheetStatements.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::sheets;

namespace
{
QString rlStatement(std::int64_t road)
{
    return reducedLevelStatement(road, ViewOrder{}, ReducedLevelGroups{});
}
QVariant cell(Database& db, const QString& sql)
{
    return db.scalar(sql);
}
} // namespace

TEST(SheetRows, LoadsTheStatementsColumnsAndRows)
{
    test::TestProject p;
    const auto road = p.roadWithRows({0, 20, 40});
    p.db().exec("UPDATE RL_" + QString::number(road) + " SET C = 99.93, L1 = 100 WHERE ID = 2");
    SheetRows rows;
    rows.load(p.db(), rlStatement(road));
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(rows.columnName(0), "Chainage");
    EXPECT_EQ(rows.columnName(rows.columnCount() - 1), "ID");
    EXPECT_EQ(rows.columnIndex("left slope"), rows.columnCount() - 3);
    EXPECT_TRUE(rows.updatable());
    EXPECT_EQ(rows.table(), QString("RL_%1").arg(road));
    const int c = rows.columnIndex("C");
    EXPECT_EQ(rows.text(1, c), "99.93");
    EXPECT_EQ(rows.text(1, rows.columnIndex("L1")), "100");
    EXPECT_EQ(rows.text(0, c), "");
    EXPECT_TRUE(rows.isNull(0, c));
    EXPECT_EQ(rows.id(2), 3);
    EXPECT_EQ(rows.rowOfId(3), 2);
    EXPECT_EQ(rows.rowOfId(99), -1);
    EXPECT_FALSE(rows.editable(rows.columnIndex("ID")));
    EXPECT_TRUE(rows.editable(c));
}

TEST(SheetRows, SavesOnlyChangedRowsKeyedById)
{
    test::TestProject p;
    const auto road = p.roadWithRows({0, 20, 40});
    const QString t = "RL_" + QString::number(road);
    SheetRows rows;
    rows.load(p.db(), rlStatement(road));
    const int c = rows.columnIndex("C");
    rows.setText(1, c, " 101.5 ");
    rows.setText(2, c, "");  // already empty: no change
    rows.setText(0, 0, "0"); // same value: no change
    EXPECT_TRUE(rows.changed(1));
    EXPECT_FALSE(rows.changed(0));
    EXPECT_FALSE(rows.changed(2));
    // Someone else writes row 3 meanwhile: an unchanged row is not written over.
    p.db().exec("UPDATE " + t + " SET C = 7 WHERE ID = 3");
    rows.save(p.db());
    EXPECT_FALSE(rows.hasChanges());
    EXPECT_DOUBLE_EQ(cell(p.db(), "SELECT C FROM " + t + " WHERE ID = 2").toDouble(), 101.5);
    EXPECT_DOUBLE_EQ(cell(p.db(), "SELECT C FROM " + t + " WHERE ID = 3").toDouble(), 7);

    rows.setText(1, c, "");
    rows.save(p.db());
    EXPECT_TRUE(cell(p.db(), "SELECT C FROM " + t + " WHERE ID = 2").isNull());
}

TEST(SheetRows, TextInANumberColumnIsRefusedAndChangesNothing)
{
    test::TestProject p;
    const auto road = p.roadWithRows({0, 20});
    SheetRows rows;
    rows.load(p.db(), rlStatement(road));
    const int c = rows.columnIndex("C");
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
    EXPECT_FALSE(rows.refusal(c, "1e3").size());

    // Whole-number columns take whole numbers only.
    roads::create(p.db());
    SheetRows road2;
    road2.load(p.db(), roadDetailsStatement());
    const int interval = road2.columnIndex("Interval");
    EXPECT_FALSE(road2.refusal(interval, "2.5").isEmpty());
    EXPECT_TRUE(road2.refusal(interval, "25").isEmpty());
    EXPECT_TRUE(road2.refusal(road2.columnIndex("From"), "any text").isEmpty());
}

TEST(SheetRows, AFailedSaveWritesNothingAndKeepsTheEdits)
{
    test::TestProject p;
    const auto road = p.roadWithRows({0, 20, 40});
    const QString t = "RL_" + QString::number(road);
    SheetRows rows;
    rows.load(p.db(), rlStatement(road));
    const int c = rows.columnIndex("C");
    rows.setText(0, c, "50");
    rows.setText(2, c, "52");
    // A trigger makes the database refuse the third row.
    p.db().exec("CREATE TRIGGER no_third BEFORE UPDATE ON " + t +
                " WHEN NEW.ID = 3 BEGIN SELECT RAISE(ABORT, 'row refused'); END");
    try {
        rows.save(p.db());
        FAIL() << "the refused save was reported as done";
    } catch (const SaveError& e) {
        EXPECT_EQ(e.row, 2);
        EXPECT_TRUE(e.message.contains("row refused"));
    }
    EXPECT_TRUE(cell(p.db(), "SELECT C FROM " + t + " WHERE ID = 1").isNull());
    EXPECT_TRUE(rows.changed(0));
    EXPECT_TRUE(rows.changed(2));
    p.db().exec("DROP TRIGGER no_third");
    rows.save(p.db());
    EXPECT_DOUBLE_EQ(cell(p.db(), "SELECT C FROM " + t + " WHERE ID = 1").toDouble(), 50);
    EXPECT_DOUBLE_EQ(cell(p.db(), "SELECT C FROM " + t + " WHERE ID = 3").toDouble(), 52);
}

TEST(SheetRows, RemovesRowsByIdAndKeepsOtherEdits)
{
    test::TestProject p;
    const auto road = p.roadWithRows({0, 20, 40, 60});
    const QString t = "RL_" + QString::number(road);
    SheetRows rows;
    rows.load(p.db(), rlStatement(road));
    const int c = rows.columnIndex("C");
    rows.setText(3, c, "88");
    rows.removeIds(p.db(), {2, 3});
    EXPECT_EQ(test::rowCount(p.db(), t), 2);
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
    p.db().exec(QString("INSERT INTO Culverts (RoadRef, CTypeRef, Chainage, EPType) VALUES "
                        "(%1, 1, 120.5, 'E')")
                    .arg(road));
    SheetRows rows;
    rows.load(p.db(), culvertsStatement(road));
    EXPECT_FALSE(rows.updatable());
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.text(0, 0), "Pipe 900");
    EXPECT_EQ(rows.text(0, 1), "E");
    EXPECT_EQ(rows.text(0, 2), "120.5");
    EXPECT_EQ(rows.id(0), 1);
    for (int c = 0; c < rows.columnCount(); ++c)
        EXPECT_FALSE(rows.editable(c));
    EXPECT_THROW(rows.removeIds(p.db(), {1}), Error);
    EXPECT_EQ(test::rowCount(p.db(), "Culverts"), 1);
}

TEST(SheetRows, TableOfAStatement)
{
    EXPECT_EQ(tableOfStatement("Select * from Roads"), "Roads");
    EXPECT_EQ(tableOfStatement("Select C, ID from RL_4 order by Chainage"), "RL_4");
    EXPECT_EQ(tableOfStatement("Select L1, ID from ChDistance where RoadRef=3"), "ChDistance");
    EXPECT_EQ(tableOfStatement("Select a from Culverts, CulvertTypes where x"), "");
}

TEST(SheetRows, ASaveKeepsWhatOthersWroteAndNoticesAVanishedRow)
{
    test::TestProject p;
    const auto road = p.roadWithRows({0, 20});
    const QString t = "RL_" + QString::number(road);
    SheetRows rows;
    rows.load(p.db(), rlStatement(road));
    rows.setText(0, rows.columnIndex("C"), "100.5");
    // The recomputation writes FL1 of the same row after the sheet was read.
    p.db().exec("UPDATE " + t + " SET FL1 = 99.123 WHERE ID = 1");
    rows.save(p.db());
    EXPECT_DOUBLE_EQ(cell(p.db(), "SELECT C FROM " + t + " WHERE ID = 1").toDouble(), 100.5);
    EXPECT_DOUBLE_EQ(cell(p.db(), "SELECT FL1 FROM " + t + " WHERE ID = 1").toDouble(), 99.123);

    // A row deleted elsewhere: the edit can't land, and the save says so.
    rows.setText(1, rows.columnIndex("C"), "7");
    p.db().exec("DELETE FROM " + t + " WHERE ID = 2");
    try {
        rows.save(p.db());
        FAIL() << "an edit of a vanished row was reported as saved";
    } catch (const SaveError& e) {
        EXPECT_EQ(e.row, 1);
        EXPECT_TRUE(e.message.contains("no longer in the database"));
    }
    EXPECT_TRUE(rows.hasChanges());
}
