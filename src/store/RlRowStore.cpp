#include "store/RlRowStore.h"

#include "store/Database.h"
#include "store/Schema.h"
#include "store/SheetTable.h"

namespace tarmela
{

namespace
{

// The one order of the sheet's rows, and its reverse for "the row before".
const QString kOrder = QStringLiteral(" ORDER BY Chainage, ID");
const QString kReverse = QStringLiteral(" ORDER BY Chainage DESC, ID DESC");

} // namespace

RlRowStore::RlRowStore(Database& db, std::int64_t road)
    : m_db(db), m_road(road), m_table(quoteName(schema::rlTable(road)))
{
}

bool RlRowStore::exists()
{
    return m_db.tableExists(schema::rlTable(m_road));
}

RowReader& RlRowStore::reader(std::optional<RowReader>& slot, const QString& sql)
{
    if (!slot)
        slot.emplace(m_db, sql);
    return *slot;
}

std::vector<RlRow> RlRowStore::rowsOf(RowReader& query)
{
    // Every statement that reads whole rows selects * from the one table: the columns are
    // found once for the store (finding them took a third of a formation update's time).
    if (!m_columns)
        m_columns.emplace(sheettable::columnNames(query));
    std::vector<RlRow> rows;
    RlRow row;
    while (query.next()) {
        m_columns->read(query, row);
        rows.push_back(row);
    }
    return rows;
}

std::optional<RlRow> RlRowStore::firstOf(RowReader& query)
{
    std::vector<RlRow> rows = rowsOf(query);
    query.reset();
    return rows.empty() ? std::nullopt : std::optional<RlRow>(rows.front());
}

std::optional<double> RlRowStore::numberOf(RowReader& query)
{
    std::optional<double> value;
    if (query.next())
        value = query.optionalNumber(0);
    query.reset();
    return value;
}

RlRowReader RlRowStore::all()
{
    return RlRowReader(RowReader(m_db, QStringLiteral("SELECT * FROM ") + m_table + kOrder));
}

RlRowReader RlRowStore::summaries()
{
    return RlRowReader(RowReader(m_db, QStringLiteral("SELECT ID, Chainage, C, FC, \"Fill Area\", "
                                                      "\"Cut Area\" FROM ") +
                                           m_table + kOrder),
                       RlRowReader::Columns::Summary);
}

std::vector<RlRow> RlRowStore::between(double from, double to, RangeEnd end)
{
    std::vector<RlRow> rows;
    visitBetween(from, to, end, [&](const RlRow& row) { rows.push_back(row); });
    return rows;
}

void RlRowStore::visitBetween(double from, double to, RangeEnd end,
                              const std::function<void(const RlRow&)>& visit)
{
    const bool included = end == RangeEnd::Included;
    RowReader& q = reader(included ? m_between : m_betweenOpen,
                          QStringLiteral("SELECT * FROM ") + m_table +
                              (included ? QStringLiteral(" WHERE Chainage >= ? AND Chainage <= ?")
                                        : QStringLiteral(" WHERE Chainage >= ? AND Chainage < ?")) +
                              kOrder);
    q.bind(0, from).bind(1, to);
    if (!m_columns)
        m_columns.emplace(sheettable::columnNames(q));
    RlRow row;
    while (q.next()) {
        m_columns->read(q, row);
        visit(row);
    }
}

std::vector<RlRow> RlRowStore::page(std::int64_t offset, int count)
{
    // The index on Chainage holds the row's ID, so this order comes straight from it.
    RowReader& q = reader(m_page, QStringLiteral("SELECT * FROM ") + m_table + kOrder +
                                      QStringLiteral(" LIMIT ? OFFSET ?"));
    q.bind(0, count).bind(1, qint64(offset));
    return rowsOf(q);
}

std::vector<RlRow> RlRowStore::after(double chainage, std::int64_t id, int count)
{
    RowReader& q = reader(m_after, QStringLiteral("SELECT * FROM ") + m_table +
                                       QStringLiteral(" WHERE (Chainage, ID) > (?, ?)") + kOrder +
                                       QStringLiteral(" LIMIT ?"));
    q.bind(0, chainage).bind(1, qint64(id)).bind(2, count);
    return rowsOf(q);
}

std::vector<RlRow> RlRowStore::afterThrough(double fromChainage, std::int64_t fromId,
                                            double toChainage, std::int64_t toId)
{
    RowReader& q =
        reader(m_afterThrough,
               QStringLiteral("SELECT * FROM ") + m_table +
                   QStringLiteral(" WHERE Chainage >= ? AND Chainage <= ? AND "
                                  "(Chainage > ? OR ID > ?) AND (Chainage < ? OR ID <= ?)") +
                   kOrder);
    q.bind(0, fromChainage).bind(1, toChainage).bind(2, fromChainage).bind(3, qint64(fromId));
    q.bind(4, toChainage).bind(5, qint64(toId));
    return rowsOf(q);
}

std::optional<RlRow> RlRowStore::first()
{
    return firstOf(reader(m_first, QStringLiteral("SELECT * FROM ") + m_table + kOrder +
                                       QStringLiteral(" LIMIT 1")));
}

std::optional<RlRow> RlRowStore::firstAt(double chainage)
{
    RowReader& q = reader(m_firstAt, QStringLiteral("SELECT * FROM ") + m_table +
                                         QStringLiteral(" WHERE Chainage = ?") + kOrder +
                                         QStringLiteral(" LIMIT 1"));
    q.bind(0, chainage);
    return firstOf(q);
}

std::optional<RlRow> RlRowStore::before(double chainage, std::int64_t id)
{
    // The range on Chainage alone lets the index find the row on a road of any length.
    RowReader& q = reader(m_before, QStringLiteral("SELECT * FROM ") + m_table +
                                        QStringLiteral(" WHERE Chainage <= ? AND (Chainage < ? "
                                                       "OR ID < ?)") +
                                        kReverse + QStringLiteral(" LIMIT 1"));
    q.bind(0, chainage).bind(1, chainage).bind(2, qint64(id));
    return firstOf(q);
}

std::optional<RlRow> RlRowStore::withId(std::int64_t id)
{
    RowReader& q = reader(m_withId, QStringLiteral("SELECT * FROM ") + m_table +
                                        QStringLiteral(" WHERE ID = ?"));
    q.bind(0, qint64(id));
    return firstOf(q);
}

std::optional<std::int64_t> RlRowStore::firstIdAt(double chainage)
{
    RowReader& q = reader(m_firstIdAt, QStringLiteral("SELECT ID FROM ") + m_table +
                                           QStringLiteral(" WHERE Chainage = ?") + kOrder +
                                           QStringLiteral(" LIMIT 1"));
    q.bind(0, chainage);
    std::optional<std::int64_t> id;
    if (q.next())
        id = q.integer(0);
    q.reset();
    return id;
}

std::optional<double> RlRowStore::fcBefore(double chainage)
{
    RowReader& q = reader(m_fcBefore, QStringLiteral("SELECT FC FROM ") + m_table +
                                          QStringLiteral(" WHERE Chainage < ?") + kReverse +
                                          QStringLiteral(" LIMIT 1"));
    q.bind(0, chainage);
    return numberOf(q);
}

std::optional<double> RlRowStore::fcAfter(double chainage)
{
    RowReader& q = reader(m_fcAfter, QStringLiteral("SELECT FC FROM ") + m_table +
                                         QStringLiteral(" WHERE Chainage > ?") + kOrder +
                                         QStringLiteral(" LIMIT 1"));
    q.bind(0, chainage);
    return numberOf(q);
}

std::int64_t RlRowStore::count()
{
    return sheettable::rowCount(m_db, schema::rlTable(m_road));
}

std::optional<double> RlRowStore::minChainage()
{
    RowReader q(m_db, QStringLiteral("SELECT MIN(Chainage) FROM ") + m_table);
    return numberOf(q);
}

std::optional<double> RlRowStore::maxChainage()
{
    RowReader q(m_db, QStringLiteral("SELECT MAX(Chainage) FROM ") + m_table);
    return numberOf(q);
}

std::optional<double> RlRowStore::lastChainageUpTo(double chainage)
{
    RowReader& q = reader(m_lastUpTo, QStringLiteral("SELECT MAX(Chainage) FROM ") + m_table +
                                          QStringLiteral(" WHERE Chainage <= ?"));
    q.bind(0, chainage);
    return numberOf(q);
}

std::optional<double> RlRowStore::firstChainageAbove(double chainage)
{
    RowReader& q = reader(m_firstAbove, QStringLiteral("SELECT MIN(Chainage) FROM ") + m_table +
                                            QStringLiteral(" WHERE Chainage > ?"));
    q.bind(0, chainage);
    return numberOf(q);
}

std::optional<std::int64_t> RlRowStore::maxId()
{
    return sheettable::maxId(m_db, schema::rlTable(m_road));
}

void RlRowStore::writeFc(std::int64_t id, double fc)
{
    if (!m_writeFc)
        m_writeFc.emplace(columnWriter({QStringLiteral("FC")}));
    m_writeFc->bindNumber(0, fc);
    m_writeFc->bindInteger(1, id);
    m_writeFc->run();
}

RowWriter RlRowStore::columnWriter(const QStringList& columns)
{
    return sheettable::updater(m_db, schema::rlTable(m_road), columns);
}

RowWriter RlRowStore::rowInserter(const QStringList& columns)
{
    return sheettable::inserter(m_db, schema::rlTable(m_road), columns);
}

RowWriter RlRowStore::functionUpdate(const QStringList& columns, const QString& rowFunction,
                                     const QString& valueFunction)
{
    QStringList sets;
    for (int c = 0; c < columns.size(); ++c)
        sets << QStringLiteral("%1 = %2(%3, ID)").arg(quoteName(columns[c]), valueFunction).arg(c);
    return RowWriter(m_db, QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") +
                               sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") +
                               rowFunction + QStringLiteral("(") + quoteNames(schema::rlColumns()) +
                               QStringLiteral(")"));
}

} // namespace tarmela
