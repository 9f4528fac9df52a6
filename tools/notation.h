// The move notation people use with a cube in their hands: reading it into quarter turns
// and writing quarter turns back out. Used by the command-line solver and its tests.
#pragma once

#include <string>
#include <string_view>

#include "cube/move.h"

namespace cw::notation {

/// Face letters in face order 0..5: front, right, up, back, left, down.
inline constexpr std::string_view kFaceLetters = "FRUBLD";

/// What parseMoves made of its text.
struct ParseResult {
    /// Every quarter turn the text names, in order; empty when `error` is set.
    MoveList moves;
    /// Empty on success; otherwise one line naming the bad token.
    std::string error;
};

/// Reads moves such as "R U R' U2". A move is a face letter (F R U B L D), then an
/// optional 2 (twice), then an optional ' (counter-clockwise; the typographic ’ is
/// taken too). Moves may be separated by whitespace or written together ("RUR'U'").
/// Each move becomes one or two quarter turns: "U2" is two clockwise quarter turns,
/// "U2'" two counter-clockwise ones. Any other text is an error that names the token
/// (the whitespace-separated word) it occurs in.
ParseResult parseMoves(std::string_view text);

/// How formatMoves writes a list.
enum class Style {
    /// Every quarter turn is its own token, so the token count is the move count.
    kQuarterTurns,
    /// Neighbouring turns of one face are merged ("U U" -> "U2", "U U U" -> "U'");
    /// turns that cancel out vanish.
    kCompact,
};

/// Writes the moves as tokens separated by single spaces. A move whose face is outside
/// 0..5 is written as "?".
std::string formatMoves(const MoveList& moves, Style style = Style::kQuarterTurns);

/// `text` made safe to print on one line: bytes outside printable ASCII become \xNN and
/// anything beyond `limit` bytes is cut off with "...".
std::string printable(std::string_view text, std::size_t limit = 60);

} // namespace cw::notation
