#pragma once

#include "store/Schema.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarmela
{

class Database;

// What the two drawings take from the user's settings, and where their header templates are.
struct DxfOptions {
    int viewSections = kReadingsPerSide;
    int sectionsPerPage = 6;
    bool lsectionGrid = false;
    bool fixedDatum = true;
    int fixedDatumValue = 95;
    QString templateFolder; // folder holding HeaderL.dxf and HeaderX.dxf
};

// Write the whole drawing to target (replacing it). Throw Error on failure, with the file
// closed. The long section returns its non-fatal messages (a sheet without rows).
//
// The target is replaced only when the drawing is complete: a failure leaves an existing file
// as it was and no partial file behind.
QStringList ExportLongSectionDxf(Database& db, std::int64_t road, const DxfOptions& o,
                                 const QString& target);
void ExportCrossSectionsDxf(Database& db, std::int64_t road, const DxfOptions& o,
                            const QString& target);
// The same sections in world units for reuse in CAD (1 unit = 1 m, true geometry), each at its
// own insertion point along x (CrossSectionWorldDxf.cpp).
void ExportCrossSectionsWorldDxf(Database& db, std::int64_t road, const DxfOptions& o,
                                 const QString& target);

} // namespace tarmela
