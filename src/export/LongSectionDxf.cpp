// The longitudinal-section drawing: per sheet a level grid with the profiles of the existing
// centre line, the outermost left and right ground readings and the formation, over six bands
// of figures (chainage, formation level, gradient, centre, left and right levels).
//
// The sheet shows what the printed page shows, from the same figures: the outermost shown
// reading of each side, an empty value left empty in the bands and breaking its profile, one
// gradient per straight grade, and the page's datum and vertical scale, written on the sheet.
#include "export/LongSectionDxf.h"

#include "drawing/SectionSources.h"
#include "export/DxfNumbers.h"
#include "export/DxfWriter.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/RlRowStore.h"
#include "store/Roads.h"
#include "store/Schema.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <string>

namespace tarmela
{

using namespace std::string_view_literals;

namespace
{

constexpr float SheetOffset = 1.0f;
constexpr float GridWidth = 28.0f; // 20 x 1.4
constexpr float ChainageScale = 28.0f * 0.001f;
constexpr std::string_view kNoRecords = "There are no records to display for the current road!";
const char* const kBandTitles[LongSectionLayout::BandRows] = {"CHAIN", "FC",    "GRAD", "CEN",
                                                              "LEFT",  "RIGHT", "FC-C"};

} // namespace

LongSectionDrawing::LongSectionDrawing(DxfWriter& out, Database& db, std::int64_t road,
                                       const DxfOptions& o, double interval)
    : m_out(out), m_options(o), m_chainageStep(float(interval) * ChainageScale), m_rows(db, road),
      m_culverts(db, road)
{
}

float LongSectionDrawing::sheetLeft(std::int64_t k)
{
    return float(double(SheetOffset) + double(k) * (double(SheetWidth) + 2.0));
}

float LongSectionDrawing::LevelY(float level) const
{
    return (level - SheetDatum) / SheetStep * LevelHeight + LevelHeight + BandTop;
}

void LongSectionDrawing::DxfBandText(float row, float x, std::string_view text)
{
    // A turned text's glyphs lie left of its insertion point: the figure stands right of its
    // chainage's line, as on the printed page, clear of it and of the titles left of the grid.
    m_out.DxfText(x + 0.04f + TextHeight, BandTop - (row + 1) * BandHeight + 0.04f, text, true);
}

bool LongSectionDrawing::DxfLongSheet(const std::vector<RlRow>& rows)
{
    if (rows.empty())
        return false;

    m_out.setTextHeight(TextHeight);
    m_out.setLayer("GRID"sv);
    if (m_options.lsectionGrid)
        m_out.DxfGrid(SheetLeft, SheetTop, SheetRight, BandTop, m_chainageStep, LevelHeight);
    m_out.DxfGrid(SheetLeft, BandTop, SheetRight, BandBottom, m_chainageStep, BandHeight);

    m_out.setLayer("FRAME"sv);
    // The outer frame a quarter unit inside the sheet's sides and top, half a unit above its foot.
    m_out.DxfBox(SheetLeft - 0.75f, 0.5f, SheetLeft - 1.0f + SheetWidth - 0.25f, 20.75f);
    m_out.DxfBox(SheetLeft, SheetTop, SheetRight, BandTop);

    m_out.setLayer("TEXT"sv);
    const LevelRange levels = levelRange(rows);
    if (levels.any) {
        SheetDatum = float(levels.low);
        SheetStep = float(levels.step);
        TopLevel = float(levels.high);
        const int decimals = levels.step == std::floor(levels.step) ? 0 : 1;
        for (int k = 0; k < LongSectionLayout::ProfileRows; ++k) {
            const double v = levels.low + k * levels.step;
            if (v > levels.high + 1e-9)
                break;
            const std::string text = QString::number(v, 'f', decimals).toStdString();
            // Right of the band captions, ending clear of the grid, level with their line.
            const float y = LevelY(float(v)) - TextHeight / 2;
            m_out.DxfText(SheetLeft - 0.1f, y, text, false, 2, SheetLeft - 0.1f, y);
        }
        // The scales and the datum this sheet is drawn at, the sheet plotted at 1 unit = 1 cm:
        // 1000 m across the grid's 28 units, a step of level to LevelHeight.
        std::string scales = QStringLiteral("H 1:%1  V 1:%2  DATUM %3")
                                 .arg(100000.0 / double(GridWidth), 0, 'f', 0)
                                 .arg(100 * levels.step / double(LevelHeight), 0, 'f', 0)
                                 .arg(levels.low, 0, 'f', 2)
                                 .toStdString();
        if (levels.ownDatum)
            scales += " (this sheet)";
        m_out.DxfText(SheetLeft + GridWidth / 2, SheetTop + 0.1f, scales);
    }
    m_out.setLayer("BANDS"sv);
    for (int r = 0; r < LongSectionLayout::BandRows; ++r)
        DxfBandText(float(r), SheetLeft - 0.5f, kBandTitles[r]);

    drawRows(rows);
    drawCulverts(
        culvertMarks(m_culverts, m_rows, rows.front().chainage, rows.back().chainage, SheetDatum),
        rows.front().chainage);
    return true;
}

LevelRange LongSectionDrawing::levelRange(const std::vector<RlRow>& rows) const
{
    LevelRangeBuilder levels;
    for (const LongSectionRow& r : pageRows(rows)) {
        levels.take(r.centre);
        levels.take(r.left);
        levels.take(r.right);
        levels.take(r.fc);
    }
    return levels.result(m_options.fixedDatum, m_options.fixedDatumValue);
}

void LongSectionDrawing::drawRows(const std::vector<RlRow>& rows)
{
    // The figures and profiles of the sheet are the printed page's: an empty value stays
    // empty and breaks its profile.
    const std::vector<LongSectionRow> page = pageRows(rows);
    const double first = rows.front().chainage;
    auto x = [&](double chainage) {
        return float(double(SheetLeft) + (chainage - first) * double(ChainageScale));
    };
    m_out.setLayer("BANDS"sv);
    // Figures closer than their height and a gap are thinned as on the printed page.
    constexpr double spacing = (TextHeight + 0.06) / double(ChainageScale);
    for (const BandFigure& b : longSectionBandFigures(page, QLocale::c(), spacing))
        DxfBandText(float(b.bandRow), x(b.chainage), b.text.toStdString());
    static constexpr std::string_view layers[4] = {"CENTRE"sv, "LEFT"sv, "RIGHT"sv, "FC"sv};
    // Each profile as polylines, broken where a value is empty.
    const std::vector<CurveSegment> curves = longSectionCurves(page);
    for (int curve = 0; curve < 4; ++curve) {
        m_out.setLayer(layers[curve]);
        DxfPath path(m_out);
        for (const CurveSegment& c : curves)
            if (c.curve == curve)
                path.segment(x(c.chainage1), LevelY(float(c.level1)), x(c.chainage2),
                             LevelY(float(c.level2)));
        path.end();
    }
}

void LongSectionDrawing::drawCulverts(const std::vector<CulvertMark>& culverts, double first)
{
    // The marks of the printed page, on a layer of their own: a culvert is placed by its
    // chainage and labelled with it above or, without room there, where there is more room.
    using S = CulvertMarkShape;
    m_out.setLayer("CULVERTS"sv);
    for (const CulvertMark& c : culverts) {
        const float x = float(double(SheetLeft) + (c.chainage - first) * double(ChainageScale));
        const float top = LevelY(float(c.level));
        const float half = float(S::MarkWidth / 2), bottom = top - float(S::MarkHeight);
        m_out.DxfPolyline({{x - half, top},
                           {x + half, top},
                           {x + half, bottom},
                           {x - half, bottom},
                           {x - half, top}});
        std::vector<DxfWriter::Point> ring;
        for (const auto& [dx, dy] : S::opening())
            ring.push_back({x + float(dx), top - float(dy)});
        m_out.DxfPolyline(ring);
        const std::string label = culvertLabel(c).toStdString();
        // A turned text's glyphs lie left of its insertion point; figures run about a text
        // height each.
        const float length = float(label.size()) * TextHeight;
        const float roomAbove = SheetTop - top, roomBelow = bottom - BandTop;
        const bool above = roomAbove >= float(S::LabelGap) + length || roomAbove >= roomBelow;
        m_out.DxfText(x + TextHeight / 2,
                      above ? top + float(S::LabelGap) : bottom - float(S::LabelGap) - length,
                      label, true);
    }
}

std::vector<LongSectionRow> LongSectionDrawing::pageRows(const std::vector<RlRow>& rows) const
{
    const int shown = m_options.viewSections;
    std::vector<LongSectionRow> out;
    out.reserve(rows.size());
    for (const RlRow& r : rows)
        out.push_back({r.chainage, r.centre, shown ? r.left[shown - 1] : NAN,
                       shown ? r.right[shown - 1] : NAN, r.fc});
    return out;
}

QStringList ExportLongSectionDxf(Database& db, std::int64_t road, const DxfOptions& o,
                                 const QString& target)
{
    if (o.viewSections < 0 || o.viewSections > kReadingsPerSide)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("The number of readings shown per side must be from 0 to 8"));
    const Road r = roads::get(db, road);
    const SectionPaging l = readSectionPaging(db, road, double(r.length));
    RlRowStore sheet(db, road);

