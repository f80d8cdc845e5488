#include "sheets/ui/dlgGenerateTable.h"

#include "sheets/SheetGenerator.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarmela {

dlgGenerateTable::dlgGenerateTable(QWidget* parent) : TitledDialog(tr("Generate"), parent)
{
    setObjectName(QStringLiteral("dlgGenerateTable"));
    AppState& s = appState();
    QString loadError;
    try {
        if (s.ProjectConnection) {
            const Road road = roads::get(*s.ProjectConnection, s.CurrentRoadID);
            m_length = road.length;
            m_interval = road.interval;
        }
    } catch (const Error& e) {
        loadError = e.message();
    }

    auto* grid = new QGridLayout;
    m_start = new QLineEdit(QStringLiteral("0"), this);
    m_start->setObjectName(QStringLiteral("txtStart"));
    m_end = new QLineEdit(QString::number(m_length), this);
    m_end->setObjectName(QStringLiteral("txtEnd"));
    grid->addWidget(new QLabel(tr("Start"), this), 0, 0);
    grid->addWidget(m_start, 0, 1);
    grid->addWidget(new QLabel(tr("End"), this), 1, 0);
    grid->addWidget(m_end, 1, 1);
    m_reducedLevel = new QCheckBox(tr("Reduced Levels"), this);
    m_reducedLevel->setObjectName(QStringLiteral("chkReducedLevel"));
    m_levelBook = new QCheckBox(tr("Level Book"), this);
    m_levelBook->setObjectName(QStringLiteral("chkLevelBook"));
    // Generation discards what a sheet holds, so no sheet is chosen until the user ticks it.
    grid->addWidget(m_reducedLevel, 0, 2);
    grid->addWidget(m_levelBook, 1, 2);
    grid->setColumnMinimumWidth(1, 120);
    grid->setColumnMinimumWidth(2, 140);
    contentLayout()->addLayout(grid);

    QPushButton* cancel = nullptr;
    addOkCancel(this, contentLayout(), m_ok, cancel);

    connect(m_reducedLevel, &QCheckBox::toggled, this, &dlgGenerateTable::updateOk);
    connect(m_levelBook, &QCheckBox::toggled, this, &dlgGenerateTable::updateOk);
    connect(m_ok, &QPushButton::clicked, this, &dlgGenerateTable::generate);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    updateOk();
    if (!loadError.isEmpty()) {
        m_ok->setEnabled(false);
        prompts().tell(parent, loadError, QMessageBox::Warning);
    }
}

void dlgGenerateTable::updateOk()
{
    m_ok->setEnabled(m_reducedLevel->isChecked() || m_levelBook->isChecked());
}

bool dlgGenerateTable::generate()
{
    if (!isNumeric(m_start->text()) || !isNumeric(m_end->text())) {
        prompts().tell(this, tr("Start chainage and end chainage values must be numeric!"),
                            QMessageBox::Warning);
        return false;
    }
    if (!m_reducedLevel->isChecked() && !m_levelBook->isChecked())
        return false;
    AppState& s = appState();
    QString error;
    try {
        BusyCursor busy;
        if (!s.ProjectConnection)
            throw Error(ErrorKind::Database, tr("The project database is not open."));
        generateSheets(*s.ProjectConnection, s.CurrentRoadID, leadingNumber(m_start->text()),
                       leadingNumber(m_end->text()), m_interval, m_reducedLevel->isChecked(),
                       m_levelBook->isChecked());
    } catch (const Error& e) {
        error = e.message();
    }
    accept();
    if (!error.isEmpty())
        prompts().tell(parentWidget(), error, QMessageBox::Warning);
    return true;
}

} // namespace tarmela
