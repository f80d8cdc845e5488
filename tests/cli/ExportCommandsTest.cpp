#include "CliSupport.h"
#include "export/ExportOutputs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <functional>
#include <map>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

struct CliExport : ::testing::Test {
    CliRun cli;
    QString dir = cli.dir.filePath("Out");
    QString folder = dir + "/North to South/";
    QLocale previous;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(cli.ok({"new-road", "--from", "North", "--to", "South", "--length", "1100"}));
        auto db = cli.open();
        for (const char* sheet :
             {"RL_1 (ID, Chainage, C, [Fill Area])", "LB_1 (ID, Chainage, C, BS)"})
            db->exec(QStringLiteral("INSERT INTO %1 VALUES (1, 900, 1.25, 1234.5), "
                                    "(2, 1000, 1.25, 1234.5), (3, 1100, 1.25, 1234.5)")
                         .arg(sheet));
    }
    void TearDown() override { QLocale::setDefault(previous); }
};

} // namespace

TEST_F(CliExport, WritesTheNamedReportsAndPrintsTheirPaths)
{
    ASSERT_TRUE(cli.ok(
        {"--set", "ViewSections=2", "export", "1", "--dir", dir, "--earthwork", "--level-book"}));
    EXPECT_EQ(cli.out, folder + "Level Book.htm\n" + folder + "Earthwork Report.htm\n");
    EXPECT_TRUE(cli.err.isEmpty());

    const QString earthwork = QString::fromUtf8(readFile(folder + "Earthwork Report.htm"));
    // Two readings per side and the locale's grouping.
    EXPECT_TRUE(earthwork.contains("<td><b>Chain</b></td><td><b>L2</b></td><td><b>L1</b></td>"
                                   "<td><b>C</b></td><td><b>R1</b></td><td><b>R2</b></td>"
                                   "<td><b>FC</b></td>"));
    EXPECT_TRUE(earthwork.contains("<td>1,234.500</td>")) << earthwork.toStdString();
}

TEST_F(CliExport, EveryOutputWhenNoneIsNamedAndFailuresGoToStandardError)
{
    // The program folder has no Fonts/ARFONT8.fl: the printed reports are refused by name.
    EXPECT_EQ(cli({"export", "1", "--dir", dir, "--pdf"}), 2);
    EXPECT_TRUE(cli.err.contains("Level Book (PDF)") && cli.err.contains("ARFONT8.fl"))
        << cli.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir));
    // No drawing templates beside the program yet: the drawings fail, and the export, which
    // made the folders, takes them away again with the reports it wrote.
    EXPECT_EQ(cli({"export", "1", "--dir", dir}), 2);
    const QString reports = folder + "Level Book.htm\n" + folder + "Earthwork Report.htm\n";
    EXPECT_EQ(cli.out, "");
    const QStringList failed = cli.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(failed.size(), 5) << cli.err.toStdString();
    EXPECT_EQ(failed[0], "tarmela-cli: Level Book (Html): not kept, as the export failed");
    EXPECT_TRUE(failed[2].startsWith("tarmela-cli: Longitudinal Section (DXF): "));
    EXPECT_TRUE(failed[3].startsWith("tarmela-cli: Cross Section (DXF): "));
    EXPECT_TRUE(failed[3].contains("HeaderX.dxf")) << failed[3].toStdString();
    EXPECT_TRUE(failed[4].startsWith("tarmela-cli: Mass Haul (DXF): "));
    EXPECT_FALSE(QFileInfo::exists(dir));

    // The program folder's Data/ holds the templates; the build puts them beside the programs.
    const QDir built(QCoreApplication::applicationDirPath() + "/Data");
    QDir().mkpath(cli.dir.filePath("Data"));
    for (const char* name : {"HeaderL.dxf", "HeaderX.dxf"})
        ASSERT_TRUE(QFile::copy(built.filePath(name), cli.dir.filePath("Data/") + name));
    EXPECT_TRUE(cli.ok({"export", "1", "--dir", dir}));
    EXPECT_EQ(cli.out, reports + folder + "LSection.dxf\n" + folder + "XSection.dxf\n" + folder +
                           "MassHaul.dxf\n");
    for (const QString& path : cli.out.split('\n', Qt::SkipEmptyParts))
        EXPECT_GT(QFileInfo(path).size(), 0) << path.toStdString();
}

TEST_F(CliExport, MistakesAndAFailedReportKeepOnlyAFolderThatWasThere)
{
    // (A folder that cannot be made: Messages.AreOneShortLineWithTheReason.) A file where the
    // road's folder would be is named as such and kept.
    QDir().mkpath(dir);
    writeFile(folder.chopped(1), "kept");
    EXPECT_EQ(cli({"export", "1", "--dir", dir, "--earthwork"}), 2);
    EXPECT_TRUE(cli.err.contains("a file of that name is in the way")) << cli.err.toStdString();
    EXPECT_EQ(readFile(folder.chopped(1)), "kept");
    QDir(dir).removeRecursively();

    cli.open()->exec("DROP TABLE RL_1");
    const QStringList args{"export", "1", "--dir", dir, "--level-book", "--earthwork"};
    EXPECT_EQ(cli(args), 2);
    EXPECT_EQ(cli.out, "");
    EXPECT_TRUE(cli.err.contains("Earthwork Report (Html)")) << cli.err.toStdString();
    EXPECT_TRUE(cli.err.contains("RL_1"));
    EXPECT_FALSE(QFileInfo::exists(dir));
    // In the road's folder of an earlier export, each output written whole stays.
    markRoadFolder(folder, cli.project);
    EXPECT_EQ(cli(args), 2);
    EXPECT_EQ(cli.out, folder + "Level Book.htm\n");
}

TEST_F(CliExport, EveryOutputIsChosenByItsOwnOptionsAndWritten)
{
    // The program folder with what the writers read: the drawing templates, the widths.
    const QDir built(QCoreApplication::applicationDirPath());
    for (const char* name : {"Data/HeaderL.dxf", "Data/HeaderX.dxf", "Fonts/ARFONT8.fl"}) {
        QDir().mkpath(QFileInfo(cli.dir.filePath(name)).path());
        ASSERT_TRUE(QFile::copy(built.filePath(name), cli.dir.filePath(name))) << name;
    }
    const std::map<OutputKind, QByteArray> start{{OutputKind::HtmlReport, "<!DOCTYPE html>"},
                                                 {OutputKind::PdfPages, "%PDF-"},
                                                 {OutputKind::DxfDrawing, "  0\r\nSECTION"}};
    for (const ExportOutput& o : exportOutputs()) {
        SCOPED_TRACE(o.id);
        QStringList args{"export", "1", "--dir", dir, o.cliFlag};
        if (o.kind == OutputKind::PdfPages)
            args << "--pdf";
        ASSERT_EQ(cli(args), 0) << cli.err.toStdString();
        EXPECT_EQ(cli.out, folder + o.fileName + "\n");
        EXPECT_TRUE(readFile(folder + o.fileName).startsWith(start.at(o.kind)));
    }
}

// An export writes only inside the folder it is given, whatever links stand in its way.
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
