#include "app/WindowRegistry.h"

#include "ui/common/MdiChild.h"
#include "ui/common/SubWindowPlacement.h"
#include "ui/formation/frmPlotFormation.h"
#include "ui/pages/frmMassHaul.h"
#include "ui/pages/frmPrevLsect.h"
#include "ui/pages/frmPrevXSect.h"
#include "ui/pages/frmReports.h"
#include "ui/sheets/SheetLayouts.h"
#include "ui/sheets/frmDataGrid.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVariant>

namespace tarmela
{

namespace
{

const char* const kIdProperty = "tarmelaWindowId";
const char* const kRoadProperty = "tarmelaWindowRoad";

// A page or a profile wants room: the window takes the whole frame.
QMdiSubWindow* addFilling(QMdiArea* area, QWidget* child)
{
    QMdiSubWindow* sub = area->addSubWindow(child);
    fillSubWindow(area, sub);
    area->setActiveSubWindow(sub);
    return sub;
}

template <typename View> MdiChild* openSectionView(QMdiArea* area)
{
    auto* view = new View;
    if (view->loadFailed()) {
        delete view;
        return nullptr;
    }
    addFilling(area, view)->setWindowIcon(area->window()->windowIcon());
    return view;
}

MdiChild* openFormationTool(QMdiArea* area)
{
    auto* tool = new frmPlotFormation;
    addFilling(area, tool);
    return tool;
}

} // namespace

const std::vector<WindowEntry>& windowEntries()
{
    // Work that reads the road starts once the open windows have written what the user typed.
    static const std::vector<WindowEntry> all = {
        {WindowId::RoadDetails, "mnuRoadDetails", false, false, nullptr,
         [](QMdiArea* a) -> MdiChild* { return OpenRoadDetailsSheet(a); }},
        {WindowId::LevelBook, "mnuLevelBook", true, false, nullptr,
         [](QMdiArea* a) -> MdiChild* { return OpenLevelBookSheet(a); }},
        {WindowId::ReducedLevels, "mnuInputDataSheet", true, false, nullptr,
         [](QMdiArea* a) -> MdiChild* { return OpenReducedLevelSheet(a); }},
        {WindowId::FormationPlot, "mnuFormationPlot", true, true,
         QT_TRANSLATE_NOOP("frmMain", "opening the formation tool"), &openFormationTool},
        {WindowId::Culverts, "mnuViewCulverts", true, false, nullptr,
         [](QMdiArea* a) -> MdiChild* { return OpenCulvertsSheet(a); }},
        {WindowId::CrossDistances, "mnuCrossDistances", true, false, nullptr,
         [](QMdiArea* a) -> MdiChild* { return OpenCrossDistancesSheet(a); }},
        {WindowId::CulvertTypes, "mnuCulvertTypes", true, false, nullptr,
         [](QMdiArea* a) -> MdiChild* { return OpenCulvertTypesSheet(a); }},
        {WindowId::LongSection, "mnuViewLSection", true, true,
         QT_TRANSLATE_NOOP("frmMain", "drawing the sections"), &openSectionView<frmPrevLsect>},
        {WindowId::CrossSection, "mnuViewXSection", true, true,
         QT_TRANSLATE_NOOP("frmMain", "drawing the sections"), &openSectionView<frmPrevXSect>},
        {WindowId::MassHaul, "mnuMassHaul", true, true,
         QT_TRANSLATE_NOOP("frmMain", "drawing the mass haul"), &openSectionView<frmMassHaul>},
        // One report window at a time: frmReports::Open replaces an open one.
        {WindowId::EarthworkReport, "mnuEarthworkReport", true, false,
         QT_TRANSLATE_NOOP("frmMain", "making the report"),
         [](QMdiArea* a) -> MdiChild* { return frmReports::Open(a, ReportKind::EarthworkReport); }},
        {WindowId::LevelBookReport, "mnuLevelBookReport", true, false,
         QT_TRANSLATE_NOOP("frmMain", "making the report"),
         [](QMdiArea* a) -> MdiChild* { return frmReports::Open(a, ReportKind::LevelBook); }},
    };
    return all;
}

void tagWindow(QMdiSubWindow* window, WindowId id, std::int64_t road)
{
    window->setProperty(kIdProperty, int(id));
    window->setProperty(kRoadProperty, qint64(road));
}

const WindowEntry* entryOf(const QMdiSubWindow* window)
{
    const QVariant id = window ? window->property(kIdProperty) : QVariant();
    if (!id.isValid())
        return nullptr;
    for (const WindowEntry& e : windowEntries())
        if (int(e.id) == id.toInt())
            return &e;
    return nullptr;
}

std::int64_t roadOf(const QMdiSubWindow* window)
{
    return window ? window->property(kRoadProperty).toLongLong() : 0;
}

} // namespace tarmela
