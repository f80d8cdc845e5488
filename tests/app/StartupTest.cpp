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

TEST(Startup, OpeningCreatesTheProjectUnderTheProgramFolder)
{
    UiProgram t;
    EXPECT_EQ(appState().DBPath, t.dir.filePath("Data/Roads Info.sqlite"));
    EXPECT_TRUE(QFile::exists(appState().DBPath));
    ASSERT_TRUE(appState().RoadsRecordset);
    EXPECT_EQ(appState().RoadsRecordset->count(), 0);
    EXPECT_EQ(appState().CulvertsRecordset->count(), 0);
    EXPECT_EQ(appState().CurrentRoadID, 0);
}

TEST(Startup, MainWindowTakesItsPlaceFromTheSettingsAndSavesItOnClose)
{
    UiProgram t;
    {
        QSettings ini(t.dir.filePath("Tarmela.ini"), QSettings::IniFormat);
        ini.setValue("Settings/MainLeft", "1500");
        ini.setValue("Settings/MainTop", "1500");
        ini.setValue("Settings/MainWidth", "9000");
        ini.setValue("Settings/MainHeight", "6000");
        ini.setValue("Settings/ViewSections", "5");
    }
    frmMain w;
    LoadSettings(&w);
    EXPECT_EQ(w.pos(), QPoint(100, 100));
    EXPECT_EQ(w.size(), QSize(600, 400));
    EXPECT_EQ(appState().settings.ViewSections, 5);
    EXPECT_TRUE(w.mdiArea()->subWindowList().isEmpty());

    w.show();
    w.resize(640, 480);
    appState().settings.AutoSave = false; // changed in memory by a dialog
    EXPECT_TRUE(w.close());
    QSettings ini(t.dir.filePath("Tarmela.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Settings/MainWidth").toString(), "9600");
    EXPECT_EQ(ini.value("Settings/MainHeight").toString(), "7200");
    EXPECT_EQ(ini.value("Settings/AutoSave").toString(), "False");
}

TEST(Startup, TheMainWindowOpensOnTheScreenAtAUsefulSize)
{
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* left; // twips; nullptr: no settings file yet (the first start)
        const char* top;
    } cases[] = {{nullptr, nullptr}, {"90000", "90000"}, {"-90000", "-3000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left ? c.left : "first start");
        UiProgram t;
        if (c.left) {
            QSettings ini(t.dir.filePath("Tarmela.ini"), QSettings::IniFormat);
            ini.setValue("Settings/MainLeft", c.left);
            ini.setValue("Settings/MainTop", c.top);
        }
        frmMain w;
        LoadSettings(&w);
        EXPECT_TRUE(room.contains(QRect(w.pos(), w.size())));
        if (!c.left) {
            EXPECT_GE(w.width(), room.width() * 3 / 4);
        }
    }
}

TEST(Startup, TheRoadCurrentAtCloseIsCurrentAgainWhileItExists)
{
    UiProgram t;
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
