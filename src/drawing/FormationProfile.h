#pragma once

// The formation tool's longitudinal profile: the outer left, centre and outer right ground
// and the formation centre level FC over a window of chainages, with culvert pictures and a
// marker on the picked row. One plain description of what is in view, one painter for any
// QPainter (the tool's plot, a QImage in tests).
//
// Coordinates are twips (1/1440 inch) from the top left of the plot, y downward: the left
// axis at x = 600, the right axis at W - 600, the base line at H - 600; 12 twips to the metre
// of chainage (a grid column of 600 twips is 50 m) and 300 twips to the metre of level (one
// grid row). The base line stands for datum - 1, the first labelled line for the datum.

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

// The size of the plot and the rules that follow from it.
struct FormationProfileFrame {
    double width = 0;  // W, twips
    double height = 0; // H, twips

    int columns() const; // grid columns of 50 m: nearest whole number to (W - 1200) / 600
    std::int64_t visibleSpan() const { return 50 * std::int64_t(columns()); } // metres
    int gridRows() const; // rows of 1 m: nearest whole number to (H - 600) / 300
    double x(double chainage, double startChainage) const
    {
        return 600 + 12 * (chainage - startChainage);
    }
    double y(double level, double datum) const
    {
        return (height - 600) - 300 * (level - datum + 1);
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
    std::int64_t startChainage = 0;        // at the left axis, a multiple of 50
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
