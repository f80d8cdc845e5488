// The open project's document: what one window writes, chooses or sets shows in the others.
#include "ui/common/ProjectDocument.h"
#include "app/frmMain.h"
#include "sheets/SampleRoad.h"
#include "store/Roads.h"
#include "store/SheetQueries.h"
#include "support/TestProject.h"
#include "support/UiProgram.h"
#include "support/Widgets.h"
#include "ui/formation/frmPlotFormation.h"
#include "ui/pages/frmPrevXSect.h"
#include "ui/sheets/SheetLayouts.h"
#include "ui/sheets/SheetModel.h"
#include "ui/sheets/VellGrid.h"
#include "ui/sheets/frmDataGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace tarmela;
using tarmela::test::UiProgram;

namespace
{

struct Project {
    UiProgram p;
    std::int64_t sample = createSampleRoad(p.db(), {11, 20, 100.0});
    std::int64_t other = test::makeRoad(p.db(), "Cora", "Dale");
    frmMain w;

    Project()
    {
        w.resize(1200, 800);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_TRUE(w.ChooseRoad(sample));
    }
    void clickButton(const char* key)
    {
        auto* bar = w.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QTest::mouseClick(bar->widgetForAction(w.toolButton(QString::fromLatin1(key))),
                          Qt::LeftButton);
    }
    // The toolbar's RL Sheet, with the view dialog's OK.
    frmDataGrid* openRl()
    {
        test::onModal("dlgInputSelectView", [](QWidget* dlg) { test::click(dlg, "OKButton"); });
        clickButton("ReducedLevel");
        return w.activeSheet();
    }
    QStringList openTitles() const
    {
        QStringList titles;
        for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
            titles << sub->widget()->objectName();
        titles.sort();
        return titles;
    }
};

int columnOf(frmDataGrid* s, const char* name)
{
    return s->rows().columnIndex(QString::fromLatin1(name));
}

// Types into a cell as a user does: the first key opens the editor, Enter closes it and
// moves down.
void typeInto(frmDataGrid* s, int row, const char* column, const QString& text)
{
    VellGrid* g = s->grid();
    g->setFocus();
    g->setCurrentCell(row, columnOf(s, column));
    QTest::keyClicks(g, text.left(1));
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : g->viewport()->findChildren<QLineEdit*>())
        if (!e->isHidden())
            editor = e;
    ASSERT_NE(editor, nullptr) << "no cell editor opened";
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

void clickRowHeader(frmDataGrid* sheet, std::int64_t id, bool twice)
{
    sheet->SeekRecord(id);
    const int row = sheet->grid()->currentRow();
    ASSERT_GE(row, 0) << "no row for ID " << id;
    QHeaderView* h = sheet->grid()->verticalHeader();
    const QPoint at(h->width() / 2, h->sectionViewportPosition(row) + h->sectionSize(row) / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, at);
}

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
        if (c.otherEdited)
            other->model()->setCellText(7, columnOf(other, "C"), "97.25");

        typeInto(writer, 3, "C", "88.5");
        if (!c.autoSave)
            m.w.command(QStringLiteral("mnuFileSave"))->trigger();
        ASSERT_FALSE(writer->changed());
        EXPECT_EQ(other->model()->cellText(3, columnOf(other, "C")) == "88.5", c.shown);
        EXPECT_EQ(other->changed(), c.otherEdited);
        EXPECT_TRUE(m.p.told.empty()) << m.p.lastTold().toStdString();
        m.p.answer = QMessageBox::No; // the edit kept unsaved goes with the window
    }
}

TEST(ProjectDocument, WindowsFollowThePageSetupTheRoadChosenAndTheRoadDeleted)
{
    Project m;
    m.clickButton("Formation");
    ASSERT_NE(m.w.formationTool(), nullptr);
    m.w.command(QStringLiteral("mnuViewXSection"))->trigger();
    auto* view = dynamic_cast<frmPrevXSect*>(m.w.activeChild());
    ASSERT_NE(view, nullptr) << m.p.lastTold().toStdString();
    ASSERT_NE(m.openRl(), nullptr);
    ASSERT_NE(OpenSheetOfKind(m.w.mdiArea(), SheetKind::LevelBook,
                              sheets::levelBookStatement(m.sample, {}, {})),
              nullptr);

    // File > Page Setup on A3: the open view lays its pages out on A3 at once.
    EXPECT_EQ(view->optbPaperSize, 0);
    test::onModal("dlgPageSetup", [](QWidget* dlg) {
        test::child<QComboBox>(dlg, "cmbPapersize")->setCurrentIndex(1);
        test::click(dlg, "OKButton");
    });
    m.w.command(QStringLiteral("mnuFilePageSetup"))->trigger();
    EXPECT_EQ(view->optbPaperSize, 1);

    // A double click on the other road's row in Road Details makes it current: the windows of
    // the sample road's levels close, its level book stays.
    m.clickButton("Roads");
    frmDataGrid* roadsSheet = m.w.activeSheet();
    ASSERT_NE(roadsSheet, nullptr);
    clickRowHeader(roadsSheet, m.other, true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(appState().CurrentRoadID, m.other);
    EXPECT_EQ(m.w.statusPanel(1), "Cora To Dale");
    EXPECT_EQ(m.openTitles(), QStringList{"frmDataGrid"});

    // The sample road deleted in Road Details: its level book goes with it.
    m.clickButton("Roads");
    roadsSheet = m.w.activeSheet();
    ASSERT_NE(roadsSheet, nullptr);
    clickRowHeader(roadsSheet, m.sample, false);
    m.clickButton("Delete");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(roads::exists(m.p.db(), m.sample));
    ASSERT_EQ(m.w.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(m.w.activeSheet(), roadsSheet);
    EXPECT_EQ(roadsSheet->model()->rowCount(), 1);
    EXPECT_EQ(appState().CurrentRoadID, m.other);

    // Another project in place of this one: its windows close, and the main window follows
    // the new document.
    QTemporaryDir elsewhere;
    auto next = std::make_unique<ProjectDocument>();
    next->state().settings = appState().settings;
    next->open(projectPathIn(elsewhere.path()));
    const std::int64_t road = createSampleRoad(*next->state().ProjectConnection, {3, 20, 50.0});
    ASSERT_TRUE(m.w.replaceDocument(std::move(next)));
    EXPECT_TRUE(m.w.mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(m.w.statusPanel(1), "");
    EXPECT_FALSE(m.w.command(QStringLiteral("mnuInputDataSheet"))->isEnabled());
    ASSERT_TRUE(m.w.ChooseRoad(road));
    EXPECT_EQ(m.w.statusPanel(1), "Ranipur To Kalaghat");
    EXPECT_TRUE(m.w.command(QStringLiteral("mnuInputDataSheet"))->isEnabled());
}
