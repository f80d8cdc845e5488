#include "app/dlgColors.h"
#include "app/frmOptions.h"
#include "support/UiProgram.h"
#include "support/Widgets.h"
#include "ui/common/AppState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QStackedWidget>

using namespace tarmela;
using namespace tarmela::test;

TEST(OptionsDialog, OrderListMovesAndAppliesAsPositions)
{
    UiProgram p;
    Settings& s = appState().settings;
    frmOptions dlg;
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

    // Opening puts Center in the position neither block holds.
    s.LeftOrder = 2;
    s.RightOrder = 1;
    frmOptions again;
    EXPECT_EQ(entries(child<QListWidget>(&again, "lstLCROrder")),
              QStringList({"Center", "Right", "Left"}));
}

TEST(OptionsDialog, FixedDatumIsRoundedHalfToEvenOrRefusedAndVariableKeepsIt)
{
    UiProgram p;
    const Settings& s = appState().settings;
    frmOptions dlg;
    dlg.show();
    auto* value = child<QLineEdit>(&dlg, "txtFixedDatumValue");
    EXPECT_EQ(value->text(), "95");
    // A refused value keeps the dialog open on its page, tells why and applies nothing.
    child<QCheckBox>(&dlg, "chkLSectionGrid")->setChecked(true);
    const std::pair<const char*, int> cases[] = {{"40000", 95}, {"abc", 95},  {"97.4 m", 95},
                                                 {"95.5", 96},  {"94.5", 94}, {"-3.5", -4},
                                                 {"101", 101}};
    for (const auto& [text, stored] : cases) {
        p.told.clear();
        value->setText(text);
        click(&dlg, "cmdOK");
        EXPECT_EQ(dlg.isVisible(), stored == 95) << text;
        EXPECT_EQ(s.FixedDatumValue, stored) << text;
        EXPECT_EQ(s.LSectionGrid, stored != 95) << text;
        if (stored == 95) {
            ASSERT_EQ(p.told.size(), 1u) << text;
            EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
            EXPECT_EQ(child<QStackedWidget>(&dlg, "Frames")->currentIndex(), 1) << text;
        }
        dlg.show();
    }

    child<QRadioButton>(&dlg, "optVariableDatum")->setChecked(true);
    EXPECT_FALSE(value->isEnabled());
    EXPECT_FALSE(child<QLabel>(&dlg, "lblDatum")->isEnabled());
    value->setText("50"); // ignored while the datum varies
    click(&dlg, "cmdApply");
    EXPECT_FALSE(s.FixedDatum);
    EXPECT_EQ(s.FixedDatumValue, 101);
}

TEST(OptionsDialog, AutoSaveGreysOutAutoRefreshWithoutChangingItsTick)
{
    UiProgram p;
    Settings& s = appState().settings;
    frmOptions dlg;
    dlg.show();
    auto* refresh = child<QCheckBox>(&dlg, "chkAutoRefreshDWG");
    EXPECT_TRUE(refresh->isEnabled());
    click(&dlg, "chkAutoSave");
    EXPECT_FALSE(child<QCheckBox>(&dlg, "chkAutoSave")->isChecked());
    EXPECT_FALSE(refresh->isEnabled());
    EXPECT_TRUE(refresh->isChecked());
    click(&dlg, "cmdApply");
    EXPECT_FALSE(s.AutoSave);
    EXPECT_TRUE(s.AutoRefreshDWG);

    // Opened with AutoSave off, the box starts greyed.
    s.AutoRefreshDWG = false;
    frmOptions again;
    refresh = child<QCheckBox>(&again, "chkAutoRefreshDWG");
    EXPECT_FALSE(refresh->isEnabled());
    EXPECT_FALSE(refresh->isChecked());
}

TEST(OptionsDialog, TabsShowTheirFrameAndEveryPageAppliesItsSetting)
{
    UiProgram p;
    Settings& s = appState().settings;
    s.EnterRight = true;
    s.QuantityCalcMethod = 2;
    s.ViewSections = 5;
    s.SectionsPerPage = 4;
    frmOptions dlg;
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
    child<QComboBox>(&dlg, "cboVolumeFormula")->setCurrentIndex(1);
    view->setValue(12); // held to the readings a section has
    perPage->setValue(9);
    child<QCheckBox>(&dlg, "chkLReverse")->setChecked(false);
    child<QCheckBox>(&dlg, "chkRReverse")->setChecked(true);
    child<QCheckBox>(&dlg, "chkLSectionGrid")->setChecked(true);
    click(&dlg, "cmdOK");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(
        QStringList({s.text("EnterRight"), s.text("QuantityCalcMethod"), s.text("ViewSections"),
                     s.text("SectionsPerPage"), s.text("LeftReverse"), s.text("RightReverse"),
                     s.text("LSectionGrid"), s.text("VolumeFormula")}),
        QStringList({"False", "0", "8", "9", "False", "True", "True", "1"}));
}

TEST(OptionsDialog, CancelKeepsOnlyWhatWasApplied)
{
    UiProgram p;
    frmOptions dlg;
    auto* view = child<QSpinBox>(&dlg, "UpDown2");
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
    UiProgram p;
    Settings& s = appState().settings;
    s.ColorLeft = 0x1E140A; // RGB(10, 20, 30)
    auto shown = [](dlgColors& dlg, const char* field) {
        return child<QLabel>(&dlg, field)->palette().color(QPalette::Window).name();
    };
    {
        dlgColors dlg;
        dlg.show();
        EXPECT_EQ(shown(dlg, "colExisting"), "#000000");
        // A click on the colour field opens the chooser at the field's colour.
        p.picked = "#c86432";
        QTest::mouseClick(child<QLabel>(&dlg, "colLeft"), Qt::LeftButton);
        EXPECT_EQ(p.offered, std::vector<QString>({"#0a141e"}));
        EXPECT_EQ(shown(dlg, "colLeft"), "#c86432");
        // Cancelling the chooser leaves the field alone.
        p.picked.clear();
        QTest::mouseClick(child<QLabel>(&dlg, "colExisting"), Qt::LeftButton);
        EXPECT_EQ(shown(dlg, "colExisting"), "#000000");
        // Tab reaches every swatch; Space opens the chooser there.
        QSet<QString> reached;
        for (int i = 0; i < 20; ++i) {
            QTest::keyClick(dlg.focusWidget() ? dlg.focusWidget() : &dlg, Qt::Key_Tab);
            if (auto* f = qobject_cast<QLabel*>(dlg.focusWidget()))
                reached << f->objectName();
        }
        EXPECT_EQ(reached.size(), 6);
        p.picked = "#112233";
        QTest::keyClick(child<QLabel>(&dlg, "colRight"), Qt::Key_Space);
        EXPECT_EQ(shown(dlg, "colRight"), "#112233");
        click(&dlg, "CancelButton");
        EXPECT_EQ(s.ColorLeft, 0x1E140A) << "Cancel changes nothing";
    }
    dlgColors dlg;
    dlg.show();
    p.picked = "#0080ff";
    QTest::mouseClick(child<QLabel>(&dlg, "colXFormation"), Qt::LeftButton);
    QTest::mouseClick(child<QLabel>(&dlg, "colLFormation"), Qt::LeftButton);
    click(&dlg, "OKButton");
    EXPECT_EQ(s.ColorXFormation, 0xFF8000);
    EXPECT_EQ(s.ColorLFormation, 0xFF8000);
    EXPECT_EQ(s.ColorLeft, 0x1E140A);
    EXPECT_EQ(s.ColorCentre, 0);
}
