// Work on several threads with the results handed on in input order: the engine behind
// cubewright-solve's --jobs, for --stats, --scramble and facelet strings read from
// standard input.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "solver/core/threads.h"

namespace cw::tools {

/// The number of threads --jobs means by default: one per core.
inline unsigned defaultJobs() {
    return core::everyCore();
}

/// Inputs read ahead of the oldest result not yet handed on, at most. This bounds the
/// memory a slow input holds up, and keeps every thread busy meanwhile.
inline constexpr std::uint64_t kReadAhead = 1024;

/// Takes inputs from `next` until it returns nothing, runs `work(state, input)` on each,
/// and hands every result to `emit(result, pending)` in the order the inputs came, each as
/// soon as it and all before it are done. `pending` is true while inputs already taken
/// still wait to be handed on (an emitter that prints can flush when it is false).
///
/// `jobs` threads do the work, the calling thread being one of them; with one job all of
/// it runs on the calling thread. Each thread has its own `State`, built on that thread,
/// so anything a run keeps per thread stays with it; a result must not point into it, as
/// a thread's state ends when the thread finds no more input, which may be before its
/// last result is handed on. `next` is called by one thread at a
/// time and may block, as a read from a pipe does; `emit` is called by one thread at a
/// time, in order.
template <typename State, typename Input, typename Result, typename Next, typename Work,
          typename Emit>
void runInOrder(unsigned jobs, Next&& next, Work&& work, Emit&& emit) {
    std::mutex inputMutex;  // held while an input is taken: `next` and `exhausted`
    std::mutex resultMutex; // held for everything below it
    std::condition_variable progress;
    bool exhausted = false;
    std::uint64_t taken = 0;
    std::uint64_t emitted = 0;
    std::map<std::uint64_t, Result> done;

    const auto runWorker = [&] {
        State state;
        for (;;) {
            std::optional<Input> input;
            std::uint64_t index = 0;
            {
                const std::lock_guard<std::mutex> inputLock(inputMutex);
                if (exhausted) {
                    return;
                }
                {
                    std::unique_lock<std::mutex> lock(resultMutex);
                    progress.wait(lock, [&] { return taken - emitted < kReadAhead; });
                }
                input = next();
                if (!input) {
                    exhausted = true;
                    return;
                }
                const std::lock_guard<std::mutex> lock(resultMutex);
                index = taken++;
            }

            Result result = work(state, *input);

            const std::lock_guard<std::mutex> lock(resultMutex);
            done.emplace(index, std::move(result));
            for (auto first = done.begin(); first != done.end() && first->first == emitted;
                 first = done.begin()) {
                ++emitted;
                emit(first->second, emitted != taken);
                done.erase(first);
            }
            progress.notify_all();
        }
    };

    // Any number of workers takes every input in the end, so fewer threads than asked for
    // (one, in WebAssembly without shared memory) hand on the same results.
    core::runOnThreads(jobs, [&runWorker](unsigned) { runWorker(); });
}

} // namespace cw::tools
