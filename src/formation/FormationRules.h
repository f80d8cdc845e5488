#pragma once

// The arithmetic of the formation tool, free of any database or window: which row a click
// picks, what the readouts show for a row, the levels of a straight grade, the datum of a
// view and where a culvert picture stands.

#include "drawing/FormationProfile.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tarmela::formation
{

// The chainage under a click x twips from the plot's left edge: 12 twips to the metre from
// the left axis at x = 600, to the nearest whole metre (halves to even).
std::int64_t chainageAt(double xTwips, std::int64_t startChainage);

// Which row a click at chainage c picks. With the remainder of c over 50 (sign of c) at 12.5
// or more, the first row after c; below that, the last row at or before c.
struct PickRule {
    std::int64_t chainage = 0;
    bool after = false; // true: the first row with Chainage > chainage; false: the last <= it
};
PickRule pickRule(std::int64_t c);

// What the readouts show for the picked row (whose FC is present) and the row before it.
// Differences are formation minus existing (an empty existing level counts as 0). The grade
// from the previous row (its empty FC counting as 0) is in percent, and as "1 in" run per
// unit of rise, both signed as the longitudinal section shows them (negative falling): none on the
// first row, none when the chainages don't increase, and no "1 in" on a level stretch.
struct Readouts {
    double leftDiff = 0, centreDiff = 0, rightDiff = 0;
    std::optional<double> percent;
    std::optional<double> oneIn;
};
Readouts readoutsFor(const FormationProfileRow& row,
                     const std::optional<FormationProfileRow>& previous);

// The value taken to 2 decimals, as the grade's rows are written.
double d2(double value);

// FC of a row at `chainage` on the straight grade from (startChainage, startFc) to
// (endChainage, endFc), to 2 decimals.
double gradeLevel(double startChainage, double startFc, double endChainage, double endFc,
                  double chainage);

// The whole metre at or below the lowest existing level (outer left, centre, outer right)
// of the rows in view; none when no row in view has one.
std::optional<std::int64_t> automaticDatum(const std::vector<FormationProfileRow>& rows);

// The top of a culvert picture: half a metre below the mean of the FC of the rows on either
// side of it, an empty FC counting as datum + 1.
double culvertTop(const std::optional<double>& fcBefore, const std::optional<double>& fcAfter,
                  std::int64_t datum);

// The last value of the horizontal scroll bar (steps of a grid column, 50 m as the tool
// opens): the first step whose view (startChainage <= c < startChainage + span) holds the
// road's last chainage.
int lastScrollStep(double maxChainage, std::int64_t visibleSpan, std::int64_t columnMetres = 50);

// The views of the profile. Zooming steps through 1, 2, 5, 10, 20, 25, 50, 100, 200, 250,
// 500 ... metres to a grid column; `in` gives the next smaller step, else the next larger one.
std::int64_t zoomedColumnMetres(std::int64_t columnMetres, bool in);
// The fewest whole metres to a column that show from..to in `columns` columns when the view
// starts at a multiple of them; and the exaggeration (whole, 1 to 1000) that fits levels
// lowLevel..highLevel in `heightTwips` of plot over the base line with a row to spare above
// and below, at that chainage scale.
struct FittedView {
    std::int64_t columnMetres = 50;
    std::int64_t startChainage = 0;
};
FittedView fittedView(double from, double to, int columns);
double fittedExaggeration(double lowLevel, double highLevel, double heightTwips,
                          std::int64_t columnMetres);

} // namespace tarmela::formation
