// cubewright-solve on one cube, given by moves, a seed, a facelet string or measured
// colours: the cube as given, then its solution. Called through runRequest.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <utility>
#include <variant>

#include "cube/facelet_string.h"
#include "cube/random.h"
#include "cube/scramble.h"
#include "tools/colour_file.h"
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

/// The facelet string that the colours in `path` ("-": standard input) read as, or nothing
/// (with the message printed) when the file is missing or bad or the reading is not sure.
std::optional<std::string> readColourFile(const std::string& path) {
    std::string text;
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            printError("cannot read the colours from \"" + notation::printable(path) + "\"");
            return std::nullopt;
        }
        std::ostringstream read;
        read << in.rdbuf();
        text = read.str();
    }
    const std::variant<StickerColours, std::string> parsed = parseColourFile(text);
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        printError(*error);
        return std::nullopt;
    }
    const ColourReading reading = readColours(std::get<StickerColours>(parsed));
    if (!reading.sure()) {
        printError("the colours do not read clearly as one cube; stickers in doubt: " +
                   stickerNames(reading.doubtful));
        return std::nullopt;
    }
    return reading.facelets;
}

} // namespace

int runOneCube(const SolveOptions& options) {
    const notation::Style style = moveStyle(options);
    Cube cube;
    std::optional<std::string> facelets = options.facelets;
    if (options.coloursFile) {
        facelets = readColourFile(*options.coloursFile);
        if (!facelets) {
            return kExitUsage;
        }
    }
    if (facelets) {
        const std::string error = loadFaceletString(cube, *facelets);
        if (!error.empty()) {
            printError(notation::printable(error, 200));
            return kExitUsage;
        }
        printLine("facelets", *facelets);
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
