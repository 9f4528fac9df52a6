// The move notation people use with a cube in their hands: the face letters, reading
// moves into quarter turns and writing quarter turns and face turns back out. Used by the
// command-line solver, the short solver, the facelet strings and their tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cube/move.h"

namespace cw::notation {

/// Face letters in face order 0..5: front, right, up, back, left, down.
inline constexpr std::string_view kFaceLetters = "FRUBLD";

/// The letter of `face`, or '?' for a number that names no face.
char faceLetter(int face);

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

/// Writes face turns as tokens separated by single spaces, e.g. "R2 U' F": the face's
/// letter, then 2 for a half turn or ' for three quarter turns. A face outside 0..5 is
/// written as "?".
std::string formatFaceTurns(const std::vector<FaceTurn>& turns);

/// `text` made safe to print on one line: bytes outside printable ASCII become \xNN and
/// anything beyond `limit` bytes is cut off with "...".
std::string printable(std::string_view text, std::size_t limit = 60);

} // namespace cw::notation
