#include "store/Schema.h"
#include "store/Error.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using Schema = ProjectTest;

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
