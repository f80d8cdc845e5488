// Add and Delete on a data sheet: what they do depends on the sheet's kind. Adding or
// deleting a road runs the road's whole life cycle; culvert types go with the culverts
// placed with them.
#include "store/Culverts.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "store/Statements.h"
#include "store/Transaction.h"
#include "ui/common/AppState.h"
#include "ui/common/Prompts.h"
#include "ui/sheets/dlgAddCulvert.h"
#include "ui/sheets/dlgAddCulvertType.h"
#include "ui/sheets/frmDataGrid.h"

namespace tarmela
{

namespace
{
void tell(QWidget* parent, const QString& text)
{
    prompts().tell(parent, text, QMessageBox::Warning);
}
} // namespace

void frmDataGrid::add()
{
    switch (strCurrentDataSheet) {
    case SheetKind::CulvertTypes:
    case SheetKind::Culverts: {
        if (strCurrentDataSheet == SheetKind::Culverts) {
            dlgAddCulvert dlg(window());
            dlg.exec();
        } else {
            dlgAddCulvertType dlg(window());
            dlg.exec();
        }
        RefreshData();
        tellWritten(false);
        break;
    }
    case SheetKind::ReducedLevel:
    case SheetKind::LevelBook:
        appendSection();
        tellWritten(false);
        break;
    case SheetKind::RoadDetails:
        addRoad();
        break;
    case SheetKind::ChainageDistance:
        break; // one row per road, made with the road
    }
}

void frmDataGrid::remove()
{
    switch (strCurrentDataSheet) {
    case SheetKind::CulvertTypes:
        deleteCulvertTypes();
        break;
    case SheetKind::Culverts:
        deleteCulverts();
        tellWritten(false);
        break;
    case SheetKind::RoadDetails:
        deleteRoad();
        break;
    case SheetKind::ReducedLevel:
    case SheetKind::LevelBook:
        if (DeleteRecord())
            tellWritten(false);
        break;
    case SheetKind::ChainageDistance:
        break; // goes with its road
    }
}

void frmDataGrid::appendSection()
{
    AppState& s = appState();
    SaveBeforeAdd();
    try {
        const auto sheet = strCurrentDataSheet == SheetKind::LevelBook
                               ? statements::Sheet::LevelBook
                               : statements::Sheet::ReducedLevel;
        const std::int64_t id = roads::appendSection(db(), sheet, s.CurrentRoadID, s.RoadInterval);
        RefreshData();
        SeekRecord(id);
    } catch (const Error& e) {
        tell(this, e.message());
    }
}

void frmDataGrid::addRoad()
{
    try {
        // The road row, its two sheets and its cross distances are made together or not at all.
        RoadChanges values;
        values.length = 1;
        const std::int64_t id = roads::create(db(), values);
        RefreshData();
        SeekRecord(id);
        m_telling = true;
        m_document.noteRoadAdded(id);
        m_telling = false;
    } catch (const Error& e) {
        tell(this, e.message());
    }
}

void frmDataGrid::deleteRoad()
{
    if (SelectCountRow() > 1) {
        tell(this, tr("Select a single road at a time for deletion"));
        return;
    }
    const std::int64_t road = CurrentSelectedRecord();
    // Edits of the sheet are written before the deletion starts, so that a deletion that
    // fails and is rolled back takes nothing else with it.
    if (changed() && !Save())
        return;
    // The question says what goes with the road, which the sheet's row does not show.
    QString name = tr("this road");
    std::int64_t culverts = 0;
    try {
        const Road r = roads::get(db(), road);
        name = tr("the road %1 To %2").arg(r.from, r.to);
        culverts = tarmela::culverts::countOnRoad(db(), road);
    } catch (const Error&) {
        // The deletion itself reports what is wrong with the road's rows.
    }
    const QString goes =
        culverts == 0 ? tr("Its RL and LB sheets and its cross distances")
        : culverts == 1
            ? tr("Its RL and LB sheets, its cross distances and its culvert")
            : tr("Its RL and LB sheets, its cross distances and its %1 culverts").arg(culverts);
    const QString question =
        tr("Delete %1? %2 are deleted with it. This can't be undone.").arg(name, goes);
    // A deletion can't be undone: Enter answers No.
    if (prompts().ask(this, QString(), question,
                      QMessageBox::Yes | QMessageBox::No | kNoByDefault) != QMessageBox::Yes)
        return;
    // The road's other windows read its tables, which can't be dropped under them: they close
    // first, each asking about unsaved edits; one that stays keeps the road.
    if (!m_document.closeRoadWindows(road, parentWidget()))
        return;
    try {
        // The road's row goes with its tables, cross distances and culverts, or none of them.
        Transaction tx(db());
        if (!DeleteRecord({}, question, true))
            return;
        roads::remove(db(), road);
        tx.commit();
    } catch (const Error& e) {
        RefreshData(); // the row is back in the database
        tell(this, e.message());
        return;
    }
    m_telling = true;
    const QString problem = m_document.noteRoadRemoved(road);
    m_telling = false;
    if (!problem.isEmpty())
        tell(this, problem);
}

void frmDataGrid::deleteCulvertTypes()
{
    AppState& s = appState();
    if (changed() && !Save())
        return;
    try {
        // The types and the culverts placed with them go together.
        Transaction tx(db());
        if (!DeleteRecord())
            return;
        db().execute(statements::deleteCulvertsWithoutType());
        tx.commit();
    } catch (const Error& e) {
        RefreshData();
        tell(this, e.message());
        return;
    }
    try {
        s.CulvertTypesRecordset->requery();
        s.CulvertsRecordset->requery();
    } catch (const Error& e) {
        tell(this, e.message());
    }
    // The culverts of every road placed with the types went too.
    tellWritten(false);
    m_document.noteRowsWritten({0, ProjectDocument::Rows::Culverts, this, false});
}

void frmDataGrid::deleteCulverts()
{
    if (!DeleteRecord(statements::deleteCulvertTemplate()))
        return;
    try {
        appState().CulvertsRecordset->requery();
    } catch (const Error& e) {
        tell(this, e.message());
    }
}

} // namespace tarmela
