#include "drawing/PageUnits.h"

#include <QPaintDevice>
#include <QPainter>

namespace tarmela
{

QSizeF paperMm(Paper paper)
{
    return paper == Paper::A3 ? QSizeF(297, 420) : QSizeF(210, 297);
}

void mapTwipsToDevice(QPainter& painter, const QPaintDevice& device)
{
    painter.resetTransform();
    painter.scale(device.logicalDpiX() / kTwipsPerInch, device.logicalDpiY() / kTwipsPerInch);
}

void mapTwipsToScreen(QPainter& painter)
{
    painter.resetTransform();
    painter.scale(1.0 / kTwipsPerScreenPixel, 1.0 / kTwipsPerScreenPixel);
}

} // namespace tarmela
