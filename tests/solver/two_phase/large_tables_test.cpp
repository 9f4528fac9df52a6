// Tests of the short solver's large tables against the sticker model and the plain search,
// of the search on them, and of their table file. The tables come from the test run's shared
// cache folder (see tests/CMakeLists.txt), built there once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "solver/core/cubie.h"
#include "solver/core/symmetry.h"
#include "solver/core/table_cache.h"
#include "solver/two_phase/large_tables.h"
#include "solver/two_phase/tables.h"
#include "solver/two_phase/two_phase.h"

namespace cw::two_phase {
namespace {

// Random move sequences, the same on every run; of the second phase's moves only when
// `inSubgroup`.
std::vector<std::vector<int>> randomMoveLists(int count, int length, bool inSubgroup,
                                              unsigned seed = 5) {
    std::mt19937 generator(seed);
    std::vector<std::vector<int>> lists(static_cast<std::size_t>(count));
    for (std::vector<int>& moves : lists) {
        for (int i = 0; i < length; ++i) {
            moves.push_back(inSubgroup ? kPhase2Moves[generator() % kPhase2Moves.size()]
                                       : static_cast<int>(generator() % kMoveCount));
        }
    }
    return lists;
}

void turnStickers(Cube& cube, int move) {
    for (int i = 0; i < moveQuarterTurns(move); ++i) {
        cube.turn(cubeFace(moveFace(move)), true);
    }
}

CubieCube piecesAfter(const std::vector<int>& moves) {
    Cube cube;
    setSolvedStickers(cube);
    for (const int m : moves) {
        turnStickers(cube, m);
    }
    return fromFacelets(faceletString(cube)).value();
}

std::string stickersAfter(const Solution& moves, const std::string& start) {
    Cube cube;
    EXPECT_EQ(loadFaceletString(cube, start), "");
    for (const Move& move : quarterTurns(moves)) {
        cube.turn(move.face, move.clockwise);
    }
    return faceletString(cube);
}

SearchLimits largeLimits() {
    SearchLimits limits;
    limits.tables = TableSize::large;
    return limits;
}

TEST(LargeTables, MoveTablesFollowTheStickers) {
    const LargeTables& t = largeTables();
    for (const bool inSubgroup : {false, true}) {
        for (const std::vector<int>& moves : randomMoveLists(60, 30, inSubgroup)) {
            const CubieCube before = piecesAfter(moves);
            for (int m = 0; m < kMoveCount; ++m) {
                std::vector<int> longer = moves;
                longer.push_back(m);
                const CubieCube after = piecesAfter(longer);
                const auto at = [m](int value) {
                    return static_cast<std::size_t>(value) * kMoveCount +
                           static_cast<std::size_t>(m);
                };
                ASSERT_EQ(t.twistMove[at(twist(before))], twist(after));
                ASSERT_EQ(t.flipMove[at(flip(before))], flip(after));
                ASSERT_EQ(t.cornerMove[at(cornerPermutation(before))], cornerPermutation(after));
                for (const int first : {kUpEdges, kDownEdges, kSliceEdges}) {
                    const std::vector<std::uint16_t>& table = first == kUpEdges ? t.upEdgesMove
                                                              : first == kDownEdges
                                                                  ? t.downEdgesMove
                                                                  : t.sliceEdgesMove;
                    ASSERT_EQ(table[at(edgeSet(before, first))], edgeSet(after, first)) << first;
                }
            }
            if (!inSubgroup) {
                continue;
            }
            const int udEdges = udEdgePermutation(before);
            ASSERT_EQ(t.udEdgesOfHalves[static_cast<std::size_t>(edgeSet(before, kUpEdges)) * 24 +
                                        static_cast<std::size_t>(edgeSet(before, kDownEdges) % 24)],
                      udEdges);
            for (std::size_t k = 0; k < kPhase2Moves.size(); ++k) {
                std::vector<int> longer = moves;
                longer.push_back(kPhase2Moves[k]);
                ASSERT_EQ(t.udEdgeMove[static_cast<std::size_t>(udEdges) * kPhase2MoveCount + k],
                          udEdgePermutation(piecesAfter(longer)));
            }
        }
    }
}

TEST(LargeTables, SymmetryTablesFollowTheConjugatedCubes) {
    const LargeTables& t = largeTables();
    for (const bool inSubgroup : {false, true}) {
        for (const std::vector<int>& moves : randomMoveLists(60, 30, inSubgroup)) {
            const CubieCube cube = piecesAfter(moves);
            for (int s = 0; s < kUdSymmetryCount; ++s) {
                const CubieCube image = conjugate(cube, s);
                const auto conjugated = [s](int value) {
                    return static_cast<std::size_t>(value * kUdSymmetryCount + s);
                };
                ASSERT_EQ(t.twistConj[conjugated(twist(cube))], twist(image));
                if (inSubgroup) {
                    ASSERT_EQ(t.udEdgeConj[conjugated(udEdgePermutation(cube))],
                              udEdgePermutation(image));
                }
            }
            // The recorded symmetry carries the cube onto its class representative.
            const std::uint32_t flipSlice = t.flipSliceClassSym[static_cast<std::size_t>(
                slice(cube) * kFlipCount + flip(cube))];
            const CubieCube onRep = conjugate(cube, static_cast<int>(flipSlice & 15));
            EXPECT_EQ(static_cast<std::uint32_t>(slice(onRep) * kFlipCount + flip(onRep)),
                      t.flipSliceRep[flipSlice >> 4]);
            const unsigned corners =
                t.cornerClassSym[static_cast<std::size_t>(cornerPermutation(cube))];
            EXPECT_EQ(cornerPermutation(conjugate(cube, static_cast<int>(corners & 15))),
                      t.cornerRep[corners >> 4]);
        }
    }
}

// A search keeps a cube's flip-and-slice class and symmetry and moves it by the class table:
// the move seen through the symmetry, played on the representative, then both symmetries
// one after the other. That must land on the class, and the phase-one depth, that the moved
// cube's own coordinates give (the symmetry may differ where the representative has
// symmetries of its own, which the table gives the same depths); and each class's bound over
// every twist is one.
TEST(LargeTables, ClassMovesAgreeWithTheMovedCubesAndClassBoundsHoldForEveryTwist) {
    const LargeTables& t = largeTables();
    for (const std::vector<int>& moves : randomMoveLists(60, 30, false)) {
        const CubieCube cube = piecesAfter(moves);
        const std::uint32_t classSym = t.flipSliceClassOf(flip(cube), slice(cube));
        for (int m = 0; m < kMoveCount; ++m) {
            const CubieCube next = multiply(cube, moveCube(m));
            const std::uint32_t onRep =
                t.flipSliceClassMove[std::size_t{classSym >> 4} * kMoveCount +
                                     static_cast<std::size_t>(
                                         conjugateMove(m, static_cast<int>(classSym & 15)))];
            const auto both = static_cast<std::uint32_t>(
                composeSymmetries(static_cast<int>(classSym & 15), static_cast<int>(onRep & 15)));
            const std::uint32_t carried = (onRep & ~15U) | both;
            const std::uint32_t direct = t.flipSliceClassOf(flip(next), slice(next));
            ASSERT_EQ(carried >> 4, direct >> 4) << "move " << m;
            ASSERT_EQ(t.phase1Depth[t.phase1Index(carried, twist(next))],
                      t.phase1Depth[t.phase1Index(direct, twist(next))])
                << "move " << m;
            ASSERT_LE(t.flipSliceClassDepth[carried >> 4],
                      t.phase1Distance(flip(next), slice(next), twist(next)));
        }
    }
    // Class 0 is the subgroup's flip and slice alone, and some twist reaches each bound.
    EXPECT_EQ(t.flipSliceClassOf(0, 0) >> 4, 0U);
    for (std::size_t cls : {std::size_t{0}, std::size_t{1}, std::size_t{777},
                            std::size_t{kFlipSliceClassCount - 1}}) {
        int fewest = 15;
        for (std::size_t twistValue = 0; twistValue < kTwistCount; ++twistValue) {
            fewest = std::min(fewest, t.phase1Depth[cls * kTwistCount + twistValue]);
        }
        EXPECT_EQ(t.flipSliceClassDepth[cls], fewest) << "class " << cls;
    }
}

// The exact number of moves into the subgroup, by iterative deepening on the small tables'
// bounds, which are stored for every coordinate value without symmetry.
int plainPhase1Distance(const Tables& small, int twistValue, int flipValue, int sliceValue,
                        int togo) {
    if (togo == 0) {
        return twistValue == 0 && flipValue == 0 && sliceValue == 0 ? 0 : -1;
    }
    for (std::size_t m = 0; m < kMoveCount; ++m) {
        const int t = small.twistMove[static_cast<std::size_t>(twistValue) * kMoveCount + m];
        const int f = small.flipMove[static_cast<std::size_t>(flipValue) * kMoveCount + m];
        const int s = small.sliceMove[static_cast<std::size_t>(sliceValue) * kMoveCount + m];
        if (small.phase1Bound(t, f, s) <= togo - 1 &&
            plainPhase1Distance(small, t, f, s, togo - 1) >= 0) {
            return togo;
        }
    }
    return -1;
}

TEST(LargeTables, ReducedDepthsEqualThePlainDistancesOnASample) {
    const LargeTables& t = largeTables();
    const Tables& small = tables();
    std::vector<std::vector<int>> samples = randomMoveLists(40, 30, false);
    for (int length = 1; length <= 8; ++length) {
        const std::vector<std::vector<int>> near =
            randomMoveLists(10, length, false, 100U + static_cast<unsigned>(length));
        samples.insert(samples.end(), near.begin(), near.end());
    }
    for (const std::vector<int>& moves : samples) {
        const CubieCube cube = piecesAfter(moves);
        const int reduced = t.phase1Distance(flip(cube), slice(cube), twist(cube));
        int plain = small.phase1Bound(twist(cube), flip(cube), slice(cube));
        while (plainPhase1Distance(small, twist(cube), flip(cube), slice(cube), plain) < 0) {
            ++plain;
        }
        ASSERT_EQ(reduced, plain);
        for (int s = 1; s < kUdSymmetryCount; ++s) {
            const CubieCube image = conjugate(cube, s);
            ASSERT_EQ(t.phase1Distance(flip(image), slice(image), twist(image)), reduced);
        }
    }
    // In the second phase: zero only when solved, one move changes it by at most one and
    // some move brings it one closer, the same for every symmetric image. (Depths past 15
    // are kept as 15.)
    for (const std::vector<int>& moves : randomMoveLists(100, 25, true)) {
        const CubieCube cube = piecesAfter(moves);
        const int distance = t.phase2Distance(cornerPermutation(cube), udEdgePermutation(cube));
        EXPECT_EQ(distance == 0, cornerPermutation(cube) == 0 && udEdgePermutation(cube) == 0);
        bool closer = false;
        for (const int m : kPhase2Moves) {
            const CubieCube next = multiply(cube, moveCube(m));
            const int after = t.phase2Distance(cornerPermutation(next), udEdgePermutation(next));
            ASSERT_LE(std::abs(after - distance), distance == 15 || after == 15 ? 15 : 1);
            closer = closer || after == distance - 1;
        }
        EXPECT_TRUE(closer || distance == 0 || distance == 15);
        for (int s = 1; s < kUdSymmetryCount; ++s) {
            const CubieCube image = conjugate(cube, s);
            ASSERT_EQ(t.phase2Distance(cornerPermutation(image), udEdgePermutation(image)),
                      distance);
        }
    }
}

TEST(LargeTables, AFreshBuildGivesTheTablesTheSolverUses) {
    // Built from nothing, as short_solver_bench --build-tables does, rather than into the
    // sized tables the file's reader hands over: every section byte for byte as the ones
    // the solver loaded or built.
    LargeTables fresh;
    std::ostringstream progress;
    buildLargeTables(fresh, 2, progress);
    EXPECT_NE(progress.str().find("100%"), std::string::npos) << progress.str();
    const auto built = fresh.sections();
    const auto used = largeTables().sections();
    ASSERT_EQ(built.size(), used.size());
    for (std::size_t i = 0; i < built.size(); ++i) {
        EXPECT_TRUE(std::ranges::equal(built[i], used[i])) << "section " << i;
    }
}

TEST(LargeSolve, ThreeThousandRandomStatesInAtMostTwentyFaceTurns) {
    for (std::uint64_t index = 0; index < 3000; ++index) {
        const std::string text = randomStateFacelets(31, index);
        const std::optional<Solution> solution = solveFacelets(text, largeLimits());
        ASSERT_TRUE(solution.has_value()) << text;
        ASSERT_LE(faceTurnCount(*solution), 20) << text;
        ASSERT_EQ(stickersAfter(*solution, text), kSolvedFaceletString)
            << text << " with " << formatSolution(*solution);
    }
}

// Cubes that look the same from several sides, where one search must stand for the others,
// and cubes the first phase has nothing to do for.
TEST(LargeSolve, SymmetricCubesAndCubesAlreadyInTheSubgroup) {
    // Every edge flipped in place: a cube known to need exactly 20 face turns.
    CubieCube superflip;
    superflip.eo.fill(1);
    // Opposite faces turned half-way: six face turns.
    const CubieCube checkerboard = piecesAfter({4, 13, 1, 10, 7, 16});
    struct Case {
        CubieCube cube;
        int longest;
    };
    std::vector<Case> cases = {{superflip, 20}, {checkerboard, 6}};
    for (const std::vector<int>& moves : randomMoveLists(20, 9, true, 7)) {
        cases.push_back({piecesAfter(moves), 9});
    }
    for (const auto& [cube, longest] : cases) {
        const std::string text = faceletString(cube);
        const Solution solution = solveFacelets(text, largeLimits()).value();
        EXPECT_LE(faceTurnCount(solution), longest) << text;
        EXPECT_EQ(stickersAfter(solution, text), kSolvedFaceletString) << text;
    }
}

TEST(LargeSolve, BudgetAndMaxLengthGiveNoMoreThanTheTurnsThatMadeTheCube) {
    for (int length = 1; length <= 12; ++length) {
        for (const std::vector<int>& moves :
             randomMoveLists(3, length, false, 200U + static_cast<unsigned>(length))) {
            const std::string text = faceletString(piecesAfter(moves));
            SearchLimits maxLength = largeLimits();
            maxLength.targetLength = length;
            SearchLimits budget = largeLimits();
            budget.targetLength = 0;
            budget.budget = std::chrono::milliseconds(100);
            for (const SearchLimits& limits : {maxLength, budget}) {
                const Solution solution = solveFacelets(text, limits).value();
                EXPECT_LE(faceTurnCount(solution), length) << text;
                EXPECT_EQ(stickersAfter(solution, text), kSolvedFaceletString) << text;
            }
        }
    }
    // With time to spare a random cube's solution gets no longer, and often shorter.
    int saved = 0;
    for (std::uint64_t index = 0; index < 20; ++index) {
        const std::string text = randomStateFacelets(32, index);
        SearchLimits budget = largeLimits();
        budget.targetLength = 0;
        budget.budget = std::chrono::milliseconds(50);
        const int quick = faceTurnCount(solveFacelets(text, largeLimits()).value());
        const Solution longer = solveFacelets(text, budget).value();
        EXPECT_LE(faceTurnCount(longer), quick);
        EXPECT_EQ(stickersAfter(longer, text), kSolvedFaceletString);
        saved += quick - faceTurnCount(longer);
    }
    EXPECT_GT(saved, 0);
}

TEST(LargeSolve, PositionsToSpareGiveShorterSolutionsTheSameOnEveryRun) {
    int saved = 0;
    for (std::uint64_t index = 0; index < 6; ++index) {
        const std::string text = randomStateFacelets(33, index);
        const int quick = faceTurnCount(solveFacelets(text, largeLimits()).value());
        SearchLimits spare = largeLimits();
        spare.targetLength = 0;
        spare.shorterNodes = 200'000;
        const Solution first = solveFacelets(text, spare).value();
        EXPECT_EQ(solveFacelets(text, spare).value(), first) << text;
        EXPECT_LE(faceTurnCount(first), quick) << text;
        EXPECT_EQ(stickersAfter(first, text), kSolvedFaceletString) << text;
        saved += quick - faceTurnCount(first);
        // Going on from where that stopped, more positions find nothing longer.
        spare.shorterNodes = 800'000;
        const Solution further = solveFacelets(text, spare).value();
        EXPECT_LE(faceTurnCount(further), faceTurnCount(first)) << text;
        EXPECT_EQ(stickersAfter(further, text), kSolvedFaceletString) << text;
    }
    EXPECT_GT(saved, 0);
}

// A copy of the test run's table file in a folder of its own, and a build that counts its
// calls and copies the shared tables instead of taking a minute.
class LargeTableFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::path(::testing::TempDir()) /
                  ("large_table_file_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        file_ = folder_ / "short-solver.tables";
        std::filesystem::copy_file(defaultLargeTableFile(), file_,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    bool load(const std::filesystem::path& file, std::string& notes) {
        std::ostringstream out;
        LargeTables tables;
        const bool loaded = loadOrBuildLargeTables(tables, file, out, [this](LargeTables& built) {
            ++builds_;
            built = largeTables();
        });
        notes = out.str();
        EXPECT_EQ(tables.phase1Depth.storage(), largeTables().phase1Depth.storage());
        return loaded;
    }

    std::filesystem::path folder_;
    std::filesystem::path file_;
    int builds_ = 0;
};

TEST_F(LargeTableFile, TablesAreBuiltInThePlaceTheFileIsWrittenFrom) {
    // The real build fills the sized tables where they are (load() above checks its copy
    // of them); a build that puts a table somewhere else would have the file written from
    // storage it left, and is refused.
    LargeTables tables;
    std::ostringstream out;
    EXPECT_THROW(loadOrBuildLargeTables(tables, folder_ / "moved.tables", out,
                                        [](LargeTables& built) {
                                            built.twistMove = std::vector<std::uint16_t>(
                                                built.twistMove.size() + 1);
                                        }),
                 std::logic_error);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "moved.tables"));
}

TEST_F(LargeTableFile, DamagedTruncatedOrForeignFilesAreRebuiltWithANote) {
    std::string notes;
    ASSERT_TRUE(load(file_, notes));
    EXPECT_EQ(notes, "");
    const auto size = std::filesystem::file_size(file_);
    const auto damage = [this, size](int kind) {
        if (kind == 0) {
            std::fstream bytes(file_, std::ios::in | std::ios::out | std::ios::binary);
            bytes.seekp(static_cast<std::streamoff>(size / 2));
            bytes.put('\x5A');
        } else if (kind == 1) {
            std::filesystem::resize_file(file_, size - 1000);
        } else {
            // Another version, or this one with its sections in another order.
            table_cache::FileFormat other = largeTableFormat();
            if (kind == 2) {
                ++other.version;
            } else {
                std::reverse(other.sectionBytes.begin(), other.sectionBytes.end());
            }
            std::vector<std::vector<std::uint8_t>> zeros;
            std::vector<std::span<const std::uint8_t>> sections;
            for (const std::uint64_t bytes : other.sectionBytes) {
                zeros.emplace_back(bytes);
                sections.emplace_back(zeros.back());
            }
            std::string why;
            ASSERT_TRUE(table_cache::store(file_, other, sections, why)) << why;
        }
    };
    for (int kind = 0; kind < 4; ++kind) {
        damage(kind);
        builds_ = 0;
        EXPECT_FALSE(load(file_, notes)) << kind;
        EXPECT_EQ(builds_, 1);
        EXPECT_NE(notes.find("damaged"), std::string::npos) << notes;
        EXPECT_EQ(std::count(notes.begin(), notes.end(), '\n'), 1) << notes;
        // The rebuilt file is whole again.
        EXPECT_TRUE(load(file_, notes)) << kind;
        EXPECT_EQ(builds_, 1);
    }
}

TEST(LargeTableLayout, SizedTablesAreTheFormatsSectionsEachInItsOwnStorage) {
    LargeTables sized;
    sizeLargeTables(sized);
    const table_cache::FileFormat format = largeTableFormat();
    std::vector<std::span<std::uint8_t>> sections = sized.sections();
    ASSERT_EQ(sections.size(), format.sectionBytes.size());
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        EXPECT_EQ(sections[i].size(), format.sectionBytes[i]) << i;
        total += format.sectionBytes[i];
    }
    EXPECT_EQ(sized.bytes(), total);
    EXPECT_EQ(sized.phase1Depth.size(), kPhase1Entries);
    EXPECT_EQ(sized.phase2Depth.size(), kPhase2Entries);
    // No table is named twice or overlaps another.
    std::sort(sections.begin(), sections.end(),
              [](const auto& a, const auto& b) { return a.data() < b.data(); });
    for (std::size_t i = 1; i < sections.size(); ++i) {
        EXPECT_LE(sections[i - 1].data() + sections[i - 1].size(), sections[i].data()) << i;
    }
}

