#pragma once

#include "sheets/SheetStatements.h"

#include <QString>

class QBoxLayout;
class QCheckBox;
class QPushButton;
class QWidget;

namespace tarmela
{

// Pieces shared by the two view-selection dialogs.
sheets::ViewOrder viewOrderFromSettings();
QCheckBox* addViewCheckBox(QWidget* parent, QBoxLayout* layout, const char* name,
                           const QString& caption);
// OK and Cancel in a row at the bottom of the layout.

} // namespace tarmela
