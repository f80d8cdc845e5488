#include "ui/pages/SectionViewWindow.h"

#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Transaction.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Prompts.h"
#include "ui/common/frmSelectPrinter.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace tarmela
{

// The page picture: the page painted once into a pixmap, shown as it is while scrolling.
class PagePicture : public QWidget
{
public:
    explicit PagePicture(const QPixmap& picture, QWidget* parent)
        : QWidget(parent), m_picture(picture)
    {
        setObjectName(QStringLiteral("picBox"));
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawPixmap(0, 0, m_picture);
    }

private:
    const QPixmap& m_picture;
};

namespace
{

// One step of the scroll bars: 250 twips.
constexpr int kScrollStep = 250 / 15;

} // namespace

SectionViewWindow::~SectionViewWindow() = default;

Database& SectionViewWindow::takeSnapshot()
{
    const AppState& app = appState();
    if (!app.ProjectConnection)
        throw Error(ErrorKind::Database, tr("The project database is not open"));
    m_snapshot.reset();
    m_snapshot = std::make_unique<Snapshot>(*app.ProjectConnection);
    m_dataPage = -1;
    return m_snapshot->db();
}

SectionViewWindow::SectionViewWindow(const Traits& traits, QWidget* parent)
    : PagedWindow(ZoomRule{traits.lowestZoom, 100}, parent), m_document(currentDocument()),
      m_traits(traits)
{
    setObjectName(traits.objectName);
    setWindowTitle(traits.caption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->horizontalScrollBar()->setObjectName(QStringLiteral("HScroll1"));
    m_scroll->verticalScrollBar()->setObjectName(QStringLiteral("VScroll1"));
    m_scroll->horizontalScrollBar()->setSingleStep(kScrollStep);
    m_scroll->verticalScrollBar()->setSingleStep(kScrollStep);
    auto* corner = new QWidget(m_scroll);
    corner->setObjectName(QStringLiteral("Command1"));
    m_scroll->setCornerWidget(corner);
    m_picBox = new PagePicture(m_picture, m_scroll);
    m_scroll->setWidget(m_picBox);
    layout->addWidget(m_scroll);
    resize(900, 650);
    followDocument();
}

void SectionViewWindow::followDocument()
{
    using Rows = ProjectDocument::Rows;
    using Part = ProjectDocument::SettingsPart;
    connect(&m_document, &ProjectDocument::rowsChanged, this,
            [this](const ProjectDocument::RowsWrite& w) {
                const bool drawn = w.rows == Rows::ReducedLevels || w.rows == Rows::Culverts ||
                                   w.rows == Rows::CulvertTypes;
                if (drawn && !m_loadFailed && (w.road == 0 || w.road == m_document.currentRoad()) &&
                    m_document.drawingsFollow(w))
                    refresh();
            });
    connect(&m_document, &ProjectDocument::currentRoadChanged, this,
            [this] { closeHostWindow(this); });
    connect(&m_document, &ProjectDocument::settingsChanged, this,
            [this](ProjectDocument::SettingsParts parts) {
                if (!m_loadFailed &&
                    parts.testAnyFlags(Part::Colours | Part::Readings | Part::Drawing))
                    refresh();
            });
}

QString SectionViewWindow::roadCaption(const QString& from, const QString& to)
{
    return m_traits.caption + QStringLiteral(" \u2014 ") + from + QStringLiteral(" To ") + to;
}

QString SectionViewWindow::loadMessage(const Error& e) const
{
    if (e.kind() == ErrorKind::TableMissing)
        return tr("Data sheet not generated. Select 'Generate Data Sheet' from Data menu");
    return e.message();
}

void SectionViewWindow::start()
{
    try {
        BusyCursor busy;
        m_dataPage = -1;
        setPageCount(load());
        setPageIndex(0);
        showPage(0, true);
    } catch (const Error& e) {
        setLoadFailed(loadMessage(e));
    }
}

void SectionViewWindow::setLoadFailed(const QString& message)
{
    m_loadFailed = true;
    prompts().tell(this, message, QMessageBox::Warning);
}

void SectionViewWindow::ReloadForm()
{
    m_loadFailed = false;
    setZoomPercent(100);
    start();
}

void SectionViewWindow::refresh()
{
    // The road read again (rows may have come or gone), on the page and zoom shown.
    const std::int64_t page = pageIndex();
    try {
        BusyCursor busy;
        m_dataPage = -1;
        setPageCount(load());
        m_loadFailed = false;
        showPage(std::clamp<std::int64_t>(page, 0, pageCount() - 1), false);
    } catch (const Error& e) {
        // Nothing left to show (the rows went away): the user is told and the view closes.
        setLoadFailed(loadMessage(e));
        closeHostWindow(this);
    }
}

ChildCommands SectionViewWindow::enabledCommands() const
{
    if (m_loadFailed)
        return ChildCommand::Refresh;
    return PagedWindow::enabledCommands() | ChildCommand::Refresh;
}

bool SectionViewWindow::wheel(int delta)
{
    if (delta == 0)
        return false;
    MouseWheel(delta);
    return true;
}

void SectionViewWindow::drawPage(std::int64_t index, bool turned)
{
    showPage(index, turned);
}

void SectionViewWindow::ensurePage(std::int64_t index)
{
    // A zoom shows the same data larger: the page is read once, not at every step.
    if (index == m_dataPage)
        return;
    m_dataPage = -1;
    readPage(index);
    m_dataPage = index;
}

void SectionViewWindow::showPage(std::int64_t index, bool scrollHome)
{
    ensurePage(index);
    setPageIndex(index);
    const QSize twips = pageTwips(zoomPercent());
    m_picture = QPixmap(std::max(1, twips.width() / 15), std::max(1, twips.height() / 15));
    m_picture.fill(Qt::white);
    {
        QPainter p(&m_picture);
        mapTwipsToScreen(p);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        paintPage(p, zoomPercent(), kTwipsPerScreenPixel);
    }
    m_picBox->resize(m_picture.size());
    m_picBox->update();
    if (scrollHome)
        m_scroll->horizontalScrollBar()->setValue(0);
    commandsChanged();
}

void SectionViewWindow::MouseWheel(int delta)
{
    QScrollBar* bar = m_traits.wheelScrollsAcross ? m_scroll->horizontalScrollBar()
                                                  : m_scroll->verticalScrollBar();
    if (delta < 1)
        bar->setValue(std::min(bar->maximum(), bar->value() + bar->pageStep()));
    else
        bar->setValue(std::max(bar->minimum(), bar->value() - bar->pageStep()));
}

void SectionViewWindow::sPrintItem()
{
    if (m_loadFailed)
        return;
    const std::optional<PrintChoice> c =
        frmSelectPrinter::ask(window(), m_traits.printsLandscape, paper(), windowTitle());
    optbAccepted = c.has_value();
    if (!c)
        return;
    optbPaperSize = c->paper == Paper::A3 ? 1 : 0;
    optbPaperOrientation = c->landscape ? 2 : 1;
    optAllPages = c->allPages;
    try {
        BusyCursor busy;
        m_dataPage = -1; // printing reads the printed pages over the one on screen
        printPages(*c, windowTitle(), pageCount(), pageIndex(), optbColorMode == 2,
                   [&](QPainter& p, std::int64_t index) {
                       const double thin = kTwipsPerInch / std::max(1, p.device()->logicalDpiX());
                       printPage(p, *c, index, thin);
                   });
        ensurePage(pageIndex()); // the page on screen, as it was
    } catch (const Error& e) {
        prompts().tell(this, e.message(), QMessageBox::Warning);
    }
}

} // namespace tarmela
