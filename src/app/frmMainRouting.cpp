// The main window's command routing: each command goes to the active child window through
// its MdiChild operations; opening windows and choosing the current road run here.
#include "app/WorkspaceHint.h"
#include "app/frmMain.h"
#include "compute/EarthworkQuantities.h"
#include "settings/Earthwork.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "store/Statements.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/MdiChild.h"
#include "ui/common/Prompts.h"
#include "ui/export/frmExportMultiple.h"
#include "ui/formation/frmPlotFormation.h"
#include "ui/pages/frmReports.h"
#include "ui/sheets/SheetLayouts.h"
#include "ui/sheets/dlgConvertLBtoRL.h"
#include "ui/sheets/dlgGenerateTable.h"
#include "ui/sheets/dlgSearchWindow.h"
#include "ui/sheets/frmDataGrid.h"

#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QUndoGroup>
#include <QUndoStack>
#include <QWheelEvent>

namespace tarmela
{

namespace
{

void tell(QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::Warning)
{
    prompts().tell(parent, text, icon);
}

// The filter window is one for the whole program, kept above the other windows.
QPointer<dlgSearchWindow>& filterWindow()
{
    static QPointer<dlgSearchWindow> window;
    return window;
}

MdiChild* childOf(QMdiSubWindow* sub)
{
    return sub ? dynamic_cast<MdiChild*>(sub->widget()) : nullptr;
}

} // namespace

const std::vector<frmMain::Route>& frmMain::routes()
{
    static const std::vector<Route> all = {
        {"mnuFilePrint", "Print", ChildCommand::Print, &MdiChild::print},
        {"mnuEditCut", "Cut", ChildCommand::Cut, &MdiChild::cut},
        {"mnuEditCopy", "Copy", ChildCommand::Copy, &MdiChild::copy},
        {"mnuEditPaste", "Paste", ChildCommand::Paste, &MdiChild::paste},
        {"mnuEditTransform", nullptr, ChildCommand::Transform, &MdiChild::transform},
        {"mnuEditAdd", "Add", ChildCommand::Add, &MdiChild::add},
        {"mnuEditDelete", "Delete", ChildCommand::Delete, &MdiChild::remove},
        {"mnuViewDetail", "Filter", ChildCommand::Filter,
         nullptr}, // the main window's filter window
        {"mnuLockColumn", nullptr, ChildCommand::LockColumns, &MdiChild::lockColumns},
        {"mnuViewRefresh", nullptr, ChildCommand::Refresh, &MdiChild::refresh},
        {nullptr, "Previous", ChildCommand::PreviousPage, &MdiChild::previousPage},
        {nullptr, "Next", ChildCommand::NextPage, &MdiChild::nextPage},
        {nullptr, "ZoomIn", ChildCommand::ZoomIn, &MdiChild::zoomIn},
        {nullptr, "ZoomOut", ChildCommand::ZoomOut, &MdiChild::zoomOut},
        {"mnuViewZoom", nullptr, ChildCommand::Zoom, &MdiChild::askZoom},
    };
    return all;
}

MdiChild* frmMain::activeChild() const
{
    return childOf(m_mdi->activeSubWindow());
}

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
    for (const Route& r : routes()) {
        const auto run = [this, r] { runOnChild(r); };
        if (r.menu)
            on(r.menu, run);
        if (r.button)
            connect(toolButton(QString::fromLatin1(r.button)), &QAction::triggered, this, run);
    }
    on("mnuFormationPlot", [this] { openFormationTool(); });
    on("mnuRoadDetails", [this] { OpenRoadDetailsSheet(m_mdi); });
    on("mnuLevelBook", [this] { OpenLevelBookSheet(m_mdi); });
    on("mnuInputDataSheet", [this] { OpenReducedLevelSheet(m_mdi); });
    on("mnuViewCulverts", [this] { OpenCulvertsSheet(m_mdi); });
    on("mnuCrossDistances", [this] { OpenCrossDistancesSheet(m_mdi); });
    on("mnuCulvertTypes", [this] { OpenCulvertTypesSheet(m_mdi); });
    // Work that reads or writes the current road starts only once the open windows have
    // written what the user typed; windows showing rows it wrote show them again afterwards.
    on("mnuToolsGenerateTable", [this] {
        if (!commitOpenEdits(tr("generating the sheets")))
            return;
        dlgGenerateTable dlg(this);
        if (dlg.exec() == QDialog::Accepted)
            showWrittenRows(appState().CurrentRoadID);
    });
    on("mnuLBtoRL", [this] {
        if (!commitOpenEdits(tr("reducing the level book")))
            return;
        dlgConvertLBtoRL dlg(this);
        if (dlg.exec() == QDialog::Accepted)
            showWrittenRows(appState().CurrentRoadID);
    });
    on("mnuEarthworkReport", [this] {
        if (commitOpenEdits(tr("making the report")))
            frmReports::Open(m_mdi, 1);
    });
    on("mnuLevelBookReport", [this] {
        if (commitOpenEdits(tr("making the report")))
            frmReports::Open(m_mdi, 2);
    });
    on("mnuFileExport", [this] {
        if (!commitOpenEdits(tr("exporting")))
            return;
        frmExportMultiple dlg(this);
        dlg.exec();
    });
    connect(toolButton(QStringLiteral("Update")), &QAction::triggered, this,
            &frmMain::updateQuantities);
}

