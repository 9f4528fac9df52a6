// The solve page's C++ side: thin calls into the facelet reader, both solvers, the
// notation and the random-state scrambler, with results the page's script can read.
// Called by the WebAssembly exports and by the tests.
#include "tools/solve_page/solve_page.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cube/cube.h"
#include "cube/facelet_places.h"
#include "cube/facelet_string.h"
#include "cube/notation.h"
#include "solver/two_phase/two_phase.h"
#include "tools/runners.h"

namespace cw::solve_page {
namespace {

using namespace facelet_places;

// The letters a slot's stickers show, sorted, so that a piece is found in any twist.
template <std::size_t N>
std::string sortedLetters(std::string_view facelets, const std::array<int, N>& places) {
    std::string letters;
    for (int place : places) {
        letters += facelets[static_cast<std::size_t>(place)];
    }
    std::sort(letters.begin(), letters.end());
    return letters;
}

// The places of the slot a message calls "at NAME".
template <std::size_t N, std::size_t Count>
std::vector<int> slotNamed(std::string_view name,
                           const std::array<std::array<int, N>, Count>& colours,
                           const std::array<std::array<int, N>, Count>& places) {
    for (std::size_t slot = 0; slot < Count; ++slot) {
        if (pieceName(colours[slot]) == name) {
            return {places[slot].begin(), places[slot].end()};
        }
    }
    return {};
}

// The places of every slot that holds the piece NAME, in whatever twist.
template <std::size_t N, std::size_t Count>
std::vector<int> slotsHolding(std::string_view facelets, std::string_view name,
                              const std::array<std::array<int, N>, Count>& places) {
    std::string wanted(name);
    std::sort(wanted.begin(), wanted.end());
    std::vector<int> marked;
    for (const auto& slot : places) {
        if (sortedLetters(facelets, slot) == wanted) {
            marked.insert(marked.end(), slot.begin(), slot.end());
        }
    }
    return marked;
}

// The word after `prefix` at the start of `message`, up to the next space.
std::optional<std::string_view> wordAfter(std::string_view message, std::string_view prefix) {
    if (!message.starts_with(prefix)) {
        return std::nullopt;
    }
    const std::string_view rest = message.substr(prefix.size());
    return rest.substr(0, rest.find(' '));
}

// The stickers the facelet reader's message names. Only messages about a string of 54
// letters can name one; the reader's wording is pinned by the tests.
std::vector<int> stickersNamed(std::string_view facelets, std::string_view message) {
    if (facelets.size() != kFaceletCount) {
        return {};
    }
    if (const auto face = wordAfter(message, "the centre of face ")) {
        const int side = face->size() == 1 ? sideOfLetter(face->front()) : -1;
        return side < 0 ? std::vector<int>{} : std::vector<int>{side * 9 + 4};
    }
    if (const auto slot = wordAfter(message, "the corner at ")) {
        return slotNamed(*slot, kCornerColours, kCornerPlaces);
    }
    if (const auto slot = wordAfter(message, "the edge at ")) {
        return slotNamed(*slot, kEdgeColours, kEdgePlaces);
    }
    if (const auto piece = wordAfter(message, "the corner ")) {
        return slotsHolding(facelets, *piece, kCornerPlaces);
    }
    if (const auto piece = wordAfter(message, "the edge ")) {
        return slotsHolding(facelets, *piece, kEdgePlaces);
    }
    if (message.starts_with("the facelet string has ")) {
        const std::size_t at = message.find(" at position ");
        if (at != std::string_view::npos) {
            const int position = std::atoi(std::string(message.substr(at + 13)).c_str());
            if (position >= 1 && position <= static_cast<int>(kFaceletCount)) {
                return {position - 1};
            }
        }
    }
    return {};
}

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
    Cube cube;
    Check check;
    check.message = loadFaceletString(cube, facelets);
    if (!check.message.empty()) {
        check.marked = stickersNamed(facelets, check.message);
    }
    return check;
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
    out += ",\"marked\":[";
    for (std::size_t i = 0; i < check.marked.size(); ++i) {
        // Appended piece by piece: GCC 12 warns falsely about "," + std::string here.
        if (i > 0) {
            out += ',';
        }
        out += std::to_string(check.marked[i]);
    }
    return out + "]}";
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
