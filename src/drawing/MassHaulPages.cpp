// The mass haul's reading, its table pages, the painter of its pages and its PDF file.
#include "drawing/MassHaulDiagram.h"

#include "drawing/PagePdf.h"
#include "drawing/PagePens.h"
#include "drawing/SectionSources.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/Transaction.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace tarmela
{

namespace
{

constexpr std::int64_t kTableRows = 50;
constexpr double kRowHeight = 290;
constexpr double kLeft = 300, kRight = 22980, kHeadY = 1134;
const char* const kNoRecords = "There are no records to display for the current road!";

} // namespace

std::int64_t MassHaulRoad::tablePages() const
{
    return (std::int64_t(sections.size()) + kTableRows - 1) / kTableRows;
}

MassHaulRoad readMassHaulRoad(Database& db, std::int64_t road)
{
    const ReadTransaction snapshot(db);
    const Road details = roads::get(db, road);
    MassHaulRoad r;
    r.from = details.from;
    r.to = details.to;
    r.paging = readSectionPaging(db, road, double(details.length));
    r.summary = massHaulOf(db, road, details.cutFactor,
                           [&](const MassHaulSection& s) { r.sections.push_back(s); });
    return r;
}

DiagramPage massHaulTablePage(const MassHaulRoad& road, std::int64_t index, std::int64_t number,
                              std::int64_t total, const QLocale& locale)
{
    DiagramPage page;
    auto put = [&](const QString& text, double points, bool bold, double x, double y,
                   bool right = false) {
        DiagramText t = measuredText(text, points, bold);
        t.x = right ? x - t.width : x;
        t.y = y;
        page.texts.push_back(std::move(t));
    };
    const DiagramText pageText =
        measuredText(QStringLiteral("Page %1 of %2").arg(number).arg(total), 10, true);
    put(pageText.text, 10, true, kRight, 250, true);
    const QFontMetricsF title(pageFont(10, true));
    put(title.elidedText(QStringLiteral("%1 to %2 : Mass haul table").arg(road.from, road.to),
                         Qt::ElideRight, kRight - kLeft - pageText.width - 240),
        10, true, kLeft, 250);
    put(QStringLiteral("Cut factor %1; segment volumes by average end areas; chainages in m, "
                       "areas in m\u00b2, volumes in m\u00b3")
            .arg(locale.toString(road.summary.cutFactor, 'f', 2)),
        8, false, kLeft, 650);

    static const char* const kHeadings[8] = {"Chainage",       "Fill Area",    "Cut Area",
                                             "Segment Fill",   "Segment Cut",  "Cumulative Fill",
                                             "Cumulative Cut", "Mass Ordinate"};
    const double column = (kRight - kLeft) / 8;
    const double inset = 120;
    for (int c = 0; c < 8; ++c)
        put(QString::fromLatin1(kHeadings[c]), 8, true, kLeft + (c + 1) * column - inset,
            kHeadY + 40, true);
    const double first = kHeadY + kRowHeight;
    const auto begin = std::size_t(index * kTableRows);
    const std::size_t end = std::min(road.sections.size(), begin + std::size_t(kTableRows));
    const QLocale grouped = groupedLocale(locale);
    for (std::size_t i = begin; i < end; ++i) {
        const MassHaulSection& s = road.sections[i];
        const double values[8] = {s.chainage,   s.fillArea,       s.cutArea,       s.segmentFill,
                                  s.segmentCut, s.cumulativeFill, s.cumulativeCut, s.ordinate};
        const double y = first + double(i - begin) * kRowHeight + 40;
        for (int c = 0; c < 8; ++c)
            put(grouped.toString(values[c], 'f', c == 1 || c == 2 ? 3 : 2), 8, false,
                kLeft + (c + 1) * column - inset, y, true);
    }
    const double bottom = first + double(end - begin) * kRowHeight;
    page.lines.push_back({DiagramLayer::Frame, kLeft, kHeadY, kRight, kHeadY});
    page.lines.push_back({DiagramLayer::Frame, kLeft, first, kRight, first});
    page.lines.push_back({DiagramLayer::Frame, kLeft, bottom, kRight, bottom});
    for (int c = 0; c <= 8; ++c)
        page.lines.push_back(
            {DiagramLayer::Frame, kLeft + c * column, kHeadY, kLeft + c * column, bottom});
    // A light line every five rows guides the eye along the figures.
    for (std::size_t k = 5; begin + k < end; k += 5)
        page.lines.push_back({DiagramLayer::Grid, kLeft, first + double(k) * kRowHeight, kRight,
                              first + double(k) * kRowHeight});
    return page;
}

void paintDiagramPage(QPainter& p, const DiagramPage& page, double thinWidth)
{
    p.save();
    p.fillRect(QRectF(0, 0, page.width, page.height), Qt::white);
    const QPen pens[3] = {pagePen(Qt::black, kTwipsPerScreenPixel),
                          pagePen(QColor(162, 162, 162), thinWidth),
                          pagePen(QColor(0, 0, 160), 2 * kTwipsPerScreenPixel)};
    for (const DiagramLine& l : page.lines) {
        p.setPen(pens[std::min(int(l.layer), 2)]);
        p.drawLine(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2));
    }
    p.setPen(Qt::black);
    for (const DiagramText& t : page.texts) {
        p.setFont(pageFont(t.points, t.bold));
        if (t.turned)
            turnedTextAt(p, t.x, t.y, t.text);
        else
            textAt(p, t.x, t.y, t.text);
    }
    p.restore();
}

QStringList writeMassHaulPdf(Database& db, std::int64_t road, const QLocale& locale,
                             const QString& target)
{
    const MassHaulRoad r = readMassHaulRoad(db, road);
    const std::int64_t sheets = r.diagramPages();
    const std::int64_t total = sheets + r.tablePages();
    writePagesPdf(target, Paper::A3, true, total, r.from + " to " + r.to + " : Mass haul",
                  [&](QPainter& p, std::int64_t i) {
                      paintDiagramPage(p,
                                       i < sheets
                                           ? massHaulDiagramPage(r, i, i + 1, total, locale)
                                           : massHaulTablePage(r, i - sheets, i + 1, total, locale),
                                       pdfThinWidth());
                  });
    if (r.sections.empty())
        return {QString::fromLatin1(kNoRecords)};
    return {};
}

} // namespace tarmela
