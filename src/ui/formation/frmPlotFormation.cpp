#include "ui/formation/frmPlotFormation.h"

#include "formation/FormationRules.h"
#include "settings/Earthwork.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/ValueRanges.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Prompts.h"
#include "ui/formation/FormationProfileView.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QUndoStack>
#include <QWheelEvent>
#include <cmath>

namespace tarmela
{

namespace
{

// The datum the vertical scroll bar can carry, whole metres (the setting is 16-bit).
constexpr int kLowestDatum = -500;
constexpr int kHighestDatum = 5000;

QString culvertFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Culverts"));
}

// Levels as the computations store them, to 3 decimals, so that the readouts line up ("100.000"
// beside "99.454").
QString levelText(const std::optional<double>& v)
{
    return v ? QString::number(*v, 'f', 3) : QString();
}

QLineEdit* readout(const char* name, QWidget* parent, bool editable = false)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(!editable);
    box->setFixedWidth(66);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

} // namespace

frmPlotFormation::frmPlotFormation(QWidget* parent)
    : QWidget(parent), m_document(currentDocument()), m_road(appState().CurrentRoadID),
      m_design(*appState().ProjectConnection),
      m_source(*appState().ProjectConnection, appState().CurrentRoadID,
               appState().settings.ViewSections, culvertFolder())
{
    setObjectName(QStringLiteral("frmPlotFormation"));
    setAttribute(Qt::WA_DeleteOnClose);
    QString title = tr("Formation Plotting Tool");
    try {
        const Road r = roads::get(*appState().ProjectConnection, m_road);
        title += QStringLiteral(" \u2014 ") + r.from + QStringLiteral(" To ") + r.to;
    } catch (const Error&) {
        // A road that can't be read still gets its tool; the recomputation below says why.
    }
    setWindowTitle(title);
    // Updates and alignment edits alike, many steps back.
    m_undo = new QUndoStack(this);
    m_undo->setUndoLimit(100);
    buildControls();
    followDocument();
}

void frmPlotFormation::followDocument()
{
    using Rows = ProjectDocument::Rows;
    connect(&m_document, &ProjectDocument::rowsChanged, this,
            [this](const ProjectDocument::RowsWrite& w) {
                const bool drawn = w.rows == Rows::ReducedLevels || w.rows == Rows::Culverts ||
                                   w.rows == Rows::CulvertTypes;
                if (drawn && w.writer != this && (w.road == 0 || w.road == m_road) &&
                    m_document.drawingsFollow(w))
                    pbRefresh();
            });
    connect(&m_document, &ProjectDocument::currentRoadChanged, this,
            [this] { closeHostWindow(this); });
    connect(&m_document, &ProjectDocument::settingsChanged, this,
            [this](ProjectDocument::SettingsParts parts) {
                using Part = ProjectDocument::SettingsPart;
                if (parts.testFlag(Part::Readings))
                    m_source.data().setViewSections(appState().settings.ViewSections);
                // Figures of another method or other readings are no figures of these.
                if (parts.testFlag(Part::Method) || parts.testFlag(Part::Readings)) {
                    recomputeRoad(true);
                    pbRefresh();
                }
                if (!parts.testFlag(Part::Drawing))
                    return;
                // The datum may have changed: the bar shows it, and the profile is drawn on it.
                VScroll1->setValue(appState().settings.FixedDatumValue);
                pbRefresh();
            });
}

void frmPlotFormation::tellWritten()
{
    m_document.noteRowsWritten({m_road, ProjectDocument::Rows::ReducedLevels, this, false});
}

frmPlotFormation::~frmPlotFormation() = default;

