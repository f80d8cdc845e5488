// Writing the two HTML reports of a road of 100,000 sections with every reading shown.
#include "support/ReportRoad.h"

#include "compute/HtmlReports.h"
#include "store/Database.h"

#include <QFileInfo>
#include <benchmark/benchmark.h>

using namespace tarmela;
using namespace tarmela::bench;

namespace
{

constexpr std::int64_t kSections = 100000;

using WriteReport = void (*)(Database&, std::int64_t, int, const QLocale&, const QString&);

void WriteHtml(benchmark::State& state, WriteReport write, const QString& fileName)
{
    BenchRoad& r = reportRoad(kSections);
    const QString path = r.dir.filePath(fileName);
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    for (auto _ : state)
        write(*r.db, r.road, 8, locale, path);
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
}

void EarthworkReport(benchmark::State& s)
{
    WriteHtml(
        s,
        [](Database& db, std::int64_t road, int shown, const QLocale& locale, const QString& path) {
            WriteEarthworkReport(db, road, shown, locale, path);
        },
        QStringLiteral("Earthwork Report.htm"));
}
void LevelBookReport(benchmark::State& s)
{
    WriteHtml(s, WriteLevelBookReport, QStringLiteral("Level Book.htm"));
}
BENCHMARK(EarthworkReport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(LevelBookReport)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
