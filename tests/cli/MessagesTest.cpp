// Whatever a file, the database or the command line holds, a message is one short line with
// its reason, and one road is one line of output.
#include "CliSupport.h"

#include <QFile>

using namespace tarmela;
using namespace tarmela::test;

TEST(Messages, AreOneShortLineWithTheReason)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B"}));
    ASSERT_TRUE(cli.ok({"new-road", "--from", QString(100000, 'n'), "--to", "B"}));
    const QString csv = cli.dir.filePath("in.csv");
    const QByteArray huge(5 << 20, '7');
    const struct {
        QByteArray file; // written to in.csv first, when not empty
        QStringList args;
        int status;
        QString start; // of the message after "tarmela-cli: "
        QString end;
    } cases[] = {
        {"Chainage,C\n0,1" + huge + "x\n",
         {"import", "1", "rl", csv},
         2,
         "line 2: column C: \"1777777777",
         "\" is not a number"},
        {"Chainage,C\n0,\"1\n2\"\n",
         {"import", "1", "rl", csv},
         2,
         "line 2: column C: \"1\\n2\" is not a number",
         ""},
        {QByteArray("\xff\xfe"
                    "C\0h\0a\0i\0n\0a\0g\0e\0",
                    18),
         {"import", "1", "rl", csv},
         2,
         csv + " is not a CSV file in UTF-8",
         ""},
        {{},
         {"export", "2", "--dir", cli.dir.filePath(QString(300, 'd'))},
         2,
         "Cannot create the folder …",
         "nnnn: File name too long"},
        {{},
         {"--set", "ViewSections=" + huge, "roads"},
         1,
         "\"7777777777",
         "\" is not a valid value for ViewSections"},
    };
    for (const auto& c : cases) {
        if (!c.file.isEmpty())
            writeFile(csv, c.file);
        EXPECT_EQ(cli(c.args), c.status) << c.start.toStdString();
        EXPECT_TRUE(cli.err.startsWith("tarmela-cli: " + c.start))
            << cli.err.left(300).toStdString();
        EXPECT_TRUE(cli.err.endsWith(c.end + "\n")) << cli.err.left(300).toStdString();
        EXPECT_EQ(cli.err.count('\n'), 1) << cli.err.left(300).toStdString();
        EXPECT_LT(cli.err.size(), 240) << cli.err.left(300).toStdString();
    }
    // (A road's name too long for a folder of its own: ExportFolderName.)
}

TEST(Messages, OneRoadIsOneLineAndAnOptionsValueIsNotAnOption)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"new-road", "--from", "-h", "--to", "x\n2\tFake\tRoad"}));
    EXPECT_EQ(cli.out, "1\n");
    ASSERT_TRUE(cli.ok({"roads"}));
    EXPECT_EQ(cli.out.section('\n', 1), "1\t-h\tx\\n2\\tFake\\tRoad\t1\t20\t3.5\t3.5\n");
}
