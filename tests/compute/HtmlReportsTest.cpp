#include "compute/HtmlReports.h"
#include "compute/ReportContent.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/CommaLocale.h"
#include "support/TestProject.h"

#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

using Cells = std::vector<std::string>;

// The texts of the cells of every table row, row by row.
std::vector<Cells> tableRows(const QString& html)
{
    std::vector<Cells> rows;
    static const QRegularExpression row(QStringLiteral("<tr[^>]*>(.*?)</tr>"));
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(?:<b>)?(.*?)(?:</b>)?</td>"));
    for (auto r = row.globalMatch(html); r.hasNext();) {
        Cells cells;
        const QString inner = r.next().captured(1);
        for (auto c = cell.globalMatch(inner); c.hasNext();)
            cells.push_back(c.next().captured(1).toStdString());
        rows.push_back(cells);
    }
    return rows;
}

struct Reports : ProjectTest {
    QString file = p.folder() + "/report.htm";

    // The rows of the earthwork report of road 1.
    std::vector<Cells> earthwork(int viewSections, const QLocale& locale = kUs)
    {
        WriteEarthworkReport(db, 1, viewSections, locale, file);
        return tableRows(QString::fromUtf8(readFile(file)));
    }
};

} // namespace

TEST_F(Reports, NumbersFollowTheGivenLocaleOnlyAndChainagesNone)
{
    // The program runs in a comma locale; the report is asked for in the C locale, then in
    // the German one.
    CommaLocale comma;
    p.roadWithRows({0, 100.5});
    db.exec("UPDATE RL_1 SET [Fill Area] = 20.5");
    auto rows = earthwork(0, QLocale::c());
    // Empty values stay empty cells.
    EXPECT_EQ(rows[0], (Cells{"Chain", "C", "FC", "Fill Area", "Cut Area"}));
    EXPECT_EQ(rows[1], (Cells{"0", "&nbsp;", "&nbsp;", "20.500", "&nbsp;"}));
    EXPECT_EQ(rows[2][0], "100.5");
    EXPECT_EQ(rows[4], (Cells{"1", "0 to 1000", "2060.25", "0.00", "2060.25"}));
    EXPECT_EQ(rows[5], (Cells{"ALL", "&nbsp;", "2,060.25", "0.00", "2,060.25"})); // always grouped

    rows = earthwork(0, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(rows[2][0], "100.5");
    EXPECT_EQ(rows[2][3], "20,500");
    EXPECT_EQ(rows[4][2], "2.060,25");
    EXPECT_EQ(rows[5][2], "2.060,25");
}

TEST_F(Reports, NonAsciiSeparatorsBecomeCharacterReferencesAndNumbersRound)
{
    p.roadWithRows({0});
    db.exec("UPDATE RL_1 SET C = 1234.5");
    earthwork(0, QLocale(QLocale::French, QLocale::France));
    const QByteArray bytes = readFile(file);
    for (const char b : bytes)
        ASSERT_TRUE(b >= 0x09 && static_cast<unsigned char>(b) < 0x80) << bytes.toStdString();
    const QString sep = QLocale(QLocale::French, QLocale::France).groupSeparator();
    EXPECT_TRUE(bytes.contains(
        QStringLiteral("<td>1&#%1;234,500</td>").arg(sep.toUcs4().value(0)).toLatin1()))
        << bytes.toStdString();

    EXPECT_EQ(htmlText("<b>A & B's \"x\"</b>").toStdString(),
              "&lt;b&gt;A &amp; B&#39;s &quot;x&quot;&lt;/b&gt;");
    EXPECT_EQ(htmlText(QString::fromUtf8("K\xc3\xb6ln")).toStdString(), "K&#246;ln");
    // Number forms round and never show minus zero.
    EXPECT_EQ(fmt3(1.0005, QLocale::c()), "1.000"); // the double lies just below the half
    EXPECT_EQ(fmt3(-0.0004, kUs), "0.000");
    EXPECT_EQ(fmt3(-1234.5678, kUs), "-1,234.568");
    EXPECT_EQ(fmt2(-0.004, kUs), "0.00");
    EXPECT_EQ(fmt2Grouped(1234567.891, QLocale::c()), "1,234,567.89");
}

TEST_F(Reports, FailuresLeaveTheEarlierFileInPlace)
{
    const auto road = p.roadWithRows({0, 20});
    const auto other = p.roadWithRows({0});
    writeFile(file, "good report");
    db.exec("UPDATE RL_1 SET Chainage = NULL WHERE Chainage = 20");
    db.exec("DROP TABLE LB_1");
    const struct {
        std::function<void()> write;
        ErrorKind kind;
        const char* says;
    } cases[] = {
        {[&] { earthwork(8); }, ErrorKind::NullValue, "without a chainage"},
        {[&] { WriteLevelBookReport(db, road, 8, kUs, file); }, ErrorKind::TableMissing, "LB_1"},
        {[&] { WriteEarthworkReport(db, other, 8, kUs, p.folder() + "/no such folder/r.htm"); },
         ErrorKind::Io, "no such folder"},
    };
    for (const auto& c : cases) {
        const auto e = thrown(c.write);
        ASSERT_TRUE(e) << c.says;
        EXPECT_EQ(e->kind(), c.kind);
        EXPECT_TRUE(e->message().contains(c.says)) << e->message().toStdString();
    }
    EXPECT_EQ(readFile(file).toStdString(), "good report");
    EXPECT_THROW(WriteEarthworkReport(db, other + 1, 8, kUs, file), Error);
    EXPECT_THROW(WriteEarthworkReport(db, road, 9, kUs, file), Error);
}

// Both reports are whole documents naming the road, with their tags closed.
TEST_F(Reports, ReportsAreCompleteDocumentsNamingTheRoad)
{
    const auto road = p.roadWithRows({0, 20}, true);
    db.exec(QString::fromUtf8("UPDATE Roads SET [From] = 'K\xc3\xb6ln', [To] = 'Bonn'"));
    db.exec("UPDATE LB_1 SET C = 1.2, L1 = 1.5 WHERE Chainage = 0");
    // The Earthwork Report of an empty RL sheet: headings and the ALL row. The Level Book leaves
    // out what holds nothing: chainage 0 its line, C and L1; chainage 20 its line alone.
    const std::pair<std::function<void()>, std::size_t> writers[] = {
        {[&] { WriteEarthworkReport(db, road, 8, kUs, file, "Long"); }, 3},
        {[&] { WriteLevelBookReport(db, road, 8, kUs, file); }, 1 + 3 + 1},
    };
    for (const auto& [write, rows] : writers) {
        write();
        const QString html = QString::fromLatin1(readFile(file));
        SCOPED_TRACE(html.left(300).toStdString());
        EXPECT_TRUE(html.startsWith("<!DOCTYPE html>\n<html lang='en'>\n<head>\n"
                                    "<meta charset='utf-8'>"));
        EXPECT_TRUE(html.contains("<p>Road: K&#246;ln To Bonn</p>"));
        for (const char* tag : {"table", "tr", "td", "caption", "head", "body", "html"})
            EXPECT_EQ(html.count(QStringLiteral("<%1").arg(tag)),
                      html.count(QStringLiteral("</%1>").arg(tag)))
                << tag;
        EXPECT_EQ(tableRows(html).size(), rows);
        EXPECT_TRUE(html.endsWith("</html>\n"));
    }
}
