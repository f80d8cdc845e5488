#include "compute/EarthworkQuantities.h"
#include "store/Roads.h"
#include "store/Schema.h"
#include "support/TestProject.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace {

void setRow(Database& db, std::int64_t road, std::int64_t id, const QString& assignments)
{
    db.exec("UPDATE " + schema::rlTable(road) + " SET " + assignments +
            QStringLiteral(" WHERE ID = %1").arg(id));
}

QVariant cell(Database& db, std::int64_t road, std::int64_t id, const QString& column)
{
    return db.scalar("SELECT [" + column + "] FROM " + schema::rlTable(road) +
                     QStringLiteral(" WHERE ID = %1").arg(id));
}

// A level formation (no camber) over flat ground: width 10 gives a base of 11 and
// h = FC - ground, so the area is (11 + 2h)h: h 1 -> 13 fill, 2 -> 30 fill, -2 -> 30 cut.
void flatSection(Database& db, std::int64_t road, std::int64_t id, double fc, double ground)
{
    QString sets = QStringLiteral("Width = 10, FC = %1, C = %2").arg(fc).arg(ground);
    for (int i = 1; i <= 8; ++i)
        sets += QStringLiteral(", L%1 = %2, R%1 = %2").arg(i).arg(ground);
    setRow(db, road, id, sets);
}

EarthworkInputs inputs(std::int64_t road, int method = 1, double camber = 0)
{
    EarthworkInputs in;
    in.road = road;
    in.method = method;
    in.formationCamber = camber;
    in.carriageCamber = camber;
    in.locale = QLocale::c();
    return in;
}

} // namespace

TEST(EarthworkQuantities, NoRoadChosenDoesNothing)
{
    TestProject p;
    const auto road = p.roadWithRows({0, 20});
    flatSection(p.db(), road, 1, 101, 100);
    const EarthworkResult r = UpdateEarthworkQuantities(p.db(), inputs(0));
    EXPECT_FALSE(r.ran);
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_TRUE(cell(p.db(), road, 1, "Fill Area").isNull());
}

TEST(EarthworkQuantities, MissingTableAndEmptySheet)
{
    TestProject p;
    const auto road = roads::create(p.db());
    EarthworkResult r = UpdateEarthworkQuantities(p.db(), inputs(road));
    EXPECT_TRUE(r.ran);
    EXPECT_TRUE(r.error.isEmpty()); // an empty sheet ends quietly
    EXPECT_FALSE(r.volumesDone);

    p.db().exec("DROP TABLE " + schema::rlTable(road));
    r = UpdateEarthworkQuantities(p.db(), inputs(road));
    EXPECT_EQ(r.error, "Datasheet not generated! Click Generate Data Sheet from Data menu");
    EXPECT_FALSE(r.volumesDone);
    EXPECT_EQ(UpdateEarthworkQuantities(p.db(), inputs(road + 5)).error, r.error);
}

TEST(EarthworkQuantities, DefaultsSideLevelsAndAreasAreWrittenAsThreeDecimals)
{
    TestProject p;
    const auto road = p.roadWithRows({0});
    setRow(p.db(), road, 1, "FC = 100, Width = 0, C = 99, FL1 = 1, [Fill Area] = 555");
    const EarthworkResult r = UpdateEarthworkQuantities(p.db(), inputs(road, 1, 0.035));
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    Database& db = p.db();
    EXPECT_EQ(cell(db, road, 1, "Width").toDouble(), 7.5);
    EXPECT_EQ(cell(db, road, 1, "Crust").toDouble(), 0.25);
    EXPECT_EQ(cell(db, road, 1, "Left Slope").toDouble(), 2);
    EXPECT_EQ(cell(db, road, 1, "Right Slope").toDouble(), 2);
    EXPECT_EQ(cell(db, road, 1, "FL1").toDouble(), 99.93);
    EXPECT_EQ(cell(db, road, 1, "FR1").toDouble(), 99.93);
    EXPECT_EQ(cell(db, road, 1, "FL2").toDouble(), 99.851);
    EXPECT_EQ(cell(db, road, 1, "FR2").toDouble(), 99.851);
    // Mean formation 99.912 over the single reading 99: (8.5 + 2 * 0.912) * 0.912.
    EXPECT_EQ(cell(db, road, 1, "Fill Area").toDouble(), 9.415);
    EXPECT_EQ(cell(db, road, 1, "Cut Area").toDouble(), 0);
    EXPECT_EQ(db.scalar("SELECT typeof(FL2) FROM " + schema::rlTable(road)).toString(), "real");
}

