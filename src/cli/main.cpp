#include "cli/Cli.h"
#include "store/Error.h"

#include <QFile>
#include <QGuiApplication>
#include <QStringDecoder>
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

// An argument that is not UTF-8 would reach the program with its odd bytes replaced, and a
// file of another name than the one given would be read or written: it is refused, with the
// bytes shown as \xNN.
bool refuseNonUtf8(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        QStringDecoder utf8(QStringDecoder::Utf8);
        [[maybe_unused]] const QString text = utf8(bytes);
        if (!utf8.hasError())
            continue;
        QByteArray shown;
        for (const char c : bytes)
            shown +=
                (c & 0x80) || c < 0x20
                    ? QByteArray("\\x") + QByteArray::number(uchar(c), 16).rightJustified(2, '0')
                    : QByteArray(1, c);
        std::fprintf(stderr,
                     "tarmela-cli: the argument \"%s\" is not UTF-8 text; give names and texts in "
                     "UTF-8\n",
                     tarmela::oneLine(QString::fromLatin1(shown.left(200))).toLatin1().constData());
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(libraryMessage);
    if (refuseNonUtf8(argc, argv))
        return 1;
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
