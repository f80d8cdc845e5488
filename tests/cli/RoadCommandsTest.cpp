#include "CliSupport.h"
#include "store/Roads.h"
#include "support/CommaLocale.h"

using namespace tarmela;
using namespace tarmela::test;

TEST(CliRoads, CreateListChangeAndDeleteInACommaLocale)
{
    CommaLocale comma;
    CliRun cli;
    ASSERT_EQ(cli({"new-road", "--from", "North", "--to", "South", "--length", "2500", "--interval",
                   "25", "--formation-camber", "2.75", "--field1", "Package 1"}),
              0)
        << cli.err.toStdString();
    EXPECT_EQ(cli.out, "1\n");
    ASSERT_EQ(cli({"new-road", "--from=A", "--to=B"}), 0);
    EXPECT_EQ(cli.out, "2\n");

    ASSERT_EQ(cli({"roads"}), 0);
    EXPECT_EQ(cli.out, "ID\tFrom\tTo\tLength\tInterval\tFormation Camber\tCarriage Camber\n"
                       "1\tNorth\tSouth\t2500\t25\t2.75\t3.5\n"
                       "2\tA\tB\t1\t20\t3.5\t3.5\n");

    ASSERT_EQ(
        cli({"set-road", "2", "--to", "C", "--carriage-camber", "2.5", "--cut-factor", "1.25"}), 0);
    EXPECT_EQ(roads::get(*cli.open(), 2).to, "C");
    EXPECT_EQ(roads::get(*cli.open(), 2).cutFactor, 1.25);
    EXPECT_EQ(roads::get(*cli.open(), 1).cutFactor, 1);
    EXPECT_EQ(roads::get(*cli.open(), 1).fields[0], "Package 1");

    ASSERT_EQ(cli({"delete-road", "1"}), 0);
    auto db = cli.open();
    EXPECT_FALSE(db->tableExists("RL_1"));
    EXPECT_EQ(roads::list(*db).size(), 1);
}

TEST(CliRoads, MistakesGiveAMessageAnExitStatusAndNoChange)
{
    CliRun cli;
    EXPECT_EQ(cli({"frobnicate"}), 1);
    EXPECT_TRUE(cli.err.contains("unknown command"));
    EXPECT_EQ(cli({"new-road", "--from", "A"}), 1);
    EXPECT_EQ(cli({"new-road", "--from", "A", "--to", "B", "--interval", "0"}), 1);
    EXPECT_EQ(cli({"new-road", "--from", "A", "--to", "B", "--cut-factor", "0.4"}), 1);
    EXPECT_EQ(cli({"new-road", "--from", "A", "--to", "B", "--length", "ten"}), 1);
    EXPECT_TRUE(cli.err.contains("--length")) << cli.err.toStdString();
    EXPECT_EQ(cli({"new-road", "--from", "A", "--to", "B", "--colour", "red"}), 1);
    EXPECT_EQ(cli({"--set", "ViewSections=9", "roads"}), 1);
    EXPECT_EQ(cli({"--set", "NoSuchKey=1", "roads"}), 1);
    ASSERT_EQ(cli({"roads"}), 0);
    EXPECT_EQ(cli.out.count('\n'), 1); // only the heading: nothing was created

    EXPECT_EQ(cli({"delete-road", "7"}), 2);
    EXPECT_TRUE(cli.err.contains("no road with ID 7"));
    EXPECT_TRUE(cli.out.isEmpty());
    EXPECT_EQ(cli({"set-road", "7", "--from", "X"}), 2);
    EXPECT_EQ(cli({"delete-road", "x"}), 1);
    EXPECT_EQ(cli({}), 1);
}
