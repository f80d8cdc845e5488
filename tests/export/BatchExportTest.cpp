#include "export/BatchExport.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/TestProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace {

std::string name(const QString& from, const QString& to)
{
    return exportFolderName(from, to).toStdString();
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

struct Export : ::testing::Test {
    TestProject p;
    Database& db = p.db();
    QString base = p.folder() + "/Out";
    ExportSettings settings;

    std::int64_t road(const QString& from, const QString& to)
    {
        RoadChanges c;
        c.from = from;
        c.to = to;
        return roads::create(db, c);
    }
};

const std::vector<ExportOutput> kReports{ExportOutput::LevelBook, ExportOutput::EarthworkReport};

} // namespace

TEST(ExportFolderName, IsOneSafeFolderNameInsideTheBase)
{
    EXPECT_EQ(name("North", "South"), "North to South");
    EXPECT_EQ(name("A/B", "C\\D"), "A_B to C_D");
    EXPECT_EQ(name("Km 3: Pass?", "<Ridge> \"Top\" | *"), "Km 3_ Pass_ to _Ridge_ _Top_ _ _");
    EXPECT_EQ(name("Line\nbreak", "Tab\there"), "Line_break to Tab_here");
    EXPECT_EQ(name("..", ".."), ".. to");
    EXPECT_EQ(name(" ", " "), "to");
    EXPECT_EQ(name(QString::fromUtf8("K\xc3\xb6ln"), "Bonn"),
              QString::fromUtf8("K\xc3\xb6ln to Bonn").toStdString());
    for (const auto& [from, to] : {std::pair<QString, QString>{"", ""}, {".", "."},
                                   {"../..", "../.."}, {"/", "/"}, {" .", ". "}}) {
        const QString n = exportFolderName(from, to);
        EXPECT_FALSE(n.isEmpty());
        EXPECT_NE(n, ".");
        EXPECT_NE(n, "..");
        EXPECT_FALSE(n.contains('/') || n.contains('\\')) << n.toStdString();
    }
}

TEST_F(Export, WritesTheReportsIntoTheRoadsFolderInListOrder)
{
    const auto id = road("North", "South");
    const ExportResult r = exportRoad(db, id, base + "/", {ExportOutput::EarthworkReport,
                                                            ExportOutput::LevelBook}, settings);
    EXPECT_EQ(r.folder.toStdString(), (base + "/North to South").toStdString());
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_EQ(r.outcomes.size(), 2u);
    EXPECT_EQ(r.outcomes[0].output, ExportOutput::LevelBook);
    EXPECT_EQ(r.outcomes[0].path.toStdString(), (r.folder + "/Level Book.htm").toStdString());
    EXPECT_EQ(r.outcomes[1].output, ExportOutput::EarthworkReport);
    EXPECT_EQ(r.outcomes[1].path.toStdString(),
              (r.folder + "/Earthwork Report.htm").toStdString());
    for (const ExportOutcome& o : r.outcomes) {
        EXPECT_TRUE(o.ok) << o.message.toStdString();
        EXPECT_TRUE(contents(o.path).startsWith("<html><body><table")) << o.path.toStdString();
    }

    // The same folder without the trailing separator, and with doubled ones.
    EXPECT_EQ(exportRoad(db, id, base, {}, settings).folder, r.folder);
    EXPECT_EQ(exportRoad(db, id, p.folder() + "//Out//", {}, settings).folder, r.folder);
}

TEST_F(Export, NamesThatLookLikePathsStayInsideTheBaseFolder)
{
    for (const auto& [from, to] : {std::pair<QString, QString>{"A/B", "C"}, {"..", ".."},
                                   {"../../etc", "x"}}) {
        const auto id = road(from, to);
        const ExportResult r = exportRoad(db, id, base, kReports, settings);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_EQ(QFileInfo(r.folder).absolutePath(), QFileInfo(base).absoluteFilePath())
            << r.folder.toStdString();
        EXPECT_TRUE(QFileInfo(r.folder).isDir());
        for (const ExportOutcome& o : r.outcomes)
            EXPECT_TRUE(o.ok && QFileInfo::exists(o.path)) << o.path.toStdString();
    }
    EXPECT_EQ(QDir(base).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).size(), 3);
}

