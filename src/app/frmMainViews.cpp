// The main window's side of the section views: opening them, routing paging, zoom and print
// to the active one, page setup, and redrawing an open cross section view when reduced levels
// are saved.
#include "ui/common/AppState.h"
#include "app/frmMain.h"
#include "sheets/ui/frmDataGrid.h"
#include "views/SectionViewWindow.h"
#include "ui/common/dlgPageSetup.h"
#include "views/frmPrevLsect.h"
#include "views/frmPrevXSect.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace tarmela {

namespace {

SectionViewWindow* activeView(QMdiArea* mdi)
{
    QMdiSubWindow* sub = mdi->activeSubWindow();
    return sub ? qobject_cast<SectionViewWindow*>(sub->widget()) : nullptr;
}

} // namespace

void frmMain::wireSectionViews()
{
    auto on = [this](const QString& name, auto slot) {
        QAction* a = command(name);
        if (!a)
            a = toolButton(name);
        connect(a, &QAction::triggered, this, slot);
    };
    on(QStringLiteral("mnuViewLSection"), [this] { openSectionView(QStringLiteral("frmPrevLsect")); });
    on(QStringLiteral("mnuViewXSection"), [this] { openSectionView(QStringLiteral("frmPrevXSect")); });
    on(QStringLiteral("mnuFilePageSetup"), [this] {
        dlgPageSetup dialog(appState().settings, this);
        dialog.exec();
    });
    auto toView = [this](void (SectionViewWindow::*operation)()) {
        return [this, operation] {
            if (SectionViewWindow* view = activeView(m_mdi))
                (view->*operation)();
        };
    };
    on(QStringLiteral("mnuFilePrint"), toView(&SectionViewWindow::sPrintItem));
    on(QStringLiteral("Previous"), toView(&SectionViewWindow::sMoveBottom));
    on(QStringLiteral("Next"), toView(&SectionViewWindow::sMoveTop));
    on(QStringLiteral("ZoomIn"), toView(&SectionViewWindow::sZoomInPage));
    on(QStringLiteral("ZoomOut"), toView(&SectionViewWindow::sZoomOutPage));
    on(QStringLiteral("mnuViewZoom"), toView(&SectionViewWindow::sZoomPage));
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &frmMain::showViewCommands);
    showViewCommands();
}

void frmMain::openSectionView(const QString& name)
{
    // One view of each kind: an open one shows the current road again.
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (sub->widget() && sub->widget()->objectName() == name) {
            auto* view = static_cast<SectionViewWindow*>(sub->widget());
            view->ReloadForm();
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
    sub->resize(m_mdi->viewport()->size());
    view->show();
    m_mdi->setActiveSubWindow(sub);
}

void frmMain::showViewCommands()
{
    const bool view = activeView(m_mdi) != nullptr;
    for (const char* key : {"Previous", "Next", "ZoomIn", "ZoomOut"})
        toolButton(QString::fromLatin1(key))->setVisible(view);
    for (const char* name : {"mnuFilePrint", "mnuViewZoom"})
        command(QString::fromLatin1(name))->setEnabled(view);
    toolButton(QStringLiteral("Print"))->setEnabled(view);
    // Reduced levels saved in a sheet redraw an open cross section view.
    if (frmDataGrid* sheet = activeSheet())
        connect(sheet, &frmDataGrid::dependentDrawingsChanged, this,
                &frmMain::redrawCrossSectionViews, Qt::UniqueConnection);
}

void frmMain::redrawCrossSectionViews()
{
    if (!appState().settings.AutoRefreshDWG)
        return;
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (auto* x = qobject_cast<frmPrevXSect*>(sub->widget()))
            x->DrawXSection();
}

} // namespace tarmela
