// Tests of cubewright-solve's option parser: what each option sets, the ways a value may
// be given, and the exact message for each kind of bad command line. Command-line errors
// are tested here only; cubewright_solve_test.cpp sees that the program prints one of
// them on standard error with status 2.
#include "tools/solve_options.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace cw::tools {
namespace {

std::variant<SolveOptions, UsageError> parse(std::initializer_list<std::string_view> words) {
    const std::vector<std::string_view> arguments(words);
    return parseSolveOptions(arguments);
}

// The options read from `words`, which must be good.
SolveOptions options(std::initializer_list<std::string_view> words) {
    const std::variant<SolveOptions, UsageError> parsed = parse(words);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        ADD_FAILURE() << error->message;
        return {};
    }
    return std::get<SolveOptions>(parsed);
}

// The message for `words`, which must be bad.
std::string message(std::initializer_list<std::string_view> words) {
    const std::variant<SolveOptions, UsageError> parsed = parse(words);
    if (!std::holds_alternative<UsageError>(parsed)) {
        ADD_FAILURE() << "accepted";
        return {};
    }
    return std::get<UsageError>(parsed).message;
}

constexpr std::string_view kTurn = "UUUUUULLLURRURRURRFFFFFFFFFRRRDDDDDDLLDLLDLLDBBBBBBBBB";

TEST(SolveOptions, EachOptionSetsItsOwnField) {
    SolveOptions expected;
    expected.seed = 4294967295u;
    EXPECT_EQ(options({"--seed", "4294967295"}), expected);

    expected = {};
    expected.moveWords = {"R", "U'", "F2"};
    expected.compact = true;
    expected.shortSolver = true;
    expected.printFacelets = true;
    EXPECT_EQ(options({"R", "--compact", "U'", "--short", "--print-facelets", "F2"}), expected);

    expected = {};
    expected.facelets = std::string(kTurn);
    EXPECT_EQ(options({"--facelets", kTurn}), expected);
    EXPECT_FALSE(expected.batch());

    expected = {};
    expected.facelets = "-";
    expected.jobs = 1024u;
    EXPECT_EQ(options({"--facelets", "-", "--jobs", "1024"}), expected);
    EXPECT_TRUE(expected.batch());

    expected = {};
    expected.statsCount = 4294967296u;
    expected.firstSeed = 0u;
    expected.jobs = 1u;
    EXPECT_EQ(options({"--stats", "4294967296", "--first", "0", "--jobs", "1"}), expected);

    expected = {};
    expected.scrambleCount = 3u;
    expected.scrambleSeed = 18446744073709551615u;
    EXPECT_EQ(options({"--scramble", "3", "--scramble-seed", "18446744073709551615"}), expected);

    expected = {};
    expected.seed = 7u;
    expected.optimalSolver = true;
    expected.budgetMs = 0u;
    expected.tableSize = optimal::TableSize::medium;
    expected.jobs = 2u;
    EXPECT_EQ(options({"--optimal", "--seed", "7", "--budget=0", "--table-size", "medium", "--jobs",
                       "2"}),
              expected);

    EXPECT_EQ(options({"--optimal", "--table-size", "huge", "R"}).tableSize,
              optimal::TableSize::huge);
    EXPECT_EQ(options({"--optimal", "--table-size=packed", "R"}).tableSize,
              optimal::TableSize::packed);

    // A later value of an option replaces an earlier one.
    EXPECT_EQ(options({"--seed", "1", "--seed", "2"}).seed, 2u);
}

TEST(SolveOptions, ValuesFollowAsTheNextArgumentOrAfterEquals) {
    EXPECT_EQ(options({"--seed=7"}), options({"--seed", "7"}));
    EXPECT_EQ(options({"--stats=9", "--first=3", "--jobs=2"}),
              options({"--stats", "9", "--first", "3", "--jobs", "2"}));
    EXPECT_EQ(options({"--scramble=2", "--scramble-seed=5"}),
              options({"--scramble", "2", "--scramble-seed", "5"}));
    // Only the first '=' splits: the rest belongs to the value.
    EXPECT_EQ(options({"--facelets=a=b"}).facelets, "a=b");
    // A value given as the next argument is taken whatever it looks like.
    EXPECT_EQ(options({"--facelets", "--short"}).facelets, "--short");
    EXPECT_FALSE(options({"--facelets", "--short"}).shortSolver);
    // An empty argument is a move word, not an option.
    EXPECT_EQ(options({""}).moveWords, std::vector<std::string>{""});
}

