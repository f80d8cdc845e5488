// The main window and the formation tool: one tool at a time, opened on the current road,
// its quantities shown in the status bar, and kept current after changes in the sheets.
#include "app/frmMain.h"
#include "ui/formation/frmPlotFormation.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace tarmela
{

frmPlotFormation* frmMain::formationTool() const
{
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (auto* tool = qobject_cast<frmPlotFormation*>(sub->widget()))
            return tool;
    return nullptr;
}

frmPlotFormation* frmMain::activeFormationTool() const
{
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    return sub ? qobject_cast<frmPlotFormation*>(sub->widget()) : nullptr;
}

void frmMain::openFormationTool()
{
    if (frmPlotFormation* open = formationTool()) {
        m_mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(open->parentWidget()));
        return;
    }
    // The tool recomputes the road as it opens: it starts from what the sheets show.
    if (!commitOpenEdits(tr("opening the formation tool")))
        return;
    auto* tool = new frmPlotFormation;
    connect(tool, &frmPlotFormation::quantitiesChanged, this,
            [this](const QString& filling, const QString& cutting, const QString& total) {
                setStatusPanel(2, filling);
                setStatusPanel(3, cutting);
                setStatusPanel(4, total);
            });
    QMdiSubWindow* sub = m_mdi->addSubWindow(tool);
    // The profile wants all the room there is.
    sub->setGeometry(QRect(QPoint(0, 0), m_mdi->viewport()->size()));
    tool->show();
    showWrittenRows(tool->road(), tool);
}

void frmMain::refreshFormationTool()
{
    if (frmPlotFormation* tool = formationTool())
        tool->pbRefresh();
}

} // namespace tarmela
