#include "compute/EarthworkQuantities.h"

#include "compute/QuantityMethods.h"
#include "compute/SectionPipeline.h"
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

#include <cmath>
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

// The walk over a road's sections in chainage order: each section's change, the areas the
// volumes are made of, and why the run ended early if it did.
class SectionPass
{
public:
    SectionPass(const SectionPipeline& pipeline, bool skipUnready)
        : m_pipeline(pipeline), m_skipUnready(skipUnready)
    {
    }

    // The change of the next section. Once a section has lacked a value its method needs the
    // run has ended: that section's change holds only its defaults, later ones nothing.
    SectionChange next(const RlRow& stored)
    {
        if (failure)
            return unchangedSection(stored);
        if (m_skipUnready && !hasGroundReading(stored)) {
            // Not surveyed yet: what the method would carry on is left as it was.
            SectionCarry unused = m_carry;
            SectionChange change = m_pipeline.compute(stored, unused);
            return skip(change, stored, notSurveyed);
        }
        SectionChange change = m_pipeline.compute(stored, m_carry);
        if (!change.computed()) {
            const bool noGround = change.missing == kNoGroundReading;
            if (m_skipUnready && noGround)
                return skip(change, stored, notSurveyed);
            if (m_skipUnready && !present(stored.fc))
                return skip(change, stored, notDesigned);
            failure = RunError{EarthworkErrorCode::EmptyValue, failureText(change, stored)};
        } else if (!badChainage) {
            badChainage = unusableChainage(stored.chainage, change.id);
        }
        if (change.computed() && !badChainage)
            sections.push_back({stored.chainage, change.area().fill, change.area().cut});
        return change;
    }

    std::vector<SectionAreas> sections;
    std::optional<RunError> failure, badChainage;
    int notDesigned = 0, notSurveyed = 0;
    std::optional<double> firstSkipped;

private:
    QString failureText(const SectionChange& change, const RlRow& stored) const
    {
        if (change.missing == kNoGroundReading) {
            const QString text = chainageText(stored.chainage, change.id);
            return text.left(1).toUpper() + text.mid(1) + QStringLiteral(" has no ground reading");
        }
        return QStringLiteral("%1 is empty in the section at %2; the %3 needs it")
            .arg(QLatin1String(change.missing), chainageText(stored.chainage, change.id),
                 QLatin1String(m_pipeline.method().caption));
    }

    // A section passed over: its defaults kept, its side levels and areas emptied.
    SectionChange skip(SectionChange& change, const RlRow& stored, int& count)
    {
        ++count;
        if (!firstSkipped)
            firstSkipped = stored.chainage;
        for (int k = 0; k <= kCutColumn; ++k) {
            change.values[std::size_t(k)] = kEmpty;
            if (present(stored.*kComputedColumns[std::size_t(k)].field))
                change.changed |= 1u << k;
            else
                change.changed &= ~(1u << k);
        }
        return change;
    }

    const SectionPipeline& m_pipeline;
    bool m_skipUnready;
    SectionCarry m_carry;
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
    SectionChange current;
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
                            result.setInteger(current.changed != 0);
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
    for (const ComputedColumn& c : kComputedColumns)
        written << QLatin1String(c.name);
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
    SectionWriter writer(db, in.road);
    RlRow row;
    while (!pass.failure && rows.next(row))
        writer.write(pass.next(row));
    rows.query().reset();
}

} // namespace

bool hasGroundReading(const RlRow& s, int viewSections)
{
    if (isReading(s.centre))
        return true;
    for (int k = 0; k < viewSections && k < kReadingsPerSide; ++k)
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
        const QuantityMethod* method = findQuantityMethod(in.method);
        if (!method || in.viewSections < 0 || in.viewSections > kReadingsPerSide)
            throw RunError{EarthworkErrorCode::BadSettings,
                           QStringLiteral("The quantity method must be %1 and the readings per "
                                          "side 0 to %2")
                               .arg(quantityMethodIds())
                               .arg(kReadingsPerSide)};
        // The sheet is read and written under the write lock: no other program can change it
        // between the read and the writes computed from it. Each section is written as soon as
        // it is computed: memory stays the same for any length of road.
        Transaction tx(db);
        if (!db.tableExists(schema::rlTable(in.road))) {
            r.error = notGenerated();
            return r;
        }
        const SectionPipeline pipeline(in, *method,
                                       SectionPipeline::distancesFor(db, in.road, *method));
        std::optional<SectionPass> pass(std::in_place, pipeline, in.skipUnready);
        if (!recomputeInOneStatement(db, in, *pass)) {
            pass.emplace(pipeline, in.skipUnready);
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

        r.volumes = roadVolumes(pass->sections, in.volumeFormula);
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
