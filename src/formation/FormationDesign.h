#pragma once

// The formation design of one road: FC written at one row or on a straight grade between two
// rows, a change taken back or done again, and the road's side levels, areas and volumes
// brought up to date after each. The formation tool and the batch tool's `formation` command
// both work through it.
//
// Each change (its FC writes, the recomputation they need and, for an undo or a redo, the
// restored values) is one transaction, so the database never holds an FC without the areas
// that follow from it. After the full recomputation a change recomputes only what it can change
// (IncrementalQuantities.h); whenever that can't be trusted, the whole road is recomputed.
//
// Refused input throws Error and writes nothing: an FC that is not above 0, a gradient whose
// start lies above its end, a chainage without a row.

#include "compute/EarthworkQuantities.h"
#include "formation/IncrementalQuantities.h"
#include "store/RowJournal.h"
#include "store/VerticalAlignments.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tarmela
{

class Database;

// What one change of the formation did: every row it changed, with FC and the columns the
// recomputation derives from it (side levels, areas and the defaults it fills in) as they
// were before and after. An empty value stays empty both ways.
struct FormationEdit {
    std::vector<JournalRow> rows;
    // An edit of the vertical alignment also keeps the PVIs before and after it.
    bool alignmentEdited = false;
    std::vector<Pvi> alignmentBefore, alignmentAfter;
};

class FormationDesign
{
public:
    explicit FormationDesign(Database& db) : m_db(db) {}

    // The whole road (when the tool opens, and the toolbar's Update while it is open).
    EarthworkResult recompute(const EarthworkInputs& in);

    // FC = fc at the row of that chainage. With `edit`, what the change did is kept there
    // (for taking it back).
    EarthworkResult setLevel(const EarthworkInputs& in, double chainage, double fc,
                             FormationEdit* edit = nullptr);

    // A straight grade from the FC of the row at `from` (an empty FC counting as 0; the row
    // keeps it) to fc at the row of `to`: the rows between get FC to 2 decimals, the row at
    // `to` gets fc. With from == to only that row is written.
    EarthworkResult setGrade(const EarthworkInputs& in, double from, double to, double fc,
                             FormationEdit* edit = nullptr);

    // The road's vertical alignment becomes `pvis` (formation/VerticalAlignment.h; refused
    // with its one-line message when it is not valid) and FC of every row from its first PVI
    // to its last is set to its level there, to 2 decimals; rows outside keep their FC. The
    // rows whose FC changes are recomputed.
    EarthworkResult applyAlignment(const EarthworkInputs& in, const std::vector<Pvi>& pvis,
                                   FormationEdit* edit = nullptr);
    // Removes the road's alignment; FC stays as it was written.
    void clearAlignment(std::int64_t road, FormationEdit* edit = nullptr);
    std::vector<Pvi> alignment(std::int64_t road);

    // Puts the rows of an edit back as they were before it (undo) or after it (redo), and the
    // alignment it edited, then recomputes. Refused (Error, nothing written) when a row's FC is no
    // longer what the edit left, or what it found: it was written elsewhere since.
    EarthworkResult restore(const EarthworkInputs& in, const FormationEdit& edit, bool before);

    // The columns an edit keeps: FC first, then those derived from it.
    static const QStringList& editedColumns();

    // The messages of refused input, as the tool shows them.
    static QString invalidLevelMessage();
    static QString gradientDirectionMessage();

private:
    // The writes of a change: they return the IDs of the rows written.
    using Writes = std::function<std::vector<std::int64_t>()>;
    // Runs `plan` (the reads that decide the writes and may refuse the change), then the
    // writes it returns and the recomputation, in one transaction; `edit` receives what was
    // done once all of it is committed.
    EarthworkResult change(const EarthworkInputs& in, const std::function<Writes()>& plan,
                           FormationEdit* edit);

    Database& m_db;
    IncrementalQuantities m_quantities;
};

} // namespace tarmela
