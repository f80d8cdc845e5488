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
// Texts 2 mm high on paper (the levels 1.75 mm, a turned 7-point figure), as the sheet's
// labels are measured.
constexpr float TextHeight = 0.2f;
constexpr float LevelTextHeight = 0.175f;

} // namespace

CrossSectionDrawing::CrossSectionDrawing(DxfWriter& out, const CrossDistances& distances,
                                         int sectionsPerPage, int viewSections)
    : m_out(out), m_distances(distances), m_sectionsPerPage(sectionsPerPage),
      m_viewSections(viewSections)
{
}

SectionSlot CrossSectionDrawing::slot() const
{
    const float slotHeight = (SheetTop - 2.5f * Unit) / float(m_sectionsPerPage);
    SectionSlot slot;
    slot.boxWidth = double(FigureWidth) * 10;
    slot.bandHeight = 10;
    slot.room = double(slotHeight - 2 * Unit) * 10;
    // The row of texts spans the frame, less 2 mm either side.
    slot.rowLeft = -double(SheetWidth / 2 - 1) * 10 + 2;
    slot.rowRight = -slot.rowLeft;
    return slot;
}

void CrossSectionDrawing::DxfCrossSheet(const std::vector<RlRow>& rows)
{
    m_out.setLayer("FRAME"sv);
    m_out.setTextHeight(TextHeight);
    m_out.DxfBox(SheetLeft + 1, SheetTop - 1, SheetRight - 1, SheetBottom + 1);

    std::vector<SectionFigure> figures;
    for (const RlRow& r : rows)
        figures.push_back(sectionFigure(r, m_distances, m_viewSections));
    std::vector<const SectionFigure*> all;
    for (const SectionFigure& f : figures)
        all.push_back(&f);
    const SectionSlot room = slot();
    const SheetScales scales = sheetScales(all, room);
    // The sheet's scales in the foot of its frame.
    m_out.setLayer("TEXT"sv);
    m_out.DxfText(SheetLeft + Margin25, SheetBottom + 1.3f,
                  ("SCALE " + scalesText(scales)).toLatin1().toStdString());

    const float slotHeight = (SheetTop - 2.5f * Unit) / float(m_sectionsPerPage);
    float y = SheetTop - slotHeight + Unit; // top of the first figure box
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const RlRow& r = rows[n];
        const SectionPlan plan = planSection(figures[n], {r.chainage, r.fillArea, r.cutArea}, room,
                                             scales, QLocale::c());
        section(figures[n], plan, y, scales);
        y -= slotHeight;
    }
}

