// The sheet's cell commands: copy, cut, paste, transform and the Delete key, and their undo.
#include "sheets/ClipboardText.h"
#include "store/Numbers.h"
#include "ui/common/AppState.h"
#include "ui/common/Prompts.h"
#include "ui/sheets/SheetModel.h"
#include "ui/sheets/VellGrid.h"
#include "ui/sheets/dlgSelectTransform.h"
#include "ui/sheets/frmDataGrid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QUndoStack>

namespace tarmela
{

std::vector<QVariant> frmDataGrid::cellValues(const QRect& area) const
{
    std::vector<QVariant> values;
    for (int r = area.top(); r <= area.bottom(); ++r)
        for (int c = area.left(); c <= area.right(); ++c)
            values.push_back(m_model->cellValue(r, c));
    return values;
}

void frmDataGrid::recordEdit(const QString& step, const QRect& area,
                             const std::vector<QVariant>& before)
{
    std::vector<SheetCellChange> cells;
    std::size_t i = 0;
    for (int r = area.top(); r <= area.bottom(); ++r)
        for (int c = area.left(); c <= area.right(); ++c, ++i) {
            QVariant after = m_model->cellValue(r, c);
            const QVariant& old = before[i];
            const bool same =
                old.isNull() || after.isNull() ? old.isNull() == after.isNull() : old == after;
            if (!same)
                cells.push_back({r, c, old, std::move(after)});
        }
    if (cells.empty())
        return;
    m_undo->push(new SheetEditCommand(step, std::move(cells),
                                      [this](const std::vector<SheetCellChange>& changes,
                                             bool back) { applyCells(changes, back); }));
}

void frmDataGrid::applyCells(const std::vector<SheetCellChange>& cells, bool before)
{
    m_grid->setRedraw(false);
    m_grid->setCurrentCell(cells.front().row, cells.front().col);
    for (const SheetCellChange& c : cells)
        m_model->setCellValue(c.row, c.col, before ? c.before : c.after);
    m_grid->setRedraw(true);
    afterChange();
}

QString frmDataGrid::cellPlace(int row, int col) const
{
    const QString column = m_model->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
    const int chainage = m_rows.columnIndex(QStringLiteral("Chainage"));
    if (chainage >= 0 && chainage != col && !m_rows.isNull(m_model->sheetRow(row), chainage))
        return tr("%1 at %2").arg(column, m_rows.text(m_model->sheetRow(row), chainage));
    return tr("%1 in row %2").arg(column).arg(row + 1);
}

void frmDataGrid::writeText(const QString& text, int row, int col)
{
    const QVector<QStringList> pieces = sheets::splitClipboardText(text);
    for (int i = 0; i < pieces.size(); ++i) {
        const int r = row + i;
        if (r >= m_model->rowCount())
            break;
        for (int j = 0; j < pieces[i].size(); ++j) {
            const int c = col + j;
            if (c >= m_model->columnCount())
                break;
            // A locked column keeps its cells; the piece is passed over.
            if (!m_model->cellEditable(c))
                continue;
            const QString why = m_model->setCellText(r, c, pieces[i][j]);
            if (!why.isEmpty())
                m_refused << QStringLiteral("Row %1: %2").arg(r + 1).arg(why);
        }
    }
}

void frmDataGrid::reportRefused()
{
    if (m_refused.isEmpty())
        return;
    QStringList shown = m_refused.mid(0, 5);
    if (m_refused.size() > 5)
        shown << QStringLiteral("... and %1 more.").arg(m_refused.size() - 5);
    m_refused.clear();
    prompts().tell(this,
                   QStringLiteral("These cells were left as they were:\n") +
                       shown.join(QLatin1Char('\n')),
                   QMessageBox::Warning);
}

void frmDataGrid::copyBlock(bool cut, bool toClipboard)
{
    const QRect b = m_grid->block();
    if (b.isNull())
        return;
    QVector<QStringList> cells;
    for (int r = b.top(); r <= b.bottom(); ++r) {
        QStringList line;
        for (int c = b.left(); c <= b.right(); ++c)
            line << m_model->cellText(r, c);
        cells << line;
    }
    const QString text = sheets::joinClipboardText(cells);
    const std::vector<QVariant> before = cut ? cellValues(b) : std::vector<QVariant>();
    if (cut) {
        for (int r = b.top(); r <= b.bottom(); ++r)
            for (int c = b.left(); c <= b.right(); ++c)
                if (m_model->cellEditable(c))
                    m_model->setCellText(r, c, QString());
    }
    if (toClipboard) {
        QClipboard* clip = QGuiApplication::clipboard();
        clip->clear();
        clip->setText(text);
    }
    if (cut)
        recordEdit(toClipboard ? tr("Cut") : tr("Delete"), b, before);
}

void frmDataGrid::pasteClipboard()
{
    const int row = m_grid->currentRow(), col = m_grid->currentCol();
    if (row < 0 || col < 0)
        return;
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    // The cells the text reaches (what fits in the grid), before they are written.
    QRect area;
    const QVector<QStringList> pieces = sheets::splitClipboardText(text);
    for (int i = 0; i < pieces.size() && row + i < m_model->rowCount(); ++i) {
        const int cols = std::min(int(pieces[i].size()), m_model->columnCount() - col);
        if (cols > 0)
            area |= QRect(col, row + i, cols, 1);
    }
    const std::vector<QVariant> before = cellValues(area);
    writeText(text, row, col);
    recordEdit(tr("Paste"), area, before);
}

bool frmDataGrid::transformBlock()
{
    dlgSelectTransform choice(this);
    choice.exec(); // leaves the choice in appState().TransformType/TransformValue
    const int type = appState().TransformType;
    if (type < 0 || type > 3)
        return false;
    const double value = appState().TransformValue;
    const QRect b = m_grid->blockOrCurrent();
    const std::vector<QVariant> old = cellValues(b);
    for (int r = b.top(); r <= b.bottom(); ++r) {
        for (int c = b.left(); c <= b.right(); ++c) {
            const QString before = m_model->cellText(r, c);
            // An empty cell is no level: transformed it would become a false reading.
            if (!m_model->cellEditable(c) || before.trimmed().isEmpty())
                continue;
            const double x = leadingNumber(before);
            const double result = type == 0   ? value
                                  : type == 1 ? x + value
                                  : type == 2 ? x - value
                                              : x * value;
            const QString why = m_model->setCellText(r, c, plainDecimal(result));
            if (!why.isEmpty())
                m_refused << QStringLiteral("Row %1: %2").arg(r + 1).arg(why);
        }
    }
    recordEdit(tr("Transform"), b, old);
    return true;
}

void frmDataGrid::deleteKey()
{
    m_grid->setRedraw(false);
    if (m_grid->blockSelected()) {
        copyBlock(true, false);
    } else {
        const int row = m_grid->currentRow(), col = m_grid->currentCol();
        if (row >= 0 && col >= 0 && m_model->cellEditable(col)) {
            const QRect cell(col, row, 1, 1);
            const std::vector<QVariant> before = cellValues(cell);
            m_model->setCellText(row, col, QString());
            recordEdit(tr("Delete"), cell, before);
        }
    }
    m_grid->setRedraw(true);
    afterChange();
}

} // namespace tarmela
