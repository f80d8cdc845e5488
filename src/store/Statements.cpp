#include "store/Statements.h"

#include "store/Numbers.h"
#include "store/Schema.h"

namespace tarmela::statements
{

namespace
{
QString n(std::int64_t v)
{
    return QString::number(v);
}
} // namespace

QString sheetTable(Sheet sheet, std::int64_t road)
{
    return sheet == Sheet::ReducedLevel ? schema::rlTable(road) : schema::lbTable(road);
}

QString makeReducedLevelTable(std::int64_t road)
{
    return "SELECT RLTemplate.* INTO " + schema::rlTable(road) + " FROM RLTemplate;";
}

QString makeLevelBookTable(std::int64_t road)
{
    return "SELECT LBTemplate.* INTO " + schema::lbTable(road) + " FROM LBTemplate;";
}

QString makeTable(Sheet sheet, std::int64_t road)
{
    return sheet == Sheet::ReducedLevel ? makeReducedLevelTable(road) : makeLevelBookTable(road);
}

QString makeCrossDistanceRow(std::int64_t road)
{
    return "INSERT INTO ChDistance (RoadRef) VALUES (" + n(road) + ")";
}

QString maxChainage(Sheet sheet, std::int64_t road)
{
    return "Select MAX(Chainage) from " + sheetTable(sheet, road);
}

QString maxId(Sheet sheet, std::int64_t road)
{
    return "Select MAX(ID) from " + sheetTable(sheet, road);
}

QString addSectionRow(Sheet sheet, std::int64_t road, std::int64_t id, double chainage)
{
    return "INSERT INTO " + sheetTable(sheet, road) + " (ID, Chainage) VALUES (" + n(id) + ", " +
           plainDecimal(chainage) + ")";
}

QString dropTable(Sheet sheet, std::int64_t road)
{
    return "DROP TABLE " + sheetTable(sheet, road);
}

QString deleteCrossDistances(std::int64_t road)
{
    return "Delete * from ChDistance where RoadRef=" + n(road);
}

QString deleteCulvertsOfRoad(std::int64_t road)
{
    return "Delete * from Culverts where RoadRef=" + n(road);
}

QString deleteCulvertsWithoutType()
{
    return QStringLiteral(
        "Delete * from Culverts where CTypeRef NOT IN (Select ID from CulvertTypes)");
}

QString deleteCulvertTemplate()
{
    return QStringLiteral("Delete * from Culverts where ID=<paramID>");
}

QString deleteCulvert(std::int64_t culvertId)
{
    return forId(deleteCulvertTemplate(), culvertId);
}

QString forId(const QString& statementTemplate, std::int64_t id)
{
    return QString(statementTemplate).replace(QLatin1String("<paramID>"), n(id));
}

QString selectRoads()
{
    return QStringLiteral("Select * from Roads");
}

QString selectCulverts(std::int64_t currentRoad)
{
    return "Select CulvertName, Chainage, EPType, ImageFileExisting, ImageFileProposed, RoadRef, "
           "CTypeRef, Culverts.ID from Culverts, CulvertTypes where CTypeRef=CulvertTypes.ID and "
           "RoadRef=" +
           n(currentRoad) + " order by Chainage, Culverts.ID";
}

QString selectCulvertTypes()
{
    return QStringLiteral("Select * from CulvertTypes");
}

QString selectCrossDistances(std::int64_t currentRoad)
{
    return "Select * from ChDistance where RoadRef=" + n(currentRoad);
}

} // namespace tarmela::statements
