#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarmela
{

class Database;

// The mass-haul diagram as a drawing: its sheets side by side, each the printed sheet's lines
// and texts (drawing/MassHaulDiagram.h) at the longitudinal drawing's scale (28 units to
// 1000 m), on the layers FRAME, GRID, MASSHAUL (the curve and the balance marks) and TEXT.
// templateFolder holds HeaderL.dxf. Returns the warning for a road without rows. Throws Error;
// the target is replaced only by a complete drawing.
QStringList ExportMassHaulDxf(Database& db, std::int64_t road, const QString& templateFolder,
                              const QString& target);

// Drawing units per twip of the sheet.
constexpr double kMassHaulDxfUnit = 28.0 / 22680.0;

} // namespace tarmela
