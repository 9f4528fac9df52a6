// Parser and formatter of the face-letter move notation. Called by the command-line
// solver, which hands it text straight from the command line, so it accepts any bytes,
// and by the short solver and the facelet strings for the letters and the face turns.
#include "cube/notation.h"

#include <cstdio>
#include <vector>

#include "cube/cube.h"

namespace cw::notation {

namespace {

// The typographic apostrophe (U+2019) as UTF-8, which text copied from the web often has
// in place of '.
constexpr std::string_view kTypographicPrime = "\xE2\x80\x99";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int faceOf(char letter) {
    const std::size_t at = kFaceLetters.find(letter);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

/// Reads the moves of one whitespace-free word into `moves`. False if the word is not
/// a run of moves.
bool parseWord(std::string_view word, MoveList& moves) {
    std::size_t at = 0;
    while (at < word.size()) {
        const int face = faceOf(word[at]);
        if (face < 0) {
            return false;
        }
        ++at;
        int turns = 1;
        if (at < word.size() && word[at] == '2') {
            turns = 2;
            ++at;
        }
        bool clockwise = true;
        if (at < word.size() && word[at] == '\'') {
            clockwise = false;
            ++at;
        } else if (word.substr(at).starts_with(kTypographicPrime)) {
            clockwise = false;
            at += kTypographicPrime.size();
        }
        for (int i = 0; i < turns; ++i) {
            moves.emplace_back(face, clockwise);
        }
    }
    return true;
}

} // namespace

char faceLetter(int face) {
    return isFace(face) ? kFaceLetters[static_cast<std::size_t>(face)] : '?';
}

ParseResult parseMoves(std::string_view text) {
    ParseResult result;
    std::size_t at = 0;
    while (at < text.size()) {
        if (isSpace(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && !isSpace(text[end])) {
            ++end;
        }
        const std::string_view word = text.substr(at, end - at);
        if (!parseWord(word, result.moves)) {
            result.moves.clear();
            result.error = "bad move \"" + printable(word) +
                           "\": a move is a face letter F R U B L D, then 2 (twice) and/or ' "
                           "(counter-clockwise)";
            return result;
        }
        at = end;
    }
    return result;
}

std::string formatMoves(const MoveList& moves, Style style) {
    std::vector<FaceTurn> turns;
    if (style == Style::kQuarterTurns) {
        for (const Move& move : moves) {
            turns.push_back({move.face, move.clockwise ? 1 : 3});
        }
        return formatFaceTurns(turns);
    }

    // A stack of face turns: a turn of the face on top adds to it, and a face whose turns
    // cancel out leaves the one beneath to merge with the next. Faces outside 0..5 are all
    // written "?", so they are kept apart as -1.
    for (const Move& move : moves) {
        const int face = isFace(move.face) ? move.face : -1;
        const int step = move.clockwise ? 1 : 3;
        if (face >= 0 && !turns.empty() && turns.back().face == face) {
            turns.back().quarterTurns = (turns.back().quarterTurns + step) % 4;
            if (turns.back().quarterTurns == 0) {
                turns.pop_back();
            }
        } else {
            turns.push_back({face, step});
        }
    }
    return formatFaceTurns(turns);
}

std::string formatFaceTurns(const std::vector<FaceTurn>& turns) {
    std::string text;
    for (const FaceTurn& turn : turns) {
        if (!text.empty()) {
            text += ' ';
        }
        text += faceLetter(turn.face);
        if (turn.quarterTurns == 2) {
            text += '2';
        } else if (turn.quarterTurns == 3) {
            text += '\'';
        }
    }
    return text;
}

std::string printable(std::string_view text, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == limit) {
            out += "...";
            break;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(byte));
            out += escaped;
        }
    }
    return out;
}

} // namespace cw::notation
