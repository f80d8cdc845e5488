// The longitudinal section drawing: sheets of a kilometre, their grids, bands and datum.
#include "export/LongSectionDxf.h"
#include "DxfTestSupport.h"
#include "store/Culverts.h"
#include "store/Error.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// Band texts are turned and sit at (x + 0.24, BandTop - (row + 1) * BandHeight + 0.04).
std::vector<const DxfEntity*> bandTexts(const DxfFile& f, int row)
{
    const double y = double(LongSectionDrawing::BandTop -
                            float(row + 1) * LongSectionDrawing::BandHeight + 0.04f);
    std::vector<const DxfEntity*> out;
    for (const auto& e : f.entities)
        if (e.type == "TEXT" && e.text(50) == " 90 " && std::abs(e.number(20) - y) < kTol)
            out.push_back(&e);
    return out;
}

// The sheets' left edges, found by their band titles, are the given ones.
void expectSheetsAt(const DxfFile& f, const std::vector<double>& lefts)
{
    std::vector<double> found;
    for (const DxfEntity* e : bandTexts(f, 0))
        if (e->text(1) == "CHAIN")
            found.push_back(e->number(10) + 0.5 - 0.24);
    ASSERT_EQ(found.size(), lefts.size());
    for (std::size_t i = 0; i < lefts.size(); ++i)
        EXPECT_NEAR(found[i], lefts[i], kTol) << i;
}

void plainRoad(RoadBuilder& road, int interval, int last)
{
    for (int c = 0; c <= last; c += interval)
        road.row(c, QStringLiteral("C=%1, FC=101, L8=99.5, R8=99.4").arg(100 + c % 100 / 100.0));
}

} // namespace

// Rows beyond the road's length (1 m, a new road's) are still drawn.
TEST(LongSectionDxf, SheetsOfAKilometreAndTheirGridsWhateverTheRoadsLength)
{
    for (const std::int64_t length : {2500, 1}) {
        SCOPED_TRACE(length);
        Drawing d;
        RoadBuilder road(d.project.db(), length, 20);
        plainRoad(road, 20, 2500);
        const DxfFile f = d.longSection(road.id());
        expectSheetsAt(f, {1, 32.7, 64.4});
        EXPECT_TRUE(d.warnings.isEmpty());
        // 51 + 51 + 26 rows; the row at 1000 ends one sheet and starts the next.
        EXPECT_EQ(bandTexts(f, 0).size(), 3u + 51 + 51 + 26);
        // The band grid: a vertical every 20 m (0.56) and seven band lines per sheet; the level
        // grid only when asked, with a line every metre of level over the frame's 18 rows.
        EXPECT_EQ(f.linesOn("GRID"), 3 * (51 + 8));
        d.options.lsectionGrid = true;
        EXPECT_EQ(d.longSection(road.id()).linesOn("GRID"), 3 * (51 + 8 + 51 + 19));
        d.options.viewSections = 9;
        EXPECT_THROW(d.longSection(road.id()), Error);
    }
}

