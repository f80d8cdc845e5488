// Both drawings of a plausible road go through two independent DXF readers: ezdxf's strict
// reader and auditor, and LibreCAD rendering it (texts included) to a picture, by the
// project's scripts/check-dxf. Set TARMELA_KEEP_DXF to a folder to keep the drawings and their
// pictures for a look.
#include "DxfTestSupport.h"
#include "export/DxfDrawings.h"
#include "store/Numbers.h"
#include "support/TestProject.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

QString checkTool()
{
    return qEnvironmentVariable("TARMELA_SOURCE_DIR") + QStringLiteral("/scripts/check-dxf");
}

// Half a kilometre at 20 m: ground rolling across and along, a formation in fill and in cut,
// some empty cells as a surveyor leaves them.
void plausibleRoad(RoadBuilder& road)
{
    road.distances({1.5, 2, 2, 1.5}, {1.5, 2, 2, 1.5});
    for (int i = 0; i <= 25; ++i) {
        // Levels as the computations store them, to the millimetre.
        const double c = d3(100 + 1.5 * std::sin(i / 4.0)), fc = d3(100.5 + 0.01 * i);
        QStringList cells{i == 16 ? "" : QStringLiteral("C=%1").arg(c, 0, 'f', 3)};
        for (int k = 1; k <= 4; ++k) {
            if (i != 3 || k != 2)
                cells << QStringLiteral("L%1=%2").arg(k).arg(
                    d3(c - 0.12 * k + 0.05 * std::cos(i + k)), 0, 'f', 3);
            cells << QStringLiteral("R%1=%2").arg(k).arg(d3(c - 0.08 * k), 0, 'f', 3);
        }
        cells << QStringLiteral("FC=%1, FL1=%2, FL2=%3, FR1=%2, FR2=%3")
                     .arg(fc, 0, 'f', 3)
                     .arg(d3(fc - 0.0875), 0, 'f', 3)
                     .arg(d3(fc - 0.175), 0, 'f', 3);
        cells << QStringLiteral("Fill Area=%1, Cut Area=%2")
                     .arg(d3(std::max(0.0, (fc - c) * 11)), 0, 'f', 3)
                     .arg(d3(std::max(0.0, (c - fc) * 11)), 0, 'f', 3);
        cells << (i == 7 ? "" : "Width=7") << (i == 11 ? "Right Slope=0" : "Right Slope=1.5")
              << "Left Slope=2";
        road.row(20.0 * i, cells.join(','));
    }
}

} // namespace

TEST(DxfReaders, BothDrawingsPassTheStrictReaderAndRender)
{
    TestProject project;
    RoadBuilder road(project.db(), 500, 20);
    plausibleRoad(road);
    QTemporaryDir temp;
    const QByteArray keep = qgetenv("TARMELA_KEEP_DXF");
    const QString folder = keep.isEmpty() ? temp.path() : QString::fromLocal8Bit(keep);
    QDir().mkpath(folder);

    DxfOptions o;
    o.templateFolder = templateFolder();
    o.lsectionGrid = true;
    o.fixedDatum = false;
    const QString longSection = QDir(folder).filePath("LSection.dxf");
    const QString crossSections = QDir(folder).filePath("XSection.dxf");
    EXPECT_TRUE(ExportLongSectionDxf(project.db(), road.id(), o, longSection).isEmpty());
    ExportCrossSectionsDxf(project.db(), road.id(), o, crossSections);

    for (const QString& file : {longSection, crossSections}) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(checkTool(), {file, folder});
        ASSERT_TRUE(p.waitForFinished(600000)) << "check-dxf did not finish";
        const QString output = QString::fromLocal8Bit(p.readAll());
        // Without the readers a developer's run says so; CI installs them and must run it.
        if (p.exitCode() == 2 && qEnvironmentVariable("CI") != QLatin1String("true"))
            GTEST_SKIP() << output.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("audit errors 0")) << output.toStdString();
        EXPECT_FALSE(output.contains("not defined in the LAYER table")) << output.toStdString();
        EXPECT_TRUE(output.contains("librecad: rendered")) << output.toStdString();
        // The strict reader saw every entity the file holds, texts included.
        const DxfFile f = DxfFile::read(file);
        // (A polyline is one entity to the reader, its vertices and end part of it.)
        const std::size_t polylines = f.ofType("POLYLINE").size();
        const QString counted =
            QStringLiteral("entities %1 {'LINE': %2, 'TEXT': %3, 'POLYLINE': %4}")
                .arg(f.entities.size() - f.ofType("VERTEX").size() - polylines)
                .arg(f.ofType("LINE").size())
                .arg(f.ofType("TEXT").size())
                .arg(polylines);
        EXPECT_TRUE(output.contains(counted)) << counted.toStdString() << "\n"
                                              << output.toStdString();
    }
}
