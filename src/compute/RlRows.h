#pragma once

#include "store/RowReader.h"

#include <array>
#include <cmath>

namespace tarmela {

// One row of a road's RL sheet as the drawings read it. An empty cell is not-a-number.
struct RlRow {
    double chainage = NAN;
    std::array<double, 8> left{};  // L1..L8, from the centre outwards
    double centre = NAN;           // C
    std::array<double, 8> right{}; // R1..R8
    double fl2 = NAN, fl1 = NAN, fc = NAN, fr1 = NAN, fr2 = NAN;
    double width = NAN;
    double leftSlope = NAN, rightSlope = NAN;
    double fillArea = NAN, cutArea = NAN;
};

inline bool present(double value)
{
    return !std::isnan(value);
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
    std::array<int, 8> m_left{};
    int m_centre = -1;
    std::array<int, 8> m_right{};
    int m_fl2 = -1, m_fl1 = -1, m_fc = -1, m_fr1 = -1, m_fr2 = -1, m_width = -1;
    int m_leftSlope = -1, m_rightSlope = -1, m_fillArea = -1, m_cutArea = -1;
};

} // namespace tarmela
