// Commands for roads and their survey sheets: cross distances, generated rows, level books in and
// out, the sample road.
#include "CliSupport.h"
#include "store/Roads.h"
#include "support/CommaLocale.h"
#include "support/TestProject.h"

using namespace tarmela;
using namespace tarmela::test;

TEST(CliRoads, CreateListAndChangeInACommaLocale)
{
    CommaLocale comma;
    CliRun cli;
    ASSERT_TRUE(
        cli.ok({"new-road", "--from", "North", "--to", "South", "--length", "2500", "--interval",
                "25", "--formation-camber", "2.75", "--field1", "Package 1"}));
    EXPECT_EQ(cli.out, "1\n");
    // An option's value that looks like an option is the value.
    ASSERT_TRUE(cli.ok({"new-road", "--from=A", "--to", "-h"}));
    EXPECT_EQ(cli.out, "2\n");
    ASSERT_TRUE(
        cli.ok({"set-road", "2", "--from", "x\n2\tFake\tRoad", "--carriage-camber", "2.5"}));

    // One road is one line.
    ASSERT_TRUE(cli.ok({"roads"}));
    EXPECT_EQ(cli.out, "ID\tFrom\tTo\tLength\tInterval\tFormation Camber\tCarriage Camber\n"
                       "1\tNorth\tSouth\t2500\t25\t2.75\t3.5\n"
                       "2\tx\\n2\\tFake\\tRoad\t-h\t1\t20\t3.5\t2.5\n");
    EXPECT_EQ(roads::get(*cli.open(), 1).fields[0], "Package 1");
}

TEST(CliSurvey, CrossDistancesAreSetOneByOneAndGenerateUsesTheRoadsInterval)
{
    CommaLocale comma;
    CliRun cli;
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B"}));
    ASSERT_TRUE(cli.ok({"cross-distances", "1", "L1=1.5", "R8=2.25", "L2=3"}));
    ASSERT_TRUE(cli.ok({"cross-distances", "1", "R1=1.5"}));
    EXPECT_EQ(cli.out, "L1=1.5 L2=3 L3=0 L4=0 L5=0 L6=0 L7=0 L8=0 R1=1.5 R2=0 R3=0 R4=0 R5=0 "
                       "R6=0 R7=0 R8=2.25\n");

    // Generate uses the road's interval; with --force it replaces the rows of the sheets named.
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B", "--interval", "100"}));
    ASSERT_TRUE(cli.ok({"generate", "2", "--start", "0", "--end", "1050", "--rl", "--lb"}));
    EXPECT_EQ(cli.out, "RL_2: 12 rows\nLB_2: 12 rows\n");
    ASSERT_TRUE(cli.ok({"generate", "2", "--start", "0", "--end", "200", "--lb", "--force"}));
    EXPECT_EQ(cli.out, "LB_2: 3 rows\n");
    EXPECT_EQ(queryText(*cli.open(), "SELECT (SELECT COUNT(*) FROM RL_2), COUNT(*) FROM LB_2"),
              "12 3");
}

TEST(CliSurvey, ImportExportAndReduceALevelBookInACommaLocale)
{
    CommaLocale comma;
    CliRun cli;
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B"}));
    const QString book = cli.dir.filePath("book.csv");
    writeFile(book, "Chainage,BS,C,FS,L1,TopWidth,Remarks\r\n"
                    "0,1.5,1.2,,1.0,3.75,\"BM on parapet, west side\"\r\n"
                    "20,0.8,,2.0,,,\"\"\r\n"
                    "40,,1.1,,,,\r\n");
    ASSERT_TRUE(cli.ok({"import", "1", "lb", book}));
    EXPECT_EQ(cli.out, "LB_1: 0 rows updated, 3 rows added\n");

    // (What reduce prints: CliSurvey.APartlyFilledLevelBookReducesOnlyWhatWasSurveyed.)
    ASSERT_TRUE(cli.ok({"reduce", "1", "--benchmark", "100"}));
    const QString levels = cli.dir.filePath("rl.csv");
    ASSERT_TRUE(cli.ok({"export-csv", "1", "rl", levels}));
    EXPECT_EQ(cli.out, "RL_1: 3 rows written to " + levels + "\n");
    const QList<QByteArray> lines = readFile(levels).split('\n');
    EXPECT_TRUE(lines[0].startsWith("ID,Chainage,L8,L7,L6,L5,L4,L3,L2,L1,C,R1")) << lines[0].data();
    EXPECT_EQ(lines.mid(1),
              (QList<QByteArray>{"1,0,,,,,,,,100.5,100.3,,,,,,,,,,,,,,,3.75,0,,,,,\r",
                                 "2,20,,,,,,,,,99.5,,,,,,,,,,,,,,,3.75,0,,,,,\r",
                                 "3,40,,,,,,,,,99.2,,,,,,,,,,,,,,,3.75,0,,,,,\r", ""}));

    // Empty remarks are empty (null) cells, in the sheet and after a round trip through a file.
    const QString exported = cli.dir.filePath("lb.csv");
    ASSERT_TRUE(cli.ok({"export-csv", "1", "lb", exported}));
    ASSERT_TRUE(cli.ok({"new-road", "--from", "C", "--to", "D"}));
    ASSERT_TRUE(cli.ok({"import", "2", "lb", exported}));
    for (const QString sheet : {"LB_1", "LB_2"})
        EXPECT_EQ(
            queryText(*cli.open(), "SELECT typeof(Remarks), HI FROM " + sheet + " ORDER BY ID"),
            "text 101.5 | null 100.3 | null 100.3")
            << sheet.toStdString();
    // (A bad file: Messages.AreOneShortLineWithTheReason.)
}

