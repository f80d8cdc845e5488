#include "../QueryRows.h"
#include "app/AppState.h"
#include "app/ui/Widgets.h"
#include "sheets/ui/dlgAddCulvert.h"
#include "sheets/ui/dlgAddCulvertType.h"
#include "sheets/ui/dlgImageList.h"
#include "store/Roads.h"
#include "store/Statements.h"
#include "support/TestProject.h"
#include "support/UiProgram.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

void addType(Database& db, const QString& name, const QVariant& type)
{
    QSqlQuery q = db.prepare("INSERT INTO CulvertTypes (CulvertName, Type) VALUES (?, ?)");
    q.addBindValue(name);
    q.addBindValue(type);
    Database::run(q);
}

// The program with a current road whose culverts record set is open for it.
struct CulvertProgram : UiProgram {
    std::int64_t road = 0;
    CulvertProgram()
    {
        road = roads::create(db());
        appState().CurrentRoadID = road;
        addType(db(), "Pipe 1.2 m", "Pipe");
        addType(db(), "Slab 4 m", "Slab");
        addType(db(), "Old drain", QVariant(QMetaType(QMetaType::QString))); // no type text
        addType(db(), "Pipe 0.9 m", "Pipe");
        addType(db(), "Ford", "");
        appState().CulvertTypesRecordset->requery();
        appState().CulvertsRecordset->open(statements::selectCulverts(road));
    }
};

} // namespace

TEST(CulvertDialogs, TwoCulvertsInOneVisit)
{
    CulvertProgram p;
    dlgAddCulvert dlg;
    dlg.show();
    auto* names = child<QComboBox>(&dlg, "cmbCulvertName");
    auto* chainage = child<QLineEdit>(&dlg, "txtChainage");
    auto* add = child<QPushButton>(&dlg, "cmdAdd");
    ASSERT_EQ(names->count(), 5);
    EXPECT_EQ(names->itemText(1), "Slab 4 m");
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

    EXPECT_EQ(test::queryRows(p.db(), "SELECT CTypeRef, Chainage, EPType, RoadRef FROM Culverts "
                                      "ORDER BY Chainage"),
              "1,300,P,1;2,1250.5,E,1");

    // Closing brings the shared record set up to date.
    click(&dlg, "cmdCancel");
    EXPECT_EQ(appState().CulvertsRecordset->count(), 2);
}

TEST(CulvertDialogs, AChainageThatIsNoNumberAddsNothing)
{
    CulvertProgram p;
    dlgAddCulvert dlg;
    child<QComboBox>(&dlg, "cmbCulvertName")->setCurrentIndex(0);
    for (const char* text : {"abc", "", "12 m"}) {
        child<QLineEdit>(&dlg, "txtChainage")->setText(text);
        EXPECT_FALSE(dlg.addCulvert()) << text;
        EXPECT_EQ(child<QLineEdit>(&dlg, "txtChainage")->text(), text)
            << "the text stays to be fixed";
    }
    EXPECT_EQ(test::rowCount(p.db(), "Culverts"), 0);
    ASSERT_EQ(p.told.size(), 3u);
    EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);

    // A number that follows works and is the only row.
    child<QLineEdit>(&dlg, "txtChainage")->setText("40");
    EXPECT_TRUE(dlg.addCulvert());
    EXPECT_EQ(test::rowCount(p.db(), "Culverts"), 1);
}

TEST(CulvertDialogs, ARefusedCulvertLeavesNoHalfRowBehind)
{
    CulvertProgram p;
    dlgAddCulvert dlg;
    child<QComboBox>(&dlg, "cmbCulvertName")->setCurrentIndex(0);
    child<QLineEdit>(&dlg, "txtChainage")->setText("10");
    p.db().exec("CREATE TRIGGER refuse BEFORE INSERT ON Culverts BEGIN "
                "SELECT RAISE(ABORT, 'culverts are locked'); END");
    EXPECT_FALSE(dlg.addCulvert());
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_TRUE(p.told[0].text.contains("culverts are locked"));
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtChainage")->text(), "10");
    EXPECT_EQ(test::rowCount(p.db(), "Culverts"), 0);

    // The next culvert is a fresh row, not the refused one.
    p.db().exec("DROP TRIGGER refuse");
    child<QLineEdit>(&dlg, "txtChainage")->setText("20");
    EXPECT_TRUE(dlg.addCulvert());
    EXPECT_EQ(p.db().scalar("SELECT Chainage FROM Culverts").toDouble(), 20);
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

    EXPECT_EQ(test::queryRows(p.db(), "SELECT CulvertName, Type, ImageFileExisting, "
                                      "ImageFileProposed FROM CulvertTypes WHERE ID > 5"),
              "Box 2x2,Box,box_existing.png,box_proposed.png;Causeway,,,");
    EXPECT_EQ(appState().CulvertTypesRecordset->count(), 7);
    // The new type text is offered for the next type.
    EXPECT_GE(types->findText("Box"), 0);
}

TEST(CulvertDialogs, PicturesAreChosenFromThePictureFolder)
{
    CulvertProgram p;
    QTemporaryDir folder;
    for (const char* name : {"b.png", "a.png", "readme.txt"}) {
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    {
        dlgImageList list(folder.path());
        auto* files = child<QListWidget>(&list, "File1");
        ASSERT_EQ(files->count(), 3);
        EXPECT_EQ(files->item(0)->text(), "a.png");
        auto* view = child<QPushButton>(&list, "cmdSelect");
        EXPECT_FALSE(view->isEnabled());
        files->item(1)->setSelected(true);
        EXPECT_TRUE(view->isEnabled());
        QTest::mouseClick(view, Qt::LeftButton);
        EXPECT_EQ(list.result(), QDialog::Accepted);
        EXPECT_EQ(list.selectedFile(), "b.png");
    }
    {
        // A double-click on a file chooses it.
        dlgImageList list(folder.path());
        list.show();
        auto* files = child<QListWidget>(&list, "File1");
        const QPoint at = files->visualItemRect(files->item(2)).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(list.result(), QDialog::Accepted);
        EXPECT_EQ(list.selectedFile(), "readme.txt");
    }

    // From the type dialog: the chosen name lands in the box, a cancelled choice changes nothing.
    dlgAddCulvertType dlg(nullptr, folder.path());
    dlg.show();
    test::onModal("dlgImageList", [](QWidget* modal) {
        auto* files = modal->findChild<QListWidget*>("File1");
        files->item(0)->setSelected(true);
        QTest::mouseClick(modal->findChild<QPushButton*>("cmdSelect"), Qt::LeftButton);
    });
    click(&dlg, "cmdProposed");
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtImgFileProposed")->text(), "a.png");
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtImgFileExisting")->text(), "");
    child<QLineEdit>(&dlg, "txtImgFileExisting")->setText("keep.png");
    test::onModal("dlgImageList", [](QWidget* modal) {
        QTest::mouseClick(modal->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    });
    click(&dlg, "cmdExisting");
    EXPECT_EQ(child<QLineEdit>(&dlg, "txtImgFileExisting")->text(), "keep.png");
}

TEST(CulvertDialogs, AMissingPictureFolderIsReported)
{
    UiProgram p;
    dlgImageList list(p.dir.filePath("NoSuchFolder"));
    EXPECT_FALSE(list.folderListed());
    QCoreApplication::processEvents();
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_EQ(p.told[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(p.told[0].text.contains("NoSuchFolder"));
    EXPECT_TRUE(defaultCulvertFolder().endsWith("/Culverts"));
}
