// The ways cubewright-solve runs once its command line is read, one for each kind of
// request, and what they share: printing, exit statuses and solving one cube with a
// check. Called by the tool's main; each runner lives in a file of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cube/cube.h"
#include "cube/notation.h"
#include "tools/solve_options.h"

namespace cw::tools {

inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
/// Ctrl-C stopped --optimal, after it printed the best solution found (128 + SIGINT, as a
/// shell reports a program that Ctrl-C ended).
inline constexpr int kExitInterrupted = 130;

/// The message for a cube that the chosen solver did not solve.
inline constexpr std::string_view kNotSolved = "the solver did not solve this cube";

/// Runs the request that `options` make, printing its lines; returns the exit status.
int runRequest(const SolveOptions& options);

/// One cube, from moves, a seed or a facelet string: "scramble:" or "facelets:", then
/// "solution:".
int runOneCube(const SolveOptions& options);

/// Facelet strings one a line from standard input, one "solution:" line for each.
int runFaceletLines(const SolveOptions& options);

/// --optimal on the cube the stickers show, once it has been printed as given: the
/// "solution:" line, with the pattern table made ready first.
int printOptimalSolution(Cube& cube, const SolveOptions& options);

/// --optimal --facelets -: the lines solved one after another, each search on all threads.
int runOptimalLines(const SolveOptions& options);

/// --stats: consecutive seeds solved and checked, summed up in one line.
int runStats(const SolveOptions& options);

/// --scramble: random-state scrambles, each on a "scramble:" and a "facelets:" line.
int runScrambles(const SolveOptions& options);

/// Writes "label: text", or "label:" when the text is empty, to standard output.
void printLine(std::string_view label, const std::string& text);

/// Writes "cubewright-solve: message" to standard error.
void printError(const std::string& message);

/// How --compact asks for moves to be written.
notation::Style moveStyle(const SolveOptions& options);

/// `text` without the blanks (spaces, tabs, a carriage return) around it.
std::string_view trimmed(std::string_view text);

/// Whether `moves`, played on the live stickers, solve the cube; the stickers are left as
/// they were.
bool movesSolve(Cube& cube, const MoveList& moves);

/// Runs the layer-by-layer solver as the program does. True when it finished and its
/// moves, applied to the stickers, solve the cube; the stickers are left as they were.
bool solveAndCheck(Cube& cube);

/// The text of the "solution:" line for the cube's live stickers, or nothing when the
/// chosen solver did not solve it (checked by playing the moves on the stickers).
std::optional<std::string> solutionText(Cube& cube, const SolveOptions& options);

/// The two-phase search's limits and tables that the options ask for.
two_phase::SearchLimits shortLimits(const SolveOptions& options);

/// Readies the two-phase search's tables before any cube is solved, when the request needs
/// the large ones: loaded from the cache folder, or built there with a progress line (in
/// memory only with --no-cache).
void prepareShortTables(const SolveOptions& options);

} // namespace cw::tools
