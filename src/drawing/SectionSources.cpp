#include "drawing/SectionSources.h"

#include "compute/RlRows.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"

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

std::optional<double> scalarNumber(Database& db, const QString& statement)
{
    RowReader r(db, statement);
    if (!r.next())
        return std::nullopt;
    return r.optionalNumber(0);
}

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
    const QString table = quoteName(schema::rlTable(road));
    return sectionPaging(
        scalarNumber(db, "SELECT MAX(Chainage) FROM " + table + " WHERE Chainage<=1000"),
        scalarNumber(db, "SELECT MIN(Chainage) FROM " + table),
        scalarNumber(db, "SELECT MAX(Chainage) FROM " + table), roadLength);
}

LongSectionSource::LongSectionSource(Database& db, std::int64_t road,
                                     const LongSectionOptions& options)
    : m_road(roads::get(db, road)), m_options(checkedOptions(options)),
      m_paging(readSectionPaging(db, road, double(m_road.length))),
      m_rows(db, "SELECT * FROM " + quoteName(schema::rlTable(road)) +
                     " WHERE Chainage>=? AND Chainage<=? ORDER BY Chainage"),
      m_culverts(db, QStringLiteral(
                         "SELECT Culverts.Chainage, EPType, ImageFileExisting, ImageFileProposed "
                         "FROM Culverts, CulvertTypes WHERE CTypeRef=CulvertTypes.ID AND "
                         "RoadRef=? AND Culverts.Chainage>=? AND Culverts.Chainage<=? "
                         "ORDER BY Culverts.Chainage")),
      m_fcBefore(db, "SELECT FC FROM " + quoteName(schema::rlTable(road)) +
                         " WHERE Chainage<? ORDER BY Chainage DESC LIMIT 1"),
      m_fcAfter(db, "SELECT FC FROM " + quoteName(schema::rlTable(road)) +
                        " WHERE Chainage>? ORDER BY Chainage LIMIT 1")
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

    m_rows.bind(0, start);
    m_rows.bind(1, end);
    LevelRangeBuilder levels;
    RlRowReader rows(m_rows);
    RlRow row;
    const int shown = m_options.viewSections;
    while (rows.next(row)) {
        LongSectionRow r{row.chainage, row.centre, shown ? row.left[shown - 1] : kEmpty,
                         shown ? row.right[shown - 1] : kEmpty, row.fc};
        levels.take(r.centre);
        levels.take(r.left);
        levels.take(r.right);
        page.rows.push_back(r);
    }
    page.levels = levels.result(m_options.fixedDatum, m_options.fixedDatumValue);
    if (page.rows.empty())
        return page;

    m_culverts.bind(0, qint64(m_road.id));
    m_culverts.bind(1, start);
    m_culverts.bind(2, end);
    struct Found {
        double chainage;
        QString file;
    };
    std::vector<Found> found;
    while (m_culverts.next()) {
        const bool existing = m_culverts.text(1) == QLatin1String("E");
        found.push_back({m_culverts.numberOrNan(0), m_culverts.text(existing ? 2 : 3)});
    }
    for (const Found& f : found) {
        if (std::isnan(f.chainage) || f.file.isEmpty())
            continue;
        QImage image = picture(f.file, problems);
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
    RowReader& q = before ? m_fcBefore : m_fcAfter;
    q.bind(0, chainage);
    const double fc = q.next() ? q.numberOrNan(0) : NAN;
    return std::isnan(fc) ? otherwise : fc;
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
      // The index on Chainage holds the row's ID, so this order comes straight from it.
      m_page(db, "SELECT * FROM " + quoteName(schema::rlTable(road)) +
                     " ORDER BY Chainage, ID LIMIT ? OFFSET ?"),
      m_after(db, "SELECT * FROM " + quoteName(schema::rlTable(road)) +
                      " WHERE (Chainage, ID) > (?, ?) ORDER BY Chainage, ID LIMIT ?")
{
    RowReader count(db, "SELECT COUNT(*) FROM " + quoteName(schema::rlTable(road)));
    m_rows = count.next() ? count.integer(0) : 0;
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
    RowReader* query = &m_page;
    if (number == m_nextPage) {
        query = &m_after;
        m_after.bind(0, m_lastChainage).bind(1, qint64(m_lastId)).bind(2, m_perPage);
    } else {
        m_page.bind(0, m_perPage).bind(1, qint64((number - 1) * m_perPage));
    }
    m_nextPage = 0;
    RlRowReader reader(*query);
    RlRow row;
    while (reader.next(row)) {
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
