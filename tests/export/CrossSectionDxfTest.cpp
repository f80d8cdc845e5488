// The cross sections drawing: sheets of sections side by side, and the world-units drawing of
// each section at its own point.
#include "DxfTestSupport.h"
#include "store/Error.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

const double kFirstBoxTop = double(29.7f - 27.2f / 6 + 1.0f);

// The line between the two points, in either direction, on the layer.
bool hasLine(const DxfFile& f, const std::string& layer, double x1, double y1, double x2, double y2)
{
    auto near = [](double a, double b) { return std::abs(a - b) < kTol; };
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

} // namespace

TEST(CrossSectionDxf, SheetsSideBySideEveryEntityInsideItsSheetAndItsTextsInItsSlot)
{
    // Seven sections make two sheets; a gentle road and a hill road 80 m wide.
    const struct {
        const char* what;
        std::vector<double> distances;
        const char* row;
    } cases[] = {
        {"gentle",
         {2, 3, 2.5},
         "C=100, L1=100.5, L3=99.5, R1=99.8, R2=99.6, FC=101, FL1=100.9, FL2=100.8, FR1=100.9, "
         "FR2=100.8, Width=8, Left Slope=2, Right Slope=0, Fill Area=12.5, Cut Area=0"},
        {"hill",
         {2, 3, 5, 5, 5, 5, 7.5, 7.5},
         "C=110, L1=111, L2=112, L4=115, L5=117, L6=119, L7=121, L8=124, R1=109, R2=108, "
         "R3=106, R4=104, R5=101, R6=99, R7=96, R8=92, FC=130, FL1=129.9, FL2=129.8, "
         "FR1=129.9, FR2=129.8, Width=7.5, Left Slope=2, Right Slope=2, Fill Area=900"},
        // Narrow on the right; on the left a fill slope carried 30 m past the last reading.
        {"one side far",
         {2, 2},
         "C=100, L1=100, L2=100, R1=100, R2=100, FC=116, FL1=116, FL2=116, FR1=116, FR2=116, "
         "Width=8, Left Slope=2, Fill Area=300"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Drawing d;
        RoadBuilder road(d.project.db(), 140, 20);
        road.distances(c.distances, c.distances);
        for (int i = 0; i < 7; ++i)
            road.row(20.0 * i, c.row);
        const DxfFile f = d.crossSections(road.id());

        // Frames 1 inside the 21 x 29.7 sheets at x 0 and 23, and the extents cover both.
        EXPECT_TRUE(hasLine(f, "FRAME", 1, 28.7, 20, 28.7));
        EXPECT_TRUE(hasLine(f, "FRAME", 24, 1, 43, 1));
        EXPECT_FALSE(hasLine(f, "FRAME", 47, 28.7, 66, 28.7));
        EXPECT_TRUE(f.bytes.left(f.bytes.indexOf("ENTITIES")).contains("$EXTMAX\r\n 10\r\n44"));

        const double slot = double(27.2f / 6);
        int section = -1, sheet = 0, inSlot = 0;
        for (const auto& e : f.entities) {
            EXPECT_NE(e.layer(), "0");
            if (!e.find(10)) // a polyline's head and end: its vertices carry the points
                continue;
            const bool aligned = e.find(11) != nullptr;
            const double x = e.number(aligned ? 11 : 10), y = e.number(aligned ? 21 : 20);
            const double left = x < 21.5 ? 0 : 23;
            const double margin = e.type == "VERTEX" ? 2.5 : 1; // outlines inside the figure box
            EXPECT_TRUE(x >= left + margin - kTol && x <= left + 21 - margin + kTol &&
                        y >= 1 - kTol && y <= 28.7 + kTol)
                << e.type << " on " << e.layer() << " at " << x << ", " << y;
            if (e.type != "TEXT")
                continue;
            if (e.text(1) == "EX. LEVEL") {
                ++section;
                sheet = section / 6;
            }
            if (section < 0)
                continue;
            // Each text within its section's slot: its box top less 2 and the slot above.
            const double top = kFirstBoxTop - (section % 6) * slot;
            inSlot += y > top - 2 && y < top - 2 + slot && left == 23 * sheet;
            if (e.layer() == "BANDS" && e.find(50)) { // two decimals
                EXPECT_EQ(e.text(1).find('.'), e.text(1).size() - 3) << e.text(1);
            }
            EXPECT_GE(e.number(40), 0.175 - kTol); // at least 1.75 mm on paper
        }
        EXPECT_EQ(section, 6);
        EXPECT_EQ(inSlot, int(f.ofType("TEXT").size()) - 2); // all but the two scale notes
        EXPECT_GT(f.linesOn("GROUND"), 0);
        EXPECT_GT(f.linesOn("FORMATION"), 0);
    }
}

TEST(CrossSectionDxf, EmptyCellsLeaveOutOnlyWhatNeedsThemAndBadRequestsChangeNothing)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 40, 20);
    road.distances({2, 2}, {2, 2});
    // A road without rows: the template and an empty ENTITIES section.
    EXPECT_EQ(d.crossSections(road.id()).bytes,
              readFile(templateFolder() + "/HeaderX.dxf") +
                  " 0 \r\nSECTION\r\n 2 \r\nENTITIES\r\n 0 \r\nENDSEC\r\n 0 \r\nEOF\r\n");
    // No centre level, no width, no slopes: the ground readings still draw, unjoined to the
    // centre, and the formation has only its centre level.
    road.row(0, "L1=100.5, L2=100.2, R1=100.1, FC=101, FL1=100.9, Left Slope=2");
    const DxfFile f = d.crossSections(road.id());
    EXPECT_NE(f.textStarting("FILL AREA =  SQM"), nullptr);
    EXPECT_EQ(f.linesOn("GROUND"), 1); // only L2-L1 joins
    EXPECT_EQ(f.linesOn("FORMATION"), 0);
    EXPECT_NE(f.textStarting("101.00"), nullptr);

    writeFile(d.target, "old");
    auto kindOf = [&](std::int64_t id, const DxfOptions& o) {
        const auto e = thrown([&] { ExportCrossSectionsDxf(d.project.db(), id, o, d.target); });
        return e ? std::optional(e->kind()) : std::nullopt;
    };
    // (A missing template: CliExport.FailuresGoToStandardErrorAndTakeTheNewFoldersAway.)
    DxfOptions zeroPerPage = d.options;
    zeroPerPage.sectionsPerPage = 0;
    EXPECT_EQ(kindOf(road.id(), zeroPerPage), ErrorKind::Usage);
    EXPECT_EQ(kindOf(road.id() + 1, d.options), ErrorKind::Data);
    d.project.db().exec("DROP TABLE " + QStringLiteral("RL_%1").arg(road.id()));
    EXPECT_EQ(kindOf(road.id(), d.options), ErrorKind::TableMissing);

    EXPECT_EQ(readFile(d.target), "old");
}

