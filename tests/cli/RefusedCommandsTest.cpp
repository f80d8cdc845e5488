// Command lines the batch tool refuses: each exits with its status and one message, prints
// nothing and leaves the project and every folder exactly as they were.
#include "CliProcess.h"
#include "CliSupport.h"

#include <QProcess>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

struct Refusal {
    QStringList args;
    int status;
    QString message; // a part of the one line on standard error
};

struct RefusedCommands : CliFlatRoad {
    void SetUp() override
    {
        CliFlatRoad::SetUp();
        ASSERT_TRUE(cli.ok({"new-road", "--from", "Cor", "--to", "Dun"}));
        ASSERT_TRUE(cli.ok({"generate", "2", "--start", "0", "--end", "100", "--rl", "--lb"}));
    }
    void expectRefused(const Refusal& c)
    {
        const std::string what = c.args.join(' ').toStdString();
        const std::string before = folderState(cli.dir.path());
        EXPECT_EQ(cli(c.args), c.status) << what << ": " << cli.err.toStdString();
        EXPECT_TRUE(cli.err.contains(c.message)) << what << ": " << cli.err.toStdString();
        EXPECT_EQ(cli.err.count('\n'), 1) << what;
        EXPECT_EQ(cli.out, "") << what;
        EXPECT_EQ(folderState(cli.dir.path()), before) << what;
    }
};

} // namespace

TEST_F(RefusedCommands, ArgumentsThatCannotBeReadOneWay)
{
    // One row is enough to keep a sheet from being replaced unasked.
    ASSERT_TRUE(cli.ok({"generate", "2", "--start", "50", "--end", "50", "--lb", "--force"}));
    const Refusal cases[] = {
        // A value before the road ID is the option's, never the road.
        {{"set-road", "--formation-camber", "2", "--bogus", "1"}, 1, "unexpected argument"},
        {{"reduce", "--benchmark", "100", "--json", "1"}, 1, "unexpected argument: --json 1"},
        {{"recompute", "1", "2"}, 1, "unexpected argument: 2"},
        {{"--colour", "red", "roads"}, 1, "unexpected argument: --colour red"},
        {{"new-road", "--from", "A", "--from", "B", "--to", "C"}, 1, "--from is given twice"},
        {{"--set", "ViewSections=3", "--set", "ViewSections=4", "roads"}, 1, "given twice"},
        {{"--set", "LeftOrder=1", "--set", "RightOrder=1", "roads"}, 1, "must differ"},
        {{"set-road", "1", "--formation-camber", "nan"}, 1, "must be a number"},
        {{"set-road", "1", "--carriage-camber", "-inf"}, 1, "must be a number"},
        {{"formation", "1", "--at", "1000", "--fc", "inf"}, 1, "must be a number"},
        {{"reduce", "2", "--benchmark", "nan"}, 1, "must be a number"},
        {{"generate", "2", "--start", "0", "--end", "100", "--lb"}, 1, "LB_2 holds 1 row"},
        {{"delete-road", "0"}, 1, "1 or more"},
        {{"delete-road", "1", "2"}, 1, "unexpected argument: 2"},
        {{"cross-distances", "1", "L1=2", "L1=3"}, 1, "L1 is given twice"},
    };
    for (const Refusal& c : cases)
        expectRefused(c);
    // Every command refuses a word left over after all it takes.
    const QStringList commands[] = {
        {"roads"},
        {"new-road", "--from", "A", "--to", "B"},
        {"set-road", "1", "--cut-factor", "1"},
        {"sample"},
        {"generate", "2", "--start", "0", "--end", "20", "--rl", "--force"},
        {"import", "1", "rl", "a.csv"},
        {"export-csv", "1", "rl", "a.csv"},
        {"reduce", "2", "--benchmark", "100"},
        {"formation", "1", "--at", "0", "--fc", "104"},
        {"grade", "1", "--clear"},
        {"masshaul", "1"},
        {"export", "1", "--dir", "out"},
    };
    for (const QStringList& command : commands)
        expectRefused({command + QStringList{"extra"}, 1, "unexpected argument: extra"});

    // A name that is not UTF-8 would lose its bytes on the way in: refused, nothing made.
    const std::string before = folderState(cli.dir.path());
    QProcess p;
    p.setWorkingDirectory(cli.dir.path());
    p.start("/bin/sh", {"-c", "exec \"$0\" --project \"$(printf 'p\\377.sqlite')\" roads",
                        TARMELA_TEST_BIN_DIR "/tarmela-cli"});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardError(), "tarmela-cli: the argument \"p\\xff.sqlite\" is not UTF-8 "
                                        "text; give names and texts in UTF-8\n");
    EXPECT_EQ(folderState(cli.dir.path()), before);
}

