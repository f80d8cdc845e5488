#include "drawing/ReportPdf.h"

#include "drawing/PagePdf.h"
#include "drawing/ReportPainter.h"
#include "drawing/ReportTable.h"

#include <QPainter>

namespace tarmela
{

void writeReportPdf(const ReportDocument& report, const QString& title, const QString& path,
                    const std::function<void(std::int64_t)>& progress)
{
    // The reports keep the PDF writer's own resolution, finer than the section drawings'.
    constexpr int kReportResolution = 1200;
    writePagesPdf(
        path, report.pageModel().paper, report.pageModel().landscape, report.pageCount(), title,
        [&](QPainter& painter, std::int64_t i) {
            painter.setTransform(pageToDevice(*painter.device()));
            paintReportPage(painter, report.page(i));
            if (progress)
                progress(i + 1);
        },
        kReportResolution);
}

} // namespace tarmela
