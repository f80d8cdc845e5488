#include "ui/common/dlgPageSetup.h"

#include "settings/Settings.h"
#include "store/Numbers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarmela
{

dlgPageSetup::dlgPageSetup(Settings& settings, QWidget* parent)
    : TitledDialog(tr("Page Setup"), parent), m_settings(settings)
{
    setObjectName(QStringLiteral("dlgPageSetup"));
    QVBoxLayout* content = contentLayout();
    auto* margins = new QGroupBox(tr("Margins (cm)"), this);
    auto* grid = new QGridLayout(margins);
    auto box = [&](const char* name, const QString& caption, double value, int row, int column) {
        auto* edit = new QLineEdit(QString::number(value), margins);
        edit->setObjectName(QString::fromLatin1(name));
        auto* label = new QLabel(caption, margins);
        label->setBuddy(edit);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(edit, row, column * 2 + 1);
        return edit;
    };
    m_left = box("txtLeft", tr("&Left:"), settings.PageLeft, 0, 0);
    m_right = box("txtRight", tr("&Right:"), settings.PageRight, 0, 1);
    m_top = box("txtTop", tr("&Top:"), settings.PageTop, 1, 0);
    m_bottom = box("txtBottom", tr("&Bottom:"), settings.PageBottom, 1, 1);
    content->addWidget(margins);

    auto* paper = new QFormLayout;
    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("cmbPapersize"));
    m_paper->addItems({tr("A4 (210 x 297mm)"), tr("A3 (297 x 420mm)")});
    m_paper->setCurrentIndex(settings.PageSize == 1 ? 1 : 0);
    paper->addRow(tr("Paper &size:"), m_paper);
    content->addLayout(paper);

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    addOkCancel(this, content, ok, cancel);
    connect(ok, &QPushButton::clicked, this, [this] {
        store();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void dlgPageSetup::store()
{
    m_settings.PageLeft = leadingNumber(m_left->text());
    m_settings.PageRight = leadingNumber(m_right->text());
    m_settings.PageTop = leadingNumber(m_top->text());
    m_settings.PageBottom = leadingNumber(m_bottom->text());
    m_settings.PageSize = m_paper->currentIndex();
}

} // namespace tarmela
