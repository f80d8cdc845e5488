#include "ui/pages/frmReports.h"

#include "compute/QuantityMethods.h"
#include "drawing/PageUnits.h"
#include "drawing/ReportPainter.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "store/Transaction.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Prompts.h"
#include "ui/common/SubWindowPlacement.h"
#include "ui/common/frmSelectPrinter.h"
#include "ui/pages/ReportPageView.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>

namespace tarmela
{

namespace
{

// The report's pages are read at arm's length as well as up close.
constexpr ZoomRule kReportZoom{20, 200};
constexpr double kTwipsPerPageUnit = kTwipsPerInch / 96;

// Maps a report page onto the paper of the painter (mapped in twips from the paper's top left
// corner): as large as it fits on the paper and orientation chosen, and centred, so that A3
// enlarges the A4 page and a sheet on its side shows it whole.
void fitPageToPaper(QPainter& painter, QSizeF page, Paper paper, bool landscape)
{
    QSizeF sheet = paperMm(paper) * kTwipsPerMm;
    if (landscape)
        sheet.transpose();
    page *= kTwipsPerPageUnit;
    const double scale = std::min(sheet.width() / page.width(), sheet.height() / page.height());
    painter.translate((sheet.width() - page.width() * scale) / 2,
                      (sheet.height() - page.height() * scale) / 2);
    painter.scale(scale * kTwipsPerPageUnit, scale * kTwipsPerPageUnit);
}

struct PrintingCancelled {
};

} // namespace

frmReports::frmReports(QWidget* parent)
    : PagedWindow(kReportZoom, parent), m_project(currentDocument())
{
    setObjectName(QStringLiteral("frmReports"));
    setWindowTitle(tr("Print Report"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    bar->addWidget(new QLabel(tr("Page")));
    m_pageBox = new QSpinBox;
    m_pageBox->setObjectName(QStringLiteral("spnPage"));
    m_pageBox->setRange(1, 1);
    m_pageBox->setKeyboardTracking(false);
    bar->addWidget(m_pageBox);
    m_pageOf = new QLabel;
    bar->addWidget(m_pageOf);
    bar->addStretch();
    m_zoomLabel = new QLabel;
    m_zoomLabel->setObjectName(QStringLiteral("lblZoom"));
    bar->addWidget(m_zoomLabel);

    m_view = new ReportPageView;
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_view);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    // Page keys turn the pages; the arrows still scroll the page shown.
    m_scroll->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_pageBox, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int page) { turnTo(page - 1); });
    updatePageControls();
    followDocument();
}

void frmReports::followDocument()
{
    // A rebuild that fails leaves nothing to show: the window goes (the user was told why).
    // The report is built again whenever what it shows changed: the road's rows (an Update,
    // a reduction, a generation), the readings, the method or the formula it names.
    using Part = ProjectDocument::SettingsPart;
    using Rows = ProjectDocument::Rows;
    connect(&m_project, &ProjectDocument::settingsChanged, this,
            [this](ProjectDocument::SettingsParts parts) {
                if (parts.testAnyFlags(Part::Readings | Part::Method | Part::Drawing) &&
                    !RefreshData())
                    closeHostWindow(this);
            });
    connect(&m_project, &ProjectDocument::rowsChanged, this,
            [this](const ProjectDocument::RowsWrite& w) {
                const bool shown = w.rows == Rows::ReducedLevels || w.rows == Rows::LevelBook ||
                                   w.rows == Rows::Roads;
                if (shown && (w.road == 0 || w.road == m_road) && m_project.drawingsFollow(w) &&
                    !RefreshData())
                    closeHostWindow(this);
            });
    connect(&m_project, &ProjectDocument::roadRemoved, this, [this](std::int64_t road) {
        if (road == m_road)
            closeHostWindow(this);
    });
}

frmReports::~frmReports() = default;

frmReports* frmReports::Open(QMdiArea* mdi, tarmela::ReportKind kind)
{
    // Each request builds a fresh report: an open report window goes first.
    for (QMdiSubWindow* sub : mdi->subWindowList())
        if (sub->widget() && sub->widget()->objectName() == QLatin1String("frmReports"))
            sub->close();
    auto* report = new frmReports;
    report->m_kind = kind;
    report->m_road = appState().CurrentRoadID;
    if (!report->RefreshData()) {
        delete report;
        return nullptr;
    }
    QMdiSubWindow* sub = mdi->addSubWindow(report);
    fillSubWindow(mdi, sub);
    mdi->setActiveSubWindow(sub);
    return report;
}

