// An export writes only inside the folder it is given, whatever links stand in its way.
#include "CliSupport.h"

#include <QFile>
#include <functional>

using namespace tarmela;
using namespace tarmela::test;

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
