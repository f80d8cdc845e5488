#pragma once

#include "drawing/PagePdf.h"
#include "ui/common/ProjectDocument.h"
#include "ui/pages/PagedWindow.h"

#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <memory>

class QScrollArea;

namespace tarmela
{

class Database;
class Snapshot;
struct PrintChoice;

// What the two section views share beyond paging and zoom (PagedWindow): the page painted
// once into a picture (`picBox`) with scroll bars (`HScroll1`, `VScroll1`, the corner
// `Command1`), and printed through "Select printer". The views only read the database. The
// project's document tells them when the road's levels or culverts were written (they draw the
// page again) and when another road becomes current (they close).
class SectionViewWindow : public PagedWindow
{
    Q_OBJECT
public:
    // The printable-view variables that the printer dialog fills in.
    std::uint8_t optbPaperSize = 0;        // 0 A4, 1 A3
    std::uint8_t optbPaperOrientation = 1; // 1 portrait, 2 landscape
    std::uint8_t optbColorMode = 1;        // 1 monochrome, 2 colour
    bool optbAccepted = false;
    bool optAllPages = false;

    // Nothing could be shown (the user was told why): the window is not to be shown.
    bool loadFailed() const { return m_loadFailed; }

    // The child interface beyond paging and zoom: printing, refreshing.
    ChildCommands enabledCommands() const override;
    void print() override { sPrintItem(); }
    void refresh() override;
    bool wheel(int delta) override;

    // Reads the road again and shows the first page at 100 %.
    void ReloadForm();

protected:
    // What sets a view apart beyond its pages.
    struct Traits {
        QString objectName;
        QString caption;
        bool printsLandscape = false;    // the orientation the print dialog offers first
        double lowestZoom = 20;          // the highest is 100 %
        bool wheelScrollsAcross = false; // the wheel scrolls across (true) or down
    };
    SectionViewWindow(const Traits& traits, QWidget* parent);
    ~SectionViewWindow() override;

    // Opens the road; throws Error. Returns the number of pages.
    virtual std::int64_t load() = 0;
    // Lays the page out at a zoom percentage (screen) and reads the page's data.
    virtual QSize pageTwips(double zoomPercent) = 0;
    virtual void readPage(std::int64_t index) = 0;
    virtual void paintPage(QPainter& p, double zoomPercent, double thinWidth) = 0;
    // A message for an error while loading, in the view's own words; here what both views say.
    virtual QString loadMessage(const class Error& e) const;
    // Printing: the page laid out for the paper.
    virtual void printPage(QPainter& p, const PrintChoice& c, std::int64_t index, double thin) = 0;
    // After load(): the page count and the first page shown.
    void start();
    // Reads the page's data unless it is the page read last since the road was loaded.
    void ensurePage(std::int64_t index);
    void setLoadFailed(const QString& message);
    bool showing() const override { return !m_loadFailed && pageCount() > 0; }
    void drawPage(std::int64_t index, bool turned) override;
    QString roadCaption(const QString& from, const QString& to);
    // Takes a new snapshot of the project (store/Transaction.h) and returns its connection:
    // every page load() and readPage() read from it comes from one state. The view's source,
    // which reads through the connection, is to be dropped before.
    Database& takeSnapshot();
    // The paper chosen for printing (optbPaperSize).
    Paper paper() const { return optbPaperSize ? Paper::A3 : Paper::A4; }

private:
    void sPrintItem();
    // A wheel turn (multiples of 120): towards the user scrolls on by a large step.
    void MouseWheel(int delta);
    void showPage(std::int64_t index, bool scrollHome);

    void followDocument();

    std::unique_ptr<Snapshot> m_snapshot;
    ProjectDocument& m_document;
    QScrollArea* m_scroll;
    class PagePicture* m_picBox;
    QPixmap m_picture;
    Traits m_traits;
    bool m_loadFailed = false;
    std::int64_t m_dataPage = -1; // the page whose data readPage read last (-1: none)
};

} // namespace tarmela
