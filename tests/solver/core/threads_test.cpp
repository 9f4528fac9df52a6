// Tests of the one way work is run on several threads: every runner runs it once, with its
// own number, the calling thread among them, and work shared through a counter is all done
// whatever the number of runners.
#include "solver/core/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace cw::core {
namespace {

TEST(Threads, EveryRunnerRunsTheWorkOnceTheCallerAsRunnerZero) {
    for (const unsigned count : {0u, 1u, 2u, 7u}) {
        std::mutex mutex;
        std::multiset<unsigned> runners;
        std::thread::id callerRan;
        const unsigned ran = runOnThreads(count, [&](unsigned runner) {
            const std::lock_guard<std::mutex> lock(mutex);
            runners.insert(runner);
            if (runner == 0) {
                callerRan = std::this_thread::get_id();
            }
        });
#ifdef __EMSCRIPTEN__
        // The page has one thread: the caller runs the work alone and says so.
        const unsigned expected = 1;
#else
        const unsigned expected = count == 0 ? 1 : count;
#endif
        EXPECT_EQ(ran, expected) << count;
        ASSERT_EQ(runners.size(), expected) << count;
        for (unsigned runner = 0; runner < expected; ++runner) {
            EXPECT_EQ(runners.count(runner), 1u) << runner << " of " << count;
        }
        EXPECT_EQ(callerRan, std::this_thread::get_id());
    }
}

TEST(Threads, WorkSharedThroughACounterIsAllDone) {
    constexpr int kItems = 10000;
    std::vector<std::atomic<int>> done(kItems);
    std::atomic<int> next{0};
    runOnThreads(4, [&](unsigned) {
        for (int i = next.fetch_add(1); i < kItems; i = next.fetch_add(1)) {
            done[static_cast<std::size_t>(i)].fetch_add(1);
        }
    });
    for (const std::atomic<int>& item : done) {
        ASSERT_EQ(item.load(), 1);
    }
}

TEST(Threads, BesideRunsTheWorkByTheTimeTheGuardGoes) {
    std::atomic<bool> ran{false};
    {
        const Beside beside([&ran] { ran = true; });
        EXPECT_TRUE(beside.startedBeside() || ran);
    }
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace cw::core
