// The formation tool on the longest roads: an Update (a gradient over 50 rows: the writes, the
// recomputation and the kilometre volumes) and its undo next to the full recomputation of
// the same road, for each quantity method; and the redraw of one screen of profile (the
// reads and the painting into an image of a typical plot size).
//
//   tarmela_bench_formation [--benchmark_filter=...]
//
// Figures are taken side by side in one run: compare FormationUpdate and FormationUndo with
// FullRecompute of the same method.
#include "support/BenchMain.h"
#include "support/BenchRoad.h"

#include "compute/EarthworkQuantities.h"
#include "drawing/FormationProfile.h"
#include "formation/FormationDesign.h"
#include "formation/FormationProfileSource.h"
#include "sheets/SampleRoad.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

using namespace tarmela;
using namespace tarmela::bench;

namespace
{

constexpr std::int64_t kSections = 100000; // 2,000 km at 20 m
constexpr int kGradeRows = 50;

BenchRoad& road()
{
    static std::unique_ptr<BenchRoad> r;
    [[maybe_unused]] static const bool released = atBenchEnd([] { r.reset(); });
    if (!r) {
        r = std::make_unique<BenchRoad>();
        r->db = Database::open(r->dir.filePath("bench.sqlite"));
        SampleRoadOptions options;
        options.sections = kSections;
        r->road = createSampleRoad(*r->db, options);
    }
    return *r;
}

EarthworkInputs inputs(int method)
{
    EarthworkInputs in;
    in.road = road().road;
    in.method = method;
    return in;
}

long long totalChanges(Database& db)
{
    return db.scalar("SELECT total_changes()").toLongLong();
}

void BM_FullRecompute(benchmark::State& state)
{
    FormationDesign design(*road().db);
    const EarthworkInputs in = inputs(int(state.range(0)));
    for (auto _ : state) {
        const EarthworkResult r = design.recompute(in);
        if (!r.error.isEmpty()) {
            state.SkipWithError(r.error.toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(r.volumes.totalFill);
    }
}

// The gradient lies in the middle of the road; each iteration writes other levels. What it
// did is kept for its undo, as the formation tool keeps it.
void grade(FormationDesign& design, const EarthworkInputs& in, std::int64_t i, FormationEdit& edit)
{
    const double from = 20.0 * (kSections / 2);
    design.setGrade(in, from, from + 20.0 * kGradeRows, 100 + double(i % 7) / 10, &edit);
}

// The changes must be the incremental ones: a full recomputation writes every row.
bool incremental(Database& db, long long before)
{
    return totalChanges(db) - before < kSections / 10;
}

// An Update (undo false) or its undo (true); the undo is timed alone, each after an Update of
// its own.
void BM_FormationChange(benchmark::State& state, bool undo)
{
    Database& db = *road().db;
    FormationDesign design(db);
    const EarthworkInputs in = inputs(int(state.range(0)));
    design.recompute(in);
    std::int64_t i = 0;
    FormationEdit edit;
    for (auto _ : state) {
        long long before = 0;
        if (undo) {
            state.PauseTiming();
            grade(design, in, ++i, edit);
            before = totalChanges(db);
            state.ResumeTiming();
            design.restore(in, edit, true);
        } else {
            before = totalChanges(db);
            grade(design, in, ++i, edit);
        }
        if (!incremental(db, before)) {
            state.SkipWithError(undo ? "the undo recomputed the whole road"
                                     : "the update recomputed the whole road");
            return;
        }
    }
}

// One screen of profile, 1280 x 600 pixels (1,500 m of road), culverts shown, at changing
// places along the road.
void BM_ProfileRedraw(benchmark::State& state)
{
    FormationProfileSource source(
        *road().db, road().road, 8,
        QDir(QCoreApplication::applicationDirPath()).filePath("Culverts"));
    QImage image(1280, 600, QImage::Format_RGB32);
    const FormationProfileFrame frame{image.width() * kProfileTwipsPerPixel,
                                      image.height() * kProfileTwipsPerPixel};
    std::int64_t start = 40000; // beyond 32,767 m
    std::size_t culverts = 0;
    for (auto _ : state) {
        const FormationProfileSource::Redraw r = source.load(frame, start, std::nullopt, true);
        QPainter p(&image);
        p.scale(1 / kProfileTwipsPerPixel, 1 / kProfileTwipsPerPixel);
        paintFormationProfile(p, r.drawing);
        paintFormationMarker(p, 1200, 3000);
        culverts += r.drawing.culverts.size();
        start += 50 * 7;
    }
    state.counters["culverts"] =
        benchmark::Counter(double(culverts), benchmark::Counter::kAvgIterations);
}

const bool kRegistered = registered([] {
    for (std::int64_t method : {0, 1, 2}) {
        addTimed("FullRecompute", BM_FullRecompute, {"method"}, {method}, 2.0);
        addTimed("FormationUpdate", [](benchmark::State& s) { BM_FormationChange(s, false); },
                 {"method"}, {method});
        addTimed("FormationUndo", [](benchmark::State& s) { BM_FormationChange(s, true); },
                 {"method"}, {method});
    }
    addTimed("ProfileRedraw", BM_ProfileRedraw, {}, {});
});

} // namespace