TEST(EarthworkQuantities, KilometreVolumesAndStatusTexts)
{
    TestProject p;
    const auto road = p.roadWithRows({900, 1000, 1100});
    RoadChanges names;
    names.from = QString("Alpha");
    names.to = QString("Beta");
    roads::update(p.db(), road, names);
    flatSection(p.db(), road, 1, 101, 100); // fill 13
    flatSection(p.db(), road, 2, 102, 100); // fill 30
    flatSection(p.db(), road, 3, 98, 100);  // cut 30
    EarthworkResult r = UpdateEarthworkQuantities(p.db(), inputs(road));
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_TRUE(r.volumesDone);
    EXPECT_EQ(cell(p.db(), road, 3, "Cut Area").toDouble(), 30);
    EXPECT_EQ(cell(p.db(), road, 3, "Fill Area").toDouble(), 0);
    ASSERT_EQ(r.volumes.kilometres.size(), 2u);
    EXPECT_DOUBLE_EQ(r.volumes.kilometres[0].filling, (13 + 30) / 2.0 * 100);
    EXPECT_DOUBLE_EQ(r.volumes.kilometres[1].filling, 30 / 2.0 * 100);
    EXPECT_DOUBLE_EQ(r.volumes.kilometres[1].cutting, 30 / 2.0 * 100);
    EXPECT_EQ(r.roadName, "Alpha To Beta");
    EXPECT_EQ(r.filling, "Filling = 3,650.00 Cum");
    EXPECT_EQ(r.cutting, "Cutting = 1,500.00 Cum");
    EXPECT_EQ(r.total, "Total = 5,150.00 Cum"); // filling plus cutting

    EarthworkInputs german = inputs(road);
    german.locale = QLocale(QLocale::German, QLocale::Germany);
    r = UpdateEarthworkQuantities(p.db(), german);
    EXPECT_EQ(r.filling, "Filling = 3.650,00 Cum");
}

TEST(EarthworkQuantities, ARowLackingAValueStopsTheRunAfterTheRowsBeforeIt)
{
    TestProject p;
    const auto road = p.roadWithRows({20, 40, 60, 80});
    Database& db = p.db();
    flatSection(db, road, 1, 101, 100);
    flatSection(db, road, 2, 101, 100);
    setRow(db, road, 3, "C = 100, Width = 0, FL1 = 5, [Fill Area] = 5"); // no FC
    flatSection(db, road, 4, 101, 100);
    setRow(db, road, 4, "Width = 0, [Fill Area] = 7");

    const EarthworkResult r = UpdateEarthworkQuantities(db, inputs(road));
    EXPECT_EQ(r.error, "FC is empty in the section at chainage 60; the Mean Level Method needs "
                       "it\nError Code=101");
    EXPECT_FALSE(r.volumesDone);
    EXPECT_TRUE(r.filling.isEmpty());
    EXPECT_EQ(cell(db, road, 1, "Fill Area").toDouble(), 13);
    EXPECT_EQ(cell(db, road, 2, "Fill Area").toDouble(), 13);
    // The failing row got its defaults before the failure, nothing else.
    EXPECT_EQ(cell(db, road, 3, "Width").toDouble(), 7.5);
    EXPECT_EQ(cell(db, road, 3, "FL1").toDouble(), 5);
    EXPECT_EQ(cell(db, road, 3, "Fill Area").toDouble(), 5);
    // The rows after it are as they were.
    EXPECT_EQ(cell(db, road, 4, "Width").toDouble(), 0);
    EXPECT_EQ(cell(db, road, 4, "Fill Area").toDouble(), 7);
    EXPECT_TRUE(cell(db, road, 4, "Crust").isNull());

    // The short method needs the existing road's widths as well.
    setRow(db, road, 3, "FC = 101");
    const EarthworkResult s = UpdateEarthworkQuantities(db, inputs(road, 0));
    EXPECT_EQ(s.error, "TopWidth is empty in the section at chainage 20; the Trapezoidal Method "
                       "(Short) needs it\nError Code=101");
}

TEST(EarthworkQuantities, WithoutAPresentFcTheTypedSideLevelsStay)
{
    TestProject p;
    const auto road = p.roadWithRows({0});
    setRow(p.db(), road, 1,
           "FC = 0, FL1 = 50.12345, FL2 = 50.12345, FR1 = 50.12345, FR2 = 50.12345, C = 50");
    const EarthworkResult r = UpdateEarthworkQuantities(p.db(), inputs(road, 1, 0.035));
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(cell(p.db(), road, 1, "FL1").toDouble(), 50.12345);
    EXPECT_EQ(cell(p.db(), road, 1, "FR2").toDouble(), 50.12345);
    // Mean formation d3((4 * 50.12345 + 0) / 5) = 40.099 against ground 50: cut.
    EXPECT_GT(cell(p.db(), road, 1, "Cut Area").toDouble(), 0);
    EXPECT_EQ(cell(p.db(), road, 1, "Fill Area").toDouble(), 0);
}

