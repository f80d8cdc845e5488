#pragma once

#include "drawing/CrossSectionFigure.h"
#include "drawing/CrossSectionLayout.h"

#include <QColor>
#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QPainter;

namespace tarmela
{

// One section of a page: the row's own texts and its figure.
struct CrossSectionEntry {
    double chainage = 0;
    double fillArea = 0, cutArea = 0; // not-a-number when empty
    SectionFigure figure;
};

// Everything one page shows, read from the road by CrossSectionSource.
struct CrossSectionPage {
    QString from, to;
    std::array<QString, 4> fields;
    std::int64_t pageNumber = 1; // 1-based
    std::int64_t pageCount = 0;
    std::vector<CrossSectionEntry> sections;
    int scale = 100; // horizontal scale of the sheet, 1:scale
};

struct CrossSectionStyle {
    QColor existing = Qt::black, formation = Qt::black;
    int sectionsOnPage = 6;
    double thinWidth = 15; // one device pixel in twips
    QLocale locale;
};

// Chooses the page's horizontal scale so that every section fits its figure box (see
// sheetScale) and clips the sections that still do not.
void fitSectionsAcross(CrossSectionPage& page, double halfBoxCm);

// Draws one page in the layout's twips on any painter whose transform maps twips to the device.
void paintCrossSectionPage(QPainter& p, const CrossSectionLayout& l, const CrossSectionPage& page,
                           const CrossSectionStyle& style);

} // namespace tarmela
