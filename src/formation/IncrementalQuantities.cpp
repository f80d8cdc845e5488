#include "formation/IncrementalQuantities.h"

#include "store/Database.h"
#include "store/Numbers.h"
#include "store/RowReader.h"
#include "store/Schema.h"

#include <QSqlQuery>
#include <QVariant>
#include <set>

namespace tarmela {

namespace {

std::optional<double> optionalValue(const RowReader& q, int column)
{
    return q.optionalNumber(column);
}

QVariant bound(const std::optional<double>& v)
{
    return v ? QVariant(*v) : QVariant();
}

// The columns of one section that the area rules read, by ID.
QString selectSection(std::int64_t road)
{
    QStringList cols;
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(i) << QStringLiteral("R%1").arg(i);
    cols << QStringList{"C",         "FL2",         "FL1",   "FC",         "FR1",        "FR2",
                        "Width",     "TopWidth",    "BottomWidth", "Crust", "Left Slope", "Right Slope"};
    return QStringLiteral("SELECT ") + quoteNames(cols) + QStringLiteral(" FROM ") +
           quoteName(schema::rlTable(road)) + QStringLiteral(" WHERE ID = ?");
}

SectionLevels readSection(const RowReader& q)
{
    SectionLevels s;
    int k = 0;
    for (int i = 0; i < kReadingsPerSide; ++i) {
        s.left[i] = optionalValue(q, k++);
        s.right[i] = optionalValue(q, k++);
    }
    for (std::optional<double>* v : {&s.centre, &s.fl2, &s.fl1, &s.fc, &s.fr1, &s.fr2, &s.width,
                                     &s.topWidth, &s.bottomWidth, &s.crust, &s.leftSlope,
                                     &s.rightSlope})
        *v = optionalValue(q, k++);
    return s;
}

} // namespace

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
    if (!result.volumesDone || !result.error.isEmpty())
        return;
    m_inputs = in;
    m_roadName = result.roadName;
    m_distances = in.method == int(AreaMethod::InterpolatedLong) ? roads::crossDistances(db, in.road)
                                                                 : CrossDistances{};
    // The order of the full recomputation, so that the centre points carry the same way.
    RowReader q(db, QStringLiteral("SELECT ID, Chainage, C, FC, [Fill Area], [Cut Area] FROM ") +
                        quoteName(schema::rlTable(in.road)) + QStringLiteral(" ORDER BY Chainage, ID"));
    CentrePoint centre;
    while (q.next()) {
        Section s;
        s.id = q.integer(0);
        const std::optional<double> c = optionalValue(q, 2);
        const std::optional<double> fc = optionalValue(q, 3);
        if (isPresent(c))
            centre.ground = *c;
        s.fcPresent = isPresent(fc);
        if (s.fcPresent)
            centre.proposed = *fc;
        s.centre = centre;
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

std::optional<EarthworkResult> IncrementalQuantities::recompute(Database& db,
                                                                const std::vector<std::int64_t>& ids)
{
    const bool longMethod = m_inputs.method == int(AreaMethod::InterpolatedLong);
    std::set<int> todo;
    for (std::int64_t id : ids) {
        const int i = m_index.value(id, -1);
        if (i < 0) {
            m_valid = false;
            return std::nullopt;
        }
        todo.insert(i);
    }
    const QString table = quoteName(schema::rlTable(m_inputs.road));
    RowReader read(db, selectSection(m_inputs.road));
    QSqlQuery write = db.prepare(QStringLiteral("UPDATE ") + table +
                                 QStringLiteral(" SET FL1 = ?, FL2 = ?, FR1 = ?, FR2 = ?, "
                                                "[Fill Area] = ?, [Cut Area] = ?, Width = ?, "
                                                "[Left Slope] = ?, [Right Slope] = ?, Crust = ? "
                                                "WHERE ID = ?"));
    // Ascending, so that a row's centre point is settled before the next row takes it; a row
    // added on the way lies after the current one and is reached in turn.
    for (auto it = todo.begin(); it != todo.end(); ++it) {
        const int i = *it;
        Section& section = m_sections[std::size_t(i)];
        read.bind(0, qlonglong(section.id));
        if (!read.next()) {
            m_valid = false;
            return std::nullopt;
        }
        SectionLevels s = readSection(read);
        applySectionDefaults(s);
        deriveSideLevels(s, m_inputs.formationCamber, m_inputs.carriageCamber);
        SectionArea area;
        CentrePoint centre = i > 0 ? m_sections[std::size_t(i - 1)].centre : CentrePoint{};
        try {
            area = longMethod ? longMethodArea(s, m_distances, m_inputs.viewSections, centre)
                              : meanLevelArea(s, AreaMethod(m_inputs.method), m_inputs.viewSections);
        } catch (const MissingValue&) {
            m_valid = false;
            return std::nullopt;
        }
        int k = 0;
        for (const std::optional<double>* v :
             {&s.fl1, &s.fl2, &s.fr1, &s.fr2})
            write.bindValue(k++, bound(*v));
        write.bindValue(k++, area.fill);
        write.bindValue(k++, area.cut);
        for (const std::optional<double>* v : {&s.width, &s.leftSlope, &s.rightSlope, &s.crust})
            write.bindValue(k++, bound(*v));
        write.bindValue(k, qlonglong(section.id));
        Database::run(write);

        m_areas[std::size_t(i)].fill = area.fill;
        m_areas[std::size_t(i)].cut = area.cut;
        section.centre = centre;
        section.fcPresent = isPresent(s.fc);
        if (longMethod && std::size_t(i) + 1 < m_sections.size() &&
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
