#pragma once

#include "ui/common/TitledDialog.h"

#include <QPointer>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarmela
{

class frmDataGrid;

// "Filter": builds a row filter for one data sheet clause by clause and applies it with the
// sheet's FilterData. Stays above the other windows; not modal. It belongs to the sheet it was
// opened on: it closes with it (and the main window closes it when another window becomes
// active), so that it never filters a window it was not built for.
class dlgSearchWindow : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgSearchWindow(frmDataGrid* sheet, QWidget* parent = nullptr);

    frmDataGrid* sheet() const { return m_sheet; }
    // Fills the field list from the sheet's shown columns.
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
    void clearCondition();
    QPointer<frmDataGrid> m_sheet;
};

} // namespace tarmela
