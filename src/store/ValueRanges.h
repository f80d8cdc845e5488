#pragma once

#include <QString>

namespace tarmela
{

// The values a survey can hold. A number outside its range is a typing mistake (1e300 for a
// level, -3 for a cross distance) and is refused where it is typed, before it reaches a
// computation. The ranges are listed on the help page "Values the program accepts".
struct ValueRange {
    double low;
    double high;
    const char* what; // "levels", "cross distances", ... for the message
    const char* unit; // "m", "%", or "" for a ratio
};

namespace ranges
{
// Reduced and formation levels, bench marks and datums, metres.
inline constexpr ValueRange kLevel{-1000, 10000, "levels", "m"};
// Staff readings of the level book (back sight, fore sight, intermediate), metres.
inline constexpr ValueRange kStaffReading{-100, 100, "staff readings", "m"};
// Chainages along the road, metres; negative chainages (before the start) are allowed.
inline constexpr ValueRange kChainage{-10'000'000, 10'000'000, "chainages", "m"};
inline constexpr ValueRange kCrossDistance{0, 1000, "cross distances", "m"};
inline constexpr ValueRange kWidth{0, 1000, "widths", "m"};
inline constexpr ValueRange kCrust{0, 10, "crust thicknesses", "m"};
inline constexpr ValueRange kSlope{0, 100, "side slopes (horizontal to 1 vertical)", ""};
inline constexpr ValueRange kArea{0, 1'000'000, "areas", "m\u00b2"};
inline constexpr ValueRange kLength{0, 10'000'000, "road lengths", "m"};
inline constexpr ValueRange kInterval{1, 32767, "intervals", "m"};
inline constexpr ValueRange kCamber{-25, 25, "cambers", "%"};
// m3 of compacted fill from one m3 of cut.
inline constexpr ValueRange kCutFactor{0.5, 2, "cut factors", ""};
} // namespace ranges

// The range of a column of a project table (RL_n, LB_n, ChDistance, Roads, Culverts and
// their templates), or nullptr when the column takes any value (IDs, texts, the height of
// instrument the reduction writes).
const ValueRange* rangeOfColumn(const QString& table, const QString& column);

bool inRange(const ValueRange& range, double value); // false for NaN and infinities
// Throws Error(Usage) "The bench mark can't be 1e+308: levels lie between -1000 and 10000 m"
// unless the value is in range; `what` names the value ("bench mark").
void requireInRange(const ValueRange& range, double value, const QString& what);
// The rule as a sentence part: "levels lie between -1000 and 10000 m".
QString rangeRule(const ValueRange& range);

// The number a field of a dialog holds, checked: sets `value` and returns an empty string,
// or returns why the text can't be taken (not a number, or out of range). `field` names the
// field in the message ("The bench mark").
QString readValue(const QString& text, const ValueRange& range, const QString& field,
                  double& value);

} // namespace tarmela
