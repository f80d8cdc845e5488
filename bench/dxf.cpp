// The cross-section drawing of a 10,000-section road, beside the floor of writing the same
// number of bytes to a file in the same folder (both end with the data synced to the disk, as
// the drawing's replace-on-success does).
//
//   build/bin/tarmela_bench_dxf [--benchmark_repetitions=5]
// TARMELA_BENCH_DIR chooses the folder (default: the system's temporary folder).
#include "support/BenchRoad.h"

#include "export/DxfDrawings.h"
#include "store/Database.h"
#include "store/Roads.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace tarmela;
using namespace tarmela::bench;

namespace
{

constexpr int kSections = 10000;

struct Road {
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Database> db;
    std::int64_t id = 0;
    DxfOptions options;
    QString target;
    QString floorTarget;
    QByteArray drawing; // the bytes of one export, for the floor
};

QString templateFolder()
{
    // The benchmark runs beside the programs, whose Data/ holds the templates.
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Data"));
}

Road& road()
{
    static Road built = [] {
        Road r;
        r.dir = benchFolder();
        r.db = Database::open(r.dir->filePath("Roads Info.sqlite"));
        RoadChanges changes;
        changes.length = kSections * 20;
        changes.interval = 20;
        r.id = roads::create(*r.db, changes);
        CrossDistances d;
        for (int i = 0; i < 8; ++i)
            d.left[i] = d.right[i] = 0.5 + 0.25 * (i % 3);
        roads::setCrossDistances(*r.db, r.id, d);

        // Every reading and formation value present: the heaviest drawing a road can give.
        QStringList cols{
            "ID",        "Chainage", "C",     "FC",           "FL1",           "FL2",
            "FR1",       "FR2",      "Width", "[Left Slope]", "[Right Slope]", "[Fill Area]",
            "[Cut Area]"};
        for (int i = 1; i <= 8; ++i)
            cols << QStringLiteral("L%1").arg(i) << QStringLiteral("R%1").arg(i);
        QStringList marks;
        for (int i = 0; i < cols.size(); ++i)
            marks << "?";
        Transaction tx(*r.db);
        QSqlQuery q =
            r.db->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                              .arg(schema::rlTable(r.id), cols.join(','), marks.join(',')));
        for (int s = 0; s < kSections; ++s) {
            const double c = std::round((100 + 3 * std::sin(s / 40.0)) * 1000) / 1000;
            const double fc = std::round((101 + 0.001 * (s % 500)) * 1000) / 1000;
            q.addBindValue(s + 1);
            q.addBindValue(20.0 * s);
            q.addBindValue(c);
            q.addBindValue(fc);
            q.addBindValue(fc - 0.088);
            q.addBindValue(fc - 0.175);
            q.addBindValue(fc - 0.088);
            q.addBindValue(fc - 0.175);
            q.addBindValue(10.0);
            q.addBindValue(2.0);
            q.addBindValue(1.5);
            q.addBindValue(std::round(std::max(0.0, fc - c) * 11000) / 1000);
            q.addBindValue(std::round(std::max(0.0, c - fc) * 11000) / 1000);
            for (int i = 1; i <= 8; ++i) {
                q.addBindValue(std::round((c - 0.05 * i + 0.02 * std::cos(s + i)) * 1000) / 1000);
                q.addBindValue(std::round((c - 0.07 * i) * 1000) / 1000);
            }
            Database::run(q);
        }
        tx.commit();

        r.options.templateFolder = templateFolder();
        r.target = r.dir->filePath("XSection.dxf");
        r.floorTarget = r.dir->filePath("Floor.bin");
        ExportCrossSectionsDxf(*r.db, r.id, r.options, r.target);
        QFile f(r.target);
        if (f.open(QIODevice::ReadOnly))
            r.drawing = f.readAll();
        return r;
    }();
    return built;
}

void BM_CrossSectionsDxf(benchmark::State& state)
{
    Road& r = road();
    for (auto _ : state)
        ExportCrossSectionsDxf(*r.db, r.id, r.options, r.target);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * r.drawing.size());
    state.counters["MB"] = double(r.drawing.size()) / 1e6;
}

// Writing the same bytes in 1 MiB pieces to a new file in the same folder, synced and closed.
void BM_WriteFloor(benchmark::State& state)
{
    Road& r = road();
    const QByteArray path = QFile::encodeName(r.floorTarget);
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            state.SkipWithError("cannot open the floor file");
            break;
        }
        const char* p = r.drawing.constData();
        qint64 left = r.drawing.size();
        while (left > 0) {
            const auto n = ::write(fd, p, std::size_t(std::min<qint64>(left, 1 << 20)));
            if (n <= 0)
                break;
            p += n;
            left -= n;
        }
        ::fdatasync(fd);
        ::close(fd);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * r.drawing.size());
    state.counters["MB"] = double(r.drawing.size()) / 1e6;
}

// For comparison: the longitudinal section of the same road (200 sheets), level grid on.
void BM_LongSectionDxf(benchmark::State& state)
{
    Road& r = road();
    DxfOptions o = r.options;
    o.lsectionGrid = true;
    const QString target = r.dir->filePath("LSection.dxf");
    for (auto _ : state)
        ExportLongSectionDxf(*r.db, r.id, o, target);
    state.counters["MB"] = double(QFileInfo(target).size()) / 1e6;
}

} // namespace

BENCHMARK(BM_LongSectionDxf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CrossSectionsDxf)->Unit(benchmark::kMillisecond)->UseRealTime();
