#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace tarmela
{

class Database;

// The one way the program reads rows: a statement stepped straight through SQLite.
//
// Every step is checked. A step that fails (a damaged page, a lock not granted in time, a
// full disk under a temporary table) throws Error with the database's own text ("database
// disk image is malformed"), so a loop can never take a broken read for the end of the rows
// and go on with fewer of them. The statement is finalised when the reader goes out of scope.
//
//     RowReader rows(db, "SELECT ID, Chainage FROM RL_4 ORDER BY Chainage, ID");
//     while (rows.next())
//         use(rows.integer(0), rows.number(1));
//
// Values are read by position (0-based) from the current row: the reader must stand on a row,
// that is, the last next() returned true.
class RowReader
{
public:
    // Prepares the statement (SQLite's own text). Throws Error when it can't be prepared.
    RowReader(Database& db, const QString& sql);
    ~RowReader();
    RowReader(RowReader&& other) noexcept;
    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;
    RowReader& operator=(RowReader&&) = delete;

    // Binds the value of the `index`-th "?" (0-based): null, a whole number, a number, text or
    // bytes. Binding again after reading starts the statement over.
    RowReader& bind(int index, const QVariant& value);
    // Starts the statement over (bound values stay) so it can be read again.
    void reset();

    // Steps to the next row: true when there is one, false after the last. Throws Error.
    bool next();

    int columnCount() const;
    QString columnName(int column) const;
    int columnIndex(const QString& name) const; // case-insensitive; -1 when none

    bool isNull(int column) const;
    bool isText(int column) const;   // text or bytes stored in the cell
    double number(int column) const; // 0 when empty
    std::optional<double> optionalNumber(int column) const;
    double numberOrNan(int column) const;   // cellNumber() below
    std::int64_t integer(int column) const; // 0 when empty
    QString text(int column) const;         // a null QString when empty
    // The cell as a QVariant: null, qlonglong, double, QString or QByteArray as stored.
    QVariant value(int column) const;

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    bool m_started = false;
};

// A cell as a number: NaN when empty, and when it holds text that is not a number (a number
// column of an older file may hold text; STRICT tables refuse it).
double cellNumber(sqlite3_value* cell);

} // namespace tarmela
