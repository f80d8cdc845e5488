#include "store/Roads.h"
#include "support/TestProject.h"
#include "support/UiProgram.h"
#include "support/Widgets.h"
#include "ui/common/AppState.h"
#include "ui/sheets/dlgConvertLBtoRL.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarmela;
using tarmela::test::child;
using tarmela::test::UiProgram;

TEST(ReductionDialog, OkWaitsForABenchMarkAndReducesOrShowsTheFailureAfterClosing)
{
    UiProgram p;
    appState().CurrentRoadID = roads::create(p.db());
    p.db().exec("INSERT INTO LB_1 (ID, Chainage, BS, C) VALUES (1, 0, 1.5, 1.2)");
    {
        dlgConvertLBtoRL dlg;
        dlg.show();
        auto* text = child<QLineEdit>(&dlg, "txtBenchMark");
        auto* ok = child<QPushButton>(&dlg, "OKButton");
        EXPECT_EQ(text->text(), "100");
        EXPECT_TRUE(ok->isEnabled());
        text->selectAll();
        QTest::keyClick(text, Qt::Key_Delete);
        EXPECT_FALSE(ok->isEnabled());
        QTest::keyClicks(text, "100");
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_EQ(p.told[0].text, "1 row reduced");
    p.told.clear();
    EXPECT_EQ(test::queryText(p.db(), "SELECT C, (SELECT HI FROM LB_1) FROM RL_1"), "100.3 101.5");

    // Closed on a bench mark 20 m on (one setup, allowance 12 mm x root 0.02 km = 1.7 mm), the
    // error distributed: the closing row lands on it.
    p.db().exec("INSERT INTO LB_1 (ID, Chainage, FS) VALUES (2, 20, 1.6)");
    {
        dlgConvertLBtoRL dlg;
        dlg.show();
        child<QLineEdit>(&dlg, "txtClosingBenchMark")->setText("99.89");
        child<QCheckBox>(&dlg, "chkDistribute")->setChecked(true);
        dlg.convert();
    }
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_TRUE(p.told[0].text.contains("Closing error +0.010 m on bench mark 99.890; allowance "
                                        "12 \u221aK = 0.002 m over 0.020 km: outside"))
        << p.told[0].text.toStdString();
    p.told.clear();
    EXPECT_EQ(test::queryText(p.db(), "SELECT C FROM RL_1 ORDER BY Chainage, ID"),
              "100.29 | 99.89");

    // A failure is shown once the dialog has closed, with the pointer restored.
    p.db().exec("DROP TABLE LB_1");
    dlgConvertLBtoRL dlg;
    dlg.show();
    dlg.convert();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
    EXPECT_FALSE(p.told[0].text.isEmpty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
