// The export command: the outputs it writes, the folders it keeps or leaves alone, and the mass
// haul diagram, table and drawing it writes.
#include "CliSupport.h"
#include "drawing/MassHaulDiagram.h"
#include "export/DxfTestSupport.h"
#include "export/ExportOutputs.h"
#include "export/MassHaulDxf.h"
#include "support/TestProject.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>
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

TEST_F(CliExport, FailuresGoToStandardErrorAndTakeTheNewFoldersAway)
{
    // The program folder has no Fonts/ARFONT8.fl: the printed reports are refused by name.
    EXPECT_EQ(cli({"export", "1", "--dir", dir, "--pdf"}), 2);
    EXPECT_TRUE(cli.err.contains("Level Book (PDF)") && cli.err.contains("ARFONT8.fl"))
        << cli.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir));
    // No drawing templates beside the program yet: the drawings fail, and the export, which
    // made the folders, takes them away again with the reports it wrote.
    EXPECT_EQ(cli({"export", "1", "--dir", dir}), 2);
    EXPECT_EQ(cli.out, "");
    const QStringList failed = cli.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(failed.size(), 5) << cli.err.toStdString();
    EXPECT_EQ(failed[0], "tarmela-cli: Level Book (Html): not kept, as the export failed");
    EXPECT_TRUE(failed[2].startsWith("tarmela-cli: Longitudinal Section (DXF): "));
    EXPECT_TRUE(failed[3].startsWith("tarmela-cli: Cross Section (DXF): "));
    EXPECT_TRUE(failed[3].contains("HeaderX.dxf")) << failed[3].toStdString();
    EXPECT_TRUE(failed[4].startsWith("tarmela-cli: Mass Haul (DXF): "));
    EXPECT_FALSE(QFileInfo::exists(dir));
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

