#include "sheets/SheetCsv.h"
#include "sheets/CsvReader.h"
#include "store/Error.h"
#include "store/Roads.h"
#include "support/CommaLocale.h"
#include "support/TestProject.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;
using statements::Sheet;

namespace
{

QString errorOf(Database& db, Sheet sheet, const QString& text)
{
    const auto e = thrown([&] { importSheetCsvText(db, 1, sheet, text); });
    return e ? e->message() : QStringLiteral("(accepted)");
}

} // namespace

TEST(SheetCsv, FieldsFollowTheCommaSeparatedRules)
{
    const auto r =
        parseCsv(QString(QChar(0xFEFF)) + QStringLiteral("a,b,c\r\n1,\"x, \"\"y\"\"\",\r\n\r\n"
                                                         "2,\"two\nlines\",z\n3,,\"\""));
    ASSERT_EQ(r.size(), 4);
    EXPECT_EQ(r[0].fields, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(r[1].fields, (QStringList{"1", "x, \"y\"", ""}));
    EXPECT_EQ(r[2].line, 4); // the blank line 3 is skipped
    EXPECT_EQ(r[2].fields, (QStringList{"2", "two\nlines", "z"}));
    EXPECT_EQ(r[3].line, 6);
    EXPECT_EQ(r[3].fields, (QStringList{"3", "", ""}));

    // Records read the same whatever falls at the end of a block of the file.
    QByteArray bytes =
        QByteArray("\xEF\xBB\xBF") + QByteArray("a,b\r\n\"x\"\"\r\n,\",y\r\n\r\nlast,\"\"");
    for (int block : {3, 4, 5, 7}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        CsvReader csv(buffer, "t", block);
        QStringList seen;
        while (csv.next())
            seen << QString::number(csv.line()) + ":" + csv.text(0) + "|" + csv.text(1);
        EXPECT_EQ(seen, (QStringList{"1:a|b", "2:x\"\r\n,|y", "5:last|"})) << block;
    }

    for (const char* bad : {"a,b\n1,\"open", "a,b\n1,x\"y", "a,b\n1,\"x\"y"})
        EXPECT_THROW(parseCsv(bad), Error) << bad;

    for (const QString v : {"plain", "a,b", "say \"hi\"", "two\r\nlines", ""})
        EXPECT_EQ(parseCsv("h\n" + csvField(v) + "\n").value(1).fields.value(0), v)
            << v.toStdString();
}

TEST(SheetCsv, ImportUpdatesByChainageAndAppendsWithTheNextId)
{
    const struct {
        QVector<double> chainages; // of the sheet's rows before, IDs from 1
        Sheet sheet;
        const char* file;
        int updated, added;
        const char* query;
        const char* rows;
    } cases[] = {
        // Cells not in the file keep their values (L1 = 9, FC = 101 before); an empty field
        // empties its cell.
        {{0, 20, 40},
         Sheet::ReducedLevel,
         "Chainage,C,L1,Left Slope\n20,100.25,,1.5\n60,99.5,98,\n",
         1,
         1,
         "SELECT ID, Chainage, C, L1, [Left Slope], FC FROM RL_1 ORDER BY ID",
         "1 0 null 9 null 101 | 2 20 100.25 null 1.5 101 | 3 40 null 9 null 101 | 4 60 99.5 98 "
         "null null"},
        // Without IDs, two lines at one chainage fill the two rows there, a third appends.
        {{40, 0, 20, 20},
         Sheet::LevelBook,
         "Chainage,C\n20,1.1\n20,1.2\n20,1.3\n",
         2,
         1,
         "SELECT ID, C FROM LB_1 WHERE Chainage = 20 ORDER BY ID",
         "3 1.1 | 4 1.2 | 5 1.3"},
    };
    for (const auto& c : cases) {
        TestProject p;
        Database& db = p.db();
        p.roadWithRows(c.chainages, c.sheet == Sheet::LevelBook);
        db.exec("UPDATE RL_1 SET L1 = 9, FC = 101");
        const CsvImportResult r = importSheetCsvText(db, 1, c.sheet, c.file);
        EXPECT_EQ(r.updated, c.updated) << c.file;
        EXPECT_EQ(r.added, c.added) << c.file;
        EXPECT_EQ(queryText(db, c.query), c.rows) << c.file;
    }
}

TEST(SheetCsv, BadFilesNameTheLineAndColumnAndWriteNothing)
{
    TestProject p;
    Database& db = p.db();
    p.roadWithRows({0, 20}, true);
    const QString before = sheetCsvText(db, 1, Sheet::LevelBook);

    const struct {
        Sheet sheet;
        const char* file;
        const char* message;
    } cases[] = {
        {Sheet::LevelBook, "BS,FS\n1,2\n", "line 1: the column Chainage is required"},
        {Sheet::LevelBook, "Chainage,C\n40,1\n,2\n",
         "line 3: column Chainage: a chainage is required"},
        {Sheet::LevelBook, "Chainage,C\n40,1,5\n",
         "line 2: 3 fields where the first line names 2 columns"},
        // Not the value of the line before in the missing field: the line is refused.
        {Sheet::LevelBook, "Chainage,C,BS\n40,1,2\n60,3\n",
         "line 3: 2 fields where the first line names 3 columns"},
        {Sheet::LevelBook, "ID,Chainage\n2,40\n", "line 2: column ID: 2 is the ID of another row"},
        {Sheet::LevelBook, "ID,Chainage\n1.5,40\n",
         "line 2: column ID: \"1.5\" is not a whole number"},
        {Sheet::LevelBook, "Chainage,BS\n40,1.2\n60,250\n",
         "line 3: column BS: \"250\" is out of range: staff readings lie between -100 and 100 m"},
        {Sheet::LevelBook, "Chainage,C,C\n40,1,1\n", "line 1: the column C is named twice"},
        {Sheet::LevelBook, "", "The file is empty: the first line must name the columns"},
        // A text column takes any text; column names are the table's own.
        {Sheet::ReducedLevel, "Chainage,Remarks\n40,x\n", "line 1: unknown column \"Remarks\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(db, c.sheet, c.file), c.message) << c.file;

    EXPECT_EQ(sheetCsvText(db, 1, Sheet::LevelBook), before);
}

TEST(SheetCsv, ExportReadsBackToTheSameSheetInACommaLocale)
{
    CommaLocale comma;
    TestProject p;
    Database& db = p.db();
    p.roadWithRows({40, 0, 20, 20}, true); // two rows at 20 (IDs 3 and 4)
    roads::create(db);
    db.exec("UPDATE LB_1 SET L3 = 1.005, BS = 0.1, HI = 101.123456789, TopWidth = 3.75, "
            "Remarks = 'CP on culvert, \"old\" parapet' WHERE Chainage = 20");
    db.exec("UPDATE LB_1 SET R8 = -0.25, Remarks = 'line one\nline two' WHERE Chainage = 40");
    db.exec("UPDATE LB_1 SET C = 0.5, Remarks = 'second' WHERE ID = 4");

    const QString text = sheetCsvText(db, 1, Sheet::LevelBook);
    const QStringList lines = text.split("\r\n");
    EXPECT_TRUE(lines[1].startsWith("2,0,")) << lines[1].toStdString(); // chainage order
    EXPECT_TRUE(lines[2].contains(",1.005,")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].contains("101.123456789"));

    const CsvImportResult r = importSheetCsvText(db, 2, Sheet::LevelBook, text);
    EXPECT_EQ(r.added, 4);
    EXPECT_EQ(sheetCsvText(db, 2, Sheet::LevelBook), text);
    // Into the same sheet it is an update of every row, which changes nothing.
    EXPECT_EQ(importSheetCsvText(db, 1, Sheet::LevelBook, text).updated, 4);
    EXPECT_EQ(sheetCsvText(db, 1, Sheet::LevelBook), text);
}
