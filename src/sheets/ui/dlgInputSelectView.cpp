#include "sheets/ui/dlgInputSelectView.h"

#include "sheets/ui/SelectViewSupport.h"
#include "ui/common/AppState.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmela
{

dlgInputSelectView::dlgInputSelectView(QWidget* parent)
    : TitledDialog(QStringLiteral("Select Inputs"), parent)
{
    setObjectName(QStringLiteral("dlgInputSelectView"));
    QVBoxLayout* l = contentLayout();
    chkExistingLevels =
        addViewCheckBox(this, l, "chkExistingLevels", QStringLiteral("Existing Levels"));
    chkProposedLevels =
        addViewCheckBox(this, l, "chkProposedLevels", QStringLiteral("Proposed Levels"));
    chkProposedWidth =
        addViewCheckBox(this, l, "chkProposedWidth", QStringLiteral("Proposed Width"));
    chkExistingWidth =
        addViewCheckBox(this, l, "chkExistingWidth", QStringLiteral("Existing Width"));
    chkCrust = addViewCheckBox(this, l, "chkCrust", QStringLiteral("Crust Thickness"));
    chkSlope = addViewCheckBox(this, l, "chkSlope", QStringLiteral("Slope"));
    addOkCancel(this, l, OKButton, CancelButton);
    connect(OKButton, &QPushButton::clicked, this, &dlgInputSelectView::accept);
    connect(CancelButton, &QPushButton::clicked, this, &dlgInputSelectView::reject);
}

QString dlgInputSelectView::statement() const
{
    sheets::ReducedLevelGroups g;
    g.existingLevels = chkExistingLevels->isChecked();
    g.proposedLevels = chkProposedLevels->isChecked();
    g.proposedWidth = chkProposedWidth->isChecked();
    g.existingWidth = chkExistingWidth->isChecked();
    g.crust = chkCrust->isChecked();
    g.slope = chkSlope->isChecked();
    return sheets::reducedLevelStatement(appState().CurrentRoadID, viewOrderFromSettings(), g);
}

void dlgInputSelectView::accept()
{
    appState().ViewSQL = statement();
    TitledDialog::accept();
}

void dlgInputSelectView::reject()
{
    appState().ViewSQL.clear();
    TitledDialog::reject();
}

} // namespace tarmela