void frmPlotFormation::buildControls()
{
    pbGraph = new FormationProfileView(this);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    // Up raises the datum, so the profile moves down as the thumb goes up.
    VScroll1->setInvertedAppearance(true);
    VScroll1->setInvertedControls(true);
    VScroll1->setRange(kLowestDatum, kHighestDatum);
    VScroll1->setPageStep(5);
    VScroll1->setValue(appState().settings.FixedDatumValue);

    // The panel under the plot is as high as its readouts need and no higher, so that the plot
    // takes the rest and the status bar below stays in view; the two tables beside the
    // readouts take the panel's height and scroll.
    auto* panel = new QWidget(this);
    panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* strip = new QHBoxLayout(panel);
    strip->setContentsMargins(4, 4, 4, 4);
    strip->setSpacing(6);
    auto* g = new QGridLayout;
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);

    txtLeft = readout("txtLeft", panel);
    txtCentre = readout("txtCentre", panel);
    txtRight = readout("txtRight", panel);
    txtLeftDiff = readout("txtLeftDiff", panel);
    txtCentreDiff = readout("txtCentreDiff", panel);
    txtRightDiff = readout("txtRightDiff", panel);
    txtFC = readout("txtFC", panel, true);
    txtGrad1 = readout("txtGrad1", panel);
    txtGrad2 = readout("txtGrad2", panel);
    txtGrad1->setFixedWidth(56);
    txtGrad2->setFixedWidth(56);
    chkGradientMode = new QCheckBox(tr("Use Gradient"), panel);
    chkGradientMode->setObjectName(QStringLiteral("chkGradientMode"));
    chkCulvert = new QCheckBox(tr("Show Culvert"), panel);
    chkCulvert->setObjectName(QStringLiteral("chkCulvert"));
    cmdUpdate = new QPushButton(tr("Update"), panel);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    cmdUpdate->setDefault(true);
    txtChainage = readout("txtChainage", panel, true);
    chkAlignment = new QCheckBox(tr("Alignment"), panel);
    chkAlignment->setObjectName(QStringLiteral("chkAlignment"));
    chkAlignment->setToolTip(tr("Click the profile to add a PVI, drag one to move it, Delete "
                                "removes the selected one"));

    g->addWidget(caption(tr("Left"), panel), 0, 1, Qt::AlignCenter);
    g->addWidget(caption(tr("Centre"), panel), 0, 2, Qt::AlignCenter);
    g->addWidget(caption(tr("Right"), panel), 0, 3, Qt::AlignCenter);
    g->addWidget(caption(tr("FC"), panel), 0, 4, Qt::AlignCenter);
    g->addWidget(caption(tr("Chainage"), panel), 3, 0);
    g->addWidget(txtChainage, 3, 1);
    g->addWidget(caption(tr("Existing Levels"), panel), 1, 0);
    g->addWidget(txtLeft, 1, 1);
    g->addWidget(txtCentre, 1, 2);
    g->addWidget(txtRight, 1, 3);
    g->addWidget(txtFC, 1, 4);
    g->addWidget(caption(tr("Difference"), panel), 2, 0);
    g->addWidget(txtLeftDiff, 2, 1);
    g->addWidget(txtCentreDiff, 2, 2);
    g->addWidget(txtRightDiff, 2, 3);
    g->addWidget(cmdUpdate, 2, 4);

    auto* slope = new QHBoxLayout;
    slope->setSpacing(4);
    slope->addWidget(caption(tr(" Slope "), panel));
    slope->addWidget(caption(tr("1 in"), panel));
    slope->addWidget(txtGrad1);
    slope->addWidget(caption(tr("M"), panel));
    slope->addWidget(caption(tr("OR"), panel));
    slope->addWidget(txtGrad2);
    slope->addWidget(caption(tr("%"), panel));
    slope->addStretch();
    g->addLayout(slope, 4, 0, 1, 5);
    auto* checks = new QHBoxLayout;
    checks->addWidget(chkGradientMode);
    checks->addWidget(chkCulvert);
    checks->addWidget(chkAlignment);
    checks->addStretch();
    g->addLayout(checks, 5, 0, 1, 5);
    g->setRowStretch(6, 1);
    strip->addLayout(g);

    VellGrid1 = new QTableWidget(0, 4, panel);
    VellGrid1->setObjectName(QStringLiteral("VellGrid1"));
    VellGrid1->setHorizontalHeaderLabels(
        {tr("KM"), tr("Filling Quantity"), tr("Cutting Quantity"), tr("Total Quantity")});
    VellGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    VellGrid1->verticalHeader()->hide();
    VellGrid1->verticalHeader()->setDefaultSectionSize(20);
    VellGrid1->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(255,102,51); color: white; "
                       "font-weight: bold; border: none; border-right: 1px solid rgb(200,70,30); "
                       "border-bottom: 1px solid rgb(200,70,30); padding: 0 3px; }"));
    // The volume columns share the grid's width, so that all four show also in a narrow
    // window (800 x 600).
    VellGrid1->setColumnWidth(0, 40);
    VellGrid1->horizontalHeader()->setMinimumSectionSize(40);
    VellGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    VellGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    VellGrid1->setMinimumWidth(200);
    VellGrid1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    strip->addWidget(VellGrid1, 1);

    tblPvi = new QTableWidget(0, 6, panel);
    tblPvi->setObjectName(QStringLiteral("tblPvi"));
    tblPvi->setHorizontalHeaderLabels(
        {tr("Chainage"), tr("Level"), tr("Length"), tr("Grade in %"), tr("Grade out %"), tr("K")});
    tblPvi->verticalHeader()->hide();
    tblPvi->verticalHeader()->setDefaultSectionSize(20);
    // Every caption whole: a narrow table scrolls rather than cut them off.
    tblPvi->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblPvi->horizontalHeader()->setStretchLastSection(true);
    tblPvi->setMinimumWidth(240);
    tblPvi->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    tblPvi->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblPvi->setSelectionMode(QAbstractItemView::SingleSelection);
    tblPvi->setVisible(false); // the alignment mode's
    usePviCellDelegate();
    strip->addWidget(tblPvi, 1);

    auto* outer = new QGridLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(buildViewBar(), 0, 0, 1, 2);
    outer->addWidget(pbGraph, 1, 0);
    outer->addWidget(VScroll1, 1, 1);
    outer->addWidget(HScroll1, 2, 0);
    outer->addWidget(panel, 3, 0, 1, 2);
    sbFormation = new QStatusBar(this);
    sbFormation->setObjectName(QStringLiteral("sbFormation"));
    sbFormation->setSizeGripEnabled(false);
    lblPointer = new QLabel(sbFormation);
    lblPointer->setObjectName(QStringLiteral("lblPointer"));
    lblPointer->setMinimumWidth(220);
    lblSkipped = new QLabel(sbFormation);
    lblSkipped->setObjectName(QStringLiteral("lblSkipped"));
    sbFormation->addWidget(lblSkipped, 1);
    sbFormation->addPermanentWidget(lblPointer);
    outer->addWidget(sbFormation, 4, 0, 1, 2);
    outer->setRowStretch(1, 1);
    outer->setColumnStretch(0, 1);
    setMinimumSize(560, 320);

    connect(pbGraph, &FormationProfileView::pressed, this, &frmPlotFormation::plotPressed);
    connect(pbGraph, &FormationProfileView::moved, this, &frmPlotFormation::plotMoved);
    connect(pbGraph, &FormationProfileView::released, this, &frmPlotFormation::plotReleased);
    connect(pbGraph, &FormationProfileView::left, lblPointer, &QLabel::clear);
    connect(txtChainage, &QLineEdit::returnPressed, this, [this] {
        double typed = 0;
        const QString why =
            readValue(txtChainage->text(), ranges::kChainage, tr("The chainage"), typed);
        if (!why.isEmpty())
            tell(why);
        else
            pickNear(typed);
    });
    connect(chkAlignment, &QCheckBox::toggled, this, [this] {
        placeTables();
        updateOverlay();
    });
    connect(tblPvi, &QTableWidget::cellChanged, this, &frmPlotFormation::pviCellEdited);
    connect(tblPvi, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!m_fillingTable) {
            m_selectedPvi = row;
            updateOverlay();
        }
    });
    connect(pbGraph, &FormationProfileView::resized, this, &frmPlotFormation::pbRefresh);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        StartChainage = std::int64_t(value) * m_columnMetres;
        pbRefresh();
    });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        appState().settings.FixedDatumValue = value;
        pbRefresh();
    });
    connect(chkCulvert, &QCheckBox::toggled, this, &frmPlotFormation::pbRefresh);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmPlotFormation::cmdUpdate_Click);
    connect(txtFC, &QLineEdit::returnPressed, this, &frmPlotFormation::cmdUpdate_Click);
    txtFC->installEventFilter(this);
}

