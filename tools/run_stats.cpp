// cubewright-solve --stats: the program's solver over a run of consecutive seeds, every
// solution checked, summed up in one line. Called through runRequest.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <vector>

#include "cube/random.h"
#include "tools/ordered_jobs.h"
#include "tools/runners.h"

namespace cw::tools {
namespace {

/// What --stats found over a run of consecutive seeds.
struct StatsTally {
    std::uint64_t solved = 0;
    std::uint64_t totalLength = 0;
    std::size_t shortest = std::numeric_limits<std::size_t>::max();
    std::size_t longest = 0;
    std::vector<std::uint32_t> failedSeeds;
};

/// Seeds one thread of --stats takes at a time: enough that handing them out costs
/// nothing next to solving them, few enough that the threads finish together.
constexpr std::uint64_t kSeedsPerBatch = 256;

/// Solves the seeds first..first+count-1 one after another on the calling thread.
StatsTally solveSeeds(Cube& cube, std::uint64_t first, std::uint64_t count) {
    StatsTally tally;
    for (std::uint64_t i = 0; i < count; ++i) {
        const auto seed = static_cast<std::uint32_t>(first + i);
        cw::srand(seed);
        cube.reset();
        if (!solveAndCheck(cube)) {
            tally.failedSeeds.push_back(seed);
            continue;
        }
        const std::size_t length = cube.pending.size();
        ++tally.solved;
        tally.totalLength += length;
        tally.shortest = std::min(tally.shortest, length);
        tally.longest = std::max(tally.longest, length);
    }
    return tally;
}

} // namespace

int runStats(const SolveOptions& options) {
    const std::uint32_t first = options.firstSeed.value_or(0);
    const std::uint64_t count = *options.statsCount;
    struct Batch {
        std::uint64_t first;
        std::uint64_t count;
    };
    const std::uint64_t end = std::uint64_t{first} + count;
    std::uint64_t nextSeed = first;
    const auto nextBatch = [&]() -> std::optional<Batch> {
        if (nextSeed == end) {
            return std::nullopt;
        }
        const Batch batch{nextSeed, std::min(kSeedsPerBatch, end - nextSeed)};
        nextSeed += batch.count;
        return batch;
    };

    StatsTally total;
    std::uint64_t failures = 0;
    constexpr std::uint64_t kFailuresListed = 10;
    const auto start = std::chrono::steady_clock::now();
    runInOrder<Cube, Batch, StatsTally>(
        options.jobs.value_or(defaultJobs()), nextBatch,
        [](Cube& cube, const Batch& batch) { return solveSeeds(cube, batch.first, batch.count); },
        [&](const StatsTally& tally, bool) {
            // Batches arrive in seed order, so the failures listed are the first ones.
            for (const std::uint32_t seed : tally.failedSeeds) {
                if (failures < kFailuresListed) {
                    std::fprintf(stderr, "cubewright-solve: seed %u was not solved\n", seed);
                }
                ++failures;
            }
            total.solved += tally.solved;
            total.totalLength += tally.totalLength;
            total.shortest = std::min(total.shortest, tally.shortest);
            total.longest = std::max(total.longest, tally.longest);
        });
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    const std::uint64_t last = end - 1;
    std::printf(
        "seeds %u to %llu: %llu solved, %llu failed", first, static_cast<unsigned long long>(last),
        static_cast<unsigned long long>(total.solved), static_cast<unsigned long long>(failures));
    if (total.solved > 0) {
        std::printf("; solution length min %zu, mean %.2f, max %zu quarter turns", total.shortest,
                    static_cast<double>(total.totalLength) / static_cast<double>(total.solved),
                    total.longest);
    }
    std::printf("; %.0f solves/s\n",
                elapsed.count() > 0 ? static_cast<double>(count) / elapsed.count() : 0.0);
    return failures == 0 ? 0 : kExitFailed;
}

} // namespace cw::tools
