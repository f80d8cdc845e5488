#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <memory>

struct sqlite3;

namespace tarmela
{

class Error;

// The project database: one SQLite file, one connection, open for the life of the program.
//
// Rows are read through RowReader (store/RowReader.h), which checks every step; statements
// that write go through exec() or prepare()/run(). execute() and scalar() take the program's
// own statement texts (Statements.h) and translate the two forms SQLite spells differently:
//   "SELECT T.* INTO X FROM T;"  -> create X with T's columns, types and indexes, copy T's rows
//   "Delete * from X ..."        -> "DELETE FROM X ..."
// Bracketed names such as [Fill Area] are understood by SQLite as they are.
class Database
{
public:
    // Opens the project file at path; where no file exists, creates a new project there (and
    // the folders on the way). An existing file is opened only when it is a project of this
    // program (its tables are there) or empty; anything else is refused unchanged with
    // Error(Data). Throws Error with the engine's text when the file can't be opened.
    static std::unique_ptr<Database> open(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return m_path; }
    sqlite3* handle() const { return m_handle; }
    // Whether a transaction is open on the connection (SQLite ends one by itself when a
    // statement fails with a full disk or an I/O error).
    bool inTransaction() const;

    void exec(const QString& sqliteText);
    QSqlQuery prepare(const QString& sqliteText); // prepared, not executed
    static void run(QSqlQuery& prepared);         // exec a prepared query or throw

    void execute(const QString& statement);
    QVariant scalar(const QString& statement); // first value of the first row; null when none
    QStringList translate(const QString& statement);

    bool tableExists(const QString& name);
    // What tells whether the file changed: the data version moves when another connection
    // commits, the total changes when this one writes.
    std::int64_t dataVersion();
    std::int64_t totalChanges();
    QStringList columnNames(const QString& table);

private:
    Database(const QString& connectionName, const QString& path);
    void refuseForeignFile(bool created);

    QSqlDatabase m_db;
    QString m_path;
    sqlite3* m_handle = nullptr;
};

// A table or column name as it goes into a statement: in double quotes, a quote inside doubled.
// Every name the program puts into a statement it builds goes through here.
QString quoteName(const QString& name);
// The names, each quoted, joined by ", " (a column list).
QString quoteNames(const QStringList& names);

// The Error for a failed SQLite call, classified by SQLite's result code (a value the column
// refuses is Data, a full disk or a failed read or write Io, anything else Database) and
// carrying the database's own text.
Error databaseError(int resultCode, const QString& text);
// Turns a failed Qt statement into the same Error.
[[noreturn]] void throwSqlError(const QSqlError& error);

} // namespace tarmela
