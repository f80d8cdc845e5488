#include "ui/sheets/SheetEditCommand.h"

namespace tarmela
{

SheetEditCommand::SheetEditCommand(const QString& text, std::vector<SheetCellChange> cells,
                                   Apply apply)
    : m_cells(std::move(cells)), m_apply(std::move(apply))
{
    setText(text);
}

void SheetEditCommand::undo()
{
    m_apply(m_cells, true);
}

void SheetEditCommand::redo()
{
    if (m_pushed) {
        m_pushed = false;
        return;
    }
    m_apply(m_cells, false);
}

} // namespace tarmela
