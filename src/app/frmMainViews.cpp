// The main window's side of the section views: opening them, page setup, and redrawing an
// open cross section view when reduced levels are saved. Paging, zoom and printing reach a
// view through the child interface like every other child's commands.
#include "app/frmMain.h"
#include "ui/common/AppState.h"
#include "ui/common/dlgPageSetup.h"
#include "ui/pages/frmPrevLsect.h"
#include "ui/pages/frmPrevXSect.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace tarmela
{

void frmMain::wireSectionViews()
{
    auto on = [this](const char* name, auto slot) {
        connect(command(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    on("mnuViewLSection", [this] { openSectionView(QStringLiteral("frmPrevLsect")); });
    on("mnuViewXSection", [this] { openSectionView(QStringLiteral("frmPrevXSect")); });
    on("mnuFilePageSetup", [this] {
        dlgPageSetup dialog(appState().settings, this);
        dialog.exec();
    });
}

void frmMain::openSectionView(const QString& name)
{
    // A view draws what is stored: what the user just typed is written (or asked about) first.
    if (!commitOpenEdits(tr("drawing the sections")))
        return;
    // One view of each kind: an open one shows the current road again.
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (sub->widget() && sub->widget()->objectName() == name) {
            static_cast<SectionViewWindow*>(sub->widget())->ReloadForm();
            m_mdi->setActiveSubWindow(sub);
            return;
        }
    }
    SectionViewWindow* view = nullptr;
    if (name == QLatin1String("frmPrevLsect"))
        view = new frmPrevLsect;
    else
        view = new frmPrevXSect;
    if (view->loadFailed()) {
        delete view;
        return;
    }
    QMdiSubWindow* sub = m_mdi->addSubWindow(view);
    sub->setWindowIcon(windowIcon());
    // A page wants room: the view takes the whole frame.
    sub->setGeometry(QRect(QPoint(0, 0), m_mdi->viewport()->size()));
    view->show();
    m_mdi->setActiveSubWindow(sub);
}

void frmMain::redrawCrossSectionViews()
{
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (auto* x = qobject_cast<frmPrevXSect*>(sub->widget()))
            x->DrawXSection();
}

} // namespace tarmela
