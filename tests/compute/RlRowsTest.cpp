#include "compute/RlRows.h"
#include "store/Database.h"
#include "support/TestProject.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using RlRows = ProjectTest;

TEST_F(RlRows, CellsAreReadByNameTextThatIsNoNumberIsEmptyAndAMissingColumnIsReported)
{
    // A sheet of an older file: no column types, the columns in another order.
    QStringList columns = schema::rlColumns();
    std::reverse(columns.begin(), columns.end());
    db.exec("CREATE TABLE Old (" + quoteNames(columns) + ")");
    db.exec("INSERT INTO Old (ID, Chainage, L1, C, FC, R8, Width) "
            "VALUES (7, 20, 101.5, '100.25', x'3939', 'abc', '7.5 m')");
    RowReader q(db, "SELECT * FROM Old");
    RlRowReader rows(q);
    RlRow r;
    ASSERT_TRUE(rows.next(r));
    EXPECT_EQ(r.id, 7);
    const std::pair<double, double> filled[] = {
        {r.chainage, 20}, {r.left[0], 101.5}, {r.centre, 100.25}, {r.fc, 99}};
    for (const auto& [read, stored] : filled)
        EXPECT_EQ(read, stored);
    for (double empty : {r.right[7], r.width, r.left[1], r.cutArea})
        EXPECT_FALSE(present(empty)) << empty;
    EXPECT_FALSE(rows.next(r));

    RowReader narrow(db, "SELECT ID, Chainage, C FROM Old");
    const auto e = thrown([&] { RlRowReader reader(narrow); });
    EXPECT_EQ(e ? e->message() : QString(), "The RL sheet has no column L1");
}
