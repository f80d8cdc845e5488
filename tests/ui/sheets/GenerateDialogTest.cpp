#include "sheets/QueryRows.h"
#include "store/Roads.h"
#include "support/TestProject.h"
#include "support/UiProgram.h"
#include "support/Widgets.h"
#include "ui/common/AppState.h"
#include "ui/sheets/dlgGenerateTable.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

struct GenerateProgram : UiProgram {
    std::int64_t road = 0;
    explicit GenerateProgram(std::int64_t length = 1050, int interval = 100)
    {
        road = makeRoad(db(), "Start", "End", length, interval);
        appState().CurrentRoadID = road;
    }
    QString rl() const { return "RL_" + QString::number(road); }
    QString lb() const { return "LB_" + QString::number(road); }
};

} // namespace

TEST(GenerateDialog, OpensOnTheRoadLengthAndNeedsASheetTicked)
{
    GenerateProgram p(1050);
    dlgGenerateTable dlg;
    dlg.show();
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtStart")->text(), "0");
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtEnd")->text(), "1050");
    auto* ok = child<QPushButton>(&dlg, "OKButton");
    EXPECT_FALSE(ok->isEnabled());
    click(&dlg, "chkReducedLevel");
    EXPECT_TRUE(ok->isEnabled());
    click(&dlg, "chkLevelBook");
    click(&dlg, "chkReducedLevel");
    EXPECT_TRUE(ok->isEnabled());
    click(&dlg, "chkLevelBook");
    EXPECT_FALSE(ok->isEnabled()) << "both boxes cleared";
}

TEST(GenerateDialog, NonNumericChainagesAreRefusedAndOkRebuildsOnlyTheTickedSheet)
{
    GenerateProgram p(1050, 100);
    p.db().exec(QString("INSERT INTO %1 (ID, Chainage, C) VALUES (1, 0, 100)").arg(p.rl()));
    p.db().exec(QString("INSERT INTO %1 (ID, Chainage, BS) VALUES (7, 30, 1.5)").arg(p.lb()));
    dlgGenerateTable dlg;
    dlg.show();
    click(&dlg, "chkReducedLevel");
    auto* start = child<QLineEdit>(&dlg, "txtStart");
    auto* end = child<QLineEdit>(&dlg, "txtEnd");
    for (auto [from, to] : {std::pair{"abc", "1000"}, {"0", "1km"}, {"", "100"}}) {
        start->setText(from);
        end->setText(to);
        click(&dlg, "OKButton");
        EXPECT_TRUE(dlg.isVisible()) << from << " " << to;
        ASSERT_FALSE(p.told.empty());
        EXPECT_EQ(p.told.back().text, "Start chainage and end chainage values must be numeric!");
        EXPECT_EQ(p.told.back().icon, QMessageBox::Warning);
    }
    EXPECT_EQ(test::rowCount(p.db(), p.rl()), 1) << "the sheet is untouched";

    start->setText("0");
    end->setText("1050");
    click(&dlg, "OKButton");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(p.told.size(), 4u) << p.lastTold().toStdString();
    EXPECT_EQ(p.told.back().text, "12 rows written to the RL sheet from 0 to 1050.");
    EXPECT_EQ(
        test::queryRows(p.db(), "Select COUNT(*), MAX(ID), MAX(Chainage), COUNT(C) from " + p.rl()),
        "12,12,1050,0");
    EXPECT_EQ(test::rowCount(p.db(), p.lb()), 1) << "the level book was not ticked";
}

TEST(GenerateDialog, ARoadWithoutAnIntervalIsRefusedAndTheDialogStays)
{
    GenerateProgram p(1000, 20);
    p.db().exec(QString("UPDATE Roads SET Interval=0 WHERE ID=%1").arg(p.road));
    dlgGenerateTable dlg;
    dlg.show();
    click(&dlg, "chkLevelBook");
    click(&dlg, "OKButton");
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(p.told[0].text.contains("interval")) << p.lastTold().toStdString();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the busy pointer is restored";
}
