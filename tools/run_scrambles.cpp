// cubewright-solve --scramble: random-state scrambles from a seed, given or fresh, each
// as its moves and its stickers. Called through runRequest.
#include <cstdio>
#include <ctime>
#include <random>

#include "solver/two_phase/two_phase.h"
#include "tools/ordered_jobs.h"
#include "tools/runners.h"

namespace cw::tools {
namespace {

/// A seed for --scramble when none is given: different from run to run.
std::uint64_t freshScrambleSeed() {
    std::random_device device;
    const std::uint64_t high = device();
    const std::uint64_t low = device();
    return (high << 32 ^ low) ^ static_cast<std::uint64_t>(std::time(nullptr));
}

} // namespace

int runScrambles(const SolveOptions& options) {
    const std::uint64_t seed = options.scrambleSeed.value_or(freshScrambleSeed());
    const std::uint64_t count = *options.scrambleCount;
    std::uint64_t next = 0;
    const auto nextIndex = [&]() -> std::optional<std::uint64_t> {
        return next == count ? std::nullopt : std::optional<std::uint64_t>(next++);
    };
    struct Stateless {};
    runInOrder<Stateless, std::uint64_t, two_phase::Scramble>(
        options.jobs.value_or(defaultJobs()), nextIndex,
        [seed](Stateless&, std::uint64_t index) { return two_phase::randomScramble(seed, index); },
        [](const two_phase::Scramble& scramble, bool pending) {
            printLine("scramble", two_phase::formatSolution(scramble.moves));
            printLine("facelets", scramble.facelets);
            if (!pending) {
                std::fflush(stdout);
            }
        });
    return 0;
}

} // namespace cw::tools
