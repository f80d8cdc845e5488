#include "ui/sheets/SheetLayouts.h"

#include "store/Error.h"
#include "store/Roads.h"
#include "store/SheetQueries.h"
#include "ui/common/AppState.h"
#include "ui/common/Prompts.h"
#include "ui/common/SubWindowPlacement.h"
#include "ui/sheets/SheetModel.h"
#include "ui/sheets/VellGrid.h"
#include "ui/sheets/dlgInputSelectView.h"
#include "ui/sheets/dlgLevelBookSelectView.h"
#include "ui/sheets/frmDataGrid.h"

#include <QRegularExpression>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <cstring>
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
    bool roadSheet; // shows the data of one road (the current road when opened)
};

// Every kind has its entry: the switch names them all (the compiler checks), and a value
// outside the enum is a programming error, not a road details sheet.
KindInfo infoOf(SheetKind kind)
{
    switch (kind) {
    case SheetKind::RoadDetails:
        return {"RoadDetails", "Road Details", 15, false};
    case SheetKind::LevelBook:
        return {"LevelBook", "LB Sheet", 16, true};
    case SheetKind::ReducedLevel:
        return {"ReducedLevel", "RL Sheet", 17, true};
    case SheetKind::CulvertTypes:
        return {"CulvertTypes", "Types of Culverts", 18, false};
    case SheetKind::Culverts:
        return {"Culverts", "Culverts & Bridges", 19, true};
    case SheetKind::ChainageDistance:
        return {"ChainageDistance", "Cross Distances", 20, true};
    }
    throw std::invalid_argument("unknown sheet kind " + std::to_string(int(kind)));
}

void setColumns(frmDataGrid* sheet, int from, int to, const std::function<void(GridColumn&)>& f)
{
    SheetModel* m = sheet->model();
    for (int c = from; c <= to && c < m->columnCount(); ++c)
        f(m->column(c));
}

// Display decimals of the survey columns: levels and staff readings 3, distances and widths 2.
int decimalsOf(const QString& column)
{
    static const QRegularExpression levels(
        QStringLiteral("^([LR][1-8]|C|FL[12]|FC|FR[12]|BS|FS|HI|Crust|Fill Area|Cut Area)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression widths(QStringLiteral("^(Width|TopWidth|BottomWidth)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (levels.match(column).hasMatch())
        return 3;
    if (widths.match(column).hasMatch())
        return 2;
    return -1;
}

// Header captions for the columns whose names were made for the database, not for reading.
QString captionOf(SheetKind kind, const QString& column)
{
    struct Caption {
        const char* kind; // nullptr: any sheet
        const char* column;
        const char* caption;
    };
    static const Caption captions[] = {
        {nullptr, "TopWidth", "Top Width"},
        {nullptr, "BottomWidth", "Bottom Width"},
        {"RoadDetails", "Length", "Length (m)"},
        {"RoadDetails", "Interval", "Interval (m)"},
        {"RoadDetails", "Formation Camber", "Formation Camber (%)"},
        {"RoadDetails", "Carriage Camber", "Carriage Camber (%)"},
        {"RoadDetails", "Field1", "Title Block 1"},
        {"RoadDetails", "Field2", "Title Block 2"},
        {"RoadDetails", "Field3", "Title Block 3"},
        {"RoadDetails", "Field4", "Title Block 4"},
        {nullptr, "CulvertName", "Name"},
        {"CulvertTypes", "ImageFileExisting", "Picture (Existing)"},
        {"CulvertTypes", "ImageFileProposed", "Picture (Proposed)"},
        {"Culverts", "EPType", "Existing / Proposed"},
    };
    for (const Caption& c : captions)
        if ((!c.kind || std::strcmp(infoOf(kind).name, c.kind) == 0) &&
            column.compare(QLatin1String(c.column), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(c.caption);
    return {};
}

void applyKindSettings(frmDataGrid* sheet, SheetKind kind)
{
    SheetModel* m = sheet->model();
    const int last = m->columnCount() - 1;
    for (int c = 0; c <= last; ++c) {
        const QString name = sheet->rows().columnName(c);
        m->column(c).caption = captionOf(kind, name);
        if (kind != SheetKind::RoadDetails)
            m->column(c).decimals = decimalsOf(name);
    }
    switch (kind) {
    case SheetKind::ReducedLevel:
    case SheetKind::LevelBook: {
        setColumns(sheet, 0, last, [](GridColumn& c) { c.textAlign = 2; });
        // The chainage names the row however far right the levels are scrolled.
        sheet->grid()->setFirstColumnFrozen(true);
        // Remarks is free text.
        const int remarks = sheet->rows().columnIndex(QStringLiteral("Remarks"));
        if (remarks >= 0 && remarks <= last) {
            m->column(remarks).textAlign = 1;
            m->column(remarks).width = 200;
        }
        break;
    }
    case SheetKind::ChainageDistance:
        setColumns(sheet, 0, last, [](GridColumn& c) {
            c.textAlign = 2;
            c.decimals = 2;
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
            c.width = 140;
            c.textAlign = 1;
        });
        setColumns(sheet, 2, 2, [](GridColumn& c) {
            c.width = 110;
            c.textAlign = 2;
        });
        setColumns(sheet, 0, 2, [](GridColumn& c) { c.enabled = false; });
        break;
    case SheetKind::CulvertTypes:
        // Type texts such as "Slab Culvert" and picture names are read whole.
        setColumns(sheet, 0, 0, [](GridColumn& c) { c.widthPercent = 100; });
        setColumns(sheet, 1, 1, [](GridColumn& c) {
            c.width = 160;
            c.textAlign = 1;
        });
        setColumns(sheet, 2, 3, [](GridColumn& c) { c.width = 200; });
        break;
    }
}

// The window title of a sheet: its kind, and for a road's own sheets the road it shows.
QString titleOf(const KindInfo& info, std::int64_t road)
{
    QString title = QString::fromUtf8(info.title);
    if (road <= 0 || !appState().ProjectConnection)
        return title;
    try {
        const Road r = roads::get(*appState().ProjectConnection, road);
        title += QStringLiteral(" — ") + r.from + QStringLiteral(" To ") + r.to;
    } catch (const Error&) {
        title += QStringLiteral(" — road %1").arg(road);
    }
    return title;
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
    if (info.roadSheet)
        sheet->RoadID = appState().CurrentRoadID;
    sheet->grid()->setRedraw(false);
    // The trailing ID column stays in the rows (they are keyed by it) but is not shown.
    const int cols = sheet->model()->columnCount();
    sheet->DeleteCols(cols - 1, 1);
    applyKindSettings(sheet, kind);
    sheet->setBaseTitle(titleOf(info, sheet->RoadID));
    // Another window of the same sheet open: this one takes the lowest number free.
    QList<int> taken;
    for (QMdiSubWindow* other : area->subWindowList())
        if (auto* open = qobject_cast<frmDataGrid*>(other->widget());
            open && open->baseTitle() == sheet->baseTitle())
            taken << open->copyNumber();
    int copy = 1;
    while (taken.contains(copy))
        ++copy;
    sheet->setCopyNumber(copy);
    sheet->grid()->applyColumnWidths();

    if (openedHandler())
        openedHandler()(sheet);
    QMdiSubWindow* sub = area->addSubWindow(sheet);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    connectActivation(area, sub, sheet);
    placeSubWindow(area, sub);
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
