#pragma once

#include "cli/Cli.h"
#include "store/Database.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace tarmela::test {

// Runs tarmela-cli commands in-process against a project and settings of its own.
struct CliRun {
    QTemporaryDir dir;
    QString project = dir.filePath("project.sqlite");
    SettingsStore settings{dir.filePath("Tarmela.ini")};
    QString out, err;
    int status = -1;

    int operator()(QStringList args)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        args.prepend(project);
        args.prepend("--project");
        status = cli::run(args, o, e, dir.path(), settings);
        return status;
    }
    std::unique_ptr<Database> open() { return Database::open(project); }
};

} // namespace tarmela::test
