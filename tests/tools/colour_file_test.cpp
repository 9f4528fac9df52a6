// Tests of cubewright-solve's colour files: the two ways to write a colour, what is
// skipped, the exact message for each kind of bad file, how stickers in doubt are named,
// and how --colours sits among the other options.
#include "tools/colour_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/solve_options.h"

namespace cw::tools {
namespace {

// `count` lines of `line`, each ended by `end`.
std::string lines(int count, const std::string& line, const std::string& end = "\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += line + end;
    }
    return text;
}

std::string message(const std::string& text) {
    const auto parsed = parseColourFile(text);
    const auto* error = std::get_if<std::string>(&parsed);
    return error ? *error : "accepted";
}

TEST(ColourFile, ReadsHexAndDecimalColoursSkippingBlankLines) {
    std::string text = "\n  #FF8000\r\n\t12 34 56\t\n\n" + lines(52, "#0a0B0c", "\r\n") + "   \n";
    const auto parsed = parseColourFile(text);
    ASSERT_TRUE(std::holds_alternative<StickerColours>(parsed)) << message(text);
    const StickerColours& colours = std::get<StickerColours>(parsed);
    EXPECT_EQ(colours[0], (Rgb{255, 128, 0}));
    EXPECT_EQ(colours[1], (Rgb{12, 34, 56}));
    EXPECT_EQ(colours[53], (Rgb{10, 11, 12}));

    EXPECT_TRUE(std::holds_alternative<StickerColours>(parseColourFile(lines(54, "0 0   255"))));
}

TEST(ColourFile, EachKindOfBadFileGetsItsMessage) {
    EXPECT_EQ(message(""), "the colours give 0 stickers; they need 54, one a line");
    EXPECT_EQ(message(lines(53, "1 2 3")),
              "the colours give 53 stickers; they need 54, one a line");
    EXPECT_EQ(message(lines(55, "1 2 3")),
              "the colours go on past 54 stickers (line 55); give one a line, 54 in all");
    const std::string kNeeds = "; each line needs #rrggbb or three numbers R G B from 0 to 255";
    for (const std::string bad : {"#12345", "#1234567", "#12345g", "123456", "1 2", "1 2 3 4",
                                  "1,2,3", "1 2 256", "-1 2 3", "1 2 3x", "#+12345", "red"}) {
        EXPECT_EQ(message("0 0 0\n\n" + bad + "\n" + lines(52, "0 0 0")),
                  "line 3 of the colours is \"" + bad + "\"" + kNeeds);
    }
    // Stray bytes are shown, not copied onto the terminal.
    EXPECT_EQ(message("1 2 \x1b[3\n"), "line 1 of the colours is \"1 2 \\x1B[3\"" + kNeeds);
}

TEST(ColourFile, StickersAreNamedByFaceAndPlace) {
    EXPECT_EQ(stickerNames({0, 4, 8, 9, 22, 53}), "U1 U5 U9 R1 F5 B9");
    EXPECT_EQ(stickerNames({}), "");
}

TEST(ColourFile, ColoursOptionIsOneWayToGiveTheCube) {
    const auto parse = [](std::vector<std::string_view> words) { return parseSolveOptions(words); };
    const auto parsed = parse({"--colours", "-", "--short", "--compact"});
    ASSERT_TRUE(std::holds_alternative<SolveOptions>(parsed));
    const SolveOptions& options = std::get<SolveOptions>(parsed);
    EXPECT_EQ(options.coloursFile, "-");
    EXPECT_TRUE(options.shortSolver && options.compact && !options.batch());
    EXPECT_EQ(std::get<SolveOptions>(parse({"--colours=scan.txt", "--optimal"})).coloursFile,
              "scan.txt");

    const auto error = [&](std::vector<std::string_view> words) {
        const auto result = parse(words);
        return std::holds_alternative<UsageError>(result) ? std::get<UsageError>(result).message
                                                          : "accepted";
    };
    const std::string kNeedsFile =
        "--colours needs a file of 54 colours, or - to read them from standard input";
    EXPECT_EQ(error({"--colours"}), kNeedsFile);
    EXPECT_EQ(error({"--colours="}), kNeedsFile);
    const std::string kAlone =
        "--colours does not go with moves, --seed, --facelets, --stats or --scramble";
    EXPECT_EQ(error({"--colours", "-", "R"}), kAlone);
    EXPECT_EQ(error({"--seed", "1", "--colours", "-"}), kAlone);
    EXPECT_EQ(error({"--colours", "-", "--print-facelets"}),
              "--print-facelets goes with --seed or moves");
    EXPECT_EQ(error({"--colours", "-", "--jobs", "2"}),
              "--jobs goes with --stats, --scramble, --facelets - or --optimal");
}

} // namespace
} // namespace cw::tools
