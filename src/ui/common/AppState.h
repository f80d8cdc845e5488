#pragma once

#include "settings/Settings.h"
#include "store/Database.h"
#include "store/RecordSet.h"
#include "store/Schema.h"

#include <QString>
#include <cstdint>
#include <memory>

class QWidget;

namespace tarmela
{

// The desktop program's process-wide state: the current road, the settings in force, the
// project connection and its shared record sets. Windows read and change it; engine routines
// get the values they need as arguments.
struct AppState {
    std::int64_t CurrentRoadID = 0; // 0: no road chosen
    int RoadInterval = 0;
    double FormationCamber = 0.035; // fractions
    double CarriageCamber = 0.035;
    int ReadingsPerSide = kReadingsPerSide;
    QString DBPath;
    QString ViewSQL; // the statement the next data sheet opens
    int TransformType = -1;
    double TransformValue = 0;

    Settings settings;
    SettingsStore settingsStore;

    std::unique_ptr<Database> ProjectConnection;
    std::unique_ptr<RecordSet> RoadsRecordset;
    std::unique_ptr<RecordSet> CulvertsRecordset;
    std::unique_ptr<RecordSet> CulvertTypesRecordset;
    std::unique_ptr<RecordSet> CrossDistanceRecordset;
};

// The one instance.
AppState& appState();

// The project file under a program folder: <folder>/Data/Roads Info.sqlite.
QString projectPathIn(const QString& programFolder);

// Sets DBPath, opens the connection and the shared record sets. Throws Error with the
// engine's text when the database can't be opened.
void OpenProjectDatabase(const QString& programFolder);
// Closes the record sets and the connection (at the end, and between tests).
void CloseProjectDatabase();

// Reads every setting (the main window's geometry is applied to mainWindow) / writes them.
void LoadSettings(QWidget* mainWindow);
void SaveSettings(QWidget* mainWindow);

// Whether a window of that form (its object name, e.g. "frmPlotFormation") is open.
bool IsFormLoaded(const QString& formName);

// Twips as the settings keep window geometry: 15 to the pixel.
constexpr double kTwipsPerPixel = 15.0;

} // namespace tarmela
