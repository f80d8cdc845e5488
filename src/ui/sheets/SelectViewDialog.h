#pragma once

#include "store/SheetQueries.h"
#include "ui/common/TitledDialog.h"

#include <QString>

class QCheckBox;
class QPushButton;

namespace tarmela
{

// What the two view-selection dialogs share: a column of boxes, one per column group of the
// sheet and all ticked at first, over OK and Cancel. OK leaves statement() in
// appState().ViewSQL; Cancel and the close picture leave "".
class SelectViewDialog : public TitledDialog
{
    Q_OBJECT
public:
    virtual QString statement() const = 0; // the statement the ticked boxes give
    void accept() override;
    void reject() override;

protected:
    SelectViewDialog(const QString& caption, const QString& objectName, QWidget* parent);
    // One box, ticked, below the ones before it.
    QCheckBox* addGroupBox(const char* name, const QString& caption);
    // OK and Cancel, after the last box.
    void addButtons();

private:
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

// The sheets' column order and readings shown, as the settings have them.
sheets::ViewOrder viewOrderFromSettings();

} // namespace tarmela
