#include "ui/sheets/frmDataGrid.h"

#include "store/Error.h"
#include "store/Statements.h"
#include "store/Transaction.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Prompts.h"
#include "ui/sheets/SheetModel.h"
#include "ui/sheets/VellGrid.h"

#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

namespace tarmela
{

namespace
{
const QColor kLockedColumn(255, 102, 51);
const QColor kUnlockedColumn(255, 162, 130);

void tell(QWidget* parent, const QString& text)
{
    prompts().tell(parent, text, QMessageBox::Warning);
}
} // namespace

frmDataGrid::frmDataGrid(SheetKind kind, QWidget* parent)
    : QWidget(parent), strCurrentDataSheet(kind), m_document(currentDocument())
{
    setObjectName(QStringLiteral("frmDataGrid"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Two edits can be taken back, newest first.
    m_undo = new QUndoStack(this);
    m_undo->setUndoLimit(2);
    m_model = new SheetModel(m_rows, this);
    m_grid = new VellGrid(this);
    m_grid->setSheetModel(m_model);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);

    m_model->onCellEdited = [this](int row, int col, const QVariant& old) {
        recordEdit(tr("Typing in %1").arg(cellPlace(row, col)), QRect(col, row, 1, 1), {old});
    };
    m_model->onRefused = [this](const QString& why) {
        ++m_refusals;
        // Shown after the editor has closed, so the message box doesn't fight the editor.
        QTimer::singleShot(0, this, [this, why] { tell(this, why); });
    };
    connect(m_grid, &VellGrid::deleteKeyPressed, this, &frmDataGrid::deleteKey);
    connect(m_grid, &VellGrid::rowHeaderDoubleClicked, this,
            [this](int) { emit rowHeaderDoubleClicked(this); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                if (previous.isValid())
                    currentRowLeft();
            });
    followDocument();
}

frmDataGrid::~frmDataGrid()
{
    // The grid goes first: while it is taken down it reports row changes, which must not
    // reach a sheet whose rows are already gone.
    QObject::disconnect(m_grid->selectionModel(), nullptr, this, nullptr);
    delete m_grid;
    m_model->onCellEdited = nullptr;
    m_model->onRefused = nullptr;
}

Database& frmDataGrid::db()
{
    if (!appState().ProjectConnection)
        throw Error(ErrorKind::Database, QStringLiteral("The project database is not open."));
    return *appState().ProjectConnection;
}

void frmDataGrid::Load(const QString& statement)
{
    BusyCursor busy;
    m_rows.load(db(), statement);
    m_filter = {};
    m_filterText.clear();
    m_model->rowsReset(visibleRows());
    m_grid->enterRight = appState().settings.EnterRight;
    m_grid->applyColumnWidths();
    m_undo->clear();
}

std::vector<int> frmDataGrid::visibleRows() const
{
    return m_filter.apply(m_rows);
}

void frmDataGrid::DeleteCols(int first, int count)
{
    if (first < 0 || count < 1)
        return;
    // Only trailing columns are hidden by the layouts; anything after them goes too.
    m_model->setShownColumns(std::min(first, m_model->shownColumns()));
    m_grid->applyColumnWidths();
}

void frmDataGrid::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active)
        emit sheetActivated(this);
    else
        emit sheetDeactivated(this);
}

void frmDataGrid::MouseWheel(int delta)
{
    const int rows = m_model->rowCount();
    const int first = m_grid->firstVisibleRow();
    if (delta < 1) {
        if (first < rows - 2)
            m_grid->setFirstVisibleRow(first + 2);
    } else if (first >= 2) {
        m_grid->setFirstVisibleRow(first - 2);
    }
}

ChildCommands frmDataGrid::enabledCommands() const
{
    ChildCommands offered = ChildCommand::Save | ChildCommand::Cut | ChildCommand::Copy |
                            ChildCommand::Paste | ChildCommand::Transform | ChildCommand::Add |
                            ChildCommand::Delete | ChildCommand::Filter |
                            ChildCommand::LockColumns | ChildCommand::Refresh;
    if (csvSheet())
        offered |= ChildCommand::ImportCsv | ChildCommand::ExportCsv;
    return offered;
}

