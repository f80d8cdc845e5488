#include "store/Roads.h"
#include "store/Statements.h"
#include "support/TestProject.h"
#include "support/UiProgram.h"
#include "support/Widgets.h"
#include "ui/common/AppState.h"
#include "ui/sheets/dlgAddCulvert.h"
#include "ui/sheets/dlgAddCulvertType.h"
#include "ui/sheets/dlgImageList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// The program with a current road whose culverts record set is open for it.
struct CulvertProgram : UiProgram {
    CulvertProgram()
    {
        const std::int64_t road = roads::create(db());
        appState().CurrentRoadID = road;
        db().exec(
            "INSERT INTO CulvertTypes (CulvertName, Type) VALUES ('Pipe 1.2 m', 'Pipe'), "
            "('Slab 4 m', 'Slab'), ('Old drain', NULL), ('Pipe 0.9 m', 'Pipe'), ('Ford', '')");
        appState().CulvertTypesRecordset->requery();
        appState().CulvertsRecordset->open(statements::selectCulverts(road));
    }
};

} // namespace

TEST(CulvertDialogs, CulvertsAreAddedInOneVisitAndARefusedOneAddsNothing)
{
    CulvertProgram p;
    dlgAddCulvert dlg;
    dlg.show();
    auto* names = child<QComboBox>(&dlg, "cmbCulvertName");
    auto* chainage = child<QLineEdit>(&dlg, "txtChainage");
    auto* add = child<QPushButton>(&dlg, "cmdAdd");
    ASSERT_EQ(names->count(), 5);
    EXPECT_FALSE(add->isEnabled()) << "nothing chosen yet";

    names->setCurrentIndex(1);
    EXPECT_TRUE(add->isEnabled());
    chainage->setText("1250.5");
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(chainage->text(), "0");

    names->setCurrentIndex(0);
    child<QRadioButton>(&dlg, "chkProposed")->setChecked(true);
    chainage->selectAll();
    QTest::keyClicks(chainage, "300");
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(chainage->text(), "0");
    EXPECT_TRUE(p.told.empty()) << p.lastTold().toStdString();

    EXPECT_EQ(test::queryText(p.db(), "SELECT CTypeRef, Chainage, EPType, RoadRef FROM Culverts "
                                      "ORDER BY Chainage, ID"),
              "1 300 P 1 | 2 1250.5 E 1");

    // A refused culvert adds nothing and keeps the text to fix.
    p.db().exec("INSERT INTO RL_1 (ID, Chainage) VALUES (1, 0), (2, 600)"); // sections 0 to 600
    for (const char* text : {"abc", "", "12 m", "99999", "-5"}) {
        chainage->setText(text);
        click(&dlg, "cmdAdd");
        EXPECT_EQ(chainage->text(), text) << "the text stays to be fixed";
    }
    ASSERT_EQ(p.told.size(), 5u);
    EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(p.told[3].text.endsWith("99999 lies outside the road: its sections run from 0 "
                                        "to 600 m"))
        << p.told[3].text.toStdString();
    // The database refuses the row: the message says why and no half row stays behind.
    chainage->setText("10");
    p.db().exec("CREATE TRIGGER refuse BEFORE INSERT ON Culverts BEGIN "
                "SELECT RAISE(ABORT, 'culverts are locked'); END");
    click(&dlg, "cmdAdd");
    EXPECT_TRUE(p.lastTold().contains("culverts are locked"));
    EXPECT_EQ(chainage->text(), "10");
    EXPECT_EQ(test::rowCount(p.db(), "Culverts"), 2);
    // The next culvert is a fresh row, and the only one.
    p.db().exec("DROP TRIGGER refuse");
    chainage->setText("20");
    click(&dlg, "cmdAdd");
    EXPECT_EQ(test::queryText(p.db(), "SELECT Chainage FROM Culverts WHERE ID > 2"), "20");
}

