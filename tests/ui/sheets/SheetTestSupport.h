#pragma once

#include "store/Roads.h"
#include "store/SheetQueries.h"
#include "support/TestProject.h"
#include "support/UiProgram.h"
#include "ui/common/AppState.h"
#include "ui/sheets/SheetLayouts.h"
#include "ui/sheets/SheetModel.h"
#include "ui/sheets/VellGrid.h"
#include "ui/sheets/frmDataGrid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <memory>

namespace tarmela::test
{

// The program (see UiProgram) with a project holding one road whose RL sheet has ten rows
// (chainages 0, 20, ..., 180; C of the first row 10.5, the others 100 + row), and a frame to
// open sheets in.
struct SheetFixture : ::testing::Test {
    static constexpr int kC = 9;           // C in the default RL sheet
    static constexpr int kRightSlope = 28; // the last shown column
    UiProgram p;
    std::unique_ptr<QMdiArea> area;
    std::int64_t road = 0;

    void SetUp() override;
    void TearDown() override;
    Database& db() { return p.db(); }
    QString rlTable() const { return QStringLiteral("RL_%1").arg(road); }
    QVariant dbValue(const QString& column, std::int64_t id);

    frmDataGrid* openRl(const sheets::ReducedLevelGroups& groups = {});
    // Runs the Transform command on the selected block, choosing type (-1: Cancel) and value.
    static void transformBlock(frmDataGrid* s, int type, const QString& value);
    // Selects the block of grid cells from (top, left) to (bottom, right).
    static void selectBlock(frmDataGrid* s, int top, int left, int bottom, int right);
    static QString cell(frmDataGrid* s, int row, int col) { return s->model()->cellText(row, col); }
    // The cell editor that is open now (a closed one may linger until deleted).
    static QLineEdit* openEditor(VellGrid* g);
    // Types text into a cell as a user does: the first key opens the editor; `enter` closes it
    // with Enter, else it stays open, as for a user who goes straight for a button.
    static void typeInto(frmDataGrid* s, int row, int col, const QString& text, bool enter = true);
    static int columnOf(frmDataGrid* s, const char* name)
    {
        return s->rows().columnIndex(QString::fromLatin1(name));
    }
};

} // namespace tarmela::test
