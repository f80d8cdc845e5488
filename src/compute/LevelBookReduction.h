#pragma once

#include "compute/LevelBookClosure.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace tarmela
{

class Database;

// Reduces the road's level book into its RL sheet from the bench mark. All or nothing.
//
// Height of instrument method, row by row in chainage order: a back sight raises the height
// of instrument, a fore sight lowers it; a row with a fore sight and no centre reading is a
// change point whose centre level comes from the height before the change. Each level is
// HI - reading to the nearest 0.001; a missing reading leaves the level empty.
// The HI column of the level book is filled in; TopWidth and BottomWidth are carried forward
// to rows that leave them empty. RL rows for chainages the RL sheet lacks are appended with
// the next free IDs. RL rows at chainages the level book does not hold are left alone, and so
// are those whose level book row holds no sight and no reading (nothing was surveyed there: a
// level would be invented). The road remembers the bench mark, for the Level Book report.
//
// With a closing bench mark the book's last row is the fore sight onto it; the closing error
// is worked out, and when it is distributed every level read from setup k is corrected by
// -e * k / N (N the closing reading's setup), so the closing row lands on the bench mark.
struct ReductionOptions {
    std::optional<double> closingBenchMark;
    bool distribute = false;
};
struct ReductionCounts {
    std::int64_t reduced = 0;   // level book rows whose levels were written
    std::int64_t leftAlone = 0; // rows without any sight or reading
    LevelBookCheck check;
};
ReductionCounts ConvertLevelBookToRL(Database& db, std::int64_t road, double benchMark,
                                     const ReductionOptions& options = {});

// "12 rows reduced, 28 rows without readings left as they were" (the second part only when
// there are such rows).
QString reductionSummary(const ReductionCounts& counts);

} // namespace tarmela
