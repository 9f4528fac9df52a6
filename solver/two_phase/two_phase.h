// The short solver: a two-phase search that finds solutions of about 20 face turns for any
// reachable cube, and random-state scrambles built on it. Used by cubewright-solve
// (--short, --scramble), its tests and the short-solver benchmark.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube.h"
#include "cube/cubie_cube.h"
#include "cube/move.h"

/// How to call it. Validate the stickers first with cw::loadFaceletString (it gives the
/// messages), then call solve() with the cube or solveFacelets() with the string; both return
/// the solution as face turns (face + 1, 2 or 3 clockwise quarter turns), which
/// formatSolution() writes in standard notation ("R2 U' F") and faceTurnCount() and
/// quarterTurnCount() measure. The move and pruning tables are built once per process, on
/// the first solve or on prepareTables(), behind a once-only guard, and are only read after
/// that; every solve keeps its own search state, so any number of threads may solve at once.
/// The search is deterministic: the same cube and limits give the same solution on every
/// thread and every run. randomStateFacelets() draws a uniformly random reachable cube from
/// its own 64-bit seeded generator (never cw::rand), and randomScramble() pairs such a cube
/// with the moves that make it: the inverse of its short solution.
namespace cw::two_phase {

/// Face turns in the order they are played, each `face` in the cube's numbering (0 front,
/// 1 right, 2 up, 3 back, 4 left, 5 down).
using Solution = std::vector<FaceTurn>;

/// Which tables the search runs on. The small ones (5.8 MB) are built in a fraction of a
/// second at each start and need neither threads nor a disk, as in a browser. The large ones
/// (about 130 MB) prune far more and find solutions of at most 20 face turns in about a
/// millisecond; they are built once, on every core, and kept in the user's cache folder (see
/// solver/two_phase/large_tables.h).
enum class TableSize { small, large };

/// The tables cubewright-solve searches with unless told otherwise: the large ones, except
/// in the browser build, which has neither the memory to spare nor a disk to keep them on.
#ifdef __EMSCRIPTEN__
inline constexpr TableSize kDefaultTableSize = TableSize::small;
#else
inline constexpr TableSize kDefaultTableSize = TableSize::large;
#endif

/// How long solve() searches. It stops at the first solution of at most `targetLength` face
/// turns (0: none is short enough). With the small tables, failing that, once it has visited
/// `nodeLimit` positions in its search trees, it returns the shortest solution found so far
/// (it never returns without one); counting positions rather than time keeps the result the
/// same on a busy machine and on any thread. With the large tables it never stops before it
/// has a solution of at most 20 face turns. A nonzero `budget` lets either go on for shorter
/// solutions until that much time has passed since the solve began (instead of the node
/// limit); either stops at once when its search has shown that no shorter solution exists.
/// With the large tables, a nonzero `shorterNodes` does what `budget` does until the search
/// has visited that many positions instead: slower on a busy machine, but the same solution
/// on any. With the large tables, a `stop` flag that is set ends the search as a passed
/// budget does, for a caller that has been told to stop (Ctrl-C).
struct SearchLimits {
    int targetLength = 20;
    std::uint64_t nodeLimit = 150000;
    TableSize tables = TableSize::small;
    std::chrono::milliseconds budget{0};
    std::uint64_t shorterNodes = 0;
    const std::atomic<bool>* stop = nullptr;
};

/// Builds the small move and pruning tables now, if no call has built them yet; for the
/// large ones, see prepareLargeTables(). Thread-safe; every later call returns at once.
void prepareTables();

/// A solution of the cube whose stickers `facelets` lists in the format of
/// cw::loadFaceletString, or nothing when the string does not describe a cube that face turns
/// can reach (cw::loadFaceletString names the fault). A solved cube gives no moves.
std::optional<Solution> solveFacelets(std::string_view facelets, const SearchLimits& limits = {});

/// A solution of a cube given as its pieces, which must be one that face turns reach (as
/// cw::loadFaceletString and core::fromFacelets check).
Solution solvePieces(const CubieCube& cube, const SearchLimits& limits = {});

/// A solution of the cube's live stickers (their colours; cubie codes are not read), or
/// nothing when they do not form a reachable cube.
std::optional<Solution> solve(const Cube& cube, const SearchLimits& limits = {});

/// The moves in standard notation separated by single spaces, e.g. "R2 U' F"; empty for no
/// moves. (cw::notation::formatFaceTurns writes them.)
std::string formatSolution(const Solution& moves);

/// The length in face turns: every move counts once, half turns included.
int faceTurnCount(const Solution& moves);

/// The length in quarter turns: a half turn counts twice.
int quarterTurnCount(const Solution& moves);

/// The moves that undo `moves`: reversed, each turned the other way.
Solution inverse(const Solution& moves);

/// The same moves as quarter turns for cw::Cube::turn and cw::notation::formatMoves: a half
/// turn becomes two clockwise quarter turns, R' one counter-clockwise turn.
MoveList quarterTurns(const Solution& moves);

/// The `index`-th cube of the sequence that `seed` starts, as a facelet string: drawn
/// uniformly from all reachable states (corner and edge permutations of equal parity, twists
/// adding up to a multiple of 3, flips to an even number). As the official scrambling
/// programs do, a state that none or one face turn solves is drawn again from the same
/// generator (19 states in 4.3e19). Each (seed, index) pair has its own generator, so cubes
/// can be drawn in any order or on any thread with the same result.
std::string randomStateFacelets(std::uint64_t seed, std::uint64_t index = 0);

/// A random-state scramble as the official scrambling programs make them.
struct Scramble {
    /// The moves that take a solved cube to `facelets`.
    Solution moves;
    /// The scrambled cube.
    std::string facelets;
};

/// The scramble of randomStateFacelets(seed, index): the inverse of that cube's short
/// solution.
Scramble randomScramble(std::uint64_t seed, std::uint64_t index = 0,
                        const SearchLimits& limits = {});

} // namespace cw::two_phase
