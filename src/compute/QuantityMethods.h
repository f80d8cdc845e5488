#pragma once

// The quantity methods a road's fill and cut areas can be computed by. The setting
// QuantityCalcMethod holds a method's id; the Options dialog offers these methods, the
// settings and the batch tool accept only their ids, and both recomputations (the whole road
// and the formation tool's few rows) compute each section through them. A new method is a new
// entry here.

#include "compute/SectionAreas.h"

#include <QString>
#include <vector>

namespace tarmela
{

// What a method carries from one section to the next, in chainage order: the Long method's
// centre point (a section without its own C or FC takes the one before); the other methods
// leave it alone. A run starts from a default one.
using SectionCarry = CentrePoint;

struct QuantityMethod {
    int id;                   // the value of QuantityCalcMethod
    const char* caption;      // as the Options dialog and the messages name it
    bool needsCrossDistances; // lays each section out at the road's cross distances
    bool carriesCentre;       // takes the carried centre point (SectionCarry)
    // The section's areas; s has its defaults and side levels. Throws MissingValue.
    SectionArea (*area)(const RlRow& s, const CrossDistances& distances, int viewSections,
                        SectionCarry& carry);
};

// In the order the Options dialog lists them.
const std::vector<QuantityMethod>& quantityMethods();

// The method with this id; nullptr when there is none.
const QuantityMethod* findQuantityMethod(int id);

// The ids, as a message lists them: "0, 1 or 2".
QString quantityMethodIds();

} // namespace tarmela
