#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>
#include <cstdint>
#include <vector>

namespace tarmela
{

class Database;

namespace sheets
{

// The rows of one data sheet, held column-wise so that a road of 100,000 sections stays small:
// number columns as doubles (NaN marks an empty cell), text columns as strings. Loaded with one
// query; edits stay here, marked per row, until save() writes the changed rows back.
//
// A sheet writes to the one table its statement reads (rows keyed by the ID column); a
// statement that joins tables, or has no ID, gives a sheet that can't be edited in place.
class SheetRows
{
public:
    enum class Kind { Real, Integer, Text };

    // Runs the statement and takes every row. Throws Error; on failure the rows stay as they were.
    void load(Database& db, const QString& statement);
    void reload(Database& db) { load(db, m_statement); }

    const QString& statement() const { return m_statement; }
    const QString& table() const { return m_table; } // empty when read-only
    bool updatable() const { return !m_table.isEmpty(); }

    int rowCount() const { return m_rows; }
    int columnCount() const { return static_cast<int>(m_cols.size()); }
    QString columnName(int col) const { return m_cols[col].name; }
    QStringList columnNames() const;
    int columnIndex(const QString& name) const; // case-insensitive; -1 when none
    Kind kind(int col) const { return m_cols[col].kind; }
    bool numeric(int col) const { return m_cols[col].kind != Kind::Text; }
    bool editable(int col) const; // not the ID, and only in a sheet that writes back

    bool isNull(int row, int col) const;
    double number(int row, int col) const; // NaN when empty or a text column
    QString text(int row, int col) const;  // numbers in plain decimal, empty cell ""
    std::int64_t id(int row) const;        // -1 when the sheet has no ID column
    int rowOfId(std::int64_t id) const;    // -1 when none

    // Why text can't go into the cell (text in a number column, a fraction in a whole-number
    // column), or empty when it can.
    QString refusal(int col, const QString& text) const;
    // Changes a cell; throws Error(Data) with refusal()'s text, leaving the cell as it was.
    void setText(int row, int col, const QString& text);
    // A cell as held, for putting it back exactly later: null when empty (an empty text cell
    // read as NULL too), else the number or the text.
    QVariant value(int row, int col) const;
    // Puts back a value that value() gave for this cell.
    void setValue(int row, int col, const QVariant& value);

    bool hasChanges() const { return m_changedCount > 0; }
    bool changed(int row) const { return m_changed[row] != 0; }

    // Writes every changed row with one prepared statement keyed by ID, in one transaction.
    // On a failure nothing is written, the rows stay marked and SaveError tells which row.
    void save(Database& db);
    // Deletes the rows with these ids in one transaction and drops them from the sheet.
    void removeIds(Database& db, const std::vector<std::int64_t>& ids);

private:
    struct Column {
        QString name;
        Kind kind = Kind::Real;
        std::vector<double> numbers;
        std::vector<QString> texts;
    };
    static quint64 columnBit(int col);
    void markChanged(int row, int col);

    QString m_statement;
    QString m_table;
    int m_idCol = -1;
    int m_rows = 0;
    std::vector<Column> m_cols;
    std::vector<quint64> m_changed; // per row, a bit per changed column
    int m_changedCount = 0;
};

// A save that stopped at a row (0-based position in the sheet) with the engine's message.
struct SaveError {
    int row = 0;
    QString message;
};

// The one table a single-table SELECT reads ("... from RL_4 order by ..."); empty for a join.
QString tableOfStatement(const QString& statement);

} // namespace sheets
} // namespace tarmela
