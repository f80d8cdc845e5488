#include "CliSupport.h"
#include "drawing/MassHaulDiagram.h"
#include "export/DxfTestSupport.h"
#include "export/MassHaulDxf.h"
#include "store/Numbers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

using namespace tarmela;
using namespace tarmela::test;

using CliMassHaul = CliFlatRoad;

// Fill 2,150 then fill 1,500 with cut 1,500: with factor 2, M = 0, -2,150, -650; one stretch
// of haul 2,150 x 100 / 2 + (2,150 + 650) x 100 / 2.
TEST_F(CliMassHaul, StretchesJsonAndTheTablePerSection)
{
    ASSERT_TRUE(cli.ok({"recompute", "1"}));
    ASSERT_TRUE(cli.ok({"set-road", "1", "--cut-factor", "2"}));
    ASSERT_TRUE(cli.ok({"masshaul", "1", "--json"}));
    EXPECT_EQ(cli.out, "{\"road\": 1, \"cut_factor\": 2, \"stretches\": [{\"from\": 900, \"to\": "
                       "1100, \"volume\": 2150, \"haul\": 247500, \"average_distance\": " +
                           plainDecimal(247500.0 / 2150) +
                           "}], \"balance_points\": [], \"end_ordinate\": -650}\n");

    const QString csv = cli.dir.filePath("mass haul.csv");
    ASSERT_TRUE(cli.ok({"masshaul", "1", "--csv", csv}));
    EXPECT_TRUE(cli.out.contains("Deficit to borrow: 650.00 m3")) << cli.out.toStdString();
    const QList<QByteArray> lines = readFile(csv).split('\n');
    ASSERT_EQ(lines.size(), 5); // heading, three sections, the last newline
    EXPECT_EQ(lines[3], "1100,0.000,30.000,1500.00,1500.00,3650.00,1500.00,-650.00");
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
        QDir().mkpath(cli.dir.filePath("Data"));
        QFile::copy(QCoreApplication::applicationDirPath() + "/Data/HeaderL.dxf",
                    cli.dir.filePath("Data/HeaderL.dxf"));
        auto db = cli.open();
        RoadBuilder sheet(*db, 1000, 20);
        double m = 0;
        for (int i = 0; i < c.sections; ++i) {
            const double area = (m > 0 ? -1 : 1) * (1 + (i * 7) % 5);
            m += area * 20;
            sheet.row(i * 20, QStringLiteral("Fill Area=%1, Cut Area=%2")
                                  .arg(std::max(0.0, -area))
                                  .arg(std::max(0.0, area)));
        }
        const QString folder = cli.dir.filePath("Out/North to South/");
        for (const char* pdf : {"--pdf", ""})
            ASSERT_EQ(
                cli(QStringList{"export", "1", "--dir", cli.dir.filePath("Out"), "--mass-haul", pdf}
                        .filter(QRegularExpression("."))),
                0)
                << cli.err.toStdString();
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
