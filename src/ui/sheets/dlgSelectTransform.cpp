#include "ui/sheets/dlgSelectTransform.h"

#include "store/Numbers.h"
#include "ui/common/AppState.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmela
{

dlgSelectTransform::dlgSelectTransform(QWidget* parent)
    : TitledDialog(QStringLiteral("Transform Selection"), parent)
{
    setObjectName(QStringLiteral("dlgSelectTransform"));
    auto* form = new QFormLayout;
    cmbTransformation = new QComboBox(this);
    cmbTransformation->setObjectName(QStringLiteral("cmbTransformation"));
    cmbTransformation->addItems({"Set", "Add", "Subtract", "Multiply"});
    cmbTransformation->setCurrentIndex(-1);
    txtValue = new QLineEdit(this);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    form->addRow(QStringLiteral("Transformation : "), cmbTransformation);
    form->addRow(QStringLiteral("Value : "), txtValue);
    contentLayout()->addLayout(form);

    addOkCancel(this, contentLayout(), OKButton, CancelButton);
    OKButton->setEnabled(false);

    connect(cmbTransformation, &QComboBox::currentIndexChanged, this,
            [this](int i) { OKButton->setEnabled(i >= 0); });
    connect(OKButton, &QPushButton::clicked, this, &dlgSelectTransform::accept);
    connect(CancelButton, &QPushButton::clicked, this, &dlgSelectTransform::reject);
    appState().TransformType = -1;
}

void dlgSelectTransform::accept()
{
    if (cmbTransformation->currentIndex() < 0)
        return;
    appState().TransformType = cmbTransformation->currentIndex();
    appState().TransformValue = leadingNumber(txtValue->text());
    TitledDialog::accept();
}

void dlgSelectTransform::reject()
{
    appState().TransformType = -1;
    TitledDialog::reject();
}

} // namespace tarmela
