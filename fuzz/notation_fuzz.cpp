// Fuzz target for the move notation: any bytes go to the parser. A rejected text gets one
// printable line and no moves; an accepted one writes out and reads back to the same turns,
// and its compact form turns a cube the same way.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cube/cube.h"
#include "cube/notation.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cw;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::string shown = notation::printable(text);
    fuzz::check(fuzz::isPrintableLine(shown), "printable() let an unprintable byte through");

    const notation::ParseResult parsed = notation::parseMoves(text);
    if (!parsed.error.empty()) {
        fuzz::check(parsed.moves.empty(), "a rejected text still gave moves");
        fuzz::check(fuzz::isPrintableLine(parsed.error), "the error is not one line of plain text");
        return 0;
    }
    for (const Move& move : parsed.moves) {
        fuzz::check(isFace(move.face), "a parsed move names no face");
    }

    const std::string quarter = notation::formatMoves(parsed.moves);
    const notation::ParseResult reread = notation::parseMoves(quarter);
    fuzz::check(reread.error.empty(), "written moves do not read back");
    fuzz::check(reread.moves == parsed.moves, "written moves read back differently");

    // The compact form may merge and cancel turns, so compare what the turns do.
    const notation::ParseResult compact =
        notation::parseMoves(notation::formatMoves(parsed.moves, notation::Style::kCompact));
    fuzz::check(compact.error.empty(), "compact moves do not read back");
    fuzz::check(compact.moves.size() <= parsed.moves.size(), "the compact form is longer");
    Cube expected;
    Cube actual;
    setSolvedStickers(expected);
    setSolvedStickers(actual);
    for (const Move& move : parsed.moves) {
        expected.turn(move.face, move.clockwise);
    }
    for (const Move& move : compact.moves) {
        actual.turn(move.face, move.clockwise);
    }
    fuzz::check(actual.facelets == expected.facelets, "the compact form turns differently");
    return 0;
}
