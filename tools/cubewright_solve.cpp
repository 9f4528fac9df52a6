// cubewright-solve: runs the program's own solver from the command line, on the cube a
// seed scrambles, on moves or on a real cube's stickers, and checks it over many seeds.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "cube/random.h"
#include "cube/scramble.h"
#include "solver/solver.h"
#include "tools/notation.h"

namespace {

using namespace cw;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kHelp = R"(Usage:
  cubewright-solve [options] MOVES...
  cubewright-solve [options] --seed N
  cubewright-solve [options] --facelets STRING
  cubewright-solve --stats COUNT [--first SEED]

Solves a 3x3x3 cube with Cubewright's layer-by-layer solver and prints the moves,
exactly the moves the program plays when it solves that cube on screen.

Ways to give the cube:
  MOVES...            Moves applied to a solved cube, in one quoted argument or
                      several, e.g. "R U R' U'" or R U "R'" "U'".
  --seed N            The cube Cubewright shows after its random generator has been
                      seeded with N (0 to 4294967295) and the cube reset.
  --facelets STRING   A cube's stickers as 54 letters (see below).

Output:
  scramble: ...       The quarter turns applied (for MOVES and --seed), or
  facelets: ...       the stickers given (for --facelets);
  solution: ...       the solution, one token per quarter turn, so the number of
                      tokens is the number of moves the program plays.

Options:
  --compact           Write neighbouring turns of one face merged (U U -> U2,
                      U U U -> U') to make the moves easier to follow by hand.
  --print-facelets    With --seed or MOVES, add a third line "facelets: ..." with
                      the cube's stickers before solving.
  --stats COUNT       Solve the cubes of COUNT consecutive seeds, check every
                      solution on the scrambled stickers, and print one line: the
                      seeds, the failures, the shortest, mean and longest solution in
                      quarter turns, and the solves per second.
  --first SEED        The first seed for --stats (default 0).
  -h, --help          Show this text.

Notation:
  Faces are F (front), R (right), U (up), B (back), L (left) and D (down). A letter
  alone is a clockwise quarter turn as seen looking at that face from outside; ' after
  it makes the turn counter-clockwise; 2 makes it two quarter turns (U2 is U U, U2' is
  U' U'). Moves may be separated by spaces or written together: RUR'U'.

Facelet string:
  54 letters, each naming the face whose centre has that sticker's colour: nine for
  each face in the order U, R, F, D, L, B. Each face is read row by row, left to
  right, as seen looking at it from outside the cube: U with the back edge at the
  top, D with the front edge at the top, and R, F, L and B with U at the top. A solved
  cube is
    UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB
  The string must describe a cube that face turns can reach. For example, a solved
  cube after one clockwise quarter turn of the front face is
    cubewright-solve --facelets UUUUUULLLURRURRURRFFFFFFFFFRRRDDDDDDLLDLLDLLDBBBBBBBBB

Exit status: 0 when solved, 1 when the solver failed (or, with --stats, failed for
any seed), 2 for bad input.
)";

/// Bad input, as the one-line message that names it.
struct UsageError {
    std::string message;
};

struct Options {
    std::optional<std::uint32_t> seed;
    std::optional<std::string> facelets;
    std::optional<std::uint64_t> statsCount;
    std::optional<std::uint32_t> firstSeed;
    std::vector<std::string> moveWords;
    bool compact = false;
    bool printFacelets = false;
    bool help = false;
};

/// A whole number from `text`, digits only, at most `maximum`.
std::optional<std::uint64_t> parseNumber(std::string_view text, std::uint64_t maximum) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || value > maximum) {
        return std::nullopt;
    }
    return value;
}

constexpr std::uint64_t kLargestSeed = std::numeric_limits<std::uint32_t>::max();

