// The entry point of the benchmark programs that paint text (pages, PDFs, images), which needs
// a GUI application; no display is needed.
#include "BenchMain.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return tarmela::bench::runBenchmarks(argc, argv);
}
