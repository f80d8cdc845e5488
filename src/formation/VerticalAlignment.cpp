#include "formation/VerticalAlignment.h"

#include "store/Error.h"
#include "store/Numbers.h"
#include "store/ValueRanges.h"

#include <cmath>

namespace tarmela::formation
{

namespace
{

double grade(const Pvi& a, const Pvi& b)
{
    return (b.level - a.level) / (b.chainage - a.chainage);
}

} // namespace

QString alignmentFault(const std::vector<Pvi>& pvis)
{
    if (pvis.size() < 2)
        return QStringLiteral("A vertical alignment needs at least two PVIs");
    for (std::size_t i = 0; i < pvis.size(); ++i) {
        const Pvi& p = pvis[i];
        const QString at = plainDecimal(p.chainage);
        if (!inRange(ranges::kChainage, p.chainage))
            return QStringLiteral("The PVI chainage %1 is out of range: %2")
                .arg(at, rangeRule(ranges::kChainage));
        if (!inRange(ranges::kLevel, p.level))
            return QStringLiteral("The level %1 of the PVI at chainage %2 is out of range: %3")
                .arg(plainDecimal(p.level), at, rangeRule(ranges::kLevel));
        if (!std::isfinite(p.length) || p.length < 0)
            return QStringLiteral("The curve length of the PVI at chainage %1 is negative").arg(at);
        if (p.length > 0 && (i == 0 || i + 1 == pvis.size()))
            return QStringLiteral("The %1 PVI (chainage %2) can't have a curve")
                .arg(i == 0 ? QStringLiteral("first") : QStringLiteral("last"), at);
        if (i > 0 && !(p.chainage > pvis[i - 1].chainage))
            return QStringLiteral("PVI chainages must increase: %1 follows %2")
                .arg(at, plainDecimal(pvis[i - 1].chainage));
    }
    for (std::size_t i = 1; i < pvis.size(); ++i) {
        const Pvi& a = pvis[i - 1];
        const Pvi& b = pvis[i];
        if (a.chainage + a.length / 2 > b.chainage - b.length / 2)
            return QStringLiteral("The curves at chainages %1 and %2 overlap")
                .arg(plainDecimal(a.chainage), plainDecimal(b.chainage));
    }
    return {};
}

void requireAlignment(const std::vector<Pvi>& pvis)
{
    const QString fault = alignmentFault(pvis);
    if (!fault.isEmpty())
        throw Error(ErrorKind::Usage, fault);
}

std::optional<double> alignmentLevel(const std::vector<Pvi>& pvis, double x)
{
    if (pvis.size() < 2 || x < pvis.front().chainage || x > pvis.back().chainage)
        return std::nullopt;
    // The segment holding x: pvis[i - 1] <= x <= pvis[i].
    std::size_t i = 1;
    while (i + 1 < pvis.size() && x > pvis[i].chainage)
        ++i;
    // A curve about either end of the segment may reach x.
    for (std::size_t j : {i - 1, i}) {
        const Pvi& p = pvis[j];
        if (p.length <= 0 || j == 0 || j + 1 == pvis.size())
            continue;
        const double bvc = p.chainage - p.length / 2;
        if (x < bvc || x > p.chainage + p.length / 2)
            continue;
        const double gIn = grade(pvis[j - 1], p), gOut = grade(p, pvis[j + 1]);
        const double d = x - bvc;
        return p.level - gIn * p.length / 2 + gIn * d + (gOut - gIn) / (2 * p.length) * d * d;
    }
    const Pvi& a = pvis[i - 1];
    return a.level + grade(a, pvis[i]) * (x - a.chainage);
}

std::vector<PviReadout> alignmentReadouts(const std::vector<Pvi>& pvis)
{
    std::vector<PviReadout> out(pvis.size());
    for (std::size_t i = 0; i < pvis.size(); ++i) {
        const Pvi& p = pvis[i];
        PviReadout& r = out[i];
        if (i > 0 && pvis[i - 1].chainage != p.chainage)
            r.gradeIn = grade(pvis[i - 1], p);
        if (i + 1 < pvis.size() && pvis[i + 1].chainage != p.chainage)
            r.gradeOut = grade(p, pvis[i + 1]);
        r.bvc = r.evc = p.chainage;
        r.bvcLevel = r.evcLevel = p.level;
        if (!r.gradeIn || !r.gradeOut)
            continue;
        const double gIn = *r.gradeIn, gOut = *r.gradeOut;
        r.a = gOut - gIn;
        r.crest = gOut < gIn;
        if (p.length <= 0)
            continue;
        const double half = p.length / 2;
        r.bvc = p.chainage - half;
        r.evc = p.chainage + half;
        r.bvcLevel = p.level - gIn * half;
        r.evcLevel = p.level + gOut * half;
        if (*r.a == 0)
            continue;
        r.k = p.length / std::fabs(*r.a * 100);
        // Where the curve's slope g_in + A (x - BVC) / L is nought.
        const double d = -gIn * p.length / *r.a;
        if (d >= 0 && d <= p.length) {
            r.turningChainage = r.bvc + d;
            r.turningLevel = r.bvcLevel + gIn * d + *r.a / (2 * p.length) * d * d;
        }
    }
    return out;
}

} // namespace tarmela::formation