TEST(SolveOptions, ScrambleTakesACountOnlyWhenANumberFollows) {
    EXPECT_EQ(options({"--scramble"}).scrambleCount, 1u);
    EXPECT_EQ(options({"--scramble", "--scramble-seed", "4"}).scrambleCount, 1u);
    EXPECT_EQ(options({"--scramble", "12"}).scrambleCount, 12u);
    // A number too large for a count is still taken as one, and refused.
    EXPECT_EQ(message({"--scramble", "4294967297"}),
              "--scramble needs a count from 1 to 4294967296, not \"4294967297\"");
    // One too large for any number is a move word, which then makes two requests.
    EXPECT_EQ(message({"--scramble", "18446744073709551616"}),
              "give only one of moves, --seed, --facelets, --stats and --scramble");
}

TEST(SolveOptions, HelpIsGivenWhateverElseTheCommandLineAsks) {
    for (const auto& words : {std::initializer_list<std::string_view>{"--help"},
                              {"-h"},
                              {"--help=yes"},
                              {"--seed", "3", "--stats", "4", "-h"},
                              {"--first", "2", "--help"}}) {
        EXPECT_TRUE(options(words).help);
    }
    // An option that is bad in itself still gets its message.
    EXPECT_EQ(message({"--help", "--bogus"}), "unknown option \"--bogus\" (see --help)");
    EXPECT_EQ(message({"--help", "--seed"}), "--seed needs a whole number");
}

