#include "compute/Volumes.h"

#include "store/Numbers.h"

namespace tarmela
{

namespace
{
constexpr double kKilometre = 1000;
constexpr double kLongestPairedInterval = 200;

// The volumes of one kilometre, its intervals given in order. With the prismoidal rule an
// interval waits for the next one: of equal length they go together, otherwise the waiting
// one is taken by average end areas.
class KilometreSum
{
public:
    explicit KilometreSum(VolumeFormula formula)
        : m_prismoidal(formula == VolumeFormula::Prismoidal)
    {
    }
    void add(const SectionAreas& a, const SectionAreas& b)
    {
        if (!m_prismoidal) {
            addEnds(a, b);
            return;
        }
        const double length = b.chainage - a.chainage;
        if (m_waiting) {
            const double first = m_start.chainage - m_before.chainage;
            if (length == first) {
                fill += length / 3 * (m_before.fill + 4 * a.fill + b.fill);
                cut += length / 3 * (m_before.cut + 4 * a.cut + b.cut);
                m_waiting = false;
                return;
            }
            flush();
        }
        if (length > kLongestPairedInterval) {
            addEnds(a, b);
            return;
        }
        m_before = a;
        m_start = b;
        m_waiting = true;
    }
    void flush()
    {
        if (m_waiting)
            addEnds(m_before, m_start);
        m_waiting = false;
    }
    double fill = 0, cut = 0;

private:
    void addEnds(const SectionAreas& a, const SectionAreas& b)
    {
        const SegmentVolumes v = segmentVolumes(a, b);
        fill += v.fill;
        cut += v.cut;
    }
    bool m_prismoidal;
    bool m_waiting = false;
    SectionAreas m_before, m_start; // the interval waiting for a partner
};

} // namespace

const char* volumeFormulaName(VolumeFormula formula)
{
    return formula == VolumeFormula::Prismoidal ? "the prismoidal rule" : "average end areas";
}

VolumeSummary kilometreVolumes(const std::vector<SectionAreas>& sections,
                               std::int64_t stepBackBelow, VolumeFormula formula)
{
    VolumeSummary summary;
    std::size_t i = 0;
    double kmEnd = kKilometre;
    std::int64_t kmIndex = 0;
    while (i < sections.size()) {
        KilometreSum km(formula);
        const SectionAreas* previous = nullptr; // the kilometre's last section so far
        while (i < sections.size()) {
            const SectionAreas& s = sections[i];
            if (s.chainage > kmEnd)
                break;
            if (previous) {
                km.add(*previous, s);
                if (s.chainage - previous->chainage > kLongestGap)
                    summary.gaps.push_back({previous->chainage, s.chainage});
            }
            previous = &s;
            ++i;
        }
        km.flush();
        const double kmFill = km.fill, kmCut = km.cut;
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

VolumeSummary roadVolumes(const std::vector<SectionAreas>& sections, VolumeFormula formula)
{
    return kilometreVolumes(sections, sections.empty() ? 0 : nearestEven(sections.back().chainage),
                            formula);
}

} // namespace tarmela
