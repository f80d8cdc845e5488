#pragma once

#include "compute/MassHaul.h"
#include "drawing/LongSectionLayout.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class QPainter;

namespace tarmela
{

class Database;

// A road's mass haul as its diagram and table show it: read once, in one state of the project.
struct MassHaulRoad {
    QString from, to;
    MassHaul summary;
    std::vector<MassHaulSection> sections; // the table, in chainage order
    SectionPaging paging;                  // the longitudinal section's sheets
    // The diagram's sheets: the long section's, and one empty sheet for a road without rows.
    std::int64_t diagramPages() const { return paging.pageCount > 0 ? paging.pageCount : 1; }
    std::int64_t tablePages() const;
};

// Throws Error from the database.
MassHaulRoad readMassHaulRoad(Database& db, std::int64_t road);

// What a diagram or table page holds, in twips of an A3 sheet on its side (origin top left, y
// down), laid out once: the painter draws it on any QPainter and the DXF drawing writes the
// same lines and texts, so the two never disagree.
enum class DiagramLayer { Frame, Grid, Curve, Text };

struct DiagramLine {
    DiagramLayer layer = DiagramLayer::Frame;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct DiagramText {
    QString text;
    double x = 0, y = 0; // top left of the text's cell; of the unturned cell when turned
    double width = 0, height = 0, ascent = 0;
    double points = 8;
    bool bold = false;
    bool turned = false; // a quarter turn to read upwards: it runs up from y, right of x
    // The part of the sheet the text covers.
    double left() const { return x; }
    double right() const { return x + (turned ? height : width); }
    double top() const { return turned ? y - width : y; }
    double bottom() const { return turned ? y : y + height; }
};

struct DiagramPage {
    double width = 23814, height = 16840;
    std::vector<DiagramLine> lines; // the curve on its own layer
    std::vector<DiagramText> texts;
};

// Sheet `index` of the diagram (0-based), numbered `number` of `total` pages: the frame with
// the ordinates' grid and the zero line, the curve over the sheet's chainages at the long
// section's horizontal scale, a tick and label every 100 m, the balance points with their
// chainages, each stretch (the part on this sheet) labelled with its volume moved and average
// haul, and a title block with the cut factor, the volume rule and the end surplus or deficit.
// Labels that crowd each other move aside; one with no room left is left out, never drawn
// over another.
DiagramPage massHaulDiagramPage(const MassHaulRoad& road, std::int64_t index, std::int64_t number,
                                std::int64_t total, const QLocale& locale);

// Page `index` of the table per section (kTableRows rows to a page).
DiagramPage massHaulTablePage(const MassHaulRoad& road, std::int64_t index, std::int64_t number,
                              std::int64_t total, const QLocale& locale);

// Draws a page laid out in twips on a painter mapped to twips; thinWidth is one device pixel.
void paintDiagramPage(QPainter& p, const DiagramPage& page, double thinWidth);

// The diagram's sheets followed by the table, on A3 on its side. Returns the warning for a
// road without rows. Throws Error.
QStringList writeMassHaulPdf(Database& db, std::int64_t road, const QLocale& locale,
                             const QString& target);

// The cell of a text in the page font (drawing/PagePens.h), measured once where it is laid out.
DiagramText measuredText(const QString& text, double points, bool bold);

} // namespace tarmela
