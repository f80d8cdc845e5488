#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarmela
{

class Database;

// Reading columns that every RL and LB table holds per side (L1..L8, R1..R8).
constexpr int kReadingsPerSide = 8;

namespace schema
{

// Column names of the tables, in their order in the database file.
QStringList roadsColumns();
QStringList chDistanceColumns();
QStringList culvertTypesColumns();
QStringList culvertsColumns();
QStringList rlColumns(); // ID, Chainage, L8..L1, C, R1..R8 (positions 2..18), formation, areas
QStringList lbColumns();

// The tables every project holds (a file without them is not a project of this program).
QStringList projectTables();

// Per-road table names, made only from the integer road id.
QString rlTable(std::int64_t roadId);
QString lbTable(std::int64_t roadId);
// Whether a table name (any case) is a road's RL (LB) sheet or the template it is made from.
bool isRlTable(const QString& table);
bool isLbTable(const QString& table);

// Creates the tables of a new project as the first version of the file had them (and nothing
// else) in one transaction; the migrations (Migrations.h) then bring it to the current version.
// An existing project is left as it is.
void ensureSchema(Database& db);

} // namespace schema
} // namespace tarmela
