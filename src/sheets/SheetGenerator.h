#pragma once

#include <cstdint>

namespace tarmela
{

class Database;

// Rebuilds the chosen sheets of a road with one empty row per interval from start to end.
// Returns the number of rows written per sheet. Throws Error; changes nothing on failure.
//
// Rows carry only ID and Chainage: the first at the start chainage with ID 1, then one every
// interval, the last exactly at the end chainage (even where the end is not a whole number of
// intervals from the start). An end at the start gives the single row (1, end); an end before
// the start, or a chainage outside ranges::kChainage, is refused.
// Chainages are whole metres (halves to even).
std::int64_t generateSheets(Database& db, std::int64_t road, double start, double end, int interval,
                            bool reducedLevel, bool levelBook);

// The number of rows generateSheets would write for these values (no database needed).
std::int64_t generatedRowCount(double start, double end, int interval);

// The most rows one generation writes per sheet; more is surely a typing mistake.
constexpr std::int64_t kMaxGeneratedRows = 10'000'000;

} // namespace tarmela
