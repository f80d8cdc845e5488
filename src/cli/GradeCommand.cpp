// grade: a road's vertical alignment, replaced, shown or removed.
#include "cli/Args.h"
#include "cli/Cli.h"
#include "formation/FormationDesign.h"
#include "formation/VerticalAlignment.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Transaction.h"

#include <cmath>

namespace tarmela::cli
{

namespace
{

// "CH:LEVEL[:LENGTH]"
Pvi parsePvi(const QString& text)
{
    const QStringList parts = text.split(':');
    if (parts.size() < 2 || parts.size() > 3)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("--pvi needs CH:LEVEL[:LENGTH], not \"%1\"").arg(excerpt(text)));
    const QString what = QStringLiteral("--pvi");
    return {Args::number(parts[0], what), Args::number(parts[1], what),
            parts.size() == 3 ? Args::number(parts[2], what) : 0};
}

// A grade or K as printed: to 6 decimals, in the shortest form.
QString rounded(double v)
{
    return plainDecimal(std::round(v * 1e6) / 1e6);
}

QString jsonOf(const std::optional<double>& v, double scale = 1)
{
    return v ? rounded(*v * scale) : QStringLiteral("null");
}

QString pviJson(const std::vector<Pvi>& pvis)
{
    const std::vector<formation::PviReadout> r = formation::alignmentReadouts(pvis);
    QStringList items;
    for (std::size_t i = 0; i < pvis.size(); ++i)
        items << QStringLiteral("{\"chainage\": %1, \"level\": %2, \"length\": %3, "
                                "\"grade_in\": %4, \"grade_out\": %5, \"k\": %6, \"bvc\": %7, "
                                "\"evc\": %8}")
                     .arg(plainDecimal(pvis[i].chainage), plainDecimal(pvis[i].level),
                          plainDecimal(pvis[i].length), jsonOf(r[i].gradeIn, 100),
                          jsonOf(r[i].gradeOut, 100), jsonOf(r[i].k), rounded(r[i].bvc),
                          rounded(r[i].evc));
    return QStringLiteral("\"pvis\": [") + items.join(QStringLiteral(", ")) + ']';
}

void pviTable(QTextStream& out, const std::vector<Pvi>& pvis)
{
    const std::vector<formation::PviReadout> r = formation::alignmentReadouts(pvis);
    const auto n = [](double v, int decimals) { return QString::number(v, 'f', decimals); };
    const auto grade = [&](const std::optional<double>& g) {
        return g ? n(*g * 100, 3) : QStringLiteral("-");
    };
    out << "Chainage\tLevel\tLength\tGrade in %\tGrade out %\tA %\tK\tBVC\tEVC\tHigh/low point\n";
    for (std::size_t i = 0; i < pvis.size(); ++i) {
        const formation::PviReadout& p = r[i];
        const bool curve = pvis[i].length > 0;
        out << plainDecimal(pvis[i].chainage) << '\t' << n(pvis[i].level, 3) << '\t'
            << plainDecimal(pvis[i].length) << '\t' << grade(p.gradeIn) << '\t' << grade(p.gradeOut)
            << '\t' << (p.a ? n(*p.a * 100, 3) : QStringLiteral("-")) << '\t'
            << (p.k ? n(*p.k, 2) : QStringLiteral("-")) << '\t'
            << (curve ? plainDecimal(p.bvc) + ' ' + n(p.bvcLevel, 3) : QStringLiteral("-")) << '\t'
            << (curve ? plainDecimal(p.evc) + ' ' + n(p.evcLevel, 3) : QStringLiteral("-")) << '\t'
            << (p.turningChainage
                    ? QStringLiteral("%1 %2 %3")
                          .arg(p.crest ? QStringLiteral("high") : QStringLiteral("low"),
                               n(*p.turningChainage, 2), n(*p.turningLevel, 3))
                    : QStringLiteral("-"))
            << '\n';
    }
}

// grade ID [--pvi CH:LEVEL[:LENGTH] ...] [--clear] [--json]
int grade(Context& ctx, Args& args)
{
    const bool asJson = args.flag(QStringLiteral("--json"));
    const bool clear = args.flag(QStringLiteral("--clear"));
    const QStringList given = args.options(QStringLiteral("--pvi"));
    const std::int64_t road = roadArgument(args);
    args.finish();
    if (clear && !given.isEmpty())
        throw Error(ErrorKind::Usage, QStringLiteral("grade takes either --pvi or --clear"));
    Database& db = ctx.database();
    // The write lock before the road and its cambers are read: the levels written follow
    // from them, and a road deleted meanwhile must not get an alignment.
    Transaction tx(db);
    requireRoad(db, road);
    FormationDesign design(db);
    if (clear) {
        design.clearAlignment(road);
        tx.commit();
        return 0;
    }
    if (given.isEmpty()) {
        const std::vector<Pvi> pvis = design.alignment(road);
        if (asJson)
            ctx.out << QStringLiteral("{\"road\": %1, ").arg(road) << pviJson(pvis) << "}\n";
        else if (pvis.empty())
            ctx.out << "The road has no vertical alignment\n";
        else
            pviTable(ctx.out, pvis);
        return 0;
    }
    std::vector<Pvi> pvis;
    for (const QString& text : given)
        pvis.push_back(parsePvi(text));
    const EarthworkInputs in = earthworkInputs(ctx, road);
    const EarthworkResult result = design.applyAlignment(in, pvis);
    tx.commit();
    if (asJson) {
        // The recomputation's object with the PVIs added.
        QString text;
        QTextStream s(&text);
        Context inner{s, ctx.settings, ctx.database, ctx.programFolder, ctx.err};
        printEarthwork(inner, in, result, true);
        s.flush();
        text = text.trimmed();
        text.chop(1);
        ctx.out << text << ", " << pviJson(pvis) << "}\n";
        return 0;
    }
    pviTable(ctx.out, pvis);
    return printEarthwork(ctx, in, result, false);
}

} // namespace

std::vector<Command> gradeCommands()
{
    return {{QStringLiteral("grade"),
             QStringLiteral("grade ID [--pvi CH:LEVEL[:LENGTH] ...] [--clear] [--json]"), grade}};
}

} // namespace tarmela::cli
