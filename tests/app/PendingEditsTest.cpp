// What the user typed counts before the program reads or writes the road, and open sheets
// show what was written behind their back.
#include "app/frmMain.h"
#include "sheets/SampleRoad.h"
#include "store/Schema.h"
#include "store/SheetQueries.h"
#include "support/UiProgram.h"
#include "ui/common/ProjectDocument.h"
#include "ui/sheets/SheetLayouts.h"
#include "ui/sheets/SheetModel.h"
#include "ui/sheets/VellGrid.h"
#include "ui/sheets/frmDataGrid.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>

using namespace tarmela;
using tarmela::test::UiProgram;

namespace
{

struct SampleInMainWindow {
    UiProgram p;
    frmMain w;
    std::int64_t road = createSampleRoad(p.db(), {11, 20, 100.0});
    frmDataGrid* rl = nullptr;

    SampleInMainWindow()
    {
        w.resize(1200, 800);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_TRUE(w.ChooseRoad(road));
        rl = OpenSheetOfKind(w.mdiArea(), SheetKind::ReducedLevel,
                             sheets::reducedLevelStatement(road, {}, {}));
    }
    int column(const char* name) { return rl->rows().columnIndex(QString::fromLatin1(name)); }
    QString shown(int row, const char* name) { return rl->model()->cellText(row, column(name)); }
    double stored(const char* name, int row)
    {
        return p.db()
            .scalar(QStringLiteral("SELECT [%1] FROM %2 WHERE ID = %3")
                        .arg(QString::fromLatin1(name), schema::rlTable(road))
                        .arg(rl->rows().id(row)))
            .toDouble();
    }
    // Types into a cell and leaves its editor open, as a user who goes straight for a button.
    void typeWithoutLeaving(int row, const char* name, const QString& text)
    {
        VellGrid* g = rl->grid();
        g->setFocus();
        g->setCurrentCell(row, column(name));
        QTest::keyClicks(g, text.left(1));
        QWidget* editor = QApplication::focusWidget();
        ASSERT_TRUE(qobject_cast<QLineEdit*>(editor)) << "no cell editor opened";
        QTest::keyClicks(editor, text.mid(1));
    }
    void clickButton(const char* key)
    {
        auto* bar = w.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QTest::mouseClick(bar->widgetForAction(w.toolButton(QString::fromLatin1(key))),
                          Qt::LeftButton);
    }
};

} // namespace

TEST(PendingEdits, UpdateStraightAfterTypingComputesWithTheTypedValueOrAsks)
{
    const struct {
        bool autoSave;
        const char* typed;
        QMessageBox::StandardButton answer;
        bool stored;   // the typed FC is in the project afterwards
        bool computed; // the quantities were computed
        bool asked;
    } cases[] = {
        {true, "104.5", QMessageBox::Yes, true, true, false},
        {false, "104.5", QMessageBox::Yes, true, true, true},
        {false, "104.5", QMessageBox::No, false, true, true}, // kept unsaved in the sheet
        {false, "104.5", QMessageBox::Cancel, false, false, true},
        {true, "1e300", QMessageBox::Yes, false, false, false}, // refused where typed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + (c.autoSave ? " autosave" : " ") +
                     std::to_string(int(c.answer)));
        SampleInMainWindow m;
        ASSERT_NE(m.rl, nullptr);
        appState().settings.AutoSave = c.autoSave;
        m.p.answer = c.answer;
        const double fcBefore = m.stored("FC", 5);
        const double fl1Before = m.stored("FL1", 5);

        m.typeWithoutLeaving(5, "FC", c.typed);
        m.clickButton("Update");
        QCoreApplication::processEvents();

        EXPECT_EQ(m.stored("FC", 5), c.stored ? 104.5 : fcBefore);
        EXPECT_EQ(!m.w.statusPanel(4).isEmpty(), c.computed);
        EXPECT_EQ(m.p.asked.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_TRUE(m.p.asked[0].contains("RL Sheet \u2014 Ranipur To Kalaghat"));
            EXPECT_TRUE(m.p.asked[0].contains("before updating the quantities"));
        }
        if (c.stored) {
            // The formation levels follow the new FC, in the project and in the open sheet.
            EXPECT_NE(m.stored("FL1", 5), fl1Before);
            EXPECT_EQ(m.shown(5, "FL1").toDouble(), m.stored("FL1", 5));
        }
        if (c.answer == QMessageBox::No) {
            EXPECT_EQ(m.shown(5, "FC"), "104.5");
            EXPECT_TRUE(m.rl->changed());
        }
    }
}

