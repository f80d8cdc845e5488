// Saving, closing, locking, deleting rows and filtering a data sheet.
#include "SheetTestSupport.h"

#include "support/Widgets.h"
#include "ui/sheets/dlgSearchWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace tarmela;
using namespace tarmela::test;

TEST_F(SheetFixture, WithoutAutoSaveClosingAsksNamingTheSheetAndEachAnswerDoesItsPart)
{
    db().exec("UPDATE Roads SET [From] = 'Ranipur', [To] = 'Kalaghat'");
    appState().settings.AutoSave = false;
    frmDataGrid* s = openRl();
    QPointer<frmDataGrid> alive(s);
    EXPECT_EQ(s->windowTitle(), "RL Sheet \u2014 Ranipur To Kalaghat");
    typeInto(s, 0, kC, "11");

    p.answer = QMessageBox::Cancel;
    EXPECT_FALSE(s->close());
    ASSERT_EQ(p.asked.size(), 1u);
    EXPECT_TRUE(p.asked[0].startsWith("The RL Sheet \u2014 Ranipur To Kalaghat has changed"))
        << p.asked[0].toStdString();
    EXPECT_TRUE(alive);
    // Closing the frame (as the main window's shut-down does) asks the same.
    EXPECT_FALSE(area->subWindowList().front()->close());
    EXPECT_EQ(p.asked.size(), 2u);
    EXPECT_TRUE(alive);

    p.answer = QMessageBox::No;
    EXPECT_TRUE(s->close());
    EXPECT_DOUBLE_EQ(dbValue("C", 1).toDouble(), 10.5); // the edit is dropped
}

TEST_F(SheetFixture, WithAutoSaveATypedEditIsWrittenWhenItsRowIsLeftAndCloseAsksNothing)
{
    appState().settings.AutoSave = true;
    appState().settings.AutoRefreshDWG = true;
    frmDataGrid* s = openRl();
    int drawings = 0; // saves the drawings follow
    QObject::connect(&currentDocument(), &ProjectDocument::rowsChanged, s,
                     [&](const ProjectDocument::RowsWrite& w) {
                         drawings += w.writer == s && currentDocument().drawingsFollow(w);
                     });
    s->grid()->setCurrentCell(2, kC);
    ASSERT_TRUE(s->model()->setData(s->model()->index(2, kC), "77", Qt::EditRole));
    EXPECT_TRUE(s->changed());
    s->grid()->setCurrentCell(2, kC + 1); // same row: not yet
    EXPECT_DOUBLE_EQ(dbValue("C", 3).toDouble(), 102);
    s->grid()->setCurrentCell(3, kC + 1);
    EXPECT_DOUBLE_EQ(dbValue("C", 3).toDouble(), 77);
    EXPECT_EQ(drawings, 1);
    EXPECT_FALSE(s->changed());
    EXPECT_TRUE(s->close());
    EXPECT_TRUE(p.asked.empty());
}

TEST_F(SheetFixture, ASaveErrorNamesTheRowAndKeepsTheEditsAsDoesARefresh)
{
    appState().settings.AutoSave = false;
    frmDataGrid* s = openRl();
    s->model()->setCellText(0, kC, "1");
    s->model()->setCellText(2, kC, "3");
    db().exec("CREATE TRIGGER refuse BEFORE UPDATE ON " + rlTable() +
              " WHEN NEW.ID = 3 BEGIN SELECT RAISE(ABORT, 'the row is locked'); END");
    s->save();
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_EQ(p.lastTold(), "the row is locked\nError encountered while updating row 3");
    EXPECT_TRUE(s->changed());
    EXPECT_DOUBLE_EQ(dbValue("C", 1).toDouble(), 10.5); // all or nothing
    db().exec("DROP TRIGGER refuse");
    s->save();
    EXPECT_FALSE(s->changed());
    EXPECT_DOUBLE_EQ(dbValue("C", 3).toDouble(), 3);

    // Refreshing keeps unsaved edits: they are written first.
    s->model()->setCellText(0, kC, "5");
    db().exec("INSERT INTO " + rlTable() + " (ID, Chainage) VALUES (11, 200)");
    s->RefreshData();
    EXPECT_EQ(s->model()->rowCount(), 11);
    EXPECT_DOUBLE_EQ(dbValue("C", 1).toDouble(), 5); // written, not dropped
}

