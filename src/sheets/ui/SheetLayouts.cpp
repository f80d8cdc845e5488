#include "sheets/ui/SheetLayouts.h"

#include "sheets/SheetStatements.h"
#include "sheets/ui/SheetModel.h"
#include "sheets/ui/VellGrid.h"
#include "sheets/ui/dlgInputSelectView.h"
#include "sheets/ui/dlgLevelBookSelectView.h"
#include "sheets/ui/frmDataGrid.h"
#include "store/Error.h"
#include "ui/common/AppState.h"
#include "ui/common/Prompts.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <stdexcept>
#include <string>

namespace tarmela
{

namespace
{

struct KindInfo {
    const char* name;
    const char* title;
    int help;
};

// Every kind has its entry: the switch names them all (the compiler checks), and a value
// outside the enum is a programming error, not a road details sheet.
KindInfo infoOf(SheetKind kind)
{
    switch (kind) {
    case SheetKind::RoadDetails:
        return {"RoadDetails", "Road Details", 15};
    case SheetKind::LevelBook:
        return {"LevelBook", "LB Sheet", 16};
    case SheetKind::ReducedLevel:
        return {"ReducedLevel", "RL Sheet", 17};
    case SheetKind::CulvertTypes:
        return {"CulvertTypes", "Types of Culverts", 18};
    case SheetKind::Culverts:
        return {"Culverts", "Culverts & Bridges", 19};
    case SheetKind::ChainageDistance:
        return {"ChainageDistance", "Cross Distances", 20};
    }
    throw std::invalid_argument("unknown sheet kind " + std::to_string(int(kind)));
}

void setColumns(frmDataGrid* sheet, int from, int to, const std::function<void(GridColumn&)>& f)
{
    SheetModel* m = sheet->model();
    for (int c = from; c <= to && c < m->columnCount(); ++c)
        f(m->column(c));
}

void applyKindSettings(frmDataGrid* sheet, SheetKind kind)
{
    const int last = sheet->model()->columnCount() - 1;
    switch (kind) {
    case SheetKind::ReducedLevel:
    case SheetKind::LevelBook: {
        setColumns(sheet, 0, last, [](GridColumn& c) { c.textAlign = 2; });
        // Remarks is free text.
        const int remarks = sheet->rows().columnIndex(QStringLiteral("Remarks"));
        if (remarks >= 0 && remarks <= last) {
            sheet->model()->column(remarks).textAlign = 1;
            sheet->model()->column(remarks).width = 200;
        }
        break;
    }
    case SheetKind::ChainageDistance:
        setColumns(sheet, 0, last, [](GridColumn& c) {
            c.textAlign = 2;
            c.format = QStringLiteral("0.00");
        });
        break;
    case SheetKind::RoadDetails:
        setColumns(sheet, 2, 5, [](GridColumn& c) {
            c.textAlign = 2;
            c.width = 110;
        });
        setColumns(sheet, 6, 9, [](GridColumn& c) {
            c.textAlign = 1;
            c.width = 110;
        });
        setColumns(sheet, 10, 10, [](GridColumn& c) { c.textAlign = 2; });
        setColumns(sheet, 0, 1, [](GridColumn& c) {
            c.widthPercent = 50;
            c.textAlign = 1;
        });
        break;
    case SheetKind::Culverts:
        setColumns(sheet, 0, 0, [](GridColumn& c) { c.widthPercent = 100; });
        setColumns(sheet, 1, 1, [](GridColumn& c) {
            c.width = 70;
            c.textAlign = 1;
        });
        setColumns(sheet, 2, 2, [](GridColumn& c) { c.textAlign = 2; });
        setColumns(sheet, 0, 2, [](GridColumn& c) { c.enabled = false; });
        break;
    case SheetKind::CulvertTypes:
        setColumns(sheet, 0, 0, [](GridColumn& c) { c.widthPercent = 100; });
        setColumns(sheet, 1, 1, [](GridColumn& c) {
            c.width = 70;
            c.textAlign = 1;
        });
        setColumns(sheet, 2, 3, [](GridColumn& c) { c.width = 130; });
        break;
    }
}

// Activation follows the area's active sub-window.
void connectActivation(QMdiArea* area, QMdiSubWindow* sub, frmDataGrid* sheet)
{
    QPointer<QMdiSubWindow> guard(sub);
    QObject::connect(area, &QMdiArea::subWindowActivated, sheet, [guard, sheet](QMdiSubWindow* w) {
        sheet->setActive(guard && w == guard.data());
    });
}

std::function<void(frmDataGrid*)>& openedHandler()
{
    static std::function<void(frmDataGrid*)> handler;
    return handler;
}

} // namespace

void SetSheetOpenedHandler(std::function<void(frmDataGrid*)> handler)
{
    openedHandler() = std::move(handler);
}

const char* sheetKindName(SheetKind kind)
{
    return infoOf(kind).name;
}

frmDataGrid* OpenSheetOfKind(QMdiArea* area, SheetKind kind, const QString& statement)
{
    auto* sheet = new frmDataGrid(kind);
    try {
        sheet->Load(statement);
    } catch (const Error& e) {
        delete sheet;
        prompts().tell(area, e.message(), QMessageBox::Warning);
        return nullptr;
    }
    const KindInfo info = infoOf(kind);
    sheet->HelpContextID = info.help;
    sheet->grid()->setRedraw(false);
    // The trailing ID column stays in the rows (they are keyed by it) but is not shown.
    const int cols = sheet->model()->columnCount();
    sheet->DeleteCols(cols - 1, 1);
    applyKindSettings(sheet, kind);
    sheet->setWindowTitle(QString::fromLatin1(info.title));
    sheet->grid()->applyColumnWidths();

    if (openedHandler())
        openedHandler()(sheet);
    QMdiSubWindow* sub = area->addSubWindow(sheet);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    connectActivation(area, sub, sheet);
    sub->resize(std::max(area->width() * 9 / 10, 600), std::max(area->height() * 9 / 10, 300));
    sub->show();
    sheet->grid()->setRedraw(true);
    sheet->grid()->applyColumnWidths();
    area->setActiveSubWindow(sub);
    sheet->setActive(area->activeSubWindow() == sub);
    return sheet;
}

frmDataGrid* OpenRoadDetailsSheet(QMdiArea* area)
{
    return OpenSheetOfKind(area, SheetKind::RoadDetails, sheets::roadDetailsStatement());
}

frmDataGrid* OpenReducedLevelSheet(QMdiArea* area)
{
    dlgInputSelectView dlg(area ? area->window() : nullptr);
    if (dlg.exec() != QDialog::Accepted)
        return nullptr;
    return OpenSheetOfKind(area, SheetKind::ReducedLevel, dlg.statement());
}

frmDataGrid* OpenLevelBookSheet(QMdiArea* area)
{
    dlgLevelBookSelectView dlg(area ? area->window() : nullptr);
    if (dlg.exec() != QDialog::Accepted)
        return nullptr;
    return OpenSheetOfKind(area, SheetKind::LevelBook, dlg.statement());
}

frmDataGrid* OpenCulvertsSheet(QMdiArea* area)
{
    return OpenSheetOfKind(area, SheetKind::Culverts,
                           sheets::culvertsStatement(appState().CurrentRoadID));
}

frmDataGrid* OpenCulvertTypesSheet(QMdiArea* area)
{
    return OpenSheetOfKind(area, SheetKind::CulvertTypes, sheets::culvertTypesStatement());
}

frmDataGrid* OpenCrossDistancesSheet(QMdiArea* area)
{
    return OpenSheetOfKind(
        area, SheetKind::ChainageDistance,
        sheets::crossDistancesStatement(appState().CurrentRoadID, appState().ReadingsPerSide));
}

} // namespace tarmela
