#include "formation/FormationDesign.h"
#include "formation/FormationData.h"
#include "store/Roads.h"
#include "store/Schema.h"
#include "store/Transaction.h"
#include "store/VerticalAlignments.h"
#include "support/TestProject.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// Rows of the given chainages (ID 1, 2, ...) with the given FC (NAN: empty) over ground 100.
std::int64_t road(Database& db, const std::vector<std::pair<double, double>>& rows)
{
    const std::int64_t id = roads::create(db);
    QSqlQuery q = db.prepare("INSERT INTO " + schema::rlTable(id) +
                             " (ID, Chainage, FC, C, TopWidth, BottomWidth) VALUES (?, ?, ?, 100, "
                             "7, 8)");
    qlonglong rowId = 1;
    for (const auto& [chainage, fc] : rows) {
        q.addBindValue(rowId++);
        q.addBindValue(chainage);
        q.addBindValue(std::isnan(fc) ? QVariant() : QVariant(fc));
        Database::run(q);
    }
    return id;
}

std::string fcColumn(Database& db, std::int64_t road)
{
    return queryText(db, "SELECT FC FROM " + schema::rlTable(road) + " ORDER BY Chainage, ID");
}

// Every column of every row, in ID order.
std::string sheet(Database& db, std::int64_t road)
{
    return queryText(db, "SELECT * FROM " + schema::rlTable(road) + " ORDER BY ID");
}

} // namespace

using FormationDesignTest = ProjectTest;

