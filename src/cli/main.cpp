#include "cli/Cli.h"
#include "store/Error.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>

namespace
{

// The tool prints its own messages, one line each. Notes Qt's libraries would add on the way
// (such as a missing runtime folder when a PDF is written from a cron job) say nothing about
// the command's outcome and would turn one message into several lines: they are dropped; only
// a critical or fatal one is printed, on one line.
void libraryMessage(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "tarmela-cli: %s\n", qUtf8Printable(tarmela::oneLine(text)));
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(libraryMessage);
    // Pages written as PDF hold text, and the mass-haul drawing measures its texts so that
    // none lies on another: both need a GUI application, which runs on the offscreen platform
    // so that the batch tool needs no display.
    bool pages = false;
    for (int i = 1; i < argc; ++i)
        pages = pages || std::strcmp(argv[i], "--pdf") == 0 || std::strcmp(argv[i], "export") == 0;
    if (pages && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (pages)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarmela"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tarmela"));
    // Unbuffered on the descriptor itself, so that a failed write (a full disk, a closed pipe)
    // is seen when the results are flushed, with the system's reason.
    QFile standardOutput;
    standardOutput.open(1, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QTextStream out(&standardOutput);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return tarmela::cli::run(args, out, err, QCoreApplication::applicationDirPath(),
                             tarmela::SettingsStore());
}
