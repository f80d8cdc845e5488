#include "ui/sheets/dlgAddCulvertType.h"

#include "store/Error.h"
#include "ui/common/AppState.h"
#include "ui/sheets/dlgImageList.h"

#include "ui/common/Prompts.h"
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace tarmela
{

dlgAddCulvertType::dlgAddCulvertType(QWidget* parent)
    : TitledDialog(tr("Add New Type of CD Work"), parent)
{
    setObjectName(QStringLiteral("dlgAddCulvertType"));
    auto* grid = new QGridLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("txtCulvertName"));
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cmbCulvertType"));
    m_type->setEditable(true);
    m_type->setInsertPolicy(QComboBox::NoInsert);
    m_existing = new QLineEdit(this);
    m_existing->setObjectName(QStringLiteral("txtImgFileExisting"));
    m_proposed = new QLineEdit(this);
    m_proposed->setObjectName(QStringLiteral("txtImgFileProposed"));
    auto* pickExisting = new QToolButton(this);
    pickExisting->setObjectName(QStringLiteral("cmdExisting"));
    auto* pickProposed = new QToolButton(this);
    pickProposed->setObjectName(QStringLiteral("cmdProposed"));
    for (QToolButton* b : {pickExisting, pickProposed}) {
        b->setText(QStringLiteral("..."));
        b->setToolTip(tr("Select Image"));
    }
    grid->addWidget(new QLabel(tr("CD Name"), this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(new QLabel(tr("CD Type"), this), 1, 0);
    grid->addWidget(m_type, 1, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Image (Existing)"), this), 2, 0);
    grid->addWidget(m_existing, 2, 1);
    grid->addWidget(pickExisting, 2, 2);
    grid->addWidget(new QLabel(tr("Image (Proposed)"), this), 3, 0);
    grid->addWidget(m_proposed, 3, 1);
    grid->addWidget(pickProposed, 3, 2);
    grid->setColumnMinimumWidth(1, 220);
    contentLayout()->addLayout(grid);

    QPushButton* cancel = nullptr;
    addButtonPair(this, contentLayout(), m_add, tr("&Add"), QStringLiteral("cmdAdd"), cancel,
                  tr("&Cancel"), QStringLiteral("cmdCancel"));
    m_add->setEnabled(false);

    connect(m_name, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_add->setEnabled(!text.isEmpty()); });
    connect(pickExisting, &QToolButton::clicked, this, [this] { choosePicture(true); });
    connect(pickProposed, &QToolButton::clicked, this, [this] { choosePicture(false); });
    connect(m_add, &QPushButton::clicked, this, &dlgAddCulvertType::addType);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The type texts already in use, each once.
    if (RecordSet* types = appState().CulvertTypesRecordset.get(); types && types->isOpen()) {
        for (types->moveFirst(); !types->eof(); types->moveNext()) {
            const QVariant type = types->value(QStringLiteral("Type"));
            if (!type.isNull() && !type.toString().isEmpty() &&
                m_type->findText(type.toString(), Qt::MatchExactly) < 0)
                m_type->addItem(type.toString());
        }
    }
    m_type->setCurrentIndex(-1);
    m_type->setEditText(QString());
}

void dlgAddCulvertType::choosePicture(bool existing)
{
    dlgImageList list(defaultCulvertFolder(), this);
    if (list.exec() == QDialog::Accepted && !list.selectedFile().isEmpty())
        (existing ? m_existing : m_proposed)->setText(list.selectedFile());
}

bool dlgAddCulvertType::addType()
{
    if (m_name->text().isEmpty())
        return false;
    RecordSet* types = appState().CulvertTypesRecordset.get();
    try {
        if (!types)
            throw Error(ErrorKind::Database, tr("The project database is not open."));
        types->addNew();
        types->setValue(QStringLiteral("CulvertName"), m_name->text());
        types->setValue(QStringLiteral("Type"), m_type->currentText());
        types->setValue(QStringLiteral("ImageFileExisting"), m_existing->text());
        types->setValue(QStringLiteral("ImageFileProposed"), m_proposed->text());
        types->update();
    } catch (const Error& e) {
        if (types)
            types->cancelUpdate();
        prompts().tell(this, e.message(), QMessageBox::Warning);
        return false;
    }
    const QString type = m_type->currentText();
    if (!type.isEmpty() && m_type->findText(type, Qt::MatchExactly) < 0)
        m_type->addItem(type);
    m_name->clear();
    m_existing->clear();
    m_proposed->clear();
    m_name->setFocus();
    return true;
}

} // namespace tarmela
