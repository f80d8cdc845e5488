#include "app/frmMain.h"
#include "store/Roads.h"
#include "support/TestProject.h"
#include "support/UiProgram.h"
#include "ui/common/AppState.h"

#include <QFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QSettings>
#include <gtest/gtest.h>

using namespace tarmela;
using tarmela::test::UiProgram;

// The main window's place comes from the settings (in twips), kept on the screen and at a
// useful size at the first start; the settings changed in memory are saved as it closes.
TEST(Startup, TheMainWindowTakesItsPlaceFromTheSettingsOnTheScreenAndSavesItOnClose)
{
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    // The place in the settings (left, top, width, height; none: no settings file yet) and
    // where the window stands (an empty rectangle: anywhere on the screen).
    const std::pair<QStringList, QRect> cases[] = {
        {{}, {}},
        {{"1500", "1500", "9000", "6000"}, {100, 100, 600, 400}},
        {{"90000", "90000"}, {}},
        {{"-90000", "-3000"}, {}}};
    for (const auto& [place, at] : cases) {
        SCOPED_TRACE(place.join(' ').toStdString());
        UiProgram t;
        if (!place.isEmpty()) {
            QSettings ini(t.dir.filePath("Tarmela.ini"), QSettings::IniFormat);
            for (int i = 0; i < place.size(); ++i)
                ini.setValue(QStringList{"Settings/MainLeft", "Settings/MainTop",
                                         "Settings/MainWidth", "Settings/MainHeight"}[i],
                             place[i]);
            ini.setValue("Settings/ViewSections", "5");
        }
        frmMain w;
        LoadSettings(&w);
        EXPECT_TRUE(room.contains(QRect(w.pos(), w.size())));
        EXPECT_TRUE(at.isEmpty() || QRect(w.pos(), w.size()) == at);
        EXPECT_TRUE(!place.isEmpty() || w.width() >= room.width() * 3 / 4);
        EXPECT_EQ(appState().settings.ViewSections, place.isEmpty() ? Settings{}.ViewSections : 5);
        EXPECT_TRUE(w.mdiArea()->subWindowList().isEmpty());
    }
    UiProgram t;
    frmMain w;
    w.show();
    w.resize(640, 480);
    appState().settings.AutoSave = false; // changed in memory by a dialog
    EXPECT_TRUE(w.close());
    QSettings ini(t.dir.filePath("Tarmela.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Settings/MainWidth").toString(), "9600");
    EXPECT_EQ(ini.value("Settings/MainHeight").toString(), "7200");
    EXPECT_EQ(ini.value("Settings/AutoSave").toString(), "False");
}

TEST(Startup, TheProjectIsUnderTheProgramFolderAndTheRoadCurrentAtCloseIsCurrentAgain)
{
    UiProgram t;
    EXPECT_EQ(appState().DBPath, t.dir.filePath("Data/Roads Info.sqlite"));
    EXPECT_TRUE(QFile::exists(appState().DBPath));
    test::makeRoad(t.db(), "Ranipur", "Kalaghat");
    const std::int64_t road = test::makeRoad(t.db(), "Ranipur", "Kalaghat");
    {
        frmMain w;
        ASSERT_TRUE(w.ChooseRoad(road));
        EXPECT_TRUE(w.close());
    }
    for (const bool deleted : {false, true}) {
        appState().CurrentRoadID = 0; // as a new start of the program
        if (deleted)
            roads::remove(t.db(), road);
        frmMain w;
        LoadSettings(&w);
        w.reopenLastRoad();
        EXPECT_EQ(appState().CurrentRoadID, deleted ? 0 : road);
        EXPECT_EQ(w.statusPanel(1), deleted ? "" : "Ranipur To Kalaghat");
        EXPECT_TRUE(t.told.empty());
    }
}
