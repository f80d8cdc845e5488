#include "ui/sheets/VellGrid.h"

#include "ui/sheets/SheetModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <set>

namespace tarmela
{

namespace
{
// Heights and widths of the grid, in pixels.
constexpr int kRowHeight = 20;
constexpr int kHeaderHeight = 35;
constexpr int kRowHeaderWidth = 25;
const QColor kFixedBack(255, 102, 51);
const QColor kSelectionBack(0, 128, 192);
} // namespace

VellGrid::VellGrid(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("VellGrid1"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setFrameShape(QFrame::Box);
    setTabKeyNavigation(true);
    setCornerButtonEnabled(true);
    // Pixel steps, so that a column scrolled under the frozen first column can be brought out.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* v = verticalHeader();
    v->setSectionResizeMode(QHeaderView::Fixed);
    v->setDefaultSectionSize(kRowHeight);
    v->setMinimumWidth(kRowHeaderWidth);
    v->setDefaultAlignment(Qt::AlignCenter);
    QHeaderView* h = horizontalHeader();
    h->setFixedHeight(kHeaderHeight);
    h->setDefaultAlignment(Qt::AlignCenter);
    h->setHighlightSections(false);
    v->setHighlightSections(false);
    QFont bold = h->font();
    bold.setBold(true);
    h->setFont(bold);
    v->setFont(bold);
    const QString fixed = QStringLiteral(
        "QHeaderView::section { background-color: rgb(255,102,51); color: white; font-weight: bold;"
        " border: none; border-right: 1px solid rgb(200,70,30); border-bottom: 1px solid "
        "rgb(200,70,30);"
        " padding: 0 3px; }");
    h->setStyleSheet(fixed);
    v->setStyleSheet(fixed);
    // The current cell is marked in the colour of an editable column.
    setStyleSheet(QStringLiteral("QTableView QTableCornerButton::section { background-color: "
                                 "rgb(255,102,51); border: none; }"
                                 "QTableView::item:focus { background-color: rgb(255,162,130); "
                                 "color: black; }"));

    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Highlight, kSelectionBack);
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::Inactive, QPalette::Highlight, kSelectionBack);
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::white);
    setPalette(pal);
    Q_UNUSED(kFixedBack);

    connect(v, &QHeaderView::sectionDoubleClicked, this, &VellGrid::rowHeaderDoubleClicked);
}

void VellGrid::setSheetModel(SheetModel* model)
{
    m_model = model;
    setModel(model);
}

void VellGrid::setFirstColumnFrozen(bool frozen)
{
    if (!frozen) {
        delete m_frozen;
        m_frozen = nullptr;
        return;
    }
    if (m_frozen || !m_model)
        return;
    // A second view of the same model and selection shows only the first column, laid over
    // the first column of this one. It never takes the focus: clicks select through the
    // shared selection and keys and editors stay with the grid.
    m_frozen = new QTableView(this);
    m_frozen->setObjectName(QStringLiteral("FrozenColumn"));
    m_frozen->setModel(m_model);
    m_frozen->setSelectionModel(selectionModel());
    m_frozen->setSelectionMode(selectionMode());
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->verticalHeader()->hide();
    m_frozen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->verticalHeader()->setDefaultSectionSize(kRowHeight);
    QHeaderView* h = m_frozen->horizontalHeader();
    h->setFixedHeight(kHeaderHeight);
    h->setFont(horizontalHeader()->font());
    h->setStyleSheet(horizontalHeader()->styleSheet());
    h->setHighlightSections(false);
    h->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setWordWrap(false);
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->setPalette(palette());
    m_frozen->setStyleSheet(QStringLiteral("QTableView { border: none; border-right: 2px solid "
                                           "rgb(255,102,51); }"));
    viewport()->stackUnder(m_frozen);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section) {
        if (section == 0)
            placeFrozenColumn();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &VellGrid::placeFrozenColumn);
    connect(m_frozen, &QAbstractItemView::pressed, this, [this] { setFocus(); });
    connect(m_frozen, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        setCurrentIndex(i);
        QAbstractItemView::edit(i);
    });
    placeFrozenColumn();
    m_frozen->show();
}