TEST(CrossSectionDxf, WorldUnitsTrueGeometryEachSectionAtItsOwnPoint)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 20, 20);
    road.distances({2, 3, 2.5}, {2, 3, 2.5});
    road.row(0, "C=100, L1=100.5, L3=99.5, R1=99.8, R2=99.6");
    road.row(20, "C=101, L1=101.5, L3=100.5, R1=100.8, R2=100.6");
    ExportCrossSectionsWorldDxf(d.project.db(), road.id(), d.options, d.target);
    const DxfFile f = DxfFile::read(d.target);
    // The centre lines stand at the sections' insertion points; the ground at its true offsets
    // and levels from them.
    const std::vector<DxfEntity> centres = f.ofType("LINE");
    ASSERT_EQ(centres.size(), 2u);
    const double x0 = centres[0].number(10), x1 = centres[1].number(10);
    EXPECT_GT(x1 - x0, 2 * 5);
    std::vector<std::pair<double, double>> ground;
    for (const auto& e : f.ofType("VERTEX"))
        if (e.layer() == "GROUND")
            ground.emplace_back(e.number(10), e.number(20));
    // One polyline a section, from the right to the left; L2 is empty, so L3 lies its own
    // interval beyond L1. The second section is the first one a metre higher.
    const std::pair<double, double> offsets[] = {
        {5, 99.6}, {2, 99.8}, {0, 100}, {-2, 100.5}, {-4.5, 99.5}};
    std::vector<std::pair<double, double>> expected;
    for (const double x : {x0, x1})
        for (const auto& [offset, level] : offsets)
            expected.emplace_back(x + offset, level + (x == x1));
    EXPECT_EQ(ground, expected);
}
