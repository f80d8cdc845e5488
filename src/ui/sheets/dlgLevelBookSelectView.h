#pragma once

#include "ui/sheets/SelectViewDialog.h"

namespace tarmela
{

// "Select LB Options": the column groups of a level book sheet.
class dlgLevelBookSelectView : public SelectViewDialog
{
    Q_OBJECT
public:
    explicit dlgLevelBookSelectView(QWidget* parent = nullptr);

    QString statement() const override;

private:
    QCheckBox* chkExistingLevels;
    QCheckBox* chkBSFS;
    QCheckBox* chkExistingWidth;
    QCheckBox* chkRemarks;
};

} // namespace tarmela
