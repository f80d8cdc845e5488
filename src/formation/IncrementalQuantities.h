#pragma once

// Keeps the quantities of a road current after a change of FC without recomputing the whole
// road. After a full recomputation it remembers every section's areas (and, for the Long
// method, the centre point each section carries on to the next); a change of FC then
// recomputes only the rows written and, in the Long method, the rows after them that take
// their centre point over (those without a present FC), and rebuilds the kilometre volumes
// from the areas in memory. What it stores is exactly what a full recomputation would store.
//
// It is only trusted while nothing else has written to the database: every statement of this
// connection and every commit of another one is noticed, and so is a change of the inputs;
// then the caller runs the full recomputation again.

#include "compute/EarthworkQuantities.h"
#include "compute/SectionPipeline.h"
#include "compute/Volumes.h"

#include <QHash>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarmela
{

class Database;

class IncrementalQuantities
{
public:
    // Reads back what the full recomputation `result` has just stored; forgets everything
    // when that run did not produce volumes.
    void rebuild(Database& db, const EarthworkInputs& in, const EarthworkResult& result);
    void forget() { m_valid = false; }

    // Whether the areas in memory still describe the database for these inputs. Call inside
    // the transaction of the change, before writing.
    bool usableFor(Database& db, const EarthworkInputs& in);

    // Recomputes the rows with these IDs (their FC just written) and those that depend on
    // them, writes their computed columns and returns the road's result. None when a row
    // lacks a value its method needs or is unknown: the full recomputation then reports it.
    std::optional<EarthworkResult> recompute(Database& db, const std::vector<std::int64_t>& ids);

    // After the change, inside its transaction: the database as it is now is the one
    // described.
    void settle(Database& db);

private:
    struct Section {
        std::int64_t id = 0;
        SectionCarry carry;     // what its method carries on to the next section
        bool fcPresent = false; // a section without one takes the carried centre point
    };
    struct Stamp {
        qint64 dataVersion = -1; // commits of other connections
        qint64 changes = -1;     // rows changed by this connection
        bool operator==(const Stamp& o) const
        {
            return dataVersion == o.dataVersion && changes == o.changes;
        }
    };
    static Stamp stampOf(Database& db);
    static bool sameInputs(const EarthworkInputs& a, const EarthworkInputs& b);

    bool m_valid = false;
    EarthworkInputs m_inputs;
    QString m_roadName;
    std::optional<SectionPipeline> m_pipeline;
    std::vector<Section> m_sections;   // in the recomputation's order (Chainage, ID)
    std::vector<SectionAreas> m_areas; // the same order: chainage, fill, cut
    QHash<std::int64_t, int> m_index;
    Stamp m_stamp;
};

} // namespace tarmela
