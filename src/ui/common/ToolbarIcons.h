#pragma once

#include <QIcon>
#include <QString>

namespace tarmela
{

// The main toolbar's pictures, drawn from the SVG files in icons/ (icons.qrc). key is the
// button's key ("Save", "ZoomIn", "Roads", ...); an unknown key gives an empty icon.
QIcon toolbarIcon(const QString& key);

// The program's own icon, which every window of the program shows.
QIcon applicationIcon();

} // namespace tarmela
