// Builds the optimal search's pattern tables: the classes of the flip-slice coordinate under
// the up-down symmetries, then the breadth-first search over classes and twists of
// solver/core/class_search.h. "Slice" here is what a table keeps of the edges' places: the
// middle-slice edges' places (medium), with their order (large), or every edge's slice (huge).
#include "solver/optimal/pattern_table.h"

#include <algorithm>
#include <array>
#include <bit>
#include <stdexcept>
#include <utility>

#include "solver/core/class_search.h"
#include "solver/core/move_table.h"
#include "solver/core/shared_depths.h"
#include "solver/core/symmetry.h"

namespace cw::optimal {
namespace {

using core::kFlipCount;
using core::kMoveCount;
using core::kSliceCount;
using core::kTwistCount;
using core::kUdSymmetryCount;

constexpr std::size_t kMoves = kMoveCount;
constexpr std::size_t kEdgeSlots = kEdgeCount;

// The edges UF, UB, DF and DB, and the slot order in which their places are counted: as
// core::slice() counts the middle-slice edges' places from the last slot down, so that the
// places they have on the solved cube, last in this order, count 0.
constexpr std::array<std::uint8_t, 4> kFrontBackEdges{core::pieces::UF, core::pieces::UB,
                                                      core::pieces::DF, core::pieces::DB};
constexpr std::array<std::uint8_t, kEdgeSlots> kFrontBackOrder{
    core::pieces::UR, core::pieces::UL, core::pieces::DR, core::pieces::DL,
    core::pieces::FR, core::pieces::FL, core::pieces::BL, core::pieces::BR,
    core::pieces::UF, core::pieces::UB, core::pieces::DF, core::pieces::DB};

constexpr bool isFrontBackEdge(int piece) {
    return piece < core::kSliceEdges && piece % 2 == 1;
}

// The numbering of the edges' places by slice: frontBackEdges from the slots that hold the
// front-back edges, and the edges' slices as one number (edgeLayers()) from those and the
// middle-slice edges' places, and back.
class EdgeLayerNumbers {
public:
    EdgeLayerNumbers() {
        placesOf_.fill(kNone);
        for (unsigned slots = 0; slots < (1U << kEdgeSlots); ++slots) {
            if (std::popcount(slots) != 4) {
                continue;
            }
            // The slots in kFrontBackOrder, the front-back edges' ones marked as holding
            // middle-slice edges, for core::slice() to number.
            CubieCube marked;
            std::uint8_t nextMarked = core::kSliceEdges;
            std::uint8_t nextOther = 0;
            for (std::size_t i = 0; i < kEdgeSlots; ++i) {
                marked.ep[i] = (slots >> kFrontBackOrder[i] & 1U) != 0 ? nextMarked++ : nextOther++;
            }
            const int value = core::slice(marked);
            placesOf_[slots] = static_cast<std::uint16_t>(value);
            slotsOf_[static_cast<std::size_t>(value)] = static_cast<std::uint16_t>(slots);
        }
        // Numbered by the middle slice's places, then by the front-back edges' places among
        // the slots those leave, in the order of frontBackEdges.
        std::array<std::uint16_t, core::kSliceCount> middleSlots{};
        for (int slice = 0; slice < core::kSliceCount; ++slice) {
            CubieCube cube;
            core::setSlice(cube, slice);
            middleSlots[static_cast<std::size_t>(slice)] = static_cast<std::uint16_t>(
                slotsHolding(cube, [](int piece) { return piece >= core::kSliceEdges; }));
        }
        layerOf_.assign(std::size_t{core::kSliceCount} * kFrontBackPlaces, kNone);
        for (int slice = 0; slice < core::kSliceCount; ++slice) {
            for (int places = 0; places < kFrontBackPlaces; ++places) {
                const unsigned front = slotsOf_[static_cast<std::size_t>(places)];
                const unsigned middle = middleSlots[static_cast<std::size_t>(slice)];
                if ((front & middle) == 0) {
                    layerOf_[static_cast<std::size_t>(slice * kFrontBackPlaces + places)] =
                        static_cast<std::uint16_t>(slotsByLayer_.size());
                    slotsByLayer_.emplace_back(middle, front);
                }
            }
        }
        if (slotsByLayer_.size() != kEdgeLayerCount) {
            throw std::logic_error("the edges' slices have an unexpected number of values");
        }
    }