// With a crest on road 1, whose PVIs and FC a refused command keeps, and a row of LB_2 without
// a chainage. Values outside their range name the range.
TEST_F(RefusedCommands, CommandsThatCannotBeDoneAndValuesOutsideTheirRange)
{
    ASSERT_TRUE(
        cli.ok({"grade", "1", "--pvi", "900:101", "--pvi", "1000:103:100", "--pvi", "1100:101"}));
    cli.open()->exec("UPDATE LB_2 SET Chainage = NULL WHERE ID = (SELECT MAX(ID) FROM LB_2)");
    const Refusal cases[] = {
        {{"reduce", "1", "--benchmark", "1e308"}, 1, "levels lie between -1000 and 10000 m"},
        {{"reduce", "2", "--benchmark", "-1000000"}, 1, "levels lie between -1000 and 10000 m"},
        {{"formation", "1", "--at", "1000", "--fc", "1e308"}, 1, "levels lie between"},
        {{"formation", "1", "--from", "900", "--to", "1100", "--fc", "10000.5"},
         1,
         "levels lie between"},
        {{"generate", "2", "--start", "0", "--end", "10000020", "--rl", "--force"},
         1,
         "chainages lie between -10000000 and 10000000 m"},
        {{"generate", "2", "--start", "100", "--end", "0", "--rl", "--force"},
         1,
         "lies before the start chainage"},
        {{"sample", "--sections", "1000000"}, 1, "at most 500001 sections: road lengths lie"},
        {{"new-road", "--from", "A", "--to", "B", "--length", "10000001"}, 1, "road lengths"},
        {{"set-road", "1", "--formation-camber", "25.01"}, 1, "cambers lie between -25 and 25"},
        {{"cross-distances", "1", "R8=1000.5"}, 1, "cross distances lie between 0 and 1000 m"},
        {{"reduce", "1", "--benchmark", "100", "--closing-benchmark", "1e308"},
         1,
         "levels lie between"},
        {{"reduce", "1", "--benchmark", "100", "--distribute"}, 1, "needs --closing-benchmark"},
        // A row the import would refuse is not written into a file that cannot be read back.
        {{"export-csv", "2", "lb", cli.dir.filePath("lb.csv")}, 2, "has no chainage"},
        {{"frobnicate"}, 1, "unknown command"},
        {{"new-road", "--from", "A"}, 1, "new-road needs --from and --to"},
        {{"new-road", "--from", "A", "--to", "B", "--interval", "0"}, 1, "intervals lie between"},
        {{"new-road", "--from", "A", "--to", "B", "--cut-factor", "0.4"}, 1, "cut factors lie"},
        {{"new-road", "--from", "A", "--to", "B", "--length", "ten"}, 1, "--length must be"},
        {{"new-road", "--from", "A", "--to", "B", "--colour", "red"}, 1, "unexpected argument"},
        {{"--set", "ViewSections=9", "roads"}, 1, "not a valid value for ViewSections"},
        {{"--set", "NoSuchKey=1", "roads"}, 1, "with a known key"},
        {{"delete-road", "7"}, 2, "no road with ID 7"},
        {{"set-road", "7", "--from", "X"}, 2, "no road with ID 7"},
        {{"delete-road", "x"}, 1, "must be a whole number"},
        {{"formation", "1", "--at", "950", "--fc", "100"}, 2, "no section at chainage 950"},
        {{"formation", "1", "--from", "1100", "--to", "900", "--fc", "100"},
         1,
         "higher chainage. To plot a gradient"},
        {{"formation", "1", "--from", "800", "--to", "1100", "--fc", "100"},
         2,
         "no section at chainage 800 to start the gradient from"},
        {{"formation", "1", "--at", "1000", "--fc", "0"}, 1, "Invalid formation value!"},
        {{"formation", "1", "--at", "1000", "--fc", "high"}, 1, "--fc"},
        {{"formation", "1", "--at", "1000"}, 1, "formation needs --fc V"},
        {{"formation", "1", "--at", "1000", "--from", "900", "--fc", "100"},
         1,
         "formation needs --fc V"},
        {{"formation", "7", "--at", "1000", "--fc", "100"}, 2, "no road with ID 7"},
        {{"grade", "1", "--pvi", "900:101"}, 1, "at least two PVIs"},
        {{"grade", "1", "--pvi", "900:101", "--pvi", "1000:103:250", "--pvi", "1100:101"},
         1,
         "The curves at chainages 900 and 1000 overlap"},
        {{"grade", "1", "--pvi", "900:101:10", "--pvi", "1100:101"}, 1, "first PVI"},
        {{"grade", "1", "--pvi", "900:101", "--pvi", "900:102"}, 1, "must increase"},
        {{"grade", "1", "--pvi", "900:101", "--pvi", "1000:-2e9"}, 1, "out of range"},
        {{"grade", "1", "--pvi", "900"}, 1, "--pvi needs CH:LEVEL[:LENGTH]"},
        {{"grade", "1", "--pvi", "900:101", "--pvi", "1000:101", "--clear"}, 1, "either"},
        {{"cross-distances", "1", "L2=7", "L9=1"}, 1, "\"L9=1\" is not a cross distance"},
        {{"cross-distances", "1", "L2=7", "C=2"}, 1, "\"C=2\" is not a cross distance"},
        {{"cross-distances", "1", "L2=7", "L1=x"}, 1, "L1 must be a number, not \"x\""},
        {{"cross-distances", "1", "L2=7", "L1=-1"}, 1, "L1 must not be negative"},
        {{"cross-distances", "7"}, 2, "no road with ID 7"},
        {{"generate", "1", "--start", "0", "--end", "200"}, 1, "generate needs --rl, --lb"},
        {{"generate", "1", "--start", "zero", "--end", "200", "--rl"}, 1, "not \"zero\""},
        {{"generate", "1", "--end", "200", "--rl"}, 1, "--start is required"},
        {{"import", "1", "rl", cli.dir.filePath("no.csv")},
         2,
         "Cannot read " + cli.dir.filePath("no.csv")},
        {{"import", "1", "xs", cli.project}, 1, "the sheet must be rl or lb, not \"xs\""},
        {{"import", "1", "rl"}, 1, "missing CSV file"},
        {{"reduce", "1"}, 1, "--benchmark is required"},
        {{"reduce", "1", "--benchmark", "abc"}, 1, "not \"abc\""},
        {{"--set", "VolumeFormula=2", "recompute", "1"}, 1, "valid value for VolumeFormula"},
        {{"recompute", "1", "--csv"}, 1, "unexpected argument: --csv"},
        {{"export", "1"}, 1, "export needs --dir DIR"},
        {{"export", "--dir", cli.dir.filePath("out")}, 1, "missing road ID"},
        {{"export", "7", "--dir", cli.dir.filePath("out")}, 2, "no road with ID 7"},
        {{"masshaul", "7"}, 2, "no road with ID 7"},
        {{"masshaul", "1", "--csv", cli.dir.filePath("no/x.csv")}, 2, "No such file or directory"},
    };
    for (const Refusal& c : cases)
        expectRefused(c);
    EXPECT_EQ(cli({}), 1); // the usage
}

