// The cross-section drawing: every section of a road with its ground line, formation, side
// slopes and the two-band figure box of offsets and levels.
//
// An empty cell never stops the drawing: a missing ground reading is passed over (the next one
// is measured from the last drawn point), a missing formation level or width leaves out the
// parts that need it, and a side slope that is empty or zero is not drawn.
#include "export/CrossSectionDxf.h"

#include "export/DxfDrawings.h"
#include "export/DxfNumbers.h"
#include "export/DxfWriter.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"

#include <QDir>
#include <cmath>
#include <string>
#include <string_view>

namespace tarmela {

using namespace std::string_view_literals;

namespace {

constexpr float Unit = 1.0f; // one metre of the road, 1 cm of paper
constexpr float Margin25 = 2.5f;
constexpr float FigureWidth = 16.0f;
constexpr float Gap053 = 0.0529f;
constexpr float Gap088 = 0.0882f;
constexpr float Gap002 = 0.02f;
constexpr float TextHeight = 0.15f;

std::string labelled(std::string_view before, double value, std::string_view after)
{
    std::string s(before);
    s.append(dxf::stored(value).view());
    s.append(after);
    return s;
}

} // namespace

bool IntersectLinesF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                     float& x, float& y)
{
    const double a1 = double(y2) - y1, b1 = double(x1) - x2;
    const double c1 = double(x1) * y2 - double(x2) * y1;
    const double a2 = double(y4) - y3, b2 = double(x3) - x4;
    const double c2 = double(x3) * y4 - double(x4) * y3;
    const double det = a1 * b2 - a2 * b1;
    if (det == 0)
        return false;
    const double px = (b2 * c1 - b1 * c2) / det;
    const double py = (a1 * c2 - a2 * c1) / det;
    if (!std::isfinite(px) || !std::isfinite(py))
        return false;
    x = float(px);
    y = float(py);
    return true;
}

CrossSectionDrawing::CrossSectionDrawing(DxfWriter& out, const CrossDistances& distances,
                                         int sectionsPerPage)
    : m_out(out), m_sectionsPerPage(sectionsPerPage)
{
    for (int i = 0; i < 8; ++i) {
        m_left[i] = float(distances.left[i]);
        m_right[i] = float(distances.right[i]);
        m_leftText[i] = std::string(dxf::twoDecimals(m_left[i]).view());
        m_rightText[i] = std::string(dxf::twoDecimals(m_right[i]).view());
    }
}

bool CrossSectionDrawing::DxfCrossSheet(RlRowReader& rows, RlRow& row)
{
    m_out.setLayer("0"sv);
    m_out.setTextHeight(TextHeight);
    m_out.DxfBox(SheetLeft + 1, SheetTop - 1, SheetRight - 1, SheetBottom + 1);

    const float slotHeight = (SheetTop - 2.5f * Unit) / float(m_sectionsPerPage);
    float y = SheetTop - slotHeight + Unit; // top of the first figure box
    bool more = true;
    for (int n = 0; n < m_sectionsPerPage && more; ++n) {
        section(row, y);
        more = rows.next(row);
        y -= slotHeight;
    }
    return more;
}

void CrossSectionDrawing::section(const RlRow& r, float y)
{
    const float boxX = SheetLeft + Margin25;
    const float centreX = SheetLeft + SheetWidth / 2;

    m_out.setLayer("EXISTING"sv);
    m_out.DxfText(0, 0, "EXISTING LEVEL"sv, false, 2, SheetRight - Margin25, y - Unit / 2);
    m_out.setLayer("PROPOSED"sv);
    m_out.DxfText(0, 0, "PROPOSED LEVEL"sv, false, 2, SheetRight - Margin25, y - 1.5f * Unit);

    m_out.setLayer("0"sv);
    m_out.DxfBox(boxX, y, boxX + FigureWidth, y - 2 * Unit);
    m_out.DxfLine(boxX, y - Unit, boxX + FigureWidth, y - Unit);
    m_out.DxfLine(centreX, y + 3 * Unit, centreX, y - 2 * Unit);

    m_out.DxfText(0, 0, labelled("FILL AREA = "sv, r.fillArea, " SQM"sv), false, 2,
                  boxX + FigureWidth, y + 2.6f * Unit - Gap053);
    m_out.DxfText(0, 0, labelled("CUT AREA = "sv, r.cutArea, " SQM"sv), false, 2,
                  boxX + FigureWidth, y + 2.2f * Unit - Gap053);
    m_out.DxfText(boxX, y + 3 * Unit - Gap053, labelled("CHAINAGE = "sv, r.chainage, {}));

    // The datum lies 0.3 below the lowest ground level in use (1000 caps a wild value).
    float lowest = 1000.0f;
    auto lower = [&lowest](double v) {
        if (present(v) && v > 0 && float(v) < lowest)
            lowest = float(v);
    };
    for (double v : r.left)
        lower(v);
    lower(r.centre);
    for (double v : r.right)
        lower(v);
    const float datum = lowest - 0.3f;
    std::string datumText("DATUM = ");
    datumText.append(dxf::twoDecimals(datum).view());
    m_out.DxfText(boxX, y + Unit / 2, datumText);

    m_out.setLayer("EXISTING"sv);
    Point centre{centreX, 0, present(r.centre)};
    if (centre.drawn) {
        centre.y = y + (float(r.centre) - datum) * Unit;
        m_out.DxfText(centreX - Gap002, y - Unit + Gap088, dxf::stored(r.centre).view(), true);
    }
    const Point outerLeft = groundSide(r, y, datum, centre, true);
    const Point outerRight = groundSide(r, y, datum, centre, false);

    m_out.setLayer("PROPOSED"sv);
    Point fc{centreX, 0, present(r.fc)};
    if (fc.drawn) {
        fc.y = y + (float(r.fc) - datum) * Unit;
        m_out.DxfText(centreX - Gap002, y - 2 * Unit + Gap088, dxf::stored(r.fc).view(), true);
    }
    const Point fl2 = formationSide(r, y, datum, fc, true);
    const Point fr2 = formationSide(r, y, datum, fc, false);

    sideSlope(fl2, outerLeft, r.leftSlope, true);
    sideSlope(fr2, outerRight, r.rightSlope, false);
}

