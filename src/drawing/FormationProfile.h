#pragma once

// The formation tool's longitudinal profile: the outer left, centre and outer right ground
// and the formation centre level FC over a window of chainages, with culvert pictures and a
// marker on the picked row. One plain description of what is in view, one painter for any
// QPainter (the tool's plot, a QImage in tests).
//
// Coordinates are twips (1/1440 inch) from the top left of the plot, y downward: the left
// axis at x = 600, the right axis at W - 600, the base line at H - 600; as the tool opens, 12
// twips to the metre of chainage (a grid column of 600 twips is 50 m) and 300 twips to the
// metre of level (one grid row). The base line stands for datum - 1, the first labelled line
// for the datum.

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class QPainter;

namespace tarmela
{

// Twips to the device pixel of a screen (and of a QImage painted like one).
constexpr double kProfileTwipsPerPixel = 15;

// The size of the plot, its scales and the rules that follow from them. The scales the tool
// opens with are those above: 50 m to a grid column, the levels exaggerated 25 times (300
// twips to the metre). Zooming changes the metres of a column; the exaggeration is the level
// scale over the chainage scale, so a zoom keeps the profile's shape.
struct FormationProfileFrame {
    double width = 0;               // W, twips
    double height = 0;              // H, twips
    std::int64_t columnMetres = 50; // chainage of a grid column of 600 twips, whole metres
    double exaggeration = 25;       // vertical scale / horizontal scale

    double chainageScale() const { return 600.0 / double(columnMetres); } // twips per metre
    double levelScale() const { return exaggeration * chainageScale(); }  // twips per metre
    // Level of a grid row: the least of 0.1, 0.2, 0.5, 1, 2, 5 ... metres whose row is at least
    // 240 twips high (16 pixels); 1 m at the opening scales.
    double rowMetres() const;
    int columns() const; // grid columns: nearest whole number to (W - 1200) / 600
    std::int64_t visibleSpan() const { return columnMetres * std::int64_t(columns()); } // metres
    int gridRows() const; // nearest whole number to (H - 600) / the row's height
    double x(double chainage, double startChainage) const
    {
        return 600 + chainageScale() * (chainage - startChainage);
    }
    // The base line stands for datum - rowMetres(), the first labelled line for the datum.
    double y(double level, double datum) const
    {
        return (height - 600) - levelScale() * (level - datum + rowMetres());
    }
    double chainageAt(double xTwips, double startChainage) const
    {
        return (xTwips - 600) / chainageScale() + startChainage;
    }
    double levelAt(double yTwips, double datum) const
    {
        return datum - rowMetres() + (height - 600 - yTwips) / levelScale();
    }
};

// One row of the road's RL sheet as the profile shows it. Empty cells are std::nullopt.
struct FormationProfileRow {
    std::int64_t id = 0;
    double chainage = 0;
    std::optional<double> left;   // the outermost shown left reading
    std::optional<double> centre; // C
    std::optional<double> right;  // the outermost shown right reading
    std::optional<double> fc;     // formation centre level
};

// A culvert picture, centred on its chainage, its top edge at the given level.
struct FormationProfileCulvert {
    double chainage = 0;
    double top = 0;
    QImage picture;
};

// Everything one redraw shows.
struct FormationProfileDrawing {
    FormationProfileFrame frame;
    std::int64_t startChainage = 0;        // at the left axis, a multiple of the column's metres
    std::optional<std::int64_t> datum;     // none: no level in view to set it from; only the grid
    std::vector<FormationProfileRow> rows; // those in view, in chainage order
    std::vector<FormationProfileCulvert> culverts;
};

// Paints the grid, the level and chainage labels, the four curves and the culverts. The
// painter's coordinates are twips (scale a device by 1 / kProfileTwipsPerPixel).
void paintFormationProfile(QPainter& painter, const FormationProfileDrawing& drawing);

// The marker of the picked row: a filled cyan square of half size 75 twips around (x, y).
void paintFormationMarker(QPainter& painter, double x, double y);

} // namespace tarmela
