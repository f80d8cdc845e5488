#include "formation/FormationRules.h"
#include "drawing/SectionSources.h"
#include "formation/FormationData.h"
#include "formation/FormationProfileSource.h"
#include "store/Schema.h"
#include "support/TestProject.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::formation;
using namespace tarmela::test;

namespace
{

// Rows every `step` metres from `from` to `to`, FC and C rising 1 m per km from 100.
std::int64_t evenRoad(TestProject& p, double from, double to, double step)
{
    QVector<double> chainages;
    for (double c = from; c <= to; c += step)
        chainages << c;
    const std::int64_t road = p.roadWithRows(chainages);
    p.db().exec("UPDATE " + schema::rlTable(road) +
                " SET C = 100 + Chainage / 1000.0, FC = 101 + Chainage / 1000.0, "
                "L8 = 99.5 + Chainage / 1000.0, R8 = 99 + Chainage / 1000.0");
    return road;
}

} // namespace

using FormationRules = ProjectTest;

// A click picks the row after it from 12.5 m past a 50 m mark, else the row at or before it.
// (On a road of 40 km, its scroll bar reaching the end:
// FormationToolWindow.PickTypeUpdateGradeAndUndo.)
TEST_F(FormationRules, PicksTheRowTheClickMeans)
{
    FormationData road(db, evenRoad(p, 0, 200, 20), 8);
    const struct {
        double x;
        std::int64_t start;
        std::optional<double> row;
    } cases[] = {
        {600 + 12 * 12, 0, 0},
        {600 + 12 * 13, 0, 20},
        {606, 0, 0},                       // half a metre rounds to the even 0
        {618 + 12 * 12, 0, 20},            // 13.5 rounds to 14
        {600 + 12 * 2, 50, 40},            // 52 m
        {600 + 12 * 250, 0, 200},          // beyond the end: the last row
        {600 + 12 * 263, 0, std::nullopt}, // nothing after it
    };
    for (const auto& c : cases)
        EXPECT_EQ(road.pickedChainage(pickRule(chainageAt(c.x, c.start))), c.row)
            << c.x << " from " << c.start;
    EXPECT_EQ(lastScrollStep(590, 600), 0);
}

TEST(FormationReadouts, DifferencesAndGrades)
{
    using Level = std::optional<double>;
    const auto check = [](const char* what, FormationProfileRow row,
                          std::optional<FormationProfileRow> previous, double left, double centre,
                          double right, Level percent, Level oneIn) {
        const Readouts r = readoutsFor(row, previous);
        EXPECT_NEAR(r.leftDiff, left, 1e-9) << what;
        EXPECT_NEAR(r.centreDiff, centre, 1e-9) << what;
        EXPECT_NEAR(r.rightDiff, right, 1e-9) << what;
        // -1 stands for an empty box.
        EXPECT_NEAR(r.percent.value_or(-1), percent.value_or(-1), 1e-9) << what;
        EXPECT_NEAR(r.oneIn.value_or(-1), oneIn.value_or(-1), 1e-9) << what;
    };
    // (Rising 0.6 m over 20 m, the formation tool shows 3.00 % and 1 in 33.)
    check("first row: no grade", {0, 0, 100, 100, {}, 101.2}, {}, 1.2, 1.2, 101.2, {}, {});
    check("level stretch", {0, 40, 99, 99.5, 102, 101.2},
          FormationProfileRow{0, 20, {}, {}, {}, 101.2}, 2.2, 1.7, -0.8, 0, {});
    check("falling, signed as in the longitudinal section", {0, 120, 10, 10, 10, 9.5},
          FormationProfileRow{0, 100, {}, {}, {}, 10}, -0.5, -0.5, -0.5, -2.5, -40);
    check("previous FC empty counts as 0", {0, 20, 0, 0, 0, 2},
          FormationProfileRow{0, 0, {}, {}, {}, {}}, 2, 2, 2, 10, 10);
}

TEST(FormationProfileGeometry, FrameDatumAndCulverts)
{
    std::vector<FormationProfileRow> rows{{1, 0, 99.1, 101.8, 98.2, 100},
                                          {2, 20, std::nullopt, 98, 97.35, 100}};
    EXPECT_EQ(automaticDatum(rows), 97);
    // (Where a level lies above the base line: FormationProfilePainter's FC, C and L8.)
    EXPECT_EQ(automaticDatum({{1, 0, std::nullopt, std::nullopt, std::nullopt, 100}}),
              std::nullopt);

    EXPECT_DOUBLE_EQ(culvertTop(100.4, 100.6, 97), 100);
    EXPECT_DOUBLE_EQ(culvertTop(std::nullopt, std::nullopt, 97), 97.5);
}

// The culverts in view stand half a metre under the mean FC of the rows on either side,
// with the picture of their kind; a missing picture is skipped, and pictures that can't be
// read are named once for the whole redraw. Of two rows at one chainage the one later in
// Chainage, ID order is the row before the culvert, here and in the longitudinal section.
TEST_F(FormationRules, CulvertsInViewWithTheirPictures)
{
    const auto road = evenRoad(p, 200, 300, 100);
    db.exec("INSERT INTO " + schema::rlTable(road) + " (ID, Chainage, FC) VALUES (99, 200, 111.2)");
    QTemporaryDir folder;
    QImage(8, 8, QImage::Format_RGB32).save(folder.filePath("good.png"));
    writeFile(folder.filePath("bad.png"), "not a picture");
    db.exec("INSERT INTO CulvertTypes (ID, CulvertName, ImageFileExisting, ImageFileProposed) "
            "VALUES (1, 'Pipe', 'good.png', 'bad.png'), (2, 'Box', 'gone.png', 'gone.png')");
    db.exec(QStringLiteral("INSERT INTO Culverts (RoadRef, CTypeRef, Chainage, EPType) VALUES "
                           "(%1, 1, 250, 'E'), (%1, 1, 150, 'P'), (%1, 1, 260, 'X'), "
                           "(%1, 2, 270, 'E'), (%1, 1, 900, 'E'), (%1 + 1, 1, 255, 'E')")
                .arg(road));
    FormationProfileSource source(db, road, 8, folder.path());
    const FormationProfileFrame frame{8400, 6600}; // 600 m
    const auto r = source.load(frame, 0, 95, true);
    ASSERT_EQ(r.drawing.culverts.size(), 1u);
    EXPECT_EQ(r.drawing.culverts[0].chainage, 250);
    EXPECT_NEAR(r.drawing.culverts[0].top, (111.2 + 101.3) / 2 - 0.5, 1e-9);
    EXPECT_EQ(r.message, "The culvert picture bad.png can't be read");
    EXPECT_EQ(source.load(frame, 0, 95, false).message, "");
    const LongSectionPage page = LongSectionSource(db, road, {8, true, 95}).page(0);
    // The longitudinal section draws every culvert of the page as lines, pictures or none.
    ASSERT_EQ(page.culverts.size(), 4u);
    EXPECT_NEAR(page.culverts[1].level, (111.2 + 101.3) / 2 - 0.1, 1e-9);
    EXPECT_TRUE(page.culverts[1].existing && !page.culverts[0].existing);
}
