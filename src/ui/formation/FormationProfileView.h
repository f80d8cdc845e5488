#pragma once

#include "drawing/FormationProfile.h"

#include <QImage>
#include <QWidget>
#include <optional>

namespace tarmela
{

// The formation tool's plot `pbGraph`: shows the last painted profile and, over it, the
// marker of the picked row, so that moving the marker needs no redraw of the profile.
class FormationProfileView : public QWidget
{
    Q_OBJECT
public:
    explicit FormationProfileView(QWidget* parent = nullptr);

    // The plot's size in twips.
    FormationProfileFrame frame() const;
    void show(const FormationProfileDrawing& drawing);
    // The marker's centre in twips; none hides it.
    void setMarker(std::optional<QPointF> twips);
    std::optional<QPointF> marker() const { return m_marker; }

signals:
    // A mouse button was released at x twips from the left edge.
    void released(double xTwips);
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_picture;
    std::optional<QPointF> m_marker;
};

} // namespace tarmela
