// cubewright-solve on one cube, given by moves, a seed or a facelet string: the cube as
// given, then its solution. Called through runRequest.
#include <cstdio>
#include <utility>

#include "cube/facelet_string.h"
#include "cube/random.h"
#include "cube/scramble.h"
#include "tools/runners.h"

namespace cw::tools {
namespace {

/// Gives `cube` the scramble a seed makes and returns its quarter turns.
MoveList scrambleFromSeed(Cube& cube, std::uint32_t seed) {
    MoveList turns;
    cw::srand(seed);
    drawScramble([&turns](int face, bool clockwise) { turns.emplace_back(face, clockwise); });
    cw::srand(seed);
    cube.reset();
    return turns;
}

} // namespace

int runOneCube(const SolveOptions& options) {
    const notation::Style style = moveStyle(options);
    Cube cube;
    if (options.facelets) {
        const std::string error = loadFaceletString(cube, *options.facelets);
        if (!error.empty()) {
            printError(notation::printable(error, 200));
            return kExitUsage;
        }
        printLine("facelets", *options.facelets);
    } else {
        MoveList applied;
        if (options.seed) {
            applied = scrambleFromSeed(cube, *options.seed);
        } else {
            std::string text;
            for (const std::string& word : options.moveWords) {
                text += word;
                text += ' ';
            }
            notation::ParseResult parsed = notation::parseMoves(text);
            if (!parsed.error.empty()) {
                printError(parsed.error);
                return kExitUsage;
            }
            applied = std::move(parsed.moves);
            setSolvedStickers(cube);
            for (const Move& move : applied) {
                cube.turn(move.face, move.clockwise);
            }
        }
        printLine("scramble", notation::formatMoves(applied, style));
    }

    const std::string stickers = faceletString(cube);
    if (options.optimalSolver) {
        const int status = printOptimalSolution(cube, options);
        if (status != kExitFailed && options.printFacelets) {
            printLine("facelets", stickers);
        }
        return status;
    }
    const std::optional<std::string> solution = solutionText(cube, options);
    if (!solution) {
        std::fflush(stdout);
        printError(std::string(kNotSolved));
        return kExitFailed;
    }
    printLine("solution", *solution);
    if (options.printFacelets) {
        printLine("facelets", stickers);
    }
    return 0;
}

} // namespace cw::tools
