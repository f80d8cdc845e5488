// The printed reports of a long road with every reading shown: reading the sheet and laying
// out the pages (what the report window does before it shows the first page), and writing
// every page as a PDF (what the batch tool does). Arguments: the number of sections.
#include "drawing/PrintedReports.h"
#include "drawing/ReportPainter.h"
#include "drawing/ReportPdf.h"
#include "store/Database.h"
#include "store/Roads.h"
#include "store/RowReader.h"
#include "store/Transaction.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace tarmela;

namespace {

struct LongRoad {
    QTemporaryDir dir;
    std::unique_ptr<Database> db = Database::open(dir.filePath("bench.sqlite"));
    std::int64_t road = roads::create(*db);

    explicit LongRoad(int sections)
    {
        RoadChanges c;
        c.length = std::int64_t(sections) * 20;
        c.from = QStringLiteral("Ranipur");
        c.to = QStringLiteral("Kalaghat");
        roads::update(*db, road, c);
        Transaction tx(*db);
        QSqlQuery rl = db->prepare(QStringLiteral(
            "INSERT INTO RL_%1 (ID, Chainage, L8, L7, L6, L5, L4, L3, L2, L1, C, R1, R2, R3, R4, "
            "R5, R6, R7, R8, FL2, FL1, FC, FR1, FR2, [Fill Area], [Cut Area]) VALUES (?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                      .arg(road));
        QSqlQuery lb = db->prepare(QStringLiteral(
            "INSERT INTO LB_%1 (ID, Chainage, L1, L2, L3, L4, L5, L6, L7, L8, C, R1, R2, R3, R4, "
            "R5, R6, R7, R8, BS, FS, Remarks) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?)")
                                      .arg(road));
        for (int i = 0; i < sections; ++i) {
            rl.addBindValue(i + 1);
            rl.addBindValue(i * 20.0);
            lb.addBindValue(i + 1);
            lb.addBindValue(i * 20.0);
            for (int k = 0; k < 17; ++k) {
                rl.addBindValue(1000 + (i % 97) * 0.013 + k * 0.1);
                lb.addBindValue(1.2 + k * 0.05);
            }
            for (int k = 0; k < 5; ++k)
                rl.addBindValue(1001.5 - k * 0.05);
            rl.addBindValue(12.345 + i % 7);
            rl.addBindValue(3.21);
            lb.addBindValue(i % 10 == 0 ? QVariant(1.5) : QVariant());
            lb.addBindValue(i % 10 == 9 ? QVariant(1.4) : QVariant());
            // Every fiftieth section has a remark long enough to wrap.
            lb.addBindValue(i % 50 == 0 ? QVariant(QStringLiteral(
                                              "Change point on the culvert head wall, "
                                              "painted mark, checked twice"))
                                        : QVariant());
            Database::run(rl);
            Database::run(lb);
        }
        tx.commit();
    }
};

LongRoad& longRoad(int sections)
{
    static std::map<int, std::unique_ptr<LongRoad>> roads;
    auto& r = roads[sections];
    if (!r)
        r = std::make_unique<LongRoad>(sections);
    return *r;
}

const CharacterWidths& widths()
{
    static const CharacterWidths w = CharacterWidths::load(
        CharacterWidths::pathIn(QCoreApplication::applicationDirPath()));
    return w;
}

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

void Build(benchmark::State& state, ReportKind kind)
{
    LongRoad& r = longRoad(int(state.range(0)));
    std::int64_t pages = 0;
    for (auto _ : state)
        pages = buildReport(kind, *r.db, r.road, 8, kUs, widths())->pageCount();
    state.counters["pages"] = double(pages);
}

void WritePdf(benchmark::State& state, ReportKind kind)
{
    LongRoad& r = longRoad(int(state.range(0)));
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
    LongRoad& r = longRoad(int(state.range(0)));
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
    LongRoad& r = longRoad(int(state.range(0)));
    double sum = 0;
    for (auto _ : state) {
        RowReader rows(*r.db, QStringLiteral("Select * from LB_%1 order by Chainage").arg(r.road));
        while (rows.next())
            for (int c = 0; c < rows.columnCount(); ++c)
                sum += rows.isText(c) ? rows.text(c).size() : rows.number(c);
    }
    benchmark::DoNotOptimize(sum);
}

void BuildLevelBook(benchmark::State& s) { Build(s, ReportKind::LevelBook); }
void BuildEarthworkReport(benchmark::State& s) { Build(s, ReportKind::EarthworkReport); }
void LevelBookPdf(benchmark::State& s) { WritePdf(s, ReportKind::LevelBook); }
void EarthworkReportPdf(benchmark::State& s) { WritePdf(s, ReportKind::EarthworkReport); }
void LevelBookPdfFloor(benchmark::State& s) { PdfFloor(s, ReportKind::LevelBook); }

BENCHMARK(ReadLevelBookFloor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BuildLevelBook)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BuildEarthworkReport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(LevelBookPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(EarthworkReportPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LevelBookPdfFloor)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
