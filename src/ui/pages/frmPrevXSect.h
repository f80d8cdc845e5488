#pragma once

#include "drawing/CrossSectionPainter.h"
#include "drawing/SectionSources.h"
#include "ui/pages/SectionViewWindow.h"

#include <memory>

namespace tarmela
{

// "View X Section": the current road's cross sections, SectionsPerPage to an upright page of
// the page setup's paper and margins, zoomed from 10 % to 100 %.
class frmPrevXSect : public SectionViewWindow
{
    Q_OBJECT
public:
    explicit frmPrevXSect(QWidget* parent = nullptr);

protected:
    std::int64_t load() override;
    QSize pageTwips(double zoomPercent) override;
    void readPage(std::int64_t index) override;
    void paintPage(QPainter& p, double zoomPercent, double thinWidth) override;
    QString loadMessage(const Error& e) const override;
    void printPage(QPainter& p, const PrintChoice& c, std::int64_t index, double thin) override;

private:
    CrossSectionLayout layout(double zoomPercent, Paper paper) const;
    CrossSectionStyle style(double thinWidth) const;
    void read(std::int64_t index, const CrossSectionLayout& l);

    std::unique_ptr<CrossSectionSource> m_source;
    CrossSectionPage m_page;
    int m_sectionsOnPage = 6;
};

} // namespace tarmela
