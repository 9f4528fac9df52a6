// The command line of cubewright-solve: the options it takes, read into a plain struct,
// and the help text that describes them. Used by the tool's main and by its tests.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "solver/optimal/table_size.h"
#include "solver/two_phase/two_phase.h"

namespace cw::tools {

/// What one command line asks for. Options not given are empty or false.
struct SolveOptions {
    std::optional<std::uint32_t> seed;
    std::optional<std::string> facelets;
    /// --colours: the file of 54 measured sticker colours ("-" for standard input).
    std::optional<std::string> coloursFile;
    std::optional<std::uint64_t> statsCount;
    std::optional<std::uint32_t> firstSeed;
    std::optional<std::uint64_t> scrambleCount;
    std::optional<std::uint64_t> scrambleSeed;
    std::optional<unsigned> jobs;
    /// The arguments that are not options, in order: the moves to apply.
    std::vector<std::string> moveWords;
    /// --tables: the two-phase search's tables for --short and --scramble.
    std::optional<two_phase::TableSize> tables;
    /// --budget: milliseconds a solve may go on looking for shorter solutions.
    std::optional<std::uint64_t> budgetMs;
    /// --max-length: a short solve stops at its first solution of at most this many face
    /// turns.
    std::optional<std::uint32_t> maxLength;
    /// --no-cache: the large tables are built in memory, and no table file is read or
    /// written.
    bool noCache = false;
    /// --table-size: which pattern table --optimal searches with.
    std::optional<optimal::TableSize> tableSize;
    bool shortSolver = false;
    bool optimalSolver = false;
    bool compact = false;
    bool printFacelets = false;
    bool help = false;

    /// Facelet strings come one a line from standard input.
    bool batch() const { return facelets && *facelets == "-"; }

    bool operator==(const SolveOptions& other) const = default;
};

/// Bad input, as the one-line message that names it (the tool prints it after its name
/// and exits with status 2).
struct UsageError {
    std::string message;

    bool operator==(const UsageError& other) const = default;
};

/// Reads the arguments that follow the program's name. Options that take a value take it
/// as the next argument or after '=' ("--seed 5", "--seed=5"); any argument that does not
/// start with '-' is a move word. With --help the other options are not checked against
/// each other; otherwise they must make one request. On bad input returns the message.
std::variant<SolveOptions, UsageError>
parseSolveOptions(std::span<const std::string_view> arguments);

/// The text --help prints.
std::string_view solveHelp();

} // namespace cw::tools
