// The memory a cube's two move lists take their nodes from. Each Cube owns one pool, so a
// cube that is solved again and again reuses the nodes of its earlier solves instead of
// asking the heap for every recorded move.
#pragma once

#include <cstddef>

#include "cube/memory_resource.h"
#include "cube/move.h"

namespace cw {

/// A free list of fixed-size slots carved out of blocks that are kept until the pool is
/// destroyed. Requests that fit a slot (every node of a MoveList) are served from it;
/// any other request goes to the heap. Not synchronised: a pool belongs to one cube, and
/// a cube is worked on by one thread at a time.
class MoveListPool final : public pmr::memory_resource {
public:
    /// Slots in each block taken from the heap. A solve keeps a few hundred nodes alive.
    static constexpr std::size_t kSlotsPerBlock = 128;

    MoveListPool() = default;
    ~MoveListPool() override;
    MoveListPool(const MoveListPool&) = delete;
    MoveListPool& operator=(const MoveListPool&) = delete;

    /// The size of each block the pool takes from the heap; it takes nothing else.
    static std::size_t blockBytes();

private:
    // Shaped like a list node: two links and the value.
    struct NodeShape {
        void* links[2];
        Move value;
    };
    union Slot {
        Slot* next;
        alignas(NodeShape) unsigned char storage[sizeof(NodeShape)];
    };
    struct Block;

    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) override;
    bool do_is_equal(const pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }

    static bool fitsSlot(std::size_t bytes, std::size_t alignment) {
        return bytes <= sizeof(Slot) && alignment <= alignof(Slot);
    }
    void addBlock();

    Slot* free_ = nullptr;
    Block* blocks_ = nullptr;
};

} // namespace cw
