#pragma once

// The road the report benchmarks read.
#include "BenchRoad.h"

namespace tarmela::bench
{

// A project with one road of n sections, 20 m apart, as the reports see it with every reading
// shown: all eight readings a side in the level book and the RL sheet, the formation at the
// centre and both sides, fill and cut areas, a back sight every tenth section and a fore sight
// before it, and on every fiftieth a remark long enough to wrap. Made once per length and kept
// while the program runs.
BenchRoad& reportRoad(std::int64_t sections);

} // namespace tarmela::bench
