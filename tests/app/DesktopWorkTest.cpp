// The desktop program's own project files, CSV files and the page margins, driven by keys
// and clicks as a user meets them.
#include "ShownMain.h"
#include "sheets/SampleRoad.h"
#include "store/Roads.h"
#include "support/TestProject.h"
#include "ui/common/DesktopMemory.h"
#include "ui/common/dlgPageSetup.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace tarmela;
using Desktop = tarmela::test::ShownMain;
using tarmela::test::UiProgram;

TEST(DesktopProjects, NewOpenAndSaveAsWorkInTheFileChosenAndAreRemembered)
{
    Desktop d;
    const QString first = appState().DBPath;
    const std::int64_t road = createSampleRoad(d.p.db(), {});
    ASSERT_TRUE(d.w.ChooseRoad(road));

    // Save As: a copy, and the work goes on there on the same road.
    const QString copy = d.p.dir.filePath("work/copy");
    d.p.picked = copy;
    d.cmd("mnuFileSaveAs")->trigger();
    ASSERT_TRUE(d.p.told.empty()) << d.p.lastTold().toStdString();
    EXPECT_EQ(appState().DBPath, copy + ".sqlite");
    EXPECT_EQ(d.w.windowTitle(), "Tarmela - copy.sqlite");
    EXPECT_EQ(appState().CurrentRoadID, road);
    EXPECT_EQ(test::roadState(d.p.db(), road), test::roadState(*Database::open(first), road));
    roads::remove(d.p.db(), road); // the original keeps its road
    EXPECT_TRUE(roads::exists(*Database::open(first), road));

    // New Project: an empty project in a new file; an existing file is never taken over.
    d.p.picked = d.p.dir.filePath("fresh");
    d.keys(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(appState().DBPath, d.p.picked + ".sqlite");
    EXPECT_TRUE(roads::list(d.p.db()).isEmpty());
    EXPECT_FALSE(d.cmd("mnuInputDataSheet")->isEnabled());
    d.p.picked = first;
    d.cmd("mnuFileNewProject")->trigger();
    EXPECT_TRUE(d.p.lastTold().contains("exists already")) << d.p.lastTold().toStdString();
    EXPECT_EQ(QFileInfo(appState().DBPath).fileName(), "fresh.sqlite");

    // Open Project by its key; the recent list leads with the last one opened.
    d.p.picked = copy + ".sqlite";
    d.keys(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(appState().DBPath, copy + ".sqlite");
    const QStringList recent = desktopMemory().recentProjects();
    ASSERT_EQ(recent.size(), 2); // the first joins the list when the program closes
    EXPECT_EQ(QFileInfo(recent[0]).fileName(), "copy.sqlite");
    EXPECT_EQ(QFileInfo(recent[1]).fileName(), "fresh.sqlite");

    d.w.showMaximized();
    d.w.close();
    EXPECT_EQ(desktopMemory().lastProject(), QFileInfo(copy + ".sqlite").absoluteFilePath());
    EXPECT_TRUE(desktopMemory().mainMaximized());
}

// A file that is no project: the messages for a foreign, a damaged and a newer file are the
// batch tool's too (ProjectFile.OnlyAProjectOrAnEmptyFileIsOpenedAndAFailedCommandChangesNoFile);
// here what the desktop keeps.
TEST(DesktopProjects, AFileThatCannotBeOpenedIsRefusedAndTheProjectStaysOpen)
{
    Desktop d;
    const QString open = appState().DBPath;
    d.cmd("mnuRoadDetails")->trigger();
    const QString file = d.p.dir.filePath("damaged.sqlite");
    const QByteArray bytes(4096, 'x');
    test::writeFile(file, bytes);
    d.p.picked = file;
    d.keys(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(d.p.told.size(), 1u);
    EXPECT_TRUE(d.p.lastTold().contains("file is not a database")) << d.p.lastTold().toStdString();
    EXPECT_EQ(appState().DBPath, open);
    EXPECT_EQ(d.windows(), 1); // the road details sheet stays
    EXPECT_EQ(test::readFile(file), bytes);
    EXPECT_FALSE(desktopMemory().recentProjects().contains(QFileInfo(file).absoluteFilePath()));
}

TEST(DesktopSheets, CsvFilesImportAllOrNothingAndExportWithTheBatchToolsRules)
{
    Desktop d;
    const std::int64_t road = createSampleRoad(d.p.db(), {});
    d.openRoads(); // a window of another kind, left open
    frmDataGrid* rl = d.openRl(road);
    ASSERT_NE(rl, nullptr);
    const std::string held = test::roadState(d.p.db(), road);
    const QString csv = d.p.dir.filePath("levels.csv");

    struct Case {
        const char* text;
        const char* told; // the message, in part
        bool written;
    };
    const Case cases[] = {
        {"Chainage,C\n20,123.5\n40,1.x\n", "line 3: column C: \"1.x\" is not a number", false},
        {"Chainage,C\n20,123.5\n99000,7\n", "1 row updated, 1 row added", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        test::writeFile(csv, c.text);
        d.p.picked = csv;
        d.p.told.clear();
        d.cmd("mnuFileImportCsv")->trigger();
        ASSERT_EQ(d.p.told.size(), 1u);
        EXPECT_TRUE(d.p.lastTold().contains(QString::fromLatin1(c.told)))
            << d.p.lastTold().toStdString();
        EXPECT_EQ(test::roadState(d.p.db(), road) != held, c.written);
    }
    // The open sheet shows the file's rows at once.
    ASSERT_EQ(rl->model()->rowCount(), 152);
    EXPECT_EQ(rl->model()->cellText(1, test::columnOf(rl, "Chainage")), "20");
    EXPECT_EQ(rl->model()->cellText(1, test::columnOf(rl, "C")), "123.5");

    const QString out = d.p.dir.filePath("rl.csv");
    d.p.picked = out;
    d.p.told.clear();
    d.cmd("mnuFileExportCsv")->trigger();
    EXPECT_TRUE(d.p.lastTold().contains("152 rows written to")) << d.p.lastTold().toStdString();
    // The next file is offered in the folder used last.
    d.p.picked.clear();
    d.cmd("mnuFileExportCsv")->trigger();
    EXPECT_EQ(QFileInfo(d.p.offered.back()).absolutePath(), QFileInfo(out).absolutePath());
}

TEST(DesktopPages, PageSetupRefusesMarginsThatLeaveNoDrawing)
{
    struct Case {
        const char* box;
        const char* typed;
        const char* told; // empty: the dialog closes
        double stored;
        const char* button = "OKButton";
    };
    const Case cases[] = {
        {"txtTop", "-3", "The top margin can't be negative", 2},
        {"txtBottom", "99999", "it can be 0 to ", 2},
        {"txtLeft", "15", "The left margin of 15 cm leaves no room", 2},
        {"txtLeft", "1.5cm", "", 1.5},
        {"txtRight", "abc", "", 0},
        {"txtTop", "7", "", 2, "CancelButton"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        UiProgram p;
        Settings settings;
        dlgPageSetup dlg(settings);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        auto* box = test::child<QLineEdit>(&dlg, c.box);
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(c.typed));
        test::click(&dlg, c.button);
        EXPECT_EQ(settings.text(QString(c.box).replace("txt", "Page")).toDouble(), c.stored);
        if (*c.told) {
            ASSERT_EQ(p.told.size(), 1u);
            EXPECT_TRUE(p.lastTold().contains(QString::fromLatin1(c.told)))
                << p.lastTold().toStdString();
            EXPECT_TRUE(dlg.isVisible());
            EXPECT_TRUE(box->hasFocus());
        } else {
            EXPECT_TRUE(p.told.empty());
            EXPECT_FALSE(dlg.isVisible());
        }
    }
}
