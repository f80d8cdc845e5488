#include "drawing/PrintedReports.h"
#include "ReportPageText.h"
#include "compute/EarthworkQuantities.h"
#include "compute/ReportContent.h"
#include "drawing/ReportPdf.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

struct PrintedReports : ProjectTest {
    CharacterWidths widths = shippedWidths();
    std::unique_ptr<ReportDocument> build(ReportKind kind, std::int64_t road, int viewSections)
    {
        return buildReport(kind, db, road, viewSections, kUs, widths);
    }
};

} // namespace

TEST_F(PrintedReports, EarthworkShowsEveryColumnInEqualWidthsAndLeavesNullsEmpty)
{
    const auto road = p.roadWithRows({0, 20.5});
    db.exec("UPDATE Roads SET [From] = 'North', [To] = 'South', Length = 1500");
    db.exec("UPDATE RL_1 SET L8 = 99.5, C = 100, R8 = 0, FL2 = 100.25, FR2 = 100.125, "
            "[Fill Area] = 1234.5 WHERE Chainage = 0");
    const auto doc = buildReport(ReportKind::EarthworkReport, db, road, 8, kUs, widths, "Long",
                                 VolumeFormula::Prismoidal);
    ASSERT_EQ(doc->pageCount(), 2); // the rows, then the summary on a page of its own
    const ReportPage page = doc->page(0);
    const auto rows = pageRows(page);
    ASSERT_EQ(rows.size(), 5u + 2);

    // One heading per column of the sheet's 25 (Chainage, 8 left, C, 8 right, 5 formation
    // levels, 2 areas), each column 1/25 of the printable width, so the table ends at the
    // right margin; the heading texts join back into the columns' names however they wrap.
    QStringList names;
    for (const PlacedText& t : page.texts)
        if (t.box.top() > page.texts[4].box.bottom() && t.bold) {
            names << t.lines.join(" ");
            EXPECT_NEAR(t.box.width() + 8, doc->pageModel().printableWidth() / 25, 1e-9);
        }
    EXPECT_EQ(names.join(","), "Chainage,L8,L7,L6,L5,L4,L3,L2,L1,C,R1,R2,R3,R4,R5,R6,R7,R8,"
                               "FL2,FL1,FC,FR1,FR2,Fill Area,Cut Area");
    // Empty values give no text at all, a stored 0 gives 0.000.
    EXPECT_EQ(rows[5],
              (QStringList{"0", "99.500", "100.000", "0.000", "100.250", "100.125", "1,234.500"}));
    EXPECT_EQ(rows[6], QStringList{"20"}); // 20.5 to the nearest even whole number
}

// The Earthwork Report takes wider paper when its columns would need type under 6 pt; on
// every page of both reports no text is smaller and no two texts touch.
TEST_F(PrintedReports, ReportsTakeThePaperTheirTypeNeedsAndNoTextsTouch)
{
    const auto road = p.roadWithRows({0, 20, 40}, true);
    db.exec("UPDATE RL_1 SET L8 = 99.5, C = 100, R8 = 0, FC = 100.25, [Fill Area] = 12345.5");
    db.exec("UPDATE LB_1 SET BS = 1.5, C = 1.2, L1 = 0.5, R8 = 1.75, Remarks = 'Culvert at "
            "the stream crossing, bench mark on its parapet'");
    const struct {
        ReportKind kind;
        int viewSections;
        Paper paper;
        bool landscape;
    } cases[] = {
        {ReportKind::EarthworkReport, 0, Paper::A4, false},
        {ReportKind::EarthworkReport, 2, Paper::A4, false},
        {ReportKind::EarthworkReport, 3, Paper::A4, true},
        {ReportKind::EarthworkReport, 5, Paper::A4, true},
        {ReportKind::EarthworkReport, 8, Paper::A3, true},
        {ReportKind::LevelBook, 8, Paper::A4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.viewSections);
        const auto doc = build(c.kind, road, c.viewSections);
        EXPECT_EQ(doc->pageModel().paper, c.paper);
        EXPECT_EQ(doc->pageModel().landscape, c.landscape);
        for (std::int64_t i = 0; i < doc->pageCount(); ++i) {
            const ReportPage page = doc->page(i);
            std::vector<QRectF> ink;
            for (const PlacedText& t : page.texts) {
                EXPECT_GE(t.fontSize, kSmallestPrintedSize) << t.lines.join(" ").toStdString();
                EXPECT_LE(t.box.right(), page.size.width() - doc->pageModel().right + 1e-9);
                for (int k = 0; k < t.lines.size(); ++k) {
                    const double w = widths.textWidth(t.lines[k], t.fontSize, t.bold);
                    const double x = t.align == cellstyle::Right    ? t.box.right() - w
                                     : t.align == cellstyle::Centre ? t.box.center().x() - w / 2
                                                                    : t.box.left();
                    ink.emplace_back(x, t.box.top() + k * t.lineHeight, w, t.lineHeight);
                }
            }
            for (std::size_t a = 0; a < ink.size(); ++a)
                for (std::size_t b = a + 1; b < ink.size(); ++b)
                    EXPECT_FALSE(ink[a].adjusted(0, 0, 0, -1).intersects(ink[b]))
                        << "page " << i + 1 << ": texts " << a << " and " << b;
        }
    }
}