EarthworkInputs frmPlotFormation::inputs() const
{
    const AppState& s = appState();
    EarthworkInputs in =
        earthworkInputsFor(s.settings, m_road, s.FormationCamber, s.CarriageCamber);
    in.skipUnready = true; // the tool's own rule: a road is designed a stretch at a time
    return in;
}

void frmPlotFormation::tell(const QString& text)
{
    prompts().tell(this, text, QMessageBox::Warning);
}

void frmPlotFormation::recomputeRoad(bool toolRule)
{
    EarthworkResult r;
    try {
        BusyCursor busy;
        EarthworkInputs in = inputs();
        in.skipUnready = toolRule;
        r = m_design.recompute(in);
    } catch (const Error& e) {
        tell(e.message());
        return;
    }
    tellWritten();
    showResult(r);
}

void frmPlotFormation::showResult(const EarthworkResult& r)
{
    VellGrid1->setUpdatesEnabled(false);
    if (!r.volumesDone)
        VellGrid1->setRowCount(0);
    if (r.volumesDone) {
        const QLocale grouped = groupedLocale(QLocale());
        // The cells of the rows there already take the new texts: a long road's thousands of
        // cells are not made again at every Update.
        const auto cell = [&](int row, int col, const QString& text, bool bold = false) {
            QTableWidgetItem* item = VellGrid1->item(row, col);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(col == 0 ? Qt::AlignCenter
                                                : Qt::AlignRight | Qt::AlignVCenter);
                VellGrid1->setItem(row, col, item);
            }
            if (item->font().bold() != bold) {
                QFont f = item->font();
                f.setBold(bold);
                item->setFont(f);
            }
            if (item->text() != text)
                item->setText(text);
        };
        const auto volume = [&](double v) { return grouped.toString(v, 'f', 2); };
        const auto& kms = r.volumes.kilometres;
        VellGrid1->setRowCount(int(kms.size()) + 1);
        for (int i = 0; i < int(kms.size()); ++i) {
            cell(i, 0, QString::number(kms[std::size_t(i)].number));
            cell(i, 1, volume(kms[std::size_t(i)].filling));
            cell(i, 2, volume(kms[std::size_t(i)].cutting));
        }
        const int all = int(kms.size());
        if (all > 0) // the total shows in the road's row alone (the road's row once)
            delete VellGrid1->takeItem(all - 1, 3);
        cell(all, 0, QStringLiteral("ALL"), true);
        cell(all, 1, volume(r.volumes.totalFill), true);
        cell(all, 2, volume(r.volumes.totalCut), true);
        cell(all, 3, volume(r.volumes.total()), true);
        VellGrid1->scrollToItem(VellGrid1->item(all, 0));
        m_document.noteQuantities(m_road, quantityTexts(r.volumes, QLocale()));
    }
    VellGrid1->setUpdatesEnabled(true);
    showSkipped(r);
    if (!r.error.isEmpty())
        tell(earthworkMessage(r));
}