    int frontBackPlaces(unsigned slots) const { return placesOf_[slots]; }

    int layers(int slice, int frontBack) const {
        return layerOf_[static_cast<std::size_t>(slice * kFrontBackPlaces + frontBack)];
    }

    /// A cube whose edges are in the slices `layers` says, with the edges of each slice in
    /// some order and none flipped.
    CubieCube cubeWithLayers(int layers) const {
        const auto [middle, front] = slotsByLayer_[static_cast<std::size_t>(layers)];
        return cubeWith(middle, front);
    }

    /// A cube whose front-back edges are in the places `places` says.
    CubieCube cubeWithFrontBack(int places) const {
        return cubeWith(0, slotsOf_[static_cast<std::size_t>(places)]);
    }

    template <typename Keep>
    static unsigned slotsHolding(const CubieCube& cube, const Keep& keep) {
        unsigned slots = 0;
        for (std::size_t slot = 0; slot < kEdgeSlots; ++slot) {
            slots |= keep(cube.ep[slot]) ? 1U << slot : 0U;
        }
        return slots;
    }

private:
    static constexpr std::uint16_t kNone = 0xFFFF;

    // The middle-slice edges in the slots of `middle` (anywhere, when it is 0), the front-back
    // edges in those of `front`, the other edges in the slots left.
    static CubieCube cubeWith(unsigned middle, unsigned front) {
        CubieCube cube;
        std::array<std::uint8_t, kEdgeSlots> others{};
        std::size_t otherCount = 0;
        std::size_t middleCount = 0;
        for (std::uint8_t piece = 0; piece < kEdgeSlots; ++piece) {
            if (!isFrontBackEdge(piece) && (middle == 0 || piece < core::kSliceEdges)) {
                others[otherCount++] = piece;
            }
        }
        std::size_t nextFront = 0;
        std::size_t nextOther = 0;
        for (std::size_t slot = 0; slot < kEdgeSlots; ++slot) {
            if ((front >> slot & 1U) != 0) {
                cube.ep[slot] = kFrontBackEdges[nextFront++];
            } else if ((middle >> slot & 1U) != 0) {
                cube.ep[slot] = static_cast<std::uint8_t>(core::kSliceEdges + middleCount++);
            } else {
                cube.ep[slot] = others[nextOther++];
            }
        }
        return cube;
    }

