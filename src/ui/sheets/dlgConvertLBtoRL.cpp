#include "ui/sheets/dlgConvertLBtoRL.h"

#include "compute/LevelBookReduction.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/ValueRanges.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarmela
{

dlgConvertLBtoRL::dlgConvertLBtoRL(QWidget* parent)
    : TitledDialog(tr("Convert Level Book to Reduced Levels"), parent)
{
    setObjectName(QStringLiteral("dlgConvertLBtoRL"));
    // The two levels in one grid, so that their boxes line up.
    auto* row = new QGridLayout;
    auto* label1 = new QLabel(tr("Reduced Level of Benchmark : "), this);
    label1->setObjectName(QStringLiteral("Label1"));
    m_benchMark = new QLineEdit(QStringLiteral("100"), this);
    m_benchMark->setObjectName(QStringLiteral("txtBenchMark"));
    m_benchMark->setMaximumWidth(110);
    row->addWidget(label1, 0, 0);
    row->addWidget(m_benchMark, 0, 1);
    row->setColumnStretch(2, 1);
    auto* closingLabel = new QLabel(tr("Closing bench mark (optional) : "), this);
    m_closingBenchMark = new QLineEdit(this);
    m_closingBenchMark->setObjectName(QStringLiteral("txtClosingBenchMark"));
    m_closingBenchMark->setMaximumWidth(110);
    closingLabel->setBuddy(m_closingBenchMark);
    row->addWidget(closingLabel, 1, 0);
    row->addWidget(m_closingBenchMark, 1, 1);
    contentLayout()->addLayout(row);
    m_distribute =
        new QCheckBox(tr("Distribute the closing error over the instrument setups"), this);
    m_distribute->setObjectName(QStringLiteral("chkDistribute"));
    m_distribute->setEnabled(false);
    contentLayout()->addWidget(m_distribute);
    auto* label2 = new QLabel(
        tr("Warning!  All data in the RL table will be overwritten by the newly generated levels"),
        this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setWordWrap(true);
    label2->setStyleSheet(QStringLiteral("color: #b00000;"));
    contentLayout()->addWidget(label2);

    QPushButton* cancel = nullptr;
    addOkCancel(this, contentLayout(), m_ok, cancel);
    setMinimumWidth(420);

    connect(m_benchMark, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ok->setEnabled(!text.isEmpty()); });
    connect(m_closingBenchMark, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_distribute->setEnabled(!text.trimmed().isEmpty()); });
    connect(m_ok, &QPushButton::clicked, this, &dlgConvertLBtoRL::convert);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void dlgConvertLBtoRL::convert()
{
    if (m_benchMark->text().isEmpty())
        return;
    AppState& s = appState();
    // A bench mark that is not a level would give every reduced level a wrong base.
    double benchMark = 0;
    const QString why =
        readValue(m_benchMark->text(), ranges::kLevel, tr("The bench mark"), benchMark);
    if (!why.isEmpty()) {
        prompts().tell(this, why, QMessageBox::Warning);
        m_benchMark->setFocus();
        m_benchMark->selectAll();
        return;
    }
    ReductionOptions options;
    if (!m_closingBenchMark->text().trimmed().isEmpty()) {
        double closing = 0;
        const QString bad = readValue(m_closingBenchMark->text(), ranges::kLevel,
                                      tr("The closing bench mark"), closing);
        if (!bad.isEmpty()) {
            prompts().tell(this, bad, QMessageBox::Warning);
            m_closingBenchMark->setFocus();
            m_closingBenchMark->selectAll();
            return;
        }
        options.closingBenchMark = closing;
        options.distribute = m_distribute->isChecked();
    }
    QString error;
    ReductionCounts counts;
    try {
        BusyCursor busy;
        if (!s.ProjectConnection)
            throw Error(ErrorKind::Database, tr("The project database is not open."));
        counts = ConvertLevelBookToRL(*s.ProjectConnection, s.CurrentRoadID, benchMark, options);
    } catch (const Error& e) {
        error = e.message();
    }
    accept();
    if (!error.isEmpty())
        prompts().tell(parentWidget(), error, QMessageBox::Warning);
    else
        prompts().tell(parentWidget(),
                       options.closingBenchMark
                           ? reductionSummary(counts) + QStringLiteral("\n") +
                                 closingErrorLine(counts.check) + QStringLiteral("\n") +
                                 correctionLine(counts.check)
                           : reductionSummary(counts),
                       QMessageBox::Information);
}

} // namespace tarmela
