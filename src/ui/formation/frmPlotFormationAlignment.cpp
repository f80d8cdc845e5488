// The formation tool's pointer and its alignment mode: the pointer's chainage and level in the
// status bar, picks in the normal mode, and in the alignment mode PVIs added by a click,
// moved by a drag, removed by Delete and edited in their table. Every change of the alignment
// writes FC from it and is one step on the undo stack.
#include "formation/FormationRules.h"
#include "formation/VerticalAlignment.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/ValueRanges.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Prompts.h"
#include "ui/formation/FormationProfileView.h"
#include "ui/formation/frmPlotFormation.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QUndoStack>
#include <algorithm>
#include <cmath>

namespace tarmela
{

namespace
{

// How near the pointer must come to a PVI to take it, twips (8 pixels).
constexpr double kPviReach = 120;

QString gradeText(const std::optional<double>& g)
{
    return g ? QString::number(*g * 100, 'f', 3) : QString();
}

// The PVI table's cells: Return and Enter commit the typed value at once, as Tab does. The
// standard delegate commits on Return only at a later turn of the event loop and lets the key
// go on to the window, so the value was not yet written when the next step ran.
class PviCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }
};

} // namespace

void frmPlotFormation::usePviCellDelegate()
{
    tblPvi->setItemDelegate(new PviCellDelegate(tblPvi));
}

double frmPlotFormation::chainageAtX(double xTwips) const
{
    return pbGraph->frame().chainageAt(xTwips, double(StartChainage));
}

std::optional<double> frmPlotFormation::levelAtY(double yTwips) const
{
    if (!m_datum)
        return std::nullopt;
    return pbGraph->frame().levelAt(yTwips, double(*m_datum));
}

void frmPlotFormation::plotPressed(QPointF twips)
{
    m_draggedPvi = -1;
    m_dragMoved = false;
    m_dragAt.reset();
    if (!chkAlignment->isChecked())
        return;
    if (!m_datum)
        return;
    const FormationProfileFrame frame = pbGraph->frame();
    for (int i = 0; i < int(m_pvis.size()); ++i) {
        const Pvi& p = m_pvis[std::size_t(i)];
        const QPointF at(frame.x(p.chainage, double(StartChainage)),
                         frame.y(p.level, double(*m_datum)));
        if (std::hypot(at.x() - twips.x(), at.y() - twips.y()) <= kPviReach) {
            m_draggedPvi = m_selectedPvi = i;
            updateOverlay();
            return;
        }
    }
}

void frmPlotFormation::plotMoved(QPointF twips)
{
    const std::optional<double> level = levelAtY(twips.y());
    lblPointer->setText(level ? tr("Chainage %1  Level %2")
                                    .arg(QString::number(chainageAtX(twips.x()), 'f', 1),
                                         QString::number(*level, 'f', 2))
                              : tr("Chainage %1").arg(chainageAtX(twips.x()), 0, 'f', 1));
    if (m_draggedPvi >= 0) {
        m_dragMoved = true;
        m_dragAt = twips;
        updateOverlay();
    }
}

void frmPlotFormation::plotReleased(QPointF twips)
{
    const int dragged = m_draggedPvi;
    const bool moved = m_dragMoved;
    m_draggedPvi = -1;
    m_dragMoved = false;
    m_dragAt.reset();
    if (!chkAlignment->isChecked()) {
        pickNear(chainageAtX(twips.x()));
        return;
    }
    if (dragged >= 0 && !moved)
        return; // a PVI selected
    const std::optional<double> level = levelAtY(twips.y());
    std::optional<double> chainage;
    try {
        chainage = nearestSection(chainageAtX(twips.x()));
    } catch (const Error& e) {
        tell(e.message());
        return;
    }
    if (!level || !chainage) {
        updateOverlay();
        return;
    }
    std::vector<Pvi> pvis = m_pvis;
    const double rounded = formation::d2(*level);
    if (dragged >= 0) {
        pvis[std::size_t(dragged)].chainage = *chainage;
        pvis[std::size_t(dragged)].level = rounded;
        editAlignment(std::move(pvis), tr("Move PVI to %1").arg(plainDecimal(*chainage)));
    } else {
        pvis.push_back({*chainage, rounded, 0});
        editAlignment(std::move(pvis), tr("Add PVI at %1").arg(plainDecimal(*chainage)));
    }
}

void frmPlotFormation::editAlignment(std::vector<Pvi> pvis, const QString& step)
{
    std::stable_sort(pvis.begin(), pvis.end(),
                     [](const Pvi& a, const Pvi& b) { return a.chainage < b.chainage; });
    const bool stored = !m_design.alignment(m_road).empty();
    if (pvis.size() < 2 && !stored) {
        // Not an alignment yet: kept in the window until the second PVI.
        m_draft = pvis;
        m_pvis = pvis;
        fillPviTable();
        updateOverlay();
        return;
    }
    if (!othersCommitted(m_road, tr("editing the alignment"))) {
        fillPviTable();
        return;
    }
    FormationEdit edit;
    EarthworkResult r;
    try {
        BusyCursor busy;
        if (pvis.size() < 2) {
            // The last grade removed: the alignment goes, its FC stays, the PVI left is a draft.
            m_design.clearAlignment(m_road, &edit);
            m_draft = pvis;
        } else {
            r = m_design.applyAlignment(inputs(), pvis, &edit);
            m_draft.clear();
        }
    } catch (const Error& e) {
        tell(e.message());
        fillPviTable();
        updateOverlay();
        return;
    }
    m_undo->push(new FormationUpdateCommand(
        m_undo, step, std::move(edit),
        [this](const FormationEdit& e, bool before) { return restoreEdit(e, before); }));
    pbRefresh();
    tellWritten(); // first: the figures shown then are the ones just computed
    if (r.ran)
        showResult(r);
}

