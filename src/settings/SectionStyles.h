#pragma once

// The section pages as the user's settings have them drawn: the section views and the exports
// take their options, colours and page setup from here, so that the screen, the printer and
// the exported files agree.
#include "drawing/CrossSectionLayout.h"
#include "drawing/CrossSectionPainter.h"
#include "drawing/LongSectionPainter.h"
#include "drawing/SectionSources.h"
#include "settings/Settings.h"

#include <QColor>
#include <cstdint>

namespace tarmela
{

// A colour as the settings keep it: RGB with red in the lowest byte.
QColor settingColour(std::int32_t value);

// The readings shown, the datum, and the culvert pictures in programFolder's Culverts/.
LongSectionOptions longSectionOptions(const Settings& s);
// The colours and the grid of the longitudinal pages.
LongSectionStyle longSectionStyle(const Settings& s);
// The colours of the cross-section pages.
CrossSectionStyle crossSectionStyle(const Settings& s);
// The page setup of the cross-section pages.
Paper crossSectionPaper(const Settings& s);
PageMargins crossSectionMargins(const Settings& s);

} // namespace tarmela
