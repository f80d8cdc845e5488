#pragma once

#include "compute/EarthworkQuantities.h"
#include "formation/FormationDesign.h"
#include "formation/FormationProfileSource.h"
#include "formation/FormationRules.h"
#include "ui/common/MdiChild.h"
#include "ui/common/ProjectDocument.h"
#include "ui/formation/FormationUpdateCommand.h"

#include <QWidget>
#include <cstdint>
#include <memory>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QStatusBar;
class QPushButton;
class QScrollBar;
class QTableWidget;
class QUndoStack;

namespace tarmela
{

class FormationProfileView;

// The Formation Plotting Tool of the current road: the profile of the ground and of FC, a
// click picks a row and shows its levels and grade, Update writes the typed FC at that row
// (or on a straight grade from the previous pick), and the quantities per kilometre follow
// at once in the grid `VellGrid1` and, through the project's document, in the main window's
// status bar. The profile follows what others write to the road's levels and culverts; the
// tool closes when another road becomes current.
class frmPlotFormation : public QWidget, public MdiChild
{
    Q_OBJECT
public:
    // Opens on the current road; its quantities are recomputed when it is first shown.
    explicit frmPlotFormation(QWidget* parent = nullptr);
    ~frmPlotFormation() override;

    // The main window's View > Refresh; Edit > Undo and Redo take the updates back and do
    // them again (one step). The tool shows the current road and closes when another becomes
    // current.
    ChildCommands enabledCommands() const override
    {
        return ChildCommand::Refresh | ChildCommand::ZoomIn | ChildCommand::ZoomOut;
    }
    QUndoStack* undoStack() override { return m_undo; }
    void refresh() override { pbRefresh(); }
    // The views of the profile (frmPlotFormationViews.cpp): a step along the chainage in or
    // out around the picked section (or the middle of the view when it is not in view); the
    // whole road, or the stretch between the last two picks, fitted to the window with an
    // exaggeration that fits its levels; the vertical exaggeration itself.
    void zoomIn() override { zoomTo(formation::zoomedColumnMetres(m_columnMetres, true)); }
    void zoomOut() override { zoomTo(formation::zoomedColumnMetres(m_columnMetres, false)); }
    // Metres of road to a grid column; `around` (the picked section when none) keeps its place.
    void zoomTo(std::int64_t columnMetres, std::optional<double> around = std::nullopt);
    void fitRoad();
    void fitStretch();
    void setExaggeration(double exaggeration);

    std::int64_t road() const { return m_road; }

    // Edit > Undo: takes the last update back (when there is one).
    void RestoreFC();
    // Wheel turns scroll along the road: towards its end when delta < 1.
    void MouseWheel(int delta);
    // Redraws the profile from the database, keeps the picked row when it is still there
    // and refreshes the readouts (after changes made elsewhere).
    void pbRefresh();
    // Recomputes the whole road: the toolbar's Update while the tool is open stops at the
    // first section that lacks a value, as the batch tool does; the tool's own recomputation
    // (toolRule) passes over the sections not designed or not surveyed yet and counts them in
    // its status bar.
    void recomputeRoad(bool toolRule = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void buildControls();
    QWidget* buildViewBar();
    void placeTables();
    // Shows from..to (the road's first to last chainage, or a stretch).
    void fitTo(double from, double to);
    // The scales and the view's start put into the plot and the scroll bar, then one redraw.
    // keepPickedLevel: a fixed datum moves to keep the picked section's level in sight.
    void applyView(std::int64_t columnMetres, double exaggeration, std::int64_t start,
                   bool keepPickedLevel = true);
    void followDocument();
    // Tells the document that the tool wrote the road's levels.
    void tellWritten();
    EarthworkInputs inputs() const;
    void showResult(const EarthworkResult& r);
    void ShowCurrent();
    // Picks the section nearest the chainage.
    void pickNear(double chainage);
    void cmdUpdate_Click();
    // The plot's pointer: picks in the normal mode, adds, selects and moves PVIs in the
    // alignment mode (frmPlotFormationAlignment.cpp).
    void plotPressed(QPointF twips);
    void plotMoved(QPointF twips);
    void plotReleased(QPointF twips);
    double chainageAtX(double xTwips) const;
    std::optional<double> levelAtY(double yTwips) const;
    std::optional<double> nearestSection(double chainage);
    // The alignment becomes `pvis` (sorted by chainage): written with FC and pushed on the
    // undo stack, or kept as a draft while it has fewer than two PVIs.
    void editAlignment(std::vector<Pvi> pvis, const QString& step);
    void removeSelectedPvi();
    void usePviCellDelegate();
    void fillPviTable();
    void pviCellEdited(int row, int column);
    void updateOverlay();
    void showSkipped(const EarthworkResult& r);
    // An update taken back (before) or done again, for the undo stack.
    FormationUpdateCommand::Outcome restoreEdit(const FormationEdit& edit, bool before);
    void tell(const QString& text);
    void tellOnce(const QString& redrawMessage);

    ProjectDocument& m_document;
    std::int64_t m_road = 0;
    FormationDesign m_design;
    FormationProfileSource m_source;
    QUndoStack* m_undo = nullptr;

    FormationProfileView* pbGraph = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QLineEdit *txtLeft = nullptr, *txtCentre = nullptr, *txtRight = nullptr;
    QLineEdit *txtLeftDiff = nullptr, *txtCentreDiff = nullptr, *txtRightDiff = nullptr;
    QLineEdit* txtFC = nullptr;
    QLineEdit *txtGrad1 = nullptr, *txtGrad2 = nullptr;
    QCheckBox* chkGradientMode = nullptr;
    QCheckBox* chkCulvert = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QTableWidget* VellGrid1 = nullptr;
    QLineEdit* txtChainage = nullptr; // the picked section's chainage; typing one picks it
    QCheckBox* chkAlignment = nullptr;
    QTableWidget* tblPvi = nullptr;
    QStatusBar* sbFormation = nullptr;
    QLabel *lblPointer = nullptr, *lblSkipped = nullptr;

    std::int64_t StartChainage = 0;
    std::int64_t m_columnMetres = 50; // chainage of a grid column
    double m_exaggeration = 25;
    QDoubleSpinBox* spnExaggeration = nullptr;
    QLabel* lblScale = nullptr;
    std::optional<std::int64_t> m_datum; // of the last redraw
    bool m_markerShown = false;          // a row has been marked since the window opened
    double CurrentChainage = 0;
    double PreviousChainage = 0;
    bool m_refreshing = false;
    bool m_opened = false;
    QString m_lastRedrawMessage;

    std::vector<Pvi> m_pvis;  // the stored alignment, or the draft while there is none
    std::vector<Pvi> m_draft; // PVIs placed before there are two
    int m_selectedPvi = -1;
    int m_draggedPvi = -1;
    bool m_dragMoved = false;
    std::optional<QPointF> m_dragAt;
    bool m_fillingTable = false;
};

} // namespace tarmela
