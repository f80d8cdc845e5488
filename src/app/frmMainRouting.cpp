// The main window's command routing: each command goes to the active child window through
// its MdiChild operations; opening the registry's windows, choosing the current road and
// following the project's document run here.
#include "app/WindowRegistry.h"
#include "app/WorkspaceHint.h"
#include "app/frmMain.h"
#include "compute/EarthworkQuantities.h"
#include "compute/Volumes.h"
#include "settings/Earthwork.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "store/Statements.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/MdiChild.h"
#include "ui/common/ProjectDocument.h"
#include "ui/common/Prompts.h"
#include "ui/export/frmExportMultiple.h"
#include "ui/formation/frmPlotFormation.h"
#include "ui/sheets/dlgConvertLBtoRL.h"
#include "ui/sheets/dlgGenerateTable.h"
#include "ui/sheets/dlgSearchWindow.h"
#include "ui/sheets/frmDataGrid.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
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

// The filter window is one for the whole program, kept above the other windows; it filters
// the sheet that was active when it opened.
QPointer<dlgSearchWindow>& filterWindow()
{
    static QPointer<dlgSearchWindow> window;
    return window;
}

MdiChild* childOf(QMdiSubWindow* sub)
{
    return sub ? dynamic_cast<MdiChild*>(sub->widget()) : nullptr;
}

// "From To To" as the status bar names the current road.
QString roadName(std::int64_t road)
{
    const AppState& s = appState();
    if (road < 1 || !s.ProjectConnection)
        return {};
    try {
        const Road r = roads::get(*s.ProjectConnection, road);
        return r.from + QStringLiteral(" To ") + r.to;
    } catch (const Error&) {
        return QCoreApplication::translate("frmMain", "road %1").arg(road);
    }
}

} // namespace

const std::vector<frmMain::Route>& frmMain::routes()
{
    static const std::vector<Route> all = {
        {"mnuFilePrint", "Print", ChildCommand::Print, &MdiChild::print},
        {"mnuFileImportCsv", nullptr, ChildCommand::ImportCsv, &MdiChild::importCsv},
        {"mnuFileExportCsv", nullptr, ChildCommand::ExportCsv, &MdiChild::exportCsv},
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
        {"mnuViewPreviousPage", "Previous", ChildCommand::PreviousPage, &MdiChild::previousPage},
        {"mnuViewNextPage", "Next", ChildCommand::NextPage, &MdiChild::nextPage},
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
    for (const WindowEntry& e : windowEntries())
        on(e.menu, [this, &e] { openWindow(e); });
    // Work that reads or writes the current road starts only once the open windows have
    // written what the user typed; windows showing rows it wrote show them again afterwards.
    const auto rewrote = [](std::initializer_list<ProjectDocument::Rows> rows) {
        ProjectDocument& doc = currentDocument();
        for (ProjectDocument::Rows r : rows)
            doc.noteRowsWritten({doc.currentRoad(), r, nullptr, false});
    };
    on("mnuToolsGenerateTable", [this, rewrote] {
        if (!commitOpenEdits(tr("generating the sheets")))
            return;
        dlgGenerateTable dlg(this);
        if (dlg.exec() == QDialog::Accepted)
            rewrote({ProjectDocument::Rows::ReducedLevels, ProjectDocument::Rows::LevelBook});
    });
    on("mnuLBtoRL", [this, rewrote] {
        if (!commitOpenEdits(tr("reducing the level book")))
            return;
        dlgConvertLBtoRL dlg(this);
        if (dlg.exec() == QDialog::Accepted)
            rewrote({ProjectDocument::Rows::ReducedLevels});
    });
    on("mnuFileExport", [this] {
        if (!commitOpenEdits(tr("exporting")))
            return;
        frmExportMultiple dlg(this);
        dlg.exec();
    });
    connect(toolButton(QStringLiteral("Update")), &QAction::triggered, this,
            &frmMain::updateQuantities);
    on("mnuToolsUpdate", [this] { updateQuantities(); });
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

void frmMain::openWindow(const WindowEntry& entry)
{
    const QString before = entry.before ? tr(entry.before) : QString();
    if (entry.before && !commitOpenEdits(before))
        return;
    const std::int64_t road = entry.needsRoad ? appState().CurrentRoadID : 0;
    if (entry.onePerRoad) {
        for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
            if (entryOf(sub) == &entry && roadOf(sub) == road) {
                if (MdiChild* child = childOf(sub))
                    child->refresh();
                m_mdi->setActiveSubWindow(sub);
                return;
            }
        }
    }
    MdiChild* child = entry.create(m_mdi);
    auto* widget = dynamic_cast<QWidget*>(child);
    if (auto* sub = widget ? qobject_cast<QMdiSubWindow*>(widget->parentWidget()) : nullptr)
        tagWindow(sub, entry.id, road);
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
        child->setBeforeWriteHandler([this](MdiChild* writer, std::int64_t, const QString& what) {
            return commitOpenEdits(what, writer);
        });
    }
    command(QStringLiteral("mnuFileClose"))->setEnabled(window != nullptr);
    // The filter window belongs to its sheet: another window active, it goes. (No window is
    // active while the filter window itself has the focus.)
    if (QPointer<dlgSearchWindow>& filter = filterWindow();
        filter && window && window->widget() != filter->sheet())
        filter->close();
    updateChildCommands();
}

