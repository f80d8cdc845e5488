#include "app/frmMain.h"
#include "compute/EarthworkQuantities.h"
#include "settings/Earthwork.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/Schema.h"
#include "store/Transaction.h"
#include "support/TestProject.h"
#include "support/UiProgram.h"
#include "ui/formation/frmPlotFormation.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarmela;
using tarmela::test::UiProgram;

namespace
{

// A road of 40 km with a section every 20 m: flat ground at 100, FC 101 (cambers 0).
std::int64_t fortyKilometres(Database& db)
{
    Transaction tx(db);
    RoadChanges c;
    c.from = QStringLiteral("Ana");
    c.to = QStringLiteral("Bel");
    c.formationCamber = 0;
    c.carriageCamber = 0;
    const std::int64_t road = roads::create(db, c);
    QSqlQuery q = db.prepare("INSERT INTO " + schema::rlTable(road) +
                             " (ID, Chainage, C, FC, L1, L2, L3, L4, L5, L6, L7, L8, R1, R2, "
                             "R3, R4, R5, R6, R7, R8, TopWidth, BottomWidth) VALUES (?, ?, 100, "
                             "101, 100, 100, 100, 100, 100, 100, 100, 99.5, 100, 100, 100, 100, "
                             "100, 100, 100, 100.5, 7, 8)");
    for (int i = 0; i <= 2000; ++i) {
        q.addBindValue(i + 1);
        q.addBindValue(20.0 * i);
        Database::run(q);
    }
    tx.commit();
    return road;
}

double fcAt(Database& db, std::int64_t road, double chainage)
{
    return db
        .scalar(QStringLiteral("SELECT FC FROM %1 WHERE Chainage = %2")
                    .arg(schema::rlTable(road))
                    .arg(chainage))
        .toDouble();
}

template <typename T> T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(w) << name;
    return w;
}

// Clicks the profile at a chainage of the view.
void clickAt(frmPlotFormation* tool, double chainage)
{
    QWidget* plot = child<QWidget>(tool, "pbGraph");
    const double start = 50.0 * child<QScrollBar>(tool, "HScroll1")->value();
    const int x = int((600 + 12 * (chainage - start)) / 15);
    QTest::mouseClick(plot, Qt::LeftButton, {}, QPoint(x, plot->height() / 2));
}

void typeAndUpdate(frmPlotFormation* tool, const QString& fc)
{
    QLineEdit* box = child<QLineEdit>(tool, "txtFC");
    QTest::keyClicks(box, fc); // its text is selected by the pick
    QTest::mouseClick(child<QPushButton>(tool, "cmdUpdate"), Qt::LeftButton);
}

} // namespace

// The engineer opens the tool from the main window, picks a section, types its FC and
// presses Update; the grid, the status bar and the sheet follow. Then a gradient at the far
// end of a 40 km road, and its undo with Edit > Undo's key.
TEST(FormationToolWindow, PickTypeUpdateGradeAndUndo)
{
    UiProgram program;
    Database& db = program.db();
    const std::int64_t road = fortyKilometres(db);
    frmMain w;
    w.resize(1280, 860);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(w.ChooseRoad(road));
    w.command(QStringLiteral("mnuFormationPlot"))->trigger();
    QMdiSubWindow* sub = w.mdiArea()->activeSubWindow();
    ASSERT_TRUE(sub);
    auto* tool = qobject_cast<frmPlotFormation*>(sub->widget());
    ASSERT_TRUE(tool);
    EXPECT_TRUE(tool->windowTitle().endsWith(QStringLiteral("Ana To Bel")));
    QTest::qWait(50);
    auto* grid = child<QTableWidget>(tool, "VellGrid1");
    EXPECT_EQ(grid->rowCount(), 41); // 40 kilometres and ALL, from the opening recomputation

    clickAt(tool, 95); // picks the row at 100 (95 lies 45 m past the mark)
    QLineEdit* fc = child<QLineEdit>(tool, "txtFC");
    EXPECT_EQ(fc->text(), "101");
    EXPECT_EQ(child<QLineEdit>(tool, "txtLeftDiff")->text(), "1.50"); // over L8 99.5
    EXPECT_TRUE(fc->hasFocus());
    typeAndUpdate(tool, "101.6");
    EXPECT_DOUBLE_EQ(fcAt(db, road, 100), 101.6);
    EXPECT_EQ(child<QLineEdit>(tool, "txtGrad2")->text(), "3.00"); // 0.6 m over 20 m
    EXPECT_EQ(child<QLineEdit>(tool, "txtGrad1")->text(), "33");

    // What the grid and the status bar show is what a full recomputation gives.
    EarthworkInputs in;
    in.road = road;
    in.formationCamber = in.carriageCamber = 0;
    const EarthworkResult full = UpdateEarthworkQuantities(db, in);
    const QLocale grouped = groupedLocale(QLocale());
    EXPECT_EQ(grid->item(40, 0)->text(), "ALL");
    EXPECT_EQ(grid->item(40, 1)->text(), grouped.toString(full.volumes.totalFill, 'f', 2));
    EXPECT_EQ(grid->item(0, 1)->text(),
              grouped.toString(full.volumes.kilometres[0].filling, 'f', 2));
    EXPECT_EQ(w.statusPanel(2), quantityTexts(full.volumes, QLocale()).filling);
    EXPECT_EQ(w.statusPanel(4), quantityTexts(full.volumes, QLocale()).total);

    // The scroll bar reaches the end of the road; a grade from 39,900 to 40,000 there.
    QScrollBar* along = child<QScrollBar>(tool, "HScroll1");
    along->setValue(along->maximum());
    clickAt(tool, 39900);
    EXPECT_EQ(fc->text(), "101");
    child<QCheckBox>(tool, "chkGradientMode")->setChecked(true);
    clickAt(tool, 40000);
    EXPECT_EQ(child<QLineEdit>(tool, "txtCentre")->text(), "100");
    typeAndUpdate(tool, "102");
    EXPECT_DOUBLE_EQ(fcAt(db, road, 39920), 101.2);
    EXPECT_DOUBLE_EQ(fcAt(db, road, 39980), 101.8);
    EXPECT_DOUBLE_EQ(fcAt(db, road, 40000), 102);

    // Ctrl+Z in the FC box, untouched since the update, is Edit > Undo.
    QTest::keyClick(fc, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(fcAt(db, road, 39980), 101);
    EXPECT_DOUBLE_EQ(fcAt(db, road, 40000), 101);
    EXPECT_DOUBLE_EQ(fcAt(db, road, 100), 101.6);
    EXPECT_TRUE(program.told.empty()) << program.lastTold().toStdString();

    // A typed value that is no level is refused and changes nothing.
    clickAt(tool, 39960);
    typeAndUpdate(tool, "high");
    EXPECT_TRUE(program.lastTold().startsWith("Invalid formation value!"));
    EXPECT_DOUBLE_EQ(fcAt(db, road, 39960), 101);
}
