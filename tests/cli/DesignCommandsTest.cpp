#include "CliSupport.h"
#include "support/TestProject.h"

using namespace tarmela;
using namespace tarmela::test;

namespace
{
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
