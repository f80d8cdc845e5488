// The pages read from a road.
#include "drawing/SectionSources.h"
#include "store/Schema.h"
#include "support/TestProject.h"

#include <gtest/gtest.h>
#include <map>

namespace tarmela
{
namespace
{

TEST(CrossSectionPages, TurnedOnwardOrJumpedToHoldTheSameRows)
{
    test::TestProject p;
    // Chainages repeat across page ends, IDs do not follow the chainages, one row has none.
    const std::int64_t road = p.roadWithRows({0, 20, 20, 40, 60, 60, 60, 80, 100, 100});
    const QString rl = schema::rlTable(road);
    p.db().execute("INSERT INTO " + rl + " (ID, Chainage) VALUES (50, 20), (60, NULL)");
    p.db().execute("UPDATE " + rl + " SET [Fill Area] = ID"); // tells the rows apart
    const std::string expected =
        test::queryText(p.db(), "SELECT ID FROM " + rl + " ORDER BY Chainage, ID");

    for (int perPage : {1, 3, 4}) {
        CrossSectionSource source(p.db(), road, perPage);
        const auto ids = [&](const std::vector<std::int64_t>& order) {
            std::map<std::int64_t, QStringList> pages;
            for (std::int64_t n : order)
                for (const CrossSectionEntry& e :
                     source.page(n, SectionSlot{}, QLocale::c()).sections)
                    pages[n] << QString::number(e.fillArea);
            QStringList all;
            for (const auto& [n, rows] : pages)
                all << rows;
            return all.join(QStringLiteral(" | ")).toStdString();
        };
        std::vector<std::int64_t> onward, backward, jumping;
        for (std::int64_t n = 1; n <= source.pageCount(); ++n)
            onward.push_back(n), backward.insert(backward.begin(), n);
        for (std::int64_t n = 1; n <= source.pageCount(); n += 2)
            jumping.push_back(n + 1), jumping.push_back(n); // 2, 1, 4, 3, ...
        SCOPED_TRACE(perPage);
        EXPECT_EQ(ids(onward), expected);
        EXPECT_EQ(ids(backward), expected);
        EXPECT_EQ(ids(jumping), expected);
    }
}

// A page's datum keeps in its frame the centre, the outermost readings shown (not those beyond)
// and the formation, whichever is lowest.
TEST(LongSectionPages, TheDatumTakesEveryLevelThePageDraws)
{
    test::TestProject p;
    const std::int64_t road = p.roadWithRows({0, 20});
    const QString rl = schema::rlTable(road);
    LongSectionOptions options;
    options.viewSections = 2;
    options.fixedDatum = false;
    for (const char* lowest : {"C = 100", "C = 96.5", "L2 = 96.5", "R2 = 96.5", "FC = 96.5"}) {
        p.db().execute("UPDATE " + rl + " SET C = 100, FC = 101, L2 = 100, R2 = 100, R3 = 50");
        p.db().execute("UPDATE " + rl + " SET " + QString::fromLatin1(lowest) + " WHERE ID = 2");
        EXPECT_EQ(LongSectionSource(p.db(), road, options).page(0).levels.low,
                  lowest[4] == '1' ? 99 : 95)
            << lowest;
    }
}

} // namespace
} // namespace tarmela
