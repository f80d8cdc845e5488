#include "drawing/CrossSectionFigure.h"

#include <QString>
#include <algorithm>
#include <cmath>

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

// Where the side slope from edge meets the level line through ground, going outwards (side -1
// left, +1 right) with `slope` metres across per metre up or down.
bool slopeMeetsGround(const FigurePoint& edge, const FigurePoint& ground, double slope, int side,
                      FigurePoint& meet)
{
    const double rise = ground.level - edge.level;
    const double run = std::abs(rise) * std::abs(slope);
    meet = {edge.offset + side * run, ground.level};
    return std::isfinite(meet.offset);
}

void widen(SectionFigure& f, const FigurePoint& p)
{
    f.leftExtent = std::max(f.leftExtent, -p.offset);
    f.rightExtent = std::max(f.rightExtent, p.offset);
}

// Clips a segment to |offset| <= h; false when nothing is left.
bool clipSegment(FigureSegment& s, double h)
{
    double t0 = 0, t1 = 1;
    const double dx = s.b.offset - s.a.offset;
    for (const auto& [p, q] : {std::pair{-dx, s.a.offset + h}, std::pair{dx, h - s.a.offset}}) {
        if (p == 0) {
            if (q < 0)
                return false;
            continue;
        }
        const double r = q / p;
        if (p < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
    }
    if (t0 > t1 || (dx != 0 && t0 == t1))
        return false;
    const FigureSegment in = s;
    const double dl = in.b.level - in.a.level;
    s.a = {in.a.offset + t0 * dx, in.a.level + t0 * dl};
    s.b = {in.a.offset + t1 * dx, in.a.level + t1 * dl};
    return true;
}

} // namespace

SectionFigure sectionFigure(const RlRow& r, const CrossDistances& distances)
{
    SectionFigure f;
    float lowest = 1000.0f;
    auto lower = [&lowest](double v) {
        if (isReading(v) && float(v) < lowest)
            lowest = float(v);
    };
    for (double v : r.left)
        lower(v);
    lower(r.centre);
    for (double v : r.right)
        lower(v);
    f.datum = double(lowest - 0.3f);

    // Ground: from the centre outwards on each side.
    f.hasCentre = isReading(r.centre);
    f.centre = r.centre;
    Side outer[2];
    for (int s = 0; s < 2; ++s) {
        const int side = s == 0 ? -1 : 1;
        const auto& levels = s == 0 ? r.left : r.right;
        const auto& gaps = s == 0 ? distances.left : distances.right;
        Side prev{{0, r.centre}, f.hasCentre};
        for (int i = 0; i < kReadingsPerSide; ++i) {
            if (!isReading(levels[i]))
                continue;
            const FigurePoint p{prev.point.offset + side * gaps[i], levels[i]};
            if (prev.drawn)
                f.ground.push_back({prev.point, p});
            f.groundTicks.push_back({p.offset, prev.point.offset, gaps[i], p.level});
            widen(f, p);
            prev = {p, true};
        }
        outer[s] = prev;
    }

    // Formation: FC, then a quarter and half the width out on each side.
    f.hasFc = isReading(r.fc);
    f.fc = r.fc;
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

    // Side slopes from the formation edges to the ground carried level.
    const double slopes[2] = {r.leftSlope, r.rightSlope};
    for (int s = 0; s < 2; ++s) {
        if (!edge[s].drawn || !outer[s].drawn || !has(slopes[s]) || slopes[s] == 0)
            continue;
        FigurePoint meet;
        if (!slopeMeetsGround(edge[s].point, outer[s].point, slopes[s], s == 0 ? -1 : 1, meet))
            continue;
        f.groundCarried.push_back({outer[s].point, meet});
        f.slopes.push_back({edge[s].point, meet});
        widen(f, meet);
    }
    return f;
}

int sheetScale(double reach, double halfWidthCm)
{
    for (int n : {100, 200, 250, 500})
        if (reach * 100 / n <= halfWidthCm + 1e-9)
            return n;
    return 500;
}

void clipFigure(SectionFigure& f, double h)
{
    for (auto* list : {&f.ground, &f.formation, &f.groundCarried, &f.slopes}) {
        std::vector<FigureSegment> kept;
        for (FigureSegment s : *list)
            if (clipSegment(s, h))
                kept.push_back(s);
        *list = std::move(kept);
    }
    for (auto* ticks : {&f.groundTicks, &f.formationTicks})
        ticks->erase(std::remove_if(ticks->begin(), ticks->end(),
                                    [h](const FigureTick& t) { return std::abs(t.offset) > h; }),
                     ticks->end());
    f.leftExtent = std::min(f.leftExtent, h);
    f.rightExtent = std::min(f.rightExtent, h);
}

QString scaleNote(int scale)
{
    return QStringLiteral("SCALE: HORIZONTAL 1:%1, VERTICAL 1:100").arg(scale);
}

} // namespace tarmela
