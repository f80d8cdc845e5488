#include "app/frmOptions.h"

#include "compute/QuantityMethods.h"
#include "store/Numbers.h"
#include "store/ValueRanges.h"
#include "ui/common/AppState.h"

#include "ui/common/Prompts.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <limits>

namespace tarmela
{

namespace
{

QWidget* page(QStackedWidget* frames, int index)
{
    auto* w = new QGroupBox(frames);
    w->setObjectName(QStringLiteral("Frames_%1").arg(index));
    frames->addWidget(w);
    return w;
}

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption)
{
    auto* r = new QRadioButton(caption, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption)
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

} // namespace

frmOptions::frmOptions(QWidget* parent) : TitledDialog(tr("Options"), parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    QVBoxLayout* body = contentLayout();

    // The tab row.
    auto* tabRow = new QHBoxLayout;
    tabRow->setSpacing(0);
    m_tabs = new QButtonGroup(this);
    const QStringList captions = {tr("General"), tr("LSection"), tr("XSection"), tr("Quantity"),
                                  tr("Data")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* tab = new QPushButton(captions[i], this);
        tab->setObjectName(QStringLiteral("optTabs_%1").arg(i));
        tab->setCheckable(true);
        tab->setAutoDefault(false);
        tab->setStyleSheet(QStringLiteral(
            "QPushButton { padding: 4px 12px; border: 1px solid #9a9a9a; background: #e4e4e4; }"
            "QPushButton:checked { background: white; border-bottom: 1px solid white; }"));
        m_tabs->addButton(tab, i);
        tabRow->addWidget(tab);
    }
    tabRow->addStretch(1);
    body->addLayout(tabRow);
    m_frames = new QStackedWidget(this);
    m_frames->setObjectName(QStringLiteral("Frames"));
    m_frames->setMinimumSize(400, 190);
    body->addWidget(m_frames, 1);
    connect(m_tabs, &QButtonGroup::idClicked, this, &frmOptions::showTab);

    // 0 General
    {
        QWidget* f = page(m_frames, 0);
        auto* l = new QVBoxLayout(f);
        m_autoSave = check(f, "chkAutoSave", tr("Auto Save Feature"));
        m_autoRefresh = check(f, "chkAutoRefreshDWG", tr("Auto Refresh Drawings"));
        l->addWidget(m_autoSave);
        l->addWidget(m_autoRefresh);
        l->addStretch(1);
        connect(m_autoSave, &QCheckBox::toggled, m_autoRefresh, &QWidget::setEnabled);
    }
    // 1 LSection
    {
        QWidget* f = page(m_frames, 1);
        auto* l = new QGridLayout(f);
        m_grid = check(f, "chkLSectionGrid", tr("Grid ON / OFF"));
        m_fixedDatum = radio(f, "optFixedDatum", tr("Fixed Datum Line"));
        m_variableDatum = radio(f, "optVariableDatum", tr("Variable Datum Line"));
        m_datumLabel = new QLabel(tr("Fixed Value :"), f);
        m_datumLabel->setObjectName(QStringLiteral("lblDatum"));
        m_datumValue = new QLineEdit(f);
        m_datumValue->setObjectName(QStringLiteral("txtFixedDatumValue"));
        m_datumValue->setMaximumWidth(90);
        l->addWidget(m_grid, 0, 0, 1, 2);
        l->addWidget(m_fixedDatum, 1, 0, 1, 2);
        l->addWidget(m_datumLabel, 2, 0);
        l->addWidget(m_datumValue, 2, 1, Qt::AlignLeft);
        l->addWidget(m_variableDatum, 3, 0, 1, 2);
        l->setColumnStretch(1, 1);
        l->setRowStretch(4, 1);
        connect(m_fixedDatum, &QRadioButton::toggled, this, [this](bool fixed) {
            m_datumValue->setEnabled(fixed);
            m_datumLabel->setEnabled(fixed);
        });
    }
    // 2 XSection
    {
        QWidget* f = page(m_frames, 2);
        auto* l = new QFormLayout(f);
        m_sectionsPerPage = new QSpinBox(f);
        m_sectionsPerPage->setObjectName(QStringLiteral("UpDown1"));
        m_sectionsPerPage->setRange(1, 20);
        l->addRow(tr("No. of X Sections / Page :"), m_sectionsPerPage);
    }
    // 3 Quantity
    {
        QWidget* f = page(m_frames, 3);
        auto* l = new QVBoxLayout(f);
        m_quantity = new QButtonGroup(this);
        for (const QuantityMethod& method : quantityMethods()) {
            auto* r = new QRadioButton(QString::fromLatin1(method.caption), f);
            r->setObjectName(QStringLiteral("optQuantity_%1").arg(method.id));
            m_quantity->addButton(r, method.id);
            l->addWidget(r);
        }
        auto* formula = new QHBoxLayout;
        m_volumeFormula = new QComboBox(f);
        m_volumeFormula->setObjectName(QStringLiteral("cboVolumeFormula"));
        // Items by the setting's values.
        m_volumeFormula->addItems({tr("Average end areas"), tr("Prismoidal rule")});
        auto* formulaLabel = new QLabel(tr("Volumes by :"), f);
        formulaLabel->setBuddy(m_volumeFormula);
        formula->addWidget(formulaLabel);
        formula->addWidget(m_volumeFormula, 1);
        l->addLayout(formula);
        l->addStretch(1);
    }
    // 4 Data
    {
        QWidget* f = page(m_frames, 4);
        auto* l = new QGridLayout(f);
        auto* enterBox = new QGroupBox(tr("Enter Key Moves"), f);
        auto* el = new QHBoxLayout(enterBox);
        m_enterRight = radio(enterBox, "optRight", tr("Right"));
        m_enterDown = radio(enterBox, "optDown", tr("Down"));
        el->addWidget(m_enterRight);
        el->addWidget(m_enterDown);
        l->addWidget(enterBox, 0, 0, 1, 2);

        auto* viewRow = new QHBoxLayout;
        viewRow->addWidget(new QLabel(tr("Number of Readings / Section :"), f));
        m_viewSections = new QSpinBox(f);
        m_viewSections->setObjectName(QStringLiteral("UpDown2"));
        // The sheets and computations name the columns L1..Ln and R1..Rn, and the tables
        // hold eight of each.
        m_viewSections->setRange(0, appState().ReadingsPerSide);
        viewRow->addWidget(m_viewSections);
        viewRow->addStretch(1);
        l->addLayout(viewRow, 1, 0, 1, 2);

        auto* orderBox = new QGroupBox(tr("Order of Data"), f);
        auto* ol = new QHBoxLayout(orderBox);
        m_order = new QListWidget(orderBox);
        m_order->setObjectName(QStringLiteral("lstLCROrder"));
        m_order->setMaximumHeight(64);
        m_order->setMaximumWidth(110);
        auto* updown = new QVBoxLayout;
        auto* up = new QPushButton(tr("Up"), orderBox);
        up->setObjectName(QStringLiteral("cmdUp"));
        auto* down = new QPushButton(tr("Down"), orderBox);
        down->setObjectName(QStringLiteral("cmdDown"));
        for (QPushButton* b : {up, down}) {
            b->setAutoDefault(false);
            updown->addWidget(b);
        }
        ol->addWidget(m_order);
        ol->addLayout(updown);
        connect(up, &QPushButton::clicked, this, [this] { moveEntry(-1); });
        connect(down, &QPushButton::clicked, this, [this] { moveEntry(1); });
        l->addWidget(orderBox, 2, 0, 2, 1);
        m_leftReverse = check(f, "chkLReverse", tr("Left Reverse"));
        m_rightReverse = check(f, "chkRReverse", tr("Right Reverse"));
        l->addWidget(m_leftReverse, 2, 1);
        l->addWidget(m_rightReverse, 3, 1);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* apply = new QPushButton(tr("&Apply"), this);
    apply->setObjectName(QStringLiteral("cmdApply"));
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* b : {ok, apply, cancel}) {
        b->setMinimumWidth(80);
        buttons->addWidget(b);
    }
    body->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (Apply())
            accept();
    });
    connect(apply, &QPushButton::clicked, this, [this] { Apply(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    load();
}

void frmOptions::load()
{
    const Settings& s = appState().settings;
    showTab(0);
    m_enterRight->setChecked(s.EnterRight);
    m_enterDown->setChecked(!s.EnterRight);

    QStringList order(3);
    const bool ordersValid = s.ordersValid();
    const int left = ordersValid ? s.LeftOrder : 0;
    const int right = ordersValid ? s.RightOrder : 2;
    order[left] = QStringLiteral("Left");
    order[right] = QStringLiteral("Right");
    for (QString& entry : order)
        if (entry.isEmpty())
            entry = QStringLiteral("Center");
    m_order->clear();
    m_order->addItems(order);
    m_order->setCurrentRow(0);

    m_leftReverse->setChecked(s.LeftReverse);
    m_rightReverse->setChecked(s.RightReverse);
    m_sectionsPerPage->setValue(s.SectionsPerPage);
    m_viewSections->setValue(s.ViewSections);
    m_autoSave->setChecked(s.AutoSave);
    m_autoRefresh->setChecked(s.AutoRefreshDWG);
    m_autoRefresh->setEnabled(s.AutoSave);
    m_fixedDatum->setChecked(s.FixedDatum);
    m_variableDatum->setChecked(!s.FixedDatum);
    m_datumValue->setEnabled(s.FixedDatum);
    m_datumLabel->setEnabled(s.FixedDatum);
    m_datumValue->setText(QString::number(s.FixedDatumValue));
    m_volumeFormula->setCurrentIndex(s.VolumeFormula);
    if (QAbstractButton* b = m_quantity->button(s.QuantityCalcMethod))
        b->setChecked(true);
    m_grid->setChecked(s.LSectionGrid);
}

void frmOptions::showTab(int index)
{
    m_tabs->button(index)->setChecked(true);
    m_frames->setCurrentIndex(index);
}

void frmOptions::moveEntry(int step)
{
    const int row = m_order->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= m_order->count())
        return;
    QListWidgetItem* item = m_order->takeItem(row);
    m_order->insertItem(to, item);
    m_order->setCurrentRow(to);
}

bool frmOptions::Apply()
{
    // The datum is checked first so that a value that can't be taken changes nothing.
    const bool fixed = m_fixedDatum->isChecked();
    Settings& s = appState().settings;
    std::int64_t datum = s.FixedDatumValue;
    if (fixed) {
        // A datum that is not a level would draw every section against a wrong base.
        double typed = 0;
        const QString why =
            readValue(m_datumValue->text(), ranges::kLevel, tr("The fixed datum value"), typed);
        if (!why.isEmpty()) {
            showTab(1);
            prompts().tell(this, why, QMessageBox::Warning);
            m_datumValue->setFocus();
            m_datumValue->selectAll();
            return false;
        }
        datum = nearestEven(typed);
    }

    s.EnterRight = m_enterRight->isChecked();
    for (int i = 0; i < m_order->count(); ++i) {
        const QString entry = m_order->item(i)->text();
        if (entry == QLatin1String("Left"))
            s.LeftOrder = i;
        else if (entry == QLatin1String("Right"))
            s.RightOrder = i;
    }
    s.LeftReverse = m_leftReverse->isChecked();
    s.RightReverse = m_rightReverse->isChecked();
    s.VolumeFormula = m_volumeFormula->currentIndex();
    if (findQuantityMethod(m_quantity->checkedId()))
        s.QuantityCalcMethod = m_quantity->checkedId();
    s.SectionsPerPage = m_sectionsPerPage->value();
    s.FixedDatum = fixed;
    if (fixed)
        s.FixedDatumValue = int(datum);
    s.AutoSave = m_autoSave->isChecked();
    s.AutoRefreshDWG = m_autoRefresh->isChecked();
    s.ViewSections = m_viewSections->value();
    s.LSectionGrid = m_grid->isChecked();
    return true;
}

} // namespace tarmela