    QStringList warnings;
    auto warn = [&warnings]() {
        const QString text = QString::fromLatin1(kNoRecords.data(), int(kNoRecords.size()));
        if (!warnings.contains(text))
            warnings << text;
    };
    if (l.pageCount == 0)
        warn();

    // The extents in the header cover every sheet; without rows the template's own stand.
    std::optional<DxfExtents> extents;
    if (l.pageCount > 0)
        extents = DxfExtents{LongSectionDrawing::sheetLeft(0) - SheetOffset, 0,
                             LongSectionDrawing::sheetLeft(l.pageCount - 1) - SheetOffset +
                                 LongSectionDrawing::SheetWidth,
                             LongSectionDrawing::SheetHeight};
    DxfWriter out(QDir(o.templateFolder).filePath(QStringLiteral("HeaderL.dxf")), target, extents);
    out.setLayer("FRAME"sv);
    out.setTextHeight(LongSectionDrawing::TextHeight);
    LongSectionDrawing drawing(out, db, road, o, r.interval);
    for (std::int64_t k = 0; k < l.pageCount;) {
        drawing.SheetLeft = LongSectionDrawing::sheetLeft(k);
        drawing.SheetRight = drawing.SheetLeft + GridWidth;
        if (drawing.DxfLongSheet(sheet.between(l.pageStart(k), l.pageEnd(k)))) {
            ++k;
            continue;
        }
        warn();
        // Go straight to the next sheet that holds a row (a long gap would be many empty
        // sheets).
        const std::optional<double> next = sheet.firstChainageAbove(l.pageEnd(k));
        if (!next)
            break;
        const auto j = std::int64_t(std::ceil((*next - l.origin) / l.pageLength)) - 1;
        k = std::max(k + 1, j);
    }
    out.finish();
    return warnings;
}

} // namespace tarmela
