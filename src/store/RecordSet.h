#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace tarmela
{

class Database;

// A snapshot of a query's rows with a current row, as the windows use the shared record sets:
// open, requery, move, find by a simple criterion, read fields by name or position, and add or
// change a row of the one table that the set writes to (rows are keyed by their ID column).
class RecordSet
{
public:
    // writeTable: the table that addNew()/update() write to; empty means the first table
    // named after FROM in the statement.
    explicit RecordSet(Database& db, QString writeTable = {});

    void open(const QString& statement);
    void requery();
    void close();
    bool isOpen() const { return m_open; }
    const QString& statement() const { return m_statement; }

    int count() const { return m_rows.size(); }
    int position() const
    {
        return m_pos;
    } // 0-based; -1 before the first row, count() after the last
    bool eof() const { return m_pos >= m_rows.size() || m_rows.isEmpty(); }
    void moveFirst();
    void moveNext();
    void moveTo(int index);

    // Searches forward from the current row for a row matching "Field=value" or "[Field]=value"
    // (numbers compared as numbers, quoted text as text). Ends past the last row when none.
    bool find(const QString& criterion);

    int columnCount() const { return m_columns.size(); }
    QString columnName(int index) const { return m_columns.value(index); }
    int columnIndex(const QString& name) const; // -1 when the set has no such column
    QVariant value(int column) const;
    QVariant value(const QString& name) const;

    // Editing the current row (or the row begun with addNew) until update() writes it.
    void addNew();
    void setValue(const QString& name, const QVariant& value);
    void update();       // writes the row; a new row gets its ID from the database
    void cancelUpdate(); // drops the edits (and a new row) that update() did not write

private:
    void load();
    void ensureWriteColumns();

    Database& m_db;
    QString m_writeTable;
    QString m_statement;
    bool m_open = false;
    QStringList m_columns;
    QHash<QString, int> m_index;
    QVector<QVector<QVariant>> m_rows;
    int m_pos = -1;

    bool m_adding = false;
    QHash<QString, QVariant> m_edits;
    QStringList m_writeColumns;
};

} // namespace tarmela
