#pragma once

#include "drawing/LongSectionLayout.h"

#include <QColor>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

class QPainter;

namespace tarmela
{

// One row of a longitudinal-section page; an empty cell is not-a-number.
struct LongSectionRow {
    double chainage = NAN;
    double centre = NAN; // C
    double left = NAN;   // the outermost shown left reading (L followed by ViewSections)
    double right = NAN;  // the same on the right
    double fc = NAN;
};

// A culvert marked on the profile: its chainage, the level of the mark's top and whether it
// is an existing work (else a proposed one).
struct CulvertMark {
    double chainage = 0;
    double level = 0;
    bool existing = false;
};
// The mark in centimetres of paper about the culvert's chainage and the mark's top: a headwall
// MarkWidth wide and MarkHeight high with a round opening, drawn as lines (so it hides nothing),
// and its label "CULVERT" and the chainage, turned to read upwards, LabelGap above the mark (or
// below it where the frame has no room above and more below).
struct CulvertMarkShape {
    static constexpr double MarkWidth = 0.6, MarkHeight = 0.4, Opening = 0.13; // radius
    static constexpr double LabelGap = 0.3; // clear of the formation line above the mark
    // The opening as a closed ring of points, offsets from the mark's top centre (y downwards).
    static std::vector<std::pair<double, double>> opening();
};
QString culvertLabel(const CulvertMark& c);

// Everything one page shows, read from the road by LongSectionSource.
struct LongSectionPage {
    QString from, to;
    std::array<QString, 4> fields; // the road's free text fields for the title block
    std::int64_t pageIndex = 0;    // 0-based
    std::int64_t pageCount = 0;
    std::vector<LongSectionRow> rows; // in chainage order
    LevelRange levels;
    std::vector<CulvertMark> culverts;
};

// How a page is drawn: curve colours, the level grid, and the width of a thin line (one device
// pixel: 15 twips on screen, less on paper).
struct LongSectionStyle {
    QColor formation = Qt::black, centre = Qt::black, left = Qt::black, right = Qt::black;
    bool grid = false;
    double thinWidth = 15;
    QLocale locale;
};

// What the rows of a page put in the bands and the profile, before it is placed on a page.
// Curves in order: 0 centre (C), 1 left, 2 right, 3 formation (FC).
struct BandFigure {
    int bandRow = 0; // 0 chainage, 1 FC, 2 slope, 3 centre, 4 left, 5 right, 6 FC - C
    double chainage = 0;
    QString text;
    int curve = -1; // whose colour it takes; -1 black
};
struct CurveSegment {
    int curve = 0;
    double chainage1 = 0, level1 = 0, chainage2 = 0, level2 = 0;
};
// One straight grade of the formation: consecutive rows with an FC above 0 whose grades agree
// within what the millimetre of a stored FC can change; its figure is worked from its ends.
struct StraightGrade {
    double chainage1 = 0, chainage2 = 0;
    double percent = 0;
};
std::vector<StraightGrade> longSectionGrades(const std::vector<LongSectionRow>& rows);
// The band figures: every row's chainage and levels, its signed depth FC - C (fill +, cut -)
// where both are present, and one signed gradient per straight grade at its middle.
// Where figures would touch, the bands are thinned (spacing: the metres of chainage two
// figures need apart; 0 keeps all): the page's first and last columns are kept, and from the
// first on each column that clears the last kept one and the page's last. A column's levels
// go with its chainage; the gradients are thinned the same way among themselves.
std::vector<BandFigure> longSectionBandFigures(const std::vector<LongSectionRow>& rows,
                                               const QLocale& locale, double spacing = 0);
std::vector<CurveSegment> longSectionCurves(const std::vector<LongSectionRow>& rows);

// Draws one page in the layout's twips on any painter whose transform maps twips to the device
// (mapTwipsToScreen, mapTwipsToDevice). The page's datum and vertical scale (page.levels) keep
// every level inside the frame; the profile is still clipped to it. The scales and the datum are
// written above the frame.
void paintLongSectionPage(QPainter& p, const LongSectionLayout& l, const LongSectionPage& page,
                          const LongSectionStyle& style);

} // namespace tarmela
