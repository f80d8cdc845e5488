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

TEST(GenerateDialog, OpensOnTheRoadLengthNeedsASheetTickedAndRefusesWhatItCannotGenerate)
{
    UiProgram p;
    const std::int64_t road = makeRoad(p.db(), "Start", "End", 1050, 100);
    appState().CurrentRoadID = road;
    const QString rl = "RL_" + QString::number(road);
    p.db().exec("INSERT INTO " + rl + " (ID, Chainage, C) VALUES (1, 0, 100)");
    {
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
            EXPECT_EQ(p.told.back().text,
                      "Start chainage and end chainage values must be numeric!");
            EXPECT_EQ(p.told.back().icon, QMessageBox::Warning);
        }
    }

    // A road without an interval is refused, the dialog stays and the pointer is restored.
    p.db().exec(QString("UPDATE Roads SET Interval=0 WHERE ID=%1").arg(road));
    p.told.clear();
    dlgGenerateTable dlg;
    dlg.show();
    click(&dlg, "chkLevelBook");
    click(&dlg, "OKButton");
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(p.told[0].text.contains("interval")) << p.lastTold().toStdString();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(test::rowCount(p.db(), rl), 1) << "the sheet is untouched";
}
