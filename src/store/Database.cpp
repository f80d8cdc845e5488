#include "store/Database.h"

#include "store/Error.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <atomic>

namespace tarmela {

namespace {
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
    const QRegularExpression word(QStringLiteral("\\b%1(?=\\b|_)").arg(QRegularExpression::escape(from)));
    return ddl.replace(word, to);
}
} // namespace

void throwSqlError(const QSqlError& error, const QString& statement)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    const ErrorKind kind = text.contains(QLatin1String("no such table")) ? ErrorKind::TableMissing
                           : text.contains(QLatin1String("cannot store")) ? ErrorKind::Data
                                                                          : ErrorKind::Database;
    Q_UNUSED(statement);
    throw Error(kind, text);
}

Database::Database(QSqlDatabase db, QString path) : m_db(std::move(db)), m_path(std::move(path)) {}

Database::~Database()
{
    const QString name = m_db.connectionName();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

std::unique_ptr<Database> Database::open(const QString& path)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        throw Error(ErrorKind::Io,
                    QStringLiteral("Cannot create the folder %1").arg(info.absolutePath()));

    const QString name = QStringLiteral("tarmela-%1").arg(++connectionCounter);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    if (!db.open()) {
        const QString text = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw Error(ErrorKind::Database, text);
    }
    std::unique_ptr<Database> result(new Database(db, info.absoluteFilePath()));
    // A file that isn't a database only shows itself at the first statement.
    result->exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    result->exec(QStringLiteral("PRAGMA synchronous=FULL"));
    schema::ensureSchema(*result);
    return result;
}

void Database::exec(const QString& sqliteText)
{
    QSqlQuery q(m_db);
    if (!q.exec(sqliteText))
        throwSqlError(q.lastError(), sqliteText);
}

QSqlQuery Database::query(const QString& sqliteText)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(sqliteText))
        throwSqlError(q.lastError(), sqliteText);
    return q;
}

QSqlQuery Database::prepare(const QString& sqliteText)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(sqliteText))
        throwSqlError(q.lastError(), sqliteText);
    return q;
}

void Database::run(QSqlQuery& prepared)
{
    if (!prepared.exec())
        throwSqlError(prepared.lastError(), prepared.lastQuery());
}

QStringList Database::translate(const QString& statement)
{
    const auto into = selectIntoPattern().match(statement);
    if (into.hasMatch() && into.captured(1).compare(into.captured(3), Qt::CaseInsensitive) == 0) {
        const QString source = into.captured(3);
        const QString target = into.captured(2);
        QStringList out;
        QSqlQuery q = query(QStringLiteral("SELECT type, sql FROM sqlite_master WHERE tbl_name = '%1' "
                                           "AND sql IS NOT NULL ORDER BY type DESC")
                                .arg(source));
        while (q.next())
            out << renameInDdl(q.value(1).toString(), source, target);
        if (out.isEmpty())
            throw Error(ErrorKind::TableMissing, QStringLiteral("no such table: %1").arg(source));
        out.insert(1, QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(target, source));
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
    const QStringList parts = translate(statement);
    QSqlQuery q = query(parts.front());
    if (!q.next())
        return {};
    return q.value(0);
}

bool Database::tableExists(const QString& name)
{
    QSqlQuery q = prepare(
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name = ? COLLATE NOCASE"));
    q.addBindValue(name);
    run(q);
    return q.next();
}

QStringList Database::columnNames(const QString& table)
{
    QStringList names;
    QSqlQuery q = query(QStringLiteral("PRAGMA table_info([%1])").arg(table));
    while (q.next())
        names << q.value(1).toString();
    return names;
}

} // namespace tarmela
