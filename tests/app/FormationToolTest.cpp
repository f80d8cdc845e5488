#include "ShownMain.h"
#include "compute/EarthworkQuantities.h"
#include "settings/Earthwork.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/Schema.h"
#include "support/TestProject.h"
#include "ui/formation/FormationProfileView.h"
#include "ui/formation/frmPlotFormation.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace tarmela;

namespace
{

// The formation tool opened from the main window's menu over a road of its own: a section
// every 20 m from 0, ground at 100 (L8 99.5, R8 100.5), FC 101 or none.
struct FormationToolWindow : ::testing::Test, test::ShownMain {
    Database& db = p.db();
    std::int64_t road = 0;
    frmPlotFormation* tool = nullptr;

    FormationToolWindow() : ShownMain({1280, 860}) {}
    void open(int sections, bool withFc, const RoadChanges& c = {})
    {
        road = roads::create(db, c);
        db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                               "WHERE i < %1) INSERT INTO %2 (ID, Chainage, C, FC, L1, L2, L3, "
                               "L4, L5, L6, L7, L8, R1, R2, R3, R4, R5, R6, R7, R8, TopWidth, "
                               "BottomWidth) SELECT i, (i - 1) * 20, 100, %3, 100, 100, 100, 100, "
                               "100, 100, 100, 99.5, 100, 100, 100, 100, 100, 100, 100, 100.5, 7, "
                               "8 FROM n")
                    .arg(sections)
                    .arg(schema::rlTable(road), withFc ? "101" : "NULL"));
        EXPECT_TRUE(w.ChooseRoad(road));
        cmd("mnuFormationPlot")->trigger();
        QMdiSubWindow* sub = w.mdiArea()->activeSubWindow();
        tool = sub ? qobject_cast<frmPlotFormation*>(sub->widget()) : nullptr;
        QTest::qWait(50);
    }
    template <typename T> T* get(const char* name) { return test::child<T>(tool, name); }
    // The road's RL sheet, every column of every row, for comparing whole states.
    std::string rlSheet()
    {
        return test::queryText(db, "SELECT * FROM " + schema::rlTable(road) + " ORDER BY ID");
    }
    double fcAt(double chainage)
    {
        const QString sql = QStringLiteral("SELECT FC FROM %1 WHERE Chainage = %2");
        return db.scalar(sql.arg(schema::rlTable(road)).arg(chainage)).toDouble();
    }
    // The view's chainages: from the left axis to the right one.
    std::pair<double, double> view()
    {
        const FormationProfileFrame f = get<FormationProfileView>("pbGraph")->frame();
        const double start = double(f.columnMetres * get<QScrollBar>("HScroll1")->value());
        return {start, start + double(f.visibleSpan())};
    }
    // Clicks the profile at a chainage of the view, at its scales.
    void clickAt(double chainage)
    {
        auto* plot = get<FormationProfileView>("pbGraph");
        const int x = int(plot->frame().x(chainage, view().first) / kProfileTwipsPerPixel);
        QTest::mouseClick(plot, Qt::LeftButton, {}, QPoint(x, plot->height() / 2));
    }
    void typeAndUpdate(const QString& fc)
    {
        QTest::keyClicks(get<QLineEdit>("txtFC"), fc); // its text is selected by the pick
        QTest::mouseClick(get<QPushButton>("cmdUpdate"), Qt::LeftButton);
    }
};

} // namespace