TEST(CliSurvey, SampleRoadIsAPlausibleSurvey)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"sample"}));
    EXPECT_EQ(cli.out, "1\n");
    auto db = cli.open();
    EXPECT_EQ(queryText(*db, "SELECT [From], [To], Interval, Length >= 2000, (SELECT L1 > 0 FROM "
                             "ChDistance WHERE RoadRef = 1) FROM Roads"),
              "Ranipur Kalaghat 20 1 1");

    // Every section has a centre level and a formation level, in believable country, with some
    // cutting and some embankment, and a few outer readings that could not be taken; IDs run
    // 1, 2, ... and the level book has a row for each section. Each test below is 1 when true.
    const int rows = db->scalar("SELECT Length / 20 + 1 FROM Roads").toInt();
    EXPECT_EQ(queryText(*db, "SELECT COUNT(*), MAX(ID), COUNT(C), COUNT(FC), COUNT(L1), "
                             "MIN(C) > 90 AND MAX(C) < 115, MIN(FC - C) < 0, "
                             "MAX(FC - C) BETWEEN 0.5 AND 3, COUNT(R8) < COUNT(*), "
                             "MIN(TopWidth) > 0, (SELECT COUNT(*) FROM LB_1) FROM RL_1"),
              QString("%1 %1 %1 %1 %1 1 1 1 1 1 %1").arg(rows).toStdString());
    // The level book has change points, every staff reading fits a 4 m staff held on the
    // ground, and the book closes: sum BS - sum FS = last HI - bench mark.
    EXPECT_EQ(queryText(*db, "SELECT COUNT(*) > 5 FROM LB_1 WHERE FS > 0 AND BS > 0 AND C IS NULL "
                             "UNION ALL SELECT COUNT(*) FROM LB_1 WHERE L1 < 0 OR L1 > 4.5 OR "
                             "C < 0 OR C > 4.5"),
              "1 | 0");
    const double lastHi =
        db->scalar("SELECT HI FROM LB_1 ORDER BY Chainage DESC, ID DESC").toDouble();
    EXPECT_NEAR(db->scalar("SELECT SUM(BS) - SUM(FS) FROM LB_1").toDouble(), lastHi - 100, 1e-6);
    // At least four culverts, each with a picture of its type.
    EXPECT_EQ(queryText(*db, "SELECT COUNT(*) >= 4, COUNT(*) = (SELECT COUNT(*) FROM Culverts JOIN "
                             "CulvertTypes ON CTypeRef = CulvertTypes.ID WHERE ImageFileProposed "
                             "LIKE '%_proposed.png') FROM Culverts"),
              "1 1");

    // The same arguments give the same road; a second sample reuses the culvert types.
    ASSERT_TRUE(cli.ok({"sample"}));
    EXPECT_EQ(cli.out, "2\n");
    db = cli.open();
    EXPECT_EQ(queryText(*db, "SELECT * FROM RL_2"), queryText(*db, "SELECT * FROM RL_1"));
    EXPECT_EQ(rowCount(*db, "CulvertTypes"), 4);

    ASSERT_TRUE(cli.ok({"sample", "--sections", "40"}));
    EXPECT_EQ(rowCount(*cli.open(), "RL_3"), 40);
    EXPECT_EQ(cli({"sample", "--sections", "1"}), 1);
}

// Only the rows of a level book that hold a sight or a reading are reduced; the others leave
// their RL rows as they were (no level is invented where nothing was surveyed), and the road
// keeps the bench mark.
TEST(CliSurvey, APartlyFilledLevelBookReducesOnlyWhatWasSurveyed)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B"}));
    ASSERT_TRUE(cli.ok({"generate", "1", "--start", "0", "--end", "100", "--rl", "--lb"}));
    const QString untouched = "SELECT * FROM RL_1 WHERE Chainage IN (20, 60, 80, 100)";
    auto db = cli.open();
    db->exec("UPDATE LB_1 SET BS = 1.5, C = 1.2, L1 = 1.3, R1 = 1.35 WHERE Chainage = 0");
    db->exec("UPDATE LB_1 SET FS = 1.8, BS = 0.9, C = 1.4 WHERE Chainage = 40");
    db->exec("UPDATE RL_1 SET C = 99, FC = 100 WHERE Chainage = 60");
    const std::string before = queryText(*db, untouched);
    db.reset();
    ASSERT_TRUE(cli.ok({"reduce", "1", "--benchmark", "102.105"}));
    EXPECT_EQ(cli.out, "RL_1: levels reduced from the level book, bench mark 102.105\n"
                       "RL_1: 2 rows reduced, 4 rows without readings left as they were\n");
    db = cli.open();
    EXPECT_EQ(queryText(*db, untouched), before);
    EXPECT_EQ(queryText(*db, "SELECT Chainage, C FROM RL_1 WHERE Chainage IN (0, 40)"),
              "0 102.405 | 40 101.305");
    EXPECT_EQ(queryText(*db, "SELECT Benchmark FROM Roads"), "102.105");

    // The Level Book works from the bench mark of the reduction and names it.
    ASSERT_TRUE(cli.ok({"export", "1", "--dir", cli.dir.filePath("out"), "--level-book"}));
    const QString html = QString::fromUtf8(readFile(cli.out.section('\n', 0, 0)));
    EXPECT_TRUE(html.contains("Bench mark 102.105")) << html.left(300).toStdString();
    EXPECT_TRUE(html.contains("102.405"));
}