/// Reads the arguments. On bad input returns the one-line message instead.
std::variant<Options, UsageError> parseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument.empty() || argument.front() != '-') {
            options.moveWords.emplace_back(argument);
            continue;
        }

        // Options that take a value accept it as the next argument or after '='.
        std::string_view name = argument;
        std::optional<std::string_view> attached;
        if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            attached = argument.substr(equals + 1);
        }
        const auto value = [&]() -> std::optional<std::string_view> {
            if (attached) {
                return attached;
            }
            if (i + 1 < argc) {
                return std::string_view(argv[++i]);
            }
            return std::nullopt;
        };
        const auto quoted = [](std::string_view text) {
            return "\"" + notation::printable(text) + "\"";
        };

        if (name == "-h" || name == "--help") {
            options.help = true;
        } else if (name == "--compact" && !attached) {
            options.compact = true;
        } else if (name == "--print-facelets" && !attached) {
            options.printFacelets = true;
        } else if (name == "--seed" || name == "--first") {
            const std::optional<std::string_view> text = value();
            if (!text) {
                return UsageError{std::string(name) + " needs a number"};
            }
            const std::optional<std::uint64_t> number = parseNumber(*text, kLargestSeed);
            if (!number) {
                return UsageError{std::string(name) + " needs a whole number from 0 to " +
                                  std::to_string(kLargestSeed) + ", not " + quoted(*text)};
            }
            (name == "--seed" ? options.seed : options.firstSeed) =
                static_cast<std::uint32_t>(*number);
        } else if (name == "--stats") {
            const std::optional<std::string_view> text = value();
            if (!text) {
                return UsageError{"--stats needs a count"};
            }
            const std::optional<std::uint64_t> number = parseNumber(*text, kLargestSeed + 1);
            if (!number || *number == 0) {
                return UsageError{"--stats needs a count from 1 to " +
                                  std::to_string(kLargestSeed + 1) + ", not " + quoted(*text)};
            }
            options.statsCount = *number;
        } else if (name == "--facelets") {
            const std::optional<std::string_view> text = value();
            if (!text) {
                return UsageError{"--facelets needs a string of 54 letters"};
            }
            options.facelets = std::string(*text);
        } else {
            return UsageError{"unknown option " + quoted(argument) + " (see --help)"};
        }
    }

    if (options.help) {
        return options;
    }
    const int sources = int{options.seed.has_value()} + int{options.facelets.has_value()} +
                        int{options.statsCount.has_value()} + int{!options.moveWords.empty()};
    if (sources == 0) {
        return UsageError{"nothing to solve: give moves, --seed N, --facelets STRING or "
                          "--stats COUNT (see --help)"};
    }
    if (sources > 1) {
        return UsageError{"give only one of moves, --seed, --facelets and --stats"};
    }
    if (options.firstSeed && !options.statsCount) {
        return UsageError{"--first goes with --stats"};
    }
    if (options.statsCount) {
        const std::uint64_t first = options.firstSeed.value_or(0);
        if (first + *options.statsCount - 1 > kLargestSeed) {
            return UsageError{"--stats runs past the last seed, " + std::to_string(kLargestSeed)};
        }
        if (options.compact || options.printFacelets) {
            return UsageError{"--compact and --print-facelets do not go with --stats"};
        }
    }
    if (options.printFacelets && options.facelets) {
        return UsageError{"--print-facelets goes with --seed or moves"};
    }
    return options;
}

void printLine(std::string_view label, const std::string& text) {
    std::printf("%.*s:%s%s\n", static_cast<int>(label.size()), label.data(),
                text.empty() ? "" : " ", text.c_str());
}

/// Runs the solver as the program does. True when it finished and its moves, applied to
/// the stickers, solve the cube; the stickers are left as they were.
bool solveAndCheck(Cube& cube) {
    prepareForSolve(cube);
    if (!solve(cube)) {
        return false;
    }
    const FaceletArray start = cube.facelets;
    for (const Move& move : cube.pending) {
        cube.turn(move.face, move.clockwise);
    }
    const bool solved = cube.isSolved();
    cube.facelets = start;
    return solved;
}

