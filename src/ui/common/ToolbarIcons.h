#pragma once

#include <QIcon>
#include <QString>

namespace tarmela {

// The main toolbar's pictures, drawn at run time so that no image files need to ship with
// the program. key is the button's key ("Save", "ZoomIn", "Roads", ...); an unknown key
// gives an empty icon.
QIcon toolbarIcon(const QString& key);

} // namespace tarmela
