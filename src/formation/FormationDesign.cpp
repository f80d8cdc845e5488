#include "formation/FormationDesign.h"

#include "formation/FormationData.h"
#include "formation/FormationRules.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Transaction.h"

#include <cmath>

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

EarthworkResult FormationDesign::setLevel(const EarthworkInputs& in, double chainage, double fc)
{
    requireLevel(fc);
    return change(
        in,
        [&] {
            formation::FormationData data(m_db, in.road, 0);
            const FormationProfileRow row = requireRow(data, chainage);
            return std::vector<Write>{{row.id, fc, row.fc.value_or(0)}};
        },
        true);
}

EarthworkResult FormationDesign::setGrade(const EarthworkInputs& in, double from, double to,
                                          double fc)
{
    requireLevel(fc);
    if (from > to)
        throw Error(ErrorKind::Usage, gradientDirectionMessage());
    if (from == to)
        return setLevel(in, to, fc);
    return change(
        in,
        [&] {
            formation::FormationData data(m_db, in.road, 0);
            const FormationProfileRow start =
                requireRow(data, from, QStringLiteral(" to start the gradient from"));
            const FormationProfileRow end = requireRow(data, to);
            const double startFc = start.fc.value_or(0);
            std::vector<Write> writes;
            for (const FormationProfileRow& row : data.rowsAfterThrough(start, end)) {
                const double level =
                    row.id == end.id ? fc
                                     : formation::gradeLevel(from, startFc, to, fc, row.chainage);
                writes.push_back({row.id, level, row.fc.value_or(0)});
            }
            return writes;
        },
        true);
}

std::optional<EarthworkResult> FormationDesign::undo(const EarthworkInputs& in)
{
    if (m_backup.empty())
        return std::nullopt;
    const std::vector<Write> backup = m_backup;
    EarthworkResult r = change(
        in,
        [&] {
            std::vector<Write> writes;
            for (const Write& w : backup)
                writes.push_back({w.id, w.before, w.fc});
            return writes;
        },
        false);
    m_backup.clear();
    return r;
}

EarthworkResult FormationDesign::change(const EarthworkInputs& in,
                                        const std::function<std::vector<Write>()>& plan,
                                        bool keepsUndo)
{
    Transaction tx(m_db);
    // Refused input throws here, before anything is written: the areas in memory stay true.
    const std::vector<Write> writes = plan();
    try {
        const bool incremental = m_quantities.usableFor(m_db, in);
        formation::FormationData data(m_db, in.road, 0);
        std::vector<std::int64_t> ids;
        for (const Write& w : writes) {
            data.writeFc(w.id, w.fc);
            ids.push_back(w.id);
        }
        std::optional<EarthworkResult> r;
        if (incremental)
            r = m_quantities.recompute(m_db, ids);
        if (r) {
            m_quantities.settle(m_db);
        } else {
            r = UpdateEarthworkQuantities(m_db, in);
            m_quantities.rebuild(m_db, in, *r);
        }
        tx.commit();
        if (keepsUndo)
            m_backup = writes;
        return *r;
    } catch (...) {
        m_quantities.forget();
        throw;
    }
}

} // namespace tarmela
