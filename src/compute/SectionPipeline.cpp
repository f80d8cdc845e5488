#include "compute/SectionPipeline.h"

#include "store/RowWriter.h"
#include "store/Schema.h"

#include <QStringList>
#include <utility>

namespace tarmela
{

SectionChange unchangedSection(const RlRow& stored)
{
    SectionChange change;
    change.id = stored.id;
    for (int k = 0; k < kComputedColumnCount; ++k)
        change.values[k] = stored.*kComputedColumns[k].field;
    return change;
}

SectionPipeline::SectionPipeline(const EarthworkInputs& in, const QuantityMethod& method,
                                 CrossDistances distances)
    : m_method(&method), m_distances(std::move(distances)), m_viewSections(in.viewSections),
      m_formationCamber(in.formationCamber), m_carriageCamber(in.carriageCamber)
{
}

CrossDistances SectionPipeline::distancesFor(Database& db, std::int64_t road,
                                             const QuantityMethod& method)
{
    return method.needsCrossDistances ? roads::crossDistances(db, road) : CrossDistances{};
}

SectionChange SectionPipeline::compute(const RlRow& stored, SectionCarry& carry) const
{
    SectionChange change;
    change.id = stored.id;
    RlRow s = stored;
    applySectionDefaults(s);
    deriveSideLevels(s, m_formationCamber, m_carriageCamber);
    try {
        if (present(s.fc) && !hasGroundReading(s, m_viewSections))
            throw MissingValue(kNoGroundReading);
        const SectionArea area = m_method->area(s, m_distances, m_viewSections, carry);
        s.fillArea = area.fill;
        s.cutArea = area.cut;
    } catch (const MissingValue& e) {
        // The section keeps the defaults it was given; its side levels stay as stored.
        change.missing = e.column();
        s.fl1 = stored.fl1;
        s.fl2 = stored.fl2;
        s.fr1 = stored.fr1;
        s.fr2 = stored.fr2;
    }
    // Unrolled, so that each column's field is known where it is read: some 80 instructions a
    // section fewer than the loop (tarmela_bench_recompute under callgrind).
#pragma GCC unroll 10
    for (int k = 0; k < kComputedColumnCount; ++k) {
        const double value = s.*kComputedColumns[k].field;
        change.values[k] = value;
        // Nothing computed is ever empty: an empty value is the stored one, left alone. A
        // stored empty cell that gets a value has changed.
        if (present(value) && value != stored.*kComputedColumns[k].field)
            change.changed |= 1u << k;
    }
    return change;
}

SectionWriter::SectionWriter(Database& db, std::int64_t road) : m_rows(db, road) {}

SectionWriter::~SectionWriter() = default;

void SectionWriter::write(const SectionChange& change)
{
    if (change.changed == 0)
        return;
    RowWriter& q = statementFor(change.changed);
    int k = 0;
    for (int c = 0; c < kComputedColumnCount; ++c)
        if (change.changed & (1u << c))
            q.bindNumber(k++, change.values[c]);
    q.bindInteger(k, change.id);
    q.run();
}

RowWriter& SectionWriter::statementFor(unsigned changed)
{
    auto& slot = m_statements[changed];
    if (!slot) {
        QStringList columns;
        for (int c = 0; c < kComputedColumnCount; ++c)
            if (changed & (1u << c))
                columns << QLatin1String(kComputedColumns[c].name);
        slot = std::make_unique<RowWriter>(m_rows.columnWriter(columns));
    }
    return *slot;
}

} // namespace tarmela
