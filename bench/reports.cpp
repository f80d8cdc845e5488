// The printed reports of a long road with every reading shown: reading the sheet and laying
// out the pages (what the report window does before it shows the first page), and writing
// every page as a PDF (what the batch tool does). Arguments: the number of sections.
#include "support/ReportRoad.h"

#include "drawing/PrintedReports.h"
#include "drawing/ReportPainter.h"
#include "drawing/ReportPdf.h"
#include "store/Database.h"
#include "store/RowReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

using namespace tarmela;
using namespace tarmela::bench;

namespace
{

const CharacterWidths& widths()
{
    static const CharacterWidths w =
        CharacterWidths::load(CharacterWidths::pathIn(QCoreApplication::applicationDirPath()));
    return w;
}

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

void Build(benchmark::State& state, ReportKind kind)
{
    BenchRoad& r = reportRoad(state.range(0));
    std::int64_t pages = 0;
    for (auto _ : state)
        pages = buildReport(kind, *r.db, r.road, 8, kUs, widths())->pageCount();
    state.counters["pages"] = double(pages);
}

void WritePdf(benchmark::State& state, ReportKind kind)
{
    BenchRoad& r = reportRoad(state.range(0));
    const QString path = r.dir.filePath(reportTitle(kind) + QStringLiteral(".pdf"));
    std::int64_t pages = 0;
    for (auto _ : state) {
        const auto doc = buildReport(kind, *r.db, r.road, 8, kUs, widths());
        writeReportPdf(*doc, reportTitle(kind), path);
        pages = doc->pageCount();
    }
    state.counters["pages"] = double(pages);
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
}

// The floor under the PDF figures: the same number of pages, each a copy of one page made
// beforehand, so only the PDF writer's own work is measured.
void PdfFloor(benchmark::State& state, ReportKind kind)
{
    BenchRoad& r = reportRoad(state.range(0));
    const auto doc = buildReport(kind, *r.db, r.road, 8, kUs, widths());
    const ReportPage page = doc->page(1);
    for (auto _ : state) {
        QFile out(r.dir.filePath(QStringLiteral("floor.pdf")));
        out.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&out);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}));
        QPainter painter(&pdf);
        painter.setTransform(pageToDevice(pdf));
        for (std::int64_t i = 0; i < doc->pageCount(); ++i) {
            if (i > 0)
                pdf.newPage();
            paintReportPage(painter, page);
        }
    }
    state.counters["pages"] = double(doc->pageCount());
}

// The floor under the build figures: reading the level book's rows and every value in them,
// which any report of it must do.
void ReadLevelBookFloor(benchmark::State& state)
{
    BenchRoad& r = reportRoad(state.range(0));
    double sum = 0;
    for (auto _ : state) {
        RowReader rows(*r.db, QStringLiteral("Select * from LB_%1 order by Chainage").arg(r.road));
        while (rows.next())
            for (int c = 0; c < rows.columnCount(); ++c)
                sum += rows.isText(c) ? rows.text(c).size() : rows.number(c);
    }
    benchmark::DoNotOptimize(sum);
}

void BuildLevelBook(benchmark::State& s)
{
    Build(s, ReportKind::LevelBook);
}
void BuildEarthworkReport(benchmark::State& s)
{
    Build(s, ReportKind::EarthworkReport);
}
void LevelBookPdf(benchmark::State& s)
{
    WritePdf(s, ReportKind::LevelBook);
}
void EarthworkReportPdf(benchmark::State& s)
{
    WritePdf(s, ReportKind::EarthworkReport);
}
void LevelBookPdfFloor(benchmark::State& s)
{
    PdfFloor(s, ReportKind::LevelBook);
}

BENCHMARK(ReadLevelBookFloor)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BuildLevelBook)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BuildEarthworkReport)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(LevelBookPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(EarthworkReportPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LevelBookPdfFloor)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
