// Tests that run the built cubewright-solve: its output for seeds, moves and facelet
// strings, checked against the solver in this process, and what needs a process: exit
// statuses, standard output and error, standard input and signals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "cube/notation.h"
#include "cube/random.h"
#include "cube/scramble.h"
#include "solver/layer_by_layer/layer_by_layer.h"
#include "tools/solve_options.h"

namespace cw {
namespace {

struct Result {
    int status = -1;
    std::vector<std::string> out; ///< stdout, line by line
    std::string err;
};

#ifdef _WIN32
// std::system hands the line to cmd.exe, which knows only double quotes (no argument here
// has one) and strips the outermost pair of the whole line.
std::string shellQuoted(const std::string& text) {
    return "\"" + text + "\"";
}
std::string commandLine(const std::string& command) {
    return "\"" + command + "\"";
}
int exitStatus(int raw) {
    return raw;
}
int processId() {
    return _getpid();
}
#else
std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}
std::string commandLine(const std::string& command) {
    return command;
}
int exitStatus(int raw) {
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}
int processId() {
    return static_cast<int>(::getpid());
}
#endif

/// A file's text, with Windows line ends (the Windows build's output) read as plain ones.
std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream read;
    read << in.rdbuf();
    std::string text;
    for (const char c : read.str()) {
        if (c != '\r') {
            text += c;
        }
    }
    return text;
}

/// Runs the tool with these arguments, and `input` on its standard input when given, and
/// collects what it printed.
Result runTool(const std::vector<std::string>& arguments,
               const std::optional<std::string>& input = std::nullopt) {
    // One pair of files per run, so that tests running side by side keep apart.
    static int runs = 0;
    const std::string base = ::testing::TempDir() + "cubewright_solve_test_" +
                             std::to_string(processId()) + "_" + std::to_string(++runs);
    std::string command = shellQuoted(CUBEWRIGHT_SOLVE_PATH);
    for (const std::string& argument : arguments) {
        command += ' ';
        command += shellQuoted(argument);
    }
    command.append(" >").append(base).append(".out 2>").append(base).append(".err");
    if (input) {
        std::ofstream(base + ".in", std::ios::binary) << *input;
        command.append(" <").append(base).append(".in");
    }
    const int raw = std::system(commandLine(command).c_str());

    Result result;
    result.status = exitStatus(raw);
    std::istringstream out(readFile(base + ".out"));
    for (std::string line; std::getline(out, line);) {
        result.out.push_back(line);
    }
    result.err = readFile(base + ".err");
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    if (input) {
        std::remove((base + ".in").c_str());
    }
    return result;
}

/// The text after "label: " (or the whole of "label:") on a line of output.
std::string field(const std::string& line, const std::string& label) {
    EXPECT_EQ(line.rfind(label + ":", 0), 0u) << line;
    return line.size() > label.size() + 1 ? line.substr(label.size() + 2) : "";
}

MoveList parsed(const std::string& text) {
    notation::ParseResult result = notation::parseMoves(text);
    EXPECT_EQ(result.error, "") << text;
    return result.moves;
}

void applyMoves(Cube& cube, const MoveList& moves) {
    for (const Move& move : moves) {
        cube.turn(move.face, move.clockwise);
    }
}

/// The solution the program itself computes for the cube the seed scrambles.
std::string solutionInProcess(std::uint32_t seed) {
    Cube cube;
    cw::srand(seed);
    cube.reset();
    cube.setSolverState(kStatePlayback);
    cube.setResumeState(kStateDownCross);
    EXPECT_TRUE(solve(cube));
    return notation::formatMoves(cube.pending);
}

