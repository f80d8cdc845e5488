// Commands for the design and its quantities: recompute, formation, grade and mass haul.
#include "CliSupport.h"
#include "compute/EarthworkQuantities.h"
#include "store/Numbers.h"
#include "support/CommaLocale.h"
#include "support/TestProject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

using namespace tarmela;
using namespace tarmela::test;

namespace
{
struct CliGrade : CliFlatRoad {
    std::string fc() { return queryText(*cli.open(), "SELECT FC FROM RL_1 ORDER BY Chainage, ID"); }
    const QStringList crest{"grade",        "1",     "--pvi",   "900:101", "--pvi",
                            "1000:103:100", "--pvi", "1100:101"};
};
using CliFormation = CliGrade;
} // namespace

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
    ASSERT_TRUE(cli.ok({"--set", "VolumeFormula=1", "recompute", "1"}));
    EXPECT_TRUE(cli.out.endsWith("Volumes by the prismoidal rule\n")) << cli.out.toStdString();
}

TEST_F(CliRecompute, JsonNumbersReadBackAsTheComputedValues)
{
    // (The shape: ProjectVersion and CliRecompute.LongGapsAreListedAndErrorsGoToStandardError.)
    // Awkward numbers: the printed text reads back as exactly the computed value.
    cli.open()->exec("UPDATE RL_1 SET Chainage = 907.3 WHERE ID = 1");
    cli.open()->exec("UPDATE RL_1 SET FC = 101.037 WHERE ID = 2");
    cli.open()->exec(
        "UPDATE ChDistance SET L1 = 1.1, L2 = 1.1, L3 = 1.1, L4 = 1.1, L5 = 1.1, "
        "R1 = 1.3, R2 = 1.3, R3 = 1.3, R4 = 1.3, R5 = 1.3, R6 = 1.3 WHERE RoadRef = 1");
    ASSERT_TRUE(cli.ok({"--set", "QuantityCalcMethod=2", "recompute", "--json", "1"}));
    const QJsonObject o = QJsonDocument::fromJson(cli.out.toUtf8()).object();
    EXPECT_EQ(o["method"].toInt(), 2) << cli.out.toStdString();

    EarthworkInputs in{1, 2};
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

TEST_F(CliRecompute, EdgesMissingReadingsAndTheSlopesToeAndTopInACommaLocale)
{
    // Sections before the flat road's: width 8 (edges at 4 m), slopes 2, no camber. Left
    // readings at 2, 7, 9, 11, 13 m, right ones every 2 m.
    CommaLocale comma;
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
    EXPECT_EQ(queryText(*cli.open(), "SELECT [Fill Area], [Cut Area] FROM RL_1 WHERE Chainage < "
                                     "100 ORDER BY Chainage, ID"),
              "7.25 0 | 4 0 | 16.5 0 | 0 16.5");
}

// Both forms write FC as the tool does and print what recompute prints for the new design.
TEST_F(CliFormation, WritesTheLevelAndPrintsTheQuantities)
{
    const std::pair<QStringList, std::string> cases[] = {
        {{"formation", "--at", "1000", "1", "--fc", "100.5"}, "101 | 100.5 | 98"},
        {{"formation", "1", "--from", "900", "--to", "1100", "--fc", "99", "--json"},
         "101 | 100 | 99"},
        {{"formation", "1", "--from=900", "--to=1100", "--fc=99.3"}, "101 | 100.15 | 99.3"},
    };
    for (const auto& [args, levels] : cases) {
        ASSERT_TRUE(cli.ok(args));
        EXPECT_EQ(fc(), levels);
        const QString printed = cli.out;
        ASSERT_TRUE(cli.ok(QStringList{"recompute", "1"} + args.filter("--json")));
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
    EXPECT_EQ(rowCount(*cli.open(), "VerticalAlignment"), 0);
    EXPECT_EQ(fc(), "101 | 102.5 | 101");
    ASSERT_EQ(cli(crest), 0);
    ASSERT_TRUE(cli.ok({"delete-road", "1"}));
    EXPECT_EQ(rowCount(*cli.open(), "VerticalAlignment"), 0);
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
