// Counts every C++ allocation the main loop makes after start-up, through a replaced
// global operator new, while the cubes play back solutions and the user presses M, Space
// and face keys. Once the cubes exist, the only allocations allowed are move-list nodes.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>

#include "app/keys.h"
#include "app/main_loop.h"
#include "app/world.h"
#include "cube/cube.h"
#include "cube/random.h"
#include "solver/solver.h"
#include "tests/robustness/scripted_platform.h"

namespace {

// The recorder must not allocate itself, so it keeps a fixed table of (size, count).
struct AllocationRecord {
    static constexpr std::size_t kMaxSizes = 64;

    void clear() {
        distinct = 0;
        total = 0;
        overflowed = false;
    }

    void note(std::size_t size) {
        ++total;
        for (std::size_t i = 0; i < distinct; ++i) {
            if (sizes[i] == size) {
                ++counts[i];
                return;
            }
        }
        if (distinct == kMaxSizes) {
            overflowed = true;
            return;
        }
        sizes[distinct] = size;
        counts[distinct] = 1;
        ++distinct;
    }

    std::array<std::size_t, kMaxSizes> sizes{};
    std::array<std::size_t, kMaxSizes> counts{};
    std::size_t distinct = 0;
    std::size_t total = 0;
    bool overflowed = false;
};

AllocationRecord gRecord;
bool gCounting = false;

void* allocate(std::size_t size, std::size_t alignment) {
    if (gCounting) {
        gCounting = false; // nothing below allocates, but never count twice
        gRecord.note(size);
        gCounting = true;
    }
    const std::size_t bytes = size == 0 ? 1 : size;
    void* memory =
        alignment > alignof(std::max_align_t)
            ? std::aligned_alloc(alignment, (bytes + alignment - 1) / alignment * alignment)
            : std::malloc(bytes);
    return memory;
}

void* allocateOrThrow(std::size_t size, std::size_t alignment) {
    void* memory = allocate(size, alignment);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

// Counts the allocations made while it lives.
class CountingScope {
public:
    CountingScope() {
        gRecord.clear();
        gCounting = true;
    }
    ~CountingScope() { gCounting = false; }
    CountingScope(const CountingScope&) = delete;
    CountingScope& operator=(const CountingScope&) = delete;
};

std::string describe(const AllocationRecord& record) {
    std::ostringstream text;
    for (std::size_t i = 0; i < record.distinct; ++i) {
        text << record.counts[i] << " x " << record.sizes[i] << " bytes; ";
    }
    if (record.overflowed) {
        text << "and more sizes than the table holds";
    }
    return text.str();
}

// The size of one node of a move list, as the list itself asks for it.
std::size_t moveListNodeSize() {
    cw::MoveList list;
    AllocationRecord seen;
    {
        CountingScope scope;
        list.push_back(cw::Move(0, true));
        seen = gRecord;
    }
    EXPECT_EQ(seen.total, 1u) << describe(seen);
    return seen.distinct == 1 ? seen.sizes[0] : 0;
}

} // namespace

void* operator new(std::size_t size) {
    return allocateOrThrow(size, 0);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size, 0);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size, 0);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size, 0);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

namespace {

constexpr std::uint64_t kFrames = 600;

// A quarter turn a frame, so that solutions finish inside the run: the main cube's auto-solve
// switches itself off, and background cubes recede and are restarted with a fresh solve.
constexpr float kQuickTurnSpeed = 90.0f;

TEST(Allocation, CountingSeesAMoveListNode) {
    // A list node holds a Move and two links, so it is larger than a Move alone.
    EXPECT_GT(moveListNodeSize(), sizeof(cw::Move));
}

TEST(Allocation, AfterStartUpPlaybackMAndSpaceAllocateOnlyMoveListNodes) {
    const std::size_t nodeSize = moveListNodeSize();
    ASSERT_NE(nodeSize, 0u);

    // Start-up, as the program does it (with a fixed seed).
    static cw::World world;
    cw::srand(7);
    world.prepareBackground();
    world.mainCube.setTurnSpeed(kQuickTurnSpeed);
    for (cw::Cube& cube : world.background) {
        cube.setTurnSpeed(kQuickTurnSpeed);
    }

    cw::robustness::ScriptedPlatform platform;
    platform.press(5, cw::key::letter('M'));           // auto-solve on: solve and play back
    platform.press(40, cw::key::letter('M'));          // off mid-playback: pending dropped
    platform.press(50, cw::key::kSpace);               // a fresh scramble
    platform.schedule(60, cw::key::letter('W'), true); // held: front turns queue
    platform.schedule(80, cw::key::letter('W'), false);
    platform.schedule(80, cw::key::kRight, true);
    platform.schedule(100, cw::key::kRight, false);
    platform.press(110, cw::key::letter('M')); // solve the turned cube and finish
    platform.press(450, cw::key::kSpace);
    platform.press(460, cw::key::letter('M'));
    platform.schedule(kFrames, cw::key::kEscape, true);

    cw::MainLoop loop(world, platform);
    bool sawMainCubeSolveFinish = false;
    int backgroundRestarts = 0;
    AllocationRecord seen;
    {
        CountingScope scope;
        bool wasAutoSolving = false;
        std::array<bool, cw::kBackgroundCount> wasSolved{};
        while (loop.runPass()) {
            // Only reads here: nothing in this loop body may allocate.
            if (wasAutoSolving && !world.mainCube.autoSolve() && world.mainCube.isSolved()) {
                sawMainCubeSolveFinish = true;
            }
            wasAutoSolving = world.mainCube.autoSolve();
            // A solved background cube becomes unsolved only by its restart at the back.
            for (std::size_t i = 0; i < wasSolved.size(); ++i) {
                const bool solved = world.background[i].solverState() == cw::kStateSolved;
                if (wasSolved[i] && !solved) {
                    ++backgroundRestarts;
                }
                wasSolved[i] = solved;
            }
        }
        seen = gRecord;
    }

    EXPECT_EQ(platform.framesDrawn(), kFrames);
    // The run did exercise what it is meant to.
    EXPECT_TRUE(sawMainCubeSolveFinish);
    EXPECT_GT(backgroundRestarts, 0);
    EXPECT_GT(seen.total, 0u);

    EXPECT_FALSE(seen.overflowed);
    for (std::size_t i = 0; i < seen.distinct; ++i) {
        EXPECT_EQ(seen.sizes[i], nodeSize) << describe(seen);
    }
}

} // namespace
