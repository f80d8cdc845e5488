#include "ui/sheets/dlgSearchWindow.h"

#include "sheets/SheetFilter.h"
#include "ui/sheets/SheetModel.h"
#include "ui/sheets/frmDataGrid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmela
{

dlgSearchWindow::dlgSearchWindow(frmDataGrid* sheet, QWidget* parent)
    : TitledDialog(QStringLiteral("Filter"), parent), m_sheet(sheet)
{
    setObjectName(QStringLiteral("dlgSearchWindow"));
    setModal(false);
    // A window of its own above the main window (not a tool window of it): while it has the
    // focus its own accelerators (Alt+D for Done) win over the main window's menus, and a
    // message shown over it comes above it.

    auto* grid = new QGridLayout;
    cmbField = new QComboBox(this);
    cmbField->setObjectName(QStringLiteral("cmbField"));
    cmbField->setEditable(true);
    // A field is taken as typed or chosen: "C" stays the column C, never becomes "Chainage".
    cmbField->setCompleter(nullptr);
    cmbField->setInsertPolicy(QComboBox::NoInsert);
    cmbCondition = new QComboBox(this);
    cmbCondition->setObjectName(QStringLiteral("cmbCondition"));
    cmbCondition->addItems({"=", "<>", "<", ">", "<=", ">=", "LIKE"});
    cmbCondition->setCurrentIndex(-1);
    txtValue = new QLineEdit(this);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    // Alt+F, Alt+N and Alt+V reach the three fields, as Alt+A, O, D and C press the buttons.
    const std::pair<const char*, QWidget*> labelled[] = {
        {"&Field", cmbField}, {"Co&ndition", cmbCondition}, {"&Value", txtValue}};
    int column = 0;
    for (const auto& [caption, field] : labelled) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(field);
        grid->addWidget(label, 0, column++);
    }
    grid->addWidget(cmbField, 1, 0);
    grid->addWidget(cmbCondition, 1, 1);
    grid->addWidget(txtValue, 1, 2);
    contentLayout()->addLayout(grid);

    lblSearchText = new QLabel(this);
    lblSearchText->setObjectName(QStringLiteral("lblSearchText"));
    lblSearchText->setWordWrap(true);
    lblSearchText->setMinimumHeight(40);
    lblSearchText->setFrameShape(QFrame::StyledPanel);
    contentLayout()->addWidget(lblSearchText);

    auto* buttons = new QHBoxLayout;
    cmdAND = new QPushButton(QStringLiteral("&AND"), this);
    cmdAND->setObjectName(QStringLiteral("cmdAND"));
    cmdOR = new QPushButton(QStringLiteral("&OR"), this);
    cmdOR->setObjectName(QStringLiteral("cmdOR"));
    cmdExecute = new QPushButton(QStringLiteral("&Done"), this);
    cmdExecute->setObjectName(QStringLiteral("cmdExecute"));
    cmdClear = new QPushButton(QStringLiteral("&Clear"), this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    for (QPushButton* b : {cmdAND, cmdOR, cmdExecute, cmdClear}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    contentLayout()->addLayout(buttons);

    connect(cmbField, &QComboBox::currentTextChanged, this, &dlgSearchWindow::updateButtons);
    connect(cmbCondition, &QComboBox::currentIndexChanged, this, &dlgSearchWindow::updateButtons);
    connect(txtValue, &QLineEdit::textChanged, this, &dlgSearchWindow::updateButtons);
    connect(cmdAND, &QPushButton::clicked, this, [this] { appendJoined(QStringLiteral(" AND ")); });
    connect(cmdOR, &QPushButton::clicked, this, [this] { appendJoined(QStringLiteral(" OR ")); });
    connect(cmdExecute, &QPushButton::clicked, this, [this] {
        const QString text = lblSearchText->text() + clause();
        lblSearchText->setText(text);
        // The clause is in the text now: a second Done must not add it again.
        clearCondition();
        if (m_sheet)
            m_sheet->FilterData(text, this);
    });
    connect(cmdClear, &QPushButton::clicked, this, [this] {
        lblSearchText->clear();
        if (m_sheet)
            m_sheet->FilterData(QString(), this);
    });
    if (sheet)
        connect(sheet, &QObject::destroyed, this, &QWidget::close);
    loadFields();
    updateButtons();
}

void dlgSearchWindow::loadFields()
{
    cmbField->clear();
    if (m_sheet)
        for (int c = 0; c < m_sheet->model()->columnCount(); ++c)
            cmbField->addItem(
                m_sheet->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    cmbField->setCurrentIndex(-1);
    cmbField->clearEditText();
}

void dlgSearchWindow::updateButtons()
{
    const QString condition = cmbCondition->currentText();
    const bool ok = cmbCondition->currentIndex() >= 0 && !cmbField->currentText().isEmpty() &&
                    (condition == QLatin1String("LIKE") || !txtValue->text().trimmed().isEmpty());
    cmdAND->setEnabled(ok);
    cmdOR->setEnabled(ok);
    cmdExecute->setEnabled(ok);
}

QString dlgSearchWindow::clause() const
{
    // The list offers the grid's captions; a caption ("Existing / Proposed" for EPType) or
    // a column's own name stands for that column, bracketed where it has a blank ("Left
    // Slope" is [Left Slope]), so that every entry of the list is taken as offered.
    QString field = cmbField->currentText().trimmed();
    if (m_sheet) {
        const SheetModel* m = m_sheet->model();
        for (int c = 0; c < m->columnCount(); ++c) {
            const QString caption = m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            const QString name = m_sheet->rows().columnName(c);
            if (caption.compare(field, Qt::CaseInsensitive) == 0 ||
                name.compare(field, Qt::CaseInsensitive) == 0) {
                field = name.contains(QLatin1Char(' ')) ? QStringLiteral("[%1]").arg(name) : name;
                break;
            }
        }
    }
    return sheets::filterClause(field, cmbCondition->currentText(), txtValue->text());
}

void dlgSearchWindow::appendJoined(const QString& joiner)
{
    lblSearchText->setText(lblSearchText->text() + clause() + joiner);
    clearCondition();
}

void dlgSearchWindow::clearCondition()
{
    cmbField->setCurrentIndex(-1);
    cmbField->clearEditText();
    cmbCondition->setCurrentIndex(-1);
    txtValue->clear();
    cmbField->setFocus();
}

void dlgSearchWindow::done(int result)
{
    TitledDialog::done(result);
    emit closed();
}

} // namespace tarmela
