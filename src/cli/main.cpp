#include "cli/Cli.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarmela"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tarmela"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return tarmela::cli::run(args, out, err, QCoreApplication::applicationDirPath(),
                             tarmela::SettingsStore());
}
