// STUB, to be replaced within the hour: the API of the short solver with placeholder bodies,
// so that the command-line wiring can be built against it. Every solve returns no solution.
#include "solver/two_phase/two_phase.h"

namespace cw::two_phase {

void prepareTables() {}

std::optional<Solution> solveFacelets(std::string_view, const SearchLimits&) {
    return std::nullopt; // STUB
}

std::optional<Solution> solve(const Cube&, const SearchLimits&) {
    return std::nullopt; // STUB
}

std::string formatSolution(const Solution&) {
    return ""; // STUB
}

int faceTurnCount(const Solution& moves) {
    return static_cast<int>(moves.size());
}

int quarterTurnCount(const Solution&) {
    return 0; // STUB
}

Solution inverse(const Solution&) {
    return {}; // STUB
}

MoveList quarterTurns(const Solution&) {
    return {}; // STUB
}

std::string randomStateFacelets(std::uint64_t, std::uint64_t) {
    return ""; // STUB
}

Scramble randomScramble(std::uint64_t, std::uint64_t, const SearchLimits&) {
    return {}; // STUB
}

} // namespace cw::two_phase
