#include "CliSupport.h"
#include "store/Numbers.h"

using namespace tarmela;
using namespace tarmela::test;

using CliMassHaul = CliFlatRoad;

// Fill 2,150 then fill 1,500 with cut 1,500: with factor 2, M = 0, -2,150, -650; one stretch
// of haul 2,150 x 100 / 2 + (2,150 + 650) x 100 / 2.
TEST_F(CliMassHaul, StretchesJsonAndTheTablePerSection)
{
    ASSERT_EQ(cli({"recompute", "1"}), 0);
    ASSERT_EQ(cli({"set-road", "1", "--cut-factor", "2"}), 0);
    ASSERT_EQ(cli({"masshaul", "1", "--json"}), 0) << cli.err.toStdString();
    EXPECT_EQ(cli.out, "{\"road\": 1, \"cut_factor\": 2, \"stretches\": [{\"from\": 900, \"to\": "
                       "1100, \"volume\": 2150, \"haul\": 247500, \"average_distance\": " +
                           plainDecimal(247500.0 / 2150) +
                           "}], \"balance_points\": [], \"end_ordinate\": -650}\n");

    const QString csv = cli.dir.filePath("mass haul.csv");
    ASSERT_EQ(cli({"masshaul", "1", "--csv", csv}), 0) << cli.err.toStdString();
    EXPECT_TRUE(cli.out.contains("Deficit to borrow: 650.00 m3")) << cli.out.toStdString();
    const QList<QByteArray> lines = readFile(csv).split('\n');
    ASSERT_EQ(lines.size(), 5); // heading, three sections, the last newline
    EXPECT_EQ(lines[3], "1100,0.000,30.000,1500.00,1500.00,3650.00,1500.00,-650.00");

    EXPECT_EQ(cli({"masshaul", "2"}), 2);
    EXPECT_EQ(cli({"masshaul", "1", "--csv", cli.dir.filePath("no/such/folder/x.csv")}), 2);
}
