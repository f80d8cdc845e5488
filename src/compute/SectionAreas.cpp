#include "compute/SectionAreas.h"

#include "compute/StripAreas.h"
#include "store/Numbers.h"

#include <algorithm>
#include <cmath>

namespace tarmela
{

namespace
{

// An empty or zero value takes its default.
bool defaultIfUnset(double& value, double fallback)
{
    if (present(value) && value != 0)
        return false;
    value = fallback;
    return true;
}

double need(double value, const char* column)
{
    if (!present(value))
        throw MissingValue(column);
    return value;
}

void addIfReading(double level, double& sum, int& count)
{
    if (isReading(level)) {
        sum += level;
        ++count;
    }
}

// Walks one side outward from the centre line and fills points 1.. of p; returns the number
// of strips. The walk stops at the first missing reading: readings beyond it don't count.
int walkSide(SidePoints& p, const SideReadings& levels,
             const std::array<double, kReadingsPerSide>& distances, int viewSections,
             double halfWidth, double fc, double slope)
{
    int j = 1;
    double x = 0;
    bool edgePassed = false;
    // Beyond the formation edge the side slope falls (fill) or rises (cut) from FC until it
    // meets the ground; from there on the outline is the ground itself and adds no area.
    double direction = -1;
    bool met = false;
    // Ground level with FC at the edge: the next reading tells whether a cut or a fill wedge
    // starts there (direction 0 until then).
    auto startSlope = [&](double edgeGround) {
        direction = edgeGround > fc ? 1 : edgeGround < fc ? -1 : 0;
    };
    // Point j: a reading at offset xEnd beyond the edge, a strip of width d from point j - 1.
    auto beyondEdge = [&](double d, double xEnd, double level) {
        if (!met && direction == 0) {
            const double run = (xEnd - halfWidth) / slope;
            direction = level > fc + run ? 1 : level < fc - run ? -1 : 0;
            met = direction == 0; // the ground stays between the two slopes: no earthwork
        }
        if (met) {
            p.ProposedPoints[j] = level;
            p.GroundPoints[j] = level;
            p.StripWidths[j - 1] = d;
            return;
        }
        const double proposed = fc + direction * (xEnd - halfWidth) / slope;
        const double before = p.ProposedPoints[j - 1] - p.GroundPoints[j - 1];
        const double now = proposed - level;
        if ((before > 0 && now <= 0) || (before < 0 && now >= 0)) {
            // The slope meets the ground inside this strip: a point there, ground beyond.
            const double t = before / (before - now);
            const double ground = p.GroundPoints[j - 1] + (level - p.GroundPoints[j - 1]) * t;
            p.GroundPoints[j] = ground;
            p.ProposedPoints[j] = ground;
            p.StripWidths[j - 1] = d * t;
            ++j;
            p.GroundPoints[j] = level;
            p.ProposedPoints[j] = level;
            p.StripWidths[j - 1] = d * (1 - t);
            met = true;
            return;
        }
        p.ProposedPoints[j] = proposed;
        p.StripWidths[j - 1] = d;
        p.GroundPoints[j] = level;
    };
    for (int i = 0; i < viewSections; ++i) {
        const double d = distances[i];
        x += d;
        if (!isReading(levels[i])) {
            p.GroundPoints[j] = 0;
            p.ProposedPoints[j] = 0;
            p.StripWidths[j - 1] = 0;
            break;
        }
        const double level = levels[i];
        if (edgePassed) {
            beyondEdge(d, x, level);
        } else if (x <= halfWidth) {
            edgePassed = x == halfWidth;
            p.ProposedPoints[j] = fc;
            p.StripWidths[j - 1] = d;
            p.GroundPoints[j] = level;
            if (edgePassed)
                startSlope(level);
        } else {
            // The first reading beyond the formation edge: put a point on the edge, its ground
            // level interpolated along the ground line from the previous point.
            edgePassed = true;
            const double inside = halfWidth - (x - d);
            const double beyond = x - halfWidth;
            const double previous = p.GroundPoints[j - 1];
            p.GroundPoints[j] = d != 0 ? previous + (level - previous) * inside / d : level;
            p.ProposedPoints[j] = fc;
            p.StripWidths[j - 1] = inside;
            startSlope(p.GroundPoints[j]);
            ++j;
            beyondEdge(beyond, x, level);
        }
        ++j;
    }
    return j - 1;
}

} // namespace

bool applySectionDefaults(RlRow& s)
{
    bool changed = defaultIfUnset(s.width, kDefaultWidth);
    changed |= defaultIfUnset(s.leftSlope, kDefaultSlope);
    changed |= defaultIfUnset(s.rightSlope, kDefaultSlope);
    changed |= defaultIfUnset(s.crust, kDefaultCrust);
    return changed;
}

bool deriveSideLevels(RlRow& s, double formationCamber, double carriageCamber)
{
    if (!isReading(s.fc))
        return false;
    const double width = valueOr(s.width, kDefaultWidth);
    const double crust = valueOr(s.crust, kDefaultCrust);
    const double k = width / 4 + crust / 2;
    const double fl1 = d3(s.fc - carriageCamber * k);
    const double fl2 = d3(fl1 - formationCamber * (k + crust));
    s.fl1 = s.fr1 = fl1;
    s.fl2 = s.fr2 = fl2;
    return true;
}

SectionArea meanLevelArea(const RlRow& s, AreaMethod method, int viewSections)
{
    const bool shortMethod = method == AreaMethod::TrapezoidalShort;
    double sum = 0;
    int count = 0;
    addIfReading(s.centre, sum, count);
    for (int i = 0; i < 2; ++i) {
        addIfReading(s.left[i], sum, count);
        addIfReading(s.right[i], sum, count);
    }
    double meanInner = 0;
    if (shortMethod) {
        meanInner = count > 0 ? d3(sum / count) : 0;
        sum = 0;
        count = 0;
    }
    for (int i = 2; i < viewSections && i < kReadingsPerSide; ++i) {
        addIfReading(s.left[i], sum, count);
        addIfReading(s.right[i], sum, count);
    }
    const double meanGround = count >= 1 ? d3(sum / count) : meanInner;

    // One at a time, so that the first empty one is the one reported; FC first, as the side
    // levels come from it.
    double formationSum = need(s.fc, "FC");
    formationSum += need(s.fl2, "FL2");
    formationSum += need(s.fl1, "FL1");
    formationSum += need(s.fr1, "FR1");
    formationSum += need(s.fr2, "FR2");
    const double meanFormation = d3(formationSum / 5);
    const double h = meanFormation - meanGround;
    const double slopes =
        valueOr(s.leftSlope, kDefaultSlope) + valueOr(s.rightSlope, kDefaultSlope);
    const double base = valueOr(s.width, kDefaultWidth) + slopes * valueOr(s.crust, kDefaultCrust);
    // Fill (h > 0) and cut (h < 0) alike widen by the slopes away from the formation.
    double area = (base + slopes * std::fabs(h) / 2) * h;
    if (shortMethod) {
        // The existing road stands above the surrounding ground and is already there.
        const double top = need(s.topWidth, "TopWidth");
        const double bottom = need(s.bottomWidth, "BottomWidth");
        area -= (top + bottom) / 2 * (meanInner - meanGround);
    }
    if (area >= 0)
        return {d3(area), 0};
    return {0, d3(-area)};
}

SectionArea longMethodArea(const RlRow& s, const CrossDistances& distances, int viewSections,
                           CentrePoint& centre)
{
    const double fc = need(s.fc, "FC");
    carryCentre(s.centre, fc, centre);

    const double halfWidth = valueOr(s.width, kDefaultWidth) / 2;
    const int readings = std::min(viewSections, kReadingsPerSide);
    SidePoints p;
    p.GroundPoints[0] = centre.ground;
    p.ProposedPoints[0] = centre.proposed;
    StripSums sums;
    int strips = walkSide(p, s.left, distances.left, readings, halfWidth, fc,
                          valueOr(s.leftSlope, kDefaultSlope));
    AccumulateStripAreas(p, strips, sums);
    strips = walkSide(p, s.right, distances.right, readings, halfWidth, fc,
                      valueOr(s.rightSlope, kDefaultSlope));
    AccumulateStripAreas(p, strips, sums);
    return {d3(sums.FillSum), d3(sums.CutSum)};
}

} // namespace tarmela
