#pragma once

#include "drawing/ReportPage.h"

class QPainter;
class QPaintDevice;
class QTransform;

namespace tarmela
{

// The transform that takes page units (96 to the inch) to the device's pixels at a zoom
// factor (1 = the page's own size on that device).
QTransform pageToDevice(const QPaintDevice& device, double zoom = 1);

// Draws a report page: a white sheet, the rules in a thin solid line and the texts. The
// painter's transform must take page units to the device (pageToDevice, or a view's own).
// Draws what the page holds and nothing else: every device shows the same page.
void paintReportPage(QPainter& painter, const ReportPage& page);

} // namespace tarmela