bool frmReports::RefreshData()
{
    const tarmela::ReportKind kind = m_kind;
    AppState& s = appState();
    try {
        BusyCursor busy;
        const CharacterWidths widths =
            CharacterWidths::load(CharacterWidths::pathIn(QCoreApplication::applicationDirPath()));
        if (!s.ProjectConnection)
            throw Error(ErrorKind::Database, tr("The project database is not open"));
        Database& db = *s.ProjectConnection;
        // The whole document from one state of the project.
        const ReadTransaction snapshot(db);
        const Road road = roads::get(db, m_road);
        const QuantityMethod* method = findQuantityMethod(s.settings.QuantityCalcMethod);
        m_document = buildReport(kind, db, road.id, s.settings.ViewSections, QLocale(), widths,
                                 method ? QString::fromUtf8(method->caption) : QString(),
                                 VolumeFormula(s.settings.VolumeFormula));
        m_title = reportTitle(kind) + QStringLiteral(" \u2014 ") + road.from +
                  QStringLiteral(" To ") + road.to;
        setWindowTitle(tr("Print Report") + QStringLiteral(" \u2014 ") + m_title);
    } catch (const Error& e) {
        // Nothing half-built is shown: the report is there whole or not at all.
        m_document.reset();
        setPageCount(0);
        prompts().tell(parentWidget(), e.message(), QMessageBox::Warning);
        return false;
    }
    // A rebuilt report shows the page shown before (the first when the window opens).
    const std::int64_t shown = std::clamp<std::int64_t>(
        pageIndex(), 0, std::max<std::int64_t>(0, m_document->pageCount() - 1));
    setPageCount(m_document->pageCount());
    m_pageBox->setRange(1, int(std::min<std::int64_t>(pageCount(), INT_MAX)));
    setPageIndex(shown);
    if (pageCount() > 0)
        drawPage(shown, true);
    updatePageControls();
    return true;
}

void frmReports::drawPage(std::int64_t index, bool turned)
{
    m_view->setZoom(zoomPercent() / 100);
    if (turned) {
        m_view->setPage(m_document->page(index));
        m_scroll->verticalScrollBar()->setValue(0);
    }
    setPageIndex(index);
    updatePageControls();
}

void frmReports::PrintCommand()
{
    if (!m_document || pageCount() == 0)
        return;
    const std::optional<PrintChoice> choice = frmSelectPrinter::ask(
        window(), m_document->pageModel().landscape, m_document->pageModel().paper, m_title);
    if (!choice)
        return;
    const std::int64_t count = choice->allPages ? pageCount() : 1;
    QProgressDialog progress(tr("Printing %1").arg(m_title), tr("Cancel"), 0,
                             int(std::min<std::int64_t>(count, INT_MAX)), window());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);
    std::int64_t done = 0;
    try {
        BusyCursor busy;
        printPages(*choice, m_title, pageCount(), pageIndex(), false,
                   [&](QPainter& painter, std::int64_t index) {
                       if (progress.wasCanceled())
                           throw PrintingCancelled{};
                       fitPageToPaper(painter, m_document->pageModel().size, choice->paper,
                                      choice->landscape);
                       paintReportPage(painter, m_document->page(index));
                       progress.setValue(int(std::min<std::int64_t>(++done, INT_MAX)));
                   });
    } catch (const PrintingCancelled&) {
        // A PDF file is left as it was; a printer has the pages sent before the cancel.
    } catch (const Error& e) {
        prompts().tell(window(), e.message(), QMessageBox::Warning);
    }
}

void frmReports::updatePageControls()
{
    const QSignalBlocker quiet(m_pageBox);
    m_pageBox->setValue(int(pageIndex() + 1));
    m_pageOf->setText(tr("of %1").arg(pageCount()));
    m_zoomLabel->setText(tr("%1 %").arg(std::lround(zoomPercent())));
    commandsChanged();
}

} // namespace tarmela
