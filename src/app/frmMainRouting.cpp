// The main window's command routing: commands go to the active data sheet by its kind, and
// the road life cycle (choose, create, delete) runs here.
#include "app/frmMain.h"
#include "compute/EarthworkQuantities.h"
#include "compute/ui/dlgConvertLBtoRL.h"
#include "compute/ui/frmReports.h"
#include "export/ui/frmExportMultiple.h"
#include "formation/ui/frmPlotFormation.h"
#include "sheets/ui/SheetLayouts.h"
#include "sheets/ui/dlgAddCulvert.h"
#include "sheets/ui/dlgAddCulvertType.h"
#include "sheets/ui/dlgGenerateTable.h"
#include "sheets/ui/dlgSearchWindow.h"
#include "sheets/ui/frmDataGrid.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "store/Statements.h"
#include "store/Transaction.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Prompts.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWheelEvent>

namespace tarmela {

namespace {

void tell(QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::Warning)
{
    prompts().tell(parent, text, icon);
}

QString sheetKind(const QWidget* w)
{
    const auto* sheet = qobject_cast<const frmDataGrid*>(w);
    return sheet ? sheet->strCurrentDataSheet : QString();
}

// The filter window is one for the whole program, kept above the other windows.
QPointer<dlgSearchWindow>& filterWindow()
{
    static QPointer<dlgSearchWindow> window;
    return window;
}

} // namespace

frmDataGrid* frmMain::activeSheet() const
{
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    return sub ? qobject_cast<frmDataGrid*>(sub->widget()) : nullptr;
}

void frmMain::wireRouting()
{
    auto on = [this](const char* name, auto slot) {
        connect(command(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    on("mnuEditCopy", [this] { sheetMenuEvent(1); });
    on("mnuEditCut", [this] { sheetMenuEvent(2); });
    on("mnuEditPaste", [this] { sheetMenuEvent(3); });
    on("mnuEditUndo", [this] {
        if (frmPlotFormation* tool = activeFormationTool())
            tool->RestoreFC();
        else
            sheetMenuEvent(5);
    });
    on("mnuEditTransform", [this] { sheetMenuEvent(6); });
    on("mnuEditAdd", [this] { editAdd(); });
    on("mnuEditDelete", [this] { editDelete(); });
    on("mnuViewDetail", [this] { toggleFilterWindow(); });
    on("mnuLockColumn", [this] {
        if (frmDataGrid* sheet = activeSheet())
            sheet->LockColumns();
    });
    on("mnuViewRefresh", [this] {
        if (frmDataGrid* sheet = activeSheet())
            sheet->RefreshData();
        else if (frmPlotFormation* tool = activeFormationTool())
            tool->pbRefresh();
    });
    on("mnuFormationPlot", [this] { openFormationTool(); });
    on("mnuRoadDetails", [this] { openSheet(QStringLiteral("RoadDetails")); });
    on("mnuLevelBook", [this] { openSheet(QStringLiteral("LevelBook")); });
    on("mnuInputDataSheet", [this] { openSheet(QStringLiteral("ReducedLevel")); });
    on("mnuViewCulverts", [this] { openSheet(QStringLiteral("Culverts")); });
    on("mnuCrossDistances", [this] { openSheet(QStringLiteral("ChainageDistance")); });
    on("mnuCulvertTypes", [this] { openSheet(QStringLiteral("CulvertTypes")); });
    on("mnuToolsGenerateTable", [this] {
        dlgGenerateTable dlg(this);
        dlg.exec();
    });
    on("mnuLBtoRL", [this] {
        dlgConvertLBtoRL dlg(this);
        dlg.exec();
    });
    on("mnuEarthworkReport", [this] { frmReports::Open(m_mdi, 1); });
    on("mnuLevelBookReport", [this] { frmReports::Open(m_mdi, 2); });
    on("mnuFileExport", [this] {
        frmExportMultiple dlg(this);
        dlg.exec();
    });
    connect(toolButton(QStringLiteral("Update")), &QAction::triggered, this,
            &frmMain::updateQuantities);
}

void frmMain::onSubWindowActivated(QMdiSubWindow*)
{
    frmDataGrid* sheet = activeSheet();
    setSheetCommandsEnabled(sheet != nullptr);
    if (sheet)
        connectSheet(sheet);
    if (activeFormationTool())
        for (const char* name : {"mnuEditUndo", "mnuViewRefresh"})
            command(QString::fromLatin1(name))->setEnabled(true);
    toolButton(QStringLiteral("Undo"))->setEnabled(command(QStringLiteral("mnuEditUndo"))->isEnabled());
}

void frmMain::connectSheet(frmDataGrid* sheet)
{
    connect(sheet, &frmDataGrid::rowHeaderDoubleClicked, this, &frmMain::DoubleClickHandler,
            Qt::UniqueConnection);
    connect(sheet, &frmDataGrid::dependentDrawingsChanged, this, &frmMain::clearQuantityPanels,
            Qt::UniqueConnection);
    connect(sheet, &frmDataGrid::dependentDrawingsChanged, this, &frmMain::refreshFormationTool,
            Qt::UniqueConnection);
}

void frmMain::clearQuantityPanels()
{
    for (int panel = 2; panel <= 4; ++panel)
        setStatusPanel(panel, QString());
}

void frmMain::fileSave()
{
    if (frmDataGrid* sheet = activeSheet())
        sheet->HandleMenuEvent(4);
    else
        tell(this, tr("Disabled"), QMessageBox::Information);
}

void frmMain::sheetMenuEvent(int code)
{
    if (frmDataGrid* sheet = activeSheet())
        sheet->HandleMenuEvent(code);
}

void frmMain::openSheet(const QString& kind)
{
    if (kind == QLatin1String("RoadDetails"))
        OpenRoadDetailsSheet(m_mdi);
    else if (kind == QLatin1String("LevelBook"))
        OpenLevelBookSheet(m_mdi);
    else if (kind == QLatin1String("ReducedLevel"))
        OpenReducedLevelSheet(m_mdi);
    else if (kind == QLatin1String("Culverts"))
        OpenCulvertsSheet(m_mdi);
    else if (kind == QLatin1String("CulvertTypes"))
        OpenCulvertTypesSheet(m_mdi);
    else if (kind == QLatin1String("ChainageDistance"))
        OpenCrossDistancesSheet(m_mdi);
}

void frmMain::toggleFilterWindow()
{
    QAction* mark = command(QStringLiteral("mnuViewDetail"));
    QPointer<dlgSearchWindow>& window = filterWindow();
    if (window) {
        window->close();
        mark->setChecked(false);
        return;
    }
    window = new dlgSearchWindow([this] { return activeSheet(); }, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &dlgSearchWindow::closed, this, [mark] { mark->setChecked(false); });
    window->loadFields();
    window->show();
    mark->setChecked(true);
}

void frmMain::editAdd()
{
    frmDataGrid* sheet = activeSheet();
    if (!sheet)
        return;
    const QString kind = sheet->strCurrentDataSheet;
    if (kind == QLatin1String("CulvertTypes")) {
        dlgAddCulvertType dlg(this);
        dlg.exec();
        sheet->RefreshData();
    } else if (kind == QLatin1String("Culverts")) {
        dlgAddCulvert dlg(this);
        dlg.exec();
        sheet->RefreshData();
        refreshFormationTool();
    } else if (kind == QLatin1String("ReducedLevel")) {
        appendSection(sheet, false);
        refreshFormationTool();
    } else if (kind == QLatin1String("LevelBook")) {
        appendSection(sheet, true);
    } else if (kind == QLatin1String("RoadDetails")) {
        addRoad(sheet);
    }
}

void frmMain::appendSection(frmDataGrid* sheet, bool levelBook)
{
    AppState& s = appState();
    sheet->SaveBeforeAdd();
    try {
        const std::int64_t id = roads::appendSection(*s.ProjectConnection,
                                                     levelBook ? statements::Sheet::LevelBook
                                                               : statements::Sheet::ReducedLevel,
                                                     s.CurrentRoadID, s.RoadInterval);
        sheet->RefreshData();
        sheet->SeekRecord(id);
    } catch (const Error& e) {
        tell(this, e.message());
    }
}

void frmMain::addRoad(frmDataGrid* sheet)
{
    AppState& s = appState();
    try {
        // The road row, its two sheets and its cross distances are made together or not at all.
        RoadChanges values;
        values.length = 1;
        const std::int64_t id = roads::create(*s.ProjectConnection, values);
        sheet->RefreshData();
        sheet->SeekRecord(id);
        s.RoadsRecordset->requery();
    } catch (const Error& e) {
        tell(this, e.message());
    }
}

void frmMain::editDelete()
{
    frmDataGrid* sheet = activeSheet();
    if (!sheet)
        return;
    const QString kind = sheet->strCurrentDataSheet;
    if (kind == QLatin1String("CulvertTypes"))
        deleteCulvertTypes(sheet);
    else if (kind == QLatin1String("Culverts"))
        deleteCulverts(sheet);
    else if (kind == QLatin1String("RoadDetails"))
        deleteRoad(sheet);
    else if (kind == QLatin1String("ReducedLevel") || kind == QLatin1String("LevelBook"))
        sheet->DeleteRecord();
    if (kind != QLatin1String("RoadDetails") && kind != QLatin1String("LevelBook"))
        refreshFormationTool();
}

void frmMain::deleteRoad(frmDataGrid* sheet)
{
    AppState& s = appState();
    if (sheet->SelectCountRow() > 1) {
        tell(this, tr("Select a single road at a time for deletion"));
        return;
    }
    const std::int64_t road = sheet->CurrentSelectedRecord();
    // Edits of the sheet are written before the deletion starts, so that a deletion that
    // fails and is rolled back takes nothing else with it.
    if (sheet->changed() && !sheet->Save())
        return;
    try {
        // The road's row goes with its tables, cross distances and culverts, or none of them.
        Transaction tx(*s.ProjectConnection);
        if (!sheet->DeleteRecord())
            return;
        roads::remove(*s.ProjectConnection, road);
        tx.commit();
    } catch (const Error& e) {
        sheet->RefreshData(); // the row is back in the database
        tell(this, e.message());
        return;
    }
    try {
        s.RoadsRecordset->requery();
    } catch (const Error& e) {
        tell(this, e.message());
    }
    if (road == s.CurrentRoadID) {
        s.CurrentRoadID = 0;
        EnableRoadCommands(false);
        CloseRoadWindows();
        setStatusPanel(1, QString());
        clearQuantityPanels();
    }
}

void frmMain::deleteCulvertTypes(frmDataGrid* sheet)
{
    AppState& s = appState();
    if (sheet->changed() && !sheet->Save())
        return;
    try {
        // The types and the culverts placed with them go together.
        Transaction tx(*s.ProjectConnection);
        if (!sheet->DeleteRecord())
            return;
        s.ProjectConnection->execute(statements::deleteCulvertsWithoutType());
        tx.commit();
    } catch (const Error& e) {
        sheet->RefreshData();
        tell(this, e.message());
        return;
    }
    try {
        s.CulvertTypesRecordset->requery();
        s.CulvertsRecordset->requery();
    } catch (const Error& e) {
        tell(this, e.message());
    }
}

void frmMain::deleteCulverts(frmDataGrid* sheet)
{
    AppState& s = appState();
    if (!sheet->DeleteRecord(statements::deleteCulvertTemplate()))
        return;
    try {
        s.CulvertsRecordset->requery();
    } catch (const Error& e) {
        tell(this, e.message());
    }
}

void frmMain::updateQuantities()
{
    AppState& s = appState();
    if (!s.ProjectConnection)
        return;
    if (frmPlotFormation* tool = formationTool()) {
        tool->recomputeRoad(); // its grid gets the kilometres too
        return;
    }
    EarthworkInputs in;
    in.road = s.CurrentRoadID;
    in.method = s.settings.QuantityCalcMethod;
    in.viewSections = s.settings.ViewSections;
    in.formationCamber = s.FormationCamber;
    in.carriageCamber = s.CarriageCamber;
    in.locale = QLocale();
    EarthworkResult r;
    {
        BusyCursor busy;
        r = UpdateEarthworkQuantities(*s.ProjectConnection, in);
    }
    if (r.volumesDone) {
        setStatusPanel(2, r.filling);
        setStatusPanel(3, r.cutting);
        setStatusPanel(4, r.total);
    }
    if (!r.error.isEmpty())
        tell(this, r.error);
}

void frmMain::CloseRoadWindows()
{
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        QWidget* w = sub->widget();
        if (!w)
            continue;
        const QString kind = sheetKind(w);
        if (w->objectName() == QLatin1String("frmPlotFormation") ||
            kind == QLatin1String("Culverts") || kind == QLatin1String("ReducedLevel"))
            sub->close();
    }
}

void frmMain::DoubleClickHandler()
{
    frmDataGrid* sheet = activeSheet();
    if (!sheet || sheet->strCurrentDataSheet != QLatin1String("RoadDetails"))
        return;
    const std::int64_t road = sheet->CurrentSelectedRecord();
    if (road < 1)
        return;
    // The sheet goes away first; it may ask about unsaved edits and stay.
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    if (sub && !sub->close())
        return;
    ChooseRoad(road);
}

bool frmMain::ChooseRoad(std::int64_t road)
{
    AppState& s = appState();
    Road r;
    try {
        r = roads::get(*s.ProjectConnection, road);
        s.RoadsRecordset->requery();
        s.RoadsRecordset->moveFirst();
        s.RoadsRecordset->find(QStringLiteral("ID=") + QString::number(road));
    } catch (const Error& e) {
        tell(this, e.message());
        return false;
    }
    s.CurrentRoadID = road;
    s.RoadInterval = r.interval;
    s.FormationCamber = r.formationCamber / 100;
    s.CarriageCamber = r.carriageCamber / 100;
    EnableRoadCommands(true);
    CloseRoadWindows();
    try {
        s.CulvertsRecordset->close();
        s.CulvertsRecordset->open(statements::selectCulverts(road));
        s.CrossDistanceRecordset->close();
        s.CrossDistanceRecordset->open(statements::selectCrossDistances(road));
    } catch (const Error& e) {
        tell(this, e.message());
    }
    setStatusPanel(1, r.from + QStringLiteral(" To ") + r.to);
    clearQuantityPanels();
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        QMdiSubWindow* sub = m_mdi->activeSubWindow();
        auto* w = qobject_cast<QWidget*>(watched);
        frmDataGrid* sheet = activeSheet();
        if (sheet && w && sub && (w == sub || sub->isAncestorOf(w))) {
            const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
            if (delta != 0) {
                sheet->MouseWheel(delta);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tarmela
