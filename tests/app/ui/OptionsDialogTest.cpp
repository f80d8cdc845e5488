#include "app/AppState.h"
#include "app/dlgColors.h"
#include "app/frmOptions.h"
#include "support/UiProgram.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarmela;
using tarmela::test::UiProgram;

namespace {

template <typename T> T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QStringList entries(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void click(QWidget* dlg, const char* button)
{
    QTest::mouseClick(child<QAbstractButton>(dlg, button), Qt::LeftButton);
}

} // namespace

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

TEST(OptionsDialog, FixedDatumIsRoundedHalfToEvenAndVariableKeepsIt)
{
    Settings s;
    frmOptions dlg;
    dlg.setTarget(&s);
    auto* value = child<QLineEdit>(&dlg, "txtFixedDatumValue");
    EXPECT_EQ(value->text(), "95");
    const std::pair<const char*, int> cases[] = {
        {"95.5", 96}, {"94.5", 94}, {"97.4 m", 97}, {"-3.5", -4}, {"abc", 0}};
    for (const auto& [text, expected] : cases) {
        value->setText(text);
        EXPECT_TRUE(dlg.Apply()) << text;
        EXPECT_EQ(s.FixedDatumValue, expected) << text;
        EXPECT_TRUE(s.FixedDatum);
    }
    value->setText("101");
    dlg.Apply();

    auto* variable = child<QRadioButton>(&dlg, "optVariableDatum");
    variable->setChecked(true);
    EXPECT_FALSE(value->isEnabled());
    EXPECT_FALSE(child<QLabel>(&dlg, "lblDatum")->isEnabled());
    value->setText("50"); // ignored while the datum varies
    EXPECT_TRUE(dlg.Apply());
    EXPECT_FALSE(s.FixedDatum);
    EXPECT_EQ(s.FixedDatumValue, 101);
}

TEST(OptionsDialog, ADatumOutsideTheRangeIsRefusedAndChangesNothing)
{
    UiProgram p;
    Settings s;
    frmOptions dlg;
    dlg.setTarget(&s);
    child<QCheckBox>(&dlg, "chkLSectionGrid")->setChecked(true);
    child<QLineEdit>(&dlg, "txtFixedDatumValue")->setText("40000");
    click(&dlg, "cmdOK");
    EXPECT_EQ(dlg.result(), 0) << "the dialog stays open";
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
    EXPECT_EQ(s.FixedDatumValue, 95);
    EXPECT_FALSE(s.LSectionGrid);
    EXPECT_EQ(child<QStackedWidget>(&dlg, "Frames")->currentIndex(), 1)
        << "the page with the refused value is shown";
}

TEST(OptionsDialog, AutoSaveGreysOutAutoRefreshWithoutChangingItsTick)
{
    Settings s;
    frmOptions dlg;
    dlg.setTarget(&s);
    dlg.show();
    auto* autoSave = child<QCheckBox>(&dlg, "chkAutoSave");
    auto* refresh = child<QCheckBox>(&dlg, "chkAutoRefreshDWG");
    EXPECT_TRUE(refresh->isEnabled());
    QTest::mouseClick(autoSave, Qt::LeftButton, {}, QPoint(8, autoSave->height() / 2));
    EXPECT_FALSE(autoSave->isChecked());
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
        QTest::mouseClick(child<QAbstractButton>(&dlg, QString("optTabs_%1").arg(i).toLatin1()),
                          Qt::LeftButton);
        EXPECT_EQ(frames->currentIndex(), i);
        EXPECT_TRUE(frames->widget(i)->isVisible());
    }
    EXPECT_TRUE(child<QRadioButton>(&dlg, "optRight")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&dlg, "optQuantity_2")->isChecked());
    auto* view = child<QSpinBox>(&dlg, "UpDown2");
    EXPECT_EQ(view->value(), 5);
    EXPECT_EQ(view->minimum(), 0);
    EXPECT_EQ(view->maximum(), 8);
    auto* perPage = child<QSpinBox>(&dlg, "UpDown1");
    EXPECT_EQ(perPage->value(), 4);
    EXPECT_GE(perPage->minimum(), 1);

    child<QRadioButton>(&dlg, "optDown")->setChecked(true);
    child<QRadioButton>(&dlg, "optQuantity_0")->setChecked(true);
    view->setValue(12); // held to the readings a section has
    perPage->setValue(9);
    child<QCheckBox>(&dlg, "chkLReverse")->setChecked(false);
    child<QCheckBox>(&dlg, "chkRReverse")->setChecked(true);
    child<QCheckBox>(&dlg, "chkLSectionGrid")->setChecked(true);
    click(&dlg, "cmdOK");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(s.EnterRight);
    EXPECT_EQ(s.QuantityCalcMethod, 0);
    EXPECT_EQ(s.ViewSections, 8);
    EXPECT_EQ(s.SectionsPerPage, 9);
    EXPECT_FALSE(s.LeftReverse);
    EXPECT_TRUE(s.RightReverse);
    EXPECT_TRUE(s.LSectionGrid);
}