TEST(SolveTool, SeedPrintsTheProgramsScrambleAndASolutionThatSolvesIt) {
    for (const std::uint32_t seed : {0u, 1u, 12345u, 4294967295u}) {
        SCOPED_TRACE(seed);
        const Result result = runTool({"--seed", std::to_string(seed)});
        ASSERT_EQ(result.status, 0) << result.err;
        ASSERT_EQ(result.out.size(), 2u);
        EXPECT_EQ(result.err, "");

        const MoveList scramble = parsed(field(result.out[0], "scramble"));
        const MoveList solution = parsed(field(result.out[1], "solution"));
        EXPECT_EQ(scramble.size(), static_cast<std::size_t>(kScrambleLength));

        MoveList drawn;
        cw::srand(seed);
        drawScramble([&drawn](int face, bool clockwise) { drawn.emplace_back(face, clockwise); });
        EXPECT_EQ(notation::formatMoves(scramble), notation::formatMoves(drawn));
        EXPECT_EQ(field(result.out[1], "solution"), solutionInProcess(seed));

        Cube cube;
        setSolvedStickers(cube);
        applyMoves(cube, scramble);
        EXPECT_FALSE(cube.isSolved());
        applyMoves(cube, solution);
        EXPECT_TRUE(cube.isSolved());
    }
}

TEST(SolveTool, MovesAreEchoedAsQuarterTurnsOrCompactAndSolved) {
    const Result plain = runTool({"R U2", "F'", "L2'D"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(plain.out.size(), 2u);
    EXPECT_EQ(field(plain.out[0], "scramble"), "R U U F' L' L' D");

    const Result merged = runTool({"R U2", "F'", "L2'D", "--compact"});
    ASSERT_EQ(merged.out.size(), 2u);
    EXPECT_EQ(field(merged.out[0], "scramble"), "R U2 F' L2 D");
    EXPECT_LT(merged.out[1].size(), plain.out[1].size());

    for (const Result* result : {&plain, &merged}) {
        Cube cube;
        setSolvedStickers(cube);
        applyMoves(cube, parsed(field(result->out[0], "scramble")));
        applyMoves(cube, parsed(field(result->out[1], "solution")));
        EXPECT_TRUE(cube.isSolved());
    }
}

TEST(SolveTool, NoMovesOrASolvedCubeNeedsNoSolution) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{""},
          {"U U'"},
          {"--facelets", std::string(kSolvedFaceletString)}}) {
        const Result result = runTool(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        ASSERT_EQ(result.out.size(), 2u);
        EXPECT_EQ(result.out[1], "solution:");
    }
}

TEST(SolveTool, PrintedFaceletsDescribeTheScrambledCubeAndReadBack) {
    const Result seeded = runTool({"--seed", "9", "--print-facelets"});
    ASSERT_EQ(seeded.status, 0) << seeded.err;
    ASSERT_EQ(seeded.out.size(), 3u);
    const std::string stickers = field(seeded.out[2], "facelets");

    Cube cube;
    setSolvedStickers(cube);
    applyMoves(cube, parsed(field(seeded.out[0], "scramble")));
    EXPECT_EQ(stickers, faceletString(cube));

    // The same cube given by its stickers gets the same solution.
    const Result fromStickers = runTool({"--facelets", stickers});
    ASSERT_EQ(fromStickers.status, 0) << fromStickers.err;
    ASSERT_EQ(fromStickers.out.size(), 2u);
    EXPECT_EQ(fromStickers.out[0], "facelets: " + stickers);
    EXPECT_EQ(fromStickers.out[1], seeded.out[1]);

    const Result moved = runTool({"R", "--print-facelets"});
    ASSERT_EQ(moved.out.size(), 3u);
    EXPECT_NE(field(moved.out[2], "facelets"), std::string(kSolvedFaceletString));
}

