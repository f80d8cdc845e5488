// masshaul
#include "cli/Args.h"
#include "cli/Cli.h"
#include "compute/MassHaul.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/OutputFile.h"
#include "store/Roads.h"
#include "store/Transaction.h"

#include <QLocale>

namespace tarmela::cli
{

namespace
{

QString json(std::int64_t road, const MassHaul& m)
{
    QString s = QStringLiteral("{\"road\": %1, \"cut_factor\": %2, \"stretches\": [")
                    .arg(road)
                    .arg(plainDecimal(m.cutFactor));
    for (std::size_t i = 0; i < m.stretches.size(); ++i) {
        const MassHaulStretch& h = m.stretches[i];
        s += QStringLiteral("%1{\"from\": %2, \"to\": %3, \"volume\": %4, \"haul\": %5, "
                            "\"average_distance\": %6}")
                 .arg(i ? QStringLiteral(", ") : QString(), plainDecimal(h.from),
                      plainDecimal(h.to), plainDecimal(h.volume), plainDecimal(h.haul),
                      plainDecimal(h.averageDistance()));
    }
    s += QStringLiteral("], \"balance_points\": [");
    for (std::size_t i = 0; i < m.balancePoints.size(); ++i)
        s += (i ? QStringLiteral(", ") : QString()) + plainDecimal(m.balancePoints[i]);
    return s + QStringLiteral("], \"end_ordinate\": %1}").arg(plainDecimal(m.endOrdinate));
}

void table(QTextStream& out, const MassHaul& m, const QLocale& locale)
{
    const auto n = [&](double x) { return locale.toString(x, 'f', 2); };
    out << "From\tTo\tVolume moved (m3)\tHaul (m3 m)\tAverage distance (m)\n";
    for (const MassHaulStretch& h : m.stretches)
        out << n(h.from) << '\t' << n(h.to) << '\t' << n(h.volume) << '\t' << n(h.haul) << '\t'
            << n(h.averageDistance()) << '\n';
    if (m.endOrdinate > 0)
        out << "Surplus to waste: " << n(m.endOrdinate) << " m3\n";
    else if (m.endOrdinate < 0)
        out << "Deficit to borrow: " << n(-m.endOrdinate) << " m3\n";
    else
        out << "Balanced: no surplus or deficit\n";
    out << "Cut factor " << n(m.cutFactor) << "; segment volumes by average end areas\n";
}

QByteArray csvRow(const MassHaulSection& s)
{
    const auto f = [](double v, int decimals) { return QByteArray::number(v, 'f', decimals); };
    return plainDecimal(s.chainage).toLatin1() + ',' + f(s.fillArea, 3) + ',' + f(s.cutArea, 3) +
           ',' + f(s.segmentFill, 2) + ',' + f(s.segmentCut, 2) + ',' + f(s.cumulativeFill, 2) +
           ',' + f(s.cumulativeCut, 2) + ',' + f(s.ordinate, 2) + '\n';
}

int masshaul(Context& ctx, Args& args)
{
    const bool asJson = args.flag(QStringLiteral("--json"));
    const auto csv = args.option(QStringLiteral("--csv"));
    const std::int64_t road = roadArgument(args);
    args.finish();
    if (csv && csv->trimmed().isEmpty())
        throw Error(ErrorKind::Usage, QStringLiteral("--csv needs a file name"));
    Database& db = ctx.database();
    // The cut factor and every section from one state of the road.
    const ReadTransaction snapshot(db);
    requireRoad(db, road);
    const double factor = roads::get(db, road).cutFactor;
    MassHaul m;
    if (csv) {
        OutputFile file(*csv);
        file.put(QLatin1String("Chainage,Fill Area,Cut Area,Segment Fill,Segment Cut,"
                               "Cumulative Fill,Cumulative Cut,Mass Ordinate\n"));
        m = massHaulOf(db, road, factor, [&](const MassHaulSection& s) { file.put(csvRow(s)); });
        file.commit();
    } else {
        m = massHaulOf(db, road, factor);
    }
    if (asJson)
        ctx.out << json(road, m) << '\n';
    else
        table(ctx.out, m, groupedLocale(QLocale()));
    return 0;
}

} // namespace

std::vector<Command> massHaulCommands()
{
    return {{QStringLiteral("masshaul"), QStringLiteral("masshaul ID [--json] [--csv FILE]"),
             masshaul}};
}

} // namespace tarmela::cli
