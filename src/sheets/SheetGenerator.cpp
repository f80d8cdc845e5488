#include "sheets/SheetGenerator.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/RowWriter.h"
#include "store/SheetTable.h"
#include "store/Statements.h"
#include "store/Transaction.h"
#include "store/ValueRanges.h"

#include <cmath>

namespace tarmela
{

using statements::Sheet;

namespace
{

void checkInputs(double start, double end, int interval)
{
    if (!std::isfinite(start) || !std::isfinite(end))
        throw Error(ErrorKind::Usage,
                    QStringLiteral("Start chainage and end chainage values must be numeric!"));
    // The chainages the sheets and the import take: a generated sheet can be read back.
    requireInRange(ranges::kChainage, start, QStringLiteral("start chainage"));
    requireInRange(ranges::kChainage, end, QStringLiteral("end chainage"));
    // Replacing a whole sheet by one row is surely a slip of the keys.
    if (end < start)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("The end chainage %1 lies before the start chainage %2")
                        .arg(plainDecimal(end), plainDecimal(start)));
    // A step of 0 or less would never reach the end chainage.
    if (interval <= 0)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("The road's interval is %1 m: it must be at least 1 m to "
                                   "generate sheets. Set the interval in the road details.")
                        .arg(interval));
}

// The loop compares against the whole end chainage, so that an end with a fraction that rounds
// down onto a step (1000.4 at 20 m) does not give the chainage 1000 twice.
std::int64_t rowsFor(std::int64_t first, std::int64_t last, int interval)
{
    if (last <= first)
        return 1;
    return (last - first + interval - 1) / interval + 1;
}

void fillSheet(Database& db, Sheet sheet, std::int64_t road, std::int64_t first, std::int64_t last,
               int interval)
{
    // A road whose table went missing gets it back rather than an error about dropping it.
    if (db.tableExists(statements::sheetTable(sheet, road)))
        db.execute(statements::dropTable(sheet, road));
    db.execute(statements::makeTable(sheet, road));

    // One prepared statement for every row: a long road is a million of them.
    RowWriter add = sheettable::inserter(db, statements::sheetTable(sheet, road),
                                         {QStringLiteral("ID"), QStringLiteral("Chainage")});
    const auto addRow = [&](std::int64_t id, std::int64_t chainage) {
        add.bindInteger(0, id);
        add.bindNumber(1, double(chainage));
        add.run();
    };
    std::int64_t c = first;
    std::int64_t i = 1;
    while (last > c) {
        addRow(i, c);
        c += interval;
        ++i;
    }
    addRow(i, last);
}

} // namespace

std::int64_t generatedRowCount(double start, double end, int interval)
{
    checkInputs(start, end, interval);
    return rowsFor(nearestEven(start), nearestEven(end), interval);
}

std::int64_t generateSheets(Database& db, std::int64_t road, double start, double end, int interval,
                            bool reducedLevel, bool levelBook)
{
    if (!reducedLevel && !levelBook)
        throw Error(
            ErrorKind::Usage,
            QStringLiteral("Choose the reduced levels, the level book or both to generate"));
    const std::int64_t rows = generatedRowCount(start, end, interval);
    if (rows > kMaxGeneratedRows)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("From %1 to %2 at %3 m would make %4 rows in a sheet; at most "
                                   "%5 can be generated at once")
                        .arg(plainDecimal(start), plainDecimal(end))
                        .arg(interval)
                        .arg(rows)
                        .arg(kMaxGeneratedRows));
    const std::int64_t first = nearestEven(start);
    const std::int64_t last = nearestEven(end);
    Transaction tx(db);
    if (!roads::exists(db, road))
        throw Error(ErrorKind::Data, QStringLiteral("There is no road with ID %1").arg(road));
    if (reducedLevel)
        fillSheet(db, Sheet::ReducedLevel, road, first, last, interval);
    if (levelBook)
        fillSheet(db, Sheet::LevelBook, road, first, last, interval);
    tx.commit();
    return rows;
}

} // namespace tarmela
