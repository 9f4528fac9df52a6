// The move-list node pool each Cube owns; see move_list_pool.h.
#include "cube/move_list_pool.h"

#include <new>

namespace cw {

struct MoveListPool::Block {
    Block* next;
    Slot slots[kSlotsPerBlock];
};

MoveListPool::~MoveListPool() {
    while (blocks_ != nullptr) {
        Block* next = blocks_->next;
        delete blocks_;
        blocks_ = next;
    }
}

std::size_t MoveListPool::blockBytes() {
    return sizeof(Block);
}

void MoveListPool::addBlock() {
    auto* block = new Block;
    block->next = blocks_;
    blocks_ = block;
    // Threaded back to front, so that the first slots of a block are handed out first.
    for (std::size_t i = kSlotsPerBlock; i-- > 0;) {
        block->slots[i].next = free_;
        free_ = &block->slots[i];
    }
}

void* MoveListPool::do_allocate(std::size_t bytes, std::size_t alignment) {
    if (!fitsSlot(bytes, alignment)) {
        return pmr::new_delete_resource()->allocate(bytes, alignment);
    }
    if (free_ == nullptr) {
        addBlock();
    }
    Slot* slot = free_;
    free_ = slot->next;
    return slot;
}

void MoveListPool::do_deallocate(void* memory, std::size_t bytes, std::size_t alignment) {
    if (!fitsSlot(bytes, alignment)) {
        pmr::new_delete_resource()->deallocate(memory, bytes, alignment);
        return;
    }
    free_ = ::new (memory) Slot{free_};
}

} // namespace cw
