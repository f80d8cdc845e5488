#include "export/CrossSectionDxf.h"
#include "DxfTestSupport.h"
#include "export/DxfDrawings.h"
#include "store/Error.h"
#include "support/TestProject.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

constexpr double kTol = 2e-4; // coordinates are written with seven significant digits
const double kFirstBoxTop = double(29.7f - 27.2f / 6 + 1.0f);

struct Drawing {
    TestProject project;
    QTemporaryDir out;
    QString target = out.filePath("XSection.dxf");
    DxfOptions options;
    Drawing() { options.templateFolder = templateFolder(); }
    DxfFile write(std::int64_t road)
    {
        ExportCrossSectionsDxf(project.db(), road, options, target);
        return DxfFile::read(target);
    }
};

bool near(double a, double b)
{
    return std::abs(a - b) < kTol;
}

// The line between the two points, in either direction, on the layer.
bool hasLine(const DxfFile& f, const std::string& layer, double x1, double y1, double x2, double y2)
{
    for (const auto& e : f.ofType("LINE")) {
        if (e.layer() != layer)
            continue;
        const double a = e.number(10), b = e.number(20), c = e.number(11), d = e.number(21);
        if ((near(a, x1) && near(b, y1) && near(c, x2) && near(d, y2)) ||
            (near(a, x2) && near(b, y2) && near(c, x1) && near(d, y1)))
            return true;
    }
    return false;
}

const DxfEntity* text(const DxfFile& f, const std::string& layer, const std::string& value,
                      int nth = 0)
{
    for (const auto& e : f.entities)
        if (e.type == "TEXT" && e.layer() == layer && e.text(1) == value && nth-- == 0)
            return &e;
    return nullptr;
}

} // namespace

TEST(CrossSectionDxf, SevenRowsMakeTwoSheetsSideBySide)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 140, 20);
    for (int i = 0; i < 7; ++i)
        road.row(20.0 * i, "");
    const DxfFile f = d.write(road.id());

    // Sheet frames 1 inside the 21 x 29.7 sheets at x 0 and 23.
    EXPECT_TRUE(hasLine(f, "0", 1, 28.7, 20, 28.7));
    EXPECT_TRUE(hasLine(f, "0", 24, 28.7, 43, 28.7));
    EXPECT_TRUE(hasLine(f, "0", 24, 1, 43, 1));
    EXPECT_FALSE(hasLine(f, "0", 47, 28.7, 66, 28.7));

    const double slot = double(27.2f / 6);
    EXPECT_NEAR(kFirstBoxTop, 26.167, 5e-4);
    for (int i = 0; i < 7; ++i) {
        const DxfEntity* chainage = f.textStarting("CHAINAGE = ", i);
        ASSERT_NE(chainage, nullptr);
        EXPECT_EQ(chainage->text(1), "CHAINAGE = " + std::to_string(20 * i));
        const double boxTop = kFirstBoxTop - (i < 6 ? i : 0) * slot;
        EXPECT_NEAR(chainage->number(10), i < 6 ? 2.5 : 25.5, kTol);
        EXPECT_NEAR(chainage->number(20), boxTop + 3 - 0.0529, kTol);
        EXPECT_TRUE(hasLine(f, "0", i < 6 ? 2.5 : 25.5, boxTop, i < 6 ? 18.5 : 41.5, boxTop));
    }
    EXPECT_EQ(f.textStarting("CHAINAGE = ", 7), nullptr);

    // Each section opens with its two band labels, right-aligned at the box's right end.
    int labels = 0;
    for (std::size_t i = 0; i + 1 < f.entities.size(); ++i) {
        const DxfEntity& e = f.entities[i];
        if (e.type != "TEXT" || e.text(1) != "EXISTING LEVEL")
            continue;
        ++labels;
        EXPECT_EQ(e.layer(), "EXISTING");
        EXPECT_EQ(e.text(72), " 2 ");
        EXPECT_EQ(f.entities[i + 1].text(1), "PROPOSED LEVEL");
        EXPECT_EQ(f.entities[i + 1].layer(), "PROPOSED");
        EXPECT_EQ(f.entities[i + 2].type, "LINE"); // the figure box follows
    }
    EXPECT_EQ(labels, 7);
}

