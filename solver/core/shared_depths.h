// Depth tables that a breadth-first search fills from several threads at once, in the packed
// form the solvers keep them in.
#pragma once

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>

namespace cw::core {

namespace shared_detail {

/// A byte of depths that other threads may store into meanwhile.
inline std::uint8_t loadByte(std::uint8_t* bytes, std::size_t at) {
#ifdef __cpp_lib_atomic_ref
    return std::atomic_ref<std::uint8_t>(bytes[at]).load(std::memory_order_relaxed);
#else
    return bytes[at];
#endif
}

} // namespace shared_detail

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

    /// Every depth is kept as it is, so a search moving on to the next one has nothing to do.
    void startDepth(int /*depth*/) {}

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

    /// Calls visit(index), in order, for every entry in [begin, end) that holds `depth`. Reads
    /// sixteen entries at once where it can, so that stretches without one pass quickly.
    template <typename Visit>
    void forEachHolding(std::size_t begin, std::size_t end, int depth, const Visit& visit) const {
        std::size_t index = begin;
        for (const std::size_t words = std::min(end, firstWordFrom(begin)); index < words;
             ++index) {
            if (load(index) == depth) {
                visit(index);
            }
        }
        const std::uint64_t spread = kOnes * static_cast<std::uint64_t>(depth);
        for (; index + kPerWord <= end; index += kPerWord) {
            // The halves that hold the depth are the zero ones here.
            const std::uint64_t differ = loadWord(index >> 1) ^ spread;
            if (((differ - kOnes) & ~differ & kOnes * 8) == 0) {
                continue;
            }
            for (std::size_t k = 0; k < kPerWord; ++k) {
                if ((differ >> (k * 4) & 15) == 0) {
                    visit(index + k);
                }
            }
        }
        for (; index < end; ++index) {
            if (load(index) == depth) {
                visit(index);
            }
        }
    }

    /// Stores `depth` in every entry still unknown, while no other thread stores any.
    void fillUnknown(int depth) {
        const std::uint64_t spread = kOnes * static_cast<std::uint64_t>(depth);
        std::size_t index = 0;
        for (const std::size_t words = std::min(size_, firstWordFrom(0)); index < words; ++index) {
            fillOne(index, depth);
        }
        for (; index + kPerWord <= size_; index += kPerWord) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes_ + (index >> 1), sizeof word);
            const std::uint64_t unknown =
                (word & word >> 1 & word >> 2 & word >> 3 & kOnes) * kUnknown;
            word = (word & ~unknown) | (spread & unknown);
            std::memcpy(bytes_ + (index >> 1), &word, sizeof word);
        }
        for (; index < size_; ++index) {
            fillOne(index, depth);
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

    // Entries are read a 64-bit word, sixteen entries, at a time where the storage has whole
    // words: entry index + k in the word from index is its bits 4k to 4k + 3.
    static_assert(std::endian::native == std::endian::little);
    static constexpr std::size_t kPerWord = 16;
    static constexpr std::uint64_t kOnes = 0x1111111111111111U;

    // The first entry from `index` on that starts a whole word of the storage.
    std::size_t firstWordFrom(std::size_t index) const {
        const auto skew = reinterpret_cast<std::uintptr_t>(bytes_) % sizeof(std::uint64_t);
        const std::size_t first = (sizeof(std::uint64_t) - skew) % sizeof(std::uint64_t) * 2;
        return index <= first ? first
                              : first + (index - first + kPerWord - 1) / kPerWord * kPerWord;
    }

    std::uint64_t loadWord(std::size_t at) const {
#ifdef __cpp_lib_atomic_ref
        // Other threads store single bytes of it meanwhile.
        return std::atomic_ref<std::uint64_t>(*reinterpret_cast<std::uint64_t*>(bytes_ + at))
            .load(std::memory_order_relaxed);
#else
        std::uint64_t word = 0;
        std::memcpy(&word, bytes_ + at, sizeof word);
        return word;
#endif
    }

    void fillOne(std::size_t index, int depth) {
        if (load(index) == kUnknown) {
            const int at = shift(index);
            bytes_[index >> 1] =
                static_cast<std::uint8_t>((bytes_[index >> 1] & ~(15 << at)) | depth << at);
        }
    }

    std::uint8_t loadByte(std::size_t at) const {
        return shared_detail::loadByte(bytes_, at);
    }

    std::uint8_t* bytes_;
    std::size_t size_;
};

/// Depths a breadth-first search fills in two bits an entry rather than four, for a table that
/// keeps less than every entry's depth: at any moment it tells the entries reached before the
/// search's frontier, those on it, those it has just reached, and those not reached yet. So
/// it holds, at the end, which entries are at the last depth reached, at the one before, at
/// any nearer one, or farther. The search moves on one depth at a time with startDepth();
/// load() and forEachHolding() answer in depths as SharedDepths does, reading every entry
/// reached before the frontier as the depth before it.
class SharedLevels {
public:
    static constexpr int kUnknown = SharedDepths::kUnknown;

    /// What an entry holds: the two bits as stored.
    enum Level : std::uint8_t { unreached = 0, earlier = 1, frontier = 2, reached = 3 };

    /// Marks all `size` entries in `bytes` (four to a byte, the lowest bits first) unreached.
    /// The first depth stored is 0.
    SharedLevels(std::span<std::uint8_t> bytes, std::size_t size)
        : bytes_(bytes.data()), size_(size) {
        std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
    }

