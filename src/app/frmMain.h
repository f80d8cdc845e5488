#pragma once

#include "ui/common/MdiChild.h"

#include <QMainWindow>
#include <cstdint>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QUndoGroup;

namespace tarmela
{

class WorkspaceHint;
class frmDataGrid;
class frmPlotFormation;

// The program's one top-level window: a frame for the data sheets, tools and views. It owns
// the menus, the toolbar `tbToolBar` and the status bar `sbStatusBar`, routes each command to
// the active child window (MdiChild), and makes a road the current road.
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
    // Closes the windows that show the current road's levels: the formation tool and every
    // culvert or reduced-level sheet.
    void CloseRoadWindows();
    // A row header of a sheet was double-clicked: on a road details sheet its road becomes
    // the current road.
    void DoubleClickHandler();
    // Makes the road current. Returns false (after telling the user) when it can't be read.
    bool ChooseRoad(std::int64_t road);
    // At start: the road current when the program last closed (LastRoadID) is current again,
    // when it still exists.
    void reopenLastRoad();

    // The active child window, or nullptr when none is active (or it takes no commands).
    MdiChild* activeChild() const;
    // The active data sheet, or nullptr when the active child is something else.
    frmDataGrid* activeSheet() const;
    // The open formation tool (there is at most one), and the active one.
    frmPlotFormation* formationTool() const;
    frmPlotFormation* activeFormationTool() const;

    // Before work that reads or writes the current road behind the open windows' back: each
    // window (but `except`) writes what the user typed there, or asks. False when the user
    // cancelled or a value could not be written: the work must not start.
    bool commitOpenEdits(const QString& before, MdiChild* except = nullptr);
    // After rows of `road` were written behind the open windows' back: they show them again.
    void showWrittenRows(std::int64_t road, MdiChild* except = nullptr);

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
    // The section views and page setup (frmMainViews.cpp).
    void wireSectionViews();
    void openSectionView(const QString& name);
    void redrawCrossSectionViews();

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
    void openFormationTool();
    void refreshFormationTool();
    void toggleFilterWindow();
    void connectSheet(frmDataGrid* sheet);
    void currentRoadGone();
    void clearQuantityPanels();

    QMdiArea* m_mdi;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_windowEntries; // the open windows listed in the Window menu
    QLabel* m_panels[4] = {};
    WorkspaceHint* m_hint = nullptr;
    // Edit > Undo and Redo (and the toolbar's Undo) act on the active child's undo stack.
    QUndoGroup* m_undoGroup = nullptr;
};

} // namespace tarmela
