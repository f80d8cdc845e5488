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
           a.carriageCamber == b.carriageCamber && a.volumeFormula == b.volumeFormula;
}

void IncrementalQuantities::rebuild(Database& db, const EarthworkInputs& in,
                                    const EarthworkResult& result)
{
    m_valid = false;
    m_sections.clear();
    m_areas.clear();
    m_index.clear();
    const QuantityMethod* method = findQuantityMethod(in.method);
    if (!result.volumesDone || !result.error.isEmpty() || !method)
        return;
    m_inputs = in;
    m_roadName = result.roadName;
    m_pipeline.emplace(in, *method, SectionPipeline::distancesFor(db, in.road, *method));
    m_notDesigned = result.notDesigned;
    m_notSurveyed = result.notSurveyed;
    m_firstSkipped = result.firstSkipped;
    // The order of the full recomputation, so that the centre points carry the same way. Only
    // the columns the index needs: reading whole rows here made the tool's full recomputation
    // of a long road take about half as long again (tarmela_bench_formation).
    RlRowReader q = RlRowStore(db, in.road).summaries();
    SectionCarry carry;
    m_skipped = 0;
    RlRow row;
    while (q.next(row)) {
        Section s;
        s.id = row.id;
        const double fc = row.fc;
        s.fcPresent = isReading(fc);
        // A computed section always has its areas; one passed over carries nothing on.
        s.skipped = !present(row.fillArea);
        m_skipped += s.skipped;
        // What the method's area function leaves in the carry, from C and FC alone.
        if (method->carriesCentre && !s.skipped)
            carryCentre(row.centre, fc, carry);
        s.carry = carry;
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
    const bool carriesCentre = m_pipeline->method().carriesCentre;
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
    SectionWriter write(db, m_inputs.road);
    // Ascending, so that a row's centre point is settled before the next row takes it; a row
    // added on the way lies after the current one and is reached in turn.
    for (auto it = todo.begin(); it != todo.end(); ++it) {
        const int i = *it;
        Section& section = m_sections[std::size_t(i)];
        const std::optional<RlRow> stored = rows.withId(section.id);
        if (!stored || section.skipped || (m_inputs.skipUnready && !hasGroundReading(*stored))) {
            m_valid = false;
            return std::nullopt;
        }
        SectionCarry carry = i > 0 ? m_sections[std::size_t(i - 1)].carry : SectionCarry{};
        const SectionChange change = m_pipeline->compute(*stored, carry);
        if (!change.computed()) {
            m_valid = false;
            return std::nullopt;
        }
        write.write(change);

        m_areas[std::size_t(i)].fill = change.area().fill;
        m_areas[std::size_t(i)].cut = change.area().cut;
        section.carry = carry;
        section.fcPresent = isReading(stored->fc);
        if (carriesCentre && std::size_t(i) + 1 < m_sections.size() &&
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
        r.volumes = roadVolumes(computed, m_inputs.volumeFormula);
    } else {
        r.volumes = roadVolumes(m_areas, m_inputs.volumeFormula);
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
