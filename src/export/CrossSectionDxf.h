#pragma once

#include "drawing/CrossSectionFigure.h"
#include "drawing/CrossSectionSheet.h"
#include "store/RlRows.h"
#include "store/Roads.h"

#include <vector>

namespace tarmela
{

class Database;
class DxfWriter;

// What both cross-section drawings draw: the road's cross distances and every row of its RL
// sheet in order. A road that does not exist, or has no RL sheet, is refused by name.
struct CrossSectionRoad {
    CrossDistances distances;
    std::vector<RlRow> rows;
};
CrossSectionRoad readCrossSectionRoad(Database& db, std::int64_t road);

// The cross-section drawing while it is written: upright sheets of 21.0 x 29.7 (centimetres of
// paper, y upwards) side by side along x, each holding up to sectionsPerPage sections one above
// the other, one unit being a centimetre of paper. Each sheet is drawn at the largest standard
// scales at which all its sections fit their slots (1:100 where they fit), written at its foot;
// the sections are planned as on the cross-section pages (CrossSectionSheet.h).
class CrossSectionDrawing
{
public:
    static constexpr float SheetWidth = 21.0f;
    static constexpr float SheetTop = 29.7f;
    static constexpr float SheetBottom = 0.0f;

    CrossSectionDrawing(DxfWriter& out, const CrossDistances& distances, int sectionsPerPage,
                        int viewSections = kReadingsPerSide);

    // Writes one sheet at SheetLeft..SheetRight holding the rows given (at most
    // sectionsPerPage), across at the largest standard scale at which they fit.
    void DxfCrossSheet(const std::vector<RlRow>& rows);

    float SheetLeft = 0.0f;
    float SheetRight = SheetWidth;

private:
    SectionSlot slot() const;
    void section(const SectionFigure& figure, const SectionPlan& plan, float y,
                 const SheetScales& scales);

    DxfWriter& m_out;
    CrossDistances m_distances;
    int m_sectionsPerPage;
    int m_viewSections;
};

} // namespace tarmela
