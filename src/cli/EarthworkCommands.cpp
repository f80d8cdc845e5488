// recompute
#include "cli/Args.h"
#include "cli/Cli.h"
#include "compute/EarthworkQuantities.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"

#include <QLocale>

namespace tarmela::cli {

namespace {

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
    s += QStringLiteral("], \"all\": {\"filling\": %1, \"cutting\": %2, \"total\": %3}}")
             .arg(jsonNumber(v.totalFill), jsonNumber(v.totalCut), jsonNumber(v.total()));
    return s;
}

void table(QTextStream& out, const VolumeSummary& v, const QLocale& locale)
{
    const auto n = [&](double x) { return locale.toString(x, 'f', 2); };
    out << "Km\tFilling\tCutting\tTotal\n";
    for (const KilometreVolumes& k : v.kilometres)
        out << k.number << '\t' << n(k.filling) << '\t' << n(k.cutting) << '\n';
    out << "ALL\t" << n(v.totalFill) << '\t' << n(v.totalCut) << '\t' << n(v.total()) << '\n';
}

} // namespace

std::vector<Command> earthworkCommands()
{
    return {
        {QStringLiteral("recompute"), QStringLiteral("recompute ID [--json]"),
         [](Context& ctx, Args& args) {
             const bool asJson = args.flag(QStringLiteral("--json"));
             Database& db = ctx.database();
             const std::int64_t road = requireRoad(db, args);
             args.finish();
             const Road r = roads::get(db, road);
             EarthworkInputs in;
             in.road = road;
             in.method = ctx.settings.QuantityCalcMethod;
             in.viewSections = ctx.settings.ViewSections;
             in.formationCamber = r.formationCamber / 100;
             in.carriageCamber = r.carriageCamber / 100;
             in.locale = QLocale();
             const EarthworkResult result = UpdateEarthworkQuantities(db, in);
             if (!result.error.isEmpty())
                 throw Error(ErrorKind::Data, result.error);
             if (asJson) {
                 ctx.out << json(road, in.method, result.volumes) << '\n';
                 return 0;
             }
             QLocale grouped = in.locale;
             grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
             table(ctx.out, result.volumes, grouped);
             if (result.volumesDone)
                 ctx.out << result.roadName << '\n'
                         << result.filling << '\n'
                         << result.cutting << '\n'
                         << result.total << '\n';
             return 0;
         }},
    };
}

} // namespace tarmela::cli
