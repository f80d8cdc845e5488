#include "drawing/CrossSectionLayout.h"

#include "store/Numbers.h"

namespace tarmela
{

CrossSectionLayout CrossSectionLayout::at(double zoom, Paper paper, const PageMargins& m)
{
    auto n = [](double v) { return int(nearestEven(v)); };
    CrossSectionLayout l;
    l.zoom = zoom;
    l.Mm = kTwipsPerMm * zoom;
    const QSizeF mm = paperMm(paper);
    l.PageWidth = n(l.Mm * mm.width());
    l.PageHeight = n(l.Mm * mm.height());
    l.Len10 = n(l.Mm * 10);
    l.Len25 = n(l.Mm * 25);
    l.Len053 = n(l.Mm * 0.53);
    l.Len088 = n(l.Mm * 0.88);
    l.Len353 = n(l.Mm * 3.53);
    l.FontSize = n(8 * zoom);
    l.LeftX = n(l.Len10 * m.left);
    l.TopY = n(l.Len10 * m.top);
    l.RightX = n(l.PageWidth - l.Len10 * m.right);
    l.BottomY = n(l.PageHeight - l.Len10 * m.bottom);
    l.BoxWidth = l.RightX - l.LeftX - 2 * l.Len25;
    return l;
}

bool CrossSectionLayout::drawable(int sectionsOnPage) const
{
    return sectionsOnPage >= 1 && BoxWidth > 0 && Len10 > 0 && slotHeight(sectionsOnPage) > 0;
}

int CrossSectionLayout::slotHeight(int sectionsOnPage) const
{
    if (sectionsOnPage < 1)
        return 0;
    return int(nearestEven((BottomY - TopY - 4.5 * Len10) / sectionsOnPage));
}

int CrossSectionLayout::centreX() const
{
    return int(nearestEven((LeftX + RightX) / 2.0));
}

std::int64_t crossSectionPageCount(std::int64_t rows, int sectionsOnPage)
{
    if (rows <= 0 || sectionsOnPage < 1)
        return 0;
    return (rows + sectionsOnPage - 1) / sectionsOnPage;
}

} // namespace tarmela
