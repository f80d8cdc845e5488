#include "store/VerticalAlignments.h"

#include "store/Database.h"
#include "store/RowReader.h"
#include "store/RowWriter.h"

namespace tarmela::alignments
{

void createTable(Database& db)
{
    db.exec(QStringLiteral("CREATE TABLE VerticalAlignment (ID INTEGER PRIMARY KEY, "
                           "RoadRef INTEGER NOT NULL, Chainage REAL NOT NULL, "
                           "Level REAL NOT NULL, CurveLength REAL NOT NULL DEFAULT 0)"));
    db.exec(QStringLiteral("CREATE INDEX VerticalAlignmentRoad ON VerticalAlignment "
                           "(RoadRef, Chainage)"));
}

std::vector<Pvi> read(Database& db, std::int64_t road)
{
    RowReader q(db, QStringLiteral("SELECT Chainage, Level, CurveLength FROM VerticalAlignment "
                                   "WHERE RoadRef = ? ORDER BY Chainage, ID"));
    q.bind(0, qlonglong(road));
    std::vector<Pvi> pvis;
    while (q.next())
        pvis.push_back({q.number(0), q.number(1), q.number(2)});
    return pvis;
}

void write(Database& db, std::int64_t road, const std::vector<Pvi>& pvis)
{
    RowWriter remove(db, QStringLiteral("DELETE FROM VerticalAlignment WHERE RoadRef = ?"));
    remove.bindInteger(0, road);
    remove.run();
    RowWriter insert(db, QStringLiteral("INSERT INTO VerticalAlignment "
                                        "(RoadRef, Chainage, Level, CurveLength) "
                                        "VALUES (?, ?, ?, ?)"));
    for (const Pvi& p : pvis) {
        insert.bindInteger(0, road);
        insert.bindNumber(1, p.chainage);
        insert.bindNumber(2, p.level);
        insert.bindNumber(3, p.length);
        insert.run();
    }
}

} // namespace tarmela::alignments
