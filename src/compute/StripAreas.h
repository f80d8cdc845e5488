#pragma once

// The strips of one side of a cross section in the Long method: points from the centre line
// outward, each with the ground level and the formation (proposed) level, and the width of
// the strip to the next point. Point 0 is the centre point, shared by both sides.

#include <array>

namespace tarmela
{

// Room for the centre, eight readings, the formation edge and the closing point.
constexpr int kPointsPerSide = 12;

struct SidePoints {
    std::array<double, kPointsPerSide> GroundPoints{};
    std::array<double, kPointsPerSide> ProposedPoints{};
    std::array<double, kPointsPerSide> StripWidths{}; // [k]: from point k to point k + 1
};

struct StripSums {
    double FillSum = 0;
    double CutSum = 0;
};

// Adds the areas of strips 1..count (strip k spans points k - 1 and k) to the sums. Where the
// formation crosses the ground inside a strip, the strip splits at the crossing into a fill
// triangle and a cut triangle.
void AccumulateStripAreas(const SidePoints& points, int count, StripSums& sums);

} // namespace tarmela
