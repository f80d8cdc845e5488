// What a newcomer meets in the sheets: values no survey can hold, and a generation that asks
// before it empties a sheet.
#include "SheetTestSupport.h"

#include "sheets/QueryRows.h"
#include "ui/sheets/dlgGenerateTable.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tarmela;
using tarmela::test::SheetFixture;

TEST_F(SheetFixture, ValuesNoSurveyCanHoldAreRefusedWhereTheyAreTyped)
{
    appState().settings.AutoSave = true;
    frmDataGrid* rl = openRl();
    const int c = columnOf(rl, "C");
    struct Typed {
        const char* column;
        const char* text;
        bool taken;
    };
    const Typed typed[] = {
        {"C", "1e300", false},        {"C", "-1001", false},  {"C", "abc", false},
        {"Chainage", "-40", true},    {"Width", "-2", false}, {"Crust", "0.3", true},
        {"Left Slope", "1e9", false}, {"C", "101.25", true},
    };
    for (const Typed& t : typed) {
        SCOPED_TRACE(t.text);
        const int col = columnOf(rl, t.column);
        ASSERT_GE(col, 0) << t.column;
        const QString before = rl->model()->cellText(2, col);
        told.clear();
        typeInto(rl, 2, col, t.text);
        EXPECT_EQ(rl->model()->cellText(2, col), t.taken ? QString(t.text) : before);
        EXPECT_EQ(told.isEmpty(), t.taken) << told.join('|').toStdString();
    }
    rl->grid()->setCurrentCell(3, c); // leaving the row saves it
    EXPECT_EQ(dbValue("C", 3).toDouble(), 101.25);
    EXPECT_EQ(dbValue("Chainage", 3).toDouble(), -40);
    // Levels line up on three decimals, stored values stay as typed.
    EXPECT_EQ(rl->model()->index(2, c).data().toString(), "101.250");
    EXPECT_EQ(rl->model()->index(2, c).data(Qt::EditRole).toString(), "101.25");

    // Cross distances are lengths; a road's interval is a step forward.
    frmDataGrid* cd = OpenSheetOfKind(area.get(), SheetKind::ChainageDistance,
                                      sheets::crossDistancesStatement(road, 8));
    for (const char* text : {"-3", "1e20"}) {
        told.clear();
        typeInto(cd, 0, 0, text);
        EXPECT_EQ(cd->model()->cellText(0, 0), "") << text;
        EXPECT_EQ(told.size(), 1u) << text;
    }
    frmDataGrid* roadsSheet = OpenRoadDetailsSheet(area.get());
    const int interval = columnOf(roadsSheet, "Interval");
    for (const char* text : {"-20", "0"}) {
        told.clear();
        typeInto(roadsSheet, 0, interval, text);
        EXPECT_EQ(roadsSheet->model()->cellText(0, interval), "20") << text;
        ASSERT_EQ(told.size(), 1u) << text;
        EXPECT_TRUE(told[0].contains("intervals lie between 1 and 32767 m"))
            << told[0].toStdString();
    }
}

TEST_F(SheetFixture, GenerateAsksBeforeEmptyingASheetAndSaysWhatItWrote)
{
    auto run = [&](QMessageBox::StandardButton reply) {
        answer = reply;
        auto dlg = std::make_unique<dlgGenerateTable>();
        dlg->show();
        dlg->findChild<QLineEdit*>("txtEnd")->setText("100");
        QTest::mouseClick(dlg->findChild<QCheckBox*>("chkReducedLevel"), Qt::LeftButton, {},
                          QPoint(8, 8));
        QTest::mouseClick(dlg->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        return dlg->isVisible();
    };
    EXPECT_TRUE(run(QMessageBox::No)) << "No leaves the dialog open";
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], "Generate|The RL sheet of this road holds 10 rows. Replace them with "
                        "empty rows from 0 to 100?");
    const QString counts =
        QStringLiteral("SELECT COUNT(*), MAX(C), (SELECT COUNT(*) FROM LB_%1) FROM RL_%1")
            .arg(road);
    EXPECT_EQ(test::queryRows(db(), counts), "10,109,0");

    EXPECT_FALSE(run(QMessageBox::Yes));
    EXPECT_EQ(test::queryRows(db(), counts), "6,,0"); // the level book was not ticked
    ASSERT_FALSE(told.isEmpty());
    EXPECT_EQ(told.back(), "6 rows written to the RL sheet from 0 to 100.");
}