bool frmDataGrid::wheel(int delta)
{
    if (delta == 0)
        return false;
    MouseWheel(delta);
    return true;
}

void frmDataGrid::save()
{
    Save();
}

void frmDataGrid::copy()
{
    copyBlock(false, true);
}

void frmDataGrid::cut()
{
    editCells([this] {
        copyBlock(true, true);
        return true;
    });
}

void frmDataGrid::paste()
{
    editCells([this] {
        pasteClipboard();
        return true;
    });
}

void frmDataGrid::transform()
{
    // A single cell is a block of one: the current cell when no block is selected.
    if (m_grid->blockOrCurrent().isNull())
        return;
    editCells([this] { return transformBlock(); });
}

void frmDataGrid::editCells(const std::function<bool()>& edit)
{
    m_grid->setRedraw(false);
    m_refused.clear();
    const bool acted = edit();
    m_grid->setRedraw(true);
    reportRefused();
    if (acted)
        afterChange();
}

void frmDataGrid::afterChange()
{
    // A save tells the document, and the drawings follow it as the settings say.
    if (appState().settings.AutoSave && changed())
        Save();
}

void frmDataGrid::currentRowLeft()
{
    if (appState().settings.AutoSave && changed())
        afterChange();
}

bool frmDataGrid::Save()
{
    if (!changed())
        return true;
    try {
        BusyCursor busy;
        m_rows.save(db());
    } catch (const sheets::SaveError& e) {
        const int gridRow = m_model->gridRowOf(e.row);
        tell(this, e.message + QLatin1Char('\n') +
                       QStringLiteral("Error encountered while updating row ") +
                       QString::number((gridRow >= 0 ? gridRow : e.row) + 1));
        return false;
    } catch (const Error& e) {
        tell(this, e.message());
        return false;
    }
    m_grid->viewport()->update();
    tellWritten(true);
    return true;
}

void frmDataGrid::SaveBeforeAdd()
{
    if (changed())
        Save();
}

std::int64_t frmDataGrid::CurrentSelectedRecord()
{
    const QList<int> rows = m_grid->selectedRowList();
    if (rows.isEmpty())
        return 0;
    const std::int64_t id = m_rows.id(m_model->sheetRow(rows.front()));
    return id < 0 ? 0 : id;
}

void frmDataGrid::SeekRecord(std::int64_t id)
{
    if (m_rows.rowCount() == 0)
        return;
    const int row = m_model->gridRowOf(m_rows.rowOfId(id));
    if (row >= 0)
        m_grid->setCurrentCell(row, 0);
}

void frmDataGrid::LockColumns()
{
    const QList<int> cols = m_grid->selectedColumnList();
    if (cols.isEmpty()) {
        tell(this, QStringLiteral("Select a column by clicking on the column header to lock it"));
        return;
    }
    for (int c : cols) {
        GridColumn& gc = m_model->column(c);
        gc.enabled = !gc.enabled;
        gc.backColor = gc.enabled ? kUnlockedColumn : kLockedColumn;
    }
    m_model->refreshColumns();
}

int frmDataGrid::SelectCountRow() const
{
    return m_grid->selectedRowList().size();
}

bool frmDataGrid::DeleteRecord(const QString& statementTemplate, const QString& question,
                               bool confirmed)
{
    const QList<int> rows = m_grid->selectedRowList();
    const int n = rows.size();
    if (n < 1) {
        tell(this, QStringLiteral("No records selected. Select one or more records for deletion!"));
        return false;
    }
    const QString text =
        question.isEmpty() ? QStringLiteral("Surely delete %1 record(s) from the database?").arg(n)
                           : question;
    // A deletion can't be undone: Enter answers No.
    if (!confirmed &&
        prompts().ask(this, QString(), text, QMessageBox::Yes | QMessageBox::No | kNoByDefault) !=
            QMessageBox::Yes)
        return false;
    // Unsaved edits are written first; if they can't be, nothing is deleted (and nothing lost).
    if (changed() && !Save())
        return false;
    std::vector<std::int64_t> ids;
    for (int r : rows)
        ids.push_back(m_rows.id(m_model->sheetRow(r)));
    try {
        BusyCursor busy;
        if (statementTemplate.isEmpty()) {
            m_rows.removeIds(db(), ids);
        } else {
            Transaction tx(db());
            for (std::int64_t id : ids)
                db().execute(statements::forId(statementTemplate, id));
            tx.commit();
            m_rows.reload(db());
        }
    } catch (const Error& e) {
        tell(this, e.message());
        return false;
    }
    showRows();
    return true;
}

