#pragma once

#include "ui/common/MdiChild.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QUndoGroup;

namespace tarmela
{

class ProjectDocument;
class WorkspaceHint;
class frmDataGrid;
class frmPlotFormation;
struct WindowEntry;

// The program's one top-level window: a frame for the data sheets, tools and views. It owns
// the menus, the toolbar `tbToolBar` and the status bar `sbStatusBar`, opens the windows of
// the window registry (WindowRegistry.h), routes each command to the active child window
// (MdiChild), and follows the open project's document (the current road, the quantities).
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    QMdiArea* mdiArea() const { return m_mdi; }
    // A menu command by its object name ("mnuEditAdd"); nullptr when there is none.
    QAction* command(const QString& name) const;
    // A toolbar button by its key ("Save", "ReducedLevel", ...).
    QAction* toolButton(const QString& key) const;
    // Status bar panels 1..4.
    QString statusPanel(int panel) const;
    void setStatusPanel(int panel, const QString& text);

    // Enables or disables together every command that needs a current road.
    void EnableRoadCommands(bool enable);
    // Makes the road current. Returns false (after telling the user) when it can't be read.
    bool ChooseRoad(std::int64_t road);
    // At start: the road current when the program last closed (LastRoadID) is current again,
    // when it still exists.
    void reopenLastRoad();

    // The active child window, or nullptr when none is active (or it takes no commands).
    MdiChild* activeChild() const;
    // The active data sheet, or nullptr when the active child is something else.
    frmDataGrid* activeSheet() const;
    // The open formation tool (there is at most one).
    frmPlotFormation* formationTool() const;

    // Another project in place of the open one: every window closes first (false, with the
    // project unchanged, when one asks to stay), then the document becomes the open project's
    // and the main window follows it.
    bool replaceDocument(std::unique_ptr<ProjectDocument> document);

    // Projects (frmMainProject.cpp). Opens the project file (made there when none exists) in
    // place of the open one; a file that is refused is told with the engine's text and the
    // open project stays, as it does when a window asks to stay open. True when it is open.
    bool openProject(const QString& path);
    // File > New Project..., Open Project..., Save Project As...: each asks for the file.
    void newProject();
    void openProjectChosen();
    void saveProjectAs();
    // Closes the windows that show the road (but `except`), each asking about unsaved edits.
    // False when one stayed open.
    bool closeRoadWindows(std::int64_t road, const QWidget* except = nullptr);
    // File > Close and Ctrl+F4: the active child window closes (it may ask and stay).
    void closeActiveWindow();
    // At the next start: the open project, the recent ones and whether the window is
    // maximized, remembered (closeEvent calls it).
    void rememberSession();

    // Before work that reads or writes the current road behind the open windows' back: each
    // window (but `except`) writes what the user typed there, or asks. False when the user
    // cancelled or a value could not be written: the work must not start.
    bool commitOpenEdits(const QString& before, MdiChild* except = nullptr);

    // Where Help > Contents looks for the program's help pages.
    static QString helpIndexPath();

protected:
    // Children close first (a sheet may refuse); then the settings are written.
    void closeEvent(QCloseEvent* event) override;
    // Wheel turns go to the active child.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption,
                        const QKeySequence& shortcut = {});
    QAction* addButton(const char* key, const QString& tip);
    void fillWindowMenu();
    void onSubWindowActivated(QMdiSubWindow* window);
    // Enables the commands the active child offers; the others are greyed out.
    void updateChildCommands();
    void showHelpContents();
    void showAbout();
    void tileSubWindows(Qt::Orientation along);
    void wireRouting();
    // Opens the window of the registry's entry, or brings the open one to the front.
    void openWindow(const WindowEntry& entry);
    // Runs a dialog that edits the settings, and tells the document what it changed.
    void editSettings(const std::function<void()>& dialog);
    // The document's news (frmMainRouting.cpp).
    void attachDocument(ProjectDocument& document);
    void currentRoadChanged(std::int64_t road);
    // The title names the open project's file; the recent list leads with it.
    void projectChanged();
    void fillRecentMenu();
    QString projectFolder() const;

    // A command that acts on the active child: its menu entry and toolbar button (either may
    // be missing), the command the child must offer, and the child's operation.
    struct Route {
        const char* menu;
        const char* button;
        ChildCommand command;
        void (MdiChild::*run)();
    };
    static const std::vector<Route>& routes();

    // Routing to the children and the road life cycle (frmMainRouting.cpp).
    void runOnChild(const Route& route);
    void fileSave();
    void updateQuantities();
    void toggleFilterWindow();
    // The figures shown no longer describe the road (its levels, the method or the readings
    // changed): each says so until the next recomputation replaces it.
    void markQuantitiesStale();
    void clearQuantityPanels();

    QMdiArea* m_mdi;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QList<QAction*> m_windowEntries; // the open windows listed in the Window menu
    QLabel* m_panels[4] = {};
    WorkspaceHint* m_hint = nullptr;
    QPointer<ProjectDocument> m_document; // the open project's, whose news the window follows
    // Edit > Undo and Redo (and the toolbar's Undo) act on the active child's undo stack.
    QUndoGroup* m_undoGroup = nullptr;
};

} // namespace tarmela
