// Writing the two HTML reports of a road of 100,000 sections with every reading shown.
#include "compute/HtmlReports.h"
#include "store/Database.h"
#include "store/Roads.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tarmela;

namespace {

constexpr int kSections = 100000;

struct LongRoad {
    QTemporaryDir dir;
    std::unique_ptr<Database> db = Database::open(dir.filePath("bench.sqlite"));
    std::int64_t road = roads::create(*db);

    LongRoad()
    {
        RoadChanges c;
        c.length = std::int64_t(kSections) * 20;
        roads::update(*db, road, c);
        Transaction tx(*db);
        QSqlQuery rl = db->prepare(QStringLiteral(
            "INSERT INTO RL_%1 (ID, Chainage, L8, L7, L6, L5, L4, L3, L2, L1, C, R1, R2, R3, R4, "
            "R5, R6, R7, R8, FC, [Fill Area], [Cut Area]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                      .arg(road));
        QSqlQuery lb = db->prepare(QStringLiteral(
            "INSERT INTO LB_%1 (ID, Chainage, L1, L2, L3, L4, L5, L6, L7, L8, C, R1, R2, R3, R4, "
            "R5, R6, R7, R8, BS, FS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?)")
                                      .arg(road));
        for (int i = 0; i < kSections; ++i) {
            rl.addBindValue(i + 1);
            rl.addBindValue(i * 20.0);
            lb.addBindValue(i + 1);
            lb.addBindValue(i * 20.0);
            for (int k = 0; k < 17; ++k) {
                rl.addBindValue(1000 + (i % 97) * 0.013 + k * 0.1);
                lb.addBindValue(1.2 + k * 0.05);
            }
            rl.addBindValue(1001.5);
            rl.addBindValue(12.345 + i % 7);
            rl.addBindValue(3.21);
            lb.addBindValue(i % 10 == 0 ? QVariant(1.5) : QVariant());
            lb.addBindValue(i % 10 == 9 ? QVariant(1.4) : QVariant());
            Database::run(rl);
            Database::run(lb);
        }
        tx.commit();
    }
};

LongRoad& longRoad()
{
    static LongRoad r;
    return r;
}

void EarthworkReport(benchmark::State& state)
{
    LongRoad& r = longRoad();
    const QString path = r.dir.filePath("Earthwork Report.htm");
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    for (auto _ : state)
        WriteEarthworkReport(*r.db, r.road, 8, locale, path);
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
}
BENCHMARK(EarthworkReport)->Unit(benchmark::kMillisecond)->Iterations(3);

void LevelBookReport(benchmark::State& state)
{
    LongRoad& r = longRoad();
    const QString path = r.dir.filePath("Level Book.htm");
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    for (auto _ : state)
        WriteLevelBookReport(*r.db, r.road, 8, locale, path);
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
}
BENCHMARK(LevelBookReport)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
