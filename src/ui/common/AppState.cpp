#include "ui/common/AppState.h"

#include "ui/common/ProjectDocument.h"

#include "store/Numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tarmela
{

AppState& appState()
{
    return currentDocument().state();
}

QString projectPathIn(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("Data/Roads Info.sqlite"));
}

std::unique_ptr<ProjectDocument> openProjectDocument(const QString& path)
{
    auto document = std::make_unique<ProjectDocument>();
    const AppState& old = appState();
    AppState& s = document->state();
    s.settings = old.settings;
    s.settingsStore = old.settingsStore;
    s.ReadingsPerSide = old.ReadingsPerSide;
    s.FormationCamber = old.FormationCamber;
    s.CarriageCamber = old.CarriageCamber;
    document->open(path);
    return document;
}

void OpenProjectDatabase(const QString& programFolder)
{
    replaceDocument(openProjectDocument(projectPathIn(programFolder)));
}

void CloseProjectDatabase()
{
    currentDocument().close();
}

void LoadSettings(QWidget* mainWindow)
{
    AppState& s = appState();
    s.settings = s.settingsStore.load();
    if (!mainWindow)
        return;
    const Settings& v = s.settings;
    QRect place(int(nearestEven(v.MainLeft / kTwipsPerPixel)),
                int(nearestEven(v.MainTop / kTwipsPerPixel)),
                int(nearestEven(v.MainWidth / kTwipsPerPixel)),
                int(nearestEven(v.MainHeight / kTwipsPerPixel)));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    const bool firstStart = !QFileInfo::exists(s.settingsStore.fileName());
    if (room.isValid()) {
        // On the first start the window takes most of the screen, rather than a small
        // default that leaves no room for a sheet; a place saved on a larger or another
        // screen is brought back onto this one.
        if (firstStart)
            place = QRect(0, 0, room.width() * 4 / 5, room.height() * 4 / 5);
        place.setSize(place.size().boundedTo(room.size()));
        if (!room.contains(place))
            place.moveTo(qBound(room.left(), place.left(), room.right() - place.width() + 1),
                         qBound(room.top(), place.top(), room.bottom() - place.height() + 1));
        if (firstStart)
            place.moveCenter(room.center());
    }
    mainWindow->move(place.topLeft());
    mainWindow->resize(place.size());
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

} // namespace tarmela
