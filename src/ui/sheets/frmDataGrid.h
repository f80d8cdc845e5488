#pragma once

#include "sheets/SheetFilter.h"
#include "sheets/SheetRows.h"
#include "store/Statements.h"
#include "ui/common/MdiChild.h"
#include "ui/common/ProjectDocument.h"
#include "ui/sheets/SheetEditCommand.h"
#include "ui/sheets/SheetKind.h"

#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

class QUndoStack;

namespace tarmela
{

class Database;
class SheetModel;
class VellGrid;

// The data sheet: one grid over the rows of one statement, set up by a layout routine and
// driven by the main window's commands. Edits stay in the sheet until they are saved (at once
// with AutoSave, else on Save, before Add and on close). The sheet tells the project's
// document what it writes, and shows again what others wrote to its rows (unless it holds
// unsaved edits); a reduced level or culvert sheet closes when another road becomes current,
// a sheet of a deleted road when the road goes.
class frmDataGrid : public QWidget, public MdiChild
{
    Q_OBJECT
public:
    explicit frmDataGrid(SheetKind kind, QWidget* parent = nullptr);
    ~frmDataGrid() override;

    // Opens the statement. Throws Error when it can't be run.
    void Load(const QString& statement);

    const SheetKind strCurrentDataSheet;
    int HelpContextID = 0;
    std::int64_t RoadID = 0; // the road whose data the sheet shows; 0 for the project-wide ones

    // The window title without the filter note ("LB Sheet — Ranipur To Kalaghat"); the sheet
    // adds how many rows an active filter shows.
    void setBaseTitle(const QString& title);
    const QString& baseTitle() const { return m_baseTitle; }
    // The second and later windows of one sheet carry ":2", ":3" after the title, so that the
    // Window menu tells them apart; the first carries none.
    void setCopyNumber(int n);
    int copyNumber() const { return m_copyNumber; }

    // The main window's commands (MdiChild): every data sheet offers the edit and view
    // commands; Add and Delete act by the sheet's kind (frmDataGridCommands.cpp). Edit >
    // Undo and Redo take the last two edits of the cells back and do them again.
    ChildCommands enabledCommands() const override;
    QUndoStack* undoStack() override { return m_undo; }
    void save() override;
    void cut() override;
    void copy() override;
    void paste() override;
    void transform() override;
    void add() override;
    void remove() override;
    void lockColumns() override { LockColumns(); }
    void refresh() override { RefreshData(); }
    bool wheel(int delta) override;
    // The RL and LB sheets to and from CSV files, by the batch tool's rules and messages
    // (frmDataGridCsv.cpp): a file with a bad line names it and writes nothing.
    void importCsv() override;
    void exportCsv() override;

    // A notch towards the user (delta < 1) moves two rows down, away two rows up.
    void MouseWheel(int delta);
    void SaveBeforeAdd();
    // The ID of the first selected row (0 when no row is selected).
    std::int64_t CurrentSelectedRecord();
    void SeekRecord(std::int64_t id);
    void LockColumns();
    // Deletes the selected rows after the user's confirmation (`question`, or the usual one
    // counting the rows); with a template ("...<paramID>") each row's statement is run
    // instead. True when rows were deleted.
    // `confirmed`: the caller asked already.
    bool DeleteRecord(const QString& statementTemplate = {}, const QString& question = {},
                      bool confirmed = false);
    void RefreshData();
    // Applies a filter; a filter the sheet can't take is shown (over messageParent when
    // given, else over the sheet) and leaves the previous one in force. False then.
    bool FilterData(const QString& filter, QWidget* messageParent = nullptr);
    int SelectCountRow() const;

    // Writes the changed rows; false (with the message shown) when the database refused.
    bool Save();
    // Before work on `road` that reads or rewrites the project behind the sheet's back (the
    // sheets of other roads stay as they are): the text of an open cell editor goes into its
    // cell, then pending edits are saved (AutoSave) or the user is asked (Yes saves, No keeps
    // them unsaved). False when the user cancelled, the typed value was refused or a save
    // failed: the work must not start.
    bool commitEdits(std::int64_t road, const QString& before) override;
    // Reads the rows again (no save first).
    void reloadRows();
    bool changed() const { return m_rows.hasChanges(); }
    VellGrid* grid() const { return m_grid; }
    SheetModel* model() const { return m_model; }
    sheets::SheetRows& rows() { return m_rows; }
    // Shown columns: hides the columns from first on (the record set keeps them).
    void DeleteCols(int first, int count);

    // Called by the window that hosts the sheet when it becomes active or stops being so.
    void setActive(bool active);
    bool isActive() const { return m_active; }

    // A row header double-clicked on a road details sheet: the sheet closes (it may ask about
    // unsaved edits and stay) and the road of that row becomes the current road.
    void DoubleClickHandler();

signals:
    void sheetActivated(frmDataGrid* sheet);
    void sheetDeactivated(frmDataGrid* sheet);
    void rowHeaderDoubleClicked(frmDataGrid* sheet);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Database& db();
    // The document's side (frmDataGridFollow.cpp): what the sheet shows, telling what it
    // wrote, and following what others wrote, added or removed.
    ProjectDocument::Rows rowsShown() const;
    void tellWritten(bool typed);
    void followDocument();
    void rowsWrittenElsewhere(const ProjectDocument::RowsWrite& write);
    void roadRemoved(std::int64_t road);
    bool closesWithRoad() const;
    // Runs an edit of the grid's cells: redraws once, reports refused cells, saves with AutoSave.
    void editCells(const std::function<bool()>& edit);
    void copyBlock(bool cut, bool toClipboard);
    void pasteClipboard();
    bool transformBlock();
    void deleteKey();
    void appendSection();
    void addRoad();
    void deleteRoad();
    // The table kind of an RL or LB sheet, for its CSV files; nullopt for the other sheets.
    std::optional<statements::Sheet> csvSheet() const;
    void deleteCulvertTypes();
    void deleteCulverts();
    // Writes clipboard-form text from (row, col), as much of it as fits.
    void writeText(const QString& text, int row, int col);
    // The values of the cells of `area`, row by row (SheetModel::cellValue).
    std::vector<QVariant> cellValues(const QRect& area) const;
    // Puts the edit `step` of `area` on the undo stack: the cells that differ from `before`
    // (cellValues() of the area before the edit). Nothing when no cell changed.
    void recordEdit(const QString& step, const QRect& area, const std::vector<QVariant>& before);
    // Undo (before) and redo of an edit: its cells are written, the first becomes current.
    void applyCells(const std::vector<SheetCellChange>& cells, bool before);
    // "FC at 420" (sheets with chainages) or "From in row 3", for the undo texts.
    QString cellPlace(int row, int col) const;
    void afterChange(); // AutoSave: save and refresh the drawings
    void currentRowLeft();
    void reportRefused();
    void updateTitle();
    void showRows(); // the rows that pass the filter, into the grid
    std::vector<int> visibleRows() const;

    sheets::SheetRows m_rows;
    sheets::SheetFilter m_filter;
    QString m_filterText;
    QString m_baseTitle;
    int m_copyNumber = 1;
    SheetModel* m_model;
    VellGrid* m_grid;
    QUndoStack* m_undo;
    QStringList m_refused; // refusals gathered during a paste or transform
    ProjectDocument& m_document;
    bool m_telling = false; // the sheet's own news is on its way round
    bool m_active = false;
    int m_refusals = 0; // values refused so far, to see whether a commit took
};

} // namespace tarmela
