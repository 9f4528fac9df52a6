// cubewright-solve: runs the program's own solver from the command line, on the cube a
// seed scrambles, on moves or on a real cube's stickers (one, or one a line from standard
// input), checks it over many seeds, and offers the short two-phase solver and
// random-state scrambles beside it.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "cube/random.h"
#include "cube/scramble.h"
#include "solver/solver.h"
#include "solver/two_phase/two_phase.h"
#include "tools/notation.h"
#include "tools/ordered_jobs.h"

namespace {

using namespace cw;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kHelp = R"help(Usage:
  cubewright-solve [options] MOVES...
  cubewright-solve [options] --seed N
  cubewright-solve [options] --facelets STRING
  cubewright-solve [options] --facelets -
  cubewright-solve --stats COUNT [--first SEED] [--jobs N]
  cubewright-solve --scramble [COUNT] [--scramble-seed N] [--jobs N]

Solves a 3x3x3 cube with Cubewright's layer-by-layer solver and prints the moves,
exactly the moves the program plays when it solves that cube on screen. With --short
it finds a solution of about 20 face turns instead, with a two-phase search.

Ways to give the cube:
  MOVES...            Moves applied to a solved cube, in one quoted argument or
                      several, e.g. "R U R' U'" or R U "R'" "U'".
  --seed N            The cube Cubewright shows after its random generator has been
                      seeded with N (0 to 4294967295) and the cube reset.
  --facelets STRING   A cube's stickers as 54 letters (see below).
  --facelets -        Facelet strings from standard input, one a line (blanks around
                      a string are ignored). Prints one line per input line, in the
                      same order: the "solution: ..." line that --facelets with that
                      string alone prints. A bad line gets its message and line
                      number on standard error and an empty output line; the other
                      lines are still solved.

Output:
  scramble: ...       The quarter turns applied (for MOVES and --seed), or
  facelets: ...       the stickers given (for --facelets);
  solution: ...       the solution, one token per quarter turn, so the number of
                      tokens is the number of moves the program plays. With --short,
                      face turns in standard notation (R2 is a half turn) followed by
                      the length, e.g. "R2 U' F (3 face turns, 4 quarter turns)".

Options:
  --short             Solve with the two-phase search: a short solution, not the
                      moves the program plays. Goes with MOVES, --seed and --facelets.
  --compact           Write neighbouring turns of one face merged (U U -> U2,
                      U U U -> U') to make the moves easier to follow by hand.
  --print-facelets    With --seed or MOVES, add a third line "facelets: ..." with
                      the cube's stickers before solving.
  --stats COUNT       Solve the cubes of COUNT consecutive seeds, check every
                      solution on the scrambled stickers, and print one line: the
                      seeds, the failures, the shortest, mean and longest solution in
                      quarter turns, and the solves per second.
  --first SEED        The first seed for --stats (default 0).
  --scramble [COUNT]  Print COUNT (default 1) random-state scrambles: a cube drawn
                      uniformly from all the states face turns reach, given as the
                      moves that make it (the inverse of its short solution) on a
                      "scramble:" line and as its stickers on a "facelets:" line.
  --scramble-seed N   Draw the scrambles from the seed N (0 to 18446744073709551615),
                      so that they come out the same every time. It has nothing to do
                      with --seed. Without it they differ from run to run.
  --jobs N            Threads for --stats, --scramble and --facelets - (1 to 1024;
                      default one per core). The output is the same for any N; only
                      the time it takes changes.
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

Exit status: 0 when solved, 1 when the solver failed (or, with --stats or
--facelets -, failed for any cube), 2 for bad input (with --facelets -, when any line
was bad).
)help";

/// Bad input, as the one-line message that names it.
struct UsageError {
    std::string message;
};

struct Options {
    std::optional<std::uint32_t> seed;
    std::optional<std::string> facelets;
    std::optional<std::uint64_t> statsCount;
    std::optional<std::uint32_t> firstSeed;
    std::optional<std::uint64_t> scrambleCount;
    std::optional<std::uint64_t> scrambleSeed;
    std::optional<unsigned> jobs;
    std::vector<std::string> moveWords;
    bool shortSolver = false;
    bool compact = false;
    bool printFacelets = false;
    bool help = false;