TEST_F(LargeTableFile, AFolderThatCannotBeWrittenStillGivesTables) {
    // A plain file where the folder should be: not even root can create the folder.
    std::ofstream(folder_ / "blocked") << "not a folder";
    std::string notes;
    EXPECT_FALSE(load(folder_ / "blocked" / "cubewright" / "short-solver.tables", notes));
    EXPECT_EQ(builds_, 1);
    EXPECT_NE(notes.find("could not write"), std::string::npos) << notes;
    // No cache at all: built, nothing written, nothing said.
    EXPECT_FALSE(load({}, notes));
    EXPECT_EQ(notes, "");
}

// Run as a process of its own by the next test, when the environment names a table file.
TEST_F(LargeTableFile, WriterProcess) {
    const char* target = std::getenv("CUBEWRIGHT_TEST_TABLE_FILE");
    if (target == nullptr) {
        GTEST_SKIP() << "started only by TwoProcessesAtOnceLeaveOneGoodFile";
    }
    std::string notes;
    load(target, notes);
    const std::string text = randomStateFacelets(33, 0);
    const Solution solution = solveFacelets(text, largeLimits()).value();
    EXPECT_EQ(stickersAfter(solution, text), kSolvedFaceletString);
}

TEST_F(LargeTableFile, TwoProcessesAtOnceBothSolveAndLeaveOneGoodFile) {
    const std::filesystem::path shared = folder_ / "two" / "short-solver.tables";
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string one = "CUBEWRIGHT_TEST_TABLE_FILE='" + shared.string() + "' '" + self +
                            "' --gtest_filter=LargeTableFile.WriterProcess >/dev/null";
    EXPECT_EQ(std::system(("(" + one + ") & (" + one + "); wait $!; s=$?; wait; exit $s").c_str()),
              0);
    std::string notes;
    EXPECT_TRUE(load(shared, notes));
    EXPECT_EQ(builds_, 0);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(shared.parent_path())) {
        ++files;
    }
    EXPECT_EQ(files, 1U) << "a temporary file was left behind";
}

} // namespace
} // namespace cw::two_phase
