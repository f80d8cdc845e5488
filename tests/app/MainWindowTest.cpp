#include "ShownMain.h"
#include "sheets/SampleRoad.h"
#include "store/Roads.h"
#include "support/TestProject.h"
#include "ui/pages/frmPrevLsect.h"
#include "ui/pages/frmPrevXSect.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <gtest/gtest.h>

using namespace tarmela;
using tarmela::test::ShownMain;

const QStringList kRoadCommands = {
    "mnuInputDataSheet", "mnuLevelBook",    "mnuLBtoRL",         "mnuToolsGenerateTable",
    "mnuViewCulverts",   "mnuCulvertTypes", "mnuCrossDistances", "mnuFileExport",
};

TEST(MainWindow, SectionViewsTakeThePagingZoomAndPrintCommands)
{
    ShownMain m;
    const std::int64_t road = createSampleRoad(m.p.db());
    ASSERT_TRUE(m.w.ChooseRoad(road));
    m.cmd("mnuViewXSection")->trigger();
    auto* view = dynamic_cast<frmPrevXSect*>(m.w.activeChild());
    ASSERT_NE(view, nullptr) << m.p.lastTold().toStdString();
    // The view takes exactly the commands it offers; the sheet commands stay off.
    const QStringList paging = {"Previous", "ZoomIn", "Next",   "ZoomOut",    "Print",
                                "Undo",     "Copy",   "Filter", "mnuViewZoom"};
    EXPECT_EQ(m.enabled(paging), QStringList({"Next", "ZoomOut", "Print", "mnuViewZoom"}));
    m.w.toolButton("Next")->trigger();
    EXPECT_EQ(view->pageIndex(), 1);
    EXPECT_EQ(m.enabled({"Previous"}).size(), 1);
    bool printing = false;
    test::onModal("frmSelectPrinter",
                  [&](QWidget* d) { printing = true, test::click(d, "cmdCancel"); });
    m.cmd("mnuFilePrint")->trigger();
    EXPECT_TRUE(printing);
    m.cmd("mnuFileSave")->trigger(); // not the view's: the user hears it is disabled
    EXPECT_EQ(m.p.lastTold(), "Disabled");

    // View > Zoom asks for a percentage and keeps to 20..100.
    const struct {
        const char* typed;
        double zoom;
        const char* told;
    } answers[] = {{"15", 100, "Value must be in the range 20 to 100!"},
                   {"101", 100, "Value must be in the range 20 to 100!"},
                   {"abc", 100, ""},
                   {"20", 20, ""}};
    for (const auto& a : answers) {
        m.p.told.clear();
        test::onModal("dlgZoom", [&](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>();
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromLatin1(a.typed));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        m.cmd("mnuViewZoom")->trigger();
        EXPECT_EQ(view->zoomPercent(), a.zoom) << a.typed;
        EXPECT_EQ(m.p.lastTold(), a.told) << a.typed;
    }
    EXPECT_EQ(m.enabled({"ZoomIn"}).size(), 1);

    // The longitudinal section in front takes the commands for its own pages.
    m.cmd("mnuViewLSection")->trigger();
    ASSERT_NE(dynamic_cast<frmPrevLsect*>(m.w.activeChild()), nullptr);
    EXPECT_EQ(m.enabled({"Previous", "ZoomIn"}), QStringList{});
    // Asked for again, the cross sections of this road come to the front, not a second time.
    m.cmd("mnuViewXSection")->trigger();
    EXPECT_EQ(dynamic_cast<frmPrevXSect*>(m.w.activeChild()), view);
    EXPECT_EQ(m.windows(), 2);

    // The views show one road: another road closes them.
    ASSERT_TRUE(m.w.ChooseRoad(road));
    QCoreApplication::processEvents();
    EXPECT_EQ(m.windows(), 0);
}

TEST(MainWindow, DoubleClickingARoadMakesItCurrentAndClosesTheOtherRoadsLevelAndCulvertSheets)
{
    ShownMain m;
    const std::int64_t first = createSampleRoad(m.p.db(), {11, 20, 100.0});
    const std::int64_t road = test::makeRoad(m.p.db(), "North", "South", 0, 25);
    m.p.db().exec("UPDATE Roads SET [Formation Camber] = 3, [Carriage Camber] = 2.5 WHERE ID = " +
                  QString::number(road));
    ASSERT_TRUE(m.w.ChooseRoad(first));
    m.press("Formation");
    m.cmd("mnuViewXSection")->trigger();
    ASSERT_EQ(m.windows(), 2) << m.p.lastTold().toStdString();
    m.open(SheetKind::ReducedLevel, sheets::reducedLevelStatement(first, {}, {}));
    m.open(SheetKind::LevelBook, sheets::levelBookStatement(first, {}, {}));
    m.open(SheetKind::Culverts, sheets::culvertsStatement(first));
    m.open(SheetKind::ChainageDistance, sheets::crossDistancesStatement(first, 8));
    ASSERT_EQ(m.openKinds().size(), 4);
    frmDataGrid* sheet = m.openRoads();
    ASSERT_NE(sheet, nullptr);
    test::clickRowHeader(sheet, road, true);
    QCoreApplication::processEvents();

    const AppState& s = appState();
    EXPECT_EQ(s.CurrentRoadID, road);
    EXPECT_EQ(s.RoadInterval, 25);
    EXPECT_DOUBLE_EQ(s.FormationCamber, 0.03);
    EXPECT_DOUBLE_EQ(s.CarriageCamber, 0.025);
    EXPECT_EQ(m.w.statusPanel(1), "North To South");
    // The formation tool, the section view and the road details sheet close too; the level
    // book and the cross distances stay.
    EXPECT_EQ(m.windows(), 2);
    EXPECT_EQ(m.openKinds(),
              std::vector<SheetKind>({SheetKind::LevelBook, SheetKind::ChainageDistance}));
    const QStringList now = kRoadCommands + QStringList{"ReducedLevel", "mnuViewLSection"};
    EXPECT_EQ(m.enabled(now), now);
    EXPECT_EQ(s.CulvertsRecordset->count(), 0) << "the sample road's culverts went";
    EXPECT_EQ(s.CrossDistanceRecordset->count(), 1);

    // A road that is not there changes nothing.
    EXPECT_FALSE(m.w.ChooseRoad(99));
    EXPECT_EQ(appState().CurrentRoadID, road);
    EXPECT_FALSE(m.p.lastTold().isEmpty());
}

TEST(MainWindow, DeletingARoadAsksWithNoAsDefaultAndClosesItsWindowsOrKeepsTheCurrentRoad)
{
    ShownMain m;
    for (int i = 1; i <= 7; ++i)
        ASSERT_EQ(i == 3
                      ? createSampleRoad(m.p.db(), {})
                      : test::makeRoad(m.p.db(), QString("From%1").arg(i), QString("To%1").arg(i)),
                  i);
    ASSERT_TRUE(m.w.ChooseRoad(7));
    m.open(SheetKind::LevelBook, sheets::levelBookStatement(7, {}, {}));
    ASSERT_NE(m.openRl(3), nullptr);
    m.open(SheetKind::LevelBook, sheets::levelBookStatement(3, {}, {}));
    m.cmd("mnuViewXSection")->trigger();
    frmDataGrid* sheet = m.openRoads();
    ASSERT_EQ(m.windows(), 5);

    // Two roads at once are refused.
    test::clickRowHeader(sheet, 5);
    test::clickRowHeader(sheet, 6, false, Qt::ShiftModifier);
    ASSERT_EQ(sheet->SelectCountRow(), 2);
    m.cmd("mnuEditDelete")->trigger();
    EXPECT_EQ(m.p.lastTold(), "Select a single road at a time for deletion");
    EXPECT_EQ(roads::list(m.p.db()).size(), 7);

    // The question says what goes with the road (Roads.DeletingARoadOrCulvertType... checks it
    // goes); its level book closes, the current road and its windows stay.
    m.p.db().exec("INSERT INTO Culverts (RoadRef, CTypeRef, Chainage, EPType) VALUES "
                  "(7, 1, 100, 'E'), (7, 1, 200, 'P')");
    test::clickRowHeader(sheet, 7);
    m.w.toolButton("Delete")->trigger();
    EXPECT_EQ(m.p.asked.back(), "Delete the road From7 To To7? Its RL and LB sheets, its cross "
                                "distances and its 2 culverts are deleted with it. This can't be "
                                "undone.");
    EXPECT_FALSE(roads::exists(m.p.db(), 7));
    EXPECT_EQ(appState().CurrentRoadID, 3);
    EXPECT_EQ(m.windows(), 4);
    EXPECT_TRUE(m.cmd("mnuInputDataSheet")->isEnabled());
    EXPECT_EQ(appState().RoadsRecordset->count(), 6);

    // No keeps the current road and every window; Yes closes them first.
    test::clickRowHeader(sheet, 3);
    m.p.answer = QMessageBox::No;
    m.cmd("mnuEditDelete")->trigger();
    EXPECT_TRUE(m.p.askedWith.testFlag(kNoByDefault));
    EXPECT_EQ(m.windows(), 4);
    EXPECT_TRUE(roads::exists(m.p.db(), 3));
    m.p.answer = QMessageBox::Yes;
    m.p.told.clear();
    m.cmd("mnuEditDelete")->trigger();
    EXPECT_TRUE(m.p.told.empty()) << m.p.lastTold().toStdString();
    EXPECT_FALSE(roads::exists(m.p.db(), 3) || m.p.db().tableExists("RL_3"));
    ASSERT_EQ(m.windows(), 1);
    EXPECT_EQ(m.w.activeSheet(), sheet);
    EXPECT_EQ(appState().CurrentRoadID, 0);
    EXPECT_EQ(m.enabled(kRoadCommands), QStringList{});
    EXPECT_EQ(m.w.statusPanel(1), "");
}

TEST(MainWindow, AddCreatesARoadWithItsTablesOrAppendsTheNextSection)
{
    ShownMain m;
    frmDataGrid* sheet = m.openRoads();
    ASSERT_NE(sheet, nullptr);
    m.cmd("mnuEditAdd")->trigger();
    m.w.toolButton("Add")->trigger();
    const auto all = roads::list(m.p.db());
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[1].length, 1);
    EXPECT_EQ(sheet->grid()->currentRow(), 1) << "the cursor stands on the new road";
    EXPECT_EQ(appState().RoadsRecordset->count(), 2);
    EXPECT_TRUE(m.p.told.empty());

    // On a level sheet: the next section, an interval on.
    const std::int64_t road = test::makeRoad(m.p.db(), "A", "B", 0, 25);
    frmDataGrid* rl = m.openRl(road);
    ASSERT_NE(rl, nullptr);
    m.cmd("mnuEditAdd")->trigger();
    m.cmd("mnuEditAdd")->trigger();
    EXPECT_EQ(test::queryText(m.p.db(), "SELECT Chainage FROM RL_3 ORDER BY Chainage, ID"),
              "0 | 25");
    EXPECT_EQ(rl->model()->rowCount(), 2);
    EXPECT_EQ(rl->grid()->currentRow(), 1);
}

