#pragma once

#include "store/Schema.h"

#include <QString>
#include <cstdint>

namespace tarmela::sheets
{

// How the reading columns of the level sheets are ordered (the settings of the same names).
struct ViewOrder {
    int viewSections = kReadingsPerSide; // readings per side shown
    int leftOrder = 0;                   // position 0..2 of the left block; C takes the free one
    int rightOrder = 2;
    bool leftReverse = true; // Ln..L1
    bool rightReverse = false;
};

// Column groups of the reduced-level sheet, in the order they are appended.
struct ReducedLevelGroups {
    bool existingLevels = true;
    bool proposedLevels = true; // FL2, FL1, FC, FR1, FR2
    bool proposedWidth = true;  // Width
    bool existingWidth = true;  // TopWidth, BottomWidth
    bool crust = true;
    bool slope = true; // [Left Slope], [Right Slope]
};

// Column groups of the level book sheet.
struct LevelBookGroups {
    bool existingLevels = true;
    bool bsfs = true;          // BS, FS
    bool existingWidth = true; // TopWidth, BottomWidth
    bool remarks = true;
};

// ", L8, L7, ..., C, R1, ..." for the position order given; empty when the levels are off.
QString levelColumns(const ViewOrder& order);

QString reducedLevelStatement(std::int64_t road, const ViewOrder& order,
                              const ReducedLevelGroups& groups);
QString levelBookStatement(std::int64_t road, const ViewOrder& order,
                           const LevelBookGroups& groups);
// Every left distance far-left first, then the right ones outwards, then ID.
QString crossDistancesStatement(std::int64_t road, int readingsPerSide);
// The road's own columns with ID last, so that the sheet can hide it as the last column.
QString roadDetailsStatement();
QString culvertTypesStatement();
QString culvertsStatement(std::int64_t road);

} // namespace tarmela::sheets
