#pragma once

namespace tarmela
{

// One row of a level book worked by the height of instrument method; the level book reduction
// and the Level Book report both go through here, so they give the same levels.
struct InstrumentStep {
    double hiBefore = 0; // the height of instrument the row starts from
    double hiAfter = 0;  // after the row: a back sight raises it, a fore sight lowers it
    double centre = 0;   // the level at the centre line
    // The level of a reading on the row's cross section, seen from the height after the row.
    double levelOf(double reading) const { return hiAfter - reading; }
};

// bs, fs and c are the row's back sight, fore sight and centre reading, NaN when empty; only a
// sight above zero moves the instrument. A row without a centre reading (empty or 0) is a
// change point: its centre level is the fore sight's, seen from the height before the change.
InstrumentStep instrumentStep(double hiBefore, double bs, double fs, double c);

} // namespace tarmela