TEST_F(Export, NothingSelectedStillCreatesTheFolders)
{
    const auto id = road("North", "South");
    const ExportResult r = exportRoad(db, id, base + "/deeper", {}, settings);
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_TRUE(r.outcomes.empty());
    EXPECT_TRUE(QFileInfo(base + "/deeper/North to South").isDir());
}

TEST_F(Export, AnExistingOutputIsReplaced)
{
    const auto id = road("North", "South");
    QDir().mkpath(base + "/North to South");
    const QString target = base + "/North to South/Earthwork Report.htm";
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100000, 'x'));
    }
    const ExportResult r = exportRoad(db, id, base, {ExportOutput::EarthworkReport}, settings);
    ASSERT_EQ(r.outcomes.size(), 1u);
    EXPECT_TRUE(r.outcomes[0].ok);
    const QByteArray html = contents(target);
    EXPECT_TRUE(html.startsWith("<html>"));
    EXPECT_FALSE(html.contains("xxx"));
}

TEST_F(Export, AFailedReportEndsTheBatchThere)
{
    const auto id = road("North", "South");
    db.exec(QStringLiteral("DROP TABLE LB_%1").arg(id));
    const ExportResult r =
        exportRoad(db, id, base,
                   {ExportOutput::LevelBook, ExportOutput::EarthworkReport,
                    ExportOutput::CrossSections},
                   settings);
    ASSERT_EQ(r.outcomes.size(), 1u);
    EXPECT_FALSE(r.outcomes[0].ok);
    EXPECT_TRUE(r.outcomes[0].message.contains(QStringLiteral("LB_%1").arg(id)));
    EXPECT_EQ(r.error, r.outcomes[0].message);
    EXPECT_FALSE(QFileInfo::exists(r.folder + "/Level Book.htm"));
    EXPECT_FALSE(QFileInfo::exists(r.folder + "/Earthwork Report.htm"));
}

TEST_F(Export, AFailedDrawingLeavesTheFollowingOutputsToRun)
{
    const auto id = road("North", "South");
    const ExportResult r = exportRoad(db, id, base,
                                      {ExportOutput::LongSection, ExportOutput::CrossSections},
                                      settings);
    EXPECT_TRUE(r.error.isEmpty());
    ASSERT_EQ(r.outcomes.size(), 2u);
    EXPECT_EQ(r.outcomes[0].output, ExportOutput::LongSection);
    EXPECT_EQ(r.outcomes[1].output, ExportOutput::CrossSections);
    for (const ExportOutcome& o : r.outcomes) {
        EXPECT_FALSE(o.ok);
        EXPECT_TRUE(o.message.contains("not available")) << o.message.toStdString();
        EXPECT_FALSE(QFileInfo::exists(o.path));
    }
}

TEST_F(Export, FoldersThatCannotBeMadeAreReported)
{
    const auto id = road("North", "South");
    {
        QFile f(base);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)); // a file where the base folder should be
    }
    ExportResult r = exportRoad(db, id, base, kReports, settings);
    EXPECT_TRUE(r.error.contains("Cannot create the folder")) << r.error.toStdString();
    EXPECT_TRUE(r.outcomes.empty());

    const QString other = p.folder() + "/Other";
    QDir().mkpath(other);
    {
        QFile f(other + "/North to South");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    r = exportRoad(db, id, other, kReports, settings);
    EXPECT_TRUE(r.error.contains("North to South")) << r.error.toStdString();
    EXPECT_TRUE(r.outcomes.empty());

    EXPECT_THROW(exportRoad(db, id + 1, base, kReports, settings), Error);
    EXPECT_THROW(exportRoad(db, id, "  ", kReports, settings), Error);
}
