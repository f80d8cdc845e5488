#pragma once

#include "ui/common/TitledDialog.h"

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarmela
{

class frmDataGrid;

// "Filter": builds a row filter for the active data sheet clause by clause and applies it
// with the sheet's FilterData. Stays above the other windows; not modal.
class dlgSearchWindow : public TitledDialog
{
    Q_OBJECT
public:
    // activeSheet gives the sheet the filter is for (the main window's active data sheet).
    explicit dlgSearchWindow(std::function<frmDataGrid*()> activeSheet, QWidget* parent = nullptr);

    // Fills the field list from the active sheet's shown columns.
    void loadFields();

signals:
    void closed();

protected:
    void done(int result) override;

private:
    QComboBox* cmbField;
    QComboBox* cmbCondition;
    QLineEdit* txtValue;
    QLabel* lblSearchText;
    QPushButton* cmdAND;
    QPushButton* cmdOR;
    QPushButton* cmdExecute;
    QPushButton* cmdClear;

    void updateButtons();
    QString clause() const;
    void appendJoined(const QString& joiner);
    std::function<frmDataGrid*()> m_activeSheet;
};

} // namespace tarmela