void VellGrid::placeFrozenColumn()
{
    if (!m_frozen || !m_model)
        return;
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_frozen->setColumnHidden(c, c != 0);
    if (m_model->columnCount() > 0)
        m_frozen->setColumnWidth(0, columnWidth(0));
    const int width = m_model->columnCount() > 0 ? columnWidth(0) + 2 : 0;
    m_frozen->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), width,
                          viewport()->height() + horizontalHeader()->height());
    m_frozen->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void VellGrid::showFrozenColumn(bool shown)
{
    if (m_frozen)
        m_frozen->setVisible(shown);
}

void VellGrid::updateGeometries()
{
    QTableView::updateGeometries();
    placeFrozenColumn();
}

void VellGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTableView::scrollTo(index, hint);
    // A cell right of the first column must not end up under the frozen copy of it.
    if (m_frozen && index.isValid() && index.column() > 0) {
        const int hidden = columnWidth(0) - visualRect(index).left();
        if (hidden > 0)
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
    }
}

void VellGrid::applyColumnWidths()
{
    if (!m_model)
        return;
    const int n = m_model->columnCount();
    // No caption is cut short: a column is at least as wide as its caption in bold.
    const QFontMetrics caption(horizontalHeader()->font());
    auto least = [&](int c) {
        return caption.horizontalAdvance(
                   m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) +
               14;
    };
    int fixedTotal = 0;
    int shares = 0;
    for (int c = 0; c < n; ++c) {
        if (m_model->column(c).widthPercent > 0)
            shares += m_model->column(c).widthPercent;
        else
            fixedTotal += std::max(m_model->column(c).width, least(c));
    }
    const int room = std::max(0, viewport()->width() - fixedTotal);
    for (int c = 0; c < n; ++c) {
        const GridColumn& gc = m_model->column(c);
        if (gc.widthPercent > 0)
            setColumnWidth(c,
                           std::max({100, least(c), room * gc.widthPercent / std::max(shares, 1)}));
        else
            setColumnWidth(c, std::max(gc.width, least(c)));
    }
    // Row numbers of a long sheet need more than the fixed column's default width.
    const int digits = QString::number(std::max(1, m_model->rowCount())).size();
    verticalHeader()->setFixedWidth(
        std::max(kRowHeaderWidth, fontMetrics().horizontalAdvance(QString(digits, '9')) + 12));
}

void VellGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (m_model)
        for (int c = 0; c < m_model->columnCount(); ++c)
            if (m_model->column(c).widthPercent > 0) {
                applyColumnWidths();
                break;
            }
}

void VellGrid::setCurrentCell(int row, int col)
{
    if (!m_model || row < 0 || col < 0 || row >= m_model->rowCount() ||
        col >= m_model->columnCount())
        return;
    const QModelIndex i = m_model->index(row, col);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    scrollTo(i);
}

int VellGrid::firstVisibleRow() const
{
    const int r = rowAt(0);
    return r < 0 ? 0 : r;
}

void VellGrid::setFirstVisibleRow(int row)
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    row = std::clamp(row, 0, m_model->rowCount() - 1);
    scrollTo(m_model->index(row, std::max(0, currentCol())), QAbstractItemView::PositionAtTop);
}

