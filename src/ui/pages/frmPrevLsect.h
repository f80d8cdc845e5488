#pragma once

#include "drawing/LongSectionPainter.h"
#include "drawing/SectionSources.h"
#include "ui/pages/SectionViewWindow.h"

#include <memory>

namespace tarmela
{

// "View L Section": the current road's longitudinal section one page at a time, as it prints
// on A3 lying on its side (on A4 at 65 %), zoomed from 20 % to 100 %.
class frmPrevLsect : public SectionViewWindow
{
    Q_OBJECT
public:
    explicit frmPrevLsect(QWidget* parent = nullptr);

protected:
    std::int64_t load() override;
    QSize pageTwips(double zoomPercent) override;
    void readPage(std::int64_t index) override;
    void paintPage(QPainter& p, double zoomPercent, double thinWidth) override;
    void printPage(QPainter& p, const PrintChoice& c, std::int64_t index, double thin) override;
    double zoomFromAnswer(double percent) const override;

private:
    LongSectionStyle style(double thinWidth) const;

    std::unique_ptr<LongSectionSource> m_source;
    LongSectionPage m_page;
};

} // namespace tarmela
