#include "views/frmPrevLsect.h"

#include "ui/common/AppState.h"
#include "ui/common/Prompts.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "views/SectionColours.h"
#include "ui/common/frmSelectPrinter.h"

#include <QCoreApplication>
#include <QDir>

namespace tarmela {

frmPrevLsect::frmPrevLsect(QWidget* parent)
    : SectionViewWindow(QStringLiteral("frmPrevLsect"), tr("View L Section"), parent)
{
    optbPaperOrientation = 2;
    optbColorMode = 1;
    start();
}

std::int64_t frmPrevLsect::load()
{
    const AppState& app = appState();
    if (app.CurrentRoadID < 1)
        throw Error(ErrorKind::Usage,
                    tr("No road selected. Select a road to view its L-Section"));
    LongSectionOptions o;
    o.viewSections = app.settings.ViewSections;
    o.fixedDatum = app.settings.FixedDatum;
    o.fixedDatumValue = app.settings.FixedDatumValue;
    o.culvertFolder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Culverts"));
    m_source = std::make_unique<LongSectionSource>(*app.ProjectConnection, app.CurrentRoadID, o);
    setWindowTitle(roadCaption(m_source->road().from, m_source->road().to));
    if (m_source->paging().pageCount == 0)
        throw Error(ErrorKind::NoRows,
                    tr("There are no records to display for the current road!"));
    readPage(0);
    if (m_page.rows.empty())
        throw Error(ErrorKind::NoRows,
                    tr("There are no records to display for the current road!"));
    return m_source->paging().pageCount;
}

QString frmPrevLsect::loadMessage(const Error& e) const
{
    if (e.kind() == ErrorKind::TableMissing)
        return tr("Data sheet not generated. Select 'Generate Data Sheet' from Data menu");
    return e.message();
}

QSize frmPrevLsect::pageTwips(double zoomPercent)
{
    const LongSectionLayout l = LongSectionLayout::at(zoomPercent / 100, m_source->road().interval);
    return {l.pageWidth, l.pageHeight};
}

void frmPrevLsect::readPage(std::int64_t index)
{
    QStringList problems;
    m_page = m_source->page(index, &problems);
    for (const QString& problem : problems)
        prompts().tell(this, problem, QMessageBox::Warning);
}

LongSectionStyle frmPrevLsect::style(double thinWidth) const
{
    const Settings& s = appState().settings;
    LongSectionStyle style;
    style.formation = settingColour(s.ColorLFormation);
    style.centre = settingColour(s.ColorCentre);
    style.left = settingColour(s.ColorLeft);
    style.right = settingColour(s.ColorRight);
    style.grid = s.LSectionGrid;
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
    // The A3 page at full size; on A4 the same page at 65 %.
    const double zoom = c.paper == Paper::A3 ? 1.0 : 0.65;
    readPage(index);
    paintLongSectionPage(p, LongSectionLayout::at(zoom, m_source->road().interval), m_page,
                         style(thin));
}

double frmPrevLsect::zoomFromAnswer(double percent) const
{
    return double(nearestEven(percent));
}

} // namespace tarmela
