#include "ui/pages/ReportPageView.h"

#include "drawing/ReportPainter.h"

#include <QPainter>
#include <QTransform>

namespace tarmela
{

ReportPageView::ReportPageView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picBox"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReportPageView::setPage(ReportPage page)
{
    m_page = std::move(page);
    fitSize();
    update();
}

void ReportPageView::setZoom(double zoom)
{
    m_zoom = zoom;
    fitSize();
    update();
}

void ReportPageView::fitSize()
{
    const QRectF page = pageToDevice(*this, m_zoom).mapRect(QRectF(QPointF(), m_page.size));
    setFixedSize(page.size().toSize().expandedTo(QSize(1, 1)));
}

void ReportPageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setTransform(pageToDevice(*this, m_zoom));
    paintReportPage(painter, m_page);
}

} // namespace tarmela
