#include "compute/Volumes.h"

namespace tarmela
{

namespace
{
constexpr double kKilometre = 1000;
constexpr double kLongestGap = 200;
constexpr double kLongGapCounts = 50;
} // namespace

SegmentVolumes segmentVolumes(const SectionAreas& a, const SectionAreas& b)
{
    const double length = b.chainage - a.chainage;
    if (length > kLongestGap)
        return {(a.fill + b.fill) * (kLongGapCounts / 2), (a.cut + b.cut) * (kLongGapCounts / 2)};
    return {(a.fill + b.fill) * length * 0.5, (a.cut + b.cut) * length * 0.5};
}

VolumeSummary kilometreVolumes(const std::vector<SectionAreas>& sections,
                               std::int64_t stepBackBelow)
{
    VolumeSummary summary;
    std::size_t i = 0;
    double kmEnd = kKilometre;
    std::int64_t kmIndex = 0;
    while (i < sections.size()) {
        double kmFill = 0, kmCut = 0;
        const SectionAreas* previous = nullptr; // the kilometre's last section so far
        while (i < sections.size()) {
            const SectionAreas& s = sections[i];
            if (s.chainage > kmEnd)
                break;
            if (previous) {
                const SegmentVolumes v = segmentVolumes(*previous, s);
                kmFill += v.fill;
                kmCut += v.cut;
            }
            previous = &s;
            ++i;
        }
        if (kmEnd < double(stepBackBelow) && previous)
            --i;
        summary.kilometres.push_back({kmIndex + 1, kmFill, kmCut});
        summary.totalFill += kmFill;
        summary.totalCut += kmCut;
        kmEnd += kKilometre;
        ++kmIndex;
    }
    return summary;
}

} // namespace tarmela
