#pragma once

// What a piece of work did to some columns of a table's rows: for every row it changed, the
// values those columns had before and the values it left. Work that can be taken back keeps
// this, so that undoing it puts back exactly what was there (an empty cell comes back empty)
// and doing it again puts back exactly what it wrote, whichever routine wrote the values.
//
// The journal notes the rows through a temporary trigger of this connection (made once, and
// noting only while a journal of its table and columns is open): it sees every
// UPDATE of the table while it lives, also those of routines that know nothing about it. It
// is meant to live inside the work's transaction; its notes count among the connection's
// changes (total_changes()), so whoever stamps the database after the work does so after
// finish().

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarmela
{

class Database;

struct JournalRow {
    std::int64_t id = 0;
    QVariantList before; // the columns' values before the work, in the journal's order
    QVariantList after;  // and after it
};

class RowJournal
{
public:
    // Starts noting the rows of `table` (keyed by ID) whose `columns` are updated. Throws Error.
    RowJournal(Database& db, const QString& table, const QStringList& columns);
    ~RowJournal(); // stops noting, when finish() was not reached
    RowJournal(const RowJournal&) = delete;
    RowJournal& operator=(const RowJournal&) = delete;

    // Stops noting; the rows whose values differ from those before, in ID order. Throws Error.
    std::vector<JournalRow> finish();

    // The values of `columns` in the row `id` now; none when there is no such row.
    static std::optional<QVariantList> values(Database& db, const QString& table,
                                              const QStringList& columns, std::int64_t id);
    // Writes the values (as finish() returned them, before or after) into the rows.
    static void write(Database& db, const QString& table, const QStringList& columns,
                      const std::vector<JournalRow>& rows, bool before);

private:
    void stop();

    Database& m_db;
    QString m_table;
    QStringList m_columns;
    QString m_notes;   // the temporary table of the notes
    QString m_trigger; // the temporary trigger that notes the rows of this table and columns
    bool m_active = false;
};

} // namespace tarmela
