#include "store/Roads.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/RowReader.h"
#include "store/Schema.h"
#include "store/Transaction.h"
#include "store/ValueRanges.h"
#include "store/VerticalAlignments.h"

#include <QSqlQuery>

namespace tarmela::roads
{

using statements::Sheet;

namespace
{

Road readRoad(const RowReader& q)
{
    Road r;
    r.id = q.integer(0);
    r.from = q.text(1);
    r.to = q.text(2);
    r.length = q.integer(3);
    r.interval = int(q.integer(4));
    r.formationCamber = q.number(5);
    r.carriageCamber = q.number(6);
    for (int i = 0; i < 4; ++i)
        r.fields[i] = q.text(7 + i);
    r.benchmark = q.optionalNumber(11);
    r.cutFactor = q.optionalNumber(12).value_or(1);
    r.closingBenchmark = q.optionalNumber(13);
    r.closingDistributed = q.optionalNumber(14).value_or(0) != 0;
    return r;
}

const char* kSelectRoad = "SELECT ID, [From], [To], Length, Interval, [Formation Camber], "
                          "[Carriage Camber], Field1, Field2, Field3, Field4, Benchmark, "
                          "[Cut Factor], [Closing Benchmark], [Closing Distributed] FROM Roads";

void check(const ValueRange& range, double value, const char* what)
{
    requireInRange(range, value, QString::fromLatin1(what));
}

void checkValues(const RoadChanges& v)
{
    if (v.interval)
        check(ranges::kInterval, *v.interval, "interval");
    if (v.length)
        check(ranges::kLength, double(*v.length), "length");
    if (v.formationCamber)
        check(ranges::kCamber, *v.formationCamber, "formation camber");
    if (v.carriageCamber)
        check(ranges::kCamber, *v.carriageCamber, "carriage camber");
    if (v.cutFactor)
        check(ranges::kCutFactor, *v.cutFactor, "cut factor");
}

void assign(QStringList& names, QVariantList& values, const RoadChanges& v)
{
    auto put = [&](const char* name, const QVariant& value) {
        names << QString::fromLatin1(name);
        values << value;
    };
    if (v.from)
        put("From", *v.from);
    if (v.to)
        put("To", *v.to);
    if (v.length)
        put("Length", qint64(*v.length));
    if (v.interval)
        put("Interval", *v.interval);
    if (v.formationCamber)
        put("Formation Camber", *v.formationCamber);
    if (v.carriageCamber)
        put("Carriage Camber", *v.carriageCamber);
    if (v.cutFactor)
        put("Cut Factor", *v.cutFactor);
    for (int i = 0; i < 4; ++i)
        if (v.fields[i])
            names << QStringLiteral("Field%1").arg(i + 1), values << *v.fields[i];
}

} // namespace

QVector<Road> list(Database& db)
{
    QVector<Road> out;
    RowReader q(db, QString::fromLatin1(kSelectRoad) + " ORDER BY ID");
    while (q.next())
        out << readRoad(q);
    return out;
}

void setBenchmark(Database& db, std::int64_t id, double benchmark,
                  std::optional<double> closingBenchmark, bool distributed)
{
    QSqlQuery q = db.prepare(QStringLiteral("UPDATE Roads SET Benchmark = ?, [Closing Benchmark] = "
                                            "?, [Closing Distributed] = ? WHERE ID = ?"));
    q.addBindValue(benchmark);
    q.addBindValue(closingBenchmark ? QVariant(*closingBenchmark)
                                    : QVariant(QMetaType(QMetaType::Double)));
    q.addBindValue(closingBenchmark && distributed ? 1 : 0);
    q.addBindValue(qint64(id));
    Database::run(q);
}

bool exists(Database& db, std::int64_t id)
{
    return !db.scalar("SELECT ID FROM Roads WHERE ID=" + QString::number(id)).isNull();
}

QString name(Database& db, std::int64_t id)
{
    RowReader q(db, QStringLiteral("SELECT [From], [To] FROM Roads WHERE ID = ?"));
    q.bind(0, qint64(id));
    if (!q.next())
        return {};
    return q.text(0) + QStringLiteral(" To ") + q.text(1);
}

QVariant storedLength(Database& db, std::int64_t id)
{
    RowReader q(db, QStringLiteral("SELECT Length FROM Roads WHERE ID = ?"));
    q.bind(0, qint64(id));
    if (!q.next())
        throw Error(ErrorKind::Data, QStringLiteral("There is no road with ID %1").arg(id));
    return q.value(0);
}

Road get(Database& db, std::int64_t id)
{
    RowReader q(db, QString::fromLatin1(kSelectRoad) + " WHERE ID=" + QString::number(id));
    if (!q.next())
        throw Error(ErrorKind::Data, QStringLiteral("There is no road with ID %1").arg(id));
    return readRoad(q);
}

std::int64_t create(Database& db, const RoadChanges& values)
{
    checkValues(values);
    QStringList names{QStringLiteral("Length")};
    QVariantList vals{qint64(1)};
    RoadChanges rest = values;
    if (rest.length) {
        vals[0] = qint64(*rest.length);
        rest.length.reset();
    }
    assign(names, vals, rest);

    Transaction tx(db);
    QStringList quoted, marks;
    for (const QString& n : names)
        quoted << quoteName(n), marks << QStringLiteral("?");
    QSqlQuery q = db.prepare(QStringLiteral("INSERT INTO Roads (%1) VALUES (%2)")
                                 .arg(quoted.join(", "), marks.join(", ")));
    for (const QVariant& v : vals)
        q.addBindValue(v);
    Database::run(q);
    const std::int64_t id = q.lastInsertId().toLongLong();
    db.execute(statements::makeReducedLevelTable(id));
    db.execute(statements::makeLevelBookTable(id));
    db.execute(statements::makeCrossDistanceRow(id));
    tx.commit();
    return id;
}

void update(Database& db, std::int64_t id, const RoadChanges& values)
{
    checkValues(values);
    // The write lock before the road is looked for: it cannot be deleted in between.
    Transaction tx(db);
    if (!exists(db, id))
        throw Error(ErrorKind::Data, QStringLiteral("There is no road with ID %1").arg(id));
    QStringList names;
    QVariantList vals;
    assign(names, vals, values);
    if (names.isEmpty())
        return;
    QStringList sets;
    for (const QString& n : names)
        sets << quoteName(n) + " = ?";
    QSqlQuery q =
        db.prepare(QStringLiteral("UPDATE Roads SET %1 WHERE ID = ?").arg(sets.join(", ")));
    for (const QVariant& v : vals)
        q.addBindValue(v);
    q.addBindValue(qint64(id));
    Database::run(q);
    tx.commit();
}

void remove(Database& db, std::int64_t id)
{
    Transaction tx(db);
    db.exec("DELETE FROM Roads WHERE ID=" + QString::number(id));
    for (Sheet s : {Sheet::ReducedLevel, Sheet::LevelBook})
        if (db.tableExists(statements::sheetTable(s, id)))
            db.execute(statements::dropTable(s, id));
    db.execute(statements::deleteCrossDistances(id));
    db.execute(statements::deleteCulvertsOfRoad(id));
    alignments::write(db, id, {});
    tx.commit();
}

std::int64_t appendSection(Database& db, Sheet sheet, std::int64_t road, int interval)
{
    Transaction tx(db);
    double chainage = 0;
    const QVariant maxCh = db.scalar(statements::maxChainage(sheet, road));
    if (!maxCh.isNull())
        chainage = double(nearestEven(maxCh.toDouble() + interval));
    std::int64_t id = 0;
    const QVariant maxId = db.scalar(statements::maxId(sheet, road));
    if (!maxId.isNull())
        id = maxId.toLongLong() + 1;
    db.execute(statements::addSectionRow(sheet, road, id, chainage));
    tx.commit();
    return id;
}

CrossDistances crossDistances(Database& db, std::int64_t road)
{
    CrossDistances d;
    RowReader q(db, statements::selectCrossDistances(road));
    if (!q.next())
        return d;
    for (int i = 0; i < kReadingsPerSide; ++i) {
        d.left[i] = q.number(q.columnIndex(QStringLiteral("L%1").arg(i + 1)));
        d.right[i] = q.number(q.columnIndex(QStringLiteral("R%1").arg(i + 1)));
    }
    return d;
}

void setCrossDistances(Database& db, std::int64_t road, const CrossDistances& d)
{
    for (const auto* side : {&d.left, &d.right})
        for (double v : *side)
            check(ranges::kCrossDistance, v, "cross distance");
    // The write lock first: a road deleted meanwhile gets no orphan row.
    Transaction tx(db);
    if (!exists(db, road))
        throw Error(ErrorKind::Data, QStringLiteral("There is no road with ID %1").arg(road));
    if (db.scalar(statements::selectCrossDistances(road)).isNull())
        db.execute(statements::makeCrossDistanceRow(road));
    QStringList sets;
    for (const QString& side : {QStringLiteral("L"), QStringLiteral("R")})
        for (int i = 1; i <= kReadingsPerSide; ++i)
            sets << quoteName(side + QString::number(i)) + QStringLiteral(" = ?");
    QSqlQuery q = db.prepare("UPDATE ChDistance SET " + sets.join(", ") + " WHERE RoadRef = ?");
    for (double v : d.left)
        q.addBindValue(v);
    for (double v : d.right)
        q.addBindValue(v);
    q.addBindValue(qint64(road));
    Database::run(q);
    tx.commit();
}

void removeCulvertTypes(Database& db, const QVector<std::int64_t>& typeIds)
{
    Transaction tx(db);
    for (std::int64_t id : typeIds)
        db.exec("DELETE FROM CulvertTypes WHERE ID=" + QString::number(id));
    db.execute(statements::deleteCulvertsWithoutType());
    tx.commit();
}

void removeCulverts(Database& db, const QVector<std::int64_t>& culvertIds)
{
    Transaction tx(db);
    for (std::int64_t id : culvertIds)
        db.execute(statements::deleteCulvert(id));
    tx.commit();
}

} // namespace tarmela::roads
