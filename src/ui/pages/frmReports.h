#pragma once

#include "drawing/PrintedReports.h"
#include "ui/common/ProjectDocument.h"
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

// "Print Report": a road's Level Book or Earthwork Report laid out on A4 pages, shown a page
// at a time in `picBox`, paged and zoomed as every paged window is (up to 200 %). The report is
// read when the window opens and shows what it read while the sheets change; a change of the
// readings per side reads it again, and the window closes when its road is deleted. Its pages
// are made as they are shown, so a road of 100,000 sections opens at once and stays small.
class frmReports : public PagedWindow
{
    Q_OBJECT
public:
    explicit frmReports(QWidget* parent = nullptr);
    ~frmReports() override;

    // Opens the report of that kind for the current road in the frame, closing a report
    // window already open. nullptr when the report could not be built (the user was told).
    static frmReports* Open(QMdiArea* mdi, tarmela::ReportKind kind);

    tarmela::ReportKind reportKind() const { return m_kind; }
    std::int64_t road() const { return m_road; }

    // Builds the report of its kind for its road and shows the page shown before (the first
    // when the window opens). On an error the user is told and nothing is shown; returns false.
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
    void followDocument();

    ProjectDocument& m_project;
    tarmela::ReportKind m_kind = tarmela::ReportKind::LevelBook;
    std::int64_t m_road = 0;
    std::unique_ptr<ReportDocument> m_document;
    QString m_title;
    QScrollArea* m_scroll;
    ReportPageView* m_view;
    QSpinBox* m_pageBox;
    QLabel* m_pageOf;
    QLabel* m_zoomLabel;
};

} // namespace tarmela
