#pragma once

// A road's vertical alignment as stored: its points of vertical intersection (PVIs) in the
// table VerticalAlignment, one row each, keyed by the road (RoadRef) and read in order of
// chainage. The rules that make an alignment valid and the levels it gives are the formation
// design's (formation/VerticalAlignment.h); this file only keeps what it is given. Failed
// statements throw Error.

#include <cstdint>
#include <vector>

namespace tarmela
{

class Database;

// One PVI: where the grades meet, and the length of the curve about it (0: none).
struct Pvi {
    double chainage = 0;
    double level = 0;
    double length = 0;
    bool operator==(const Pvi& o) const
    {
        return chainage == o.chainage && level == o.level && length == o.length;
    }
};

namespace alignments
{

// The table, as the migration that adds it makes it.
void createTable(Database& db);

// The road's PVIs by chainage; empty when it has none.
std::vector<Pvi> read(Database& db, std::int64_t road);
// Replaces the road's PVIs by these (an empty list removes them).
void write(Database& db, std::int64_t road, const std::vector<Pvi>& pvis);

} // namespace alignments
} // namespace tarmela
