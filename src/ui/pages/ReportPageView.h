#pragma once

#include "drawing/ReportPage.h"

#include <QWidget>

namespace tarmela
{

// One report page on screen at a zoom factor (1: the page's own size at the screen's
// resolution), drawn by the same painter as the printed page.
class ReportPageView : public QWidget
{
    Q_OBJECT
public:
    explicit ReportPageView(QWidget* parent = nullptr);
    void setPage(ReportPage page);
    void setZoom(double zoom);
    const ReportPage& page() const { return m_page; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitSize();
    ReportPage m_page;
    double m_zoom = 1;
};

} // namespace tarmela