TEST(SolveTool, ColoursReadAsTheCubeAndSolveOrNameTheStickersInDoubt) {
    // The stickers of seed 9's cube as a colour sensor might give them: each face's colour
    // slightly different from sticker to sticker, in both of the file's ways of writing one.
    const Result seeded = runTool({"--seed", "9", "--print-facelets"});
    ASSERT_EQ(seeded.status, 0) << seeded.err;
    const std::string stickers = field(seeded.out[2], "facelets");
    const std::string faces = "URFDLB";
    const int rgb[6][3] = {{190, 20, 30},  {10, 150, 70}, {235, 235, 230},
                           {250, 120, 10}, {20, 50, 190}, {240, 215, 20}};
    std::string colours;
    for (std::size_t i = 0; i < stickers.size(); ++i) {
        const int* c = rgb[faces.find(stickers[i])];
        const int shade = static_cast<int>(i % 5) * 3;
        char line[32];
        std::snprintf(line, sizeof line, i % 2 ? "#%02x%02x%02x\n" : "%d %d %d\n", c[0], c[1],
                      c[2] + shade);
        colours += line;
    }
    const Result read = runTool({"--colours", "-", "--compact"}, colours);
    ASSERT_EQ(read.status, 0) << read.err;
    ASSERT_EQ(read.out.size(), 2u);
    EXPECT_EQ(read.out[0], "facelets: " + stickers);
    EXPECT_EQ(read.out[1], runTool({"--facelets", stickers, "--compact"}).out.at(1));

    // Two colours of one corner exchanged: no cube is sure, and the corner is named.
    std::istringstream in(colours);
    std::vector<std::string> rows;
    for (std::string row; std::getline(in, row);) {
        rows.push_back(row);
    }
    std::swap(rows[9], rows[20]);
    std::string swapped;
    for (const std::string& row : rows) {
        swapped += row + "\n";
    }
    const Result unclear = runTool({"--colours", "-"}, swapped);
    EXPECT_EQ(unclear.status, 2);
    EXPECT_TRUE(unclear.out.empty());
    EXPECT_EQ(unclear.err.rfind("cubewright-solve: the colours do not read clearly as one cube; "
                                "stickers in doubt: ",
                                0),
              0u)
        << unclear.err;
    EXPECT_NE(unclear.err.find("R1"), std::string::npos) << unclear.err;
    EXPECT_NE(unclear.err.find("F3"), std::string::npos) << unclear.err;

    const Result missing = runTool({"--colours", "/nonexistent/scan.txt"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err,
              "cubewright-solve: cannot read the colours from \"/nonexistent/scan.txt\"\n");
}

TEST(SolveTool, StatsChecksEverySeedAndPrintsOneLine) {
    const Result result = runTool({"--stats", "25", "--first", "100"});
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(result.out.size(), 1u);
    const std::string& line = result.out[0];
    EXPECT_EQ(line.rfind("seeds 100 to 124: 25 solved, 0 failed; solution length min ", 0), 0u)
        << line;
    EXPECT_NE(line.find("solves/s"), std::string::npos);

    std::size_t shortest = 100000;
    std::size_t longest = 0;
    for (std::uint32_t seed = 100; seed < 125; ++seed) {
        const std::size_t length = parsed(solutionInProcess(seed)).size();
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
    }
    EXPECT_NE(line.find("min " + std::to_string(shortest) + ","), std::string::npos) << line;
    EXPECT_NE(line.find("max " + std::to_string(longest) + " quarter turns"), std::string::npos)
        << line;
}

/// The stickers of the cube the seed scrambles, as a facelet string.
std::string faceletsOfSeed(std::uint32_t seed) {
    Cube cube;
    cw::srand(seed);
    cube.reset();
    return faceletString(cube);
}

/// The stats line without the rate at its end, which is all that may differ between runs.
std::string withoutRate(const std::string& line) {
    return line.substr(0, line.rfind("; "));
}

TEST(SolveTool, StatsGivesTheFiguresOfSingleSeedRunsOnAnyNumberOfJobs) {
    // Three batches of seeds and a part of a fourth, so that the tallies are merged.
    constexpr std::uint32_t kFirst = 7;
    constexpr std::uint32_t kCount = 800;
    std::size_t shortest = 100000;
    std::size_t longest = 0;
    std::size_t total = 0;
    for (std::uint32_t seed = kFirst; seed < kFirst + kCount; ++seed) {
        const std::size_t length = parsed(solutionInProcess(seed)).size();
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
        total += length;
    }
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "seeds 7 to 806: 800 solved, 0 failed; solution length min %zu, mean %.2f, "
                  "max %zu quarter turns",
                  shortest, static_cast<double>(total) / kCount, longest);

    for (const char* jobs : {"1", "2", "3"}) {
        SCOPED_TRACE(jobs);
        const Result result =
            runTool({"--stats", std::to_string(kCount), "--first", "7", "--jobs", jobs});
        ASSERT_EQ(result.status, 0) << result.err;
        ASSERT_EQ(result.out.size(), 1u);
        EXPECT_EQ(withoutRate(result.out[0]), expected);
    }
}

