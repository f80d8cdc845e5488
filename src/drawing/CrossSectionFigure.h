#pragma once

#include "store/RlRows.h"
#include "store/Roads.h"
#include "store/Schema.h"

#include <QString>

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
    // 0.3 below the lowest present ground level of the row (below 1000).
    double datum = 0;
    bool hasCentre = false, hasFc = false;
    double centre = 0, fc = 0;
    std::vector<FigureSegment> ground;        // the existing ground line
    std::vector<FigureTick> groundTicks;      // one per drawn ground reading
    std::vector<FigureSegment> formation;     // FL2-FL1-FC-FR1-FR2
    std::vector<FigureTick> formationTicks;   // FL1, FL2, FR1, FR2
    std::vector<FigureSegment> groundCarried; // the ground carried level out to a side slope
    std::vector<FigureSegment> slopes;        // the side slopes from the formation edges
    // How far the drawing reaches either side of the centre line, metres (both >= 0).
    double leftExtent = 0, rightExtent = 0;
};

// The figure of an RL row. Empty cells leave out what needs them: a missing ground reading is
// passed over (the next is measured from the last drawn point), a missing width or formation
// level leaves out the formation parts that need it, an empty or zero side slope is not drawn.
// A side slope runs outwards from the formation edge, down to ground below the edge and up to
// ground above it, and ends where it meets the ground carried level from the outermost reading.
SectionFigure sectionFigure(const RlRow& row, const CrossDistances& distances);

// The horizontal scale of a sheet, as the n of 1:n: the largest of 1:100, 1:200, 1:250 and
// 1:500 at which a drawing reaching `reach` metres either side of the centre line stays within
// halfWidthCm (centimetres of paper); 500 when none does (the sections are then clipped).
int sheetScale(double reach, double halfWidthCm);

// Cuts the figure off at halfWidth metres either side of the centre line: segments are clipped,
// ticks outside are dropped.
void clipFigure(SectionFigure& figure, double halfWidth);

// The text written on a sheet drawn at a smaller scale than 1:100 across.
QString scaleNote(int scale);

} // namespace tarmela
