#include "drawing/SectionSources.h"

#include "store/Error.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
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

LongSectionPage LongSectionSource::page(std::int64_t index, QStringList* problems)
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

    for (const CulvertRow& f : m_culverts.between(start, end)) {
        if (std::isnan(f.chainage) || f.picture().isEmpty())
            continue;
        QImage image = picture(f.picture(), problems);
        if (image.isNull())
            continue;
        // The top of the picture lies 0.1 below the mean of the formation levels either side.
        const double otherwise = page.levels.low + 1;
        const double level =
            (fcBeside(f.chainage, true, otherwise) + fcBeside(f.chainage, false, otherwise)) / 2 -
            0.1;
        page.culverts.push_back({f.chainage, level, image});
    }
    return page;
}

double LongSectionSource::fcBeside(double chainage, bool before, double otherwise)
{
    const std::optional<double> fc = before ? m_rows.fcBefore(chainage) : m_rows.fcAfter(chainage);
    return fc && !std::isnan(*fc) ? *fc : otherwise;
}

QImage LongSectionSource::picture(const QString& file, QStringList* problems)
{
    const auto cached = m_pictures.constFind(file);
    if (cached != m_pictures.constEnd())
        return *cached;
    const QString path = QDir(m_options.culvertFolder).filePath(file);
    QImage image;
    if (QFileInfo(path).isFile()) {
        QImageReader reader(path);
        if (!reader.read(&image) && problems)
            *problems << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path),
                                                      reader.errorString());
    }
    m_pictures.insert(file, image);
    return image;
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