// The engineer opens the tool from the main window, picks a section, types its FC and
// presses Update; the grid, the status bar and the sheet follow. Then a gradient at the far
// end of a 40 km road, and its undo with Edit > Undo's key.
TEST_F(FormationToolWindow, PickTypeUpdateGradeAndUndo)
{
    RoadChanges c; // 40 km, cambers 0
    c.from = QStringLiteral("Ana");
    c.to = QStringLiteral("Bel");
    c.formationCamber = c.carriageCamber = 0;
    open(2001, true, c);
    ASSERT_TRUE(tool);
    EXPECT_TRUE(tool->windowTitle().endsWith(QStringLiteral("Ana To Bel")));
    auto* grid = get<QTableWidget>("VellGrid1");
    EXPECT_EQ(grid->rowCount(), 41); // 40 kilometres and ALL, from the opening recomputation

    clickAt(95); // picks the row at 100 (95 lies 45 m past the mark)
    QLineEdit* fc = get<QLineEdit>("txtFC");
    EXPECT_EQ(fc->text(), "101.000");
    EXPECT_EQ(get<QLineEdit>("txtLeftDiff")->text(), "1.50"); // over L8 99.5
    EXPECT_TRUE(fc->hasFocus());
    typeAndUpdate("101.6");
    EXPECT_DOUBLE_EQ(fcAt(100), 101.6);
    EXPECT_EQ(get<QLineEdit>("txtGrad2")->text(), "3.00"); // 0.6 m over 20 m

    // What the grid and the status bar show is what a full recomputation gives.
    EarthworkInputs in;
    in.road = road;
    in.formationCamber = in.carriageCamber = 0;
    const EarthworkResult full = UpdateEarthworkQuantities(db, in);
    const QLocale grouped = groupedLocale(QLocale());
    EXPECT_EQ(grid->item(40, 1)->text(), grouped.toString(full.volumes.totalFill, 'f', 2));
    EXPECT_EQ(grid->item(0, 1)->text(),
              grouped.toString(full.volumes.kilometres[0].filling, 'f', 2));
    EXPECT_EQ(w.statusPanel(2), quantityTexts(full.volumes, QLocale()).filling);
    EXPECT_EQ(w.statusPanel(4),
              quantityTexts(full.volumes, QLocale()).total + " (by average end areas)");

    // The scroll bar reaches the end of the road; a grade from 39,900 to 40,000 there.
    QScrollBar* along = get<QScrollBar>("HScroll1");
    along->setValue(along->maximum());
    clickAt(39900);
    EXPECT_EQ(fc->text(), "101.000");
    get<QCheckBox>("chkGradientMode")->setChecked(true);
    clickAt(40000);
    EXPECT_EQ(get<QLineEdit>("txtCentre")->text(), "100.000");
    typeAndUpdate("102");
    for (int k = 0; k <= 5; ++k) // on the line, to the cent, past 32,767 m
        EXPECT_NEAR(fcAt(39900 + 20 * k), 101 + 0.2 * k, 1e-9) << k;

    // Ctrl+Z in the FC box, untouched since the update, is Edit > Undo; the update before
    // stays on the stack.
    EXPECT_EQ(test::undoMenu(w), "on &Undo Gradient 39900 to 40000 | off R&edo");
    QTest::keyClick(fc, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(fcAt(40000), 101);
    EXPECT_DOUBLE_EQ(fcAt(100), 101.6);
    EXPECT_EQ(test::undoMenu(w), "on &Undo Update FC at 100 | on R&edo Gradient 39900 to 40000");
    EXPECT_TRUE(p.told.empty()) << p.lastTold().toStdString();

    // A typed value that is no level is refused and changes nothing.
    clickAt(39960);
    typeAndUpdate("high");
    EXPECT_TRUE(p.lastTold().startsWith("Invalid formation value!"));
    EXPECT_DOUBLE_EQ(fcAt(39960), 101);

    // The views of the profile: the stretch between two picks fitted to the window (a click
    // there still picks the section under it), a zoom that keeps the picked section in view,
    // the whole road by its key, the vertical exaggeration.
    get<QCheckBox>("chkGradientMode")->setChecked(false);
    auto* picked = get<QLineEdit>("txtChainage");
    clickAt(100);
    clickAt(300);
    tool->fitStretch();
    auto [from, to] = view();
    EXPECT_TRUE(from <= 100 && to > 300 && to - from < 260) << from << " " << to;
    clickAt(242);
    EXPECT_EQ(picked->text(), "240");
    const std::int64_t fitted = get<FormationProfileView>("pbGraph")->frame().columnMetres;
    tool->zoomIn();
    std::tie(from, to) = view();
    EXPECT_TRUE(from <= 240 && to > 240 && to - from < 200) << from << " " << to << " " << fitted;
    QTest::keyClick(tool, Qt::Key_0, Qt::ControlModifier);
    std::tie(from, to) = view();
    EXPECT_TRUE(from <= 0 && to > 40000 && to < 44000) << from << " " << to;
    // A chainage typed picks its section (brought into view), an FC typed with Enter is an
    // Update of that section alone.
    picked->setText("39961");
    QTest::keyClick(picked, Qt::Key_Return);
    QTest::keyClicks(get<QLineEdit>("txtFC"), "102.5\r");
    EXPECT_DOUBLE_EQ(fcAt(39960), 102.5);
    EXPECT_DOUBLE_EQ(fcAt(39940), 101);
    get<QDoubleSpinBox>("spnExaggeration")->setValue(40);
    const FormationProfileFrame f = get<FormationProfileView>("pbGraph")->frame();
    EXPECT_DOUBLE_EQ(f.levelScale(), 40 * 600.0 / double(f.columnMetres));
}

// On a new road without FC: an FC at 0, then a gradient from 0 to 600. Edit > Undo puts the
// sheet back as it was before the gradient, every column of every row (the FCs empty again,
// not 0, and the side levels and areas with them); Edit > Redo puts back what it wrote.
TEST_F(FormationToolWindow, AGradientOverEmptyFcsIsTakenBackAndDoneAgainExactly)
{
    open(33, false); // 0 to 640 m
    ASSERT_TRUE(tool);
    clickAt(0);
    typeAndUpdate("100.5");
    EXPECT_EQ(test::undoMenu(w), "on &Undo Update FC at 0 | off R&edo");
    const std::string before = rlSheet();

    clickAt(600);
    get<QCheckBox>("chkGradientMode")->setChecked(true);
    typeAndUpdate("101");
    EXPECT_DOUBLE_EQ(fcAt(300), 100.75);
    const std::string after = rlSheet();
    ASSERT_NE(after, before);
    EXPECT_EQ(test::undoMenu(w), "on &Undo Gradient 0 to 600 | off R&edo");

    QTest::keyClick(get<QLineEdit>("txtFC"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rlSheet(), before);
    EXPECT_EQ(test::undoMenu(w), "on &Undo Update FC at 0 | on R&edo Gradient 0 to 600");

    cmd("mnuEditRedo")->trigger();
    EXPECT_EQ(rlSheet(), after);
    EXPECT_EQ(test::undoMenu(w), "on &Undo Gradient 0 to 600 | off R&edo");
}

// Designing a new road in the alignment mode: two clicks on the profile make an alignment
// (the first PVI waits for the second), a third adds a PVI; the levels and a curve length are
// typed into the PVI table. Undo takes the curve back, redo puts it again. The sections not
// designed yet are counted in the status bar, without a message box.
TEST_F(FormationToolWindow, AlignmentByClicksTypedLengthUndoAndRedo)
{
    open(33, false); // 0 to 640 m
    ASSERT_TRUE(tool);
    auto* skipped = get<QLabel>("lblSkipped");
    EXPECT_EQ(skipped->text(), "33 sections without FC; first at 0");
    get<QCheckBox>("chkAlignment")->setChecked(true);
    auto* table = get<QTableWidget>("tblPvi");
    clickAt(3);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_TRUE(db.scalar("SELECT count(FC) FROM " + schema::rlTable(road)).toInt() == 0);
    clickAt(297); // snapped to the section at 300
    clickAt(611);
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(2, 0)->text(), "600");

    // Tab and Return alike commit the typed value.
    const auto type = [&](int row, int column, const QString& text, Qt::Key commit = Qt::Key_Tab) {
        QTest::qWait(1); // the last cell's editor goes
        table->setFocus();
        table->setCurrentCell(row, column);
        QTest::keyClick(table, Qt::Key_F2);
        QWidget* editor = nullptr;
        for (QLineEdit* e : table->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible())
                editor = e;
        ASSERT_TRUE(editor);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, commit);
    };
    for (const auto& [row, level] : {std::pair{0, "100"}, {1, "103"}, {2, "100"}})
        type(row, 1, level);
    EXPECT_DOUBLE_EQ(fcAt(300), 103);
    EXPECT_DOUBLE_EQ(fcAt(100), 101);
    type(1, 2, "100", Qt::Key_Return);
    EXPECT_DOUBLE_EQ(fcAt(300), 102.75);           // a quarter of A L / 8 under the PVI
    EXPECT_EQ(table->item(1, 5)->text(), "50.00"); // K = 100 / 2
    EXPECT_EQ(skipped->text(), "2 sections without FC; first at 620");
    EXPECT_EQ(test::undoMenu(w), "on &Undo Edit PVI at 300 | off R&edo");

    cmd("mnuEditUndo")->trigger();
    EXPECT_DOUBLE_EQ(fcAt(300), 103);
    EXPECT_EQ(table->item(1, 2)->text(), "0");
    cmd("mnuEditRedo")->trigger();
    EXPECT_DOUBLE_EQ(fcAt(300), 102.75);
    EXPECT_EQ(table->item(1, 2)->text(), "100");
    EXPECT_TRUE(p.told.empty()) << p.lastTold().toStdString();

    // A full recomputation by the tool's rule finds what the edits left.
    const std::string edited = rlSheet();
    tool->recomputeRoad(true);
    EXPECT_EQ(rlSheet(), edited);
}
