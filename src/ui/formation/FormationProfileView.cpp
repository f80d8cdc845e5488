#include "ui/formation/FormationProfileView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>

namespace tarmela
{

FormationProfileView::FormationProfileView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pbGraph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 80);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus); // Delete removes the selected PVI
}

FormationProfileFrame FormationProfileView::frame() const
{
    return {width() * kProfileTwipsPerPixel, height() * kProfileTwipsPerPixel, m_columnMetres,
            m_exaggeration};
}

void FormationProfileView::setScales(std::int64_t columnMetres, double exaggeration)
{
    m_columnMetres = columnMetres;
    m_exaggeration = exaggeration;
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
    p.scale(1 / kProfileTwipsPerPixel, 1 / kProfileTwipsPerPixel);
    if (m_overlay.pickedX) {
        p.setPen(QPen(QColor(0, 150, 150), 15, Qt::DashLine));
        p.drawLine(QPointF(*m_overlay.pickedX, 0),
                   QPointF(*m_overlay.pickedX, height() * kProfileTwipsPerPixel - 600));
    }
    if (!m_overlay.alignment.isEmpty()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 140, 0), 30));
        p.drawPolyline(m_overlay.alignment);
    }
    for (int i = 0; i < int(m_overlay.pvis.size()); ++i) {
        p.setPen(QPen(QColor(0, 110, 0), 20));
        p.setBrush(i == m_overlay.selected ? QBrush(QColor(0, 160, 0)) : QBrush(Qt::white));
        p.drawEllipse(m_overlay.pvis[std::size_t(i)], 75, 75);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (m_marker)
        paintFormationMarker(p, m_marker->x(), m_marker->y());
}

void FormationProfileView::setOverlay(Overlay overlay)
{
    m_overlay = std::move(overlay);
    update();
}

void FormationProfileView::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event->position() * kProfileTwipsPerPixel);
}

void FormationProfileView::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(event->position() * kProfileTwipsPerPixel);
}

void FormationProfileView::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event->position() * kProfileTwipsPerPixel);
}

void FormationProfileView::leaveEvent(QEvent*)
{
    emit left();
}

void FormationProfileView::resizeEvent(QResizeEvent*)
{
    emit resized();
}

} // namespace tarmela
