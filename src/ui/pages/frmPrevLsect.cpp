#include "ui/pages/frmPrevLsect.h"

#include "settings/SectionStyles.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "ui/common/AppState.h"
#include "ui/common/Prompts.h"
#include "ui/common/frmSelectPrinter.h"

#include <QCoreApplication>

namespace tarmela
{

frmPrevLsect::frmPrevLsect(QWidget* parent)
    : SectionViewWindow({QStringLiteral("frmPrevLsect"), tr("View L Section"),
                         /*printsLandscape*/ true, /*lowestZoom*/ 20, /*wheelScrollsAcross*/ true},
                        parent)
{
    optbPaperOrientation = 2;
    optbColorMode = 1;
    start();
}

std::int64_t frmPrevLsect::load()
{
    const AppState& app = appState();
    if (app.CurrentRoadID < 1)
        throw Error(ErrorKind::Usage, tr("No road selected. Select a road to view its L-Section"));
    // Every page from one state of the project: the source reads through a snapshot.
    m_source.reset();
    m_source = std::make_unique<LongSectionSource>(takeSnapshot(), app.CurrentRoadID,
                                                   longSectionOptions(app.settings));
    setWindowTitle(roadCaption(m_source->road().from, m_source->road().to));
    if (m_source->paging().pageCount == 0)
        throw Error(ErrorKind::NoRows, tr("There are no records to display for the current road!"));
    ensurePage(0);
    if (m_page.rows.empty())
        throw Error(ErrorKind::NoRows, tr("There are no records to display for the current road!"));
    return m_source->paging().pageCount;
}

QSize frmPrevLsect::pageTwips(double zoomPercent)
{
    const LongSectionLayout l = LongSectionLayout::at(zoomPercent / 100, m_source->road().interval);
    return {l.pageWidth, l.pageHeight};
}

void frmPrevLsect::readPage(std::int64_t index)
{
    m_page = m_source->page(index);
}

LongSectionStyle frmPrevLsect::style(double thinWidth) const
{
    LongSectionStyle style = longSectionStyle(appState().settings);
    style.thinWidth = thinWidth;
    return style;
}

void frmPrevLsect::paintPage(QPainter& p, double zoomPercent, double thinWidth)
{
    paintLongSectionPage(p, LongSectionLayout::at(zoomPercent / 100, m_source->road().interval),
                         m_page, style(thinWidth));
}

void frmPrevLsect::printPage(QPainter& p, const PrintChoice& c, std::int64_t index, double thin)
{
    readPage(index);
    paintLongSectionPage(p, LongSectionLayout::onPaper(c.paper, m_source->road().interval), m_page,
                         style(thin));
}

double frmPrevLsect::zoomFromAnswer(double percent) const
{
    return double(nearestEven(percent));
}

} // namespace tarmela
