// What the solve page asks of the project's C++: the facelet checks with the stickers
// their message names, both solvers with the command-line tool's solution line, moves
// turned into stickers and random-state cubes. Used by the page's WebAssembly exports
// and their tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cw::solve_page {

/// The verdict on a facelet string.
struct Check {
    /// Empty when the string describes a cube face turns can reach; otherwise the message
    /// cubewright-solve prints for it.
    std::string message;
    /// Positions in the string (0 to 53) of the stickers at fault, as the facelet reader
    /// gives them: the bad letter, the centre, the piece in a slot, every slot holding a
    /// piece that appears twice, or the corners turned, edges flipped or pieces moved for a
    /// twist, a flip or a swap. Empty when there are none to name.
    std::vector<int> marked;
};

/// Runs the facelet reader's checks on `facelets`.
Check checkFacelets(std::string_view facelets);

/// The two ways to solve.
enum class Method {
    kShort,        ///< the two-phase search, as `--short`
    kLayerByLayer, ///< the program's own method, written as `--compact` writes it
};

/// A solution to follow move by move.
struct Solution {
    /// Empty on success; otherwise why there is no solution (the check's message, or
    /// that the solver failed).
    std::string error;
    /// The text after "solution: " that cubewright-solve prints for the same cube and
    /// method.
    std::string line;
    /// The moves in the notation of `line`, one token each ("R2", "U'").
    std::vector<std::string> moves;
    /// The stickers before the first move and after each move: moves.size() + 1 strings.
    std::vector<std::string> states;
};

/// Solves the cube `facelets` describes with `method`, checking the solution on the
/// stickers as the command-line tool does.
Solution solve(std::string_view facelets, Method method);

/// A solved cube with `moves` (notation as cubewright-solve reads it) applied.
struct Applied {
    std::string facelets; ///< the resulting stickers; empty when `error` is set
    std::string error;    ///< the notation's message for bad moves
};

/// Applies `moves` to a solved cube.
Applied applyMoves(std::string_view moves);

/// A random-state cube and the scramble that makes it, as `--scramble --scramble-seed`
/// gives for `seed`.
struct RandomCube {
    std::string scramble;
    std::string facelets;
};

/// The first cube `--scramble --scramble-seed seed` prints.
RandomCube randomCube(std::uint64_t seed);

/// What the colour reader made of a camera scan.
struct Scan {
    /// Empty unless the colours were not 54 of six hex digits each.
    std::string error;
    /// The cube read; empty when the reading is not sure.
    std::string facelets;
    /// The most likely reading, even when it is not sure, to paint the net with.
    std::string best;
    /// Positions (0 to 53) of the stickers in doubt.
    std::vector<int> doubtful;
    /// Each face's colour as the scan saw it, U, R, F, D, L, B, as "#rrggbb".
    std::vector<std::string> faceColours;
};

/// Reads 54 colours in the facelet order, each six hex digits "rrggbb", run together.
Scan readScan(std::string_view colours);

/// Builds the short solver's tables now, so that the first solve does not wait for them.
void prepare();

/// The results as JSON objects for the page's script.
std::string toJson(const Check& check);
std::string toJson(const Solution& solution);
std::string toJson(const Applied& applied);
std::string toJson(const RandomCube& cube);
std::string toJson(const Scan& scan);

} // namespace cw::solve_page
