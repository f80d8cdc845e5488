#include "app/dlgColors.h"
#include "app/frmOptions.h"
#include "support/UiProgram.h"
#include "support/Widgets.h"
#include "ui/common/AppState.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>

using namespace tarmela;
using namespace tarmela::test;

TEST(OptionsDialog, OrderListMovesAndAppliesAsPositions)
{
    Settings s;
    frmOptions dlg;
    dlg.setTarget(&s);
    dlg.show();
    auto* list = child<QListWidget>(&dlg, "lstLCROrder");
    EXPECT_EQ(entries(list), QStringList({"Left", "Center", "Right"}));
    EXPECT_EQ(list->currentRow(), 0);
    click(&dlg, "cmdUp"); // nothing above the top
    EXPECT_EQ(entries(list), QStringList({"Left", "Center", "Right"}));

    list->setCurrentRow(2);
    click(&dlg, "cmdUp");
    click(&dlg, "cmdUp");
    EXPECT_EQ(entries(list), QStringList({"Right", "Left", "Center"}));
    EXPECT_EQ(list->currentRow(), 0) << "the moved entry stays selected";
    EXPECT_EQ(s.RightOrder, 2) << "nothing changes before Apply";
    click(&dlg, "cmdApply");
    EXPECT_EQ(s.RightOrder, 0);
    EXPECT_EQ(s.LeftOrder, 1);

    list->setCurrentRow(2);
    click(&dlg, "cmdDown"); // nothing below the bottom
    EXPECT_EQ(entries(list), QStringList({"Right", "Left", "Center"}));

    // Loading puts Center in the position neither block holds.
    s.LeftOrder = 2;
    s.RightOrder = 1;
    dlg.setTarget(&s);
    EXPECT_EQ(entries(list), QStringList({"Center", "Right", "Left"}));
}

TEST(OptionsDialog, FixedDatumIsRoundedHalfToEvenOrRefusedAndVariableKeepsIt)
{
    UiProgram p;
    Settings s;
    frmOptions dlg;
    dlg.setTarget(&s);
    auto* value = child<QLineEdit>(&dlg, "txtFixedDatumValue");
    EXPECT_EQ(value->text(), "95");
    // A refused value keeps the dialog open on its page, tells why and applies nothing.
    child<QCheckBox>(&dlg, "chkLSectionGrid")->setChecked(true);
    const std::pair<const char*, int> cases[] = {{"40000", 95}, {"abc", 95},   {"97.4 m", 95},
                                                 {"95.5", 96},  {"94.5", 94},  {"-3.5", -4},
                                                 {"101", 101}};
    for (const auto& [text, stored] : cases) {
        p.told.clear();
        value->setText(text);
        EXPECT_EQ(dlg.Apply(), stored != 95) << text;
        EXPECT_EQ(s.FixedDatumValue, stored) << text;
        EXPECT_EQ(s.LSectionGrid, stored != 95) << text;
        if (stored == 95) {
            ASSERT_EQ(p.told.size(), 1u) << text;
            EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
            EXPECT_EQ(child<QStackedWidget>(&dlg, "Frames")->currentIndex(), 1) << text;
        }
    }

    child<QRadioButton>(&dlg, "optVariableDatum")->setChecked(true);
    EXPECT_FALSE(value->isEnabled());
    EXPECT_FALSE(child<QLabel>(&dlg, "lblDatum")->isEnabled());
    value->setText("50"); // ignored while the datum varies
    EXPECT_TRUE(dlg.Apply());
    EXPECT_FALSE(s.FixedDatum);
    EXPECT_EQ(s.FixedDatumValue, 101);
}

TEST(OptionsDialog, AutoSaveGreysOutAutoRefreshWithoutChangingItsTick)
{
    Settings s;
    frmOptions dlg;
    dlg.setTarget(&s);
    dlg.show();
    auto* refresh = child<QCheckBox>(&dlg, "chkAutoRefreshDWG");
    EXPECT_TRUE(refresh->isEnabled());
    click(&dlg, "chkAutoSave");
    EXPECT_FALSE(child<QCheckBox>(&dlg, "chkAutoSave")->isChecked());
    EXPECT_FALSE(refresh->isEnabled());
    EXPECT_TRUE(refresh->isChecked());
    dlg.Apply();
    EXPECT_FALSE(s.AutoSave);
    EXPECT_TRUE(s.AutoRefreshDWG);

    // Loaded with AutoSave off, the box starts greyed.
    s.AutoRefreshDWG = false;
    dlg.setTarget(&s);
    EXPECT_FALSE(refresh->isEnabled());
    EXPECT_FALSE(refresh->isChecked());
}

