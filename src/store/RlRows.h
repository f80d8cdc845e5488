#pragma once

// One row of a road's RL sheet and the one reader of it: the areas, the road-wide
// recomputation, the formation tool and the drawings all take a section this way.

#include "store/RowReader.h"
#include "store/Schema.h"

#include <QStringList>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tarmela
{

using SideReadings = std::array<double, kReadingsPerSide>;

constexpr double kEmpty = std::numeric_limits<double>::quiet_NaN();

constexpr SideReadings noReadings()
{
    SideReadings readings{};
    for (double& r : readings)
        r = kEmpty;
    return readings;
}

// One row of a road's RL sheet. An empty cell is not-a-number (kEmpty): plain numbers keep
// the recomputation of a long road quick and every comparison with an empty cell false.
struct RlRow {
    std::int64_t id = 0;
    double chainage = kEmpty;
    SideReadings left = noReadings();  // L1..L8, from the centre outwards
    double centre = kEmpty;            // C
    SideReadings right = noReadings(); // R1..R8
    double fl2 = kEmpty, fl1 = kEmpty, fc = kEmpty, fr1 = kEmpty, fr2 = kEmpty;
    double width = kEmpty, topWidth = kEmpty, bottomWidth = kEmpty, crust = kEmpty;
    double leftSlope = kEmpty, rightSlope = kEmpty;
    double fillArea = kEmpty, cutArea = kEmpty;
};

// Whether a cell is filled in.
inline bool present(double value)
{
    return !std::isnan(value);
}

// The value, or the fallback when the cell is empty.
inline double valueOr(double value, double fallback)
{
    return present(value) ? value : fallback;
}

// Whether a level counts as a reading: filled in and above zero. The areas, the drawings and
// the reports all go by this one rule (an empty or zero level is no reading).
inline bool isReading(double level)
{
    return present(level) && level > 0;
}

// Where each column of an RL row stands among a statement's columns, found by name (any
// case). A cell holding text that is not a number reads as empty.
class RlColumns
{
public:
    // names: the statement's columns in order. Throws Error(Data) naming the first column of
    // the RL sheet that is not among them.
    explicit RlColumns(const QStringList& names);

    // The row in cells: a RowReader standing on a row, or the FunctionArguments of a
    // RowFunction.
    template <class Cells> void read(const Cells& cells, RlRow& row) const;

private:
    static constexpr int kNumbers = 2 * kReadingsPerSide + 15; // all but ID
    int m_id = -1;
    std::array<int, kNumbers> m_numbers{}; // Chainage, L1..L8, C, R1..R8, FL2, ... Cut Area
};

// Reads RL rows from a prepared statement of store/RlRowStore.h, which owns the statements of
// the RL sheet and their order. A reader made by RlRowStore::summaries() fills only ID,
// Chainage, C, FC, Fill Area and Cut Area, in that order of its statement's columns.
class RlRowReader
{
public:
    enum class Columns { Every, Summary };
    // Every: the statement selects every column of the RL sheet, in any order; throws
    // Error(Data) when it lacks one.
    explicit RlRowReader(RowReader query, Columns columns = Columns::Every);
    // The next row, or false after the last. Throws Error when a read fails.
    bool next(RlRow& row);
    RowReader& query() { return m_query; }

private:
    RowReader m_query;
    bool m_summary = false;
    RlColumns m_columns;
};

} // namespace tarmela
