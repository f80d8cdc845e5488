#include "store/Schema.h"
#include "store/Error.h"
#include "store/Statements.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using Schema = ProjectTest;

TEST_F(Schema, NumberColumnsRefuseTextDataOutlivesAReopenAndMadeTablesCopyTheTemplate)
{
    p.roadWithRows({0});
    const auto e = thrown([&] { db.exec("UPDATE RL_1 SET C = 'abc'"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->kind(), ErrorKind::Data) << e->message().toStdString();
    // Text that is a number is taken as the number.
    db.exec("UPDATE RL_1 SET C = '99.930'");
    p.reopen();
    EXPECT_EQ(queryText(p.db(), "SELECT C, typeof(C) FROM RL_1"), "99.93 real");

    // A made table is a copy of the template with its index.
    p.db().execute(statements::makeReducedLevelTable(42));
    EXPECT_EQ(p.db().columnNames("RL_42"), p.db().columnNames("RLTemplate"));
    EXPECT_FALSE(
        p.db()
            .scalar("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='RL_42'")
            .isNull());
    // A make-table of a table that exists fails and leaves nothing half made.
    EXPECT_THROW(p.db().execute(statements::makeReducedLevelTable(42)), Error);
}
