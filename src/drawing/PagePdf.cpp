#include "drawing/PagePdf.h"

#include "store/Error.h"
#include "store/OutputFile.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace tarmela
{

namespace
{

[[noreturn]] void cannotWrite(const QString& target, const QString& why)
{
    throw Error(ErrorKind::Io,
                QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(target), why));
}

} // namespace

double pdfThinWidth()
{
    return kTwipsPerInch / kPdfResolution;
}

void writePagesPdf(const QString& target, Paper paper, bool landscape, std::int64_t pageCount,
                   const QString& title, const PagePaint& paint, int resolution)
{
    OutputFile file(target);
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(resolution);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Tarmela"));
        pdf.setPageLayout(QPageLayout(QPageSize(paper == Paper::A3 ? QPageSize::A3 : QPageSize::A4),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&pdf))
            cannotWrite(target, QStringLiteral("the PDF could not be started"));
        for (std::int64_t i = 0; i < pageCount; ++i) {
            if (i > 0 && !pdf.newPage())
                cannotWrite(target, QStringLiteral("a new page could not be started"));
            mapTwipsToDevice(painter, pdf);
            paint(painter, i);
        }
        if (!painter.end())
            cannotWrite(target, QStringLiteral("the PDF could not be finished"));
    }
    // A write that failed on the way is reported here, and the target stays as it was.
    file.commit();
}

void writeLongSectionPdf(Database& db, std::int64_t road, const LongSectionOptions& options,
                         const LongSectionStyle& style, Paper paper, const QString& target)
{
    LongSectionSource source(db, road, options);
    const LongSectionLayout layout = LongSectionLayout::onPaper(paper, source.road().interval);
    LongSectionStyle s = style;
    s.thinWidth = pdfThinWidth();
    writePagesPdf(target, paper, true, source.paging().pageCount,
                  source.road().from + " to " + source.road().to, [&](QPainter& p, std::int64_t i) {
                      paintLongSectionPage(p, layout, source.page(i), s);
                  });
}

void writeCrossSectionPdf(Database& db, std::int64_t road, int sectionsOnPage, Paper paper,
                          const PageMargins& margins, const CrossSectionStyle& style,
                          const QString& target)
{
    CrossSectionSource source(db, road, sectionsOnPage, style.viewSections);
    const CrossSectionLayout layout = CrossSectionLayout::at(1.0, paper, margins);
    if (source.rowCount() > 0 && !layout.drawable(sectionsOnPage))
        throw Error(ErrorKind::Overflow,
                    QStringLiteral("Incorrect or insufficient data for drawing X-Section !"));
    CrossSectionStyle s = style;
    s.thinWidth = pdfThinWidth();
    s.sectionsOnPage = sectionsOnPage;
    const SectionSlot slot = crossSectionSlot(layout, sectionsOnPage);
    writePagesPdf(target, paper, false, source.pageCount(),
                  source.road().from + " To " + source.road().to, [&](QPainter& p, std::int64_t i) {
                      paintCrossSectionPage(p, layout, source.page(i + 1, slot, s.locale), s);
                  });
}

} // namespace tarmela