QRect VellGrid::block() const
{
    const QItemSelection sel = selectionModel() ? selectionModel()->selection() : QItemSelection();
    if (sel.isEmpty())
        return {};
    int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
    for (const QItemSelectionRange& r : sel) {
        top = std::min(top, r.top());
        left = std::min(left, r.left());
        bottom = std::max(bottom, r.bottom());
        right = std::max(right, r.right());
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

bool VellGrid::blockSelected() const
{
    const QRect b = block();
    return !b.isNull() && (b.width() > 1 || b.height() > 1);
}

QRect VellGrid::blockOrCurrent() const
{
    const QRect b = block();
    if (!b.isNull() || currentRow() < 0 || currentCol() < 0)
        return b;
    return QRect(currentCol(), currentRow(), 1, 1);
}

void VellGrid::commitOpenEditor()
{
    if (!editorOpen())
        return;
    for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (editor->isHidden()) // an editor closed before, not yet deleted
            continue;
        commitData(editor);
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        showFrozenColumn(true);
        return;
    }
}

QList<int> VellGrid::selectedRowList() const
{
    QList<int> rows;
    if (!selectionModel() || !m_model || m_model->columnCount() == 0)
        return rows;
    std::set<int> seen;
    for (const QItemSelectionRange& r : selectionModel()->selection())
        if (r.left() == 0 && r.right() == m_model->columnCount() - 1)
            for (int row = r.top(); row <= r.bottom(); ++row)
                seen.insert(row);
    for (int row : seen)
        rows << row;
    return rows;
}

QList<int> VellGrid::selectedColumnList() const
{
    QList<int> cols;
    if (!selectionModel() || !m_model || m_model->rowCount() == 0)
        return cols;
    std::set<int> seen;
    for (const QItemSelectionRange& r : selectionModel()->selection())
        if (r.top() == 0 && r.bottom() == m_model->rowCount() - 1)
            for (int c = r.left(); c <= r.right(); ++c)
                seen.insert(c);
    for (int c : seen)
        cols << c;
    return cols;
}

int VellGrid::nextEditableColumn(int from, int step) const
{
    for (int c = from + step; c >= 0 && c < m_model->columnCount(); c += step)
        if (m_model->cellEditable(c))
            return c;
    return -1;
}

void VellGrid::moveAfterEnter()
{
    const int row = currentRow(), col = currentCol();
    if (row < 0)
        return;
    if (!enterRight) {
        if (row + 1 < m_model->rowCount())
            setCurrentCell(row + 1, col);
        return;
    }
    const int next = nextEditableColumn(col, 1);
    if (next >= 0) {
        setCurrentCell(row, next);
    } else if (row + 1 < m_model->rowCount()) {
        const int first = nextEditableColumn(-1, 1);
        setCurrentCell(row + 1, first >= 0 ? first : 0);
    }
}

QModelIndex VellGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (m_model && (action == MoveNext || action == MovePrevious) && currentIndex().isValid()) {
        const int c = nextEditableColumn(currentCol(), action == MoveNext ? 1 : -1);
        return c >= 0 ? m_model->index(currentRow(), c) : currentIndex();
    }
    return QTableView::moveCursor(action, modifiers);
}

void VellGrid::keyPressEvent(QKeyEvent* event)
{
    if (!editorOpen()) {
        if (event->key() == Qt::Key_Delete) {
            emit deleteKeyPressed();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            moveAfterEnter();
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

bool VellGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool opened = QTableView::edit(index, trigger, event);
    // An editor of the first column opens in the grid itself, under the frozen copy: the
    // copy steps aside while it is open (the grid has scrolled it into view).
    if (opened && index.column() == 0)
        showFrozenColumn(false);
    if (opened && (trigger == EditKeyPressed || trigger == DoubleClicked)) {
        // F2 and double-click continue the cell's text rather than replace it.
        for (QLineEdit* le : viewport()->findChildren<QLineEdit*>()) {
            if (le->isHidden()) // an editor closed before, not yet deleted
                continue;
            le->deselect();
            le->end(false);
        }
    }
    return opened;
}

void VellGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    showFrozenColumn(true);
    if (hint == QAbstractItemDelegate::SubmitModelCache) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        moveAfterEnter();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

} // namespace tarmela
