#pragma once

#include "compute/EarthworkQuantities.h"
#include "settings/Settings.h"

#include <QLocale>
#include <QString>
#include <cstdint>

namespace tarmela
{

// A recomputation of the road as the user's settings ask for it (quantity method, readings
// per side); the cambers are fractions. Both programs recompute through this.
EarthworkInputs earthworkInputsFor(const Settings& settings, std::int64_t road,
                                   double formationCamber, double carriageCamber);

// The lines that show a road's volumes in the status bar and the batch tool's output:
// "Filling = 1,234.56 Cum", "Cutting = ...", "Total = ..." (two decimals, thousands grouped).
// gaps: "1 gap counted as 50 m", "3 gaps counted as 50 m" when the volumes hold long gaps,
// empty otherwise.
struct QuantityTexts {
    QString filling, cutting, total, gaps;
};
QuantityTexts quantityTexts(const VolumeSummary& volumes, const QLocale& locale);

// What stopped a recomputation, as the user reads it: the description and, for a numbered
// message, "Error Code=N" on the next line. Empty when nothing stopped it.
QString earthworkMessage(const EarthworkResult& result);

} // namespace tarmela
