// The optimal solver's figures: the pattern table's build (or load) time, then cubes near
// solved, 16-move scrambles and random states solved with it, each with its time, length
// and search rate, and a summary line per set. Run by hand (see the README); not a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "solver/core/cubie.h"
#include "solver/optimal/pattern_table.h"
#include "solver/optimal/search.h"
#include "solver/optimal/table_file.h"
#include "solver/two_phase/two_phase.h"
#include "tools/optimal_solve.h"

namespace {

using namespace cw;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

CubieCube scrambled(std::mt19937& random, int length) {
    CubieCube cube;
    int last = -1;
    for (int i = 0; i < length;) {
        const int m = static_cast<int>(random() % core::kMoveCount);
        if (last >= 0 && core::moveFace(m) == core::moveFace(last)) {
            continue;
        }
        cube = core::multiply(cube, core::moveCube(m));
        last = m;
        ++i;
    }
    return cube;
}

template <typename Table>
void solveSet(std::string_view name, const std::vector<CubieCube>& cubes, const Table& table,
              unsigned jobs) {
    std::vector<double> seconds;
    std::uint64_t nodes = 0;
    int totalLength = 0;
    int proven = 0;
    for (std::size_t i = 0; i < cubes.size(); ++i) {
        optimal::SearchSettings settings;
        settings.jobs = jobs;
        const Clock::time_point start = Clock::now();
        const optimal::OptimalSolution solution =
            optimal::solveOptimal(cubes[i], table, settings, two_phase::solvePieces(cubes[i]));
        seconds.push_back(secondsSince(start));
        nodes += solution.nodes;
        totalLength += static_cast<int>(solution.moves.size());
        proven += solution.optimal() ? 1 : 0;
        std::printf("%.*s %2zu: %2zu face turns%s, %8.2f s, %12llu nodes  %s\n",
                    static_cast<int>(name.size()), name.data(), i, solution.moves.size(),
                    solution.optimal() ? " (optimal)" : "", seconds.back(),
                    static_cast<unsigned long long>(solution.nodes),
                    two_phase::formatSolution(solution.moves).c_str());
        std::fflush(stdout);
    }
    if (cubes.empty()) {
        return;
    }
    std::vector<double> sorted = seconds;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted.size() % 2 == 1
                              ? sorted[sorted.size() / 2]
                              : (sorted[sorted.size() / 2 - 1] + sorted[sorted.size() / 2]) / 2;
    double total = 0;
    for (const double s : seconds) {
        total += s;
    }
    std::printf("%.*s: %zu cubes, %d proven optimal, mean length %.2f; median %.2f s, "
                "max %.2f s; %.1f M nodes/s\n\n",
                static_cast<int>(name.size()), name.data(), cubes.size(), proven,
                static_cast<double>(totalLength) / static_cast<double>(cubes.size()), median,
                sorted.back(), total > 0 ? static_cast<double>(nodes) / total / 1e6 : 0.0);
    std::fflush(stdout);
}

int count(const char* text) {
    return std::max(0, std::atoi(text));
}

template <typename Table>
void solveAll(const Table& table, unsigned jobs, int near, int sixteen, int random) {
    std::mt19937 generator(2026);
    std::vector<CubieCube> cubes;
    for (int i = 0; i < near; ++i) {
        cubes.push_back(scrambled(generator, 12));
    }
    solveSet("12 moves", cubes, table, jobs);
    cubes.clear();
    for (int i = 0; i < sixteen; ++i) {
        cubes.push_back(scrambled(generator, 16));
    }
    solveSet("16 moves", cubes, table, jobs);
    cubes.clear();
    for (int i = 0; i < random; ++i) {
        cubes.push_back(*core::fromFacelets(
            two_phase::randomStateFacelets(2026, static_cast<std::uint64_t>(i))));
    }
    solveSet("random state", cubes, table, jobs);
}

// Loads the table from the cache folder, or builds and stores it, and says how long it took.
template <typename Table>
void prepare(Table& table, unsigned jobs) {
    const Clock::time_point start = Clock::now();
    bool built = false;
    optimal::BuildHooks hooks;
    hooks.starting = [&built] { built = true; };
    hooks.progress = [start](std::uint64_t filled) {
        static double lastShown = -10;
        const double now = secondsSince(start);
        if (now - lastShown >= 10) {
            lastShown = now;
            std::printf("  building: %5.1f %% after %.0f s\n",
                        100.0 * static_cast<double>(filled) / static_cast<double>(Table::kEntries),
                        now);
            std::fflush(stdout);
        }
    };
    const std::filesystem::path file = optimal::defaultTableFile(Table::kSliceValues > 495);
    optimal::loadOrBuild(table, file, jobs, std::cerr, hooks);
    std::printf("pattern table %s in %.1f s (%zu MB, %s)\n\n", built ? "built" : "loaded",
                secondsSince(start), Table::kBytes >> 20, file.string().c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    int near = 20;
    int sixteen = 10;
    int random = 20;
    bool large = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        if (name == "--jobs") {
            jobs = static_cast<unsigned>(std::max(1, count(argv[i + 1])));
        } else if (name == "--near") {
            near = count(argv[i + 1]);
        } else if (name == "--sixteen") {
            sixteen = count(argv[i + 1]);
        } else if (name == "--table") {
            large = std::string_view(argv[i + 1]) != "medium";
        } else if (name == "--random") {
            random = count(argv[i + 1]);
        } else {
            std::fprintf(stderr, "usage: optimal_solver_bench [--jobs N] [--near N] "
                                 "[--sixteen N] [--random N] [--table medium|large]\n");
            return 2;
        }
    }
    std::printf("jobs %u\n", jobs);

    two_phase::prepareTables();
    if (large) {
        const auto table = std::make_unique<optimal::LargePatternTable>();
        prepare(*table, jobs);
        solveAll(*table, jobs, near, sixteen, random);
    } else {
        const auto table = std::make_unique<optimal::MediumPatternTable>();
        prepare(*table, jobs);
        solveAll(*table, jobs, near, sixteen, random);
    }
    return 0;
}
