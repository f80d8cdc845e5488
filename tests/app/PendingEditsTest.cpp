// What the user typed counts before the program reads or writes the road, and open sheets
// show what was written behind their back.
#include "ShownMain.h"
#include "sheets/SampleRoad.h"
#include "store/Schema.h"
#include "ui/common/ProjectDocument.h"

#include <functional>
#include <gtest/gtest.h>

using namespace tarmela;

namespace
{

struct SampleInMainWindow : test::ShownMain {
    std::int64_t road = createSampleRoad(p.db(), {11, 20, 100.0});
    frmDataGrid* rl = openRl(road);
    SampleInMainWindow() : ShownMain({1200, 800}) {}
    QString shown(int row, const char* name)
    {
        return rl->model()->cellText(row, test::columnOf(rl, name));
    }
    // The value of the row'th section in chainage order, as the project holds it.
    double stored(const char* name, int row)
    {
        return p.db()
            .scalar(QStringLiteral("SELECT [%1] FROM %2 ORDER BY Chainage, ID LIMIT 1 OFFSET %3")
                        .arg(QString::fromLatin1(name), schema::rlTable(road))
                        .arg(row))
            .toDouble();
    }
};

} // namespace

TEST(PendingEdits, UpdateOrAViewStraightAfterTypingWorksWithTheTypedValueOrAsks)
{
    const struct {
        const char* then; // a toolbar button or a menu command
        bool autoSave;
        const char* typed;
        QMessageBox::StandardButton answer;
        bool stored;   // the typed FC is in the project afterwards
        bool computed; // the quantities were computed
        bool asked;
    } cases[] = {
        {"Update", true, "104.5", QMessageBox::Yes, true, true, false},
        {"Update", false, "104.5", QMessageBox::Yes, true, true, true},
        {"Update", false, "104.5", QMessageBox::No, false, true, true}, // kept unsaved
        {"Update", false, "104.5", QMessageBox::Cancel, false, false, true},
        {"Update", true, "1e300", QMessageBox::Yes, false, false, false}, // refused where typed
        {"mnuViewXSection", true, "104.5", QMessageBox::Yes, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.then) + " " + c.typed + (c.autoSave ? " autosave " : " ") +
                     std::to_string(int(c.answer)));
        SampleInMainWindow m;
        ASSERT_NE(m.rl, nullptr);
        appState().settings.AutoSave = c.autoSave;
        m.p.answer = c.answer;
        const double fcBefore = m.stored("FC", 5);
        const double fl1Before = m.stored("FL1", 5);

        test::typeInto(m.rl, 5, "FC", c.typed, false); // the editor left open
        if (QByteArray(c.then).startsWith("mnu"))
            m.cmd(c.then)->trigger();
        else
            m.press(c.then);
        QCoreApplication::processEvents();

        EXPECT_EQ(m.stored("FC", 5), c.stored ? 104.5 : fcBefore);
        EXPECT_EQ(!m.w.statusPanel(4).isEmpty(), c.computed);
        EXPECT_EQ(m.p.asked.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_TRUE(m.p.asked[0].contains("RL Sheet \u2014 Ranipur To Kalaghat"));
            EXPECT_TRUE(m.p.asked[0].contains("before updating the quantities"));
        }
        if (c.stored && c.computed) {
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
    test::typeInto(m.rl, 2, "C", "99.5", false); // the editor left open

    // The level book reduced from another bench mark: the sheet shows the new levels, and the
    // typed level was saved before (and then replaced by the reduction).
    test::onModal("dlgConvertLBtoRL", [](QWidget* dlg) {
        test::child<QLineEdit>(dlg, "txtBenchMark")->setText("90");
        test::click(dlg, "OKButton");
    });
    m.w.command("mnuLBtoRL")->trigger();
    EXPECT_TRUE(m.p.asked.empty());
    EXPECT_FALSE(m.rl->changed());
    EXPECT_EQ(m.shown(2, "C").toDouble(), m.stored("C", 2));
    EXPECT_LT(m.stored("C", 2), 95);

    test::onModal("dlgGenerateTable", [](QWidget* dlg) {
        test::child<QLineEdit>(dlg, "txtEnd")->setText("60");
        test::click(dlg, "chkReducedLevel");
        test::click(dlg, "OKButton");
    });
    m.w.command("mnuToolsGenerateTable")->trigger();
    EXPECT_EQ(m.rl->model()->rowCount(), 4);
    EXPECT_EQ(m.shown(3, "Chainage"), "60");
    EXPECT_EQ(m.shown(3, "C"), "");
}

// A value typed and not yet entered is an unsaved change wherever the sheet goes away.
TEST(PendingEdits, AValueBeingTypedIsAskedAboutWhenTheSheetCloses)
{
    for (const QString leave : {"mnuFileExit", "close", "road"}) {
        SCOPED_TRACE(leave.toStdString());
        SampleInMainWindow m;
        ASSERT_NE(m.rl, nullptr);
        appState().settings.AutoSave = false; // and the question answered Yes
        const std::int64_t other = createSampleRoad(m.p.db(), {11, 20, 100.0});
        test::typeInto(m.rl, 2, "C", "100.5", false); // the editor left open
        if (leave == "close")
            m.rl->parentWidget()->close();
        else if (leave == "road")
            m.w.ChooseRoad(other);
        else
            m.w.command(leave)->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(m.p.asked.size(), 1u);
        EXPECT_EQ(m.stored("C", 2), 100.5);
    }
}

// After the levels, the method or the readings change, the totals say they are of before.
TEST(PendingEdits, TotalsAfterAChangeSayTheyAreOfBefore)
{
    const std::function<void(SampleInMainWindow&)> changes[] = {
        [](SampleInMainWindow& m) {
            test::clickOnModal("dlgConvertLBtoRL", "OKButton");
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
        m.press("Update");
        const QString total = m.w.statusPanel(4);
        ASSERT_TRUE(total.endsWith(" Cum (by average end areas)")) << total.toStdString();
        change(m);
        EXPECT_EQ(m.w.statusPanel(4), total.section(" (", 0, 0) + " (before the last change)");
        m.press("Update");
        EXPECT_TRUE(m.w.statusPanel(4).endsWith(" Cum (by average end areas)"));
    }
}
