#include "compute/HtmlReports.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

QString readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    return QString::fromUtf8(f.readAll());
}

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

QString row(const QStringList& cells)
{
    QString s = QStringLiteral("<tr align='right'>");
    for (const QString& c : cells)
        s += "<td>" + c + "</td>";
    return s + "</tr>";
}

struct Reports : ::testing::Test {
    TestProject p;
    Database& db = p.db();
    QString file = p.folder() + "/report.htm";

    void set(std::int64_t road, const QString& table, double chainage, const QString& assignments)
    {
        db.exec(QStringLiteral("UPDATE %1_%2 SET %3 WHERE Chainage = %4")
                    .arg(table)
                    .arg(road)
                    .arg(assignments)
                    .arg(chainage));
    }
    void setLength(std::int64_t road, std::int64_t length)
    {
        RoadChanges c;
        c.length = length;
        roads::update(db, road, c);
    }
};

} // namespace

TEST_F(Reports, EarthworkDocumentIsWrittenExactly)
{
    const auto road = p.roadWithRows({0});
    set(road, "RL", 0, "C = 100.5, R1 = 101, FC = 100.75, [Fill Area] = 2.5");
    WriteEarthworkReport(db, road, 1, kUs, file);
    const QString expected =
        "<html><body><table border='1' cellspacing='0'><caption><b>Earthwork Report</b>"
        "</caption><tr align='center'><td><b>Chain</b></td><td><b>L1</b></td><td><b>C</b>"
        "</td><td><b>R1</b></td><td><b>FC</b></td><td><b>Fill Area</b></td><td><b>Cut Area"
        "</b></td></tr><tr align='right'><td>0</td><td>&nbsp;</td><td>100.500</td><td>101.000"
        "</td><td>100.750</td><td>2.500</td><td>&nbsp;</td></tr></tbody></table><table "
        "border='1' cellspacing='0'><caption><b>Summary</b></caption><tr align='center'><td>"
        "<b>Km</b></td> <td><b>Filling</b></td> <td><b>Cutting</b></td> <td><b>Total</b></td>"
        " </tr><tr><td align='center'>1</td><td align='right'>0.00</td><td align='right'>0.00"
        "</td><td align='right'>0.00</td></tr><tr><td align='center'><b>ALL</b></td><td "
        "align='right'><b>0.00</b></td><td align='right'><b>0.00</b></td><td align='right'>"
        "<b>0.00</b></td></tr></table></body></html>\n";
    EXPECT_EQ(readFile(file).toStdString(), expected.toStdString());
}

TEST_F(Reports, EarthworkColumnsFollowTheReadingsShownAndNullsStayEmpty)
{
    const auto road = p.roadWithRows({12.5, 20});
    set(road, "RL", 12.5, "L3 = 99.1234, L2 = 0, R3 = 98.9996, [Cut Area] = 1234.5");
    WriteEarthworkReport(db, road, 3, kUs, file);
    const auto rows = tableRows(readFile(file));
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Cells{"Chain", "L3", "L2", "L1", "C", "R1", "R2", "R3", "FC",
                                    "Fill Area", "Cut Area"}));
    EXPECT_EQ(rows[1], (Cells{"12.5", "99.123", "0.000", "&nbsp;", "&nbsp;", "&nbsp;",
                                    "&nbsp;", "99.000", "&nbsp;", "&nbsp;", "1,234.500"}));
    EXPECT_EQ(rows[2].size(), 11u);
    EXPECT_EQ(rows[2][0], "20");

    WriteEarthworkReport(db, road, 0, kUs, file);
    EXPECT_EQ(tableRows(readFile(file))[0],
              (Cells{"Chain", "C", "FC", "Fill Area", "Cut Area"}));
}

TEST_F(Reports, EmptySheetGivesHeadingsAndTheAllRowOfZeros)
{
    const auto road = p.roadWithRows({});
    WriteEarthworkReport(db, road, 8, kUs, file);
    const QString html = readFile(file);
    EXPECT_TRUE(html.contains("<td><b>Cut Area</b></td></tr></tbody></table>"));
    EXPECT_TRUE(html.contains("<td><b>Total</b></td> </tr><tr><td align='center'><b>ALL</b>"));
    const auto rows = tableRows(html);
    ASSERT_EQ(rows.size(), 3u); // headings, summary headings, ALL
    EXPECT_EQ(rows[2], (Cells{"ALL", "0.00", "0.00", "0.00"}));
}

