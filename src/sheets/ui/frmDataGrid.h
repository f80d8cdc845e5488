#pragma once

#include "sheets/SheetFilter.h"
#include "sheets/SheetRows.h"

#include <QString>
#include <QWidget>
#include <cstdint>

namespace tarmela
{

class Database;
class SheetModel;
class VellGrid;

// The data sheet: one grid over the rows of one statement (appState().ViewSQL at Load), set
// up by a layout routine and driven by the main window's commands. Edits stay in the sheet
// until they are saved (at once with AutoSave, else on Save, before Add and on close).
class frmDataGrid : public QWidget
{
    Q_OBJECT
public:
    explicit frmDataGrid(QWidget* parent = nullptr);
    ~frmDataGrid() override;

    // Opens appState().ViewSQL. Throws Error when the statement can't be run.
    void Load();

    QString strCurrentDataSheet; // "RoadDetails", "LevelBook", "ReducedLevel", ...
    int HelpContextID = 0;

    // A notch towards the user (delta < 1) moves two rows down, away two rows up.
    void MouseWheel(int delta);
    // 1 Copy, 2 Cut, 3 Paste, 4 Save, 5 Undo, 6 Transform.
    void HandleMenuEvent(int code);
    void SaveBeforeAdd();
    // The ID of the first selected row (0 when no row is selected).
    std::int64_t CurrentSelectedRecord();
    void SeekRecord(std::int64_t id);
    void LockColumns();
    // Deletes the selected rows after the user's confirmation; with a template ("...<paramID>")
    // each row's statement is run instead. True when rows were deleted.
    bool DeleteRecord(const QString& statementTemplate = {});
    void RefreshData();
    void FilterData(const QString& filter);
    int SelectCountRow() const;

    // Writes the changed rows; false (with the message shown) when the database refused.
    bool Save();
    bool changed() const { return m_rows.hasChanges(); }
    const QString& filterText() const { return m_filterText; }
    VellGrid* grid() const { return m_grid; }
    SheetModel* model() const { return m_model; }
    sheets::SheetRows& rows() { return m_rows; }
    // Shown columns: hides the columns from first on (the record set keeps them).
    void DeleteCols(int first, int count);

    // Called by the window that hosts the sheet when it becomes active or stops being so.
    void setActive(bool active);
    bool isActive() const { return m_active; }

signals:
    void sheetActivated(frmDataGrid* sheet);
    void sheetDeactivated(frmDataGrid* sheet);
    void rowHeaderDoubleClicked(frmDataGrid* sheet);
    void dependentDrawingsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct UndoRecord {
        QString text;
        int col = 0;
        int row = 0;
        bool valid = false;
    };
    Database& db();
    void copyBlock(bool cut, bool toClipboard);
    void paste();
    void undo();
    void transform();
    void deleteKey();
    // Writes clipboard-form text from (row, col); returns the old texts in the same form.
    QString writeText(const QString& text, int row, int col);
    void recordUndo(const QString& text, int col, int row);
    void afterChange(); // AutoSave: save and refresh the drawings
    void currentRowLeft();
    void reportRefused();
    std::vector<int> visibleRows() const;

    sheets::SheetRows m_rows;
    sheets::SheetFilter m_filter;
    QString m_filterText;
    SheetModel* m_model;
    VellGrid* m_grid;
    UndoRecord m_undo;
    UndoRecord m_prevUndo;
    QStringList m_refused; // refusals gathered during a paste or transform
    bool m_active = false;
};

} // namespace tarmela
