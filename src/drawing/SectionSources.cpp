#include "drawing/SectionSources.h"

#include "store/Error.h"

#include <QDate>
#include <QVariant>
#include <cmath>

namespace tarmela
{

namespace
{

int checkedViewSections(int viewSections)
{
    if (viewSections < 0 || viewSections > kReadingsPerSide)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("The number of readings shown per side must be from 0 to 8"));
    return viewSections;
}

const LongSectionOptions& checkedOptions(const LongSectionOptions& options)
{
    checkedViewSections(options.viewSections);
    return options;
}

int checkedPerPage(int sectionsOnPage)
{
    if (sectionsOnPage < 1)
        throw Error(ErrorKind::Usage,
                    QStringLiteral("The number of sections per page must be at least 1"));
    return sectionsOnPage;
}

} // namespace

SectionPaging readSectionPaging(Database& db, std::int64_t road, double roadLength)
{
    RlRowStore rows(db, road);
    return sectionPaging(rows.lastChainageUpTo(1000), rows.minChainage(), rows.maxChainage(),
                         roadLength);
}

LongSectionSource::LongSectionSource(Database& db, std::int64_t road,
                                     const LongSectionOptions& options)
    : m_road(roads::get(db, road)), m_options(checkedOptions(options)),
      m_paging(readSectionPaging(db, road, double(m_road.length))), m_rows(db, road),
      m_culverts(db, road)
{
}

LongSectionPage LongSectionSource::page(std::int64_t index)
{
    LongSectionPage page;
    page.from = m_road.from;
    page.to = m_road.to;
    page.fields = m_road.fields;
    page.pageIndex = index;
    page.pageCount = m_paging.pageCount;
    const double start = m_paging.pageStart(index), end = m_paging.pageEnd(index);

    LevelRangeBuilder levels;
    const int shown = m_options.viewSections;
    for (const RlRow& row : m_rows.between(start, end)) {
        LongSectionRow r{row.chainage, row.centre, shown ? row.left[shown - 1] : kEmpty,
                         shown ? row.right[shown - 1] : kEmpty, row.fc};
        levels.take(r.centre);
        levels.take(r.left);
        levels.take(r.right);
        levels.take(r.fc);
        page.rows.push_back(r);
    }
    page.levels = levels.result(m_options.fixedDatum, m_options.fixedDatumValue);
    if (page.rows.empty())
        return page;

    page.culverts = culvertMarks(m_culverts, m_rows, start, end, page.levels.low);
    return page;
}

std::vector<CulvertMark> culvertMarks(RoadCulverts& culverts, RlRowStore& rows, double start,
                                      double end, double datum)
{
    auto fcBeside = [&](double chainage, bool before) {
        const std::optional<double> fc = before ? rows.fcBefore(chainage) : rows.fcAfter(chainage);
        return fc && !std::isnan(*fc) ? *fc : datum + 1;
    };
    std::vector<CulvertMark> out;
    for (const CulvertRow& f : culverts.between(start, end)) {
        if (std::isnan(f.chainage))
            continue;
        // The top of the mark lies 0.1 below the mean of the formation levels either side.
        const double level = (fcBeside(f.chainage, true) + fcBeside(f.chainage, false)) / 2 - 0.1;
        out.push_back({f.chainage, level, f.epType == QLatin1String("E")});
    }
    return out;
}

CrossSectionSource::CrossSectionSource(Database& db, std::int64_t road, int sectionsOnPage,
                                       int viewSections)
    : m_road(roads::get(db, road)), m_distances(roads::crossDistances(db, road)),
      m_perPage(checkedPerPage(sectionsOnPage)), m_viewSections(checkedViewSections(viewSections)),
      m_sheet(db, road)
{
    m_rows = m_sheet.count();
}

CrossSectionPage CrossSectionSource::page(std::int64_t number, const SectionSlot& slot,
                                          const QLocale& locale)
{
    CrossSectionPage page;
    page.from = m_road.from;
    page.to = m_road.to;
    page.fields = m_road.fields;
    page.pageNumber = number;
    page.pageCount = pageCount();
    page.date = QDate::currentDate();
    // Counting to a page's first row costs what the pages before it hold; printing a long
    // road page after page would grow with the square of its length. The next page is
    // therefore read on from the last row of the one before, through the index.
    const std::vector<RlRow> rows = number == m_nextPage
                                        ? m_sheet.after(m_lastChainage, m_lastId, m_perPage)
                                        : m_sheet.page((number - 1) * m_perPage, m_perPage);
    m_nextPage = 0;
    for (const RlRow& row : rows) {
        page.sections.push_back({row.chainage,
                                 row.fillArea,
                                 row.cutArea,
                                 sectionFigure(row, m_distances, m_viewSections),
                                 {}});
        // A row without a chainage sorts first and has no key to read on from.
        if (present(row.chainage)) {
            m_nextPage = number + 1;
            m_lastChainage = row.chainage;
            m_lastId = row.id;
        } else {
            m_nextPage = 0;
        }
    }
    planCrossSectionPage(page, slot, locale);
    return page;
}

} // namespace tarmela