TEST_F(CliExport, EveryOutputWhenNoneIsNamedOrEachByItsOwnOptions)
{
    // The program folder with what the writers read (the build puts them beside the programs):
    // the drawing templates, the widths.
    const QDir built(QCoreApplication::applicationDirPath());
    for (const char* name : {"Data/HeaderL.dxf", "Data/HeaderX.dxf", "Fonts/ARFONT8.fl"})
        writeFile(cli.dir.filePath(name), readFile(built.filePath(name)));
    ASSERT_TRUE(cli.ok({"export", "1", "--dir", dir}));
    EXPECT_EQ(cli.out, folder + "Level Book.htm\n" + folder + "Earthwork Report.htm\n" + folder +
                           "LSection.dxf\n" + folder + "XSection.dxf\n" + folder +
                           "MassHaul.dxf\n");
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
    // Named together, in any order, they come in the list's order.
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

// An export writes only inside the folder it is given, whatever links stand in its way.
TEST_F(CliFlatRoad, AnExportNeitherFollowsLinksNorTakesOverAFolder)
{
    const QString out = cli.dir.filePath("out"), road = out + "/Ana to Bel";
    const QString elsewhere = cli.dir.filePath("elsewhere");
    QDir().mkpath(elsewhere);
    writeFile(elsewhere + "/keep.htm", "someone else's");
    // The road's folder is a link, then an output in it is; what the links reach is inside
    // the folder whose state is taken (links are not followed there either).
    for (const bool outputIsLink : {false, true}) {
        QDir(out).removeRecursively();
        if (outputIsLink) {
            markRoadFolder(road, cli.project);
            QFile::link(elsewhere + "/keep.htm", road + "/Level Book.htm");
        } else {
            QDir().mkpath(out);
            QFile::link(elsewhere, road);
        }
        const std::string before = folderState(cli.dir.path());
        EXPECT_EQ(cli({"export", "1", "--dir", out, "--level-book"}), 2) << outputIsLink;
        EXPECT_TRUE(cli.err.contains("is a link")) << cli.err.toStdString();
        EXPECT_EQ(folderState(cli.dir.path()), before) << outputIsLink;
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

// The diagram and table through export: the files, their pages, every text of every sheet clear
// of the others and on the sheet, and the drawing inside its sheets.
TEST(CliMassHaulOutputs, DiagramSheetsTablePagesAndDrawing)
{
    struct Case {
        const char* name;
        int sections; // every 20 m from 0; the ordinate pushed back across zero at each one
        std::int64_t sheets, tablePages;
    };
    for (const Case& c : {Case{"no rows", 0, 1, 0}, Case{"one sheet", 51, 1, 2},
                          Case{"crowded crossings", 140, 3, 3}}) {
        SCOPED_TRACE(c.name);
        CliRun cli;
        writeFile(cli.dir.filePath("Data/HeaderL.dxf"),
                  readFile(QCoreApplication::applicationDirPath() + "/Data/HeaderL.dxf"));
        auto db = cli.open();
        RoadBuilder rows(*db, 1000, 20);
        double m = 0;
        for (int i = 0; i < c.sections; ++i) {
            const double area = (m > 0 ? -1 : 1) * (1 + (i * 7) % 5);
            m += area * 20;
            rows.row(i * 20, QStringLiteral("Fill Area=%1, Cut Area=%2")
                                 .arg(std::max(0.0, -area))
                                 .arg(std::max(0.0, area)));
        }
        const QString folder = cli.dir.filePath("Out/North to South/");
        const QStringList args{"export", "1", "--dir", cli.dir.filePath("Out"), "--mass-haul"};
        ASSERT_TRUE(cli.ok(args + QStringList{"--pdf"}));
        ASSERT_TRUE(cli.ok(args));
        const QString pages = QString::fromLatin1(readFile(folder + "Mass Haul.pdf"));
        EXPECT_EQ(pages.count(QRegularExpression("/Type\\s*/Page\\b")), c.sheets + c.tablePages);

        const MassHaulRoad road = readMassHaulRoad(*db, 1);
        ASSERT_EQ(road.diagramPages(), c.sheets);
        ASSERT_EQ(road.tablePages(), c.tablePages);
        std::size_t balanceLabels = 0;
        for (std::int64_t k = 0; k < c.sheets; ++k) {
            const DiagramPage page = massHaulDiagramPage(road, k, k + 1, c.sheets, QLocale::c());
            for (std::size_t i = 0; i < page.texts.size(); ++i) {
                const DiagramText& a = page.texts[i];
                balanceLabels += a.turned;
                EXPECT_TRUE(a.left() >= 0 && a.top() >= 0 && a.right() <= page.width &&
                            a.bottom() <= page.height)
                    << a.text.toStdString();
                for (std::size_t j = i + 1; j < page.texts.size(); ++j) {
                    const DiagramText& b = page.texts[j];
                    EXPECT_FALSE(a.left() < b.right() && b.left() < a.right() &&
                                 a.top() < b.bottom() && b.top() < a.bottom())
                        << a.text.toStdString() << " on " << b.text.toStdString();
                }
            }
        }
        // Every balance point is labelled but where the crowd leaves no room; a sheet's three
        // band captions are turned too.
        const std::size_t points = road.summary.balancePoints.size();
        EXPECT_LE(balanceLabels, points + 3 * c.sheets);
        EXPECT_GE(balanceLabels, std::min<std::size_t>(points, 10) + 3 * c.sheets);

        const DxfFile f = DxfFile::read(folder + "MassHaul.dxf");
        const double w = 23814 * kMassHaulDxfUnit, h = 16840 * kMassHaulDxfUnit;
        for (const DxfEntity& e : f.entities)
            for (const int code : {10, 11}) {
                if (!e.find(code))
                    continue;
                const double x = e.number(code), y = e.number(code + 10);
                const double sheet = std::floor(x / (w + 2));
                EXPECT_TRUE(sheet < double(c.sheets) && x - sheet * (w + 2) <= w && y >= 0 &&
                            y <= h)
                    << e.type << " at " << x << ", " << y;
            }
    }
}
