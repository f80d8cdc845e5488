// The road-wide recomputation against its floor: one UPDATE statement that writes the same six
// columns (FL1, FL2, FR1, FR2, Fill Area, Cut Area) of every section from simple expressions of
// the row's own columns, in one transaction. Both write other values at every iteration. Both run
// on the same road in the same run, so their ratio holds even on a busy machine.
//
//   tarmela_bench_recompute                          run the benchmarks
//   tarmela_bench_recompute --make-project FILE N    only write a project with one road of N
//                                                    sections (for measuring the batch tool)
#include "support/BenchMain.h"
#include "support/BenchRoad.h"

#include "compute/EarthworkQuantities.h"
#include "store/Schema.h"

#include <benchmark/benchmark.h>
#include <iostream>
#include <string>

using namespace tarmela;
using namespace tarmela::bench;

namespace
{

// One project per road length, shared by the benchmarks of that length.
BenchRoad& roadOf(std::int64_t n)
{
    return sharedBenchRoad(n);
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
             ", FL2 = FC - 2 * " + shift + ", FR1 = FC - " + shift + ", FR2 = FC - 2 * " + shift +
             ", [Fill Area] = max(FC - C + " + shift +
             ", 0) * Width, [Cut Area] = "
             "max(C - FC - " +
             shift + ", 0) * Width")
                .toUtf8();
        execOrDie(r.db->handle(), update.constData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Writes a project with one road of N sections and prints the road's ID.
int makeProject(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: " << argv[0] << " --make-project FILE N\n";
        return 1;
    }
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
const bool kRegistered = registered([] {
    setOwnCommand("--make-project", makeProject);
    for (std::int64_t n : {10'000, 100'000, 1'000'000}) {
        addTimed("RecomputeFloor", BM_RecomputeFloor, {"sections"}, {n});
        for (std::int64_t method : {1, 2})
            addTimed("Recompute", BM_Recompute, {"sections", "method"}, {n, method});
    }
});

} // namespace
