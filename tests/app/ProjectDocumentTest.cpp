// The open project's document: what one window writes, chooses or sets shows in the others.
#include "ui/common/ProjectDocument.h"
#include "ShownMain.h"
#include "sheets/SampleRoad.h"
#include "ui/pages/frmPrevXSect.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

struct Project : test::ShownMain {
    std::int64_t sample = createSampleRoad(p.db(), {11, 20, 100.0});
    Project() : ShownMain({1200, 800}) { EXPECT_TRUE(w.ChooseRoad(sample)); }
    // The toolbar's RL Sheet, with the view dialog's OK.
    frmDataGrid* openRl()
    {
        test::clickOnModal("dlgInputSelectView", "OKButton");
        press("ReducedLevel");
        return w.activeSheet();
    }
};

} // namespace

TEST(ProjectDocument, AValueSavedInOneSheetShowsInTheOtherSheetsOfTheRoad)
{
    const struct {
        bool autoSave;
        bool otherEdited; // the other sheet holds an unsaved edit of its own
        bool shown;       // the other sheet shows the saved value
    } cases[] = {
        {true, false, true},  // saved as the row is left
        {false, false, true}, // saved by File > Save
        {true, true, false},  // a reload would drop the other sheet's edit
        {false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.autoSave) + std::to_string(c.otherEdited));
        Project m;
        appState().settings.AutoSave = c.autoSave;
        frmDataGrid* other = m.openRl();
        frmDataGrid* writer = m.openRl();
        ASSERT_TRUE(other && writer && other != writer);
        EXPECT_EQ(writer->windowTitle(), other->windowTitle() + ":2"); // told apart
        if (c.otherEdited)
            other->model()->setCellText(7, columnOf(other, "C"), "97.25");

        typeInto(writer, 3, "C", "88.5");
        if (!c.autoSave)
            m.cmd("mnuFileSave")->trigger();
        ASSERT_FALSE(writer->changed());
        EXPECT_EQ(other->model()->cellText(3, columnOf(other, "C")) == "88.5", c.shown);
        EXPECT_EQ(other->changed(), c.otherEdited);
        EXPECT_TRUE(m.p.told.empty()) << m.p.lastTold().toStdString();
        m.p.answer = QMessageBox::No; // the edit kept unsaved goes with the window
    }
}

TEST(ProjectDocument, WindowsFollowThePageSetupAndTheProjectOpened)
{
    Project m;
    m.cmd("mnuViewXSection")->trigger();
    auto* view = dynamic_cast<frmPrevXSect*>(m.w.activeChild());
    ASSERT_NE(view, nullptr) << m.p.lastTold().toStdString();

    // File > Page Setup on A3: the open view lays its pages out on A3 at once.
    EXPECT_EQ(view->optbPaperSize, 0);
    test::onModal("dlgPageSetup", [](QWidget* dlg) {
        test::child<QComboBox>(dlg, "cmbPapersize")->setCurrentIndex(1);
        test::click(dlg, "OKButton");
    });
    m.cmd("mnuFilePageSetup")->trigger();
    EXPECT_EQ(view->optbPaperSize, 1);

    // Another project in place of this one: its windows close, and the main window follows
    // the new document.
    QTemporaryDir elsewhere;
    auto next = std::make_unique<ProjectDocument>();
    next->state().settings = appState().settings;
    next->open(projectPathIn(elsewhere.path()));
    const std::int64_t road = createSampleRoad(*next->state().ProjectConnection, {3, 20, 50.0});
    ASSERT_TRUE(m.w.replaceDocument(std::move(next)));
    EXPECT_EQ(m.windows(), 0);
    EXPECT_EQ(m.w.statusPanel(1), "");
    EXPECT_FALSE(m.cmd("mnuInputDataSheet")->isEnabled());
    ASSERT_TRUE(m.w.ChooseRoad(road));
    EXPECT_EQ(m.w.statusPanel(1), "Ranipur To Kalaghat");
    EXPECT_TRUE(m.cmd("mnuInputDataSheet")->isEnabled());
}
