// The road-wide recomputation against its floor: a bare pass that reads the same RL columns
// with one query and writes the same six columns per row with one prepared UPDATE in one
// transaction, without computing anything.
//
//   tarmela_bench_recompute                          run the benchmarks
//   tarmela_bench_recompute --make-project FILE N    only write a project with one road of N
//                                                    sections (for measuring the batch tool)
#include "compute/EarthworkQuantities.h"
#include "store/Database.h"
#include "store/Roads.h"
#include "store/RowReader.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

using namespace tarmela;

namespace {

// A road of n sections 20 m apart over rolling ground, the formation sometimes above it and
// sometimes below, every reading present, widths, crust and slopes given (as after the first
// recomputation of a road).
std::int64_t makeRoad(Database& db, std::int64_t n)
{
    Transaction tx(db);
    const std::int64_t road = roads::create(db);
    CrossDistances d;
    d.left.fill(1.5);
    d.right.fill(1.75);
    roads::setCrossDistances(db, road, d);

    QStringList cols{"ID",          "Chainage", "C",     "FC",           "TopWidth",
                     "BottomWidth", "Width",    "Crust", "[Left Slope]", "[Right Slope]"};
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(i) << QStringLiteral("R%1").arg(i);
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery q = db.prepare("INSERT INTO " + schema::rlTable(road) + " (" + cols.join(", ") +
                             ") VALUES (" + marks.join(", ") + ")");
    for (std::int64_t row = 0; row < n; ++row) {
        const double t = double(row);
        const double ground = 100 + 3 * std::sin(t / 37) + 0.5 * std::sin(t / 5);
        int k = 0;
        q.bindValue(k++, qlonglong(row + 1));
        q.bindValue(k++, 20.0 * t);
        q.bindValue(k++, ground);
        q.bindValue(k++, 100 + 2 * std::sin(t / 53));
        q.bindValue(k++, 7.0);
        q.bindValue(k++, 9.0);
        q.bindValue(k++, 7.5);
        q.bindValue(k++, 0.25);
        q.bindValue(k++, 2.0);
        q.bindValue(k++, 2.0);
        for (int i = 1; i <= kReadingsPerSide; ++i) {
            q.bindValue(k++, ground + 0.05 * i);
            q.bindValue(k++, ground - 0.04 * i);
        }
        Database::run(q);
    }
    tx.commit();
    return road;
}

struct BenchRoad {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::int64_t road = 0;
};

// One project per road length, shared by the benchmarks of that length.
BenchRoad& roadOf(std::int64_t n)
{
    static std::map<std::int64_t, std::unique_ptr<BenchRoad>> roads;
    auto& slot = roads[n];
    if (!slot) {
        slot = std::make_unique<BenchRoad>();
        slot->db = Database::open(slot->dir.filePath("bench.sqlite"));
        slot->road = makeRoad(*slot->db, n);
    }
    return *slot;
}

void BM_Recompute(benchmark::State& state)
{
    BenchRoad& r = roadOf(state.range(0));
    EarthworkInputs in;
    in.road = r.road;
    in.method = int(state.range(1));
    for (auto _ : state) {
        const EarthworkResult result = UpdateEarthworkQuantities(*r.db, in);
        if (!result.error.isEmpty() || !result.volumesDone) {
            state.SkipWithError(result.error.toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(result.volumes.totalFill);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same reading and writing with no computation in between.
void BM_Floor(benchmark::State& state)
{
    BenchRoad& r = roadOf(state.range(0));
    Database& db = *r.db;
    const QString table = schema::rlTable(r.road);
    QStringList cols{"ID", "Chainage"};
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(i);
    cols << "C";
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("R%1").arg(i);
    cols << "FL2"
         << "FL1"
         << "FC"
         << "FR1"
         << "FR2"
         << "Width"
         << "TopWidth"
         << "BottomWidth"
         << "Crust"
         << "[Left Slope]"
         << "[Right Slope]";
    const QString select =
        "SELECT " + cols.join(", ") + " FROM " + table + " ORDER BY Chainage, ID";
    struct Row {
        qlonglong id;
        double values[6];
    };
    for (auto _ : state) {
        std::vector<Row> rows;
        {
            RowReader q(db, select);
            const int n = int(cols.size());
            while (q.next()) {
                Row row{qlonglong(q.integer(0)), {}};
                double sum = 0;
                for (int c = 1; c < n; ++c)
                    if (!q.isNull(c))
                        sum += q.number(c);
                for (double& v : row.values)
                    v = sum;
                rows.push_back(row);
            }
        }
        Transaction tx(db);
        QSqlQuery up = db.prepare("UPDATE " + table +
                                  " SET FL1 = ?, FL2 = ?, FR1 = ?, FR2 = ?, [Fill Area] = ?, "
                                  "[Cut Area] = ? WHERE ID = ?");
        for (const Row& row : rows) {
            for (int c = 0; c < 6; ++c)
                up.bindValue(c, row.values[c]);
            up.bindValue(6, row.id);
            Database::run(up);
        }
        tx.commit();
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--make-project") {
        try {
            auto db = Database::open(QString::fromLocal8Bit(argv[2]));
            std::cout << makeRoad(*db, std::stoll(argv[3])) << "\n";
            return 0;
        } catch (const std::exception& e) {
            std::cerr << e.what() << "\n";
            return 2;
        }
    }
    // Each length: the floor first, then the three methods, so that they run side by side.
    for (std::int64_t n : {1000, 10000, 100000}) {
        benchmark::RegisterBenchmark("Floor", BM_Floor)
            ->ArgNames({"sections"})
            ->Args({n})
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
        for (int method : {0, 1, 2})
            benchmark::RegisterBenchmark("Recompute", BM_Recompute)
                ->ArgNames({"sections", "method"})
                ->Args({n, method})
                ->Unit(benchmark::kMillisecond)
                ->MinTime(1.0);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