TEST_F(SheetFixture, LockingAndDeletingNeedASelection)
{
    frmDataGrid* s = openRl();
    s->grid()->setCurrentCell(0, kC);
    s->LockColumns();
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_EQ(p.lastTold(), "Select a column by clicking on the column header to lock it");

    s->grid()->selectColumn(kC);
    s->LockColumns();
    EXPECT_FALSE(s->model()->flags(s->model()->index(0, kC)) & Qt::ItemIsEditable);
    // A locked column keeps its cells when a paste runs over it.
    s->grid()->setCurrentCell(0, kC - 1);
    QGuiApplication::clipboard()->setText("1\t2\t3");
    s->paste();
    EXPECT_EQ(cell(s, 0, kC - 1), "1");
    EXPECT_EQ(cell(s, 0, kC), "10.5");
    EXPECT_EQ(cell(s, 0, kC + 1), "3");

    s->grid()->selectColumn(kC);
    s->LockColumns();
    EXPECT_TRUE(s->model()->flags(s->model()->index(0, kC)) & Qt::ItemIsEditable);

    // Deleting rows needs a selection and a Yes.
    s->grid()->clearSelection();
    EXPECT_FALSE(s->DeleteRecord());
    ASSERT_EQ(p.told.size(), 2u);
    EXPECT_EQ(p.lastTold(), "No records selected. Select one or more records for deletion!");

    s->grid()->selectRow(1);
    s->grid()->selectionModel()->select(s->model()->index(3, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(s->SelectCountRow(), 2);
    EXPECT_EQ(s->CurrentSelectedRecord(), 2);
    p.answer = QMessageBox::No;
    EXPECT_FALSE(s->DeleteRecord());
    EXPECT_EQ(p.asked.back(), "Surely delete 2 record(s) from the database?");
    EXPECT_EQ(test::rowCount(db(), rlTable()), 10);

    p.answer = QMessageBox::Yes;
    EXPECT_TRUE(s->DeleteRecord());
    EXPECT_EQ(test::rowCount(db(), rlTable()), 8);
    EXPECT_TRUE(dbValue("C", 2).isNull() && dbValue("C", 4).isNull());
    EXPECT_EQ(s->model()->rowCount(), 8);
    EXPECT_EQ(cell(s, 1, 0), "40");
    // The rows are numbered from 1.
    EXPECT_EQ(s->model()->headerData(7, Qt::Vertical, Qt::DisplayRole).toInt(), 8);
}

TEST_F(SheetFixture, FilterWindowBuildsTheFilterAndTheSheetAppliesIt)
{
    frmDataGrid* s = openRl();
    dlgSearchWindow w(s);
    auto* fields = child<QComboBox>(&w, "cmbField");
    auto* text = child<QLabel>(&w, "lblSearchText");
    auto condition = [&](const QString& field, const QString& op, const QString& value) {
        fields->setCurrentText(field);
        child<QComboBox>(&w, "cmbCondition")->setCurrentText(op);
        child<QLineEdit>(&w, "txtValue")->setText(value);
    };
    EXPECT_EQ(fields->count(), s->model()->columnCount());
    EXPECT_FALSE(child<QPushButton>(&w, "cmdExecute")->isEnabled());
    condition("Chainage", ">=", "20");
    click(&w, "cmdAND");
    EXPECT_EQ(text->text(), "Chainage >= '20' AND ");
    EXPECT_TRUE(fields->currentText().isEmpty());
    condition("C", "<", "105");
    click(&w, "cmdExecute");
    EXPECT_EQ(text->text(), "Chainage >= '20' AND C < '105'");
    // chainages 20..80: C 101..104
    EXPECT_TRUE(
        s->windowTitle().endsWith("filter Chainage >= '20' AND C < '105': 4 of 10 rows shown"));
    ASSERT_EQ(s->model()->rowCount(), 4);
    EXPECT_EQ(cell(s, 0, 0), "20");

    // An edit in a filtered sheet goes to the right row.
    s->model()->setCellText(1, kC, "1.5");
    s->Save();
    EXPECT_DOUBLE_EQ(dbValue("C", 3).toDouble(), 1.5);

    // Every field the list offers is taken (a blank in the name bracketed); Done adds its
    // clause once. A field the sheet has not: message, and the previous filter stays.
    for (const auto& [field, filter] :
         {std::pair{"Left Slope", "[Left Slope] = '1'"}, {"Nope", "Nope = '1'"}}) {
        text->clear();
        condition(field, "=", "1");
        click(&w, "cmdExecute");
        EXPECT_FALSE(child<QPushButton>(&w, "cmdExecute")->isEnabled());
        EXPECT_EQ(text->text(), filter);
    }
    EXPECT_TRUE(p.lastTold().contains("Nope"));
    EXPECT_TRUE(s->windowTitle().endsWith("filter [Left Slope] = '1': 0 of 10 rows shown"));

    // Values that look like placeholders reach the title as they are, with the true counts.
    for (const char* value : {"1*0", "%1", "2"}) {
        text->clear();
        condition("Chainage", "LIKE", value);
        click(&w, "cmdExecute");
        const QString expected = "filter Chainage LIKE '%" + QString(value) +
                                 "%': " + QString::number(s->model()->rowCount()) +
                                 " of 10 rows shown";
        EXPECT_TRUE(s->windowTitle().endsWith(expected)) << s->windowTitle().toStdString();
    }
    click(&w, "cmdClear"); // Clear shows every row
    EXPECT_FALSE(s->windowTitle().contains("filter"));
    EXPECT_TRUE(text->text().isEmpty());
}
