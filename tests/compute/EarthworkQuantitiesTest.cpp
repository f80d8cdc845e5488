#include "compute/EarthworkQuantities.h"
#include "store/Roads.h"
#include "store/Schema.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using EarthworkQuantities = ProjectTest;

namespace
{

void setRow(Database& db, std::int64_t road, std::int64_t id, const QString& assignments)
{
    db.exec("UPDATE " + schema::rlTable(road) + " SET " + assignments +
            QStringLiteral(" WHERE ID = %1").arg(id));
}

// The given columns of a row of the road's sheet, as queryText() writes them.
std::string cells(Database& db, std::int64_t road, std::int64_t id, const QString& columns)
{
    return queryText(db, "SELECT " + columns + " FROM " + schema::rlTable(road) +
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
    return in;
}

} // namespace

// Width, Crust, slopes; FL1 and FL2 99.85125 to the nearest 0.001; the mean formation 99.912
// over the single reading 99: (8.5 + 2 * 0.912) * 0.912 of fill.
TEST_F(EarthworkQuantities, DefaultsAndSideLevelsAreWrittenAsThreeDecimals)
{
    const auto road = p.roadWithRows({0});
    setRow(db, road, 1, "FC = 100, Width = 0, C = 99, FL1 = 1, [Fill Area] = 555");
    const EarthworkResult r = UpdateEarthworkQuantities(db, inputs(road, 1, 0.035));
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(cells(db, road, 1,
                    "Width, Crust, [Left Slope], [Right Slope], FL1, FR1, FL2, FR2, [Fill Area], "
                    "[Cut Area], typeof(FL2)"),
              "7.5 0.25 2 2 99.93 99.93 99.851 99.851 9.415 0 real");
}

TEST_F(EarthworkQuantities, ARowLackingAValueStopsTheRunAfterTheRowsBeforeIt)
{
    const auto road = p.roadWithRows({20, 40, 60, 80});
    for (int id : {1, 2, 4})
        flatSection(db, road, id, 101, 100);
    setRow(db, road, 3, "C = 100, Width = 0, FL1 = 5, [Fill Area] = 5"); // no FC
    setRow(db, road, 4, "Width = 0, [Fill Area] = 7");

    // (The message and its number: CliRecompute.LongGapsAreListedAndErrorsGoToStandardError.)
    const EarthworkResult r = UpdateEarthworkQuantities(db, inputs(road));
    EXPECT_TRUE(r.error.startsWith("FC is empty in the section at chainage 60"))
        << r.error.toStdString();
    EXPECT_FALSE(r.volumesDone);
    const QString columns = "Width, Crust, FL1, [Fill Area]";
    for (int id : {1, 2})
        EXPECT_EQ(cells(db, road, id, columns), "10 0.25 101 13") << id;
    // The failing row got its defaults before the failure, nothing else; the rows after it
    // are as they were.
    EXPECT_EQ(cells(db, road, 3, columns), "7.5 0.25 5 5");
    EXPECT_EQ(cells(db, road, 4, columns), "0 null null 7");

    // The short method needs the existing road's widths as well.
    setRow(db, road, 3, "FC = 101");
    const EarthworkResult s = UpdateEarthworkQuantities(db, inputs(road, 0));
    EXPECT_EQ(s.error, "TopWidth is empty in the section at chainage 20; the Trapezoidal Method "
                       "(Short) needs it");
}

// A formation over no ground reading in use (none at all, or only beyond the readings in use)
// stops every method at that section instead of measuring down to nothing. The formation
// tool's rule passes it over as not surveyed, and a section without FC as not designed, and
// empties their stale side levels and areas.
TEST_F(EarthworkQuantities, AFormationWithoutGroundStopsTheRunInEveryMethod)
{
    for (const int method : {0, 1, 2})
        for (const char* ground : {"L1 = NULL", "L4 = 99"}) {
            const auto road = p.roadWithRows({20, 40, 60, 80});
            const QString table = schema::rlTable(road);
            for (int id : {1, 3, 4})
                flatSection(db, road, id, 101, 100);
            setRow(db, road, 2, QStringLiteral("Width = 10, FC = 101, ") + ground);
            setRow(db, road, 4, "FC = NULL");
            db.exec("UPDATE " + table +
                    " SET TopWidth = 10, BottomWidth = 11, FL1 = 9, [Fill Area] = 5");
            EarthworkInputs in = inputs(road, method);
            in.viewSections = 3;
            const EarthworkResult r = UpdateEarthworkQuantities(db, in);
            EXPECT_EQ(r.error, "Chainage 40 has no ground reading") << method << ground;
            EXPECT_EQ(r.errorCode, EarthworkErrorCode::EmptyValue);
            EXPECT_EQ(cells(db, road, 2, "[Fill Area]"), "5");
            in.skipUnready = true;
            const EarthworkResult s = UpdateEarthworkQuantities(db, in);
            EXPECT_TRUE(s.volumesDone && s.error.isEmpty()) << method << s.error.toStdString();
            EXPECT_EQ(s.notSurveyed, 1);
            EXPECT_EQ(s.notDesigned, 1);
            EXPECT_EQ(s.firstSkipped, 40);
            EXPECT_EQ(queryText(db, "SELECT FL1, [Fill Area] FROM " + table +
                                        " WHERE ID IN (2, 4) ORDER BY ID"),
                      "null null | null null");
        }
}

TEST_F(EarthworkQuantities, UnusableSettingsAndChainagesAreReported)
{
    const auto road = p.roadWithRows({0, 1e9});
    for (int id : {1, 2})
        flatSection(db, road, id, 101, 100);
    EXPECT_FALSE(UpdateEarthworkQuantities(db, inputs(0)).ran); // no road chosen
    const EarthworkResult r = UpdateEarthworkQuantities(db, inputs(road));
    EXPECT_EQ(r.error, "The chainage 1000000000 of the section with ID 2 lies beyond 100,000 "
                       "km");
    EXPECT_EQ(r.errorCode, EarthworkErrorCode::ChainageOutOfRange);
    EXPECT_FALSE(r.volumesDone);
    EXPECT_EQ(cells(db, road, 2, "[Fill Area]"), "13"); // the areas are done
}

TEST_F(EarthworkQuantities, ADatabaseFailureWhileWritingChangesNothing)
{
    const auto road = p.roadWithRows({0, 20, 40});
    for (int id = 1; id <= 3; ++id)
        flatSection(db, road, id, 101, 100);
    db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON " + schema::rlTable(road) +
            " WHEN NEW.ID = 3 BEGIN SELECT RAISE(ABORT, 'the sheet is locked'); END");
    const EarthworkResult r = UpdateEarthworkQuantities(db, inputs(road));
    EXPECT_TRUE(r.error.startsWith("the sheet is locked")) << r.error.toStdString();
    EXPECT_EQ(r.errorCode, EarthworkErrorCode::Database);
    EXPECT_FALSE(r.volumesDone);
    EXPECT_EQ(queryText(db, "SELECT COUNT([Fill Area]) FROM " + schema::rlTable(road)), "0");
}
