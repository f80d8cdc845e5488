// Survey data on a long road: generating sheets, reducing a level book, making the sample road.
#include "compute/LevelBookReduction.h"
#include "sheets/SampleRoad.h"
#include "sheets/SheetGenerator.h"
#include "store/Database.h"
#include "store/Roads.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tarmela;

namespace
{

struct Project {
    QTemporaryDir dir;
    std::unique_ptr<Database> db = Database::open(dir.filePath("bench.sqlite"));
};

void SampleRoad(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Project p;
        state.ResumeTiming();
        SampleRoadOptions o;
        o.sections = state.range(0);
        benchmark::DoNotOptimize(createSampleRoad(*p.db, o));
        state.PauseTiming();
        p.db.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(SampleRoad)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(2);

void ReduceLevelBook(benchmark::State& state)
{
    Project p;
    SampleRoadOptions o;
    o.sections = state.range(0);
    const std::int64_t road = createSampleRoad(*p.db, o);
    for (auto _ : state)
        ConvertLevelBookToRL(*p.db, road, 100.0);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ReduceLevelBook)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

void GenerateSheets(benchmark::State& state)
{
    Project p;
    const std::int64_t road = roads::create(*p.db);
    for (auto _ : state)
        generateSheets(*p.db, road, 0, double(state.range(0) - 1) * 20, 20, true, true);
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(GenerateSheets)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
