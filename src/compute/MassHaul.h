#pragma once

#include "compute/Volumes.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace tarmela
{

class Database;

// One section of the mass-haul table, in chainage order.
struct MassHaulSection {
    double chainage = 0;
    double fillArea = 0; // m2, an empty area as 0
    double cutArea = 0;
    double segmentFill = 0; // m3, from the previous section (0 at the first)
    double segmentCut = 0;
    double cumulativeFill = 0;
    double cumulativeCut = 0;
    double ordinate = 0; // m3 of compacted fill: cut times the cut factor, less fill
};

// The stretch of road between two consecutive balance points (or the road's ends).
struct MassHaulStretch {
    double from = 0;   // chainage
    double to = 0;     // chainage
    double volume = 0; // volume moved: the largest |ordinate| in the stretch, m3
    double haul = 0;   // the area between the curve and the zero line, m3 x m
    // haul / volume, metres; 0 for a stretch that moves nothing.
    double averageDistance() const { return volume > 0 ? haul / volume : 0; }
};

struct MassHaul {
    double cutFactor = 1;
    std::int64_t sections = 0;
    std::vector<double> balancePoints; // chainages, in order
    std::vector<MassHaulStretch> stretches;
    // The last ordinate: above 0 a surplus to waste, below 0 a deficit to borrow.
    double endOrdinate = 0;
    double firstChainage = 0, lastChainage = 0;
    double lowestOrdinate = 0, highestOrdinate = 0; // for the diagram's scale
};

// Builds the mass haul one section at a time, so that a road of any length needs memory for
// its stretches only. The segment volumes are by average end areas (segmentVolumes) whatever
// the volume formula: every ordinate needs one volume per segment.
class MassHaulBuilder
{
public:
    // cutFactor: m3 of compacted fill one m3 of cut gives.
    explicit MassHaulBuilder(double cutFactor);
    // The next section in chainage order; returns its row of the table.
    const MassHaulSection& add(const SectionAreas& section);
    MassHaul finish();

private:
    void closeStretch(double at);

    MassHaul m_result;
    MassHaulSection m_last;
    MassHaulStretch m_open;
    bool m_started = false;
};

// The mass haul of a road over its RL rows, Chainage then ID, read one at a time (rows
// without a chainage are left out). perSection, when given, receives each row of the table.
MassHaul massHaulOf(Database& db, std::int64_t road, double cutFactor,
                    const std::function<void(const MassHaulSection&)>& perSection = {});

} // namespace tarmela
