#include "compute/EarthworkQuantities.h"

#include "compute/SectionAreas.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/RlRowStore.h"
#include "store/Roads.h"
#include "store/RowFunction.h"
#include "store/RowReader.h"
#include "store/RowWriter.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace tarmela
{

namespace
{

// Beyond this a chainage is a typing mistake, not a road (the kilometre table would run
// to millions of rows).
constexpr double kFarthestChainage = 1e8;

const QString& notGenerated()
{
    static const QString text =
        QStringLiteral("Datasheet not generated! Click Generate Data Sheet from Data menu");
    return text;
}

// An error of the run with its message number.
struct RunError {
    EarthworkErrorCode code;
    QString description;
};

// The columns a run may write; bit k of a row's mask marks the k-th as changed.
enum Written {
    WrittenFL1,
    WrittenFL2,
    WrittenFR1,
    WrittenFR2,
    WrittenFill,
    WrittenCut,
    WrittenWidth,
    WrittenLeftSlope,
    WrittenRightSlope,
    WrittenCrust,
    WrittenCount,
};
constexpr unsigned kDefaultsMask = (1u << WrittenWidth) | (1u << WrittenLeftSlope) |
                                   (1u << WrittenRightSlope) | (1u << WrittenCrust);
const char* const kWrittenNames[WrittenCount] = {"FL1",         "FL2",      "FR1",   "FR2",
                                                 "Fill Area",   "Cut Area", "Width", "Left Slope",
                                                 "Right Slope", "Crust"};

// One row's values after the recomputation (the stored one where nothing changed; kEmpty for
// an empty cell) and which of them differ from the stored ones.
struct RowChange {
    std::int64_t id = 0;
    double values[WrittenCount] = {};
    unsigned mask = 0;
    void set(Written column, double stored, double value)
    {
        values[column] = value;
        if (stored != value) // also when stored is empty
            mask |= 1u << column;
    }
};

QString chainageText(double chainage, std::int64_t id)
{
    return present(chainage) ? QStringLiteral("chainage ") + plainDecimal(chainage)
                             : QStringLiteral("the row with ID %1").arg(id);
}

// Why a section's chainage can't be used for the volumes; nullopt when it can.
std::optional<RunError> unusableChainage(double chainage, std::int64_t id)
{
    if (!present(chainage))
        return RunError{EarthworkErrorCode::ChainageOutOfRange,
                        QStringLiteral("The section with ID %1 has no chainage").arg(id)};
    if (!std::isfinite(chainage) || std::fabs(chainage) > kFarthestChainage)
        return RunError{EarthworkErrorCode::ChainageOutOfRange,
                        QStringLiteral("The chainage %1 of the section with ID %2 lies beyond "
                                       "100,000 km")
                            .arg(plainDecimal(chainage))
                            .arg(id)};
    return std::nullopt;
}

// The walk over a road's sections in chainage order: each section's defaults, side levels
// and areas, the areas the volumes are made of, and why the run ended early if it did.
class SectionPass
{
public:
    SectionPass(const EarthworkInputs& in, const CrossDistances& distances)
        : m_in(in), m_method(AreaMethod(in.method)), m_distances(distances)
    {
    }

    // The change of the next section. Once a section has lacked a value its method needs the
    // run has ended: that section's change holds only its defaults, later ones nothing.
    RowChange next(const RlRow& stored)
    {
        RowChange change;
        change.id = stored.id;
        for (auto [column, value] : {std::pair{WrittenFL1, stored.fl1},
                                     {WrittenFL2, stored.fl2},
                                     {WrittenFR1, stored.fr1},
                                     {WrittenFR2, stored.fr2},
                                     {WrittenFill, stored.fillArea},
                                     {WrittenCut, stored.cutArea},
                                     {WrittenWidth, stored.width},
                                     {WrittenLeftSlope, stored.leftSlope},
                                     {WrittenRightSlope, stored.rightSlope},
                                     {WrittenCrust, stored.crust}})
            change.values[column] = value;
        if (failure)
            return change;
        RlRow s = stored;
        applySectionDefaults(s);
        change.set(WrittenWidth, stored.width, s.width);
        change.set(WrittenLeftSlope, stored.leftSlope, s.leftSlope);
        change.set(WrittenRightSlope, stored.rightSlope, s.rightSlope);
        change.set(WrittenCrust, stored.crust, s.crust);
        if (m_in.skipUnready && !hasGroundReading(stored))
            return skip(change, stored, notSurveyed);
        if (deriveSideLevels(s, m_in.formationCamber, m_in.carriageCamber)) {
            change.set(WrittenFL1, stored.fl1, s.fl1);
            change.set(WrittenFL2, stored.fl2, s.fl2);
            change.set(WrittenFR1, stored.fr1, s.fr1);
            change.set(WrittenFR2, stored.fr2, s.fr2);
        }
        SectionArea area;
        try {
            area = m_method == AreaMethod::InterpolatedLong
                       ? longMethodArea(s, m_distances, m_in.viewSections, m_centre)
                       : meanLevelArea(s, m_method, m_in.viewSections);
        } catch (const MissingValue& e) {
            if (m_in.skipUnready && !present(stored.fc))
                return skip(change, stored, notDesigned);
            // The section keeps the defaults it was given; the run ends here.
            failure = RunError{EarthworkErrorCode::EmptyValue,
                               QStringLiteral("%1 is empty in the section at %2; the %3 needs it")
                                   .arg(e.column(), chainageText(stored.chainage, change.id),
                                        areaMethodCaption(m_method))};
            // Only the defaults are written: the side levels stay as stored.
            change.values[WrittenFL1] = stored.fl1;
            change.values[WrittenFL2] = stored.fl2;
            change.values[WrittenFR1] = stored.fr1;
            change.values[WrittenFR2] = stored.fr2;
            change.mask &= kDefaultsMask;
            return change;
        }
        change.set(WrittenFill, stored.fillArea, area.fill);
        change.set(WrittenCut, stored.cutArea, area.cut);
        if (!badChainage)
            badChainage = unusableChainage(stored.chainage, change.id);
        if (!badChainage)
            sections.push_back({stored.chainage, area.fill, area.cut});
        return change;
    }

    std::vector<SectionAreas> sections;
    std::optional<RunError> failure, badChainage;
    int notDesigned = 0, notSurveyed = 0;
    std::optional<double> firstSkipped;

private:
    // A section passed over: its side levels and areas emptied, its defaults kept.
    RowChange skip(RowChange& change, const RlRow& stored, int& count)
    {
        ++count;
        if (!firstSkipped)
            firstSkipped = stored.chainage;
        for (auto [column, value] : {std::pair{WrittenFL1, stored.fl1},
                                     {WrittenFL2, stored.fl2},
                                     {WrittenFR1, stored.fr1},
                                     {WrittenFR2, stored.fr2},
                                     {WrittenFill, stored.fillArea},
                                     {WrittenCut, stored.cutArea}}) {
            change.values[column] = kEmpty;
            if (present(value))
                change.mask |= 1u << column;
        }
        return change;
    }

    EarthworkInputs m_in;
    AreaMethod m_method;
    CrossDistances m_distances;
    CentrePoint m_centre;
};

// Writes only the columns that changed, so that a road recomputed with nothing new costs a
// read, and one UPDATE per set of changed columns, prepared on first use and kept.
class AreaWriter
{
public:
    AreaWriter(Database& db, std::int64_t road) : m_rows(db, road) {}

    void write(const RowChange& change)
    {
        if (change.mask == 0)
            return;
        RowWriter& q = statementFor(change.mask);
        int k = 0;
        for (int c = 0; c < WrittenCount; ++c)
            if (change.mask & (1u << c))
                q.bindNumber(k++, change.values[c]);
        q.bindInteger(k, change.id);
        q.run();
    }

private:
    RowWriter& statementFor(unsigned mask)
    {
        auto& slot = m_statements[mask];
        if (!slot) {
            QStringList columns;
            for (int c = 0; c < WrittenCount; ++c)
                if (mask & (1u << c))
                    columns << QLatin1String(kWrittenNames[c]);
            slot = std::make_unique<RowWriter>(m_rows.columnWriter(columns));
        }
        return *slot;
    }

    RlRowStore m_rows;
    std::array<std::unique_ptr<RowWriter>, (1u << WrittenCount)> m_statements;
};

// The whole road in one UPDATE that reads and writes each row once, the sections computed by
// functions of the program's own inside it (as the table is stored, in ID order). It serves
// when ID order is chainage order, as on every generated, reduced or imported sheet; at the
// first row out of chainage order it gives up and returns false, and the caller walks the
// rows in chainage order instead (the transaction still holds; what it wrote is what that
// walk writes too).
bool recomputeInOneStatement(Database& db, const EarthworkInputs& in, SectionPass& pass)
{
    bool outOfOrder = false;
    bool started = false;
    double lastChainage = kEmpty;
    RowChange current;
    RlRow row;
    const QStringList columns = schema::rlColumns();
    const RlColumns at(columns);
    // Whether the section changes; keeps its change for the column values that follow.
    RowFunction section(db, QStringLiteral("tarmela_section"), int(columns.size()),
                        [&](const FunctionArguments& cells, FunctionResult& result) {
                            at.read(cells, row);
                            // Chainage order puts empty chainages first, then ID order.
                            if (started && (present(row.chainage) ? row.chainage < lastChainage
                                                                  : present(lastChainage))) {
                                outOfOrder = true;
                                result.setError(QStringLiteral("rows out of chainage order"));
                                return;
                            }
                            started = true;
                            lastChainage = row.chainage;
                            current = pass.next(row);
                            result.setInteger(current.mask != 0);
                        });
    // The value of one written column for the row the section function has just seen.
    RowFunction value(db, QStringLiteral("tarmela_value"), 2,
                      [&](const FunctionArguments& args, FunctionResult& result) {
                          if (args.integer(1) != current.id) {
                              outOfOrder = true;
                              result.setError(QStringLiteral("row values out of step"));
                              return;
                          }
                          result.setNumber(current.values[args.integer(0)]);
                      });
    QStringList written;
    for (const char* name : kWrittenNames)
        written << QLatin1String(name);
    RowWriter update =
        RlRowStore(db, in.road).functionUpdate(written, section.name(), value.name());
    try {
        update.run();
    } catch (const Error&) {
        if (!outOfOrder)
            throw;
        return false;
    }
    return true;
}

// Section by section in chainage order: one statement reads, another writes each row.
void recomputeRowByRow(Database& db, const EarthworkInputs& in, SectionPass& pass)
{
    // The writes change no column the reading orders by, so the reading goes on over the
    // rows as they were. ID breaks ties so that the Long method's carried centre point is the
    // same every run.
    RlRowReader rows = RlRowStore(db, in.road).all();
    AreaWriter writer(db, in.road);
    RlRow row;
    while (!pass.failure && rows.next(row))
        writer.write(pass.next(row));
    rows.query().reset();
}

} // namespace

bool hasGroundReading(const RlRow& s)
{
    if (isReading(s.centre))
        return true;
    for (int k = 0; k < kReadingsPerSide; ++k)
        if (isReading(s.left[std::size_t(k)]) || isReading(s.right[std::size_t(k)]))
            return true;
    return false;
}

EarthworkResult UpdateEarthworkQuantities(Database& db, const EarthworkInputs& in)
{
    EarthworkResult r;
    if (in.road < 1)
        return r;
    r.ran = true;
    try {
        if (in.method < 0 || in.method > 2 || in.viewSections < 0 ||
            in.viewSections > kReadingsPerSide)
            throw RunError{EarthworkErrorCode::BadSettings,
                           QStringLiteral("The quantity method must be 0, 1 or 2 and the "
                                          "readings per side 0 to %1")
                               .arg(kReadingsPerSide)};
        const auto method = AreaMethod(in.method);
        // The sheet is read and written under the write lock: no other program can change it
        // between the read and the writes computed from it. Each section is written as soon as
        // it is computed: memory stays the same for any length of road.
        Transaction tx(db);
        if (!db.tableExists(schema::rlTable(in.road))) {
            r.error = notGenerated();
            return r;
        }
        const CrossDistances distances = method == AreaMethod::InterpolatedLong
                                             ? roads::crossDistances(db, in.road)
                                             : CrossDistances{};
        std::optional<SectionPass> pass(std::in_place, in, distances);
        if (!recomputeInOneStatement(db, in, *pass)) {
            pass.emplace(in, distances);
            recomputeRowByRow(db, in, *pass);
        }
        r.roadName = roads::name(db, in.road);
        tx.commit();
        r.notDesigned = pass->notDesigned;
        r.notSurveyed = pass->notSurveyed;
        r.firstSkipped = pass->firstSkipped;
        if (pass->failure)
            throw *pass->failure;
        if (pass->badChainage)
            throw *pass->badChainage;
        if (pass->sections.empty())
            return r; // an empty sheet: nothing to show

        r.volumes = kilometreVolumes(pass->sections, nearestEven(pass->sections.back().chainage));
        r.volumesDone = true;
    } catch (const RunError& e) {
        r.error = e.description;
        r.errorCode = e.code;
    } catch (const Error& e) {
        r.error = e.message();
        r.errorCode = EarthworkErrorCode::Database;
    }
    return r;
}

} // namespace tarmela
