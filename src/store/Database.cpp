#include "store/Database.h"

#include "store/Error.h"
#include "store/Migrations.h"
#include "store/OutputFile.h"
#include "store/RowReader.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <atomic>
#include <sqlite3.h>

namespace tarmela
{

namespace
{
std::atomic<int> connectionCounter{0};

const QRegularExpression& selectIntoPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*SELECT\s+(\w+)\.\*\s+INTO\s+(\w+)\s+FROM\s+(\w+)\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

const QRegularExpression& deleteStarPattern()
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*DELETE\s+\*\s+FROM\s+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

// Replaces the table name (a whole word) in a CREATE statement taken from sqlite_master.
QString renameInDdl(QString ddl, const QString& from, const QString& to)
{
    const QRegularExpression word(
        QStringLiteral("\\b%1(?=\\b|_)").arg(QRegularExpression::escape(from)));
    return ddl.replace(word, to);
}
} // namespace

QString quoteName(const QString& name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString quoteNames(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names)
        quoted << quoteName(name);
    return quoted.join(QStringLiteral(", "));
}

Error databaseError(int resultCode, const QString& text)
{
    const QString why = text.isEmpty() ? QString::fromUtf8(sqlite3_errstr(resultCode)) : text;
    switch (resultCode & 0xff) {
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
    case SQLITE_RANGE:
    case SQLITE_NOTADB:
        return Error(ErrorKind::Data, why);
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return Error(ErrorKind::Io, why);
    default:
        return Error(ErrorKind::Database, why);
    }
}

void throwSqlError(const QSqlError& error)
{
    bool numbered = false;
    const int code = error.nativeErrorCode().toInt(&numbered);
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    throw databaseError(numbered ? code : SQLITE_ERROR, text);
}

Database::Database(const QString& connectionName, const QString& path)
    : m_db(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName)), m_path(path)
{
    m_db.setDatabaseName(path);
    if (!m_db.open()) {
        const QSqlError e = m_db.lastError();
        throw Error(
            ErrorKind::Io,
            QStringLiteral("Cannot open the project %1: %2")
                .arg(shownPath(path), e.databaseText().isEmpty() ? e.text() : e.databaseText()));
    }
    const QVariant h = m_db.driver()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3* const*>(h.constData());
    if (!m_handle)
        throw Error(ErrorKind::Database, QStringLiteral("The database driver is not SQLite"));
    // Errors carry SQLite's detailed codes (a refused value type is told from other refusals).
    sqlite3_extended_result_codes(m_handle, 1);
}

