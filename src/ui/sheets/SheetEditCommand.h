#pragma once

#include <QUndoCommand>
#include <QVariant>
#include <functional>
#include <vector>

namespace tarmela
{

// A cell an edit of a data sheet changed: where (grid row and column) and its value before
// and after (SheetModel::cellValue, so an empty cell comes back empty).
struct SheetCellChange {
    int row = 0;
    int col = 0;
    QVariant before, after;
};

// One edit of a data sheet (typing a cell, a paste, a cut, a deletion, a transform) on the
// sheet's undo stack. It is pushed after the edit was made: the push does nothing more.
// Undo and redo hand the cells to `apply`, which writes them (and saves with AutoSave).
class SheetEditCommand : public QUndoCommand
{
public:
    using Apply = std::function<void(const std::vector<SheetCellChange>& cells, bool before)>;

    SheetEditCommand(const QString& text, std::vector<SheetCellChange> cells, Apply apply);

    void undo() override;
    void redo() override;

private:
    std::vector<SheetCellChange> m_cells;
    Apply m_apply;
    bool m_pushed = true; // the push's redo: the edit is made already
};

} // namespace tarmela