void frmPlotFormation::showSkipped(const EarthworkResult& r)
{
    QStringList parts;
    if (r.notDesigned > 0)
        parts << (r.notDesigned == 1 ? tr("1 section without FC")
                                     : tr("%1 sections without FC").arg(r.notDesigned));
    if (r.notSurveyed > 0)
        parts << tr("%1 without ground").arg(r.notSurveyed);
    QString text = parts.join(QStringLiteral(", "));
    if (r.firstSkipped)
        text += tr("; first at %1").arg(plainDecimal(*r.firstSkipped));
    lblSkipped->setText(text);
}

void frmPlotFormation::pbRefresh()
{
    if (m_refreshing || !isVisible())
        return;
    m_refreshing = true;
    const FormationProfileFrame frame = pbGraph->frame();
    const AppState& s = appState();
    try {
        // The bar reaches the end of the road however wide the plot is now.
        const double last = m_source.data().maxChainage().value_or(0);
        {
            const QSignalBlocker quiet(HScroll1); // this is the redraw
            HScroll1->setMaximum(
                formation::lastScrollStep(last, frame.visibleSpan(), m_columnMetres));
            HScroll1->setPageStep(std::max(1, frame.columns() - 1));
        }
        StartChainage = std::int64_t(HScroll1->value()) * m_columnMetres;

        const std::optional<std::int64_t> fixed =
            s.settings.FixedDatum ? std::optional<std::int64_t>(s.settings.FixedDatumValue)
                                  : std::nullopt;
        const FormationProfileSource::Redraw redraw =
            m_source.load(frame, StartChainage, fixed, chkCulvert->isChecked());
        m_datum = redraw.drawing.datum;
        pbGraph->show(redraw.drawing);
        // The table is filled again only when the alignment changed: a redraw (a resize, say)
        // while a cell is being typed in keeps the typing.
        const std::vector<Pvi> stored = m_design.alignment(m_road);
        const std::vector<Pvi>& now = stored.empty() ? m_draft : stored;
        if (now != m_pvis || tblPvi->rowCount() != int(now.size())) {
            m_pvis = now;
            if (m_selectedPvi >= int(m_pvis.size()))
                m_selectedPvi = -1;
            fillPviTable();
        }

        // The picked row stays picked while it is there; otherwise the first row is current.
        if (!(m_markerShown && m_source.data().rowAt(CurrentChainage))) {
            const auto first = m_source.data().firstRow();
            CurrentChainage = first ? first->chainage : 0;
        }
        m_refreshing = false;
        ShowCurrent();
        tellOnce(redraw.message);
    } catch (const Error& e) {
        m_refreshing = false;
        tellOnce(e.message());
    }
}

