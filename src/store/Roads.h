#pragma once

#include "store/Schema.h"
#include "store/Statements.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <array>
#include <cstdint>
#include <optional>

namespace tarmela
{

class Database;

// One row of Roads.
struct Road {
    std::int64_t id = 0;
    QString from;
    QString to;
    std::int64_t length = 0;
    int interval = 0;
    double formationCamber = 0; // percent, as stored
    double carriageCamber = 0;  // percent, as stored
    std::array<QString, 4> fields;
    // The bench mark the road's level book was last reduced from; none when it never was.
    std::optional<double> benchmark;
    double cutFactor = 1; // m3 of compacted fill from one m3 of cut
    // The bench mark the level book was last closed on (none when it was not), and whether
    // the closing error was then distributed over the instrument setups.
    std::optional<double> closingBenchmark;
    bool closingDistributed = false;
};

// The values to give a road; a field left empty keeps the database's default (new road)
// or the road's current value (changed road).
struct RoadChanges {
    std::optional<QString> from;
    std::optional<QString> to;
    std::optional<std::int64_t> length;
    std::optional<int> interval;
    std::optional<double> formationCamber;
    std::optional<double> carriageCamber;
    std::optional<double> cutFactor;
    std::array<std::optional<QString>, 4> fields;
};

// The cross distances of a road: intervals from the previous reading outwards, metres.
// An empty value is 0.
struct CrossDistances {
    std::array<double, kReadingsPerSide> left{};
    std::array<double, kReadingsPerSide> right{};
};

namespace roads
{

QVector<Road> list(Database& db);
// Throws Error(Data) when there is no road with that id.
Road get(Database& db, std::int64_t id);
bool exists(Database& db, std::int64_t id);
// From + " To " + To; empty when there is no road with that id.
QString name(Database& db, std::int64_t id);
// The Length cell as stored: a number, the text an older file may hold, or null. Throws
// Error(Data) when there is no road with that id.
QVariant storedLength(Database& db, std::int64_t id);

// Creates a road with its RL_n and LB_n tables and its cross-distance row, all or nothing.
// Returns the new road's id.
std::int64_t create(Database& db, const RoadChanges& values = {});
void update(Database& db, std::int64_t id, const RoadChanges& values);
// Remembers the bench mark the road's level book was reduced from, and the one it closed on.
void setBenchmark(Database& db, std::int64_t id, double benchmark,
                  std::optional<double> closingBenchmark = std::nullopt, bool distributed = false);

// Deletes a road, its two tables, its cross distances and its culverts, all or nothing.
// A table that is already missing does not stop the rest.
void remove(Database& db, std::int64_t id);

// Appends a section row to a road's sheet: chainage = highest chainage + interval (taken to a
// whole number, halves to even) or 0 on an empty sheet; ID = highest ID + 1 or 0.
// Returns the new row's ID.
std::int64_t appendSection(Database& db, statements::Sheet sheet, std::int64_t road, int interval);

CrossDistances crossDistances(Database& db, std::int64_t road);
void setCrossDistances(Database& db, std::int64_t road, const CrossDistances& distances);

// Removes the given culvert types and every culvert (on any road) that is left without a type.
void removeCulvertTypes(Database& db, const QVector<std::int64_t>& typeIds);
void removeCulverts(Database& db, const QVector<std::int64_t>& culvertIds);

} // namespace roads
} // namespace tarmela
