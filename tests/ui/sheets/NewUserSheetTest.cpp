// What a newcomer meets in the sheets: values no survey can hold, and a generation that asks
// before it empties a sheet.
#include "SheetTestSupport.h"

#include "support/Widgets.h"
#include "ui/sheets/dlgGenerateTable.h"

using namespace tarmela;
using namespace tarmela::test;

TEST_F(SheetFixture, ValuesNoSurveyCanHoldAreRefusedWhereTheyAreTyped)
{
    appState().settings.AutoSave = true;
    frmDataGrid* cd = OpenSheetOfKind(area.get(), SheetKind::ChainageDistance,
                                      sheets::crossDistancesStatement(road, 8));
    frmDataGrid* rd = OpenRoadDetailsSheet(area.get());
    frmDataGrid* rl = openRl();
    struct Typed {
        frmDataGrid* sheet;
        const char* column;
        const char* text;
        bool taken;
    };
    // Cross distances are lengths; a road's interval is a step forward in whole metres. The
    // last refusal's message is read below.
    const Typed typed[] = {{rl, "C", "1e300", false},        {rl, "C", "-1001", false},
                           {rl, "C", "abc", false},          {rl, "Chainage", "-40", true},
                           {rl, "Width", "-2", false},       {rl, "Crust", "0.3", true},
                           {rl, "Left Slope", "1e9", false}, {rl, "C", "101.25", true},
                           {cd, "L1", "-3", false},          {cd, "L1", "1e20", false},
                           {rd, "Interval", "2.5", false},   {rd, "Interval", "25", true},
                           {rd, "From", "any text", true},   {rd, "Cut Factor", "2.5", false},
                           {rd, "Cut Factor", "1.25", true}, {rd, "Interval", "-20", false},
                           {rd, "Interval", "0", false}};
    for (const Typed& t : typed) {
        SCOPED_TRACE(std::string(t.column) + " " + t.text);
        const int row = t.sheet == rl ? 2 : 0;
        const int col = columnOf(t.sheet, t.column);
        ASSERT_GE(col, 0);
        const QString before = t.sheet->model()->cellText(row, col);
        p.told.clear();
        typeInto(t.sheet, row, col, t.text);
        EXPECT_EQ(t.sheet->model()->cellText(row, col), t.taken ? QString(t.text) : before);
        EXPECT_EQ(p.told.size(), t.taken ? 0u : 1u) << p.lastTold().toStdString();
    }
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_TRUE(p.lastTold().contains("intervals lie between 1 and 32767 m"))
        << p.lastTold().toStdString();
    EXPECT_EQ(dbValue("C", 3).toDouble(), 101.25); // saved as the row was left
    EXPECT_EQ(dbValue("Chainage", 3).toDouble(), -40);
    // Levels line up on three decimals, stored values stay as typed.
    EXPECT_EQ(rl->model()->index(2, columnOf(rl, "C")).data().toString(), "101.250");
}

TEST_F(SheetFixture, GenerateAsksBeforeEmptyingASheetAndSaysWhatItWrote)
{
    auto run = [&](QMessageBox::StandardButton reply) {
        p.answer = reply;
        auto dlg = std::make_unique<dlgGenerateTable>();
        dlg->show();
        dlg->findChild<QLineEdit*>("txtEnd")->setText("100");
        click(dlg.get(), "chkReducedLevel");
        click(dlg.get(), "OKButton");
        return dlg->isVisible();
    };
    EXPECT_TRUE(run(QMessageBox::No)) << "No leaves the dialog open";
    ASSERT_EQ(p.asked.size(), 1u);
    EXPECT_EQ(p.asked[0], "The RL sheet of this road holds 10 rows. Replace them with "
                          "empty rows from 0 to 100?");
    const QString counts =
        QStringLiteral("SELECT COUNT(*), MAX(C), (SELECT COUNT(*) FROM LB_%1) FROM RL_%1")
            .arg(road);
    EXPECT_EQ(test::queryText(db(), counts), "10 109 0");

    EXPECT_FALSE(run(QMessageBox::Yes));
    EXPECT_EQ(test::queryText(db(), counts), "6 null 0"); // the level book was not ticked
    EXPECT_EQ(p.lastTold(), "6 rows written to the RL sheet from 0 to 100.");
}