void frmPlotFormation::tellOnce(const QString& message)
{
    // A resize or a scroll redraws many times over; what went wrong is said once, until a
    // redraw goes well or goes wrong differently.
    if (!message.isEmpty() && message != m_lastRedrawMessage)
        tell(message);
    m_lastRedrawMessage = message;
}

void frmPlotFormation::ShowCurrent()
{
    // The readouts always describe the picked section, designed or not; the marker stands on
    // its FC (or its ground while it has none) when it is in view.
    const std::optional<FormationProfileRow> row = m_source.data().rowAt(CurrentChainage);
    for (QLineEdit* box : {txtChainage, txtLeft, txtCentre, txtRight, txtFC, txtLeftDiff,
                           txtCentreDiff, txtRightDiff, txtGrad1, txtGrad2})
        box->clear();
    pbGraph->setMarker(std::nullopt);
    updateOverlay();
    if (!row)
        return;
    m_markerShown = true;
    txtChainage->setText(plainDecimal(row->chainage));
    txtLeft->setText(levelText(row->left));
    txtCentre->setText(levelText(row->centre));
    txtRight->setText(levelText(row->right));
    txtFC->setText(levelText(row->fc));
    const double end = double(StartChainage) + double(pbGraph->frame().visibleSpan());
    const std::optional<double> markLevel = row->fc ? row->fc : row->centre;
    if (markLevel && m_datum && row->chainage >= double(StartChainage) && row->chainage < end) {
        const FormationProfileFrame frame = pbGraph->frame();
        pbGraph->setMarker(QPointF(frame.x(row->chainage, double(StartChainage)),
                                   frame.y(*markLevel, double(*m_datum))));
    }
    if (!row->fc)
        return;
    const std::optional<FormationProfileRow> previous = m_source.data().rowBefore(*row);
    const formation::Readouts r = formation::readoutsFor(*row, previous);
    txtLeftDiff->setText(QString::number(r.leftDiff, 'f', 2));
    txtCentreDiff->setText(QString::number(r.centreDiff, 'f', 2));
    txtRightDiff->setText(QString::number(r.rightDiff, 'f', 2));
    txtGrad1->setText(r.oneIn ? QString::number(double(nearestEven(*r.oneIn))) : QString());
    txtGrad2->setText(r.percent ? QString::number(*r.percent, 'f', 2) : QString());
}

std::optional<double> frmPlotFormation::nearestSection(double chainage)
{
    const auto c = std::int64_t(std::floor(chainage));
    const std::optional<double> below = m_source.data().pickedChainage({c, false});
    const std::optional<double> above = m_source.data().pickedChainage({c, true});
    if (!below || !above)
        return below ? below : above;
    return chainage - *below <= *above - chainage ? below : above;
}

void frmPlotFormation::pickNear(double chainage)
{
    try {
        const std::optional<double> nearest = nearestSection(chainage);
        if (!nearest)
            return;
        if (m_markerShown)
            PreviousChainage = CurrentChainage;
        CurrentChainage = *nearest;
        // A section typed out of view brings the view to it.
        const double end = double(StartChainage) + double(pbGraph->frame().visibleSpan());
        if (*nearest < double(StartChainage) || *nearest >= end)
            HScroll1->setValue(int(std::floor(*nearest / double(m_columnMetres))));
        ShowCurrent();
    } catch (const Error& e) {
        tell(e.message());
        return;
    }
    txtFC->setFocus();
    txtFC->selectAll();
}

