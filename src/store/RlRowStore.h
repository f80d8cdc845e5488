#pragma once

#include "store/RlRows.h"
#include "store/RowReader.h"
#include "store/RowWriter.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tarmela
{

class Database;

// Whether a chainage range takes the rows at its upper end.
enum class RangeEnd { Included, Excluded };

// The reads and writes of a road's RL sheet (RL_n). Every reader goes by one order, Chainage
// then ID (a row without a chainage first), so that the recomputation, the formation tool, the
// section views, the printed reports and the HTML, DXF and CSV files all take the same row
// where two rows share a chainage: "the first row at" a chainage, "the row before" and "the
// row after" one mean the same rows everywhere. Statements are prepared on first use and kept
// for the life of the store. Failed statements throw Error.
class RlRowStore
{
public:
    RlRowStore(Database& db, std::int64_t road);

    std::int64_t road() const { return m_road; }
    const QString& table() const { return m_table; }
    bool exists();

    // Every row, read one at a time (memory stays the same for a road of any length).
    RlRowReader all();
    // Every row with only ID, Chainage, C, FC, Fill Area and Cut Area filled in: a quicker read
    // where nothing else is needed.
    RlRowReader summaries();

    std::vector<RlRow> between(double from, double to, RangeEnd end = RangeEnd::Included);
    // The same rows handed to `visit` one at a time, none kept (a whole long road in view).
    void visitBetween(double from, double to, RangeEnd end,
                      const std::function<void(const RlRow&)>& visit);
    // count rows from the offset-th (0-based).
    std::vector<RlRow> page(std::int64_t offset, int count);
    // At most count rows after the row (chainage, id), through the index.
    std::vector<RlRow> after(double chainage, std::int64_t id, int count);
    // The rows after (fromChainage, fromId) up to and including (toChainage, toId).
    std::vector<RlRow> afterThrough(double fromChainage, std::int64_t fromId, double toChainage,
                                    std::int64_t toId);
    std::optional<RlRow> first();
    std::optional<RlRow> firstAt(double chainage);
    std::optional<RlRow> before(double chainage, std::int64_t id);
    std::optional<RlRow> withId(std::int64_t id);
    // The ID of the first row at a chainage.
    std::optional<std::int64_t> firstIdAt(double chainage);
    // The FC of the last row before a chainage and of the first row after it (Chainage < and >
    // the chainage); empty when there is no such row or its FC is empty. A culvert's level is
    // taken from these two in every drawing of it.
    std::optional<double> fcBefore(double chainage);
    std::optional<double> fcAfter(double chainage);

    std::int64_t count();
    std::optional<double> minChainage();
    std::optional<double> maxChainage();
    std::optional<double> lastChainageUpTo(double chainage);   // the highest <= chainage
    std::optional<double> firstChainageAbove(double chainage); // the lowest > chainage
    std::optional<std::int64_t> maxId();

    void writeFc(std::int64_t id, double fc);
    // A writer of the named columns of one row: the values by position, then the row's ID.
    RowWriter columnWriter(const QStringList& columns);
    // A writer of new rows: the values of the named columns by position.
    RowWriter rowInserter(const QStringList& columns);
    // One statement over the whole sheet in its stored (ID) order: on each row for which
    // rowFunction(every RL column, as schema::rlColumns() lists them) is true, the k-th of
    // `columns` is set to valueFunction(k, ID). Both are functions the caller has registered
    // (store/RowFunction.h).
    RowWriter functionUpdate(const QStringList& columns, const QString& rowFunction,
                             const QString& valueFunction);

private:
    RowReader& reader(std::optional<RowReader>& slot, const QString& sql);
    std::vector<RlRow> rowsOf(RowReader& query);
    std::optional<RlRow> firstOf(RowReader& query);
    std::optional<double> numberOf(RowReader& query);

    Database& m_db;
    std::int64_t m_road;
    QString m_table; // quoted
    std::optional<RowReader> m_between, m_betweenOpen, m_page, m_after, m_afterThrough, m_first,
        m_firstAt, m_before, m_withId, m_firstIdAt, m_fcBefore, m_fcAfter, m_lastUpTo, m_firstAbove;
    std::optional<RowWriter> m_writeFc;
    std::optional<RlColumns> m_columns; // where the columns of a whole row stand
};

} // namespace tarmela
