#include "settings/Earthwork.h"

#include "store/Numbers.h"

namespace tarmela
{

EarthworkInputs earthworkInputsFor(const Settings& settings, std::int64_t road,
                                   double formationCamber, double carriageCamber)
{
    EarthworkInputs in;
    in.road = road;
    in.method = settings.QuantityCalcMethod;
    in.viewSections = settings.ViewSections;
    in.volumeFormula = tarmela::VolumeFormula(settings.VolumeFormula);
    in.formationCamber = formationCamber;
    in.carriageCamber = carriageCamber;
    return in;
}

QuantityTexts quantityTexts(const VolumeSummary& volumes, const QLocale& locale)
{
    const QLocale grouped = groupedLocale(locale);
    const auto cum = [&](double v) { return grouped.toString(v, 'f', 2) + QStringLiteral(" Cum"); };
    const std::size_t gaps = volumes.gaps.size();
    return {QStringLiteral("Filling = ") + cum(volumes.totalFill),
            QStringLiteral("Cutting = ") + cum(volumes.totalCut),
            QStringLiteral("Total = ") + cum(volumes.total()),
            gaps == 0 ? QString()
                      : QStringLiteral("%1 %2 counted as %3 m")
                            .arg(gaps)
                            .arg(gaps == 1 ? QStringLiteral("gap") : QStringLiteral("gaps"))
                            .arg(kLongGapCounts)};
}

QString earthworkMessage(const EarthworkResult& result)
{
    if (result.errorCode == EarthworkErrorCode::None)
        return result.error;
    return result.error + QStringLiteral("\nError Code=") + QString::number(int(result.errorCode));
}

} // namespace tarmela
