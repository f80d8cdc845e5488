#include "drawing/ReportPdf.h"

#include "drawing/ReportPainter.h"
#include "drawing/ReportTable.h"
#include "store/Error.h"
#include "store/OutputFile.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace tarmela {

namespace {

[[noreturn]] void fail(const QString& path, const QString& why)
{
    throw Error(ErrorKind::Io, QStringLiteral("Cannot write the file %1: %2")
                                   .arg(QDir::toNativeSeparators(path), why));
}

} // namespace

void writeReportPdf(const ReportDocument& report, const QString& title, const QString& path,
                    const std::function<void(std::int64_t)>& progress)
{
    OutputFile file(path);
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Tarmela"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&pdf))
            fail(path, QStringLiteral("the PDF could not be started"));
        painter.setTransform(pageToDevice(pdf));
        for (std::int64_t i = 0; i < report.pageCount(); ++i) {
            if (i > 0 && !pdf.newPage())
                fail(path, QStringLiteral("a new page could not be started"));
            paintReportPage(painter, report.page(i));
            if (progress)
                progress(i + 1);
        }
        if (!painter.end())
            fail(path, QStringLiteral("the PDF could not be finished"));
    }
    // A write that failed on the way is reported here, and the target stays as it was.
    file.commit();
}

} // namespace tarmela
