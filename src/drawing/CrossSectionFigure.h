#pragma once

#include "store/RlRows.h"
#include "store/Roads.h"
#include "store/Schema.h"

#include <vector>

namespace tarmela
{

// One cross section as geometry in metres: offsets from the centre line (left negative) and
// levels. The page painter and the cross-section drawing file both draw from it, each mapping
// metres onto its own page; nothing here knows a page.
struct FigurePoint {
    double offset = 0;
    double level = 0;
};
struct FigureSegment {
    FigurePoint a, b;
};
// A reading written under the section: a tick at offset, the interval from the previous
// reading (or formation point) written between prevOffset and offset, and the level.
struct FigureTick {
    double offset = 0;
    double prevOffset = 0;
    double interval = 0;
    double level = 0;
};

struct SectionFigure {
    bool hasCentre = false, hasFc = false;
    double centre = 0, fc = 0;
    std::vector<FigureSegment> ground;        // the existing ground line
    std::vector<FigureTick> groundTicks;      // one per drawn ground reading
    std::vector<FigureSegment> formation;     // FL2-FL1-FC-FR1-FR2
    std::vector<FigureTick> formationTicks;   // FL1, FL2, FR1, FR2
    std::vector<FigureSegment> slopes;        // side slopes down or up to the ground line
    std::vector<FigureSegment> slopesCarried; // a slope beyond the outermost reading
    std::vector<FigureSegment> groundCarried; // the ground carried level to such a slope
    // How far the drawing reaches either side of the centre line, metres (both >= 0), and the
    // lowest and highest level it draws (low > high when it draws no level).
    double leftExtent = 0, rightExtent = 0;
    double low = 0, high = 0;
    bool drawsLevels() const { return low <= high; }
};

// The figure of an RL row from its first viewSections readings a side (those the areas use).
// Empty cells leave out what needs them: a missing ground reading is passed over (the next is
// measured from the last drawn point), a missing width or formation level leaves out the
// formation parts that need it, an empty or zero side slope is not drawn.
// A side slope runs outwards from the formation edge, down where the ground at the edge lies
// below it and up where it lies above, and ends where it meets the ground line, as the areas
// take it. A slope that has not met the ground by the outermost reading is carried on beyond
// it to the ground carried level from that reading (slopesCarried, groundCarried).
SectionFigure sectionFigure(const RlRow& row, const CrossDistances& distances,
                            int viewSections = kReadingsPerSide);

} // namespace tarmela
