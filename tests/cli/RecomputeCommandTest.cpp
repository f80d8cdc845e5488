#include "CliSupport.h"
#include "compute/EarthworkQuantities.h"
#include "store/Roads.h"
#include "store/Schema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

using namespace tarmela;
using namespace tarmela::test;

namespace {

// Road 1 with a level formation (cambers 0) over flat ground, width 10: fill 13 at 900,
// fill 30 at 1000, cut 30 at 1100.
void makeRoad(CliRun& cli)
{
    ASSERT_EQ(cli({"new-road", "--from", "Ana", "--to", "Bel", "--formation-camber", "0",
                   "--carriage-camber", "0"}),
              0)
        << cli.err.toStdString();
    auto db = cli.open();
    const double levels[3][2] = {{101, 100}, {102, 100}, {98, 100}};
    for (int i = 0; i < 3; ++i) {
        QString sets =
            QStringLiteral("Width = 10, FC = %1, C = %2").arg(levels[i][0]).arg(levels[i][1]);
        for (int k = 1; k <= 8; ++k)
            sets += QStringLiteral(", L%1 = %2, R%1 = %2").arg(k).arg(levels[i][1]);
        db->exec(QStringLiteral("INSERT INTO RL_1 (ID, Chainage) VALUES (%1, %2)")
                     .arg(i + 1)
                     .arg(900 + 100 * i));
        db->exec("UPDATE RL_1 SET " + sets + QStringLiteral(" WHERE ID = %1").arg(i + 1));
    }
}

class CliRecompute : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = QLocale();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override { QLocale::setDefault(saved); }
    QLocale saved;
};

} // namespace

TEST_F(CliRecompute, PrintsTheKilometreTableAndTheTotals)
{
    CliRun cli;
    makeRoad(cli);
    ASSERT_EQ(cli({"recompute", "1"}), 0) << cli.err.toStdString();
    EXPECT_EQ(cli.out, "Km\tFilling\tCutting\tTotal\n"
                       "1\t2,150.00\t0.00\n"
                       "2\t1,500.00\t1,500.00\n"
                       "ALL\t3,650.00\t1,500.00\t5,150.00\n"
                       "Ana To Bel\n"
                       "Filling = 3,650.00 Cum\n"
                       "Cutting = 1,500.00 Cum\n"
                       "Total = 5,150.00 Cum\n");
    EXPECT_EQ(cli.open()->scalar("SELECT [Cut Area] FROM RL_1 WHERE ID = 3").toDouble(), 30);
}

TEST_F(CliRecompute, JsonHasTheAgreedShapeAndNumbersThatRoundTrip)
{
    CliRun cli;
    makeRoad(cli);
    ASSERT_EQ(cli({"recompute", "1", "--json"}), 0) << cli.err.toStdString();
    EXPECT_EQ(cli.out,
              "{\"road\": 1, \"method\": 1, \"kilometres\": [{\"km\": 1, \"filling\": 2150, "
              "\"cutting\": 0}, {\"km\": 2, \"filling\": 1500, \"cutting\": 1500}], "
              "\"all\": {\"filling\": 3650, \"cutting\": 1500, \"total\": 5150}}\n");

    // Awkward numbers: the printed text reads back as exactly the computed value.
    {
        auto db = cli.open();
        db->exec("UPDATE RL_1 SET Chainage = 907.3 WHERE ID = 1");
        db->exec("UPDATE RL_1 SET FC = 101.037 WHERE ID = 2");
        db->exec("UPDATE ChDistance SET L1 = 1.1, L2 = 1.1, L3 = 1.1, L4 = 1.1, L5 = 1.1, "
                 "R1 = 1.3, R2 = 1.3, R3 = 1.3, R4 = 1.3, R5 = 1.3, R6 = 1.3 WHERE RoadRef = 1");
    }
    ASSERT_EQ(cli({"--set", "QuantityCalcMethod=2", "recompute", "--json", "1"}), 0)
        << cli.err.toStdString();
    QJsonParseError perr;
    const QJsonObject o = QJsonDocument::fromJson(cli.out.toUtf8(), &perr).object();
    ASSERT_EQ(perr.error, QJsonParseError::NoError) << cli.out.toStdString();
    EXPECT_EQ(o["road"].toInt(), 1);
    EXPECT_EQ(o["method"].toInt(), 2);

    auto db = cli.open();
    EarthworkInputs in;
    in.road = 1;
    in.method = 2;
    in.formationCamber = in.carriageCamber = 0;
    const EarthworkResult r = UpdateEarthworkQuantities(*db, in);
    ASSERT_TRUE(r.volumesDone);
    const QJsonArray kms = o["kilometres"].toArray();
    ASSERT_EQ(kms.size(), int(r.volumes.kilometres.size()));
    for (int i = 0; i < kms.size(); ++i) {
        EXPECT_EQ(kms[i].toObject()["km"].toInt(), i + 1);
        EXPECT_EQ(kms[i].toObject()["filling"].toDouble(), r.volumes.kilometres[i].filling);
        EXPECT_EQ(kms[i].toObject()["cutting"].toDouble(), r.volumes.kilometres[i].cutting);
    }
    EXPECT_EQ(o["all"].toObject()["filling"].toDouble(), r.volumes.totalFill);
    EXPECT_EQ(o["all"].toObject()["total"].toDouble(), r.volumes.total());
    EXPECT_NE(r.volumes.totalFill, std::floor(r.volumes.totalFill)); // not a whole number
}

TEST_F(CliRecompute, ErrorsGoToStandardErrorWithTheirStatus)
{
    CliRun cli;
    makeRoad(cli);
    cli.open()->exec("UPDATE RL_1 SET FC = NULL WHERE ID = 2");
    EXPECT_EQ(cli({"recompute", "1"}), 2);
    EXPECT_TRUE(cli.out.isEmpty());
    EXPECT_TRUE(cli.err.contains("FC is empty in the section at chainage 1000"))
        << cli.err.toStdString();
    EXPECT_TRUE(cli.err.contains("Error Code=101"));

    EXPECT_EQ(cli({"recompute", "9"}), 2);
    EXPECT_TRUE(cli.err.contains("no road with ID 9"));
    EXPECT_EQ(cli({"recompute", "one"}), 1);
    EXPECT_EQ(cli({"recompute", "1", "--csv"}), 1);

    cli.open()->exec("DROP TABLE RL_1");
    EXPECT_EQ(cli({"recompute", "1"}), 2);
    EXPECT_TRUE(cli.err.contains("Datasheet not generated!"));
}

TEST_F(CliRecompute, AnEmptySheetPrintsAnEmptyTable)
{
    CliRun cli;
    ASSERT_EQ(cli({"new-road", "--from", "A", "--to", "B"}), 0);
    ASSERT_EQ(cli({"recompute", "1", "--json"}), 0) << cli.err.toStdString();
    EXPECT_EQ(cli.out, "{\"road\": 1, \"method\": 1, \"kilometres\": [], \"all\": {\"filling\": 0, "
                       "\"cutting\": 0, \"total\": 0}}\n");
}
