#include "compute/LevelBookReduction.h"

#include "compute/HeightOfInstrument.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/RlRowStore.h"
#include "store/Roads.h"
#include "store/Schema.h"
#include "store/SheetTable.h"
#include "store/Transaction.h"
#include "store/ValueRanges.h"

#include <cmath>
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

// Whether the row holds any sight or reading at all (a reading of 0 or below is still one:
// a staff held upside down under a soffit reads negative).
bool holdsAnything(const RowReader& row)
{
    for (int c = BookLeft; c <= BookFS; ++c)
        if (!row.isNull(c))
            return true;
    return false;
}

} // namespace

QString reductionSummary(const ReductionCounts& counts)
{
    QString text = counts.reduced == 1 ? QStringLiteral("1 row reduced")
                                       : QStringLiteral("%1 rows reduced").arg(counts.reduced);
    if (counts.leftAlone == 1)
        text += QStringLiteral(", 1 row without readings left as it was");
    else if (counts.leftAlone > 1)
        text +=
            QStringLiteral(", %1 rows without readings left as they were").arg(counts.leftAlone);
    return text;
}

ReductionCounts ConvertLevelBookToRL(Database& db, std::int64_t road, double benchMark,
                                     const ReductionOptions& options)
{
    requireInRange(ranges::kLevel, benchMark, QStringLiteral("bench mark"));
    if (options.closingBenchMark)
        requireInRange(ranges::kLevel, *options.closingBenchMark,
                       QStringLiteral("closing bench mark"));
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

    const QStringList bookColumns = QStringList{"ID", "Chainage"} + readingColumns() +
                                    QStringList{"C", "BS", "FS", "TopWidth", "BottomWidth"};
    const auto requireChainage = [](const RowReader& row) {
        if (row.isNull(BookChainage))
            throw Error(ErrorKind::NullValue,
                        QStringLiteral("The level book row with ID %1 has no chainage; give it "
                                       "one before reducing the level book")
                            .arg(row.integer(BookId)));
    };
    const auto sightIn = [](const RowReader& row, int column) {
        return row.optionalNumber(column).value_or(std::numeric_limits<double>::quiet_NaN());
    };
    // A closing error to distribute is known only at the book's end: a first reading works it.
    LevelBookChecker checker(benchMark);
    LevelBookCheck closing;
    if (options.closingBenchMark && options.distribute) {
        LevelBookChecker first(benchMark);
        RowReader pass = sheettable::rows(db, statements::Sheet::LevelBook, road, bookColumns);
        while (pass.next()) {
            requireChainage(pass);
            first.add(pass.number(BookChainage), sightIn(pass, BookBS), sightIn(pass, BookFS),
                      sightIn(pass, BookCentre));
        }
        pass.reset();
        first.close(*options.closingBenchMark, true);
        closing = first.check();
    }
    SetupCount setups;

    // Row by row as the book is read: the writes change no column the reading orders by, and
    // memory stays the same for a book of any length.
    RowReader book = sheettable::rows(db, statements::Sheet::LevelBook, road, bookColumns);
    // Working values in double: the height of instrument runs across the whole book, and
    // single precision would drift by millimetres over a long road's many change points.
    double hi = benchMark;
    double topWidth = 0;
    double bottomWidth = 0;
    ReductionCounts counts;
    while (book.next()) {
        const std::int64_t id = book.integer(BookId);
        requireChainage(book);
        const double chainage = book.number(BookChainage);
        if (!book.isNull(BookTopWidth))
            topWidth = book.number(BookTopWidth);
        if (!book.isNull(BookBottomWidth))
            bottomWidth = book.number(BookBottomWidth);
        const auto sight = [&](int column) { return sightIn(book, column); };
        const InstrumentStep step =
            instrumentStep(hi, sight(BookBS), sight(BookFS), sight(BookCentre));
        checker.add(chainage, sight(BookBS), sight(BookFS), sight(BookCentre));
        const SetupCount::Row setup = setups.next(sight(BookBS));
        // A change point's level is its fore sight's, read from the setup before the change.
        const bool changePoint = std::isnan(sight(BookCentre)) || sight(BookCentre) == 0;
        const double centreCorrection =
            closing.correction(changePoint ? setup.foreSight : setup.after);
        const double readingCorrection = closing.correction(setup.after);
        hi = step.hiAfter;
        updateLb.bindNumber(0, d3(hi));
        updateLb.bindInteger(1, id);
        updateLb.run();

        if (!holdsAnything(book)) {
            ++counts.leftAlone;
            continue;
        }
        ++counts.reduced;
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
            write.bindNumber(k++, reading ? std::optional<double>(
                                                level(step.levelOf(*reading) + readingCorrection))
                                          : std::nullopt);
        }
        write.bindNumber(k++, level(step.centre + centreCorrection));
        write.bindNumber(k++, topWidth);
        write.bindNumber(k++, bottomWidth);
        write.bindInteger(k++, rlId);
        if (isNew)
            write.bindNumber(k, chainage);
        write.run();
    }
    book.reset();
    if (options.closingBenchMark)
        checker.close(*options.closingBenchMark, options.distribute);
    counts.check = checker.check();
    roads::setBenchmark(db, road, benchMark, options.closingBenchMark, options.distribute);
    tx.commit();
    return counts;
}

} // namespace tarmela
