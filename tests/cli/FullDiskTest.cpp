// Writing onto a full disk or a device: the command fails naming the file and the system's
// reason, and an earlier file stays as it was.
#include "CliProcess.h"
#include "CliSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// A small file system of its own (a tmpfs), mounted for the life of the object. Mounting needs
// root (as in CI); elsewhere the tests that need one are skipped.
struct SmallDisk {
    QTemporaryDir dir;
    bool mounted = false;
    explicit SmallDisk(const char* size)
    {
        if (::geteuid() != 0)
            return;
        mounted = QProcess::execute("mount", {"-t", "tmpfs", "-o", QString("size=") + size, "tmpfs",
                                              dir.path()}) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            QProcess::execute("umount", {"-l", dir.path()});
    }
    QString path(const QString& name) const { return dir.filePath(name); }
};

#define SKIP_WITHOUT(disk)                                                                         \
    if (!(disk).mounted)                                                                           \
    GTEST_SKIP() << "mounting a small tmpfs needs root; the full-disk cases were not run"

} // namespace

TEST(FullDisk, OutputsFailWithTheReasonAndLeaveTheEarlierFile)
{
    SmallDisk disk("64k");
    SKIP_WITHOUT(disk);
    CliRun cli;
    ASSERT_TRUE(cli.ok({"sample", "--sections", "600"}));
    const QString folder = disk.path("Ranipur to Kalaghat");
    const struct {
        QStringList args;
        QString file;
        QString label; // what the export names before the message
    } cases[] = {
        {{"export-csv", "1", "rl", disk.path("rl.csv")}, disk.path("rl.csv"), ""},
        {{"export", "1", "--dir", disk.path(""), "--level-book"},
         folder + "/Level Book.htm",
         "Level Book (Html): "},
        {{"export", "1", "--dir", disk.path(""), "--xsection"},
         folder + "/XSection.dxf",
         "Cross Section (DXF): "},
        {{"export", "1", "--dir", disk.path(""), "--pdf", "--level-book"},
         folder + "/Level Book.pdf",
         "Level Book (PDF): "},
    };
    markRoadFolder(folder, cli.project);
    for (const auto& c : cases) {
        writeFile(c.file, "earlier");
        const CliResult r = runCli(cli.dir.path(), QStringList{"--project", cli.project} + c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "tarmela-cli: " + c.label + "Cannot write " + c.file +
                             ": No space left on device\n");
        EXPECT_EQ(readFile(c.file), "earlier");
        EXPECT_EQ(leftovers(QFileInfo(c.file).absolutePath()), QStringList());
    }
}

TEST(FullDisk, AFullProjectDiskGivesOneLineAndKeepsTheProject)
{
    SmallDisk disk("400k");
    SKIP_WITHOUT(disk);
    const QString project = disk.path("project.sqlite");
    ASSERT_EQ(runCli(disk.path(""), {"--project", project, "new-road", "--from", "A", "--to", "B"})
                  .status,
              0);
    for (const QStringList& args :
         {QStringList{"sample", "--sections", "5000"},
          QStringList{"generate", "1", "--start", "0", "--end", "1000000", "--rl", "--lb"}}) {
        const CliResult r = runCli(disk.path(""), QStringList{"--project", project} + args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err, "tarmela-cli: database or disk is full\n");
    }
    const CliResult roads = runCli(disk.path(""), {"--project", project, "roads"});
    EXPECT_EQ(roads.out.count('\n'), 2) << roads.err.toStdString(); // the heading and road A
}

TEST(FullDisk, ADeviceIsWrittenDirectlyAndNeverReplaced)
{
    CliRun cli;
    ASSERT_TRUE(cli.ok({"new-road", "--from", "A", "--to", "B"}));
    ASSERT_TRUE(cli.ok({"generate", "1", "--start", "0", "--end", "100", "--rl"}));
    const struct {
        const char* device;
        int status;
        QString err;
    } cases[] = {
        {"/dev/full", 2, "tarmela-cli: Cannot write /dev/full: No space left on device\n"},
        {"/dev/null", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli({"export-csv", "1", "rl", c.device}), c.status) << c.device;
        EXPECT_EQ(cli.err, c.err);
        struct stat st {
        };
        ASSERT_EQ(::stat(c.device, &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << c.device << " was replaced";
    }
}
