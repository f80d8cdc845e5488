#include "ui/sheets/SheetModel.h"

#include "store/Error.h"

#include <QBrush>
#include <QFont>
#include <cmath>

namespace tarmela
{

SheetModel::SheetModel(sheets::SheetRows& rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows)
{
}

void SheetModel::rowsReset(const std::vector<int>& visible)
{
    beginResetModel();
    m_visible = visible;
    if (static_cast<int>(m_columns.size()) != m_rows.columnCount()) {
        m_columns.assign(m_rows.columnCount(), GridColumn{});
        m_shown = m_rows.columnCount();
    }
    endResetModel();
}

void SheetModel::setShownColumns(int count)
{
    beginResetModel();
    m_shown = std::clamp(count, 0, m_rows.columnCount());
    endResetModel();
}

int SheetModel::gridRowOf(int sheetRow) const
{
    const auto it = std::lower_bound(m_visible.begin(), m_visible.end(), sheetRow);
    return it != m_visible.end() && *it == sheetRow ? static_cast<int>(it - m_visible.begin()) : -1;
}

bool SheetModel::cellEditable(int col) const
{
    return col >= 0 && col < m_shown && m_columns[col].enabled && m_rows.editable(col);
}

QString SheetModel::cellText(int row, int col) const
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= m_shown)
        return {};
    return m_rows.text(m_visible[row], col);
}

QString SheetModel::setCellText(int row, int col, const QString& text)
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= m_shown)
        return {};
    if (!m_rows.editable(col))
        return QStringLiteral("The column %1 can't be changed here.").arg(m_rows.columnName(col));
    try {
        m_rows.setText(m_visible[row], col, text);
    } catch (const Error& e) {
        return e.message();
    }
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i);
    return {};
}

QVariant SheetModel::cellValue(int row, int col) const
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= m_shown)
        return {};
    return m_rows.value(m_visible[row], col);
}

void SheetModel::setCellValue(int row, int col, const QVariant& value)
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= m_shown)
        return;
    m_rows.setValue(m_visible[row], col, value);
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i);
}

int SheetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_visible.size());
}

int SheetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

QVariant SheetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = m_visible[index.row()];
    const int col = index.column();
    const GridColumn& gc = m_columns[col];
    switch (role) {
    case Qt::DisplayRole:
        // Levels line up on their points when every one shows the same decimals; editing,
        // copying and saving use the value as stored.
        if (gc.decimals >= 0 && m_rows.numeric(col) && !m_rows.isNull(row, col))
            return QString::number(m_rows.number(row, col), 'f', gc.decimals);
        return m_rows.text(row, col);
    case Qt::EditRole:
        return m_rows.text(row, col);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (gc.textAlign == 2 ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::BackgroundRole:
        if (gc.backColor.isValid())
            return QBrush(gc.backColor);
        return {};
    default:
        return {};
    }
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    const QVariant old = cellValue(index.row(), index.column());
    const QString text = value.toString();
    if (text == cellText(index.row(), index.column()))
        return true;
    const QString why = setCellText(index.row(), index.column(), text);
    if (!why.isEmpty()) {
        if (onRefused)
            onRefused(why);
        return false;
    }
    if (onCellEdited)
        onCellEdited(index.row(), index.column(), old);
    return true;
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (cellEditable(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole) {
        if (orientation == Qt::Horizontal) {
            if (section < 0 || section >= int(m_columns.size()))
                return {};
            const QString& caption = m_columns[section].caption;
            return caption.isEmpty() ? m_rows.columnName(section) : caption;
        }
        return section + 1;
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignCenter);
    return {};
}

} // namespace tarmela