TEST(EarthworkQuantities, RoadsLongerThan32KilometresWork)
{
    TestProject p;
    const auto road = p.roadWithRows({0, 20000, 40000});
    for (int id = 1; id <= 3; ++id)
        flatSection(p.db(), road, id, 101, 100); // fill 13 each
    const EarthworkResult r = UpdateEarthworkQuantities(p.db(), inputs(road));
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_TRUE(r.volumesDone);
    ASSERT_EQ(r.volumes.kilometres.size(), 40u);
    // Gaps over 200 m count as 50 m: (13 + 13) * 25 in kilometres 20 and 40.
    EXPECT_DOUBLE_EQ(r.volumes.kilometres[19].filling, 650);
    EXPECT_DOUBLE_EQ(r.volumes.kilometres[39].filling, 650);
    EXPECT_EQ(r.volumes.kilometres[39].number, 40);
    EXPECT_DOUBLE_EQ(r.volumes.totalFill, 1300);
}

TEST(EarthworkQuantities, UnusableSettingsAndChainagesAreReported)
{
    TestProject p;
    const auto road = p.roadWithRows({0, 1e9});
    flatSection(p.db(), road, 1, 101, 100);
    flatSection(p.db(), road, 2, 101, 100);
    EarthworkInputs bad = inputs(road, 3);
    EarthworkResult r = UpdateEarthworkQuantities(p.db(), bad);
    EXPECT_TRUE(r.error.endsWith("\nError Code=104")) << r.error.toStdString();
    EXPECT_TRUE(cell(p.db(), road, 1, "Fill Area").isNull()); // nothing written

    r = UpdateEarthworkQuantities(p.db(), inputs(road));
    EXPECT_EQ(r.error, "The chainage 1000000000 of the section with ID 2 lies beyond 100,000 "
                       "km\nError Code=102");
    EXPECT_FALSE(r.volumesDone);
    EXPECT_EQ(cell(p.db(), road, 2, "Fill Area").toDouble(), 13); // the areas are done
}

TEST(EarthworkQuantities, LongMethodUsesTheRoadsCrossDistances)
{
    TestProject p;
    const auto road = p.roadWithRows({0, 20});
    CrossDistances d;
    d.left = {2, 3};
    roads::setCrossDistances(p.db(), road, d);
    setRow(p.db(), road, 1, "FC = 100, C = 99, Width = 8, L1 = 99, L2 = 99");
    // No centre reading: the previous section's centre ground (99) carries over.
    setRow(p.db(), road, 2, "FC = 100, Width = 8, L1 = 99, L2 = 99");
    const EarthworkResult r = UpdateEarthworkQuantities(p.db(), inputs(road, 2, 0.035));
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(cell(p.db(), road, 1, "Fill Area").toDouble(), 4.75);
    EXPECT_EQ(cell(p.db(), road, 2, "Fill Area").toDouble(), 4.75);
    EXPECT_EQ(cell(p.db(), road, 1, "Cut Area").toDouble(), 0);
    EXPECT_EQ(cell(p.db(), road, 1, "FL1").toDouble(), 99.926); // k = 2.125 with width 8
    EXPECT_DOUBLE_EQ(r.volumes.totalFill, 4.75 * 20);
}

TEST(EarthworkQuantities, ADatabaseFailureWhileWritingChangesNothing)
{
    TestProject p;
    const auto road = p.roadWithRows({0, 20, 40});
    for (int id = 1; id <= 3; ++id)
        flatSection(p.db(), road, id, 101, 100);
    p.db().exec("CREATE TRIGGER refuse BEFORE UPDATE ON " + schema::rlTable(road) +
                " WHEN NEW.ID = 3 BEGIN SELECT RAISE(ABORT, 'the sheet is locked'); END");
    const EarthworkResult r = UpdateEarthworkQuantities(p.db(), inputs(road));
    EXPECT_TRUE(r.error.startsWith("the sheet is locked")) << r.error.toStdString();
    EXPECT_TRUE(r.error.endsWith("\nError Code=103"));
    EXPECT_FALSE(r.volumesDone);
    for (int id = 1; id <= 3; ++id)
        EXPECT_TRUE(cell(p.db(), road, id, "Fill Area").isNull()) << id;
}
