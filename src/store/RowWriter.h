#pragma once

#include <QString>
#include <cstdint>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace tarmela
{

class Database;

// A statement that writes one row at a time (INSERT, UPDATE), prepared once and run for every
// row with its values bound straight into SQLite: on a long sheet the generic way of binding
// values costs several times what the database itself spends on the row.
//
//     RowWriter update(db, "UPDATE RL_4 SET FC = ? WHERE ID = ?");
//     update.bindNumber(0, 101.25);
//     update.bindInteger(1, id);
//     update.run();
//
// Values are bound by position (0-based) and stay bound from one run to the next. Every call
// is checked: a failure throws Error with the database's own text.
class RowWriter
{
public:
    // Prepares the statement (SQLite's own text). Throws Error when it can't be prepared.
    RowWriter(Database& db, const QString& sql);
    ~RowWriter();
    RowWriter(RowWriter&& other) noexcept;
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;
    RowWriter& operator=(RowWriter&&) = delete;

    void bindNull(int index);
    void bindNumber(int index, double value);                       // null when not a number
    void bindNumber(int index, const std::optional<double>& value); // null when empty
    void bindInteger(int index, std::int64_t value);
    void bindText(int index, const char* utf8, int bytes); // copied

    // Runs the statement once with the values bound. Throws Error.
    void run();

private:
    void check(int rc);
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace tarmela
