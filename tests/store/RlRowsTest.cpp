#include "store/RlRows.h"
#include "store/Database.h"
#include "store/RlRowStore.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using RlRows = ProjectTest;

TEST_F(RlRows, CellsAreReadByNameAMissingColumnIsReportedAndReadersTakeTiesInIdOrder)
{
    // A sheet of an older file: no column types, the columns in another order.
    QStringList columns = schema::rlColumns();
    std::reverse(columns.begin(), columns.end());
    db.exec("CREATE TABLE Old (" + quoteNames(columns) + ")");
    db.exec("INSERT INTO Old (ID, Chainage, L1, C, FC, R8, Width) "
            "VALUES (7, 20, 101.5, '100.25', x'3939', 'abc', '7.5 m')");
    {
        RlRowReader rows(RowReader(db, "SELECT * FROM Old"));
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
    }

    const auto e =
        thrown([&] { RlRowReader reader(RowReader(db, "SELECT ID, Chainage, C FROM Old")); });
    EXPECT_EQ(e ? e->message() : QString(), "The RL sheet has no column L1");

    // Every reader of a road's RL sheet goes by Chainage, then ID: where rows share a chainage
    // the same one is "first at", "before" and "after" in every reader, whatever order the rows
    // were stored in.
    const std::int64_t road = roads::create(db);
    // ID: chainage, FC; stored out of order, two rows at 20 and two at 40.
    db.exec("INSERT INTO " + schema::rlTable(road) +
            " (ID, Chainage, FC) VALUES (9, 20, 109), (3, 40, 103), (5, 20, 105), (1, 0, 101), "
            "(7, 40, 107), (2, NULL, 102)");
    RlRowStore store(db, road);
    const auto ids = [](const std::vector<RlRow>& rows) {
        std::vector<std::int64_t> out;
        for (const RlRow& r : rows)
            out.push_back(r.id);
        return out;
    };
    const auto read = [](RlRowReader rows) {
        std::vector<RlRow> out;
        for (RlRow r; rows.next(r);)
            out.push_back(r);
        return out;
    };
    using Ids = std::vector<std::int64_t>;
    EXPECT_EQ(read(store.summaries())[2].fc, 105);
    const std::pair<std::vector<RlRow>, Ids> reads[] = {
        {read(store.all()), {2, 1, 5, 9, 3, 7}},
        {read(store.summaries()), {2, 1, 5, 9, 3, 7}},
        {store.between(20, 40), {5, 9, 3, 7}},
        {store.between(20, 40, RangeEnd::Excluded), {5, 9}},
        {store.page(1, 3), {1, 5, 9}},
        {store.after(20, 5, 2), {9, 3}},
        {store.afterThrough(20, 5, 40, 3), {9, 3}},
    };
    for (const auto& [rows, want] : reads)
        EXPECT_EQ(ids(rows), want);
    const std::pair<std::optional<RlRow>, std::int64_t> picks[] = {{store.first(), 2},
                                                                   {store.firstAt(40), 3},
                                                                   {store.before(40, 3), 9},
                                                                   {store.before(20, 9), 5},
                                                                   {store.withId(7), 7}};
    for (const auto& [row, want] : picks)
        EXPECT_EQ(row ? row->id : -1, want);
    EXPECT_EQ(store.firstIdAt(20), 5);
    // A culvert at 30 stands between the last row at 20 and the first at 40.
    EXPECT_EQ(store.fcBefore(30), 109);
    EXPECT_EQ(store.fcAfter(30), 103);
    EXPECT_EQ(store.fcAfter(40), std::nullopt);
    EXPECT_EQ(store.count(), 6);
    EXPECT_EQ(store.lastChainageUpTo(39), 20);
    EXPECT_EQ(store.firstChainageAbove(20), 40);
}
