#include "ui/formation/FormationProfileView.h"

#include <QMouseEvent>
#include <QPainter>

namespace tarmela
{

FormationProfileView::FormationProfileView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pbGraph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 80);
}

FormationProfileFrame FormationProfileView::frame() const
{
    return {width() * kProfileTwipsPerPixel, height() * kProfileTwipsPerPixel};
}

void FormationProfileView::show(const FormationProfileDrawing& drawing)
{
    const qreal ratio = devicePixelRatioF();
    m_picture = QImage(size() * ratio, QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(ratio);
    QPainter p(&m_picture);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(1 / kProfileTwipsPerPixel, 1 / kProfileTwipsPerPixel);
    paintFormationProfile(p, drawing);
    update();
}

void FormationProfileView::setMarker(std::optional<QPointF> twips)
{
    m_marker = twips;
    update();
}

void FormationProfileView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_picture.isNull())
        p.fillRect(rect(), Qt::white);
    else
        p.drawImage(0, 0, m_picture);
    if (m_marker) {
        p.scale(1 / kProfileTwipsPerPixel, 1 / kProfileTwipsPerPixel);
        paintFormationMarker(p, m_marker->x(), m_marker->y());
    }
}

void FormationProfileView::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event->position().x() * kProfileTwipsPerPixel);
}

void FormationProfileView::resizeEvent(QResizeEvent*)
{
    emit resized();
}

} // namespace tarmela