TEST(SolveOptions, EveryBadCommandLineGetsItsOwnMessage) {
    struct Case {
        std::initializer_list<std::string_view> words;
        std::string message;
    };
    const std::string bytes = "--bogus=\x01\xFF";
    const std::string longName = "--" + std::string(70, 'x');
    const Case cases[] = {
        // Requests.
        {{},
         "nothing to solve: give moves, --seed N, --facelets STRING, --stats COUNT or "
         "--scramble (see --help)"},
        {{"--compact", "--jobs", "2"},
         "nothing to solve: give moves, --seed N, --facelets STRING, --stats COUNT or "
         "--scramble (see --help)"},
        {{"--compact"},
         "nothing to solve: give moves, --seed N, --facelets STRING, --stats COUNT or "
         "--scramble (see --help)"},
        {{"--first", "3"},
         "nothing to solve: give moves, --seed N, --facelets STRING, --stats COUNT or "
         "--scramble (see --help)"},
        {{"--seed", "1", "R"},
         "give only one of moves, --seed, --facelets, --stats and --scramble"},
        {{"--stats", "2", "--scramble"},
         "give only one of moves, --seed, --facelets, --stats and --scramble"},
        {{"--facelets", "-", "--seed", "0"},
         "give only one of moves, --seed, --facelets, --stats and --scramble"},
        {{"--seed", "1", "--facelets", "UUU"},
         "give only one of moves, --seed, --facelets, --stats and --scramble"},
        {{"R", "--scramble"}, "give only one of moves, --seed, --facelets, --stats and --scramble"},
        {{"--scramble", "--seed", "1"},
         "give only one of moves, --seed, --facelets, --stats and --scramble"},
        {{"--first", "3", "--seed", "1"}, "--first goes with --stats"},
        {{"--first", "3", "R"}, "--first goes with --stats"},
        {{"--scramble-seed", "3", "--seed", "1"}, "--scramble-seed goes with --scramble"},
        {{"--scramble-seed", "3", "R"}, "--scramble-seed goes with --scramble"},
        {{"--jobs", "2", "--seed", "1"},
         "--jobs goes with --stats, --scramble, --facelets - or --optimal"},
        {{"--jobs", "2", "--facelets", kTurn},
         "--jobs goes with --stats, --scramble, --facelets - or --optimal"},
        {{"--jobs", "2", "R", "U"},
         "--jobs goes with --stats, --scramble, --facelets - or --optimal"},
        {{"--jobs", "2", "--short", "R"},
         "--jobs goes with --stats, --scramble, --facelets - or --optimal"},
        {{"--optimal", "--short", "R"}, "give only one of --short and --optimal"},
        {{"--optimal", "--stats", "2"}, "--optimal does not go with --stats"},
        {{"--optimal", "--stats", "1"}, "--optimal does not go with --stats"},
        {{"--optimal", "--scramble"}, "--optimal does not go with --scramble"},
        {{"--scramble", "--optimal"}, "--optimal does not go with --scramble"},
        {{"--budget", "10", "R"}, "--budget goes with --short, --scramble or --optimal"},
        {{"--budget", "100", "--seed", "1"}, "--budget goes with --short, --scramble or --optimal"},
        {{"--short", "--tables", "small", "--no-cache", "R"},
         "--no-cache goes with the large tables, not with --tables small"},
        {{"--table-size", "small", "R"}, "--table-size goes with --optimal"},
        {{"--optimal", "--budget", "1e3", "R"},
         "--budget needs a number of milliseconds from 0 to 604800000, not \"1e3\""},
        {{"--optimal", "--budget=-1", "R"},
         "--budget needs a number of milliseconds from 0 to 604800000, not \"-1\""},
        {{"--optimal", "--budget", "604800001", "R"},
         "--budget needs a number of milliseconds from 0 to 604800000, not \"604800001\""},
        {{"--optimal", "--table-size", "giant", "R"},
         "--table-size needs huge, packed, large, medium or small, not \"giant\""},
        {{"--short", "--tables", "medium", "R"}, "--tables needs small or large, not \"medium\""},
        {{"--short", "--max-length", "51", "R"},
         "--max-length needs a number of face turns from 0 to 50, not \"51\""},
        {{"--optimal", "--table-size", "Large", "R"},
         "--table-size needs huge, packed, large, medium or small, not \"Large\""},
        {{"--stats", "2", "--first", "4294967295"}, "--stats runs past the last seed, 4294967295"},
        {{"--stats", "4294967296", "--first", "1"}, "--stats runs past the last seed, 4294967295"},
        {{"--stats", "5", "--compact"},
         "--compact, --print-facelets and --short do not go with --stats"},
        {{"--short", "--stats", "5"},
         "--compact, --print-facelets and --short do not go with --stats"},
        {{"--stats", "5", "--short"},
         "--compact, --print-facelets and --short do not go with --stats"},
        {{"--print-facelets", "--stats", "5"},
         "--compact, --print-facelets and --short do not go with --stats"},
        {{"--scramble", "--compact"},
         "--compact, --print-facelets and --short do not go with --scramble"},
        {{"--scramble", "2", "--short"},
         "--compact, --print-facelets and --short do not go with --scramble"},
        {{"--scramble", "--short"},
         "--compact, --print-facelets and --short do not go with --scramble"},
        {{"--scramble", "--print-facelets"},
         "--compact, --print-facelets and --short do not go with --scramble"},
        {{"--print-facelets", "--facelets", kTurn}, "--print-facelets goes with --seed or moves"},
        {{"--print-facelets", "--facelets", "-"}, "--print-facelets goes with --seed or moves"},
        {{"--facelets", "-", "--print-facelets"}, "--print-facelets goes with --seed or moves"},
        // Missing values.
        {{"--seed"}, "--seed needs a whole number"},
        {{"--first"}, "--first needs a whole number"},
        {{"--stats"}, "--stats needs a count"},
        {{"--scramble-seed"}, "--scramble-seed needs a whole number"},
        {{"--jobs"}, "--jobs needs a number"},
        {{"--optimal", "--table-size"}, "--table-size needs huge, packed, large, medium or small"},
        {{"--short", "--tables"}, "--tables needs small or large"},
        {{"--facelets"},
         "--facelets needs a string of 54 letters, or - to read them from standard input"},
        // Bad values: digits only, within the range.
        {{"--seed", "nine"}, "--seed needs a whole number from 0 to 4294967295, not \"nine\""},
        {{"--seed", "4294967296"},
         "--seed needs a whole number from 0 to 4294967295, not \"4294967296\""},
        {{"--seed=-1"}, "--seed needs a whole number from 0 to 4294967295, not \"-1\""},
        {{"--seed", "-1"}, "--seed needs a whole number from 0 to 4294967295, not \"-1\""},
        {{"--seed", "5x"}, "--seed needs a whole number from 0 to 4294967295, not \"5x\""},
        {{"--seed", "0x10"}, "--seed needs a whole number from 0 to 4294967295, not \"0x10\""},
        {{"--seed", "+5"}, "--seed needs a whole number from 0 to 4294967295, not \"+5\""},
        {{"--seed", " 5"}, "--seed needs a whole number from 0 to 4294967295, not \" 5\""},
        {{"--seed="}, "--seed needs a whole number from 0 to 4294967295, not \"\""},
        {{"--first", "0x10", "--stats", "1"},
         "--first needs a whole number from 0 to 4294967295, not \"0x10\""},
        {{"--first", "99999999999", "--stats", "1"},
         "--first needs a whole number from 0 to 4294967295, not \"99999999999\""},
        {{"--stats", "0"}, "--stats needs a count from 1 to 4294967296, not \"0\""},
        {{"--stats=4294967297"}, "--stats needs a count from 1 to 4294967296, not \"4294967297\""},
        {{"--stats", "4294967297"},
         "--stats needs a count from 1 to 4294967296, not \"4294967297\""},
        {{"--stats=abc"}, "--stats needs a count from 1 to 4294967296, not \"abc\""},
        {{"--stats", "many"}, "--stats needs a count from 1 to 4294967296, not \"many\""},
        {{"--scramble=0"}, "--scramble needs a count from 1 to 4294967296, not \"0\""},
        {{"--scramble="}, "--scramble needs a count from 1 to 4294967296, not \"\""},
        {{"--scramble", "0"}, "--scramble needs a count from 1 to 4294967296, not \"0\""},
        {{"--scramble", "--scramble-seed", "18446744073709551616"},
         "--scramble-seed needs a whole number from 0 to 18446744073709551615, not "
         "\"18446744073709551616\""},
        {{"--jobs", "0", "--stats", "1"}, "--jobs needs a number from 1 to 1024, not \"0\""},
        {{"--jobs=1025", "--stats", "1"}, "--jobs needs a number from 1 to 1024, not \"1025\""},
        {{"--jobs", "1025", "--stats", "1"}, "--jobs needs a number from 1 to 1024, not \"1025\""},
        {{"--jobs=two", "--stats", "1"}, "--jobs needs a number from 1 to 1024, not \"two\""},
        {{"--scramble", "--scramble-seed=-3"},
         "--scramble-seed needs a whole number from 0 to 18446744073709551615, not \"-3\""},
        // Unknown options, quoted printably; a switch takes no value.
        {{"--bogus"}, "unknown option \"--bogus\" (see --help)"},
        {{"-x", "R"}, "unknown option \"-x\" (see --help)"},
        {{"-"}, "unknown option \"-\" (see --help)"},
        {{"--"}, "unknown option \"--\" (see --help)"},
        {{"--optimal=1", "R"}, "unknown option \"--optimal=1\" (see --help)"},
        {{"--short=yes", "R"}, "unknown option \"--short=yes\" (see --help)"},
        {{"--compact=yes", "R"}, "unknown option \"--compact=yes\" (see --help)"},
        {{"R", "--short=1"}, "unknown option \"--short=1\" (see --help)"},
        {{"--print-facelets=", "R"}, "unknown option \"--print-facelets=\" (see --help)"},
        {{bytes}, "unknown option \"--bogus=\\x01\\xFF\" (see --help)"},
        {{longName}, "unknown option \"" + longName.substr(0, 60) + "...\" (see --help)"},
        {{"--bogus-option-with-a-very-long-name-that-goes-on-and-on-and-on-and-on-past-sixty-"
          "bytes"},
         "unknown option \"--bogus-option-with-a-very-long-name-that-goes-on-and-on-and...\" (see "
         "--help)"},
    };
    for (const Case& c : cases) {
        std::string command;
        for (std::string_view word : c.words) {
            command += std::string(word) + " ";
        }
        EXPECT_EQ(message(c.words), c.message) << command;
    }
}

