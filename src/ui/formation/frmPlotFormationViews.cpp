// The formation tool's views of the profile: zooming along the chainage (the bar's buttons,
// Ctrl++ and Ctrl+-, Ctrl with the wheel, the main toolbar's Zoom In and Zoom Out), the whole
// road or a stretch fitted to the window (Ctrl+0, Ctrl+F), and the vertical exaggeration.
#include "formation/FormationRules.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/formation/FormationProfileView.h"
#include "ui/formation/frmPlotFormation.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace tarmela
{

QWidget* frmPlotFormation::buildViewBar()
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("viewBar"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);
    const auto button = [&](const char* name, const QString& text, const QKeySequence& keys,
                            void (frmPlotFormation::*slot)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        QList<QKeySequence> all{keys};
        // Ctrl+= too: the + of most keyboards needs Shift.
        if (keys == QKeySequence(QKeySequence::ZoomIn))
            all << QKeySequence(Qt::CTRL | Qt::Key_Equal);
        a->setShortcuts(all);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        a->setToolTip(QStringLiteral("%1 (%2)").arg(text, keys.toString(QKeySequence::NativeText)));
        addAction(a);
        connect(a, &QAction::triggered, this, slot);
        auto* b = new QToolButton(bar);
        b->setDefaultAction(a);
        row->addWidget(b);
    };
    button("actFitRoad", tr("Fit Road"), QKeySequence(Qt::CTRL | Qt::Key_0),
           &frmPlotFormation::fitRoad);
    button("actFitStretch", tr("Fit Stretch"), QKeySequence(Qt::CTRL | Qt::Key_F),
           &frmPlotFormation::fitStretch);
    button("actZoomIn", tr("Zoom In"), QKeySequence::ZoomIn, &frmPlotFormation::zoomIn);
    button("actZoomOut", tr("Zoom Out"), QKeySequence::ZoomOut, &frmPlotFormation::zoomOut);
    lblScale = new QLabel(bar);
    lblScale->setObjectName(QStringLiteral("lblScale"));
    lblScale->setText(tr("%1 m a column").arg(m_columnMetres));
    row->addWidget(lblScale);
    row->addSpacing(8);
    row->addWidget(new QLabel(tr("Vertical exaggeration"), bar));
    spnExaggeration = new QDoubleSpinBox(bar);
    spnExaggeration->setObjectName(QStringLiteral("spnExaggeration"));
    spnExaggeration->setDecimals(0);
    spnExaggeration->setRange(1, 1000);
    spnExaggeration->setPrefix(QStringLiteral("\u00d7"));
    spnExaggeration->setValue(m_exaggeration);
    spnExaggeration->setKeyboardTracking(false); // typed digits count at Enter, not each one
    connect(spnExaggeration, &QDoubleSpinBox::valueChanged, this,
            &frmPlotFormation::setExaggeration);
    row->addWidget(spnExaggeration);
    row->addStretch();
    return bar;
}

