#pragma once

#include "store/RowReader.h"
#include "store/Schema.h"

#include <array>
#include <cmath>

namespace tarmela {

using SideReadings = std::array<double, kReadingsPerSide>;

// One row of a road's RL sheet as the drawings read it. An empty cell is not-a-number.
struct RlRow {
    double chainage = NAN;
    SideReadings left{};  // L1..L8, from the centre outwards
    double centre = NAN;  // C
    SideReadings right{}; // R1..R8
    double fl2 = NAN, fl1 = NAN, fc = NAN, fr1 = NAN, fr2 = NAN;
    double width = NAN;
    double leftSlope = NAN, rightSlope = NAN;
    double fillArea = NAN, cutArea = NAN;
};

// Whether a cell is filled in.
inline bool present(double value)
{
    return !std::isnan(value);
}

// Whether a level counts as a reading: filled in and above zero. The areas, the drawings and
// the reports all go by this one rule (an empty or zero level is no reading).
inline bool isReading(double level)
{
    return present(level) && level > 0;
}

// Reads the rows of a "SELECT * FROM RL_n ..." statement by column name.
class RlRowReader {
public:
    // Throws Error(Data) when the table lacks a column the drawings need.
    explicit RlRowReader(RowReader& query);
    // The next row, or false after the last. Throws Error when a read fails.
    bool next(RlRow& row);

private:
    RowReader& m_query;
    int m_chainage = -1;
    std::array<int, kReadingsPerSide> m_left{};
    int m_centre = -1;
    std::array<int, kReadingsPerSide> m_right{};
    int m_fl2 = -1, m_fl1 = -1, m_fc = -1, m_fr1 = -1, m_fr2 = -1, m_width = -1;
    int m_leftSlope = -1, m_rightSlope = -1, m_fillArea = -1, m_cutArea = -1;
};

} // namespace tarmela
