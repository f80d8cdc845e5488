#include "compute/HeightOfInstrument.h"

#include <cmath>

namespace tarmela
{

InstrumentStep instrumentStep(double hiBefore, double bs, double fs, double c)
{
    const auto orZero = [](double v) { return std::isnan(v) ? 0.0 : v; };
    InstrumentStep step;
    step.hiBefore = hiBefore;
    step.hiAfter = hiBefore;
    if (orZero(bs) > 0)
        step.hiAfter += bs;
    if (orZero(fs) > 0)
        step.hiAfter -= fs;
    step.centre = orZero(c) == 0 ? hiBefore - orZero(fs) : step.hiAfter - c;
    return step;
}

} // namespace tarmela
