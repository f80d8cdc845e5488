#include "support/TestProject.h"
#include "support/UiProgram.h"
#include "support/Widgets.h"
#include "ui/common/AppState.h"
#include "ui/export/frmExportMultiple.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

TEST(ExportDialog, WaitsForAFolderKeepsOpenOnABlockedOneAndWritesIntoTheRoadsFolder)
{
    UiProgram p;
    appState().CurrentRoadID = makeRoad(p.db(), "North", "South");
    p.db().exec("INSERT INTO LB_1 (ID, Chainage, C) VALUES (1, 0, 1.2)");
    frmExportMultiple dlg;
    dlg.show();
    auto* exportButton = child<QPushButton>(&dlg, "cmdExport");
    auto* base = child<QLineEdit>(&dlg, "txtBaseDir");
    EXPECT_FALSE(exportButton->isEnabled());
    p.picked = "/data/out";
    click(&dlg, "cmdBrowse");
    EXPECT_EQ(base->text(), QDir::toNativeSeparators("/data/out"));
    EXPECT_TRUE(exportButton->isEnabled());

    // The chooser opens at the folder in the box; cancelling it empties the box.
    p.picked.clear();
    click(&dlg, "cmdBrowse");
    EXPECT_EQ(p.offered, std::vector<QString>({"", QDir::toNativeSeparators("/data/out")}));
    EXPECT_EQ(base->text(), "");
    EXPECT_FALSE(exportButton->isEnabled());

    // A blocked folder keeps the dialog open.
    writeFile(p.dir.filePath("Blocked"), "");
    base->setText(p.dir.filePath("Blocked"));
    child<QListWidget>(&dlg, "List1")->item(0)->setSelected(true);
    click(&dlg, "cmdExport");
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
    // With a trailing separator the road's folder follows a single one. It says what it wrote
    // and where, and offers to open the folder. (The files themselves are
    // Export.WritesTheSelectedOutputsIntoTheRoadsFolderInListOrder's.)
    base->setText(p.dir.filePath("Out") + "/");
    click(&dlg, "cmdExport");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const QString folder = p.dir.filePath("Out/North to South");
    EXPECT_EQ(p.lastTold(),
              "Written to " + QDir::toNativeSeparators(folder) + ":\n  Level Book.htm");
    EXPECT_EQ(QFileInfo(p.shownFolder), QFileInfo(folder));

    // The next export starts at the same base folder; nothing selected still makes the folder.
    frmExportMultiple next;
    next.show();
    base = child<QLineEdit>(&next, "txtBaseDir");
    EXPECT_EQ(base->text(), p.dir.filePath("Out") + "/");
    base->setText(p.dir.filePath("Empty/deeper"));
    click(&next, "cmdExport");
    EXPECT_EQ(next.result(), QDialog::Accepted);
    EXPECT_TRUE(QFileInfo(p.dir.filePath("Empty/deeper/North to South")).isDir());
}
