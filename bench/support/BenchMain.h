#pragma once

// What the benchmark programs share around their benchmarks: one entry point
// (BenchMain.cpp, or BenchGuiMain.cpp for the programs that paint text, chosen in
// bench/CMakeLists.txt), a program's own command beside the benchmarks, and the form of the
// benchmarks registered at run time.
#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarmela::bench
{

// Runs the benchmarks that the command line selects, or the program's own command when the
// first argument names it. Returns the program's exit code.
int runBenchmarks(int argc, char** argv);

// Gives the program a command of its own: when the first argument is `name`, run(argc, argv)
// runs in place of the benchmarks and its result is the exit code. Called while the program's
// statics are made (see registered below).
void setOwnCommand(const char* name, int (*run)(int argc, char** argv));

// Runs release when the benchmarks have ended, while the application still exists. The
// projects that statics keep between benchmarks are released there: destroyed with the
// statics, after the application, their database connections crash the program on its way out.
//   static std::map<...> roads;
//   [[maybe_unused]] static const bool released = atBenchEnd([] { roads.clear(); });
bool atBenchEnd(void (*release)());

// Registers fn as `name` for one set of named arguments (none when args is empty), reported
// in milliseconds and run for at least minSeconds.
template <class Fn>
void addTimed(const char* name, Fn&& fn, const std::vector<std::string>& argNames,
              const std::vector<std::int64_t>& args, double minSeconds = 1.0)
{
    benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(name, std::forward<Fn>(fn));
    b->Unit(benchmark::kMillisecond)->MinTime(minSeconds);
    if (!args.empty())
        b->ArgNames(argNames)->Args(args);
}

// Runs setUp while the program's statics are made, before main: the place for registrations
// that loop over lengths or methods, as the BENCHMARK macro does for a single one.
//   const bool kRegistered = registered([] { ... });
template <class SetUp> bool registered(SetUp setUp)
{
    setUp();
    return true;
}

} // namespace tarmela::bench
