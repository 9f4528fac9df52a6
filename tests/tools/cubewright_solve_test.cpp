// Tests that run the built cubewright-solve: its output for seeds, moves and facelet
// strings, checked against the solver in this process, its errors and exit statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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
#include "cube/random.h"
#include "cube/scramble.h"
#include "solver/solver.h"
#include "tools/notation.h"

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

/// Runs the tool with these arguments and collects what it printed.
Result runTool(const std::vector<std::string>& arguments) {
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

TEST(SolveTool, BadInputIsOneLineNamingItAndStatusTwo) {
    struct Case {
        std::vector<std::string> arguments;
        std::string named;
    };
    const std::vector<Case> cases = {
        {{"R U X"}, "\"X\""},
        {{"R3"}, "\"R3\""},
        {{"R''"}, "\"R''\""},
        {{"R", "u"}, "\"u\""},
        {{"--seed"}, "--seed"},
        {{"--seed", "abc"}, "\"abc\""},
        {{"--seed", "-1"}, "\"-1\""},
        {{"--seed", "4294967296"}, "\"4294967296\""},
        {{"--seed", "12x"}, "\"12x\""},
        {{"--seed="}, "\"\""},
        {{"--bogus"}, "\"--bogus\""},
        {{"--compact=yes", "R"}, "\"--compact=yes\""},
        {{}, "nothing to solve"},
        {{"--compact"}, "nothing to solve"},
        {{"--seed", "1", "R"}, "only one"},
        {{"--first", "3", "R"}, "--first"},
        {{"--stats", "0"}, "\"0\""},
        {{"--stats", "many"}, "\"many\""},
        {{"--stats", "2", "--first", "4294967295"}, "past the last seed"},
        {{"--facelets"}, "--facelets"},
        {{"--facelets", "UUU"}, "54"},
#ifdef _WIN32
        // Windows hands arguments over as text: the test's ANSI byte 0xFF is the letter
        // y with diaeresis, which reaches the tool in UTF-8, as its manifest asks.
        {{"R\x1b[31m\xff"}, "\\x1B[31m\\xC3\\xBF"},
#else
        {{"R\x1b[31m\xff"}, "\\x1B[31m\\xFF"},
#endif
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& argument : c.arguments) {
            shown += "[" + argument + "] ";
        }
        SCOPED_TRACE(shown);
        const Result result = runTool(c.arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.out.empty());
        EXPECT_EQ(result.err.rfind("cubewright-solve: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

TEST(SolveTool, HelpDescribesEveryOptionAndTheFaceletFormat) {
    const Result result = runTool({"--help"});
    EXPECT_EQ(result.status, 0);
    std::string text;
    for (const std::string& line : result.out) {
        text += line + "\n";
    }
    for (const std::string& expected : std::vector<std::string>{
             "--seed", "--facelets", "--stats", "--first", "--compact", "--print-facelets",
             "U, R, F, D, L, B", std::string(kSolvedFaceletString), "Exit status"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(runTool({"-h"}).out, result.out);
}

} // namespace
} // namespace cw