TEST_F(RefusedCommands, ValuesAtALimitAreTaken)
{
    // Options come first, wherever the road's ID stands.
    ASSERT_TRUE(cli.ok({"set-road", "--formation-camber", "2", "1"}));
    ASSERT_TRUE(cli.ok({"set-road", "--length", "10000000", "2", "--carriage-camber=-25"}));
    EXPECT_EQ(queryText(*cli.open(), "SELECT [Formation Camber], Length, [Carriage Camber] FROM "
                                     "Roads ORDER BY ID"),
              "2 1 0 | 3.5 10000000 -25");
    EXPECT_TRUE(
        cli.ok({"generate", "--start", "9999960", "2", "--end", "10000000", "--rl", "--force"}));
    EXPECT_EQ(cli.out, "RL_2: 3 rows\n");
    EXPECT_TRUE(cli.ok({"formation", "1", "--at", "1000", "--fc", "10000"}));
    EXPECT_TRUE(cli.ok({"cross-distances", "1", "L8=1000"}));
}

// The results are the command's outcome: when they cannot be printed, the command failed.
TEST(StandardOutput, AWriteThatFailsIsAFailure)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B"}));
    for (const QStringList& args : {QStringList{"roads"}, QStringList{"sample", "--sections", "5"},
                                    QStringList{"cross-distances", "1"}}) {
        CliProcess p(cli.dir.path(), QStringList{"--project", cli.project} + args, "/dev/full");
        EXPECT_EQ(p.finish(), 2) << args.join(' ').toStdString();
        EXPECT_EQ(p.err, "tarmela-cli: Cannot write standard output: No space left on device\n");
    }
}

// Whatever a file, the database or the command line holds, a message is one short line with
// its reason, and one road is one line of output.
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
        const std::string shown = cli.err.left(300).toStdString();
        EXPECT_TRUE(cli.err.startsWith("tarmela-cli: " + c.start)) << shown;
        EXPECT_TRUE(cli.err.endsWith(c.end + "\n")) << shown;
        EXPECT_EQ(cli.err.count('\n'), 1) << shown;
        EXPECT_LT(cli.err.size(), 240) << shown;
    }
    // (A road's name too long for a folder of its own: ExportFolderName.)
}
