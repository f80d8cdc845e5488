#pragma once

#include <QSizeF>

class QPainter;
class QPaintDevice;

namespace tarmela
{

// Pages are laid out in twips (1/1440 inch, 567 to the centimetre) with the page's top left as
// origin and y downwards; a page painted on screen shows 15 twips to a pixel at 100 %, as it
// would on a 96-pixels-per-inch screen. Layouts take the zoom into their twips, so a layout at
// 50 % is half as many twips across and the screen mapping stays the same.
constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerMm = kTwipsPerInch / 25.4;
constexpr double kTwipsPerScreenPixel = 15.0;
// One point of type in twips.
constexpr double kTwipsPerPoint = 20.0;

enum class Paper { A4, A3 };

// The sheet in millimetres, upright (width < height).
QSizeF paperMm(Paper paper);

// Maps a page laid out in twips onto a device at its own resolution, the page's top left at the
// device's top left: a printer page, a PDF page or an image at a chosen scale.
void mapTwipsToDevice(QPainter& painter, const QPaintDevice& device);
// Maps twips onto a screen picture at 15 twips to the pixel.
void mapTwipsToScreen(QPainter& painter);

} // namespace tarmela
