#include "ui/common/frmSelectPrinter.h"

#include "store/Error.h"
#include "ui/common/AppState.h"
#include "ui/common/DesktopMemory.h"
#include "ui/common/Prompts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

namespace tarmela
{

namespace
{

// A small sheet of paper, upright or on its side, for the orientation frame.
QPixmap sheetPicture(bool landscape)
{
    const QSize size = landscape ? QSize(40, 28) : QSize(28, 40);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    for (int y = 6; y < size.height() - 4; y += 5)
        p.drawLine(5, y, size.width() - 6, y);
    return pixmap;
}

const QString kLastPrinter = QStringLiteral("Printer");
const QString kPdfFolder = QStringLiteral("PdfFolder");

// A document's name as a file name: no characters that a file system refuses.
QString fileNameOf(const QString& document)
{
    QString name = document.simplified();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("-"));
    return (name.isEmpty() ? QStringLiteral("Tarmela") : name) + QStringLiteral(".pdf");
}

} // namespace

QString frmSelectPrinter::pdfEntry()
{
    return QObject::tr("PDF file");
}

frmSelectPrinter::frmSelectPrinter(QWidget* parent, bool landscape, Paper paper,
                                   const QString& document)
    : TitledDialog(tr("Select printer"), parent),
      m_memoryKey(QStringLiteral("PdfFile/%1/%2")
                      .arg(appState().CurrentRoadID)
                      .arg(fileNameOf(document).chopped(4)))
{
    setObjectName(QStringLiteral("frmSelectPrinter"));
    QVBoxLayout* content = contentLayout();

    auto* settings = new QGroupBox(tr("Printer settings"), this);
    auto* form = new QFormLayout(settings);
    m_printer = new QComboBox(settings);
    m_printer->setObjectName(QStringLiteral("cboPrinter"));
    m_printer->addItems(QPrinterInfo::availablePrinterNames());
    m_printer->addItem(pdfEntry());
    // The printer last printed to, while it is installed; else the system's default.
    const DesktopMemory memory = desktopMemory();
    const QString last = memory.path(kLastPrinter);
    const QString current = QPrinterInfo::defaultPrinterName();
    if (last == pdfEntry() || (last.isEmpty() && current.isEmpty()))
        m_printer->setCurrentIndex(m_printer->count() - 1);
    else
        m_printer->setCurrentIndex(
            std::max(0, m_printer->findText(last.isEmpty() ? current : last)));
    form->addRow(tr("Printer:"), m_printer);
    m_fileRow = new QWidget(settings);
    auto* fileLayout = new QHBoxLayout(m_fileRow);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    m_file = new QLineEdit(m_fileRow);
    m_file->setObjectName(QStringLiteral("txtPdfFile"));
    // Wide enough for a folder and a file named after a road.
    m_file->setMinimumWidth(m_file->fontMetrics().averageCharWidth() * 48);
    auto* browseButton = new QToolButton(m_fileRow);
    browseButton->setObjectName(QStringLiteral("cmdBrowsePdf"));
    browseButton->setText(QStringLiteral("..."));
    fileLayout->addWidget(m_file, 1);
    fileLayout->addWidget(browseButton);
    QString file = memory.path(m_memoryKey);
    if (file.isEmpty()) {
        const QString folder = memory.path(kPdfFolder);
        file = QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(fileNameOf(document));
    }
    m_file->setText(QDir::toNativeSeparators(file));
    form->addRow(tr("File:"), m_fileRow);
    m_quality = new QComboBox(settings);
    m_quality->setObjectName(QStringLiteral("cmbQuality"));
    m_quality->addItems(
        {tr("Draft"), tr("Low Resolution"), tr("Medium Resolution"), tr("High Resolution")});
    m_quality->setCurrentIndex(2);
    form->addRow(tr("Quality:"), m_quality);
    content->addWidget(settings);

    auto* paperBox = new QGroupBox(tr("Paper"), this);
    auto* paperForm = new QFormLayout(paperBox);
    m_paperSize = new QComboBox(paperBox);
    m_paperSize->setObjectName(QStringLiteral("cmbPaperSize"));
    m_paperSize->addItems({QString(), QString()}); // named in the orientation chosen
    m_paperSize->setCurrentIndex(paper == Paper::A3 ? 1 : 0);
    paperForm->addRow(tr("Size:"), m_paperSize);
    m_paperSource = new QComboBox(paperBox);
    m_paperSource->setObjectName(QStringLiteral("cmbPaperSource"));
    m_paperSource->addItems({tr("Auto"), tr("Manual")});
    paperForm->addRow(tr("Source:"), m_paperSource);
    content->addWidget(paperBox);

    auto* row = new QHBoxLayout;
    auto* orientation = new QGroupBox(tr("Paper Orientation"), this);
    auto* orientationLayout = new QHBoxLayout(orientation);
    auto* choices = new QVBoxLayout;
    addRadioPair(orientation, choices, m_portrait, tr("Portrait"), QStringLiteral("optPortrait"),
                 m_landscape, tr("Landscape"), QStringLiteral("optLandscape"));
    orientationLayout->addLayout(choices);
    m_portraitPicture = new QLabel(orientation);
    m_portraitPicture->setObjectName(QStringLiteral("imgPortrait"));
    m_portraitPicture->setPixmap(sheetPicture(false));
    m_landscapePicture = new QLabel(orientation);
    m_landscapePicture->setObjectName(QStringLiteral("imgLandscape"));
    m_landscapePicture->setPixmap(sheetPicture(true));
    orientationLayout->addWidget(m_portraitPicture);
    orientationLayout->addWidget(m_landscapePicture);
    row->addWidget(orientation);

    auto* pages = new QGroupBox(tr("Pages"), this);
    auto* pagesLayout = new QVBoxLayout(pages);
    addRadioPair(pages, pagesLayout, m_allPages, tr("All Pages"), QStringLiteral("optAllPages"),
                 m_currentPage, tr("Current Page"), QStringLiteral("optCurrentPage"));
    m_currentPage->setChecked(true);
    row->addWidget(pages);
    content->addLayout(row);

    addButtonPair(this, content, m_select, tr("&Print"), QStringLiteral("cmdSelect"), m_cancel,
                  tr("&Cancel"), QStringLiteral("cmdCancel"));

    (landscape ? m_landscape : m_portrait)->setChecked(true);
    connect(m_printer, &QComboBox::currentIndexChanged, this, &frmSelectPrinter::printerChanged);
    connect(m_portrait, &QRadioButton::toggled, this, &frmSelectPrinter::orientationChanged);
    connect(browseButton, &QToolButton::clicked, this, &frmSelectPrinter::browse);
    connect(m_select, &QPushButton::clicked, this, &frmSelectPrinter::select);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    printerChanged();
    orientationChanged();
}

