#include "compute/Volumes.h"

namespace tarmela
{

namespace
{
constexpr double kKilometre = 1000;
constexpr double kLongestGap = 200;
constexpr double kLongGapCounts = 50;
} // namespace

VolumeSummary kilometreVolumes(const std::vector<SectionAreas>& sections,
                               std::int64_t stepBackBelow)
{
    VolumeSummary summary;
    std::size_t i = 0;
    double kmEnd = kKilometre;
    std::int64_t kmIndex = 0;
    while (i < sections.size()) {
        double kmFill = 0, kmCut = 0, prevFill = 0, prevCut = 0, prevChainage = 0;
        bool first = true;
        bool readAny = false;
        while (i < sections.size()) {
            const SectionAreas& s = sections[i];
            if (s.chainage > kmEnd)
                break;
            if (first) {
                first = false;
            } else {
                const double length = s.chainage - prevChainage;
                if (length > kLongestGap) {
                    kmFill += (prevFill + s.fill) * (kLongGapCounts / 2);
                    kmCut += (prevCut + s.cut) * (kLongGapCounts / 2);
                } else {
                    kmFill += (prevFill + s.fill) * length * 0.5;
                    kmCut += (prevCut + s.cut) * length * 0.5;
                }
            }
            prevFill = s.fill;
            prevCut = s.cut;
            prevChainage = s.chainage;
            ++i;
            readAny = true;
        }
        if (kmEnd < double(stepBackBelow) && readAny)
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
