#pragma once

#include <cstdint>
#include <vector>

namespace tarmela
{

// The stored areas of one section (an empty area counts as 0).
struct SectionAreas {
    double chainage = 0;
    double fill = 0;
    double cut = 0;
};

// The volumes between two consecutive sections, in m3.
struct SegmentVolumes {
    double fill = 0;
    double cut = 0;
};

// A gap between consecutive sections longer than this counts as kLongGapCounts metres.
constexpr double kLongestGap = 200, kLongGapCounts = 50;

// By average end areas, b after a in chainage order; a gap between them longer than 200 m
// counts as 50 m (sections that far apart say nothing of the ground between them).
inline SegmentVolumes segmentVolumes(const SectionAreas& a, const SectionAreas& b)
{
    const double length = b.chainage - a.chainage;
    if (length > kLongestGap)
        return {(a.fill + b.fill) * (kLongGapCounts / 2), (a.cut + b.cut) * (kLongGapCounts / 2)};
    return {(a.fill + b.fill) * length * 0.5, (a.cut + b.cut) * length * 0.5};
}

// How the volumes of a kilometre are taken from its areas (the setting VolumeFormula).
enum class VolumeFormula {
    AverageEndArea = 0,
    // Consecutive intervals of equal length, each at most 200 m, taken two at a time by
    // L/3 (A1 + 4 A2 + A3); an interval left without a partner by average end areas.
    Prismoidal = 1,
};
inline constexpr int kLastVolumeFormula = 1;

// "average end areas" or "the prismoidal rule", for the sentences that name the formula.
const char* volumeFormulaName(VolumeFormula formula);

struct KilometreVolumes {
    std::int64_t number = 0; // 1 for the first kilometre
    double filling = 0;      // m3
    double cutting = 0;
};

// Two consecutive sections further apart than kLongestGap, whose volume was counted over
// kLongGapCounts metres: every output that shows volumes says so.
struct LongGap {
    double from = 0, to = 0; // chainages
};

struct VolumeSummary {
    std::vector<KilometreVolumes> kilometres;
    std::vector<LongGap> gaps; // in chainage order, each counted once
    double totalFill = 0;
    double totalCut = 0;
    double total() const { return totalFill + totalCut; }
};

// Volumes per kilometre of chainage, the sum of the segment volumes (segmentVolumes) between
// its sections, sections in chainage order.
//
// Kilometre k closes at chainage 1000 k; a section exactly at a kilometre end belongs to the
// kilometre that ends there.
// When a kilometre end lies below stepBackBelow and the kilometre read at least one section,
// its last section also opens the next kilometre, so that the volume between the sections on
// either side of a kilometre boundary falls into the later kilometre. Long gaps are listed in
// the summary's gaps. With the prismoidal rule, intervals pair only inside a kilometre.
VolumeSummary kilometreVolumes(const std::vector<SectionAreas>& sections,
                               std::int64_t stepBackBelow,
                               VolumeFormula formula = VolumeFormula::AverageEndArea);

// The road's volumes as every output shows them: stepping back below the last section's
// chainage (to a whole number), so that no interval across a kilometre end is left out.
VolumeSummary roadVolumes(const std::vector<SectionAreas>& sections,
                          VolumeFormula formula = VolumeFormula::AverageEndArea);

} // namespace tarmela
