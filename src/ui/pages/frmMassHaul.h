#pragma once

#include "drawing/MassHaulDiagram.h"
#include "ui/pages/SectionViewWindow.h"

#include <memory>

namespace tarmela
{

// "Mass Haul Diagram": the current road's mass-haul diagram one sheet at a time, on the
// longitudinal section's sheets and scale (A3 on its side, on A4 at 65 %), zoomed from 20 % to
// 100 %. The road is read once when the window opens, and again when its levels or the road's
// details (its cut factor) are written.
class frmMassHaul : public SectionViewWindow
{
    Q_OBJECT
public:
    explicit frmMassHaul(QWidget* parent = nullptr);

protected:
    std::int64_t load() override;
    QSize pageTwips(double zoomPercent) override;
    void readPage(std::int64_t index) override;
    void paintPage(QPainter& p, double zoomPercent, double thinWidth) override;
    void printPage(QPainter& p, const PrintChoice& c, std::int64_t index, double thin) override;

private:
    std::unique_ptr<MassHaulRoad> m_road;
    DiagramPage m_page;
};

} // namespace tarmela
