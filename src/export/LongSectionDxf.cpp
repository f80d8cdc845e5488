// The longitudinal-section drawing: per sheet a level grid with the profiles of the existing
// centre line, the outermost left and right ground readings and the formation, over six bands
// of figures (chainage, formation level, gradient, centre, left and right levels).
//
// A profile joins two rows only when both have its level: a row without any left reading, say,
// breaks the left profile instead of drawing a line down to level zero. An empty C or FC keeps
// the last level read, as the engineer's sheets carry a level on until it changes.
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
// A sheet labels at most this many whole levels; more can only come from a mistyped level.
constexpr std::int64_t kMaxLevelLabels = 10000;

const char* const kBandTitles[6] = {"CHAIN", "FC", "GRAD", "CEN", "LEFT", "RIGHT"};

// The outermost present reading of a side: L8 (R8) first, inwards to L1 (R1).
bool outermost(const SideReadings& levels, double& level)
{
    for (int i = kReadingsPerSide - 1; i >= 0; --i) {
        if (isReading(levels[i])) {
            level = levels[i];
            return true;
        }
    }
    return false;
}

} // namespace

LongSectionDrawing::LongSectionDrawing(DxfWriter& out, const DxfOptions& o, double interval)
    : m_out(out), m_options(o), m_chainageStep(float(interval) * ChainageScale)
{
}

float LongSectionDrawing::sheetLeft(std::int64_t k)
{
    return float(double(SheetOffset) + double(k) * (double(SheetWidth) + 2.0));
}

float LongSectionDrawing::LevelY(float level) const
{
    return (level - SheetDatum) * BandHeight + BandHeight + BandTop;
}

void LongSectionDrawing::DxfBandText(float row, float x, std::string_view text)
{
    m_out.DxfText(x - 0.02f, BandTop - (row + 1) * BandHeight + 0.02f, text, true);
}

bool LongSectionDrawing::DxfLongSheet(const std::vector<RlRow>& rows)
{
    if (rows.empty())
        return false;

    m_out.setTextHeight(TextHeight);
    m_out.setLayer("GRID"sv);
    if (m_options.lsectionGrid)
        m_out.DxfGrid(SheetLeft, SheetTop, SheetRight, BandTop, m_chainageStep, BandHeight);
    m_out.DxfGrid(SheetLeft, BandTop, SheetRight, BandBottom, m_chainageStep, BandHeight);

    m_out.setLayer("FRAME"sv);
    m_out.DxfBox(SheetLeft - 1.25f, 0.5f, SheetLeft - 1.0f + SheetWidth - 0.25f, 20.75f);
    m_out.DxfBox(SheetLeft, SheetTop, SheetRight, BandTop);

    m_out.setLayer("TEXT"sv);
    const LevelRange levels = levelRange(rows);
    if (levels.any) {
        SheetDatum = float(levels.low);
        TopLevel = float(levels.high);
        const auto datum = std::int64_t(SheetDatum);
        const auto top = std::min(std::int64_t(TopLevel), datum + kMaxLevelLabels);
        for (std::int64_t v = datum; v <= top; ++v) {
            const std::string text = std::to_string(v);
            m_out.DxfText(SheetLeft - 0.5f, LevelY(float(v)) - BandHeight / 5, text);
        }
    }
    m_out.setLayer("BANDS"sv);
    for (int r = 0; r < 6; ++r)
        DxfBandText(float(r), SheetLeft - 0.25f, kBandTitles[r]);

    drawRows(rows);
    return true;
}

LevelRange LongSectionDrawing::levelRange(const std::vector<RlRow>& rows) const
{
    LevelRangeBuilder levels;
    const int shown = m_options.viewSections;
    for (const RlRow& r : rows) {
        levels.take(r.centre);
        if (shown >= 1) {
            levels.take(r.left[shown - 1]);
            levels.take(r.right[shown - 1]);
        }
    }
    return levels.result(m_options.fixedDatum, m_options.fixedDatumValue);
}

void LongSectionDrawing::drawRows(const std::vector<RlRow>& rows)
{
    struct Levels {
        float x = 0;
        double chainage = 0;
        double centre = 0, left = 0, right = 0, fc = 0;
        bool hasCentre = false, hasLeft = false, hasRight = false, hasFc = false;
    };
    Levels prev;
    Levels cur;
    const double first = rows.front().chainage;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RlRow& r = rows[i];
        cur.x = float(double(SheetLeft) + (r.chainage - first) * double(ChainageScale));
        cur.chainage = r.chainage;
        // C and FC carry on from the last row that had them.
        if (isReading(r.centre)) {
            cur.centre = r.centre;
            cur.hasCentre = true;
        }
        if (isReading(r.fc)) {
            cur.fc = r.fc;
            cur.hasFc = true;
        }
        cur.hasLeft = outermost(r.left, cur.left);
        cur.hasRight = outermost(r.right, cur.right);

        m_out.setLayer("BANDS"sv);
        DxfBandText(0, cur.x, dxf::stored(r.chainage).view());
        if (cur.hasCentre)
            DxfBandText(3, cur.x, dxf::twoDecimals(cur.centre).view());
        if (cur.hasLeft)
            DxfBandText(4, cur.x, dxf::twoDecimals(cur.left).view());
        if (cur.hasRight)
            DxfBandText(5, cur.x, dxf::twoDecimals(cur.right).view());
        if (cur.hasFc)
            DxfBandText(1, cur.x, dxf::twoDecimals(cur.fc).view());

        if (i > 0) {
            if (cur.hasFc && prev.hasFc && cur.chainage != prev.chainage) {
                std::string grade(
                    dxf::twoDecimals(100 * (cur.fc - prev.fc) / (cur.chainage - prev.chainage))
                        .view());
                grade += '%';
                DxfBandText(2, cur.x, grade);
            }
            auto profile = [&](std::string_view layer, bool had, double from, bool has, double to) {
                if (!had || !has)
                    return;
                m_out.setLayer(layer);
                m_out.DxfLine(prev.x, LevelY(float(from)), cur.x, LevelY(float(to)));
            };
            profile("CENTRE"sv, prev.hasCentre, prev.centre, cur.hasCentre, cur.centre);
            profile("LEFT"sv, prev.hasLeft, prev.left, cur.hasLeft, cur.left);
            profile("RIGHT"sv, prev.hasRight, prev.right, cur.hasRight, cur.right);
            profile("FC"sv, prev.hasFc, prev.fc, cur.hasFc, cur.fc);
        }
        prev = cur;
    }
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

    DxfWriter out(QDir(o.templateFolder).filePath(QStringLiteral("HeaderL.dxf")), target);
    out.setLayer("FRAME"sv);
    out.setTextHeight(LongSectionDrawing::TextHeight);
    LongSectionDrawing drawing(out, o, r.interval);
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
