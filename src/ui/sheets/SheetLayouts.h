#pragma once

#include "ui/sheets/SheetKind.h"

#include <QString>
#include <functional>

class QMdiArea;

namespace tarmela
{

class frmDataGrid;

// One routine per kind of data sheet: each opens a new sheet in the area and returns it, or
// nullptr when the user cancelled the view dialog or the statement could not be opened (the
// message has been shown then).
frmDataGrid* OpenRoadDetailsSheet(QMdiArea* area);
frmDataGrid* OpenReducedLevelSheet(QMdiArea* area);
frmDataGrid* OpenLevelBookSheet(QMdiArea* area);
frmDataGrid* OpenCulvertsSheet(QMdiArea* area);
frmDataGrid* OpenCulvertTypesSheet(QMdiArea* area);
frmDataGrid* OpenCrossDistancesSheet(QMdiArea* area);

// Called with every new sheet after it is set up and before it is shown (and first
// activated), so that the main window can connect to its signals in time.
void SetSheetOpenedHandler(std::function<void(frmDataGrid*)> handler);

// The part after the view dialog: opens the statement as a sheet of that kind in the area.
// Used by the routines above and by tests.
frmDataGrid* OpenSheetOfKind(QMdiArea* area, SheetKind kind, const QString& statement);

} // namespace tarmela