TEST(SolveTool, FaceletLinesFromStandardInputAreSolvedInOrderAndBadLinesNamed) {
    // Good lines are the cubes of seeds; line 3 is too short, line 6 has a flipped edge,
    // and line 8 has blanks and a carriage return around it.
    const std::vector<std::uint32_t> seeds = {3, 4, 0, 5, 6, 0, 7, 8, 9};
    std::string input;
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        if (i == 2) {
            input += "UUU\n";
        } else if (i == 5) {
            input += "UUUUUUUFURRRRRRRRRFUFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB\n";
        } else if (i == 7) {
            input += "  " + faceletsOfSeed(seeds[i]) + "\t\r\n";
        } else {
            input += faceletsOfSeed(seeds[i]) + "\n";
        }
    }

    std::vector<std::vector<std::string>> outputs;
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        const Result result = runTool({"--facelets", "-", "--jobs", jobs}, input);
        EXPECT_EQ(result.status, 2);
        ASSERT_EQ(result.out.size(), seeds.size());
        for (std::size_t i = 0; i < seeds.size(); ++i) {
            const bool bad = i == 2 || i == 5;
            // Each line is what a run of its own prints, so a bad one is left empty.
            EXPECT_EQ(result.out[i], bad ? "" : "solution: " + solutionInProcess(seeds[i])) << i;
        }
        EXPECT_EQ(result.err, "cubewright-solve: line 3: the facelet string is 3 characters "
                              "long; it needs 54 letters\n"
                              "cubewright-solve: line 6: an edge is flipped in place (the edge "
                              "flips add up to an odd number)\n");
        outputs.push_back(result.out);
    }

    // Without bad lines the status is 0, and --compact writes the lines as a single run does.
    const std::string good = faceletsOfSeed(11) + "\n" + std::string(kSolvedFaceletString) + "\n";
    const Result compact = runTool({"--facelets", "-", "--compact"}, good);
    EXPECT_EQ(compact.status, 0) << compact.err;
    const Result single = runTool({"--facelets", faceletsOfSeed(11), "--compact"});
    ASSERT_EQ(single.out.size(), 2u);
    EXPECT_EQ(compact.out, (std::vector<std::string>{single.out[1], "solution:"}));
}

/// A line "solution: MOVES (N face turns, M quarter turns)" of --short, taken apart.
struct ShortLine {
    MoveList quarterTurns;
    std::size_t faceTurnTokens = 0;
    std::string counts; ///< "(N face turns, M quarter turns)"
};

ShortLine shortLine(const std::string& line) {
    ShortLine taken;
    const std::string text = field(line, "solution");
    const std::size_t open = text.find('(');
    EXPECT_NE(open, std::string::npos) << line;
    const std::string moves = text.substr(0, open);
    taken.quarterTurns = parsed(moves);
    std::istringstream tokens(moves);
    for (std::string token; tokens >> token;) {
        ++taken.faceTurnTokens;
    }
    taken.counts = text.substr(open);
    return taken;
}

std::string countsText(std::size_t faceTurns, std::size_t quarterTurns) {
    std::string text = "(";
    text += std::to_string(faceTurns) + (faceTurns == 1 ? " face turn, " : " face turns, ");
    text +=
        std::to_string(quarterTurns) + (quarterTurns == 1 ? " quarter turn)" : " quarter turns)");
    return text;
}

