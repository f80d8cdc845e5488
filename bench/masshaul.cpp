// The mass haul against recompute's volume pass on the same road in the same run: both read
// every section's stored areas in chainage order (Chainage, then ID); the volume pass keeps
// them and sums them per kilometre (by either formula), the mass haul walks them once into its
// ordinates, balance points and stretches, keeping only the stretches. The diagram's reading
// (the table kept for its pages) is measured beside them.
//
//   tarmela_bench_masshaul --benchmark_filter=1000000
//
// Peak memory is the batch tool's, measured on a project of the same road written by
// `tarmela_bench_recompute --make-project FILE N`:
//   /usr/bin/time -v tarmela-cli --project FILE masshaul 1
#include "support/BenchMain.h"
#include "support/BenchRoad.h"

#include "compute/EarthworkQuantities.h"
#include "compute/MassHaul.h"
#include "drawing/MassHaulDiagram.h"
#include "store/RlRowStore.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace tarmela;
using namespace tarmela::bench;

namespace
{

BenchRoad& roadOf(std::int64_t n)
{
    return sharedBenchRoad(n, [](BenchRoad& r) {
        // The areas as a recomputation leaves them: fill here, cut there, ordinates that cross.
        EarthworkInputs in;
        in.road = r.road;
        in.method = 1;
        if (!UpdateEarthworkQuantities(*r.db, in).volumesDone)
            std::abort();
    });
}

// What recompute does with the areas once it has them: the sections in order, then the
// kilometre sums.
void BM_VolumePass(benchmark::State& state)
{
    BenchRoad& r = roadOf(state.range(0));
    for (auto _ : state) {
        std::vector<SectionAreas> sections;
        RlRowStore store(*r.db, r.road);
        RlRowReader rows = store.summaries();
        RlRow row;
        while (rows.next(row))
            sections.push_back({row.chainage, valueOr(row.fillArea, 0), valueOr(row.cutArea, 0)});
        const VolumeSummary v = roadVolumes(sections, VolumeFormula(state.range(1)));
        benchmark::DoNotOptimize(v.totalFill);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_MassHaul(benchmark::State& state)
{
    BenchRoad& r = roadOf(state.range(0));
    for (auto _ : state) {
        const MassHaul m = massHaulOf(*r.db, r.road, 1.0);
        benchmark::DoNotOptimize(m.endOrdinate);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_MassHaulDiagramRead(benchmark::State& state)
{
    BenchRoad& r = roadOf(state.range(0));
    for (auto _ : state) {
        const MassHaulRoad m = readMassHaulRoad(*r.db, r.road);
        benchmark::DoNotOptimize(m.sections.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

const bool kRegistered = registered([] {
    for (std::int64_t n : {100'000, 1'000'000}) {
        for (std::int64_t formula : {0, 1})
            addTimed("VolumePass", BM_VolumePass, {"sections", "formula"}, {n, formula});
        addTimed("MassHaul", BM_MassHaul, {"sections"}, {n});
        addTimed("MassHaulDiagramRead", BM_MassHaulDiagramRead, {"sections"}, {n});
    }
});

} // namespace
