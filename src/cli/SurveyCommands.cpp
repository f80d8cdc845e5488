// cross-distances, generate, import, export-csv, reduce, sample
#include "cli/Args.h"
#include "cli/Cli.h"
#include "compute/LevelBookReduction.h"
#include "sheets/SampleRoad.h"
#include "sheets/SheetCsv.h"
#include "sheets/SheetGenerator.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/SheetTable.h"
#include "store/Statements.h"
#include "store/Transaction.h"

#include <QRegularExpression>
#include <QSet>
#include <optional>

namespace tarmela::cli
{

using statements::Sheet;

namespace
{

// "1 row", "3 rows".
QString rowCount(qint64 n)
{
    return n == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(n);
}

QString distancesLine(const CrossDistances& d)
{
    QStringList parts;
    for (int i = 0; i < kReadingsPerSide; ++i)
        parts << QStringLiteral("L%1=%2").arg(i + 1).arg(plainDecimal(d.left[size_t(i)]));
    for (int i = 0; i < kReadingsPerSide; ++i)
        parts << QStringLiteral("R%1=%2").arg(i + 1).arg(plainDecimal(d.right[size_t(i)]));
    return parts.join(' ');
}

// Applies "L3=2.5"-style words to the distances; all are checked before any is used.
CrossDistances applyDistances(CrossDistances d, const QStringList& words)
{
    static const QRegularExpression re(QStringLiteral("^([LR])([1-8])=(.*)$"));
    QSet<QString> seen;
    for (const QString& w : words) {
        const auto m = re.match(w);
        if (!m.hasMatch())
            throw Error(ErrorKind::Usage,
                        QStringLiteral("\"%1\" is not a cross distance: write L1=D .. L8=D or "
                                       "R1=D .. R8=D")
                            .arg(excerpt(w)));
        const QString key = m.captured(1) + m.captured(2);
        if (seen.contains(key))
            throw Error(ErrorKind::Usage, QStringLiteral("%1 is given twice").arg(key));
        seen.insert(key);
        const double v = Args::number(m.captured(3), key);
        if (v < 0)
            throw Error(ErrorKind::Usage,
                        QStringLiteral("%1 must not be negative: cross distances are measured "
                                       "outwards from the previous reading")
                            .arg(key));
        auto& side = m.captured(1) == QLatin1String("L") ? d.left : d.right;
        side[size_t(m.captured(2).toInt() - 1)] = v;
    }
    return d;
}

Sheet sheetArgument(Args& args)
{
    const QString word = args.positional(QStringLiteral("sheet (rl or lb)"));
    if (word == QLatin1String("rl"))
        return Sheet::ReducedLevel;
    if (word == QLatin1String("lb"))
        return Sheet::LevelBook;
    throw Error(ErrorKind::Usage,
                QStringLiteral("the sheet must be rl or lb, not \"%1\"").arg(excerpt(word)));
}

// The arguments of the CSV commands: ID rl|lb FILE.csv, and nothing more.
struct CsvArguments {
    std::int64_t road = 0;
    Sheet sheet = Sheet::ReducedLevel;
    QString file;
};

// The road is not looked for here: a command that writes looks for it under the write lock.
CsvArguments csvArguments(Args& args)
{
    CsvArguments a;
    a.road = roadArgument(args);
    a.sheet = sheetArgument(args);
    a.file = args.positional(QStringLiteral("CSV file"));
    args.finish();
    return a;
}

double requiredNumber(Args& args, const QString& option)
{
    const auto text = args.option(option);
    if (!text)
        throw Error(ErrorKind::Usage, QStringLiteral("%1 is required").arg(option));
    return Args::number(*text, option);
}

} // namespace

std::vector<Command> surveyCommands()
{
    return {
        {QStringLiteral("cross-distances"),
         QStringLiteral("cross-distances ID [L1=D ... L8=D R1=D ... R8=D]"),
         [](Context& ctx, Args& args) {
             const std::int64_t road = roadArgument(args);
             const QStringList words = args.rest();
             args.finish();
             Database& db = ctx.database();
             // Distances changed from those read: the write lock before the first read, so
             // that a road deleted meanwhile gets no row of distances.
             std::optional<Transaction> tx;
             if (!words.isEmpty())
                 tx.emplace(db);
             requireRoad(db, road);
             CrossDistances d = roads::crossDistances(db, road);
             if (!words.isEmpty()) {
                 d = applyDistances(d, words);
                 roads::setCrossDistances(db, road, d);
                 tx->commit();
             }
             ctx.out << distancesLine(d) << '\n';
             return 0;
         }},
        {QStringLiteral("generate"),
         QStringLiteral("generate ID --start C --end C [--rl] [--lb] [--force]"),
         [](Context& ctx, Args& args) {
             const double start = requiredNumber(args, QStringLiteral("--start"));
             const double end = requiredNumber(args, QStringLiteral("--end"));
             const bool rl = args.flag(QStringLiteral("--rl"));
             const bool lb = args.flag(QStringLiteral("--lb"));
             const bool force = args.flag(QStringLiteral("--force"));
             const std::int64_t road = roadArgument(args);
             args.finish();
             if (!rl && !lb)
                 throw Error(ErrorKind::Usage, QStringLiteral("generate needs --rl, --lb or both"));
             Database& db = ctx.database();
             // The rows counted are the rows replaced: nobody writes in between.
             Transaction tx(db);
             requireRoad(db, road);
             // Generating replaces a sheet's rows, typed levels and all: only when asked to.
             for (Sheet s : {Sheet::ReducedLevel, Sheet::LevelBook}) {
                 const QString table = statements::sheetTable(s, road);
                 if (force || !(s == Sheet::ReducedLevel ? rl : lb) || !db.tableExists(table))
                     continue;
                 const qlonglong held = sheettable::rowCount(db, table);
                 if (held > 0)
                     throw Error(ErrorKind::Usage,
                                 QStringLiteral("%1 holds %2, which generate replaces: add "
                                                "--force to replace them")
                                     .arg(table, rowCount(held)));
             }
             const int interval = roads::get(db, road).interval;
             const std::int64_t rows = generateSheets(db, road, start, end, interval, rl, lb);
             tx.commit();
             for (Sheet s : {Sheet::ReducedLevel, Sheet::LevelBook})
                 if (s == Sheet::ReducedLevel ? rl : lb)
                     ctx.out << statements::sheetTable(s, road) << ": " << rowCount(rows) << "\n";
             return 0;
         }},
        {QStringLiteral("import"), QStringLiteral("import ID rl|lb FILE.csv"),
         [](Context& ctx, Args& args) {
             const CsvArguments a = csvArguments(args);
             Database& db = ctx.database();
             Transaction tx(db);
             requireRoad(db, a.road);
             const CsvImportResult r = importSheetCsv(db, a.road, a.sheet, a.file);
             tx.commit();
             ctx.out << statements::sheetTable(a.sheet, a.road) << ": " << rowCount(r.updated)
                     << " updated, " << rowCount(r.added) << " added\n";
             return 0;
         }},
        {QStringLiteral("export-csv"), QStringLiteral("export-csv ID rl|lb FILE.csv"),
         [](Context& ctx, Args& args) {
             const CsvArguments a = csvArguments(args);
             Database& db = ctx.database();
             requireRoad(db, a.road);
             const std::int64_t rows = exportSheetCsv(db, a.road, a.sheet, a.file);
             ctx.out << statements::sheetTable(a.sheet, a.road) << ": " << rowCount(rows)
                     << " written to " << oneLine(a.file) << '\n';
             return 0;
         }},
        {QStringLiteral("reduce"),
         QStringLiteral("reduce ID --benchmark LEVEL [--closing-benchmark LEVEL [--distribute]]"),
         [](Context& ctx, Args& args) {
             const double benchMark = requiredNumber(args, QStringLiteral("--benchmark"));
             ReductionOptions options;
             if (const auto closing = args.option(QStringLiteral("--closing-benchmark")))
                 options.closingBenchMark =
                     Args::number(*closing, QStringLiteral("--closing-benchmark"));
             options.distribute = args.flag(QStringLiteral("--distribute"));
             const std::int64_t road = roadArgument(args);
             args.finish();
             if (options.distribute && !options.closingBenchMark)
                 throw Error(ErrorKind::Usage,
                             QStringLiteral("--distribute needs --closing-benchmark LEVEL"));
             Database& db = ctx.database();
             // The write lock before the road is looked for, as every change takes it.
             Transaction tx(db);
             requireRoad(db, road);
             const ReductionCounts counts = ConvertLevelBookToRL(db, road, benchMark, options);
             tx.commit();
             const QString rl = statements::sheetTable(Sheet::ReducedLevel, road);
             ctx.out << rl << ": levels reduced from the level book, bench mark "
                     << d3Text(benchMark) << '\n'
                     << rl << ": " << reductionSummary(counts) << '\n';
             if (options.closingBenchMark)
                 ctx.out << rl << ": " << closingErrorLine(counts.check) << '\n'
                         << rl << ": " << correctionLine(counts.check) << '\n';
             return 0;
         }},
        {QStringLiteral("sample"), QStringLiteral("sample [--sections N]"),
         [](Context& ctx, Args& args) {
             SampleRoadOptions o;
             if (const auto n = args.option(QStringLiteral("--sections"))) {
                 o.sections = Args::wholeNumber(*n, QStringLiteral("--sections"));
                 if (o.sections < 2)
                     throw Error(ErrorKind::Usage, QStringLiteral("--sections must be 2 or more"));
             }
             args.finish();
             ctx.out << createSampleRoad(ctx.database(), o) << '\n';
             return 0;
         }},
    };
}

} // namespace tarmela::cli
