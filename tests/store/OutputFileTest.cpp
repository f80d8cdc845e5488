#include "store/OutputFile.h"
#include "store/Error.h"
#include "support/TestProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/stat.h>

using namespace tarmela;
using namespace tarmela::test;

TEST(OutputFile, ReplacesTheTargetOnlyWhenCommittedAndFailuresNameTheReason)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("out.csv");
    const QString link = dir.filePath("link.csv");
    writeFile(target, "earlier");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(target, link));
    {
        OutputFile abandoned(target);
        abandoned.put(QByteArray(1 << 20, 'x')); // more than the buffer holds
        EXPECT_EQ(readFile(target), "earlier");
    }
    EXPECT_EQ(readFile(target), "earlier");
    {
        // Through the link: the file it points to is replaced, the link stays.
        OutputFile out(link);
        QTextStream text(&out);
        text << "new " << 42;
        text.flush();
        out.commit();
    }
    EXPECT_EQ(readFile(target), "new 42");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat st {
    };
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // the permissions of the file it replaced
    // Nothing but the two names is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);

    // Failures name the file and the reason.
    const QString readOnly = dir.filePath("read-only.csv");
    writeFile(readOnly, "earlier");
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    const struct {
        QString path;
        bool viaDevice; // written through the QIODevice interface (a QPdfWriter's way)
        QString message;
    } cases[] = {
        {"/dev/full", true, "Cannot write /dev/full: No space left on device"},
        {dir.filePath("missing/out.csv"), false,
         "Cannot write " + dir.filePath("missing/out.csv") + ": No such file or directory"},
        {readOnly, false, "Cannot write " + readOnly + ": Permission denied"},
    };
    for (const auto& c : cases) {
        const auto e = thrown([&] {
            OutputFile out(c.path);
            const QByteArray block(1 << 19, 'x');
            if (c.viaDevice)
                EXPECT_EQ(out.write(block), -1);
            else
                out.put(block);
            out.commit();
        });
        ASSERT_TRUE(e) << c.path.toStdString();
        EXPECT_EQ(e->kind(), ErrorKind::Io);
        EXPECT_EQ(e->message(), c.message);
    }
    EXPECT_EQ(readFile(readOnly), "earlier");
}
