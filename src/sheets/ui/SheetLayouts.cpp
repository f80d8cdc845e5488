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

namespace tarmela
{

namespace
{

struct KindInfo {
    const char* kind;
    const char* title;
    int help;
};

const KindInfo kKinds[] = {
    {"RoadDetails", "Road Details", 15},    {"LevelBook", "LB Sheet", 16},
    {"ReducedLevel", "RL Sheet", 17},       {"CulvertTypes", "Types of Culverts", 18},
    {"Culverts", "Culverts & Bridges", 19}, {"ChainageDistance", "Cross Distances", 20},
};

const KindInfo& infoOf(const QString& kind)
{
    for (const KindInfo& k : kKinds)
        if (kind == QLatin1String(k.kind))
            return k;
    return kKinds[0];
}

void setColumns(frmDataGrid* sheet, int from, int to, const std::function<void(GridColumn&)>& f)
{
    SheetModel* m = sheet->model();
    for (int c = from; c <= to && c < m->columnCount(); ++c)
        f(m->column(c));
}

void applyKindSettings(frmDataGrid* sheet, const QString& kind)
{
    const int last = sheet->model()->columnCount() - 1;
    if (kind == QLatin1String("ReducedLevel") || kind == QLatin1String("LevelBook")) {
        setColumns(sheet, 0, last, [](GridColumn& c) { c.textAlign = 2; });
        // Remarks is free text.
        const int remarks = sheet->rows().columnIndex(QStringLiteral("Remarks"));
        if (remarks >= 0 && remarks <= last) {
            sheet->model()->column(remarks).textAlign = 1;
            sheet->model()->column(remarks).width = 200;
        }
    } else if (kind == QLatin1String("ChainageDistance")) {
        setColumns(sheet, 0, last, [](GridColumn& c) {
            c.textAlign = 2;
            c.format = QStringLiteral("0.00");
        });
    } else if (kind == QLatin1String("RoadDetails")) {
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
    } else if (kind == QLatin1String("Culverts")) {
        setColumns(sheet, 0, 0, [](GridColumn& c) { c.widthPercent = 100; });
        setColumns(sheet, 1, 1, [](GridColumn& c) {
            c.width = 70;
            c.textAlign = 1;
        });
        setColumns(sheet, 2, 2, [](GridColumn& c) { c.textAlign = 2; });
        setColumns(sheet, 0, 2, [](GridColumn& c) { c.enabled = false; });
    } else if (kind == QLatin1String("CulvertTypes")) {
        setColumns(sheet, 0, 0, [](GridColumn& c) { c.widthPercent = 100; });
        setColumns(sheet, 1, 1, [](GridColumn& c) {
            c.width = 70;
            c.textAlign = 1;
        });
        setColumns(sheet, 2, 3, [](GridColumn& c) { c.width = 130; });
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

frmDataGrid* OpenSheetOfKind(QMdiArea* area, const char* kindName)
{
    const QString kind = QString::fromLatin1(kindName);
    auto* sheet = new frmDataGrid;
    try {
        sheet->Load();
    } catch (const Error& e) {
        delete sheet;
        prompts().tell(area, e.message(), QMessageBox::Warning);
        return nullptr;
    }
    const KindInfo& info = infoOf(kind);
    sheet->HelpContextID = info.help;
    sheet->grid()->setRedraw(false);
    // The trailing ID column stays in the rows (they are keyed by it) but is not shown.
    const int cols = sheet->model()->columnCount();
    sheet->DeleteCols(cols - 1, 1);
    applyKindSettings(sheet, kind);
    sheet->strCurrentDataSheet = kind;
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
    appState().ViewSQL = sheets::roadDetailsStatement();
    return OpenSheetOfKind(area, "RoadDetails");
}

frmDataGrid* OpenReducedLevelSheet(QMdiArea* area)
{
    dlgInputSelectView dlg(area ? area->window() : nullptr);
    dlg.exec();
    if (appState().ViewSQL.isEmpty())
        return nullptr;
    return OpenSheetOfKind(area, "ReducedLevel");
}

frmDataGrid* OpenLevelBookSheet(QMdiArea* area)
{
    dlgLevelBookSelectView dlg(area ? area->window() : nullptr);
    dlg.exec();
    if (appState().ViewSQL.isEmpty())
        return nullptr;
    return OpenSheetOfKind(area, "LevelBook");
}

frmDataGrid* OpenCulvertsSheet(QMdiArea* area)
{
    appState().ViewSQL = sheets::culvertsStatement(appState().CurrentRoadID);
    return OpenSheetOfKind(area, "Culverts");
}

frmDataGrid* OpenCulvertTypesSheet(QMdiArea* area)
{
    appState().ViewSQL = sheets::culvertTypesStatement();
    return OpenSheetOfKind(area, "CulvertTypes");
}

frmDataGrid* OpenCrossDistancesSheet(QMdiArea* area)
{
    appState().ViewSQL =
        sheets::crossDistancesStatement(appState().CurrentRoadID, appState().ReadingsPerSide);
    return OpenSheetOfKind(area, "ChainageDistance");
}

} // namespace tarmela