PrintChoice frmSelectPrinter::choice() const
{
    PrintChoice c;
    // The "PDF file" entry is the last; a printer may be called anything.
    if (m_printer->currentIndex() != m_printer->count() - 1)
        c.printer = m_printer->currentText();
    c.pdfFile = m_file->text().trimmed();
    c.paper = m_paperSize->currentIndex() == 1 ? Paper::A3 : Paper::A4;
    c.landscape = m_landscape->isChecked();
    c.allPages = m_allPages->isChecked();
    c.quality = m_quality->currentIndex();
    c.manualFeed = m_paperSource->currentIndex() == 1;
    return c;
}

std::optional<PrintChoice> frmSelectPrinter::ask(QWidget* parent, bool landscape, Paper paper,
                                                 const QString& document)
{
    frmSelectPrinter dialog(parent, landscape, paper, document);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

void frmSelectPrinter::printerChanged()
{
    m_select->setEnabled(m_printer->currentIndex() >= 0);
    m_fileRow->setVisible(choice().toPdf());
    m_quality->setEnabled(!choice().toPdf());
    m_paperSource->setEnabled(!choice().toPdf());
}

void frmSelectPrinter::orientationChanged()
{
    // Width by height as the sheet lies: upright A4 is 210 mm wide.
    const bool upright = m_portrait->isChecked();
    const auto entry = [upright](const char* name, int shortSide, int longSide) {
        return tr("%1 (%2 mm \u00d7 %3 mm)")
            .arg(QLatin1String(name))
            .arg(upright ? shortSide : longSide)
            .arg(upright ? longSide : shortSide);
    };
    m_paperSize->setItemText(0, entry("A4", 210, 297));
    m_paperSize->setItemText(1, entry("A3", 297, 420));
    m_portraitPicture->setVisible(m_portrait->isChecked());
    m_landscapePicture->setVisible(!m_portrait->isChecked());
}

void frmSelectPrinter::browse()
{
    const QString file =
        prompts().pickSaveFile(this, tr("PDF file"), m_file->text(), tr("PDF files (*.pdf)"));
    if (!file.isEmpty())
        m_file->setText(file);
}

void frmSelectPrinter::select()
{
    const PrintChoice c = choice();
    if (c.toPdf()) {
        if (c.pdfFile.isEmpty()) {
            prompts().tell(this, tr("Enter the name of the PDF file"), QMessageBox::Warning);
            m_file->setFocus();
            return;
        }
    } else if (QPrinterInfo::printerInfo(c.printer).isNull()) {
        prompts().tell(this, tr("Printer not found"), QMessageBox::NoIcon);
        return;
    }
    remember(c);
    accept();
}

void frmSelectPrinter::remember(const PrintChoice& c) const
{
    DesktopMemory memory = desktopMemory();
    memory.setPath(kLastPrinter, c.toPdf() ? pdfEntry() : c.printer);
    if (!c.toPdf())
        return;
    const QString file = QFileInfo(QDir::fromNativeSeparators(c.pdfFile)).absoluteFilePath();
    memory.setPath(m_memoryKey, file);
    memory.setPath(kPdfFolder, QFileInfo(file).absolutePath());
}

void printPages(const PrintChoice& c, const QString& title, std::int64_t pageCount,
                std::int64_t current, bool colour, const PagePaint& paint)
{
    std::vector<std::int64_t> pages;
    if (c.allPages)
        for (std::int64_t i = 0; i < pageCount; ++i)
            pages.push_back(i);
    else if (current >= 0 && current < pageCount)
        pages.push_back(current);
    if (pages.empty())
        return;
    auto paintNth = [&](QPainter& p, std::int64_t n) { paint(p, pages[std::size_t(n)]); };
    if (c.toPdf()) {
        writePagesPdf(c.pdfFile, c.paper, c.landscape, std::int64_t(pages.size()), title, paintNth);
        return;
    }
    static constexpr int kDpi[4] = {150, 300, 600, 1200};
    const QPrinterInfo info = QPrinterInfo::printerInfo(c.printer);
    if (info.isNull())
        throw Error(ErrorKind::Io, QObject::tr("Printer not found"));
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(c.paper == Paper::A3 ? QPageSize::A3 : QPageSize::A4));
    printer.setPageOrientation(c.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setColorMode(colour ? QPrinter::Color : QPrinter::GrayScale);
    printer.setPaperSource(c.manualFeed ? QPrinter::Manual : QPrinter::Auto);
    const QList<int> offered = printer.supportedResolutions();
    if (offered.contains(kDpi[c.quality]))
        printer.setResolution(kDpi[c.quality]);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(ErrorKind::Io,
                    QObject::tr("The printer %1 could not be started").arg(c.printer));
    for (std::size_t n = 0; n < pages.size(); ++n) {
        if (n > 0)
            printer.newPage();
        mapTwipsToDevice(painter, printer);
        paintNth(painter, std::int64_t(n));
    }
    painter.end();
}

} // namespace tarmela
