#include "compute/LevelBookReduction.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/RowReader.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <QSqlQuery>
#include <QVariant>
#include <map>
#include <vector>

namespace tarmela {

namespace {

// Working values in double: the height of instrument runs across the whole book, and single
// precision would drift by millimetres over a long road's many change points.
struct BookRow {
    std::int64_t id = 0;
    double chainage = 0;
    QVariant left[kReadingsPerSide];
    QVariant right[kReadingsPerSide];
    QVariant c, bs, fs, topWidth, bottomWidth;
};

QString readingColumns()
{
    QStringList cols;
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(i);
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("R%1").arg(i);
    return cols.join(QStringLiteral(", "));
}

std::vector<BookRow> readLevelBook(Database& db, std::int64_t road)
{
    std::vector<BookRow> rows;
    RowReader q(db, "SELECT ID, Chainage, " + readingColumns() +
                        ", C, BS, FS, TopWidth, BottomWidth FROM " + schema::lbTable(road) +
                        " ORDER BY Chainage, ID");
    while (q.next()) {
        BookRow r;
        r.id = q.integer(0);
        if (q.isNull(1))
            throw Error(ErrorKind::NullValue,
                        QStringLiteral("The level book row with ID %1 has no chainage; give it "
                                       "one before reducing the level book")
                            .arg(r.id));
        r.chainage = q.number(1);
        int col = 2;
        for (auto& v : r.left)
            v = q.value(col++);
        for (auto& v : r.right)
            v = q.value(col++);
        r.c = q.value(col++);
        r.bs = q.value(col++);
        r.fs = q.value(col++);
        r.topWidth = q.value(col++);
        r.bottomWidth = q.value(col++);
        rows.push_back(r);
    }
    return rows;
}

// The first RL row of each chainage, as a search from the top of the sheet finds it.
std::map<double, std::int64_t> readReducedLevelRows(Database& db, std::int64_t road)
{
    std::map<double, std::int64_t> rows;
    RowReader q(db, "SELECT Chainage, ID FROM " + schema::rlTable(road) +
                        " WHERE Chainage IS NOT NULL ORDER BY Chainage, ID");
    while (q.next())
        rows.emplace(q.number(0), q.integer(1));
    return rows;
}

QVariant levelText(double hi, const QVariant& reading)
{
    if (reading.isNull())
        return QVariant();
    return d3Text(hi - reading.toDouble());
}

} // namespace

void ConvertLevelBookToRL(Database& db, std::int64_t road, double benchMark)
{
    const QString rl = schema::rlTable(road);
    const QString lb = schema::lbTable(road);
    Transaction tx(db);
    for (const QString& table : {rl, lb})
        if (!db.tableExists(table))
            throw Error(
                ErrorKind::TableMissing,
                QStringLiteral("The table %1 of road %2 does not exist").arg(table).arg(road));
    const std::vector<BookRow> book = readLevelBook(db, road);
    std::map<double, std::int64_t> rlRows = readReducedLevelRows(db, road);
    const QVariant maxId = db.scalar("Select MAX(ID) from " + rl);
    std::int64_t nextId = maxId.isNull() ? 1 : maxId.toLongLong() + 1;

    // The columns the reduction writes, in the order of the values below.
    QStringList columns;
    for (int i = 1; i <= kReadingsPerSide; ++i)
        columns << QStringLiteral("L%1").arg(i);
    for (int i = 1; i <= kReadingsPerSide; ++i)
        columns << QStringLiteral("R%1").arg(i);
    columns << QStringLiteral("C") << QStringLiteral("TopWidth") << QStringLiteral("BottomWidth");
    QStringList sets, marks;
    for (const QString& c : columns)
        sets << c + QStringLiteral(" = ?"), marks << QStringLiteral("?");
    QSqlQuery updateRl = db.prepare("UPDATE " + rl + " SET " + sets.join(", ") + " WHERE ID = ?");
    QSqlQuery insertRl = db.prepare("INSERT INTO " + rl + " (" + columns.join(", ") +
                                    ", ID, Chainage) VALUES (" + marks.join(", ") + ", ?, ?)");
    QSqlQuery updateLb = db.prepare("UPDATE " + lb + " SET HI = ? WHERE ID = ?");

    double hi = benchMark;
    double topWidth = 0;
    double bottomWidth = 0;
    for (const BookRow& row : book) {
        const double bs = row.bs.isNull() ? 0 : row.bs.toDouble();
        const double fs = row.fs.isNull() ? 0 : row.fs.toDouble();
        const double cReading = row.c.isNull() ? 0 : row.c.toDouble();
        if (!row.topWidth.isNull())
            topWidth = row.topWidth.toDouble();
        if (!row.bottomWidth.isNull())
            bottomWidth = row.bottomWidth.toDouble();

        // Without a centre reading the row is a change point: its level is seen from the
        // instrument before the change.
        double centre = 0;
        if (cReading == 0)
            centre = hi - fs;
        if (bs > 0)
            hi += bs;
        if (fs > 0)
            hi -= fs;
        if (cReading != 0)
            centre = hi - cReading;

        // A chainage the RL sheet lacks gets a new row with the next free ID.
        auto found = rlRows.find(row.chainage);
        const bool isNew = found == rlRows.end();
        const std::int64_t rlId = isNew ? nextId++ : found->second;
        if (isNew)
            rlRows.emplace(row.chainage, rlId);
        QSqlQuery& write = isNew ? insertRl : updateRl;
        for (const QVariant& reading : row.left)
            write.addBindValue(levelText(hi, reading));
        for (const QVariant& reading : row.right)
            write.addBindValue(levelText(hi, reading));
        write.addBindValue(d3Text(centre));
        write.addBindValue(topWidth);
        write.addBindValue(bottomWidth);
        write.addBindValue(qint64(rlId));
        if (isNew)
            write.addBindValue(row.chainage);
        Database::run(write);

        updateLb.addBindValue(d3Text(hi));
        updateLb.addBindValue(qint64(row.id));
        Database::run(updateLb);
    }
    tx.commit();
}

} // namespace tarmela