void frmPlotFormation::removeSelectedPvi()
{
    if (m_selectedPvi < 0 || m_selectedPvi >= int(m_pvis.size()))
        return;
    std::vector<Pvi> pvis = m_pvis;
    const double at = pvis[std::size_t(m_selectedPvi)].chainage;
    pvis.erase(pvis.begin() + m_selectedPvi);
    m_selectedPvi = -1;
    editAlignment(std::move(pvis), tr("Remove PVI at %1").arg(plainDecimal(at)));
}

void frmPlotFormation::fillPviTable()
{
    m_fillingTable = true;
    const std::vector<formation::PviReadout> r = formation::alignmentReadouts(m_pvis);
    tblPvi->setRowCount(int(m_pvis.size()));
    for (int i = 0; i < int(m_pvis.size()); ++i) {
        const Pvi& p = m_pvis[std::size_t(i)];
        const formation::PviReadout& o = r[std::size_t(i)];
        const QString texts[] = {
            plainDecimal(p.chainage), QString::number(p.level, 'f', 3),
            plainDecimal(p.length),   gradeText(o.gradeIn),
            gradeText(o.gradeOut),    o.k ? QString::number(*o.k, 'f', 2) : QString()};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c >= 3)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            tblPvi->setItem(i, c, item);
        }
    }
    if (m_selectedPvi >= 0 && m_selectedPvi < tblPvi->rowCount())
        tblPvi->setCurrentCell(m_selectedPvi, std::max(0, tblPvi->currentColumn()));
    m_fillingTable = false;
}

void frmPlotFormation::pviCellEdited(int row, int column)
{
    if (m_fillingTable || row < 0 || row >= int(m_pvis.size()) || column > 2)
        return;
    const QString text = tblPvi->item(row, column)->text();
    const ValueRange& range = column == 0   ? ranges::kChainage
                              : column == 1 ? ranges::kLevel
                                            : ranges::kLength;
    const QString what = column == 0   ? tr("The PVI's chainage")
                         : column == 1 ? tr("The PVI's level")
                                       : tr("The curve length");
    double value = 0;
    const QString why = readValue(text, range, what, value);
    if (!why.isEmpty()) {
        tell(why);
        fillPviTable();
        return;
    }
    std::vector<Pvi> pvis = m_pvis;
    Pvi& p = pvis[std::size_t(row)];
    (column == 0 ? p.chainage : column == 1 ? p.level : p.length) = value;
    m_selectedPvi = row;
    editAlignment(std::move(pvis), tr("Edit PVI at %1").arg(plainDecimal(p.chainage)));
}

void frmPlotFormation::updateOverlay()
{
    FormationProfileView::Overlay o;
    const FormationProfileFrame frame = pbGraph->frame();
    const double start = double(StartChainage);
    const double end = start + double(frame.visibleSpan());
    if (m_markerShown && CurrentChainage >= start && CurrentChainage < end)
        o.pickedX = frame.x(CurrentChainage, start);
    if (chkAlignment->isChecked() && m_datum) {
        const double datum = double(*m_datum);
        for (int i = 0; i < int(m_pvis.size()); ++i) {
            const Pvi& p = m_pvis[std::size_t(i)];
            o.pvis.push_back(i == m_draggedPvi && m_dragAt
                                 ? *m_dragAt
                                 : QPointF(frame.x(p.chainage, start), frame.y(p.level, datum)));
        }
        o.selected = m_selectedPvi;
        if (formation::alignmentFault(m_pvis).isEmpty()) {
            // A point every metre of the view on the alignment, or every pixel when a pixel
            // is more than a metre.
            const double from = std::max(start, m_pvis.front().chainage);
            const double to = std::min(end, m_pvis.back().chainage);
            const double step = std::max(1.0, kProfileTwipsPerPixel / frame.chainageScale());
            for (double x = from; x <= to; x += step)
                o.alignment << QPointF(frame.x(x, start),
                                       frame.y(*formation::alignmentLevel(m_pvis, x), datum));
            if (to >= from && std::fmod(to - from, step) != 0)
                o.alignment << QPointF(frame.x(to, start),
                                       frame.y(*formation::alignmentLevel(m_pvis, to), datum));
        }
    }
    pbGraph->setOverlay(std::move(o));
}

void frmPlotFormation::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && chkAlignment->isChecked() && !txtFC->hasFocus() &&
        !txtChainage->hasFocus()) {
        if (tblPvi->hasFocus())
            m_selectedPvi = tblPvi->currentRow();
        removeSelectedPvi();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tarmela
