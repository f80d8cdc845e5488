#include "cli/Cli.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char* argv[])
{
    // Pages written as PDF hold text, which needs a GUI application; it runs on the offscreen
    // platform so that the batch tool needs no display.
    bool pages = false;
    for (int i = 1; i < argc; ++i)
        pages = pages || std::strcmp(argv[i], "--pdf") == 0;
    if (pages && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (pages)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarmela"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tarmela"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return tarmela::cli::run(args, out, err, QCoreApplication::applicationDirPath(),
                             tarmela::SettingsStore());
}
