// Tests of the pattern tables: the symmetry-reduced table against a plain breadth-first
// search over the coordinates, and both tables as lower bounds on cubes of known distance.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <map>
#include <random>
#include <unordered_map>
#include <vector>

#include "optimal_testing.h"
#include "solver/core/symmetry.h"
#include "solver/optimal/search.h"
#include "solver/optimal/table_file.h"

namespace cw::optimal {
namespace {

using core::alongAxis;
using core::conjugate;
using core::kAxisCount;
using core::kMoveCount;
using core::kUdSymmetryCount;
using testing::knownDistance;
using testing::kPackedCut;
using testing::nearCubes;
using testing::packedPatternTable;
using testing::pairTables;
using testing::played;
using testing::randomMoves;
using testing::shallowPatternTable;

// The coordinates the small pattern table tells apart: the slice edges' order is not one.
std::uint64_t keyOf(const PhaseOneCoordinates& at) {
    return (std::uint64_t{at.twist} << 32) | (std::uint64_t{at.flip} << 16) |
           (at.sliceEdges / kSliceOrders);
}

TEST(Coordinates, FollowTheCubeThroughEveryMove) {
    EXPECT_EQ(phaseOneCoordinates(CubieCube{}), PhaseOneCoordinates{});
    std::mt19937 random(2);
    for (int i = 0; i < 200; ++i) {
        const CubieCube cube = played(randomMoves(random, 30));
        for (int m = 0; m < kMoveCount; ++m) {
            ASSERT_EQ(moveTables().after(phaseOneCoordinates(cube), m),
                      phaseOneCoordinates(played({m}, cube)));
        }
    }
}

TEST(MediumPatternTable, AgreesWithAPlainSearchOverTheCoordinates) {
    // Every coordinate triple within five moves of home, by breadth-first search without
    // symmetry. Turns move the slice edges' places the same whatever their order.
    const MoveTables& moves = moveTables();
    std::unordered_map<std::uint64_t, int> distance{{keyOf({}), 0}};
    std::vector<PhaseOneCoordinates> layer{{}};
    for (int d = 1; d <= 5; ++d) {
        std::vector<PhaseOneCoordinates> next;
        for (const PhaseOneCoordinates& at : layer) {
            for (int m = 0; m < kMoveCount; ++m) {
                const PhaseOneCoordinates moved = moves.after(at, m);
                if (distance.emplace(keyOf(moved), d).second) {
                    next.push_back(moved);
                }
            }
        }
        layer = std::move(next);
    }
    ASSERT_GT(distance.size(), 90000u);

    const MediumPatternTable& table = shallowPatternTable();
    for (const auto& [key, d] : distance) {
        const PhaseOneCoordinates at{static_cast<std::uint16_t>(key >> 32),
                                     static_cast<std::uint16_t>(key >> 16 & 0xFFFF),
                                     static_cast<std::uint16_t>((key & 0xFFFF) * kSliceOrders)};
        ASSERT_EQ(table.depth(at), d) << at.twist << " " << at.flip << " " << at.sliceEdges;
    }
    // Everything farther reads one more than the depth the table was built to.
    std::mt19937 random(3);
    for (int i = 0; i < 2000; ++i) {
        const PhaseOneCoordinates at{static_cast<std::uint16_t>(random() % 2187),
                                     static_cast<std::uint16_t>(random() % 2048),
                                     static_cast<std::uint16_t>(random() % core::kEdgeSetCount)};
        if (!distance.contains(keyOf(at))) {
            ASSERT_EQ(table.depth(at), 6);
        }
    }
}

// Which slice each slot's edge belongs to, straight from the pieces: 0 the middle slice, 1
// the front-back one (UF UB DF DB), 2 the left-right one.
std::array<int, kEdgeCount> slicesOfTheEdges(const CubieCube& cube) {
    std::array<int, kEdgeCount> slices{};
    for (std::size_t slot = 0; slot < kEdgeCount; ++slot) {
        const int piece = cube.ep[slot];
        slices[slot] = piece >= core::kSliceEdges ? 0 : piece % 2 == 1 ? 1 : 2;
    }
    return slices;
}

TEST(EdgeLayers, NumberEachShareOfTheEdgesBetweenTheSlicesOnce) {
    EXPECT_EQ(edgeLayers(phaseOneCoordinates(CubieCube{})), 0);
    // Cubes with the same edges in the same slices, whatever their order and flips, get one
    // number, and cubes with different ones get different numbers.
    std::map<std::array<int, kEdgeCount>, int> numberOf;
    std::map<int, std::array<int, kEdgeCount>> sharesOf;
    std::mt19937 random(17);
    for (int i = 0; i < 20000; ++i) {
        const CubieCube cube = played(randomMoves(random, 1 + i % 30));
        const int number = edgeLayers(phaseOneCoordinates(cube));
        ASSERT_GE(number, 0);
        ASSERT_LT(number, kEdgeLayerCount);
        const std::array<int, kEdgeCount> shares = slicesOfTheEdges(cube);
        ASSERT_EQ(numberOf.emplace(shares, number).first->second, number) << "cube " << i;
        ASSERT_EQ(sharesOf.emplace(number, shares).first->second, shares) << "cube " << i;
    }
    EXPECT_GT(numberOf.size(), 10000u);
}

// Looks up cubes of random moves and checks each entry against the classes worked out from
// the cube's 16 symmetric images: the flip-slice value of an entry's class is the smallest
// among the images, the classes are numbered in the order of those values, and the twist
// is that of an image with the smallest value. `sliceOf` is what the table keeps of the
// edges' places.
template <typename Table, typename SliceOf>
void expectEntriesNumberedByClass(const SliceOf& sliceOf) {
    const auto flipSlice = [&sliceOf](const PhaseOneCoordinates& at) {
        return static_cast<std::uint32_t>(sliceOf(at)) * core::kFlipCount + at.flip;
    };
    std::map<std::uint32_t, std::uint64_t> classOfSmallest;
    std::mt19937 random(41);
    for (int i = 0; i < 3000; ++i) {
        const CubieCube cube = played(randomMoves(random, 1 + i % 25));
        std::array<PhaseOneCoordinates, kUdSymmetryCount> images{};
        std::uint32_t smallest = std::numeric_limits<std::uint32_t>::max();
        for (int s = 0; s < kUdSymmetryCount; ++s) {
            images[static_cast<std::size_t>(s)] = phaseOneCoordinates(conjugate(cube, s));
            smallest = std::min(smallest, flipSlice(images[static_cast<std::size_t>(s)]));
        }
        const std::uint64_t entry = Table::indexOf(phaseOneCoordinates(cube));
        ASSERT_LT(entry, Table::kEntries);
        const bool twistOfASmallestImage =
            std::any_of(images.begin(), images.end(), [&](const PhaseOneCoordinates& at) {
                return flipSlice(at) == smallest && at.twist == entry % core::kTwistCount;
            });
        ASSERT_TRUE(twistOfASmallestImage) << "cube " << i;
        const auto [known, added] = classOfSmallest.emplace(smallest, entry / core::kTwistCount);
        ASSERT_EQ(known->second, entry / core::kTwistCount) << "cube " << i;
    }
    std::uint64_t previous = 0;
    for (const auto& [smallest, cls] : classOfSmallest) {
        ASSERT_TRUE(smallest == 0 ? cls == 0 : cls > previous) << smallest;
        previous = cls;
    }
    EXPECT_GT(classOfSmallest.size(), 2000u);
}

TEST(PackedPatternTable, ReadsTheCutTheDepthsPastItOrTheTableBelow) {
    const PackedPatternTable<TableSize::medium>& packed = packedPatternTable();
    const MediumPatternTable& exact = shallowPatternTable();
    ASSERT_EQ(packed.cut(), kPackedCut);
    ASSERT_EQ(packed.below(), &exact);
    // Cubes at every distance the shallow table tells, and past it, where the packed table
    // reads one past the cut.
    std::mt19937 random(5);
    std::array<int, 8> seen{};
    for (int i = 0; i < 4000; ++i) {
        const CubieCube cube = played(randomMoves(random, i % 9));
        const PhaseOneCoordinates at = phaseOneCoordinates(cube);
        const int d = exact.depth(at);
        ++seen[static_cast<std::size_t>(d)];
        ASSERT_EQ(packed.depth(at), d < kPackedCut ? d : kPackedCut + (d > kPackedCut ? 1 : 0))
            << "cube " << i;
    }
    for (int d = 0; d <= 6; ++d) {
        EXPECT_GT(seen[static_cast<std::size_t>(d)], 0) << d;
    }
    // Asked together, a bound below the cut that a caller keeping `remaining` moves does
    // not need reads cut - 1, at or below `remaining`; every other bound is exact.
    for (int round = 0; round < 200; ++round) {
        std::array<PhaseOneCoordinates, kMoveCount> at{};
        for (PhaseOneCoordinates& c : at) {
            c = phaseOneCoordinates(played(randomMoves(random, static_cast<int>(random() % 7))));
        }
        const int remaining = static_cast<int>(random() % 8) - 1;
        std::array<int, kMoveCount> depths{};
        AskedDepths<kMoveCount> asked;
        askTogether(
            packed, at.size(), [&at](std::size_t i) { return at[i]; }, asked, remaining);
        while (!readAsked(packed, asked, depths)) {
        }
        for (std::size_t i = 0; i < at.size(); ++i) {
            const int bound = packed.depth(at[i]);
            if (bound < kPackedCut && remaining >= kPackedCut - 1) {
                EXPECT_EQ(depths[i], kPackedCut - 1) << round << " " << i;
            } else {
                EXPECT_EQ(depths[i], bound) << round << " " << i;
            }
        }
    }
}

TEST(PackedPatternTable, ReadsBytesNoBuildWritesAsTheTableBelow) {
    // Five values to a byte make at most 242; a file could still hold more. Such bytes
    // must read as a bound that holds, never past the table's own.
    PackedPatternTable<TableSize::medium> damaged;
    std::fill(damaged.bytes().begin(), damaged.bytes().end(), std::uint8_t{0xFF});
    std::mt19937 random(6);
    std::vector<PhaseOneCoordinates> cubes;
    for (int i = 0; i < 500; ++i) {
        cubes.push_back(phaseOneCoordinates(played(randomMoves(random, i % 12))));
    }
    // With no table below yet, they read 0, a bound that prunes nothing.
    for (const PhaseOneCoordinates& at : cubes) {
        ASSERT_EQ(damaged.depth(at), 0);
    }
    damaged.lookBelowIn(shallowPatternTable());
    for (const PhaseOneCoordinates& at : cubes) {
        ASSERT_EQ(damaged.depth(at), shallowPatternTable().depth(at));
    }
}

TEST(PatternTables, NumberTheirEntriesByTheClassesOfTheCubesSymmetricImages) {
    expectEntriesNumberedByClass<MediumPatternTable>(
        [](const PhaseOneCoordinates& at) { return at.sliceEdges / kSliceOrders; });
    expectEntriesNumberedByClass<LargePatternTable>(
        [](const PhaseOneCoordinates& at) { return at.sliceEdges; });
    expectEntriesNumberedByClass<HugePatternTable>(
        [](const PhaseOneCoordinates& at) { return edgeLayers(at); });
}

// Whether every turn of the up or down face leaves the solved cube in the table's entry of
// the solved cube, seen along the up-down axis.
template <typename Table>
bool upDownTurnsStayHome() {
    const std::uint64_t home = Table::indexOf(PhaseOneCoordinates{});
    bool all = true;
    for (const int side : {0, 3}) {
        for (int turns = 1; turns <= 3; ++turns) {
            const CubieCube turned = played({core::moveOf(side, turns)});
            all = all && Table::indexOf(phaseOneCoordinates(turned)) == home;
        }
    }
    return all;
}

TEST(PatternTables, SayWhetherTheirOwnAxisTurnsLeaveTheSolvedCubeHome) {
    // The search counts one more when all three axes agree only where that holds; a table
    // that claimed it wrongly would overstate the bound.
    EXPECT_EQ(upDownTurnsStayHome<MediumPatternTable>(), MediumPatternTable::kOwnAxisTurnsStayHome);
    EXPECT_EQ(upDownTurnsStayHome<LargePatternTable>(), LargePatternTable::kOwnAxisTurnsStayHome);
    EXPECT_EQ(upDownTurnsStayHome<HugePatternTable>(), HugePatternTable::kOwnAxisTurnsStayHome);
}

TEST(PatternTables, TheMediumTablesClassesAreNumberedExactly) {
    // Every flip-slice value of the medium table, in order: a value smaller than all of its
    // images starts the next class, and every value falls in the class of its smallest.
    std::vector<std::uint32_t> classOf(std::size_t{MediumPatternTable::kFlipSliceCount});
    std::uint32_t classes = 0;
    for (std::uint32_t value = 0; value < MediumPatternTable::kFlipSliceCount; ++value) {
        const auto slice = static_cast<int>(value / core::kFlipCount);
        CubieCube cube;
        core::setEdgeSet(cube, core::kSliceEdges, slice * kSliceOrders);
        core::setFlip(cube, static_cast<int>(value % core::kFlipCount));
        std::uint32_t smallest = value;
        for (int s = 1; s < kUdSymmetryCount; ++s) {
            const CubieCube image = conjugate(cube, s);
            smallest = std::min(smallest,
                                static_cast<std::uint32_t>(core::edgeSet(image, core::kSliceEdges) /
                                                               kSliceOrders * core::kFlipCount +
                                                           core::flip(image)));
        }
        classOf[value] = smallest == value ? classes++ : classOf[smallest];
        const std::uint64_t entry = MediumPatternTable::indexOf(phaseOneCoordinates(cube));
        ASSERT_EQ(entry / core::kTwistCount, classOf[value]) << value;
    }
    EXPECT_EQ(classes, MediumPatternTable::kClassCount);
}

TEST(LowerBound, NeverExceedsTheDistance) {
    std::vector<std::pair<CubieCube, int>> cubes = nearCubes(4);
    std::mt19937 random(5);
    for (int i = 0; i < 300; ++i) {
        const CubieCube cube = played(randomMoves(random, 5 + i % 3));
        const std::optional<int> distance = knownDistance(cube);
        ASSERT_TRUE(distance.has_value());
        cubes.emplace_back(cube, *distance);
    }
    ASSERT_GT(cubes.size(), 45000u);

    int exact = 0;
    for (const auto& [cube, distance] : cubes) {
        const int patternBound = lowerBound(cube, shallowPatternTable());
        ASSERT_LE(patternBound, distance);
        ASSERT_LE(lowerBound(cube, pairTables()), distance);
        exact += patternBound == distance ? 1 : 0;
    }
    // Looked up along three axes, the table knows most near cubes' distances exactly.
    EXPECT_GT(exact, static_cast<int>(cubes.size()) / 2);
}

TEST(LowerBound, CountsOneMoreWhenAllThreeAxesAgree) {
    // When the three axes ask for the same number of moves the cube needs at least one
    // more. Cubes five to seven moves away show that the bound takes it and is then exact.
    std::mt19937 random(11);
    int agreeing = 0;
    for (int i = 0; i < 1200; ++i) {
        const CubieCube cube = played(randomMoves(random, 5 + i % 3));
        std::array<int, kAxisCount> depths{};
        for (int a = 0; a < kAxisCount; ++a) {
            depths[static_cast<std::size_t>(a)] =
                shallowPatternTable().depth(phaseOneCoordinates(alongAxis(cube, a)));
        }
        if (depths[0] == 0 || depths[0] != depths[1] || depths[1] != depths[2]) {
            continue;
        }
        ++agreeing;
        const int bound = lowerBound(cube, shallowPatternTable());
        ASSERT_EQ(bound, depths[0] + 1);
        ASSERT_EQ(knownDistance(cube), bound);
    }
    EXPECT_GT(agreeing, 30);
}

TEST(LowerBound, IsOneForAQuarterTurnAndNoneForAHalfTurn) {
    // A half turn keeps the twists, flips and middle slice home along every axis.
    for (int m = 0; m < kMoveCount; ++m) {
        const int expected = core::moveQuarterTurns(m) == 2 ? 0 : 1;
        EXPECT_EQ(lowerBound(played({m}), shallowPatternTable()), expected) << "move " << m;
        EXPECT_EQ(lowerBound(played({m}), pairTables()), expected) << "move " << m;
    }
}

TEST(LowerBound, IsTheSameForEverySymmetricImageOfACube) {
    std::mt19937 random(9);
    for (int i = 0; i < 200; ++i) {
        const CubieCube cube = played(randomMoves(random, 3 + i % 4));
        const int bound = shallowPatternTable().depth(phaseOneCoordinates(cube));
        for (int s = 1; s < kUdSymmetryCount; ++s) {
            ASSERT_EQ(shallowPatternTable().depth(phaseOneCoordinates(conjugate(cube, s))), bound);
        }
    }
}

TEST(TableFile, EveryTableOnDiskHasAFileOfItsOwnInOneFolder) {
    const std::filesystem::path large = defaultTableFile(TableSize::large);
    if (large.empty()) {
        GTEST_SKIP() << "no cache folder on this machine";
    }
    // The others' files are named as --table-size names the tables.
    for (const auto& [size, name] : {std::pair{TableSize::medium, "optimal-medium.tables"},
                                     std::pair{TableSize::packed, "optimal-packed.tables"},
                                     std::pair{TableSize::huge, "optimal-huge.tables"}}) {
        const std::filesystem::path file = defaultTableFile(size);
        EXPECT_EQ(file.filename(), name);
        EXPECT_NE(file.filename(), large.filename());
        EXPECT_EQ(file.parent_path(), large.parent_path());
    }
}

} // namespace
} // namespace cw::optimal
