#include "store/RecordSet.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "store/Statements.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using RecordSets = ProjectTest;

TEST_F(RecordSets, FindsMovesAndReadsFieldsByNameAndPosition)
{
    const std::int64_t road = p.roadWithRows({0, 20, 40, 60});
    RecordSet rs(db);
    rs.open(QStringLiteral("Select * from RL_%1 order by Chainage, ID").arg(road));
    EXPECT_EQ(rs.count(), 4);
    EXPECT_EQ(rs.position(), 0);
    EXPECT_TRUE(rs.find("[Chainage]=40"));
    EXPECT_EQ(rs.value("ID").toInt(), 3);
    EXPECT_EQ(rs.value(1).toDouble(), 40);
    // The search runs forward from the current row.
    EXPECT_FALSE(rs.find("Chainage=20"));
    EXPECT_TRUE(rs.eof());
    rs.moveFirst();
    EXPECT_TRUE(rs.find("ID=2"));
    rs.moveTo(3);
    EXPECT_EQ(rs.value("Chainage").toDouble(), 60);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.value("Chainage"), Error);
    EXPECT_THROW(rs.find("NoSuchField=1"), Error);
}
