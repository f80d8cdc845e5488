#pragma once

#include "drawing/CrossSectionFigure.h"

#include <QLocale>
#include <QString>
#include <vector>

namespace tarmela
{

// Where the parts of one cross section lie on paper, in millimetres, worked out once for a
// sheet and drawn by the page painter (screen, printer, PDF) and the drawing file alike.
// Positions are measured from the centre line (x, right positive) and the top of the section's
// figure box (y, upwards positive): the ground and formation stand above the box, the box's
// two bands (existing levels, proposed levels) run 0 to -2 bandHeight.
struct SectionSlot {
    double boxWidth = 120;               // the figure box, centred on the centre line
    double bandHeight = 10;              // each of its two bands
    double room = 15;                    // above the box, up to the slot above
    double rowLeft = -85, rowRight = 85; // the row of texts at the top of the room
};

enum class LabelKind {
    Chainage,
    Datum,
    FillArea,
    CutArea,
    GroundInterval,
    GroundLevel,
    FormationWidth,
    FormationLevel
};

// A text with the box it takes, centred in it; a turned text reads upwards.
struct SectionLabel {
    LabelKind kind;
    QString text;
    double left = 0, bottom = 0, width = 0, height = 0;
    bool turned = false;
    double centreX() const { return left + width / 2; }
    double centreY() const { return bottom + height / 2; }
    bool touches(const SectionLabel& o, double gap) const;
};

struct SectionPlan {
    double datum = 0; // the level at the top of the figure box
    std::vector<SectionLabel> labels;
    double figureBottom = 0, figureTop = 0; // the band the ground and formation are drawn in
};

// The scales of a sheet, as the n of 1:n: the largest standard scales at which every section
// fits its slot, and where the texts at the top of the slots stand: above the figures, or
// beside them (the figures then narrower and taller).
struct SheetScales {
    int across = 100, up = 100;
    bool textsBeside = false;
    double mmPerMetreAcross() const { return 1000.0 / across; }
    double mmPerMetreUp() const { return 1000.0 / up; }
};

// Text sizes of the sections' labels: points on paper, and the box a text takes.
constexpr double kLabelPoints = 8;
double labelWidthMm(const QString& text, double points = kLabelPoints);
double labelHeightMm(double points = kLabelPoints);

// 1:50, 1:100, 1:200, 1:250, 1:500, 1:1000, 1:2000, 1:2500, 1:5000, ... : the largest scale
// (smallest n) at which `metres` take at most `mm` of paper, and not larger than 1:100.
int standardScale(double metres, double mm);

// The sheet's scales for its figures in slots like `slot`.
SheetScales sheetScales(const std::vector<const SectionFigure*>& figures, const SectionSlot& slot);

// The texts of a section and its datum. Labels that would touch another are thinned by one
// rule: the fixed texts first, then the levels, then the intervals; in each kind the centre and
// the outermost first, then inwards; a label is kept unless it touches one kept before it.
struct SectionTexts {
    double chainage = 0, fillArea = 0, cutArea = 0; // not-a-number when empty
};
SectionPlan planSection(const SectionFigure& figure, const SectionTexts& texts,
                        const SectionSlot& slot, const SheetScales& scales, const QLocale& locale);

// "H 1:100  V 1:200"
QString scalesText(const SheetScales& scales);

} // namespace tarmela
