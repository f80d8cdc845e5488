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

} // namespace tarmela
