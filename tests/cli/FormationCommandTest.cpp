#include "CliSupport.h"
#include "support/TestProject.h"

#include <QLocale>

using namespace tarmela;
using namespace tarmela::test;

namespace
{
struct CliFormation : CliFlatRoad {
    std::string fc() { return queryText(*cli.open(), "SELECT FC FROM RL_1 ORDER BY Chainage"); }
};
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

TEST_F(CliFormation, RefusesWhatItCannotDoAndWritesNothing)
{
    const struct {
        QStringList args;
        int status;
        const char* message;
    } cases[] = {
        {{"formation", "1", "--at", "950", "--fc", "100"}, 2, "no section at chainage 950"},
        {{"formation", "1", "--from", "1100", "--to", "900", "--fc", "100"},
         1,
         "higher chainage. To plot a gradient"},
        {{"formation", "1", "--from", "800", "--to", "1100", "--fc", "100"},
         2,
         "no section at chainage 800 to start the gradient from"},
        {{"formation", "1", "--at", "1000", "--fc", "0"}, 1, "Invalid formation value!"},
        {{"formation", "1", "--at", "1000", "--fc", "high"}, 1, "--fc"},
        {{"formation", "1", "--at", "1000"}, 1, "formation needs --fc V"},
        {{"formation", "1", "--at", "1000", "--from", "900", "--fc", "100"},
         1,
         "formation needs --fc V"},
        {{"formation", "7", "--at", "1000", "--fc", "100"}, 2, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli(c.args), c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(cli.err.contains(c.message)) << cli.err.toStdString();
        EXPECT_EQ(cli.err.count('\n'), 1) << cli.err.toStdString();
        EXPECT_TRUE(cli.out.isEmpty());
        EXPECT_EQ(fc(), "101 | 102 | 98");
    }
}
