// Opening and saving a long reduced-level sheet: 100,000 sections with every level filled.
#include "sheets/SheetFilter.h"
#include "sheets/SheetRows.h"
#include "store/Database.h"
#include "store/Roads.h"
#include "store/Schema.h"
#include "store/SheetQueries.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tarmela;

namespace
{

constexpr int kSections = 100000;

struct LongRoad {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::int64_t road = 0;
    LongRoad()
    {
        db = Database::open(dir.filePath("Data/Roads Info.sqlite"));
        road = roads::create(*db);
        Transaction tx(*db);
        QSqlQuery q = db->prepare(
            QStringLiteral(
                "INSERT INTO %1 (ID, Chainage, L8, L7, L6, L5, L4, L3, L2, L1, C, R1, "
                "R2, R3, R4, R5, R6, R7, R8, FC, Width, Crust) VALUES (?, ?, ?, ?, ?, ?, "
                "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(schema::rlTable(road)));
        for (int i = 0; i < kSections; ++i) {
            q.addBindValue(i);
            q.addBindValue(i * 20.0);
            for (int k = 0; k < 17; ++k)
                q.addBindValue(100.0 + (i % 97) * 0.013 + k * 0.1);
            q.addBindValue(101.5);
            q.addBindValue(7.5);
            q.addBindValue(0.45);
            Database::run(q);
        }
        tx.commit();
    }
    QString statement() const
    {
        return sheets::reducedLevelStatement(road, sheets::ViewOrder{},
                                             sheets::ReducedLevelGroups{});
    }
};

LongRoad& longRoad()
{
    static LongRoad r;
    return r;
}

void BM_OpenLongReducedLevelSheet(benchmark::State& state)
{
    LongRoad& r = longRoad();
    for (auto _ : state) {
        sheets::SheetRows rows;
        rows.load(*r.db, r.statement());
        const std::vector<int> visible = sheets::SheetFilter{}.apply(rows);
        benchmark::DoNotOptimize(visible.data());
        if (rows.rowCount() != kSections)
            state.SkipWithError("rows missing");
    }
}
BENCHMARK(BM_OpenLongReducedLevelSheet)->Unit(benchmark::kMillisecond);

void BM_FilterLongSheet(benchmark::State& state)
{
    LongRoad& r = longRoad();
    sheets::SheetRows rows;
    rows.load(*r.db, r.statement());
    for (auto _ : state) {
        const auto f = sheets::SheetFilter::parse(
            QStringLiteral("Chainage >= '500000' AND C < '101' OR Crust LIKE '%5%'"), rows);
        benchmark::DoNotOptimize(f.apply(rows).size());
    }
}
BENCHMARK(BM_FilterLongSheet)->Unit(benchmark::kMillisecond);

// A paste of 1,000 rows saved: only those rows are written.
void BM_SaveThousandChangedRows(benchmark::State& state)
{
    LongRoad& r = longRoad();
    sheets::SheetRows rows;
    rows.load(*r.db, r.statement());
    const int c = rows.columnIndex(QStringLiteral("C"));
    int round = 0;
    for (auto _ : state) {
        ++round;
        for (int i = 0; i < 1000; ++i)
            rows.setText(50000 + i, c, QString::number(100 + round * 0.001 + i * 0.01, 'f', 3));
        rows.save(*r.db);
    }
}
BENCHMARK(BM_SaveThousandChangedRows)->Unit(benchmark::kMillisecond);

} // namespace
