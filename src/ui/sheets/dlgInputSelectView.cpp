#include "ui/sheets/dlgInputSelectView.h"

#include "ui/common/AppState.h"

#include <QCheckBox>

namespace tarmela
{

dlgInputSelectView::dlgInputSelectView(QWidget* parent)
    : SelectViewDialog(QStringLiteral("Select Inputs"), QStringLiteral("dlgInputSelectView"),
                       parent)
{
    chkExistingLevels = addGroupBox("chkExistingLevels", QStringLiteral("Existing Levels"));
    chkProposedLevels = addGroupBox("chkProposedLevels", QStringLiteral("Proposed Levels"));
    chkProposedWidth = addGroupBox("chkProposedWidth", QStringLiteral("Proposed Width"));
    chkExistingWidth = addGroupBox("chkExistingWidth", QStringLiteral("Existing Width"));
    chkCrust = addGroupBox("chkCrust", QStringLiteral("Crust Thickness"));
    chkSlope = addGroupBox("chkSlope", QStringLiteral("Slope"));
    addButtons();
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

} // namespace tarmela