    std::array<std::uint16_t, std::size_t{1} << kEdgeSlots> placesOf_{};
    std::array<std::uint16_t, kFrontBackPlaces> slotsOf_{};
    std::vector<std::uint16_t> layerOf_;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> slotsByLayer_;
};

const EdgeLayerNumbers& edgeLayerNumbers() {
    static const EdgeLayerNumbers kNumbers;
    return kNumbers;
}

int frontBackEdgesOf(const CubieCube& cube) {
    return edgeLayerNumbers().frontBackPlaces(
        EdgeLayerNumbers::slotsHolding(cube, isFrontBackEdge));
}

int edgeLayersOf(const CubieCube& cube) {
    return edgeLayerNumbers().layers(core::slice(cube), frontBackEdgesOf(cube));
}

// The edges' slices after each move, for building the huge table: [layers * 18 + move].
const std::vector<std::uint16_t>& edgeLayerMoves() {
    static const std::vector<std::uint16_t> kLayerMoves = core::moveTable<std::uint16_t>(
        kEdgeLayerCount, core::allMoves(),
        [](CubieCube& cube, int value) { cube = edgeLayerNumbers().cubeWithLayers(value); },
        edgeLayersOf);
    return kLayerMoves;
}

// What a table keeps of the edges' places besides their flips, as a number below
// Table::kSliceValues.
template <TableSize kSize>
int sliceValue(const PhaseOneCoordinates& at) {
    if constexpr (kSize == TableSize::huge) {
        return edgeLayers(at);
    } else {
        return kSize == TableSize::large ? at.sliceEdges : at.sliceEdges / kSliceOrders;
    }
}

// That value after move `move`.
template <TableSize kSize>
std::uint32_t sliceAfter(std::uint32_t slice, std::size_t move) {
    if constexpr (kSize == TableSize::huge) {
        return edgeLayerMoves()[slice * kMoves + move];
    } else {
        const std::uint32_t sorted = kSize == TableSize::large ? slice : slice * kSliceOrders;
        const std::uint32_t after = moveTables().sliceEdges[sorted * kMoves + move];
        return kSize == TableSize::large ? after : after / kSliceOrders;
    }
}

template <TableSize kSize>
CubieCube flipSliceCube(int flipSlice) {
    const int slice = flipSlice / kFlipCount;
    CubieCube cube;
    if constexpr (kSize == TableSize::huge) {
        cube = edgeLayerNumbers().cubeWithLayers(slice);
    } else {
        core::setEdgeSet(cube, core::kSliceEdges,
                         kSize == TableSize::large ? slice : slice * kSliceOrders);
    }
    core::setFlip(cube, flipSlice % kFlipCount);
    return cube;
}

template <TableSize kSize>
std::uint32_t flipSliceOf(const CubieCube& cube) {
    int slice = 0;
    if constexpr (kSize == TableSize::huge) {
        slice = edgeLayersOf(cube);
    } else {
        const int sorted = core::edgeSet(cube, core::kSliceEdges);
        slice = kSize == TableSize::large ? sorted : sorted / kSliceOrders;
    }
    return static_cast<std::uint32_t>(slice * kFlipCount + core::flip(cube));
}

// A flip-slice value conjugated by each up-down symmetry, without building cubes: every
// lookup in the table takes one. A symmetry moves the slice edges among the slice places
// whatever the flips are, and it carries each edge's flip to another place and adds to it
// only what depends on which edges are where, so the image of a value is the image of its
// slice with no edges flipped, with the flips carried over bit by bit (five or six at a
// time, by table).
template <TableSize kSize>
class FlipSliceImages {
public:
    FlipSliceImages() {
        using Table = SymmetricPatternTable<kSize>;
        constexpr int kSlices = Table::kSliceValues;
        for (std::size_t s = 0; s < kUdSymmetryCount; ++s) {
            const auto image = [s](std::uint32_t value) {
                return flipSliceOf<kSize>(core::conjugate(
                    flipSliceCube<kSize>(static_cast<int>(value)), static_cast<int>(s)));
            };
            base_[s].resize(kSlices);
            for (int slice = 0; slice < kSlices; ++slice) {
                base_[s][static_cast<std::size_t>(slice)] =
                    image(static_cast<std::uint32_t>(slice) * kFlipCount);
            }
            std::array<std::uint32_t, kFlipBits> bit{};
            for (std::size_t b = 0; b < kFlipBits; ++b) {
                bit[b] = image(1U << b) ^ base_[s][0];
            }
            for (std::uint32_t flips = 0; flips < kLowCount; ++flips) {
                low_[s][flips] = sumOf(bit, flips, 0);
            }
            for (std::uint32_t flips = 0; flips < kHighCount; ++flips) {
                high_[s][flips] = sumOf(bit, flips, kLowBits);
            }
        }
    }

    /// The slice's value with no edges flipped, conjugated by symmetry `s`.
    std::uint32_t base(std::size_t s, std::size_t slice) const { return base_[s][slice]; }

    /// What symmetry `s` adds to that for the flips `flips`: the image of slice * 2048 +
    /// flips is base(s, slice) ^ carried(s, flips).
    std::uint32_t carried(std::size_t s, std::uint32_t flips) const {
        return low_[s][flips % kLowCount] ^ high_[s][flips / kLowCount];
    }

private:
    static constexpr std::size_t kFlipBits = 11;
    static constexpr std::size_t kLowBits = 6;
    static constexpr std::uint32_t kLowCount = 1U << kLowBits;
    static constexpr std::uint32_t kHighCount = 1U << (kFlipBits - kLowBits);

    static std::uint32_t sumOf(const std::array<std::uint32_t, kFlipBits>& bit, std::uint32_t flips,
                               std::size_t first) {
        std::uint32_t sum = 0;
        for (std::size_t b = 0; first + b < kFlipBits; ++b) {
            sum ^= (flips >> b & 1U) != 0 ? bit[first + b] : 0U;
        }
        return sum;
    }

