#include "ui/sheets/SelectViewDialog.h"

#include "ui/common/AppState.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmela
{

SelectViewDialog::SelectViewDialog(const QString& caption, const QString& objectName,
                                   QWidget* parent)
    : TitledDialog(caption, parent)
{
    setObjectName(objectName);
}

QCheckBox* SelectViewDialog::addGroupBox(const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(true);
    contentLayout()->addWidget(box);
    return box;
}

void SelectViewDialog::addButtons()
{
    addOkCancel(this, contentLayout(), OKButton, CancelButton);
    connect(OKButton, &QPushButton::clicked, this, &SelectViewDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &SelectViewDialog::reject);
}

void SelectViewDialog::accept()
{
    appState().ViewSQL = statement();
    TitledDialog::accept();
}

void SelectViewDialog::reject()
{
    appState().ViewSQL.clear();
    TitledDialog::reject();
}

sheets::ViewOrder viewOrderFromSettings()
{
    const Settings& s = appState().settings;
    return {s.ViewSections, s.LeftOrder, s.RightOrder, s.LeftReverse, s.RightReverse};
}

} // namespace tarmela
