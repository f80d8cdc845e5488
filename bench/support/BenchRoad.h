#pragma once

// Long roads for the benchmarks, and SQLite's own interface for the floors they are measured
// against: what the same rows cost the database alone, in the same run as the program.
#include "store/Database.h"

#include <QTemporaryDir>
#include <cstdint>
#include <memory>

struct sqlite3;

namespace tarmela::bench
{

// A project in a temporary folder with one road whose RL sheet has n sections 20 m apart over
// rolling ground, the formation sometimes above it and sometimes below, every reading present
// and widths, crust and slopes given (as after the first recomputation of a road). Cross
// distances 1.5 m left, 1.75 m right.
struct BenchRoad {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::int64_t road = 0;
};
std::unique_ptr<BenchRoad> makeBenchRoad(std::int64_t sections);
// One such road per length, made at the first call (and then prepared, when prepare is
// given) and shared by every later call of the same program, released when the benchmarks end.
// Each benchmark program prepares its roads one way only.
BenchRoad& sharedBenchRoad(std::int64_t sections, void (*prepare)(BenchRoad&) = nullptr);
// The same road written into an existing project; returns its ID.
std::int64_t addBenchRoad(Database& db, std::int64_t sections);

// A temporary folder for a benchmark's project: below TARMELA_BENCH_DIR when that is set (to
// measure on another disk), else in the system's temporary folder.
std::unique_ptr<QTemporaryDir> benchFolder();

// Runs one statement through SQLite alone; aborts the benchmark program on failure.
void execOrDie(sqlite3* db, const char* sql);

} // namespace tarmela::bench
