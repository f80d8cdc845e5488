#include "formation/FormationRules.h"

#include "store/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tarmela::formation
{

std::int64_t chainageAt(double xTwips, std::int64_t startChainage)
{
    return nearestEven((xTwips - 600) / 12) + startChainage;
}

PickRule pickRule(std::int64_t c)
{
    const double remainder = double(c % 50); // the sign of c, as the rule has it
    return {c, remainder >= 12.5};
}

Readouts readoutsFor(const FormationProfileRow& row,
                     const std::optional<FormationProfileRow>& previous)
{
    Readouts r;
    const double fc = row.fc.value_or(0);
    r.leftDiff = fc - row.left.value_or(0);
    r.centreDiff = fc - row.centre.value_or(0);
    r.rightDiff = fc - row.right.value_or(0);
    if (!previous)
        return r;
    const double run = row.chainage - previous->chainage;
    const double rise = fc - previous->fc.value_or(0);
    if (run > 0)
        r.percent = rise * 100 / run;
    if (rise != 0)
        r.oneIn = run / rise;
    return r;
}

double d2(double value)
{
    // As d3: the number of the 2-decimal text, so that the stored value is what the text says.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    double out = 0;
    if (res.ec != std::errc() || std::from_chars(buf, res.ptr, out).ec != std::errc())
        return 0;
    return out == 0 ? 0 : out;
}

double gradeLevel(double startChainage, double startFc, double endChainage, double endFc,
                  double chainage)
{
    const double grade = (endFc - startFc) / (endChainage - startChainage);
    return d2(startFc + grade * (chainage - startChainage));
}

std::optional<std::int64_t> automaticDatum(const std::vector<FormationProfileRow>& rows)
{
    std::optional<double> lowest;
    const auto consider = [&](const std::optional<double>& level) {
        if (level && (!lowest || *level < *lowest))
            lowest = *level;
    };
    for (const FormationProfileRow& row : rows) {
        consider(row.left);
        consider(row.centre);
        consider(row.right);
    }
    if (!lowest)
        return std::nullopt;
    return std::int64_t(std::floor(*lowest));
}

double culvertTop(const std::optional<double>& fcBefore, const std::optional<double>& fcAfter,
                  std::int64_t datum)
{
    const double empty = double(datum) + 1;
    return (fcBefore.value_or(empty) + fcAfter.value_or(empty)) / 2 - 0.5;
}

int lastScrollStep(double maxChainage, std::int64_t visibleSpan, std::int64_t columnMetres)
{
    const double steps = std::floor((maxChainage - double(visibleSpan)) / double(columnMetres)) + 1;
    return int(std::clamp(steps, 0.0, double(std::numeric_limits<int>::max())));
}

} // namespace tarmela::formation

namespace tarmela::formation
{

std::int64_t zoomedColumnMetres(std::int64_t columnMetres, bool in)
{
    static const std::int64_t steps[] = {1,    2,     5,     10,    20,    25,     50,
                                         100,  200,   250,   500,   1000,  2000,   2500,
                                         5000, 10000, 20000, 25000, 50000, 100000, 200000};
    if (in) {
        for (auto it = std::rbegin(steps); it != std::rend(steps); ++it)
            if (*it < columnMetres)
                return *it;
        return steps[0];
    }
    for (std::int64_t s : steps)
        if (s > columnMetres)
            return s;
    return std::end(steps)[-1];
}

FittedView fittedView(double from, double to, int columns)
{
    FittedView v;
    if (columns < 1 || !(to >= from))
        return v;
    auto metres = std::max<std::int64_t>(1, std::int64_t(std::ceil((to - from) / columns)));
    // The view starts at the column at or before `from`; a larger column may be needed for
    // `to` to fall inside it (the end is outside the view).
    for (;; ++metres) {
        const double start = std::floor(from / double(metres)) * double(metres);
        if (start + double(metres) * columns > to) {
            v.columnMetres = metres;
            v.startChainage = std::int64_t(start);
            return v;
        }
    }
}

double fittedExaggeration(double lowLevel, double highLevel, double heightTwips,
                          std::int64_t columnMetres)
{
    const double chainageScale = 600.0 / double(columnMetres);
    const double range = std::max(highLevel - lowLevel, 0.1);
    // Two grid rows of room (the datum lies up to a row below the lowest level); a row of
    // the fitted scale is at most a fifth of the range.
    const double e = std::floor(heightTwips / (range * 1.8) / chainageScale);
    return std::clamp(e, 1.0, 1000.0);
}

} // namespace tarmela::formation