void frmDataGrid::RefreshData()
{
    // A requery would drop edits not yet written; write them first.
    if (changed() && !Save())
        return;
    reloadRows();
}

bool frmDataGrid::FilterData(const QString& filter, QWidget* messageParent)
{
    sheets::SheetFilter parsed;
    try {
        parsed = sheets::SheetFilter::parse(filter, m_rows);
    } catch (const Error& e) {
        tell(messageParent ? messageParent : this, e.message());
        return false;
    }
    m_filter = parsed;
    m_filterText = filter;
    showRows();
    return true;
}

void frmDataGrid::showRows()
{
    m_model->rowsReset(visibleRows());
    m_grid->applyColumnWidths();
    // The undo steps point at grid cells that may now hold other rows.
    m_undo->clear();
    updateTitle();
}

void frmDataGrid::setBaseTitle(const QString& title)
{
    m_baseTitle = title;
    updateTitle();
}

void frmDataGrid::setCopyNumber(int n)
{
    m_copyNumber = n;
    updateTitle();
}

void frmDataGrid::updateTitle()
{
    // A filter can hide most of a sheet: the title says so, lest rows seem lost.
    QString title = m_baseTitle;
    if (m_copyNumber > 1)
        title += QStringLiteral(":%1").arg(m_copyNumber);
    // The filter goes in as it is, not through arg(): a value such as '%1*0%' would take the
    // counts' places.
    if (!m_filterText.trimmed().isEmpty())
        title += tr(" — filter ") + m_filterText.trimmed() +
                 tr(": %1 of %2 rows shown").arg(m_model->rowCount()).arg(m_rows.rowCount());
    setWindowTitle(title);
}

bool frmDataGrid::commitEdits(std::int64_t road, const QString& before)
{
    if (RoadID != 0 && RoadID != road)
        return true; // another road's sheet: the work does not read it
    const int refusals = m_refusals;
    m_grid->commitOpenEditor();
    if (m_refusals != refusals)
        return false; // the value being typed was refused (and the user is told why)
    if (!changed())
        return true;
    if (appState().settings.AutoSave)
        return Save();
    // No keeps the edits in the sheet, unsaved: the work goes on with the stored values.
    const auto answer = prompts().ask(
        this, QStringLiteral("Save Changes"),
        tr("The %1 has changes that are not saved. Save them before %2? No goes on without "
           "them and leaves them unsaved in the sheet.")
            .arg(m_baseTitle, before),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        return Save();
    return answer == QMessageBox::No;
}

void frmDataGrid::reloadRows()
{
    const int row = m_grid->currentRow(), col = m_grid->currentCol();
    try {
        BusyCursor busy;
        m_rows.reload(db());
        m_filter = sheets::SheetFilter::parse(m_filterText, m_rows);
    } catch (const Error& e) {
        m_filter = {};
        m_filterText.clear();
        tell(this, e.message());
    }
    showRows();
    if (row >= 0 && m_model->rowCount() > 0)
        m_grid->setCurrentCell(std::min(row, m_model->rowCount() - 1), std::max(col, 0));
}

void frmDataGrid::closeEvent(QCloseEvent* event)
{
    // A value still being typed is an edit like any other: it goes into the sheet first, so
    // that closing asks about it (and a refused one keeps the sheet open, the user told why).
    const int refusals = m_refusals;
    m_grid->commitOpenEditor();
    if (m_refusals != refusals) {
        event->ignore();
        return;
    }
    if (changed()) {
        // The question names the sheet: with several sheets of several roads open, "the db"
        // alone does not say which edits are at stake.
        const auto answer = prompts().ask(
            this, QStringLiteral("Save Changes"),
            tr("The %1 has changed since it was last saved. Do you wish to save changes "
               "before closing?")
                .arg(m_baseTitle.isEmpty() ? tr("sheet") : m_baseTitle),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !Save())) {
            event->ignore();
            return;
        }
    }
    setActive(false);
    event->accept();
}

} // namespace tarmela
