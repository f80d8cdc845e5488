#pragma once

#include "ui/sheets/SelectViewDialog.h"

namespace tarmela
{

// "Select Inputs": the column groups of a reduced-level sheet.
class dlgInputSelectView : public SelectViewDialog
{
    Q_OBJECT
public:
    explicit dlgInputSelectView(QWidget* parent = nullptr);

    QString statement() const override;

private:
    QCheckBox* chkExistingLevels;
    QCheckBox* chkProposedLevels;
    QCheckBox* chkProposedWidth;
    QCheckBox* chkExistingWidth;
    QCheckBox* chkCrust;
    QCheckBox* chkSlope;
};

} // namespace tarmela
