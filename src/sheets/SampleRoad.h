#pragma once

#include <cstdint>

namespace tarmela
{

class Database;

// A complete example road for a first look at the program, for demonstrations and for
// measurements on long roads: "Ranipur" to "Kalaghat" with cross distances, a level book with
// change points reduced into the RL sheet from a bench mark, a formation design on straight
// grades and culverts of four types. The same arguments always give the same road.
struct SampleRoadOptions {
    std::int64_t sections = 151; // 3 km at 20 m
    int interval = 20;
    double benchMark = 100.0;
};

// Creates the road in one transaction and returns its ID.
std::int64_t createSampleRoad(Database& db, const SampleRoadOptions& options = {});

} // namespace tarmela
