// Depth tables that a breadth-first search fills from several threads at once, in the packed
// form the solvers keep them in.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace cw::core {

/// Depths packed two to a byte, the low half first, in a table's own storage, while a
/// breadth-first search fills them there from several threads at once. 15 marks a depth not yet
/// known, which is also what a packed table keeps for every depth from 15 on: a search stops before
/// depth 15 and leaves the rest as they are.
class SharedDepths {
public:
    static constexpr int kUnknown = 15;

    /// Marks all `size` depths in `bytes` unknown.
    SharedDepths(std::span<std::uint8_t> bytes, std::size_t size)
        : bytes_(bytes.data()), size_(size) {
        std::fill(bytes.begin(), bytes.end(), std::uint8_t{0xFF});
    }

    std::size_t size() const { return size_; }

    int load(std::size_t index) const { return loadByte(index >> 1) >> shift(index) & 15; }

    /// Stores `depth` (below 15) when the entry is still unknown; true when this call stored it.
    bool storeIfUnknown(std::size_t index, int depth) {
        const int at = shift(index);
        const auto clear = static_cast<std::uint8_t>(~(15 << at));
#ifdef __cpp_lib_atomic_ref
        std::atomic_ref<std::uint8_t> both(bytes_[index >> 1]);
        std::uint8_t old = both.load(std::memory_order_relaxed);
        while ((old >> at & 15) == kUnknown) {
            const auto updated = static_cast<std::uint8_t>((old & clear) | depth << at);
            if (both.compare_exchange_weak(old, updated, std::memory_order_relaxed)) {
                return true;
            }
        }
        return false;
#else
        std::uint8_t& both = bytes_[index >> 1];
        if ((both >> at & 15) != kUnknown) {
            return false;
        }
        both = static_cast<std::uint8_t>((both & clear) | depth << at);
        return true;
#endif
    }

    /// Stores `depth` in every entry still unknown, while no other thread stores any.
    void fillUnknown(int depth) {
        for (std::size_t at = 0; at < size_ / 2; ++at) {
            fillByte(at, 0xFF, depth);
        }
        if (size_ % 2 != 0) {
            fillByte(size_ / 2, 0x0F, depth);
        }
    }

    /// The threads a search may fill the depths from: one where bytes cannot be shared.
    static unsigned usableThreads(unsigned threads) {
#ifdef __cpp_lib_atomic_ref
        return threads;
#else
        (void)threads;
        return 1;
#endif
    }

private:
    static int shift(std::size_t index) {
        return static_cast<int>(index & 1) * 4;
    }

    // Sets the unknown halves among `halves` (0x0F, 0xF0 or both) of byte `at` to `depth`.
    void fillByte(std::size_t at, unsigned halves, int depth) {
        unsigned byte = bytes_[at];
        for (const unsigned half : {0x0FU, 0xF0U}) {
            if ((halves & half) != 0 && (byte & half) == half) {
                byte = (byte & ~half) | (static_cast<unsigned>(depth) * 0x11U & half);
            }
        }
        bytes_[at] = static_cast<std::uint8_t>(byte);
    }

    std::uint8_t loadByte(std::size_t at) const {
#ifdef __cpp_lib_atomic_ref
        return std::atomic_ref<std::uint8_t>(bytes_[at]).load(std::memory_order_relaxed);
#else
        return bytes_[at];
#endif
    }

    std::uint8_t* bytes_;
    std::size_t size_;
};

} // namespace cw::core
