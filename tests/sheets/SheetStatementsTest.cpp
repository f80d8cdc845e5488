#include "sheets/SheetStatements.h"

#include <gtest/gtest.h>

using namespace tarmela::sheets;

TEST(SheetStatements, DefaultReducedLevelSheetReadsLikeACrossSection)
{
    EXPECT_EQ(reducedLevelStatement(4, ViewOrder{}, ReducedLevelGroups{}),
              "Select Chainage, L8, L7, L6, L5, L4, L3, L2, L1, C, R1, R2, R3, R4, R5, R6, R7, "
              "R8, FL2, FL1, FC, FR1, FR2, Width, TopWidth, BottomWidth, Crust, [Left Slope], "
              "[Right Slope], ID from RL_4 order by Chainage");
}

TEST(SheetStatements, LevelBlocksFollowTheOrderSettings)
{
    // Fields: readings per side, left and right block positions, left and right reversed.
    EXPECT_EQ(levelColumns({3, 0, 2, true, false}), ", L3, L2, L1, C, R1, R2, R3");
    EXPECT_EQ(levelColumns({4, 2, 0, false, false}), ", R1, R2, R3, R4, C, L1, L2, L3, L4");
    EXPECT_EQ(levelColumns({2, 1, 2, false, true}), ", C, L1, L2, R2, R1");
    EXPECT_EQ(levelColumns({0, 0, 2, true, false}), ", C");
    ViewOrder tooMany{12, 0, 2, true, false}; // the tables hold eight per side
    EXPECT_TRUE(levelColumns(tooMany).startsWith(", L8, L7"));
}

TEST(SheetStatements, UntickedGroupsLeaveChainageAndId)
{
    const ReducedLevelGroups noneRl{false, false, false, false, false, false};
    EXPECT_EQ(reducedLevelStatement(12, ViewOrder{}, noneRl),
              "Select Chainage, ID from RL_12 order by Chainage");
    ReducedLevelGroups onlyCrust = noneRl;
    onlyCrust.crust = true;
    EXPECT_EQ(reducedLevelStatement(105, ViewOrder{}, onlyCrust),
              "Select Chainage, Crust, ID from RL_105 order by Chainage");

    ViewOrder v{2, 0, 2, true, false};
    EXPECT_EQ(levelBookStatement(7, v, LevelBookGroups{}),
              "Select Chainage, L2, L1, C, R1, R2, BS, FS, TopWidth, BottomWidth, Remarks, ID "
              "from LB_7 order by Chainage");
    LevelBookGroups noLevels;
    noLevels.existingLevels = false;
    noLevels.remarks = false;
    EXPECT_EQ(levelBookStatement(7, v, noLevels),
              "Select Chainage, BS, FS, TopWidth, BottomWidth, ID from LB_7 order by Chainage");
}

TEST(SheetStatements, CrossDistancesAlwaysFarLeftFirst)
{
    EXPECT_EQ(crossDistancesStatement(3, 8),
              "Select L8, L7, L6, L5, L4, L3, L2, L1, R1, R2, R3, R4, R5, R6, R7, R8, ID from "
              "ChDistance where RoadRef=3");
    EXPECT_EQ(culvertsStatement(9),
              "Select CulvertName, EPType, Chainage, Culverts.ID from Culverts, CulvertTypes "
              "where CTypeRef=CulvertTypes.ID and Culverts.RoadRef=9 order by Chainage");
}
