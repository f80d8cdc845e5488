#include "BenchMain.h"

#include <cstring>

namespace tarmela::bench {

namespace {

struct OwnCommand {
    const char* name = nullptr;
    int (*run)(int, char**) = nullptr;
};

OwnCommand& ownCommand()
{
    static OwnCommand command;
    return command;
}

} // namespace

void setOwnCommand(const char* name, int (*run)(int argc, char** argv))
{
    ownCommand() = {name, run};
}

int runBenchmarks(int argc, char** argv)
{
    const OwnCommand& own = ownCommand();
    if (own.run && argc > 1 && std::strcmp(argv[1], own.name) == 0)
        return own.run(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tarmela::bench
