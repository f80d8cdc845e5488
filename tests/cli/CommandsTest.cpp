// Commands that do what they are asked: roads, survey sheets, quantities, design, mass haul and
// exports.
#include "CliSupport.h"
#include "compute/EarthworkQuantities.h"
#include "drawing/MassHaulDiagram.h"
#include "export/DxfTestSupport.h"
#include "export/ExportOutputs.h"
#include "export/MassHaulDxf.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "support/CommaLocale.h"
#include "support/TestProject.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <functional>
#include <map>

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
    ASSERT_TRUE(cli.ok({"new-road", "--from=A", "--to=B"}));
    EXPECT_EQ(cli.out, "2\n");
    ASSERT_TRUE(cli.ok({"set-road", "2", "--to", "C", "--carriage-camber", "2.5"}));

    ASSERT_TRUE(cli.ok({"roads"}));
    EXPECT_EQ(cli.out, "ID\tFrom\tTo\tLength\tInterval\tFormation Camber\tCarriage Camber\n"
                       "1\tNorth\tSouth\t2500\t25\t2.75\t3.5\n"
                       "2\tA\tC\t1\t20\t3.5\t2.5\n");
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
    ASSERT_GE(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith("ID,Chainage,L8,L7,L6,L5,L4,L3,L2,L1,C,R1")) << lines[0].data();
    EXPECT_EQ(lines[1], "1,0,,,,,,,,100.5,100.3,,,,,,,,,,,,,,,3.75,0,,,,,\r");
    EXPECT_EQ(lines[2], "2,20,,,,,,,,,99.5,,,,,,,,,,,,,,,3.75,0,,,,,\r");
    EXPECT_EQ(lines[3], "3,40,,,,,,,,,99.2,,,,,,,,,,,,,,,3.75,0,,,,,\r");

    // Empty remarks are empty (null) cells, in the sheet and after a round trip through a file.
    const QString exported = cli.dir.filePath("lb.csv");
    ASSERT_TRUE(cli.ok({"export-csv", "1", "lb", exported}));
    ASSERT_TRUE(cli.ok({"new-road", "--from", "C", "--to", "D"}));
    ASSERT_TRUE(cli.ok({"import", "2", "lb", exported}));
    for (const char* sheet : {"LB_1", "LB_2"})
        EXPECT_EQ(queryText(*cli.open(), QStringLiteral("SELECT typeof(Remarks), HI FROM %1 "
                                                        "ORDER BY ID")
                                             .arg(sheet)),
                  "text 101.5 | null 100.3 | null 100.3")
            << sheet;
    // (A bad file: Messages.AreOneShortLineWithTheReason.)
}

TEST(CliSurvey, SampleRoadIsAPlausibleSurvey)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"sample"}));
    EXPECT_EQ(cli.out, "1\n");
    auto db = cli.open();
    const Road road = roads::get(*db, 1);
    EXPECT_EQ(queryText(*db, "SELECT [From], [To], Interval, Length >= 2000 FROM Roads"),
              "Ranipur Kalaghat 20 1");
    EXPECT_GT(roads::crossDistances(*db, 1).left[0], 0);

    // Every section has a centre level and a formation level, in believable country, with some
    // cutting and some embankment, and a few outer readings that could not be taken; IDs run
    // 1, 2, ... and the level book has a row for each section. Each test below is 1 when true.
    const long long rows = road.length / 20 + 1;
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
    const double lastHi = db->scalar("SELECT HI FROM LB_1 ORDER BY Chainage DESC").toDouble();
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
    std::string before;
    {
        auto db = cli.open();
        db->exec("UPDATE LB_1 SET BS = 1.5, C = 1.2, L1 = 1.3, R1 = 1.35 WHERE Chainage = 0");
        db->exec("UPDATE LB_1 SET FS = 1.8, BS = 0.9, C = 1.4 WHERE Chainage = 40");
        db->exec("UPDATE RL_1 SET C = 99, FC = 100 WHERE Chainage = 60");
        before = queryText(*db, untouched);
    }
    ASSERT_TRUE(cli.ok({"reduce", "1", "--benchmark", "102.105"}));
    EXPECT_EQ(cli.out, "RL_1: levels reduced from the level book, bench mark 102.105\n"
                       "RL_1: 2 rows reduced, 4 rows without readings left as they were\n");
    auto db = cli.open();
    EXPECT_EQ(queryText(*db, untouched), before);
    EXPECT_EQ(queryText(*db, "SELECT Chainage, C FROM RL_1 WHERE Chainage IN (0, 40)"),
              "0 102.405 | 40 101.305");
    EXPECT_EQ(queryText(*db, "SELECT Benchmark FROM Roads"), "102.105");
}

