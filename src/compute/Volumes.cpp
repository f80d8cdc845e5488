#include "compute/Volumes.h"

#include "store/Numbers.h"

namespace tarmela
{

namespace
{
constexpr double kKilometre = 1000;
} // namespace

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
                if (s.chainage - previous->chainage > kLongestGap)
                    summary.gaps.push_back({previous->chainage, s.chainage});
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

VolumeSummary roadVolumes(const std::vector<SectionAreas>& sections)
{
    return kilometreVolumes(sections, sections.empty() ? 0 : nearestEven(sections.back().chainage));
}

} // namespace tarmela