TEST(CrossSectionDxf, GroundFormationAndSlopesOfOneSection)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 20, 20);
    road.distances({2, 3, 2.5}, {2, 2});
    road.row(0, "C=100, L1=100.5, L3=99.5, R1=99.8, R2=99.6, FC=101, FL1=100.9, FL2=100.8, "
                "FR1=100.9, FR2=100.8, Width=8, Left Slope=2, Right Slope=0, Fill Area=12.5, "
                "Cut Area=0");
    const DxfFile f = d.write(road.id());
    const double y = kFirstBoxTop;

    EXPECT_NE(text(f, "0", "FILL AREA = 12.5 SQM"), nullptr);
    EXPECT_NE(text(f, "0", "CUT AREA = 0 SQM"), nullptr);
    EXPECT_NE(text(f, "0", "DATUM = 99.20"), nullptr); // lowest reading 99.5 less 0.3

    // Ground: C at the centre line, L1 two metres out and 1.3 above the datum; the empty L2
    // is passed over, so L3 lies 2.5 further out from L1.
    EXPECT_TRUE(hasLine(f, "EXISTING", 8.5, y + 1.3, 10.5, y + 0.8));
    EXPECT_TRUE(hasLine(f, "EXISTING", 6.0, y + 0.3, 8.5, y + 1.3));
    EXPECT_TRUE(hasLine(f, "EXISTING", 12.5, y + 0.6, 10.5, y + 0.8));
    EXPECT_TRUE(hasLine(f, "EXISTING", 14.5, y + 0.4, 12.5, y + 0.6));
    EXPECT_TRUE(hasLine(f, "0", 6.0, y, 6.0, y - 1)); // tick in the existing band
    const DxfEntity* c = text(f, "EXISTING", "100");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->text(50), " 90 ");
    EXPECT_NEAR(c->number(10), 10.48, kTol);
    EXPECT_NEAR(c->number(20), y - 1 + 0.0882, kTol);
    const DxfEntity* l3Distance = text(f, "EXISTING", "2.50");
    ASSERT_NE(l3Distance, nullptr);
    EXPECT_EQ(l3Distance->text(72), " 4 ");
    EXPECT_NEAR(l3Distance->number(11), 7.25, kTol);
    EXPECT_NEAR(l3Distance->number(21), y + 0.02, kTol);

    // Formation: quarter widths of 2 to each side.
    EXPECT_TRUE(hasLine(f, "PROPOSED", 10.5, y + 1.8, 8.5, y + 1.7));
    EXPECT_TRUE(hasLine(f, "PROPOSED", 8.5, y + 1.7, 6.5, y + 1.6));
    EXPECT_TRUE(hasLine(f, "PROPOSED", 14.5, y + 1.6, 12.5, y + 1.7));
    EXPECT_TRUE(hasLine(f, "PROPOSED", 6.5, y - 1, 6.5, y - 2));
    const DxfEntity* quarter = text(f, "PROPOSED", "2.00");
    ASSERT_NE(quarter, nullptr);
    EXPECT_NEAR(quarter->number(10), 8.5, kTol);
    EXPECT_NEAR(quarter->number(20), y - 1 - 0.0529, kTol);
    EXPECT_NEAR(quarter->number(11), 9.5, kTol);
    EXPECT_NEAR(quarter->number(21), y - 1 - 0.0729, kTol);

    // Left slope 2: from FL2 down 1.3 to the ground level of L3 is 2.6 across.
    EXPECT_TRUE(hasLine(f, "PROPOSED", 6.5, y + 1.6, 3.9, y + 0.3));
    EXPECT_TRUE(hasLine(f, "EXISTING", 6.0, y + 0.3, 3.9, y + 0.3));
    // The zero right slope is left out; everything else of the right side is there.
    EXPECT_EQ(f.linesOn("PROPOSED"), 4 + 4 + 1);
    EXPECT_EQ(f.linesOn("EXISTING"), 4 + 1);
}

