// The main window and the formation tool: while the tool is open, the toolbar's Update is
// the tool's recomputation, so that its grid of kilometres follows too.
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

} // namespace tarmela
