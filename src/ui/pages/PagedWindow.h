#pragma once

#include "ui/common/MdiChild.h"

#include <QWidget>
#include <cstdint>

namespace tarmela
{

// How every paged window zooms: in percent of the page's natural size, a step of 5 points at
// a time, taken when the value before it is inside the window's limits (so 97 % zooms in to
// 102 % and 22 % out to 17 %); the zoom question accepts 20 % up to the highest step.
struct ZoomRule {
    double lowest = 20;
    double highest = 100;
    double in(double percent) const { return percent < highest ? percent + 5 : percent; }
    double out(double percent) const { return percent > lowest ? percent - 5 : percent; }
    static constexpr double kLeastAsked = 20;
};

// What the paged windows share (the section views, the report window): one page shown at a
// time, turned with Previous and Next (the toolbar, Page Up and Page Down, Home and End), zoomed
// by one rule (the toolbar, + and -, View > Zoom...). The main window reaches them through the
// child interface; a window draws its pages and prints them itself.
class PagedWindow : public QWidget, public MdiChild
{
    Q_OBJECT
public:
    std::int64_t pageIndex() const { return m_page; }
    std::int64_t pageCount() const { return m_pageCount; }
    double zoomPercent() const { return m_zoom; }

    // Paging while there is a page to go to, zooming within the rule's limits, printing while
    // there is a page.
    ChildCommands enabledCommands() const override;
    void previousPage() override { sMoveBottom(); }
    void nextPage() override { sMoveTop(); }
    void zoomIn() override { sZoomInPage(); }
    void zoomOut() override { sZoomOutPage(); }
    void askZoom() override { sZoomPage(); }

    void sMoveTop();    // the next page
    void sMoveBottom(); // the page before
    void sZoomInPage();
    void sZoomOutPage();
    void sZoomPage(); // asks for a percentage

protected:
    PagedWindow(const ZoomRule& rule, QWidget* parent);

    // Draws page `index` at zoomPercent(); `turned` is false when only the zoom changed.
    // Throws Error; the page shown stays as it was.
    virtual void drawPage(std::int64_t index, bool turned) = 0;
    // Whether there is anything to show (false after a failed load).
    virtual bool showing() const { return m_pageCount > 0; }
    // The zoom that an answer to the zoom question gives.
    virtual double zoomFromAnswer(double percent) const { return percent; }

    // Turns to a page (within the pages there are) or zooms, and tells the user of an error.
    void turnTo(std::int64_t index);
    void zoomTo(double percent);

    void setPageCount(std::int64_t n) { m_pageCount = n; }
    void setPageIndex(std::int64_t index) { m_page = index; }
    void setZoomPercent(double percent) { m_zoom = percent; }

    void keyPressEvent(QKeyEvent* event) override;

private:
    ZoomRule m_rule;
    std::int64_t m_page = 0;
    std::int64_t m_pageCount = 0;
    double m_zoom = 100;
};

} // namespace tarmela
