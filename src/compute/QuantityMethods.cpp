#include "compute/QuantityMethods.h"

#include <QStringList>

namespace tarmela
{

const std::vector<QuantityMethod>& quantityMethods()
{
    static const std::vector<QuantityMethod> methods{
        {int(AreaMethod::TrapezoidalShort), "Trapezoidal Method (Short)", false, false,
         [](const RlRow& s, const CrossDistances&, int viewSections, SectionCarry&) {
             return meanLevelArea(s, AreaMethod::TrapezoidalShort, viewSections);
         }},
        {int(AreaMethod::MeanLevel), "Mean Level Method", false, false,
         [](const RlRow& s, const CrossDistances&, int viewSections, SectionCarry&) {
             return meanLevelArea(s, AreaMethod::MeanLevel, viewSections);
         }},
        {int(AreaMethod::InterpolatedLong), "Interpolated Trapezoidal Method (Long)", true, true,
         longMethodArea},
    };
    return methods;
}

const QuantityMethod* findQuantityMethod(int id)
{
    for (const QuantityMethod& m : quantityMethods())
        if (m.id == id)
            return &m;
    return nullptr;
}

QString quantityMethodIds()
{
    QStringList ids;
    for (const QuantityMethod& m : quantityMethods())
        ids << QString::number(m.id);
    const QString last = ids.takeLast();
    return ids.isEmpty() ? last : ids.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

} // namespace tarmela