namespace
{
struct CliExport : ::testing::Test {
    CliRun cli;
    QString dir = cli.dir.filePath("Out");
    QString folder = dir + "/North to South/";
    QLocale previous;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(cli.ok({"new-road", "--from", "North", "--to", "South", "--length", "1100"}));
        auto db = cli.open();
        for (const char* sheet :
             {"RL_1 (ID, Chainage, C, [Fill Area])", "LB_1 (ID, Chainage, C, BS)"})
            db->exec(QStringLiteral("INSERT INTO %1 VALUES (1, 900, 1.25, 1234.5), "
                                    "(2, 1000, 1.25, 1234.5), (3, 1100, 1.25, 1234.5)")
                         .arg(sheet));
    }
    void TearDown() override { QLocale::setDefault(previous); }
};

struct CliGrade : CliFlatRoad {
    std::string fc() { return queryText(*cli.open(), "SELECT FC FROM RL_1 ORDER BY Chainage"); }
    std::string pvis()
    {
        return queryText(*cli.open(), "SELECT Chainage, Level, CurveLength FROM "
                                      "VerticalAlignment ORDER BY Chainage");
    }
    const QStringList crest{"grade",        "1",     "--pvi",   "900:101", "--pvi",
                            "1000:103:100", "--pvi", "1100:101"};
};
using CliFormation = CliGrade;
} // namespace

TEST_F(CliExport, WritesTheNamedReportsAndPrintsTheirPaths)
{
    ASSERT_TRUE(cli.ok(
        {"--set", "ViewSections=2", "export", "1", "--dir", dir, "--earthwork", "--level-book"}));
    EXPECT_EQ(cli.out, folder + "Level Book.htm\n" + folder + "Earthwork Report.htm\n");
    EXPECT_TRUE(cli.err.isEmpty());

    const QString earthwork = QString::fromUtf8(readFile(folder + "Earthwork Report.htm"));
    // Two readings per side and the locale's grouping.
    EXPECT_TRUE(earthwork.contains("<td><b>Chain</b></td><td><b>L2</b></td><td><b>L1</b></td>"
                                   "<td><b>C</b></td><td><b>R1</b></td><td><b>R2</b></td>"
                                   "<td><b>FC</b></td>"));
    EXPECT_TRUE(earthwork.contains("<td>1,234.500</td>")) << earthwork.toStdString();
}

TEST_F(CliExport, EveryOutputWhenNoneIsNamedAndFailuresGoToStandardError)
{
    // The program folder has no Fonts/ARFONT8.fl: the printed reports are refused by name.
    EXPECT_EQ(cli({"export", "1", "--dir", dir, "--pdf"}), 2);
    EXPECT_TRUE(cli.err.contains("Level Book (PDF)") && cli.err.contains("ARFONT8.fl"))
        << cli.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir));
    // No drawing templates beside the program yet: the drawings fail, and the export, which
    // made the folders, takes them away again with the reports it wrote.
    EXPECT_EQ(cli({"export", "1", "--dir", dir}), 2);
    const QString reports = folder + "Level Book.htm\n" + folder + "Earthwork Report.htm\n";
    EXPECT_EQ(cli.out, "");
    const QStringList failed = cli.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(failed.size(), 5) << cli.err.toStdString();
    EXPECT_EQ(failed[0], "tarmela-cli: Level Book (Html): not kept, as the export failed");
    EXPECT_TRUE(failed[2].startsWith("tarmela-cli: Longitudinal Section (DXF): "));
    EXPECT_TRUE(failed[3].startsWith("tarmela-cli: Cross Section (DXF): "));
    EXPECT_TRUE(failed[3].contains("HeaderX.dxf")) << failed[3].toStdString();
    EXPECT_TRUE(failed[4].startsWith("tarmela-cli: Mass Haul (DXF): "));
    EXPECT_FALSE(QFileInfo::exists(dir));

    // The program folder's Data/ holds the templates; the build puts them beside the programs.
    const QDir built(QCoreApplication::applicationDirPath() + "/Data");
    QDir().mkpath(cli.dir.filePath("Data"));
    for (const char* name : {"HeaderL.dxf", "HeaderX.dxf"})
        ASSERT_TRUE(QFile::copy(built.filePath(name), cli.dir.filePath("Data/") + name));
    EXPECT_TRUE(cli.ok({"export", "1", "--dir", dir}));
    EXPECT_EQ(cli.out, reports + folder + "LSection.dxf\n" + folder + "XSection.dxf\n" + folder +
                           "MassHaul.dxf\n");
    for (const QString& path : cli.out.split('\n', Qt::SkipEmptyParts))
        EXPECT_GT(QFileInfo(path).size(), 0) << path.toStdString();
}

