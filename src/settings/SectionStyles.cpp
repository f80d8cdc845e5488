#include "settings/SectionStyles.h"

#include "compute/QuantityMethods.h"
#include "compute/SectionAreas.h"

#include <QDir>

namespace tarmela
{

QColor settingColour(std::int32_t value)
{
    const auto v = std::uint32_t(value);
    return QColor(int(v & 0xff), int((v >> 8) & 0xff), int((v >> 16) & 0xff));
}

LongSectionOptions longSectionOptions(const Settings& s)
{
    LongSectionOptions o;
    o.viewSections = s.ViewSections;
    o.fixedDatum = s.FixedDatum;
    o.fixedDatumValue = s.FixedDatumValue;
    return o;
}

LongSectionStyle longSectionStyle(const Settings& s)
{
    LongSectionStyle style;
    style.formation = settingColour(s.ColorLFormation);
    style.centre = settingColour(s.ColorCentre);
    style.left = settingColour(s.ColorLeft);
    style.right = settingColour(s.ColorRight);
    style.grid = s.LSectionGrid;
    return style;
}

CrossSectionStyle crossSectionStyle(const Settings& s)
{
    CrossSectionStyle style;
    style.existing = settingColour(s.ColorExisting);
    style.formation = settingColour(s.ColorXFormation);
    style.viewSections = s.ViewSections;
    const QuantityMethod* method = findQuantityMethod(s.QuantityCalcMethod);
    style.method = method ? QString::fromUtf8(method->caption) : QString();
    return style;
}

Paper crossSectionPaper(const Settings& s)
{
    return s.PageSize == 1 ? Paper::A3 : Paper::A4;
}

PageMargins crossSectionMargins(const Settings& s)
{
    return {s.PageLeft, s.PageRight, s.PageTop, s.PageBottom};
}

} // namespace tarmela