void frmPlotFormation::applyView(std::int64_t columnMetres, double exaggeration, std::int64_t start,
                                 bool keepPickedLevel)
{
    m_columnMetres = std::max<std::int64_t>(1, columnMetres);
    m_exaggeration = std::clamp(exaggeration, 1.0, 1000.0);
    pbGraph->setScales(m_columnMetres, m_exaggeration);
    lblScale->setText(tr("%1 m a column").arg(m_columnMetres));
    {
        const QSignalBlocker quiet(spnExaggeration);
        spnExaggeration->setValue(m_exaggeration);
    }
    const FormationProfileFrame frame = pbGraph->frame();
    double last = 0;
    try {
        last = m_source.data().maxChainage().value_or(0);
        // A fixed datum would leave the profile out of sight at a larger scale: it moves so
        // that the picked section's level stays at the middle of the plot's height.
        const std::optional<FormationProfileRow> row =
            m_markerShown ? m_source.data().rowAt(CurrentChainage) : std::nullopt;
        // A plain value with a flag: GCC takes the optional's value for one that may be unset.
        const std::optional<double> picked = row ? (row->fc ? row->fc : row->centre) : std::nullopt;
        const bool hasLevel = picked.has_value();
        const double level = picked.value_or(0);
        if (keepPickedLevel && appState().settings.FixedDatum && hasLevel) {
            const QSignalBlocker quiet(VScroll1);
            VScroll1->setValue(int(std::floor(
                level - (frame.height - 600) / frame.levelScale() / 2 + frame.rowMetres())));
            appState().settings.FixedDatumValue = VScroll1->value();
        }
    } catch (const Error& e) {
        tell(e.message());
    }
    const QSignalBlocker quiet(HScroll1);
    HScroll1->setMaximum(formation::lastScrollStep(last, frame.visibleSpan(), m_columnMetres));
    HScroll1->setValue(
        int(std::clamp<std::int64_t>(start / m_columnMetres, 0, HScroll1->maximum())));
    StartChainage = std::int64_t(HScroll1->value()) * m_columnMetres;
    pbRefresh();
}

void frmPlotFormation::zoomTo(std::int64_t columnMetres, std::optional<double> around)
{
    const double span = double(pbGraph->frame().visibleSpan());
    const double start = double(StartChainage);
    if (!around)
        around = m_markerShown && CurrentChainage >= start && CurrentChainage < start + span
                     ? CurrentChainage
                     : start + span / 2;
    // The chainage `around` stays where it is on the screen.
    const double share = span > 0 ? (*around - start) / span : 0.5;
    FormationProfileFrame next = pbGraph->frame();
    next.columnMetres = columnMetres;
    const double newStart = *around - share * double(next.visibleSpan());
    applyView(columnMetres, m_exaggeration,
              std::int64_t(std::floor(std::max(0.0, newStart) / double(columnMetres))) *
                  columnMetres);
}

void frmPlotFormation::setExaggeration(double exaggeration)
{
    applyView(m_columnMetres, exaggeration, StartChainage);
}

void frmPlotFormation::fitRoad()
{
    try {
        const auto first = m_source.data().firstRow();
        if (first)
            fitTo(first->chainage, m_source.data().maxChainage().value_or(first->chainage));
    } catch (const Error& e) {
        tell(e.message());
    }
}

void frmPlotFormation::fitStretch()
{
    if (!m_markerShown || PreviousChainage == CurrentChainage) {
        tell(tr("Pick the two ends of the stretch first: click the profile at one end, then at "
                "the other"));
        return;
    }
    fitTo(std::min(PreviousChainage, CurrentChainage), std::max(PreviousChainage, CurrentChainage));
}

void frmPlotFormation::fitTo(double from, double to)
{
    const FormationProfileFrame frame = pbGraph->frame();
    const formation::FittedView v = formation::fittedView(from, to, frame.columns());
    double exaggeration = m_exaggeration;
    try {
        BusyCursor busy;
        std::optional<double> low, high;
        for (const FormationProfileRow& r : m_source.data().rowsIn(from, to + 1e-6))
            for (const auto& level : {r.left, r.centre, r.right, r.fc})
                if (level && *level > 0) {
                    low = std::min(low.value_or(*level), *level);
                    high = std::max(high.value_or(*level), *level);
                }
        if (low) {
            exaggeration =
                formation::fittedExaggeration(*low, *high, frame.height - 600, v.columnMetres);
            // A fixed datum moves to the stretch's lowest level, or the fit would show nothing.
            if (appState().settings.FixedDatum) {
                const QSignalBlocker quiet(VScroll1);
                VScroll1->setValue(int(std::floor(*low)));
                appState().settings.FixedDatumValue = VScroll1->value();
            }
        }
    } catch (const Error& e) {
        tell(e.message());
        return;
    }
    applyView(v.columnMetres, exaggeration, v.startChainage, false);
}

} // namespace tarmela
