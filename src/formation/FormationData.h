#pragma once

// What the formation tool reads and writes, through the store's readers of the RL sheet and
// the culverts (store/RlRowStore.h): the profile, the picks and the readouts, and the writes
// of FC. Rows are taken in the order every reader of a road's RL sheet uses (by Chainage,
// then ID), so "the row at a chainage" is the first one there and "the row before" is the
// one before it in that order. Failed statements throw Error.

#include "drawing/FormationProfile.h"
#include "formation/FormationRules.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tarmela
{

class Database;
class RlRowStore;
class RoadCulverts;

namespace formation
{

class FormationData
{
public:
    // viewSections: the readings per side shown; the outer curves are L<n> and R<n> (none
    // when 0).
    FormationData(Database& db, std::int64_t road, int viewSections);
    ~FormationData();
    FormationData(const FormationData&) = delete;
    FormationData& operator=(const FormationData&) = delete;

    Database& database() { return m_db; }
    std::int64_t road() const { return m_road; }

    std::optional<double> maxChainage();
    std::optional<FormationProfileRow> firstRow();
    // The chainage of the row a click picks; none when there is no such row.
    std::optional<double> pickedChainage(const PickRule& pick);
    // The rows with from <= Chainage < to. With minGap > 0, a row closer than that to the last
    // one kept is left out (the last row of all is kept): what a view of many rows to the
    // pixel can show.
    std::vector<FormationProfileRow> rowsIn(double from, double to, double minGap = 0);
    std::optional<FormationProfileRow> rowAt(double chainage);
    std::optional<FormationProfileRow> rowBefore(const FormationProfileRow& row);
    // The rows after `from` up to and including `to`.
    std::vector<FormationProfileRow> rowsAfterThrough(const FormationProfileRow& from,
                                                      const FormationProfileRow& to);

    // A culvert with from <= chainage < to, its picture file (the existing one for EPType
    // "E", else the proposed one; empty when the type names none) and the FC of the rows
    // on either side of it.
    struct Culvert {
        double chainage = 0;
        QString picture;
        std::optional<double> fcBefore, fcAfter;
    };
    std::vector<Culvert> culvertsIn(double from, double to);

    void writeFc(std::int64_t id, double fc);
    // The readings per side in use changed: the outer readings are those of the new count.
    void setViewSections(int viewSections);

private:
    Database& m_db;
    std::int64_t m_road;
    int m_shown = 0; // the readings per side shown, 0 when none
    std::unique_ptr<RlRowStore> m_rows;
    std::unique_ptr<RoadCulverts> m_culverts;
};

} // namespace formation
} // namespace tarmela