    /// Facelet strings come one a line from standard input.
    bool batch() const { return facelets && *facelets == "-"; }
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
constexpr std::uint64_t kLargestScrambleSeed = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kMostJobs = 1024;

/// What an option's value must be, for its message: "a count from 1 to 10".
std::string range(std::string_view what, std::uint64_t lowest, std::uint64_t highest) {
    return std::string(what) + " from " + std::to_string(lowest) + " to " + std::to_string(highest);
}

/// Checks that the options given make one request. On bad input returns the message.
std::optional<UsageError> checkCombination(const Options& options) {
    const int sources = int{options.seed.has_value()} + int{options.facelets.has_value()} +
                        int{options.statsCount.has_value()} +
                        int{options.scrambleCount.has_value()} + int{!options.moveWords.empty()};
    if (sources == 0) {
        return UsageError{"nothing to solve: give moves, --seed N, --facelets STRING, "
                          "--stats COUNT or --scramble (see --help)"};
    }
    if (sources > 1) {
        return UsageError{"give only one of moves, --seed, --facelets, --stats and --scramble"};
    }
    if (options.firstSeed && !options.statsCount) {
        return UsageError{"--first goes with --stats"};
    }
    if (options.scrambleSeed && !options.scrambleCount) {
        return UsageError{"--scramble-seed goes with --scramble"};
    }
    if (options.jobs && !options.statsCount && !options.scrambleCount && !options.batch()) {
        return UsageError{"--jobs goes with --stats, --scramble or --facelets -"};
    }
    if (options.statsCount) {
        const std::uint64_t first = options.firstSeed.value_or(0);
        if (first + *options.statsCount - 1 > kLargestSeed) {
            return UsageError{"--stats runs past the last seed, " + std::to_string(kLargestSeed)};
        }
    }
    if ((options.statsCount || options.scrambleCount) &&
        (options.compact || options.printFacelets || options.shortSolver)) {
        return UsageError{std::string("--compact, --print-facelets and --short do not go with ") +
                          (options.statsCount ? "--stats" : "--scramble")};
    }
    if (options.printFacelets && options.facelets) {
        return UsageError{"--print-facelets goes with --seed or moves"};
    }
    return std::nullopt;
}

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
            // Appended piece by piece: GCC 12 warns falsely about "\"" + std::string here.
            std::string out = "\"";
            out += notation::printable(text);
            out += '"';
            return out;
        };
        // A number option: its value, or the message for a missing or bad one.
        const auto number = [&](std::string_view what, std::uint64_t lowest,
                                std::uint64_t highest) -> std::variant<std::uint64_t, UsageError> {
            const std::optional<std::string_view> text = value();
            if (!text) {
                return UsageError{std::string(name) + " needs " + std::string(what)};
            }
            const std::optional<std::uint64_t> parsed = parseNumber(*text, highest);
            if (!parsed || *parsed < lowest) {
                return UsageError{std::string(name) + " needs " + range(what, lowest, highest) +
                                  ", not " + quoted(*text)};
            }
            return *parsed;
        };

