#include "drawing/CrossSectionFigure.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarmela
{

namespace
{

bool has(double v)
{
    return !std::isnan(v);
}

struct Side {
    FigurePoint point;
    bool drawn = false;
};

void widen(SectionFigure& f, const FigurePoint& p)
{
    f.leftExtent = std::max(f.leftExtent, -p.offset);
    f.rightExtent = std::max(f.rightExtent, p.offset);
    f.low = std::min(f.low, p.level);
    f.high = std::max(f.high, p.level);
}

// The ground level at distance d out from the centre along a side's ground points (distances
// outward, ascending): the first or last level beyond their ends.
double groundAt(const std::vector<FigurePoint>& g, double d)
{
    if (d <= g.front().offset)
        return g.front().level;
    for (std::size_t i = 1; i < g.size(); ++i)
        if (d <= g[i].offset) {
            const double span = g[i].offset - g[i - 1].offset;
            const double t = span > 0 ? (d - g[i - 1].offset) / span : 1;
            return g[i - 1].level + t * (g[i].level - g[i - 1].level);
        }
    return g.back().level;
}

// The side slope from the edge (distance e out, level z) over a side's ground points, in
// distances outward; adds its parts to the figure.
void sideSlope(SectionFigure& f, const std::vector<FigurePoint>& g, double e, double z,
               double slope, int side)
{
    const double atEdge = groundAt(g, e);
    if (atEdge == z)
        return; // the formation edge lies on the ground: no slope
    const double dir = atEdge > z ? 1 : -1;
    auto slopeAt = [&](double d) { return z + dir * (d - e) / std::abs(slope); };
    auto point = [&](double d, double level) { return FigurePoint{side * d, level}; };
    const FigurePoint edge = point(e, z);
    // Walk the ground outward from the edge until the slope crosses it.
    double d0 = e, g0 = atEdge;
    for (const FigurePoint& p : g) {
        if (p.offset <= e)
            continue;
        const double before = dir * (g0 - slopeAt(d0)), after = dir * (p.level - slopeAt(p.offset));
        if (after <= 0) {
            const double t = before / (before - after);
            const FigurePoint meet = point(d0 + t * (p.offset - d0), g0 + t * (p.level - g0));
            f.slopes.push_back({edge, meet});
            widen(f, meet);
            return;
        }
        d0 = p.offset;
        g0 = p.level;
    }
    // Not met by the outermost reading: solid to it, then carried to the level through it.
    const FigurePoint last = g.back();
    FigurePoint from = edge;
    if (last.offset > e) {
        from = point(last.offset, slopeAt(last.offset));
        f.slopes.push_back({edge, from});
    }
    const FigurePoint meet = point(e + std::abs(last.level - z) * std::abs(slope), last.level);
    if (!std::isfinite(meet.offset))
        return;
    f.slopesCarried.push_back({from, meet});
    f.groundCarried.push_back({point(last.offset, last.level), meet});
    widen(f, from);
    widen(f, meet);
}

} // namespace

SectionFigure sectionFigure(const RlRow& r, const CrossDistances& distances, int viewSections)
{
    SectionFigure f;
    f.low = std::numeric_limits<double>::infinity();
    f.high = -f.low;
    const int readings = std::clamp(viewSections, 0, kReadingsPerSide);

    // Ground: from the centre outwards on each side; each side's points by distance outward.
    f.hasCentre = isReading(r.centre);
    f.centre = r.centre;
    if (f.hasCentre)
        widen(f, {0, r.centre});
    std::vector<FigurePoint> sideGround[2];
    for (int s = 0; s < 2; ++s) {
        const int side = s == 0 ? -1 : 1;
        const auto& levels = s == 0 ? r.left : r.right;
        const auto& gaps = s == 0 ? distances.left : distances.right;
        Side prev{{0, r.centre}, f.hasCentre};
        if (prev.drawn)
            sideGround[s].push_back({0, r.centre});
        for (int i = 0; i < readings; ++i) {
            if (!isReading(levels[i]))
                continue;
            const FigurePoint p{prev.point.offset + side * gaps[i], levels[i]};
            if (prev.drawn)
                f.ground.push_back({prev.point, p});
            f.groundTicks.push_back({p.offset, prev.point.offset, gaps[i], p.level});
            widen(f, p);
            sideGround[s].push_back({std::abs(p.offset), p.level});
            prev = {p, true};
        }
    }

    // Formation: FC, then a quarter and half the width out on each side.
    f.hasFc = isReading(r.fc);
    f.fc = r.fc;
    if (f.hasFc)
        widen(f, {0, r.fc});
    Side edge[2];
    if (has(r.width)) {
        for (int s = 0; s < 2; ++s) {
            const int side = s == 0 ? -1 : 1;
            const double levels[2] = {s == 0 ? r.fl1 : r.fr1, s == 0 ? r.fl2 : r.fr2};
            Side prev{{0, r.fc}, f.hasFc};
            for (int k = 0; k < 2; ++k) {
                Side p{{prev.point.offset + side * r.width / 4, levels[k]}, isReading(levels[k])};
                if (p.drawn) {
                    if (prev.drawn)
                        f.formation.push_back({prev.point, p.point});
                    f.formationTicks.push_back(
                        {p.point.offset, prev.point.offset, r.width / 4, p.point.level});
                    widen(f, p.point);
                }
                prev = p;
            }
            edge[s] = prev;
        }
    }

    const double slopes[2] = {r.leftSlope, r.rightSlope};
    for (int s = 0; s < 2; ++s)
        if (edge[s].drawn && !sideGround[s].empty() && has(slopes[s]) && slopes[s] != 0)
            sideSlope(f, sideGround[s], std::abs(edge[s].point.offset), edge[s].point.level,
                      slopes[s], s == 0 ? -1 : 1);
    return f;
}

} // namespace tarmela
