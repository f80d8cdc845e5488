// Copy, cut, paste, undo, transform, the Delete key and typing in a data sheet.
#include "SheetTestSupport.h"

#include <QTest>

using namespace tarmela;
using tarmela::test::SheetFixture;

TEST_F(SheetFixture, PasteWritesWhatFitsEachUndoTakesBackOnePasteAndTypingReplaces)
{
    appState().settings.AutoSave = false;
    frmDataGrid* s = openRl();
    s->model()->setCellText(1, kRightSlope, "2.5");
    s->grid()->setCurrentCell(0, kRightSlope - 1);
    QGuiApplication::clipboard()->setText("1\t2\t3\r\n4\t5\t6\r\n");
    s->paste();
    s->grid()->setCurrentCell(1, kC);
    QGuiApplication::clipboard()->setText("7\t8");
    s->paste();
    // At the right edge only what fits; the trailing line end adds no row.
    selectBlock(s, 0, kRightSlope - 1, 2, kRightSlope);
    s->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1\t2\r\n4\t5\r\n\t");
    EXPECT_EQ(cell(s, 1, kC) + cell(s, 1, kC + 1), "78");
    EXPECT_EQ(s->rows().id(0), 1); // the hidden ID is never written
    EXPECT_TRUE(s->changed());

    s->undoStack()->undo();
    EXPECT_EQ(cell(s, 1, kC) + "|" + cell(s, 1, kC + 1), "101|");
    EXPECT_EQ(cell(s, 0, kRightSlope), "2");
    s->model()->setCellText(5, kC, "55"); // not through the undo: the next undos must not touch it
    s->undoStack()->undo();
    selectBlock(s, 0, kRightSlope - 1, 1, kRightSlope);
    s->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\t\r\n\t2.5");
    s->undoStack()->undo();                    // nothing left to undo
    EXPECT_EQ(cell(s, 1, kRightSlope), "2.5"); // and the copy left the cells
    EXPECT_EQ(cell(s, 5, kC), "55");

    // Typing replaces a cell and Enter moves down; F2 continues the text.
    VellGrid* g = s->grid();
    typeInto(s, 1, kC, "75.5");
    EXPECT_EQ(cell(s, 1, kC), "75.5");
    EXPECT_EQ(g->currentRow(), 2);
    EXPECT_EQ(g->currentCol(), kC);
    QTest::keyClick(g, Qt::Key_F2);
    QLineEdit* editor = openEditor(g);
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, "1");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits on the next turn of the loop
    EXPECT_EQ(cell(s, 2, kC), "1021");
}

TEST_F(SheetFixture, TransformOnABlockAndPastedTextInANumberColumn)
{
    appState().settings.AutoSave = true;
    frmDataGrid* s = openRl();
    selectBlock(s, 0, kC, 1, kC + 1);
    transformBlock(s, 3, "2m"); // the leading number of what was typed
    EXPECT_EQ(cell(s, 0, kC), "21");
    EXPECT_EQ(cell(s, 1, kC), "202");
    EXPECT_EQ(cell(s, 0, kC + 1), ""); // an empty cell is no level and stays empty
    EXPECT_FALSE(s->changed());
    EXPECT_DOUBLE_EQ(dbValue("C", 1).toDouble(), 21);
    EXPECT_TRUE(dbValue("R1", 1).isNull());

    transformBlock(s, 1, "0.1"); // Add 0.1: exact to the decimal typed
    EXPECT_EQ(cell(s, 0, kC), "21.1");
    s->undoStack()->undo();
    EXPECT_EQ(cell(s, 0, kC), "21");

    transformBlock(s, -1, "5"); // cancelled: nothing changes
    EXPECT_EQ(cell(s, 0, kC), "21");

    // A single cell is transformed alone.
    s->grid()->setCurrentCell(3, kC);
    transformBlock(s, 0, "5");
    EXPECT_EQ(cell(s, 3, kC), "5");
    EXPECT_EQ(cell(s, 4, kC), "104");
    s->grid()->setCurrentCell(3, kC + 1); // empty, alone too
    transformBlock(s, 1, "0.1");
    EXPECT_TRUE(dbValue("R1", 4).isNull());

    // Pasted text in a number column is refused and the rest kept.
    s->grid()->setCurrentCell(0, kC);
    QGuiApplication::clipboard()->setText("abc\t12.25");
    s->paste();
    EXPECT_EQ(cell(s, 0, kC), "21");
    EXPECT_EQ(cell(s, 0, kC + 1), "12.25");
    ASSERT_EQ(p.told.size(), 1u);
    EXPECT_TRUE(p.lastTold().contains("\"abc\" is not a number. The column C takes numbers only"))
        << p.lastTold().toStdString();
    EXPECT_DOUBLE_EQ(dbValue("R1", 1).toDouble(), 12.25); // saved at once
    EXPECT_DOUBLE_EQ(dbValue("C", 1).toDouble(), 21);
}

TEST_F(SheetFixture, CutDeleteAndUndoAndEnterRightSkippingLockedColumns)
{
    appState().settings.AutoSave = true;
    appState().settings.EnterRight = true;
    frmDataGrid* s = openRl();
    s->model()->setCellText(0, kC - 1, "99.5");
    selectBlock(s, 0, kC - 1, 1, kC + 1);
    s->cut();
    const QString cut = "99.5\t10.5\t\r\n\t101\t";
    EXPECT_EQ(QGuiApplication::clipboard()->text(), cut);
    EXPECT_EQ(cell(s, 0, kC), "");
    EXPECT_TRUE(dbValue("C", 2).isNull());
    s->undoStack()->undo();
    EXPECT_EQ(cell(s, 0, kC - 1), "99.5");
    EXPECT_EQ(cell(s, 0, kC), "10.5");
    EXPECT_DOUBLE_EQ(dbValue("C", 2).toDouble(), 101);

    // The Delete key empties the current cell or the block, and leaves the clipboard alone.
    s->grid()->setCurrentCell(2, kC);
    QTest::keyClick(s->grid(), Qt::Key_Delete);
    EXPECT_TRUE(dbValue("C", 3).isNull());
    selectBlock(s, 3, kC, 4, kC);
    QTest::keyClick(s->grid(), Qt::Key_Delete);
    EXPECT_EQ(cell(s, 3, kC) + cell(s, 4, kC), "");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), cut);
    s->undoStack()->undo();
    EXPECT_EQ(cell(s, 4, kC), "104");
    s->undoStack()->undo();
    EXPECT_DOUBLE_EQ(dbValue("C", 3).toDouble(), 102);

    // Enter (moving right), Tab and Backtab skip locked columns.
    VellGrid* g = s->grid();
    g->selectColumn(kC + 1);
    s->LockColumns();
    g->setCurrentCell(0, kC);
    for (const auto& [key, col] :
         {std::pair{Qt::Key_Return, kC + 2}, {Qt::Key_Backtab, kC + 0}, {Qt::Key_Tab, kC + 2}}) {
        QTest::keyClick(g, key);
        EXPECT_EQ(g->currentCol(), col);
    }
    g->setCurrentCell(0, kRightSlope);
    QTest::keyClick(g, Qt::Key_Return); // past the last column: first column of the next row
    EXPECT_EQ(g->currentRow(), 1);
    EXPECT_EQ(g->currentCol(), 0);
}