        std::variant<std::uint64_t, UsageError> given = std::uint64_t{0};
        if (name == "-h" || name == "--help") {
            options.help = true;
        } else if (name == "--compact" && !attached) {
            options.compact = true;
        } else if (name == "--print-facelets" && !attached) {
            options.printFacelets = true;
        } else if (name == "--short" && !attached) {
            options.shortSolver = true;
        } else if (name == "--seed" || name == "--first") {
            given = number("a whole number", 0, kLargestSeed);
            if (const auto* seed = std::get_if<std::uint64_t>(&given)) {
                (name == "--seed" ? options.seed : options.firstSeed) =
                    static_cast<std::uint32_t>(*seed);
            }
        } else if (name == "--stats") {
            given = number("a count", 1, kLargestSeed + 1);
            if (const auto* count = std::get_if<std::uint64_t>(&given)) {
                options.statsCount = *count;
            }
        } else if (name == "--scramble") {
            // The count is optional: a following argument is taken only when it is one.
            options.scrambleCount = 1;
            if (attached || (i + 1 < argc && parseNumber(argv[i + 1], kLargestScrambleSeed))) {
                given = number("a count", 1, kLargestSeed + 1);
                if (const auto* count = std::get_if<std::uint64_t>(&given)) {
                    options.scrambleCount = *count;
                }
            }
        } else if (name == "--scramble-seed") {
            given = number("a whole number", 0, kLargestScrambleSeed);
            if (const auto* seed = std::get_if<std::uint64_t>(&given)) {
                options.scrambleSeed = *seed;
            }
        } else if (name == "--jobs") {
            given = number("a number", 1, kMostJobs);
            if (const auto* jobs = std::get_if<std::uint64_t>(&given)) {
                options.jobs = static_cast<unsigned>(*jobs);
            }
        } else if (name == "--facelets") {
            const std::optional<std::string_view> text = value();
            if (!text) {
                return UsageError{"--facelets needs a string of 54 letters, or - to read them "
                                  "from standard input"};
            }
            options.facelets = std::string(*text);
        } else {
            return UsageError{"unknown option " + quoted(argument) + " (see --help)"};
        }
        if (auto* error = std::get_if<UsageError>(&given)) {
            return std::move(*error);
        }
    }

    if (options.help) {
        return options;
    }
    if (std::optional<UsageError> error = checkCombination(options)) {
        return std::move(*error);
    }
    return options;
}

void printLine(std::string_view label, const std::string& text) {
    std::printf("%.*s:%s%s\n", static_cast<int>(label.size()), label.data(),
                text.empty() ? "" : " ", text.c_str());
}

void printError(const std::string& message) {
    std::fprintf(stderr, "cubewright-solve: %s\n", message.c_str());
}

constexpr std::string_view kNotSolved = "the solver did not solve this cube";

/// Whether `moves`, played on the live stickers, solve the cube; the stickers are left as
/// they were.
bool movesSolve(Cube& cube, const MoveList& moves) {
    const FaceletArray start = cube.facelets;
    for (const Move& move : moves) {
        cube.turn(move.face, move.clockwise);
    }
    const bool solved = cube.isSolved();
    cube.facelets = start;
    return solved;
}

/// Runs the solver as the program does. True when it finished and its moves, applied to
/// the stickers, solve the cube; the stickers are left as they were.
bool solveAndCheck(Cube& cube) {
    prepareForSolve(cube);
    return solve(cube) && movesSolve(cube, cube.pending);
}

/// "1 face turn", "2 face turns".
std::string counted(int count, std::string_view what) {
    return std::to_string(count) + " " + std::string(what) + (count == 1 ? "" : "s");
}

