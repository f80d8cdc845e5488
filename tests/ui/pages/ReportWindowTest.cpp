#include "PrintToPdf.h"
#include "store/Roads.h"
#include "support/TestProject.h"
#include "ui/common/AppState.h"
#include "ui/common/ProjectDocument.h"
#include "ui/pages/ReportPageView.h"
#include "ui/pages/frmReports.h"

#include <QImage>
#include <QMdiArea>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarmela;
using tarmela::test::UiProgram;

namespace
{

// A frame with the current road "Ranipur" to "Kalaghat": a level book of `sections`.
struct ReportFrame {
    UiProgram p;
    QMdiArea mdi;
    explicit ReportFrame(int sections)
    {
        appState().CurrentRoadID = test::makeRoad(p.db(), "Ranipur", "Kalaghat");
        p.db().exec(QStringLiteral(
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                        "%1) INSERT INTO LB_1 (ID, Chainage, C, L1, R1) SELECT i, i * 20, 1.5, "
                        "1.25, 1.75 FROM n")
                        .arg(sections));
        p.db().exec("INSERT INTO RL_1 (ID, Chainage, C) VALUES (1, 0, 100)");
        mdi.resize(900, 700);
        mdi.show();
    }
    QList<frmReports*> reports() { return mdi.findChildren<frmReports*>(); }
};

} // namespace

TEST(ReportWindow, ShowsTheRoadsReportPageByPageAndOneAtATime)
{
    ReportFrame f(400); // 400 sections of 4 lines (C, L1, R1): tens of pages, made as shown
    frmReports* book = frmReports::Open(&f.mdi, ReportKind::LevelBook);
    ASSERT_NE(book, nullptr) << f.p.lastTold().toStdString();
    EXPECT_GT(book->pageCount(), 30);
    auto* view = book->findChild<ReportPageView*>("picBox");
    ASSERT_NE(view, nullptr);
    const QImage image = view->grab().toImage(); // a drawn page has text and rules on it
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark * 400, image.width() * image.height());

    book->setFocus();
    QTest::keyClick(book, Qt::Key_PageDown);
    QTest::keyClick(book, Qt::Key_PageDown);
    EXPECT_EQ(book->pageIndex(), 2);
    QTest::keyClick(book, Qt::Key_End);
    EXPECT_EQ(book->pageIndex(), book->pageCount() - 1);
    book->findChild<QSpinBox*>("spnPage")->setValue(7);
    EXPECT_EQ(book->pageIndex(), 6);
    const int width = view->width();
    QTest::keyClick(book, Qt::Key_Plus);
    EXPECT_GT(view->width(), width);

    // Rows written by other work (a reduction, an Update) show at once.
    const std::int64_t pages = book->pageCount();
    f.p.db().exec("DELETE FROM LB_1 WHERE ID > 40");
    currentDocument().noteRowsWritten({1, ProjectDocument::Rows::LevelBook, nullptr, false});
    EXPECT_LT(book->pageCount() * 5, pages);

    // Asking again builds a fresh report in place of the open one.
    frmReports* earthwork = frmReports::Open(&f.mdi, ReportKind::EarthworkReport);
    ASSERT_NE(earthwork, nullptr);
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.reports(), QList<frmReports*>{earthwork});
    EXPECT_TRUE(earthwork->windowTitle().contains("Earthwork Report"));
}

TEST(ReportWindow, AReportThatCannotBeBuiltIsToldAndNothingOpens)
{
    ReportFrame f(3);
    const struct {
        const char* why;
        std::function<void()> spoil;
        const char* told;
    } cases[] = {
        {"no level book", [&] { f.p.db().exec("DROP TABLE LB_1"); }, "LB_1"},
        {"text in a level",
         [&] {
             f.p.db().exec("CREATE TABLE LB_1 (ID, Chainage, C, BS, FS, TopWidth, BottomWidth, "
                           "Remarks, L1, L2, L3, L4, L5, L6, L7, L8, R1, R2, R3, R4, R5, R6, "
                           "R7, R8)");
             f.p.db().exec("INSERT INTO LB_1 (ID, Chainage, C) VALUES (1, 0, 'x')");
         },
         "\"x\""},
    };
    for (const auto& c : cases) {
        c.spoil();
        f.p.told.clear();
        EXPECT_EQ(frmReports::Open(&f.mdi, ReportKind::LevelBook), nullptr) << c.why;
        ASSERT_EQ(f.p.told.size(), 1u) << c.why;
        EXPECT_EQ(f.p.told[0].icon, QMessageBox::Warning);
        EXPECT_TRUE(f.p.told[0].text.contains(c.told)) << f.p.told[0].text.toStdString();
        EXPECT_TRUE(f.reports().isEmpty()) << c.why;
    }
}

// File > Print through the "PDF file" entry of "Select printer": every page or the one shown,
// fitted to the paper chosen: read back with pdftotext, which drops text off the paper, and
// again from the bottom quarter of the paper only, which the fitted page reaches.
TEST(ReportWindow, PrintsAllPagesOrTheOneShownToAPdfFile)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: scripts/install-deps --checks";
    ReportFrame f(80);
    frmReports* book = frmReports::Open(&f.mdi, ReportKind::LevelBook);
    ASSERT_NE(book, nullptr) << f.p.lastTold().toStdString();
    ASSERT_GT(book->pageCount(), 5);
    book->findChild<QSpinBox*>("spnPage")->setValue(4);
    const QString file = f.p.dir.filePath("book.pdf");
    auto pagesOf = [&](QStringList crop) {
        QProcess text;
        text.start(pdftotext, crop << file << "-");
        EXPECT_TRUE(text.waitForFinished(60000));
        QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split('\f');
        pages.removeLast(); // after the last page's form feed
        for (QString& page : pages)
            page = page.simplified();
        return pages;
    };
    const struct {
        bool all;
        int paper; // 0 A4, 1 A3
        bool landscape;
        int height; // points
    } cases[] = {{true, 0, false, 842}, {false, 1, true, 842}, {false, 0, true, 595}};
    QStringList all;
    for (const auto& c : cases) {
        test::answerPrinter(file, c.all, c.paper, c.landscape ? "optLandscape" : "optPortrait");
        book->print();
        EXPECT_TRUE(f.p.told.empty()) << f.p.lastTold().toStdString();
        const QStringList pages = pagesOf({});
        const QStringList bottoms = pagesOf({"-y", QString::number(c.height * 3 / 4), "-H",
                                             QString::number(c.height / 4), "-W", "2000"});
        ASSERT_EQ(pages.size(), c.all ? book->pageCount() : 1) << c.paper;
        EXPECT_FALSE(bottoms[0].isEmpty()) << c.paper;
        if (c.all) {
            for (int i = 0; i < pages.size(); ++i)
                EXPECT_TRUE(pages[i].startsWith(
                    QStringLiteral("Page %1 of %2 Level Book Ranipur To Kalaghat Bench mark")
                        .arg(i + 1)
                        .arg(pages.size())))
                    << pages[i].left(80).toStdString();
            all = pages;
        } else {
            // The same words; pdftotext may read the columns of a fitted page in another order.
            QStringList shown = pages[0].split(' '), fourth = all.value(3).split(' ');
            shown.sort();
            fourth.sort();
            EXPECT_EQ(shown, fourth) << c.paper;
        }
    }
}
