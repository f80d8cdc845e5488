#include "store/SheetQueries.h"

#include <gtest/gtest.h>

using namespace tarmela::sheets;

TEST(SheetStatements, LevelBlocksFollowTheOrderSettings)
{
    // Readings per side, left and right block positions, left and right reversed.
    const std::pair<ViewOrder, const char*> cases[] = {
        {{3, 0, 2, true, false}, ", L3, L2, L1, C, R1, R2, R3"},
        {{4, 2, 0, false, false}, ", R1, R2, R3, R4, C, L1, L2, L3, L4"},
        {{2, 1, 2, false, true}, ", C, L1, L2, R2, R1"},
        {{0, 0, 2, true, false}, ", C"},
        {{12, 0, 2, true, false},
         ", L8, L7, L6, L5, L4, L3, L2, L1, C, R1, R2, R3, R4, R5, R6, "
         "R7, R8"}, // the tables hold eight per side
    };
    for (const auto& [order, columns] : cases)
        EXPECT_EQ(levelColumns(order), columns) << columns;
}
