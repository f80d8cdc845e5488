#include "compute/LevelBookReduction.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <QSqlQuery>
#include <QVariant>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace {

QVariant rl(Database& db, double chainage, const QString& column)
{
    return db.scalar("SELECT [" + column +
                     "] FROM RL_1 WHERE Chainage = " + QString::number(chainage));
}

// A level book row; an empty text is a blank cell.
void book(Database& db, int id, double chainage, const QString& bs, const QString& c,
          const QString& fs, const QString& extra = {})
{
    auto v = [](const QString& t) { return t.isEmpty() ? QStringLiteral("NULL") : t; };
    db.exec(QStringLiteral("INSERT INTO LB_1 (ID, Chainage, BS, C, FS) VALUES (%1, %2, %3, %4, %5)")
                .arg(id)
                .arg(chainage)
                .arg(v(bs), v(c), v(fs)));
    if (!extra.isEmpty())
        db.exec("UPDATE LB_1 SET " + extra + " WHERE ID = " + QString::number(id));
}

} // namespace

// Consecutive staff readings on continuously falling ground at 30 m, level with a 4 m staff,
// the first on A (RL 380.500) and the last on B; the change points are where a reading would
// run off the staff. Worked by the height of instrument method:
//   A      BS 0.855                  HI 381.355  RL 380.500
//   30..90 IS 1.545 2.335 3.115                  RL 379.810 379.020 378.240
//   120    FS 3.825  BS 0.455        HI 377.985  RL 377.530 (CP 1)
//   150..210 IS 1.380 2.055 2.855                RL 376.605 375.930 375.130
//   240    FS 3.455  BS 0.585        HI 375.115  RL 374.530 (CP 2)
//   270..330 IS 1.015 1.850 2.755                RL 374.100 373.265 372.360
//   B 360  FS 3.845                              RL 371.270
// Check: sum BS - sum FS = 1.895 - 11.125 = -9.230 = 371.270 - 380.500.
TEST(LevelBookReduction, TextbookLevelBookByHeightOfInstrument)
{
    TestProject p;
    Database& db = p.db();
    roads::create(db);
    book(db, 1, 0, "0.855", "0.855", "");
    book(db, 2, 30, "", "1.545", "");
    book(db, 3, 60, "", "2.335", "");
    book(db, 4, 90, "", "3.115", "");
    book(db, 5, 120, "0.455", "", "3.825");
    book(db, 6, 150, "", "1.380", "");
    book(db, 7, 180, "", "2.055", "");
    book(db, 8, 210, "", "2.855", "");
    book(db, 9, 240, "0.585", "", "3.455");
    book(db, 10, 270, "", "1.015", "");
    book(db, 11, 300, "", "1.850", "");
    book(db, 12, 330, "", "2.755", "");
    book(db, 13, 360, "", "", "3.845");

    ConvertLevelBookToRL(db, 1, 380.5);

    const double expected[] = {380.500, 379.810, 379.020, 378.240, 377.530, 376.605, 375.930,
                               375.130, 374.530, 374.100, 373.265, 372.360, 371.270};
    for (int k = 0; k < 13; ++k)
        EXPECT_EQ(rl(db, 30 * k, "C").toDouble(), expected[k]) << "chainage " << 30 * k;
    EXPECT_EQ(db.scalar("SELECT HI FROM LB_1 WHERE Chainage = 90").toDouble(), 381.355);
    EXPECT_EQ(db.scalar("SELECT HI FROM LB_1 WHERE Chainage = 120").toDouble(), 377.985);
    EXPECT_EQ(db.scalar("SELECT HI FROM LB_1 WHERE Chainage = 330").toDouble(), 375.115);

    // The arithmetic check of the book holds on what was written.
    const double sumBs = db.scalar("SELECT SUM(BS) FROM LB_1").toDouble();
    const double sumFs = db.scalar("SELECT SUM(FS) FROM LB_1").toDouble();
    EXPECT_NEAR(sumBs - sumFs, rl(db, 360, "C").toDouble() - rl(db, 0, "C").toDouble(), 1e-9);

    // The RL sheet was empty: rows were made with IDs 1, 2, ... in chainage order.
    EXPECT_EQ(rowCount(db, "RL_1"), 13);
    EXPECT_EQ(rl(db, 360, "ID").toInt(), 13);
}

