#include "drawing/CrossSectionSheet.h"

#include "store/Numbers.h"

#include <algorithm>
#include <cmath>

namespace tarmela
{

namespace
{

constexpr double kMmPerPoint = 25.4 / 72;
constexpr double kLevelPoints = 7; // the turned levels fit the 10 mm bands
constexpr double kGap = 0.3;       // between labels, and between a label and its line
constexpr double kTickGap = 0.25;  // between a turned level and its tick

// Advance widths of Arial in ems; the labels are measured with them on every output, so that
// the screen, the PDF and the drawing file thin them alike.
double advance(QChar c)
{
    const char a = c.toLatin1();
    if (a >= '0' && a <= '9')
        return 0.556;
    switch (a) {
    case '.':
    case ',':
    case ' ':
    case ':':
    case '/':
    case 'I':
    case 'i':
    case 'l':
        return 0.278;
    case '-':
        return 0.333;
    case '=':
        return 0.584;
    case 'M':
    case 'm':
        return 0.833;
    case 'W':
        return 0.944;
    default:
        return c.isUpper() ? 0.722 : 0.556;
    }
}

QString stored(double v)
{
    return std::isnan(v) ? QString() : plainDecimal(v);
}

QString widest(LabelKind kind)
{
    switch (kind) {
    case LabelKind::Chainage:
        return QStringLiteral("CHAINAGE = 9999.999");
    case LabelKind::Datum:
        return QStringLiteral("DATUM = 999.99");
    case LabelKind::FillArea:
        return QStringLiteral("FILL AREA = 9999.999 SQM");
    default:
        return QStringLiteral("CUT AREA = 9999.999 SQM");
    }
}

// Two rows of texts at the top of a slot unless the four fit in one.
int textRows(const SectionSlot& slot)
{
    double all = 3 * 4;
    for (LabelKind k :
         {LabelKind::Chainage, LabelKind::Datum, LabelKind::FillArea, LabelKind::CutArea})
        all += labelWidthMm(widest(k));
    return all <= slot.rowRight - slot.rowLeft ? 1 : 2;
}

struct Zone {
    double bottom, top, half;
};

// The band the ground and formation are drawn in: above the row of intervals on the box, and
// either below the row(s) of texts at the top of the slot, the box's width across, or up to the
// top of the slot between the texts standing in two rows at either end.
Zone figureZone(const SectionSlot& slot, bool beside)
{
    const double row = labelHeightMm();
    const double bottom = kGap + row + 0.5;
    const double levelRoom = labelHeightMm(kLevelPoints) + kTickGap + 0.5;
    double half = slot.boxWidth / 2 - levelRoom, top = 0;
    if (beside) {
        const double left = std::max(labelWidthMm(widest(LabelKind::Chainage)),
                                     labelWidthMm(widest(LabelKind::Datum)));
        const double right = std::max(labelWidthMm(widest(LabelKind::FillArea)),
                                      labelWidthMm(widest(LabelKind::CutArea)));
        half = std::min({half, -slot.rowLeft - left - 2, slot.rowRight - right - 2});
        top = slot.room - 0.5;
    } else {
        top = slot.room - 0.5 - textRows(slot) * row - 0.5;
    }
    return {bottom, std::max(top, bottom + 0.5), std::max(half, 1.0)};
}

// Kept labels, and the lines a label must not cross.
class Thinning
{
public:
    explicit Thinning(const SectionSlot& slot) : m_half(slot.boxWidth / 2) {}

    void keep(const SectionLabel& l) { m_kept.push_back(l); }
    void obstacle(double x, double bottom, double top)
    {
        m_lines.push_back({LabelKind::Chainage, {}, x, bottom, 0, top - bottom});
    }
    // Offers candidates of one kind: the centre first, then from the outermost inwards.
    void offer(std::vector<std::pair<double, SectionLabel>> candidates)
    {
        std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
            const bool ca = std::abs(a.first) < 1e-9, cb = std::abs(b.first) < 1e-9;
            if (ca != cb)
                return ca;
            return std::abs(a.first) > std::abs(b.first);
        });
        for (const auto& [at, l] : candidates) {
            if (l.left < -m_half - 1e-9 || l.left + l.width > m_half + 1e-9)
                continue;
            const bool clear =
                std::none_of(m_kept.begin(), m_kept.end(),
                             [&](const SectionLabel& k) { return l.touches(k, kGap); }) &&
                std::none_of(m_lines.begin(), m_lines.end(),
                             [&](const SectionLabel& k) { return l.touches(k, kTickGap / 2); });
            if (clear)
                m_kept.push_back(l);
        }
    }
    std::vector<SectionLabel> result() const { return m_kept; }

private:
    double m_half;
    std::vector<SectionLabel> m_kept, m_lines;
};

} // namespace

bool SectionLabel::touches(const SectionLabel& o, double gap) const
{
    return left < o.left + o.width + gap && o.left < left + width + gap &&
           bottom < o.bottom + o.height + gap && o.bottom < bottom + height + gap;
}

double labelWidthMm(const QString& text, double points)
{
    double ems = 0;
    for (QChar c : text)
        ems += advance(c);
    // A little more than Arial takes, for the drawing file's own fonts.
    return ems * points * kMmPerPoint * 1.08;
}

double labelHeightMm(double points)
{
    return points * kMmPerPoint * 1.2;
}

int standardScale(double metres, double mm)
{
    if (!(metres > 0))
        return 100;
    for (double decade = 100;; decade *= 10)
        for (double k : {1.0, 2.0, 2.5, 5.0}) {
            const double n = decade * k;
            if (metres * 1000 / n <= mm + 1e-9 || n >= 1e9)
                return int(n);
        }
}

