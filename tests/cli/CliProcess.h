#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace tarmela::test
{

// The batch tool as a program of its own, for what only a real process shows: everything it
// prints (library warnings included), exit codes, and several programs on one project at once.
// Its settings live in `home`, never in the user's own.
struct CliProcess {
    QProcess process;

    CliProcess(const QString& home, const QStringList& args, const QString& standardOutput = {})
    {
        if (!standardOutput.isEmpty())
            process.setStandardOutputFile(standardOutput);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        // As under cron: no runtime folder, which Qt's libraries warn about.
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TARMELA_TEST_BIN_DIR "/tarmela-cli"), args);
    }
    // Waits for the end; the exit status, or -1 when the program did not end normally.
    int finish()
    {
        if (!process.waitForFinished(60000))
            process.kill();
        process.waitForFinished();
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QString out, err;
};

// Runs the batch tool to the end.
struct CliResult {
    int status = -1;
    QString out, err;
};
inline CliResult runCli(const QString& home, const QStringList& args)
{
    CliProcess p(home, args);
    return {p.finish(), p.out, p.err}; // in this order
}

} // namespace tarmela::test
