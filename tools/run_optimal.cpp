// cubewright-solve --optimal: one cube, or facelet strings one a line, each searched on all
// threads with the pattern table made ready once. Called through runRequest and runOneCube.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

#include "cube/facelet_string.h"
#include "solver/two_phase/two_phase.h"
#include "tools/optimal_solve.h"
#include "tools/ordered_jobs.h"
#include "tools/runners.h"

namespace cw::tools {
namespace {

/// The table, the threads, the budget and the Ctrl-C flag of one run.
class OptimalRun {
public:
    explicit OptimalRun(const SolveOptions& options)
        : jobs_(options.jobs.value_or(defaultJobs())), budgetMs_(options.budgetMs) {
        std::string error;
        solver_ = OptimalSolver::open(options.tableSize.value_or(optimal::TableSize::packed), jobs_,
                                      error);
        if (!solver_) {
            printError(error);
            return;
        }
        // Only the search gives way to Ctrl-C: a table half built is never written.
        stop_ = &catchInterrupt();
    }

    bool ready() const { return solver_ != nullptr; }

    /// Ctrl-C was pressed.
    bool interrupted() const { return stop_ != nullptr && stop_->load(); }

    /// The "solution:" text for the cube's live stickers, or nothing when the moves do
    /// not solve them.
    std::optional<std::string> solve(Cube& cube) const {
        const std::optional<CubieCube> pieces = core::fromFacelets(faceletString(cube));
        if (!pieces) {
            return std::nullopt;
        }
        optimal::SearchSettings settings;
        settings.jobs = jobs_;
        settings.stop = stop_;
        if (budgetMs_) {
            settings.deadline =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(*budgetMs_);
        }
        const optimal::OptimalSolution found = solver_->solve(*pieces, settings);
        if (!movesSolve(cube, two_phase::quarterTurns(found.moves))) {
            return std::nullopt;
        }
        return optimalText(found);
    }

private:
    unsigned jobs_;
    std::optional<std::uint64_t> budgetMs_;
    std::unique_ptr<OptimalSolver> solver_;
    const std::atomic<bool>* stop_ = nullptr;
};

} // namespace

int printOptimalSolution(Cube& cube, const SolveOptions& options) {
    std::fflush(stdout);
    const OptimalRun run(options);
    if (!run.ready()) {
        return kExitFailed;
    }
    const std::optional<std::string> solution = run.solve(cube);
    if (!solution) {
        printError(std::string(kNotSolved));
        return kExitFailed;
    }
    printLine("solution", *solution);
    return run.interrupted() ? kExitInterrupted : 0;
}

int runOptimalLines(const SolveOptions& options) {
    const OptimalRun run(options);
    if (!run.ready()) {
        return kExitFailed;
    }
    bool anyBad = false;
    bool anyFailed = false;
    Cube cube;
    std::string text;
    for (std::uint64_t number = 1; std::getline(std::cin, text); ++number) {
        std::string error = loadFaceletString(cube, trimmed(text));
        std::optional<std::string> solution;
        if (error.empty()) {
            solution = run.solve(cube);
            if (!solution) {
                error = kNotSolved;
                anyFailed = true;
            }
        } else {
            anyBad = true;
        }
        if (solution) {
            printLine("solution", *solution);
        } else {
            // An empty line keeps every later result on the line of its input.
            std::fputs("\n", stdout);
            std::fflush(stdout);
            printError("line " + std::to_string(number) + ": " + notation::printable(error, 200));
        }
        std::fflush(stdout);
        if (run.interrupted()) {
            return kExitInterrupted;
        }
    }
    return anyBad ? kExitUsage : anyFailed ? kExitFailed : 0;
}

} // namespace cw::tools