TEST(SolveTool, ShortSolvesTheSolvedCubeWithNoMovesAndOneTurnWithOne) {
    const Result solved =
        runTool({"--short", "--tables", "small", "--facelets", std::string(kSolvedFaceletString)});
    ASSERT_EQ(solved.status, 0) << solved.err;
    ASSERT_EQ(solved.out.size(), 2u);
    EXPECT_EQ(solved.out[1], "solution: (0 face turns, 0 quarter turns)");

    const std::vector<std::pair<std::string, std::string>> undone = {
        {"F", "F'"}, {"F2", "F2"}, {"F'", "F"}, {"R", "R'"}, {"R2", "R2"}, {"R'", "R"},
        {"U", "U'"}, {"U2", "U2"}, {"U'", "U"}, {"B", "B'"}, {"B2", "B2"}, {"B'", "B"},
        {"L", "L'"}, {"L2", "L2"}, {"L'", "L"}, {"D", "D'"}, {"D2", "D2"}, {"D'", "D"}};
    // One run of the tool for all of them, as its tables take a moment to build.
    std::string input;
    for (const auto& [turn, inverse] : undone) {
        Cube cube;
        setSolvedStickers(cube);
        applyMoves(cube, parsed(turn));
        input += faceletString(cube) + "\n";
    }
    const Result result = runTool({"--short", "--tables", "small", "--facelets", "-"}, input);
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(result.out.size(), undone.size());
    for (std::size_t i = 0; i < undone.size(); ++i) {
        const std::string& inverse = undone[i].second;
        const std::size_t quarters = inverse.back() == '2' ? 2 : 1;
        EXPECT_EQ(result.out[i], "solution: " + inverse + " " + countsText(1, quarters))
            << undone[i].first;
    }
}

TEST(SolveTool, ShortSolutionsSolveTheirCubesAndCountTheirTurns) {
    // Seeds, read from standard input on two threads, and one seed and one move list given
    // on their own. (The library's own tests check the search on thousands of states.)
    constexpr std::uint32_t kCubes = 100;
    std::string input;
    for (std::uint32_t seed = 0; seed < kCubes; ++seed) {
        input += faceletsOfSeed(seed) + "\n";
    }
    const Result batch =
        runTool({"--short", "--tables", "small", "--facelets", "-", "--jobs", "2"}, input);
    ASSERT_EQ(batch.status, 0) << batch.err;
    ASSERT_EQ(batch.out.size(), kCubes);

    std::vector<std::pair<FaceletArray, std::string>> checks;
    for (std::uint32_t seed = 0; seed < kCubes; ++seed) {
        Cube cube;
        cw::srand(seed);
        cube.reset();
        checks.emplace_back(cube.facelets, batch.out[seed]);
    }
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--seed", "77"}, {"R U2 F' L2 D B'"}}) {
        const Result result = runTool([&] {
            std::vector<std::string> withShort = arguments;
            withShort.insert(withShort.end(), {"--short", "--tables", "small"});
            return withShort;
        }());
        ASSERT_EQ(result.status, 0) << result.err;
        ASSERT_EQ(result.out.size(), 2u);
        Cube cube;
        setSolvedStickers(cube);
        applyMoves(cube, parsed(field(result.out[0], "scramble")));
        checks.emplace_back(cube.facelets, result.out[1]);
    }

    for (const auto& [stickers, line] : checks) {
        SCOPED_TRACE(line);
        const ShortLine taken = shortLine(line);
        Cube cube;
        cube.facelets = stickers;
        applyMoves(cube, taken.quarterTurns);
        ASSERT_TRUE(cube.isSolved());
        EXPECT_EQ(taken.counts, countsText(taken.faceTurnTokens, taken.quarterTurns.size()));
        EXPECT_LE(taken.faceTurnTokens, 30u);
    }
}

