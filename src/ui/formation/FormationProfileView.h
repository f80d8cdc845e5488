#pragma once

#include "drawing/FormationProfile.h"

#include <QImage>
#include <QPolygonF>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarmela
{

// The formation tool's plot `pbGraph`: shows the last painted profile and, over it, the
// marker of the picked row, so that moving the marker needs no redraw of the profile.
class FormationProfileView : public QWidget
{
    Q_OBJECT
public:
    explicit FormationProfileView(QWidget* parent = nullptr);

    // The plot's size in twips and its scales.
    FormationProfileFrame frame() const;
    // Metres of chainage to a grid column and the vertical exaggeration (FormationProfileFrame).
    void setScales(std::int64_t columnMetres, double exaggeration);
    void show(const FormationProfileDrawing& drawing);
    // The marker's centre in twips; none hides it.
    void setMarker(std::optional<QPointF> twips);
    std::optional<QPointF> marker() const { return m_marker; }

    // Drawn over the profile, in twips: the line at the picked section's chainage, and the
    // vertical alignment (its line, and its PVIs with the selected one filled).
    struct Overlay {
        std::optional<double> pickedX;
        QPolygonF alignment;
        std::vector<QPointF> pvis;
        int selected = -1;
    };
    void setOverlay(Overlay overlay);

signals:
    // A mouse button was pressed, or released, at the point (twips from the top left).
    void pressed(QPointF twips);
    void released(QPointF twips);
    // The pointer moved to the point (with or without a button held).
    void moved(QPointF twips);
    void left();
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_picture;
    std::int64_t m_columnMetres = 50;
    double m_exaggeration = 25;
    std::optional<QPointF> m_marker;
    Overlay m_overlay;
};

} // namespace tarmela
