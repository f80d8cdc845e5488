// A data sheet and the project's document: the sheet tells what it wrote, and follows what
// others wrote to the rows it shows, the roads added and removed, the road chosen and the
// editing settings.
#include "sheets/SheetRows.h"
#include "ui/common/AppState.h"
#include "ui/sheets/SheetModel.h"
#include "ui/sheets/VellGrid.h"
#include "ui/sheets/frmDataGrid.h"

#include <QMdiSubWindow>

namespace tarmela
{

ProjectDocument::Rows frmDataGrid::rowsShown() const
{
    using Rows = ProjectDocument::Rows;
    switch (strCurrentDataSheet) {
    case SheetKind::RoadDetails:
        return Rows::Roads;
    case SheetKind::LevelBook:
        return Rows::LevelBook;
    case SheetKind::ReducedLevel:
        return Rows::ReducedLevels;
    case SheetKind::CulvertTypes:
        return Rows::CulvertTypes;
    case SheetKind::Culverts:
        return Rows::Culverts;
    case SheetKind::ChainageDistance:
        return Rows::CrossDistances;
    }
    return Rows::ReducedLevels;
}

bool frmDataGrid::closesWithRoad() const
{
    // The sheets opened on the current road's levels and culverts; the level book and the
    // cross distances name their road in the title and stay.
    return strCurrentDataSheet == SheetKind::Culverts ||
           strCurrentDataSheet == SheetKind::ReducedLevel;
}

void frmDataGrid::tellWritten(bool typed)
{
    m_telling = true;
    m_document.noteRowsWritten({RoadID, rowsShown(), this, typed});
    m_telling = false;
}

void frmDataGrid::followDocument()
{
    connect(this, &frmDataGrid::rowHeaderDoubleClicked, this, &frmDataGrid::DoubleClickHandler);
    connect(&m_document, &ProjectDocument::rowsChanged, this, &frmDataGrid::rowsWrittenElsewhere);
    connect(&m_document, &ProjectDocument::roadAdded, this, [this] {
        if (!m_telling && strCurrentDataSheet == SheetKind::RoadDetails && !changed())
            reloadRows();
    });
    connect(&m_document, &ProjectDocument::roadRemoved, this, &frmDataGrid::roadRemoved);
    connect(&m_document, &ProjectDocument::currentRoadChanged, this, [this] {
        if (closesWithRoad())
            closeHostWindow(this);
    });
    connect(&m_document, &ProjectDocument::settingsChanged, this,
            [this](ProjectDocument::SettingsParts parts) {
                if (parts.testFlag(ProjectDocument::SettingsPart::Editing))
                    m_grid->enterRight = appState().settings.EnterRight;
            });
}

void frmDataGrid::rowsWrittenElsewhere(const ProjectDocument::RowsWrite& write)
{
    if (m_telling || write.writer == this || write.rows != rowsShown())
        return;
    if (write.road != 0 && RoadID != 0 && write.road != RoadID)
        return; // another road's rows
    // A sheet holding edits the user kept unsaved is left as it is: a reload would drop them.
    if (!changed())
        reloadRows();
}

void frmDataGrid::roadRemoved(std::int64_t road)
{
    if (m_telling)
        return;
    if (strCurrentDataSheet == SheetKind::RoadDetails) {
        if (!changed())
            reloadRows();
        return;
    }
    if (RoadID != road)
        return;
    // The road's rows went with it: there is nothing left to show or to save.
    m_rows = sheets::SheetRows();
    showRows();
    closeHostWindow(this);
}

void frmDataGrid::DoubleClickHandler()
{
    if (strCurrentDataSheet != SheetKind::RoadDetails)
        return;
    const std::int64_t road = CurrentSelectedRecord();
    if (road < 1)
        return;
    // The sheet goes away first; it may ask about unsaved edits and stay.
    QWidget* messageParent = window();
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!(frame ? static_cast<QWidget*>(frame) : this)->close())
        return;
    chooseRoadOrTell(m_document, road, messageParent);
}

} // namespace tarmela
