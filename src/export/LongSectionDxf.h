#pragma once

#include "drawing/LongSectionLayout.h"
#include "drawing/LongSectionPainter.h"
#include "export/DxfDrawings.h"
#include "store/Culverts.h"
#include "store/RlRowStore.h"
#include "store/RlRows.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tarmela
{

class Database;
class DxfWriter;

// The longitudinal-section drawing while it is written: landscape sheets of 29.7 x 21.0
// (centimetres of paper, y upwards) side by side along x, each covering SheetSpan metres of
// chainage across a 28-unit level grid (0.028 units per metre) of the printed page's rows
// above its seven bands of figures. Texts are 2 mm high; a band is deep enough for a turned
// figure at that height.
class LongSectionDrawing
{
public:
    static constexpr float SheetWidth = 29.7f;
    static constexpr float SheetHeight = 21.0f;
    static constexpr float SheetTop = 20.2f;   // top of the level grid, the scales above it
    static constexpr float LevelHeight = 0.7f; // one metre of level
    static constexpr float BandTop = float(20.2 - LongSectionLayout::ProfileRows * 0.7);
    static constexpr float BandHeight = 1.0f; // one band
    static constexpr float BandBottom =
        float(20.2 - LongSectionLayout::ProfileRows * 0.7 - LongSectionLayout::BandRows * 1.0);
    static constexpr float TextHeight = 0.2f;

    LongSectionDrawing(DxfWriter& out, Database& db, std::int64_t road, const DxfOptions& o,
                       double interval);

    // The left edge of sheet k of the drawing (1.0, 32.7, 64.4, ...).
    static float sheetLeft(std::int64_t k);
    // Sheet k covers the chainages of page k of the paging (the pages of the longitudinal
    // section view), both ends included: rows are that page's rows in sheet order. Returns
    // false (with nothing drawn) when there are none.
    bool DxfLongSheet(const std::vector<RlRow>& rows);
    // A figure in band row (0 at the top), turned to read upwards, at chainage position x.
    void DxfBandText(float row, float x, std::string_view text);
    // Where a level lies on the current sheet.
    float LevelY(float level) const;

    float SheetLeft = 1.0f;
    float SheetRight = 29.0f;
    float SheetDatum = 0.0f;
    float SheetStep = 1.0f; // metres of level to a band height
    float TopLevel = 0.0f;

private:
    LevelRange levelRange(const std::vector<RlRow>& rows) const;
    void drawRows(const std::vector<RlRow>& rows);
    void drawCulverts(const std::vector<CulvertMark>& culverts, double firstChainage);
    std::vector<LongSectionRow> pageRows(const std::vector<RlRow>& rows) const;

    DxfWriter& m_out;
    DxfOptions m_options;
    float m_chainageStep;
    RlRowStore m_rows;
    RoadCulverts m_culverts;
};

} // namespace tarmela
