// A sheet's CSV import and export against their floors, in the same run:
//   import: SQLite alone inserting the same rows, already parsed, through one prepared
//           statement in one transaction into an empty sheet of the same columns;
//   export: SQLite alone reading the same rows in the same order and writing each value's own
//           text, comma separated, to a file.
#include "support/BenchMain.h"
#include "support/BenchRoad.h"

#include "sheets/SheetCsv.h"
#include "store/Roads.h"
#include "store/Schema.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sqlite3.h>
#include <vector>

using namespace tarmela;
using namespace tarmela::bench;

namespace
{

using statements::Sheet;

// A road of n sections exported to a file, its rows parsed once more for the floor, and an
// empty road that the imports fill.
struct CsvRoad {
    std::unique_ptr<BenchRoad> road;
    std::int64_t target = 0;
    QString file;
    int columns = 0;
    std::vector<double> values; // row after row; NaN where the file has an empty field
};

CsvRoad& csvRoadOf(std::int64_t n)
{
    static std::map<std::int64_t, std::unique_ptr<CsvRoad>> all;
    [[maybe_unused]] static const bool released = atBenchEnd([] { all.clear(); });
    auto& slot = all[n];
    if (slot)
        return *slot;
    slot = std::make_unique<CsvRoad>();
    CsvRoad& r = *slot;
    r.road = makeBenchRoad(n);
    r.target = roads::create(*r.road->db);
    r.file = r.road->dir.filePath(QStringLiteral("sheet.csv"));
    exportSheetCsv(*r.road->db, r.road->road, Sheet::ReducedLevel, r.file);
    r.columns = int(schema::rlColumns().size());
    r.values.reserve(std::size_t(n) * std::size_t(r.columns));
    QFile f(r.file);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    f.readLine(); // the column names
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        for (const QByteArray& field : line.split(','))
            r.values.push_back(field.isEmpty() ? std::nan("")
                                               : std::strtod(field.constData(), nullptr));
    }
    return r;
}

void emptyTarget(benchmark::State& state, CsvRoad& r)
{
    state.PauseTiming();
    execOrDie(r.road->db->handle(),
              ("DELETE FROM " + schema::rlTable(r.target)).toUtf8().constData());
    state.ResumeTiming();
}

void BM_Import(benchmark::State& state)
{
    CsvRoad& r = csvRoadOf(state.range(0));
    for (auto _ : state) {
        emptyTarget(state, r);
        const CsvImportResult result =
            importSheetCsv(*r.road->db, r.target, Sheet::ReducedLevel, r.file);
        benchmark::DoNotOptimize(result.added);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ImportFloor(benchmark::State& state)
{
    CsvRoad& r = csvRoadOf(state.range(0));
    sqlite3* db = r.road->db->handle();
    QStringList names, marks;
    for (const QString& c : schema::rlColumns())
        names << "[" + c + "]", marks << QStringLiteral("?");
    const QByteArray sql = ("INSERT INTO " + schema::rlTable(r.target) + " (" + names.join(", ") +
                            ") VALUES (" + marks.join(", ") + ")")
                               .toUtf8();
    for (auto _ : state) {
        emptyTarget(state, r);
        execOrDie(db, "BEGIN");
        sqlite3_stmt* q = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &q, nullptr) != SQLITE_OK)
            std::abort();
        for (std::size_t at = 0; at < r.values.size(); at += std::size_t(r.columns)) {
            for (int c = 0; c < r.columns; ++c) {
                const double v = r.values[at + std::size_t(c)];
                if (std::isnan(v))
                    sqlite3_bind_null(q, c + 1);
                else if (c == 0)
                    sqlite3_bind_int64(q, 1, sqlite3_int64(v));
                else
                    sqlite3_bind_double(q, c + 1, v);
            }
            if (sqlite3_step(q) != SQLITE_DONE)
                std::abort();
            sqlite3_reset(q);
        }
        sqlite3_finalize(q);
        execOrDie(db, "COMMIT");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Export(benchmark::State& state)
{
    CsvRoad& r = csvRoadOf(state.range(0));
    const QString out = r.road->dir.filePath(QStringLiteral("out.csv"));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            exportSheetCsv(*r.road->db, r.road->road, Sheet::ReducedLevel, out));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ExportFloor(benchmark::State& state)
{
    CsvRoad& r = csvRoadOf(state.range(0));
    sqlite3* db = r.road->db->handle();
    QStringList names;
    for (const QString& c : schema::rlColumns())
        names << "[" + c + "]";
    const QByteArray sql = ("SELECT " + names.join(", ") + " FROM " +
                            schema::rlTable(r.road->road) + " ORDER BY Chainage, ID")
                               .toUtf8();
    const QByteArray out = r.road->dir.filePath(QStringLiteral("floor.csv")).toLocal8Bit();
    for (auto _ : state) {
        std::FILE* f = std::fopen(out.constData(), "wb");
        sqlite3_stmt* q = nullptr;
        if (!f || sqlite3_prepare_v2(db, sql.constData(), -1, &q, nullptr) != SQLITE_OK)
            std::abort();
        const int n = sqlite3_column_count(q);
        while (sqlite3_step(q) == SQLITE_ROW) {
            for (int c = 0; c < n; ++c) {
                if (c > 0)
                    std::fputc(',', f);
                std::fwrite(sqlite3_column_text(q, c), 1, std::size_t(sqlite3_column_bytes(q, c)),
                            f);
            }
            std::fputs("\r\n", f);
        }
        sqlite3_finalize(q);
        if (std::fclose(f) != 0)
            std::abort();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

const bool kRegistered = registered([] {
    for (std::int64_t n : {10'000, 100'000, 1'000'000})
        for (auto [name, fn] : {std::pair{"ImportFloor", BM_ImportFloor},
                                {"Import", BM_Import},
                                {"ExportFloor", BM_ExportFloor},
                                {"Export", BM_Export}})
            addTimed(name, fn, {"rows"}, {n});
});

} // namespace
