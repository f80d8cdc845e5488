#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace tarmela::sheets
{

// The text the sheets put on the clipboard and keep for undo: cells of a row joined by a tab,
// rows joined by CR LF, nothing after the last cell.
QString joinClipboardText(const QVector<QStringList>& rows);

// The cells of such a text, row by row. A lone LF also ends a row (spreadsheets on this system
// copy so), and the line end that spreadsheets put after the last row adds no empty row.
QVector<QStringList> splitClipboardText(const QString& text);

} // namespace tarmela::sheets
