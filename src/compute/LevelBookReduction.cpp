#include "compute/LevelBookReduction.h"

#include "compute/HeightOfInstrument.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/RlRowStore.h"
#include "store/Schema.h"
#include "store/SheetTable.h"
#include "store/Transaction.h"
#include "store/ValueRanges.h"

#include <limits>
#include <optional>

namespace tarmela
{

namespace
{

// Columns read from the level book, in this order.
enum BookColumn {
    BookId,
    BookChainage,
    BookLeft,                                // L1..L8
    BookRight = BookLeft + kReadingsPerSide, // R1..R8
    BookCentre = BookRight + kReadingsPerSide,
    BookBS,
    BookFS,
    BookTopWidth,
    BookBottomWidth,
};

QStringList readingColumns()
{
    QStringList cols;
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(i);
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("R%1").arg(i);
    return cols;
}

} // namespace

void ConvertLevelBookToRL(Database& db, std::int64_t road, double benchMark)
{
    requireInRange(ranges::kLevel, benchMark, QStringLiteral("bench mark"));
    const QString rl = schema::rlTable(road);
    const QString lb = schema::lbTable(road);
    Transaction tx(db);
    for (const QString& table : {rl, lb})
        if (!db.tableExists(table))
            throw Error(
                ErrorKind::TableMissing,
                QStringLiteral("The table %1 of road %2 does not exist").arg(table).arg(road));

    RlRowStore rlRows(db, road);
    const std::optional<std::int64_t> maxId = rlRows.maxId();
    std::int64_t nextId = maxId ? *maxId + 1 : 1;

    // The columns the reduction writes, in the order of the values below.
    QStringList columns = readingColumns();
    columns << QStringLiteral("C") << QStringLiteral("TopWidth") << QStringLiteral("BottomWidth");
    RowWriter updateRl = rlRows.columnWriter(columns);
    RowWriter insertRl = rlRows.rowInserter(columns + QStringList{"ID", "Chainage"});
    RowWriter updateLb = sheettable::updater(db, lb, {QStringLiteral("HI")});

    // Row by row as the book is read: the writes change no column the reading orders by, and
    // memory stays the same for a book of any length.
    RowReader book = sheettable::rows(db, statements::Sheet::LevelBook, road,
                                      QStringList{"ID", "Chainage"} + readingColumns() +
                                          QStringList{"C", "BS", "FS", "TopWidth", "BottomWidth"});
    // Working values in double: the height of instrument runs across the whole book, and
    // single precision would drift by millimetres over a long road's many change points.
    double hi = benchMark;
    double topWidth = 0;
    double bottomWidth = 0;
    while (book.next()) {
        const std::int64_t id = book.integer(BookId);
        if (book.isNull(BookChainage))
            throw Error(ErrorKind::NullValue,
                        QStringLiteral("The level book row with ID %1 has no chainage; give it "
                                       "one before reducing the level book")
                            .arg(id));
        const double chainage = book.number(BookChainage);
        if (!book.isNull(BookTopWidth))
            topWidth = book.number(BookTopWidth);
        if (!book.isNull(BookBottomWidth))
            bottomWidth = book.number(BookBottomWidth);
        const auto sight = [&](int column) {
            return book.optionalNumber(column).value_or(std::numeric_limits<double>::quiet_NaN());
        };
        const InstrumentStep step =
            instrumentStep(hi, sight(BookBS), sight(BookFS), sight(BookCentre));
        hi = step.hiAfter;
        // The sheets refuse such a level when it is typed or imported; a reduction that would
        // store one stops, and the transaction leaves both sheets as they were.
        const auto level = [&](double v) {
            if (!inRange(ranges::kLevel, v))
                throw Error(ErrorKind::Data,
                            QStringLiteral("The level book row with ID %1 reduces to a level of "
                                           "%2 from this bench mark: %3")
                                .arg(id)
                                .arg(plainDecimal(v), rangeRule(ranges::kLevel)));
            return d3(v);
        };

        // A chainage the RL sheet lacks gets a new row with the next free ID. The first RL row
        // of a chainage is the one written; rows appended by this reduction are found too.
        const std::optional<std::int64_t> found = rlRows.firstIdAt(chainage);
        const bool isNew = !found;
        const std::int64_t rlId = isNew ? nextId++ : *found;
        RowWriter& write = isNew ? insertRl : updateRl;
        int k = 0;
        for (int c = BookLeft; c < BookCentre; ++c) {
            const std::optional<double> reading = book.optionalNumber(c);
            write.bindNumber(k++, reading ? std::optional<double>(level(step.levelOf(*reading)))
                                          : std::nullopt);
        }
        write.bindNumber(k++, level(step.centre));
        write.bindNumber(k++, topWidth);
        write.bindNumber(k++, bottomWidth);
        write.bindInteger(k++, rlId);
        if (isNew)
            write.bindNumber(k, chainage);
        write.run();

        updateLb.bindNumber(0, d3(hi));
        updateLb.bindInteger(1, id);
        updateLb.run();
    }
    book.reset();
    tx.commit();
}

} // namespace tarmela