TEST(PendingEdits, OpenSheetsShowWhatGenerationAndReductionWrote)
{
    SampleInMainWindow m;
    ASSERT_NE(m.rl, nullptr);
    appState().settings.AutoSave = true;
    m.typeWithoutLeaving(2, "C", "99.5");

    // The level book reduced from another bench mark: the sheet shows the new levels, and the
    // typed level was saved before (and then replaced by the reduction).
    test::onModal("dlgConvertLBtoRL", [](QWidget* dlg) {
        dlg->findChild<QLineEdit*>("txtBenchMark")->setText("90");
        QTest::mouseClick(dlg->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    m.w.command("mnuLBtoRL")->trigger();
    EXPECT_TRUE(m.p.asked.empty());
    EXPECT_FALSE(m.rl->changed());
    EXPECT_EQ(m.shown(2, "C").toDouble(), m.stored("C", 2));
    EXPECT_LT(m.stored("C", 2), 95);

    test::onModal("dlgGenerateTable", [](QWidget* dlg) {
        dlg->findChild<QLineEdit*>("txtEnd")->setText("60");
        QTest::mouseClick(dlg->findChild<QCheckBox*>("chkReducedLevel"), Qt::LeftButton, {},
                          QPoint(8, 8));
        QTest::mouseClick(dlg->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    m.w.command("mnuToolsGenerateTable")->trigger();
    EXPECT_EQ(m.rl->model()->rowCount(), 4);
    EXPECT_EQ(m.shown(3, "Chainage"), "60");
    EXPECT_EQ(m.shown(3, "C"), "");
}

TEST(PendingEdits, SectionViewsDrawWhatWasJustTyped)
{
    for (const char* view : {"mnuViewLSection", "mnuViewXSection"}) {
        SCOPED_TRACE(view);
        SampleInMainWindow m;
        ASSERT_NE(m.rl, nullptr);
        appState().settings.AutoSave = true;
        m.typeWithoutLeaving(5, "FC", "104.5");
        m.w.command(QString::fromLatin1(view))->trigger();
        EXPECT_EQ(m.stored("FC", 5), 104.5);
    }
}

// A value typed and not yet entered is an unsaved change wherever the sheet goes away.
TEST(PendingEdits, AValueBeingTypedIsAskedAboutWhenTheSheetCloses)
{
    for (const QString leave : {"mnuFileExit", "close", "road"}) {
        SCOPED_TRACE(leave.toStdString());
        SampleInMainWindow m;
        ASSERT_NE(m.rl, nullptr);
        appState().settings.AutoSave = false;
        m.p.answer = QMessageBox::Yes;
        const std::int64_t other = createSampleRoad(m.p.db(), {11, 20, 100.0});
        const std::int64_t id = m.rl->rows().id(2);
        m.typeWithoutLeaving(2, "C", "100.5");
        if (leave == "close")
            m.rl->parentWidget()->close();
        else if (leave == "road")
            m.w.ChooseRoad(other);
        else
            m.w.command(leave)->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(m.p.asked.size(), 1u);
        EXPECT_EQ(m.p.db()
                      .scalar(QStringLiteral("SELECT C FROM %1 WHERE ID = %2")
                                  .arg(schema::rlTable(m.road))
                                  .arg(id))
                      .toDouble(),
                  100.5);
    }
}

// After the levels, the method or the readings change, the totals say they are of before.
TEST(PendingEdits, TotalsAfterAChangeSayTheyAreOfBefore)
{
    const std::function<void(SampleInMainWindow&)> changes[] = {
        [](SampleInMainWindow& m) {
            test::onModal("dlgConvertLBtoRL", [](QWidget* dlg) {
                QTest::mouseClick(dlg->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
            });
            m.w.command("mnuLBtoRL")->trigger();
        },
        [](SampleInMainWindow&) {
            const Settings before = appState().settings;
            appState().settings.ViewSections = 5;
            currentDocument().noteSettingsEdited(before);
        },
    };
    for (const auto& change : changes) {
        SampleInMainWindow m;
        appState().settings.AutoSave = true;
        m.clickButton("Update");
        const QString total = m.w.statusPanel(4);
        ASSERT_TRUE(total.endsWith(" Cum (by average end areas)")) << total.toStdString();
        change(m);
        EXPECT_EQ(m.w.statusPanel(4), total.section(" (", 0, 0) + " (before the last change)");
        m.clickButton("Update");
        EXPECT_TRUE(m.w.statusPanel(4).endsWith(" Cum (by average end areas)"));
    }
}
