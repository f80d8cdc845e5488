// The road-wide recomputation against its floor: one UPDATE statement that writes the same six
// columns (FL1, FL2, FR1, FR2, Fill Area, Cut Area) of every section from simple expressions of
// the row's own columns, in one transaction. Both write other values at every iteration. Both run on the same road in the same run, so
// their ratio holds even on a busy machine.
//
//   tarmela_bench_recompute                          run the benchmarks
//   tarmela_bench_recompute --make-project FILE N    only write a project with one road of N
//                                                    sections (for measuring the batch tool)
#include "support/BenchRoad.h"

#include "compute/EarthworkQuantities.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <iostream>
#include <map>

using namespace tarmela;
using namespace tarmela::bench;

namespace {

// One project per road length, shared by the benchmarks of that length.
BenchRoad& roadOf(std::int64_t n)
{
    static std::map<std::int64_t, std::unique_ptr<BenchRoad>> roads;
    auto& slot = roads[n];
    if (!slot)
        slot = makeBenchRoad(n);
    return *slot;
}

void BM_Recompute(benchmark::State& state)
{
    BenchRoad& r = roadOf(state.range(0));
    EarthworkInputs in;
    in.road = r.road;
    in.method = int(state.range(1));
    bool flip = false;
    for (auto _ : state) {
        // Another camber every time, so that every section's side levels and areas change and
        // are written, as on a road's first recomputation.
        in.formationCamber = flip ? 0.035 : 0.04;
        flip = !flip;
        const EarthworkResult result = UpdateEarthworkQuantities(*r.db, in);
        if (!result.error.isEmpty() || !result.volumesDone) {
            state.SkipWithError(result.error.toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(result.volumes.totalFill);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RecomputeFloor(benchmark::State& state)
{
    BenchRoad& r = roadOf(state.range(0));
    bool flip = false;
    for (auto _ : state) {
        // Other values every time, as for the recomputation: SQLite skips a row whose new
        // content is the one it holds, and that would be no floor.
        const QString shift = flip ? QStringLiteral("0.1") : QStringLiteral("0.2");
        flip = !flip;
        const QByteArray update =
            ("UPDATE " + schema::rlTable(r.road) + " SET FL1 = FC - " + shift +
             ", FL2 = FC - 2 * " + shift + ", FR1 = FC - " + shift + ", FR2 = FC - 2 * " +
             shift + ", [Fill Area] = max(FC - C + " + shift + ", 0) * Width, [Cut Area] = "
             "max(C - FC - " + shift + ", 0) * Width")
                .toUtf8();
        execOrDie(r.db->handle(), update.constData());
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
            std::cout << addBenchRoad(*db, std::stoll(argv[3])) << "\n";
            return 0;
        } catch (const std::exception& e) {
            std::cerr << e.what() << "\n";
            return 2;
        }
    }
    // Each length: the floor first, then the methods, so that they run side by side.
    for (std::int64_t n : {10'000, 100'000, 1'000'000}) {
        benchmark::RegisterBenchmark("RecomputeFloor", BM_RecomputeFloor)
            ->ArgNames({"sections"})
            ->Args({n})
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
        for (int method : {1, 2})
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