TEST(SolveOptions, EveryOptionTheHelpNamesIsRead) {
    // A word of the help that starts with "--" (or is "-h") is an option; given it, the
    // parser may say the request is incomplete, but it must not call the option unknown.
    const std::string_view help = solveHelp();
    int named = 0;
    for (std::size_t at = help.find(" -"); at != std::string_view::npos;
         at = help.find(" -", at + 1)) {
        const std::size_t end = help.find_first_of(" ,.=\n)]", at + 1);
        const std::string_view option = help.substr(at + 1, end - at - 1);
        if (option.size() < 2 || (option[1] != '-' && option != "-h") || option == "--") {
            continue;
        }
        ++named;
        const std::variant<SolveOptions, UsageError> parsed = parse({option, "1"});
        if (const auto* error = std::get_if<UsageError>(&parsed)) {
            EXPECT_EQ(error->message.find("unknown option"), std::string::npos) << option;
        }
    }
    EXPECT_GE(named, 11);
}

#ifdef CUBEWRIGHT_SOLVE_MANUAL
/// Whether the page names the option `marked`, and not only a longer one that starts
/// with it.
bool namesOption(const std::string& page, const std::string& marked) {
    for (std::size_t at = page.find(marked); at != std::string::npos;
         at = page.find(marked, at + 1)) {
        const std::size_t after = at + marked.size();
        if (after == page.size() ||
            (std::isalnum(static_cast<unsigned char>(page[after])) == 0 && page[after] != '\\')) {
            return true;
        }
    }
    return false;
}

TEST(SolveOptions, ManualPageDescribesEveryOptionTheHelpNames) {
    // The manual page is written apart from the help text; each option the help names
    // must have its entry there (written "\-\-name" in the page's markup).
    std::ifstream in(CUBEWRIGHT_SOLVE_MANUAL, std::ios::binary);
    const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(page.empty());
    const std::string_view help = solveHelp();
    int named = 0;
    for (std::size_t at = help.find(" --"); at != std::string_view::npos;
         at = help.find(" --", at + 1)) {
        const std::size_t end = help.find_first_of(" ,.=\n)]", at + 1);
        const std::string option(help.substr(at + 1, end - at - 1));
        if (option.size() <= 2) {
            continue;
        }
        ++named;
        std::string marked;
        for (const char c : option) {
            marked += c == '-' ? std::string("\\-") : std::string(1, c);
        }
        EXPECT_TRUE(namesOption(page, marked)) << option;
    }
    EXPECT_GE(named, 11);
}
#endif

} // namespace
} // namespace cw::tools