TEST(SolveTool, ScramblesPlayedOnASolvedCubeGiveTheirFaceletsAndRepeatFromTheirSeed) {
    constexpr std::size_t kCount = 12;
    const Result first = runTool(
        {"--scramble", std::to_string(kCount), "--scramble-seed", "9", "--tables", "small"});
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(first.out.size(), 2 * kCount);
    for (std::size_t i = 0; i < kCount; ++i) {
        SCOPED_TRACE(first.out[2 * i]);
        const std::string moves = field(first.out[2 * i], "scramble");
        const std::string facelets = field(first.out[2 * i + 1], "facelets");
        Cube cube;
        setSolvedStickers(cube);
        applyMoves(cube, parsed(moves));
        EXPECT_EQ(faceletString(cube), facelets);
        // The checks of the facelet reader include the parity and orientation sums.
        Cube read;
        EXPECT_EQ(loadFaceletString(read, facelets), "");
        EXPECT_FALSE(cube.isSolved());
    }

    // The same seed gives the same scrambles, in one piece or on any number of threads.
    EXPECT_EQ(runTool({"--scramble", std::to_string(kCount), "--scramble-seed", "9", "--jobs", "1",
                       "--tables", "small"})
                  .out,
              first.out);
    const Result one = runTool({"--scramble", "--scramble-seed=9", "--tables", "small"});
    ASSERT_EQ(one.out.size(), 2u);
    EXPECT_EQ(one.out[0], first.out[0]);
    EXPECT_NE(runTool({"--scramble", "--scramble-seed", "10", "--tables", "small"}).out[0],
              first.out[0]);
    // Without a seed of their own, two runs draw different cubes.
    EXPECT_NE(runTool({"--scramble", "--tables", "small"}).out,
              runTool({"--scramble", "--tables", "small"}).out);
}

// The facelets of a solved cube after `moves`.
std::string faceletsAfter(const std::string& moves) {
    Cube cube;
    setSolvedStickers(cube);
    applyMoves(cube, parsed(moves));
    return faceletString(cube);
}

// --optimal runs on the small table here: the large one takes minutes to build.
TEST(SolveTool, OptimalSolutionsAreTheKnownShortestAndNoLongerThanShortOnes) {
    struct Known {
        std::string moves;
        std::size_t distance;
    };
    const std::vector<Known> known = {{"", 0},
                                      {"F", 1},
                                      {"R U R' U'", 4},
                                      {"U2 D2 F2 B2 L2 R2", 6},
                                      {"R U2 F' L2 D B'", 6},
                                      {"L2 U F' R D2 B L'", 7}};
    std::string input;
    for (const Known& cube : known) {
        input += faceletsAfter(cube.moves) + "\n";
    }
    input += "UUUUUUUFURRRRRRRRRFUFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB\n";
    const Result optimal =
        runTool({"--optimal", "--table-size", "small", "--jobs", "2", "--facelets", "-"}, input);
    const Result shortOnes = runTool({"--short", "--tables", "small", "--facelets", "-"}, input);
    // The last line is a cube with one edge flipped: its message, status 2, the others
    // solved all the same.
    EXPECT_EQ(optimal.status, 2) << optimal.err;
    EXPECT_NE(optimal.err.find("line 7: an edge is flipped in place"), std::string::npos)
        << optimal.err;
    ASSERT_EQ(optimal.out.size(), known.size() + 1);
    ASSERT_EQ(shortOnes.out.size(), known.size() + 1);
    EXPECT_EQ(optimal.out.back(), "");
    EXPECT_EQ(optimal.out[0], "solution: (0 face turns, optimal)");
    for (std::size_t i = 0; i < known.size(); ++i) {
        SCOPED_TRACE(known[i].moves);
        const ShortLine taken = shortLine(optimal.out[i]);
        Cube cube;
        setSolvedStickers(cube);
        applyMoves(cube, parsed(known[i].moves));
        applyMoves(cube, taken.quarterTurns);
        EXPECT_TRUE(cube.isSolved());
        EXPECT_EQ(taken.faceTurnTokens, known[i].distance);
        std::string counts = "(";
        counts += std::to_string(known[i].distance);
        counts += known[i].distance == 1 ? " face turn" : " face turns";
        counts += ", optimal)";
        EXPECT_EQ(taken.counts, counts);
        EXPECT_LE(taken.faceTurnTokens, shortLine(shortOnes.out[i]).faceTurnTokens);
    }

    // Moves and --seed go too, with the cube as given on the line before.
    const Result moves = runTool({"--optimal", "--table-size", "small", "R", "U2", "R'"});
    ASSERT_EQ(moves.status, 0) << moves.err;
    EXPECT_EQ(moves.out, (std::vector<std::string>{"scramble: R U U R'",
                                                   "solution: R U2 R' (3 face turns, optimal)"}));
}

