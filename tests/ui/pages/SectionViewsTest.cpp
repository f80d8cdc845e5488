// The section views as a user drives them: paging, printing through the "PDF file" entry of
// "Select printer", and Page Setup.
#include "PrintToPdf.h"
#include "sheets/SampleRoad.h"
#include "store/Database.h"
#include "store/Roads.h"
#include "store/Statements.h"
#include "support/TestProject.h"
#include "ui/common/ProjectDocument.h"
#include "ui/pages/frmMassHaul.h"
#include "ui/pages/frmPrevLsect.h"
#include "ui/pages/frmPrevXSect.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// The pages of a PDF file and the size of the first in points, read from its page objects.
std::pair<int, QSizeF> readPdf(const QString& path)
{
    const QString text = QString::fromLatin1(readFile(path));
    const auto box =
        QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*0 0 ([\\d.]+) ([\\d.]+)"))
            .match(text);
    return {int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")))),
            QSizeF(box.captured(1).toDouble(), box.captured(2).toDouble())};
}

TEST(SectionViews, PrintingThroughThePdfFileEntry)
{
    UiProgram program;
    appState().CurrentRoadID = createSampleRoad(program.db()); // 151 sections, 3 km
    const QString file = program.dir.filePath("out.pdf");

    frmPrevXSect cross;
    ASSERT_FALSE(cross.loadFailed()) << program.lastTold().toStdString();
    EXPECT_EQ(cross.pageCount(), 26); // 151 sections, 6 to a page

    // Cancel prints nothing.
    clickOnModal("frmSelectPrinter", "cmdCancel");
    cross.print();
    EXPECT_FALSE(cross.optbAccepted);
    EXPECT_FALSE(QFile::exists(file));

    // The longitudinal section and the mass haul diagram offer landscape: A4 (or A3) on its
    // side, every kilometre a page.
    frmPrevLsect longSection;
    frmMassHaul massHaul;
    massHaul.nextPage();
    EXPECT_GT(child<QWidget>(&massHaul, "picBox")->width(), 0);
    const struct {
        SectionViewWindow* view;
        bool all;
        int paper; // 0 A4, 1 A3
        int pages;
        QSizeF points;
    } cases[] = {{&cross, true, 1, 26, {842, 1191}},
                 {&cross, false, 0, 1, {595, 842}},
                 {&longSection, true, 0, 3, {842, 595}},
                 {&massHaul, true, 1, 3, {1191, 842}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.view->metaObject()->className());
        ASSERT_FALSE(c.view->loadFailed()) << program.lastTold().toStdString();
        answerPrinter(file, c.all, c.paper);
        c.view->print();
        EXPECT_TRUE(c.view->optbAccepted);
        EXPECT_EQ(c.view->optbPaperSize, c.paper);
        const auto [pages, points] = readPdf(file);
        EXPECT_EQ(pages, c.pages);
        EXPECT_NEAR(points.width(), c.points.width(), 1);
        EXPECT_NEAR(points.height(), c.points.height(), 1);
    }

    // Printing again starts at the PDF file of the view; the paper is named as it lies.
    onModal(QStringLiteral("frmSelectPrinter"), [=](QWidget* d) {
        EXPECT_EQ(child<QComboBox>(d, "cboPrinter")->currentText(), frmSelectPrinter::pdfEntry());
        EXPECT_EQ(child<QLineEdit>(d, "txtPdfFile")->text(), QDir::toNativeSeparators(file));
        EXPECT_EQ(child<QComboBox>(d, "cmbPaperSize")->itemText(0),
                  QStringLiteral("A4 (297 mm \u00d7 210 mm)"));
        click(d, "cmdCancel");
    });
    longSection.print();
    // Every page comes from the state the view read, whatever another program writes since.
    answerPrinter(file, true, 1);
    cross.print();
    const qint64 wholeSize = QFileInfo(file).size();
    Database::open(program.db().path())
        ->exec(QStringLiteral("DELETE FROM RL_%1 WHERE Chainage > 1000")
                   .arg(appState().CurrentRoadID));
    answerPrinter(file, true, 1);
    cross.print();
    EXPECT_EQ(readPdf(file).first, 26);
    EXPECT_EQ(QFileInfo(file).size(), wholeSize);
}

TEST(SectionViews, PagingStopsAtBothEndsAndLoadFailuresSayWhy)
{
    UiProgram program;
    const std::int64_t road = roads::create(program.db());
    for (int i = 0; i < 13; ++i)
        program.db().execute(
            statements::addSectionRow(statements::Sheet::ReducedLevel, road, i + 1, 20.0 * i));
    appState().settings.SectionsPerPage = 6;

    // What a view that cannot load tells.
    const auto failure = [&program](const SectionViewWindow& view) {
        return view.loadFailed() ? program.lastTold() : QStringLiteral("loaded");
    };
    appState().CurrentRoadID = 0;
    EXPECT_EQ(failure(frmPrevLsect()), "No road selected. Select a road to view its L-Section");

    appState().CurrentRoadID = road;
    frmPrevXSect view;
    ASSERT_FALSE(view.loadFailed()) << program.lastTold().toStdString();
    EXPECT_EQ(view.pageCount(), 3);
    view.previousPage();
    EXPECT_EQ(view.pageIndex(), 0);
    for (int i = 0; i < 4; ++i)
        view.nextPage();
    EXPECT_EQ(view.pageIndex(), 2);
    for (int i = 0; i < 25; ++i)
        view.zoomOut();
    EXPECT_EQ(view.zoomPercent(), 10);
    EXPECT_GT(child<QWidget>(&view, "picBox")->width(), 0);

    // Margins that leave no room for the figure boxes.
    appState().settings.PageLeft = 16;
    EXPECT_EQ(failure(frmPrevXSect()), "Incorrect or insufficient data for drawing X-Section !");

    program.db().execute("DELETE FROM RL_" + QString::number(road));
    appState().settings.PageLeft = 2;
    EXPECT_EQ(failure(frmPrevXSect()), "No data ! Add Chainages to display their sections");
}

} // namespace

TEST(PagedWindows, AZoomStepTestsTheValueBeforeTheStep)
{
    const ZoomRule views{20, 100};
    EXPECT_EQ(views.in(97), 102);
    EXPECT_EQ(views.in(100), 100);
    EXPECT_EQ(views.out(22), 17);
    EXPECT_EQ(views.out(20), 20);
}

TEST(SectionViews, AnOpenViewDrawsAgainAfterColoursPageSetupOptionsAndAnUpdate)
{
    UiProgram program;
    appState().CurrentRoadID = createSampleRoad(program.db());
    frmPrevXSect cross;
    auto* picture = cross.findChild<QWidget*>("picBox");
    const std::function<void(Settings&)> changes[] = {
        [](Settings& s) { s.ColorExisting = 0x0000ff; }, [](Settings& s) { s.PageLeft = 6; },
        [](Settings& s) { s.ViewSections = 3; },
        [&program](Settings&) {
            program.db().exec("UPDATE RL_1 SET [Fill Area] = 999 WHERE Chainage = 0");
            currentDocument().noteRowsWritten({1, ProjectDocument::Rows::ReducedLevels});
        }};
    for (const auto& change : changes) {
        const QImage before = picture->grab().toImage();
        const Settings settings = appState().settings;
        change(appState().settings);
        currentDocument().noteSettingsEdited(settings);
        EXPECT_NE(picture->grab().toImage(), before);
    }
}
