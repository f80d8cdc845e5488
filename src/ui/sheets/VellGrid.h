#pragma once

#include <QRect>
#include <QTableView>

namespace tarmela
{

class SheetModel;

// The data sheets' grid: a table view with a fixed header row and row headers in the
// program's colours, per-column widths and width shares, spreadsheet keys (typing replaces a
// cell, F2 edits at the end, Enter moves down or right, Tab and Shift+Tab skip locked
// columns) and a block selection.
class VellGrid : public QTableView
{
    Q_OBJECT
public:
    explicit VellGrid(QWidget* parent = nullptr);

    void setSheetModel(SheetModel* model);
    SheetModel* sheetModel() const { return m_model; }

    // Column widths and shares from the model's column settings.
    void applyColumnWidths();
    // Keeps the first column (Chainage) in view at the left while the others scroll, as the
    // row numbers are.
    void setFirstColumnFrozen(bool frozen);
    void setRedraw(bool on)
    {
        viewport()->setUpdatesEnabled(on);
        if (on)
            viewport()->update();
    }

    bool enterRight = false; // Enter moves right (to the next editable column) instead of down

    int currentRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }
    int currentCol() const { return currentIndex().isValid() ? currentIndex().column() : -1; }
    void setCurrentCell(int row, int col);
    int firstVisibleRow() const;
    void setFirstVisibleRow(int row);

    // The selected block (rows top..bottom, columns left..right), or a null rect.
    QRect block() const;
    bool blockSelected() const; // more than one cell selected
    // The selected block, or the current cell alone when nothing is selected.
    QRect blockOrCurrent() const;
    // Writes the text of an open cell editor into its cell and closes the editor.
    void commitOpenEditor();
    // Rows whose every shown cell is selected (the row headers' selection), ascending.
    QList<int> selectedRowList() const;
    QList<int> selectedColumnList() const;
    bool editorOpen() const { return state() == QAbstractItemView::EditingState; }

signals:
    void deleteKeyPressed();
    void rowHeaderDoubleClicked(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void updateGeometries() override;

private:
    void placeFrozenColumn();
    void showFrozenColumn(bool shown);
    void moveAfterEnter();
    int nextEditableColumn(int from, int step) const; // -1 when none
    SheetModel* m_model = nullptr;
    QTableView* m_frozen = nullptr; // a copy of the first column laid over it
};

} // namespace tarmela
