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
