// The view-selection dialogs, and the layouts they lead to.
#include "SheetTestSupport.h"

#include "support/Widgets.h"
#include "ui/sheets/dlgInputSelectView.h"
#include "ui/sheets/dlgLevelBookSelectView.h"

#include <QCheckBox>
#include <QPushButton>

using namespace tarmela;
using namespace tarmela::test;

TEST_F(SheetFixture, ReducedLevelViewDialogBuildsTheStatementOrOpensNothing)
{
    appState().settings.ViewSections = 3;
    dlgInputSelectView dlg;
    child<QCheckBox>(&dlg, "chkProposedLevels")->setChecked(false);
    child<QCheckBox>(&dlg, "chkSlope")->setChecked(false);
    child<QPushButton>(&dlg, "OKButton")->click();
    EXPECT_TRUE(appState().ViewSQL.contains("L1, C, R1, R2, R3, Width, TopWidth"));
    EXPECT_FALSE(appState().ViewSQL.contains("FL1") || appState().ViewSQL.contains("Slope"));
    dlgInputSelectView again;
    child<QPushButton>(&again, "CancelButton")->click();
    EXPECT_EQ(appState().ViewSQL, "");

    // Cancelled or closed, the view dialogs open no sheet.
    clickOnModal("dlgInputSelectView", "CancelButton");
    EXPECT_EQ(OpenReducedLevelSheet(area.get()), nullptr);
    EXPECT_TRUE(area->subWindowList().isEmpty());
    clickOnModal("dlgLevelBookSelectView", "wnExit");
    EXPECT_EQ(OpenLevelBookSheet(area.get()), nullptr);
    EXPECT_TRUE(area->subWindowList().isEmpty());
}

TEST_F(SheetFixture, NoLevelsTickedGivesChainageOnlyAndTheLevelBlocksFollowTheOrderSettings)
{
    appState().settings.LeftOrder = 2;
    appState().settings.RightOrder = 0;
    onModal("dlgInputSelectView", [](QWidget* d) {
        for (QCheckBox* c : d->findChildren<QCheckBox*>())
            c->setChecked(false);
        click(d, "OKButton");
    });
    frmDataGrid* s = OpenReducedLevelSheet(area.get());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->strCurrentDataSheet, SheetKind::ReducedLevel);
    EXPECT_EQ(s->model()->columnCount(), 1);
    EXPECT_EQ(s->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Chainage");
    EXPECT_EQ(s->rows().columnCount(), 2); // ID stays in the rows

    // The level blocks follow the order settings: readings per side, the positions of the
    // left and right blocks, and which of them run from the centre out.
    const struct {
        int readings, left, right;
        bool leftReverse, rightReverse;
        const char* shown;
    } orders[] = {
        {2, 2, 0, false, false, "Chainage R1 R2 C L1 L2"},
        {3, 0, 2, true, false, "Chainage L3 L2 L1 C R1 R2 R3"},
        {2, 1, 2, false, true, "Chainage C L1 L2 R2 R1"},
        {0, 0, 2, true, false, "Chainage C"},
        {12, 0, 2, true, false, // the tables hold eight per side
         "Chainage L8 L7 L6 L5 L4 L3 L2 L1 C R1 R2 R3 R4 R5 R6 R7 R8"},
    };
    for (const auto& o : orders) {
        Settings& set = appState().settings;
        set.ViewSections = o.readings;
        set.LeftOrder = o.left;
        set.RightOrder = o.right;
        set.LeftReverse = o.leftReverse;
        set.RightReverse = o.rightReverse;
        onModal("dlgLevelBookSelectView", [](QWidget* d) {
            for (QCheckBox* c : d->findChildren<QCheckBox*>())
                c->setChecked(c->objectName() == "chkExistingLevels");
            click(d, "OKButton");
        });
        s = OpenLevelBookSheet(area.get());
        ASSERT_TRUE(s);
        EXPECT_EQ(s->strCurrentDataSheet, SheetKind::LevelBook);
        QStringList shown;
        for (int c = 0; c < s->model()->columnCount(); ++c)
            shown << s->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        EXPECT_EQ(shown.join(' '), o.shown);
    }
}

TEST_F(SheetFixture, FixedLayoutsOpenWithTheirColumnSettings)
{
    frmDataGrid* cd = OpenCrossDistancesSheet(area.get());
    ASSERT_TRUE(cd);
    EXPECT_EQ(cd->strCurrentDataSheet, SheetKind::ChainageDistance);
    cd->model()->setCellText(0, 7, "2.5");
    EXPECT_EQ(cd->model()->data(cd->model()->index(0, 7), Qt::DisplayRole).toString(), "2.50");
    EXPECT_EQ(cd->model()->cellText(0, 7), "2.5");
    ASSERT_TRUE(cd->Save());
    EXPECT_EQ(queryText(db(), "SELECT L1 FROM ChDistance"), "2.5");

    frmDataGrid* rd = OpenRoadDetailsSheet(area.get());
    ASSERT_TRUE(rd);
    rd->model()->setCellText(0, 0, "Bhimtal");
    ASSERT_TRUE(rd->Save());
    EXPECT_EQ(roads::get(db(), road).from, "Bhimtal");

    db().exec("INSERT INTO CulvertTypes (CulvertName, Type) VALUES ('Slab 2m', 'S')");
    db().exec("INSERT INTO Culverts (RoadRef, CTypeRef, Chainage, EPType) VALUES (" +
              QString::number(road) + ", 1, 60, 'P')");
    frmDataGrid* cv = OpenCulvertsSheet(area.get());
    ASSERT_TRUE(cv);
    EXPECT_EQ(cv->model()->columnCount(), 3);
    EXPECT_EQ(cv->model()->cellText(0, 0), "Slab 2m");
    for (int c = 0; c < 3; ++c)
        EXPECT_FALSE(cv->model()->flags(cv->model()->index(0, c)) & Qt::ItemIsEditable);
    cv->grid()->setCurrentCell(0, 0);
    QGuiApplication::clipboard()->setText("x");
    cv->paste();
    EXPECT_EQ(cv->model()->cellText(0, 0), "Slab 2m");
    cv->grid()->selectRow(0);
    cv->remove(); // Edit > Delete, answered Yes
    EXPECT_EQ(rowCount(db(), "Culverts"), 0);
}