TEST_F(Reports, KilometreSummaryStepsBackBelowTheRoadLength)
{
    const auto road = p.roadWithRows({900, 1000, 1100});
    set(road, "RL", 900, "[Fill Area] = 2");
    set(road, "RL", 1000, "[Fill Area] = 4, [Cut Area] = 1");
    set(road, "RL", 1100, "[Fill Area] = 6");
    setLength(road, 1100);
    WriteEarthworkReport(db, road, 0, kUs, file);
    auto rows = tableRows(readFile(file));
    ASSERT_EQ(rows.size(), 1u + 3 + 1 + 3);
    EXPECT_EQ(rows[5], (Cells{"1", "300.00", "50.00", "350.00"}));
    EXPECT_EQ(rows[6], (Cells{"2", "500.00", "50.00", "550.00"}));
    EXPECT_EQ(rows[7], (Cells{"ALL", "800.00", "100.00", "900.00"}));

    // The report takes the road's Length, not its last chainage: a Length short of the
    // kilometre end loses the stretch across it; a longer one lists the empty kilometres.
    setLength(road, 1);
    WriteEarthworkReport(db, road, 0, kUs, file);
    rows = tableRows(readFile(file));
    EXPECT_EQ(rows[5][1], "300.00");
    EXPECT_EQ(rows[6][1], "0.00");
    setLength(road, 3500);
    WriteEarthworkReport(db, road, 0, kUs, file);
    rows = tableRows(readFile(file));
    ASSERT_EQ(rows.size(), 1u + 3 + 1 + 4 + 1);
    EXPECT_EQ(rows[8], (Cells{"4", "0.00", "0.00", "0.00"}));
    EXPECT_EQ(rows[9], (Cells{"ALL", "800.00", "100.00", "900.00"}));
}

TEST_F(Reports, KilometresPastThirtyTwoAreCounted)
{
    const auto road = p.roadWithRows({32900, 33100});
    set(road, "RL", 32900, "[Fill Area] = 2");
    set(road, "RL", 33100, "[Fill Area] = 4");
    setLength(road, 33100);
    WriteEarthworkReport(db, road, 0, kUs, file);
    const auto rows = tableRows(readFile(file));
    ASSERT_EQ(rows.size(), 1u + 2 + 1 + 34 + 1);
    EXPECT_EQ(rows.back(), (Cells{"ALL", "600.00", "0.00", "600.00"}));
    EXPECT_EQ(rows[rows.size() - 2], (Cells{"34", "600.00", "0.00", "600.00"}));

    setLength(road, 1'000'000'000'000);
    EXPECT_THROW(WriteEarthworkReport(db, road, 0, kUs, file), Error);
}

TEST_F(Reports, GroupingFollowsTheLocaleAndTheAllRowAlwaysGroups)
{
    const auto road = p.roadWithRows({0, 100});
    set(road, "RL", 0, "[Fill Area] = 20.5");
    set(road, "RL", 100, "[Fill Area] = 20.5");
    setLength(road, 100);
    WriteEarthworkReport(db, road, 0, QLocale::c(), file);
    auto rows = tableRows(readFile(file));
    EXPECT_EQ(rows[1][3], "20.500");
    EXPECT_EQ(rows[4], (Cells{"1", "2050.00", "0.00", "2050.00"}));
    EXPECT_EQ(rows[5], (Cells{"ALL", "2,050.00", "0.00", "2,050.00"}));

    WriteEarthworkReport(db, road, 0, QLocale(QLocale::German, QLocale::Germany), file);
    rows = tableRows(readFile(file));
    EXPECT_EQ(rows[4][1], "2.050,00");
    EXPECT_EQ(rows[5][1], "2.050,00");
}

TEST_F(Reports, NonAsciiSeparatorsBecomeCharacterReferences)
{
    const auto road = p.roadWithRows({0});
    set(road, "RL", 0, "C = 1234.5");
    WriteEarthworkReport(db, road, 0, QLocale(QLocale::French, QLocale::France), file);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    for (const char b : bytes)
        ASSERT_GE(static_cast<unsigned char>(b), 0x09) << "control byte in the file";
    for (const char b : bytes)
        ASSERT_LT(static_cast<unsigned char>(b), 0x80) << bytes.toStdString();
    const QString sep = QLocale(QLocale::French, QLocale::France).groupSeparator();
    EXPECT_TRUE(bytes.contains(QStringLiteral("<td>1&#%1;234,500</td>")
                                   .arg(sep.toUcs4().value(0))
                                   .toLatin1()))
        << bytes.toStdString();

    EXPECT_EQ(htmlText("<b>A & B's \"x\"</b>").toStdString(),
              "&lt;b&gt;A &amp; B&#39;s &quot;x&quot;&lt;/b&gt;");
    EXPECT_EQ(htmlText(QString::fromUtf8("K\xc3\xb6ln")).toStdString(),
              "K&#246;ln");
}

