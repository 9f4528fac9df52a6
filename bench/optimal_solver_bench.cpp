// The optimal solver's figures: the pattern table's build (or load) time, then cubes near
// solved, 16-move scrambles and random states solved with it, each with its time, length
// and search rate, a summary line per set and the figures for each optimal length; with
// --symmetric N, the first N cubes of each set also solved as their inverse and mirror
// image, which must prove the same length; with --before N, the first N cubes of each set
// also solved by the search as it was before it bounded positions by their inverse, which
// must give the same moves (or, where the two-phase search found the solution, as many),
// with both times and node counts (the exit status is 1 when any of these differ). Each
// length from 18 on is first asked of the two-phase search, as cubewright-solve does, unless
// --try off. Run by hand (see docs/performance.md); not a test.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "solver/core/cubie.h"
#include "solver/core/symmetry.h"
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

// One cube's search.
struct Solved {
    int length = 0;
    double seconds = 0;
    std::uint64_t nodes = 0;
};

// How often random cubes have each optimal length (a million random cubes solved
// optimally); lengths below 16 are too rare to weigh.
constexpr std::array<std::pair<int, double>, 4> kRandomLengthShare = {
    {{16, 0.026}, {17, 0.267}, {18, 0.670}, {19, 0.034}}};

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// For each optimal length, how many cubes, their mean and worst time and positions. For
// random states also the mean and median with each length weighed by its share of random
// cubes, so that a set with more or fewer 17s than usual does not move them.
void perLength(std::string_view name, const std::vector<Solved>& solved, bool randomStates) {
    std::map<int, std::vector<const Solved*>> byLength;
    for (const Solved& s : solved) {
        byLength[s.length].push_back(&s);
    }
    for (const auto& [length, cubes] : byLength) {
        double seconds = 0;
        double worst = 0;
        double nodes = 0;
        double mostNodes = 0;
        for (const Solved* s : cubes) {
            seconds += s->seconds;
            worst = std::max(worst, s->seconds);
            nodes += static_cast<double>(s->nodes);
            mostNodes = std::max(mostNodes, static_cast<double>(s->nodes));
        }
        const auto n = static_cast<double>(cubes.size());
        std::printf("  %2d face turns: %3zu cubes, mean %8.2f s, worst %8.2f s; positions mean "
                    "%14.0f, worst %14.0f\n",
                    length, cubes.size(), seconds / n, worst, nodes / n, mostNodes);
    }
    if (!randomStates) {
        return;
    }
    // Each cube's weight: its length's share of random cubes over the cubes of that length.
    std::vector<std::pair<double, double>> weighted; // seconds, weight
    double present = 0;
    std::string missing;
    for (const auto& [length, share] : kRandomLengthShare) {
        const auto found = byLength.find(length);
        if (found == byLength.end()) {
            missing.push_back(' ');
            missing.append(std::to_string(length));
            continue;
        }
        present += share;
        for (const Solved* s : found->second) {
            weighted.emplace_back(s->seconds, share / static_cast<double>(found->second.size()));
        }
    }
    if (weighted.empty()) {
        return;
    }
    std::sort(weighted.begin(), weighted.end());
    double mean = 0;
    for (const auto& [seconds, weight] : weighted) {
        mean += seconds * weight / present;
    }
    double reached = 0;
    double median = weighted.back().first;
    for (const auto& [seconds, weight] : weighted) {
        reached += weight / present;
        if (reached >= 0.5) {
            median = seconds;
            break;
        }
    }
    std::printf("%.*s, each length weighed by its share of random cubes (16: 2.6 %%, 17: "
                "26.7 %%, 18: 67.0 %%, 19: 3.4 %%%s%s): mean %.2f s, median %.2f s\n",
                static_cast<int>(name.size()), name.data(), missing.empty() ? "" : "; none of",
                missing.c_str(), mean, median);
}

// How many cubes at the start of each set are also solved as their inverse and their mirror image,
// which must prove the same length: a different one means a bound that is not a true lower bound.
int symmetricChecks = 0;
// How many cubes at the start of each set are also solved by the search as it was before it
// bounded positions by their inverse (--before N): the same moves, compared time and nodes.
int compareBefore = 0;
int symmetricChecked = 0;
int mismatches = 0;

// Whether the two-phase search is asked for each length from 18 on first, as
// cubewright-solve asks it (--try on, the default), or the search takes every length itself.
bool tryTwoPhase = true;

