#include "CliSupport.h"
#include "compute/EarthworkQuantities.h"
#include "support/TestProject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

using namespace tarmela;
using namespace tarmela::test;

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