    std::array<std::vector<std::uint32_t>, kUdSymmetryCount> base_;
    std::array<std::array<std::uint32_t, kLowCount>, kUdSymmetryCount> low_{};
    std::array<std::array<std::uint32_t, kHighCount>, kUdSymmetryCount> high_{};
};

// The classes of the flip-slice values: the representative of each (its smallest value) and
// the symmetries that leave it unchanged, for the build; and, for every value, its class and
// a symmetry that carries it onto the representative, found in two steps through tables
// small enough to stay in the processor's caches, as lookups land anywhere in the table.
//
// A symmetry first carries the slice onto the smallest slice of its class, the flips going
// along bit by bit (see FlipSliceImages). Most slices are kept by no symmetry but the
// identity; on those, every flip value is a class of its own. For the few others, a row of
// 2048 entries gives the class of each flip value and a symmetry that keeps the slice and
// carries the flips onto the representative's.
template <TableSize kSize>
class FlipSliceClasses {
public:
    FlipSliceClasses() {
        using Table = SymmetricPatternTable<kSize>;
        steps_.resize(Table::kSliceValues);
        // In order, so that the smallest slice of each class comes first, and its classes.
        for (std::size_t slice = 0; slice < Table::kSliceValues; ++slice) {
            std::size_t towards = 0;
            std::uint16_t keeping = 0;
            for (std::size_t s = 0; s < kUdSymmetryCount; ++s) {
                const std::size_t to = images_.base(s, slice) / kFlipCount;
                towards = to < images_.base(towards, slice) / kFlipCount ? s : towards;
                keeping = static_cast<std::uint16_t>(keeping | (to == slice ? 1U << s : 0U));
            }
            const std::size_t least = images_.base(towards, slice) / kFlipCount;
            if (least == slice) {
                addClassesOf(slice, keeping);
            }
            SliceStep& step = steps_[slice];
            step = steps_[least];
            step.image = images_.base(towards, slice);
            step.symmetry = static_cast<std::uint8_t>(towards);
        }
        if (representative.size() != Table::kClassCount) {
            throw std::logic_error("the flip-slice coordinate has an unexpected number of classes");
        }
        twistConjugate =
            core::conjugationTable(kTwistCount, core::cubeWith<core::setTwist>, core::twist);
    }

    std::vector<std::uint32_t> representative;
    std::vector<std::uint16_t> stabiliser;     // bit s: symmetry s keeps the representative
    std::vector<std::uint16_t> twistConjugate; // [twist * 16 + symmetry]

    /// The value's class * 16 + a symmetry that carries it onto the class's representative.
    std::uint32_t classAndSymmetry(std::uint32_t flipSlice) const {
        const SliceStep& step = steps_[flipSlice / kFlipCount];
        const std::uint32_t flip = flipSlice % kFlipCount;
        const std::uint32_t to = (step.image ^ images_.carried(step.symmetry, flip)) % kFlipCount;
        if (!step.stabilised) {
            return (step.firstClass + to) * kUdSymmetryCount + step.symmetry;
        }
        const std::uint32_t both = rows_[std::size_t{step.row} * kFlipCount + to];
        return (both & ~15U) | symmetries_.composed[step.symmetry][both & 15];
    }

    std::uint64_t entry(std::uint32_t flipSlice, std::uint16_t twist) const {
        return entryOf(classAndSymmetry(flipSlice), twist);
    }

