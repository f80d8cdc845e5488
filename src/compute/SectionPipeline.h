#pragma once

// The recomputation of one section, shared by the recomputation of a whole road
// (EarthworkQuantities.h) and the formation tool's recomputation of a few rows
// (formation/IncrementalQuantities.h), so that both store the same: the section's defaults,
// its formation side levels, its areas by the road's quantity method with what that method
// carries from the section before, and the columns written back.

#include "compute/EarthworkQuantities.h"
#include "compute/QuantityMethods.h"
#include "compute/SectionAreas.h"
#include "store/RlRowStore.h"
#include "store/RlRows.h"
#include "store/Roads.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace tarmela
{

class Database;
class RowWriter;

// The columns of a road's RL sheet that a recomputation writes, in the order the statements
// bind them, and the field of the row each one holds.
struct ComputedColumn {
    const char* name; // the column's name
    double RlRow::*field;
};
constexpr int kComputedColumnCount = 10;
inline constexpr std::array<ComputedColumn, kComputedColumnCount> kComputedColumns{{
    {"FL1", &RlRow::fl1},
    {"FL2", &RlRow::fl2},
    {"FR1", &RlRow::fr1},
    {"FR2", &RlRow::fr2},
    {"Fill Area", &RlRow::fillArea},
    {"Cut Area", &RlRow::cutArea},
    {"Width", &RlRow::width},
    {"Left Slope", &RlRow::leftSlope},
    {"Right Slope", &RlRow::rightSlope},
    {"Crust", &RlRow::crust},
}};
// Where the areas stand among them.
constexpr int kFillColumn = 4, kCutColumn = 5;
static_assert(kComputedColumns[kFillColumn].field == &RlRow::fillArea &&
              kComputedColumns[kCutColumn].field == &RlRow::cutArea);

// SectionChange::missing of a section with a formation (a present FC) but no ground reading
// among the readings in use: its areas would be measured against nothing.
inline constexpr char kNoGroundReading[] = "ground reading";

// One section after its recomputation.
struct SectionChange {
    std::int64_t id = 0;
    // The computed columns' values (kComputedColumns' order): the stored one where nothing
    // changed, kEmpty for an empty cell.
    // Not zeroed: whatever makes a change (compute, unchangedSection) sets every one.
    std::array<double, kComputedColumnCount> values;
    unsigned changed = 0; // bit k: values[k] differs from the stored value
    // The column the method lacked (or kNoGroundReading): the section then has only its
    // defaults (the side levels and areas stay as stored). Null when the section was computed.
    const char* missing = nullptr;
    bool computed() const { return !missing; }
    SectionArea area() const { return {values[kFillColumn], values[kCutColumn]}; }
};

// The computed columns of a section as stored, none changed.
SectionChange unchangedSection(const RlRow& stored);

class SectionPipeline
{
public:
    SectionPipeline(const EarthworkInputs& in, const QuantityMethod& method,
                    CrossDistances distances);

    // The road's cross distances when the method lays sections out at them; none otherwise.
    static CrossDistances distancesFor(Database& db, std::int64_t road,
                                       const QuantityMethod& method);

    const QuantityMethod& method() const { return *m_method; }

    // The section's change; carry comes from the section before in chainage order (Chainage,
    // then ID) and is left for the next one.
    SectionChange compute(const RlRow& stored, SectionCarry& carry) const;

private:
    const QuantityMethod* m_method;
    CrossDistances m_distances;
    int m_viewSections;
    double m_formationCamber, m_carriageCamber;
};

// Writes the changed columns of sections into a road's RL sheet, so that a road recomputed
// with nothing new costs only its reading: one UPDATE per set of changed columns, prepared on
// first use and kept.
class SectionWriter
{
public:
    SectionWriter(Database& db, std::int64_t road);
    ~SectionWriter();
    SectionWriter(const SectionWriter&) = delete;
    SectionWriter& operator=(const SectionWriter&) = delete;

    // Throws Error when the database refuses the write.
    void write(const SectionChange& change);

private:
    RowWriter& statementFor(unsigned changed);

    RlRowStore m_rows;
    std::array<std::unique_ptr<RowWriter>, (1u << kComputedColumnCount)> m_statements;
};

} // namespace tarmela
