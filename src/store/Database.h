#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace tarmela {

// The project database: one SQLite file, one connection, open for the life of the program.
//
// Statements come in two forms. exec() and query() take SQLite text as it is. execute() and
// scalar() take the program's own statement texts (statements.h), which are written in the
// dialect the program always used, and translate the few forms SQLite spells differently:
//   "SELECT T.* INTO X FROM T;"  -> create X with T's columns, types and indexes, copy T's rows
//   "Delete * from X ..."        -> "DELETE FROM X ..."
// Bracketed names such as [Fill Area] are understood by SQLite as they are.
class Database {
public:
    // Opens (and on first use creates) the project file at path, with the schema in place.
    // Throws Error with the engine's text when the file can't be opened.
    static std::unique_ptr<Database> open(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return m_path; }
    QSqlDatabase& connection() { return m_db; }

    void exec(const QString& sqliteText);
    QSqlQuery query(const QString& sqliteText);                 // executed, forward only
    QSqlQuery prepare(const QString& sqliteText);               // prepared, not executed
    static void run(QSqlQuery& prepared);                       // exec a prepared query or throw

    void execute(const QString& statement);
    QVariant scalar(const QString& statement); // first value of the first row; null when none
    QStringList translate(const QString& statement);

    bool tableExists(const QString& name);
    QStringList columnNames(const QString& table);

private:
    Database(QSqlDatabase db, QString path);
    QSqlDatabase m_db;
    QString m_path;
};

// Turns a failed statement into the engine's Error (a missing table has its own kind).
[[noreturn]] void throwSqlError(const QSqlError& error, const QString& statement);

} // namespace tarmela
