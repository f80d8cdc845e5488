#include "ui/sheets/dlgLevelBookSelectView.h"

#include "ui/common/AppState.h"

#include <QCheckBox>

namespace tarmela
{

dlgLevelBookSelectView::dlgLevelBookSelectView(QWidget* parent)
    : SelectViewDialog(QStringLiteral("Select LB Options"),
                       QStringLiteral("dlgLevelBookSelectView"), parent)
{
    chkExistingLevels = addGroupBox("chkExistingLevels", QStringLiteral("Existing Levels"));
    chkBSFS = addGroupBox("chkBSFS", QStringLiteral("BS and FS"));
    chkExistingWidth = addGroupBox("chkExistingWidth", QStringLiteral("Existing Width"));
    chkRemarks = addGroupBox("chkRemarks", QStringLiteral("Remarks"));
    addButtons();
}

QString dlgLevelBookSelectView::statement() const
{
    sheets::LevelBookGroups g;
    g.existingLevels = chkExistingLevels->isChecked();
    g.bsfs = chkBSFS->isChecked();
    g.existingWidth = chkExistingWidth->isChecked();
    g.remarks = chkRemarks->isChecked();
    return sheets::levelBookStatement(appState().CurrentRoadID, viewOrderFromSettings(), g);
}

} // namespace tarmela