TEST_F(CliExport, MistakesAndAFailedReportKeepOnlyAFolderThatWasThere)
{
    // (A folder that cannot be made: Messages.AreOneShortLineWithTheReason.) A file where the
    // road's folder would be is named as such and kept.
    QDir().mkpath(dir);
    writeFile(folder.chopped(1), "kept");
    EXPECT_EQ(cli({"export", "1", "--dir", dir, "--earthwork"}), 2);
    EXPECT_TRUE(cli.err.contains("a file of that name is in the way")) << cli.err.toStdString();
    EXPECT_EQ(readFile(folder.chopped(1)), "kept");
    QDir(dir).removeRecursively();

    cli.open()->exec("DROP TABLE RL_1");
    const QStringList args{"export", "1", "--dir", dir, "--level-book", "--earthwork"};
    EXPECT_EQ(cli(args), 2);
    EXPECT_EQ(cli.out, "");
    EXPECT_TRUE(cli.err.contains("Earthwork Report (Html)")) << cli.err.toStdString();
    EXPECT_TRUE(cli.err.contains("RL_1"));
    EXPECT_FALSE(QFileInfo::exists(dir));
    // In the road's folder of an earlier export, each output written whole stays.
    markRoadFolder(folder, cli.project);
    EXPECT_EQ(cli(args), 2);
    EXPECT_EQ(cli.out, folder + "Level Book.htm\n");
}

TEST_F(CliExport, EveryOutputIsChosenByItsOwnOptionsAndWritten)
{
    // The program folder with what the writers read: the drawing templates, the widths.
    const QDir built(QCoreApplication::applicationDirPath());
    for (const char* name : {"Data/HeaderL.dxf", "Data/HeaderX.dxf", "Fonts/ARFONT8.fl"}) {
        QDir().mkpath(QFileInfo(cli.dir.filePath(name)).path());
        ASSERT_TRUE(QFile::copy(built.filePath(name), cli.dir.filePath(name))) << name;
    }
    const std::map<OutputKind, QByteArray> start{{OutputKind::HtmlReport, "<!DOCTYPE html>"},
                                                 {OutputKind::PdfPages, "%PDF-"},
                                                 {OutputKind::DxfDrawing, "  0\r\nSECTION"}};
    for (const ExportOutput& o : exportOutputs()) {
        SCOPED_TRACE(o.id);
        QStringList args{"export", "1", "--dir", dir, o.cliFlag};
        if (o.kind == OutputKind::PdfPages)
            args << "--pdf";
        ASSERT_EQ(cli(args), 0) << cli.err.toStdString();
        EXPECT_EQ(cli.out, folder + o.fileName + "\n");
        EXPECT_TRUE(readFile(folder + o.fileName).startsWith(start.at(o.kind)));
    }
}

