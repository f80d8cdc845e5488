#include "sheets/SheetFilter.h"
#include "sheets/SheetRows.h"
#include "store/Error.h"
#include "store/SheetQueries.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::sheets;

namespace
{
// A level book with chainages 0, 100, ..., 900, C = 95 + chainage/100 and some remarks.
struct FilterFixture : ::testing::Test {
    test::TestProject p;
    SheetRows rows;
    void SetUp() override
    {
        const auto road = p.roadWithRows({0, 100, 200, 300, 400, 500, 600, 700, 800, 900}, true);
        const QString t = "LB_" + QString::number(road);
        p.db().exec("UPDATE " + t + " SET C = 95 + Chainage / 100");
        p.db().exec("UPDATE " + t + " SET Remarks = 'TBM on culvert 10' WHERE ID = 3");
        p.db().exec("UPDATE " + t + " SET Remarks = 'bridge' WHERE ID = 8");
        rows.load(p.db(), levelBookStatement(road, ViewOrder{}, LevelBookGroups{}));
    }
    std::vector<double> chainagesOf(const QString& filter)
    {
        std::vector<double> out;
        for (int r : SheetFilter::parse(filter, rows).apply(rows))
            out.push_back(rows.number(r, 0));
        return out;
    }
};
using V = std::vector<double>;
} // namespace

TEST_F(FilterFixture, NumbersCompareAsNumbersAndLikeMatchesTextWithWildcards)
{
    // Remarks: 'TBM on culvert 10' at 200, 'bridge' at 700, none elsewhere. % and * stand for
    // any run of characters, also an empty one; _ and ? for exactly one.
    const std::pair<const char*, V> cases[] = {
        // As text '500' > '1000' would hold; as numbers it doesn't.
        {"Chainage >= '500' AND C <= '102'", {500, 600, 700}},
        {"Chainage < '50' OR Chainage > '850'", {0, 900}},
        {"Chainage = '300'", {300}},
        {"Chainage <> '300' AND Chainage <= 200", {0, 100, 200}},
        // AND binds closer than OR.
        {"Chainage = '0' OR Chainage > '700' AND C < '104'", {0, 800}},
        {"", {0, 100, 200, 300, 400, 500, 600, 700, 800, 900}},
        {"Remarks LIKE '%culvert%'", {200}},
        {"Remarks LIKE '*10'", {200}},
        {"Remarks LIKE 'TBM*culvert 10'", {200}},
        {"Remarks LIKE '*bridge*'", {700}},           // empty runs at both ends
        {"Remarks LIKE 'TBM on culvert *10'", {200}}, // and in the middle
        {"Remarks LIKE 'br?dge'", {700}},
        {"Remarks LIKE 'b_idg?'", {700}},
        {"Remarks LIKE 'bridge?'", {}},
        {"Remarks LIKE '%BRIDGE%'", {700}}, // whatever the case
        {"Remarks LIKE 'a%d'", {}},
        {"Chainage LIKE '%00%'", {100, 200, 300, 400, 500, 600, 700, 800, 900}},
        // An empty cell matches only a pattern that matches empty text.
        {"Remarks LIKE '%%'", {0, 100, 200, 300, 400, 500, 600, 700, 800, 900}},
        {"Remarks LIKE '*'", {0, 100, 200, 300, 400, 500, 600, 700, 800, 900}},
        // An empty cell matches no comparison.
        {"Remarks <> 'bridge'", {200}},
    };
    for (const auto& [filter, chainages] : cases)
        EXPECT_EQ(chainagesOf(filter), chainages) << filter;
}

TEST_F(FilterFixture, UnusableFiltersAreRefusedAndAHostileValueIsOnlyText)
{
    auto refused = [&](const QString& filter, const QString& part) {
        const auto e = test::thrown([&] { SheetFilter::parse(filter, rows); });
        EXPECT_TRUE(e && e->message().contains(part))
            << filter.toStdString() << ": " << (e ? e->message().toStdString() : "accepted");
    };
    // A field name with a blank, as the filter window writes it, unbracketed.
    refused("Top Width > '1'", "no field \"Top\"");
    refused("Chainage >= 'abc'", "not a number");
    refused("Chainage ~ '1'", "not a condition");
    refused("Chainage = '1", "no closing quote");
    refused("Chainage = '1' XOR C = '2'", "AND or OR");
    refused("Remarks = bridge", "in quotes");
    refused("Chainage = '1' AND", "field name is missing");
    // Bracketed names are understood.
    EXPECT_EQ(chainagesOf("[TopWidth] LIKE '%'").size(), 10u);

    // A hostile value is only text.
    const QString clause = filterClause("Remarks", "=", "x'; DROP TABLE Roads; --");
    EXPECT_EQ(clause, "Remarks = 'x''; DROP TABLE Roads; --'");
    EXPECT_TRUE(chainagesOf(clause).empty());
}
