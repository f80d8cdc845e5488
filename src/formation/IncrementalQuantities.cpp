#include "formation/IncrementalQuantities.h"

#include "store/Database.h"
#include "store/Numbers.h"
#include "store/RowReader.h"
#include "store/Schema.h"

#include <set>

namespace tarmela
{

IncrementalQuantities::Stamp IncrementalQuantities::stampOf(Database& db)
{
    Stamp s;
    RowReader version(db, QStringLiteral("PRAGMA data_version"));
    if (version.next())
        s.dataVersion = version.integer(0);
    RowReader changes(db, QStringLiteral("SELECT total_changes()"));
    if (changes.next())
        s.changes = changes.integer(0);
    return s;
}

bool IncrementalQuantities::sameInputs(const EarthworkInputs& a, const EarthworkInputs& b)
{
    return a.road == b.road && a.method == b.method && a.viewSections == b.viewSections &&
           a.formationCamber == b.formationCamber && a.carriageCamber == b.carriageCamber;
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
    // The order of the full recomputation, so that the centre points carry the same way. Only
    // the columns the index needs: reading whole rows here made the tool's full recomputation
    // of a long road take about half as long again (tarmela_bench_formation).
    RowReader q(db, QStringLiteral("SELECT ID, Chainage, C, FC, [Fill Area], [Cut Area] FROM ") +
                        quoteName(schema::rlTable(in.road)) +
                        QStringLiteral(" ORDER BY Chainage, ID"));
    SectionCarry carry;
    while (q.next()) {
        Section s;
        s.id = q.integer(0);
        const double fc = q.numberOrNan(3);
        // What the method's area function leaves in the carry, from C and FC alone.
        if (method->carriesCentre)
            carryCentre(q.numberOrNan(2), fc, carry);
        s.fcPresent = isReading(fc);
        s.carry = carry;
        m_index.insert(s.id, int(m_sections.size()));
        m_sections.push_back(s);
        m_areas.push_back({q.number(1), q.number(4), q.number(5)});
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
        if (i < 0) {
            m_valid = false;
            return std::nullopt;
        }
        todo.insert(i);
    }
    RowReader read(db, QStringLiteral("SELECT * FROM ") +
                           quoteName(schema::rlTable(m_inputs.road)) +
                           QStringLiteral(" WHERE ID = ?"));
    RlRowReader rows(read);
    SectionWriter write(db, m_inputs.road);
    // Ascending, so that a row's centre point is settled before the next row takes it; a row
    // added on the way lies after the current one and is reached in turn.
    for (auto it = todo.begin(); it != todo.end(); ++it) {
        const int i = *it;
        Section& section = m_sections[std::size_t(i)];
        read.bind(0, qlonglong(section.id));
        RlRow stored;
        if (!rows.next(stored)) {
            m_valid = false;
            return std::nullopt;
        }
        SectionCarry carry = i > 0 ? m_sections[std::size_t(i - 1)].carry : SectionCarry{};
        const SectionChange change = m_pipeline->compute(stored, carry);
        if (!change.computed()) {
            m_valid = false;
            return std::nullopt;
        }
        write.write(change);

        m_areas[std::size_t(i)].fill = change.area().fill;
        m_areas[std::size_t(i)].cut = change.area().cut;
        section.carry = carry;
        section.fcPresent = isReading(stored.fc);
        if (carriesCentre && std::size_t(i) + 1 < m_sections.size() &&
            !m_sections[std::size_t(i) + 1].fcPresent)
            todo.insert(i + 1);
    }

    EarthworkResult r;
    r.ran = true;
    r.roadName = m_roadName;
    r.volumes = kilometreVolumes(m_areas, nearestEven(m_areas.back().chainage));
    r.volumesDone = true;
    return r;
}

void IncrementalQuantities::settle(Database& db)
{
    if (m_valid)
        m_stamp = stampOf(db);
}

} // namespace tarmela
