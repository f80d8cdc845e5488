#include "ui/common/dlgPageSetup.h"

#include "drawing/CrossSectionLayout.h"
#include "settings/Settings.h"
#include "store/Numbers.h"
#include "ui/common/Prompts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace tarmela
{

namespace
{

bool drawable(const double m[4], int paperIndex, int sectionsOnPage)
{
    const PageMargins margins{m[0], m[1], m[2], m[3]};
    return CrossSectionLayout::at(1.0, paperIndex == 1 ? Paper::A3 : Paper::A4, margins)
        .drawable(std::max(sectionsOnPage, 1));
}

// The largest value margin `which` may take, the others as they are, for the pages to be
// drawn: found by halving, as the room left shrinks steadily with the margin; to a millimetre
// below. Negative when the others leave no room at any value.
double largestMargin(double m[4], int which, int paperIndex, int sectionsOnPage)
{
    const double kept = m[which];
    m[which] = 0;
    double result = -1;
    if (drawable(m, paperIndex, sectionsOnPage)) {
        double lo = 0, hi = 60; // no paper here is 60 cm across
        while (hi - lo > 0.001) {
            m[which] = (lo + hi) / 2;
            (drawable(m, paperIndex, sectionsOnPage) ? lo : hi) = m[which];
        }
        result = std::floor(lo * 10 + 1e-9) / 10;
    }
    m[which] = kept;
    return result;
}

} // namespace

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
        if (!refused())
            store();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool dlgPageSetup::refused()
{
    QLineEdit* const boxes[4] = {m_left, m_right, m_top, m_bottom};
    const QString names[4] = {tr("left"), tr("right"), tr("top"), tr("bottom")};
    double m[4];
    for (int i = 0; i < 4; ++i)
        m[i] = leadingNumber(boxes[i]->text());
    const int paper = m_paper->currentIndex();
    const QString paperName = paper == 1 ? QStringLiteral("A3") : QStringLiteral("A4");
    QString why;
    int at = -1;
    for (int i = 0; i < 4 && at < 0; ++i) {
        if (m[i] < 0) {
            why = tr("The %1 margin can't be negative: enter 0 cm or more.").arg(names[i]);
            at = i;
        }
    }
    if (at < 0 && !drawable(m, paper, m_settings.SectionsPerPage)) {
        // The first margin that is more than the others leave room for.
        for (int i = 0; i < 4 && at < 0; ++i) {
            const double largest = largestMargin(m, i, paper, m_settings.SectionsPerPage);
            if (largest >= 0 && m[i] > largest) {
                why =
                    tr("The %1 margin of %2 cm leaves no room for the drawing on %3 paper: "
                       "with the other margins as they are, it can be 0 to %4 cm.")
                        .arg(names[i], QString::number(m[i]), paperName, QString::number(largest));
                at = i;
            }
        }
        if (at < 0) {
            why = tr("These margins leave no room for the drawing on %1 paper: make them "
                     "smaller.")
                      .arg(paperName);
            at = 0;
        }
    }
    if (at < 0)
        return false;
    prompts().tell(this, why, QMessageBox::Warning);
    boxes[at]->setFocus();
    boxes[at]->selectAll();
    return true;
}

void dlgPageSetup::store()
{
    m_settings.PageLeft = leadingNumber(m_left->text());
    m_settings.PageRight = leadingNumber(m_right->text());
    m_settings.PageTop = leadingNumber(m_top->text());
    m_settings.PageBottom = leadingNumber(m_bottom->text());
    m_settings.PageSize = m_paper->currentIndex();
    accept();
}

} // namespace tarmela