TEST_F(PrintedReports, LevelBookRemarksStandInTheLastColumnOfTheChainageLine)
{
    const auto road = p.roadWithRows({0, 20}, true);
    db.exec("UPDATE LB_1 SET BS = 1.5, C = 1.2, Remarks = 'Bench mark on culvert' "
            "WHERE Chainage = 0");
    db.exec("UPDATE LB_1 SET FS = 2.0, BS = 0.8, L1 = 0.5, R1 = 0.25 WHERE Chainage = 20");
    const auto doc = build(ReportKind::LevelBook, road, 1);
    ASSERT_EQ(doc->pageCount(), 1);
    const ReportPage page = doc->page(0);
    const auto rows = pageRows(page);
    // The header block, then per chainage its line, C and the readings that hold a value
    // (0 has no L1, no R1), then the arithmetic check. The levels are the reduction's.
    ASSERT_EQ(rows.size(), 5u + 2 + 4 + 2);
    // (The header block's order is ReportWindow.PrintsAllPagesOrTheOneShownToAPdfFile's.)
    EXPECT_EQ(rows[5], (QStringList{"0", "1.500", "101.500", "Bench mark on culvert"}));
    EXPECT_EQ(rows[6], (QStringList{"C", "1.200", "100.300"}));
    EXPECT_EQ(rows[7], (QStringList{"20", "0.800", "2.000", "100.300"}));
    EXPECT_EQ(rows[9], (QStringList{"L1", "0.500", "99.800"}));
    EXPECT_EQ(rows[10], (QStringList{"R1", "0.250", "100.050"}));
    // The remark sits in the Remarks column: its text starts past the eight number columns.
    const double remarksLeft = PageModel().left + PageModel().printableWidth() * 0.70;
    for (const PlacedText& t : page.texts)
        EXPECT_EQ(!t.bold && t.lines.join(" ") == "Bench mark on culvert",
                  !t.bold && t.box.left() > remarksLeft)
            << t.lines.join(" ").toStdString();
}

