#include "sheets/SheetCsv.h"
#include "sheets/SheetGenerator.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <functional>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

QString refusal(const QString& write, const QString& table)
{
    return QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON %2 WHEN %3 BEGIN "
                          "SELECT RAISE(ABORT, 'refused'); END")
        .arg(write, table, write == "DELETE" ? "1" : "NEW.C = 999");
}

void importLevelBook(Database& db, const char* file)
{
    importSheetCsvText(db, 1, statements::Sheet::LevelBook, file);
}

} // namespace

// Whichever step of a change the database refuses, the change is undone whole: the road, and
// a road being made, are left as they were.
TEST(PartWayFailures, LeaveTheRoadAsItWas)
{
    const auto removeRoad = [](Database& db) { roads::remove(db, 1); };
    const struct {
        QStringList refuse; // what makes one step fail
        std::function<void(Database&)> change;
    } cases[] = {
        // A stray table in the way of the new road's level book: the third step fails.
        {{"CREATE TABLE LB_2 (x INTEGER)"}, [](Database& db) { roads::create(db); }},
        {{refusal("DELETE", "Culverts")}, removeRoad},
        {{refusal("DELETE", "ChDistance")}, removeRoad},
        {{refusal("DELETE", "Roads")}, removeRoad},
        // The level book's rebuilt chainage index can't take its name: that step fails after
        // the RL sheet has been rebuilt.
        {{"DROP INDEX LB_1_Chainage", "CREATE INDEX LB_1_Chainage ON Culverts (Chainage)"},
         [](Database& db) { generateSheets(db, 1, 0, 1000, 20, true, true); }},
        // The refused line changes a row, or adds one, after lines that did both.
        {{refusal("UPDATE", "LB_1")},
         [](Database& db) {
             importLevelBook(db, "Chainage,C,Remarks\n0,2,\n40,3,new\n20,999,x\n");
         }},
        {{refusal("INSERT", "LB_1")},
         [](Database& db) {
             importLevelBook(db, "Chainage,C,Remarks\n0,2,\n40,3,new\n60,999,x\n");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refuse.join("; ").toStdString());
        TestProject p;
        Database& db = p.db();
        p.roadWithRows({0, 20, 40});
        db.exec("INSERT INTO LB_1 (ID, Chainage, BS, C, Remarks) VALUES (1, 0, 1.5, 1.25, 'kept'), "
                "(2, 20, NULL, 1.5, NULL)");
        db.exec("UPDATE ChDistance SET L1 = 2.5");
        db.exec("INSERT INTO CulvertTypes (CulvertName) VALUES ('Pipe')");
        db.exec(
            "INSERT INTO Culverts (RoadRef, CTypeRef, Chainage, EPType) VALUES (1, 1, 20, 'E')");
        for (const QString& sql : c.refuse)
            db.exec(sql);
        const std::string before = roadState(db, 1) + roadState(db, 2);
        EXPECT_THROW(c.change(db), Error);
        EXPECT_EQ(roadState(db, 1) + roadState(db, 2), before);
    }
}