    /// The entry of the class and symmetry classAndSymmetry() gave, with this twist.
    std::uint64_t entryOf(std::uint32_t both, std::uint16_t twist) const {
        return std::uint64_t{both >> 4} * kTwistCount +
               twistConjugate[std::size_t{twist} * kUdSymmetryCount + (both & 15)];
    }

private:
    // The classes of the flip values on `slice`, the smallest of its class, which the
    // symmetries in `keeping` keep.
    void addClassesOf(std::size_t slice, std::uint16_t keeping) {
        SliceStep& step = steps_[slice];
        step.firstClass = static_cast<std::uint32_t>(representative.size());
        step.stabilised = keeping != 1;
        const auto start = static_cast<std::uint32_t>(slice) * kFlipCount;
        if (!step.stabilised) {
            for (std::uint32_t f = 0; f < kFlipCount; ++f) {
                representative.push_back(start + f);
                stabiliser.push_back(1);
            }
            return;
        }
        constexpr std::uint32_t kNone = ~0U;
        step.row = static_cast<std::uint16_t>(rows_.size() / kFlipCount);
        const std::size_t row = rows_.size();
        rows_.resize(row + kFlipCount, kNone);
        for (std::uint32_t f = 0; f < kFlipCount; ++f) {
            if (rows_[row + f] != kNone) {
                continue;
            }
            const auto id = static_cast<std::uint32_t>(representative.size());
            std::uint16_t fixing = 0;
            for (std::size_t s = 0; s < kUdSymmetryCount; ++s) {
                if ((std::uint32_t{keeping} >> s & 1U) == 0) {
                    continue;
                }
                const std::uint32_t to =
                    (images_.base(s, slice) ^ images_.carried(s, f)) % kFlipCount;
                if (rows_[row + to] == kNone) {
                    const int back = core::inverseSymmetry(static_cast<int>(s));
                    rows_[row + to] = id * kUdSymmetryCount + static_cast<std::uint32_t>(back);
                }
                fixing = static_cast<std::uint16_t>(fixing | (to == f ? 1U << s : 0U));
            }
            representative.push_back(start + f);
            stabiliser.push_back(fixing);
        }
    }

    FlipSliceImages<kSize> images_;

