#include "app/frmMain.h"

#include "app/WindowRegistry.h"
#include "app/WorkspaceHint.h"
#include "app/dlgColors.h"
#include "app/frmOptions.h"
#include "app/frmSplash.h"
#include "ui/common/AppState.h"
#include "ui/common/ProjectDocument.h"
#include "ui/common/Prompts.h"
#include "ui/common/SubWindowPlacement.h"
#include "ui/common/ToolbarIcons.h"
#include "ui/common/dlgPageSetup.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoGroup>
#include <QUrl>

namespace tarmela
{

namespace
{

// Menu entries that have no action: they stay greyed out rather than offering something that
// does nothing.
const char* const kNotAvailable[] = {
    "mnuFileProperties",
    "mnuEditSelect",
    "mnuWindowNewWindow",
};

bool available(const QAction* a)
{
    for (const char* name : kNotAvailable)
        if (a->objectName() == QLatin1String(name))
            return false;
    return true;
}

// The commands besides the registry's windows that need a current road.
const char* const kRoadCommands[] = {
    "mnuLBtoRL", "mnuToolsGenerateTable", "mnuFileExport", "LevelBook", "ReducedLevel", "Formation",
    "Update",    "mnuToolsUpdate",
};

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), m_mdi(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarmela"));
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);

    m_undoGroup = new QUndoGroup(this);
    createMenus();
    createToolBar();
    createStatusBar();
    m_hint = new WorkspaceHint(m_mdi);
    connect(m_hint->roadsButton(), &QPushButton::clicked, command(QStringLiteral("mnuRoadDetails")),
            &QAction::trigger);
    connect(m_hint->levelsButton(), &QPushButton::clicked,
            command(QStringLiteral("mnuInputDataSheet")), &QAction::trigger);
    m_hint->setRoad(QString());
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &frmMain::onSubWindowActivated);
    wireRouting();
    attachDocument(currentDocument());

    // No road is current yet, and no child is active.
    EnableRoadCommands(false);
    command(QStringLiteral("mnuFileClose"))->setEnabled(false);
    updateChildCommands();
    for (QAction* a : findChildren<QAction*>())
        if (!available(a))
            a->setEnabled(false);
    qApp->installEventFilter(this);
}

frmMain::~frmMain()
{
    qApp->removeEventFilter(this);
    // ~QWidget closes the window and so hides the workspace, which activates no child: that
    // signal must not reach a main window already half destroyed.
    disconnect(m_mdi, nullptr, this, nullptr);
}

QAction* frmMain::addCommand(QMenu* menu, const char* name, const QString& caption,
                             const QKeySequence& shortcut)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setParent(this);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

