#include "sheets/SampleRoad.h"

#include "compute/LevelBookReduction.h"
#include "store/Culverts.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/RlRowStore.h"
#include "store/Roads.h"
#include "store/RowReader.h"
#include "store/RowWriter.h"
#include "store/Schema.h"
#include "store/SheetTable.h"
#include "store/Transaction.h"
#include "store/ValueRanges.h"

#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace tarmela
{

namespace
{

constexpr std::array<double, kReadingsPerSide> kCrossDistances{1.5, 2, 2, 3, 3, 3, 4, 5};
constexpr int kSectionsPerSetUp = 8; // sight lengths of about 80 m either way at 20 m

// A small generator of its own so that the road is the same on every platform.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    // The generator as it stands after n more draws.
    Random after(std::uint64_t n) const { return Random(m_state + n * kStep); }
    double uniform() // [0, 1)
    {
        std::uint64_t z = (m_state += kStep);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return double(z >> 11) * 0x1.0p-53;
    }
    double between(double lo, double hi) { return lo + (hi - lo) * uniform(); }

private:
    static constexpr std::uint64_t kStep = 0x9E3779B97F4A7C15ULL;
    std::uint64_t m_state;
};

double mm(double v)
{
    return double(nearestEven(v * 1000)) / 1000;
}

// The undulating country the road runs through, centre line level in metres.
double terrain(double chainage)
{
    return 101.2 + 3.0 * std::sin(chainage / 900) + 1.4 * std::sin(chainage / 310 + 0.7) +
           0.5 * std::sin(chainage / 97 + 2.1);
}

// Ground levels of one section: [0] the centre, then 1..8 left and 9..16 right.
struct Section {
    double chainage = 0;
    std::array<double, 2 * kReadingsPerSide + 1> level{};
    std::array<bool, 2 * kReadingsPerSide + 1> present{};
};

// Each section draws kDrawsPerSection numbers; section k's are the draws after k sections'
// worth, so that any section can be made again on its own.
constexpr std::uint64_t kDrawsPerSection = 1 + 2 * kReadingsPerSide;

Section surveySection(double chainage, std::int64_t index, const Random& road)
{
    Random rnd = road.after(std::uint64_t(index) * kDrawsPerSection);
    Section s;
    s.chainage = chainage;
    const double centre = terrain(chainage) + rnd.between(-0.04, 0.04);
    const double crossFall = 0.025 * std::sin(chainage / 520 + 0.3); // country sloping across
    s.level[0] = mm(centre);
    s.present[0] = true;
    for (int side = 0; side < 2; ++side) {
        const double sign = side == 0 ? 1.0 : -1.0;
        double offset = 0;
        for (int i = 0; i < kReadingsPerSide; ++i) {
            offset += kCrossDistances[size_t(i)];
            // The existing carriageway is cambered; side drains lie about 5 m out.
            const double drain = 0.35 * std::exp(-std::pow((offset - 5.0) / 1.3, 2));
            const double v = centre + sign * crossFall * offset - 0.025 * std::min(offset, 3.75) -
                             drain + rnd.between(-0.03, 0.03);
            const int k = 1 + side * kReadingsPerSide + i;
            s.level[size_t(k)] = mm(v);
            // Now and then the outer readings could not be taken (a wall, standing water).
            const bool blocked = (side == 0 && i == 7 && index % 17 == 5) ||
                                 (side == 1 && i >= 6 && index % 23 == 11);
            s.present[size_t(k)] = !blocked;
        }
    }
    return s;
}

void placeCulverts(Database& db, std::int64_t road, double length)
{
    struct Kind {
        const char* name;
        const char* type;
        const char* picture;
    };
    const std::array<Kind, 4> kinds{{{"900 mm Pipe Culvert", "Pipe Culvert", "pipe"},
                                     {"2 m Slab Culvert", "Slab Culvert", "slab"},
                                     {"2 x 2 m Box Culvert", "Box Culvert", "box"},
                                     {"Minor Bridge 3 x 6 m", "Bridge", "bridge"}}};
    std::array<std::int64_t, 4> typeIds{};
    for (size_t k = 0; k < kinds.size(); ++k) {
        const QString name = QString::fromLatin1(kinds[k].name);
        const QString existing = QStringLiteral("%1_existing.png").arg(kinds[k].picture);
        const std::optional<std::int64_t> found = culverts::findType(db, name, existing);
        typeIds[k] =
            found ? *found
                  : culverts::addType(db, name, QString::fromLatin1(kinds[k].type), existing,
                                      QStringLiteral("%1_proposed.png").arg(kinds[k].picture));
    }

    // Mostly pipes and slabs, now and then a box or a bridge, old and new works mixed.
    static constexpr std::array<int, 6> pattern{0, 1, 0, 2, 3, 1};
    int k = 0;
    for (double ch = 340; ch < length; ch += 460, ++k)
        culverts::add(db, road, typeIds[size_t(pattern[size_t(k) % pattern.size()])], ch,
                      k % 3 == 1 ? QStringLiteral("P") : QStringLiteral("E"));
}

// Formation centre levels on straight grades between design points, some in fill, some in cut.
// Sections are k * interval for k = 0 .. sections - 1.
void designFormation(Database& db, std::int64_t road, std::int64_t sections, int interval)
{
    const double first = 0;
    const double last = double((sections - 1) * interval);
    const double length = last - first;
    const double spacing = length <= 5000 ? 600 : 1000;
    std::vector<double> pointCh, pointLevel;
    for (int k = 0;; ++k) {
        const double ch = std::min(first + k * spacing, last);
        pointCh.push_back(ch);
        pointLevel.push_back(
            double(nearestEven((terrain(ch) + 0.45 + 0.5 * std::sin(k * 1.3)) * 100)) / 100);
        if (ch >= last)
            break;
    }

    RowWriter q =
        RlRowStore(db, road).columnWriter({"FC", "Width", "Crust", "Left Slope", "Right Slope"});
    q.bindNumber(1, 7.5);
    q.bindNumber(2, 0.25);
    q.bindNumber(3, 2.0);
    q.bindNumber(4, 2.0);
    size_t seg = 0;
    for (std::int64_t k = 0; k < sections; ++k) {
        const double ch = double(k * interval);
        while (seg + 2 < pointCh.size() && ch > pointCh[seg + 1])
            ++seg;
        const double a = pointCh[seg], b = pointCh[std::min(seg + 1, pointCh.size() - 1)];
        const double t = b > a ? (ch - a) / (b - a) : 0;
        const double fc =
            pointLevel[seg] +
            t * (pointLevel[std::min(seg + 1, pointLevel.size() - 1)] - pointLevel[seg]);
        q.bindNumber(0, d3(fc));
        q.bindInteger(5, k + 1); // the reduction numbered the rows 1, 2, ... in chainage order
        q.run();
    }
}

} // namespace

