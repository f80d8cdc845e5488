#include "formation/FormationDesign.h"

#include "compute/SectionPipeline.h"
#include "formation/FormationData.h"
#include "formation/FormationRules.h"
#include "formation/VerticalAlignment.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Schema.h"
#include "store/Transaction.h"
#include "store/ValueRanges.h"

#include <cmath>
#include <limits>

namespace tarmela
{

namespace
{

FormationProfileRow requireRow(formation::FormationData& data, double chainage,
                               const QString& purpose = {})
{
    std::optional<FormationProfileRow> row = data.rowAt(chainage);
    if (!row)
        throw Error(ErrorKind::Data, QStringLiteral("There is no section at chainage %1%2")
                                         .arg(plainDecimal(chainage), purpose));
    return *row;
}

void requireLevel(double fc)
{
    if (!std::isfinite(fc) || !(fc > 0))
        throw Error(ErrorKind::Usage, FormationDesign::invalidLevelMessage());
    requireInRange(ranges::kLevel, fc, QStringLiteral("formation level"));
}

} // namespace

QString FormationDesign::invalidLevelMessage()
{
    return QStringLiteral("Invalid formation value! Please enter a valid numeric value");
}

QString FormationDesign::gradientDirectionMessage()
{
    return QStringLiteral("In GRADIENT mode slope is calculated from lower chainage to higher "
                          "chainage.\nTo plot a gradient, select current Chainage value higher "
                          "than previous Chainage!");
}

EarthworkResult FormationDesign::recompute(const EarthworkInputs& in)
{
    try {
        Transaction tx(m_db);
        EarthworkResult r = UpdateEarthworkQuantities(m_db, in);
        m_quantities.rebuild(m_db, in, r);
        tx.commit();
        return r;
    } catch (...) {
        m_quantities.forget();
        throw;
    }
}

const QStringList& FormationDesign::editedColumns()
{
    // FC and every column a recomputation writes.
    static const QStringList columns = [] {
        QStringList names{QStringLiteral("FC")};
        for (const ComputedColumn& c : kComputedColumns)
            names << QLatin1String(c.name);
        return names;
    }();
    return columns;
}

EarthworkResult FormationDesign::setLevel(const EarthworkInputs& in, double chainage, double fc,
                                          FormationEdit* edit)
{
    requireLevel(fc);
    return change(
        in,
        [&]() -> Writes {
            formation::FormationData data(m_db, in.road, 0);
            const std::int64_t id = requireRow(data, chainage).id;
            return [this, &in, id, fc] {
                formation::FormationData(m_db, in.road, 0).writeFc(id, fc);
                return std::vector<std::int64_t>{id};
            };
        },
        edit);
}

EarthworkResult FormationDesign::setGrade(const EarthworkInputs& in, double from, double to,
                                          double fc, FormationEdit* edit)
{
    requireLevel(fc);
    if (from > to)
        throw Error(ErrorKind::Usage, gradientDirectionMessage());
    if (from == to)
        return setLevel(in, to, fc, edit);
    return change(
        in,
        [&]() -> Writes {
            formation::FormationData data(m_db, in.road, 0);
            const FormationProfileRow start =
                requireRow(data, from, QStringLiteral(" to start the gradient from"));
            const FormationProfileRow end = requireRow(data, to);
            const double startFc = start.fc.value_or(0);
            std::vector<std::pair<std::int64_t, double>> levels;
            for (const FormationProfileRow& row : data.rowsAfterThrough(start, end))
                levels.emplace_back(
                    row.id, row.id == end.id
                                ? fc
                                : formation::gradeLevel(from, startFc, to, fc, row.chainage));
            return [this, &in, levels] {
                formation::FormationData rows(m_db, in.road, 0);
                std::vector<std::int64_t> ids;
                for (const auto& [id, level] : levels) {
                    rows.writeFc(id, level);
                    ids.push_back(id);
                }
                return ids;
            };
        },
        edit);
}

std::vector<Pvi> FormationDesign::alignment(std::int64_t road)
{
    return alignments::read(m_db, road);
}

EarthworkResult FormationDesign::applyAlignment(const EarthworkInputs& in,
                                                const std::vector<Pvi>& pvis, FormationEdit* edit)
{
    formation::requireAlignment(pvis);
    std::vector<Pvi> before;
    EarthworkResult r = change(
        in,
        [&]() -> Writes {
            before = alignments::read(m_db, in.road);
            formation::FormationData data(m_db, in.road, 0);
            // From the first PVI through the last, both included.
            const double to =
                std::nextafter(pvis.back().chainage, std::numeric_limits<double>::infinity());
            std::vector<std::pair<std::int64_t, double>> levels;
            for (const FormationProfileRow& row : data.rowsIn(pvis.front().chainage, to)) {
                const double level = formation::d2(*formation::alignmentLevel(pvis, row.chainage));
                if (!row.fc || *row.fc != level) // a row already there needs no recomputation
                    levels.emplace_back(row.id, level);
            }
            return [this, &in, &pvis, levels] {
                alignments::write(m_db, in.road, pvis);
                formation::FormationData rows(m_db, in.road, 0);
                std::vector<std::int64_t> ids;
                ids.reserve(levels.size());
                for (const auto& [id, level] : levels) {
                    rows.writeFc(id, level);
                    ids.push_back(id);
                }
                return ids;
            };
        },
        edit);
    if (edit) {
        edit->alignmentEdited = true;
        edit->alignmentBefore = std::move(before);
        edit->alignmentAfter = pvis;
    }
    return r;
}

void FormationDesign::clearAlignment(std::int64_t road, FormationEdit* edit)
{
    Transaction tx(m_db);
    std::vector<Pvi> before = alignments::read(m_db, road);
    alignments::write(m_db, road, {});
    tx.commit();
    if (edit) {
        edit->rows.clear();
        edit->alignmentEdited = true;
        edit->alignmentBefore = std::move(before);
        edit->alignmentAfter.clear();
    }
}

EarthworkResult FormationDesign::restore(const EarthworkInputs& in, const FormationEdit& edit,
                                         bool before)
{
    const QString table = schema::rlTable(in.road);
    return change(
        in,
        [&]() -> Writes {
            // Only the FC is compared: the derived values follow whatever the recomputation
            // did since (other cambers, say), and are recomputed after the restore anyway.
            const QStringList checked{QStringLiteral("FC"), QStringLiteral("Chainage")};
            for (const JournalRow& row : edit.rows) {
                const QVariant expected = before ? row.after.front() : row.before.front();
                const std::optional<QVariantList> now =
                    RowJournal::values(m_db, table, checked, row.id);
                const bool same =
                    now && now->front().isNull() == expected.isNull() &&
                    (expected.isNull() || now->front().toDouble() == expected.toDouble());
                if (!same)
                    throw Error(ErrorKind::Data,
                                now ? QStringLiteral("The FC at chainage %1 was changed "
                                                     "elsewhere since.")
                                          .arg(plainDecimal(now->at(1).toDouble()))
                                    : QStringLiteral("A section it changed was deleted since."));
            }
            return [this, &in, &edit, table, before] {
                if (edit.alignmentEdited)
                    alignments::write(m_db, in.road,
                                      before ? edit.alignmentBefore : edit.alignmentAfter);
                RowJournal::write(m_db, table, editedColumns(), edit.rows, before);
                std::vector<std::int64_t> ids;
                for (const JournalRow& row : edit.rows)
                    ids.push_back(row.id);
                return ids;
            };
        },
        nullptr);
}

EarthworkResult FormationDesign::change(const EarthworkInputs& in,
                                        const std::function<Writes()>& plan, FormationEdit* edit)
{
    Transaction tx(m_db);
    // Refused input throws here, before anything is written: the areas in memory stay true.
    const Writes writes = plan();
    try {
        const bool incremental = m_quantities.usableFor(m_db, in);
        std::optional<RowJournal> journal;
        if (edit)
            journal.emplace(m_db, schema::rlTable(in.road), editedColumns());
        const std::vector<std::int64_t> ids = writes();
        std::optional<EarthworkResult> r;
        if (incremental)
            r = m_quantities.recompute(m_db, ids);
        const bool full = !r;
        if (full)
            r = UpdateEarthworkQuantities(m_db, in);
        // The recomputation reports a refused write rather than throwing it: here it undoes
        // the whole change, or the FC written would stand beside the areas of before.
        if (r->errorCode == EarthworkErrorCode::Database)
            throw Error(ErrorKind::Database, r->error);
        // Before the areas in memory take the database's stamp: the journal's notes count
        // among its changes.
        std::vector<JournalRow> done;
        if (journal)
            done = journal->finish();
        if (full)
            m_quantities.rebuild(m_db, in, *r);
        else
            m_quantities.settle(m_db);
        tx.commit();
        if (edit)
            edit->rows = std::move(done);
        return *r;
    } catch (...) {
        m_quantities.forget();
        throw;
    }
}

} // namespace tarmela
