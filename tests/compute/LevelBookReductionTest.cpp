#include "compute/LevelBookReduction.h"
#include "compute/ReportContent.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using LevelBookReduction = ProjectTest;

namespace
{

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

// The book below, rows 1..13 every 30 m.
void textbookBook(Database& db)
{
    const char* readings[13][3] = {
        {"0.855", "0.855", ""}, {"", "1.545", ""}, {"", "2.335", ""}, {"", "3.115", ""},
        {"0.455", "", "3.825"}, {"", "1.380", ""}, {"", "2.055", ""}, {"", "2.855", ""},
        {"0.585", "", "3.455"}, {"", "1.015", ""}, {"", "1.850", ""}, {"", "2.755", ""},
        {"", "", "3.845"}};
    for (int k = 0; k < 13; ++k)
        book(db, k + 1, 30 * k, readings[k][0], readings[k][1], readings[k][2]);
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
TEST_F(LevelBookReduction, TextbookLevelBookByHeightOfInstrumentAndItsClosingError)
{
    roads::create(db);
    // The same book closed on B. Setups: 1 from A, 2 from CP 1's back sight, 3 from CP 2's; B's
    // fore sight is read from setup 3 (N = 3). K = 0.360 km, allowance 12 x 0.6 = 7.2 mm.
    // Closing on 371.262: e = +0.008, outside; distributed, setup k takes -0.008 k / 3 (CP 1's own
    // level from setup 1, CP 2's from setup 2). On 371.265: e = +0.005, within.
    struct Case {
        double closing;
        bool distribute;
        const char* lastRow; // SQL changing B's row, or nothing
        const char* levels;  // the RL sheet's C afterwards, or "" when refused
        const char* closingLine;
    } cases[] = {
        {371.262, true, "",
         "380.497 | 379.807 | 379.017 | 378.237 | 377.527 | 376.6 | 375.925 | 375.125 | "
         "374.525 | 374.092 | 373.257 | 372.352 | 371.262",
         "Closing error +0.008 m on bench mark 371.262; allowance 12 \u221aK = 0.007 m over "
         "0.360 km: outside the allowance"},
        {371.265, false, "",
         "380.5 | 379.81 | 379.02 | 378.24 | 377.53 | 376.605 | 375.93 | 375.13 | 374.53 | "
         "374.1 | 373.265 | 372.36 | 371.27",
         "Closing error +0.005 m on bench mark 371.265; allowance 12 \u221aK = 0.007 m over "
         "0.360 km: within the allowance"},
        {371.262, true, "UPDATE LB_1 SET FS = NULL, C = 3.845 WHERE ID = 13", "", ""},
    };
    for (const Case& c : cases) {
        db.exec("DELETE FROM LB_1");
        db.exec("DELETE FROM RL_1");
        textbookBook(db);
        if (*c.lastRow)
            db.exec(QString::fromLatin1(c.lastRow));
        SCOPED_TRACE(c.closing);
        try {
            const ReductionCounts r = ConvertLevelBookToRL(db, 1, 380.5, {c.closing, c.distribute});
            EXPECT_EQ(closingErrorLine(r.check), QString::fromUtf8(c.closingLine));
            EXPECT_EQ(r.check.setups, 3);
        } catch (const Error& e) {
            EXPECT_STREQ(c.levels, "") << e.message().toStdString();
        }
        EXPECT_EQ(queryText(db, "SELECT C FROM RL_1 ORDER BY Chainage, ID"), c.levels);
        if (!*c.levels)
            continue;
        // The RL sheet was empty: rows were made with IDs 1, 2, ... in chainage order.
        EXPECT_EQ(queryText(db, "SELECT COUNT(*) FROM RL_1 WHERE ID = 1 + Chainage / 30"), "13");
        EXPECT_EQ(queryText(db, "SELECT HI FROM LB_1 WHERE ID IN (4, 5, 12) ORDER BY ID"),
                  "381.355 | 377.985 | 375.115");
        // The Level Book ends with the same check, from what the road remembers.
        const QStringList check = arithmeticCheckLines(LevelBookContent(db, 1, 0), QLocale::c());
        EXPECT_EQ(check.mid(1).join('\n'),
                  QString::fromUtf8("\u03a3BS \u2212 \u03a3FS = -9.230; last HI \u2212 bench "
                                    "mark = -9.230: the arithmetic checks\n") +
                      QString::fromUtf8(c.closingLine) + '\n' +
                      (c.distribute ? QStringLiteral("Correction -e \u00d7 k / N over 3 setups, "
                                                     "-0.008 m at the closing bench mark")
                                    : QStringLiteral("No correction applied")));
    }
}

TEST_F(LevelBookReduction, ChangePointsMissingReadingsAndWidths)
{
    p.roadWithRows({0, 20, 40, 60, 80});
    db.exec("UPDATE RL_1 SET FC = 102.5, L8 = 1, R5 = 2, [Fill Area] = 4.5");
    db.exec("INSERT INTO RL_1 (ID, Chainage, C) VALUES (9, 500, 77)"); // not in the book

    book(db, 1, 0, "1.5", "1.2", "", "TopWidth = 3.75, BottomWidth = 6, L1 = 1.4, R2 = 0.9");
    // A change point: its level from the instrument before the change.
    book(db, 2, 20, "0.8", "", "2.0", "L1 = 1.0");
    // Fore sight, back sight and a centre reading: the centre from the new instrument.
    book(db, 3, 40, "1.1", "0.6", "0.4");
    // Nothing at all: nothing was surveyed there, and the RL row stays as it was.
    book(db, 4, 60, "", "", "", "Remarks = 'dry'");
    // A negative reading (a staff held upside down under a bridge soffit) is a reading; a back
    // sight of 0 or below leaves the instrument where it was.
    book(db, 5, 80, "-0.3", "-1.25", "0", "TopWidth = 5.5");
    // A chainage the RL sheet lacks: its row takes the next ID.
    book(db, 6, 100, "", "0.5", "");

    const ReductionCounts counts = ConvertLevelBookToRL(db, 1, 100);
    EXPECT_EQ(reductionSummary(counts), "5 rows reduced, 1 row without readings left as it was");

    // L1 at 20 is read from the new instrument at 100.3; L8 and R5 are replaced by the book's
    // blanks; the widths carry on to the rows that leave them blank. FC and Fill Area are not
    // the reduction's and stay, and so do the row at 60, where nothing was read, and the row
    // at 500, which is not in the book.
    EXPECT_EQ(queryText(db, "SELECT Chainage, C, L1, R2, L8, R5, TopWidth, BottomWidth, FC, "
                            "[Fill Area], ID FROM RL_1 ORDER BY Chainage, ID"),
              "0 100.3 100.1 100.6 null null 3.75 6 102.5 4.5 1 | "
              "20 99.5 99.3 null null null 3.75 6 102.5 4.5 2 | "
              "40 100.4 null null null null 3.75 6 102.5 4.5 3 | "
              "60 null null null 1 2 null null 102.5 4.5 4 | "
              "80 102.25 null null null null 5.5 6 102.5 4.5 5 | "
              "100 100.5 null null null null 5.5 6 null null 10 | "
              "500 77 null null null null null null null null 9");
    EXPECT_EQ(queryText(db, "SELECT HI FROM LB_1 ORDER BY ID"),
              "101.5 | 100.3 | 101 | 101 | 101 | 101");
}

TEST_F(LevelBookReduction, AFailurePartWayLeavesBothSheetsAsTheyWere)
{
    p.roadWithRows({0, 20, 40});
    db.exec("UPDATE RL_1 SET C = 10");
    for (int k = 0; k < 4; ++k)
        book(db, k + 1, 20 * k, k ? "" : "1", "1", "");
    // The third row's save is refused, after two rows have been written.
    db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON RL_1 WHEN OLD.Chainage = 40 "
            "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");

    auto e = thrown([&] { ConvertLevelBookToRL(db, 1, 100); });
    ASSERT_TRUE(e) << "the reduction reported success";
    EXPECT_TRUE(e->message().contains("the disk is full")) << e->message().toStdString();
    const QString untouched = "SELECT C, (SELECT COUNT(HI) FROM LB_1) FROM RL_1";
    EXPECT_EQ(queryText(db, untouched), "10 0 | 10 0 | 10 0");

    // A book row without a chainage is named, and nothing is written either.
    db.exec("DROP TRIGGER refuse");
    db.exec("INSERT INTO LB_1 (ID, Chainage, C) VALUES (5, NULL, 1)");
    e = thrown([&] { ConvertLevelBookToRL(db, 1, 100); });
    ASSERT_TRUE(e) << "a row without a chainage was accepted";
    EXPECT_TRUE(e->message().contains("ID 5")) << e->message().toStdString();
    EXPECT_EQ(queryText(db, untouched), "10 0 | 10 0 | 10 0");
}