TEST_F(Reports, NumberFormsRoundAndNeverShowMinusZero)
{
    EXPECT_EQ(fmt3(1.0005, QLocale::c()).toStdString(),
              "1.000"); // the double lies just below the half
    EXPECT_EQ(fmt3(-0.0004, kUs).toStdString(),
              "0.000");
    EXPECT_EQ(fmt3(-1234.5678, kUs).toStdString(),
              "-1,234.568");
    EXPECT_EQ(fmt2(-0.004, kUs).toStdString(),
              "0.00");
    EXPECT_EQ(fmt2Grouped(1234567.891, QLocale::c()).toStdString(),
              "1,234,567.89");
}

TEST_F(Reports, LevelBookLinesOfOneSection)
{
    const auto road = p.roadWithRows({0}, true);
    set(road, "LB", 0, "BS = 1.5, C = 1.2, TopWidth = 7");
    WriteLevelBookReport(db, road, 2, kUs, file);
    const QString e = "&nbsp;";
    const QString expected =
        "<html><body><table border='1' cellspacing='0'><caption><b>Level Book</b></caption>"
        "<tr align='center'><td><b>Chainage</b></td><td><b>BS</b></td><td><b>IS</b></td>"
        "<td><b>FS</b></td><td><b>HI</b></td><td><b>RL</b></td><td><b>Top Width</b></td>"
        "<td><b>Bottom Width</b></td></tr>" +
        row({"0", "1.500", e, e, "101.500", e, "7.000", e}) +
        row({"C", e, "1.200", e, e, "100.300", e, e}) + row({"L1", e, e, e, e, e, e, e}) +
        row({"L2", e, e, e, e, e, e, e}) + row({"R1", e, e, e, e, e, e, e}) +
        row({"R2", e, e, e, e, e, e, e}) + "</table></body></html>\n";
    EXPECT_EQ(readFile(file).toStdString(), expected.toStdString());
}

TEST_F(Reports, LevelBookChangePointWithoutCentreReading)
{
    const auto road = p.roadWithRows({0, 20}, true);
    set(road, "LB", 0, "BS = 1.5, C = 1.2");
    set(road, "LB", 20, "FS = 2.0, BS = 0.8, L1 = 0.5, R1 = 0");
    WriteLevelBookReport(db, road, 1, kUs, file);
    const auto rows = tableRows(readFile(file));
    ASSERT_EQ(rows.size(), 1u + 2 * 4);
    const std::string e = "&nbsp;";
    EXPECT_EQ(rows[5], (Cells{"20", "0.800", e, "2.000", "100.300", e, e, e}));
    EXPECT_EQ(rows[6], (Cells{"C", e, e, e, e, "99.500", e, e}));
    EXPECT_EQ(rows[7], (Cells{"L1", e, "0.500", e, e, "99.800", e, e}));
    EXPECT_EQ(rows[8], (Cells{"R1", e, "0.000", e, e, "100.300", e, e}));
}

TEST_F(Reports, FailuresLeaveTheEarlierFileInPlace)
{
    const auto road = p.roadWithRows({0, 20});
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("good report");
    }
    db.exec(QStringLiteral("UPDATE RL_%1 SET Chainage = NULL WHERE Chainage = 20").arg(road));
    try {
        WriteEarthworkReport(db, road, 8, kUs, file);
        FAIL() << "a row without a chainage was accepted";
    } catch (const Error& err) {
        EXPECT_EQ(err.kind(), ErrorKind::NullValue);
        EXPECT_TRUE(err.message().contains("without a chainage")) << err.message().toStdString();
    }
    EXPECT_EQ(readFile(file).toStdString(), "good report");

    db.exec(QStringLiteral("DROP TABLE LB_%1").arg(road));
    try {
        WriteLevelBookReport(db, road, 8, kUs, file);
        FAIL() << "a missing level book was accepted";
    } catch (const Error& err) {
        EXPECT_EQ(err.kind(), ErrorKind::TableMissing);
        EXPECT_TRUE(err.message().contains(QStringLiteral("LB_%1").arg(road)));
    }
    EXPECT_EQ(readFile(file).toStdString(), "good report");

    EXPECT_THROW(WriteEarthworkReport(db, road + 1, 8, kUs, file), Error);
    EXPECT_THROW(WriteEarthworkReport(db, road, 9, kUs, file), Error);
    const auto other = p.roadWithRows({0});
    try {
        WriteEarthworkReport(db, other, 8, kUs, p.folder() + "/no such folder/report.htm");
        FAIL() << "an unwritable file was accepted";
    } catch (const Error& err) {
        EXPECT_EQ(err.kind(), ErrorKind::Io);
        EXPECT_TRUE(err.message().contains("no such folder"));
    }
}