TEST_F(PrintedReports, SummaryRowsAreTheRecomputedVolumes)
{
    // Sections over 2.3 km in fill and cut: the recomputation stores the areas and works the
    // volumes; the report must list the same figures.
    const auto road = p.roadWithRows({0, 250, 500, 900, 1000, 1100, 1600, 2000, 2300});
    int i = 0;
    for (const double fc : {101.0, 102.0, 99.0, 100.5, 98.0, 103.0, 100.0, 99.5, 101.25}) {
        QString sets = QStringLiteral("Width = 10, FC = %1, C = 100").arg(fc);
        for (int k = 1; k <= 8; ++k)
            sets += QStringLiteral(", L%1 = 100, R%1 = 100").arg(k);
        db.exec(QStringLiteral("UPDATE RL_1 SET %1 WHERE ID = %2").arg(sets).arg(++i));
    }
    EarthworkInputs in{road};
    in.formationCamber = in.carriageCamber = 0;
    const EarthworkResult stored = UpdateEarthworkQuantities(db, in);
    ASSERT_TRUE(stored.volumesDone) << stored.error.toStdString();

    // (The figures' forms: Reports.NumbersFollowTheGivenLocaleOnlyAndChainagesNone.)
    std::vector<QStringList> expected;
    for (const auto& [km, fill, cut, total] : summaryRows(stored.volumes, kUs))
        expected.push_back(
            km == "ALL" ? QStringList{km, fill, cut, total}
                        : QStringList{km, kilometreRange(km.toLongLong()), fill, cut, total});
    // Six gaps past 200 m, each said under the summary.
    ASSERT_EQ(stored.volumes.gaps.size(), 6u);
    for (const LongGap& gap : stored.volumes.gaps)
        expected.push_back({gapLine(gap)});
    // A Length short of the last chainage loses no kilometre. (The Html report takes the same
    // volumes and rows.)
    db.exec("UPDATE Roads SET Length = 1");
    const auto doc = build(ReportKind::EarthworkReport, road, 8);
    const auto page = pageRows(doc->page(doc->pageCount() - 1));
    ASSERT_GE(page.size(), expected.size());
    EXPECT_EQ(std::vector<QStringList>(page.end() - std::ptrdiff_t(expected.size()), page.end()),
              expected);
    EXPECT_GT(stored.volumes.totalFill, 0);
    EXPECT_GT(stored.volumes.totalCut, 0);
}

TEST_F(PrintedReports, RoadsBeyond32767RowsLayOutToTheLastRow)
{
    const auto road = roads::create(db);
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 33000) "
            "INSERT INTO RL_1 (ID, Chainage, C) SELECT i, i * 20, 100 FROM n");
    const auto doc = build(ReportKind::EarthworkReport, road, 0);
    // The sections fill whole pages but the last; the summary's 660 kilometres follow.
    const int perPage = int(pageRows(doc->page(0)).size()) - 5;
    const std::int64_t summary = (33000 + perPage - 1) / perPage;
    EXPECT_EQ(pageRows(doc->page(summary))[1].first(), "Summary (volumes in m\u00b3)");
    EXPECT_EQ(pageRows(doc->page(summary - 1)).back().first(), "660000");
    EXPECT_EQ(pageRows(doc->page(doc->pageCount() - 1)).back().first(), "ALL");
    EXPECT_EQ(pageRows(doc->page(doc->pageCount() - 1)).end()[-2].first(), "660");
}

// The PDF holds what the pages hold: a Level Book over several pages has its title and road on
// every page, once (the headings repeat with them: ReportTable.WrappedCellGrows...).
TEST_F(PrintedReports, PdfRepeatsTheHeaderBlockOnEveryPage)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: scripts/install-deps --checks";
    QVector<double> chainages;
    for (int c = 0; c < 30; ++c)
        chainages << c * 20;
    const auto road = p.roadWithRows(chainages, true);
    db.exec("UPDATE Roads SET [From] = 'Ranipur', [To] = 'Kalaghat'");
    db.exec("UPDATE LB_1 SET C = 1.25, L1 = 1.5, R8 = 0.75");
    const auto doc = build(ReportKind::LevelBook, road, 8);
    ASSERT_GE(doc->pageCount(), 3);
    const QString pdf = p.folder() + "/Level Book.pdf";
    std::int64_t done = 0;
    writeReportPdf(*doc, "Level Book", pdf, [&](std::int64_t n) { done = n; });
    EXPECT_EQ(done, doc->pageCount());

    QProcess text;
    text.start(pdftotext, {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(60000));
    ASSERT_EQ(text.exitCode(), 0) << text.readAllStandardError().toStdString();
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split('\f');
    if (pages.last().trimmed().isEmpty())
        pages.removeLast();
    ASSERT_EQ(pages.size(), doc->pageCount());
    for (int i = 0; i < pages.size(); ++i) {
        const QString& page = pages[i];
        EXPECT_EQ(page.count("Level Book"), 1) << "page " << i + 1;
        EXPECT_EQ(page.count("Ranipur To Kalaghat"), 1) << "page " << i + 1;
        EXPECT_TRUE(page.contains(QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages.size())));
    }
    EXPECT_TRUE(pages.last().contains("580")) << pages.last().toStdString();
}