// Rows every 20 m from 100: a grade from 100 (FC 10.00) to 160 (10.60) writes the rows
// between to 2 decimals and the end row exactly. Taken back, it finds its rows by ID, and
// refuses to overwrite an FC changed since; a negative level is refused. (Every column taken back
// and put again exactly: FormationToolWindow.AGradientOverEmptyFcsIsTakenBackAndDoneAgainExactly.)
TEST_F(FormationDesignTest, GradientTakenBackAndDoneAgainByIdUnlessChangedSince)
{
    const auto r =
        road(db, {{80, 9}, {100, 10}, {120, 11}, {140, NAN}, {160, 12}, {180, 13}, {200, NAN}});
    FormationDesign design(db);
    const EarthworkInputs in{r, 1};
    design.recompute(in); // stops at the empty FC at 140
    FormationEdit edit;
    design.setGrade(in, 100, 160, 10.6, &edit);
    EXPECT_EQ(fcColumn(db, r), "9 | 10 | 10.2 | 10.4 | 10.6 | 13 | null");

    // A row put in before the grade moves the others down the sheet; the rows are found by ID.
    db.exec("INSERT INTO " + schema::rlTable(r) + " (ID, Chainage, FC) VALUES (99, 90, 9.5)");
    design.restore(in, edit, true);
    EXPECT_EQ(fcColumn(db, r), "9 | 9.5 | 10 | 11 | null | 12 | 13 | null");

    // An FC written elsewhere since: the step is refused and nothing is written.
    design.restore(in, edit, false);
    db.exec("UPDATE " + schema::rlTable(r) + " SET FC = 10.3 WHERE Chainage = 120");
    const auto e = thrown([&] { design.restore(in, edit, true); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->message(), "The FC at chainage 120 was changed elsewhere since.");
    EXPECT_EQ(fcColumn(db, r), "9 | 9.5 | 10 | 10.3 | 10.4 | 10.6 | 13 | null");

    // A level no road can have is refused and writes nothing (at a single row:
    // RefusedCommands.RoadFormationAndGradeCommandsThatCannotBeDone).
    EXPECT_TRUE(thrown([&] { design.setGrade(in, 100, 160, -3); }));
    EXPECT_EQ(fcColumn(db, r), "9 | 9.5 | 10 | 10.3 | 10.4 | 10.6 | 13 | null");
    // The same row picked twice is a single-row change even in gradient mode.
    FormationEdit single;
    design.setGrade(in, 180, 180, 13.25, &single);
    EXPECT_EQ(fcColumn(db, r), "9 | 9.5 | 10 | 10.3 | 10.4 | 10.6 | 13.25 | null");
    ASSERT_EQ(single.rows.size(), 1u);
    EXPECT_EQ(single.rows[0].before.front().toDouble(), 13);
}

// A grade along 40 km, a row every 20 m: every row on the straight line to half a cent, however
// far from the start (running sums in single precision drift by several cents).
TEST_F(FormationDesignTest, ALongGradeStaysOnTheLine)
{
    std::vector<std::pair<double, double>> rows;
    for (int k = 0; k <= 2000; ++k)
        rows.push_back({20.0 * k, 100});
    Transaction tx(db);
    const auto r = road(db, rows);
    tx.commit();
    FormationDesign(db).setGrade(EarthworkInputs{r, 1}, 0, 40000, 123.45);
    for (int k = 0; k <= 2000; k += 7)
        EXPECT_NEAR(
            db.scalar(QStringLiteral("SELECT FC FROM RL_1 WHERE ID = %1").arg(k + 1)).toDouble(),
            100 + 23.45 * k / 2000, 0.005 + 1e-9)
            << k;
}

// A series of changes, undos and redos, each recomputing only what it changes, leaves the database
// exactly as a full recomputation of the same FC would, for each of the three methods.
TEST_F(FormationDesignTest, ChangesStoreWhatAFullRecomputationStores)
{
    for (int method : {0, 1, 2}) {
        SCOPED_TRACE(method);
        Transaction tx(db);
        const std::int64_t r = roads::create(db);
        CrossDistances d;
        d.left.fill(1.5);
        d.right.fill(2);
        d.left[0] = 4.5; // the first left reading lies beyond the formation edge
        roads::setCrossDistances(db, r, d);
        // 70 rows over two kilometre ends, rolling ground with gaps: no C every 9th row, no
        // readings past L2 every 7th, an FC of 0 (taking the previous centre point in the Long
        // method) every 11th, defaults to be filled in by the first recomputation.
        QSqlQuery q =
            db.prepare("INSERT INTO " + schema::rlTable(r) +
                       " (ID, Chainage, C, FC, TopWidth, BottomWidth, FL1, FL2, FR1, FR2, "
                       "L1, L2, L3, L4, R1, R2, R3, R4) VALUES (?, ?, ?, ?, 6, 7, 99.9, "
                       "99.9, 99.9, 99.9, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (int i = 0; i < 70; ++i) {
            const double ground = 100 + 2 * std::sin(i / 6.0);
            q.addBindValue(i + 1);
            q.addBindValue(i < 60 ? 20.0 * i : 1200 + 250.0 * (i - 59));
            q.addBindValue(i % 9 == 4 ? QVariant() : QVariant(ground));
            q.addBindValue(i % 11 == 5 ? 0.0 : 100.5 + std::cos(i / 8.0));
            for (int k = 1; k <= 8; ++k) // L1..L4, R1..R4
                q.addBindValue(i % 7 == 3 && k > 2 ? QVariant() : QVariant(ground + 0.1 * k - 0.4));
            Database::run(q);
        }
        tx.commit();
        FormationDesign design(db);
        FormationEdit edit;
        EarthworkInputs in{r, method};
        in.formationCamber = 0.03;
        in.carriageCamber = 0.025;
        ASSERT_TRUE(design.recompute(in).error.isEmpty());

        const auto other = Database::open(p.path());
        struct Step {
            const char* what;
            std::function<void()> prepare; // what makes the areas in memory untrustworthy
            std::function<void()> run;
            bool incremental; // recomputes a few rows, not the road
        };
        // A full recomputation writes every row whose stored values differ from what it
        // computes: the steps that must be full leave stale areas in every row (through the
        // same kind of write that makes them full), or change the cambers of nearly every row.
        // The changes that can't trust the areas in memory come first; the incremental ones
        // after them, so that no full recomputation hides what they store.
        const QString table = schema::rlTable(r);
        const Step steps[] = {
            {"after an edit elsewhere on this connection",
             [&] {
                 db.exec("UPDATE " + table + " SET C = 95 WHERE ID = 30");
                 db.exec("UPDATE " + table + " SET [Fill Area] = -1");
             },
             [&] { design.setLevel(in, 600, 100.75); }, false},
            {"after another connection's commit",
             [&] {
                 other->exec("UPDATE " + table + " SET L2 = 99 WHERE ID = 40");
                 other->exec("UPDATE " + table + " SET [Cut Area] = -1");
             },
             [&] { design.setLevel(in, 620, 100.5); }, false},
            {"with other cambers", [&] { in.carriageCamber = 0.04; },
             [&] { design.setLevel(in, 640, 100.25); }, false},
            {"with other readings per side", [&] { in.viewSections = 2; },
             [&] { design.setLevel(in, 660, 100.2); }, false},
            {"grade", {}, [&] { design.setGrade(in, 100, 400, 101.25); }, true},
            {"level across a kilometre end",
             {},
             [&] { design.setLevel(in, 1000, 98.2, &edit); },
             true},
            {"undo", {}, [&] { design.restore(in, edit, true); }, true},
            {"redo", {}, [&] { design.restore(in, edit, false); }, true},
            {"level before an FC of 0", {}, [&] { design.setLevel(in, 520, 99.1); }, true},
            {"undo back to an FC of 0",
             {},
             [&] {
                 design.setLevel(in, 100, 103, &edit);
                 design.restore(in, edit, true);
             },
             true},
            {"grade over long gaps", {}, [&] { design.setGrade(in, 1180, 1700, 97.5); }, true},
            {"alignment",
             {},
             [&] {
                 design.applyAlignment(in, {{100, 100.5, 0}, {160, 101.8, 40}, {200, 100.9, 0}});
             },
             true},
            {"level by hand inside the alignment",
             {},
             [&] { design.setLevel(in, 140, 102); },
             true},
        };
        const long long rows = 70;
        for (const Step& s : steps) {
            if (s.prepare)
                s.prepare();
            const long long start = db.scalar("SELECT total_changes()").toLongLong();
            s.run();
            const long long written = db.scalar("SELECT total_changes()").toLongLong() - start;
            EXPECT_EQ(written < rows / 2, s.incremental) << s.what;
        }
        EarthworkResult last = design.setLevel(in, 700, 100.3);

        const std::string changed = sheet(db, r);
        const EarthworkResult full = UpdateEarthworkQuantities(db, in);
        ASSERT_TRUE(full.error.isEmpty()) << full.error.toStdString();
        EXPECT_EQ(sheet(db, r), changed);
        ASSERT_EQ(last.volumes.kilometres.size(), full.volumes.kilometres.size());
        for (std::size_t k = 0; k < full.volumes.kilometres.size(); ++k) {
            EXPECT_EQ(last.volumes.kilometres[k].filling, full.volumes.kilometres[k].filling) << k;
            EXPECT_EQ(last.volumes.kilometres[k].cutting, full.volumes.kilometres[k].cutting) << k;
        }
        EXPECT_EQ(last.volumes.total(), full.volumes.total());
        EXPECT_EQ(last.roadName, full.roadName);
    }
}

// A write that fails part way (the Nth update of the sheet refused, as a full disk would) takes
// the whole change back: every row as it was, the alignment too. The next change, the write
// allowed again, stores what a full recomputation stores.
TEST_F(FormationDesignTest, AWriteThatFailsPartWayLeavesEveryRowAsItWas)
{
    std::vector<std::pair<double, double>> rows;
    for (int i = 0; i < 60; ++i)
        rows.emplace_back(20.0 * i, 100 + 0.01 * i);
    const auto r = road(db, rows);
    const QString table = schema::rlTable(r);
    FormationDesign design(db);
    const EarthworkInputs in{r, 2};
    design.recompute(in);
    // The count of updates goes back to 0 with the rest of the change taken back.
    db.exec("CREATE TEMP TABLE writes AS SELECT 0 AS n");
    const std::function<void()> grade = [&] { design.setGrade(in, 100, 900, 104); };
    const std::function<void()> align = [&] {
        design.applyAlignment(in, {{0, 100, 0}, {600, 103, 200}, {1180, 100, 0}});
    };
    const struct {
        int failAt; // the update of the sheet that fails: among the FC writes, or the
                    // recomputation's
        std::function<void()> change;
    } cases[] = {
        {3, grade},  {45, grade}, {1, [&] { design.setLevel(in, 500, 99); }},
        {10, align}, {70, align},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failAt);
        const std::string before = sheet(db, r);
        ASSERT_EQ(db.scalar("SELECT n FROM writes").toInt(), 0);
        db.exec(QStringLiteral("CREATE TEMP TRIGGER failing BEFORE UPDATE ON %1 BEGIN UPDATE "
                               "writes SET n = n + 1; SELECT RAISE(ABORT, 'disk full') WHERE "
                               "(SELECT n FROM writes) >= %2; END")
                    .arg(table)
                    .arg(c.failAt));
        EXPECT_TRUE(thrown(c.change));
        db.exec("DROP TRIGGER failing");
        EXPECT_EQ(sheet(db, r), before);
        EXPECT_TRUE(alignments::read(db, r).empty());
        design.setLevel(in, 1000, 101.5);
        const std::string changed = sheet(db, r);
        UpdateEarthworkQuantities(db, in);
        EXPECT_EQ(sheet(db, r), changed);
    }
}
