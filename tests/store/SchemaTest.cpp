#include "store/Schema.h"
#include "store/Error.h"
#include "store/Statements.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using Schema = ProjectTest;
using Statements = ProjectTest;

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

TEST_F(Statements, AMadeTableIsACopyOfTheTemplateWithItsIndex)
{
    db.execute(statements::makeReducedLevelTable(42));
    EXPECT_EQ(db.columnNames("RL_42"), db.columnNames("RLTemplate"));
    EXPECT_FALSE(db.scalar("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='RL_42'")
                     .isNull());
    // A make-table of a table that exists fails and leaves nothing half made.
    EXPECT_THROW(db.execute(statements::makeReducedLevelTable(42)), Error);
}
