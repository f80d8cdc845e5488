// The cross-section drawing: every section of a road with its ground line, formation, side
// slopes and the two-band figure box of offsets and levels.
//
// The geometry of a section comes from sectionFigure, which the cross-section pages draw too:
// an empty cell never stops the drawing, it leaves out only what needs it.
#include "export/CrossSectionDxf.h"

#include "export/DxfDrawings.h"
#include "export/DxfNumbers.h"
#include "export/DxfWriter.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/RlRowStore.h"
#include "store/Schema.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

namespace tarmela
{

using namespace std::string_view_literals;

namespace
{

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

CrossSectionDrawing::CrossSectionDrawing(DxfWriter& out, const CrossDistances& distances,
                                         int sectionsPerPage)
    : m_out(out), m_distances(distances), m_sectionsPerPage(sectionsPerPage)
{
}

void CrossSectionDrawing::DxfCrossSheet(const std::vector<RlRow>& rows)
{
    m_out.setLayer("0"sv);
    m_out.setTextHeight(TextHeight);
    m_out.DxfBox(SheetLeft + 1, SheetTop - 1, SheetRight - 1, SheetBottom + 1);

    std::vector<SectionFigure> figures;
    double reach = 0;
    for (const RlRow& r : rows) {
        figures.push_back(sectionFigure(r, m_distances));
        reach = std::max({reach, figures.back().leftExtent, figures.back().rightExtent});
    }
    const int scale = sheetScale(reach, FigureWidth / 2);
    const double halfWidth = FigureWidth / 2 * scale / 100.0;
    if (scale != 100) {
        m_out.setLayer("0"sv);
        m_out.DxfText(SheetLeft + Margin25, SheetBottom + 1.3f,
                      scaleNote(scale).toLatin1().toStdString());
    }

    const float slotHeight = (SheetTop - 2.5f * Unit) / float(m_sectionsPerPage);
    float y = SheetTop - slotHeight + Unit; // top of the first figure box
    for (std::size_t n = 0; n < rows.size(); ++n) {
        if (reach > halfWidth)
            clipFigure(figures[n], halfWidth);
        section(rows[n], figures[n], y, scale);
        y -= slotHeight;
    }
}

void CrossSectionDrawing::section(const RlRow& r, const SectionFigure& f, float y, int scale)
{
    const float boxX = SheetLeft + Margin25;
    const float centreX = SheetLeft + SheetWidth / 2;
    const double across = double(Unit) * 100.0 / scale;
    auto X = [&](double offset) { return float(centreX + offset * across); };
    auto Y = [&](double level) { return float(y + (level - f.datum) * Unit); };
    auto segment = [&](const FigureSegment& s) {
        m_out.DxfLine(X(s.a.offset), Y(s.a.level), X(s.b.offset), Y(s.b.level));
    };

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
    std::string datumText("DATUM = ");
    datumText.append(dxf::twoDecimals(f.datum).view());
    m_out.DxfText(boxX, y + Unit / 2, datumText);

    m_out.setLayer("EXISTING"sv);
    if (f.hasCentre)
        m_out.DxfText(centreX - Gap002, y - Unit + Gap088, dxf::stored(f.centre).view(), true);
    for (const FigureSegment& s : f.ground)
        segment(s);
    for (const FigureTick& t : f.groundTicks) {
        const float x = X(t.offset);
        m_out.setLayer("0"sv);
        m_out.DxfLine(x, y, x, y - Unit);
        m_out.setLayer("EXISTING"sv);
        m_out.DxfText(0, 0, dxf::twoDecimals(t.interval).view(), false, 4,
                      (x + X(t.prevOffset)) / 2, y + Gap002);
        m_out.DxfText(x - Gap002, y - Unit + Gap088, dxf::stored(t.level).view(), true);
    }

    m_out.setLayer("PROPOSED"sv);
    if (f.hasFc)
        m_out.DxfText(centreX - Gap002, y - 2 * Unit + Gap088, dxf::stored(f.fc).view(), true);
    for (const FigureSegment& s : f.formation)
        segment(s);
    for (const FigureTick& t : f.formationTicks) {
        const float x = X(t.offset);
        m_out.DxfLine(x, y - Unit, x, y - 2 * Unit);
        m_out.DxfText(x, y - Unit - Gap053, dxf::twoDecimals(t.interval).view(), false, 4,
                      (x + X(t.prevOffset)) / 2, y - Unit - Gap002 - Gap053);
        m_out.DxfText(x - Gap002, y - 2 * Unit + Gap088, dxf::stored(t.level).view(), true);
    }

    // The ground carried level out to each side slope, and the slopes.
    m_out.setLayer("EXISTING"sv);
    for (const FigureSegment& s : f.groundCarried)
        segment(s);
    m_out.setLayer("PROPOSED"sv);
    for (const FigureSegment& s : f.slopes)
        segment(s);
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
    RlRowReader rows = RlRowStore(db, road).all();

    DxfWriter out(QDir(o.templateFolder).filePath(QStringLiteral("HeaderX.dxf")), target);
    CrossSectionDrawing drawing(out, distances, o.sectionsPerPage);
    std::vector<RlRow> sheet;
    RlRow row;
    bool more = rows.next(row);
    while (more) {
        sheet.clear();
        while (more && int(sheet.size()) < o.sectionsPerPage) {
            sheet.push_back(row);
            more = rows.next(row);
        }
        drawing.SheetRight = drawing.SheetLeft + CrossSectionDrawing::SheetWidth;
        drawing.DxfCrossSheet(sheet);
        drawing.SheetLeft = drawing.SheetRight + 2.0f;
    }
    out.finish();
}

} // namespace tarmela
