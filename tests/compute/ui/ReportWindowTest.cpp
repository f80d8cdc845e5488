#include "compute/ui/ReportPageView.h"
#include "compute/ui/frmReports.h"
#include "store/Roads.h"
#include "support/UiProgram.h"
#include "ui/common/AppState.h"

#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace tarmela;
using tarmela::test::UiProgram;

namespace {

// A frame with the current road "Ranipur" to "Kalaghat": a level book of `sections`.
struct ReportFrame {
    UiProgram p;
    QMdiArea mdi;
    explicit ReportFrame(int sections)
    {
        RoadChanges c;
        c.from = "Ranipur";
        c.to = "Kalaghat";
        appState().CurrentRoadID = roads::create(p.db(), c);
        p.db().exec(QStringLiteral(
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                        "%1) INSERT INTO LB_1 (ID, Chainage, C, L1, R1) SELECT i, i * 20, 1.5, "
                        "1.25, 1.75 FROM n")
                        .arg(sections));
        p.db().exec("INSERT INTO RL_1 (ID, Chainage, C) VALUES (1, 0, 100)");
        mdi.resize(900, 700);
        mdi.show();
    }
    ~ReportFrame() { frmReports::widthsFile() = QString(); }
    QList<frmReports*> reports() { return mdi.findChildren<frmReports*>(); }
};

// How much of the page view is not white: a drawn page has text and rules on it.
double inked(QWidget* view)
{
    const QImage image = view->grab().toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark * 4.0 / (image.width() * image.height());
}

} // namespace

TEST(ReportWindow, ShowsTheRoadsReportPageByPageAndOneAtATime)
{
    ReportFrame f(400); // 400 sections, 18 lines each: hundreds of pages, made as shown
    frmReports::widthsFile().clear();
    frmReports* book = frmReports::Open(&f.mdi, 2);
    ASSERT_NE(book, nullptr) << f.p.lastTold().toStdString();
    EXPECT_EQ(book->windowTitle(), QString::fromUtf8("Print Report \u2014 Level Book \u2014 "
                                                     "Ranipur To Kalaghat"));
    EXPECT_GT(book->pageCount(), 100);
    auto* view = book->findChild<ReportPageView*>("picBox");
    ASSERT_NE(view, nullptr);
    EXPECT_GT(inked(view), 0.01);

    book->setFocus();
    QTest::keyClick(book, Qt::Key_PageDown);
    QTest::keyClick(book, Qt::Key_PageDown);
    EXPECT_EQ(book->pageIndex(), 2);
    QTest::keyClick(book, Qt::Key_End);
    EXPECT_EQ(book->pageIndex(), book->pageCount() - 1);
    auto* page = book->findChild<QSpinBox*>("spnPage");
    page->setValue(7);
    EXPECT_EQ(book->pageIndex(), 6);
    const int width = view->width();
    QTest::keyClick(book, Qt::Key_Plus);
    EXPECT_GT(view->width(), width);

    // Asking again builds a fresh report in place of the open one.
    frmReports* earthwork = frmReports::Open(&f.mdi, 1);
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
        {"no widths file", [&] { frmReports::widthsFile() = f.p.dir.filePath("none.fl"); },
         "none.fl is missing"},
        {"no level book", [&] { f.p.db().exec("DROP TABLE LB_1"); }, "LB_1"},
        {"text in a level", [&] {
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
        EXPECT_EQ(frmReports::Open(&f.mdi, 2), nullptr) << c.why;
        ASSERT_EQ(f.p.told.size(), 1u) << c.why;
        EXPECT_EQ(f.p.told[0].icon, QMessageBox::Warning);
        EXPECT_TRUE(f.p.told[0].text.contains(c.told)) << f.p.told[0].text.toStdString();
        EXPECT_TRUE(f.reports().isEmpty()) << c.why;
        frmReports::widthsFile().clear();
    }
}