    std::size_t size() const { return size_; }

    /// Moves the frontier on to `depth`, which the last depth stored must be: its entries
    /// become the frontier, and the frontier's join the earlier ones. Call it while no other
    /// thread stores, once for each depth from 0 on.
    void startDepth(int depth) {
        if (depth != frontier_ + 1) {
            throw std::logic_error("a breadth-first search skipped a depth");
        }
        frontier_ = depth;
        // Per entry, frontier -> earlier and reached -> frontier: the high bit becomes both
        // bits' and, the low bit their exclusive or.
        const auto advance = [](std::uint64_t word) {
            const std::uint64_t high = word >> 1 & kLowBits;
            const std::uint64_t low = word & kLowBits;
            return (high & low) << 1 | (high ^ low);
        };
        const std::size_t bytes = (size_ + kPerByte - 1) / kPerByte;
        std::size_t at = 0;
        for (; at + sizeof(std::uint64_t) <= bytes; at += sizeof(std::uint64_t)) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes_ + at, sizeof word);
            word = advance(word);
            std::memcpy(bytes_ + at, &word, sizeof word);
        }
        for (; at < bytes; ++at) {
            bytes_[at] = static_cast<std::uint8_t>(advance(bytes_[at]));
        }
    }

    /// The depth of the frontier; -1 before the first startDepth().
    int frontierDepth() const { return frontier_; }

    /// The entry's level as stored.
    Level level(std::size_t index) const {
        return static_cast<Level>(loadByte(index / kPerByte) >> shift(index) & 3);
    }

    /// The entry's depth as far as it is known: the frontier's, one more for an entry just
    /// reached, one less for any entry reached before, and kUnknown for one not reached.
    int load(std::size_t index) const { return depthOf(level(index)); }

    /// Stores the depth after the frontier's when the entry is not reached yet (no other depth
    /// can be stored); true when this call stored it.
    bool storeIfUnknown(std::size_t index, int depth) {
        if (depth != frontier_ + 1) {
            throw std::logic_error("a breadth-first search stored a depth out of turn");
        }
        const auto mark = static_cast<std::uint8_t>(reached << shift(index));
#ifdef __cpp_lib_atomic_ref
        std::atomic_ref<std::uint8_t> four(bytes_[index / kPerByte]);
        std::uint8_t old = four.load(std::memory_order_relaxed);
        while ((old >> shift(index) & 3) == unreached) {
            if (four.compare_exchange_weak(old, static_cast<std::uint8_t>(old | mark),
                                           std::memory_order_relaxed)) {
                return true;
            }
        }
        return false;
#else
        std::uint8_t& four = bytes_[index / kPerByte];
        if ((four >> shift(index) & 3) != unreached) {
            return false;
        }
        four = static_cast<std::uint8_t>(four | mark);
        return true;
#endif
    }

    /// Calls visit(index), in order, for every entry in [begin, end) that load() reads as
    /// `depth`, reading 32 entries at once where it can.
    template <typename Visit>
    void forEachHolding(std::size_t begin, std::size_t end, int depth, const Visit& visit) const {
        const int wanted = levelOf(depth);
        if (wanted < 0) {
            return;
        }
        std::size_t index = begin;
        for (; index < end && index % kPerWord != 0; ++index) {
            if (level(index) == wanted) {
                visit(index);
            }
        }
        const std::uint64_t spread = kLowBits * static_cast<std::uint64_t>(wanted);
        for (; index + kPerWord <= end; index += kPerWord) {
            std::uint64_t word = 0;
            for (std::size_t b = 0; b < sizeof word; ++b) {
                word |= std::uint64_t{loadByte(index / kPerByte + b)} << (8 * b);
            }
            // A bit in `same` for every entry whose two bits are the level's.
            const std::uint64_t differ = word ^ spread;
            std::uint64_t same = ~(differ | differ >> 1) & kLowBits;
            while (same != 0) {
                visit(index + static_cast<std::size_t>(std::countr_zero(same)) / 2);
                same &= same - 1;
            }
        }
        for (; index < end; ++index) {
            if (level(index) == wanted) {
                visit(index);
            }
        }
    }

    /// Entries not reached stay so: they are farther than the last depth stored.
    void fillUnknown(int /*depth*/) {}

    static unsigned usableThreads(unsigned threads) {
        return SharedDepths::usableThreads(threads);
    }

private:
    static constexpr std::size_t kPerByte = 4;
    static constexpr std::size_t kPerWord = 32;
    static constexpr std::uint64_t kLowBits = 0x5555555555555555U;

    static int shift(std::size_t index) {
        return static_cast<int>(index % kPerByte) * 2;
    }

    int depthOf(Level level) const {
        switch (level) {
        case unreached:
            return kUnknown;
        case earlier:
            return frontier_ - 1;
        case frontier:
            return frontier_;
        case reached:
            break;
        }
        return frontier_ + 1;
    }

    // The level load() reads as `depth`; -1 for a depth no entry reads as.
    int levelOf(int depth) const {
        return depth == kUnknown        ? unreached
               : depth == frontier_     ? frontier
               : depth == frontier_ + 1 ? reached
               : depth == frontier_ - 1 ? earlier
                                        : -1;
    }

    std::uint8_t loadByte(std::size_t at) const {
        return shared_detail::loadByte(bytes_, at);
    }

    std::uint8_t* bytes_;
    std::size_t size_;
    int frontier_ = -1;
};

} // namespace cw::core