void frmMain::clearQuantityPanels()
{
    for (int panel = 2; panel <= 4; ++panel) {
        setStatusPanel(panel, QString());
        m_panels[panel - 1]->setToolTip(QString());
        m_panels[panel - 1]->setEnabled(true);
    }
}

void frmMain::markQuantitiesStale()
{
    // The figures greyed, and the total says so in place of the formula: one note for the
    // three, which leaves the bar as narrow as before on a small screen.
    const QString mark = tr(" (before the last change)");
    const QString total = statusPanel(4);
    if (total.isEmpty() || total.endsWith(mark))
        return;
    setStatusPanel(4, total.left(total.indexOf(QStringLiteral(" ("))) + mark);
    for (int panel = 2; panel <= 4; ++panel)
        m_panels[panel - 1]->setEnabled(false);
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
    window = new dlgSearchWindow(activeSheet(), this);
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
        tool->recomputeRoad(); // its grid gets the kilometres too, and it tells what it wrote
        return;
    }
    const EarthworkInputs in =
        earthworkInputsFor(s.settings, s.CurrentRoadID, s.FormationCamber, s.CarriageCamber);
    EarthworkResult r;
    {
        BusyCursor busy;
        r = UpdateEarthworkQuantities(*s.ProjectConnection, in);
    }
    ProjectDocument& doc = currentDocument();
    // The rows first: the figures then shown are the ones just computed.
    doc.noteRowsWritten({in.road, ProjectDocument::Rows::ReducedLevels, nullptr, false});
    if (r.volumesDone)
        doc.noteQuantities(in.road, quantityTexts(r.volumes, QLocale()));
    if (!r.error.isEmpty())
        tell(this, earthworkMessage(r));
}

bool frmMain::ChooseRoad(std::int64_t road)
{
    return chooseRoadOrTell(currentDocument(), road, this);
}

void frmMain::currentRoadChanged(std::int64_t road)
{
    // The windows that show the current road close themselves.
    const QString name = roadName(road);
    EnableRoadCommands(road > 0);
    setStatusPanel(1, name);
    m_hint->setRoad(name);
    clearQuantityPanels();
}

void frmMain::attachDocument(ProjectDocument& document)
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = &document;
    connect(&document, &ProjectDocument::currentRoadChanged, this, &frmMain::currentRoadChanged);
    connect(&document, &ProjectDocument::quantitiesChanged, this,
            [this](std::int64_t road, const QuantityTexts& texts) {
                if (road != appState().CurrentRoadID)
                    return;
                // The totals say whose they are and how they were taken: the road's name is
                // in the first panel beside them, the formula after the total, and both in
                // the panels' tips.
                const QString formula = QString::fromLatin1(
                    volumeFormulaName(VolumeFormula(appState().settings.VolumeFormula)));
                for (int panel = 2; panel <= 4; ++panel)
                    m_panels[panel - 1]->setEnabled(true);
                setStatusPanel(2, texts.filling);
                setStatusPanel(3, texts.cutting);
                setStatusPanel(
                    4, texts.total + QStringLiteral(" (by ") + formula +
                           (texts.gaps.isEmpty() ? QString() : QStringLiteral("; ") + texts.gaps) +
                           QStringLiteral(")"));
                const QString tip =
                    tr("The earthwork of %1 by %2, as last updated").arg(roadName(road), formula);
                for (int panel = 2; panel <= 4; ++panel)
                    m_panels[panel - 1]->setToolTip(tip);
            });
    connect(&document, &ProjectDocument::rowsChanged, this,
            [this, &document](const ProjectDocument::RowsWrite& w) {
                const std::int64_t current = document.currentRoad();
                if (w.rows == ProjectDocument::Rows::Roads && current > 0) {
                    // The current road's name may have been edited.
                    setStatusPanel(1, roadName(current));
                    m_hint->setRoad(statusPanel(1));
                }
                // Any write to the current road's levels leaves the totals behind.
                else if (w.rows == ProjectDocument::Rows::ReducedLevels &&
                         (w.road == current || w.road == 0))
                    markQuantitiesStale();
            });
    connect(&document, &ProjectDocument::settingsChanged, this,
            [this](ProjectDocument::SettingsParts parts) {
                // Totals of another method or other readings are no totals of these.
                if (parts.testFlag(ProjectDocument::SettingsPart::Method) ||
                    parts.testFlag(ProjectDocument::SettingsPart::Readings))
                    markQuantitiesStale();
            });
    document.setCloseRoadWindows([this](std::int64_t road, const QWidget* except) {
        return closeRoadWindows(road, except);
    });
    currentRoadChanged(document.currentRoad());
    projectChanged();
}

bool frmMain::replaceDocument(std::unique_ptr<ProjectDocument> document)
{
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty())
        return false; // a window asked to stay
    tarmela::replaceDocument(std::move(document));
    attachDocument(currentDocument());
    return true;
}

void frmMain::editSettings(const std::function<void()>& dialog)
{
    const Settings before = appState().settings;
    dialog();
    currentDocument().noteSettingsEdited(before);
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
