#pragma once

#include "drawing/CrossSectionFigure.h"
#include "drawing/CrossSectionLayout.h"
#include "drawing/CrossSectionSheet.h"

#include <QColor>
#include <QDate>
#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QPainter;

namespace tarmela
{

// One section of a page: the row's own texts, its figure and where its parts lie.
struct CrossSectionEntry {
    double chainage = 0;
    double fillArea = 0, cutArea = 0; // not-a-number when empty
    SectionFigure figure;
    SectionPlan plan;
};

// Everything one page shows, read from the road by CrossSectionSource.
struct CrossSectionPage {
    QString from, to;
    std::array<QString, 4> fields;
    std::int64_t pageNumber = 1; // 1-based
    std::int64_t pageCount = 0;
    std::vector<CrossSectionEntry> sections;
    SheetScales scales;
    QDate date;
};

struct CrossSectionStyle {
    QColor existing = Qt::black, formation = Qt::black;
    QColor fillTint = QColor(214, 236, 206), cutTint = QColor(246, 218, 204);
    int sectionsOnPage = 6;
    int viewSections = kReadingsPerSide; // the readings a side the areas use
    QString method;                      // the quantity method, for the title block
    double thinWidth = 15;               // one device pixel in twips
    QLocale locale;
};

// The slot of each section of a page laid out as l, in millimetres of paper.
SectionSlot crossSectionSlot(const CrossSectionLayout& l, int sectionsOnPage);

// Chooses the page's scales so that every section fits its slot and plans each section.
void planCrossSectionPage(CrossSectionPage& page, const SectionSlot& slot, const QLocale& locale);

// Draws one page in the layout's twips on any painter whose transform maps twips to the device.
void paintCrossSectionPage(QPainter& p, const CrossSectionLayout& l, const CrossSectionPage& page,
                           const CrossSectionStyle& style);

} // namespace tarmela