CrossSectionDrawing::Point CrossSectionDrawing::groundSide(const RlRow& r, float y, float datum,
                                                           Point previous, bool leftSide)
{
    const auto& levels = leftSide ? r.left : r.right;
    const auto& distances = leftSide ? m_left : m_right;
    const auto& distanceTexts = leftSide ? m_leftText : m_rightText;
    for (int i = 0; i < 8; ++i) {
        const double level = levels[i];
        if (!present(level))
            continue;
        const float x =
            leftSide ? previous.x - Unit * distances[i] : previous.x + Unit * distances[i];
        const float ly = y + (float(level) - datum) * Unit;
        m_out.setLayer("EXISTING"sv);
        if (previous.drawn)
            m_out.DxfLine(x, ly, previous.x, previous.y);
        m_out.setLayer("0"sv);
        m_out.DxfLine(x, y, x, y - Unit);
        m_out.setLayer("EXISTING"sv);
        m_out.DxfText(0, 0, distanceTexts[i], false, 4, (x + previous.x) / 2, y + Gap002);
        m_out.DxfText(x - Gap002, y - Unit + Gap088, dxf::stored(level).view(), true);
        previous = Point{x, ly, true};
    }
    return previous;
}

CrossSectionDrawing::Point CrossSectionDrawing::formationSide(const RlRow& r, float y, float datum,
                                                              Point previous, bool leftSide)
{
    if (!present(r.width))
        return Point{};
    const float sign = leftSide ? -1.0f : 1.0f;
    const float quarter = float(r.width) / 4;
    const double levels[2] = {leftSide ? r.fl1 : r.fr1, leftSide ? r.fl2 : r.fr2};
    const dxf::NumberText quarterText = dxf::twoDecimals(r.width / 4);
    for (int k = 0; k < 2; ++k) {
        Point p{previous.x + sign * quarter * Unit, 0, present(levels[k])};
        if (p.drawn) {
            p.y = y + (float(levels[k]) - datum) * Unit;
            if (previous.drawn)
                m_out.DxfLine(previous.x, previous.y, p.x, p.y);
            m_out.DxfLine(p.x, y - Unit, p.x, y - 2 * Unit);
            m_out.DxfText(p.x, y - Unit - Gap053, quarterText.view(), false, 4,
                          (p.x + previous.x) / 2, y - Unit - Gap002 - Gap053);
            m_out.DxfText(p.x - Gap002, y - 2 * Unit + Gap088, dxf::stored(levels[k]).view(), true);
        }
        previous = p;
    }
    return previous;
}

void CrossSectionDrawing::sideSlope(const Point& edge, const Point& ground, double slope,
                                    bool leftSide)
{
    if (!edge.drawn || !ground.drawn || !present(slope) || slope == 0)
        return;
    // The slope runs outwards and downwards from the formation edge, slope metres across for
    // one metre down; it meets the ground carried on level from the outermost reading.
    double angle = std::atan(1.0 / slope);
    if (leftSide)
        angle = -angle;
    const float side = leftSide ? -1.0f : 1.0f;
    const float dx = float(side * Unit * std::cos(angle));
    const float dy = float(side * Unit * std::sin(angle));
    float ix = 0, iy = 0;
    if (!IntersectLinesF(ground.x + side * Unit, ground.y, ground.x, ground.y, edge.x, edge.y,
                         edge.x + dx, edge.y - dy, ix, iy))
        return;
    m_out.setLayer("EXISTING"sv);
    m_out.DxfLine(ground.x, ground.y, ix, iy);
    m_out.setLayer("PROPOSED"sv);
    m_out.DxfLine(edge.x, edge.y, ix, iy);
}

void ExportCrossSectionsDxf(Database& db, std::int64_t road, const DxfOptions& o,
                            const QString& target)
{
    if (o.sectionsPerPage < 1)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("The number of sections per page must be at least 1"));
    roads::get(db, road); // a clear message for a road that does not exist
    const CrossDistances distances = roads::crossDistances(db, road);
    if (!db.tableExists(schema::rlTable(road)))
        throw Error(ErrorKind::TableMissing,
                    QStringLiteral("Road %1 has no RL sheet; generate its sheets first").arg(road));
    RowReader query(db, QStringLiteral("SELECT * FROM %1 ORDER BY Chainage")
                            .arg(quoteName(schema::rlTable(road))));
    RlRowReader rows(query);

    DxfWriter out(QDir(o.templateFolder).filePath(QStringLiteral("HeaderX.dxf")), target);
    CrossSectionDrawing drawing(out, distances, o.sectionsPerPage);
    RlRow row;
    bool more = rows.next(row);
    while (more) {
        drawing.SheetRight = drawing.SheetLeft + CrossSectionDrawing::SheetWidth;
        more = drawing.DxfCrossSheet(rows, row);
        drawing.SheetLeft = drawing.SheetRight + 2.0f;
    }
    out.finish();
}

} // namespace tarmela
