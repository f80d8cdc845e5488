#pragma once

#include "sheets/SheetRows.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>
#include <vector>

namespace tarmela
{

// Per-column settings of the grid (alignment codes: 1 left, 2 right, anything else left).
struct GridColumn {
    int textAlign = 0;
    int width = 70;       // pixels, used when widthPercent is 0
    int widthPercent = 0; // share of the width left over by the fixed columns
    bool enabled = true;
    int decimals = -1; // digits after the point on screen (-1: as stored); the cell keeps its value
    QString caption;   // the header's text; empty: the column's name
    QColor backColor;  // invalid: the grid's back colour
};

// The grid's model over a sheet's rows: the shown columns (the first columnCount of the
// rows), the rows that pass the filter, and the per-column settings.
class SheetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit SheetModel(sheets::SheetRows& rows, QObject* parent = nullptr);

    // Call after the rows were loaded, reloaded or deleted from; keeps the column settings.
    void rowsReset(const std::vector<int>& visible);
    void setShownColumns(int count);
    int shownColumns() const { return m_shown; }
    int sheetRow(int gridRow) const { return m_visible[gridRow]; }
    int gridRowOf(int sheetRow) const; // -1 when filtered out

    GridColumn& column(int c) { return m_columns[c]; }
    const GridColumn& column(int c) const { return m_columns[c]; }
    bool cellEditable(int col) const;

    QString cellText(int row, int col) const;
    // Writes a cell; returns the refusal text (empty when written).
    QString setCellText(int row, int col, const QString& text);
    // A cell's value as held, and putting such a value back (for undo and redo).
    QVariant cellValue(int row, int col) const;
    void setCellValue(int row, int col, const QVariant& value);
    void refreshColumns()
    {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }

    // Called with the old value (cellValue()) when the user finishes editing a single cell.
    std::function<void(int row, int col, const QVariant& oldValue)> onCellEdited;
    // Called when typed text is refused.
    std::function<void(const QString& why)> onRefused;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    sheets::SheetRows& m_rows;
    std::vector<int> m_visible;
    std::vector<GridColumn> m_columns;
    int m_shown = 0;
};

} // namespace tarmela