TEST(MainWindow, TheWheelAndTheEditKeysReachTheActiveSheet)
{
    ShownMain m;
    const std::int64_t road = test::makeRoad(m.p.db(), "A", "B");
    m.p.db().exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                  "INSERT INTO RL_1 (ID, Chainage) SELECT i, (i - 1) * 20 FROM n");
    m.w.activateWindow();
    frmDataGrid* rl = m.openRl(road);
    ASSERT_NE(rl, nullptr);
    QWidget* viewport = rl->grid()->viewport();
    ASSERT_EQ(rl->grid()->firstVisibleRow(), 0);
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    // Each notch moves two rows; none above the first.
    for (const auto& [delta, rows] :
         {std::pair{-120, 2}, {-120, 4}, {120, 2}, {120, 0}, {120, 0}}) {
        QWheelEvent e(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &e);
        EXPECT_EQ(rl->grid()->firstVisibleRow(), rows);
    }

    // Ctrl+C on a block of two rows (the copied form is DataGridEditing's).
    rl->grid()->setCurrentCell(0, 0);
    rl->grid()->setFocus();
    QTest::keyClick(rl->grid(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(rl->grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0\r\n20");

    // Typing and a paste, taken back and done again by Ctrl+Z and Ctrl+Y. Undo and Redo name
    // the step and are greyed out when there is none; an empty cell comes back empty.
    appState().settings.AutoSave = true;
    const auto cells = [&] {
        return test::queryText(m.p.db(), "SELECT C FROM RL_1 WHERE ID BETWEEN 2 AND 4 ORDER BY ID");
    };
    EXPECT_EQ(test::undoMenu(m.w), "off &Undo | off R&edo");
    test::typeInto(rl, 1, "C", "75.5");
    EXPECT_EQ(test::undoMenu(m.w), "on &Undo Typing in C at 20 | off R&edo");
    EXPECT_EQ(m.enabled({"Undo"}).size(), 1);
    rl->grid()->setCurrentCell(2, test::columnOf(rl, "C"));
    QGuiApplication::clipboard()->setText("40.25\r\n41");
    QTest::keyClick(rl->grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cells(), "75.5 | 40.25 | 41");
    EXPECT_EQ(test::undoMenu(m.w), "on &Undo Paste | off R&edo");

    const struct {
        Qt::Key key;
        const char* cells; // C at 20, 40 and 60
        const char* menu;
    } steps[] = {
        {Qt::Key_Z, "75.5 | null | null", "on &Undo Typing in C at 20 | on R&edo Paste"},
        {Qt::Key_Z, "null | null | null", "off &Undo | on R&edo Typing in C at 20"},
        {Qt::Key_Y, "75.5 | null | null", "on &Undo Typing in C at 20 | on R&edo Paste"},
        {Qt::Key_Y, "75.5 | 40.25 | 41", "on &Undo Paste | off R&edo"},
    };
    for (const auto& s : steps) {
        QTest::keyClick(rl->grid(), s.key, Qt::ControlModifier);
        EXPECT_EQ(cells(), s.cells);
        EXPECT_EQ(test::undoMenu(m.w), s.menu);
    }
    // Undo and Redo follow the active window: the road details sheet has done nothing yet.
    m.openRoads();
    EXPECT_EQ(test::undoMenu(m.w), "off &Undo | off R&edo");
}

TEST(MainWindow, UpdateShowsTheQuantitiesOrTheReason)
{
    ShownMain m;
    const std::int64_t road = createSampleRoad(m.p.db(), {3, 20, 50.0});
    // No road: nothing happens.
    m.w.toolButton("Update")->trigger();
    EXPECT_TRUE(m.p.told.empty());
    EXPECT_EQ(m.w.statusPanel(2), "");

    // (The figures shown are FormationToolWindow.PickTypeUpdateGradeAndUndo's.)
    ASSERT_TRUE(m.w.ChooseRoad(road));
    m.keys(Qt::Key_F9); // Update Quantities by its key
    EXPECT_TRUE(m.w.statusPanel(3).startsWith("Cutting = ")) << m.p.lastTold().toStdString();
    m.p.db().exec(QString("DROP TABLE RL_%1").arg(road));
    m.w.toolButton("Update")->trigger();
    ASSERT_EQ(m.p.told.size(), 1u);
    EXPECT_EQ(m.p.told[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(m.p.told[0].text.startsWith("Datasheet not generated!"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(MainWindow, TheEmptyWorkspaceShowsWhereToStart)
{
    ShownMain m;
    const std::int64_t road = test::makeRoad(m.p.db(), "Ranipur", "Kalaghat");
    // Before a road is chosen only the road-free commands work; the sheet commands wait for a
    // sheet (Add with none does nothing), Add and Delete are greyed out where they will be.
    const QStringList roadFree = {"mnuRoadDetails", "mnuToolsOptions", "mnuToolsColors"};
    EXPECT_EQ(m.enabled(kRoadCommands + roadFree +
                        QStringList{"mnuViewLSection", "mnuViewXSection", "mnuEarthworkReport",
                                    "mnuLevelBookReport", "mnuFormationPlot", "ReducedLevel",
                                    "LevelBook", "Formation", "Update", "mnuEditCopy", "Add"}),
              roadFree);
    m.cmd("mnuEditAdd")->trigger();
    EXPECT_EQ(roads::list(m.p.db()).size(), 1);
    auto* bar = m.w.findChild<QToolBar*>("tbToolBar");
    QCoreApplication::processEvents(); // the toolbar lays its buttons out
    const QRect printAt = bar->widgetForAction(m.w.toolButton("Print"))->geometry();

    auto* hint = m.w.findChild<QWidget*>("wsHint");
    ASSERT_NE(hint, nullptr);
    auto* levels = hint->findChild<QPushButton*>("cmdHintLevels");
    EXPECT_FALSE(levels->isVisible()) << "no road is current";
    QTest::mouseClick(hint->findChild<QPushButton*>("cmdHintRoads"), Qt::LeftButton);
    ASSERT_EQ(m.openKinds(), std::vector<SheetKind>{SheetKind::RoadDetails});
    QCoreApplication::processEvents();
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(bar->widgetForAction(m.w.toolButton("Print"))->geometry(), printAt)
        << "the buttons after Add and Delete stay where they were";
    m.w.activeSheet()->parentWidget()->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(m.cmd("mnuEditCopy")->isEnabled());
    EXPECT_TRUE(hint->isVisible());

    ASSERT_TRUE(m.w.ChooseRoad(road));
    EXPECT_TRUE(levels->text().contains("Ranipur To Kalaghat"));
    test::clickOnModal("dlgInputSelectView", "OKButton");
    QTest::mouseClick(levels, Qt::LeftButton);
    EXPECT_EQ(m.openKinds(), std::vector<SheetKind>{SheetKind::ReducedLevel});
}

TEST(MainWindow, EveryMenuCommandHasALetterOfItsOwnAndTheViewCommandsToggleTheBars)
{
    ShownMain m;
    for (QAction* top : m.w.menuBar()->actions()) {
        QSet<QKeySequence> letters;
        for (QAction* a : top->menu()->actions()) {
            const QKeySequence letter = QKeySequence::mnemonic(a->text());
            EXPECT_TRUE(a->isSeparator() || !(letter.isEmpty() || letters.contains(letter)))
                << a->text().toStdString() << " has no letter of its own";
            letters.insert(letter);
        }
    }
    const std::pair<const char*, QWidget*> bars[] = {
        {"mnuViewToolbar", m.w.findChild<QToolBar*>("tbToolBar")},
        {"mnuViewStatusBar", m.w.statusBar()}};
    for (const auto& [name, bar] : bars) {
        m.cmd(name)->trigger();
        EXPECT_FALSE(m.cmd(name)->isChecked() || bar->isVisible()) << name;
        m.cmd(name)->trigger();
        EXPECT_TRUE(m.cmd(name)->isChecked() && bar->isVisible()) << name;
    }
}

TEST(MainWindow, TheFilterWindowIsDrivenByItsOwnKeysAboveTheMainWindowsMenus)
{
    ShownMain m;
    frmDataGrid* rl = m.openRl(createSampleRoad(m.p.db(), {11, 20, 100.0}));
    ASSERT_NE(rl, nullptr);
    QAction* filter = m.cmd("mnuViewDetail");
    filter->trigger();
    QWidget* window = m.w.findChild<QWidget*>("dlgSearchWindow");
    ASSERT_TRUE(window && window->isVisible() && filter->isChecked());
    QApplication::setActiveWindow(window); // as the user's click into it does
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    // Alt+F, Alt+N, Alt+V reach the fields; Alt+D presses Done (not the main window's Data).
    const auto keys = [](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    };
    for (const auto& [key, text] :
         {std::pair{Qt::Key_F, "Chainage"}, {Qt::Key_N, ">="}, {Qt::Key_V, "100"}}) {
        keys(key);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    keys(Qt::Key_D);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened";
    // A button pressed by its key clicks a moment later.
    ASSERT_TRUE(QTest::qWaitFor([rl] { return rl->windowTitle().contains("filter"); }));
    EXPECT_TRUE(rl->windowTitle().endsWith("filter Chainage >= '100': 6 of 11 rows shown"));
    // Alt+C clears the filter.
    keys(Qt::Key_C);
    ASSERT_TRUE(QTest::qWaitFor([rl] { return !rl->windowTitle().contains("filter"); }));
    // The Filter button takes the window away, and so does another window coming in front
    // (the filter window belongs to the RL sheet).
    for (const bool button : {true, false}) {
        if (button) {
            m.w.toolButton("Filter")->trigger();
        } else {
            filter->trigger();
            ASSERT_TRUE(filter->isChecked());
            QApplication::setActiveWindow(&m.w);
            ASSERT_NE(m.openRoads(), nullptr);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(m.w.findChild<QWidget*>("dlgSearchWindow"), nullptr);
        EXPECT_FALSE(filter->isChecked());
    }
}

TEST(MainWindow, AddOnTheCulvertSheetOpensTheDialogAndDeletingATypeTakesItsCulverts)
{
    ShownMain m;
    const std::int64_t road = test::makeRoad(m.p.db(), "A", "B");
    m.p.db().exec("INSERT INTO CulvertTypes (CulvertName, Type) VALUES ('Pipe', 'Pipe'), "
                  "('Slab', 'Slab')");
    m.p.db().exec("INSERT INTO Culverts (RoadRef, CTypeRef, Chainage, EPType) VALUES "
                  "(1, 1, 100, 'E'), (1, 2, 200, 'P')");
    appState().CulvertTypesRecordset->requery();
    ASSERT_TRUE(m.w.ChooseRoad(road));
    m.cmd("mnuViewCulverts")->trigger();
    frmDataGrid* culverts = m.w.activeSheet();
    ASSERT_NE(culverts, nullptr);
    EXPECT_EQ(culverts->model()->rowCount(), 2);
    test::onModal("dlgAddCulvert", [](QWidget* dlg) {
        test::child<QComboBox>(dlg, "cmbCulvertName")->setCurrentIndex(0);
        test::child<QLineEdit>(dlg, "txtChainage")->setText("120");
        test::click(dlg, "cmdAdd");
        test::click(dlg, "cmdCancel");
    });
    m.cmd("mnuEditAdd")->trigger();
    EXPECT_EQ(culverts->model()->rowCount(), 3) << "the sheet shows the new culvert";
    EXPECT_EQ(appState().CulvertsRecordset->count(), 3);

    frmDataGrid* types = m.open(SheetKind::CulvertTypes, sheets::culvertTypesStatement());
    ASSERT_NE(types, nullptr);
    test::clickRowHeader(types, 1);
    m.cmd("mnuEditDelete")->trigger();
    EXPECT_EQ(appState().CulvertsRecordset->count(), 1);
    EXPECT_EQ(appState().CulvertTypesRecordset->count(), 1);

    // Tools > Options opens the options over the main window.
    bool opened = false;
    test::onModal("frmOptions",
                  [&](QWidget* dlg) { opened = true, test::click(dlg, "cmdCancel"); });
    m.cmd("mnuToolsOptions")->trigger();
    EXPECT_TRUE(opened);
}

TEST(MainWindow, WindowMenuArrangesTheSheetsAndTheHelpMenuShowsTheSplashAndTheHelpsFolder)
{
    ShownMain m;
    frmDataGrid* a = m.open(SheetKind::RoadDetails, sheets::roadDetailsStatement());
    frmDataGrid* b = m.open(SheetKind::CulvertTypes, sheets::culvertTypesStatement());
    ASSERT_TRUE(a && b);
    QWidget* subA = a->parentWidget();
    QWidget* subB = b->parentWidget();
    // Side by side, one above the other, then staggered.
    m.cmd("mnuWindowTileVertical")->trigger();
    EXPECT_TRUE(subA->y() == subB->y() && subA->x() != subB->x());
    m.cmd("mnuWindowTileHorizontal")->trigger();
    EXPECT_TRUE(subA->x() == subB->x() && subA->y() != subB->y());

    m.cmd("mnuWindowCascade")->trigger();
    EXPECT_NE(subA->pos(), subB->pos());
    // Ctrl+F4 closes the window in front, File > Close the other; then Close waits for one.
    m.keys(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(m.windows(), 1);
    m.cmd("mnuFileClose")->trigger();
    EXPECT_EQ(m.windows(), 0);
    EXPECT_FALSE(m.cmd("mnuFileClose")->isEnabled());

    bool shown = false;
    test::onModal("frmSplash", [&](QWidget* splash) {
        shown = splash->isModal();
        QTest::mouseClick(splash, Qt::LeftButton);
    });
    m.cmd("mnuHelpAbout")->trigger();
    EXPECT_TRUE(shown);

    // Help > Contents without a browser says where the help is. The offscreen platform starts
    // no browser, as a desktop without one; on a Unix desktop the opener is there but finds no
    // browser (xdg-open then ends with 3).
    test::writeFile(m.p.dir.filePath("xdg-open"), "#!/bin/sh\nexit 3\n");
    QFile::setPermissions(m.p.dir.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m.p.dir.path()));
    m.cmd("mnuHelpContents")->trigger();
    qputenv("PATH", path);
    ASSERT_TRUE(QTest::qWaitFor([&m] { return !m.p.told.empty(); }, 10000));
    const QString folder = QFileInfo(frmMain::helpIndexPath()).absolutePath();
    EXPECT_TRUE(m.p.told[0].text.contains("in the folder " + QDir::toNativeSeparators(folder)));
}
