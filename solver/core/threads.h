// Work run on several threads at once, the one way the solvers and the command-line tool
// start threads: a thread the system will not start is reported, never fatal, and where
// there are no threads at all (WebAssembly without shared memory) the calling thread does
// all the work.
#pragma once

#include <algorithm>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace cw::core {

/// One thread per core, or one when the system does not say how many it has.
inline unsigned everyCore() {
    return std::max(1u, std::thread::hardware_concurrency());
}

/// The threads that `jobs` asks for, where there are threads: WebAssembly without shared
/// memory has only the calling one, which then does all the work with the same result.
constexpr unsigned usableThreads(unsigned jobs) {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    static_cast<void>(jobs);
    return 1;
#else
    return jobs > 0 ? jobs : 1;
#endif
}

/// Runs `work(runner)` on up to `count` threads at once, the calling thread among them as
/// runner 0 (the others are 1, 2 ...), and returns when all have returned. Returns how many
/// ran it: fewer than `count` when the system would not start a thread (or there are no
/// threads), which only makes the work slower, so `work` must share out what there is to do
/// (taking items from a shared counter, say) so that any number of runners finishes it.
template <typename Work>
unsigned runOnThreads(unsigned count, const Work& work) {
    count = usableThreads(count);
    std::vector<std::thread> helpers;
    for (unsigned runner = 1; runner < count; ++runner) {
        try {
            helpers.emplace_back([&work, runner] { work(runner); });
        } catch (const std::system_error&) {
            break;
        }
    }
    work(0u);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return static_cast<unsigned>(helpers.size()) + 1;
}

/// Runs `work` on a thread of its own while the calling thread goes on, until the guard is
/// destroyed; when no thread can be started, runs it at once on the calling thread, which
/// `startedBeside()` then reports.
class Beside {
public:
    template <typename Work>
    explicit Beside(Work work) {
        if (usableThreads(2) > 1) {
            try {
                thread_ = std::thread(std::move(work));
                return;
            } catch (const std::system_error&) {
            }
        }
        work();
    }
    Beside(const Beside&) = delete;
    Beside& operator=(const Beside&) = delete;
    ~Beside() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    /// Whether the work runs on a thread of its own, rather than having run already.
    bool startedBeside() const { return thread_.joinable(); }

private:
    std::thread thread_;
};

} // namespace cw::core