void frmMain::createMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    connect(addCommand(file, "mnuFileNewProject", tr("&New Project..."), QKeySequence::New),
            &QAction::triggered, this, &frmMain::newProject);
    connect(addCommand(file, "mnuFileOpen", tr("&Open Project..."), QKeySequence::Open),
            &QAction::triggered, this, &frmMain::openProjectChosen);
    connect(addCommand(file, "mnuFileSaveAs", tr("Save Project &As...")), &QAction::triggered, this,
            &frmMain::saveProjectAs);
    m_recentMenu = file->addMenu(tr("&Recent Projects"));
    m_recentMenu->setObjectName(QStringLiteral("mnuFileRecent"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &frmMain::fillRecentMenu);
    file->addSeparator();
    connect(addCommand(file, "mnuFileSave", tr("&Save"), QKeySequence::Save), &QAction::triggered,
            this, &frmMain::fileSave);
    // Ctrl+F4 (and the desktop's Close key) belong to the child windows themselves, which
    // close on it; the entry names the key without taking it, which would make it ambiguous.
    QAction* close = addCommand(file, "mnuFileClose", tr("C&lose") + QStringLiteral("\tCtrl+F4"));
    connect(close, &QAction::triggered, this, &frmMain::closeActiveWindow);
    file->addSeparator();
    addCommand(file, "mnuFileImportCsv", tr("I&mport CSV..."));
    addCommand(file, "mnuFileExportCsv", tr("Export &CSV..."));
    addCommand(file, "mnuFileExport", tr("&Export..."));
    addCommand(file, "mnuFileProperties", tr("Propert&ies"));
    file->addSeparator();
    connect(addCommand(file, "mnuFilePageSetup", tr("Page Set&up...")), &QAction::triggered, this,
            [this] {
                editSettings([this] {
                    dlgPageSetup dialog(appState().settings, this);
                    dialog.exec();
                });
            });
    addCommand(file, "mnuFilePrint", tr("&Print..."), QKeySequence::Print);
    file->addSeparator();
    connect(addCommand(file, "mnuFileExit", tr("E&xit")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    // Enabled only while the active child has a step to take back or do again; the text
    // names it ("Undo Paste").
    QAction* undo = m_undoGroup->createUndoAction(this, tr("&Undo"));
    undo->setObjectName(QStringLiteral("mnuEditUndo"));
    undo->setShortcut(QKeySequence::Undo);
    edit->addAction(undo);
    QAction* redo = m_undoGroup->createRedoAction(this, tr("R&edo"));
    redo->setObjectName(QStringLiteral("mnuEditRedo"));
    QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::Redo))
        if (!redoKeys.contains(k))
            redoKeys << k;
    redo->setShortcuts(redoKeys);
    edit->addAction(redo);
    edit->addSeparator();
    addCommand(edit, "mnuEditCut", tr("Cu&t"), QKeySequence::Cut);
    addCommand(edit, "mnuEditCopy", tr("&Copy"), QKeySequence::Copy);
    addCommand(edit, "mnuEditPaste", tr("&Paste"), QKeySequence::Paste);
    addCommand(edit, "mnuEditTransform", tr("T&ransform..."));
    edit->addSeparator();
    addCommand(edit, "mnuEditAdd", tr("&Add"));
    addCommand(edit, "mnuEditDelete", tr("&Delete"));
    addCommand(edit, "mnuEditSelect", tr("&Select"));

    QMenu* view = bar->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    QAction* toolbar = addCommand(view, "mnuViewToolbar", tr("&Toolbar"));
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QAction* status = addCommand(view, "mnuViewStatusBar", tr("Status &Bar"));
    status->setCheckable(true);
    status->setChecked(true);
    connect(toolbar, &QAction::toggled, this, [this](bool on) { m_toolBar->setVisible(on); });
    connect(status, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    view->addSeparator();
    addCommand(view, "mnuViewDetail", tr("&Filter Window"))->setCheckable(true);
    addCommand(view, "mnuLockColumn", tr("&Lock/Unlock Column"));
    addCommand(view, "mnuViewRefresh", tr("&Refresh"), QKeySequence::Refresh);
    addCommand(view, "mnuViewZoom", tr("&Zoom..."));
    view->addSeparator();
    addCommand(view, "mnuViewPreviousPage", tr("Pre&vious Page"),
               QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    addCommand(view, "mnuViewNextPage", tr("Ne&xt Page"),
               QKeySequence(Qt::CTRL | Qt::Key_PageDown));

    // Every entry has a letter of its own within its menu, so that the keyboard reaches it.
    QMenu* dataMenu = bar->addMenu(tr("&Data"));
    dataMenu->setObjectName(QStringLiteral("mnuData"));
    addCommand(dataMenu, "mnuRoadDetails", tr("Road &Details"));
    dataMenu->addSeparator();
    addCommand(dataMenu, "mnuLevelBook", tr("&LB Sheet"));
    addCommand(dataMenu, "mnuInputDataSheet", tr("&RL Sheet"));
    addCommand(dataMenu, "mnuFormationPlot", tr("&Formation Plot"));
    dataMenu->addSeparator();
    addCommand(dataMenu, "mnuViewCulverts", tr("&Culverts && Bridges"));
    addCommand(dataMenu, "mnuCrossDistances", tr("Cross Di&stances"));
    addCommand(dataMenu, "mnuCulvertTypes", tr("&Types of Culverts"));

    QMenu* output = bar->addMenu(tr("&Output"));
    output->setObjectName(QStringLiteral("mnuOutput"));
    addCommand(output, "mnuViewLSection", tr("&Longitudinal Section"));
    addCommand(output, "mnuViewXSection", tr("&Cross Section"));
    addCommand(output, "mnuMassHaul", tr("&Mass Haul Diagram"));
    output->addSeparator();
    addCommand(output, "mnuEarthworkReport", tr("&Earthwork Report"));
    addCommand(output, "mnuLevelBookReport", tr("Level &Book"));

    QMenu* tools = bar->addMenu(tr("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    connect(addCommand(tools, "mnuToolsOptions", tr("&Options...")), &QAction::triggered, this,
            [this] {
                editSettings([this] {
                    frmOptions dlg(this);
                    dlg.exec();
                });
            });
    connect(addCommand(tools, "mnuToolsColors", tr("&Colors...")), &QAction::triggered, this,
            [this] {
                editSettings([this] {
                    dlgColors dlg(this);
                    dlg.exec();
                });
            });
    tools->addSeparator();
    addCommand(tools, "mnuToolsUpdate", tr("&Update Quantities"), QKeySequence(Qt::Key_F9));
    addCommand(tools, "mnuToolsGenerateTable", tr("&Generate Table"));
    addCommand(tools, "mnuLBtoRL", tr("&LB => RL"));

    m_windowMenu = bar->addMenu(tr("&Window"));
    m_windowMenu->setObjectName(QStringLiteral("mnuWindow"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &frmMain::fillWindowMenu);
    addCommand(m_windowMenu, "mnuWindowNewWindow", tr("&New Window"));
    connect(addCommand(m_windowMenu, "mnuWindowCascade", tr("&Cascade")), &QAction::triggered, this,
            [this] { cascadeSubWindows(m_mdi); });
    connect(addCommand(m_windowMenu, "mnuWindowTileHorizontal", tr("Tile &Horizontal")),
            &QAction::triggered, this, [this] { tileSubWindows(Qt::Vertical); });
    connect(addCommand(m_windowMenu, "mnuWindowTileVertical", tr("Tile &Vertical")),
            &QAction::triggered, this, [this] { tileSubWindows(Qt::Horizontal); });
    connect(addCommand(m_windowMenu, "mnuWindowArrangeIcons", tr("&Arrange Icons")),
            &QAction::triggered, this, [this] {
                // Minimised windows line up along the bottom edge of the frame.
                int x = 0;
                const int bottom = m_mdi->viewport()->height();
                for (QMdiSubWindow* w : m_mdi->subWindowList()) {
                    if (!w->isMinimized())
                        continue;
                    const QSize s = w->size();
                    w->move(x, bottom - s.height());
                    x += s.width();
                }
            });

    QMenu* help = bar->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(addCommand(help, "mnuHelpContents", tr("&Contents"), QKeySequence::HelpContents),
            &QAction::triggered, this, &frmMain::showHelpContents);
    connect(addCommand(help, "mnuHelpAbout", tr("&About ")), &QAction::triggered, this,
            &frmMain::showAbout);
}

QAction* frmMain::addButton(const char* key, const QString& tip)
{
    QAction* a = m_toolBar->addAction(toolbarIcon(QString::fromLatin1(key)), tip);
    a->setObjectName(QString::fromLatin1(key));
    a->setToolTip(tip);
    return a;
}

void frmMain::createToolBar()
{
    m_toolBar = addToolBar(tr("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    connect(addButton("Save", tr("Save")), &QAction::triggered, this, &frmMain::fileSave);
    m_toolBar->addSeparator();
    addButton("Previous", tr("Previous Page"));
    addButton("Next", tr("Next Page"));
    addButton("ZoomIn", tr("Zoom In"));
    addButton("ZoomOut", tr("Zoom Out"));
    m_toolBar->addSeparator();
    addButton("Add", tr("Add"));
    addButton("Delete", tr("Delete"));
    addButton("Print", tr("Print"));
    m_toolBar->addSeparator();
    addButton("Cut", tr("Cut"));
    addButton("Copy", tr("Copy"));
    addButton("Paste", tr("Paste"));
    QAction* undo = m_undoGroup->createUndoAction(m_toolBar, tr("Undo"));
    undo->setObjectName(QStringLiteral("Undo"));
    undo->setIcon(toolbarIcon(QStringLiteral("Undo")));
    m_toolBar->addAction(undo);
    m_toolBar->addSeparator();
    addButton("Filter", tr("Filter Window"));
    addButton("Update", tr("Update Quantities"));
    m_toolBar->addSeparator();
    addButton("Formation", tr("Formation Plot"));
    addButton("ReducedLevel", tr("RL Sheet"));
    addButton("LevelBook", tr("LB Sheet"));
    addButton("Roads", tr("Road Details"));
    // The buttons that open windows do what their menu twins do; those that act on the
    // active child are routed with their menu entries (routes()).
    const std::pair<const char*, const char*> twins[] = {
        {"ReducedLevel", "mnuInputDataSheet"},
        {"LevelBook", "mnuLevelBook"},
        {"Roads", "mnuRoadDetails"},
        {"Formation", "mnuFormationPlot"},
    };
    for (const auto& [key, menu] : twins) {
        QAction* twin = command(QString::fromLatin1(menu));
        connect(toolButton(QString::fromLatin1(key)), &QAction::triggered, twin, &QAction::trigger);
    }
}

void frmMain::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        m_panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // No fixed width: a panel is as wide as its text at least, so that no text is cut
        // or drawn over its neighbour's on a small screen; the road's panel takes the room
        // left over.
        m_panels[i]->setContentsMargins(3, 0, 3, 0);
        bar->addPermanentWidget(m_panels[i], i == 0 ? 2 : 1);
    }
}

QAction* frmMain::command(const QString& name) const
{
    for (QAction* a : findChildren<QAction*>(name, Qt::FindDirectChildrenOnly))
        return a;
    return nullptr;
}

QAction* frmMain::toolButton(const QString& key) const
{
    for (QAction* a : m_toolBar->actions())
        if (a->objectName() == key)
            return a;
    return nullptr;
}

QString frmMain::statusPanel(int panel) const
{
    return panel >= 1 && panel <= 4 ? m_panels[panel - 1]->text() : QString();
}

void frmMain::setStatusPanel(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 4)
        m_panels[panel - 1]->setText(text);
}

void frmMain::EnableRoadCommands(bool enable)
{
    for (const WindowEntry& e : windowEntries())
        if (e.needsRoad)
            command(QString::fromLatin1(e.menu))->setEnabled(enable);
    for (const char* name : kRoadCommands) {
        QAction* a = command(QString::fromLatin1(name));
        if (!a)
            a = toolButton(QString::fromLatin1(name));
        if (a)
            a->setEnabled(enable && available(a));
    }
}

void frmMain::updateChildCommands()
{
    const MdiChild* child = activeChild();
    const ChildCommands offered = child ? child->enabledCommands() : ChildCommands();
    for (const Route& r : routes()) {
        const bool on = offered.testFlag(r.command);
        if (r.menu)
            command(QString::fromLatin1(r.menu))->setEnabled(on);
        if (r.button)
            toolButton(QString::fromLatin1(r.button))->setEnabled(on);
    }
    // Add and Delete stay on the toolbar, greyed out when they can't act: a button that came
    // and went would move every button after it.
}

void frmMain::fillWindowMenu()
{
    // The open windows are listed below the arranging commands; choosing one activates it.
    for (QAction* a : m_windowEntries) {
        m_windowMenu->removeAction(a);
        delete a;
    }
    m_windowEntries.clear();
    const auto windows = m_mdi->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowEntries << m_windowMenu->addSeparator();
    int n = 1;
    for (QMdiSubWindow* w : windows) {
        QAction* a =
            m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, m_mdi, [this, w] { m_mdi->setActiveSubWindow(w); });
        m_windowEntries << a;
    }
}

QString frmMain::helpIndexPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help/index.html"));
}

void frmMain::showHelpContents()
{
    const QString index = helpIndexPath();
    if (!QFileInfo::exists(index)) {
        prompts().tell(
            this,
            tr("The help pages could not be found at %1.").arg(QDir::toNativeSeparators(index)),
            QMessageBox::Warning);
        return;
    }
    // Without a browser (or a desktop that can start one) the user still learns where the
    // pages are, rather than nothing happening.
    const auto failed = [this, index] {
        prompts().tell(this,
                       tr("No browser could be started to show the help. The help pages are "
                          "in the folder %1: open %2 there in a browser.")
                           .arg(QDir::toNativeSeparators(QFileInfo(index).absolutePath()),
                                QFileInfo(index).fileName()),
                       QMessageBox::Information);
    };
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The desktop's opener is started by the desktop services too, but its failure (no
    // browser configured, none installed) is not reported back through them: it is watched
    // here. It may run as long as the browser does; it is left running when the program ends.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        auto* run = new QProcess;
        run->setProcessChannelMode(QProcess::ForwardedChannels);
        connect(run, &QProcess::finished, this, [run, failed](int code, QProcess::ExitStatus how) {
            if (code != 0 || how != QProcess::NormalExit)
                failed();
            run->deleteLater();
        });
        connect(run, &QProcess::errorOccurred, this, [run, failed](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart) {
                failed();
                run->deleteLater();
            }
        });
        run->start(opener, {QUrl::fromLocalFile(index).toString()});
        return;
    }
#endif
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(index)))
        failed();
}

void frmMain::tileSubWindows(Qt::Orientation along)
{
    // "Tile Horizontal" stacks the windows one above the other, each the full width of the
    // frame; "Tile Vertical" puts them side by side, each the full height.
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (!w->isMinimized() && w->isVisible())
            shown << w;
    if (shown.isEmpty())
        return;
    const QSize area = m_mdi->viewport()->size();
    const int step = (along == Qt::Vertical ? area.height() : area.width()) / int(shown.size());
    int at = 0;
    for (QMdiSubWindow* w : shown) {
        w->showNormal();
        if (along == Qt::Vertical)
            w->setGeometry(0, at, area.width(), step);
        else
            w->setGeometry(at, 0, step, area.height());
        at += step;
    }
}

void frmMain::showAbout()
{
    frmSplash splash(this);
    splash.setWindowModality(Qt::ApplicationModal);
    splash.exec();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore(); // a child asked to stay open
        return;
    }
    appState().settings.LastRoadID = appState().CurrentRoadID;
    SaveSettings(this);
    rememberSession();
    event->accept();
}

} // namespace tarmela
