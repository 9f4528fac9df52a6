// Tests of the move notation: what it reads, what it refuses, and that what it writes
// reads back as the same turns.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cube/cube.h"
#include "cube/notation.h"

namespace cw {
namespace {

using notation::formatMoves;
using notation::parseMoves;
using notation::Style;

MoveList list(std::initializer_list<Move> moves) {
    return MoveList(moves);
}

/// The moves of `text`, written back one token per quarter turn.
std::string quarterTurns(std::string_view text) {
    const notation::ParseResult parsed = parseMoves(text);
    EXPECT_EQ(parsed.error, "") << text;
    return formatMoves(parsed.moves);
}

std::string compact(std::string_view text) {
    return formatMoves(parseMoves(text).moves, Style::kCompact);
}

TEST(ParseMoves, ReadsLettersTwiceAndPrimesTogetherOrApart) {
    const std::vector<std::pair<std::string_view, std::string_view>> cases = {
        {"F R U B L D", "F R U B L D"},
        {"F' R' U' B' L' D'", "F' R' U' B' L' D'"},
        {"U2 U2'", "U U U' U'"},
        {"RUR'U'", "R U R' U'"},
        {"  R\tU\n\nR'\r\nU'  ", "R U R' U'"},
        {"R2'U2F", "R' R' U U F"},
        {"R\xE2\x80\x99 U", "R' U"}, // typographic apostrophe
        {"", ""},
        {" \t\n", ""},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(quarterTurns(input), expected) << input;
    }
    // Face letters follow face numbers: F is 0, D is 5.
    EXPECT_EQ(parseMoves("F").moves.front(), Move(0, true));
    EXPECT_EQ(parseMoves("D'").moves.front(), Move(5, false));
}

TEST(ParseMoves, RefusesAnythingElseNamingTheWord) {
    struct Case {
        std::string_view text;
        std::string_view named;
    };
    const std::vector<Case> cases = {
        {"R U X", "\"X\""},
        {"r", "\"r\""},
        {"R3", "\"R3\""},
        {"R''", "\"R''\""},
        {"R'2", "\"R'2\""},
        {"R 2", "\"2\""},
        {"'", "\"'\""},
        {"R U2x F", "\"U2x\""},
        {"(R U)", "\"(R\""},
        {"R,U", "\"R,U\""},
        {"R22", "\"R22\""},
        {"M", "\"M\""},
        {"R\xE2\x80", "\"R\\xE2\\x80\""},
        {"R U Rw", "\"Rw\""},
        {"R U X2", "\"X2\""},
        {"R2''", "\"R2''\""},
        {"R\n\x01", "\"\\x01\""},
    };
    for (const Case& c : cases) {
        const notation::ParseResult parsed = parseMoves(c.text);
        EXPECT_NE(parsed.error.find(c.named), std::string::npos) << c.text << ": " << parsed.error;
        EXPECT_TRUE(parsed.moves.empty()) << c.text;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
    EXPECT_EQ(parseMoves("R Q").error,
              "bad move \"Q\": a move is a face letter F R U B L D, then 2 "
              "(twice) and/or ' (counter-clockwise)");
}

TEST(ParseMoves, ErrorShowsUnprintableBytesEscapedAndLongWordsCut) {
    const std::string bytes = std::string("R\x1b[2J\xff") + '\0' + "U";
    const notation::ParseResult parsed = parseMoves(bytes);
    EXPECT_NE(parsed.error.find("R\\x1B[2J\\xFF\\x00U"), std::string::npos) << parsed.error;

    const notation::ParseResult longWord = parseMoves(std::string(5000, 'R') + "x");
    EXPECT_LT(longWord.error.size(), 200u);
    EXPECT_NE(longWord.error.find("..."), std::string::npos);
}

TEST(FormatMoves, WritesOneTokenPerQuarterTurn) {
    EXPECT_EQ(formatMoves({}), "");
    EXPECT_EQ(formatMoves(list({{2, true}, {2, true}, {0, false}, {5, true}})), "U U F' D");
    EXPECT_EQ(formatMoves(list({{-1, false}, {6, true}, {1, true}})), "?' ? R");
}

TEST(FormatMoves, CompactMergesNeighbouringTurnsOfOneFace) {
    EXPECT_EQ(compact("U U"), "U2");
    EXPECT_EQ(compact("U' U'"), "U2");
    EXPECT_EQ(compact("U U U"), "U'");
    EXPECT_EQ(compact("U U U U"), "");
    EXPECT_EQ(compact("U U U U U"), "U");
    EXPECT_EQ(compact("R U U' R"), "R2"); // a cancelled run lets its neighbours meet
    EXPECT_EQ(compact("R L R"), "R L R");
    EXPECT_EQ(compact("F R R B' B' B'"), "F R2 B");
    EXPECT_EQ(formatMoves(list({{-1, true}, {-1, true}}), Style::kCompact), "? ?");
}

TEST(FormatMoves, FaceTurnsAreWrittenWithTheSameTokens) {
    EXPECT_EQ(notation::formatFaceTurns({{1, 2}, {2, 3}, {0, 1}, {5, 2}, {3, 3}, {4, 1}}),
              "R2 U' F D2 B' L");
    EXPECT_EQ(notation::formatFaceTurns({{-1, 1}, {6, 2}}), "? ?2");
    EXPECT_EQ(notation::formatFaceTurns({}), "");
    // The letters the parser reads are the ones the formatters write.
    for (int face = 0; face < kFaceCount; ++face) {
        const std::string token(1, notation::faceLetter(face));
        EXPECT_EQ(formatMoves(parseMoves(token).moves), token);
    }
    EXPECT_EQ(notation::faceLetter(kFaceCount), '?');
}

TEST(FormatMoves, WhatItWritesReadsBackAsTheSameCube) {
    std::mt19937 random(3);
    Cube direct;
    Cube reread;
    for (int trial = 0; trial < 200; ++trial) {
        MoveList moves;
        for (auto i = random() % 40; i > 0; --i) {
            moves.emplace_back(static_cast<int>(random() % 6), random() % 2 == 0);
        }
        // Quarter turns read back move for move.
        const notation::ParseResult plain = parseMoves(formatMoves(moves));
        ASSERT_EQ(plain.error, "");
        EXPECT_EQ(formatMoves(plain.moves), formatMoves(moves));
        EXPECT_TRUE(plain.moves == moves);

        // Compact text names other turns but must leave the cube the same.
        const notation::ParseResult merged = parseMoves(formatMoves(moves, Style::kCompact));
        ASSERT_EQ(merged.error, "");
        EXPECT_LE(merged.moves.size(), moves.size());
        direct.reset();
        reread.facelets = direct.facelets;
        for (const Move& move : moves) {
            direct.turn(move.face, move.clockwise);
        }
        for (const Move& move : merged.moves) {
            reread.turn(move.face, move.clockwise);
        }
        EXPECT_EQ(direct.facelets, reread.facelets) << formatMoves(moves);
    }
}

} // namespace
} // namespace cw
