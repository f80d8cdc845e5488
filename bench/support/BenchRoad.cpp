#include "BenchRoad.h"

#include "BenchMain.h"

#include "store/Roads.h"
#include "store/Schema.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sqlite3.h>

namespace tarmela::bench
{

void execOrDie(sqlite3* db, const char* sql)
{
    char* why = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &why) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, why ? why : "failed");
        std::abort();
    }
}

BenchRoad& sharedBenchRoad(std::int64_t sections, void (*prepare)(BenchRoad&))
{
    static std::map<std::int64_t, std::unique_ptr<BenchRoad>> roads;
    [[maybe_unused]] static const bool released = atBenchEnd([] { roads.clear(); });
    auto& slot = roads[sections];
    if (!slot) {
        slot = makeBenchRoad(sections);
        if (prepare)
            prepare(*slot);
    }
    return *slot;
}

std::unique_ptr<QTemporaryDir> benchFolder()
{
    const QByteArray base = qgetenv("TARMELA_BENCH_DIR");
    return base.isEmpty() ? std::make_unique<QTemporaryDir>()
                          : std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(base) +
                                                            "/tarmela-bench-XXXXXX");
}

std::int64_t addBenchRoad(Database& db, std::int64_t n)
{
    const std::int64_t road = roads::create(db);
    CrossDistances d;
    d.left.fill(1.5);
    d.right.fill(1.75);
    roads::setCrossDistances(db, road, d);

    QStringList cols{"ID",          "Chainage", "C",     "FC",           "TopWidth",
                     "BottomWidth", "Width",    "Crust", "[Left Slope]", "[Right Slope]"};
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(i) << QStringLiteral("R%1").arg(i);
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i)
        marks << QStringLiteral("?");
    const QByteArray sql = ("INSERT INTO " + schema::rlTable(road) + " (" + cols.join(", ") +
                            ") VALUES (" + marks.join(", ") + ")")
                               .toUtf8();
    sqlite3* h = db.handle();
    sqlite3_stmt* q = nullptr;
    if (sqlite3_prepare_v2(h, sql.constData(), -1, &q, nullptr) != SQLITE_OK)
        std::abort();
    // Levels to the millimetre, as surveyed.
    const auto mm = [](double v) { return std::round(v * 1000) / 1000; };
    // Sections 20 m apart, closer on a road so long that 20 m would take it past the
    // 10,000 km the program accepts (an import of its CSV would refuse the far rows).
    const double interval = std::min(20.0, 1e7 / double(std::max<std::int64_t>(n, 1)));
    execOrDie(h, "BEGIN");
    for (std::int64_t row = 0; row < n; ++row) {
        const double t = double(row);
        const double ground = mm(100 + 3 * std::sin(t / 37) + 0.5 * std::sin(t / 5));
        int k = 1;
        sqlite3_bind_int64(q, k++, row + 1);
        sqlite3_bind_double(q, k++, interval * t);
        sqlite3_bind_double(q, k++, ground);
        sqlite3_bind_double(q, k++, mm(100 + 2 * std::sin(t / 53)));
        for (double v : {7.0, 9.0, 7.5, 0.25, 2.0, 2.0})
            sqlite3_bind_double(q, k++, v);
        for (int i = 1; i <= kReadingsPerSide; ++i) {
            sqlite3_bind_double(q, k++, mm(ground + 0.05 * i));
            sqlite3_bind_double(q, k++, mm(ground - 0.04 * i));
        }
        if (sqlite3_step(q) != SQLITE_DONE)
            std::abort();
        sqlite3_reset(q);
    }
    sqlite3_finalize(q);
    execOrDie(h, "COMMIT");
    return road;
}

std::unique_ptr<BenchRoad> makeBenchRoad(std::int64_t sections)
{
    auto r = std::make_unique<BenchRoad>();
    r->db = Database::open(r->dir.filePath(QStringLiteral("bench.sqlite")));
    r->road = addBenchRoad(*r->db, sections);
    return r;
}

} // namespace tarmela::bench