    // Where a slice goes first: `image` is its value with no flips carried by `symmetry` onto
    // the smallest slice of its class, whose classes start at `firstClass`, or whose row of
    // rows_ is `row` when it is `stabilised`.
    struct SliceStep {
        std::uint32_t image = 0;
        std::uint32_t firstClass = 0;
        std::uint16_t row = 0;
        std::uint8_t symmetry = 0;
        bool stabilised = false;
    };
    std::vector<SliceStep> steps_;
    std::vector<std::uint32_t> rows_;
    const core::SymmetryActions& symmetries_ = core::symmetryActions();
};

template <TableSize kSize>
const FlipSliceClasses<kSize>& classes() {
    static const FlipSliceClasses<kSize> kClasses;
    return kClasses;
}

} // namespace

int edgeLayers(const PhaseOneCoordinates& at) {
    return edgeLayerNumbers().layers(at.sliceEdges / kSliceOrders, at.frontBackEdges);
}

int frontBackEdgesIn(unsigned slots) {
    return edgeLayerNumbers().frontBackPlaces(slots);
}

PhaseOneCoordinates phaseOneCoordinates(const CubieCube& cube) {
    return {static_cast<std::uint16_t>(core::twist(cube)),
            static_cast<std::uint16_t>(core::flip(cube)),
            static_cast<std::uint16_t>(core::edgeSet(cube, core::kSliceEdges)),
            static_cast<std::uint16_t>(frontBackEdgesOf(cube))};
}

const MoveTables& moveTables() {
    static const MoveTables kTables = [] {
        const std::array<int, kMoveCount> all = core::allMoves();
        return MoveTables{
            core::moveTable<std::uint16_t>(kTwistCount, all, core::setTwist, core::twist),
            core::moveTable<std::uint16_t>(kFlipCount, all, core::setFlip, core::flip),
            core::moveTable<std::uint16_t>(
                core::kEdgeSetCount, all,
                [](CubieCube& cube, int value) {
                    core::setEdgeSet(cube, core::kSliceEdges, value);
                },
                [](const CubieCube& cube) { return core::edgeSet(cube, core::kSliceEdges); }),
            core::moveTable<std::uint16_t>(
                kFrontBackPlaces, all,
                [](CubieCube& cube, int value) {
                    cube = edgeLayerNumbers().cubeWithFrontBack(value);
                },
                frontBackEdgesOf)};
    }();
    return kTables;
}

template <TableSize kSize>
SymmetricPatternTable<kSize>::SymmetricPatternTable()
    // Left unwritten: a table read from a file is written only once. Lookups land anywhere
    // in it, so it asks for large pages.
    : words_(kAddressable ? LargePageAllocator<std::uint32_t>().allocate(kWords) : nullptr) {
    if (!kAddressable) {
        throw std::length_error("the pattern table is larger than this build can address");
    }
}

template <TableSize kSize>
std::uint64_t SymmetricPatternTable<kSize>::indexOf(const PhaseOneCoordinates& at) {
    return classes<kSize>().entry(
        static_cast<std::uint32_t>(sliceValue<kSize>(at)) * kFlipCount + at.flip, at.twist);
}

template <TableSize kSize>
void SymmetricPatternTable<kSize>::indicesOf(std::span<const PhaseOneCoordinates> at,
                                             std::uint64_t* index) {
    const FlipSliceClasses<kSize>& c = classes<kSize>();
    // A batch at a time, as many as a position has moves.
    for (std::size_t first = 0; first < at.size(); first += kMoves) {
        const std::span<const PhaseOneCoordinates> batch =
            at.subspan(first, std::min(kMoves, at.size() - first));
        std::array<std::uint32_t, kMoves> step{};
        for (std::size_t i = 0; i < batch.size(); ++i) {
            step[i] = static_cast<std::uint32_t>(sliceValue<kSize>(batch[i])) * kFlipCount +
                      batch[i].flip;
        }
        for (std::size_t i = 0; i < batch.size(); ++i) {
            step[i] = c.classAndSymmetry(step[i]);
        }
        for (std::size_t i = 0; i < batch.size(); ++i) {
            index[first + i] = c.entryOf(step[i], batch[i].twist);
        }
    }
}

template <TableSize kSize>
void SymmetricPatternTable<kSize>::prepareClasses() {
    classes<kSize>();
}

template <TableSize kSize>
std::span<std::uint8_t> SymmetricPatternTable<kSize>::bytes() {
    return {reinterpret_cast<std::uint8_t*>(words_.get()), static_cast<std::size_t>(kBytes)};
}

template <TableSize kSize>
std::span<const std::uint8_t> SymmetricPatternTable<kSize>::bytes() const {
    return {reinterpret_cast<const std::uint8_t*>(words_.get()), static_cast<std::size_t>(kBytes)};
}

namespace {

// The breadth-first search over a table's classes and twists from the solved cube, into
// `depths` (SharedDepths or SharedLevels) up to `deepest`.
template <TableSize kSize, typename Depths>
void searchClasses(Depths& depths, unsigned jobs, int deepest,
                   const std::function<void(std::uint64_t filled)>& progress) {
    using Table = SymmetricPatternTable<kSize>;
    const FlipSliceClasses<kSize>& c = classes<kSize>();
    const MoveTables& moves = moveTables();
    core::ClassSearch search{
        depths, static_cast<int>(Table::kClassCount), kTwistCount, kMoveCount, c.stabiliser,
        // The class and symmetry of a representative's flip and slice after move m.
        [&c, &moves](int cls, int m) {
            const std::uint32_t value = c.representative[static_cast<std::size_t>(cls)];
            const auto move = static_cast<std::size_t>(m);
            const std::uint32_t flip = moves.flip[value % kFlipCount * kMoves + move];
            const std::uint32_t slice = sliceAfter<kSize>(value / kFlipCount, move);
            const std::uint32_t both = c.classAndSymmetry(slice * kFlipCount + flip);
            return std::pair<int, int>(static_cast<int>(both >> 4), static_cast<int>(both & 15));
        },
        [&c, &moves](int twist, int m, int s) {
            return int{c.twistConjugate[std::size_t{moves.twist[static_cast<std::size_t>(
                                            twist * kMoveCount + m)]} *
                                            kUdSymmetryCount +
                                        static_cast<std::size_t>(s)]};
        },
        [&c](int twist, int s) {
            return int{c.twistConjugate[static_cast<std::size_t>(twist * kUdSymmetryCount + s)]};
        }};
    search.run(jobs, deepest, [&progress](std::uint64_t filled) {
        if (progress) {
            progress(filled);
        }
    });
}

} // namespace

template <TableSize kSize>
void SymmetricPatternTable<kSize>::build(
    unsigned jobs, int deepest, const std::function<void(std::uint64_t filled)>& progress) {
    core::SharedDepths depths(bytes(), static_cast<std::size_t>(kEntries));
    searchClasses<kSize>(depths, jobs, deepest, progress);
}

namespace packed_detail {

const std::array<std::uint8_t, 256 * 5> kDigits = [] {
    std::array<std::uint8_t, 256 * 5> digits{};
    for (std::size_t byte = 0; byte < 243; ++byte) {
        std::size_t rest = byte;
        for (std::size_t i = 0; i < 5; ++i, rest /= 3) {
            digits[byte * 5 + i] = static_cast<std::uint8_t>(rest % 3);
        }
    }
    return digits;
}();

} // namespace packed_detail

template <TableSize kSize>
PackedPatternTable<kSize>::PackedPatternTable()
    : bytes_(kAddressable ? LargePageAllocator<std::uint8_t>().allocate(
                                static_cast<std::size_t>(kBuildBytes))
                          : nullptr) {
    if (!kAddressable) {
        throw std::length_error("the pattern table is larger than this build can address");
    }
}

template <TableSize kSize>
std::span<std::uint8_t> PackedPatternTable<kSize>::bytes() {
    return {bytes_.get(), static_cast<std::size_t>(kBytes)};
}

template <TableSize kSize>
std::span<const std::uint8_t> PackedPatternTable<kSize>::bytes() const {
    return {bytes_.get(), static_cast<std::size_t>(kBytes)};
}

template <TableSize kSize>
void PackedPatternTable<kSize>::build(unsigned jobs, int cut,
                                      const std::function<void(std::uint64_t filled)>& progress) {
    if (cut < 1 || cut >= Full::kDeepest) {
        throw std::invalid_argument("a packed table's cut must be within its distances");
    }
    cut_ = cut;
    std::uint8_t* const storage = bytes_.get();
    core::SharedLevels levels({storage, static_cast<std::size_t>(kBuildBytes)},
                              static_cast<std::size_t>(kEntries));
    searchClasses<kSize>(levels, jobs, cut, progress);
    if (levels.frontierDepth() != cut - 1) {
        throw std::logic_error("a packed table's search ended before its cut");
    }
    // Four levels to a byte become five values to a byte, in place: byte g of the result
    // reads from byte 5g / 4 on, never before it, so nothing is overwritten before it is read.
    // Entries just reached are at the cut, those not reached past it, the rest below it.
    static constexpr std::array<std::uint8_t, 4> kValueOfLevel{2, 0, 0, 1};
    std::uint64_t entry = 0;
    for (std::uint64_t g = 0; g < kBytes; ++g) {
        unsigned value = 0;
        unsigned weight = 1;
        for (int i = 0; i < 5; ++i, ++entry, weight *= 3) {
            if (entry < kEntries) {
                const unsigned four = storage[static_cast<std::size_t>(entry / 4)];
                const unsigned level = four >> (entry % 4 * 2) & 3U;
                value += kValueOfLevel[level] * weight;
            }
        }
        storage[static_cast<std::size_t>(g)] = static_cast<std::uint8_t>(value);
    }
}

namespace {

// Breadth-first search over the pairs of a coordinate and the slice coordinate.
std::vector<std::uint8_t> pairDepths(int count, const std::vector<std::uint16_t>& move) {
    std::vector<std::uint16_t> sliceMove(std::size_t{kSliceCount} * kMoves);
    for (std::size_t i = 0; i < sliceMove.size(); ++i) {
        sliceMove[i] = static_cast<std::uint16_t>(
            moveTables().sliceEdges[i / kMoves * kSliceOrders * kMoves + i % kMoves] /
            kSliceOrders);
    }
    return core::pairDistances(count, move, kSliceCount, sliceMove, kMoves);
}

} // namespace

SmallPatternTable::SmallPatternTable()
    : twistSlice_(pairDepths(kTwistCount, moveTables().twist)),
      flipSlice_(pairDepths(kFlipCount, moveTables().flip)) {}

int SmallPatternTable::depth(const PhaseOneCoordinates& at) const {
    const std::size_t slice = at.sliceEdges / kSliceOrders;
    return std::max(twistSlice_[std::size_t{at.twist} * kSliceCount + slice],
                    flipSlice_[std::size_t{at.flip} * kSliceCount + slice]);
}

template class SymmetricPatternTable<TableSize::medium>;
template class SymmetricPatternTable<TableSize::large>;
template class SymmetricPatternTable<TableSize::huge>;
template class PackedPatternTable<TableSize::medium>;
template class PackedPatternTable<TableSize::huge>;

} // namespace cw::optimal
