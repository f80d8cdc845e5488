#pragma once

#include "ui/common/TitledDialog.h"

class QCheckBox;
class QPushButton;

namespace tarmela
{

// "Select Inputs": the column groups of a reduced-level sheet. OK leaves the sheet's statement
// in appState().ViewSQL; Cancel and the close picture leave "".
class dlgInputSelectView : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgInputSelectView(QWidget* parent = nullptr);

    QString statement() const; // the statement the ticked boxes give
    void accept() override;
    void reject() override;

private:
    QCheckBox* chkExistingLevels;
    QCheckBox* chkProposedLevels;
    QCheckBox* chkProposedWidth;
    QCheckBox* chkExistingWidth;
    QCheckBox* chkCrust;
    QCheckBox* chkSlope;
    QPushButton* OKButton;
    QPushButton* CancelButton;
};

} // namespace tarmela
