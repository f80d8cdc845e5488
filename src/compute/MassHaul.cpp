#include "compute/MassHaul.h"

#include "store/RlRowStore.h"

#include <algorithm>
#include <cmath>

namespace tarmela
{

MassHaulBuilder::MassHaulBuilder(double cutFactor)
{
    m_result.cutFactor = cutFactor;
}

void MassHaulBuilder::closeStretch(double at)
{
    m_open.to = at;
    m_result.stretches.push_back(m_open);
    m_result.balancePoints.push_back(at);
    m_open = {at, at, 0, 0};
}

const MassHaulSection& MassHaulBuilder::add(const SectionAreas& s)
{
    MassHaulSection row;
    row.chainage = s.chainage;
    row.fillArea = s.fill;
    row.cutArea = s.cut;
    if (!m_started) {
        m_started = true;
        m_result.firstChainage = s.chainage;
        m_open = {s.chainage, s.chainage, 0, 0};
    } else {
        const SectionAreas previous{m_last.chainage, m_last.fillArea, m_last.cutArea};
        const SegmentVolumes v = segmentVolumes(previous, s);
        row.segmentFill = v.fill;
        row.segmentCut = v.cut;
        row.cumulativeFill = m_last.cumulativeFill + v.fill;
        row.cumulativeCut = m_last.cumulativeCut + v.cut;
        row.ordinate = m_last.ordinate + m_result.cutFactor * v.cut - v.fill;

        const double m0 = m_last.ordinate, m1 = row.ordinate;
        const double c0 = m_last.chainage, c1 = row.chainage;
        if ((m0 < 0 && m1 > 0) || (m0 > 0 && m1 < 0)) {
            // The curve is straight between sections: it crosses zero where it is interpolated.
            const double at = c0 + (c1 - c0) * m0 / (m0 - m1);
            m_open.haul += std::abs(m0) * (at - c0) / 2;
            closeStretch(at);
            m_open.haul += std::abs(m1) * (c1 - at) / 2;
        } else {
            m_open.haul += (std::abs(m0) + std::abs(m1)) * (c1 - c0) / 2;
        }
        m_open.volume = std::max(m_open.volume, std::abs(m1));
        if (m1 == 0 && m0 != 0)
            closeStretch(c1);
    }
    m_result.lowestOrdinate = std::min(m_result.lowestOrdinate, row.ordinate);
    m_result.highestOrdinate = std::max(m_result.highestOrdinate, row.ordinate);
    ++m_result.sections;
    m_last = row;
    return m_last;
}

MassHaul MassHaulBuilder::finish()
{
    if (!m_started)
        return m_result;
    // A balance point at the last section leaves nothing after it to close.
    if (m_result.stretches.empty() || m_open.from != m_last.chainage) {
        m_open.to = m_last.chainage;
        m_result.stretches.push_back(m_open);
    }
    m_result.endOrdinate = m_last.ordinate;
    m_result.lastChainage = m_last.chainage;
    return m_result;
}

MassHaul massHaulOf(Database& db, std::int64_t road, double cutFactor,
                    const std::function<void(const MassHaulSection&)>& perSection)
{
    MassHaulBuilder builder(cutFactor);
    RlRowStore store(db, road);
    RlRowReader rows = store.summaries();
    RlRow row;
    while (rows.next(row)) {
        if (!present(row.chainage))
            continue;
        const MassHaulSection& s =
            builder.add({row.chainage, valueOr(row.fillArea, 0), valueOr(row.cutArea, 0)});
        if (perSection)
            perSection(s);
    }
    return builder.finish();
}

} // namespace tarmela
