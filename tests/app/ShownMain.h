#pragma once
// The main window on screen over a program of its own, and the user's ways of working it.
#include "app/frmMain.h"
#include "store/SheetQueries.h"
#include "support/UiProgram.h"
#include "support/Widgets.h"
#include "ui/sheets/SheetLayouts.h"
#include "ui/sheets/SheetModel.h"
#include "ui/sheets/SheetTestSupport.h"
#include "ui/sheets/VellGrid.h"
#include "ui/sheets/frmDataGrid.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <string>
#include <vector>

namespace tarmela::test
{

struct ShownMain {
    UiProgram p;
    frmMain w;
    explicit ShownMain(QSize size = {1000, 700})
    {
        w.resize(size);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    }
    QAction* cmd(const char* name) { return w.command(QString::fromLatin1(name)); }
    void keys(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&w, Qt::Key(key), mods); }
    int windows() const { return int(w.mdiArea()->subWindowList().size()); }
    // Those of the named menu commands ("mnu...") and toolbar buttons that are enabled.
    QStringList enabled(const QStringList& names) const
    {
        QStringList on;
        for (const QString& n : names)
            if ((n.startsWith("mnu") ? w.command(n) : w.toolButton(n))->isEnabled())
                on << n;
        return on;
    }
    // A toolbar button clicked with the mouse.
    void press(const char* key)
    {
        auto* bar = w.findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QTest::mouseClick(bar->widgetForAction(w.toolButton(QString::fromLatin1(key))),
                          Qt::LeftButton);
    }
    // A sheet of a kind opened straight from its statement, as the view dialogs leave it.
    frmDataGrid* open(SheetKind kind, const QString& statement)
    {
        return OpenSheetOfKind(w.mdiArea(), kind, statement);
    }
    // Makes the road current and opens its RL sheet.
    frmDataGrid* openRl(std::int64_t road)
    {
        EXPECT_TRUE(w.ChooseRoad(road));
        return open(SheetKind::ReducedLevel, sheets::reducedLevelStatement(road, {}, {}));
    }
    frmDataGrid* openRoads()
    {
        w.toolButton(QStringLiteral("Roads"))->trigger();
        return w.activeSheet();
    }
    std::vector<SheetKind> openKinds() const
    {
        std::vector<SheetKind> kinds;
        for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
            if (auto* s = qobject_cast<frmDataGrid*>(sub->widget()))
                kinds.push_back(s->strCurrentDataSheet);
        std::sort(kinds.begin(), kinds.end());
        return kinds;
    }
};

// Edit > Undo and Edit > Redo as the menu shows them: "on &Undo Paste | off R&edo".
inline std::string undoMenu(frmMain& w)
{
    QStringList parts;
    for (const char* name : {"mnuEditUndo", "mnuEditRedo"}) {
        QAction* a = w.command(QString::fromLatin1(name));
        parts << QString::fromLatin1(a->isEnabled() ? "on " : "off ") + a->text();
    }
    return parts.join(" | ").toStdString();
}

inline constexpr auto columnOf = &SheetFixture::columnOf;

// A click (or a double click) on the row header of the row of that ID.
inline void clickRowHeader(frmDataGrid* sheet, std::int64_t id, bool twice = false,
                           Qt::KeyboardModifiers mods = {})
{
    sheet->SeekRecord(id);
    const int row = sheet->grid()->currentRow();
    ASSERT_GE(row, 0) << "no row for ID " << id;
    QHeaderView* h = sheet->grid()->verticalHeader();
    const QPoint at(h->width() / 2, h->sectionViewportPosition(row) + h->sectionSize(row) / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, mods, at);
    if (twice)
        QTest::mouseDClick(h->viewport(), Qt::LeftButton, mods, at);
}

// Types into the cell of the named column (see SheetFixture::typeInto).
inline void typeInto(frmDataGrid* s, int row, const char* column, const QString& text,
                     bool enter = true)
{
    SheetFixture::typeInto(s, row, columnOf(s, column), text, enter);
}

} // namespace tarmela::test
