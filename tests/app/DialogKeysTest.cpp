// The titled dialogs answer the keyboard as dialogs do: the focus starts on the first field,
// a Space typed there is typing, Esc cancels and Enter presses the default button.
#include "app/frmOptions.h"
#include "ui/sheets/SheetTestSupport.h"
#include "ui/sheets/dlgAddCulvert.h"
#include "ui/sheets/dlgAddCulvertType.h"
#include "ui/sheets/dlgSelectTransform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTest>

using namespace tarmela;
using tarmela::test::SheetFixture;

TEST_F(SheetFixture, TitledDialogsStartOnTheirFirstFieldSpaceTypesEscCancelsEnterAccepts)
{
    db().exec("INSERT INTO CulvertTypes (CulvertName, Type) VALUES ('Slab Culvert', 'Slab')");
    appState().CulvertTypesRecordset->requery();
    struct Case {
        const char* name;
        std::function<QDialog*()> make;
        bool enterAccepts; // Enter presses the default button, which closes this dialog
    };
    const Case cases[] = {
        {"Options", [] { return new frmOptions; }, true},
        {"Transform", [] { return new dlgSelectTransform; }, false}, // OK waits for a choice
        {"Add New Type of CD Work", [] { return new dlgAddCulvertType; }, false}, // Add stays
        {"Add CD Work", [] { return new dlgAddCulvert; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int key : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
            std::unique_ptr<QDialog> dlg(c.make());
            dlg->show();
            QApplication::setActiveWindow(dlg.get());
            ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            EXPECT_FALSE(qobject_cast<QAbstractButton*>(focus) && !qobject_cast<QCheckBox*>(focus))
                << focus->objectName().toStdString();
            EXPECT_TRUE(dlg->isAncestorOf(focus));
            // A Space typed into the first field is typing (or ticks a box), not a press of the
            // close picture or of a button. A list box keeps Space for its list.
            auto* list = qobject_cast<QComboBox*>(focus);
            if (!list || list->isEditable())
                QTest::keyClicks(focus, "a b");
            EXPECT_TRUE(dlg->isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            if (key == Qt::Key_Escape || c.enterAccepts) {
                EXPECT_FALSE(dlg->isVisible());
                EXPECT_EQ(dlg->result(),
                          key == Qt::Key_Escape ? QDialog::Rejected : QDialog::Accepted);
            }
        }
    }
}
