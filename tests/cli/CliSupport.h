#pragma once

#include "cli/Cli.h"
#include "store/Database.h"
#include "support/TestProject.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace tarmela::test
{

// Runs tarmela-cli commands in-process against a project and settings of its own.
struct CliRun {
    QTemporaryDir dir;
    QString project = dir.filePath("project.sqlite");
    SettingsStore settings{dir.filePath("Tarmela.ini")};
    QString out, err;
    int status = -1;

    int operator()(const QStringList& args)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        status = cli::run(QStringList{"--project", project} + args, o, e, dir.path(), settings);
        return status;
    }
    // Runs a command that must succeed, saying what it printed on standard error if not.
    bool ok(const QStringList& args)
    {
        const int s = (*this)(args);
        EXPECT_EQ(s, 0) << args.join(' ').toStdString() << ": " << err.toStdString();
        return s == 0;
    }
    std::unique_ptr<Database> open() { return Database::open(project); }
};

// Everything under a folder: each entry's path, kind and bytes (links as their targets, not
// followed), so that a refused command can be shown to have written, moved or removed nothing.
inline std::string folderState(const QString& folder)
{
    std::string state;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList entries;
    while (it.hasNext())
        entries << it.next();
    entries.sort();
    for (const QString& path : entries) {
        const QFileInfo info(path);
        state += path.mid(folder.size()).toStdString();
        if (info.isSymLink())
            state += " -> " + info.symLinkTarget().toStdString();
        else if (info.isFile())
            state += " = " + QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1)
                                 .toHex()
                                 .toStdString();
        state += "\n";
    }
    return state;
}

// The temporary files an unfinished write would leave in a folder.
inline QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList(QStringList{".tarmela-??????"}, QDir::Files | QDir::Hidden);
}

// Marks a folder as the export folder of a road of the project, as an earlier export did.
inline void markRoadFolder(const QString& folder, const QString& project, int road = 1)
{
    QDir().mkpath(folder);
    writeFile(folder + "/.tarmela-road", "road=" + QByteArray::number(road) + "\nproject=" +
                                             QFileInfo(project).absoluteFilePath().toUtf8() + "\n");
}

// Road 1 from Ana to Bel in the C locale, cambers 0: a level formation over flat ground at
// 100, width 10, FC 101, 102 and 98 at 900, 1000 and 1100 (fill 13, fill 30, cut 30).
struct CliFlatRoad : ::testing::Test {
    CliRun cli;
    QLocale saved;
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        ASSERT_EQ(cli({"new-road", "--from", "Ana", "--to", "Bel", "--formation-camber", "0",
                       "--carriage-camber", "0"}),
                  0);
        QString ground = "Width = 10, C = 100";
        for (int k = 1; k <= 8; ++k)
            ground += QStringLiteral(", L%1 = 100, R%1 = 100").arg(k);
        auto db = cli.open();
        db->exec("INSERT INTO RL_1 (ID, Chainage, FC) VALUES (1, 900, 101), (2, 1000, 102), "
                 "(3, 1100, 98)");
        db->exec("UPDATE RL_1 SET " + ground);
    }
    void TearDown() override { QLocale::setDefault(saved); }
};

} // namespace tarmela::test
