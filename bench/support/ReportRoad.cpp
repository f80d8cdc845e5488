#include "ReportRoad.h"

#include "BenchMain.h"

#include "store/Roads.h"
#include "store/Transaction.h"

#include <QSqlQuery>
#include <map>

namespace tarmela::bench
{

namespace
{

void fill(Database& db, std::int64_t road, std::int64_t sections)
{
    RoadChanges c;
    c.length = sections * 20;
    c.from = QStringLiteral("Ranipur");
    c.to = QStringLiteral("Kalaghat");
    roads::update(db, road, c);
    Transaction tx(db);
    QSqlQuery rl = db.prepare(
        QStringLiteral(
            "INSERT INTO RL_%1 (ID, Chainage, L8, L7, L6, L5, L4, L3, L2, L1, C, R1, R2, R3, R4, "
            "R5, R6, R7, R8, FL2, FL1, FC, FR1, FR2, [Fill Area], [Cut Area]) VALUES (?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(road));
    QSqlQuery lb = db.prepare(
        QStringLiteral(
            "INSERT INTO LB_%1 (ID, Chainage, L1, L2, L3, L4, L5, L6, L7, L8, C, R1, R2, R3, R4, "
            "R5, R6, R7, R8, BS, FS, Remarks) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(road));
    for (std::int64_t i = 0; i < sections; ++i) {
        rl.addBindValue(qlonglong(i + 1));
        rl.addBindValue(double(i) * 20.0);
        lb.addBindValue(qlonglong(i + 1));
        lb.addBindValue(double(i) * 20.0);
        for (int k = 0; k < 17; ++k) {
            rl.addBindValue(1000 + double(i % 97) * 0.013 + k * 0.1);
            lb.addBindValue(1.2 + k * 0.05);
        }
        for (int k = 0; k < 5; ++k)
            rl.addBindValue(1001.5 - k * 0.05);
        rl.addBindValue(12.345 + double(i % 7));
        rl.addBindValue(3.21);
        lb.addBindValue(i % 10 == 0 ? QVariant(1.5) : QVariant());
        lb.addBindValue(i % 10 == 9 ? QVariant(1.4) : QVariant());
        lb.addBindValue(i % 50 == 0 ? QVariant(QStringLiteral("Change point on the culvert head "
                                                              "wall, painted mark, checked twice"))
                                    : QVariant());
        Database::run(rl);
        Database::run(lb);
    }
    tx.commit();
}

} // namespace

BenchRoad& reportRoad(std::int64_t sections)
{
    static std::map<std::int64_t, std::unique_ptr<BenchRoad>> made;
    [[maybe_unused]] static const bool released = atBenchEnd([] { made.clear(); });
    std::unique_ptr<BenchRoad>& r = made[sections];
    if (!r) {
        r = std::make_unique<BenchRoad>();
        r->db = Database::open(r->dir.filePath(QStringLiteral("bench.sqlite")));
        r->road = roads::create(*r->db);
        fill(*r->db, r->road, sections);
    }
    return *r;
}

} // namespace tarmela::bench
