// The entry point of the benchmark programs that need nothing but a Qt core application.
#include "BenchMain.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return tarmela::bench::runBenchmarks(argc, argv);
}
