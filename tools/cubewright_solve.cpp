// cubewright-solve: runs the program's own solver from the command line, on the cube a
// seed scrambles, on moves or on a real cube's stickers (one, or one a line from standard
// input), checks it over many seeds, and offers the short two-phase solver and
// random-state scrambles beside it. This file reads the command line and hands it on.
#include <cstdio>
#include <string_view>
#include <variant>
#include <vector>

#include "tools/runners.h"
#include "tools/solve_options.h"

int main(int argc, char** argv) {
    using namespace cw::tools;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const std::variant<SolveOptions, UsageError> parsed = parseSolveOptions(arguments);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        printError(usage->message);
        return kExitUsage;
    }
    const SolveOptions& options = std::get<SolveOptions>(parsed);
    if (options.help) {
        const std::string_view help = solveHelp();
        std::fwrite(help.data(), 1, help.size(), stdout);
        return 0;
    }
    return runRequest(options);
}
