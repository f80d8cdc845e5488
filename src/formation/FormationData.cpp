#include "formation/FormationData.h"

#include "store/Database.h"
#include "store/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <functional>

namespace tarmela::formation {

namespace {

std::optional<double> optionalValue(const QSqlQuery& q, int column)
{
    const QVariant v = q.value(column);
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

// ID, Chainage, outer left, C, outer right, FC.
FormationProfileRow profileRow(const QSqlQuery& q)
{
    FormationProfileRow r;
    r.id = q.value(0).toLongLong();
    r.chainage = q.value(1).toDouble();
    r.left = optionalValue(q, 2);
    r.centre = optionalValue(q, 3);
    r.right = optionalValue(q, 4);
    r.fc = optionalValue(q, 5);
    return r;
}

// Runs a prepared statement and hands each row on; a step that fails is an Error, not the
// quiet end of the rows.
void eachRow(QSqlQuery& q, const std::function<void(const QSqlQuery&)>& row)
{
    Database::run(q);
    while (q.next())
        row(q);
    if (q.lastError().isValid())
        throwSqlError(q.lastError(), q.lastQuery());
}

std::optional<FormationProfileRow> firstOf(QSqlQuery& q)
{
    std::optional<FormationProfileRow> found;
    eachRow(q, [&](const QSqlQuery& r) {
        if (!found)
            found = profileRow(r);
    });
    return found;
}

} // namespace

FormationData::FormationData(Database& db, std::int64_t road, int viewSections)
    : m_db(db), m_road(road)
{
    const bool shown = viewSections >= 1 && viewSections <= kReadingsPerSide;
    m_left = shown ? QStringLiteral("L%1").arg(viewSections) : QStringLiteral("NULL");
    m_right = shown ? QStringLiteral("R%1").arg(viewSections) : QStringLiteral("NULL");
}

QString FormationData::table() const
{
    return schema::rlTable(m_road);
}

QString FormationData::rowColumns() const
{
    return QStringLiteral("SELECT ID, Chainage, %1, C, %2, FC FROM %3 ").arg(m_left, m_right, table());
}

std::optional<double> FormationData::maxChainage()
{
    QSqlQuery q = m_db.prepare(QStringLiteral("SELECT max(Chainage) FROM ") + table());
    std::optional<double> value;
    eachRow(q, [&](const QSqlQuery& r) { value = optionalValue(r, 0); });
    return value;
}

std::optional<FormationProfileRow> FormationData::firstRow()
{
    QSqlQuery q = m_db.prepare(rowColumns() + QStringLiteral("ORDER BY Chainage, ID LIMIT 1"));
    return firstOf(q);
}

std::optional<double> FormationData::pickedChainage(const PickRule& pick)
{
    QSqlQuery q = m_db.prepare(
        pick.after ? QStringLiteral("SELECT min(Chainage) FROM %1 WHERE Chainage > ?").arg(table())
                   : QStringLiteral("SELECT max(Chainage) FROM %1 WHERE Chainage <= ?").arg(table()));
    q.addBindValue(qlonglong(pick.chainage));
    std::optional<double> value;
    eachRow(q, [&](const QSqlQuery& r) { value = optionalValue(r, 0); });
    return value;
}

std::vector<FormationProfileRow> FormationData::rowsIn(double from, double to)
{
    QSqlQuery q = m_db.prepare(rowColumns() +
                               QStringLiteral("WHERE Chainage >= ? AND Chainage < ? "
                                              "ORDER BY Chainage, ID"));
    q.addBindValue(from);
    q.addBindValue(to);
    std::vector<FormationProfileRow> rows;
    eachRow(q, [&](const QSqlQuery& r) { rows.push_back(profileRow(r)); });
    return rows;
}

std::optional<FormationProfileRow> FormationData::rowAt(double chainage)
{
    QSqlQuery q = m_db.prepare(rowColumns() +
                               QStringLiteral("WHERE Chainage = ? ORDER BY ID LIMIT 1"));
    q.addBindValue(chainage);
    return firstOf(q);
}

std::optional<FormationProfileRow> FormationData::rowBefore(const FormationProfileRow& row)
{
    QSqlQuery q = m_db.prepare(rowColumns() +
                               QStringLiteral("WHERE Chainage < ? OR (Chainage = ? AND ID < ?) "
                                              "ORDER BY Chainage DESC, ID DESC LIMIT 1"));
    q.addBindValue(row.chainage);
    q.addBindValue(row.chainage);
    q.addBindValue(qlonglong(row.id));
    return firstOf(q);
}

std::vector<FormationProfileRow> FormationData::rowsAfterThrough(const FormationProfileRow& from,
                                                                 const FormationProfileRow& to)
{
    QSqlQuery q = m_db.prepare(
        rowColumns() +
        QStringLiteral("WHERE (Chainage > ? OR (Chainage = ? AND ID > ?)) "
                       "AND (Chainage < ? OR (Chainage = ? AND ID <= ?)) ORDER BY Chainage, ID"));
    for (const FormationProfileRow* r : {&from, &to}) {
        q.addBindValue(r->chainage);
        q.addBindValue(r->chainage);
        q.addBindValue(qlonglong(r->id));
    }
    std::vector<FormationProfileRow> rows;
    eachRow(q, [&](const QSqlQuery& r) { rows.push_back(profileRow(r)); });
    return rows;
}

std::vector<FormationData::Culvert> FormationData::culvertsIn(double from, double to)
{
    QSqlQuery q = m_db.prepare(
        QStringLiteral("SELECT Culverts.Chainage, CASE WHEN EPType = 'E' THEN ImageFileExisting "
                       "ELSE ImageFileProposed END FROM Culverts JOIN CulvertTypes "
                       "ON CTypeRef = CulvertTypes.ID WHERE RoadRef = ? AND Culverts.Chainage >= ? "
                       "AND Culverts.Chainage < ? ORDER BY Culverts.Chainage, Culverts.ID"));
    q.addBindValue(qlonglong(m_road));
    q.addBindValue(from);
    q.addBindValue(to);
    std::vector<Culvert> culverts;
    eachRow(q, [&](const QSqlQuery& r) {
        culverts.push_back({r.value(0).toDouble(), r.value(1).toString(), {}, {}});
    });
    QSqlQuery before = m_db.prepare(QStringLiteral("SELECT FC FROM %1 WHERE Chainage < ? "
                                                   "ORDER BY Chainage DESC, ID LIMIT 1")
                                        .arg(table()));
    QSqlQuery after = m_db.prepare(
        QStringLiteral("SELECT FC FROM %1 WHERE Chainage > ? ORDER BY Chainage, ID LIMIT 1")
            .arg(table()));
    for (Culvert& c : culverts) {
        before.bindValue(0, c.chainage);
        eachRow(before, [&](const QSqlQuery& r) { c.fcBefore = optionalValue(r, 0); });
        after.bindValue(0, c.chainage);
        eachRow(after, [&](const QSqlQuery& r) { c.fcAfter = optionalValue(r, 0); });
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
