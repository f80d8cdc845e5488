#include "ui/sheets/dlgAddCulvert.h"

#include "store/Culverts.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/ValueRanges.h"
#include "ui/common/AppState.h"

#include "ui/common/Prompts.h"
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace tarmela
{

dlgAddCulvert::dlgAddCulvert(QWidget* parent) : TitledDialog(tr("Add CD Work to Road"), parent)
{
    setObjectName(QStringLiteral("dlgAddCulvert"));
    auto* form = new QFormLayout;
    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("cmbCulvertName"));
    m_name->setMinimumWidth(200);
    m_chainage = new QLineEdit(QStringLiteral("0"), this);
    m_chainage->setObjectName(QStringLiteral("txtChainage"));
    form->addRow(tr("CD Work"), m_name);
    form->addRow(tr("Chainage :"), m_chainage);
    contentLayout()->addLayout(form);

    auto* frame = new QGroupBox(tr("Culvert is"), this);
    auto* fl = new QHBoxLayout(frame);
    addRadioPair(frame, fl, m_existing, tr("Existing"), QStringLiteral("chkExisting"), m_proposed,
                 tr("Proposed"), QStringLiteral("chkProposed"));
    m_existing->setChecked(true);
    contentLayout()->addWidget(frame);

    QPushButton* cancel = nullptr;
    addButtonPair(this, contentLayout(), m_add, tr("&Add"), QStringLiteral("cmdAdd"), cancel,
                  tr("&Cancel"), QStringLiteral("cmdCancel"));
    m_add->setEnabled(false);

    if (RecordSet* types = appState().CulvertTypesRecordset.get(); types && types->isOpen()) {
        for (types->moveFirst(); !types->eof(); types->moveNext())
            m_name->addItem(types->value(QStringLiteral("CulvertName")).toString(),
                            types->value(QStringLiteral("ID")));
    }
    m_name->setCurrentIndex(-1);
    connect(m_name, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_add->setEnabled(index >= 0); });
    connect(m_add, &QPushButton::clicked, this, &dlgAddCulvert::addCulvert);
    connect(cancel, &QPushButton::clicked, this, &dlgAddCulvert::reject);
}

bool dlgAddCulvert::addCulvert()
{
    if (m_name->currentIndex() < 0)
        return false;
    // A chainage is a number; anything else is refused before the record set is touched.
    const QString chainage = m_chainage->text();
    double at = 0;
    QString why = isNumeric(chainage) ? QString() : tr("Chainage must be a number!");
    if (why.isEmpty())
        why = readValue(chainage, ranges::kChainage, tr("The chainage"), at);
    // A culvert beyond the road's sections would be drawn nowhere.
    if (why.isEmpty() && appState().ProjectConnection) {
        try {
            why = culverts::chainageRefusal(*appState().ProjectConnection, appState().CurrentRoadID,
                                            at);
        } catch (const Error& e) {
            why = e.message();
        }
    }
    if (!why.isEmpty()) {
        prompts().tell(this, why, QMessageBox::Warning);
        m_chainage->setFocus();
        m_chainage->selectAll();
        return false;
    }
    RecordSet* culverts = appState().CulvertsRecordset.get();
    try {
        if (!culverts)
            throw Error(ErrorKind::Database, tr("The project database is not open."));
        culverts->addNew();
        culverts->setValue(QStringLiteral("CTypeRef"), m_name->currentData());
        culverts->setValue(QStringLiteral("EPType"),
                           m_existing->isChecked() ? QStringLiteral("E") : QStringLiteral("P"));
        culverts->setValue(QStringLiteral("Chainage"), at);
        culverts->setValue(QStringLiteral("RoadRef"), qlonglong(appState().CurrentRoadID));
        culverts->update();
    } catch (const Error& e) {
        if (culverts)
            culverts->cancelUpdate();
        prompts().tell(this, e.message(), QMessageBox::Warning);
        return false;
    }
    m_chainage->setText(QStringLiteral("0"));
    m_name->setFocus();
    return true;
}

void dlgAddCulvert::reject()
{
    if (RecordSet* culverts = appState().CulvertsRecordset.get()) {
        try {
            culverts->requery();
        } catch (const Error& e) {
            prompts().tell(this, e.message(), QMessageBox::Warning);
        }
    }
    TitledDialog::reject();
}

} // namespace tarmela