// An export writes only inside the folder it is given, whatever links stand in its way.
TEST_F(CliFlatRoad, AnExportNeitherFollowsLinksNorTakesOverAFolder)
{
    const QString out = cli.dir.filePath("out"), road = out + "/Ana to Bel";
    const QString elsewhere = cli.dir.filePath("elsewhere");
    QDir().mkpath(elsewhere);
    writeFile(elsewhere + "/keep.htm", "someone else's");
    const struct {
        const char* what;
        std::function<void()> arrange;
        int status;
        const char* message;
    } cases[] = {
        {"the road's folder is a link",
         [&] {
             QDir().mkpath(out);
             QFile::link(elsewhere, road);
         },
         2, "is a link"},
        {"an output is a link",
         [&] {
             markRoadFolder(road, cli.project);
             QFile::link(elsewhere + "/keep.htm", road + "/Level Book.htm");
         },
         2, "is a link"},
    };
    for (const auto& c : cases) {
        QDir(out).removeRecursively();
        c.arrange();
        const std::string before = folderState(cli.dir.path());
        const std::string elsewhereBefore = folderState(elsewhere);
        EXPECT_EQ(cli({"export", "1", "--dir", out, "--level-book"}), c.status) << c.what;
        EXPECT_TRUE(cli.err.contains(c.message)) << c.what << cli.err.toStdString();
        EXPECT_EQ(folderState(elsewhere), elsewhereBefore) << c.what;
        EXPECT_EQ(folderState(cli.dir.path()), before) << c.what;
    }

    // A folder of that name holding other files, and no road's mark, is left to its owner.
    QDir(out).removeRecursively();
    QDir().mkpath(road);
    writeFile(road + "/Level Book.htm", "mine");
    ASSERT_TRUE(cli.ok({"export", "1", "--dir", out, "--level-book"}));
    EXPECT_EQ(readFile(road + "/Level Book.htm"), "mine");
    EXPECT_EQ(cli.out, road + " (road 1)/Level Book.htm\n");
    EXPECT_TRUE(cli.err.contains("note: ")) << cli.err.toStdString();
}

using CliRecompute = CliFlatRoad;

TEST_F(CliRecompute, PrintsTheKilometreTableAndTheTotals)
{
    ASSERT_TRUE(cli.ok({"recompute", "1"}));
    EXPECT_EQ(cli.out, "Km\tFilling\tCutting\tTotal\n"
                       "1\t2,150.00\t0.00\n"
                       "2\t1,500.00\t1,500.00\n"
                       "ALL\t3,650.00\t1,500.00\t5,150.00\n"
                       "Ana To Bel\n"
                       "Filling = 3,650.00 Cum\n"
                       "Cutting = 1,500.00 Cum\n"
                       "Total = 5,150.00 Cum\n"
                       "Volumes by average end areas\n");
    EXPECT_EQ(cli.open()->scalar("SELECT [Cut Area] FROM RL_1 WHERE ID = 3").toDouble(), 30);
    ASSERT_TRUE(cli.ok({"--set", "VolumeFormula=1", "recompute", "1"}));
    EXPECT_TRUE(cli.out.endsWith("Volumes by the prismoidal rule\n")) << cli.out.toStdString();
}

TEST_F(CliRecompute, JsonNumbersReadBackAsTheComputedValues)
{
    // (The shape: ProjectVersion and CliRecompute.LongGapsAreListedAndErrorsGoToStandardError.)
    // Awkward numbers: the printed text reads back as exactly the computed value.
    {
        auto db = cli.open();
        db->exec("UPDATE RL_1 SET Chainage = 907.3 WHERE ID = 1");
        db->exec("UPDATE RL_1 SET FC = 101.037 WHERE ID = 2");
        db->exec("UPDATE ChDistance SET L1 = 1.1, L2 = 1.1, L3 = 1.1, L4 = 1.1, L5 = 1.1, "
                 "R1 = 1.3, R2 = 1.3, R3 = 1.3, R4 = 1.3, R5 = 1.3, R6 = 1.3 WHERE RoadRef = 1");
    }
    ASSERT_TRUE(cli.ok({"--set", "QuantityCalcMethod=2", "recompute", "--json", "1"}));
    const QJsonObject o = QJsonDocument::fromJson(cli.out.toUtf8()).object();
    EXPECT_EQ(o["method"].toInt(), 2) << cli.out.toStdString();

    EarthworkInputs in;
    in.road = 1;
    in.method = 2;
    in.formationCamber = in.carriageCamber = 0;
    const VolumeSummary v = UpdateEarthworkQuantities(*cli.open(), in).volumes;
    ASSERT_EQ(v.kilometres.size(), 2u);
    EXPECT_EQ(o["kilometres"].toArray()[0].toObject()["filling"].toDouble(),
              v.kilometres[0].filling);
    EXPECT_EQ(o["all"].toObject()["filling"].toDouble(), v.totalFill);
    EXPECT_EQ(o["all"].toObject()["total"].toDouble(), v.total());
    EXPECT_NE(v.totalFill, std::floor(v.totalFill)); // not a whole number
}

