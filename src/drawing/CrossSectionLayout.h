#pragma once

#include "drawing/PageUnits.h"

#include <algorithm>
#include <cstdint>

namespace tarmela
{

// Page margins in centimetres, as the page setup keeps them.
struct PageMargins {
    double left = 2, right = 2, top = 2, bottom = 2;
};

// Where everything of a cross-section page lies, in twips at one zoom: an upright A4 or A3
// page, a frame 1 cm inside the margins with a title block at its foot, and sectionsOnPage
// slots one above the other. One metre of offset or level is Len10 (1:100 at 100 %).
struct CrossSectionLayout {
    double zoom = 1.0;
    double Mm = kTwipsPerMm; // twips per millimetre at this zoom
    int PageWidth = 0, PageHeight = 0;
    int Len10 = 0, Len25 = 0, Len053 = 0, Len088 = 0, Len353 = 0;
    int FontSize = 8; // points
    int LeftX = 0, TopY = 0, RightX = 0, BottomY = 0;
    int BoxWidth = 0;

    static CrossSectionLayout at(double zoom, Paper paper, const PageMargins& margins);

    // Whether sections can be drawn at all: margins that leave no room for the figure boxes or
    // the slots cannot be.
    bool drawable(int sectionsOnPage) const;
    int slotHeight(int sectionsOnPage) const;
    int boxX() const { return LeftX + Len25; }
    int centreX() const;
    // Top of the figure box of slot k (0 at the top of the page).
    int boxTop(int k, int sectionsOnPage) const
    {
        return TopY + (k + 1) * slotHeight(sectionsOnPage) - Len10;
    }
    // Top of the room slot k owns above its figure box, for its texts and the ground drawn above
    // the box: three centimetres where the slot has them, else what is left of the slot once
    // the box is placed, so that many sections to a page never write into each other.
    int sectionTop(int k, int sectionsOnPage) const
    {
        return boxTop(k, sectionsOnPage) -
               std::min(3 * Len10, slotHeight(sectionsOnPage) - 2 * Len10);
    }
};

// Pages for a road of `rows` sections: rows / sectionsOnPage taken up to a whole number.
std::int64_t crossSectionPageCount(std::int64_t rows, int sectionsOnPage);

} // namespace tarmela