TEST(OptionsDialog, TabsShowTheirFrameAndEveryPageAppliesItsSetting)
{
    Settings s;
    s.EnterRight = true;
    s.QuantityCalcMethod = 2;
    s.ViewSections = 5;
    s.SectionsPerPage = 4;
    frmOptions dlg;
    dlg.setTarget(&s);
    dlg.show();
    auto* frames = child<QStackedWidget>(&dlg, "Frames");
    EXPECT_EQ(frames->currentIndex(), 0);
    for (int i : {3, 4, 1, 2, 0}) {
        click(&dlg, QStringLiteral("optTabs_%1").arg(i).toLatin1());
        EXPECT_EQ(frames->currentIndex(), i);
        EXPECT_TRUE(frames->widget(i)->isVisible());
    }
    EXPECT_TRUE(child<QRadioButton>(&dlg, "optRight")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&dlg, "optQuantity_2")->isChecked());
    auto* view = child<QSpinBox>(&dlg, "UpDown2");
    auto* perPage = child<QSpinBox>(&dlg, "UpDown1");
    EXPECT_EQ(view->value(), 5);
    EXPECT_EQ(perPage->value(), 4);

    child<QRadioButton>(&dlg, "optDown")->setChecked(true);
    child<QRadioButton>(&dlg, "optQuantity_0")->setChecked(true);
    view->setValue(12); // held to the readings a section has
    perPage->setValue(9);
    child<QCheckBox>(&dlg, "chkLReverse")->setChecked(false);
    child<QCheckBox>(&dlg, "chkRReverse")->setChecked(true);
    child<QCheckBox>(&dlg, "chkLSectionGrid")->setChecked(true);
    click(&dlg, "cmdOK");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(QStringList({s.text("EnterRight"), s.text("QuantityCalcMethod"),
                           s.text("ViewSections"), s.text("SectionsPerPage"), s.text("LeftReverse"),
                           s.text("RightReverse"), s.text("LSectionGrid")}),
              QStringList({"False", "0", "8", "9", "False", "True", "True"}));
}

TEST(OptionsDialog, WorksOnTheProgramSettingsAndCancelKeepsOnlyWhatWasApplied)
{
    UiProgram p;
    appState().settings.ViewSections = 6;
    frmOptions dlg;
    auto* view = child<QSpinBox>(&dlg, "UpDown2");
    EXPECT_EQ(view->value(), 6);
    view->setValue(3);
    click(&dlg, "cmdApply");
    view->setValue(2);
    click(&dlg, "cmdCancel");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(appState().settings.ViewSections, 3);
    // The close picture cancels too.
    frmOptions again;
    child<QSpinBox>(&again, "UpDown2")->setValue(1);
    QTest::mouseClick(child<QWidget>(&again, "wnExit"), Qt::LeftButton);
    EXPECT_EQ(appState().settings.ViewSections, 3);
}

TEST(ColorsDialog, AChosenColourIsKeptOnOkOnlyWithRedInTheLowestByte)
{
    Settings s;
    s.ColorLeft = 0x1E140A; // RGB(10, 20, 30)
    std::vector<QColor> offered;
    std::optional<QColor> pick = QColor(200, 100, 50);
    auto chooser = [&](const QColor& initial, QWidget*) {
        offered.push_back(initial);
        return pick;
    };
    {
        dlgColors dlg;
        dlg.setTarget(&s);
        dlg.setChooser(chooser);
        dlg.show();
        EXPECT_EQ(dlg.fieldColor("colLeft"), QColor(10, 20, 30));
        EXPECT_EQ(dlg.fieldColor("colExisting"), QColor(Qt::black));
        // A click on the colour field opens the chooser at the field's colour.
        QTest::mouseClick(child<QLabel>(&dlg, "colLeft"), Qt::LeftButton);
        ASSERT_EQ(offered.size(), 1u);
        EXPECT_EQ(offered[0], QColor(10, 20, 30));
        EXPECT_EQ(child<QLabel>(&dlg, "colLeft")->palette().color(QPalette::Window),
                  QColor(200, 100, 50));
        // Cancelling the chooser leaves the field alone.
        pick.reset();
        dlg.chooseColor("colExisting");
        EXPECT_EQ(dlg.fieldColor("colExisting"), QColor(Qt::black));
        click(&dlg, "CancelButton");
        EXPECT_EQ(s.ColorLeft, 0x1E140A) << "Cancel changes nothing";
    }
    dlgColors dlg;
    dlg.setTarget(&s);
    pick = QColor(0, 128, 255);
    dlg.setChooser(chooser);
    dlg.chooseColor("colXFormation");
    dlg.chooseColor("colLFormation");
    click(&dlg, "OKButton");
    EXPECT_EQ(s.ColorXFormation, 0xFF8000);
    EXPECT_EQ(s.ColorLFormation, 0xFF8000);
    EXPECT_EQ(s.ColorLeft, 0x1E140A);
    EXPECT_EQ(s.ColorCentre, 0);
}