template <typename Table>
int provenLength(const CubieCube& cube, const Table& table, unsigned jobs) {
    optimal::SearchSettings settings;
    settings.jobs = jobs;
    if (tryTwoPhase) {
        settings.tryLength = tools::twoPhaseTry(cube);
    }
    return optimal::solveOptimal(cube, table, settings, two_phase::solvePieces(cube)).provenLength;
}

template <typename Table>
void solveSet(std::string_view name, const std::vector<CubieCube>& cubes, const Table& table,
              unsigned jobs, bool randomStates = false) {
    std::vector<double> seconds;
    std::vector<Solved> solved;
    std::uint64_t nodes = 0;
    int totalLength = 0;
    int proven = 0;
    // The same cubes by the search as it was before it bounded positions by their inverse.
    double beforeSeconds = 0;
    double afterSeconds = 0;
    std::uint64_t beforeNodes = 0;
    std::uint64_t afterNodes = 0;
    std::size_t compared = 0;
    for (std::size_t i = 0; i < cubes.size(); ++i) {
        const auto timed = [&](bool inverseBounds, double& took) {
            optimal::SearchSettings settings;
            settings.jobs = jobs;
            settings.inverseBounds = inverseBounds;
            // The search before inverse bounds had no two-phase tries either.
            if (inverseBounds && tryTwoPhase) {
                settings.tryLength = tools::twoPhaseTry(cubes[i]);
            }
            const Clock::time_point start = Clock::now();
            optimal::OptimalSolution found =
                optimal::solveOptimal(cubes[i], table, settings, two_phase::solvePieces(cubes[i]));
            took = secondsSince(start);
            return found;
        };
        double took = 0;
        double before = 0;
        optimal::OptimalSolution old;
        const bool compare = static_cast<int>(i) < compareBefore;
        // Old and new take turns to go first, so that neither always meets a warmer cache.
        if (compare && i % 2 == 1) {
            old = timed(false, before);
        }
        const optimal::OptimalSolution solution = timed(true, took);
        if (compare && i % 2 == 0) {
            old = timed(false, before);
        }
        seconds.push_back(took);
        solved.push_back({solution.provenLength, seconds.back(), solution.nodes});
        nodes += solution.nodes;
        totalLength += static_cast<int>(solution.moves.size());
        proven += solution.optimal() ? 1 : 0;
        std::printf("%.*s %2zu: %2zu face turns%s%s, %8.2f s, %12llu nodes  %s\n",
                    static_cast<int>(name.size()), name.data(), i, solution.moves.size(),
                    solution.optimal() ? " (optimal)" : "", solution.tried ? " (two-phase)" : "",
                    seconds.back(), static_cast<unsigned long long>(solution.nodes),
                    two_phase::formatSolution(solution.moves).c_str());
        if (compare) {
            ++compared;
            beforeSeconds += before;
            afterSeconds += took;
            beforeNodes += old.nodes;
            afterNodes += solution.nodes;
            // A solution the two-phase search found is another of the same length.
            const bool same = solution.tried ? old.moves.size() == solution.moves.size() &&
                                                   old.optimal() && solution.optimal()
                                             : old.moves == solution.moves;
            std::printf("%.*s %2zu: before %8.2f s, %12llu nodes%s\n",
                        static_cast<int>(name.size()), name.data(), i, before,
                        static_cast<unsigned long long>(old.nodes), same ? "" : "  OTHER MOVES");
            mismatches += same ? 0 : 1;
        }
        if (static_cast<int>(i) < symmetricChecks) {
            // Symmetry 1 is the mirror that swaps left and right.
            const int inverse = provenLength(core::inverseOf(cubes[i]), table, jobs);
            const int mirror = provenLength(core::conjugate(cubes[i], 1), table, jobs);
            const bool same = inverse == solution.provenLength && mirror == solution.provenLength;
            ++symmetricChecked;
            mismatches += same ? 0 : 1;
            std::printf("%.*s %2zu: inverse %d, mirror image %d face turns%s\n",
                        static_cast<int>(name.size()), name.data(), i, inverse, mirror,
                        same ? "" : "  MISMATCH");
        }
        std::fflush(stdout);
    }
    if (cubes.empty()) {
        return;
    }
    const double median = medianOf(seconds);
    const double worst = *std::max_element(seconds.begin(), seconds.end());
    double total = 0;
    for (const double s : seconds) {
        total += s;
    }
    std::printf("%.*s: %zu cubes, %d proven optimal, mean length %.2f; median %.2f s, "
                "max %.2f s; %.1f M nodes/s\n",
                static_cast<int>(name.size()), name.data(), cubes.size(), proven,
                static_cast<double>(totalLength) / static_cast<double>(cubes.size()), median, worst,
                total > 0 ? static_cast<double>(nodes) / total / 1e6 : 0.0);
    if (compared > 0) {
        std::printf("%.*s, the first %zu beside the search before inverse bounds: %.2f s and "
                    "%.1f M nodes now, %.2f s and %.1f M nodes before (%.2fx the time, %.2fx "
                    "the nodes)\n",
                    static_cast<int>(name.size()), name.data(), compared, afterSeconds,
                    static_cast<double>(afterNodes) / 1e6, beforeSeconds,
                    static_cast<double>(beforeNodes) / 1e6,
                    afterSeconds > 0 ? beforeSeconds / afterSeconds : 0.0,
                    afterNodes > 0
                        ? static_cast<double>(beforeNodes) / static_cast<double>(afterNodes)
                        : 0.0);
    }
    perLength(name, solved, randomStates);
    std::printf("\n");
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
    solveSet("random state", cubes, table, jobs, true);
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
    const std::filesystem::path file = optimal::defaultTableFile(Table::kTableSize);
    optimal::loadOrBuild(table, file, jobs, std::cerr, hooks);
    std::printf("pattern table %s in %.1f s (%zu MB, %s)\n\n", built ? "built" : "loaded",
                secondsSince(start), static_cast<std::size_t>(Table::kBytes >> 20),
                file.string().c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    int near = 20;
    int sixteen = 10;
    int random = 40;
    std::string_view size = "large";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        if (name == "--jobs") {
            jobs = static_cast<unsigned>(std::max(1, count(argv[i + 1])));
        } else if (name == "--near") {
            near = count(argv[i + 1]);
        } else if (name == "--sixteen") {
            sixteen = count(argv[i + 1]);
        } else if (name == "--table") {
            size = argv[i + 1];
            if (size != "huge" && size != "packed" && size != "large" && size != "medium") {
                std::fprintf(stderr, "--table needs huge, packed, large or medium\n");
                return 2;
            }
        } else if (name == "--random") {
            random = count(argv[i + 1]);
        } else if (name == "--before") {
            compareBefore = count(argv[i + 1]);
        } else if (name == "--symmetric") {
            symmetricChecks = count(argv[i + 1]);
        } else if (name == "--try") {
            const std::string_view value = argv[i + 1];
            if (value != "on" && value != "off") {
                std::fprintf(stderr, "--try needs on or off\n");
                return 2;
            }
            tryTwoPhase = value == "on";
        } else {
            std::fprintf(stderr, "usage: optimal_solver_bench [--jobs N] [--near N] "
                                 "[--sixteen N] [--random N] [--table medium|large|packed|huge] "
                                 "[--symmetric N] [--before N] [--try on|off]\n");
            return 2;
        }
    }
    std::printf("jobs %u\n", jobs);

    two_phase::prepareTables();
    if (size == "packed") {
        const auto medium = std::make_unique<optimal::MediumPatternTable>();
        prepare(*medium, jobs);
        const auto table = std::make_unique<optimal::PackedHugePatternTable>();
        prepare(*table, jobs);
        table->lookBelowIn(*medium);
        solveAll(*table, jobs, near, sixteen, random);
    } else if (size == "huge") {
        const auto table = std::make_unique<optimal::HugePatternTable>();
        prepare(*table, jobs);
        solveAll(*table, jobs, near, sixteen, random);
    } else if (size == "large") {
        const auto table = std::make_unique<optimal::LargePatternTable>();
        prepare(*table, jobs);
        solveAll(*table, jobs, near, sixteen, random);
    } else {
        const auto table = std::make_unique<optimal::MediumPatternTable>();
        prepare(*table, jobs);
        solveAll(*table, jobs, near, sixteen, random);
    }
    if (symmetricChecked > 0) {
        std::printf("inverse and mirror image: checked %d cubes\n", symmetricChecked);
    }
    if (mismatches > 0) {
        std::printf("%d cubes proved another length or got other moves\n", mismatches);
    }
    return mismatches == 0 ? 0 : 1;
}
