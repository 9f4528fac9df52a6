// Reading cubewright-solve's command line into SolveOptions, and its help text. Called by
// the tool's main; the text comes straight from the command line, so any bytes are taken.
#include "tools/solve_options.h"

#include <charconv>
#include <limits>

#include "cube/notation.h"

namespace cw::tools {
namespace {

constexpr std::string_view kHelp = R"help(Usage:
  cubewright-solve [options] MOVES...
  cubewright-solve [options] --seed N
  cubewright-solve [options] --facelets STRING
  cubewright-solve [options] --facelets -
  cubewright-solve [options] --colours FILE
  cubewright-solve --optimal [--budget MS] [--jobs N] (MOVES... | --seed N | --facelets ...)
  cubewright-solve --stats COUNT [--first SEED] [--jobs N]
  cubewright-solve --scramble [COUNT] [--scramble-seed N] [--jobs N]

Solves a 3x3x3 cube with Cubewright's layer-by-layer solver and prints the moves,
exactly the moves the program plays when it solves that cube on screen. With --short
it finds a solution of at most 20 face turns instead, with a two-phase search; with
--optimal, a solution with the fewest face turns there are, proven so.

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
  --colours FILE      A real cube's stickers as measured colours (a camera's or a
                      colour sensor's readings), from FILE or, with -, standard
                      input: 54 lines, one sticker each in the facelet string's
                      order, as #rrggbb or as R G B (0 to 255); blank lines are
                      skipped. The centres say which colour is which face's, so any
                      colour scheme reads. The cube read is solved as --facelets
                      solves it. Colours that do not read clearly as one cube are
                      bad input: the message names the stickers in doubt,
                      e.g. "U3 F7" (a face's letter and the sticker's place, 1 to 9,
                      row by row as for the facelet string).

Output:
  scramble: ...       The quarter turns applied (for MOVES and --seed), or
  facelets: ...       the stickers given (for --facelets) or read (for --colours);
  solution: ...       the solution, one token per quarter turn, so the number of
                      tokens is the number of moves the program plays. With --short,
                      face turns in standard notation (R2 is a half turn) followed by
                      the length, e.g. "R2 U' F (3 face turns, 4 quarter turns)".
                      With --optimal, "R2 U' F (3 face turns, optimal)", or when it
                      gave up, "(21 face turns, at least 18)": the best solution found
                      and the length below which none exists, as proven so far.

Options:
  --short             Solve with the two-phase search: a solution of at most 20 face
                      turns (see --tables), not the moves the program plays. Goes
                      with MOVES, --seed and --facelets.
  --optimal           Find a solution with the fewest face turns (a half turn counts
                      one) and prove that none is shorter. Goes with MOVES, --seed
                      and --facelets. Its pattern table is built on the first run
                      (minutes, with a progress line) and kept in the cache folder
                      ($XDG_CACHE_HOME/cubewright or ~/.cache/cubewright; on Windows
                      %LOCALAPPDATA%\Cubewright). While it searches, standard error
                      says which length it is proving and how long each took. Ctrl-C
                      prints the best solution so far, as --budget does, and exits
                      with status 130.
  --table-size SIZE   The pattern table --optimal searches with: packed (default;
                      1.9 GB in memory and on disk, 2.4 GB while it is built, in
                      about three and a half minutes), large (1.6 GB, built in
                      about a minute and a half: about 1.4 times as slow on random
                      cubes), huge (4.5 GB, built in about four minutes: about 1.4
                      times as fast, for machines with the memory), medium (67 MB,
                      built in about a minute, slower searches) or small (2 MB,
                      never stored, much slower: for trying it out).
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
  --tables SIZE       The tables that --short and --scramble search with: large
                      (the default: about 130 MB, built on every core the first time
                      they are needed, which takes a minute or so, and kept in the
                      cache folder, ~/.cache/cubewright, for later runs) or small
                      (5.8 MB, built at each start; slower, and solutions sometimes
                      longer than 20 face turns).
  --no-cache          Build the large tables in memory for this run only: no table
                      file is read or written.
  --budget MS         With --short or --scramble, go on looking for shorter solutions
                      until MS milliseconds (0 to 604800000) have passed for each cube,
                      or until the search shows that none shorter exists, and print
                      the shortest found. With --optimal, give up after MS
                      milliseconds of search and print the best solution found so far.
  --max-length N      With --short or --scramble, stop at the first solution of at
                      most N face turns (0 to 50). Without --budget the search goes on
                      as long as it takes, which for N under 19 can be long.
  --jobs N            Threads for --stats, --scramble, --facelets - and --optimal (1
                      to 1024; default one per core). The output is the same for any
                      N; only the time it takes changes.
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

constexpr std::uint64_t kLargestSeed = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t kLargestScrambleSeed = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kMostJobs = 1024;
constexpr std::uint64_t kLongestBudget = 604'800'000; // a week
constexpr std::uint64_t kLongestSolution = 50;

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

/// `text` in double quotes, made safe to print.
std::string quoted(std::string_view text) {
    // Appended piece by piece: GCC 12 warns falsely about "\"" + std::string here.
    std::string out = "\"";
    out += notation::printable(text);
    out += '"';
    return out;
}

/// Checks that the options given make one request. On bad input returns the message.
std::optional<UsageError> checkCombination(const SolveOptions& options) {
    const int sources = int{options.seed.has_value()} + int{options.facelets.has_value()} +
                        int{options.coloursFile.has_value()} + int{options.statsCount.has_value()} +
                        int{options.scrambleCount.has_value()} + int{!options.moveWords.empty()};
    if (sources == 0) {
        return UsageError{"nothing to solve: give moves, --seed N, --facelets STRING, "
                          "--stats COUNT or --scramble (see --help)"};
    }
    if (sources > 1) {
        return UsageError{
            options.coloursFile
                ? "--colours does not go with moves, --seed, --facelets, --stats "
                  "or --scramble"
                : "give only one of moves, --seed, --facelets, --stats and --scramble"};
    }
    if (options.firstSeed && !options.statsCount) {
        return UsageError{"--first goes with --stats"};
    }
    if (options.scrambleSeed && !options.scrambleCount) {
        return UsageError{"--scramble-seed goes with --scramble"};
    }
    if (options.jobs && !options.statsCount && !options.scrambleCount && !options.batch() &&
        !options.optimalSolver) {
        return UsageError{"--jobs goes with --stats, --scramble, --facelets - or --optimal"};
    }
    if (options.shortSolver && options.optimalSolver) {
        return UsageError{"give only one of --short and --optimal"};
    }
    if ((options.statsCount || options.scrambleCount) && options.optimalSolver) {
        return UsageError{std::string("--optimal does not go with ") +
                          (options.statsCount ? "--stats" : "--scramble")};
    }
    if (options.tableSize && !options.optimalSolver) {
        return UsageError{"--table-size goes with --optimal"};
    }
    if (options.budgetMs && !options.shortSolver && !options.scrambleCount &&
        !options.optimalSolver) {
        return UsageError{"--budget goes with --short, --scramble or --optimal"};
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
    if ((options.tables || options.maxLength || options.noCache) && !options.shortSolver &&
        !options.scrambleCount) {
        return UsageError{"--tables, --max-length and --no-cache go with --short or --scramble"};
    }
    if (options.noCache && options.tables == two_phase::TableSize::small) {
        return UsageError{"--no-cache goes with the large tables, not with --tables small"};
    }
    if (options.printFacelets && (options.facelets || options.coloursFile)) {
        return UsageError{"--print-facelets goes with --seed or moves"};
    }
    return std::nullopt;
}

/// Walks the arguments, one option (and its value) at a time, into SolveOptions.
class Parser {
public:
    explicit Parser(std::span<const std::string_view> arguments) : arguments_(arguments) {}

    std::variant<SolveOptions, UsageError> parse() {
        while (next_ < arguments_.size()) {
            const std::string_view argument = arguments_[next_++];
            if (argument.empty() || argument.front() != '-') {
                options_.moveWords.emplace_back(argument);
            } else if (!readOption(argument)) {
                return std::move(*error_);
            }
        }
        if (!options_.help) {
            if (std::optional<UsageError> error = checkCombination(options_)) {
                return std::move(*error);
            }
        }
        return std::move(options_);
    }

private:
    /// Reads one option. False, with the message in `error_`, when it is bad.
    bool readOption(std::string_view argument) {
        // Options that take a value accept it as the next argument or after '='.
        name_ = argument;
        attached_.reset();
        if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
            name_ = argument.substr(0, equals);
            attached_ = argument.substr(equals + 1);
        }

        if (name_ == "-h" || name_ == "--help") {
            options_.help = true;
        } else if (name_ == "--compact" && !attached_) {
            options_.compact = true;
        } else if (name_ == "--print-facelets" && !attached_) {
            options_.printFacelets = true;
        } else if (name_ == "--short" && !attached_) {
            options_.shortSolver = true;
        } else if (name_ == "--no-cache" && !attached_) {
            options_.noCache = true;
        } else if (name_ == "--tables") {
            const std::optional<std::string_view> size = value();
            if (size != "small" && size != "large") {
                return fail("--tables needs small or large" +
                            (size ? ", not " + quoted(*size) : std::string()));
            }
            options_.tables =
                *size == "small" ? two_phase::TableSize::small : two_phase::TableSize::large;
        } else if (name_ == "--max-length") {
            return readNumber(options_.maxLength, "a number of face turns", 0, kLongestSolution);
        } else if (name_ == "--optimal" && !attached_) {
            options_.optimalSolver = true;
        } else if (name_ == "--budget") {
            return readNumber(options_.budgetMs, "a number of milliseconds", 0, kLongestBudget);
        } else if (name_ == "--table-size") {
            const std::optional<std::string_view> text = value();
            if (!text || (*text != "huge" && *text != "packed" && *text != "large" &&
                          *text != "medium" && *text != "small")) {
                return fail("--table-size needs huge, packed, large, medium or small" +
                            (text ? ", not " + quoted(*text) : std::string()));
            }
            options_.tableSize = *text == "huge"     ? optimal::TableSize::huge
                                 : *text == "packed" ? optimal::TableSize::packed
                                 : *text == "large"  ? optimal::TableSize::large
                                 : *text == "medium" ? optimal::TableSize::medium
                                                     : optimal::TableSize::small;
        } else if (name_ == "--seed") {
            return readNumber(options_.seed, "a whole number", 0, kLargestSeed);
        } else if (name_ == "--first") {
            return readNumber(options_.firstSeed, "a whole number", 0, kLargestSeed);
        } else if (name_ == "--stats") {
            return readNumber(options_.statsCount, "a count", 1, kLargestSeed + 1);
        } else if (name_ == "--scramble") {
            // The count is optional: a following argument is taken only when it is one.
            options_.scrambleCount = 1;
            if (attached_ || (next_ < arguments_.size() &&
                              parseNumber(arguments_[next_], kLargestScrambleSeed))) {
                return readNumber(options_.scrambleCount, "a count", 1, kLargestSeed + 1);
            }
        } else if (name_ == "--scramble-seed") {
            return readNumber(options_.scrambleSeed, "a whole number", 0, kLargestScrambleSeed);
        } else if (name_ == "--jobs") {
            return readNumber(options_.jobs, "a number", 1, kMostJobs);
        } else if (name_ == "--facelets") {
            const std::optional<std::string_view> text = value();
            if (!text) {
                return fail("--facelets needs a string of 54 letters, or - to read them from "
                            "standard input");
            }
            options_.facelets = std::string(*text);
        } else if (name_ == "--colours") {
            const std::optional<std::string_view> file = value();
            if (!file || file->empty()) {
                return fail("--colours needs a file of 54 colours, or - to read them from "
                            "standard input");
            }
            options_.coloursFile = std::string(*file);
        } else {
            return fail("unknown option " + quoted(argument) + " (see --help)");
        }
        return true;
    }

    /// The option's value: attached after '=', or else the next argument.
    std::optional<std::string_view> value() {
        if (attached_) {
            return attached_;
        }
        if (next_ < arguments_.size()) {
            return arguments_[next_++];
        }
        return std::nullopt;
    }

    /// Reads the option's value as a whole number from `lowest` to `highest` into `into`;
    /// `what` names such a value in the message for a missing or bad one.
    template <typename Number>
    bool readNumber(std::optional<Number>& into, std::string_view what, std::uint64_t lowest,
                    std::uint64_t highest) {
        const std::optional<std::string_view> text = value();
        if (!text) {
            return fail(std::string(name_) + " needs " + std::string(what));
        }
        const std::optional<std::uint64_t> parsed = parseNumber(*text, highest);
        if (!parsed || *parsed < lowest) {
            return fail(std::string(name_) + " needs " + std::string(what) + " from " +
                        std::to_string(lowest) + " to " + std::to_string(highest) + ", not " +
                        quoted(*text));
        }
        into = static_cast<Number>(*parsed);
        return true;
    }

    bool fail(std::string message) {
        error_ = UsageError{std::move(message)};
        return false;
    }

    std::span<const std::string_view> arguments_;
    std::size_t next_ = 0;
    std::string_view name_;
    std::optional<std::string_view> attached_;
    SolveOptions options_;
    std::optional<UsageError> error_;
};

} // namespace

std::variant<SolveOptions, UsageError>
parseSolveOptions(std::span<const std::string_view> arguments) {
    return Parser(arguments).parse();
}

std::string_view solveHelp() {
    return kHelp;
}

} // namespace cw::tools