TEST(SolveTool, OptimalOutOfTimeGivesTheBestFoundAndTheLengthProven) {
    // A random state: far more than a moment's search on the small table.
    const std::string facelets = field(
        runTool({"--scramble", "--tables", "small", "--scramble-seed", "5"}).out.at(1), "facelets");
    const Result result =
        runTool({"--optimal", "--table-size", "small", "--budget", "200", "--facelets", facelets});
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(result.out.size(), 2u);
    const ShortLine taken = shortLine(result.out[1]);
    Cube cube;
    ASSERT_EQ(loadFaceletString(cube, facelets), "");
    applyMoves(cube, taken.quarterTurns);
    EXPECT_TRUE(cube.isSolved());
    int length = 0;
    int proven = 0;
    ASSERT_EQ(std::sscanf(taken.counts.c_str(), "(%d face turns, at least %d)", &length, &proven),
              2)
        << taken.counts;
    EXPECT_EQ(static_cast<std::size_t>(length), taken.faceTurnTokens);
    EXPECT_GE(proven, 5);
    EXPECT_LT(proven, length);
    EXPECT_NE(result.err.find("searching for solutions of " + std::to_string(proven)),
              std::string::npos)
        << result.err;
}

#ifndef _WIN32
TEST(SolveTool, OptimalStoppedByCtrlCGivesTheBestFoundAndStatus130) {
    const std::string facelets = field(
        runTool({"--scramble", "--tables", "small", "--scramble-seed", "6"}).out.at(1), "facelets");
    const std::string base =
        ::testing::TempDir() + "cubewright_solve_interrupt_" + std::to_string(processId());
    // Ctrl-C once the search runs (before, it would end the program at once), then the
    // tool's own status.
    const std::string script =
        shellQuoted(CUBEWRIGHT_SOLVE_PATH) + " --optimal --table-size small --facelets " +
        facelets + " >" + base + ".out 2>" + base + ".err & tool=$!; " +
        "until grep -q searching " + base + ".err; do sleep 0.1; done; kill -INT $tool; " +
        "wait $tool; exit $?";
    const int status = exitStatus(std::system(script.c_str()));
    std::istringstream out(readFile(base + ".out"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);) {
        lines.push_back(line);
    }
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    EXPECT_EQ(status, 130);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find(" face turns, at least "), std::string::npos) << lines[1];
}
#endif

TEST(SolveTool, BadInputIsOneLineOnStandardErrorAndStatusTwo) {
    // One of each kind: the option parser's, the move reader's and the facelet reader's,
    // whose messages their own tests hold; here, only how the program reports them.
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--seed", "1", "R"},
         "give only one of moves, --seed, --facelets, --stats and --scramble"},
        {{"R U", "X2"},
         "bad move \"X2\": a move is a face letter F R U B L D, then 2 (twice) and/or ' "
         "(counter-clockwise)"},
#ifdef _WIN32
        // Windows hands arguments over as text: the test's ANSI byte 0xFF is the letter
        // y with diaeresis, which reaches the tool in UTF-8, as its manifest asks.
        {{"R\x1b[31m\xff"},
         "bad move \"R\\x1B[31m\\xC3\\xBF\": a move is a face letter F R U B L D, then 2 "
         "(twice) and/or ' (counter-clockwise)"},
#else
        {{"R\x1b[31m\xff"},
         "bad move \"R\\x1B[31m\\xFF\": a move is a face letter F R U B L D, then 2 (twice) "
         "and/or ' (counter-clockwise)"},
#endif
        {{"--facelets", "UUU"}, "the facelet string is 3 characters long; it needs 54 letters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const Result result = runTool(c.arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.out.empty());
        EXPECT_EQ(result.err, "cubewright-solve: " + c.message + "\n");
    }
}

TEST(SolveTool, HelpPrintsItsTextOnStandardOutput) {
    const Result result = runTool({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    std::string text;
    for (const std::string& line : result.out) {
        text += line + "\n";
    }
    EXPECT_EQ(text, tools::solveHelp());
}

} // namespace
} // namespace cw