SheetScales sheetScales(const std::vector<const SectionFigure*>& figures, const SectionSlot& slot)
{
    double reach = 0, rise = 0;
    for (const SectionFigure* f : figures) {
        reach = std::max({reach, f->leftExtent, f->rightExtent});
        if (f->drawsLevels())
            rise = std::max(rise, f->high - f->low);
    }
    // The texts above the figure or beside it, whichever draws it larger.
    SheetScales best;
    for (bool beside : {false, true}) {
        const Zone zone = figureZone(slot, beside);
        const SheetScales s{standardScale(reach, zone.half),
                            standardScale(rise, zone.top - zone.bottom), beside};
        if (!beside || double(s.across) * s.up < double(best.across) * best.up)
            best = s;
    }
    return best;
}

SectionPlan planSection(const SectionFigure& f, const SectionTexts& t, const SectionSlot& slot,
                        const SheetScales& scales, const QLocale& locale)
{
    SectionPlan plan;
    const Zone zone = figureZone(slot, scales.textsBeside);
    plan.figureBottom = zone.bottom;
    plan.figureTop = zone.top;
    const double up = scales.mmPerMetreUp(), across = scales.mmPerMetreAcross();
    // The datum, to the hundredth below, puts the lowest level drawn on the zone's bottom.
    plan.datum = f.drawsLevels() ? std::floor((f.low - zone.bottom / up) * 100) / 100 : 0;

    const double row = labelHeightMm(), band = slot.bandHeight;
    auto text = [&](LabelKind kind, const QString& s, double left, double bottom) {
        return SectionLabel{kind, s, left, bottom, labelWidthMm(s), row, false};
    };
    Thinning thin(slot);

    // The texts at the top of the slot: chainage and datum from the left, the areas from the
    // right, on one row or two.
    const QString chainage = "CHAINAGE = " + stored(t.chainage);
    const QString datum = "DATUM = " + locale.toString(plan.datum, 'f', 2);
    const QString fill = "FILL AREA = " + stored(t.fillArea) + " SQM";
    const QString cut = "CUT AREA = " + stored(t.cutArea) + " SQM";
    const double top = slot.room - 0.5 - row;
    if (!scales.textsBeside && textRows(slot) == 1) {
        const SectionLabel c = text(LabelKind::Chainage, chainage, slot.rowLeft, top);
        const SectionLabel u =
            text(LabelKind::CutArea, cut, slot.rowRight - labelWidthMm(cut), top);
        thin.keep(c);
        thin.keep(u);
        thin.keep(text(LabelKind::Datum, datum, c.left + c.width + 4, top));
        thin.keep(text(LabelKind::FillArea, fill, u.left - 4 - labelWidthMm(fill), top));
    } else {
        thin.keep(text(LabelKind::Chainage, chainage, slot.rowLeft, top));
        thin.keep(text(LabelKind::FillArea, fill, slot.rowRight - labelWidthMm(fill), top));
        thin.keep(text(LabelKind::Datum, datum, slot.rowLeft, top - row));
        thin.keep(text(LabelKind::CutArea, cut, slot.rowRight - labelWidthMm(cut), top - row));
    }

    // Lines the labels must not cross: the centre line, and every tick in its band.
    thin.obstacle(0, -2 * band, zone.top);
    for (const FigureTick& k : f.groundTicks)
        thin.obstacle(k.offset * across, -band, 0);
    for (const FigureTick& k : f.formationTicks)
        thin.obstacle(k.offset * across, -2 * band, -band);

    const double levelRow = labelHeightMm(kLevelPoints);
    auto level = [&](LabelKind kind, double offset, double value, double bandBottom) {
        const QString s = locale.toString(value, 'f', 2);
        const double x = offset * across;
        return std::pair{offset, SectionLabel{kind, s, x - kTickGap - levelRow, bandBottom + 0.8,
                                              levelRow, labelWidthMm(s, kLevelPoints), true}};
    };
    auto levels = [&](LabelKind kind, const std::vector<FigureTick>& ticks, bool hasMiddle,
                      double middle, double bandBottom) {
        std::vector<std::pair<double, SectionLabel>> c;
        if (hasMiddle)
            c.push_back(level(kind, 0, middle, bandBottom));
        for (const FigureTick& k : ticks)
            c.push_back(level(kind, k.offset, k.level, bandBottom));
        thin.offer(c);
    };
    levels(LabelKind::GroundLevel, f.groundTicks, f.hasCentre, f.centre, -band);
    levels(LabelKind::FormationLevel, f.formationTicks, f.hasFc, f.fc, -2 * band);

    auto intervals = [&](LabelKind kind, const std::vector<FigureTick>& ticks, double bottom) {
        std::vector<std::pair<double, SectionLabel>> c;
        for (const FigureTick& k : ticks) {
            const QString s = locale.toString(k.interval, 'f', 2);
            const double w = labelWidthMm(s);
            const double mid = (k.offset + k.prevOffset) / 2;
            c.push_back({mid, text(kind, s, mid * across - w / 2, bottom)});
        }
        thin.offer(c);
    };
    intervals(LabelKind::GroundInterval, f.groundTicks, kGap);
    intervals(LabelKind::FormationWidth, f.formationTicks, -band - kGap - row);
    plan.labels = thin.result();
    return plan;
}

QString scalesText(const SheetScales& s)
{
    return QStringLiteral("H 1:%1  V 1:%2").arg(s.across).arg(s.up);
}

} // namespace tarmela
