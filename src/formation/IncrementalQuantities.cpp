#include "formation/IncrementalQuantities.h"

#include "store/Database.h"
#include "store/Numbers.h"
#include "store/RlRowStore.h"

#include <set>

namespace tarmela
{

IncrementalQuantities::Stamp IncrementalQuantities::stampOf(Database& db)
{
    Stamp s;
    s.dataVersion = db.dataVersion();
    s.changes = db.totalChanges();
    return s;
}

bool IncrementalQuantities::sameInputs(const EarthworkInputs& a, const EarthworkInputs& b)
{
    return a.road == b.road && a.method == b.method && a.viewSections == b.viewSections &&
           a.skipUnready == b.skipUnready && a.formationCamber == b.formationCamber &&
           a.carriageCamber == b.carriageCamber;
}

void IncrementalQuantities::rebuild(Database& db, const EarthworkInputs& in,
                                    const EarthworkResult& result)
{
    m_valid = false;
    m_sections.clear();
    m_areas.clear();
    m_index.clear();
    if (!result.volumesDone || !result.error.isEmpty())
        return;
    m_inputs = in;
    m_roadName = result.roadName;
    m_notDesigned = result.notDesigned;
    m_notSurveyed = result.notSurveyed;
    m_firstSkipped = result.firstSkipped;
    m_distances = in.method == int(AreaMethod::InterpolatedLong)
                      ? roads::crossDistances(db, in.road)
                      : CrossDistances{};
    // The order of the full recomputation, so that the centre points carry the same way. Only
    // the columns the index needs: reading whole rows here made the tool's full recomputation
    // of a long road take about half as long again (tarmela_bench_formation).
    RlRowReader q = RlRowStore(db, in.road).summaries();
    CentrePoint centre;
    m_skipped = 0;
    RlRow row;
    while (q.next(row)) {
        Section s;
        s.id = row.id;
        const double c = row.centre, fc = row.fc;
        s.fcPresent = isReading(fc);
        // A computed section always has its areas; one passed over carries nothing on.
        s.skipped = !present(row.fillArea);
        m_skipped += s.skipped;
        if (!s.skipped && isReading(c))
            centre.ground = c;
        if (!s.skipped && s.fcPresent)
            centre.proposed = fc;
        s.centre = centre;
        m_index.insert(s.id, int(m_sections.size()));
        m_sections.push_back(s);
        m_areas.push_back(
            {valueOr(row.chainage, 0), valueOr(row.fillArea, 0), valueOr(row.cutArea, 0)});
    }
    m_stamp = stampOf(db);
    m_valid = !m_sections.empty();
}

bool IncrementalQuantities::usableFor(Database& db, const EarthworkInputs& in)
{
    if (!m_valid || !sameInputs(in, m_inputs) || !(stampOf(db) == m_stamp))
        return false;
    return true;
}

std::optional<EarthworkResult>
IncrementalQuantities::recompute(Database& db, const std::vector<std::int64_t>& ids)
{
    const bool longMethod = m_inputs.method == int(AreaMethod::InterpolatedLong);
    std::set<int> todo;
    for (std::int64_t id : ids) {
        const int i = m_index.value(id, -1);
        // A section passed over is left to the full run, which counts them.
        if (i < 0 || m_sections[std::size_t(i)].skipped) {
            m_valid = false;
            return std::nullopt;
        }
        todo.insert(i);
    }
    RlRowStore rows(db, m_inputs.road);
    RowWriter write = rows.columnWriter({"FL1", "FL2", "FR1", "FR2", "Fill Area", "Cut Area",
                                         "Width", "Left Slope", "Right Slope", "Crust"});
    // Ascending, so that a row's centre point is settled before the next row takes it; a row
    // added on the way lies after the current one and is reached in turn.
    for (auto it = todo.begin(); it != todo.end(); ++it) {
        const int i = *it;
        Section& section = m_sections[std::size_t(i)];
        std::optional<RlRow> found = rows.withId(section.id);
        if (!found || section.skipped || (m_inputs.skipUnready && !hasGroundReading(*found))) {
            m_valid = false;
            return std::nullopt;
        }
        RlRow& s = *found;
        applySectionDefaults(s);
        deriveSideLevels(s, m_inputs.formationCamber, m_inputs.carriageCamber);
        SectionArea area;
        CentrePoint centre = i > 0 ? m_sections[std::size_t(i - 1)].centre : CentrePoint{};
        try {
            area = longMethod
                       ? longMethodArea(s, m_distances, m_inputs.viewSections, centre)
                       : meanLevelArea(s, AreaMethod(m_inputs.method), m_inputs.viewSections);
        } catch (const MissingValue&) {
            m_valid = false;
            return std::nullopt;
        }
        int k = 0;
        for (double v : {s.fl1, s.fl2, s.fr1, s.fr2, area.fill, area.cut, s.width, s.leftSlope,
                         s.rightSlope, s.crust})
            write.bindNumber(k++, v);
        write.bindInteger(k, section.id);
        write.run();

        m_areas[std::size_t(i)].fill = area.fill;
        m_areas[std::size_t(i)].cut = area.cut;
        section.centre = centre;
        section.fcPresent = isReading(s.fc);
        if (longMethod && std::size_t(i) + 1 < m_sections.size() &&
            !m_sections[std::size_t(i) + 1].fcPresent)
            todo.insert(i + 1);
    }

    EarthworkResult r;
    r.ran = true;
    r.roadName = m_roadName;
    r.notDesigned = m_notDesigned;
    r.notSurveyed = m_notSurveyed;
    r.firstSkipped = m_firstSkipped;
    if (m_skipped > 0) {
        std::vector<SectionAreas> computed;
        computed.reserve(m_areas.size());
        for (std::size_t k = 0; k < m_areas.size(); ++k)
            if (!m_sections[k].skipped)
                computed.push_back(m_areas[k]);
        if (computed.empty()) {
            m_valid = false;
            return std::nullopt;
        }
        r.volumes = kilometreVolumes(computed, nearestEven(computed.back().chainage));
    } else {
        r.volumes = kilometreVolumes(m_areas, nearestEven(m_areas.back().chainage));
    }
    r.volumesDone = true;
    return r;
}

void IncrementalQuantities::settle(Database& db)
{
    if (m_valid)
        m_stamp = stampOf(db);
}

} // namespace tarmela
