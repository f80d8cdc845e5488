// A road's export: its folder inside the base folder, the outputs and their outcomes.
#include "export/BatchExport.h"
#include "DxfTestSupport.h"
#include "store/Error.h"
#include "support/TestProject.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <map>
#include <vector>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

std::string name(const QString& from, const QString& to)
{
    return exportFolderName(from, to).toStdString();
}

struct Export : ::testing::Test {
    TestProject p;
    Database& db = p.db();
    QString base = p.folder() + "/Out";
    ExportSettings settings;
};

const QStringList kReports{"level-book", "earthwork-report"};

} // namespace

TEST(ExportFolderName, IsOneSafeFolderNameInsideTheBase)
{
    EXPECT_EQ(name("North", "South"), "North to South");
    EXPECT_EQ(name("A/B", "C\\D"), "A_B to C_D");
    EXPECT_EQ(name("Km 3: Pass?", "<Ridge> \"Top\" | *"), "Km 3_ Pass_ to _Ridge_ _Top_ _ _");
    EXPECT_EQ(name("Line\nbreak", "Tab\there"), "Line_break to Tab_here");
    EXPECT_EQ(name("..", ".."), ".. to");
    EXPECT_EQ(name(" ", " "), "to");
    EXPECT_EQ(name(QString::fromUtf8("K\xc3\xb6ln"), "Bonn"), "K\xc3\xb6ln to Bonn");
    // Too long for a file system: cut to 200 bytes, never inside a character.
    EXPECT_EQ(name("a" + QString(150, QChar(0xf6)), "B"),
              ("a" + QString(99, QChar(0xf6))).toStdString());
}

// (The list order and the written files: CliExport; a trailing separator: ExportDialog.)
TEST_F(Export, TheDrawingsWarningsComeBackWithTheOutcomes)
{
    const auto id = makeRoad(db, "North", "South");
    settings.drawing.templateFolder = templateFolder();
    const ExportResult r = exportRoad(db, id, p.folder() + "//Out//", {"lsection"}, settings);
    EXPECT_EQ(r.folder.toStdString(), (base + "/North to South").toStdString());
    ASSERT_EQ(r.outcomes.size(), 1u);
    EXPECT_TRUE(r.outcomes[0].ok) << r.outcomes[0].message.toStdString();
    // The road has no rows: the drawing has none, and its notice comes back as a warning.
    EXPECT_TRUE(DxfFile::read(r.outcomes[0].path).entities.empty());
    ASSERT_EQ(r.warnings.size(), 1);
    EXPECT_TRUE(r.warnings[0].startsWith("There are no records to display"));
}

TEST_F(Export, NamesThatLookLikePathsStayInsideTheBaseFolderAndAFailedReportEndsTheBatch)
{
    // "A/B" and "A_B", "." and " . ", "" and " " give one name each: the second road of a
    // pair gets a folder of its own, named with its ID, and keeps it.
    const QStringList pairs{"A/B|C", "A_B|C", "..|..", "../../etc|x", "|",
                            " | ",   ".|.",   "/|/",   " .|. "};
    std::map<std::int64_t, QString> folders;
    std::vector<std::int64_t> ids;
    for (const QString& pair : pairs)
        ids.push_back(makeRoad(db, pair.section('|', 0, 0), pair.section('|', 1)));
    for (int round = 0; round < 2; ++round) {
        for (const std::int64_t id : ids) {
            const ExportResult r = exportRoad(db, id, base, kReports, settings);
            ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
            EXPECT_EQ(QFileInfo(r.folder).absolutePath(), QFileInfo(base).absoluteFilePath())
                << r.folder.toStdString();
            for (const ExportOutcome& o : r.outcomes)
                EXPECT_TRUE(o.ok && QFileInfo::exists(o.path)) << o.path.toStdString();
            folders.try_emplace(id, r.folder); // the first round's
            EXPECT_EQ(r.folder, folders[id]);
            EXPECT_EQ(r.note.isEmpty(), !r.folder.endsWith(QString(" (road %1)").arg(id)));
        }
    }
    EXPECT_EQ(folders[ids[1]].toStdString(),
              (base + QString("/A_B to C (road %1)").arg(ids[1])).toStdString());
    // One folder per road; nothing else appeared anywhere in the base folder.
    EXPECT_EQ(QDir(base).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).size(),
              pairs.size());

    // A failed report ends the batch there.
    const auto id = makeRoad(db, "North", "South");
    db.exec(QStringLiteral("DROP TABLE LB_%1").arg(id));
    const ExportResult r =
        exportRoad(db, id, base, {"level-book", "earthwork-report", "xsection"}, settings);
    ASSERT_EQ(r.outcomes.size(), 1u);
    EXPECT_FALSE(r.outcomes[0].ok);
    EXPECT_TRUE(r.outcomes[0].message.contains(QStringLiteral("LB_%1").arg(id)));
    EXPECT_EQ(r.error, r.outcomes[0].message);
    EXPECT_FALSE(QFileInfo::exists(r.folder + "/Level Book.htm"));
    EXPECT_THROW(exportRoad(db, id, "  ", kReports, settings), Error); // no folder chosen
}
