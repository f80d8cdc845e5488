#include "store/Schema.h"
#include "store/Error.h"
#include "store/Statements.h"
#include "support/TestProject.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using Schema = ProjectTest;
using Statements = ProjectTest;

TEST_F(Schema, NewProjectHasTheTablesWithTheirColumnsInOrder)
{
    EXPECT_EQ(db.columnNames("Roads"), schema::roadsColumns());
    EXPECT_EQ(db.columnNames("ChDistance"), schema::chDistanceColumns());
    EXPECT_EQ(db.columnNames("CulvertTypes"), schema::culvertTypesColumns());
    EXPECT_EQ(db.columnNames("Culverts"), schema::culvertsColumns());
    EXPECT_EQ(db.columnNames("LBTemplate"), schema::lbColumns());

    const QStringList rl = db.columnNames("RLTemplate");
    ASSERT_EQ(rl, schema::rlColumns());
    // The ground levels stand at positions 2..18: far left, centre, far right.
    EXPECT_EQ(rl.mid(2, 17), (QStringList{"L8", "L7", "L6", "L5", "L4", "L3", "L2", "L1", "C", "R1",
                                          "R2", "R3", "R4", "R5", "R6", "R7", "R8"}));
    EXPECT_EQ(rl.last(), "Cut Area");
    EXPECT_EQ(rowCount(db, "RLTemplate"), 0);
}

TEST_F(Schema, NumberColumnsRefuseTextAndDataOutlivesAReopen)
{
    p.roadWithRows({0});
    const auto e = thrown([&] { db.exec("UPDATE RL_1 SET C = 'abc'"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->kind(), ErrorKind::Data) << e->message().toStdString();
    // Text that is a number is taken as the number.
    db.exec("UPDATE RL_1 SET C = '99.930'");
    p.reopen();
    EXPECT_EQ(queryText(p.db(), "SELECT C, typeof(C) FROM RL_1"), "99.93 real");
}

TEST_F(Statements, TranslateMakeTableAndDeleteStarForSqlite)
{
    const QStringList make = db.translate(statements::makeReducedLevelTable(42));
    ASSERT_EQ(make.size(), 3);
    EXPECT_TRUE(make[0].startsWith("CREATE TABLE RL_42 (")) << make[0].toStdString();
    EXPECT_TRUE(make[0].endsWith("STRICT"));
    EXPECT_EQ(make[1], "INSERT INTO \"RL_42\" SELECT * FROM \"RLTemplate\"");
    EXPECT_EQ(make[2], "CREATE INDEX RL_42_Chainage ON RL_42 (Chainage)");

    EXPECT_EQ(db.translate("Delete * from Culverts where RoadRef=3"),
              QStringList{"DELETE FROM Culverts where RoadRef=3"});
    EXPECT_EQ(db.translate("Select [Fill Area] from RL_1"),
              QStringList{"Select [Fill Area] from RL_1"});

    // The copy is a real table with the template's columns and its index.
    db.execute(statements::makeReducedLevelTable(42));
    EXPECT_EQ(db.columnNames("RL_42"), schema::rlColumns());
    EXPECT_FALSE(db.scalar("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='RL_42'")
                     .isNull());
    // A make-table of a table that exists fails and leaves nothing half made.
    EXPECT_THROW(db.execute(statements::makeReducedLevelTable(42)), Error);
}