// A gap longer than 200 m still counts as 50 m, and both forms say so.
TEST_F(CliRecompute, LongGapsAreListedAndErrorsGoToStandardError)
{
    cli.open()->exec("UPDATE RL_1 SET Chainage = 1400 WHERE ID = 3");
    ASSERT_TRUE(cli.ok({"recompute", "1"}));
    EXPECT_TRUE(cli.out.contains("ALL\t2,900.00\t750.00\t3,650.00\n"
                                 "Gap of 400 m between 1000 and 1400 counted as 50 m\nAna To Bel"))
        << cli.out.toStdString();
    ASSERT_TRUE(cli.ok({"recompute", "1", "--json"}));
    EXPECT_TRUE(cli.out.endsWith("\"gaps\": [{\"from\": 1000, \"to\": 1400, \"counted\": 50}]}\n"))
        << cli.out.toStdString();

    // Errors go to standard error with their status.
    cli.open()->exec("UPDATE RL_1 SET FC = NULL WHERE ID = 2");
    EXPECT_EQ(cli({"recompute", "1"}), 2);
    EXPECT_TRUE(cli.out.isEmpty());
    EXPECT_TRUE(cli.err.contains("FC is empty in the section at chainage 1000"))
        << cli.err.toStdString();
    EXPECT_TRUE(cli.err.contains("Error Code=101"));
    // An empty sheet prints an empty table.
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B"}));
    ASSERT_TRUE(cli.ok({"recompute", "2", "--json"}));
    EXPECT_EQ(cli.out, "{\"road\": 2, \"method\": 1, \"kilometres\": [], \"all\": {\"filling\": 0, "
                       "\"cutting\": 0, \"total\": 0}, \"gaps\": []}\n");
}

TEST(CliRecomputeLong, EdgesMissingReadingsAndTheSlopesToeAndTopInACommaLocale)
{
    // Width 8 (edges at 4 m), slopes 2, no camber. Left readings at 2, 7, 9, 11, 13 m, right
    // ones every 2 m.
    CommaLocale comma;
    CliRun cli;
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B", "--formation-camber", "0",
                        "--carriage-camber", "0"}));
    ASSERT_TRUE(cli.ok({"cross-distances", "1", "L1=2", "L2=5", "L3=2", "L4=2", "L5=2", "R1=2",
                        "R2=2", "R3=2", "R4=2", "R5=2"}));
    const QString file = cli.dir.filePath("rl.csv");
    writeFile(file,
              "Chainage,Width,FC,C,L1,L2,L3,L4,L5,R1,R2,R3,R4,R5\n"
              // The left edge lies between L1 and L2: its ground 98.6 on the line from L1 to
              // L2. Fill 2 + (1 + 1.4) / 2 * 2 + (1.4 + 0.5) / 2 * 3 = 7.25.
              "0,8,100,99,99,98,,,,,,,,\n"
              // The right side ends at the first missing reading, R3: fill 2 + 2.
              "20,8,100,99,,,,,,99,99,,90,90\n"
              // 1.5 m of fill, then of cut, on level ground: the slope meets the ground at
              // 7 m, on L2 and between R3 and R4, and stops there. (8 + 2 * 1.5) * 1.5 = 16.5.
              "40,8,100,98.5,98.5,98.5,98.5,98.5,98.5,98.5,98.5,98.5,98.5,98.5\n"
              "60,8,100,101.5,101.5,101.5,101.5,101.5,101.5,101.5,101.5,101.5,101.5,101.5\n");
    ASSERT_TRUE(cli.ok({"import", "1", "rl", file}));

    ASSERT_TRUE(cli.ok({"--set", "QuantityCalcMethod=2", "recompute", "1"}));
    EXPECT_EQ(queryText(*cli.open(), "SELECT [Fill Area], [Cut Area] FROM RL_1 ORDER BY ID"),
              "7.25 0 | 4 0 | 16.5 0 | 0 16.5");
}