TEST(CulvertDialogs, TypesAreAddedOneAfterAnotherAndTheirTypeTextsOffered)
{
    CulvertProgram p;
    dlgAddCulvertType dlg;
    dlg.show();
    // Each type text once, the empty ones left out.
    auto* types = child<QComboBox>(&dlg, "cmbCulvertType");
    EXPECT_EQ(entries(types), QStringList({"Pipe", "Slab"}));
    EXPECT_EQ(types->currentText(), "");
    auto* name = child<QLineEdit>(&dlg, "txtCulvertName");
    auto* add = child<QPushButton>(&dlg, "cmdAdd");
    EXPECT_FALSE(add->isEnabled());
    QTest::keyClicks(name, "Box 2x2");
    EXPECT_TRUE(add->isEnabled());
    types->setEditText("Box");
    child<QLineEdit>(&dlg, "txtImgFileExisting")->setText("box_existing.png");
    child<QLineEdit>(&dlg, "txtImgFileProposed")->setText("box_proposed.png");
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(name->text(), "");
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtImgFileExisting")->text(), "");
    EXPECT_FALSE(add->isEnabled());

    // A type without pictures or type text can be saved too.
    QTest::keyClicks(name, "Causeway");
    types->setEditText("");
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_TRUE(p.told.empty());

    EXPECT_EQ(test::queryText(p.db(), "SELECT CulvertName, Type, ImageFileExisting, "
                                      "ImageFileProposed FROM CulvertTypes WHERE ID > 5"),
              "Box 2x2 Box box_existing.png box_proposed.png | Causeway   ");
    EXPECT_EQ(appState().CulvertTypesRecordset->count(), 7);
    // The new type text is offered for the next type.
    EXPECT_GE(types->findText("Box"), 0);
}

TEST(CulvertDialogs, PicturesAreChosenFromThePictureFolder)
{
    CulvertProgram p;
    {
        // A missing picture folder is reported.
        dlgImageList missing(p.dir.filePath("NoSuchFolder"));
        QCoreApplication::processEvents();
        ASSERT_EQ(p.told.size(), 1u);
        EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
        EXPECT_TRUE(p.told[0].text.contains("NoSuchFolder"));
    }
    QTemporaryDir folder;
    for (const char* name : {"b.png", "a.png", "readme.txt"})
        writeFile(folder.filePath(name), "");
    {
        // A double-click on a file chooses it.
        dlgImageList list(folder.path());
        list.show();
        auto* files = child<QListWidget>(&list, "File1");
        EXPECT_EQ(entries(files), QStringList({"a.png", "b.png", "readme.txt"})) << "name order";
        const QPoint at = files->visualItemRect(files->item(2)).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(list.result(), QDialog::Accepted);
        EXPECT_EQ(list.selectedFile(), "readme.txt");
    }

    // From the type dialog (the program's picture folder): View waits for a choice, and the
    // chosen name lands in the box; a cancelled choice changes nothing.
    dlgAddCulvertType dlg;
    dlg.show();
    QString chosen;
    test::onModal("dlgImageList", [&chosen](QWidget* modal) {
        auto* files = child<QListWidget>(modal, "File1");
        EXPECT_FALSE(child<QPushButton>(modal, "cmdSelect")->isEnabled());
        if (files->count() > 1) {
            files->item(1)->setSelected(true);
            chosen = files->item(1)->text();
        }
        click(modal, chosen.isEmpty() ? "cmdCancel" : "cmdSelect");
    });
    click(&dlg, "cmdProposed");
    EXPECT_FALSE(chosen.isEmpty());
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtImgFileProposed")->text(), chosen);
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtImgFileExisting")->text(), "");
    child<QLineEdit>(&dlg, "txtImgFileExisting")->setText("keep.png");
    test::onModal("dlgImageList", [](QWidget* modal) { click(modal, "cmdCancel"); });
    click(&dlg, "cmdExisting");
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtImgFileExisting")->text(), "keep.png");
}