void frmMain::runOnChild(const Route& route)
{
    // A command a child does not offer is disabled; this guards a trigger that comes anyway
    // (a shortcut while the offer changes).
    MdiChild* child = activeChild();
    if (!child || !child->enabledCommands().testFlag(route.command))
        return;
    if (route.run)
        (child->*route.run)();
    else if (route.command == ChildCommand::Filter)
        toggleFilterWindow();
}

bool frmMain::commitOpenEdits(const QString& before, MdiChild* except)
{
    const std::int64_t road = appState().CurrentRoadID;
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (MdiChild* child = childOf(sub); child && child != except)
            if (!child->commitEdits(road, before))
                return false;
    return true;
}

void frmMain::showWrittenRows(std::int64_t road, MdiChild* except)
{
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (MdiChild* child = childOf(sub); child && child != except)
            child->rowsWritten(road);
}

void frmMain::onSubWindowActivated(QMdiSubWindow* window)
{
    // Undo and Redo follow the active child: its own steps, or none.
    QUndoStack* steps = childOf(window) ? childOf(window)->undoStack() : nullptr;
    if (steps && !m_undoGroup->stacks().contains(steps))
        m_undoGroup->addStack(steps);
    m_undoGroup->setActiveStack(steps);
    if (MdiChild* child = childOf(window)) {
        child->setCommandsChangedHandler([this] { updateChildCommands(); });
        child->setWriteHandlers(
            [this](MdiChild* writer, std::int64_t, const QString& what) {
                return commitOpenEdits(what, writer);
            },
            [this](MdiChild* writer, std::int64_t road) { showWrittenRows(road, writer); });
    }
    updateChildCommands();
    if (frmDataGrid* sheet = activeSheet())
        connectSheet(sheet);
}

void frmMain::connectSheet(frmDataGrid* sheet)
{
    connect(sheet, &frmDataGrid::rowHeaderDoubleClicked, this, &frmMain::DoubleClickHandler,
            Qt::UniqueConnection);
    connect(sheet, &frmDataGrid::dependentDrawingsChanged, this, &frmMain::clearQuantityPanels,
            Qt::UniqueConnection);
    connect(sheet, &frmDataGrid::dependentDrawingsChanged, this, &frmMain::refreshFormationTool,
            Qt::UniqueConnection);
    connect(sheet, &frmDataGrid::dependentDrawingsChanged, this, &frmMain::redrawCrossSectionViews,
            Qt::UniqueConnection);
    connect(sheet, &frmDataGrid::drawnRowsChanged, this, &frmMain::refreshFormationTool,
            Qt::UniqueConnection);
    connect(sheet, &frmDataGrid::currentRoadDeleted, this, &frmMain::currentRoadGone,
            Qt::UniqueConnection);
}

void frmMain::currentRoadGone()
{
    EnableRoadCommands(false);
    CloseRoadWindows();
    setStatusPanel(1, QString());
    m_hint->setRoad(QString());
    clearQuantityPanels();
}

void frmMain::clearQuantityPanels()
{
    for (int panel = 2; panel <= 4; ++panel)
        setStatusPanel(panel, QString());
}

void frmMain::fileSave()
{
    MdiChild* child = activeChild();
    if (child && child->enabledCommands().testFlag(ChildCommand::Save))
        child->save();
    else
        tell(this, tr("Disabled"), QMessageBox::Information);
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

void frmMain::updateQuantities()
{
    AppState& s = appState();
    if (!s.ProjectConnection || s.CurrentRoadID < 1)
        return;
    if (!commitOpenEdits(tr("updating the quantities")))
        return;
    if (frmPlotFormation* tool = formationTool()) {
        tool->recomputeRoad(); // its grid gets the kilometres too
        showWrittenRows(s.CurrentRoadID, tool);
        return;
    }
    const EarthworkInputs in =
        earthworkInputsFor(s.settings, s.CurrentRoadID, s.FormationCamber, s.CarriageCamber);
    EarthworkResult r;
    {
        BusyCursor busy;
        r = UpdateEarthworkQuantities(*s.ProjectConnection, in);
    }
    if (r.volumesDone) {
        const QuantityTexts texts = quantityTexts(r.volumes, QLocale());
        setStatusPanel(2, texts.filling);
        setStatusPanel(3, texts.cutting);
        setStatusPanel(4, texts.total);
    }
    showWrittenRows(in.road);
    if (!r.error.isEmpty())
        tell(this, earthworkMessage(r));
}

void frmMain::CloseRoadWindows()
{
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (MdiChild* child = childOf(sub); child && child->closesWithRoad())
            sub->close();
}

void frmMain::DoubleClickHandler()
{
    frmDataGrid* sheet = activeSheet();
    if (!sheet || sheet->strCurrentDataSheet != SheetKind::RoadDetails)
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
    m_hint->setRoad(statusPanel(1));
    clearQuantityPanels();
    return true;
}

void frmMain::reopenLastRoad()
{
    AppState& s = appState();
    const std::int64_t road = s.settings.LastRoadID;
    // A road deleted since (by the batch tool, or another copy of the project) is forgotten.
    try {
        if (road < 1 || !s.ProjectConnection || !roads::exists(*s.ProjectConnection, road))
            return;
    } catch (const Error&) {
        return;
    }
    ChooseRoad(road);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        QMdiSubWindow* sub = m_mdi->activeSubWindow();
        auto* w = qobject_cast<QWidget*>(watched);
        MdiChild* child = childOf(sub);
        if (child && w && (w == sub || sub->isAncestorOf(w)) &&
            child->wheel(static_cast<QWheelEvent*>(event)->angleDelta().y()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tarmela
