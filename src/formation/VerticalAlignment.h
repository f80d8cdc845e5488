#pragma once

// The vertical alignment of a road: PVIs (store/VerticalAlignments.h) joined by straight
// grades, with a symmetric parabolic curve of length L about each interior PVI that has one.
// Free of any database: the levels it gives, the checks it must pass before anything is
// written from it, and what the tool and the batch tool show for each PVI.
//
// Grades g are level difference over chainage difference. At a PVI with L > 0 the curve runs
// from BVC = chainage - L/2 to EVC = chainage + L/2 with
//     level(x) = level_BVC + g_in (x - BVC) + (g_out - g_in) / (2L) (x - BVC)^2,
//     level_BVC = level - g_in L/2;
// elsewhere the level is on the tangent.

#include "store/VerticalAlignments.h"

#include <QString>
#include <optional>
#include <vector>

namespace tarmela::formation
{

// Why the PVIs can't make an alignment (one line); empty when they can: at least two, in
// strictly increasing chainage, lengths not negative, no curve on the first or last, no curve
// reaching beyond the next one's start (touching is allowed), levels and chainages in the
// ranges the sheets accept.
QString alignmentFault(const std::vector<Pvi>& pvis);
// Throws Error(Usage) with alignmentFault's message when there is one.
void requireAlignment(const std::vector<Pvi>& pvis);

// The level at chainage x of a valid alignment; none outside its first and last PVI.
std::optional<double> alignmentLevel(const std::vector<Pvi>& pvis, double x);

// What is shown for one PVI. Grades are fractions (the edges show them in %); none where the
// PVI has no grade on that side. A = g_out - g_in; K = L / |A| with A in percent, none without
// a curve or with A = 0. BVC and EVC are the PVI itself when it has no curve.
struct PviReadout {
    std::optional<double> gradeIn, gradeOut, a, k;
    double bvc = 0, bvcLevel = 0, evc = 0, evcLevel = 0;
    // The high (crest) or low (sag) point of the curve when it lies within the curve.
    std::optional<double> turningChainage, turningLevel;
    bool crest = false; // g_out < g_in
};
std::vector<PviReadout> alignmentReadouts(const std::vector<Pvi>& pvis);

} // namespace tarmela::formation