TEST(LevelBookReduction, ChangePointsMissingReadingsAndWidths)
{
    TestProject p;
    Database& db = p.db();
    p.roadWithRows({0, 20, 40, 60, 80});
    db.exec("UPDATE RL_1 SET FC = 102.5, L8 = 1, R5 = 2, [Fill Area] = 4.5");
    db.exec("INSERT INTO RL_1 (ID, Chainage, C) VALUES (9, 500, 77)"); // not in the book

    book(db, 1, 0, "1.5", "1.2", "", "TopWidth = 3.75, BottomWidth = 6, L1 = 1.4, R2 = 0.9");
    // A change point: its level from the instrument before the change.
    book(db, 2, 20, "0.8", "", "2.0", "L1 = 1.0");
    // Fore sight, back sight and a centre reading: the centre from the new instrument.
    book(db, 3, 40, "1.1", "0.6", "0.4");
    // Nothing at all: centre at the instrument height, readings empty.
    book(db, 4, 60, "", "", "", "Remarks = 'dry'");
    // A negative reading (a staff held upside down under a bridge soffit) is a reading; a back
    // sight of 0 or below leaves the instrument where it was.
    book(db, 5, 80, "-0.3", "-1.25", "0", "TopWidth = 5.5");

    ConvertLevelBookToRL(db, 1, 100);

    EXPECT_EQ(rl(db, 0, "C").toDouble(), 100.3);
    EXPECT_EQ(rl(db, 0, "L1").toDouble(), 100.1);
    EXPECT_EQ(rl(db, 0, "R2").toDouble(), 100.6);
    EXPECT_TRUE(rl(db, 0, "L8").isNull()); // replaced by the book's blank
    EXPECT_TRUE(rl(db, 0, "R5").isNull());
    EXPECT_EQ(db.scalar("SELECT HI FROM LB_1 WHERE ID = 1").toDouble(), 101.5);

    EXPECT_EQ(rl(db, 20, "C").toDouble(), 99.5);
    EXPECT_EQ(rl(db, 20, "L1").toDouble(), 99.3); // read from the new instrument at 100.3
    EXPECT_EQ(db.scalar("SELECT HI FROM LB_1 WHERE ID = 2").toDouble(), 100.3);

    EXPECT_EQ(db.scalar("SELECT HI FROM LB_1 WHERE ID = 3").toDouble(), 101.0);
    EXPECT_EQ(rl(db, 40, "C").toDouble(), 100.4);

    EXPECT_EQ(rl(db, 60, "C").toDouble(), 101.0);
    EXPECT_TRUE(rl(db, 60, "L1").isNull());

    EXPECT_EQ(rl(db, 80, "C").toDouble(), 102.25);
    EXPECT_EQ(db.scalar("SELECT HI FROM LB_1 WHERE ID = 5").toDouble(), 101.0);

    // Widths carry on to the rows that leave them blank.
    EXPECT_EQ(rl(db, 0, "TopWidth").toDouble(), 3.75);
    EXPECT_EQ(rl(db, 60, "TopWidth").toDouble(), 3.75);
    EXPECT_EQ(rl(db, 60, "BottomWidth").toDouble(), 6.0);
    EXPECT_EQ(rl(db, 80, "TopWidth").toDouble(), 5.5);
    EXPECT_EQ(rl(db, 80, "BottomWidth").toDouble(), 6.0);

    // Columns the reduction does not own are left alone, and so are rows outside the book.
    EXPECT_EQ(rl(db, 40, "FC").toDouble(), 102.5);
    EXPECT_EQ(rl(db, 40, "Fill Area").toDouble(), 4.5);
    EXPECT_EQ(rl(db, 500, "C").toDouble(), 77.0);
    EXPECT_EQ(rowCount(db, "RL_1"), 6);
    // Levels are written to the millimetre.
    EXPECT_EQ(db.scalar("SELECT typeof(C) FROM RL_1 WHERE ID = 1").toString(), "real");
}

TEST(LevelBookReduction, ChainagesMissingFromTheRlSheetGetTheNextIds)
{
    TestProject p;
    Database& db = p.db();
    p.roadWithRows({0, 40});
    db.exec("UPDATE RL_1 SET ID = 7 WHERE Chainage = 40");
    book(db, 1, 0, "1", "1", "");
    book(db, 2, 20, "", "1.5", "");
    book(db, 3, 40, "", "2", "");
    book(db, 4, 60, "", "0.5", "");

    ConvertLevelBookToRL(db, 1, 50);

    EXPECT_EQ(rl(db, 20, "ID").toInt(), 8);
    EXPECT_EQ(rl(db, 60, "ID").toInt(), 9);
    EXPECT_EQ(rl(db, 40, "ID").toInt(), 7);
    EXPECT_EQ(rl(db, 20, "C").toDouble(), 49.5);
    EXPECT_EQ(rl(db, 60, "C").toDouble(), 50.5);
    EXPECT_EQ(rowCount(db, "RL_1"), 4);
}

TEST(LevelBookReduction, AFailurePartWayLeavesBothSheetsAsTheyWere)
{
    TestProject p;
    Database& db = p.db();
    p.roadWithRows({0, 20, 40});
    db.exec("UPDATE RL_1 SET C = 10");
    book(db, 1, 0, "1", "1", "");
    book(db, 2, 20, "", "1", "");
    book(db, 3, 40, "", "1", "");
    book(db, 4, 60, "", "1", "");
    // The third row's save is refused, after two rows have been written.
    db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON RL_1 WHEN OLD.Chainage = 40 "
            "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");

    try {
        ConvertLevelBookToRL(db, 1, 100);
        FAIL() << "the reduction reported success";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains("the disk is full")) << e.message().toStdString();
    }
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM RL_1 WHERE C = 10").toInt(), 3);
    EXPECT_EQ(rowCount(db, "RL_1"), 3);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM LB_1 WHERE HI IS NOT NULL").toInt(), 0);

    // A book row without a chainage is named, and nothing is written either.
    db.exec("DROP TRIGGER refuse");
    db.exec("INSERT INTO LB_1 (ID, Chainage, C) VALUES (5, NULL, 1)");
    try {
        ConvertLevelBookToRL(db, 1, 100);
        FAIL() << "a row without a chainage was accepted";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains("ID 5")) << e.message().toStdString();
    }
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM RL_1 WHERE C = 10").toInt(), 3);

    EXPECT_THROW(ConvertLevelBookToRL(db, 42, 100), Error);
}