std::int64_t createSampleRoad(Database& db, const SampleRoadOptions& o)
{
    if (o.sections < 2)
        throw Error(ErrorKind::Usage, QStringLiteral("A sample road needs at least 2 sections"));
    if (o.interval < 1 || o.interval > 32767)
        throw Error(ErrorKind::Usage, QStringLiteral("The interval must be from 1 to 32767 m"));
    // As long as a road may be: the limit follows from the road lengths' range.
    const std::int64_t most = std::int64_t(ranges::kLength.high) / o.interval + 1;
    if (o.sections > most)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("A sample road at %1 m has at most %2 sections: %3")
                        .arg(o.interval)
                        .arg(most)
                        .arg(rangeRule(ranges::kLength)));

    const std::int64_t length = (o.sections - 1) * o.interval;
    const double km = double(length) / 1000;
    RoadChanges road;
    road.from = QStringLiteral("Ranipur");
    road.to = QStringLiteral("Kalaghat");
    road.length = length;
    road.interval = o.interval;
    road.formationCamber = 3.5;
    road.carriageCamber = 2.5;
    road.fields = {QStringLiteral("Public Works Department, Ranipur Division"),
                   QStringLiteral("Ranipur - Kalaghat Road, Km 0.000 to Km %1")
                       .arg(QString::number(km, 'f', 3)),
                   QStringLiteral("Widening and strengthening to intermediate lane"),
                   QStringLiteral("Earthwork in embankment and cutting")};

    Transaction tx(db);
    const std::int64_t id = roads::create(db, road);
    CrossDistances cd;
    cd.left = kCrossDistances;
    cd.right = kCrossDistances;
    roads::setCrossDistances(db, id, cd);

    QStringList cols{QStringLiteral("ID"), QStringLiteral("Chainage")};
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(i);
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("R%1").arg(i);
    cols << QStringLiteral("C") << QStringLiteral("BS") << QStringLiteral("FS")
         << QStringLiteral("TopWidth") << QStringLiteral("BottomWidth")
         << QStringLiteral("Remarks");
    RowWriter add = sheettable::inserter(db, schema::lbTable(id), cols);

    // Sections are made as they are written, and again where an instrument height looks
    // ahead: memory stays the same for a road of any length.
    const Random survey(0x5EED0000ULL + std::uint64_t(o.sections));
    const auto section = [&](std::int64_t k) {
        return surveySection(double(k * o.interval), k, survey);
    };
    // The instrument heights draw after every section's readings.
    Random rnd = survey.after(std::uint64_t(o.sections) * kDrawsPerSection);

    // The instrument stands high enough to see every staff of its stretch; each new stretch
    // starts at a change point on the centre peg of the last section of the one before.
    auto heightFor = [&](std::int64_t first) {
        double top = -1e9;
        const std::int64_t last = std::min(first + kSectionsPerSetUp, o.sections - 1);
        for (std::int64_t k = first; k <= last; ++k)
            for (double level : section(k).level)
                top = std::max(top, level);
        return mm(top + rnd.between(0.5, 1.1));
    };
    const auto bindOptional = [&](int k, const std::optional<double>& v) { add.bindNumber(k, v); };
    double hi = heightFor(0);
    const QByteArray bmRemark =
        QStringLiteral("BM %1 on km stone").arg(d3Text(o.benchMark)).toUtf8();
    for (std::int64_t k = 0; k < o.sections; ++k) {
        const Section s = section(k);
        std::optional<double> bs, fs, c;
        const char* remarks = nullptr;
        if (k == 0) {
            bs = mm(hi - o.benchMark);
            c = mm(hi - s.level[0]);
            remarks = bmRemark.constData();
        } else if (k % kSectionsPerSetUp == 0 && k < o.sections - 1) {
            fs = mm(hi - s.level[0]);
            hi = heightFor(k);
            bs = mm(hi - s.level[0]);
            remarks = "CP";
        } else {
            c = mm(hi - s.level[0]);
        }
        int col = 0;
        add.bindInteger(col++, k + 1);
        add.bindNumber(col++, s.chainage);
        for (size_t j = 1; j < s.level.size(); ++j)
            bindOptional(col++,
                         s.present[j] ? std::optional<double>(mm(hi - s.level[j])) : std::nullopt);
        bindOptional(col++, c);
        bindOptional(col++, bs);
        bindOptional(col++, fs);
        // The existing road is a single lane at first and wider from halfway on.
        const bool widthGiven = k == 0 || k == o.sections / 2;
        bindOptional(col++, widthGiven ? std::optional<double>(k == 0 ? 3.75 : 5.5) : std::nullopt);
        bindOptional(col++, widthGiven ? std::optional<double>(k == 0 ? 6.0 : 7.5) : std::nullopt);
        if (remarks)
            add.bindText(col, remarks, -1);
        else
            add.bindNull(col);
        add.run();
    }

    ConvertLevelBookToRL(db, id, o.benchMark);
    designFormation(db, id, o.sections, o.interval);
    placeCulverts(db, id, double(length));
    tx.commit();
    return id;
}

} // namespace tarmela
