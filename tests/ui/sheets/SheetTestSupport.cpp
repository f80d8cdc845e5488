#include "SheetTestSupport.h"

#include "store/Schema.h"
#include "ui/sheets/dlgSelectTransform.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTest>

namespace tarmela::test
{

void SheetFixture::SetUp()
{
    road = roads::create(db());
    db().exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                             "WHERE i < 10) INSERT INTO %1 (ID, Chainage, C) SELECT i, "
                             "(i - 1) * 20, CASE i WHEN 1 THEN 10.5 ELSE 99 + i END FROM n")
                  .arg(rlTable()));
    appState().CurrentRoadID = road;
    appState().RoadInterval = 20;
    area = std::make_unique<QMdiArea>();
    area->resize(1000, 700);
    area->show();
}

void SheetFixture::TearDown()
{
    p.answer = QMessageBox::No;
    area->closeAllSubWindows();
    area.reset();
}

QVariant SheetFixture::dbValue(const QString& column, std::int64_t id)
{
    return db().scalar(
        QStringLiteral("SELECT [%1] FROM %2 WHERE ID = %3").arg(column, rlTable()).arg(id));
}

frmDataGrid* SheetFixture::openRl(const sheets::ReducedLevelGroups& groups)
{
    return OpenSheetOfKind(area.get(), SheetKind::ReducedLevel,
                           sheets::reducedLevelStatement(road, sheets::ViewOrder{}, groups));
}

void SheetFixture::transformBlock(frmDataGrid* s, int type, const QString& value)
{
    onModal(QStringLiteral("dlgSelectTransform"), [type, value](QWidget* w) {
        EXPECT_FALSE(w->findChild<QPushButton*>("OKButton")->isEnabled()) << "OK before a choice";
        w->findChild<QComboBox*>("cmbTransformation")->setCurrentIndex(type);
        w->findChild<QLineEdit*>("txtValue")->setText(value);
        w->findChild<QPushButton*>(type >= 0 ? "OKButton" : "CancelButton")->click();
    });
    s->transform();
}

void SheetFixture::selectBlock(frmDataGrid* s, int top, int left, int bottom, int right)
{
    SheetModel* m = s->model();
    s->grid()->selectionModel()->setCurrentIndex(m->index(top, left),
                                                 QItemSelectionModel::NoUpdate);
    s->grid()->selectionModel()->select(
        QItemSelection(m->index(top, left), m->index(bottom, right)),
        QItemSelectionModel::ClearAndSelect);
}

QLineEdit* SheetFixture::openEditor(VellGrid* g)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QLineEdit* e : g->viewport()->findChildren<QLineEdit*>())
        if (!e->isHidden())
            return e;
    return nullptr;
}

void SheetFixture::typeInto(frmDataGrid* s, int row, int col, const QString& text, bool enter)
{
    VellGrid* g = s->grid();
    g->setFocus();
    g->setCurrentCell(row, col);
    QTest::keyClicks(g, text.left(1));
    QLineEdit* editor = openEditor(g);
    ASSERT_NE(editor, nullptr) << "no cell editor opened";
    QTest::keyClicks(editor, text.mid(1));
    if (!enter)
        return;
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor commits on the next turn of the loop, a refusal's message on the one after.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace tarmela::test
