// The solve page's C++ side: the pieces its checks mark, its solutions and the states to
// follow them by, moves and random cubes, and the JSON the page reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "tools/solve_page/solve_page.h"

namespace {

using namespace cw::solve_page;

const std::string kSolved(cw::kSolvedFaceletString);
// A solved cube after F.
const std::string kOneTurn = "UUUUUULLLURRURRURRFFFFFFFFFRRRDDDDDDLLDLLDLLDBBBBBBBBB";

std::string edited(std::string text, std::initializer_list<int> positions, std::string letters) {
    std::size_t i = 0;
    for (int position : positions) {
        text[static_cast<std::size_t>(position)] = letters[i++];
    }
    return text;
}

std::string readerMessage(const std::string& facelets) {
    cw::Cube cube;
    return cw::loadFaceletString(cube, facelets);
}

TEST(SolvePageCheck, GivesTheReadersMessageAndMarksThePieceItNames) {
    struct Case {
        std::string facelets;
        std::vector<int> marked;
    };
    const Case cases[] = {
        {kSolved, {}},
        {kOneTurn, {}},
        {"UUU", {}},                           // too short: no sticker to mark
        {edited(kSolved, {12}, "x"), {12}},    // a bad letter
        {edited(kSolved, {4, 22}, "FU"), {4}}, // the up centre is F
        // The corner at URF shows U, R and L.
        {edited(kSolved, {20, 38}, "LF"), {8, 9, 20}},
        // The edge at UF shows U and D.
        {edited(kSolved, {19, 28}, "DF"), {7, 19}},
        // The edge UF twice, in the UR and UF slots (and DR twice).
        {edited(kSolved, {10, 25}, "FR"), {5, 10, 7, 19}},
        // The corner UFL twice, in the URF and UFL slots (and DFR twice).
        {edited(kSolved, {9, 20, 44, 24}, "FLFR"), {8, 9, 20, 6, 18, 38}},
        {edited(kSolved, {8, 9, 20}, "FUR"), {8, 9, 20}}, // the corner twisted
        {edited(kSolved, {7, 19}, "FU"), {7, 19}},        // the edge flipped
        // The edges UR and UF swapped: the two pieces out of their slots.
        {edited(kSolved, {10, 19}, "FR"), {5, 10, 7, 19}},
    };
    for (const Case& c : cases) {
        const Check check = checkFacelets(c.facelets);
        EXPECT_EQ(check.message, readerMessage(c.facelets)) << c.facelets;
        std::vector<int> marked = check.marked;
        std::vector<int> expected = c.marked;
        std::sort(marked.begin(), marked.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(marked, expected) << check.message;
    }
}

TEST(SolvePageScan, ReadsHexColoursOrSaysWhatIsWrongWithThem) {
    // The one-turn cube in flat colours, one per face.
    const std::string faces = "URFDLB";
    const char* hex[] = {"c81e28", "149646", "f0f0f0", "fa7814", "143cc8", "f0dc14"};
    std::string colours;
    for (char letter : kOneTurn) {
        colours += hex[faces.find(letter)];
    }
    const Scan read = readScan(colours);
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.facelets, kOneTurn);
    EXPECT_EQ(read.faceColours.at(2), "#f0f0f0");
    EXPECT_EQ(toJson(read).rfind(R"({"error":"","facelets":")" + kOneTurn + R"(","best":")", 0),
              0U);

    // Two colours of the URF corner exchanged: not sure, and that corner in doubt.
    std::string swapped = colours;
    swapped.replace(9 * 6, 6, colours.substr(20 * 6, 6));
    swapped.replace(20 * 6, 6, colours.substr(9 * 6, 6));
    const Scan unsure = readScan(swapped);
    EXPECT_EQ(unsure.facelets, "");
    EXPECT_EQ(unsure.best.size(), 54U);
    EXPECT_NE(std::find(unsure.doubtful.begin(), unsure.doubtful.end(), 9), unsure.doubtful.end());

    std::string notHex = colours;
    notHex[0] = 'g';
    for (const std::string& bad : {colours.substr(6), colours + "00", notHex}) {
        EXPECT_EQ(readScan(bad).error, "a scan needs 54 colours of six hex digits each");
    }
}

TEST(SolvePageSolve, BothMethodsGiveTheToolsLineAndAStateForEveryMove) {
    const Solution shortest = solve(kOneTurn, Method::kShort);
    EXPECT_EQ(shortest.error, "");
    EXPECT_EQ(shortest.line, "F' (1 face turn, 1 quarter turn)");
    EXPECT_EQ(shortest.moves, std::vector<std::string>{"F'"});
    EXPECT_EQ(shortest.states, (std::vector<std::string>{kOneTurn, kSolved}));

    // As cubewright-solve --compact prints it for this cube.
    const Solution layers = solve(kOneTurn, Method::kLayerByLayer);
    EXPECT_EQ(layers.line,
              "F U F' U' F2 U F U F' D' U F U' F' D U' R U R' U' R U' R' U' F' U F R B U B' U' R' "
              "U2 F U' B' U F' U' B F D2 F' R' D2 R U' R' D2 R F D2 F' U");
    ASSERT_EQ(layers.states.size(), layers.moves.size() + 1);
    EXPECT_EQ(layers.states.front(), kOneTurn);
    EXPECT_EQ(layers.states.back(), kSolved);
    // Each state is the cube with the moves so far played: F from solved, then the moves.
    std::string played = "F";
    for (std::size_t i = 0; i < layers.moves.size(); ++i) {
        played += " " + layers.moves[i];
        EXPECT_EQ(layers.states[i + 1], applyMoves(played).facelets) << played;
    }

    const Solution none = solve(kSolved, Method::kShort);
    EXPECT_EQ(none.line, "(0 face turns, 0 quarter turns)");
    EXPECT_TRUE(none.moves.empty());
    EXPECT_EQ(none.states, std::vector<std::string>{kSolved});
    EXPECT_EQ(solve(kSolved, Method::kLayerByLayer).line, "");

    const std::string flipped = edited(kSolved, {7, 19}, "FU");
    const Solution refused = solve(flipped, Method::kShort);
    EXPECT_EQ(refused.error, readerMessage(flipped));
    EXPECT_TRUE(refused.moves.empty());
}

TEST(SolvePageMoves, MovesAndRandomCubesBecomeStickers) {
    EXPECT_EQ(applyMoves("F").facelets, kOneTurn);
    EXPECT_EQ(applyMoves("").facelets, kSolved);
    EXPECT_EQ(applyMoves("R U R' U' U R U' R'").facelets, kSolved);
    const Applied bad = applyMoves("R X");
    EXPECT_EQ(bad.facelets, "");
    EXPECT_NE(bad.error.find("bad move \"X\""), std::string::npos) << bad.error;

    const RandomCube first = randomCube(1);
    EXPECT_EQ(applyMoves(first.scramble).facelets, first.facelets);
    EXPECT_EQ(checkFacelets(first.facelets).message, "");
    EXPECT_EQ(randomCube(1).facelets, first.facelets);
    EXPECT_NE(randomCube(2).facelets, first.facelets);
}

TEST(SolvePageJson, EscapesWhatTheMessagesCarry) {
    EXPECT_EQ(toJson(Check{"a \"quoted\" \\ and\na line", {1, 2}}),
              R"({"message":"a \"quoted\" \\ and\u000aa line","marked":[1,2]})");
    EXPECT_EQ(toJson(Applied{kOneTurn, ""}), "{\"facelets\":\"" + kOneTurn + "\",\"error\":\"\"}");
    EXPECT_EQ(toJson(RandomCube{"R U", kSolved}),
              "{\"scramble\":\"R U\",\"facelets\":\"" + kSolved + "\"}");
    const Solution one = solve(kOneTurn, Method::kShort);
    EXPECT_EQ(toJson(one), "{\"error\":\"\",\"line\":\"F' (1 face turn, 1 quarter turn)\","
                           "\"moves\":[\"F'\"],\"states\":[\"" +
                               kOneTurn + "\",\"" + kSolved + "\"]}");
}

} // namespace
