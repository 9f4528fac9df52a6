// cubewright-solve --facelets -: facelet strings one a line from standard input, solved
// on several threads and answered line for line in input order. Called through runRequest.
#include <cstdio>
#include <iostream>
#include <utility>

#include "cube/facelet_string.h"
#include "tools/ordered_jobs.h"
#include "tools/runners.h"

namespace cw::tools {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

int runFaceletLines(const SolveOptions& options) {
    struct Line {
        std::uint64_t number;
        std::string text;
    };
    struct Outcome {
        std::uint64_t number = 0;
        std::optional<std::string> solution;
        std::string error; ///< empty, or why the line was not solved
        bool badInput = false;
    };

    std::uint64_t lineNumber = 0;
    const auto nextLine = [&]() -> std::optional<Line> {
        std::string text;
        if (!std::getline(std::cin, text)) {
            return std::nullopt;
        }
        return Line{++lineNumber, std::move(text)};
    };
    const auto solveLine = [&options](Cube& cube, const Line& line) {
        Outcome outcome;
        outcome.number = line.number;
        outcome.error = loadFaceletString(cube, trimmed(line.text));
        if (!outcome.error.empty()) {
            outcome.badInput = true;
            return outcome;
        }
        outcome.solution = solutionText(cube, options);
        if (!outcome.solution) {
            outcome.error = kNotSolved;
        }
        return outcome;
    };

    bool anyBad = false;
    bool anyFailed = false;
    const auto emit = [&](const Outcome& outcome, bool pending) {
        if (outcome.solution) {
            printLine("solution", *outcome.solution);
        } else {
            // An empty line keeps every later result on the line of its input.
            std::fputs("\n", stdout);
            std::fflush(stdout);
            printError("line " + std::to_string(outcome.number) + ": " +
                       notation::printable(outcome.error, 200));
            (outcome.badInput ? anyBad : anyFailed) = true;
        }
        // Someone typing strings in sees each result as soon as it is there.
        if (!pending) {
            std::fflush(stdout);
        }
    };
    std::ios::sync_with_stdio(false);
    runInOrder<Cube, Line, Outcome>(options.jobs.value_or(defaultJobs()), nextLine, solveLine,
                                    emit);
    std::fflush(stdout);
    return anyBad ? kExitUsage : anyFailed ? kExitFailed : 0;
}

} // namespace cw::tools