Database::~Database()
{
    // This object holds the connection's only handle, so it can be removed without a warning.
    const QString name = m_db.connectionName();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

std::unique_ptr<Database> Database::open(const QString& path)
{
    const QFileInfo info(path);
    const bool exists = info.exists();
    // SQLite would create the file a dangling link points to, wherever that is.
    if (!exists && info.isSymLink())
        throw Error(ErrorKind::Data,
                    QStringLiteral("Cannot open the project %1: it is a link to %2, which is not "
                                   "there")
                        .arg(shownPath(path), shownPath(info.symLinkTarget())));
    if (exists && !info.isFile())
        throw Error(
            ErrorKind::Data,
            QStringLiteral("Cannot open the project %1: it is not a file").arg(shownPath(path)));
    if (!exists)
        makeFolder(info.absolutePath());
    const QString name = QStringLiteral("tarmela-%1").arg(++connectionCounter);
    std::unique_ptr<Database> db(new Database(name, info.absoluteFilePath()));
    db->refuseForeignFile(!exists || info.size() == 0);
    // Both refusals only read: a foreign file or one of a newer program is left as it was.
    schema::refuseNewerFile(*db, shownPath(path));
    db->exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    db->exec(QStringLiteral("PRAGMA synchronous=FULL"));
    schema::ensureSchema(*db);
    schema::upgrade(*db);
    return db;
}

void Database::refuseForeignFile(bool created)
{
    const QString shown = shownPath(m_path);
    QStringList tables;
    try {
        // Nothing is written before this read: a file that is not a database, or a damaged
        // one, is left exactly as it was.
        RowReader rows(*this,
                       QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        while (rows.next())
            tables << rows.text(0);
    } catch (const Error& e) {
        throw Error(e.kind(),
                    QStringLiteral("Cannot open the project %1: %2").arg(shown, e.message()));
    }
    tables.removeAll(QStringLiteral("sqlite_sequence"));
    if (created || tables.isEmpty())
        return;
    for (const QString& table : schema::projectTables())
        if (!tables.contains(table, Qt::CaseInsensitive))
            throw Error(ErrorKind::Data,
                        QStringLiteral("The file %1 is not a Tarmela project: it has no table %2")
                            .arg(shown, table));
    // Tables of those names made by another program: refused before anything is written (the
    // journal mode included), not half-way through a command.
    const std::pair<QString, QStringList> columns[] = {
        {QStringLiteral("Roads"), schema::roadsColumns()},
        {QStringLiteral("ChDistance"), schema::chDistanceColumns()},
        {QStringLiteral("CulvertTypes"), schema::culvertTypesColumns()},
        {QStringLiteral("Culverts"), schema::culvertsColumns()},
        {QStringLiteral("RLTemplate"), schema::rlColumns()},
        {QStringLiteral("LBTemplate"), schema::lbColumns()}};
    for (const auto& [table, expected] : columns) {
        const QStringList held = columnNames(table);
        for (const QString& column : expected)
            if (!held.contains(column, Qt::CaseInsensitive))
                throw Error(ErrorKind::Data,
                            QStringLiteral("The file %1 is not a Tarmela project: its table %2 "
                                           "has no column %3")
                                .arg(shown, table, column));
    }
}

bool Database::inTransaction() const
{
    return sqlite3_get_autocommit(m_handle) == 0;
}

void Database::exec(const QString& sqliteText)
{
    QSqlQuery q(m_db);
    if (!q.exec(sqliteText))
        throwSqlError(q.lastError());
}

QSqlQuery Database::prepare(const QString& sqliteText)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(sqliteText))
        throwSqlError(q.lastError());
    return q;
}

void Database::run(QSqlQuery& prepared)
{
    if (!prepared.exec())
        throwSqlError(prepared.lastError());
}

QStringList Database::translate(const QString& statement)
{
    const auto into = selectIntoPattern().match(statement);
    if (into.hasMatch() && into.captured(1).compare(into.captured(3), Qt::CaseInsensitive) == 0) {
        const QString source = into.captured(3);
        const QString target = into.captured(2);
        QStringList out;
        RowReader rows(*this, QStringLiteral("SELECT sql FROM sqlite_master WHERE tbl_name = ? "
                                             "AND sql IS NOT NULL ORDER BY type DESC"));
        rows.bind(0, source);
        while (rows.next())
            out << renameInDdl(rows.text(0), source, target);
        if (out.isEmpty())
            throw Error(ErrorKind::TableMissing, QStringLiteral("no such table: %1").arg(source));
        out.insert(1, QStringLiteral("INSERT INTO %1 SELECT * FROM %2")
                          .arg(quoteName(target), quoteName(source)));
        return out;
    }
    QString text = statement;
    text.replace(deleteStarPattern(), QStringLiteral("DELETE FROM "));
    return {text};
}

void Database::execute(const QString& statement)
{
    const QStringList parts = translate(statement);
    if (parts.size() == 1) {
        exec(parts.front());
        return;
    }
    Transaction tx(*this);
    for (const QString& part : parts)
        exec(part);
    tx.commit();
}

QVariant Database::scalar(const QString& statement)
{
    RowReader rows(*this, translate(statement).front());
    if (!rows.next())
        return {};
    return rows.value(0);
}

std::int64_t Database::dataVersion()
{
    RowReader q(*this, QStringLiteral("PRAGMA data_version"));
    return q.next() ? q.integer(0) : 0;
}

std::int64_t Database::totalChanges()
{
    RowReader q(*this, QStringLiteral("SELECT total_changes()"));
    return q.next() ? q.integer(0) : 0;
}

bool Database::tableExists(const QString& name)
{
    RowReader rows(*this, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                         "name = ? COLLATE NOCASE"));
    rows.bind(0, name);
    return rows.next();
}

QStringList Database::columnNames(const QString& table)
{
    QStringList names;
    RowReader rows(*this, QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(table)));
    while (rows.next())
        names << rows.text(1);
    return names;
}

} // namespace tarmela
