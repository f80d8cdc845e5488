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

namespace
{
// The options dialog shown over a program of its own.
struct OptionsDialog : ::testing::Test {
    UiProgram p;
    Settings& s = appState().settings;
    std::unique_ptr<frmOptions> dlg;
    void SetUp() override { reopen(); }
    void reopen()
    {
        dlg = std::make_unique<frmOptions>();
        dlg->show();
    }
    template <typename T> T* get(const char* name) { return child<T>(dlg.get(), name); }
    void press(const char* name) { click(dlg.get(), name); }
};
} // namespace

TEST_F(OptionsDialog, OrderListMovesAndAppliesAsPositions)
{
    auto* list = get<QListWidget>("lstLCROrder");
    press("cmdUp"); // nothing above the top (the first entry is selected)
    EXPECT_EQ(entries(list), QStringList({"Left", "Center", "Right"}));

    list->setCurrentRow(2);
    press("cmdUp");
    press("cmdUp");
    EXPECT_EQ(entries(list), QStringList({"Right", "Left", "Center"}));
    EXPECT_EQ(list->currentRow(), 0) << "the moved entry stays selected";
    EXPECT_EQ(s.RightOrder, 2) << "nothing changes before Apply";
    press("cmdApply");
    EXPECT_EQ(s.RightOrder, 0);
    EXPECT_EQ(s.LeftOrder, 1);

    list->setCurrentRow(2);
    press("cmdDown"); // nothing below the bottom
    EXPECT_EQ(entries(list), QStringList({"Right", "Left", "Center"}));

    // Opening puts Center in the position neither block holds.
    s.LeftOrder = 2;
    s.RightOrder = 1;
    reopen();
    EXPECT_EQ(entries(get<QListWidget>("lstLCROrder")), QStringList({"Center", "Right", "Left"}));
}

TEST_F(OptionsDialog, FixedDatumIsRoundedHalfToEvenOrRefusedAndVariableKeepsIt)
{
    auto* value = get<QLineEdit>("txtFixedDatumValue");
    // A refused value keeps the dialog open on its page, tells why and applies nothing.
    get<QCheckBox>("chkLSectionGrid")->setChecked(true);
    const std::pair<const char*, int> cases[] = {{"40000", 95}, {"abc", 95},  {"97.4 m", 95},
                                                 {"95.5", 96},  {"94.5", 94}, {"-3.5", -4},
                                                 {"101", 101}};
    for (const auto& [text, stored] : cases) {
        p.told.clear();
        value->setText(text);
        press("cmdOK");
        EXPECT_EQ(dlg->isVisible(), stored == 95) << text;
        EXPECT_EQ(s.FixedDatumValue, stored) << text;
        EXPECT_EQ(s.LSectionGrid, stored != 95) << text;
        if (stored == 95) {
            ASSERT_EQ(p.told.size(), 1u) << text;
            EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
            EXPECT_EQ(get<QStackedWidget>("Frames")->currentIndex(), 1) << text;
        }
        dlg->show();
    }

    get<QRadioButton>("optVariableDatum")->setChecked(true);
    EXPECT_FALSE(value->isEnabled() || get<QLabel>("lblDatum")->isEnabled());
    value->setText("50"); // ignored while the datum varies
    press("cmdApply");
    EXPECT_FALSE(s.FixedDatum);
    EXPECT_EQ(s.FixedDatumValue, 101);
}

// Cancel, and the close picture, keep only what was applied.
TEST_F(OptionsDialog, AutoSaveGreysOutAutoRefreshAndCancelKeepsOnlyWhatWasApplied)
{
    auto* refresh = get<QCheckBox>("chkAutoRefreshDWG");
    EXPECT_TRUE(refresh->isEnabled());
    press("chkAutoSave");
    EXPECT_FALSE(refresh->isEnabled());
    EXPECT_TRUE(refresh->isChecked());
    get<QSpinBox>("UpDown2")->setValue(3);
    press("cmdApply");
    EXPECT_FALSE(s.AutoSave);
    EXPECT_TRUE(s.AutoRefreshDWG);
    get<QSpinBox>("UpDown2")->setValue(2);
    press("cmdCancel");
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(s.ViewSections, 3);

    // Opened with AutoSave off, the box starts greyed.
    s.AutoRefreshDWG = false;
    reopen();
    refresh = get<QCheckBox>("chkAutoRefreshDWG");
    EXPECT_FALSE(refresh->isEnabled() || refresh->isChecked());
    get<QSpinBox>("UpDown2")->setValue(1);
    QTest::mouseClick(get<QWidget>("wnExit"), Qt::LeftButton);
    EXPECT_EQ(s.ViewSections, 3);
}

TEST_F(OptionsDialog, TabsShowTheirFrameAndEveryPageAppliesItsSetting)
{
    s.EnterRight = true;
    s.QuantityCalcMethod = 2;
    s.ViewSections = 5;
    s.SectionsPerPage = 4;
    reopen();
    auto* frames = get<QStackedWidget>("Frames");
    EXPECT_EQ(frames->currentIndex(), 0);
    for (int i : {3, 4, 1, 2, 0}) {
        press(QStringLiteral("optTabs_%1").arg(i).toLatin1());
        EXPECT_EQ(frames->currentIndex(), i);
        EXPECT_TRUE(frames->widget(i)->isVisible());
    }
    EXPECT_TRUE(get<QRadioButton>("optRight")->isChecked() &&
                get<QRadioButton>("optQuantity_2")->isChecked());
    auto* view = get<QSpinBox>("UpDown2");
    auto* perPage = get<QSpinBox>("UpDown1");
    EXPECT_EQ(std::pair(view->value(), perPage->value()), std::pair(5, 4));

    get<QRadioButton>("optDown")->setChecked(true);
    get<QRadioButton>("optQuantity_0")->setChecked(true);
    get<QComboBox>("cboVolumeFormula")->setCurrentIndex(1);
    view->setValue(12); // held to the readings a section has
    perPage->setValue(9);
    get<QCheckBox>("chkLReverse")->setChecked(false);
    get<QCheckBox>("chkRReverse")->setChecked(true);
    get<QCheckBox>("chkLSectionGrid")->setChecked(true);
    press("cmdOK");
    EXPECT_EQ(
        QStringList({s.text("EnterRight"), s.text("QuantityCalcMethod"), s.text("ViewSections"),
                     s.text("SectionsPerPage"), s.text("LeftReverse"), s.text("RightReverse"),
                     s.text("LSectionGrid"), s.text("VolumeFormula")}),
        QStringList({"False", "0", "8", "9", "False", "True", "True", "1"}));
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
    EXPECT_EQ(QList({s.ColorXFormation, s.ColorLFormation, s.ColorLeft, s.ColorCentre}),
              QList({0xFF8000, 0xFF8000, 0x1E140A, 0}));
}
