#include "ui/pages/frmPrevXSect.h"

#include "settings/SectionStyles.h"
#include "store/Error.h"
#include "ui/common/AppState.h"
#include "ui/common/frmSelectPrinter.h"

namespace tarmela
{

namespace
{

const char* const kCannotDraw = "Incorrect or insufficient data for drawing X-Section !";

} // namespace

frmPrevXSect::frmPrevXSect(QWidget* parent)
    : SectionViewWindow({QStringLiteral("frmPrevXSect"), tr("View X Section"),
                         /*printsLandscape*/ false, /*lowestZoom*/ 10,
                         /*wheelScrollsAcross*/ false},
                        parent)
{
    start();
}

std::int64_t frmPrevXSect::load()
{
    const AppState& app = appState();
    optbPaperSize = crossSectionPaper(app.settings) == Paper::A3 ? 1 : 0;
    m_sectionsOnPage = app.settings.SectionsPerPage;
    // Every page from one state of the project: the source reads through a snapshot.
    m_source.reset();
    m_source = std::make_unique<CrossSectionSource>(takeSnapshot(), app.CurrentRoadID,
                                                    m_sectionsOnPage, app.settings.ViewSections);
    setWindowTitle(roadCaption(m_source->road().from, m_source->road().to));
    if (m_source->rowCount() == 0)
        throw Error(ErrorKind::NoRows, tr("No data ! Add Chainages to display their sections"));
    if (!layout(100, Paper::A4).drawable(m_sectionsOnPage))
        throw Error(ErrorKind::Overflow, tr(kCannotDraw));
    return m_source->pageCount();
}

QString frmPrevXSect::loadMessage(const Error& e) const
{
    switch (e.kind()) {
    case ErrorKind::NullValue:
        return tr("Some essential fields in the database have not been filled !");
    case ErrorKind::Overflow:
        return tr(kCannotDraw);
    default:
        return SectionViewWindow::loadMessage(e);
    }
}

CrossSectionLayout frmPrevXSect::layout(double zoomPercent, Paper paper) const
{
    return CrossSectionLayout::at(zoomPercent / 100, paper,
                                  crossSectionMargins(appState().settings));
}

CrossSectionStyle frmPrevXSect::style(double thinWidth) const
{
    CrossSectionStyle style = crossSectionStyle(appState().settings);
    style.sectionsOnPage = m_sectionsOnPage;
    style.thinWidth = thinWidth;
    return style;
}

QSize frmPrevXSect::pageTwips(double zoomPercent)
{
    const CrossSectionLayout l = layout(zoomPercent, paper());
    return {l.PageWidth, l.PageHeight};
}

void frmPrevXSect::read(std::int64_t index, const CrossSectionLayout& l)
{
    if (!l.drawable(m_sectionsOnPage))
        throw Error(ErrorKind::Overflow, tr(kCannotDraw));
    m_page = m_source->page(index + 1, crossSectionSlot(l, m_sectionsOnPage), style(15).locale);
}

void frmPrevXSect::readPage(std::int64_t index)
{
    read(index, layout(100, paper()));
}

void frmPrevXSect::paintPage(QPainter& p, double zoomPercent, double thinWidth)
{
    const CrossSectionLayout l = layout(zoomPercent, paper());
    if (l.drawable(m_sectionsOnPage))
        paintCrossSectionPage(p, l, m_page, style(thinWidth));
}

void frmPrevXSect::printPage(QPainter& p, const PrintChoice& c, std::int64_t index, double thin)
{
    const CrossSectionLayout l = layout(100, c.paper);
    read(index, l);
    paintCrossSectionPage(p, l, m_page, style(thin));
}

} // namespace tarmela