/// The text of the "solution:" line for the cube's live stickers, or nothing when the
/// chosen solver did not solve it (checked by playing the moves on the stickers).
std::optional<std::string> solutionText(Cube& cube, bool shortSolver, notation::Style style) {
    if (!shortSolver) {
        if (!solveAndCheck(cube)) {
            return std::nullopt;
        }
        return notation::formatMoves(cube.pending, style);
    }
    const std::optional<two_phase::Solution> found = two_phase::solve(cube);
    if (!found || !movesSolve(cube, two_phase::quarterTurns(*found))) {
        return std::nullopt;
    }
    std::string text = two_phase::formatSolution(*found);
    if (!text.empty()) {
        text += ' ';
    }
    return text + "(" + counted(two_phase::faceTurnCount(*found), "face turn") + ", " +
           counted(two_phase::quarterTurnCount(*found), "quarter turn") + ")";
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

/// What --stats found over a run of consecutive seeds.
struct StatsTally {
    std::uint64_t solved = 0;
    std::uint64_t totalLength = 0;
    std::size_t shortest = std::numeric_limits<std::size_t>::max();
    std::size_t longest = 0;
    std::vector<std::uint32_t> failedSeeds;
};

/// Seeds one thread of --stats takes at a time: enough that handing them out costs
/// nothing next to solving them, few enough that the threads finish together.
constexpr std::uint64_t kSeedsPerBatch = 256;

/// Solves the seeds first..first+count-1 one after another on the calling thread.
StatsTally solveSeeds(Cube& cube, std::uint64_t first, std::uint64_t count) {
    StatsTally tally;
    for (std::uint64_t i = 0; i < count; ++i) {
        const auto seed = static_cast<std::uint32_t>(first + i);
        cw::srand(seed);
        cube.reset();
        if (!solveAndCheck(cube)) {
            tally.failedSeeds.push_back(seed);
            continue;
        }
        const std::size_t length = cube.pending.size();
        ++tally.solved;
        tally.totalLength += length;
        tally.shortest = std::min(tally.shortest, length);
        tally.longest = std::max(tally.longest, length);
    }
    return tally;
}

int runStats(std::uint32_t first, std::uint64_t count, unsigned jobs) {
    struct Batch {
        std::uint64_t first;
        std::uint64_t count;
    };
    const std::uint64_t end = std::uint64_t{first} + count;
    std::uint64_t nextSeed = first;
    const auto nextBatch = [&]() -> std::optional<Batch> {
        if (nextSeed == end) {
            return std::nullopt;
        }
        const Batch batch{nextSeed, std::min(kSeedsPerBatch, end - nextSeed)};
        nextSeed += batch.count;
        return batch;
    };

    StatsTally total;
    std::uint64_t failures = 0;
    constexpr std::uint64_t kFailuresListed = 10;
    const auto start = std::chrono::steady_clock::now();
    tools::runInOrder<Cube, Batch, StatsTally>(
        jobs, nextBatch,
        [](Cube& cube, const Batch& batch) { return solveSeeds(cube, batch.first, batch.count); },
        [&](const StatsTally& tally, bool) {
            // Batches arrive in seed order, so the failures listed are the first ones.
            for (const std::uint32_t seed : tally.failedSeeds) {
                if (failures < kFailuresListed) {
                    std::fprintf(stderr, "cubewright-solve: seed %u was not solved\n", seed);
                }
                ++failures;
            }
            total.solved += tally.solved;
            total.totalLength += tally.totalLength;
            total.shortest = std::min(total.shortest, tally.shortest);
            total.longest = std::max(total.longest, tally.longest);
        });
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    const std::uint64_t last = end - 1;
    std::printf(
        "seeds %u to %llu: %llu solved, %llu failed", first, static_cast<unsigned long long>(last),
        static_cast<unsigned long long>(total.solved), static_cast<unsigned long long>(failures));
    if (total.solved > 0) {
        std::printf("; solution length min %zu, mean %.2f, max %zu quarter turns", total.shortest,
                    static_cast<double>(total.totalLength) / static_cast<double>(total.solved),
                    total.longest);
    }
    std::printf("; %.0f solves/s\n",
                elapsed.count() > 0 ? static_cast<double>(count) / elapsed.count() : 0.0);
    return failures == 0 ? 0 : kExitFailed;
}

/// A seed for --scramble when none is given: different from run to run.
std::uint64_t freshScrambleSeed() {
    std::random_device device;
    const std::uint64_t high = device();
    const std::uint64_t low = device();
    return (high << 32 ^ low) ^ static_cast<std::uint64_t>(std::time(nullptr));
}

int runScrambles(std::uint64_t seed, std::uint64_t count, unsigned jobs) {
    std::uint64_t next = 0;
    const auto nextIndex = [&]() -> std::optional<std::uint64_t> {
        return next == count ? std::nullopt : std::optional<std::uint64_t>(next++);
    };
    struct Stateless {};
    tools::runInOrder<Stateless, std::uint64_t, two_phase::Scramble>(
        jobs, nextIndex,
        [seed](Stateless&, std::uint64_t index) { return two_phase::randomScramble(seed, index); },
        [](const two_phase::Scramble& scramble, bool pending) {
            printLine("scramble", two_phase::formatSolution(scramble.moves));
            printLine("facelets", scramble.facelets);
            if (!pending) {
                std::fflush(stdout);
            }
        });
    return 0;
}

/// `text` without the blanks (spaces, tabs, a carriage return) around it.
std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

/// Solves the facelet strings on standard input, one a line, and prints one line for each.
int runBatch(const Options& options) {
    struct Line {
        std::uint64_t number;
        std::string text;
    };
    struct Outcome {
        std::uint64_t number = 0;
        std::optional<std::string> solution;
        std::string error; ///< empty, or why the line was not solved
        bool badInput = false;
    };

    std::uint64_t lineNumber = 0;
    const auto nextLine = [&]() -> std::optional<Line> {
        std::string text;
        if (!std::getline(std::cin, text)) {
            return std::nullopt;
        }
        return Line{++lineNumber, std::move(text)};
    };
    const notation::Style style =
        options.compact ? notation::Style::kCompact : notation::Style::kQuarterTurns;
    const auto solveLine = [&options, style](Cube& cube, const Line& line) {
        Outcome outcome;
        outcome.number = line.number;
        outcome.error = loadFaceletString(cube, trimmed(line.text));
        if (!outcome.error.empty()) {
            outcome.badInput = true;
            return outcome;
        }
        outcome.solution = solutionText(cube, options.shortSolver, style);
        if (!outcome.solution) {
            outcome.error = kNotSolved;
        }
        return outcome;
    };

    bool anyBad = false;
    bool anyFailed = false;
    const auto emit = [&](const Outcome& outcome, bool pending) {
        if (outcome.solution) {
            printLine("solution", *outcome.solution);
        } else {
            // An empty line keeps every later result on the line of its input.
            std::fputs("\n", stdout);
            std::fflush(stdout);
            printError("line " + std::to_string(outcome.number) + ": " +
                       notation::printable(outcome.error, 200));
            (outcome.badInput ? anyBad : anyFailed) = true;
        }
        // Someone typing strings in sees each result as soon as it is there.
        if (!pending) {
            std::fflush(stdout);
        }
    };
    std::ios::sync_with_stdio(false);
    tools::runInOrder<Cube, Line, Outcome>(options.jobs.value_or(tools::defaultJobs()), nextLine,
                                           solveLine, emit);
    std::fflush(stdout);
    return anyBad ? kExitUsage : anyFailed ? kExitFailed : 0;
}

int run(const Options& options) {
    if (options.statsCount) {
        return runStats(options.firstSeed.value_or(0), *options.statsCount,
                        options.jobs.value_or(tools::defaultJobs()));
    }
    if (options.scrambleCount) {
        return runScrambles(options.scrambleSeed.value_or(freshScrambleSeed()),
                            *options.scrambleCount, options.jobs.value_or(tools::defaultJobs()));
    }
    if (options.batch()) {
        return runBatch(options);
    }

    const notation::Style style =
        options.compact ? notation::Style::kCompact : notation::Style::kQuarterTurns;
    Cube cube;
    if (options.facelets) {
        const std::string error = loadFaceletString(cube, *options.facelets);
        if (!error.empty()) {
            printError(notation::printable(error, 200));
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
                printError(parsed.error);
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
    const std::optional<std::string> solution = solutionText(cube, options.shortSolver, style);
    if (!solution) {
        std::fflush(stdout);
        printError(std::string(kNotSolved));
        return kExitFailed;
    }
    printLine("solution", *solution);
    if (options.printFacelets) {
        printLine("facelets", stickers);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::variant<Options, UsageError> parsed = parseArguments(argc, argv);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        printError(usage->message);
        return kExitUsage;
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        std::fwrite(kHelp.data(), 1, kHelp.size(), stdout);
        return 0;
    }
    return run(options);
}
