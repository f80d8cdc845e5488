#include "store/Culverts.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"

#include <QObject>
#include <QSqlQuery>
#include <QVariant>

namespace tarmela
{

RoadCulverts::RoadCulverts(Database& db, std::int64_t road) : m_db(db), m_road(road) {}

std::vector<CulvertRow> RoadCulverts::between(double from, double to, RangeEnd end)
{
    const bool included = end == RangeEnd::Included;
    std::optional<RowReader>& slot = included ? m_between : m_betweenOpen;
    if (!slot)
        slot.emplace(m_db, QStringLiteral("SELECT Culverts.ID, Culverts.Chainage, EPType, "
                                          "ImageFileExisting, ImageFileProposed FROM Culverts "
                                          "JOIN CulvertTypes ON CTypeRef = CulvertTypes.ID "
                                          "WHERE RoadRef = ? AND Culverts.Chainage >= ? AND "
                                          "Culverts.Chainage ") +
                               (included ? QStringLiteral("<=") : QStringLiteral("<")) +
                               QStringLiteral(" ? ORDER BY Culverts.Chainage, Culverts.ID"));
    RowReader& q = *slot;
    q.bind(0, qint64(m_road)).bind(1, from).bind(2, to);
    std::vector<CulvertRow> found;
    while (q.next())
        found.push_back({q.integer(0), q.numberOrNan(1), q.text(2), q.text(3), q.text(4)});
    return found;
}

namespace culverts
{

std::int64_t countOnRoad(Database& db, std::int64_t road)
{
    RowReader q(db, QStringLiteral("SELECT COUNT(*) FROM Culverts WHERE RoadRef = ?"));
    q.bind(0, qint64(road));
    return q.next() ? q.integer(0) : 0;
}

std::optional<std::int64_t> findType(Database& db, const QString& name,
                                     const QString& existingPicture)
{
    RowReader q(db, QStringLiteral("SELECT ID FROM CulvertTypes WHERE CulvertName = ? AND "
                                   "ImageFileExisting = ? ORDER BY ID"));
    q.bind(0, name).bind(1, existingPicture);
    if (q.next())
        return q.integer(0);
    return std::nullopt;
}

std::int64_t addType(Database& db, const QString& name, const QString& type,
                     const QString& existingPicture, const QString& proposedPicture)
{
    QSqlQuery q = db.prepare(QStringLiteral(
        "INSERT INTO CulvertTypes (CulvertName, Type, ImageFileExisting, ImageFileProposed) "
        "VALUES (?, ?, ?, ?)"));
    for (const QString& v : {name, type, existingPicture, proposedPicture})
        q.addBindValue(v);
    Database::run(q);
    return q.lastInsertId().toLongLong();
}

QString chainageRefusal(Database& db, std::int64_t road, double chainage)
{
    std::optional<double> low, high;
    if (db.tableExists(schema::rlTable(road))) {
        // One statement: both ends of one state of the sheet.
        RowReader q(db, QStringLiteral("SELECT MIN(Chainage), MAX(Chainage) FROM ") +
                            quoteName(schema::rlTable(road)));
        if (q.next()) {
            low = q.optionalNumber(0);
            high = q.optionalNumber(1);
        }
    }
    if (!low || !high || (chainage >= *low && chainage <= *high))
        return {};
    const auto plain = [](double v) { return QString::number(v, 'g', 15); };
    return QObject::tr("The chainage %1 lies outside the road: its sections run from %2 to %3 m")
        .arg(plain(chainage), plain(*low), plain(*high));
}

void add(Database& db, std::int64_t road, std::int64_t typeId, double chainage,
         const QString& epType)
{
    if (const QString why = chainageRefusal(db, road, chainage); !why.isEmpty())
        throw Error(ErrorKind::Usage, why);
    QSqlQuery q = db.prepare(QStringLiteral(
        "INSERT INTO Culverts (RoadRef, CTypeRef, Chainage, EPType) VALUES (?, ?, ?, ?)"));
    q.addBindValue(qint64(road));
    q.addBindValue(qint64(typeId));
    q.addBindValue(chainage);
    q.addBindValue(epType);
    Database::run(q);
}

} // namespace culverts
} // namespace tarmela
