#pragma once

// The geometry of one cross section and its fill and cut areas, free of any database: a
// section's row of the RL sheet (store/RlRows.h) and the road's cross distances go in, the
// formation side levels and the areas come out. The road-wide recomputation (EarthworkQuantities.h)
// runs these over every row of a road's RL sheet; tests run them against worked examples.
//
// Lengths and levels are metres, areas square metres. A level that is empty, 0 or negative
// is a missing reading (isReading). Every level or area written or averaged is taken to the nearest
// 0.001 (d3), as the sheets show them.

#include "store/Error.h"
#include "store/RlRows.h"
#include "store/Roads.h"
#include "store/Schema.h"

#include <QString>

namespace tarmela
{

// The area formulas; compute/QuantityMethods.h lists the methods that use them.
enum class AreaMethod {
    TrapezoidalShort = 0,
    MeanLevel = 1,
    InterpolatedLong = 2,
};

// Fixed values of a new section.
constexpr double kDefaultWidth = 7.5;
constexpr double kDefaultSlope = 2; // horizontal run per unit of fall
constexpr double kDefaultCrust = 0.25;

// Gives an empty or zero Width, Left Slope, Right Slope and Crust their defaults.
// Returns whether anything changed.
bool applySectionDefaults(RlRow& s);

// FL1 = FR1 = d3(FC - carriageCamber * k) and FL2 = FR2 = d3(FL1 - formationCamber * (k +
// Crust)) with k = Width/4 + Crust/2, cambers as fractions. Only when FC is a present level;
// otherwise the four side levels stay as they are. Returns whether they were derived.
// Width and Crust must already have their defaults.
bool deriveSideLevels(RlRow& s, double formationCamber, double carriageCamber);

// Areas at 3 decimals.
struct SectionArea {
    double fill = 0;
    double cut = 0;
};

// A value a formula needs is empty: column names the column ("FC", "TopWidth", ...), a name
// that lasts as long as the program (a recomputation keeps it beyond the exception).
class MissingValue : public Error
{
public:
    explicit MissingValue(const char* column)
        : Error(ErrorKind::NullValue, QLatin1String(column) + QStringLiteral(" is empty")),
          m_column(column)
    {
    }
    const char* column() const { return m_column; }

private:
    const char* m_column;
};

// Methods 0 and 1, the mean-level trapezoid. The mean ground level is that of every present
// reading (Mean Level) or of the readings beyond the second one of each side (Short, which
// then deducts the existing road standing above them). h = mean formation level - mean
// ground level; the area is (B + s|h|/2)|h| with B = Width + s * Crust and s the sum of the
// two slopes, fill when the formation stands above the ground, cut below.
// Throws MissingValue for an empty FC, FL2, FL1, FR1, FR2, or TopWidth/BottomWidth (Short).
SectionArea meanLevelArea(const RlRow& s, AreaMethod method, int viewSections);

// The centre point of the Long method, carried from one section to the next when a section
// lacks C or FC. A run starts from zero.
struct CentrePoint {
    double ground = 0;
    double proposed = 0;
};

// The centre point after a section with these C and FC: each is taken where it is a reading.
inline void carryCentre(double c, double fc, CentrePoint& centre)
{
    if (isReading(c))
        centre.ground = c;
    if (isReading(fc))
        centre.proposed = fc;
}

// Method 2, strip by strip between the ground line and the formation outline (level at FC
// across the Width, then falling at one in Left/Right Slope out to the last present reading
// of the side). Throws MissingValue when FC is empty.
SectionArea longMethodArea(const RlRow& s, const CrossDistances& distances, int viewSections,
                           CentrePoint& centre);

} // namespace tarmela
