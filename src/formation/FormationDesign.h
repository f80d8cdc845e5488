#pragma once

// The formation design of one road: FC written at one row or on a straight grade between two
// rows, the last change taken back, and the road's side levels, areas and volumes brought up
// to date after each. The formation tool and the batch tool's `formation` command both work
// through it.
//
// Each change (its FC writes, the recomputation they need and, for an undo, the restored
// values) is one transaction, so the database never holds an FC without the areas that
// follow from it. After the full recomputation a change recomputes only what it can change
// (IncrementalQuantities.h); whenever that can't be trusted, the whole road is recomputed.
//
// Refused input throws Error and writes nothing: an FC that is not above 0, a gradient whose
// start lies above its end, a chainage without a row.

#include "compute/EarthworkQuantities.h"
#include "formation/IncrementalQuantities.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tarmela
{

class Database;

class FormationDesign
{
public:
    explicit FormationDesign(Database& db) : m_db(db) {}

    // The whole road (when the tool opens, and the toolbar's Update while it is open).
    EarthworkResult recompute(const EarthworkInputs& in);

    // FC = fc at the row of that chainage.
    EarthworkResult setLevel(const EarthworkInputs& in, double chainage, double fc);

    // A straight grade from the FC of the row at `from` (an empty FC counting as 0; the row
    // keeps it) to fc at the row of `to`: the rows between get FC to 2 decimals, the row at
    // `to` gets fc. With from == to only that row is written.
    EarthworkResult setGrade(const EarthworkInputs& in, double from, double to, double fc);

    // Writes back the FC the last change replaced (an empty one as 0). One step: a second
    // undo finds nothing. None when there is nothing to undo.
    std::optional<EarthworkResult> undo(const EarthworkInputs& in);
    bool canUndo() const { return !m_backup.empty(); }

    // The messages of refused input, as the tool shows them.
    static QString invalidLevelMessage();
    static QString gradientDirectionMessage();

private:
    struct Write {
        std::int64_t id = 0;
        double fc = 0;
        double before = 0; // the FC it replaces, an empty one as 0
    };
    // Runs `plan` (the reads that decide the writes) and the writes and the recomputation in
    // one transaction; the undo step is kept only when all of it is committed.
    EarthworkResult change(const EarthworkInputs& in,
                           const std::function<std::vector<Write>()>& plan, bool keepsUndo);

    Database& m_db;
    IncrementalQuantities m_quantities;
    std::vector<Write> m_backup;
};

} // namespace tarmela
