// What the runners of cubewright-solve share: the choice of runner, their output lines,
// and one cube solved by either solver with its solution checked on the stickers.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <limits>

#include "solver/layer_by_layer/layer_by_layer.h"
#include "solver/two_phase/large_tables.h"
#include "solver/two_phase/two_phase.h"
#include "tools/runners.h"

namespace cw::tools {
namespace {

/// "1 face turn", "2 face turns".
std::string counted(int count, std::string_view what) {
    return std::to_string(count) + " " + std::string(what) + (count == 1 ? "" : "s");
}

} // namespace

bool movesSolve(Cube& cube, const MoveList& moves) {
    const FaceletArray start = cube.facelets;
    for (const Move& move : moves) {
        cube.turn(move.face, move.clockwise);
    }
    const bool solved = cube.isSolved();
    cube.facelets = start;
    return solved;
}

int runRequest(const SolveOptions& options) {
    prepareShortTables(options);
    if (options.statsCount) {
        return runStats(options);
    }
    if (options.scrambleCount) {
        return runScrambles(options);
    }
    if (options.batch()) {
        return options.optimalSolver ? runOptimalLines(options) : runFaceletLines(options);
    }
    return runOneCube(options);
}

void printLine(std::string_view label, const std::string& text) {
    std::printf("%.*s:%s%s\n", static_cast<int>(label.size()), label.data(),
                text.empty() ? "" : " ", text.c_str());
}

void printError(const std::string& message) {
    std::fprintf(stderr, "cubewright-solve: %s\n", message.c_str());
}

notation::Style moveStyle(const SolveOptions& options) {
    return options.compact ? notation::Style::kCompact : notation::Style::kQuarterTurns;
}

bool solveAndCheck(Cube& cube) {
    prepareForSolve(cube);
    return solve(cube) && movesSolve(cube, cube.pending);
}

two_phase::SearchLimits shortLimits(const SolveOptions& options) {
    two_phase::SearchLimits limits;
    limits.tables = options.tables.value_or(two_phase::kDefaultTableSize);
    if (options.budgetMs) {
        limits.budget = std::chrono::milliseconds(*options.budgetMs);
        limits.targetLength = 0;
    }
    if (options.maxLength) {
        // The small tables' search otherwise gives up at its node limit.
        limits.targetLength = static_cast<int>(*options.maxLength);
        if (!options.budgetMs) {
            limits.nodeLimit = std::numeric_limits<std::uint64_t>::max();
        }
    }
    return limits;
}

void prepareShortTables(const SolveOptions& options) {
    if ((options.shortSolver || options.scrambleCount) &&
        shortLimits(options).tables == two_phase::TableSize::large) {
        two_phase::prepareLargeTables(options.noCache ? std::filesystem::path()
                                                      : two_phase::defaultLargeTableFile(),
                                      std::cerr);
    }
}

std::optional<std::string> solutionText(Cube& cube, const SolveOptions& options) {
    if (!options.shortSolver) {
        if (!solveAndCheck(cube)) {
            return std::nullopt;
        }
        return notation::formatMoves(cube.pending, moveStyle(options));
    }
    const std::optional<two_phase::Solution> found = two_phase::solve(cube, shortLimits(options));
    if (!found || !movesSolve(cube, two_phase::quarterTurns(*found))) {
        return std::nullopt;
    }
    std::string text = two_phase::formatSolution(*found);
    if (!text.empty()) {
        text += ' ';
    }
    return text + "(" + counted(two_phase::faceTurnCount(*found), "face turn") + ", " +
           counted(two_phase::quarterTurnCount(*found), "quarter turn") + ")";
}

} // namespace cw::tools
