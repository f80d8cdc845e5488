#include "compute/StripAreas.h"

#include <cmath>

namespace tarmela
{

void AccumulateStripAreas(const SidePoints& p, int count, StripSums& sums)
{
    for (int k = 1; k <= count && k < kPointsPerSide; ++k) {
        const double w = p.StripWidths[k - 1];
        // Positive: the formation stands above the ground (fill).
        const double d1 = p.ProposedPoints[k - 1] - p.GroundPoints[k - 1];
        const double d2 = p.ProposedPoints[k] - p.GroundPoints[k];
        if (d1 >= 0 && d2 >= 0) {
            sums.FillSum += (d1 + d2) / 2 * w;
        } else if (d1 <= 0 && d2 <= 0) {
            sums.CutSum += (std::fabs(d1) + std::fabs(d2)) / 2 * w;
        } else if (d1 > 0) { // d2 < 0: fill near point k - 1, cut near point k
            const double span = d1 + std::fabs(d2);
            sums.FillSum += d1 / 2 * (d1 / span * w);
            sums.CutSum += std::fabs(d2) / 2 * (std::fabs(d2) / span * w);
        } else { // d1 < 0, d2 > 0
            const double span = std::fabs(d1) + d2;
            sums.CutSum += std::fabs(d1) / 2 * (std::fabs(d1) / span * w);
            sums.FillSum += d2 / 2 * (d2 / span * w);
        }
    }
}

} // namespace tarmela
