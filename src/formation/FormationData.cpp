#include "formation/FormationData.h"

#include "store/Culverts.h"
#include "store/RlRowStore.h"

namespace tarmela::formation
{

namespace
{

std::optional<double> filled(double value)
{
    return present(value) ? std::optional<double>(value) : std::nullopt;
}

// The profile's values of RL rows, with the outer readings of the `shown` ones per side.
FormationProfileRow profileRow(const RlRow& row, int shown)
{
    FormationProfileRow r;
    r.id = row.id;
    r.chainage = valueOr(row.chainage, 0);
    if (shown > 0) {
        r.left = filled(row.left[std::size_t(shown - 1)]);
        r.right = filled(row.right[std::size_t(shown - 1)]);
    }
    r.centre = filled(row.centre);
    r.fc = filled(row.fc);
    return r;
}

std::vector<FormationProfileRow> profileRows(const std::vector<RlRow>& rows, int shown)
{
    std::vector<FormationProfileRow> found;
    found.reserve(rows.size());
    for (const RlRow& row : rows)
        found.push_back(profileRow(row, shown));
    return found;
}

std::optional<FormationProfileRow> profileRow(const std::optional<RlRow>& row, int shown)
{
    return row ? std::optional<FormationProfileRow>(profileRow(*row, shown)) : std::nullopt;
}

} // namespace

FormationData::FormationData(Database& db, std::int64_t road, int viewSections)
    : m_db(db), m_road(road), m_rows(std::make_unique<RlRowStore>(db, road)),
      m_culverts(std::make_unique<RoadCulverts>(db, road))
{
    setViewSections(viewSections);
}

void FormationData::setViewSections(int viewSections)
{
    m_shown = viewSections >= 1 && viewSections <= kReadingsPerSide ? viewSections : 0;
}

FormationData::~FormationData() = default;

std::optional<double> FormationData::maxChainage()
{
    return m_rows->maxChainage();
}

std::optional<FormationProfileRow> FormationData::firstRow()
{
    return profileRow(m_rows->first(), m_shown);
}

std::optional<double> FormationData::pickedChainage(const PickRule& pick)
{
    const auto at = double(pick.chainage);
    return pick.after ? m_rows->firstChainageAbove(at) : m_rows->lastChainageUpTo(at);
}

std::vector<FormationProfileRow> FormationData::rowsIn(double from, double to, double minGap)
{
    std::vector<FormationProfileRow> rows;
    std::optional<RlRow> last; // the last row read, when it was left out
    m_rows->visitBetween(from, to, RangeEnd::Excluded, [&](const RlRow& row) {
        if (minGap > 0 && !rows.empty() && row.chainage - rows.back().chainage < minGap) {
            last = row;
            return;
        }
        last.reset();
        rows.push_back(profileRow(row, m_shown));
    });
    if (last)
        rows.push_back(profileRow(*last, m_shown));
    return rows;
}

std::optional<FormationProfileRow> FormationData::rowAt(double chainage)
{
    return profileRow(m_rows->firstAt(chainage), m_shown);
}

std::optional<FormationProfileRow> FormationData::rowBefore(const FormationProfileRow& row)
{
    return profileRow(m_rows->before(row.chainage, row.id), m_shown);
}

std::vector<FormationProfileRow> FormationData::rowsAfterThrough(const FormationProfileRow& from,
                                                                 const FormationProfileRow& to)
{
    return profileRows(m_rows->afterThrough(from.chainage, from.id, to.chainage, to.id), m_shown);
}

std::vector<FormationData::Culvert> FormationData::culvertsIn(double from, double to)
{
    std::vector<Culvert> culverts;
    for (const CulvertRow& c : m_culverts->between(from, to, RangeEnd::Excluded))
        culverts.push_back({valueOr(c.chainage, 0), c.picture(), m_rows->fcBefore(c.chainage),
                            m_rows->fcAfter(c.chainage)});
    return culverts;
}

void FormationData::writeFc(std::int64_t id, double fc)
{
    m_rows->writeFc(id, fc);
}

} // namespace tarmela::formation
