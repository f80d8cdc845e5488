// The sheet's cell commands: copy, cut, paste, undo, transform and the Delete key.
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

namespace tarmela
{

void frmDataGrid::recordUndo(const QString& text, int col, int row)
{
    m_prevUndo = m_undo;
    m_undo = UndoRecord{text, col, row, true};
}

QString frmDataGrid::writeText(const QString& text, int row, int col)
{
    const QVector<QStringList> pieces = sheets::splitClipboardText(text);
    QVector<QStringList> old;
    for (int i = 0; i < pieces.size(); ++i) {
        const int r = row + i;
        if (r >= m_model->rowCount())
            break;
        QStringList oldLine;
        for (int j = 0; j < pieces[i].size(); ++j) {
            const int c = col + j;
            if (c >= m_model->columnCount())
                break;
            oldLine << m_model->cellText(r, c);
            // A locked column keeps its cells; the piece is passed over.
            if (!m_model->cellEditable(c))
                continue;
            const QString why = m_model->setCellText(r, c, pieces[i][j]);
            if (!why.isEmpty())
                m_refused << QStringLiteral("Row %1: %2").arg(r + 1).arg(why);
        }
        old << oldLine;
    }
    return sheets::joinClipboardText(old);
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
        recordUndo(text, b.left(), b.top());
}

void frmDataGrid::pasteClipboard()
{
    const int row = m_grid->currentRow(), col = m_grid->currentCol();
    if (row < 0 || col < 0)
        return;
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    recordUndo(QString(), col, row);
    m_undo.text = writeText(text, row, col);
}

void frmDataGrid::undoLast()
{
    UndoRecord* rec = m_undo.valid ? &m_undo : m_prevUndo.valid ? &m_prevUndo : nullptr;
    if (!rec)
        return;
    rec->valid = false;
    m_grid->setCurrentCell(rec->row, rec->col);
    writeText(rec->text, rec->row, rec->col);
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
    QVector<QStringList> old;
    for (int r = b.top(); r <= b.bottom(); ++r) {
        QStringList line;
        for (int c = b.left(); c <= b.right(); ++c) {
            const QString before = m_model->cellText(r, c);
            line << before;
            if (!m_model->cellEditable(c))
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
        old << line;
    }
    recordUndo(sheets::joinClipboardText(old), b.left(), b.top());
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
            recordUndo(m_model->cellText(row, col), col, row);
            m_model->setCellText(row, col, QString());
        }
    }
    m_grid->setRedraw(true);
    afterChange();
}

} // namespace tarmela