/// Gives `cube` the scramble a seed makes and returns its quarter turns.
MoveList scrambleFromSeed(Cube& cube, std::uint32_t seed) {
    MoveList turns;
    cw::srand(seed);
    drawScramble([&turns](int face, bool clockwise) { turns.emplace_back(face, clockwise); });
    cw::srand(seed);
    cube.reset();
    return turns;
}

int runStats(std::uint32_t first, std::uint64_t count) {
    Cube cube;
    std::uint64_t failures = 0;
    std::uint64_t solved = 0;
    std::uint64_t totalLength = 0;
    std::size_t shortest = std::numeric_limits<std::size_t>::max();
    std::size_t longest = 0;
    constexpr std::uint64_t kFailuresListed = 10;

    const auto start = std::chrono::steady_clock::now();
    for (std::uint64_t i = 0; i < count; ++i) {
        const auto seed = static_cast<std::uint32_t>(first + i);
        cw::srand(seed);
        cube.reset();
        if (!solveAndCheck(cube)) {
            if (failures < kFailuresListed) {
                std::fprintf(stderr, "cubewright-solve: seed %u was not solved\n", seed);
            }
            ++failures;
            continue;
        }
        const std::size_t length = cube.pending.size();
        ++solved;
        totalLength += length;
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    const std::uint64_t last = first + count - 1;
    std::printf("seeds %u to %llu: %llu solved, %llu failed", first,
                static_cast<unsigned long long>(last), static_cast<unsigned long long>(solved),
                static_cast<unsigned long long>(failures));
    if (solved > 0) {
        std::printf("; solution length min %zu, mean %.2f, max %zu quarter turns", shortest,
                    static_cast<double>(totalLength) / static_cast<double>(solved), longest);
    }
    std::printf("; %.0f solves/s\n",
                elapsed.count() > 0 ? static_cast<double>(count) / elapsed.count() : 0.0);
    return failures == 0 ? 0 : kExitFailed;
}

int run(const Options& options) {
    if (options.statsCount) {
        return runStats(options.firstSeed.value_or(0), *options.statsCount);
    }

    const notation::Style style =
        options.compact ? notation::Style::kCompact : notation::Style::kQuarterTurns;
    Cube cube;
    if (options.facelets) {
        const std::string error = loadFaceletString(cube, *options.facelets);
        if (!error.empty()) {
            std::fprintf(stderr, "cubewright-solve: %s\n", notation::printable(error, 200).c_str());
            return kExitUsage;
        }
        printLine("facelets", *options.facelets);
    } else {
        MoveList applied;
        if (options.seed) {
            applied = scrambleFromSeed(cube, *options.seed);
        } else {
            std::string text;
            for (const std::string& word : options.moveWords) {
                text += word;
                text += ' ';
            }
            notation::ParseResult parsed = notation::parseMoves(text);
            if (!parsed.error.empty()) {
                std::fprintf(stderr, "cubewright-solve: %s\n", parsed.error.c_str());
                return kExitUsage;
            }
            applied = std::move(parsed.moves);
            setSolvedStickers(cube);
            for (const Move& move : applied) {
                cube.turn(move.face, move.clockwise);
            }
        }
        printLine("scramble", notation::formatMoves(applied, style));
    }

    const std::string stickers = faceletString(cube);
    if (!solveAndCheck(cube)) {
        std::fflush(stdout);
        std::fprintf(stderr, "cubewright-solve: the solver did not solve this cube\n");
        return kExitFailed;
    }
    printLine("solution", notation::formatMoves(cube.pending, style));
    if (options.printFacelets) {
        printLine("facelets", stickers);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::variant<Options, UsageError> parsed = parseArguments(argc, argv);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "cubewright-solve: %s\n", usage->message.c_str());
        return kExitUsage;
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        std::fwrite(kHelp.data(), 1, kHelp.size(), stdout);
        return 0;
    }
    return run(options);
}
