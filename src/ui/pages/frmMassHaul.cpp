#include "ui/pages/frmMassHaul.h"

#include "store/Error.h"
#include "ui/common/AppState.h"
#include "ui/common/frmSelectPrinter.h"

#include <QPainter>

namespace tarmela
{

frmMassHaul::frmMassHaul(QWidget* parent)
    : SectionViewWindow({QStringLiteral("frmMassHaul"), tr("Mass Haul Diagram"),
                         /*printsLandscape*/ true, /*lowestZoom*/ 20, /*wheelScrollsAcross*/ true},
                        parent)
{
    optbPaperOrientation = 2;
    // Beyond the levels the sections follow, the ordinates follow the road's cut factor.
    connect(&currentDocument(), &ProjectDocument::rowsChanged, this,
            [this](const ProjectDocument::RowsWrite& w) {
                if (w.rows == ProjectDocument::Rows::Roads && !loadFailed())
                    refresh();
            });
    start();
}

std::int64_t frmMassHaul::load()
{
    const AppState& app = appState();
    if (app.CurrentRoadID < 1)
        throw Error(ErrorKind::Usage,
                    tr("No road selected. Select a road to view its mass haul diagram"));
    m_road =
        std::make_unique<MassHaulRoad>(readMassHaulRoad(*app.ProjectConnection, app.CurrentRoadID));
    setWindowTitle(roadCaption(m_road->from, m_road->to));
    if (m_road->sections.empty())
        throw Error(ErrorKind::NoRows, tr("There are no records to display for the current road!"));
    ensurePage(0);
    return m_road->diagramPages();
}

QSize frmMassHaul::pageTwips(double zoomPercent)
{
    const double f = zoomPercent / 100;
    return {int(m_page.width * f), int(m_page.height * f)};
}

void frmMassHaul::readPage(std::int64_t index)
{
    m_page = massHaulDiagramPage(*m_road, index, index + 1, m_road->diagramPages(), QLocale());
}

void frmMassHaul::paintPage(QPainter& p, double zoomPercent, double thinWidth)
{
    const double f = zoomPercent / 100;
    p.scale(f, f);
    paintDiagramPage(p, m_page, thinWidth / f);
}

void frmMassHaul::printPage(QPainter& p, const PrintChoice& c, std::int64_t index, double thin)
{
    // The A3 sheet at full size; on A4 the same sheet at 65 %, as the long section prints.
    const double f = c.paper == Paper::A3 ? 1.0 : 0.65;
    readPage(index);
    p.save();
    p.scale(f, f);
    paintDiagramPage(p, m_page, thin / f);
    p.restore();
}

} // namespace tarmela
