// The engine behind --jobs: results come out in input order whatever order the threads
// finish in, and every thread keeps its own state.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "tools/ordered_jobs.h"

namespace cw::tools {
namespace {

/// Per-thread state: the thread that built it, and whether another thread ever used it.
struct Owner {
    std::thread::id builtOn = std::this_thread::get_id();
    bool sharedWithAnother = false;
};

/// A result. It copies what it needs from the state: a thread's state is gone once the
/// thread runs out of inputs, maybe before its last result is handed on.
struct Done {
    std::uint64_t input = 0;
    std::thread::id owner;
    bool sharedWithAnother = false;
};

TEST(RunInOrder, ResultsComeOutInInputOrderAndEachThreadKeepsItsState) {
    // More inputs than read ahead, and early ones slow, so later ones finish first.
    constexpr std::uint64_t kInputs = 3000;
    for (const unsigned jobs : {1u, 3u}) {
        SCOPED_TRACE(jobs);
        std::uint64_t next = 0;
        std::vector<std::uint64_t> order;
        std::set<std::thread::id> owners;
        bool lastPending = true;
        runInOrder<Owner, std::uint64_t, Done>(
            jobs,
            [&]() -> std::optional<std::uint64_t> {
                return next == kInputs ? std::nullopt : std::optional<std::uint64_t>(next++);
            },
            [](Owner& owner, std::uint64_t input) {
                if (owner.builtOn != std::this_thread::get_id()) {
                    owner.sharedWithAnother = true;
                }
                if (input % 500 == 0) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
                return Done{input, owner.builtOn, owner.sharedWithAnother};
            },
            [&](const Done& done, bool pending) {
                order.push_back(done.input);
                owners.insert(done.owner);
                EXPECT_FALSE(done.sharedWithAnother);
                lastPending = pending;
            });

        ASSERT_EQ(order.size(), kInputs);
        for (std::size_t i = 0; i < kInputs; ++i) {
            ASSERT_EQ(order[i], i);
        }
        EXPECT_LE(owners.size(), jobs);
        EXPECT_FALSE(lastPending);
    }
}

TEST(RunInOrder, NoInputsGiveNoResults) {
    int emitted = 0;
    runInOrder<Owner, int, int>(
        2, []() -> std::optional<int> { return std::nullopt; },
        [](Owner&, int input) { return input; }, [&](int, bool) { ++emitted; });
    EXPECT_EQ(emitted, 0);
}

} // namespace
} // namespace cw::tools
