#pragma once

// The road-wide recomputation: every section of a road's RL sheet gets its defaults, its
// formation side levels and its fill and cut areas (SectionAreas.h), written back in one
// transaction; then the areas become volumes per kilometre and for the whole road
// (Volumes.h).
//
// A section that lacks a value its method needs ends the run: the sections before it keep
// their new values, it keeps only its defaults, the sections after it stay as they were, and
// the result carries the message and its number (EarthworkErrorCode):
//   101  a value the area method needs is empty, or a section with a formation has no ground
//        reading among the readings in use
//   102  a chainage is empty or lies beyond 100,000 km
//   103  the database refused a statement
//   104  an unknown quantity method or readings-per-side count

#include "compute/Volumes.h"
#include "store/RlRows.h"
#include "store/Schema.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace tarmela
{

class Database;

struct EarthworkInputs {
    std::int64_t road = 0;
    int method = 1; // QuantityCalcMethod: the id of a method of compute/QuantityMethods.h
    int viewSections = kReadingsPerSide;
    VolumeFormula volumeFormula = VolumeFormula::AverageEndArea;
    double formationCamber = 0.035; // fractions
    double carriageCamber = 0.035;
    // The formation tool's rule while a road is being designed: a section without any ground
    // reading (not surveyed yet), or whose method stops on its empty FC (not designed yet), is
    // passed over instead of ending the run; its side levels and areas are emptied, so that
    // nothing stale remains, and it takes no part in the volumes.
    bool skipUnready = false;
};

// The message numbers above; None for a message without one.
enum class EarthworkErrorCode {
    None = 0,
    EmptyValue = 101,
    ChainageOutOfRange = 102,
    Database = 103,
    BadSettings = 104,
};

struct EarthworkResult {
    bool ran = false;         // false when road < 1: nothing was done
    bool volumesDone = false; // the kilometre rows and totals below are valid
    VolumeSummary volumes;    // compute/Volumes.h
    QString roadName;         // From + " To " + To
    QString error;            // what stopped the run; empty when nothing did
    EarthworkErrorCode errorCode = EarthworkErrorCode::None;
    // With skipUnready: the sections passed over, and the chainage of the first of them.
    int notDesigned = 0, notSurveyed = 0;
    std::optional<double> firstSkipped;
};

// Whether a section has any ground reading (C, or one of the first viewSections left or right
// readings).
bool hasGroundReading(const RlRow& s, int viewSections = kReadingsPerSide);

// An empty sheet ends the run quietly (ran, no volumes, no error); a road whose RL sheet was
// never generated gets "Datasheet not generated! Click Generate Data Sheet from Data menu".
EarthworkResult UpdateEarthworkQuantities(Database& db, const EarthworkInputs& in);

} // namespace tarmela