TEST(CrossSectionDxf, EmptyCellsLeaveOutOnlyWhatNeedsThem)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 40, 20);
    road.distances({2, 2}, {2, 2});
    // No centre level, no width, no slopes: the ground readings still draw, unjoined to the
    // centre, and the formation has only its centre level.
    road.row(0, "L1=100.5, L2=100.2, R1=100.1, FC=101, FL1=100.9, Left Slope=2");
    // A ground reading of 100.5 with the datum at 99.7 lies 0.8 above the box top; with no
    // reading on the left the slope meets the ground carried on from the centre.
    road.row(20, "C=100, R1=100.5, FC=101, FL1=100.9, FL2=100.8, FR1=100.9, Width=8, "
                 "Left Slope=2, Right Slope=2");
    const DxfFile f = d.write(road.id());
    const double y0 = kFirstBoxTop;
    const double y1 = kFirstBoxTop - double(27.2f / 6);

    EXPECT_NE(text(f, "0", "FILL AREA =  SQM"), nullptr);
    // First section, datum 99.8: only L2-L1 joins; R1 has nothing to join to.
    EXPECT_TRUE(hasLine(f, "EXISTING", 6.5, y0 + 0.4, 8.5, y0 + 0.7));
    int existingLines = 0, proposedLines = 0, proposedTexts = 0;
    int labels = 0;
    for (const auto& e : f.entities) {
        if (e.type == "TEXT" && e.text(1) == "EXISTING LEVEL" && ++labels == 2)
            break; // the second section begins
        existingLines += e.layer() == "EXISTING" && e.type == "LINE";
        proposedLines += e.layer() == "PROPOSED" && e.type == "LINE";
        proposedTexts += e.layer() == "PROPOSED" && e.type == "TEXT";
    }
    EXPECT_EQ(existingLines, 1);
    EXPECT_EQ(proposedLines, 0);
    EXPECT_EQ(proposedTexts, 2); // the band label and FC
    EXPECT_NE(text(f, "EXISTING", "100.1"), nullptr);

    // Second section: R1 0.8 above the box top.
    EXPECT_TRUE(hasLine(f, "EXISTING", 12.5, y1 + 0.8, 10.5, y1 + 0.3));
    // FR2 has no level: no line into it, no right slope; the left side is whole.
    EXPECT_TRUE(hasLine(f, "PROPOSED", 8.5, y1 + 1.2, 6.5, y1 + 1.1));
    EXPECT_TRUE(hasLine(f, "PROPOSED", 10.5, y1 + 1.3, 12.5, y1 + 1.2));
    // Left slope from FL2 (6.5, 1.1 up) down to the centre level (0.3 up): 1.6 across.
    EXPECT_TRUE(hasLine(f, "PROPOSED", 6.5, y1 + 1.1, 4.9, y1 + 0.3));
    EXPECT_TRUE(hasLine(f, "EXISTING", 10.5, y1 + 0.3, 4.9, y1 + 0.3));
}

TEST(CrossSectionDxf, RoadWithoutRowsGivesAnEmptyEntitiesSection)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 100, 20);
    const DxfFile f = d.write(road.id());
    EXPECT_EQ(f.bytes, readFile(templateFolder() + "/HeaderX.dxf") +
                           " 0 \r\nSECTION\r\n 2 \r\nENTITIES\r\n 0 \r\nENDSEC\r\n 0 \r\nEOF\r\n");
}

TEST(CrossSectionDxf, BadRequestsChangeNothing)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 100, 20);
    road.row(0, "");
    writeFile(d.target, "old");
    auto kindOf = [&](std::int64_t id, const DxfOptions& o) -> std::optional<ErrorKind> {
        try {
            ExportCrossSectionsDxf(d.project.db(), id, o, d.target);
        } catch (const Error& e) {
            return e.kind();
        }
        return std::nullopt;
    };
    DxfOptions noTemplate = d.options;
    noTemplate.templateFolder = d.out.filePath("nowhere");
    EXPECT_EQ(kindOf(road.id(), noTemplate), ErrorKind::Io);
    DxfOptions zeroPerPage = d.options;
    zeroPerPage.sectionsPerPage = 0;
    EXPECT_EQ(kindOf(road.id(), zeroPerPage), ErrorKind::Usage);
    EXPECT_EQ(kindOf(road.id() + 1, d.options), ErrorKind::Data);
    d.project.db().exec("DROP TABLE " + QStringLiteral("RL_%1").arg(road.id()));
    EXPECT_EQ(kindOf(road.id(), d.options), ErrorKind::TableMissing);

    EXPECT_EQ(readFile(d.target), "old");
}
