#include "ui/sheets/dlgGenerateTable.h"

#include "sheets/SheetGenerator.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/SheetTable.h"
#include "store/Statements.h"
#include "store/ValueRanges.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarmela
{

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

namespace
{

// The rows a road's sheet holds now (0 when its table is missing).
std::int64_t rowsHeld(Database& db, statements::Sheet sheet, std::int64_t road)
{
    const QString table = statements::sheetTable(sheet, road);
    if (!db.tableExists(table))
        return 0;
    return sheettable::rowCount(db, table);
}

QString rowsText(std::int64_t n)
{
    return n == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(n);
}

} // namespace

bool dlgGenerateTable::generate()
{
    if (!isNumeric(m_start->text()) || !isNumeric(m_end->text())) {
        prompts().tell(this, tr("Start chainage and end chainage values must be numeric!"),
                       QMessageBox::Warning);
        return false;
    }
    double start = 0, end = 0;
    QString why = readValue(m_start->text(), ranges::kChainage, tr("The start chainage"), start);
    if (why.isEmpty())
        why = readValue(m_end->text(), ranges::kChainage, tr("The end chainage"), end);
    if (why.isEmpty() && m_interval < 1)
        why = tr("The road's interval is %1 m: it must be at least 1 m to generate sheets. "
                 "Set the interval in the road details.")
                  .arg(m_interval);
    if (!why.isEmpty()) {
        prompts().tell(this, why, QMessageBox::Warning);
        return false;
    }
    const bool rl = m_reducedLevel->isChecked(), lb = m_levelBook->isChecked();
    if (!rl && !lb)
        return false;
    AppState& s = appState();
    QString error;
    std::int64_t written = 0;
    try {
        if (!s.ProjectConnection)
            throw Error(ErrorKind::Database, tr("The project database is not open."));
        Database& db = *s.ProjectConnection;
        // Generation empties the sheets: say what would go before it goes.
        QStringList held;
        if (rl)
            if (const std::int64_t n =
                    rowsHeld(db, statements::Sheet::ReducedLevel, s.CurrentRoadID))
                held << tr("the RL sheet of this road holds %1").arg(rowsText(n));
        if (lb)
            if (const std::int64_t n = rowsHeld(db, statements::Sheet::LevelBook, s.CurrentRoadID))
                held << tr("the LB sheet of this road holds %1").arg(rowsText(n));
        if (!held.isEmpty()) {
            QString question = held.join(tr(" and ")) +
                               tr(". Replace them with empty rows from %1 to %2?")
                                   .arg(m_start->text().trimmed(), m_end->text().trimmed());
            question[0] = question[0].toUpper();
            if (prompts().ask(this, tr("Generate"), question, QMessageBox::Yes | QMessageBox::No) !=
                QMessageBox::Yes)
                return false;
        }
        BusyCursor busy;
        written = generateSheets(db, s.CurrentRoadID, start, end, m_interval, rl, lb);
    } catch (const Error& e) {
        error = e.message();
    }
    if (error.isEmpty())
        accept();
    else
        reject();
    if (!error.isEmpty())
        prompts().tell(parentWidget(), error, QMessageBox::Warning);
    else
        prompts().tell(parentWidget(),
                       tr("%1 written to %2 from %3 to %4.")
                           .arg(rowsText(written),
                                rl && lb ? tr("each of the RL and LB sheets")
                                : rl     ? tr("the RL sheet")
                                         : tr("the LB sheet"),
                                plainDecimal(start), plainDecimal(end)),
                       QMessageBox::Information);
    return true;
}

} // namespace tarmela
