// The section views' pages: reading and painting one page of the longitudinal and of the cross
// sections at 100 %, on a road of 1,000 and of 100,000 sections (a page should cost the same on
// both), and writing both PDFs of a 10,000-section road.
//
//   build/bin/tarmela_bench_views [--benchmark_repetitions=5]
// TARMELA_BENCH_DIR chooses the folder (default: the system's temporary folder).
#include "support/BenchMain.h"
#include "support/BenchRoad.h"

#include "drawing/PagePdf.h"
#include "drawing/SectionSources.h"
#include "sheets/SampleRoad.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace tarmela;
using namespace tarmela::bench;

namespace
{

struct Road {
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Database> db;
    std::int64_t id = 0;
};

// The sample road (levels, formation, culverts) with n sections, built once.
Road& road(std::int64_t sections)
{
    static std::map<std::int64_t, Road> roads;
    [[maybe_unused]] static const bool released = atBenchEnd([] { roads.clear(); });
    Road& r = roads[sections];
    if (!r.db) {
        r.dir = benchFolder();
        r.db = Database::open(r.dir->filePath("Roads Info.sqlite"));
        SampleRoadOptions o;
        o.sections = sections;
        r.id = createSampleRoad(*r.db, o);
    }
    return r;
}

// One longitudinal page from the middle of the road, read and painted as the screen shows it.
void BM_LongSectionPage(benchmark::State& state)
{
    Road& r = road(state.range(0));
    LongSectionOptions o;
    LongSectionSource source(*r.db, r.id, o);
    const LongSectionLayout l = LongSectionLayout::at(1.0, 20);
    QImage image(l.pageWidth / 15, l.pageHeight / 15, QImage::Format_RGB32);
    const std::int64_t page = source.paging().pageCount / 2;
    for (auto _ : state) {
        const LongSectionPage p = source.page(page);
        QPainter painter(&image);
        mapTwipsToScreen(painter);
        paintLongSectionPage(painter, l, p, LongSectionStyle{});
    }
}
BENCHMARK(BM_LongSectionPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CrossSectionPage(benchmark::State& state)
{
    Road& r = road(state.range(0));
    CrossSectionSource source(*r.db, r.id, 6);
    const CrossSectionLayout l = CrossSectionLayout::at(1.0, Paper::A4, PageMargins{});
    QImage image(l.PageWidth / 15, l.PageHeight / 15, QImage::Format_RGB32);
    const std::int64_t page = source.pageCount() / 2;
    for (auto _ : state) {
        const CrossSectionPage p = source.page(page, crossSectionSlot(l, 6), QLocale::c());
        QPainter painter(&image);
        mapTwipsToScreen(painter);
        paintCrossSectionPage(painter, l, p, CrossSectionStyle{});
    }
}
BENCHMARK(BM_CrossSectionPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The floor: clearing the page picture, which every page does first.
void BM_ClearPagePicture(benchmark::State& state)
{
    const LongSectionLayout l = LongSectionLayout::at(1.0, 20);
    QImage image(l.pageWidth / 15, l.pageHeight / 15, QImage::Format_RGB32);
    for (auto _ : state)
        image.fill(Qt::white);
}
BENCHMARK(BM_ClearPagePicture)->Unit(benchmark::kMillisecond);

void BM_LongSectionPdf(benchmark::State& state)
{
    Road& r = road(state.range(0));
    LongSectionOptions o;
    const QString target = r.dir->filePath("LSection.pdf");
    for (auto _ : state)
        writeLongSectionPdf(*r.db, r.id, o, LongSectionStyle{}, Paper::A3, target);
    state.counters["bytes"] = double(QFileInfo(target).size());
}
BENCHMARK(BM_LongSectionPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CrossSectionPdf(benchmark::State& state)
{
    Road& r = road(state.range(0));
    const QString target = r.dir->filePath("XSection.pdf");
    for (auto _ : state)
        writeCrossSectionPdf(*r.db, r.id, 6, Paper::A4, PageMargins{}, CrossSectionStyle{}, target);
    state.counters["bytes"] = double(QFileInfo(target).size());
}
BENCHMARK(BM_CrossSectionPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
