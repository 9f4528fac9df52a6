// The short solver's figures on random-state cubes: each cube solved with the large tables
// (loaded from the table file, or built when it is missing), with a time budget, and with
// the small tables; each solution checked on the stickers, with lengths and times summarised.
// bench/compare_short_solver runs it beside the published solver cubejs.
//   short_solver_bench [--cubes FILE | --count N --seed S] [--write-cubes FILE]
//                      [--budget MS] [--table-file PATH]
//   short_solver_bench --build-tables    (builds the large tables in memory, timed)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "solver/core/threads.h"
#include "solver/two_phase/large_tables.h"
#include "solver/two_phase/tables.h"
#include "solver/two_phase/two_phase.h"

namespace {

using namespace cw;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The process's peak resident memory in MB, from the kernel's own record.
double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        }
    }
    return -1.0;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto at =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

double mean(const std::vector<double>& values) {
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    return sum / static_cast<double>(values.size());
}

double megabytes(std::size_t bytes) {
    return static_cast<double>(bytes) / 1048576.0;
}

// Solves every cube, checks each solution on the stickers and prints the figures; returns
// the number of cubes not solved.
int run(std::string_view label, const std::vector<std::string>& cubes,
        const two_phase::SearchLimits& limits) {
    Cube cube;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    std::map<int, int> histogram;
    int failures = 0;
    long total = 0;
    for (const std::string& text : cubes) {
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        const std::optional<two_phase::Solution> solution = two_phase::solveFacelets(text, limits);
        cpuTimes.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        times.push_back(millisecondsSince(start));
        bool solved = false;
        if (solution && loadFaceletString(cube, text).empty()) {
            for (const Move& move : two_phase::quarterTurns(*solution)) {
                cube.turn(move.face, move.clockwise);
            }
            solved = cube.isSolved();
        }
        if (!solved) {
            ++failures;
            std::fprintf(stderr, "not solved: %s\n", text.c_str());
            continue;
        }
        const int length = two_phase::faceTurnCount(*solution);
        ++histogram[length];
        total += length;
    }
    const auto solvedCount = static_cast<double>(cubes.size()) - failures;
    std::printf("%.*s: %zu cubes, %d not solved (every solution played on the stickers)\n",
                static_cast<int>(label.size()), label.data(), cubes.size(), failures);
    std::printf("  length (face turns): mean %.2f, max %d\n",
                static_cast<double>(total) / solvedCount,
                histogram.empty() ? 0 : histogram.rbegin()->first);
    std::printf("  histogram:");
    for (const auto& [length, n] : histogram) {
        std::printf(" %d:%d", length, n);
    }
    std::printf("\n  time per solve: mean %.3f ms, median %.3f ms, p99 %.3f ms, max %.3f ms\n",
                mean(times), percentile(times, 0.5), percentile(times, 0.99),
                percentile(times, 1.0));
    std::printf("  CPU time per solve: mean %.3f ms, median %.3f ms, p99 %.3f ms\n", mean(cpuTimes),
                percentile(cpuTimes, 0.5), percentile(cpuTimes, 0.99));
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    std::string cubesFile;
    std::string writeFile;
    std::filesystem::path tableFile = two_phase::defaultLargeTableFile();
    std::uint64_t count = 1000;
    std::uint64_t seed = 1;
    long budget = 0;
    bool buildOnly = false;
    for (int i = 1; i < argc; i += 2) {
        const std::string_view name = argv[i];
        if (name == "--build-tables") {
            buildOnly = true;
            --i;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "short_solver_bench: %s needs a value\n", argv[i]);
            return 2;
        }
        if (name == "--cubes") {
            cubesFile = argv[i + 1];
        } else if (name == "--write-cubes") {
            writeFile = argv[i + 1];
        } else if (name == "--count") {
            count = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (name == "--seed") {
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (name == "--budget") {
            budget = std::atol(argv[i + 1]);
        } else if (name == "--table-file") {
            tableFile = argv[i + 1];
        } else {
            std::fprintf(stderr, "short_solver_bench: unknown option %s\n", argv[i]);
            return 2;
        }
    }

    if (buildOnly) {
        two_phase::LargeTables tables;
        const auto start = Clock::now();
        two_phase::buildLargeTables(tables, core::everyCore(), std::cerr);
        std::cerr << '\n';
        std::printf("large tables: built in %.0f ms on every core, %.1f MB; peak memory %.1f MB\n",
                    millisecondsSince(start), megabytes(tables.bytes()), peakMegabytes());
        return 0;
    }

    std::vector<std::string> cubes;
    if (!cubesFile.empty()) {
        std::ifstream in(cubesFile);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty()) {
                cubes.push_back(line);
            }
        }
    } else {
        for (std::uint64_t index = 0; index < count; ++index) {
            cubes.push_back(two_phase::randomStateFacelets(seed, index));
        }
    }
    if (!writeFile.empty()) {
        std::ofstream out(writeFile);
        for (const std::string& text : cubes) {
            out << text << '\n';
        }
    }

    int failures = 0;
    two_phase::SearchLimits limits;
    limits.tables = two_phase::TableSize::large;
    const auto largeStart = Clock::now();
    const bool loaded = two_phase::prepareLargeTables(tableFile, std::cerr);
    const double largeMs = millisecondsSince(largeStart);
    const double largePeak = peakMegabytes();
    failures += run("cubewright --short", cubes, limits);
    std::printf("  tables: %s in %.0f ms, %.1f MB; peak memory %.1f MB\n",
                loaded ? "loaded from the cache" : "built (nothing to load)", largeMs,
                megabytes(two_phase::largeTables().bytes()), largePeak);

    if (budget > 0) {
        two_phase::SearchLimits budgeted = limits;
        budgeted.budget = std::chrono::milliseconds(budget);
        budgeted.targetLength = 0;
        const std::string label = "cubewright --short --budget " + std::to_string(budget);
        failures += run(label, cubes, budgeted);
    }

    const auto smallStart = Clock::now();
    two_phase::prepareTables();
    const double smallMs = millisecondsSince(smallStart);
    failures += run("cubewright --short --tables small", cubes, two_phase::SearchLimits{});
    std::printf("  tables: built in %.0f ms, %.1f MB\n", smallMs,
                megabytes(two_phase::tables().bytes()));
    return failures == 0 ? 0 : 1;
}
