#include "ui/common/ProjectDocument.h"

#include "store/Error.h"
#include "store/Roads.h"
#include "store/Statements.h"
#include "ui/common/Prompts.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace tarmela
{

namespace
{

std::unique_ptr<ProjectDocument>& documentSlot()
{
    static std::unique_ptr<ProjectDocument> document;
    return document;
}

// The group a setting belongs to, by its stored key; the window geometry and the last road
// are the program's own and in none.
ProjectDocument::SettingsParts partOf(const QString& key)
{
    using Part = ProjectDocument::SettingsPart;
    if (key == QLatin1String("QuantityCalcMethod") || key == QLatin1String("VolumeFormula"))
        return Part::Method;
    if (key == QLatin1String("ViewSections"))
        return Part::Readings;
    if (key.startsWith(QLatin1String("Color")))
        return Part::Colours;
    if (key == QLatin1String("EnterRight") || key == QLatin1String("AutoSave") ||
        key == QLatin1String("AutoRefreshDWG"))
        return Part::Editing;
    if (key.startsWith(QLatin1String("Main")) || key == QLatin1String("LastRoadID"))
        return {};
    return Part::Drawing;
}

} // namespace

ProjectDocument::ProjectDocument(QObject* parent) : QObject(parent) {}

ProjectDocument::~ProjectDocument()
{
    close();
}

void ProjectDocument::open(const QString& path)
{
    AppState& s = m_state;
    close();
    s.DBPath = path;
    s.ProjectConnection = Database::open(s.DBPath);
    Database& db = *s.ProjectConnection;
    s.RoadsRecordset = std::make_unique<RecordSet>(db, QStringLiteral("Roads"));
    s.RoadsRecordset->open(statements::selectRoads());
    s.CulvertsRecordset = std::make_unique<RecordSet>(db, QStringLiteral("Culverts"));
    s.CulvertsRecordset->open(statements::selectCulverts(s.CurrentRoadID));
    s.CulvertTypesRecordset = std::make_unique<RecordSet>(db, QStringLiteral("CulvertTypes"));
    s.CulvertTypesRecordset->open(statements::selectCulvertTypes());
    s.CrossDistanceRecordset = std::make_unique<RecordSet>(db, QStringLiteral("ChDistance"));
}

void ProjectDocument::close()
{
    AppState& s = m_state;
    s.CrossDistanceRecordset.reset();
    s.CulvertTypesRecordset.reset();
    s.CulvertsRecordset.reset();
    s.RoadsRecordset.reset();
    s.ProjectConnection.reset();
}

QString ProjectDocument::chooseRoad(std::int64_t road)
{
    AppState& s = m_state;
    if (!s.ProjectConnection)
        throw Error(ErrorKind::Database, tr("The project database is not open."));
    const Road r = roads::get(*s.ProjectConnection, road);
    s.RoadsRecordset->requery();
    s.RoadsRecordset->moveFirst();
    s.RoadsRecordset->find(QStringLiteral("ID=") + QString::number(road));
    s.CurrentRoadID = road;
    s.RoadInterval = r.interval;
    s.FormationCamber = r.formationCamber / 100;
    s.CarriageCamber = r.carriageCamber / 100;
    QString warning;
    try {
        s.CulvertsRecordset->close();
        s.CulvertsRecordset->open(statements::selectCulverts(road));
        s.CrossDistanceRecordset->close();
        s.CrossDistanceRecordset->open(statements::selectCrossDistances(road));
    } catch (const Error& e) {
        warning = e.message();
    }
    emit currentRoadChanged(road);
    return warning;
}

bool ProjectDocument::drawingsFollow(const RowsWrite& write) const
{
    return !write.typed || (m_state.settings.AutoSave && m_state.settings.AutoRefreshDWG);
}

void ProjectDocument::rereadCurrentRoad()
{
    // The road details sheet may have changed the current road's interval or cambers, which
    // the next recomputation and the next added section use.
    AppState& s = m_state;
    if (s.CurrentRoadID < 1 || !s.ProjectConnection)
        return;
    try {
        const Road r = roads::get(*s.ProjectConnection, s.CurrentRoadID);
        s.RoadInterval = r.interval;
        s.FormationCamber = r.formationCamber / 100;
        s.CarriageCamber = r.carriageCamber / 100;
    } catch (const Error&) {
        // A row that can't be read keeps what was read when the road was chosen.
    }
}

void ProjectDocument::noteRowsWritten(const RowsWrite& write)
{
    if (write.rows == Rows::Roads)
        rereadCurrentRoad();
    emit rowsChanged(write);
}

void ProjectDocument::noteRoadAdded(std::int64_t road)
{
    if (m_state.RoadsRecordset)
        m_state.RoadsRecordset->requery();
    emit roadAdded(road);
}

QString ProjectDocument::noteRoadRemoved(std::int64_t road)
{
    // The list is read again before anyone hears of it; a failure there is not the deletion's.
    QString problem;
    try {
        if (m_state.RoadsRecordset)
            m_state.RoadsRecordset->requery();
    } catch (const Error& e) {
        problem = e.message();
    }
    const bool wasCurrent = road == m_state.CurrentRoadID;
    if (wasCurrent)
        m_state.CurrentRoadID = 0;
    emit roadRemoved(road);
    if (wasCurrent)
        emit currentRoadChanged(0);
    return problem;
}

void ProjectDocument::noteSettingsEdited(const Settings& before)
{
    SettingsParts parts;
    for (const QString& key : Settings::keys())
        if (before.text(key) != m_state.settings.text(key))
            parts |= partOf(key);
    if (parts)
        emit settingsChanged(parts);
}

void ProjectDocument::noteQuantities(std::int64_t road, const QuantityTexts& texts)
{
    emit quantitiesChanged(road, texts);
}

bool ProjectDocument::closeRoadWindows(std::int64_t road, const QWidget* except)
{
    return !m_closeRoadWindows || m_closeRoadWindows(road, except);
}

ProjectDocument& currentDocument()
{
    std::unique_ptr<ProjectDocument>& slot = documentSlot();
    if (!slot)
        slot = std::make_unique<ProjectDocument>();
    return *slot;
}

void replaceDocument(std::unique_ptr<ProjectDocument> document)
{
    documentSlot() = std::move(document);
}

bool chooseRoadOrTell(ProjectDocument& document, std::int64_t road, QWidget* messageParent)
{
    QString warning;
    try {
        warning = document.chooseRoad(road);
    } catch (const Error& e) {
        prompts().tell(messageParent, e.message(), QMessageBox::Warning);
        return false;
    }
    if (!warning.isEmpty())
        prompts().tell(messageParent, warning, QMessageBox::Warning);
    return true;
}

void closeHostWindow(QWidget* child)
{
    auto* frame = qobject_cast<QMdiSubWindow*>(child->parentWidget());
    (frame ? static_cast<QWidget*>(frame) : child)->close();
}

} // namespace tarmela
