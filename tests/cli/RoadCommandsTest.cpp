#include "CliSupport.h"
#include "store/Roads.h"
#include "support/CommaLocale.h"

using namespace tarmela;
using namespace tarmela::test;

TEST(CliRoads, CreateListChangeAndDeleteInACommaLocale)
{
    CommaLocale comma;
    CliRun cli;
    ASSERT_TRUE(
        cli.ok({"new-road", "--from", "North", "--to", "South", "--length", "2500", "--interval",
                "25", "--formation-camber", "2.75", "--field1", "Package 1"}));
    EXPECT_EQ(cli.out, "1\n");
    ASSERT_TRUE(cli.ok({"new-road", "--from=A", "--to=B"}));
    EXPECT_EQ(cli.out, "2\n");

    ASSERT_TRUE(cli.ok({"roads"}));
    EXPECT_EQ(cli.out, "ID\tFrom\tTo\tLength\tInterval\tFormation Camber\tCarriage Camber\n"
                       "1\tNorth\tSouth\t2500\t25\t2.75\t3.5\n"
                       "2\tA\tB\t1\t20\t3.5\t3.5\n");

    ASSERT_EQ(
        cli({"set-road", "2", "--to", "C", "--carriage-camber", "2.5", "--cut-factor", "1.25"}), 0);
    EXPECT_EQ(roads::get(*cli.open(), 2).to, "C");
    EXPECT_EQ(roads::get(*cli.open(), 2).cutFactor, 1.25);
    EXPECT_EQ(roads::get(*cli.open(), 1).cutFactor, 1);
    EXPECT_EQ(roads::get(*cli.open(), 1).fields[0], "Package 1");

    ASSERT_TRUE(cli.ok({"delete-road", "1"}));
    auto db = cli.open();
    EXPECT_FALSE(db->tableExists("RL_1"));
    EXPECT_EQ(roads::list(*db).size(), 1);
}
