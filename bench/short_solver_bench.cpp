// The short solver's figures on random-state cubes: table build time and peak memory, then
// every cube solved, its solution checked on the stickers, and the lengths and times per
// solve summarised. bench/compare_short_solver runs it beside the published solver.
//   short_solver_bench [--cubes FILE | --count N --seed S] [--write-cubes FILE]
//                      [--target LENGTH --nodes LIMIT]   (the search limits, to tune them)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
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

} // namespace

int main(int argc, char** argv) {
    std::string cubesFile;
    std::string writeFile;
    std::uint64_t count = 1000;
    std::uint64_t seed = 1;
    two_phase::SearchLimits limits;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        if (name == "--cubes") {
            cubesFile = argv[i + 1];
        } else if (name == "--write-cubes") {
            writeFile = argv[i + 1];
        } else if (name == "--count") {
            count = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (name == "--target") {
            limits.targetLength = std::atoi(argv[i + 1]);
        } else if (name == "--nodes") {
            limits.nodeLimit = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (name == "--tables") {
            limits.tables = std::string_view(argv[i + 1]) == "small" ? two_phase::TableSize::small
                                                                     : two_phase::TableSize::large;
        } else if (name == "--budget") {
            limits.budget = std::chrono::milliseconds(std::atoll(argv[i + 1]));
            limits.targetLength = 0;
        } else if (name == "--seed") {
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        } else {
            std::fprintf(stderr, "short_solver_bench: unknown option %s\n", argv[i]);
            return 2;
        }
    }

    const auto tablesStart = Clock::now();
    if (limits.tables == two_phase::TableSize::large) {
        two_phase::prepareLargeTables(two_phase::defaultLargeTableFile(), std::cerr);
    } else {
        two_phase::prepareTables();
    }
    const double tableMs = millisecondsSince(tablesStart);
    const double tableMb = peakMegabytes();

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

    Cube cube;
    std::vector<double> times;
    std::map<int, int> histogram;
    int failures = 0;
    long total = 0;
    for (const std::string& text : cubes) {
        const auto start = Clock::now();
        const std::optional<two_phase::Solution> solution = two_phase::solveFacelets(text, limits);
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
    double meanMs = 0;
    for (const double t : times) {
        meanMs += t / static_cast<double>(times.size());
    }
    std::printf("cubewright two-phase: %zu cubes, %d not solved (every solution played on the "
                "stickers)\n",
                cubes.size(), failures);
    std::printf("  length (face turns): mean %.2f, max %d\n",
                static_cast<double>(total) / solvedCount,
                histogram.empty() ? 0 : histogram.rbegin()->first);
    std::printf("  histogram:");
    for (const auto& [length, n] : histogram) {
        std::printf(" %d:%d", length, n);
    }
    std::printf("\n  time per solve: mean %.3f ms, median %.3f ms, p99 %.3f ms\n", meanMs,
                percentile(times, 0.5), percentile(times, 0.99));
    std::printf("  tables: %.0f ms to build, %.1f MB of tables, peak memory %.1f MB after "
                "building, %.1f MB at the end\n",
                tableMs, static_cast<double>(two_phase::tables().bytes()) / 1048576.0, tableMb,
                peakMegabytes());
    return failures == 0 ? 0 : 1;
}
