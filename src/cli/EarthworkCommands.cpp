// recompute, formation
#include "cli/Args.h"
#include "cli/Cli.h"
#include "compute/EarthworkQuantities.h"
#include "compute/ReportContent.h"
#include "formation/FormationDesign.h"
#include "settings/Earthwork.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/Transaction.h"

#include <QLocale>

namespace tarmela::cli
{

namespace
{

// Numbers in the JSON form: the shortest plain decimal that reads back as the same value.
QString jsonNumber(double v)
{
    return plainDecimal(v);
}

QString json(std::int64_t road, int method, const VolumeSummary& v)
{
    QString s =
        QStringLiteral("{\"road\": %1, \"method\": %2, \"kilometres\": [").arg(road).arg(method);
    for (std::size_t i = 0; i < v.kilometres.size(); ++i) {
        const KilometreVolumes& k = v.kilometres[i];
        if (i > 0)
            s += QStringLiteral(", ");
        s += QStringLiteral("{\"km\": %1, \"filling\": %2, \"cutting\": %3}")
                 .arg(k.number)
                 .arg(jsonNumber(k.filling), jsonNumber(k.cutting));
    }
    s += QStringLiteral("], \"all\": {\"filling\": %1, \"cutting\": %2, \"total\": %3}")
             .arg(jsonNumber(v.totalFill), jsonNumber(v.totalCut), jsonNumber(v.total()));
    s += QStringLiteral(", \"gaps\": [");
    for (std::size_t i = 0; i < v.gaps.size(); ++i)
        s += QStringLiteral("%1{\"from\": %2, \"to\": %3, \"counted\": %4}")
                 .arg(i > 0 ? QStringLiteral(", ") : QString(), jsonNumber(v.gaps[i].from),
                      jsonNumber(v.gaps[i].to), jsonNumber(kLongGapCounts));
    return s + QStringLiteral("]}");
}

void table(QTextStream& out, const VolumeSummary& v, const QLocale& locale)
{
    const auto n = [&](double x) { return locale.toString(x, 'f', 2); };
    out << "Km\tFilling\tCutting\tTotal\n";
    for (const KilometreVolumes& k : v.kilometres)
        out << k.number << '\t' << n(k.filling) << '\t' << n(k.cutting) << '\n';
    out << "ALL\t" << n(v.totalFill) << '\t' << n(v.totalCut) << '\t' << n(v.total()) << '\n';
    for (const LongGap& gap : v.gaps)
        out << gapLine(gap) << '\n';
}

} // namespace

EarthworkInputs earthworkInputs(Context& ctx, std::int64_t road)
{
    const Road r = roads::get(ctx.database(), road);
    return earthworkInputsFor(ctx.settings, road, r.formationCamber / 100, r.carriageCamber / 100);
}

int printEarthwork(Context& ctx, const EarthworkInputs& in, const EarthworkResult& result,
                   bool asJson)
{
    if (!result.error.isEmpty())
        throw Error(ErrorKind::Data, earthworkMessage(result).replace('\n', ' '));
    if (asJson) {
        ctx.out << json(in.road, in.method, result.volumes) << '\n';
        return 0;
    }
    const QLocale grouped = groupedLocale(QLocale());
    table(ctx.out, result.volumes, grouped);
    if (result.volumesDone) {
        const QuantityTexts texts = quantityTexts(result.volumes, grouped);
        ctx.out << oneLine(result.roadName) << '\n'
                << texts.filling << '\n'
                << texts.cutting << '\n'
                << texts.total << '\n'
                << "Volumes by " << volumeFormulaName(in.volumeFormula) << '\n';
    }
    return 0;
}

namespace
{

// formation ID --at C --fc V | formation ID --from C1 --to C2 --fc V
int formation(Context& ctx, Args& args)
{
    const bool asJson = args.flag(QStringLiteral("--json"));
    // Options first, so that their values are not taken for the road.
    const auto at = args.option(QStringLiteral("--at"));
    const auto from = args.option(QStringLiteral("--from"));
    const auto to = args.option(QStringLiteral("--to"));
    const auto fc = args.option(QStringLiteral("--fc"));
    const std::int64_t road = roadArgument(args);
    args.finish();
    if (!fc || (at && (from || to)) || (!at && !(from && to)))
        throw Error(
            ErrorKind::Usage,
            QStringLiteral("formation needs --fc V with either --at C or --from C1 --to C2"));
    const double level = Args::number(*fc, QStringLiteral("--fc"));
    Database& db = ctx.database();
    // The write lock before the road and its cambers are read: the levels written follow
    // from them.
    Transaction tx(db);
    requireRoad(db, road);
    const EarthworkInputs in = earthworkInputs(ctx, road);
    FormationDesign design(db);
    try {
        const EarthworkResult result =
            at ? design.setLevel(in, Args::number(*at, QStringLiteral("--at")), level)
               : design.setGrade(in, Args::number(*from, QStringLiteral("--from")),
                                 Args::number(*to, QStringLiteral("--to")), level);
        tx.commit();
        return printEarthwork(ctx, in, result, asJson);
    } catch (const Error& e) {
        // The tool's two-line messages on one line.
        throw Error(e.kind(), QString(e.message()).replace('\n', ' '));
    }
}

} // namespace

std::vector<Command> earthworkCommands()
{
    return {
        {QStringLiteral("recompute"), QStringLiteral("recompute ID [--json]"),
         [](Context& ctx, Args& args) {
             const bool asJson = args.flag(QStringLiteral("--json"));
             const std::int64_t road = roadArgument(args);
             args.finish();
             Database& db = ctx.database();
             // The write lock before the road's cambers are read: the areas follow from them.
             Transaction tx(db);
             requireRoad(db, road);
             const EarthworkInputs in = earthworkInputs(ctx, road);
             const EarthworkResult result = UpdateEarthworkQuantities(db, in);
             tx.commit();
             return printEarthwork(ctx, in, result, asJson);
         }},
        {QStringLiteral("formation"),
         QStringLiteral("formation ID (--at C | --from C1 --to C2) --fc V [--json]"), formation},
    };
}

} // namespace tarmela::cli
