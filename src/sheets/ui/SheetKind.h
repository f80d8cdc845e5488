#pragma once

namespace tarmela
{

// The kinds of data sheet; a sheet's kind decides its layout and what Add and Delete do.
enum class SheetKind {
    RoadDetails,
    LevelBook,
    ReducedLevel,
    CulvertTypes,
    Culverts,
    ChainageDistance, // the cross distances
};

// The kind's name ("RoadDetails", "LevelBook", ...), for messages and tests.
const char* sheetKindName(SheetKind kind);

} // namespace tarmela
