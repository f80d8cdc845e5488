// The entry point of the benchmark programs that drive the desktop program's windows
// (offscreen, no display needed).
#include "BenchMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return tarmela::bench::runBenchmarks(argc, argv);
}