void CrossSectionDrawing::section(const SectionFigure& f, const SectionPlan& plan, float y,
                                  const SheetScales& scales)
{
    const float boxX = SheetLeft + Margin25;
    const float centreX = SheetLeft + SheetWidth / 2;
    const double across = scales.mmPerMetreAcross() / 10, up = scales.mmPerMetreUp() / 10;
    auto X = [&](double offset) { return float(centreX + offset * across); };
    auto Y = [&](double level) { return float(y + (level - plan.datum) * up); };
    auto segments = [&](std::string_view layer, const std::vector<FigureSegment>& list) {
        // Each outline as polylines, so that a drafter picks the ground line as one object.
        m_out.setLayer(layer);
        DxfPath path(m_out);
        for (const FigureSegment& s : list)
            path.segment(X(s.a.offset), Y(s.a.level), X(s.b.offset), Y(s.b.level));
        path.end();
    };

    m_out.setLayer("BANDS"sv);
    m_out.DxfBox(boxX, y, boxX + FigureWidth, y - 2 * Unit);
    m_out.DxfLine(boxX, y - Unit, boxX + FigureWidth, y - Unit);
    const float captionX = (boxX + FigureWidth + SheetRight - 1) / 2;
    m_out.DxfText(0, 0, "EX. LEVEL"sv, false, 4, captionX, y - Unit / 2);
    m_out.DxfText(0, 0, "PR. LEVEL"sv, false, 4, captionX, y - 1.5f * Unit);
    for (const FigureTick& t : f.groundTicks)
        m_out.DxfLine(X(t.offset), y, X(t.offset), y - Unit);
    for (const FigureTick& t : f.formationTicks)
        m_out.DxfLine(X(t.offset), y - Unit, X(t.offset), y - 2 * Unit);
    m_out.setLayer("CENTRE"sv);
    m_out.DxfLine(centreX, y + float(plan.figureTop / 10), centreX, y - 2 * Unit);

    segments("GROUND"sv, f.ground);
    // The formation and its side slopes make one outline.
    std::vector<FigureSegment> outline = f.formation;
    outline.insert(outline.end(), f.slopes.begin(), f.slopes.end());
    segments("FORMATION"sv, outline);
    segments("CARRIED"sv, f.slopesCarried);
    segments("CARRIED"sv, f.groundCarried);

    // The texts where the section's plan puts them, each centred in its box.
    for (const SectionLabel& t : plan.labels) {
        const bool band = t.kind != LabelKind::Chainage && t.kind != LabelKind::Datum &&
                          t.kind != LabelKind::FillArea && t.kind != LabelKind::CutArea;
        m_out.setLayer(band ? "BANDS"sv : "TEXT"sv);
        m_out.setTextHeight(t.turned ? LevelTextHeight : TextHeight);
        const float cx = float(centreX + t.centreX() / 10), cy = float(y + t.centreY() / 10);
        m_out.DxfText(cx, cy, t.text, t.turned, 4, cx, cy);
    }
    m_out.setTextHeight(TextHeight);
}

CrossSectionRoad readCrossSectionRoad(Database& db, std::int64_t road)
{
    roads::get(db, road); // a clear message for a road that does not exist
    CrossSectionRoad read;
    read.distances = roads::crossDistances(db, road);
    if (!db.tableExists(schema::rlTable(road)))
        throw Error(ErrorKind::TableMissing,
                    QStringLiteral("Road %1 has no RL sheet; generate its sheets first").arg(road));
    RlRowReader reader = RlRowStore(db, road).all();
    RlRow row;
    while (reader.next(row))
        read.rows.push_back(row);
    return read;
}

void ExportCrossSectionsDxf(Database& db, std::int64_t road, const DxfOptions& o,
                            const QString& target)
{
    if (o.sectionsPerPage < 1)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("The number of sections per page must be at least 1"));
    // The rows first: the drawing's extents, in its header, follow from how many sheets it has.
    const CrossSectionRoad read = readCrossSectionRoad(db, road);
    const CrossDistances& distances = read.distances;
    const std::vector<RlRow>& all = read.rows;
    const std::size_t perSheet = std::size_t(o.sectionsPerPage);
    const std::size_t sheets = (all.size() + perSheet - 1) / perSheet;
    const float width = float(sheets) * (CrossSectionDrawing::SheetWidth + 2) - 2;

    // Without rows the template's own extents (one sheet) stand.
    std::optional<DxfExtents> extents;
    if (sheets > 0)
        extents =
            DxfExtents{0, CrossSectionDrawing::SheetBottom, width, CrossSectionDrawing::SheetTop};
    DxfWriter out(QDir(o.templateFolder).filePath(QStringLiteral("HeaderX.dxf")), target, extents);
    CrossSectionDrawing drawing(out, distances, o.sectionsPerPage, o.viewSections);
    for (std::size_t first = 0; first < all.size(); first += perSheet) {
        const std::vector<RlRow> sheet(all.begin() + std::ptrdiff_t(first),
                                       all.begin() +
                                           std::ptrdiff_t(std::min(all.size(), first + perSheet)));
        drawing.SheetRight = drawing.SheetLeft + CrossSectionDrawing::SheetWidth;
        drawing.DxfCrossSheet(sheet);
        drawing.SheetLeft = drawing.SheetRight + 2.0f;
    }
    out.finish();
}

} // namespace tarmela
