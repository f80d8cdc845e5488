#pragma once

#include "store/RowReader.h"
#include "store/RowWriter.h"
#include "store/Statements.h"

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace tarmela
{

class Database;

// Reads and writes of a table's rows keyed by their ID column, for the road sheets (RL_n,
// LB_n) and the other tables the data sheets edit. Names go into the statements quoted, so a
// column such as "Fill Area" is given as it is. Readers of a road's sheet go by the order
// every reader of it uses: Chainage, then ID (store/RlRowStore.h). Failed statements throw
// Error.
namespace sheettable
{

// The columns of a road's sheet (every column when none are named), every row in sheet
// order; withChainage: only the rows that have a chainage.
RowReader rows(Database& db, statements::Sheet sheet, std::int64_t road,
               const QStringList& columns = {}, bool withChainage = false);
// The named columns of the row with the ID bound at position 0.
RowReader rowWithId(Database& db, const QString& table, const QStringList& columns);

std::int64_t rowCount(Database& db, const QString& table);
std::int64_t rowsWithoutChainage(Database& db, const QString& table);
// The rows a statement of the data sheets (store/SheetQueries.h) reads.
std::int64_t statementRowCount(Database& db, const QString& statement);
std::optional<std::int64_t> maxId(Database& db, const QString& table);
// The declared type of each column, by its name in lower case; empty when there is no table.
QHash<QString, QString> declaredTypes(Database& db, const QString& table);
QStringList columnNames(const RowReader& query);

// "Set these columns of the row with this ID": the values by position, then the ID.
RowWriter updater(Database& db, const QString& table, const QStringList& columns);
QSqlQuery updateQuery(Database& db, const QString& table, const QStringList& columns);
// A new row: the values of the named columns by position.
RowWriter inserter(Database& db, const QString& table, const QStringList& columns);
// "Delete the row with this ID", the ID bound at position 0.
QSqlQuery deleteQuery(Database& db, const QString& table);

} // namespace sheettable
} // namespace tarmela