TEST(LongSectionDxf, DatumLevelLabelsAndBandFigures)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 60, 20);
    road.row(0, "C=100.3, FC=100, L8=101.7, R2=99.9");
    road.row(20, "C=100.4, FC=100.5, L3=100.1");
    road.row(40, "FC=100.1, L1=0");
    road.row(60, "C=100.6, FC=100.2, R1=100.2");
    culverts::add(d.project.db(), road.id(),
                  culverts::addType(d.project.db(), "Pipe", "P", "pipe.png", "pipe.png"), 30, "E");

    auto labels = [](const DxfFile& f) {
        std::vector<std::string> out;
        for (const auto& e : f.ofType("TEXT"))
            if (e.layer() == "TEXT" && !e.find(50) && e.text(1).rfind("H 1:", 0) != 0)
                out.push_back(e.text(1));
        return out;
    };
    // Fixed datum 95: labels from 95 whatever the levels, to the highest whole level plus one.
    DxfFile f = d.longSection(road.id());
    EXPECT_EQ(labels(f),
              (std::vector<std::string>{"95", "96", "97", "98", "99", "100", "101", "102"}));
    EXPECT_NEAR(f.ofType("TEXT")[0].number(20), 0.7 + LongSectionDrawing::BandTop - 0.1, kTol);
    for (const auto& e : f.ofType("TEXT")) // 2 mm on paper at the least
        EXPECT_GE(e.number(40), 0.2 - 1e-6) << e.text(1);

    // Floating datum: one below the lowest whole level of C, the shown outer readings and FC
    // (with 8 shown, L8 counts and R2 does not).
    d.options.fixedDatum = false;
    f = d.longSection(road.id());
    EXPECT_EQ(labels(f), (std::vector<std::string>{"99", "100", "101", "102"}));
    d.options.viewSections = 2; // L8 no longer counts, R2 (99.9) now does
    f = d.longSection(road.id());
    EXPECT_EQ(labels(f), (std::vector<std::string>{"98", "99", "100", "101"}));

    // Figures: chainage as stored, levels with two decimals, one signed gradient per grade at
    // its middle.
    auto values = [&f](int row) {
        std::vector<std::string> out;
        for (const DxfEntity* e : bandTexts(f, row))
            out.push_back(e->text(1));
        return out;
    };
    EXPECT_EQ(values(0), (std::vector<std::string>{"CHAIN", "0", "20", "40", "60"}));
    EXPECT_EQ(values(1), (std::vector<std::string>{"FC", "100.00", "100.50", "100.10", "100.20"}));
    EXPECT_EQ(values(2), (std::vector<std::string>{"GRAD", "+2.50%", "-2.00%", "+0.50%"}));
    // An empty C stays empty and breaks the centre profile, as on the printed page.
    EXPECT_EQ(values(3), (std::vector<std::string>{"CEN", "100.30", "100.40", "100.60"}));
    // The outermost shown readings, L2 and R2, whatever lies further out or in.
    EXPECT_EQ(values(4), (std::vector<std::string>{"LEFT"}));
    EXPECT_EQ(values(5), (std::vector<std::string>{"RIGHT", "99.90"}));
    EXPECT_EQ(values(6), (std::vector<std::string>{"FC-C", "-0.30", "+0.10", "-0.40"}));
    // The culvert's mark under the formation at 30 m, labelled above it on its own layer.
    const DxfEntity* culvert = f.textStarting("CULVERT");
    ASSERT_NE(culvert, nullptr);
    EXPECT_EQ(culvert->text(1) + culvert->layer(), "CULVERT 30CULVERTS");
    EXPECT_NEAR(culvert->number(10), 1 + 30 * 0.028 + 0.1, kTol);
    EXPECT_GT(culvert->number(20), (100.3 - 0.1 - 98) * 0.7 + 0.7 + LongSectionDrawing::BandTop);
    EXPECT_EQ(f.linesOn("CENTRE"), 1); // 0-20 only
    EXPECT_EQ(f.linesOn("FC"), 3);
    EXPECT_EQ(f.linesOn("RIGHT"), 0); // never two rows in a row
}

TEST(LongSectionDxf, EmptySheetsWarnAndTheExportGoesOn)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 5000, 20);
    plainRoad(road, 20, 1000);
    for (int c = 3100; c <= 3900; c += 20)
        road.row(c, "C=100, FC=100");
    const DxfFile f = d.longSection(road.id());
    EXPECT_EQ(d.warnings,
              QStringList{QStringLiteral("There are no records to display for the current road!")});
    // Sheet 1 holds only the row at 1000; sheets 2 (2000-3000 m) and 4 (4000-5000 m, past the
    // last row) are empty and left blank.
    expectSheetsAt(f, {1, 32.7, 96.1});
    // Titles, and one gradient for each sheet's one straight grade (none for a single row).
    EXPECT_EQ(bandTexts(f, 2).size(), 3u + 1 + 0 + 1);
    // (A road without any rows: Export.TheDrawingsWarningsComeBackWithTheOutcomes.)
}
