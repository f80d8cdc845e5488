#pragma once

#include "drawing/CrossSectionFigure.h"
#include "store/RlRows.h"
#include "store/Roads.h"

#include <vector>

namespace tarmela
{

class DxfWriter;

// The cross-section drawing while it is written: upright sheets of 21.0 x 29.7 (centimetres of
// paper, y upwards) side by side along x, each holding up to sectionsPerPage sections one above
// the other, one metre of offset or level being one unit. A sheet whose widest section does not
// fit its 16-unit figure box at 1:100 across is drawn at 1:200, 1:250 or 1:500 across (levels
// stay at 1:100) with the scale written at its foot; beyond 1:500 the sections are cut off at
// the box's width.
class CrossSectionDrawing
{
public:
    static constexpr float SheetWidth = 21.0f;
    static constexpr float SheetTop = 29.7f;
    static constexpr float SheetBottom = 0.0f;

    CrossSectionDrawing(DxfWriter& out, const CrossDistances& distances, int sectionsPerPage);

    // Writes one sheet at SheetLeft..SheetRight holding the rows given (at most
    // sectionsPerPage), across at the largest standard scale at which they fit.
    void DxfCrossSheet(const std::vector<RlRow>& rows);

    float SheetLeft = 0.0f;
    float SheetRight = SheetWidth;

private:
    void section(const RlRow& row, const SectionFigure& figure, float y, int scale);

    DxfWriter& m_out;
    CrossDistances m_distances;
    int m_sectionsPerPage;
};

} // namespace tarmela