TEST(OptionsDialog, CancelKeepsOnlyWhatWasApplied)
{
    Settings s;
    frmOptions dlg;
    dlg.setTarget(&s);
    child<QSpinBox>(&dlg, "UpDown1")->setValue(3);
    click(&dlg, "cmdApply");
    child<QSpinBox>(&dlg, "UpDown1")->setValue(11);
    click(&dlg, "cmdCancel");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(s.SectionsPerPage, 3);
}

TEST(OptionsDialog, WorksOnTheProgramSettingsByDefault)
{
    UiProgram p;
    appState().settings.ViewSections = 6;
    frmOptions dlg;
    EXPECT_EQ(child<QSpinBox>(&dlg, "UpDown2")->value(), 6);
    child<QSpinBox>(&dlg, "UpDown2")->setValue(3);
    // The close picture cancels.
    QTest::mouseClick(child<QWidget>(&dlg, "wnExit"), Qt::LeftButton);
    EXPECT_EQ(appState().settings.ViewSections, 6);
    frmOptions again;
    child<QSpinBox>(&again, "UpDown2")->setValue(3);
    click(&again, "cmdOK");
    EXPECT_EQ(appState().settings.ViewSections, 3);
}

TEST(ColorsDialog, ColoursAreKeptWithRedInTheLowestByte)
{
    EXPECT_EQ(rgbValueOf(QColor(255, 0, 0)), 0x0000FF);
    EXPECT_EQ(rgbValueOf(QColor(0, 0, 255)), 0xFF0000);
    EXPECT_EQ(rgbValueOf(QColor(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_EQ(colorFromRgbValue(0x563412), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(colorFromRgbValue(0), QColor(Qt::black));
}

TEST(ColorsDialog, AChosenColourIsKeptOnOkOnly)
{
    Settings s;
    s.ColorLeft = rgbValueOf(QColor(10, 20, 30));
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
        EXPECT_EQ(dlg.fieldColor("colLeft"), QColor(200, 100, 50));
        EXPECT_EQ(child<QLabel>(&dlg, "colLeft")->palette().color(QPalette::Window),
                  QColor(200, 100, 50));
        // Cancelling the chooser leaves the field alone.
        pick.reset();
        dlg.chooseColor("colExisting");
        EXPECT_EQ(dlg.fieldColor("colExisting"), QColor(Qt::black));
        QTest::mouseClick(child<QPushButton>(&dlg, "CancelButton"), Qt::LeftButton);
        EXPECT_EQ(s.ColorLeft, rgbValueOf(QColor(10, 20, 30))) << "Cancel changes nothing";
    }
    {
        dlgColors dlg;
        dlg.setTarget(&s);
        pick = QColor(0, 128, 255);
        dlg.setChooser(chooser);
        dlg.chooseColor("colXFormation");
        dlg.chooseColor("colLFormation");
        QTest::mouseClick(child<QPushButton>(&dlg, "OKButton"), Qt::LeftButton);
        EXPECT_EQ(s.ColorXFormation, 0xFF8000);
        EXPECT_EQ(s.ColorLFormation, 0xFF8000);
        EXPECT_EQ(s.ColorLeft, rgbValueOf(QColor(10, 20, 30)));
        EXPECT_EQ(s.ColorCentre, 0);
    }
}
