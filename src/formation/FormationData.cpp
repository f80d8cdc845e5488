#include "formation/FormationData.h"

#include "compute/RlRows.h"
#include "store/Database.h"
#include "store/RowReader.h"
#include "store/Schema.h"

#include <QSqlQuery>
#include <QVariant>
#include <functional>

namespace tarmela::formation
{

namespace
{

std::optional<double> optionalValue(const RowReader& q, int column)
{
    return q.optionalNumber(column);
}

std::optional<double> filled(double value)
{
    return present(value) ? std::optional<double>(value) : std::nullopt;
}

// The rows of a statement that selects whole rows of the RL sheet, with the outer readings
// of the `shown` ones per side.
std::vector<FormationProfileRow> profileRows(RowReader& q, int shown)
{
    RlRowReader rows(q);
    RlRow row;
    std::vector<FormationProfileRow> found;
    while (rows.next(row)) {
        FormationProfileRow r;
        r.id = row.id;
        r.chainage = valueOr(row.chainage, 0);
        if (shown > 0) {
            r.left = filled(row.left[std::size_t(shown - 1)]);
            r.right = filled(row.right[std::size_t(shown - 1)]);
        }
        r.centre = filled(row.centre);
        r.fc = filled(row.fc);
        found.push_back(r);
    }
    return found;
}

std::optional<FormationProfileRow> firstOf(RowReader& q, int shown)
{
    const std::vector<FormationProfileRow> rows = profileRows(q, shown);
    return rows.empty() ? std::nullopt : std::optional<FormationProfileRow>(rows.front());
}

// Hands each row of a statement on; a step that fails is an Error, not the quiet end of the
// rows.
void eachRow(RowReader& q, const std::function<void(const RowReader&)>& row)
{
    while (q.next())
        row(q);
}

} // namespace

FormationData::FormationData(Database& db, std::int64_t road, int viewSections)
    : m_db(db), m_road(road),
      m_shown(viewSections >= 1 && viewSections <= kReadingsPerSide ? viewSections : 0)
{
}

QString FormationData::table() const
{
    return quoteName(schema::rlTable(m_road));
}

QString FormationData::selectRows() const
{
    return QStringLiteral("SELECT * FROM ") + table() + QStringLiteral(" ");
}

std::optional<double> FormationData::maxChainage()
{
    RowReader q(m_db, QStringLiteral("SELECT max(Chainage) FROM ") + table());
    std::optional<double> value;
    eachRow(q, [&](const RowReader& r) { value = optionalValue(r, 0); });
    return value;
}

std::optional<FormationProfileRow> FormationData::firstRow()
{
    RowReader q(m_db, selectRows() + QStringLiteral("ORDER BY Chainage, ID LIMIT 1"));
    return firstOf(q, m_shown);
}

std::optional<double> FormationData::pickedChainage(const PickRule& pick)
{
    RowReader q(
        m_db,
        pick.after
            ? QStringLiteral("SELECT min(Chainage) FROM %1 WHERE Chainage > ?").arg(table())
            : QStringLiteral("SELECT max(Chainage) FROM %1 WHERE Chainage <= ?").arg(table()));
    q.bind(0, qlonglong(pick.chainage));
    std::optional<double> value;
    eachRow(q, [&](const RowReader& r) { value = optionalValue(r, 0); });
    return value;
}

std::vector<FormationProfileRow> FormationData::rowsIn(double from, double to)
{
    RowReader q(m_db, selectRows() + QStringLiteral("WHERE Chainage >= ? AND Chainage < ? "
                                                    "ORDER BY Chainage, ID"));
    q.bind(0, from);
    q.bind(1, to);
    return profileRows(q, m_shown);
}

std::optional<FormationProfileRow> FormationData::rowAt(double chainage)
{
    RowReader q(m_db, selectRows() + QStringLiteral("WHERE Chainage = ? ORDER BY ID LIMIT 1"));
    q.bind(0, chainage);
    return firstOf(q, m_shown);
}

std::optional<FormationProfileRow> FormationData::rowBefore(const FormationProfileRow& row)
{
    // The range on Chainage alone lets the index find the row on a road of any length.
    RowReader q(m_db,
                selectRows() + QStringLiteral("WHERE Chainage <= ? AND (Chainage < ? OR ID < ?) "
                                              "ORDER BY Chainage DESC, ID DESC LIMIT 1"));
    q.bind(0, row.chainage);
    q.bind(1, row.chainage);
    q.bind(2, qlonglong(row.id));
    return firstOf(q, m_shown);
}

std::vector<FormationProfileRow> FormationData::rowsAfterThrough(const FormationProfileRow& from,
                                                                 const FormationProfileRow& to)
{
    RowReader q(m_db,
                selectRows() +
                    QStringLiteral("WHERE Chainage >= ? AND Chainage <= ? "
                                   "AND (Chainage > ? OR ID > ?) AND (Chainage < ? OR ID <= ?) "
                                   "ORDER BY Chainage, ID"));
    q.bind(0, from.chainage);
    q.bind(1, to.chainage);
    q.bind(2, from.chainage);
    q.bind(3, qlonglong(from.id));
    q.bind(4, to.chainage);
    q.bind(5, qlonglong(to.id));
    return profileRows(q, m_shown);
}

std::vector<FormationData::Culvert> FormationData::culvertsIn(double from, double to)
{
    RowReader q(
        m_db,
        QStringLiteral("SELECT Culverts.Chainage, CASE WHEN EPType = 'E' THEN ImageFileExisting "
                       "ELSE ImageFileProposed END FROM Culverts JOIN CulvertTypes "
                       "ON CTypeRef = CulvertTypes.ID WHERE RoadRef = ? AND Culverts.Chainage >= ? "
                       "AND Culverts.Chainage < ? ORDER BY Culverts.Chainage, Culverts.ID"));
    q.bind(0, qlonglong(m_road));
    q.bind(1, from);
    q.bind(2, to);
    std::vector<Culvert> culverts;
    eachRow(q, [&](const RowReader& r) { culverts.push_back({r.number(0), r.text(1), {}, {}}); });
    RowReader before(m_db, QStringLiteral("SELECT FC FROM %1 WHERE Chainage < ? "
                                          "ORDER BY Chainage DESC, ID LIMIT 1")
                               .arg(table()));
    RowReader after(m_db, QStringLiteral("SELECT FC FROM %1 WHERE Chainage > ? "
                                         "ORDER BY Chainage, ID LIMIT 1")
                              .arg(table()));
    for (Culvert& c : culverts) {
        before.bind(0, c.chainage);
        eachRow(before, [&](const RowReader& r) { c.fcBefore = optionalValue(r, 0); });
        after.bind(0, c.chainage);
        eachRow(after, [&](const RowReader& r) { c.fcAfter = optionalValue(r, 0); });
    }
    return culverts;
}

void FormationData::writeFc(std::int64_t id, double fc)
{
    QSqlQuery q = m_db.prepare(QStringLiteral("UPDATE %1 SET FC = ? WHERE ID = ?").arg(table()));
    q.addBindValue(fc);
    q.addBindValue(qlonglong(id));
    Database::run(q);
}

} // namespace tarmela::formation