void frmPlotFormation::cmdUpdate_Click()
{
    try {
        if (!m_source.data().firstRow())
            return;
        const QString text = txtFC->text();
        if (!isNumeric(text) || leadingNumber(text) <= 0) {
            tell(FormationDesign::invalidLevelMessage());
            return;
        }
        const double fc = leadingNumber(text);
        if (!othersCommitted(m_road, tr("updating the formation")))
            return;
        const bool gradient = chkGradientMode->isChecked() && PreviousChainage != CurrentChainage;
        EarthworkResult r;
        FormationEdit edit;
        {
            BusyCursor busy;
            r = gradient ? m_design.setGrade(inputs(), PreviousChainage, CurrentChainage, fc, &edit)
                         : m_design.setLevel(inputs(), CurrentChainage, fc, &edit);
        }
        if (!edit.rows.empty()) {
            const QString step =
                gradient ? tr("Gradient %1 to %2")
                               .arg(plainDecimal(PreviousChainage), plainDecimal(CurrentChainage))
                         : tr("Update FC at %1").arg(plainDecimal(CurrentChainage));
            m_undo->push(new FormationUpdateCommand(
                m_undo, step, std::move(edit),
                [this](const FormationEdit& e, bool before) { return restoreEdit(e, before); }));
        }
        pbRefresh();
        tellWritten(); // first: the figures shown then are the ones just computed
        showResult(r);
    } catch (const Error& e) {
        tell(e.message());
    }
}

void frmPlotFormation::RestoreFC()
{
    m_undo->undo();
}

FormationUpdateCommand::Outcome frmPlotFormation::restoreEdit(const FormationEdit& edit,
                                                              bool before)
{
    using Outcome = FormationUpdateCommand::Outcome;
    if (!othersCommitted(m_road,
                         before ? tr("taking the update back") : tr("doing the update again")))
        return Outcome::HeldBack;
    EarthworkResult r;
    try {
        BusyCursor busy;
        r = m_design.restore(inputs(), edit, before);
    } catch (const Error& e) {
        tell((before ? tr("The update can't be taken back: %1")
                     : tr("The update can't be done again: %1"))
                 .arg(e.message()));
        return e.kind() == ErrorKind::Data ? Outcome::Refused : Outcome::HeldBack;
    }
    pbRefresh();
    tellWritten();
    showResult(r);
    return Outcome::Done;
}

void frmPlotFormation::MouseWheel(int delta)
{
    if (delta < 1)
        HScroll1->setValue(std::min(HScroll1->maximum(), HScroll1->value() + HScroll1->pageStep()));
    else
        HScroll1->setValue(std::max(HScroll1->minimum(), HScroll1->value() - HScroll1->pageStep()));
}

bool frmPlotFormation::eventFilter(QObject* watched, QEvent* event)
{
    // The picked row's FC box keeps the focus; while nothing is typed in it, Ctrl+Z and
    // Ctrl+Y are the window's undo and redo (Edit > Undo, Edit > Redo), not the box's.
    if (watched == txtFC && event->type() == QEvent::ShortcutOverride && !txtFC->isModified()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmPlotFormation::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_opened) {
        // The whole road once, when the tool opens; the changes after it need no more.
        m_opened = true;
        recomputeRoad(true);
    }
    pbRefresh(); // the plot's first resize may come before the window is visible
}

void frmPlotFormation::placeTables()
{
    // The PVI table shows in the alignment mode. Beside the quantities it needs a wide window;
    // in a narrow one (800 x 600) it takes their place, and the main window's status bar still
    // shows the totals.
    const bool aligning = chkAlignment->isChecked();
    tblPvi->setVisible(aligning);
    VellGrid1->setVisible(!aligning || width() >= 1000);
}

void frmPlotFormation::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeTables();
}

void frmPlotFormation::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0 && event->modifiers().testFlag(Qt::ControlModifier)) {
        // Ctrl with the wheel zooms around the chainage under the pointer.
        const QPointF at = pbGraph->mapFrom(this, event->position()) * kProfileTwipsPerPixel;
        zoomTo(formation::zoomedColumnMetres(m_columnMetres, delta > 0), chainageAtX(at.x()));
    } else if (delta != 0) {
        MouseWheel(delta);
    }
    event->accept();
}

} // namespace tarmela
