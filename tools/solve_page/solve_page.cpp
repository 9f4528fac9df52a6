// The solve page's C++ side: thin calls into the facelet reader, both solvers, the
// notation and the random-state scrambler, with results the page's script can read.
// Called by the WebAssembly exports and by the tests.
#include "tools/solve_page/solve_page.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cube/colour_reader.h"
#include "cube/cube.h"
#include "cube/facelet_places.h"
#include "cube/facelet_string.h"
#include "cube/notation.h"
#include "solver/two_phase/two_phase.h"
#include "tools/runners.h"

namespace cw::solve_page {
namespace {

using namespace facelet_places;

// The tokens of a solution line, without its trailing "(... turns)".
std::vector<std::string> tokens(std::string_view line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size() && line[at] != '(') {
        const std::size_t end = std::min(line.find(' ', at), line.size());
        if (end > at) {
            words.emplace_back(line.substr(at, end - at));
        }
        at = end + 1;
    }
    return words;
}

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(byte));
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendJsonNumbers(std::string& out, const std::vector<int>& numbers) {
    out += '[';
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        // Appended piece by piece: GCC 12 warns falsely about "," + std::string here.
        if (i > 0) {
            out += ',';
        }
        out += std::to_string(numbers[i]);
    }
    out += ']';
}

void appendJsonStrings(std::string& out, const std::vector<std::string>& texts) {
    out += '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        appendJsonString(out, texts[i]);
    }
    out += ']';
}

} // namespace

Check checkFacelets(std::string_view facelets) {
    FaceletReading reading = readFaceletString(facelets);
    return {std::move(reading.error), std::move(reading.places)};
}

Solution solve(std::string_view facelets, Method method) {
    Solution solution;
    Cube cube;
    solution.error = loadFaceletString(cube, facelets);
    if (!solution.error.empty()) {
        return solution;
    }
    // The tool's own solution line, checked on the stickers as the tool checks it; the
    // short solver on its small tables, which the page builds in its worker and keeps in
    // memory.
    tools::SolveOptions options;
    options.shortSolver = method == Method::kShort;
    options.compact = true;
    options.tables = two_phase::TableSize::small;
    const std::optional<std::string> line = tools::solutionText(cube, options);
    if (!line) {
        solution.error = tools::kNotSolved;
        return solution;
    }
    solution.line = *line;
    solution.moves = tokens(*line);
    solution.states.push_back(faceletString(cube));
    for (const std::string& move : solution.moves) {
        for (const Move& turn : notation::parseMoves(move).moves) {
            cube.turn(turn.face, turn.clockwise);
        }
        solution.states.push_back(faceletString(cube));
    }
    return solution;
}

Applied applyMoves(std::string_view moves) {
    notation::ParseResult parsed = notation::parseMoves(moves);
    if (!parsed.error.empty()) {
        return {"", parsed.error};
    }
    Cube cube;
    setSolvedStickers(cube);
    for (const Move& move : parsed.moves) {
        cube.turn(move.face, move.clockwise);
    }
    return {faceletString(cube), ""};
}

RandomCube randomCube(std::uint64_t seed) {
    const two_phase::Scramble scramble = two_phase::randomScramble(seed);
    return {two_phase::formatSolution(scramble.moves), scramble.facelets};
}

void prepare() {
    two_phase::prepareTables();
}

std::string toJson(const Check& check) {
    std::string out = "{\"message\":";
    appendJsonString(out, check.message);
    out += ",\"marked\":";
    appendJsonNumbers(out, check.marked);
    return out + "}";
}

Scan readScan(std::string_view colours) {
    Scan scan;
    StickerColours stickers{};
    if (colours.size() != stickers.size() * 6 ||
        colours.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
        scan.error = "a scan needs 54 colours of six hex digits each";
        return scan;
    }
    for (std::size_t i = 0; i < stickers.size(); ++i) {
        const auto channel = [&](std::size_t k) {
            return static_cast<std::uint8_t>(
                std::stoi(std::string(colours.substr(i * 6 + k * 2, 2)), nullptr, 16));
        };
        stickers[i] = {channel(0), channel(1), channel(2)};
    }
    ColourReading reading = readColours(stickers);
    scan.facelets = std::move(reading.facelets);
    scan.best = std::move(reading.best);
    scan.doubtful = std::move(reading.doubtful);
    for (const Rgb& colour : reading.faceColours) {
        char text[8];
        std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
        scan.faceColours.emplace_back(text);
    }
    return scan;
}

std::string toJson(const Scan& scan) {
    std::string out = "{\"error\":";
    appendJsonString(out, scan.error);
    out += ",\"facelets\":";
    appendJsonString(out, scan.facelets);
    out += ",\"best\":";
    appendJsonString(out, scan.best);
    out += ",\"doubtful\":";
    appendJsonNumbers(out, scan.doubtful);
    out += ",\"faceColours\":";
    appendJsonStrings(out, scan.faceColours);
    return out + "}";
}

std::string toJson(const Solution& solution) {
    std::string out = "{\"error\":";
    appendJsonString(out, solution.error);
    out += ",\"line\":";
    appendJsonString(out, solution.line);
    out += ",\"moves\":";
    appendJsonStrings(out, solution.moves);
    out += ",\"states\":";
    appendJsonStrings(out, solution.states);
    return out + "}";
}

std::string toJson(const Applied& applied) {
    std::string out = "{\"facelets\":";
    appendJsonString(out, applied.facelets);
    out += ",\"error\":";
    appendJsonString(out, applied.error);
    return out + "}";
}

std::string toJson(const RandomCube& cube) {
    std::string out = "{\"scramble\":";
    appendJsonString(out, cube.scramble);
    out += ",\"facelets\":";
    appendJsonString(out, cube.facelets);
    return out + "}";
}

} // namespace cw::solve_page
