#pragma once

class QMdiArea;

namespace tarmela {

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

// The part after the view dialog: opens appState().ViewSQL as a sheet of that kind in the
// area ("ReducedLevel", "LevelBook", ...). Used by the routines above and by tests.
frmDataGrid* OpenSheetOfKind(QMdiArea* area, const char* kind);

} // namespace tarmela
