#include "BenchMain.h"

#include <cstring>
#include <vector>

namespace tarmela::bench
{

namespace
{

struct OwnCommand {
    const char* name = nullptr;
    int (*run)(int, char**) = nullptr;
};

OwnCommand& ownCommand()
{
    static OwnCommand command;
    return command;
}

std::vector<void (*)()>& releases()
{
    static std::vector<void (*)()> all;
    return all;
}

} // namespace

bool atBenchEnd(void (*release)())
{
    releases().push_back(release);
    return true;
}

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
    for (auto it = releases().rbegin(); it != releases().rend(); ++it)
        (*it)();
    return 0;
}

} // namespace tarmela::bench
