#pragma once

#include <QString>
#include <cstdint>

namespace tarmela::statements
{

// The statements that create, extend and delete a road, in the program's own dialect
// (Database::execute translates them for SQLite). Numbers go in as plain decimal.

enum class Sheet { ReducedLevel, LevelBook };
QString sheetTable(Sheet sheet, std::int64_t road); // "RL_12" (schema::rlTable, lbTable)

QString makeReducedLevelTable(std::int64_t road); // SELECT RLTemplate.* INTO RL_n FROM RLTemplate;
QString makeLevelBookTable(std::int64_t road);    // SELECT LBTemplate.* INTO LB_n FROM LBTemplate;
QString makeTable(Sheet sheet, std::int64_t road);
QString makeCrossDistanceRow(std::int64_t road);
QString maxChainage(Sheet sheet, std::int64_t road);
QString maxId(Sheet sheet, std::int64_t road);
QString addSectionRow(Sheet sheet, std::int64_t road, std::int64_t id, double chainage);
QString dropTable(Sheet sheet, std::int64_t road);
QString deleteCrossDistances(std::int64_t road);
QString deleteCulvertsOfRoad(std::int64_t road);
QString deleteCulvertsWithoutType();
QString deleteCulvertTemplate(); // "<paramID>" stands for the culvert's ID
QString deleteCulvert(std::int64_t culvertId);
// A template's statement for one row: "<paramID>" replaced by the ID.
QString forId(const QString& statementTemplate, std::int64_t id);

// Shared record sets.
QString selectRoads();
QString selectCulverts(std::int64_t currentRoad);
QString selectCulvertTypes();
QString selectCrossDistances(std::int64_t currentRoad);

} // namespace tarmela::statements
