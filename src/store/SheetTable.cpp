#include "store/SheetTable.h"

#include "store/Database.h"
#include "store/Error.h"

namespace tarmela::sheettable
{

namespace
{

std::optional<std::int64_t> integerOf(Database& db, const QString& sql)
{
    RowReader q(db, sql);
    if (q.next() && !q.isNull(0))
        return q.integer(0);
    return std::nullopt;
}

QString assignments(const QStringList& columns)
{
    QStringList sets;
    for (const QString& c : columns)
        sets << quoteName(c) + QStringLiteral(" = ?");
    return sets.join(QStringLiteral(", "));
}

} // namespace

RowReader rows(Database& db, statements::Sheet sheet, std::int64_t road, const QStringList& columns,
               bool withChainage)
{
    return RowReader(
        db, QStringLiteral("SELECT ") +
                (columns.isEmpty() ? QStringLiteral("*") : quoteNames(columns)) +
                QStringLiteral(" FROM ") + quoteName(statements::sheetTable(sheet, road)) +
                (withChainage ? QStringLiteral(" WHERE Chainage IS NOT NULL") : QString()) +
                QStringLiteral(" ORDER BY Chainage, ID"));
}

RowReader rowWithId(Database& db, const QString& table, const QStringList& columns)
{
    return RowReader(db, QStringLiteral("SELECT ") + quoteNames(columns) +
                             QStringLiteral(" FROM ") + quoteName(table) +
                             QStringLiteral(" WHERE ID = ?"));
}

std::int64_t rowCount(Database& db, const QString& table)
{
    return integerOf(db, QStringLiteral("SELECT COUNT(*) FROM ") + quoteName(table)).value_or(0);
}

std::int64_t rowsWithoutChainage(Database& db, const QString& table)
{
    return integerOf(db, QStringLiteral("SELECT COUNT(*) FROM ") + quoteName(table) +
                             QStringLiteral(" WHERE Chainage IS NULL"))
        .value_or(0);
}

std::int64_t statementRowCount(Database& db, const QString& statement)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM (%1)").arg(statement)).toLongLong();
}

std::optional<std::int64_t> maxId(Database& db, const QString& table)
{
    return integerOf(db, QStringLiteral("SELECT MAX(ID) FROM ") + quoteName(table));
}

QHash<QString, QString> declaredTypes(Database& db, const QString& table)
{
    QHash<QString, QString> declared;
    RowReader info(db, QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(table)));
    while (info.next())
        declared.insert(info.text(1).toLower(), info.text(2));
    return declared;
}

QStringList columnNames(const RowReader& query)
{
    QStringList names;
    for (int c = 0; c < query.columnCount(); ++c)
        names << query.columnName(c);
    return names;
}

RowWriter updater(Database& db, const QString& table, const QStringList& columns)
{
    return RowWriter(db, QStringLiteral("UPDATE ") + quoteName(table) + QStringLiteral(" SET ") +
                             assignments(columns) + QStringLiteral(" WHERE ID = ?"));
}

QSqlQuery updateQuery(Database& db, const QString& table, const QStringList& columns)
{
    return db.prepare(QStringLiteral("UPDATE ") + quoteName(table) + QStringLiteral(" SET ") +
                      assignments(columns) + QStringLiteral(" WHERE ID = ?"));
}

RowWriter inserter(Database& db, const QString& table, const QStringList& columns)
{
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return RowWriter(db, QStringLiteral("INSERT INTO ") + quoteName(table) + QStringLiteral(" (") +
                             quoteNames(columns) + QStringLiteral(") VALUES (") +
                             marks.join(QStringLiteral(", ")) + QStringLiteral(")"));
}

QSqlQuery deleteQuery(Database& db, const QString& table)
{
    return db.prepare(QStringLiteral("DELETE FROM ") + quoteName(table) +
                      QStringLiteral(" WHERE ID = ?"));
}

} // namespace tarmela::sheettable
