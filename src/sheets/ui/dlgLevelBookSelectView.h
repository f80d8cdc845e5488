#pragma once

#include "ui/common/TitledDialog.h"

class QCheckBox;
class QPushButton;

namespace tarmela
{

// "Select LB Options": the column groups of a level book sheet. OK leaves the statement in
// appState().ViewSQL; Cancel and the close picture leave "".
class dlgLevelBookSelectView : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgLevelBookSelectView(QWidget* parent = nullptr);

    QString statement() const;
    void accept() override;
    void reject() override;

private:
    QCheckBox* chkExistingLevels;
    QCheckBox* chkBSFS;
    QCheckBox* chkExistingWidth;
    QCheckBox* chkRemarks;
    QPushButton* OKButton;
    QPushButton* CancelButton;
};

} // namespace tarmela
