#pragma once

#include "drawing/PrintedReports.h"
#include "ui/pages/PagedWindow.h"

#include <QWidget>
#include <cstdint>
#include <memory>

class QLabel;
class QMdiArea;
class QScrollArea;
class QSpinBox;

namespace tarmela
{

class ReportPageView;

// "Print Report": the current road's Level Book or Earthwork Report laid out on A4 pages,
// shown a page at a time in `picBox`, paged and zoomed as every paged window is (up to 200 %).
// The report is read once, when the window opens; its pages are made as they are shown, so a
// road of 100,000 sections opens at once and stays small.
class frmReports : public PagedWindow
{
    Q_OBJECT
public:
    explicit frmReports(QWidget* parent = nullptr);
    ~frmReports() override;

    // 1 Earthwork Report, 2 Level Book: set by the opener before RefreshData.
    std::uint8_t ReportKind = 2;

    // Opens the report of that kind for the current road in the frame, closing a report
    // window already open. nullptr when the report could not be built (the user was told).
    static frmReports* Open(QMdiArea* mdi, std::uint8_t kind);

    // Builds the report of ReportKind for the current road and shows its first page. On an
    // error the user is told and nothing is shown; returns false.
    bool RefreshData();

    void print() override { PrintCommand(); }

protected:
    void drawPage(std::int64_t index, bool turned) override;

private:
    // File > Print: asks "Select printer" and prints all pages or the one shown, each A4 page
    // fitted to the chosen paper and orientation, or writes them to a PDF file. A long job
    // shows its progress and can be cancelled; a cancelled PDF file is not written.
    void PrintCommand();
    void updatePageControls();

    std::unique_ptr<ReportDocument> m_document;
    QString m_title;
    QScrollArea* m_scroll;
    ReportPageView* m_view;
    QSpinBox* m_pageBox;
    QLabel* m_pageOf;
    QLabel* m_zoomLabel;
};

} // namespace tarmela
