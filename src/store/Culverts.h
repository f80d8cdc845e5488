#pragma once

#include "store/RlRowStore.h"
#include "store/RowReader.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarmela
{

class Database;

// A culvert of a road with the pictures of its type.
struct CulvertRow {
    std::int64_t id = 0;
    double chainage = 0; // NaN when empty
    QString epType;      // "E" existing, else proposed
    QString existingPicture, proposedPicture;
    // The picture drawn for it: the existing one for EPType "E", else the proposed one.
    const QString& picture() const
    {
        return epType == QLatin1String("E") ? existingPicture : proposedPicture;
    }
};

// The culverts of a road, in the order of its RL rows: Chainage, then ID. The statement is
// prepared once and kept.
class RoadCulverts
{
public:
    RoadCulverts(Database& db, std::int64_t road);
    // The culverts with from <= Chainage <= to (or < to).
    std::vector<CulvertRow> between(double from, double to, RangeEnd end = RangeEnd::Included);

private:
    Database& m_db;
    std::int64_t m_road;
    std::optional<RowReader> m_between, m_betweenOpen;
};

namespace culverts
{

std::int64_t countOnRoad(Database& db, std::int64_t road);
// The culvert type of that name and existing picture with the lowest ID.
std::optional<std::int64_t> findType(Database& db, const QString& name,
                                     const QString& existingPicture);
std::int64_t addType(Database& db, const QString& name, const QString& type,
                     const QString& existingPicture, const QString& proposedPicture);
// Why a culvert can't stand at the chainage on the road: before the first or beyond the last
// section of its RL sheet, e.g. "The chainage 99999 lies outside the road: its sections run
// from 0 to 600 m". Empty when it can (also while the road has no sections to go by: its
// length is often not filled in).
QString chainageRefusal(Database& db, std::int64_t road, double chainage);
// Throws Error(Usage) with chainageRefusal's text when the chainage lies beyond the road.
void add(Database& db, std::int64_t road, std::int64_t typeId, double chainage,
         const QString& epType);

} // namespace culverts
} // namespace tarmela
