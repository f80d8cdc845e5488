#include "ui/common/AppState.h"

#include "store/Numbers.h"
#include "store/Statements.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

namespace tarmela {

AppState& appState()
{
    static AppState state;
    return state;
}

QString projectPathIn(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("Data/Roads Info.sqlite"));
}

void OpenProjectDatabase(const QString& programFolder)
{
    AppState& s = appState();
    CloseProjectDatabase();
    s.DBPath = projectPathIn(programFolder);
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

void CloseProjectDatabase()
{
    AppState& s = appState();
    s.CrossDistanceRecordset.reset();
    s.CulvertTypesRecordset.reset();
    s.CulvertsRecordset.reset();
    s.RoadsRecordset.reset();
    s.ProjectConnection.reset();
}

void LoadSettings(QWidget* mainWindow)
{
    AppState& s = appState();
    s.settings = s.settingsStore.load();
    if (mainWindow) {
        const Settings& v = s.settings;
        mainWindow->move(int(nearestEven(v.MainLeft / kTwipsPerPixel)),
                         int(nearestEven(v.MainTop / kTwipsPerPixel)));
        mainWindow->resize(int(nearestEven(v.MainWidth / kTwipsPerPixel)),
                           int(nearestEven(v.MainHeight / kTwipsPerPixel)));
    }
}

void SaveSettings(QWidget* mainWindow)
{
    AppState& s = appState();
    // A minimised window would describe the icon, not the window the user arranged.
    if (mainWindow && !mainWindow->isMinimized()) {
        const QRect g = mainWindow->isMaximized() ? mainWindow->normalGeometry()
                                                  : QRect(mainWindow->pos(), mainWindow->size());
        s.settings.MainLeft = g.x() * kTwipsPerPixel;
        s.settings.MainTop = g.y() * kTwipsPerPixel;
        s.settings.MainWidth = g.width() * kTwipsPerPixel;
        s.settings.MainHeight = g.height() * kTwipsPerPixel;
    }
    s.settingsStore.save(s.settings);
}

bool IsFormLoaded(const QString& formName)
{
    const auto widgets = QApplication::allWidgets();
    for (const QWidget* w : widgets)
        if (w->objectName() == formName)
            return true;
    return false;
}

} // namespace tarmela
