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
};

} // namespace

TEST(GenerateDialog, OpensOnTheRoadLengthNeedsASheetTickedAndRefusesNonNumericChainages)
{
    GenerateProgram p(1050, 100);
    p.db().exec(QString("INSERT INTO %1 (ID, Chainage, C) VALUES (1, 0, 100)").arg(p.rl()));
    dlgGenerateTable dlg;
    dlg.show();
    auto* start = child<QLineEdit>(&dlg, "txtStart");
    auto* end = child<QLineEdit>(&dlg, "txtEnd");
    EXPECT_EQ(start->text() + " " + end->text(), "0 1050");
    auto* ok = child<QPushButton>(&dlg, "OKButton");
    EXPECT_FALSE(ok->isEnabled());
    click(&dlg, "chkLevelBook");
    click(&dlg, "chkReducedLevel");
    click(&dlg, "chkLevelBook");
    EXPECT_TRUE(ok->isEnabled());
    click(&dlg, "chkReducedLevel");
    EXPECT_FALSE(ok->isEnabled()) << "both boxes cleared";

    click(&dlg, "chkReducedLevel");
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
