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

class ProjectDocument;

// The names the desktop program's windows read: the current road, the settings in force, the
// project connection and its shared record sets. They are the state of the open project's
// document (ProjectDocument), which owns them and tells the windows what changes; engine
// routines get the values they need as arguments.
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

// The open project's state: currentDocument().state().
AppState& appState();

// The project file under a program folder: <folder>/Data/Roads Info.sqlite.
QString projectPathIn(const QString& programFolder);

// Opens the project under the program folder as a new document that takes over the settings
// in force, and makes it the open project's. Throws Error with the engine's text when the
// database can't be opened; the open project stays as it was then.
void OpenProjectDatabase(const QString& programFolder);
// A new document on the project file at `path` (made there when no file exists) that takes
// over the settings and defaults in force; the open project is not touched. Throws Error with
// the engine's text (a foreign, damaged or newer file is refused as the batch tool refuses it).
std::unique_ptr<ProjectDocument> openProjectDocument(const QString& path);
// Closes the open project's record sets and connection (at the end, and between tests).
void CloseProjectDatabase();

// Reads every setting (the main window's geometry is applied to mainWindow) / writes them.
void LoadSettings(QWidget* mainWindow);
void SaveSettings(QWidget* mainWindow);

// Twips as the settings keep window geometry: 15 to the pixel.
constexpr double kTwipsPerPixel = 15.0;

} // namespace tarmela
