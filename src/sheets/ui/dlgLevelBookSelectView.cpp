#include "sheets/ui/dlgLevelBookSelectView.h"

#include "sheets/ui/SelectViewSupport.h"
#include "ui/common/AppState.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmela
{

dlgLevelBookSelectView::dlgLevelBookSelectView(QWidget* parent)
    : TitledDialog(QStringLiteral("Select LB Options"), parent)
{
    setObjectName(QStringLiteral("dlgLevelBookSelectView"));
    QVBoxLayout* l = contentLayout();
    chkExistingLevels =
        addViewCheckBox(this, l, "chkExistingLevels", QStringLiteral("Existing Levels"));
    chkBSFS = addViewCheckBox(this, l, "chkBSFS", QStringLiteral("BS and FS"));
    chkExistingWidth =
        addViewCheckBox(this, l, "chkExistingWidth", QStringLiteral("Existing Width"));
    chkRemarks = addViewCheckBox(this, l, "chkRemarks", QStringLiteral("Remarks"));
    addOkCancel(this, l, OKButton, CancelButton);
    connect(OKButton, &QPushButton::clicked, this, &dlgLevelBookSelectView::accept);
    connect(CancelButton, &QPushButton::clicked, this, &dlgLevelBookSelectView::reject);
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

void dlgLevelBookSelectView::accept()
{
    appState().ViewSQL = statement();
    TitledDialog::accept();
}

void dlgLevelBookSelectView::reject()
{
    appState().ViewSQL.clear();
    TitledDialog::reject();
}

} // namespace tarmela
