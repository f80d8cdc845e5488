// Both drawings of a plausible road go through two independent DXF readers: ezdxf's strict
// reader and auditor, and LibreCAD rendering it (texts included) to a picture, by the
// project's scripts/check-dxf. Set TARMELA_KEEP_DXF to a folder to keep the drawings and their
// pictures for a look.
#include "DxfTestSupport.h"
#include "compute/EarthworkQuantities.h"
#include "export/DxfDrawings.h"
#include "sheets/SampleRoad.h"
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

} // namespace

TEST(DxfReaders, BothDrawingsPassTheStrictReaderAndRender)
{
    TestProject project;
    // Half a kilometre of the sample survey, recomputed: formation in fill and in cut, some
    // outer readings missing, culverts.
    EarthworkInputs in;
    in.road = createSampleRoad(project.db(), {26});
    UpdateEarthworkQuantities(project.db(), in);
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
    EXPECT_TRUE(ExportLongSectionDxf(project.db(), in.road, o, longSection).isEmpty());
    ExportCrossSectionsDxf(project.db(), in.road, o, crossSections);

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
