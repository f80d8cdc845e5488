// roads, new-road, set-road, delete-road
#include "cli/Args.h"
#include "cli/Cli.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/Transaction.h"

#include <algorithm>

namespace tarmela::cli
{

namespace
{

RoadChanges roadOptions(Args& args)
{
    RoadChanges v;
    v.from = args.option(QStringLiteral("--from"));
    v.to = args.option(QStringLiteral("--to"));
    if (auto t = args.option(QStringLiteral("--length")))
        v.length = Args::wholeNumber(*t, QStringLiteral("--length"));
    if (auto t = args.option(QStringLiteral("--interval")))
        v.interval = int(std::clamp(Args::wholeNumber(*t, QStringLiteral("--interval")), -1LL,
                                    1LL << 20)); // out of range either way; refused later
    if (auto t = args.option(QStringLiteral("--formation-camber")))
        v.formationCamber = Args::number(*t, QStringLiteral("--formation-camber"));
    if (auto t = args.option(QStringLiteral("--carriage-camber")))
        v.carriageCamber = Args::number(*t, QStringLiteral("--carriage-camber"));
    if (auto t = args.option(QStringLiteral("--cut-factor")))
        v.cutFactor = Args::number(*t, QStringLiteral("--cut-factor"));
    for (int i = 0; i < 4; ++i)
        v.fields[i] = args.option(QStringLiteral("--field%1").arg(i + 1));
    return v;
}

} // namespace

std::int64_t roadArgument(Args& args)
{
    const QString text = args.positional(QStringLiteral("road ID"));
    const long long id = Args::wholeNumber(text, QStringLiteral("the road ID"));
    if (id < 1)
        throw Error(ErrorKind::Usage, QStringLiteral("the road ID must be 1 or more"));
    return id;
}

void requireRoad(Database& db, std::int64_t road)
{
    if (!roads::exists(db, road))
        throw Error(ErrorKind::Data, QStringLiteral("There is no road with ID %1").arg(road));
}

std::int64_t requireRoad(Database& db, Args& args)
{
    const std::int64_t id = roadArgument(args);
    requireRoad(db, id);
    return id;
}

std::vector<Command> roadCommands()
{
    return {
        {QStringLiteral("roads"), QStringLiteral("roads"),
         [](Context& ctx, Args& args) {
             args.finish();
             ctx.out << "ID\tFrom\tTo\tLength\tInterval\tFormation Camber\tCarriage Camber\n";
             for (const Road& r : roads::list(ctx.database()))
                 ctx.out << r.id << '\t' << oneLine(r.from) << '\t' << oneLine(r.to) << '\t'
                         << r.length << '\t' << r.interval << '\t'
                         << plainDecimal(r.formationCamber) << '\t'
                         << plainDecimal(r.carriageCamber) << '\n';
             return 0;
         }},
        {QStringLiteral("new-road"),
         QStringLiteral("new-road --from TEXT --to TEXT [--length M] [--interval M] "
                        "[--formation-camber PCT] [--carriage-camber PCT] [--cut-factor F] "
                        "[--field1 TEXT ... "
                        "--field4 TEXT]"),
         [](Context& ctx, Args& args) {
             const RoadChanges v = roadOptions(args);
             args.finish();
             if (!v.from || !v.to)
                 throw Error(ErrorKind::Usage, QStringLiteral("new-road needs --from and --to"));
             ctx.out << roads::create(ctx.database(), v) << '\n';
             return 0;
         }},
        {QStringLiteral("set-road"),
         QStringLiteral("set-road ID [--from TEXT] [--to TEXT] [--length M] [--interval M] "
                        "[--formation-camber PCT] [--carriage-camber PCT] [--cut-factor F] "
                        "[--field1..4 TEXT]"),
         [](Context& ctx, Args& args) {
             const RoadChanges v = roadOptions(args);
             const std::int64_t id = roadArgument(args);
             args.finish();
             roads::update(ctx.database(), id, v);
             return 0;
         }},
        {QStringLiteral("delete-road"), QStringLiteral("delete-road ID"),
         [](Context& ctx, Args& args) {
             const std::int64_t id = roadArgument(args);
             args.finish();
             Database& db = ctx.database();
             // The write lock before the road is looked for, as every change takes it.
             Transaction tx(db);
             requireRoad(db, id);
             roads::remove(db, id);
             tx.commit();
             return 0;
         }},
    };
}

} // namespace tarmela::cli