// Both forms write FC as the tool does and print what recompute prints for the new design.
TEST_F(CliFormation, WritesTheLevelAndPrintsTheQuantities)
{
    const struct {
        QStringList args;
        std::string fc;
    } cases[] = {
        {{"formation", "--at", "1000", "1", "--fc", "100.5"}, "101 | 100.5 | 98"},
        {{"formation", "1", "--from", "900", "--to", "1100", "--fc", "99", "--json"},
         "101 | 100 | 99"},
        {{"formation", "1", "--from=900", "--to=1100", "--fc=99.3"}, "101 | 100.15 | 99.3"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(cli(c.args), 0) << cli.err.toStdString();
        EXPECT_EQ(fc(), c.fc);
        const QString printed = cli.out;
        ASSERT_EQ(cli(c.args.contains("--json") ? QStringList{"recompute", "1", "--json"}
                                                : QStringList{"recompute", "1"}),
                  0);
        EXPECT_EQ(printed, cli.out);
    }
}

// A crest 2 % / -2 % with a 100 m curve: the section at its PVI lies 0.5 m under it. The
// stored alignment prints as it was given, with its readouts; the quantities are recompute's.
TEST_F(CliGrade, WritesFcFromTheAlignmentAndShowsIt)
{
    ASSERT_EQ(cli(crest), 0) << cli.err.toStdString();
    EXPECT_EQ(fc(), "101 | 102.5 | 101");
    EXPECT_TRUE(cli.out.contains("1000\t103.000\t100\t2.000\t-2.000\t-4.000\t25.00\t950 102.000\t"
                                 "1050 102.000\thigh 1000.00 102.500\n"))
        << cli.out.toStdString();
    const QString printed = cli.out;
    ASSERT_TRUE(cli.ok({"recompute", "1"}));
    EXPECT_TRUE(printed.endsWith(cli.out));

    ASSERT_TRUE(cli.ok({"grade", "1", "--json"}));
    EXPECT_EQ(cli.out.toStdString(),
              "{\"road\": 1, \"pvis\": [{\"chainage\": 900, \"level\": 101, \"length\": 0, "
              "\"grade_in\": null, \"grade_out\": 2, \"k\": null, \"bvc\": 900, \"evc\": 900}, "
              "{\"chainage\": 1000, \"level\": 103, \"length\": 100, \"grade_in\": 2, "
              "\"grade_out\": -2, \"k\": 25, \"bvc\": 950, \"evc\": 1050}, {\"chainage\": 1100, "
              "\"level\": 101, \"length\": 0, \"grade_in\": -2, \"grade_out\": null, \"k\": null, "
              "\"bvc\": 1100, \"evc\": 1100}]}\n");
    ASSERT_EQ(cli(QStringList(crest) << "--json"), 0);
    EXPECT_TRUE(cli.out.startsWith("{\"road\": 1, \"method\": ")) << cli.out.toStdString();
    EXPECT_TRUE(cli.out.contains("], \"pvis\": [{\"chainage\": 900,"));

    // Clearing keeps FC; deleting the road takes its PVIs with it.
    ASSERT_TRUE(cli.ok({"grade", "1", "--clear"}));
    EXPECT_EQ(pvis(), "");
    EXPECT_EQ(fc(), "101 | 102.5 | 101");
    ASSERT_EQ(cli(crest), 0);
    ASSERT_TRUE(cli.ok({"delete-road", "1"}));
    EXPECT_EQ(pvis(), "");
    EXPECT_FALSE(cli.open()->tableExists("RL_1"));
}

using CliMassHaul = CliFlatRoad;

// Fill 2,150 then fill 1,500 with cut 1,500: with factor 2, M = 0, -2,150, -650; one stretch
// of haul 2,150 x 100 / 2 + (2,150 + 650) x 100 / 2.
TEST_F(CliMassHaul, StretchesJsonAndTheTablePerSection)
{
    ASSERT_TRUE(cli.ok({"recompute", "1"}));
    ASSERT_TRUE(cli.ok({"set-road", "1", "--cut-factor", "2"}));
    ASSERT_TRUE(cli.ok({"masshaul", "1", "--json"}));
    EXPECT_EQ(cli.out, "{\"road\": 1, \"cut_factor\": 2, \"stretches\": [{\"from\": 900, \"to\": "
                       "1100, \"volume\": 2150, \"haul\": 247500, \"average_distance\": " +
                           plainDecimal(247500.0 / 2150) +
                           "}], \"balance_points\": [], \"end_ordinate\": -650}\n");

    const QString csv = cli.dir.filePath("mass haul.csv");
    ASSERT_TRUE(cli.ok({"masshaul", "1", "--csv", csv}));
    EXPECT_TRUE(cli.out.contains("Deficit to borrow: 650.00 m3")) << cli.out.toStdString();
    const QList<QByteArray> lines = readFile(csv).split('\n');
    ASSERT_EQ(lines.size(), 5); // heading, three sections, the last newline
    EXPECT_EQ(lines[3], "1100,0.000,30.000,1500.00,1500.00,3650.00,1500.00,-650.00");
}

// The diagram and table through export: the files, their pages, every text of every sheet clear
// of the others and on the sheet, and the drawing inside its sheets.
TEST(CliMassHaulOutputs, DiagramSheetsTablePagesAndDrawing)
{
    struct Case {
        const char* name;
        int sections; // every 20 m from 0; the ordinate pushed back across zero at each one
        std::int64_t sheets, tablePages;
    };
    for (const Case& c : {Case{"no rows", 0, 1, 0}, Case{"one sheet", 51, 1, 2},
                          Case{"crowded crossings", 140, 3, 3}}) {
        SCOPED_TRACE(c.name);
        CliRun cli;
        QDir().mkpath(cli.dir.filePath("Data"));
        QFile::copy(QCoreApplication::applicationDirPath() + "/Data/HeaderL.dxf",
                    cli.dir.filePath("Data/HeaderL.dxf"));
        auto db = cli.open();
        RoadBuilder rows(*db, 1000, 20);
        double m = 0;
        for (int i = 0; i < c.sections; ++i) {
            const double area = (m > 0 ? -1 : 1) * (1 + (i * 7) % 5);
            m += area * 20;
            rows.row(i * 20, QStringLiteral("Fill Area=%1, Cut Area=%2")
                                 .arg(std::max(0.0, -area))
                                 .arg(std::max(0.0, area)));
        }
        const QString folder = cli.dir.filePath("Out/North to South/");
        for (const char* pdf : {"--pdf", ""})
            ASSERT_EQ(
                cli(QStringList{"export", "1", "--dir", cli.dir.filePath("Out"), "--mass-haul", pdf}
                        .filter(QRegularExpression("."))),
                0)
                << cli.err.toStdString();
        const QString pages = QString::fromLatin1(readFile(folder + "Mass Haul.pdf"));
        EXPECT_EQ(pages.count(QRegularExpression("/Type\\s*/Page\\b")), c.sheets + c.tablePages);

        const MassHaulRoad road = readMassHaulRoad(*db, 1);
        ASSERT_EQ(road.diagramPages(), c.sheets);
        ASSERT_EQ(road.tablePages(), c.tablePages);
        std::size_t balanceLabels = 0;
        for (std::int64_t k = 0; k < c.sheets; ++k) {
            const DiagramPage page = massHaulDiagramPage(road, k, k + 1, c.sheets, QLocale::c());
            for (std::size_t i = 0; i < page.texts.size(); ++i) {
                const DiagramText& a = page.texts[i];
                balanceLabels += a.turned;
                EXPECT_TRUE(a.left() >= 0 && a.top() >= 0 && a.right() <= page.width &&
                            a.bottom() <= page.height)
                    << a.text.toStdString();
                for (std::size_t j = i + 1; j < page.texts.size(); ++j) {
                    const DiagramText& b = page.texts[j];
                    EXPECT_FALSE(a.left() < b.right() && b.left() < a.right() &&
                                 a.top() < b.bottom() && b.top() < a.bottom())
                        << a.text.toStdString() << " on " << b.text.toStdString();
                }
            }
        }
        // Every balance point is labelled but where the crowd leaves no room; a sheet's three
        // band captions are turned too.
        const std::size_t points = road.summary.balancePoints.size();
        EXPECT_LE(balanceLabels, points + 3 * c.sheets);
        EXPECT_GE(balanceLabels, std::min<std::size_t>(points, 10) + 3 * c.sheets);

        const DxfFile f = DxfFile::read(folder + "MassHaul.dxf");
        const double w = 23814 * kMassHaulDxfUnit, h = 16840 * kMassHaulDxfUnit;
        for (const DxfEntity& e : f.entities)
            for (const int code : {10, 11}) {
                if (!e.find(code))
                    continue;
                const double x = e.number(code), y = e.number(code + 10);
                const double sheet = std::floor(x / (w + 2));
                EXPECT_TRUE(sheet < double(c.sheets) && x - sheet * (w + 2) <= w && y >= 0 &&
                            y <= h)
                    << e.type << " at " << x << ", " << y;
            }
    }
}
