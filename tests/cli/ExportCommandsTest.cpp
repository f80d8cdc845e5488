#include "CliSupport.h"
#include "store/Statements.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

using namespace tarmela;
using namespace tarmela::test;

namespace {

struct CliExport : ::testing::Test {
    CliRun cli;
    QString dir = cli.dir.filePath("Out");
    QLocale previous;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_EQ(cli({"new-road", "--from", "North", "--to", "South", "--length", "1100"}), 0)
            << cli.err.toStdString();
        auto db = cli.open();
        std::int64_t id = 1;
        for (const char* sheet : {"RL", "LB"})
            for (const double chainage : {900.0, 1000.0, 1100.0})
                db->exec(QStringLiteral("INSERT INTO %1_1 (ID, Chainage, C, [%2]) VALUES "
                                        "(%3, %4, 1.25, 1234.5)")
                             .arg(sheet)
                             .arg(QLatin1String(sheet) == "RL" ? "Fill Area" : "BS")
                             .arg(id++)
                             .arg(chainage));
    }
    void TearDown() override { QLocale::setDefault(previous); }

    QString read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

} // namespace

TEST_F(CliExport, WritesTheNamedReportsAndPrintsTheirPaths)
{
    ASSERT_EQ(cli({"--set", "ViewSections=2", "export", "1", "--dir", dir, "--earthwork",
                   "--level-book"}),
              0)
        << cli.err.toStdString();
    const QString folder = dir + "/North to South";
    EXPECT_EQ(cli.out.toStdString(),
              (folder + "/Level Book.htm\n" + folder + "/Earthwork Report.htm\n").toStdString());
    EXPECT_TRUE(cli.err.isEmpty());

    const QString earthwork = read(folder + "/Earthwork Report.htm");
    // Two readings per side and the locale's grouping.
    EXPECT_TRUE(earthwork.contains("<td><b>Chain</b></td><td><b>L2</b></td><td><b>L1</b></td>"
                                   "<td><b>C</b></td><td><b>R1</b></td><td><b>R2</b></td>"
                                   "<td><b>FC</b></td>"));
    EXPECT_TRUE(earthwork.contains("<td>1,234.500</td>"));
    EXPECT_TRUE(earthwork.contains("<td align='right'><b>246,900.00</b></td>"))
        << earthwork.toStdString();
    const QString levelBook = read(folder + "/Level Book.htm");
    EXPECT_EQ(levelBook.count("<tr align='right'>"), 3 * (2 + 2 * 2));
}

TEST_F(CliExport, EveryOutputWhenNoneIsNamedAndFailuresGoToStandardError)
{
    const int status = cli({"export", "1", "--dir", dir});
    const QStringList written = cli.out.split('\n', Qt::SkipEmptyParts);
    const QStringList failed = cli.err.split('\n', Qt::SkipEmptyParts);
    // Every output is either written or reported, in list order.
    EXPECT_EQ(written.size() + failed.size(), 4) << cli.out.toStdString() << cli.err.toStdString();
    EXPECT_EQ(status, failed.isEmpty() ? 0 : 2);
    for (const QString& path : written)
        EXPECT_TRUE(QFileInfo(path).size() > 0) << path.toStdString();
    ASSERT_GE(written.size(), 2);
    EXPECT_TRUE(written[0].endsWith("/Level Book.htm"));
    EXPECT_TRUE(written[1].endsWith("/Earthwork Report.htm"));
    for (const QString& line : failed)
        EXPECT_TRUE(line.startsWith("tarmela-cli: ") && line.contains("(DXF)"))
            << line.toStdString();
}

TEST_F(CliExport, AFailedReportExitsWithTwoAndKeepsTheOutputsWrittenBefore)
{
    cli.open()->exec("DROP TABLE RL_1");
    EXPECT_EQ(cli({"export", "1", "--dir", dir, "--level-book", "--earthwork"}), 2);
    EXPECT_TRUE(cli.out.endsWith("/Level Book.htm\n")) << cli.out.toStdString();
    EXPECT_TRUE(cli.err.contains("Earthwork Report (Html)")) << cli.err.toStdString();
    EXPECT_TRUE(cli.err.contains("RL_1"));
}

TEST_F(CliExport, MistakesAreRefusedBeforeAnythingIsWritten)
{
    EXPECT_EQ(cli({"export", "1"}), 1);
    EXPECT_TRUE(cli.err.contains("--dir"));
    EXPECT_EQ(cli({"export", "--dir", dir}), 1);
    EXPECT_EQ(cli({"export", "1", "--dir", dir, "--pdf"}), 1);
    EXPECT_EQ(cli({"export", "7", "--dir", dir}), 2);
    EXPECT_TRUE(cli.err.contains("no road with ID 7"));
    EXPECT_FALSE(QFileInfo::exists(dir));

    QFile blocker(dir);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(cli({"export", "1", "--dir", dir, "--earthwork"}), 2);
    EXPECT_TRUE(cli.err.contains("Cannot create the folder")) << cli.err.toStdString();
    EXPECT_TRUE(cli.out.isEmpty());
}
